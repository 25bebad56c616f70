// The program's own English messages in the user's language: the texts the Qt-free layers show through
// the prompt functions, and the Function List's entries. The English text is the key; a message built
// from a fixed text and a path or a number is matched line by line against templates whose "%1" stands
// for the part that varies. What the catalogue does not know shows as it was built.
#pragma once

#include "text/Text.h"

namespace scrivano {

// The text to show for english (thread-safe: the catalogue is read-only once loaded).
Text TranslatedSystemText(TextView english);

}  // namespace scrivano
