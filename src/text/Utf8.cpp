#include "text/Utf8.h"

#include <algorithm>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace scrivano {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
// Units reserved beyond the decoded length: one so that a step of up to two units never checks twice,
// and a few for the line operations that rewrite a text over itself from a little before its start.
constexpr size_t kSpare = 8;

// Number of continuation bytes and the valid range of the second byte for a lead byte
// (Unicode Table 3-7, well-formed UTF-8 byte sequences).
struct LeadInfo {
  int continuation;
  unsigned char secondLow;
  unsigned char secondHigh;
};

bool Lead(unsigned char b, LeadInfo& info) {
  if (b >= 0xC2 && b <= 0xDF) return info = {1, 0x80, 0xBF}, true;
  if (b == 0xE0) return info = {2, 0xA0, 0xBF}, true;
  if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) return info = {2, 0x80, 0xBF}, true;
  if (b == 0xED) return info = {2, 0x80, 0x9F}, true;
  if (b == 0xF0) return info = {3, 0x90, 0xBF}, true;
  if (b >= 0xF1 && b <= 0xF3) return info = {3, 0x80, 0xBF}, true;
  if (b == 0xF4) return info = {3, 0x80, 0x8F}, true;
  return false;
}

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// Decodes the sequence at p[i] (a byte of 0x80 or more) into d: one or two units, or one U+FFFD for the
// maximal ill-formed subpart. Returns the new end of the output.
char16_t* DecodeSequence(const unsigned char* p, size_t n, size_t& i, char16_t* d, size_t& replaced) {
  const unsigned char b = p[i];
  LeadInfo info;
  if (!Lead(b, info)) {
    ++replaced;
    ++i;
    *d = kReplacement;
    return d + 1;
  }
  uint32_t cp = b & (0x3F >> info.continuation);
  size_t j = i + 1;
  for (int k = 0; k < info.continuation; ++k, ++j) {
    const unsigned char lo = k == 0 ? info.secondLow : 0x80;
    const unsigned char hi = k == 0 ? info.secondHigh : 0xBF;
    if (j >= n || p[j] < lo || p[j] > hi) {
      ++replaced;  // the maximal valid prefix counts as one error
      i = j;
      *d = kReplacement;
      return d + 1;
    }
    cp = (cp << 6) | (p[j] & 0x3F);
  }
  i = j;
  if (cp >= 0x10000) {
    cp -= 0x10000;
    d[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
    d[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    return d + 2;
  }
  *d = static_cast<char16_t>(cp);
  return d + 1;
}

// The units well-formed bytes decode to: one per byte that is not a continuation byte, two for a
// four-byte sequence. Ill-formed bytes may decode to more.
size_t Utf16LengthOfWellFormed(const unsigned char* p, size_t n, bool lineFeedsTwice) {
  size_t count = 0;
  size_t i = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  const __m128i belowContinuation = _mm_set1_epi8(static_cast<char>(0xBF));  // signed: -65
  const __m128i fourByteLead = _mm_set1_epi8(static_cast<char>(0xF0));
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i countLineFeeds = lineFeedsTwice ? _mm_set1_epi8(-1) : zero;
  while (n - i >= 16) {
    // At most 2 per lane and round (a line feed is not a lead of four): 127 rounds fit in a byte.
    __m128i sums = zero;
    for (int round = 0; round < 127 && n - i >= 16; ++round, i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      sums = _mm_sub_epi8(sums, _mm_cmpgt_epi8(v, belowContinuation));
      sums = _mm_sub_epi8(sums, _mm_cmpeq_epi8(_mm_max_epu8(v, fourByteLead), v));  // 0xF0 or more
      sums = _mm_sub_epi8(sums, _mm_and_si128(_mm_cmpeq_epi8(v, lineFeed), countLineFeeds));
    }
    const __m128i halves = _mm_sad_epu8(sums, zero);
    count += static_cast<size_t>(_mm_cvtsi128_si32(halves)) +
             static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(halves, 8)));
  }
#endif
  for (; i < n; ++i)
    count += static_cast<size_t>(!IsContinuation(p[i])) + static_cast<size_t>(p[i] >= 0xF0) +
             static_cast<size_t>(lineFeedsTwice && p[i] == '\n');
  return count;
}

bool IsHighSurrogate(uint32_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}

bool IsLowSurrogate(uint32_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

size_t Utf8LengthOf(std::u16string_view text) {
  const char16_t* s = text.data();
  const size_t n = text.size();
  size_t length = 0;
  size_t i = 0;
#ifdef __SSE2__
  // Eight units without surrogates at a time: one byte each, one more from U+0080, one more from U+0800.
  const __m128i zero = _mm_setzero_si128();
  const __m128i surrogate = _mm_set1_epi16(static_cast<short>(0xD800));
  const __m128i surrogateMask = _mm_set1_epi16(static_cast<short>(0xF800));
  const __m128i from80 = _mm_set1_epi16(static_cast<short>(0xFF80));
  while (n - i >= 8) {
    // Up to 2 per lane and round in 16-bit lanes.
    __m128i sums = zero;
    int rounds = 0;
    for (; rounds < 8000 && n - i >= 8; ++rounds) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      const __m128i high = _mm_and_si128(v, surrogateMask);
      if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, surrogate)) != 0) break;
      sums = _mm_sub_epi16(
          sums, _mm_xor_si128(_mm_cmpeq_epi16(_mm_and_si128(v, from80), zero), _mm_set1_epi16(-1)));
      sums = _mm_sub_epi16(sums, _mm_xor_si128(_mm_cmpeq_epi16(high, zero), _mm_set1_epi16(-1)));
      i += 8;
    }
    alignas(16) uint16_t lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), sums);
    length += 8 * static_cast<size_t>(rounds);
    for (const uint16_t lane : lanes) length += lane;
    if (rounds < 8000 && n - i >= 8) {
      // A surrogate among the next eight: those go one at a time.
      for (const size_t stop = i + 8; i < stop && i < n;) {
        const uint32_t u = s[i];
        if (IsHighSurrogate(u) && i + 1 < n && IsLowSurrogate(s[i + 1])) {
          length += 4;
          i += 2;
        } else {
          length += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
          ++i;
        }
      }
    }
  }
#endif
  while (i < n) {
    const uint32_t u = s[i];
    if (u < 0x80) {
      length += 1;
    } else if (u < 0x800) {
      length += 2;
    } else if (IsHighSurrogate(u) && i + 1 < n && IsLowSurrogate(s[i + 1])) {
      length += 4;
      ++i;
    } else {
      length += 3;  // lone surrogates become U+FFFD, three bytes too
    }
    ++i;
  }
  return length;
}

}  // namespace

size_t Utf16LengthOfUtf8(std::string_view bytes) {
  return Utf16LengthOfWellFormed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), false);
}

size_t Utf16LengthOfUtf8(std::string_view bytes, LineFeeds lineFeeds) {
  return Utf16LengthOfWellFormed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                 lineFeeds == LineFeeds::kWithCarriageReturn);
}

size_t AppendUtf8AsUtf16(std::string_view bytes, std::u16string& out, LineFeeds lineFeeds) {
  const bool withCarriageReturn = lineFeeds == LineFeeds::kWithCarriageReturn;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  const size_t start = out.size();
  // Room for well-formed bytes and the spare units; ill-formed bytes that decode to more make it grow once,
  // to the bound of a unit a byte.
  out.resize(start + Utf16LengthOfWellFormed(p, n, withCarriageReturn) + kSpare);
  char16_t* d = out.data() + start;
  char16_t* end = out.data() + out.size();
  size_t replaced = 0;
  size_t i = 0;
  while (i < n) {
    if (end - d < 2) {
      const size_t written = static_cast<size_t>(d - out.data());
      out.resize(written + (withCarriageReturn ? 2 : 1) * (n - i) + 2);
      d = out.data() + written;
      end = out.data() + out.size();
    }
    const unsigned char b = p[i];
    if (b < 0x80) {
#ifdef __SSE2__
      if (n - i >= 16 && end - d >= 16) {
        // Sixteen bytes widened at once; only the ASCII prefix counts, the rest is written over later.
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 8), _mm_unpackhi_epi8(v, zero));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            withCarriageReturn ? _mm_or_si128(v, _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))) : v));
        const size_t ascii = mask == 0 ? 16 : static_cast<size_t>(__builtin_ctz(mask));
        d += ascii;
        i += ascii;
        if (ascii != 0) continue;
        // A line feed first: on to the one-at-a-time step below.
      }
#endif
      if (b == '\n' && withCarriageReturn && (d == out.data() || d[-1] != u'\r')) *d++ = u'\r';
      *d++ = b;
      ++i;
      continue;
    }
    // The three-byte sequences of most of the Chinese text, checked in one go.
    if (b >= 0xE1 && b != 0xED && b <= 0xEF && n - i >= 3 && IsContinuation(p[i + 1]) &&
        IsContinuation(p[i + 2])) {
      *d++ = static_cast<char16_t>(((b & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F));
      i += 3;
      continue;
    }
    d = DecodeSequence(p, n, i, d, replaced);
  }
  out.resize(static_cast<size_t>(d - out.data()));
  return replaced;
}

void AppendUtf16AsUtf8(std::u16string_view text, std::string& out) {
  const size_t start = out.size();
  out.resize(start + Utf8LengthOf(text));
  auto* d = reinterpret_cast<unsigned char*>(out.data() + start);
  const char16_t* s = text.data();
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
#ifdef __SSE2__
    if (n - i >= 16 && s[i] < 0x80) {
      // Sixteen units packed at once; only the ASCII prefix counts, the rest is written over later. The
      // sixteen units write at least sixteen bytes, so the store stays inside the result.
      const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 8));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_packus_epi16(low, high));
      const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
      const __m128i asciiLow = _mm_cmpeq_epi16(_mm_and_si128(low, nonAscii), _mm_setzero_si128());
      const __m128i asciiHigh = _mm_cmpeq_epi16(_mm_and_si128(high, nonAscii), _mm_setzero_si128());
      const auto ascii = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(asciiLow, asciiHigh)));
      const size_t prefix = ascii == 0xFFFF ? 16 : static_cast<size_t>(__builtin_ctz(~ascii));
      d += prefix;
      i += prefix;
      continue;
    }
#endif
    uint32_t cp = s[i];
    if (cp < 0x80) {
      *d++ = static_cast<unsigned char>(cp);
      ++i;
      continue;
    }
    if (cp >= 0x800 && (cp & 0xF800) != 0xD800) {  // most of the Chinese text, a run at a time
      do {
        d[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
        d[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        d[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        d += 3;
        if (++i == n) break;
        cp = s[i];
      } while (cp >= 0x800 && (cp & 0xF800) != 0xD800);
      continue;
    }
    if (IsHighSurrogate(cp) && i + 1 < n && IsLowSurrogate(s[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00u);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    ++i;
    if (cp < 0x800) {
      d[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
      d[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
      d += 2;
    } else if (cp < 0x10000) {
      d[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
      d[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      d[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
      d += 3;
    } else {
      d[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
      d[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
      d[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      d[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
      d += 4;
    }
  }
}

size_t FirstLoneSurrogate(std::u16string_view text) {
  const char16_t* s = text.data();
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
#ifdef __SSE2__
    const __m128i surrogateMask = _mm_set1_epi16(static_cast<short>(0xF800));
    const __m128i surrogate = _mm_set1_epi16(static_cast<short>(0xD800));
    const auto any = [&](size_t at) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + at));
      return _mm_cmpeq_epi16(_mm_and_si128(v, surrogateMask), surrogate);
    };
    while (n - i >= 32 && _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(any(i), any(i + 8)),
                                                         _mm_or_si128(any(i + 16), any(i + 24)))) == 0)
      i += 32;
#endif
    // One at a time up to the end of the run of 32 that holds a surrogate.
    for (const size_t stop = std::min(n, i + 32); i < stop; ++i) {
      if (!IsHighSurrogate(s[i]) && !IsLowSurrogate(s[i])) continue;
      if (IsHighSurrogate(s[i]) && i + 1 < n && IsLowSurrogate(s[i + 1])) {
        ++i;  // a pair, which may reach into the next run
        continue;
      }
      return i;
    }
  }
  return std::u16string_view::npos;
}

size_t AppendUtf8AsUtf16Plain(std::string_view bytes, std::u16string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t replaced = 0;
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      out.push_back(p[i++]);
      continue;
    }
    char16_t units[2];
    const char16_t* const unitsEnd = DecodeSequence(p, n, i, units, replaced);
    out.append(units, static_cast<size_t>(unitsEnd - units));
  }
  return replaced;
}

void AppendUtf16AsUtf8Plain(std::u16string_view text, std::string& out) {
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    uint32_t cp = text[i];
    if (IsHighSurrogate(cp) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
}

}  // namespace scrivano
