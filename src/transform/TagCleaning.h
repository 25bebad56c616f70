// "02. Clean various tags": tags in curly braces, or the numbered "<pt>" and "<ph>" tags, removed from the
// working text or, when the Function List sits over an office window, from that window's content.
#pragma once

#include "tasks/TaskContext.h"
#include "text/Text.h"

namespace scrivano {

// Asks for the option and runs it: on context.targetWindow piece by piece when it is set, otherwise on
// the working text. A cancelled prompt changes nothing; an unknown option shows "Wrong operation number!".
void CleanVariousTags(TaskContext& context);

// Every "{...}" becomes a space, then CleanMarks cleans marks and spacing (the result begins with
// "\r\n"). A "{" without "}" shows "{} doesn't match !" and keeps the text after it.
void RemoveBraceTags(Text& text);

// Removes "<ptN>" ... "</ptN>" pairs (nested pairs too; the content stays) and "<phN/>" placeholders, N
// a run of ASCII digits or empty. A wrong tag makes the whole text "Wrong tag:\r\n\r\n" followed by the
// offending tag.
void RemovePtPhTags(Text& text);

}  // namespace scrivano
