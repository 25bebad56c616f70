// "The system's ANSI code page" on Linux: the character set of the locale (nl_langinfo(CODESET) after the
// program's setlocale(LC_ALL, "")). Plain ASCII (the C/POSIX locale) is read as UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "text/Text.h"

namespace scrivano {

// The character set in use, as iconv names it ("UTF-8", "GB18030", ...).
std::string AnsiCharset();
// Overrides the locale's character set (tests, and programs that know better).
void SetAnsiCharset(std::string charset);

// Invalid or incomplete byte sequences become U+FFFD; any byte sequence is accepted.
Text DecodeAnsi(std::string_view bytes);
// Characters the character set cannot hold become '?'.
std::string EncodeAnsi(TextView text);

// UTF-16LE code units as bytes (no mark) and back; a final odd byte is dropped.
Text Utf16LeBytesToText(std::string_view bytes);
std::string TextToUtf16LeBytes(TextView text);

}  // namespace scrivano
