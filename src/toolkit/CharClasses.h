// Character classes and the English-text test. The Western and neutral sets come from parameters 6 and 7,
// read at every call, so a change of parameters takes effect on the next character tested.
#pragma once

#include "text/Text.h"

namespace scrivano {

// Code below 127, or listed in parameter 6.
bool IsWesternChar(char16_t ch);
// True when the count characters at pos are a whole item of the tab list in parameter 7; then pos
// advances by one (whatever count is).
bool IsNeutralChar(TextView text, int& pos, int count);
// Membership in one of the four fixed number sets (kind 0 to 3); U+0000 belongs to all four.
bool IsNumberChar(char16_t ch, int kind);
// Every character in kind 0; true for the empty text.
bool IsNumberText(TextView text);
// The piece before the first delimiter (the whole text for an empty delimiter) is English when
// floor(4 * Western / 3) >= the number of non-neutral characters.
bool IsEnglishText(TextView text, TextView delimiter);

}  // namespace scrivano
