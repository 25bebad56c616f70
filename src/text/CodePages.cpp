#include "text/CodePages.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace scrivano {
namespace {

constexpr char16_t kReplacement = u'\xFFFD';
// No character of these code pages is longer.
constexpr size_t kLongestSequence = 4;

// iconv's names of the code pages. glibc's CP950 is its Big5 table, with the euro sign and the ETEN
// extensions of Windows' code page 950.
const char* IconvName(CodePage codePage) {
  return codePage == CodePage::kBig5 ? "CP950" : "GB18030";
}

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const char* to, const char* from) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
  return IconvHandle(cd);
}

size_t Convert(const IconvHandle& cd, char** in, size_t* inLeft, char** out, size_t* outLeft) {
  return iconv(static_cast<iconv_t>(cd.get()), in, inLeft, out, outLeft);
}

// What iconv makes of a few bytes on their own: the code points when it takes all of them, nothing when
// it refuses them or leaves some.
std::vector<char32_t> CodePointsOf(const IconvHandle& cd, std::string_view bytes) {
  char32_t points[2 * kLongestSequence];
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* out = reinterpret_cast<char*>(points);
  size_t outLeft = sizeof points;
  if (Convert(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return {};
  return std::vector<char32_t>(points, points + (sizeof points - outLeft) / sizeof(char32_t));
}

// The characters that decoding need not ask iconv about. Both code pages are stateless and no character
// of theirs begins another one, so a sequence stands for the same character wherever it is: what iconv
// makes of it alone is what it makes of it in a text.
struct CharacterTable {
  // Bytes 00 to 7F are the ASCII characters (checked, not assumed).
  bool asciiIsItself = true;
  // [lead - 0x80][trail]: the unit for a two-byte character of the Basic Multilingual Plane; 0 for the
  // pairs iconv must decide (four-byte beginnings, bytes that are no character, characters of one byte).
  std::vector<char16_t> pairs = std::vector<char16_t>(128 * 256, u'\0');

  char16_t Pair(unsigned char lead, unsigned char trail) const { return pairs[(lead - 0x80u) * 256 + trail]; }
};

CharacterTable MakeTable(CodePage codePage) {
  CharacterTable table;
  const IconvHandle cd = OpenIconv("UTF-32LE", IconvName(codePage));
  for (unsigned b = 0; b < 0x80; ++b) {
    const char byte = static_cast<char>(b);
    const std::vector<char32_t> points = CodePointsOf(cd, std::string_view(&byte, 1));
    if (points.size() != 1 || points[0] != b) table.asciiIsItself = false;
  }
  // Trail bytes of both code pages lie between 0x40 and 0xFE.
  for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::vector<char32_t> points = CodePointsOf(cd, std::string_view(pair, 2));
      if (points.size() == 1 && points[0] != 0 && points[0] < 0x10000 &&
          (points[0] < 0xD800 || points[0] > 0xDFFF))
        table.pairs[(lead - 0x80) * 256 + trail] = static_cast<char16_t>(points[0]);
    }
  }
  return table;
}

// Made the first time a code page is decoded (about a millisecond), then only read.
const CharacterTable& TableOf(CodePage codePage) {
  if (codePage == CodePage::kBig5) {
    static const CharacterTable big5 = MakeTable(CodePage::kBig5);
    return big5;
  }
  static const CharacterTable gb18030 = MakeTable(CodePage::kGb18030);
  return gb18030;
}

// The next characters as iconv reads them, from a window that holds the longest character; at least one
// character, or false when the bytes at in begin none (then nothing moved).
bool DecodeByIconv(const IconvHandle& cd, const char*& in, const char* end, char16_t*& out) {
  char* from = const_cast<char*>(in);
  size_t inLeft = std::min<size_t>(static_cast<size_t>(end - in), kLongestSequence);
  char* to = reinterpret_cast<char*>(out);
  // No sequence takes fewer bytes than the units it stands for.
  size_t outLeft = inLeft * sizeof(char16_t);
  Convert(cd, &from, &inLeft, &to, &outLeft);
  if (from == in) return false;
  in = from;
  out = reinterpret_cast<char16_t*>(to);
  return true;
}

// Encodes text from at, going on past the characters the code page cannot hold when replacement is
// given; returns how many it replaced, or stops at the first with unencodable set to its index.
size_t Encode(TextView text, CodePage codePage, const char* replacement, std::string& bytes,
              size_t* firstUnencodable) {
  const IconvHandle cd = OpenIconv(IconvName(codePage), "UTF-16LE");
  // At most four bytes for a unit (GB18030's four-byte sequences stand for one unit each).
  bytes.assign(text.size() * kLongestSequence, '\0');
  const char* const begin = reinterpret_cast<const char*>(text.data());
  char* in = const_cast<char*>(begin);
  size_t inLeft = text.size() * sizeof(char16_t);
  char* out = bytes.data();
  size_t outLeft = bytes.size();
  size_t replaced = 0;
  while (inLeft > 0) {
    if (Convert(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) throw std::runtime_error("iconv failed while encoding");
    const size_t index = static_cast<size_t>(in - begin) / sizeof(char16_t);
    if (replaced++ == 0 && firstUnencodable) *firstUnencodable = index;
    if (!replacement) return replaced;
    // A character beyond the Basic Multilingual Plane is two units and one replacement.
    const bool pair = index + 1 < text.size() && text[index] >= 0xD800 && text[index] <= 0xDBFF &&
                      text[index + 1] >= 0xDC00 && text[index + 1] <= 0xDFFF;
    const size_t units = pair ? 2 : 1;
    *out++ = *replacement;
    --outLeft;
    in += units * sizeof(char16_t);
    inLeft -= units * sizeof(char16_t);
  }
  bytes.resize(bytes.size() - outLeft);
  return replaced;
}

}  // namespace

size_t DecodeCodePage(std::string_view bytes, CodePage codePage, Text& text, size_t* firstBad) {
  const CharacterTable& table = TableOf(codePage);
  IconvHandle cd;  // opened when the table does not tell
  // Every step writes no more units than it reads bytes, so the text fits in as many units as there are
  // bytes; every step begins where a character begins, so an ASCII byte there is an ASCII character,
  // never the second byte of a pair.
  text.assign(bytes.size(), u'\0');
  const char* in = bytes.data();
  const char* const end = in + bytes.size();
  char16_t* out = text.data();
  size_t replaced = 0;
  while (in < end) {
    const auto b = static_cast<unsigned char>(*in);
    if (b < 0x80 && table.asciiIsItself) {
#ifdef __SSE2__
      if (end - in >= 16) {
        // Sixteen bytes widened at once; only the ASCII prefix counts, the rest is written over later.
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(v, zero));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(v));
        const int ascii = mask == 0 ? 16 : __builtin_ctz(mask);
        in += ascii;
        out += ascii;
        continue;
      }
#endif
      *out++ = b;
      ++in;
      continue;
    }
    if (b >= 0x80 && end - in >= 2) {
      if (const char16_t unit = table.Pair(b, static_cast<unsigned char>(in[1]))) {
        *out++ = unit;
        in += 2;
        continue;
      }
    }
    if (!cd) cd = OpenIconv("UTF-16LE", IconvName(codePage));
    if (DecodeByIconv(cd, in, end, out)) continue;
    // An ill-formed or incomplete sequence: its first byte becomes U+FFFD and decoding goes on after it.
    if (replaced++ == 0 && firstBad) *firstBad = static_cast<size_t>(in - bytes.data());
    *out++ = kReplacement;
    ++in;
  }
  text.resize(static_cast<size_t>(out - text.data()));
  return replaced;
}

size_t EncodeCodePage(TextView text, CodePage codePage, std::string& bytes) {
  size_t first = std::string::npos;
  Encode(text, codePage, nullptr, bytes, &first);
  return first;
}

size_t EncodeCodePageReplacing(TextView text, CodePage codePage, char replacement, std::string& bytes,
                               size_t* firstUnencodable) {
  return Encode(text, codePage, &replacement, bytes, firstUnencodable);
}

}  // namespace scrivano
