// Text files: read in the encoding their bytes show, written as UTF-16LE without a mark, and backups. The
// routines report their failures to the user themselves and tell the caller only whether they succeeded.
#pragma once

#include <functional>
#include <string>

#include "text/FileBytes.h"
#include "text/Text.h"

namespace scrivano {

// Decoded as DecodeTextFile reads them (a byte-order mark, UTF-16 without one, UTF-8, GB18030 or Big5),
// up to the first U+0000. On failure shows "Could not open "<path>" file." and leaves text unchanged.
bool ReadTextFile(Text& text, TextView path);

// Writes the code units little-endian, no mark, no terminator. The old file is replaced only once the new
// one is complete. On failure shows the path under the caption "Can not open the file!". With openAfter
// the file is then opened in a text window (see SetDocumentOpener).
bool WriteTextFile(TextView path, TextView text, bool openAfter);

// A folder counts as existing. With reportMissing a missing file is shown under "The file does not exist !".
bool FileExists(TextView path, bool reportMissing);

// An empty backup name, or one equal to source, becomes InsertBeforeLast(source, '.', ".bak"). Copies
// source over backup; nothing is reported.
bool BackupFile(TextView source, Text& backup);

// part 1: the file name (after the last "/"); part 2: the text after the file name's first full stop, or
// the whole name when it has none.
Text FilePart(TextView path, int part);

// The desktop installs the operation that opens a file as a document in a text window; without one,
// WriteTextFile's openAfter fails.
using DocumentOpener = std::function<bool(TextView path)>;
void SetDocumentOpener(DocumentOpener opener);

}  // namespace scrivano
