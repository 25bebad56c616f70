// The program's one connection to its documents: the operations the Word functions are built on (open,
// create, save, list, search and replace, highlight, append), carried out on the in-process document
// engine. Its fields hold the engine's objects between calls, as the Word functions use them.
//
// Word showed the documents it had changed, open and unsaved, for the user to review. Here the end of an
// operation (ShowDocuments) writes every changed document to a review copy beside its original
// (report.docx -> report.scrivano.docx; a .doc gives a .docx copy) and, when a desktop is there, opens
// the copy with the default application. An original is never written.
//
// Thread rule: one program-wide object (TheWordConnection). Word processing runs one at a time under its
// busy flag; any caller holds Mutex() around the calls that make up one operation, so that an append
// from another task waits instead of interleaving.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "docx/DocumentEngine.h"
#include "text/Text.h"

namespace scrivano {

// Word's colour number for blue, which highlighting uses.
inline constexpr int kHighlightBlue = 16711680;

class WordConnection {
 public:
  static constexpr int kSlotCount = 100;
  template <typename T>
  using Slots = std::array<std::shared_ptr<T>, kSlotCount>;

  WordConnection() = default;
  virtual ~WordConnection();
  WordConnection(const WordConnection&) = delete;
  WordConnection& operator=(const WordConnection&) = delete;

  // Starts the engine (a new, hidden application). The engine is in-process: this cannot fail.
  bool StartWord();
  // Opens an existing file as the current document and takes its selection. A missing file shows "The
  // file does not exist !"; a .doc, .odt or .rtf without the office converter "No OFFICE installed"; a
  // file the engine cannot read (damaged, encrypted, a packing bomb) "Failed to open the file" followed by
  // the path and the reason.
  bool OpenDocument(TextView path, int readOnly = 0, int addToRecent = 0);
  bool NewDocument();
  // False (after saying which file and why) when the file could not be written. Damaged parts of the
  // original that the written file holds rebuilt are kept for TakeRebuiltParts.
  bool SaveDocumentAs(const std::shared_ptr<word::Document>& document, TextView path, int format);
  // Records every open document in the slots: the oldest in slot 1, the newest in slot n.
  void ListOpenDocuments();
  Text RangeText(const std::shared_ptr<word::Range>& range);
  // Replaces every occurrence in the story of range (set by the caller, normally the document content)
  // one at a time, wrapping at the end. A replacement that contains the search text stops once the
  // search would find an occurrence inside an earlier replacement; any run stops after as many rounds as
  // the story has positions. With matchCase only occurrences in the same letters are replaced, by the
  // replacement as it is.
  void ReplaceAllByRepetition(TextView findText, TextView replacement, bool matchCase = false);
  // Deletes every occurrence of marker text 1, then of marker text 2; false without marker text 1.
  bool RemoveMarkerParagraphs();
  // Colours blue one occurrence (whole word) per item of the tab-separated list, each after the last.
  void HighlightPhrases(TextView list);
  // Appends the text on a new line at the end of the file's document and shows it.
  bool AppendToDocument(TextView path, TextView text);
  // Drops every object the connection holds (and so the documents of the last run).
  void ReleaseWord();

  // The end of an operation: writes the review copy of every document changed since it was last shown.
  void ShowDocuments();
  // The review copies written since the last call, each once, in order.
  std::vector<Text> TakeReviewCopies();
  // Those of them that replaced a file already there when first written.
  std::vector<Text> TakeReplacedCopies();
  // The review copies that could not be written since the last call (their edits are lost), in order.
  std::vector<Text> TakeUnwrittenCopies();
  // "copy: part" for each part of an original that was damaged (its checksum did not match) and that a
  // review copy or a document saved by SaveDocumentAs since the last call holds as it could be read, in
  // order.
  std::vector<Text> TakeRebuiltParts();

  std::recursive_mutex& Mutex() { return mutex_; }

  std::shared_ptr<word::Application> application;
  std::shared_ptr<word::Documents> documents;
  std::shared_ptr<word::Document> document;
  Slots<word::Document> documentSlots;
  std::shared_ptr<word::Font> font;
  std::shared_ptr<word::Selection> selection;
  Slots<word::Selection> selectionSlots;
  std::shared_ptr<word::Paragraphs> paragraphs;
  Slots<word::Paragraphs> paragraphsSlots;
  std::shared_ptr<word::Paragraph> paragraph;
  Slots<word::Paragraph> paragraphSlots;
  std::shared_ptr<word::Range> spareSlot;
  std::shared_ptr<word::Range> range;
  Slots<word::Range> rangeSlots;
  std::shared_ptr<word::Find> find;
  int itemIndex = 0;
  std::shared_ptr<word::Replacement> replacement;
  std::shared_ptr<word::Window> window;
  std::shared_ptr<word::PageSetup> pageSetup;
  std::shared_ptr<word::Shapes> shapes;
  Slots<word::Shapes> shapesSlots;
  std::shared_ptr<word::Shape> shape;
  Slots<word::Shape> shapeSlots;
  std::shared_ptr<word::TextFrame> textFrame;
  Slots<word::TextFrame> textFrameSlots;
  struct InterleaveOptions {
    bool forbidIdenticalParagraphs = false;
  } interleaveOptions;
  int charactersProcessed = 0;
  int sourceParagraphCount = 0;
  int targetParagraphCount = 0;
  std::array<int, kSlotCount> slotStart{};
  std::array<int, kSlotCount> slotEnd{};
  int sourceShapeCount = 0;
  int targetShapeCount = 0;
  Text markerText1;
  Text markerText2;
  Text sourcePath;
  Text targetPath;

 private:
  std::map<std::weak_ptr<word::Document>, std::uint64_t, std::owner_less<>> shownRevision_;
  std::vector<Text> reviewCopies_;
  std::vector<Text> replacedCopies_;
  std::vector<Text> unwrittenCopies_;
  std::vector<Text> rebuiltParts_;
  std::recursive_mutex mutex_;
};

// The program-wide connection, created on first use and living until exit.
WordConnection& TheWordConnection();

// Closes the office windows of the given class(es) through the desktop and returns when none is left;
// without a desktop (the runner, tests) it returns at once. When the wait gives up, a notice names the
// windows still open (the run goes on without closing them); a wait the user cancelled says nothing.
void CloseWordWindows(TextView windowClass);
inline constexpr char16_t kOfficeWindowsStillOpen[] =
    u"Scrivano stopped waiting for these office windows to close and goes on without closing them; "
    u"close them before you open the documents it writes:\r\n";

// A .docx beside the document: the tag goes before the extension of a package (report.docx + ".bak" ->
// report.bak.docx); a name without an extension, or a format the engine converts, gets tag + ".docx".
Text DocumentBesidePath(TextView path, TextView tag);

// Where the review copy of a document goes: InsertBeforeLast on the file name with "." and ".scrivano"
// (report.docx -> report.scrivano.docx). A name without an extension gets ".scrivano.docx"; a format the
// engine converted (.doc, .odt, .rtf ...) gets a .docx copy.
Text ReviewCopyPath(TextView path);

// Adds to a report the parts TakeRebuiltParts gives, under a heading that asks the user to check them;
// nothing when there are none.
void ReportRebuiltParts(Text& report, WordConnection& word);

}  // namespace scrivano
