#include "text/Pieces.h"

#include <cstdint>
#include <limits>
#include <string>

namespace scrivano {

void TrimSpaces(Text& text) {
  const size_t last = text.find_last_not_of(u' ');
  if (last == Text::npos) {
    text.clear();
    return;
  }
  text.resize(last + 1);
  text.erase(0, text.find_first_not_of(u' '));
}

void TrimLineSpaces(Text& text) {
  // Replacing " \r\n" and then "\r\n " until none is left removes exactly the runs of spaces that stand
  // right before or right after a line break; one walk from line break to line break over the text itself
  // does the same. What is kept moves down; the spaces before a break are counted before anything is
  // moved over them.
  const TextView lineBreak = u"\r\n";
  char16_t* const units = text.data();
  const TextView all = text;
  const size_t length = all.size();
  size_t written = 0;
  size_t i = 0;  // the first unit not yet kept or dropped
  const auto keep = [&](size_t from, size_t to) {
    std::char_traits<char16_t>::move(units + written, units + from, to - from);
    written += to - from;
  };
  for (int found = Find(all, lineBreak, 0); found >= 0; found = Find(all, lineBreak, static_cast<int>(i))) {
    const auto at = static_cast<size_t>(found);
    size_t runStart = at;
    while (runStart > i && all[runStart - 1] == u' ') --runStart;
    keep(i, runStart);
    keep(at, at + 2);
    i = at + 2;
    while (i < length && all[i] == u' ') ++i;
  }
  keep(i, length);
  text.resize(written);
  TrimSpaces(text);
}

void EncloseWith(Text& text, TextView delimiter) {
  text.insert(0, delimiter);
  text.append(delimiter);
}

Text Enclosed(TextView text, TextView delimiter) {
  // Appended piece by piece: delimiter + a temporary + delimiter led GCC 12 at -O2 to a spurious
  // overlapping-copy warning.
  Text enclosed;
  enclosed.reserve(text.size() + 2 * delimiter.size());
  enclosed.append(delimiter).append(text).append(delimiter);
  return enclosed;
}

Text InsertBeforeLast(TextView text, char16_t ch, TextView insertion) {
  const int k = FindLast(text, ch);
  Text result = Left(text, k);
  result.append(insertion);
  result.append(MidFrom(text, k));
  return result;
}

int WideToInt(TextView text) {
  size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > kMax + 1) value = kMax + 1;  // saturate; the sign decides below
  }
  if (negative) return static_cast<int>(-value < kMin ? kMin : -value);
  return static_cast<int>(value > kMax ? kMax : value);
}

int ToInt(TextView text) {
  return WideToInt(Trimmed(text));
}

}  // namespace scrivano
