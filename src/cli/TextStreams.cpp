#include "cli/TextStreams.h"

#include <algorithm>
#include <cstring>

#include "text/AnsiCodec.h"
#include "text/Utf8.h"

namespace scrivano::cli {
namespace {

size_t CountByte(std::string_view bytes, char byte) {
  size_t count = 0;
  for (const char* at = bytes.data();
       const void* found = std::memchr(at, byte, bytes.data() + bytes.size() - at);
       at = static_cast<const char*>(found) + 1)
    ++count;
  return count;
}

// Every "\n" without "\r" before it becomes "\r\n", in place, from the back: added more units are put
// in one resize.
void AddCarriageReturns(Text& text) {
  size_t added = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) ++added;
  if (added == 0) return;
  size_t from = text.size();
  text.resize(text.size() + added);
  size_t to = text.size();
  while (from > 0) {
    const char16_t unit = text[--from];
    text[--to] = unit;
    if (unit == u'\n' && (from == 0 || text[from - 1] != u'\r')) text[--to] = u'\r';
  }
}

}  // namespace

Text DecodeInput(std::string_view bytes, StreamEncoding encoding, bool raw, size_t* undecodable) {
  Text text;
  size_t replaced = 0;
  if (encoding == StreamEncoding::kUtf16Le) {
    text = Utf16LeBytesToText(bytes);
    if (!raw) {
      text.reserve(text.size() + static_cast<size_t>(std::count(text.begin(), text.end(), u'\n')));
      AddCarriageReturns(text);
    }
  } else {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    // One buffer of the final size; the lines are decoded one by one so that each line feed can take
    // its carriage return on the way. A line feed always starts a sequence, so cutting there changes
    // no decoding.
    text.reserve(Utf16LengthOfUtf8(bytes) + 1 + (raw ? 0 : CountByte(bytes, '\n')));
    if (raw) {
      replaced = AppendUtf8AsUtf16(bytes, text);
    } else {
      while (!bytes.empty()) {
        const auto* lineFeed = static_cast<const char*>(std::memchr(bytes.data(), '\n', bytes.size()));
        const size_t lineLength = lineFeed ? static_cast<size_t>(lineFeed - bytes.data()) : bytes.size();
        replaced += AppendUtf8AsUtf16(bytes.substr(0, lineLength), text);
        if (!lineFeed) break;
        if (text.empty() || text.back() != u'\r') text.push_back(u'\r');
        text.push_back(u'\n');
        bytes.remove_prefix(lineLength + 1);
      }
    }
  }
  if (undecodable) *undecodable = replaced;
  return text;
}

std::string EncodeOutput(TextView text, StreamEncoding encoding, bool raw) {
  if (encoding == StreamEncoding::kUtf16Le) {
    Text converted(text);
    if (!raw) Replace(converted, u"\r\n", u"\n");
    return TextToUtf16LeBytes(converted);
  }
  std::string bytes;
  AppendUtf16AsUtf8(text, bytes);
  if (raw) return bytes;
  // "\r\n" becomes "\n" in place: every "\r" just before a "\n" goes. Only these units encode as the
  // bytes 0D and 0A, so the bytes can be edited instead of the text.
  char* const begin = bytes.data();
  char* const end = begin + bytes.size();
  char* to = begin;
  char* from = begin;
  while (from < end) {
    auto* cr = static_cast<char*>(std::memchr(from, '\r', static_cast<size_t>(end - from)));
    if (!cr) cr = end;
    if (to != from) std::memmove(to, from, static_cast<size_t>(cr - from));
    to += cr - from;
    from = cr;
    if (from == end) break;
    if (from + 1 < end && from[1] == '\n') {
      ++from;  // the "\r" goes; the "\n" is copied with the next stretch
    } else {
      *to++ = *from++;
    }
  }
  bytes.resize(static_cast<size_t>(to - begin));
  return bytes;
}

}  // namespace scrivano::cli
