#include "text/AnsiCodec.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <mutex>

#include "text/Utf8.h"

namespace scrivano {
namespace {

std::mutex charsetMutex;
std::string charsetOverride;

bool IsUtf8(const std::string& charset) { return charset == "UTF-8" || charset == "utf8" || charset == "UTF8"; }

// Converts with iconv, replacing what cannot be converted; onError appends the replacement and tells how
// many input bytes to skip.
template <typename OnError>
bool Convert(const std::string& to, const std::string& from, std::string_view input, std::string& output,
             OnError onError) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  std::string buffer(input.size() * 4 + 16, '\0');
  output.clear();
  while (true) {
    char* out = buffer.data();
    size_t outLeft = buffer.size();
    const size_t result = iconv(cd, inLeft ? &in : nullptr, &inLeft, &out, &outLeft);
    output.append(buffer.data(), buffer.size() - outLeft);
    if (result != static_cast<size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (an incomplete sequence at the end): replace and move on.
    const size_t skip = onError(output, inLeft);
    in += skip;
    inLeft -= skip;
    if (inLeft == 0) break;
  }
  iconv_close(cd);
  return true;
}

}  // namespace

std::string AnsiCharset() {
  {
    std::lock_guard lock(charsetMutex);
    if (!charsetOverride.empty()) return charsetOverride;
  }
  std::string charset = nl_langinfo(CODESET);
  if (charset.empty() || charset == "ANSI_X3.4-1968" || charset == "ASCII" || charset == "US-ASCII")
    return "UTF-8";
  return charset;
}

void SetAnsiCharset(std::string charset) {
  std::lock_guard lock(charsetMutex);
  charsetOverride = std::move(charset);
}

Text DecodeAnsi(std::string_view bytes) {
  const std::string charset = AnsiCharset();
  Text text;
  if (IsUtf8(charset)) {
    AppendUtf8AsUtf16(bytes, text);
    return text;
  }
  std::string utf16;
  const bool converted = Convert("UTF-16LE", charset, bytes, utf16, [](std::string& out, size_t) {
    out.append("\xFD\xFF", 2);
    return size_t{1};
  });
  if (!converted) {  // an unknown character set: fall back to UTF-8 rather than lose the text
    AppendUtf8AsUtf16(bytes, text);
    return text;
  }
  return Utf16LeBytesToText(utf16);
}

std::string EncodeAnsi(TextView text) {
  const std::string charset = AnsiCharset();
  if (IsUtf8(charset)) return ToUtf8(text);
  std::string out;
  const bool converted = Convert(charset, "UTF-16LE", TextToUtf16LeBytes(text), out, [](std::string& o, size_t left) {
    o.push_back('?');
    return left >= 2 ? size_t{2} : left;  // one code unit
  });
  return converted ? out : ToUtf8(text);
}

Text Utf16LeBytesToText(std::string_view bytes) {
  Text text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return text;
}

std::string TextToUtf16LeBytes(TextView text) {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return bytes;
}

}  // namespace scrivano
