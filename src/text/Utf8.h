// Strict UTF-8 <-> UTF-16 conversion. Decoding turns every ill-formed subsequence into one U+FFFD (the
// "maximal subpart" practice); encoding writes lone surrogates as U+FFFD. Nothing is ever dropped silently.
#pragma once

#include <string>
#include <string_view>

namespace scrivano {

void AppendUtf8AsUtf16(std::string_view bytes, std::u16string& out);
void AppendUtf16AsUtf8(std::u16string_view text, std::string& out);

}  // namespace scrivano
