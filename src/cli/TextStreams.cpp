#include "cli/TextStreams.h"

#include <algorithm>
#include <cstring>

#include "text/AnsiCodec.h"
#include "text/Utf8.h"

namespace scrivano::cli {
namespace {

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
    replaced = AppendUtf8AsUtf16(bytes, text, raw ? LineFeeds::kKeep : LineFeeds::kWithCarriageReturn);
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
