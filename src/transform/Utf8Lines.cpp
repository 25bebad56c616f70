#include "transform/Utf8Lines.h"

namespace scrivano {

// The length of the white-space character (IsWhiteSpace) that begins at bytes[at], 0 when none does.
size_t WhiteSpaceAt(std::string_view bytes, size_t at) {
  const auto b = static_cast<unsigned char>(bytes[at]);
  if ((b >= 0x09 && b <= 0x0D) || b == 0x20) return 1;
  if (b < 0xC2 || b > 0xE3) return 0;
  const std::string_view rest = bytes.substr(at);
  if (b == 0xC2) return rest.starts_with("\xC2\xA0") ? 2 : 0;
  if (rest.size() < 3) return 0;
  const auto b1 = static_cast<unsigned char>(rest[1]);
  const auto b2 = static_cast<unsigned char>(rest[2]);
  switch (b) {
    case 0xE1:  // U+1680
      return b1 == 0x9A && b2 == 0x80 ? 3 : 0;
    case 0xE2:  // U+2000-200A, U+2028, U+2029, U+202F, U+205F
      return (b1 == 0x80 && (b2 <= 0x8A || b2 == 0xA8 || b2 == 0xA9 || b2 == 0xAF)) ||
                     (b1 == 0x81 && b2 == 0x9F)
                 ? 3
                 : 0;
    case 0xE3:  // U+3000
      return b1 == 0x80 && b2 == 0x80 ? 3 : 0;
    default:
      return 0;
  }
}

// The length of the white-space character that ends at bytes[end - 1], 0 when none does. The bytes are
// well-formed, so a lead byte two or three back begins the last character.
size_t WhiteSpaceBefore(std::string_view bytes, size_t end) {
  const auto last = static_cast<unsigned char>(bytes[end - 1]);
  if (last < 0x80) return WhiteSpaceAt(bytes, end - 1);
  for (size_t size = 2; size <= 3 && size <= end; ++size)
    if (static_cast<unsigned char>(bytes[end - size]) >= 0xC0)
      return WhiteSpaceAt(bytes.substr(0, end), end - size) == size ? size : 0;
  return 0;
}

Units UnitsAt(std::string_view bytes, size_t at) {
  const auto b = [&](size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(bytes[at + k])); };
  const char32_t lead = b(0);
  if (lead < 0x80) return {static_cast<char16_t>(lead), static_cast<char16_t>(lead), 1};
  if (lead < 0xE0) {
    const auto ch = static_cast<char16_t>((lead & 0x1F) << 6 | (b(1) & 0x3F));
    return {ch, ch, 2};
  }
  if (lead < 0xF0) {
    const auto ch = static_cast<char16_t>((lead & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F));
    return {ch, ch, 3};
  }
  const char32_t ch =
      ((lead & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F)) - 0x10000;
  return {static_cast<char16_t>(0xD800 + (ch >> 10)), static_cast<char16_t>(0xDC00 + (ch & 0x3FF)), 4};
}

// Where the character that ends at bytes[end - 1] begins.
size_t CharacterBefore(std::string_view bytes, size_t end) {
  size_t at = end - 1;
  while (at > 0 && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80) --at;
  return at;
}

std::string_view TrimmedBytes(std::string_view bytes) {
  size_t first = 0, end = bytes.size();
  for (size_t size; first < end && (size = WhiteSpaceAt(bytes, first)) > 0;) first += size;
  for (size_t size; end > first && (size = WhiteSpaceBefore(bytes, end)) > 0;) end -= size;
  return bytes.substr(first, end - first);
}

}  // namespace scrivano
