// Clean-up of list marks and quotation marks, one step of the tag cleaning.
#pragma once

#include "text/Text.h"

namespace scrivano {

// Removes list marks at line starts ("l ", "- ", "o ", "c ", U+0001 and a space, "u ", ". ", "?", "§",
// "ü", "·"), turns the bullets ○ ● ▲ ■ into line breaks, straightens typographic single quotation marks,
// turns ideographic spaces into spaces, removes "^" and line-start degree signs together with their line
// break, then cleans the spacing (spaces only). The result begins with "\r\n" unless the text began with
// a degree sign.
Text CleanMarks(TextView text);
// CleanMarks in place on a text that already begins with the "\r\n" CleanMarks puts in front.
void CleanMarksAfterLineBreak(Text& work);

}  // namespace scrivano
