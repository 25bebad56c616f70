#include "docx/DocumentStory.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdlib>
#include <cstring>

#include "docx/DocumentXml.h"
#include "docx/StoryNodes.h"

namespace scrivano::word {
namespace {

bool IsFloatingVml(pugi::xml_node pict) {
  for (pugi::xml_node shape = pict.first_child(); shape; shape = shape.next_sibling())
    if (std::strstr(shape.attribute("style").value(), "position:absolute")) return true;
  return false;
}

bool IsFloatingShape(pugi::xml_node content) {
  return (IsNamed(content, "w:drawing") && content.child("wp:anchor")) ||
         (IsNamed(content, "w:pict") && IsFloatingVml(content));
}

pugi::xml_node FirstElement(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element) return child;
  return {};
}

// Text elements longer than kLongTextPiece are indexed as pieces of kTextPieceSize characters.
constexpr size_t kTextPieceSize = 512;

// Builds the positions of one paragraph from its runs.
class InlineIndexer {
 public:
  explicit InlineIndexer(StoryParagraph& paragraph) : paragraph_(paragraph) {}

  void Inline(pugi::xml_node parent) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
      if (child.type() != pugi::node_element) continue;
      if (IsNamed(child, "w:r"))
        Run(child);
      else if (IsRunContainer(child))
        Inline(child);
      else if (IsNamed(child, "w:sdt"))
        Inline(child.child("w:sdtContent"));
      else if (IsNamed(child, "mc:AlternateContent"))
        Inline(child.child("mc:Choice"));
    }
  }

 private:
  void Add(pugi::xml_node node, pugi::xml_node run, TextView chars, PieceKind kind) {
    paragraph_.pieces.push_back({node, run, paragraph_.Length(), static_cast<int>(chars.size()), kind});
    paragraph_.text.append(chars);
  }
  // A long text element becomes several in the same run, so that an edit rewrites a few hundred
  // characters rather than the whole text. Returns the last one; the pieces are added.
  pugi::xml_node SplitLongText(pugi::xml_node element, const Text& text) {
    pugi::xml_node run = element.parent();
    pugi::xml_node last = element;
    const bool preserve = element.attribute("xml:space");
    size_t from = 0;
    while (from < text.size()) {
      size_t to = std::min(text.size(), from + kTextPieceSize);
      if (to < text.size() && (text[to] & 0xFC00) == 0xDC00) --to;  // not between a surrogate pair
      const TextView chunk = TextView(text).substr(from, to - from);
      pugi::xml_node piece = from == 0 ? element : run.insert_child_after("w:t", last);
      if (from > 0 && preserve) piece.append_attribute("xml:space") = "preserve";
      SetNodeText(piece, chunk);
      Add(piece, run, chunk, PieceKind::kText);
      last = piece;
      from = to;
    }
    return last;
  }

  void Element(pugi::xml_node node, pugi::xml_node run, char16_t ch) {
    Add(node, run, TextView(&ch, 1), PieceKind::kElement);
  }

  void Run(pugi::xml_node run) {
    for (pugi::xml_node child = run.first_child(); child; child = child.next_sibling()) {
      if (child.type() != pugi::node_element) continue;
      const char* name = child.name();
      if (std::strcmp(name, "w:t") == 0) {
        const Text text = NodeText(child);
        if (text.size() > kLongTextPiece) {
          child = SplitLongText(child, text);
          continue;
        }
        if (!text.empty()) Add(child, run, text, PieceKind::kText);
      } else if (std::strcmp(name, "w:tab") == 0 || std::strcmp(name, "w:ptab") == 0) {
        Element(child, run, u'\t');
      } else if (std::strcmp(name, "w:br") == 0) {
        const std::string type = child.attribute("w:type").value();
        Element(child, run,
                type == "page"     ? kPageBreakChar
                : type == "column" ? kColumnBreakChar
                                   : kLineBreakChar);
      } else if (std::strcmp(name, "w:cr") == 0) {
        Element(child, run, kLineBreakChar);
      } else if (std::strcmp(name, "w:noBreakHyphen") == 0) {
        Element(child, run, kNonBreakingHyphenChar);
      } else if (std::strcmp(name, "w:softHyphen") == 0) {
        Element(child, run, kOptionalHyphenChar);
      } else if (std::strcmp(name, "w:sym") == 0) {
        // Word's text shows a symbol-font character as "("; here it keeps its own code (a symbol font's
        // codes lie in the private-use area), so that a search for "(" does not find a symbol.
        const long code = std::strtol(child.attribute("w:char").value(), nullptr, 16);
        Element(child, run, code > 0 && code < 0xFFFE ? static_cast<char16_t>(code) : kSymbolChar);
      } else if (std::strcmp(name, "w:footnoteReference") == 0 ||
                 std::strcmp(name, "w:endnoteReference") == 0) {
        Element(child, run, kNoteReferenceChar);
      } else if (std::strcmp(name, "w:commentReference") == 0) {
        Element(child, run, kCommentReferenceChar);
      } else if (std::strcmp(name, "w:drawing") == 0 || std::strcmp(name, "w:pict") == 0) {
        if (IsFloatingShape(child))
          paragraph_.anchors.push_back(child);
        else
          Element(child, run, kObjectChar);
      } else if (std::strcmp(name, "w:object") == 0 || std::strcmp(name, "w:contentPart") == 0) {
        Element(child, run, kObjectChar);
      } else if (std::strcmp(name, "mc:AlternateContent") == 0) {
        const pugi::xml_node content = FirstElement(child.child("mc:Choice"));
        if (IsFloatingShape(content))
          paragraph_.anchors.push_back(child);
        else if (content)
          Element(child, run, kObjectChar);
      } else if (std::strcmp(name, "w:lastRenderedPageBreak") == 0) {
        paragraph_.pageMarks.push_back(paragraph_.Length());
      } else if (std::strcmp(name, "w:ruby") == 0) {
        Inline(child.child("w:rubyBase"));
      }
    }
  }

  StoryParagraph& paragraph_;
};

void Finish(StoryParagraph& paragraph) {
  paragraph.folded = FoldedText(paragraph.text);
  paragraph.signature = {};
  for (const char16_t ch : paragraph.folded) paragraph.signature.Add(ch);
}

bool IsWordChar(char16_t ch) {
  if (ch < 128)
    return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') ||
           ch == u'_';
  if (ch >= 0xC0 && ch < 0x2000) return ch != 0xD7 && ch != 0xF7;
  return (ch >= 0xFF10 && ch <= 0xFF19) || (ch >= 0xFF21 && ch <= 0xFF3A) || (ch >= 0xFF41 && ch <= 0xFF5A);
}

}  // namespace

// "\r" U+0007 in a pattern is how Word's text shows one cell mark.
Text PatternPositions(TextView pattern) {
  Text result;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == kParagraphMark && i + 1 < pattern.size() && pattern[i + 1] == kCellMark) continue;
    result.push_back(pattern[i]);
  }
  return result;
}

namespace {

bool IsMarkChar(char16_t ch) {
  return ch == kParagraphMark || ch == kCellMark;
}

// Cuts a pattern after each mark: the pieces a match spanning paragraphs lays on them.
std::vector<Text> SplitAfterMarks(const Text& pattern) {
  std::vector<Text> parts(1);
  for (const char16_t ch : pattern) {
    parts.back().push_back(ch);
    if (IsMarkChar(ch)) parts.emplace_back();
  }
  if (parts.back().empty()) parts.pop_back();
  return parts;
}

// Text::find, with the first code unit looked for by memchr on its low byte: paragraphs may be a
// million characters long, and searches run through them again and again.
size_t FindPattern(const Text& haystack, const Text& pattern, size_t from) {
  const size_t size = pattern.size();
  if (size == 0 || haystack.size() < size) return Text::npos;
  const char16_t first = pattern[0];
  const unsigned char low = static_cast<unsigned char>(first & 0xFF);
  constexpr size_t kLowByte = std::endian::native == std::endian::little ? 0 : 1;
  const char* bytes = reinterpret_cast<const char*>(haystack.data());
  const size_t last = haystack.size() - size;  // the last place a match can start
  for (size_t at = from; at <= last;) {
    const void* hit = std::memchr(bytes + 2 * at, low, 2 * (last - at + 1));
    if (!hit) return Text::npos;
    const size_t offset = static_cast<size_t>(static_cast<const char*>(hit) - bytes);
    const size_t unit = offset / 2;
    // The byte may be the other half of a code unit, or the start of a partial match.
    if (offset % 2 == kLowByte && haystack[unit] == first && haystack.compare(unit, size, pattern) == 0)
      return unit;
    at = unit + 1;
  }
  return Text::npos;
}

bool EndsWith(const Text& text, const Text& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

namespace {

// Calls visit for each child of parent named name, looking through content controls and custom XML.
template <typename Visit>
void ForEachWrapped(pugi::xml_node parent, const char* name, Visit visit) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (IsNamed(child, name))
      visit(child);
    else if (IsNamed(child, "w:sdt"))
      ForEachWrapped(child.child("w:sdtContent"), name, visit);
    else if (IsNamed(child, "w:customXml"))
      ForEachWrapped(child, name, visit);
  }
}

}  // namespace

void Signature::Add(char16_t ch) {
  unsigned hash = ch;
  hash ^= hash >> 7;
  hash *= 0x9E3Bu;
  const unsigned bit = (hash >> 5) & 511u;
  bits[bit >> 6] |= std::uint64_t{1} << (bit & 63u);
}

bool Signature::Covers(const Signature& other) const {
  for (size_t i = 0; i < bits.size(); ++i)
    if ((bits[i] & other.bits[i]) != other.bits[i]) return false;
  return true;
}

char16_t FoldCase(char16_t ch) {
  if (ch < 0x80) return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + 32) : ch;
  if ((ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) || (ch >= 0x391 && ch <= 0x3A9 && ch != 0x3A2) ||
      (ch >= 0x410 && ch <= 0x42F) || (ch >= 0xFF21 && ch <= 0xFF3A))
    return static_cast<char16_t>(ch + 32);
  if (ch >= 0x400 && ch <= 0x40F) return static_cast<char16_t>(ch + 80);
  return ch;
}

Text FoldedText(TextView text) {
  Text folded(text);
  for (char16_t& ch : folded) ch = FoldCase(ch);
  return folded;
}

StoryParagraph IndexParagraph(pugi::xml_node paragraph, ParagraphKind kind) {
  StoryParagraph result;
  result.node = paragraph;
  result.kind = kind;
  if (kind != ParagraphKind::kRowEnd) InlineIndexer(result).Inline(paragraph);
  result.pieces.push_back({paragraph, {}, result.Length(), 1, PieceKind::kMark});
  result.text.push_back(kind == ParagraphKind::kParagraph ? kParagraphMark : kCellMark);
  Finish(result);
  return result;
}

Story::Story(pugi::xml_node container) : container_(container) {
  std::vector<StoryParagraph> indexed;
  IndexBlocks(container.first_child(), {}, indexed);
  for (const StoryParagraph& paragraph : indexed) length_ += paragraph.Length();
  paragraphs_ = GapVector<StoryParagraph>(std::move(indexed));
  starts_.assign(paragraphs_.size() + 1, 0);
  EnsureLastParagraph();
}

void Story::IndexBlocks(pugi::xml_node first, pugi::xml_node stop, std::vector<StoryParagraph>& out) {
  for (pugi::xml_node node = first; node && node != stop; node = node.next_sibling()) {
    if (node.type() != pugi::node_element) continue;
    if (IsNamed(node, "w:p"))
      out.push_back(IndexParagraph(node, ParagraphKind::kParagraph));
    else if (IsNamed(node, "w:tbl"))
      IndexTable(node, out);
    else if (IsNamed(node, "w:sdt"))
      IndexBlocks(node.child("w:sdtContent").first_child(), {}, out);
    else if (IsNamed(node, "w:customXml"))
      IndexBlocks(node.first_child(), {}, out);
  }
}

void Story::IndexTable(pugi::xml_node table, std::vector<StoryParagraph>& out) {
  ForEachWrapped(table, "w:tr", [&](pugi::xml_node row) { IndexRow(row, out); });
}

void Story::IndexRow(pugi::xml_node row, std::vector<StoryParagraph>& out) {
  ForEachWrapped(row, "w:tc", [&](pugi::xml_node cell) { IndexCell(cell, out); });
  out.push_back(IndexParagraph(row, ParagraphKind::kRowEnd));
}

void Story::IndexCell(pugi::xml_node cell, std::vector<StoryParagraph>& out) {
  const size_t before = out.size();
  IndexBlocks(cell.first_child(), {}, out);
  if (out.size() == before || out.back().kind != ParagraphKind::kParagraph) {
    // A cell always ends with a paragraph; Word adds one where a producer left it out.
    out.push_back(IndexParagraph(cell.append_child("w:p"), ParagraphKind::kParagraph));
    repaired_ = true;
  }
  StoryParagraph& last = out.back();
  last.kind = ParagraphKind::kCellEnd;
  last.text.back() = kCellMark;
  Finish(last);
}

void Story::EnsureLastParagraph() {
  if (!paragraphs_.empty() && paragraphs_.back().kind == ParagraphKind::kParagraph) return;
  pugi::xml_node section = container_.last_child();
  while (section && section.type() != pugi::node_element) section = section.previous_sibling();
  pugi::xml_node paragraph = IsNamed(section, "w:sectPr") ? container_.insert_child_before("w:p", section)
                                                          : container_.append_child("w:p");
  paragraphs_.push_back(IndexParagraph(paragraph, ParagraphKind::kParagraph));
  Changed(ParagraphCount() - 1, paragraphs_.back().Length());
  repaired_ = true;
}

void Story::EnsureStarts(int index) {
  const int count = ParagraphCount();
  if (static_cast<int>(starts_.size()) != count + 1) {
    starts_.resize(static_cast<size_t>(count) + 1);
    startsValid_ = std::min(startsValid_, count);
  }
  for (int i = startsValid_; i < index; ++i)
    starts_[static_cast<size_t>(i) + 1] =
        starts_[static_cast<size_t>(i)] + paragraphs_[static_cast<size_t>(i)].Length();
  startsValid_ = std::max(startsValid_, index);
}

int Story::ParagraphStart(int index) {
  EnsureStarts(index);
  return starts_[static_cast<size_t>(index)];
}

int Story::ParagraphIndexAt(int position) {
  const int count = ParagraphCount();
  if (position <= 0) return 0;
  if (position >= length_) return count - 1;
  EnsureStarts(0);
  // The starts are renewed only as far as the position: a walk from the front costs its length.
  while (starts_[static_cast<size_t>(startsValid_)] <= position) EnsureStarts(startsValid_ + 1);
  const auto end = starts_.begin() + startsValid_ + 1;
  return static_cast<int>(std::upper_bound(starts_.begin(), end, position) - starts_.begin()) - 1;
}

Text Story::TextOf(int start, int end) {
  const int length = Length();
  start = std::clamp(start, 0, length);
  end = std::clamp(end, start, length);
  Text result;
  result.reserve(static_cast<size_t>(end - start) + 16);
  for (int index = ParagraphIndexAt(start); index < ParagraphCount() && ParagraphStart(index) < end;
       ++index) {
    const StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
    const int first = ParagraphStart(index);
    const int from = std::max(start, first) - first, to = std::min(end, first + paragraph.Length()) - first;
    for (int i = from; i < to; ++i) {
      const char16_t ch = paragraph.text[static_cast<size_t>(i)];
      if (ch == kCellMark) result.push_back(kParagraphMark);
      result.push_back(ch);
    }
  }
  return result;
}

char16_t Story::CharAt(int position) {
  if (position < 0 || position >= Length()) return 0;
  const int index = ParagraphIndexAt(position);
  return paragraphs_[static_cast<size_t>(index)].text[static_cast<size_t>(position - ParagraphStart(index))];
}

bool Story::WholeWordAt(int position, int length) {
  if (IsWordChar(CharAt(position)) && IsWordChar(CharAt(position - 1))) return false;
  return !(IsWordChar(CharAt(position + length - 1)) && IsWordChar(CharAt(position + length)));
}

int Story::FindForward(TextView rawPattern, int from, int limit, bool matchCase, bool wholeWord) {
  Text pattern = PatternPositions(rawPattern);
  if (pattern.empty()) return -1;
  if (!matchCase) pattern = FoldedText(pattern);
  from = std::max(from, 0);
  limit = std::min(limit, Length());
  const bool spans = std::any_of(pattern.begin(), pattern.end() - 1, IsMarkChar);
  if (spans) return FindAcrossParagraphs(SplitAfterMarks(pattern), from, limit, matchCase, wholeWord);
  return FindInParagraphs(pattern, from, limit, matchCase, wholeWord);
}

int Story::FindInParagraphs(const Text& pattern, int from, int limit, bool matchCase, bool wholeWord) {
  Signature wanted;
  for (const char16_t ch : FoldedText(pattern)) wanted.Add(ch);
  const int size = static_cast<int>(pattern.size());
  for (int index = ParagraphIndexAt(from); index < ParagraphCount(); ++index) {
    const int first = ParagraphStart(index);
    if (first >= limit) break;
    const StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
    if (paragraph.Length() < size || !paragraph.signature.Covers(wanted)) continue;
    const Text& haystack = matchCase ? paragraph.text : paragraph.folded;
    for (size_t at = static_cast<size_t>(std::max(from - first, 0));
         (at = FindPattern(haystack, pattern, at)) != Text::npos; ++at) {
      const int position = first + static_cast<int>(at);
      if (position + size > limit) return -1;
      if (!wholeWord || WholeWordAt(position, size)) return position;
    }
  }
  return -1;
}

int Story::FindAcrossParagraphs(const std::vector<Text>& parts, int from, int limit, bool matchCase,
                                bool wholeWord) {
  int size = 0;
  for (const Text& part : parts) size += static_cast<int>(part.size());
  const int count = ParagraphCount();
  const int span = static_cast<int>(parts.size());
  for (int index = ParagraphIndexAt(from); index + span - 1 < count; ++index) {
    const StoryParagraph& head = paragraphs_[static_cast<size_t>(index)];
    const Text& headText = matchCase ? head.text : head.folded;
    if (!EndsWith(headText, parts[0])) continue;
    const int position = ParagraphStart(index) + head.Length() - static_cast<int>(parts[0].size());
    if (position < from) continue;
    if (position + size > limit) return -1;
    bool matches = true;
    for (int i = 1; i < span && matches; ++i) {
      const StoryParagraph& next = paragraphs_[static_cast<size_t>(index + i)];
      const Text& text = matchCase ? next.text : next.folded;
      const Text& part = parts[static_cast<size_t>(i)];
      matches = IsMarkChar(part.back()) ? text == part : text.compare(0, part.size(), part) == 0;
    }
    if (matches && (!wholeWord || WholeWordAt(position, size))) return position;
  }
  return -1;
}

int Story::FindBackward(TextView rawPattern, int from, int low, bool matchCase, bool wholeWord) {
  // Searches are rare this way round: walk candidate starts back from the end, nearest first.
  Text pattern = PatternPositions(rawPattern);
  if (pattern.empty()) return -1;
  const int size = static_cast<int>(pattern.size());
  from = std::min(from, Length());
  low = std::max(low, 0);
  for (int start = from - size; start >= low;) {
    // The nearest match starting in [paragraph start, start]: search forward inside that window.
    const int index = ParagraphIndexAt(start);
    const int windowStart = std::max(ParagraphStart(index), low);
    int best = -1;
    for (int at = FindForward(rawPattern, windowStart, start + size, matchCase, wholeWord);
         at >= 0 && at <= start; at = FindForward(rawPattern, at + 1, start + size, matchCase, wholeWord))
      best = at;
    if (best >= 0) return best;
    start = windowStart - 1;
  }
  return -1;
}

void Story::ReindexParagraph(int index) {
  StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
  const int before = paragraph.Length();
  paragraph = IndexParagraph(paragraph.node, paragraph.kind);
  if (paragraph.kind == ParagraphKind::kCellEnd) {
    paragraph.text.back() = kCellMark;
    Finish(paragraph);
  }
  Changed(index, paragraph.Length() - before);
}

Story::Scope Story::ScopeFor(int first, int last) {
  auto nearestCell = [this](pugi::xml_node node) -> pugi::xml_node {
    for (pugi::xml_node up = node.parent(); up && up != container_; up = up.parent())
      if (IsNamed(up, "w:tc")) return up;
    return {};
  };
  auto topBlock = [this](pugi::xml_node node) {
    while (node.parent() && node.parent() != container_) node = node.parent();
    return node;
  };
  const int count = ParagraphCount();
  Scope scope;
  const StoryParagraph& a = paragraphs_[static_cast<size_t>(first)];
  const StoryParagraph& b = paragraphs_[static_cast<size_t>(last)];
  const pugi::xml_node cell = nearestCell(a.node);
  if (cell && a.kind != ParagraphKind::kRowEnd && b.kind != ParagraphKind::kRowEnd &&
      cell == nearestCell(b.node)) {
    scope.cell = true;
    scope.container = cell;
    while (first > 0 && IsInside(paragraphs_[static_cast<size_t>(first) - 1].node, cell)) --first;
    while (last + 1 < count && IsInside(paragraphs_[static_cast<size_t>(last) + 1].node, cell)) ++last;
  } else {
    const pugi::xml_node topFirst = topBlock(a.node), topLast = topBlock(b.node);
    while (first > 0 && topBlock(paragraphs_[static_cast<size_t>(first) - 1].node) == topFirst) --first;
    while (last + 1 < count && topBlock(paragraphs_[static_cast<size_t>(last) + 1].node) == topLast) ++last;
    scope.container = container_;
    scope.before = topFirst.previous_sibling();
    scope.after = topLast.next_sibling();
  }
  scope.first = first;
  scope.last = last;
  return scope;
}

void Story::Reindex(const Scope& scope) {
  std::vector<StoryParagraph> fresh;
  if (scope.cell) {
    IndexCell(scope.container, fresh);
  } else {
    const pugi::xml_node from = scope.before ? scope.before.next_sibling() : container_.first_child();
    IndexBlocks(from, scope.after, fresh);
  }
  int delta = 0;
  for (int i = scope.first; i <= scope.last; ++i) delta -= paragraphs_[static_cast<size_t>(i)].Length();
  for (const StoryParagraph& paragraph : fresh) delta += paragraph.Length();
  paragraphs_.Replace(static_cast<size_t>(scope.first), static_cast<size_t>(scope.last - scope.first + 1),
                      std::move(fresh));
  Changed(scope.first, delta);
  if (!scope.cell && !scope.after) EnsureLastParagraph();
}

void Story::CheckLength(int expected) {
  // Every edit states how many positions it adds or removes; a mismatch would leave the live ranges
  // pointing at the wrong characters.
#ifndef NDEBUG
  int actual = 0;
  for (int i = 0; i < ParagraphCount(); ++i) actual += paragraphs_[static_cast<size_t>(i)].Length();
  assert(actual == length_ && actual == expected);
#endif
  (void)expected;
}

}  // namespace scrivano::word
