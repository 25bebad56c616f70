// "03. Combine windows/files text" on a list of files: the working text names files, one per line, and
// their texts are joined, each behind a separator line of spaces. When no listed file can be read the
// entry copies the text of windows instead, which the desktop provides.
#pragma once

#include "text/Text.h"

namespace scrivano {

// The separator line in front of every combined text: spaces only, so that it stays out of the way of
// the texts themselves.
inline constexpr int kCombineSeparatorWidth = 88;

// The file mode: for every trimmed non-blank line that names an existing file, "\r\n" + separator line +
// "\r\n" + the file's text. Lines naming no file are skipped silently; a file that exists but cannot be
// read is reported by the reader and skipped. Returns false, leaving workingText unchanged, when nothing
// could be read.
bool CombineFiles(Text& workingText);

// The entry: the file mode, or else the window mode of the desktop. Throws DesktopUnavailable when the
// window mode is needed and there is no desktop; messages shown before stay shown.
void CombineWindowsOrFiles(Text& workingText);

}  // namespace scrivano
