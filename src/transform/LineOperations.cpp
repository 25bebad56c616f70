#include "transform/LineOperations.h"

#include <algorithm>

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

namespace {

// Steps 2 to 4 of LinkAdjacentLines on the first section, over itself.
void LinkSectionLines(Text& section) {
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
  // Parameter 6 as it stands when the joining begins.
  const auto parameters = CurrentParameters();
  const Text& westernChars = parameters->Value(Param::kWesternChars);
  const auto isWestern = [&westernChars](char16_t ch) {
    return ch < 127 || (!westernChars.empty() && westernChars.find(ch) != Text::npos);
  };
  int pieceStart = 0;
  for (int i = Find(t, u'\r', 2); i >= 0 && i <= length - 4; i = Find(t, u'\r', i + 1)) {
    const char16_t prev = t[static_cast<size_t>(i) - 1];
    const char16_t next = t[static_cast<size_t>(i) + 2];
    if (prev != u'\n' && next != u'\r') {
      moveDown(static_cast<size_t>(pieceStart), static_cast<size_t>(i - pieceStart));
      if (isWestern(prev) && isWestern(next)) units[written++] = u' ';
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
}

}  // namespace

Text LinkAdjacentLines(TextView text) {
  // 1. Only the first section: the text before the first "=====" line.
  Text section;
  NextSection(text, section);
  LinkSectionLines(section);
  return section;
}

void LinkAdjacentLinesInPlace(Text& text) {
  // Without a "=====" the first section is the whole text.
  if (Find(text, kSeparatorMark) >= 0) {
    text = LinkAdjacentLines(text);
    return;
  }
  LinkSectionLines(text);
}

namespace {

// Rewrites the text line by line over itself. Each line (up to the next "\r\n", the last one ending
// with the text; a text that ends with "\r\n" has no empty last line) is trimmed and handed to
// keep(line, out), which appends what the line becomes. What a line becomes may be up to two units
// longer than the line with its line break, never more over the whole text: the writing starts two
// units before the reading, so it never overtakes what is still to be read.
template <typename Keep, typename Finish>
void RewriteLinesInPlace(Text& text, Keep keep, Finish finish) {
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
  finish(out);
  text.resize(written);
}

template <typename Keep>
void RewriteLinesInPlace(Text& text, Keep keep) {
  RewriteLinesInPlace(text, keep, [](const auto&) {});
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
  // 1. The text trimmed first changes no line but the first and the last, which are trimmed anyway; so the
  //    lines are taken as they stand.
  // 2, 3. A run's last line is written when the next line's language differs, or at the end. It still
  //    stands where it was read: what was written before it came from lines before it, each with the line
  //    break after it, and the lead pays for the first line's "\r\n".
  TextView runLast;
  bool runEnglish = false;
  bool inRun = false;
  RewriteLinesInPlace(
      text,
      [&](TextView line, const auto& out) {
        if (line.empty()) return;
        const bool english = IsEnglishText(line, u"");
        if (inRun && english != runEnglish) {
          out(kLineBreak);
          out(runLast);
        }
        runLast = line;
        runEnglish = english;
        inRun = true;
      },
      [&](const auto& out) {
        if (!inRun) return;
        out(kLineBreak);
        out(runLast);
      });
}

void SplitLines(Text& text) {
  // The pieces are written over the text itself, each trimmed and followed by "\r\n\r\n". A piece that
  // would reach the unread text moves that text up by at least a thirty-second of the text, so such moves
  // stay few however many pieces there are.
  constexpr TextView kParagraphBreak = u"\r\n\r\n";
  size_t length = text.size();
  size_t written = 0;
  const auto trimmedBounds = [&text](size_t& from, size_t& to) {
    while (from < to && IsWhiteSpace(text[from])) ++from;
    while (to > from && IsWhiteSpace(text[to - 1])) --to;
  };
  // Writes the piece [from, to) and makes sure it ends before unread; returns how far unread moved.
  const auto emit = [&](size_t from, size_t to, size_t unread) {
    trimmedBounds(from, to);
    const size_t size = to - from + kParagraphBreak.size();
    size_t moved = 0;
    if (written + size > unread) {
      // Spare capacity first, so that the text is not moved to a larger buffer when it need not be.
      const size_t spare = text.capacity() - length;
      moved = std::max(written + size - unread, std::min(length / 32 + 16, spare));
      text.resize(length + moved);
      std::char_traits<char16_t>::move(text.data() + unread + moved, text.data() + unread, length - unread);
      length += moved;
    }
    std::char_traits<char16_t>::move(text.data() + written, text.data() + from, to - from);
    written += to - from;
    std::char_traits<char16_t>::copy(text.data() + written, kParagraphBreak.data(), kParagraphBreak.size());
    written += kParagraphBreak.size();
    return moved;
  };
  size_t pieceStart = 0;
  size_t i = 0;
  while (i < length) {
    if (!IsAsciiDigit(text[i])) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < length && IsAsciiDigit(text[j])) ++j;
    const bool fullStop = j < length && text[j] == u'.';
    // Just past the end counts as a digit, so a final "." never splits.
    const bool textAfter = j + 1 < length && text[j + 1] != u' ' && !IsAsciiDigit(text[j + 1]);
    if (fullStop && textAfter) {
      const size_t moved = emit(pieceStart, i, i);
      i += moved;
      j += moved;
      pieceStart = i;
    }
    i = fullStop ? j + 2 : j + 1;
  }
  // The last piece: nothing unread after it but its own units, which move down or stay.
  size_t from = pieceStart, to = length;
  trimmedBounds(from, to);
  std::char_traits<char16_t>::move(text.data() + written, text.data() + from, to - from);
  text.resize(written + to - from);
  text += kParagraphBreak;
}

void MakeLowercase(Text& text) {
  MakeLower(text);
}

void MakeUppercase(Text& text) {
  MakeUpper(text);
}

}  // namespace scrivano
