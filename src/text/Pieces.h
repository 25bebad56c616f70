// Small routines on pieces of text: space trimming, enclosing, numbers.
#pragma once

#include "text/Text.h"

namespace scrivano {

// Removes leading and trailing U+0020 only (tabs and other white space stay).
void TrimSpaces(Text& text);
// No line begins or ends with U+0020 afterwards.
void TrimLineSpaces(Text& text);
// text becomes delimiter + text + delimiter.
void EncloseWith(Text& text, TextView delimiter);
// delimiter + text + delimiter as a new text.
Text Enclosed(TextView text, TextView delimiter);
// left(k) + insertion + mid from(k), k the index of the last ch (-1 when absent: insertion goes in front).
Text InsertBeforeLast(TextView text, char16_t ch, TextView insertion);

// The C runtime's wide decimal conversion: leading white space, optional sign, ASCII digits up to the
// first other character, 0 when there is no number, clamped to the 32-bit range.
int WideToInt(TextView text);
// WideToInt of the trimmed text.
int ToInt(TextView text);

}  // namespace scrivano
