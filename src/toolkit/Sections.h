// The section splitter: texts made of sections that each end with a "=====" line.
#pragma once

#include "text/Text.h"

namespace scrivano {

// Cuts the text into sections that end with a line containing "=====". pos == nullptr means start at 0
// and no update. With *pos == -1 the message "Could not get another section!" is shown and the result is
// false. Otherwise the section is the text from the start to the end of the next separator line (passed
// through RemoveSeparatorLines) and *pos the start of the next section, or, when no separator follows,
// the rest of the text and *pos == -1.
bool NextSection(TextView text, Text& section, int* pos = nullptr);

}  // namespace scrivano
