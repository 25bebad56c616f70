#include "text/Pieces.h"

#include <cstdint>
#include <limits>



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
  // right before or right after a line break; one walk does the same without a pass over the whole text
  // for every space of the longest run.
  const TextView lineBreak = u"\r\n";
  Text result;
  result.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != u' ') {
      result += text[i++];
      continue;
    }
    size_t runEnd = i;
    while (runEnd < text.size() && text[runEnd] == u' ') ++runEnd;
    const bool beforeBreak = TextView(text).substr(runEnd, 2) == lineBreak;
    const bool afterBreak = i >= 2 && TextView(text).substr(i - 2, 2) == lineBreak;
    if (!beforeBreak && !afterBreak) result.append(text, i, runEnd - i);
    i = runEnd;
  }
  TrimSpaces(result);
  text.swap(result);
}

void EncloseWith(Text& text, TextView delimiter) {
  text.insert(0, delimiter);
  text.append(delimiter);
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

int ToInt(TextView text) { return WideToInt(Trimmed(text)); }

}  // namespace scrivano
