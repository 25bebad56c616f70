#include "transform/CombineFiles.h"

#include "tasks/DesktopServices.h"
#include "text/Tokenizers.h"
#include "toolkit/TextFiles.h"

namespace scrivano {

bool CombineFiles(Text& workingText) {
  const Text separatorLine(kCombineSeparatorWidth, u' ');
  Text result;
  Text path;
  Text fileText;
  int pos = 0;
  do {
    if (!NextNonBlankLine(workingText, path, pos)) break;
    if (!FileExists(path, false)) continue;
    fileText.clear();
    if (!ReadTextFile(fileText, path)) continue;
    result.append(kLineBreak).append(separatorLine).append(kLineBreak).append(fileText);
  } while (pos != 0);
  if (result.empty()) return false;
  workingText = std::move(result);
  return true;
}

void CombineWindowsOrFiles(Text& workingText) {
  if (CombineFiles(workingText)) return;
  RequireDesktop("No file listed in the text could be read, and copying the text of windows")
      .CombineWindowsText(workingText);
}

}  // namespace scrivano
