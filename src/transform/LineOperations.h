// The line operations of the Function List: they rewrite the whole working text line by line, ask
// nothing, and never fail. Several emit each output line preceded by "\r\n", so that their result begins
// with an empty line; each function says what its result begins and ends with.
#pragma once

#include "text/Text.h"

namespace scrivano {

// "08. Link adjacent lines": keeps only the text before the first "=====" line, trims the spaces at the
// line ends, and joins the lines of each paragraph: a line break between two non-empty lines disappears,
// replaced by one space when the characters on both sides are Western. The result ends with "\r\n".
Text LinkAdjacentLines(TextView text);
// The same over the text itself, without a second copy of it.
void LinkAdjacentLinesInPlace(Text& text);

// "12. Remove redundant empty lines": every line trimmed, each run of blank lines between two non-empty
// lines becomes one empty line, blank lines at the end vanish. Begins with "\r\n" (or "\r\n\r\n" after
// leading blank lines), ends without a line break.
void RemoveRedundantEmptyLines(Text& text);

// "04. Delete lines with specified substring": keeps the trimmed non-blank lines that hold none of the
// tab-separated substrings of parameter 9 (case-sensitive), each preceded by "\r\n".
void DeleteLinesWithSubstring(Text& text);

// "05. Extract ending lines": the last line of every run of non-blank lines in the same language
// (English or not), each preceded by "\r\n". Blank lines do not end a run.
void ExtractEndingLines(Text& text);

// "15. Split lines": a number directly followed by "." and then neither a space nor a digit starts a
// paragraph of its own. Every piece is trimmed and followed by "\r\n\r\n".
void SplitLines(Text& text);

// "09. Make lowercase" / "10. Make uppercase": the ASCII letters only.
void MakeLowercase(Text& text);
void MakeUppercase(Text& text);

}  // namespace scrivano
