// One story of a document (the main text, or the text of one text box) seen as Word sees it: a run of
// character positions over the XML tree. Every paragraph contributes its characters and its mark: "\r"
// for an ordinary paragraph, U+0007 for the last paragraph of a table cell and for the end of a table row
// (one position each, which Word's text shows as "\r" U+0007). A tab is "\t", a line break U+000B, a page
// break U+000C, a column break U+000E, an inline picture or object U+0001, a footnote or endnote
// reference U+0002, a comment reference U+0005, a symbol (w:sym) its code. Floating shapes, bookmarks,
// field codes and deleted revisions take no position.
//
// The story keeps an index of its paragraphs (their text and the XML node behind each position) and
// carries out the edits: inserting text, deleting ranges, changing run properties. Each edit changes the
// XML so that it stays a valid document (runs are split where formatting changes, emptied runs are
// removed, paragraphs are merged when a mark is deleted, a cell or row mark and the story's last mark are
// never deleted) and moves the registered anchors (the live ranges) along.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <pugixml.hpp>
#include <unordered_set>
#include <vector>

#include "docx/GapVector.h"
#include "text/Text.h"

namespace scrivano::word {

inline constexpr char16_t kParagraphMark = u'\r';
inline constexpr char16_t kCellMark = 0x0007;
inline constexpr char16_t kLineBreakChar = 0x000B;
inline constexpr char16_t kPageBreakChar = 0x000C;
inline constexpr char16_t kColumnBreakChar = 0x000E;
inline constexpr char16_t kObjectChar = 0x0001;
inline constexpr char16_t kNoteReferenceChar = 0x0002;
inline constexpr char16_t kCommentReferenceChar = 0x0005;
inline constexpr char16_t kSymbolChar = u'(';
inline constexpr char16_t kNonBreakingHyphenChar = 0x001E;
inline constexpr char16_t kOptionalHyphenChar = 0x001F;

enum class PieceKind : std::uint8_t { kText, kElement, kMark };

// A text element longer than this is indexed (and split) into shorter ones, so that an edit rewrites a
// few hundred characters however long the paragraph.
inline constexpr size_t kLongTextPiece = 1024;

// Positions backed by one XML node.
struct Piece {
  pugi::xml_node node;  // a w:t; an element of a run (w:tab, w:br, w:drawing, ...); the w:p or w:tr of a mark
  pugi::xml_node run;   // the run holding node; empty for a mark
  int local = 0;        // first position inside the paragraph
  int length = 0;
  PieceKind kind = PieceKind::kText;
};

enum class ParagraphKind : std::uint8_t { kParagraph, kCellEnd, kRowEnd };

// Which characters a paragraph holds, as a quick filter for searches.
struct Signature {
  std::array<std::uint64_t, 8> bits{};
  void Add(char16_t ch);
  bool Covers(const Signature& other) const;
};

struct StoryParagraph {
  pugi::xml_node node;  // the w:p, or the w:tr of an end-of-row mark
  ParagraphKind kind = ParagraphKind::kParagraph;
  Text text;    // one code unit per position, the mark last
  Text folded;  // text with letter case folded
  std::vector<Piece> pieces;
  std::vector<int> pageMarks;           // local positions of w:lastRenderedPageBreak
  std::vector<pugi::xml_node> anchors;  // floating shapes anchored in the paragraph, in order
  Signature signature;
  int Length() const { return static_cast<int>(text.size()); }
};

// Formatting for inserted text: a copy of the properties of the run it comes from (empty: none).
struct RunFormat {
  std::shared_ptr<pugi::xml_document> holder;
  pugi::xml_node properties;  // a w:rPr inside holder, or empty
  pugi::xml_node sourceRun;   // the run it was taken from; may be gone by the time it is used
};

// A pair of positions the story moves along with its edits.
class StoryAnchor {
 public:
  int anchorStart = 0;
  int anchorEnd = 0;
};

// Letter case folding for searches that ignore case (ASCII, Latin-1, Greek, Cyrillic, full-width Latin).
char16_t FoldCase(char16_t ch);
Text FoldedText(TextView text);

class Story {
 public:
  // Indexes the container (w:body or w:txbxContent). The container gets an empty last paragraph when it
  // has none, as Word gives it one.
  explicit Story(pugi::xml_node container);

  pugi::xml_node Container() const { return container_; }
  bool Alive() const { return alive_; }
  void Kill() { alive_ = false; }
  // Counts the edits; 0 means unchanged since the story was read.
  std::uint64_t Revision() const { return revision_; }
  // True once a deletion went beyond one paragraph's text: marks that pair up (bookmarks, comment
  // ranges) may then have lost their partner.
  bool DeletedBlocks() const { return deletedBlocks_; }
  // True when reading the story had to add a missing paragraph.
  bool RepairedOnLoad() const { return repaired_; }

  int Length() const { return length_; }
  int ParagraphCount() const { return static_cast<int>(paragraphs_.size()); }
  const StoryParagraph& ParagraphAt(int index) const { return paragraphs_[static_cast<size_t>(index)]; }
  int ParagraphStart(int index);
  // The paragraph holding position (the last one for a position at or beyond the end).
  int ParagraphIndexAt(int position);
  // Word's text of the positions [start, end): the cell and row marks as "\r" U+0007.
  Text TextOf(int start, int end);
  // The code unit at position (U+0007 for a cell or row mark); 0 outside the story.
  char16_t CharAt(int position);

  // The first match starting at or after from and ending at or before limit; -1 when there is none. The
  // pattern may span paragraphs (its marks must then fall on paragraph ends). "\r" U+0007 in the pattern
  // stands for one cell mark.
  int FindForward(TextView pattern, int from, int limit, bool matchCase, bool wholeWord);
  // The last match ending at or before from and starting at or after low; -1 when there is none.
  int FindBackward(TextView pattern, int from, int low, bool matchCase, bool wholeWord);

  // Inserts text before position (clamped so that nothing goes after the story's last mark). "\r", "\n"
  // and "\r\n" start a new paragraph; "\t", U+000B, U+000C and U+000E become a tab and breaks; other
  // control characters are dropped. Returns the number of positions inserted; insertedAt receives the
  // position the text went to.
  int InsertText(int position, TextView text, const RunFormat& format, int* insertedAt = nullptr);
  // Inserts text (without paragraph marks) at each position, as replacing the character before it by
  // itself followed by the text would: in that character's run and formatting. Positions are those of
  // the story before the call; each paragraph is read again only once. Returns the positions inserted.
  int InsertAtPositions(std::vector<int> positions, TextView text);
  // Deletes [start, end). Cell marks, row marks of rows not wholly deleted, and the story's last mark
  // stay; a wholly deleted row or table goes.
  void Delete(int start, int end);
  // Calls change with the w:rPr of every run that holds positions of [start, end), splitting runs at the
  // ends first; afterwards neighbouring runs that came out the same are joined again.
  void ChangeRunProperties(int start, int end, const std::function<void(pugi::xml_node)>& change);
  // The formatting text inserted at position takes: with preferPreceding the character before it when
  // that lies in the same paragraph, otherwise the character at position; for a paragraph mark the last
  // run before it, else the mark's own properties.
  RunFormat FormatAt(int position, bool preferPreceding);
  // Every run (with its paragraph) holding a position of [start, end), in order.
  void ForEachRun(int start, int end,
                  const std::function<void(pugi::xml_node run, pugi::xml_node paragraph)>& visit);

  // Inserts copies of content from another XML tree at position; used by paste. With inlineOnly the
  // inline content of firstInline goes in at position. Otherwise the paragraph is split at position:
  // firstInline's content ends the first half (which then takes firstInline's paragraph properties when
  // position is at a paragraph start), blocks (w:p, w:tbl) follow whole, and lastInline's content begins
  // the second half. Returns the number of positions inserted.
  int InsertBlocks(int position, pugi::xml_node firstInline, const std::vector<pugi::xml_node>& blocks,
                   pugi::xml_node lastInline, bool inlineOnly, int* insertedAt = nullptr);

  // Re-reads the paragraph after an outside change of its XML that moved no position (properties).
  void Touch() { ++revision_; }

  void Register(StoryAnchor* anchor) { anchors_.insert(anchor); }
  void Unregister(StoryAnchor* anchor) { anchors_.erase(anchor); }

 private:
  struct Scope {
    pugi::xml_node container, before, after;
    int first = 0, last = 0;
    bool cell = false;
  };

  void IndexBlocks(pugi::xml_node first, pugi::xml_node stop, std::vector<StoryParagraph>& out);
  void IndexTable(pugi::xml_node table, std::vector<StoryParagraph>& out);
  void IndexRow(pugi::xml_node row, std::vector<StoryParagraph>& out);
  void IndexCell(pugi::xml_node cell, std::vector<StoryParagraph>& out);
  void EnsureLastParagraph();
  void ReindexParagraph(int index);
  Scope ScopeFor(int first, int last);
  void Reindex(const Scope& scope);
  // Makes starts_ valid up to and including the start of paragraph index (count: the story's end).
  void EnsureStarts(int index);
  // After paragraph index changed by delta positions: the starts after it are read again when needed.
  void Changed(int index, int delta) {
    startsValid_ = std::min(startsValid_, index);
    length_ += delta;
  }

  bool WholeWordAt(int position, int length);
  int FindInParagraphs(const Text& pattern, int from, int limit, bool matchCase, bool wholeWord);
  int FindAcrossParagraphs(const std::vector<Text>& parts, int from, int limit, bool matchCase,
                           bool wholeWord);

  void DeleteInline(int index, int from, int to);
  // The fast ways for a deletion inside one text piece that keeps some of its text, and for plain text
  // that joins the text piece before it: the index is updated in place. False when they do not apply.
  bool DeleteInsideTextPiece(int index, int from, int to);
  bool InsertIntoTextPiece(int index, int local, TextView text, const RunFormat& format);
  void InsertInline(int index, int local, TextView line, const RunFormat& format);
  void SplitRunsAt(int index, int local);
  // The child of paragraph where its inline content from local on begins (splitting runs and their
  // containers as needed); empty when nothing follows local but the mark.
  pugi::xml_node SplitParagraphAt(int index, int local);
  // Where text inserted at position goes (clamped, an end-of-row mark moved to the row's last cell):
  // the paragraph's index, position updated; -1 when there is no such place.
  int InsertionPoint(int& position);
  // Moves the paragraph's content before local into a new paragraph in front of it; returns that.
  pugi::xml_node SplitOffHead(int index, int local);
  void CheckLength(int expected);

  void MoveAnchorsForInsert(int position, int count);
  void MoveAnchorsForDelete(const std::vector<std::pair<int, int>>& removed);

  pugi::xml_node container_;
  GapVector<StoryParagraph> paragraphs_;
  // starts_[i] is valid for i <= startsValid_: edits invalidate from their paragraph on, and a walk
  // through the story renews only what it reaches.
  std::vector<int> starts_;
  int startsValid_ = 0;
  int length_ = 0;
  std::unordered_set<StoryAnchor*> anchors_;
  std::uint64_t revision_ = 0;
  bool alive_ = true;
  bool repaired_ = false;
  bool deletedBlocks_ = false;
};

// Text as an insertion stores it: "\r\n" and "\n" become "\r", unsupported control characters go.
Text NormalizeInsertedText(TextView text);
// A search pattern in positions: "\r" U+0007 becomes the one cell mark U+0007.
Text PatternPositions(TextView pattern);

// Indexes one w:p on its own (for fragments outside a story).
StoryParagraph IndexParagraph(pugi::xml_node paragraph, ParagraphKind kind);
// Removes the inline content of a paragraph outside [from, to) (local positions, the mark excluded).
void KeepInlineRange(pugi::xml_node paragraph, int from, int to);

}  // namespace scrivano::word
