#include "toolkit/ValueAfterColon.h"

#include "prompt/SelectionPrompt.h"
#include "text/Pieces.h"

namespace scrivano {

bool ValueAfterColon(TextView text, Text& value, bool allowEmpty) {
  const int colon = Find(text, u':');
  if (colon >= 0) {
    value = MidFrom(text, colon + 1);
    TrimSpaces(value);
    if (allowEmpty || !value.empty()) return true;
  }
  ShowMessage(u"Wrong parameter format!", u"Notice", MessageButtons::Ok, true);
  return false;
}

}  // namespace scrivano
