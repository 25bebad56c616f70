// Conversions between text and the two Chinese code pages, GB18030 and Big5, through iconv. Decoding
// takes single bytes below 0x80 and the two-byte characters from tables made once from iconv's own
// answers, and leaves only the rest (GB18030's four-byte sequences, bytes that begin no character) to
// iconv itself: the result is byte for byte what iconv alone gives, several times faster.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace scrivano {

enum class CodePage { kGb18030, kBig5 };

// Each ill-formed or incomplete sequence has its first byte become U+FFFD and decoding goes on after that
// byte; returns how many did, firstBad (when given) receiving the offset of the first (untouched when
// none).
size_t DecodeCodePage(std::string_view bytes, CodePage codePage, Text& text, size_t* firstBad = nullptr);

// The index of the first character (or lone surrogate) the code page cannot hold; npos when it holds
// all. With replacement, every such character is written as that byte and encoding goes on; then returns
// how many were, firstUnencodable (when given) receiving the index of the first. Without, bytes is
// unspecified when a character is not held.
size_t EncodeCodePage(TextView text, CodePage codePage, std::string& bytes);
size_t EncodeCodePageReplacing(TextView text, CodePage codePage, char replacement, std::string& bytes,
                               size_t* firstUnencodable = nullptr);

}  // namespace scrivano
