#include "cli/LossMessages.h"

#include <cstdint>
#include <cstdio>

#include "text/Utf8.h"

namespace scrivano::cli {
namespace {

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// What stands for a character the encoding cannot store.
std::string ReplacementIn(Charset charset) {
  return charset == Charset::kUtf8 ? "U+FFFD" : "\"?\"";
}

std::string PlaceOf(TextView text, size_t index) {
  size_t line = 1, column = 1;
  for (size_t i = 0; i < index; ++i) {
    if (text[i] == u'\n') {
      ++line;
      column = 1;
    } else if (!IsLowSurrogate(text[i]) || i == 0 || !IsHighSurrogate(text[i - 1])) {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// "U+4E2A "个"", or the code unit alone for half of a pair.
std::string CharacterAt(TextView text, size_t index) {
  const char16_t unit = text[index];
  const bool pair = IsHighSurrogate(unit) && index + 1 < text.size() && IsLowSurrogate(text[index + 1]);
  const uint32_t codePoint = pair ? 0x10000 + ((unit - 0xD800u) << 10) + (text[index + 1] - 0xDC00u) : unit;
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", codePoint);
  if (!pair && (IsHighSurrogate(unit) || IsLowSurrogate(unit)))
    return std::string(name) + " (half of a UTF-16 pair)";
  std::string utf8;
  AppendUtf16AsUtf8(text.substr(index, pair ? 2 : 1), utf8);
  return std::string(name) + " \"" + utf8 + "\"";
}

}  // namespace

std::string UndecodableInputMessage(const DecodedInput& input, bool detected) {
  const bool utf16 = input.format.charset == Charset::kUtf16Le || input.format.charset == Charset::kUtf16Be;
  return "the input cannot be decoded as " + std::string(CharsetName(input.format.charset)) +
         (detected ? " (detected)" : "") + ": the byte at offset " + std::to_string(input.firstBadByte) +
         (utf16 ? " is half a unit (UTF-16 has an even number of bytes)" : " is not valid there") +
         "; nothing was written (--lossy writes U+FFFD for such bytes)";
}

std::string UnencodableOutputMessage(TextView text, size_t index, Charset charset) {
  const std::string name(CharsetName(charset));
  return "the output cannot be encoded as " + name + ": " + CharacterAt(text, index) + " at " +
         PlaceOf(text, index) +
         (charset == Charset::kUtf8 ? " is no character" : " has no " + name + " code") +
         "; nothing was written (--lossy writes " + ReplacementIn(charset) + " for it)";
}

std::string ReplacedMessage(size_t count, bool output, Charset charset) {
  return std::to_string(count) + (count == 1 ? " character" : " characters") + " of the " +
         (output ? "output could not be encoded as " : "input could not be decoded as ") +
         std::string(CharsetName(charset)) + " and became " + (output ? ReplacementIn(charset) : "U+FFFD");
}

}  // namespace scrivano::cli
