#include "cli/TextStreams.h"

#include "text/AnsiCodec.h"

namespace scrivano::cli {

Text DecodeInput(std::string_view bytes, StreamEncoding encoding, bool raw) {
  Text text;
  if (encoding == StreamEncoding::kUtf16Le) {
    text = Utf16LeBytesToText(bytes);
  } else {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    text = FromUtf8(bytes);
  }
  if (raw) return text;
  Text converted;
  converted.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) converted.push_back(u'\r');
    converted.push_back(text[i]);
  }
  return converted;
}

std::string EncodeOutput(TextView text, StreamEncoding encoding, bool raw) {
  Text converted(text);
  if (!raw) Replace(converted, u"\r\n", u"\n");
  return encoding == StreamEncoding::kUtf16Le ? TextToUtf16LeBytes(converted) : ToUtf8(converted);
}

}  // namespace scrivano::cli
