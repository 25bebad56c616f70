#include "text/Tokenizers.h"

#include <algorithm>

namespace scrivano {
namespace {

// token = Mid(text, first, count), reusing the token's buffer: no allocation a line.
void AssignMid(Text& token, TextView text, int first, int count) {
  first = std::max(first, 0);
  count = std::max(count, 0);
  if (first >= Length(text)) {
    token.clear();
    return;
  }
  token.assign(text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

}  // namespace

int NextToken(TextView text, int& pos, Text& token, TextView delimiter) {
  const int length = Length(text);
  // An empty delimiter would never move the position on; treat it as not found.
  const int at = delimiter.empty() ? -1 : Find(text, delimiter, pos);
  if (at < 0) {
    AssignMid(token, text, pos, length - pos);
    pos = 0;
    return pos;
  }
  AssignMid(token, text, pos, at - pos);
  const int next = at + Length(delimiter);
  pos = next >= length ? 0 : next;
  return pos;
}

int NextTokenByChar(TextView text, int& pos, Text& token, char16_t ch) {
  return NextToken(text, pos, token, TextView(&ch, 1));
}

bool NextTokenFound(TextView text, Text& token, int& pos, TextView delimiter) {
  const int length = Length(text);
  const int at = delimiter.empty() ? -1 : Find(text, delimiter, pos);
  if (at < 0) {
    AssignMid(token, text, pos, length - pos);
    pos = length;
    return false;
  }
  AssignMid(token, text, pos, at - pos);
  pos = at + Length(delimiter);
  return true;
}

bool NextNonBlankLine(TextView text, Text& line, int& pos) {
  return NextNonBlankLineSkipping(text, pos, line, false);
}

bool NextNonBlankLineSkipping(TextView text, int& pos, Text& line, bool skipStars) {
  do {
    NextToken(text, pos, line, kLineBreak);
    Trim(line);
    if (!line.empty() && !(skipStars && line.starts_with(u"*****"))) return true;
  } while (pos != 0);
  return false;
}

bool NextNonBlankLineAt(int& pos, TextView text, Text& line) {
  const int length = Length(text);
  if (pos == length) return false;
  do {
    NextTokenFound(text, line, pos, kLineBreak);
    Trim(line);
    if (!line.empty()) return true;
  } while (pos != length);
  return false;
}

void RemoveSeparatorLines(Text& section) {
  const int markLength = Length(kSeparatorMark);
  int from = 0;
  for (int at = Find(section, kSeparatorMark, from); at >= 0; at = Find(section, kSeparatorMark, from)) {
    const int lineEnd = Find(section, kLineBreak, at);
    const size_t removeTo = lineEnd < 0 ? section.size() : static_cast<size_t>(lineEnd) + 2;
    section.erase(static_cast<size_t>(at), removeTo - static_cast<size_t>(at));
    // The text around the cut may join into a new "=====": look again a little before it.
    from = std::max(0, at - (markLength - 1));
  }
}

}  // namespace scrivano
