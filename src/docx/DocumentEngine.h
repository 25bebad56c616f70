// The document engine: Word's object model over .docx files, in-process. The classes and members are the
// ones Scrivano's Word functions call (Application, Documents, Document, Window, Paragraphs, Paragraph,
// PageSetup, Range, Selection, Find, Replacement, Font, Shapes, Shape, TextFrame), with Word's character
// positions (see DocumentStory.h) and Word's argument values.
//
// Objects are handed out as shared pointers, as an automation interface hands out references: a range
// keeps its document alive, and ranges move with the edits made through any other range. One thread at a
// time may use an application and everything it hands out.
//
// Supported: reading and writing .docx (and .doc, .odt, .rtf through the office converter when it is
// installed); text, tabs, breaks, inline objects, tables, text boxes; finding and replacing one
// occurrence at a time; font colour and size; paragraph indents; page height; pages for GoTo and
// InsertBreak; copy and paste. Not supported: wildcard and sound-alike searches (the text is matched
// literally; "^" codes are ordinary characters), replacing all occurrences in one call, headers, footers,
// footnotes and comments as stories (they are kept unchanged), layout (pages are where the document marks
// them, see PageStarts).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "docx/DocumentPackage.h"
#include "docx/DocumentStory.h"
#include "docx/DocumentXml.h"
#include "text/Text.h"

namespace scrivano::word {

class Application;
class Documents;
class Document;
class Window;
class Paragraphs;
class Paragraph;
class PageSetup;
class Range;
class Selection;
class Find;
class Replacement;
class Font;
class Shapes;
class Shape;
class TextFrame;
struct Fragment;

// Values of Word's enumerations the engine takes.
inline constexpr int kGoToPage = 1;      // GoTo What
inline constexpr int kGoToAbsolute = 1;  // GoTo Which
inline constexpr int kGoToNext = 2;
inline constexpr int kGoToPrevious = 3;
inline constexpr int kGoToLast = -1;
inline constexpr int kLineBreak = 6;  // InsertBreak Type
inline constexpr int kPageBreak = 7;
inline constexpr int kColumnBreak = 8;
inline constexpr int kWrapStop = 0;  // Find.Execute Wrap
inline constexpr int kWrapContinue = 1;
inline constexpr int kReplaceNone = 0;  // Find.Execute Replace
inline constexpr int kReplaceOne = 1;
inline constexpr int kFormatDocument = 0;  // SaveAs FileFormat: a .docx package

// Why Documents.Open returned nothing.
enum class OpenFailure { kNone, kMissing, kNoConverter, kEncrypted, kUnreadable };

class Application : public std::enable_shared_from_this<Application> {
 public:
  static std::shared_ptr<Application> Create();
  ~Application();

  std::shared_ptr<word::Documents> Documents();
  // The most recently opened or created document still open; nullptr when none is.
  std::shared_ptr<Document> ActiveDocument();
  // The active document's selection; nullptr without a document.
  std::shared_ptr<word::Selection> Selection();
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  void Activate() {}

  // Open documents, the newest first (Documents.Item(1) is the first).
  const std::vector<std::shared_ptr<Document>>& OpenDocuments() const { return documents_; }
  std::shared_ptr<Fragment> clipboard;  // what Copy put there for Paste

 private:
  Application() = default;
  friend class word::Documents;
  friend class Document;

  std::vector<std::shared_ptr<Document>> documents_;
  int createdCount_ = 0;
  bool visible_ = false;
};

class Documents {
 public:
  explicit Documents(std::shared_ptr<Application> application) : application_(std::move(application)) {}
  int Count() const;
  // 1 is the most recently opened or created; nullptr outside 1..Count.
  std::shared_ptr<Document> Item(int index) const;
  // A new empty document.
  std::shared_ptr<Document> Add();
  // Opens a .docx (.docm, .dotx), or a .doc, .odt or .rtf through the office converter. A document that is
  // already open is returned as it is. nullptr on failure, described by failure and reason.
  std::shared_ptr<Document> Open(TextView path, OpenFailure* failure = nullptr,
                                 std::string* reason = nullptr);

 private:
  std::shared_ptr<Application> application_;
};

class Document : public std::enable_shared_from_this<Document> {
 public:
  ~Document();

  std::shared_ptr<word::Paragraphs> Paragraphs();
  std::shared_ptr<Range> Content();
  std::shared_ptr<Window> ActiveWindow();
  std::shared_ptr<word::Shapes> Shapes();
  // Writes the document as a .docx package to path (replacing the file only once it is complete) and
  // makes path its name. False when it could not be written: SaveError() then says why when the package
  // could not be made, and is empty (errno set) when the file could not be written.
  bool SaveAs(TextView path, int fileFormat = kFormatDocument);
  const std::string& SaveError() const { return saveError_; }
  std::shared_ptr<word::PageSetup> PageSetup();
  // Closes without saving.
  void Close();

  // The path the document was opened from or last saved to; empty for a new document.
  const Text& FullName() const { return fullName_; }
  bool IsClosed() const { return closed_; }
  // Counts the changes; 0 while the document is as it was opened.
  std::uint64_t Revision() const;
  // The document as a .docx package. Parts the engine did not change are copied as stored. Throws
  // DocumentError, also when a part of the original is damaged beyond what a rebuild can mend.
  std::string SaveToBytes();
  // The parts of the original that the last save wrote anew because their data did not match their
  // checksum (see DocumentPackage).
  const std::vector<std::string>& RebuiltParts() const { return package_->RebuiltParts(); }
  // Where the pages of the main text begin: at 0, after a page break, at a paragraph with page break
  // before, after a section break that starts a new page, and where the program that last saved the
  // document broke the page (w:lastRenderedPageBreak).
  std::vector<int> PageStarts();

  // For the engine's classes.
  const std::shared_ptr<Story>& MainStory() const { return main_; }
  std::shared_ptr<Story> StoryOf(pugi::xml_node textBox);
  const StyleSheet& Styles() const { return styles_; }
  std::shared_ptr<word::Selection> SelectionObject();
  std::shared_ptr<Application> Owner() const { return application_.lock(); }
  struct ShapeInfo {
    pugi::xml_node anchor;       // w:drawing, w:pict or mc:AlternateContent
    pugi::xml_node box;          // the w:txbxContent shown, or empty for a shape without text
    pugi::xml_node fallbackBox;  // the older copy of the text in mc:Fallback, kept equal on save
  };
  std::vector<ShapeInfo> ShapeList();
  void NoteChange() { ++ownRevision_; }
  // Relationship plumbing for paste.
  pugi::xml_node RelationshipFor(const std::string& id);
  std::string AddRelationship(const std::string& type, const std::string& target, bool external);
  std::string ReadPackagePart(const std::string& name) const;
  std::string AddPackagePart(const std::string& wantedName, std::string bytes,
                             const std::string& contentType);
  std::string ContentTypeOf(const std::string& partName);
  const std::string& MainPartName() const { return mainPart_; }
  pugi::xml_node StylesRoot() { return stylesXml_.child("w:styles"); }
  void StylesChanged();
  bool HasPart(const std::string& name) const;
  int NextDrawingId();
  // Declares the namespaces (and ignorable prefixes) of another document's root that this one lacks.
  void AdoptNamespaces(pugi::xml_node sourceRoot);
  pugi::xml_node Root() { return xml_.document_element(); }

 private:
  friend class word::Documents;
  friend class Application;
  Document() = default;
  static std::shared_ptr<Document> Load(const std::shared_ptr<Application>& application, std::string bytes,
                                        Text fullName);
  void SyncTextBoxFallbacks();
  void LoadRelationships();
  void LoadContentTypes();

  std::weak_ptr<Application> application_;
  Text fullName_;
  std::unique_ptr<DocumentPackage> package_;
  std::string mainPart_;
  pugi::xml_document xml_;
  std::shared_ptr<Story> main_;
  std::map<pugi::xml_node_struct*, std::shared_ptr<Story>> boxes_;
  StyleSheet styles_;
  std::string stylesPart_;
  pugi::xml_document stylesXml_;
  bool stylesChanged_ = false;
  pugi::xml_document relationships_;
  bool relationshipsLoaded_ = false;
  bool relationshipsChanged_ = false;
  pugi::xml_document contentTypes_;
  bool contentTypesLoaded_ = false;
  bool contentTypesChanged_ = false;
  std::shared_ptr<word::Selection> selection_;
  std::string openKey_;  // the canonical path, to find a document that is opened again
  std::string saveError_;
  int nextDrawingId_ = 0;
  std::uint64_t ownRevision_ = 0;
  bool closed_ = false;
};

class Window {
 public:
  explicit Window(std::shared_ptr<Document> document) : document_(std::move(document)) {}
  std::shared_ptr<word::Selection> Selection() { return document_->SelectionObject(); }

 private:
  std::shared_ptr<Document> document_;
};

// The arguments of Find.Execute, by name, with the values the program passes when it leaves them out.
struct FindArgs {
  Text findText = {};
  bool matchCase = false;
  bool matchWholeWord = false;
  bool matchWildcards = false;  // ignored: the text is always matched as it is
  bool forward = true;
  int wrap = kWrapStop;
  bool format = false;  // with a replacement: apply the Replacement's font to the replaced text
  Text replaceWith = {};
  int replace = kReplaceNone;
};

class Range : public std::enable_shared_from_this<Range>, protected StoryAnchor {
 public:
  Range(std::shared_ptr<Document> document, std::shared_ptr<Story> story, int start, int end);
  virtual ~Range();
  Range(const Range&) = delete;
  Range& operator=(const Range&) = delete;

  // Word's text: paragraph marks as "\r", cell and row ends as "\r" U+0007.
  scrivano::Text Text();
  // Replaces the range's text; the range then covers the new text, which takes the formatting of the
  // range's first character.
  void SetText(TextView text);
  int Start() const { return anchorStart; }
  void SetStart(int start);
  int End() const { return anchorEnd; }
  void SetEnd(int end);
  std::shared_ptr<word::Font> Font();
  // Positions are clamped to the story; an end before the start is moved up to it.
  void SetRange(int start, int end);
  // Insert text at the start / the end; the range grows to include it.
  void InsertBefore(TextView text);
  void InsertAfter(TextView text);
  // Not Word's: inserts text at each of the story positions (as they are before the call), each in the
  // run and formatting of the character before it, as replacing that character and the next by
  // themselves with the text between would. One pass however many positions: an operation that would
  // replace pair after pair uses it to give the same document at a cost that does not grow with the
  // paragraphs' length. The range moves along. Returns the number of positions inserted.
  int InsertAtPositions(std::vector<int> positions, TextView text);
  // Copy keeps the range's content (text, runs, paragraphs, whole tables) for Paste, which replaces the
  // range with it; a range then covers the pasted content, a selection ends up after it.
  void Copy();
  void Paste();
  // Replaces the range with a break (kLineBreak, kPageBreak, kColumnBreak) and moves after it.
  void InsertBreak(int type);
  // What = kGoToPage: the start of a page (Which: kGoToAbsolute page Count, kGoToNext Count pages after
  // the one holding End, kGoToPrevious, kGoToLast); beyond the last page, the last page. A selection
  // moves there too. Other kinds of items leave the position as it is. Name is not used for pages.
  std::shared_ptr<Range> GoTo(int what, int which, int count = 1, int name = 0);
  std::shared_ptr<word::Paragraphs> Paragraphs();
  std::shared_ptr<word::Find> Find();
  void Select();

  const std::shared_ptr<Document>& ParentDocument() const { return document_; }
  const std::shared_ptr<Story>& OwnStory() const { return story_; }
  bool IsSelection() const { return isSelection_; }

 protected:
  friend class word::Find;
  friend class word::Font;
  friend class Document;
  void SetExtent(int start, int end);
  void MoveToStory(std::shared_ptr<Story> story);
  bool Usable() const;

  std::shared_ptr<Document> document_;
  std::shared_ptr<Story> story_;
  bool isSelection_ = false;
  // Where the last Find.Execute left the range; a following search starts after it.
  std::optional<std::pair<int, int>> foundExtent_;
};

class Selection final : public Range {
 public:
  Selection(std::shared_ptr<Document> document, std::shared_ptr<Story> story, int start, int end);
};

class Find {
 public:
  explicit Find(std::shared_ptr<Range> range) : range_(std::move(range)) {}
  std::shared_ptr<word::Replacement> Replacement();
  // Searches forward from the range's start (or after the last match of a search on this range), within
  // the range, or on to the end of the story when the range is collapsed or the last match. With Wrap 1
  // the search continues at the other end of the story. A match becomes the range's extent; with Replace
  // 1 it is replaced (letter case following the match when MatchCase is off, as Word does) and the range
  // covers the replacement. Returns whether a match was found.
  bool Execute(const FindArgs& args);

 private:
  void ReplaceMatch(const FindArgs& args);

  std::shared_ptr<Range> range_;
  std::shared_ptr<word::Replacement> replacement_;
};

class Font {
 public:
  // A font of a range, or (range nullptr) the font of a Replacement, which records what to apply.
  explicit Font(std::shared_ptr<Range> range) : range_(std::move(range)) {}
  // Points; kUndefined when the range holds several sizes.
  float Size();
  void SetSize(float points);
  // Word's colour number of the runs' own colour (kColorAutomatic without one); kUndefined when mixed.
  int Color();
  void SetColor(int color);

  const std::optional<int>& PendingColor() const { return color_; }
  const std::optional<float>& PendingSize() const { return size_; }

 private:
  std::shared_ptr<Range> range_;
  std::optional<int> color_;
  std::optional<float> size_;
};

class Replacement {
 public:
  std::shared_ptr<word::Font> Font();

 private:
  std::shared_ptr<word::Font> font_;
};

class Paragraphs {
 public:
  // scope nullptr: every paragraph of the story; otherwise those the scope's positions touch.
  Paragraphs(std::shared_ptr<Document> document, std::shared_ptr<Story> story, std::shared_ptr<Range> scope);
  int Count();
  // 1-based; nullptr outside 1..Count.
  std::shared_ptr<Paragraph> Item(int index);

 private:
  std::pair<int, int> Span();

  std::shared_ptr<Document> document_;
  std::shared_ptr<Story> story_;
  std::shared_ptr<Range> scope_;
};

class Paragraph {
 public:
  Paragraph(std::shared_ptr<Document> document, std::shared_ptr<Story> story, int start, int end);
  // The paragraph's positions, its mark included.
  std::shared_ptr<word::Range> Range();
  // Points (w:ind left, through the style chain).
  float LeftIndent();
  // First-line indent in characters (w:ind firstLineChars / 100, negative for a hanging indent).
  float CharacterUnitFirstLineIndent();
  // Writes firstLineChars (and the same indent in twips for programs that ignore character units).
  void SetCharacterUnitFirstLineIndent(float characters);
  // Whether the paragraph starts a new page (w:pageBreakBefore, through the style chain).
  bool PageBreakBefore();
  // Sets it directly on the paragraph (overriding its style when they differ).
  void SetPageBreakBefore(bool breakBefore);

 private:
  const StoryParagraph* Current(int* index = nullptr);

  std::shared_ptr<word::Range> extent_;
};

class PageSetup {
 public:
  explicit PageSetup(std::shared_ptr<Document> document) : document_(std::move(document)) {}
  // Points, of the first section (792 when the document gives none).
  float PageHeight();
  // Sets the height of every section.
  void SetPageHeight(float points);
  // Gives every section the paper size (w:pgSz) and margins (w:pgMar) of the other document's first
  // section, when it has them.
  void TakePaperAndMargins(PageSetup& from);

 private:
  std::shared_ptr<Document> document_;
};

class Shapes {
 public:
  explicit Shapes(std::shared_ptr<Document> document) : document_(std::move(document)) {}
  // Floating shapes anchored in the main text, text boxes among them, in document order.
  int Count();
  std::shared_ptr<Shape> Item(int index);

 private:
  std::shared_ptr<Document> document_;
};

class Shape {
 public:
  Shape(std::shared_ptr<Document> document, Document::ShapeInfo info)
      : document_(std::move(document)), info_(info) {}
  std::shared_ptr<word::TextFrame> TextFrame();

 private:
  std::shared_ptr<Document> document_;
  Document::ShapeInfo info_;
};

class TextFrame {
 public:
  TextFrame(std::shared_ptr<Document> document, pugi::xml_node box)
      : document_(std::move(document)), box_(box) {}
  bool HasText() const { return static_cast<bool>(box_); }
  // The text box's story; nullptr for a shape without text.
  std::shared_ptr<Range> TextRange();

 private:
  std::shared_ptr<Document> document_;
  pugi::xml_node box_;
};

// A .docx with the given paragraphs, for a new document.
std::string BlankPackageBytes();

// Takes the text boxes out of what Copy kept (their anchors, with the text inside); the rest of the
// content stays. Word processing pastes paragraphs whose text boxes it treats on their own.
void DropClipboardTextBoxes(Application& application);

}  // namespace scrivano::word
