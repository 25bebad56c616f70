// The story's edits: deleting, inserting text and blocks, splitting runs and paragraphs, run formats.
#include <algorithm>

#include "docx/DocumentStory.h"
#include "docx/DocumentXml.h"
#include "docx/StoryNodes.h"

namespace scrivano::word {
namespace {

int PieceIndex(const StoryParagraph& paragraph, int local) {
  const auto& pieces = paragraph.pieces;
  const auto found = std::upper_bound(pieces.begin(), pieces.end(), local,
                                      [](int value, const Piece& piece) { return value < piece.local; });
  return static_cast<int>(found - pieces.begin()) - 1;
}

bool IsPlainText(TextView line) {
  for (const char16_t ch : line)
    if (ch == u'\t' || ch == kLineBreakChar || ch == kPageBreakChar || ch == kColumnBreakChar ||
        ch == kNonBreakingHyphenChar || ch == kOptionalHyphenChar)
      return false;
  return true;
}

// An empty w:rPr (as some producers write on every run) is no properties at all.
pugi::xml_node UnlessEmpty(pugi::xml_node properties) {
  return properties && (properties.first_attribute() || properties.first_child()) ? properties
                                                                                  : pugi::xml_node();
}

bool SameProperties(pugi::xml_node run, const RunFormat& format) {
  return SameXml(UnlessEmpty(run.child("w:rPr")), UnlessEmpty(format.properties));
}

// Fills an empty run with the format's properties and the line's characters.
void FillRun(pugi::xml_node run, TextView line, const RunFormat& format) {
  if (format.properties) run.append_copy(format.properties);
  Text pending;
  auto flush = [&] {
    if (pending.empty()) return;
    SetNodeText(run.append_child("w:t"), pending);
    pending.clear();
  };
  for (const char16_t ch : line) {
    const char* element = nullptr;
    const char* breakType = nullptr;
    switch (ch) {
      case u'\t':
        element = "w:tab";
        break;
      case kLineBreakChar:
        element = "w:br";
        break;
      case kPageBreakChar:
        element = "w:br";
        breakType = "page";
        break;
      case kColumnBreakChar:
        element = "w:br";
        breakType = "column";
        break;
      case kNonBreakingHyphenChar:
        element = "w:noBreakHyphen";
        break;
      case kOptionalHyphenChar:
        element = "w:softHyphen";
        break;
      default:
        pending.push_back(ch);
        continue;
    }
    flush();
    pugi::xml_node added = run.append_child(element);
    if (breakType) added.append_attribute("w:type") = breakType;
  }
  flush();
}

// Splits a w:t in two at offset; returns the second one.
pugi::xml_node SplitTextElement(pugi::xml_node text, int offset) {
  const Text whole = NodeText(text);
  SetNodeText(text, TextView(whole).substr(0, static_cast<size_t>(offset)));
  pugi::xml_node second = text.parent().insert_child_after("w:t", text);
  SetNodeText(second, TextView(whole).substr(static_cast<size_t>(offset)));
  return second;
}

// Moves node and everything after it into a twin of its parent inserted after the parent. The twin gets
// the parent's attributes and a copy of its properties. Returns the twin.
pugi::xml_node SplitParentBefore(pugi::xml_node node) {
  pugi::xml_node parent = node.parent();
  pugi::xml_node twin = parent.parent().insert_child_after(parent.name(), parent);
  for (pugi::xml_attribute attribute = parent.first_attribute(); attribute;
       attribute = attribute.next_attribute())
    twin.append_attribute(attribute.name()) = attribute.value();
  for (pugi::xml_node child = parent.first_child(); child && child != node; child = child.next_sibling())
    if (IsPropertyElement(child)) twin.append_copy(child);
  for (pugi::xml_node child = node; child;) {
    pugi::xml_node next = child.next_sibling();
    twin.append_move(child);
    child = next;
  }
  return twin;
}

bool HasContentBefore(pugi::xml_node node) {
  for (pugi::xml_node sibling = node.previous_sibling(); sibling; sibling = sibling.previous_sibling())
    if (sibling.type() == pugi::node_element && !IsPropertyElement(sibling)) return true;
  return false;
}

bool HasContentAfter(pugi::xml_node node) {
  for (pugi::xml_node sibling = node.next_sibling(); sibling; sibling = sibling.next_sibling())
    if (sibling.type() == pugi::node_element && !IsPropertyElement(sibling)) return true;
  return false;
}

// Lifts node to a direct child of paragraph, splitting the elements between them.
pugi::xml_node LiftTo(pugi::xml_node node, pugi::xml_node paragraph) {
  while (node.parent() && node.parent() != paragraph) {
    pugi::xml_node parent = node.parent();
    if (IsNamed(parent, "w:sdtContent")) {
      // A content control splits as a whole: its content element cannot be doubled.
      pugi::xml_node control = parent.parent();
      if (!HasContentBefore(node)) {
        node = control;
        continue;
      }
      pugi::xml_node twin = control.parent().insert_child_after("w:sdt", control);
      for (pugi::xml_node child = control.first_child(); child; child = child.next_sibling())
        if (IsPropertyElement(child)) twin.append_copy(child);
      pugi::xml_node content = twin.append_child("w:sdtContent");
      for (pugi::xml_node child = node; child;) {
        pugi::xml_node next = child.next_sibling();
        content.append_move(child);
        child = next;
      }
      node = twin;
      continue;
    }
    node = HasContentBefore(node) ? SplitParentBefore(node) : parent;
  }
  return node;
}

// Removes a run left without content, and the containers this leaves empty.
void RemoveIfEmpty(pugi::xml_node run, pugi::xml_node paragraph) {
  for (pugi::xml_node text = run.child("w:t"); text;) {
    pugi::xml_node next = text.next_sibling("w:t");
    if (!*text.text().get()) run.remove_child(text);
    text = next;
  }
  pugi::xml_node node = run;
  while (node && node != paragraph && !HasContent(node)) {
    pugi::xml_node parent = node.parent();
    if (IsNamed(parent, "w:sdtContent")) {
      // An emptied content control goes as a whole: its properties are no content.
      pugi::xml_node control = parent.parent();
      parent.remove_child(node);
      if (HasContent(parent)) return;
      node = control.parent();
      node.remove_child(control);
      if (!IsRunContainer(node)) return;
      continue;
    }
    parent.remove_child(node);
    node = parent;
    if (!IsRunContainer(node)) return;
  }
}

void DeleteInlinePieces(StoryParagraph& paragraph, int from, int to) {
  std::vector<pugi::xml_node> runs;
  for (auto piece = paragraph.pieces.rbegin(); piece != paragraph.pieces.rend(); ++piece) {
    if (piece->kind == PieceKind::kMark) continue;
    const int first = piece->local, last = piece->local + piece->length;
    if (last <= from || first >= to) continue;
    if (piece->kind == PieceKind::kText) {
      Text text = NodeText(piece->node);
      const int cutFrom = std::max(from, first) - first, cutTo = std::min(to, last) - first;
      text.erase(static_cast<size_t>(cutFrom), static_cast<size_t>(cutTo - cutFrom));
      SetNodeText(piece->node, text);
    } else {
      piece->node.parent().remove_child(piece->node);
    }
    if (runs.empty() || runs.back() != piece->run) runs.push_back(piece->run);
  }
  for (pugi::xml_node run : runs) RemoveIfEmpty(run, paragraph.node);
}

// Joins neighbouring text-only runs whose properties are the same.
void JoinRuns(pugi::xml_node parent) {
  auto textOnly = [](pugi::xml_node run) {
    if (!IsNamed(run, "w:r") || !run.child("w:t")) return false;
    for (pugi::xml_node child = run.first_child(); child; child = child.next_sibling())
      if (child.type() == pugi::node_element && !IsNamed(child, "w:rPr") && !IsNamed(child, "w:t"))
        return false;
    return true;
  };
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    if (IsRunContainer(child)) JoinRuns(child);
    if (!textOnly(child)) continue;
    for (;;) {
      pugi::xml_node next = child.next_sibling();
      while (next && next.type() != pugi::node_element) next = next.next_sibling();
      if (!next || !textOnly(next) ||
          !SameXml(UnlessEmpty(child.child("w:rPr")), UnlessEmpty(next.child("w:rPr"))))
        break;
      pugi::xml_node last = child.last_child();
      while (!IsNamed(last, "w:t")) last = last.previous_sibling();
      Text joined = NodeText(last);
      for (pugi::xml_node text = next.child("w:t"); text; text = text.next_sibling("w:t"))
        joined += NodeText(text);
      SetNodeText(last, joined);
      child.parent().remove_child(next);
    }
  }
}

std::vector<Text> SplitLines(const Text& text) {
  std::vector<Text> lines(1);
  for (const char16_t ch : text) {
    if (ch == kParagraphMark)
      lines.emplace_back();
    else
      lines.back().push_back(ch);
  }
  return lines;
}

pugi::xml_node NewParagraphBefore(pugi::xml_node paragraph) {
  pugi::xml_node fresh = paragraph.parent().insert_child_before("w:p", paragraph);
  if (pugi::xml_node properties = paragraph.child("w:pPr")) {
    pugi::xml_node copy = fresh.append_copy(properties);
    copy.remove_child("w:sectPr");
  }
  return fresh;
}

pugi::xml_node FirstInlineChild(pugi::xml_node paragraph) {
  for (pugi::xml_node child = paragraph.first_child(); child; child = child.next_sibling())
    if (!IsNamed(child, "w:pPr")) return child;
  return {};
}

void PrependLine(pugi::xml_node paragraph, TextView line, const RunFormat& format) {
  if (line.empty()) return;
  pugi::xml_node first = FirstInlineChild(paragraph);
  FillRun(first ? paragraph.insert_child_before("w:r", first) : paragraph.append_child("w:r"), line, format);
}

void AppendLine(pugi::xml_node paragraph, TextView line, const RunFormat& format) {
  if (!line.empty()) FillRun(paragraph.append_child("w:r"), line, format);
}

// Deleting a paragraph mark joins the next paragraph to this one; the section break that ended the next
// paragraph (if any) now ends this one.
void JoinNextParagraph(pugi::xml_node paragraph, pugi::xml_node next) {
  pugi::xml_node properties = paragraph.child("w:pPr");
  if (properties) properties.remove_child("w:sectPr");
  if (pugi::xml_node section = next.child("w:pPr").child("w:sectPr")) {
    properties = EnsureParagraphProperties(paragraph);
    if (pugi::xml_node change = properties.child("w:pPrChange"))
      properties.insert_move_before(section, change);
    else
      properties.append_move(section);
  }
  for (pugi::xml_node child = next.first_child(); child;) {
    pugi::xml_node following = child.next_sibling();
    if (!IsNamed(child, "w:pPr")) paragraph.append_move(child);
    child = following;
  }
  next.parent().remove_child(next);
}

}  // namespace

Text NormalizeInsertedText(TextView raw) {
  Text text;
  text.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    const char16_t ch = raw[i];
    if (ch == u'\r' && i + 1 < raw.size() && raw[i + 1] == u'\n') continue;
    if (ch == u'\n' || ch == u'\r')
      text.push_back(kParagraphMark);
    else if (ch == u'\t' || ch == kLineBreakChar || ch == kPageBreakChar || ch == kColumnBreakChar ||
             ch == kNonBreakingHyphenChar || ch == kOptionalHyphenChar ||
             (ch >= 0x20 && ch != 0xFFFE && ch != 0xFFFF))
      text.push_back(ch);
  }
  return text;
}

void KeepInlineRange(pugi::xml_node paragraph, int from, int to) {
  StoryParagraph indexed = IndexParagraph(paragraph, ParagraphKind::kParagraph);
  const int content = indexed.Length() - 1;
  if (to < content) DeleteInlinePieces(indexed, to, content);
  if (from > 0) DeleteInlinePieces(indexed, 0, from);
}

void Story::MoveAnchorsForInsert(int position, int count) {
  for (StoryAnchor* anchor : anchors_) {
    if (anchor->anchorStart >= position) anchor->anchorStart += count;
    if (anchor->anchorEnd > position) anchor->anchorEnd += count;
    anchor->anchorEnd = std::max(anchor->anchorEnd, anchor->anchorStart);
  }
}

void Story::MoveAnchorsForDelete(const std::vector<std::pair<int, int>>& removed) {
  auto map = [&removed](int position) {
    int shift = 0;
    for (const auto& [from, to] : removed) {
      if (position >= to)
        shift += to - from;
      else if (position > from)
        return from - shift;
      else
        break;
    }
    return position - shift;
  };
  for (StoryAnchor* anchor : anchors_) {
    anchor->anchorStart = map(anchor->anchorStart);
    anchor->anchorEnd = std::max(map(anchor->anchorEnd), anchor->anchorStart);
  }
}

bool Story::DeleteInsideTextPiece(int index, int from, int to) {
  StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
  const int found = PieceIndex(paragraph, from);
  if (found < 0) return false;
  // Every piece the range touches is text and keeps some of it (a range may cross from one piece of a
  // long text into the next): only they and the index after them change, whatever the paragraph's length.
  size_t last = static_cast<size_t>(found);
  for (;; ++last) {
    const Piece& piece = paragraph.pieces[last];
    if (piece.kind != PieceKind::kText) return false;
    const int cut = std::min(to, piece.local + piece.length) - std::max(from, piece.local);
    if (cut >= piece.length) return false;
    if (piece.local + piece.length >= to) break;
    if (last + 1 >= paragraph.pieces.size()) return false;
  }
  const int count = to - from;
  for (size_t i = static_cast<size_t>(found); i <= last; ++i) {
    Piece& piece = paragraph.pieces[i];
    const int cutFrom = std::max(from, piece.local), cutTo = std::min(to, piece.local + piece.length);
    Text text = NodeText(piece.node);
    text.erase(static_cast<size_t>(cutFrom - piece.local), static_cast<size_t>(cutTo - cutFrom));
    SetNodeText(piece.node, text);
    piece.local = std::min(piece.local, from);
    piece.length -= cutTo - cutFrom;
  }
  for (size_t i = last + 1; i < paragraph.pieces.size(); ++i) paragraph.pieces[i].local -= count;
  // Pieces after the first start where the deletion began, plus what they kept before it.
  for (size_t i = static_cast<size_t>(found) + 1; i <= last; ++i)
    paragraph.pieces[i].local = paragraph.pieces[i - 1].local + paragraph.pieces[i - 1].length;
  paragraph.text.erase(static_cast<size_t>(from), static_cast<size_t>(count));
  paragraph.folded.erase(static_cast<size_t>(from), static_cast<size_t>(count));
  for (int& mark : paragraph.pageMarks)
    if (mark > from) mark = std::max(from, mark - count);
  Changed(index, -count);  // the signature may hold characters no longer there, which a search only skips
  return true;
}

bool Story::InsertIntoTextPiece(int index, int local, TextView text, const RunFormat& format) {
  StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
  if (local <= 0 || !IsPlainText(text)) return false;
  const int found = PieceIndex(paragraph, local - 1);
  Piece& before = paragraph.pieces[static_cast<size_t>(found)];
  const size_t count = text.size();
  if (before.kind != PieceKind::kText || static_cast<size_t>(before.length) + count > kLongTextPiece ||
      !SameProperties(before.run, format))
    return false;
  Text joined = NodeText(before.node);
  joined.insert(static_cast<size_t>(local - before.local), text);
  SetNodeText(before.node, joined);
  const int size = static_cast<int>(count);
  before.length += size;
  for (size_t i = static_cast<size_t>(found) + 1; i < paragraph.pieces.size(); ++i)
    paragraph.pieces[i].local += size;
  paragraph.text.insert(static_cast<size_t>(local), text);
  const Text folded = FoldedText(text);
  paragraph.folded.insert(static_cast<size_t>(local), folded);
  for (const char16_t ch : folded) paragraph.signature.Add(ch);
  for (int& mark : paragraph.pageMarks)
    if (mark >= local) mark += size;
  Changed(index, size);
  return true;
}

int Story::InsertAtPositions(std::vector<int> positions, TextView raw) {
  const Text text = NormalizeInsertedText(raw);
  if (text.empty() || text.find(kParagraphMark) != Text::npos || positions.empty()) return 0;
  std::sort(positions.begin(), positions.end());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  const int length = Length();
  const int size = static_cast<int>(text.size());
  // 1. Which paragraph each position belongs to (by the character before it), read before any change.
  struct Spot {
    int index, start, local;
  };
  std::vector<Spot> spots;
  for (const int position : positions) {
    if (position <= 0 || position >= length) continue;
    const int index = ParagraphIndexAt(position - 1);
    const int local = position - ParagraphStart(index);
    if (paragraphs_[static_cast<size_t>(index)].kind == ParagraphKind::kRowEnd) continue;
    if (local <= 0 || local > paragraphs_[static_cast<size_t>(index)].Length() - 1) continue;
    spots.push_back({index, position - local, local});
  }
  // 2. From the last back: an insertion changes nothing to its left, so each paragraph is read once.
  int inserted = 0;
  for (size_t i = spots.size(); i-- > 0;) {
    const Spot spot = spots[i];
    const StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(spot.index)];
    const Piece& before = paragraph.pieces[static_cast<size_t>(PieceIndex(paragraph, spot.local - 1))];
    if (before.kind == PieceKind::kText) {
      Text joined = NodeText(before.node);
      joined.insert(static_cast<size_t>(spot.local - before.local), text);
      SetNodeText(before.node, joined);
    } else {
      InsertInline(spot.index, spot.local, text, FormatAt(spot.start + spot.local - 1, false));
    }
    MoveAnchorsForInsert(spot.start + spot.local, size);
    inserted += size;
    if (i == 0 || spots[i - 1].index != spot.index) ReindexParagraph(spot.index);
  }
  if (inserted == 0) return 0;
  ++revision_;
  CheckLength(length + inserted);
  return inserted;
}

void Story::DeleteInline(int index, int from, int to) {
  DeleteInlinePieces(paragraphs_[static_cast<size_t>(index)], from, to);
}

void Story::Delete(int start, int end) {
  const int length = Length();
  start = std::clamp(start, 0, length - 1);
  end = std::clamp(end, 0, length - 1);  // the story's last mark stays
  if (start >= end) return;
  const int first = ParagraphIndexAt(start), last = ParagraphIndexAt(end - 1);
  const int firstStart = ParagraphStart(first);

  // 1. Inside the text of one paragraph: no structure changes.
  if (first == last && end <= firstStart + paragraphs_[static_cast<size_t>(first)].Length() - 1) {
    if (!DeleteInsideTextPiece(first, start - firstStart, end - firstStart)) {
      DeleteInline(first, start - firstStart, end - firstStart);
      ReindexParagraph(first);
    }
    ++revision_;
    MoveAnchorsForDelete({{start, end}});
    return;
  }

  // 2. Rows whose every position lies in the range go as a whole. A row nested in a cell of such a row
  //    goes with it: each paragraph belongs to the outermost wholly deleted row around it (rows are met
  //    inner first, so an outer row claims its nested rows' paragraphs after them).
  const Scope scope = ScopeFor(first, std::min(last + 1, ParagraphCount() - 1));
  struct WholeRow {
    int first = -1;  // the row's first paragraph
    int end = -1;    // the index of its end-of-row mark
  };
  std::vector<WholeRow> rowOf(static_cast<size_t>(last - first + 1));
  for (int index = first; index <= last; ++index) {
    if (paragraphs_[static_cast<size_t>(index)].kind != ParagraphKind::kRowEnd) continue;
    int rowFirst = index;
    const pugi::xml_node row = paragraphs_[static_cast<size_t>(index)].node;
    while (rowFirst > 0 && IsInside(paragraphs_[static_cast<size_t>(rowFirst) - 1].node, row)) --rowFirst;
    if (ParagraphStart(rowFirst) < start || ParagraphStart(index) + 1 > end) continue;
    for (int member = rowFirst; member <= index; ++member)
      rowOf[static_cast<size_t>(member - first)] = {rowFirst, index};
  }

  // 3. From the last paragraph back, so that the positions of those before stay as they were.
  const int lastIndex = ParagraphCount() - 1;
  if (first < last && last == lastIndex && end == length - 1 && start == firstStart &&
      paragraphs_[static_cast<size_t>(first)].kind == ParagraphKind::kParagraph && rowOf.front().first < 0 &&
      paragraphs_[static_cast<size_t>(first)].node.parent() == container_ &&
      paragraphs_[static_cast<size_t>(last)].node.parent() == container_)
    TakeParagraphProperties(paragraphs_[static_cast<size_t>(last)].node,
                            paragraphs_[static_cast<size_t>(first)].node);
  deletedBlocks_ = true;
  std::vector<std::pair<int, int>> removed;
  for (int index = last; index >= first; --index) {
    const StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
    const int at = ParagraphStart(index), size = paragraph.Length(), mark = size - 1;
    if (const WholeRow row = rowOf[static_cast<size_t>(index - first)]; row.first >= 0) {
      // Only the outermost row is removed; the rows inside it go with it.
      if (row.end == index) {
        removed.emplace_back(ParagraphStart(row.first), at + 1);
        RemoveRow(paragraph.node);
      }
      continue;
    }
    const int from = std::max(start, at) - at, to = std::min(end, at + size) - at;
    const bool markDeleted = to == size && paragraph.kind == ParagraphKind::kParagraph;
    if (markDeleted && from == 0) {
      removed.emplace_back(at, at + size);
      RemoveBlock(paragraph.node);
      continue;
    }
    if (from < std::min(to, mark)) {
      DeleteInline(index, from, std::min(to, mark));
      removed.emplace_back(at + from, at + std::min(to, mark));
    }
    if (!markDeleted) continue;
    if (const pugi::xml_node next = NextBlockSibling(paragraph.node); IsNamed(next, "w:p")) {
      JoinNextParagraph(paragraph.node, next);
      removed.emplace_back(at + mark, at + size);
    }
  }

  // 4. Re-read what changed and move the anchors.
  std::sort(removed.begin(), removed.end());
  std::vector<std::pair<int, int>> merged;
  int total = 0;
  for (const auto& interval : removed) {
    total += interval.second - interval.first;
    if (!merged.empty() && merged.back().second == interval.first)
      merged.back().second = interval.second;
    else
      merged.push_back(interval);
  }
  Reindex(scope);
  ++revision_;
  CheckLength(length - total);
  MoveAnchorsForDelete(merged);
}

void Story::InsertInline(int index, int local, TextView line, const RunFormat& format) {
  if (line.empty()) return;
  StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
  const bool plain = IsPlainText(line);
  if (local > 0) {
    const Piece& before = paragraph.pieces[static_cast<size_t>(PieceIndex(paragraph, local - 1))];
    if (plain && before.kind == PieceKind::kText && SameProperties(before.run, format)) {
      Text text = NodeText(before.node);
      text.insert(static_cast<size_t>(local - before.local), line);
      SetNodeText(before.node, text);
      return;
    }
    // A run of its own right after the character before local.
    pugi::xml_node last = before.node;
    if (before.kind == PieceKind::kText && local < before.local + before.length) {
      SplitTextElement(before.node, local - before.local);
    }
    if (HasContentAfter(last)) SplitParentBefore(last.next_sibling());
    FillRun(before.run.parent().insert_child_after("w:r", before.run), line, format);
    return;
  }
  const Piece& first = paragraph.pieces.front();
  if (first.kind == PieceKind::kMark) {
    AppendLine(paragraph.node, line, format);
  } else if (plain && first.kind == PieceKind::kText && SameProperties(first.run, format)) {
    SetNodeText(first.node, Text(line) + NodeText(first.node));
  } else {
    pugi::xml_node run = first.run;
    if (HasContentBefore(first.node)) run = SplitParentBefore(first.node);
    FillRun(run.parent().insert_child_before("w:r", run), line, format);
  }
}

pugi::xml_node Story::SplitParagraphAt(int index, int local) {
  const StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
  if (local >= paragraph.Length() - 1) return {};
  if (local <= 0) return FirstInlineChild(paragraph.node);
  const Piece& piece = paragraph.pieces[static_cast<size_t>(PieceIndex(paragraph, local))];
  pugi::xml_node node = piece.node;
  if (piece.kind == PieceKind::kText && local > piece.local)
    node = SplitTextElement(piece.node, local - piece.local);
  return LiftTo(node, paragraph.node);
}

int Story::InsertionPoint(int& position) {
  position = std::clamp(position, 0, Length() - 1);
  int index = ParagraphIndexAt(position);
  if (paragraphs_[static_cast<size_t>(index)].kind == ParagraphKind::kRowEnd) {
    // Text at an end-of-row mark goes to the end of the row's last cell.
    if (index == 0) return -1;
    --index;
    position = ParagraphStart(index) + paragraphs_[static_cast<size_t>(index)].Length() - 1;
  }
  return index;
}

pugi::xml_node Story::SplitOffHead(int index, int local) {
  pugi::xml_node paragraph = paragraphs_[static_cast<size_t>(index)].node;
  const pugi::xml_node split = SplitParagraphAt(index, local);
  pugi::xml_node head = NewParagraphBefore(paragraph);
  for (pugi::xml_node child = FirstInlineChild(paragraph); child && child != split;) {
    const pugi::xml_node next = child.next_sibling();
    head.append_move(child);
    child = next;
  }
  return head;
}

int Story::InsertText(int position, TextView raw, const RunFormat& format, int* insertedAt) {
  const Text text = NormalizeInsertedText(raw);
  if (text.empty()) return 0;
  const int length = Length();
  const int index = InsertionPoint(position);
  if (index < 0) return 0;
  if (insertedAt) *insertedAt = position;
  const int local = position - ParagraphStart(index);
  const std::vector<Text> lines = SplitLines(text);
  if (lines.size() == 1) {
    if (!InsertIntoTextPiece(index, local, text, format)) {
      InsertInline(index, local, text, format);
      ReindexParagraph(index);
    }
  } else {
    const Scope scope = ScopeFor(index, index);
    const pugi::xml_node paragraph = paragraphs_[static_cast<size_t>(index)].node;
    AppendLine(SplitOffHead(index, local), lines.front(), format);
    for (size_t i = 1; i + 1 < lines.size(); ++i) AppendLine(NewParagraphBefore(paragraph), lines[i], format);
    PrependLine(paragraph, lines.back(), format);
    Reindex(scope);
  }
  ++revision_;
  const int inserted = static_cast<int>(text.size());
  CheckLength(length + inserted);
  MoveAnchorsForInsert(position, inserted);
  return inserted;
}

int Story::InsertBlocks(int position, pugi::xml_node firstInline, const std::vector<pugi::xml_node>& blocks,
                        pugi::xml_node lastInline, bool inlineOnly, int* insertedAt) {
  const int length = Length();
  const int index = InsertionPoint(position);
  if (index < 0) return 0;
  if (insertedAt) *insertedAt = position;
  const int local = position - ParagraphStart(index);
  const Scope scope = ScopeFor(index, index);
  pugi::xml_node paragraph = paragraphs_[static_cast<size_t>(index)].node;
  auto copyInline = [](pugi::xml_node from, pugi::xml_node into, pugi::xml_node before) {
    for (pugi::xml_node child = FirstInlineChild(from); child; child = child.next_sibling())
      before ? into.insert_copy_before(child, before) : into.append_copy(child);
  };
  if (inlineOnly) {
    copyInline(firstInline, paragraph, SplitParagraphAt(index, local));
  } else {
    if (local > 0 || firstInline) {
      pugi::xml_node head = SplitOffHead(index, local);
      if (local == 0 && firstInline) {
        // Pasted at a paragraph's start, a whole paragraph keeps its own properties.
        head.remove_child("w:pPr");
        if (pugi::xml_node properties = firstInline.child("w:pPr")) head.prepend_copy(properties);
      }
      if (firstInline) copyInline(firstInline, head, {});
    }
    for (const pugi::xml_node block : blocks) paragraph.parent().insert_copy_before(block, paragraph);
    if (lastInline) copyInline(lastInline, paragraph, FirstInlineChild(paragraph));
  }
  Reindex(scope);
  ++revision_;
  const int inserted = Length() - length;
  MoveAnchorsForInsert(position, inserted);
  return inserted;
}

void Story::SplitRunsAt(int index, int local) {
  const StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
  if (local <= 0 || local >= paragraph.Length() - 1) return;
  const Piece& at = paragraph.pieces[static_cast<size_t>(PieceIndex(paragraph, local))];
  const Piece& before = paragraph.pieces[static_cast<size_t>(PieceIndex(paragraph, local - 1))];
  if (at.kind == PieceKind::kMark || before.run != at.run) return;
  pugi::xml_node node = at.node;
  if (at.kind == PieceKind::kText && local > at.local) node = SplitTextElement(at.node, local - at.local);
  SplitParentBefore(node);
  ReindexParagraph(index);
}

void Story::ChangeRunProperties(int start, int end, const std::function<void(pugi::xml_node)>& change) {
  start = std::max(start, 0);
  end = std::min(end, Length());
  bool changed = false;
  for (int index = ParagraphIndexAt(start); index < ParagraphCount() && ParagraphStart(index) < end;
       ++index) {
    const int at = ParagraphStart(index);
    const int mark = paragraphs_[static_cast<size_t>(index)].Length() - 1;
    const int from = std::max(start, at) - at, to = std::min(end - at, mark);
    if (from >= to) continue;
    SplitRunsAt(index, to);
    SplitRunsAt(index, from);
    std::vector<pugi::xml_node> runs;
    for (const Piece& piece : paragraphs_[static_cast<size_t>(index)].pieces) {
      if (piece.kind == PieceKind::kMark || piece.local + piece.length <= from || piece.local >= to) continue;
      if (runs.empty() || runs.back() != piece.run) runs.push_back(piece.run);
    }
    for (pugi::xml_node run : runs) change(EnsureRunProperties(run));
    JoinRuns(paragraphs_[static_cast<size_t>(index)].node);
    ReindexParagraph(index);
    changed = true;
  }
  if (changed) ++revision_;
}

void Story::ForEachRun(int start, int end,
                       const std::function<void(pugi::xml_node run, pugi::xml_node paragraph)>& visit) {
  start = std::max(start, 0);
  end = std::min(end, Length());
  for (int index = ParagraphIndexAt(start); index < ParagraphCount() && ParagraphStart(index) < end;
       ++index) {
    const int at = ParagraphStart(index);
    const StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
    pugi::xml_node previous;
    for (const Piece& piece : paragraph.pieces) {
      if (piece.kind == PieceKind::kMark || piece.run == previous) continue;
      if (at + piece.local + piece.length <= start || at + piece.local >= end) continue;
      visit(piece.run, paragraph.node);
      previous = piece.run;
    }
  }
}

RunFormat Story::FormatAt(int position, bool preferPreceding) {
  RunFormat format;
  format.holder = std::make_shared<pugi::xml_document>();
  position = std::clamp(position, 0, Length() - 1);
  const int index = ParagraphIndexAt(position);
  const StoryParagraph& paragraph = paragraphs_[static_cast<size_t>(index)];
  const int local = position - ParagraphStart(index);
  pugi::xml_node run;
  if (preferPreceding && local > 0)
    run = paragraph.pieces[static_cast<size_t>(PieceIndex(paragraph, local - 1))].run;
  if (!run) {
    const Piece& at = paragraph.pieces[static_cast<size_t>(PieceIndex(paragraph, local))];
    if (at.kind != PieceKind::kMark)
      run = at.run;
    else if (local > 0)
      run = paragraph.pieces[static_cast<size_t>(PieceIndex(paragraph, local - 1))].run;
  }
  if (run) {
    format.sourceRun = run;
    if (pugi::xml_node properties = run.child("w:rPr"))
      format.properties = format.holder->append_copy(properties);
  } else if (paragraph.kind != ParagraphKind::kRowEnd) {
    if (pugi::xml_node markProperties = paragraph.node.child("w:pPr").child("w:rPr")) {
      pugi::xml_node copy = format.holder->append_copy(markProperties);
      for (const char* revision : {"w:ins", "w:del", "w:moveFrom", "w:moveTo", "w:rPrChange"})
        copy.remove_child(revision);
      format.properties = copy;
    }
  }
  return format;
}

}  // namespace scrivano::word
