#include "text/LineBreaks.h"

#include <algorithm>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace scrivano {

namespace {

struct BreakCounts {
  size_t lineFeeds = 0;
  size_t carriageReturns = 0;
  size_t pairs = 0;  // a carriage return with a line feed after it
};

// A pair never shares a unit with another, so the lone breaks are the counts less the pairs.
BreakCounts CountBreaks(TextView text) {
  BreakCounts counts;
  const char16_t* s = text.data();
  const size_t n = text.size();
  size_t i = 0;
#ifdef __SSE2__
  // Eight units at a time, against themselves and against the eight after each.
  const __m128i lineFeed = _mm_set1_epi16('\n');
  const __m128i carriageReturn = _mm_set1_epi16('\r');
  const __m128i ones = _mm_set1_epi16(1);
  const auto total = [&](__m128i sums) {
    alignas(16) int32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), _mm_madd_epi16(sums, ones));
    return static_cast<size_t>(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
  };
  while (n - i > 8) {
    // At most one per lane and round: 32767 rounds fit in a signed 16-bit lane.
    __m128i lineFeeds = _mm_setzero_si128(), carriageReturns = lineFeeds, pairs = lineFeeds;
    for (int round = 0; round < 32767 && n - i > 8; ++round, i += 8) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 1));
      const __m128i isCarriageReturn = _mm_cmpeq_epi16(v, carriageReturn);
      lineFeeds = _mm_sub_epi16(lineFeeds, _mm_cmpeq_epi16(v, lineFeed));
      carriageReturns = _mm_sub_epi16(carriageReturns, isCarriageReturn);
      pairs = _mm_sub_epi16(pairs, _mm_and_si128(isCarriageReturn, _mm_cmpeq_epi16(next, lineFeed)));
    }
    counts.lineFeeds += total(lineFeeds);
    counts.carriageReturns += total(carriageReturns);
    counts.pairs += total(pairs);
  }
#endif
  for (; i < n; ++i) {
    counts.lineFeeds += s[i] == u'\n';
    counts.carriageReturns += s[i] == u'\r';
    counts.pairs += s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n';
  }
  return counts;
}

}  // namespace

LineBreak DominantLineBreak(TextView text) {
  const BreakCounts counts = CountBreaks(text);
  const size_t crLf = counts.pairs;
  const size_t lf = counts.lineFeeds - crLf;
  const size_t cr = counts.carriageReturns - crLf;
  if (crLf >= std::max(lf, cr)) return LineBreak::kCrLf;
  return lf >= cr ? LineBreak::kLf : LineBreak::kCr;
}

void ToCrLf(Text& text) {
  size_t lone = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
      ++i;
    else if (text[i] == u'\r' || text[i] == u'\n')
      ++lone;
  }
  if (lone == 0) return;
  Text lines;
  lines.reserve(text.size() + lone);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'\r') {
      lines += u"\r\n";
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (unit == u'\n') {
      lines += u"\r\n";
    } else {
      lines += unit;
    }
  }
  text.swap(lines);
}

void FromCrLf(Text& text, LineBreak lineBreak) {
  if (lineBreak == LineBreak::kCrLf) return;
  const char16_t replacement = lineBreak == LineBreak::kLf ? u'\n' : u'\r';
  size_t to = 0;
  for (size_t from = 0; from < text.size(); ++from) {
    if (text[from] == u'\r' && from + 1 < text.size() && text[from + 1] == u'\n') {
      text[to++] = replacement;
      ++from;
    } else {
      text[to++] = text[from];
    }
  }
  text.resize(to);
}

}  // namespace scrivano
