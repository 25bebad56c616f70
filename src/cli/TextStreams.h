// How the runner turns its input bytes into the working text and the handed-back text into output bytes.
#pragma once

#include <string>
#include <string_view>

#include "text/Text.h"

namespace scrivano::cli {

enum class StreamEncoding { kUtf8, kUtf16Le };

// utf16le: the bytes are the code units (a final odd byte is dropped, lone surrogates kept); utf8: a
// leading mark is dropped and invalid bytes become U+FFFD. Unless raw, a "\n" without "\r" before it
// becomes "\r\n". undecodable, when given, receives how many U+FFFD stand for ill-formed UTF-8.
Text DecodeInput(std::string_view bytes, StreamEncoding encoding, bool raw, size_t* undecodable = nullptr);
// Unless raw, "\r\n" becomes "\n". utf8 writes lone surrogates as U+FFFD.
std::string EncodeOutput(TextView text, StreamEncoding encoding, bool raw);

}  // namespace scrivano::cli
