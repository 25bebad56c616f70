// Files as bytes: reading whole, writing atomically, and whether a path exists. Nothing is reported to the
// user here; the text files of the toolkit and the settings build on these.
#pragma once

#include <string>
#include <string_view>

#include "text/Text.h"

namespace scrivano {

std::string PathToNative(TextView path);
bool ReadFileBytes(TextView path, std::string& bytes);
// Writes to a temporary file in the same folder and renames it over path; an existing file keeps its
// permissions. On any failure path is untouched and the temporary file is removed.
bool WriteFileBytesAtomically(TextView path, std::string_view bytes);
// A file or folder exists at path.
bool PathExists(TextView path);

}  // namespace scrivano
