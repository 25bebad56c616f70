// Spacing and punctuation by language. A character is Western when IsWesternChar says so (below U+007F or
// listed in parameter 6, read at every character); every other character counts as Chinese here.
#pragma once

#include "text/Text.h"

namespace scrivano {

// White-space clean-up followed by the space rule: trims the ends (only U+0020 with spacesOnly, else all
// white space), collapses runs of spaces, takes spaces off line starts and ends, keeps at most two empty
// lines in a row, takes spaces away from tabs, and keeps a space only between two Western characters.
Text& NormalizeSpacing(Text& text, bool spacesOnly);

// Removes every U+0020 that does not stand between two Western characters; the first and the last
// character are never examined. Spaces go through the marker U+FFFF, so a U+FFFF already in the text
// goes as well, and a space after a removed one sees the marker as its left neighbour.
Text& ApplySpaceRule(Text& text);

// No space touches the separator afterwards.
void TightenAroundSeparator(Text& text, char16_t separator);

// Rewrites a segment's punctuation to the conventions of its language (half-width with a following space
// for Western, full-width for Chinese) and then cleans its spacing.
Text& NormalizeSegmentPunctuation(Text& segment, bool isWestern);

// "<<<", ">>>", "<<" and ">>" become a space; the full-width square brackets go.
void RemoveAngleMarks(Text& segment);

}  // namespace scrivano
