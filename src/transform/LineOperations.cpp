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
  const Text& trimmed = section;
  // 3. Join the breaks that have a non-empty line on both sides. A carriage return at index 0 or 1, or
  //    within the last three characters, is never examined.
  const TextView t = trimmed;
  const int length = Length(t);
  Text result;
  result.reserve(t.size() + 2);
  int pieceStart = 0;
  for (int i = 2; i <= length - 4; ++i) {
    if (t[static_cast<size_t>(i)] != u'\r') continue;
    const char16_t prev = t[static_cast<size_t>(i) - 1];
    const char16_t next = t[static_cast<size_t>(i) + 2];
    if (prev != u'\n' && next != u'\r') {
      result.append(t.substr(static_cast<size_t>(pieceStart), static_cast<size_t>(i - pieceStart)));
      if (IsWesternChar(prev) && IsWesternChar(next)) result += u' ';
      // The join drops the line break only: a carriage return without its line feed keeps the character
      // that follows it.
      pieceStart = t[static_cast<size_t>(i) + 1] == u'\n' ? i + 2 : i + 1;
    }
    ++i;  // the character after a carriage return is stepped over, joined or not
  }
  // 4. The rest, and a line break whatever the text ended with.
  result.append(t.substr(static_cast<size_t>(pieceStart)));
  result += kLineBreak;
  return result;
}

void RemoveRedundantEmptyLines(Text& text) {
  Text result;
  result.reserve(text.size() + 2);
  TextView separator = u"\r\n";
  Text line;
  int pos = 0;
  do {
    NextToken(text, pos, line, kLineBreak);
    Trim(line);
    if (line.empty()) {
      separator = u"\r\n\r\n";
    } else {
      result.append(separator).append(line);
      separator = u"\r\n";
    }
  } while (pos != 0);
  text = std::move(result);
}

void DeleteLinesWithSubstring(Text& text) {
  const Text substrings = ParameterText(Param::kDeletedLineSubstrings);
  Text result;
  result.reserve(text.size());
  Text line;
  int pos = 0;
  do {
    if (!NextNonBlankLine(text, line, pos)) break;
    if (FindFirstListItem(line, substrings) == 0) result.append(kLineBreak).append(line);
  } while (pos != 0);
  text = std::move(result);
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
