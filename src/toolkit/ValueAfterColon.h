// Parameter items of the form "name: value".
#pragma once

#include "text/Text.h"

namespace scrivano {

// value = the text after the first ":", space-trimmed. Without a ":", or with an empty value when
// allowEmpty is false, shows "Wrong parameter format!" and returns false.
bool ValueAfterColon(TextView text, Text& value, bool allowEmpty);

}  // namespace scrivano
