// Strict UTF-8 <-> UTF-16 conversion. Decoding turns every ill-formed subsequence into one U+FFFD (the
// "maximal subpart" practice); encoding writes lone surrogates as U+FFFD. Nothing is ever dropped silently.
// Runs of ASCII go 16 at a time; the result is written once, straight into a buffer of its final size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace scrivano {

enum class LineFeeds { kKeep, kWithCarriageReturn };

// Returns how many U+FFFD stand for ill-formed bytes (a U+FFFD written as such in the input not counted).
// kWithCarriageReturn writes a "\n" that does not follow a "\r" (in out as it stands) as "\r\n".
size_t AppendUtf8AsUtf16(std::string_view bytes, std::u16string& out, LineFeeds lineFeeds = LineFeeds::kKeep);
void AppendUtf16AsUtf8(std::u16string_view text, std::string& out);
// The UTF-16 length of well-formed bytes (ill-formed ones may decode to more units): what to reserve.
size_t Utf16LengthOfUtf8(std::string_view bytes);
// The same with every "\n" counted twice under kWithCarriageReturn: enough for AppendUtf8AsUtf16. It
// counts byte by byte, so the counts of consecutive pieces of the bytes add up to that of the whole.
size_t Utf16LengthOfUtf8(std::string_view bytes, LineFeeds lineFeeds);

// The index of the first surrogate that is not half of a pair (one that UTF-8 cannot store); npos when
// there is none. Runs without surrogates go 32 units at a time.
size_t FirstLoneSurrogate(std::u16string_view text);

// The one-character-at-a-time conversions, kept as the reference the fast ones are tested against.
size_t AppendUtf8AsUtf16Plain(std::string_view bytes, std::u16string& out);
void AppendUtf16AsUtf8Plain(std::u16string_view text, std::string& out);

}  // namespace scrivano
