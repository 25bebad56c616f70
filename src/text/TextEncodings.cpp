#include "text/TextEncodings.h"

#include <iconv.h>
#include <uchardet/uchardet.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <type_traits>

#include "text/Utf8.h"

namespace scrivano {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char16_t kReplacement = u'\xFFFD';
// How much of a file the character-set detector sees: enough to be sure, little enough to stay quick on a
// large file.
constexpr size_t kDetectorSample = size_t{256} << 10;

// iconv's names of the code pages: Windows' own tables, so that a file goes back byte for byte.
const char* IconvName(Charset charset) {
  return charset == Charset::kBig5 ? "CP950" : "GB18030";
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::string LowerWithoutHyphens(std::string_view name) {
  std::string plain;
  for (const char c : name)
    if (c != '-' && c != '_') plain += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return plain;
}

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const char* to, const char* from) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  return IconvHandle(cd);
}

// What a scan of bytes as UTF-8 finds: where the first ill-formed sequence starts (npos when there is
// none), how many ill-formed sequences there are (each as long as the start of a sequence it makes, as
// the decoder counts them), and how many well-formed sequences of two to four bytes.
struct Utf8Scan {
  size_t firstIllFormed = std::string::npos;
  size_t illFormed = 0;
  size_t multiByte = 0;
};

Utf8Scan ScanUtf8(std::string_view bytes) {
  Utf8Scan scan;
  size_t i = 0;
  const auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const auto illFormed = [&](size_t length) {
    if (scan.illFormed++ == 0) scan.firstIllFormed = i;
    i += length;
  };
  while (i < bytes.size()) {
    const unsigned char b = at(i);
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      illFormed(1);
      continue;
    }
    size_t fitting = 1;  // the lead byte and the continuation bytes that fit it
    if (i + 1 < bytes.size() && at(i + 1) >= low && at(i + 1) <= high) {
      fitting = 2;
      while (fitting < length && i + fitting < bytes.size() && (at(i + fitting) & 0xC0) == 0x80) ++fitting;
    }
    if (fitting < length) {
      illFormed(fitting);
      continue;
    }
    ++scan.multiByte;
    i += length;
  }
  return scan;
}

// UTF-8 with a few faults (a file cut inside a character, a stray byte) rather than a code page: in text
// of GBK or Big5 the byte pairs that happen to form UTF-8 sequences are about as many as those that fail
// (fewer, in longer text), while in UTF-8 every character but ASCII is one well-formed sequence.
bool MostlyUtf8(std::string_view bytes) {
  constexpr size_t kWellFormedPerFault = 4;
  const Utf8Scan scan = ScanUtf8(bytes);
  return scan.multiByte >= kWellFormedPerFault * scan.illFormed;
}

size_t DecodeUtf16(std::string_view bytes, bool bigEndian, Text& text, size_t* firstBad) {
  const size_t units = bytes.size() / 2;
  text.resize(units);
  const size_t high = bigEndian ? 0 : 1;
  for (size_t i = 0; i < units; ++i)
    text[i] = static_cast<char16_t>((static_cast<unsigned char>(bytes[2 * i + high]) << 8) |
                                    static_cast<unsigned char>(bytes[2 * i + 1 - high]));
  if (bytes.size() % 2 == 0) return 0;
  // A final odd byte is half a character.
  text.push_back(kReplacement);
  if (firstBad) *firstBad = bytes.size() - 1;
  return 1;
}

size_t DecodeCodePage(std::string_view bytes, Charset charset, Text& text, size_t* firstBad) {
  const IconvHandle cd = OpenIconv("UTF-16LE", IconvName(charset));
  if (!cd) throw std::runtime_error(std::string("iconv cannot convert from ") + IconvName(charset));
  // No sequence of these code pages takes fewer bytes than the UTF-16 units it stands for, and an
  // ill-formed byte becomes one unit; so the text fits in as many units as there are bytes.
  text.assign(bytes.size(), u'\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* out = reinterpret_cast<char*>(text.data());
  size_t outLeft = text.size() * sizeof(char16_t);
  size_t replaced = 0;
  while (inLeft > 0) {
    if (iconv(static_cast<iconv_t>(cd.get()), &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) throw std::runtime_error("iconv failed while decoding");
    // An ill-formed or incomplete sequence: its first byte becomes U+FFFD and decoding goes on after it.
    if (replaced++ == 0 && firstBad) *firstBad = static_cast<size_t>(in - bytes.data());
    const char16_t replacement = kReplacement;
    std::memcpy(out, &replacement, sizeof replacement);
    out += sizeof replacement;
    outLeft -= sizeof replacement;
    ++in;
    --inLeft;
  }
  text.resize(static_cast<size_t>(out - reinterpret_cast<char*>(text.data())) / sizeof(char16_t));
  return replaced;
}

size_t EncodeCodePage(TextView text, Charset charset, std::string& bytes) {
  const IconvHandle cd = OpenIconv(IconvName(charset), "UTF-16LE");
  if (!cd) throw std::runtime_error(std::string("iconv cannot convert to ") + IconvName(charset));
  // At most four bytes for a unit (GB18030's four-byte sequences stand for one unit each).
  bytes.assign(text.size() * 4, '\0');
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  size_t inLeft = text.size() * sizeof(char16_t);
  char* out = bytes.data();
  size_t outLeft = bytes.size();
  const size_t result = iconv(static_cast<iconv_t>(cd.get()), &in, &inLeft, &out, &outLeft);
  if (result == static_cast<size_t>(-1) || inLeft > 0)
    return static_cast<size_t>(in - reinterpret_cast<const char*>(text.data())) / sizeof(char16_t);
  bytes.resize(bytes.size() - outLeft);
  return std::string::npos;
}

// UTF-16 without a mark shows as zero bytes where ASCII characters keep their high byte: at odd offsets
// (little-endian) or even ones (big-endian), and hardly ever on the other side. Text files hold no zero
// bytes otherwise. Bytes that are valid UTF-8 are taken for UTF-16 only when the zeros stand for at least
// half of the characters, as they do in ASCII-heavy UTF-16.
std::optional<Charset> UnmarkedUtf16(std::string_view bytes, bool validUtf8) {
  if (std::memchr(bytes.data(), 0, bytes.size()) == nullptr) return std::nullopt;
  size_t even = 0, odd = 0;
  for (size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == 0) ++(i % 2 == 0 ? even : odd);
  const size_t dominant = std::max(even, odd);
  const size_t other = std::min(even, odd);
  if (other * 4 > dominant) return std::nullopt;
  if (validUtf8 && dominant * 2 < bytes.size() / 2) return std::nullopt;
  return odd > even ? Charset::kUtf16Le : Charset::kUtf16Be;
}

// The code page the detector names for bytes that are not UTF-8; nothing when it names neither.
std::optional<Charset> DetectedCodePage(std::string_view bytes) {
  const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(uchardet_new(),
                                                                                          uchardet_delete);
  if (!detector) return std::nullopt;
  const std::string_view sample = bytes.substr(0, kDetectorSample);
  if (uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) return std::nullopt;
  uchardet_data_end(detector.get());
  const std::string name = LowerWithoutHyphens(uchardet_get_charset(detector.get()));
  if (name == "gb18030" || name == "gb2312" || name == "gbk" || name == "hzgb2312") return Charset::kGb18030;
  if (name == "big5" || name == "euctw" || name == "big5hkscs") return Charset::kBig5;
  return std::nullopt;
}

DecodedText Decoded(std::string_view bytes, TextFormat format) {
  DecodedText decoded;
  const std::string_view mark = format.byteOrderMark ? ByteOrderMark(format.charset) : std::string_view();
  decoded.replaced =
      DecodeBytes(bytes.substr(mark.size()), format.charset, decoded.text, &decoded.firstBadByte);
  if (decoded.firstBadByte != std::string::npos) decoded.firstBadByte += mark.size();
  format.lineBreak = DominantLineBreak(decoded.text);
  decoded.format = format;
  return decoded;
}

}  // namespace

std::string_view CharsetName(Charset charset) {
  switch (charset) {
    case Charset::kUtf8:
      return "UTF-8";
    case Charset::kUtf16Le:
      return "UTF-16LE";
    case Charset::kUtf16Be:
      return "UTF-16BE";
    case Charset::kGb18030:
      return "GB18030";
    case Charset::kBig5:
      return "Big5";
  }
  return "UTF-8";
}

std::optional<Charset> CharsetFromName(std::string_view name) {
  const std::string plain = LowerWithoutHyphens(name);
  if (plain == "utf8") return Charset::kUtf8;
  if (plain == "utf16le") return Charset::kUtf16Le;
  if (plain == "utf16be") return Charset::kUtf16Be;
  if (plain == "gb18030" || plain == "gbk" || plain == "gb2312" || plain == "cp936") return Charset::kGb18030;
  if (plain == "big5" || plain == "cp950") return Charset::kBig5;
  return std::nullopt;
}

std::string_view ByteOrderMark(Charset charset) {
  switch (charset) {
    case Charset::kUtf8:
      return kUtf8Mark;
    case Charset::kUtf16Le:
      return kUtf16LeMark;
    case Charset::kUtf16Be:
      return kUtf16BeMark;
    case Charset::kGb18030:
    case Charset::kBig5:
      break;
  }
  return {};
}

size_t DecodeBytes(std::string_view bytes, Charset charset, Text& text, size_t* firstBad) {
  if (firstBad) *firstBad = std::string::npos;
  text.clear();
  switch (charset) {
    case Charset::kUtf8: {
      text.reserve(Utf16LengthOfUtf8(bytes) + 16);
      const size_t replaced = AppendUtf8AsUtf16(bytes, text);
      if (replaced > 0 && firstBad) *firstBad = ScanUtf8(bytes).firstIllFormed;
      return replaced;
    }
    case Charset::kUtf16Le:
    case Charset::kUtf16Be:
      return DecodeUtf16(bytes, charset == Charset::kUtf16Be, text, firstBad);
    case Charset::kGb18030:
    case Charset::kBig5:
      return DecodeCodePage(bytes, charset, text, firstBad);
  }
  return 0;
}

size_t EncodeText(TextView text, Charset charset, std::string& bytes) {
  bytes.clear();
  switch (charset) {
    case Charset::kUtf8:
      for (size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
          ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
          return i;
        }
      }
      AppendUtf16AsUtf8(text, bytes);
      return std::string::npos;
    case Charset::kUtf16Le:
    case Charset::kUtf16Be: {
      bytes.resize(text.size() * 2);
      const size_t high = charset == Charset::kUtf16Be ? 0 : 1;
      for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i + high] = static_cast<char>(text[i] >> 8);
        bytes[2 * i + 1 - high] = static_cast<char>(text[i] & 0xFF);
      }
      return std::string::npos;
    }
    case Charset::kGb18030:
    case Charset::kBig5:
      return EncodeCodePage(text, charset, bytes);
  }
  return std::string::npos;
}

DecodedText DecodeTextFile(std::string_view bytes) {
  // 1. A byte-order mark decides.
  for (const Charset charset : {Charset::kUtf8, Charset::kUtf16Le, Charset::kUtf16Be})
    if (bytes.starts_with(ByteOrderMark(charset))) return Decoded(bytes, {charset, true});
  // 2. UTF-8 is decoded at once; what decodes without a fault is UTF-8, unless its zero bytes say UTF-16.
  DecodedText utf8 = Decoded(bytes, {Charset::kUtf8, false});
  if (const auto utf16 = UnmarkedUtf16(bytes, utf8.Lossless())) return Decoded(bytes, {*utf16, false});
  if (utf8.Lossless()) return utf8;
  // 3. UTF-8 with a few faults stays UTF-8, read with loss, rather than becoming another text in a code
  // page that happens to decode.
  if (MostlyUtf8(bytes)) return utf8;
  // 4. A code page: the one the detector names; when it names neither, or its choice does not decode the
  // bytes while the other does, the other.
  const std::optional<Charset> named = DetectedCodePage(bytes);
  const Charset first = named.value_or(Charset::kGb18030);
  DecodedText decoded = Decoded(bytes, {first, false});
  if (decoded.Lossless()) return decoded;
  DecodedText other = Decoded(bytes, {first == Charset::kBig5 ? Charset::kGb18030 : Charset::kBig5, false});
  if (other.Lossless() || (!named && other.replaced < decoded.replaced)) return other;
  return decoded;
}

DecodedText DecodeTextFile(std::string_view bytes, Charset charset) {
  const std::string_view mark = ByteOrderMark(charset);
  return Decoded(bytes, {charset, !mark.empty() && bytes.starts_with(mark)});
}

TextFormat DetectTextFormat(std::string_view bytes) {
  return DecodeTextFile(bytes).format;
}

bool EncodeTextFile(TextView text, const TextFormat& format, std::string& bytes, size_t* firstUnencodable) {
  const bool utf16 = format.charset == Charset::kUtf16Le || format.charset == Charset::kUtf16Be;
  Text lines;
  if (utf16 && format.lineBreak != LineBreak::kCrLf) {
    lines.assign(text);
    FromCrLf(lines, format.lineBreak);
    text = lines;
  }
  std::string body;
  const size_t unencodable = EncodeText(text, format.charset, body);
  if (unencodable != std::string::npos) {
    if (firstUnencodable) *firstUnencodable = unencodable;
    return false;
  }
  // In UTF-8 and both code pages the bytes 0D and 0A stand only for the two control characters, so the
  // line breaks can be changed in the bytes.
  if (!utf16 && format.lineBreak != LineBreak::kCrLf) {
    const char replacement = format.lineBreak == LineBreak::kLf ? '\n' : '\r';
    size_t to = 0;
    for (size_t from = 0; from < body.size(); ++from) {
      if (body[from] == '\r' && from + 1 < body.size() && body[from + 1] == '\n') {
        body[to++] = replacement;
        ++from;
      } else {
        body[to++] = body[from];
      }
    }
    body.resize(to);
  }
  const std::string_view mark = format.byteOrderMark ? ByteOrderMark(format.charset) : std::string_view();
  bytes.clear();
  bytes.reserve(mark.size() + body.size());
  bytes.append(mark).append(body);
  return true;
}

}  // namespace scrivano
