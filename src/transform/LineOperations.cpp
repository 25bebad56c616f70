#include "transform/LineOperations.h"

#include "settings/ParameterStore.h"
#include "text/Lists.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
#include "toolkit/CharClasses.h"
#include "toolkit/Sections.h"

namespace scrivano {
namespace {

bool IsAsciiDigit(char16_t ch) {
  return ch >= u'0' && ch <= u'9';
}

}  // namespace

Text LinkAdjacentLines(TextView text) {
  // 1. Only the first section: the text before the first "=====" line.
  Text section;
  NextSection(text, section);
  // 2. No line begins or ends with a space.
  TrimLineSpaces(section);
  // 3. Join the breaks that have a non-empty line on both sides. A carriage return at index 0 or 1, or
  //    within the last three characters, is never examined. The joined text is written over the
  //    section: the writing never passes the piece still to be copied, and every unit examined lies
  //    beyond it, as it was.
  char16_t* const units = section.data();
  const TextView t = section;
  const int length = Length(t);
  size_t written = 0;
  const auto moveDown = [&](size_t from, size_t count) {
    std::char_traits<char16_t>::move(units + written, units + from, count);
    written += count;
  };
  int pieceStart = 0;
  for (int i = 2; i <= length - 4; ++i) {
    if (t[static_cast<size_t>(i)] != u'\r') continue;
    const char16_t prev = t[static_cast<size_t>(i) - 1];
    const char16_t next = t[static_cast<size_t>(i) + 2];
    if (prev != u'\n' && next != u'\r') {
      moveDown(static_cast<size_t>(pieceStart), static_cast<size_t>(i - pieceStart));
      if (IsWesternChar(prev) && IsWesternChar(next)) units[written++] = u' ';
      // The join drops the line break only: a carriage return without its line feed keeps the character
      // that follows it.
      pieceStart = t[static_cast<size_t>(i) + 1] == u'\n' ? i + 2 : i + 1;
    }
    ++i;  // the character after a carriage return is stepped over, joined or not
  }
  // 4. The rest, and a line break whatever the text ended with.
  moveDown(static_cast<size_t>(pieceStart), t.size() - static_cast<size_t>(pieceStart));
  section.resize(written);
  section += kLineBreak;
  return section;
}

namespace {

// Rewrites the text line by line over itself. Each line (up to the next "\r\n", the last one ending
// with the text; a text that ends with "\r\n" has no empty last line) is trimmed and handed to
// keep(line, out), which appends what the line becomes. What a line becomes may be up to two units
// longer than the line with its line break, never more over the whole text: the writing starts two
// units before the reading, so it never overtakes what is still to be read.
template <typename Keep>
void RewriteLinesInPlace(Text& text, Keep keep) {
  constexpr size_t kLead = 2;
  text.insert(0, kLead, u' ');
  char16_t* const units = text.data();
  const TextView all = text;
  const size_t length = all.size();
  size_t written = 0;
  const auto out = [&](TextView piece) {
    // piece may lie in the text ahead of the writing: moved, not copied.
    std::char_traits<char16_t>::move(units + written, piece.data(), piece.size());
    written += piece.size();
  };
  size_t from = kLead;
  while (true) {
    const size_t lineBreak = all.find(kLineBreak, from);
    const size_t end = lineBreak == TextView::npos ? length : lineBreak;
    size_t first = from, last = end;
    while (first < last && IsWhiteSpace(all[first])) ++first;
    while (last > first && IsWhiteSpace(all[last - 1])) --last;
    keep(all.substr(first, last - first), out);
    if (lineBreak == TextView::npos || lineBreak + 2 >= length) break;
    from = lineBreak + 2;
  }
  text.resize(written);
}

}  // namespace

void RemoveRedundantEmptyLines(Text& text) {
  bool emptyBefore = false;
  RewriteLinesInPlace(text, [&](TextView line, const auto& out) {
    if (line.empty()) {
      emptyBefore = true;
      return;
    }
    out(emptyBefore ? u"\r\n\r\n" : u"\r\n");
    out(line);
    emptyBefore = false;
  });
}

void DeleteLinesWithSubstring(Text& text) {
  const Text substrings = ParameterText(Param::kDeletedLineSubstrings);
  RewriteLinesInPlace(text, [&](TextView line, const auto& out) {
    if (line.empty() || FindFirstListItem(line, substrings) != 0) return;
    out(kLineBreak);
    out(line);
  });
}

void ExtractEndingLines(Text& text) {
  const Text trimmed = Trimmed(text);
  text.clear();
  if (trimmed.empty()) return;
  // A run's last line is written when the next line's language differs, or at the end.
  Text line;
  Text runLast;
  bool runEnglish = false;
  bool inRun = false;
  int pos = 0;
  do {
    if (!NextNonBlankLine(trimmed, line, pos)) break;
    const bool english = IsEnglishText(line, u"");
    if (inRun && english != runEnglish) text.append(kLineBreak).append(runLast);
    runLast.swap(line);
    runEnglish = english;
    inRun = true;
  } while (pos != 0);
  if (inRun) text.append(kLineBreak).append(runLast);
}

void SplitLines(Text& text) {
  const TextView t = text;
  const size_t length = t.size();
  Text result;
  result.reserve(length + length / 8 + 4);
  size_t pieceStart = 0;
  size_t i = 0;
  while (i < length) {
    if (!IsAsciiDigit(t[i])) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < length && IsAsciiDigit(t[j])) ++j;
    const bool fullStop = j < length && t[j] == u'.';
    // Just past the end counts as a digit, so a final "." never splits.
    const bool textAfter = j + 1 < length && t[j + 1] != u' ' && !IsAsciiDigit(t[j + 1]);
    if (fullStop && textAfter) {
      result.append(Trimmed(t.substr(pieceStart, i - pieceStart))).append(u"\r\n\r\n");
      pieceStart = i;
    }
    i = fullStop ? j + 2 : j + 1;
  }
  result.append(Trimmed(t.substr(pieceStart))).append(u"\r\n\r\n");
  text = std::move(result);
}

void MakeLowercase(Text& text) {
  MakeLower(text);
}

void MakeUppercase(Text& text) {
  MakeUpper(text);
}

}  // namespace scrivano
