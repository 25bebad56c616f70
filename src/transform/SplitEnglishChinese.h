// "14. Split English and Chinese": a bilingual text, broken over lines in any way, cut wherever the
// language changes for long enough and laid out as source/target pairs.
#pragma once

#include "text/Text.h"

namespace scrivano {

// Rewrites text as pairs: on separate lines with an empty line between pairs, or, with sameLine, one
// pair per line with a tab between source and target. Asks "Delete number-only lines ?" (when parameter 5
// holds a list) and "Replace RETURN with SPACE ? (if No, with EMPTY STRING)". Parameters 5 (lines dropped)
// and 8 (run lengths N/M) are read once per call, 6 and 7 at every character.
void SplitEnglishChinese(Text& text, bool sameLine);

// Drops the lines of text that equal an item of the tab-separated list after the ":" of listSpec (and,
// when the user says so, empty and digit-only lines); every kept line is preceded by "\r\n". With no list
// it shows "Wrong parameter format!" and leaves text alone.
void DropListedLines(Text& text, TextView listSpec);

// When text[pos] opens a bracket group ( （ 〔, the index just after its closing bracket (any of ) ） 〕);
// otherwise pos. A group not closed before end shows "Missing bracket !" and returns pos.
int SkipBracketGroup(TextView text, int pos, int end);

// Moves split back to the start of the Western segment's last word when that word belongs with the
// following segment: the segment's first word again, a number before "小时", a single letter sharing the
// first word's initial, or the initials of the segment's words.
void KeepTrailingTerm(TextView text, int segStart, int& split);

}  // namespace scrivano
