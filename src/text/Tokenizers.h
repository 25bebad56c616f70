// Tokenizers, line iterators and the "=====" section splitter. All take the text by reference and leave
// it unchanged; the position variable belongs to the caller.
#pragma once

#include "text/Text.h"

namespace scrivano {

inline constexpr char16_t kLineBreak[] = u"\r\n";
inline constexpr char16_t kSeparatorMark[] = u"=====";

// First protocol. token = text from pos up to the next delimiter (or the end). The new position, stored in
// pos and returned, is just past that delimiter, or 0 when that is at/after the end or no delimiter was
// found. Loop: start at 0, call at least once, call again while pos != 0. A pos outside 0..length counts
// as a search that found nothing.
int NextToken(TextView text, int& pos, Text& token, TextView delimiter);
int NextTokenByChar(TextView text, int& pos, Text& token, char16_t ch);

// Second protocol. token = text from pos up to the next delimiter or the end; when a delimiter was found
// pos moves just past it and the result is true, otherwise pos becomes the length and the result is
// false. Loop while pos != length.
bool NextTokenFound(TextView text, Text& token, int& pos, TextView delimiter);

// Line iterators; each returned line is trimmed. NextNonBlankLine reports the end as pos == 0: a caller
// that gets true with pos == 0 has the last line and must not call again.
bool NextNonBlankLine(TextView text, Text& line, int& pos);
// As NextNonBlankLine; with skipStars a (trimmed) line that begins with "*****" is passed over too.
bool NextNonBlankLineSkipping(TextView text, int& pos, Text& line, bool skipStars);
// The same on the second protocol: false at once when pos == length.
bool NextNonBlankLineAt(int& pos, TextView text, Text& line);

// While the text contains "=====", removes it and everything up to and including the next "\r\n" (or to
// the end). Text before the "=====" on the same line stays.
void RemoveSeparatorLines(Text& section);

}  // namespace scrivano
