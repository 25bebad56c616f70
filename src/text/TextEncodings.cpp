#include "text/TextEncodings.h"

#include <uchardet/uchardet.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

#include "text/CodePages.h"
#include "text/Utf8.h"

namespace scrivano {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char16_t kReplacement = u'\xFFFD';
// How much of a file shows whether it may be UTF-8: most files that are not show it in their first
// non-ASCII characters, and are then never decoded as UTF-8 whole.
constexpr size_t kUtf8Probe = size_t{64} << 10;
// How much of what comes before a file's first byte that is not UTF-8 is taken to judge what it is.
constexpr size_t kBeforeFirstFault = 256;
// How much of a file the character-set detector sees: enough to be sure, little enough to stay quick on a
// large file.
constexpr size_t kDetectorSample = size_t{256} << 10;

std::string LowerWithoutHyphens(std::string_view name) {
  std::string plain;
  for (const char c : name)
    if (c != '-' && c != '_') plain += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return plain;
}

// The length of the well-formed UTF-8 sequence that begins at bytes[i]; 0 when the sequence there is
// ill-formed, and kCut when the bytes end inside one that is well-formed so far.
constexpr size_t kCut = ~size_t{0};
size_t Utf8SequenceLength(std::string_view bytes, size_t i) {
  const auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char b = at(i);
  if (b < 0x80) return 1;
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
    return 0;
  }
  for (size_t k = 1; k < length; ++k) {
    if (i + k == bytes.size()) return kCut;
    if (k == 1 ? at(i + 1) < low || at(i + 1) > high : (at(i + k) & 0xC0) != 0x80) return 0;
  }
  return length;
}

// The offset of the first byte that does not begin a well-formed UTF-8 sequence; npos when all are. With
// cut, the bytes are the beginning of more, and a sequence they end inside counts as well-formed.
size_t FirstIllFormedUtf8(std::string_view bytes, bool cut = false) {
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = Utf8SequenceLength(bytes, i);
    if (length == kCut && cut) break;
    if (length == 0 || length == kCut) return i;
    i += length;
  }
  return std::string::npos;
}

// Bytes that are not all UTF-8 but nearly: at least four well-formed sequences of more than one byte for
// each ill-formed one. A file cut inside its last character, or with a byte or two gone wrong,
// looks so; text in the Chinese code pages has several times more ill-formed sequences than well-formed
// ones, which its characters form only by chance.
bool DamagedUtf8(std::string_view bytes) {
  size_t wellFormed = 0, illFormed = 0;
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0 || length == kCut) {
      ++illFormed;
      ++i;
    } else {
      wellFormed += length > 1;
      i += length;
    }
  }
  return wellFormed >= 4 * illFormed;
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

// The encoding the detector names for bytes that are not well-formed UTF-8: UTF-8 (damaged) or one of the
// code pages; nothing when it names none of them.
std::optional<Charset> DetectedCharset(std::string_view sample) {
  const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(uchardet_new(),
                                                                                          uchardet_delete);
  if (!detector) return std::nullopt;
  if (uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) return std::nullopt;
  uchardet_data_end(detector.get());
  const std::string name = LowerWithoutHyphens(uchardet_get_charset(detector.get()));
  if (name == "utf8") return Charset::kUtf8;
  if (name == "gb18030" || name == "gb2312" || name == "gbk" || name == "hzgb2312") return Charset::kGb18030;
  if (name == "big5" || name == "euctw" || name == "big5hkscs") return Charset::kBig5;
  return std::nullopt;
}

CodePage CodePageOf(Charset charset) {
  return charset == Charset::kBig5 ? CodePage::kBig5 : CodePage::kGb18030;
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
      const size_t replaced = AppendUtf8AsUtf16(bytes, text);
      if (replaced > 0 && firstBad) *firstBad = FirstIllFormedUtf8(bytes);
      return replaced;
    }
    case Charset::kUtf16Le:
    case Charset::kUtf16Be:
      return DecodeUtf16(bytes, charset == Charset::kUtf16Be, text, firstBad);
    case Charset::kGb18030:
    case Charset::kBig5:
      return DecodeCodePage(bytes, CodePageOf(charset), text, firstBad);
  }
  return 0;
}

size_t EncodeText(TextView text, Charset charset, std::string& bytes) {
  bytes.clear();
  switch (charset) {
    case Charset::kUtf8:
      if (const size_t lone = FirstLoneSurrogate(text); lone != std::string::npos) return lone;
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
      return EncodeCodePage(text, CodePageOf(charset), bytes);
  }
  return std::string::npos;
}

size_t EncodeTextReplacing(TextView text, Charset charset, std::string& bytes, size_t* firstUnencodable) {
  if (firstUnencodable) *firstUnencodable = std::string::npos;
  if (charset == Charset::kGb18030 || charset == Charset::kBig5)
    return EncodeCodePageReplacing(text, CodePageOf(charset), '?', bytes, firstUnencodable);
  if (charset != Charset::kUtf8) {
    EncodeText(text, charset, bytes);  // UTF-16 holds every text
    return 0;
  }
  size_t replaced = 0;
  for (size_t lone = FirstLoneSurrogate(text); lone != std::string::npos;) {
    if (replaced++ == 0 && firstUnencodable) *firstUnencodable = lone;
    const size_t next = FirstLoneSurrogate(text.substr(lone + 1));
    lone = next == std::string::npos ? next : lone + 1 + next;
  }
  bytes.clear();
  AppendUtf16AsUtf8(text, bytes);
  return replaced;
}

DecodedText DecodeTextFile(std::string_view bytes) {
  // 1. A byte-order mark decides.
  for (const Charset charset : {Charset::kUtf8, Charset::kUtf16Le, Charset::kUtf16Be})
    if (bytes.starts_with(ByteOrderMark(charset))) return Decoded(bytes, {charset, true});
  // 2. What decodes as UTF-8 without a fault is UTF-8, unless its zero bytes say UTF-16. Bytes whose
  // beginning is not UTF-8 are not decoded as UTF-8 at all.
  std::optional<DecodedText> utf8;
  size_t illFormed = FirstIllFormedUtf8(bytes.substr(0, kUtf8Probe), bytes.size() > kUtf8Probe);
  if (illFormed == std::string::npos) {
    utf8 = Decoded(bytes, {Charset::kUtf8, false});
    illFormed = utf8->firstBadByte;
  }
  const bool validUtf8 = illFormed == std::string::npos;
  if (const auto utf16 = UnmarkedUtf16(bytes, validUtf8)) return Decoded(bytes, {*utf16, false});
  if (validUtf8) return std::move(*utf8);
  // 3. UTF-8 with a few damaged sequences, when the detector sees it so or the bytes around the first
  // fault do: a code page would read its Chinese as other Chinese characters, without a fault to show.
  // Both look at the bytes from a little before the first fault: a long ASCII beginning tells nothing,
  // and the detector reads a few Chinese characters among much ASCII as Western text.
  size_t around = illFormed - std::min(illFormed, kBeforeFirstFault);
  while (around < illFormed && (static_cast<unsigned char>(bytes[around]) & 0xC0) == 0x80) ++around;
  const std::string_view sample = bytes.substr(around, kDetectorSample);
  const std::optional<Charset> named = DetectedCharset(sample);
  if (named == Charset::kUtf8 || DamagedUtf8(sample))
    return utf8 ? std::move(*utf8) : Decoded(bytes, {Charset::kUtf8, false});
  // 4. A code page: the one the detector names; when it names neither, or its choice does not decode the
  // bytes while the other does, the other.
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
