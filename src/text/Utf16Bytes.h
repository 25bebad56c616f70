// UTF-16LE code units as bytes and back: the format of the program's own Input, Output and parameter files.
#pragma once

#include <string>
#include <string_view>

#include "text/Text.h"

namespace scrivano {

// UTF-16LE code units as bytes (no mark) and back; a final odd byte is dropped.
Text Utf16LeBytesToText(std::string_view bytes);
std::string TextToUtf16LeBytes(TextView text);

}  // namespace scrivano
