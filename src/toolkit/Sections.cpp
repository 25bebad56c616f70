#include "toolkit/Sections.h"

#include "prompt/SelectionPrompt.h"
#include "text/Tokenizers.h"

namespace scrivano {

bool NextSection(TextView text, Text& section, int* pos) {
  const int start = pos ? *pos : 0;
  if (start == -1) {
    ShowMessage(u"Could not get another section!", u"Notice", MessageButtons::Ok, true);
    return false;
  }
  const int mark = Find(text, kSeparatorMark, start);
  const int lineEnd = mark < 0 ? -1 : Find(text, kLineBreak, mark);
  if (lineEnd < 0) {
    section = MidFrom(text, start);
    if (pos) *pos = -1;
    return true;
  }
  const int next = lineEnd + 2;
  section = Mid(text, start, next - start);
  RemoveSeparatorLines(section);
  if (pos) *pos = next;
  return true;
}

}  // namespace scrivano
