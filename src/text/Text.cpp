#include "text/Text.h"

#include <algorithm>
#include <functional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "text/Utf8.h"

namespace scrivano {

namespace {

// text.find(sub, from), the first two units of sub looked for eight places at a time.
size_t FindUnits(TextView text, TextView sub, size_t from) {
  const size_t n = text.size();
  const size_t m = sub.size();
  if (m == 0) return from <= n ? from : TextView::npos;
  if (from >= n || n - from < m) return TextView::npos;
  const char16_t* const units = text.data();
  const size_t lastStart = n - m;  // the last place sub may begin
  size_t i = from;
#ifdef __SSE2__
  const __m128i first = _mm_set1_epi16(static_cast<short>(sub[0]));
  const __m128i second = _mm_set1_epi16(static_cast<short>(m > 1 ? sub[1] : 0));
  // Eight candidate places at i .. i + 7; the second unit of each is read from i + 1 .. i + 8.
  while (lastStart - i >= 8 && i + 9 <= n) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
    __m128i hits = _mm_cmpeq_epi16(here, first);
    if (m > 1) {
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i + 1));
      hits = _mm_and_si128(hits, _mm_cmpeq_epi16(next, second));
    }
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    while (mask != 0) {
      const size_t at = i + static_cast<size_t>(__builtin_ctz(mask)) / 2;
      if (TextView(units + at + 2 - (m > 1 ? 0 : 1), m - (m > 1 ? 2 : 1)) == sub.substr(m > 1 ? 2 : 1))
        return at;
      mask &= mask - 1;
      mask &= mask - 1;  // both bytes of the unit
    }
    i += 8;
  }
#endif
  for (; i <= lastStart; ++i)
    if (units[i] == sub[0] && TextView(units + i, m) == sub) return i;
  return TextView::npos;
}

}  // namespace

bool IsWhiteSpace(char16_t ch) {
  if (ch <= 0xFF) return (ch >= 0x09 && ch <= 0x0D) || ch == 0x20 || ch == 0xA0;
  return std::find(std::begin(kWideSpaces), std::end(kWideSpaces), ch) != std::end(kWideSpaces);
}

int Length(TextView text) { return static_cast<int>(text.size()); }

int Find(TextView text, TextView sub, int from) {
  if (from < 0 || from > Length(text)) return -1;
  const size_t at = FindUnits(text, sub, static_cast<size_t>(from));
  return at == TextView::npos ? -1 : static_cast<int>(at);
}

int Find(TextView text, char16_t ch, int from) { return Find(text, TextView(&ch, 1), from); }

int FindLast(TextView text, char16_t ch) {
  const size_t at = text.rfind(ch);
  return at == TextView::npos ? -1 : static_cast<int>(at);
}

bool Contains(TextView text, TextView sub) { return text.find(sub) != TextView::npos; }

Text Mid(TextView text, int first, int count) {
  first = std::max(first, 0);
  count = std::max(count, 0);
  if (first >= Length(text)) return Text();
  return Text(text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

Text MidFrom(TextView text, int first) {
  first = std::max(first, 0);
  return Mid(text, first, Length(text) - first);
}

Text Left(TextView text, int n) { return n <= 0 ? Text() : Text(text.substr(0, static_cast<size_t>(n))); }

Text Right(TextView text, int n) {
  if (n <= 0) return Text();
  if (n >= Length(text)) return Text(text);
  return Text(text.substr(text.size() - static_cast<size_t>(n)));
}

int Replace(Text& text, TextView oldText, TextView newText) {
  if (oldText.empty()) return 0;
  size_t at = FindUnits(text, oldText, 0);
  if (at == Text::npos) return 0;
  int count = 0;
  const auto inside = [&text](TextView view) {
    const char16_t* const begin = text.data();
    return std::less_equal<>()(begin, view.data()) && std::less<>()(view.data(), begin + text.size());
  };
  if (newText.size() <= oldText.size() && !inside(newText) && !inside(oldText)) {
    // Never longer: rewritten over itself, what is kept moving down.
    char16_t* const units = text.data();
    const TextView all = text;
    size_t written = 0;
    size_t done = 0;
    while (at != Text::npos) {
      std::char_traits<char16_t>::move(units + written, units + done, at - done);
      written += at - done;
      std::char_traits<char16_t>::copy(units + written, newText.data(), newText.size());
      written += newText.size();
      done = at + oldText.size();
      ++count;
      at = FindUnits(all, oldText, done);
    }
    std::char_traits<char16_t>::move(units + written, units + done, text.size() - done);
    text.resize(written + text.size() - done);
    return count;
  }
  Text result;
  result.reserve(text.size() + text.size() / 8);
  size_t done = 0;
  while (at != Text::npos) {
    result.append(text, done, at - done);
    result.append(newText);
    done = at + oldText.size();
    ++count;
    at = FindUnits(text, oldText, done);
  }
  result.append(text, done, Text::npos);
  text.swap(result);
  return count;
}

int ReplaceUntilNone(Text& text, TextView oldText, TextView newText) {
  if (oldText.empty()) return 0;
  // A replacement that contains the old text could always produce a new occurrence: one pass then.
  const bool cannotEnd = newText.find(oldText) != TextView::npos;
  int total = 0;
  for (int n = Replace(text, oldText, newText); n > 0; n = Replace(text, oldText, newText)) {
    total += n;
    if (cannotEnd) break;
  }
  return total;
}

void TrimLeft(Text& text) {
  size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  text.erase(0, i);
}

void TrimRight(Text& text) {
  size_t n = text.size();
  while (n > 0 && IsWhiteSpace(text[n - 1])) --n;
  text.resize(n);
}

void Trim(Text& text) {
  TrimRight(text);
  TrimLeft(text);
}

Text Trimmed(TextView text) {
  size_t b = 0, e = text.size();
  while (b < e && IsWhiteSpace(text[b])) ++b;
  while (e > b && IsWhiteSpace(text[e - 1])) --e;
  return Text(text.substr(b, e - b));
}

namespace {

// Adds delta to every unit from first to first + 25 (an ASCII letter range), eight units at a time.
void ShiftAsciiLetters(Text& text, char16_t first, int delta) {
  char16_t* units = text.data();
  const size_t n = text.size();
  size_t i = 0;
#ifdef __SSE2__
  // Signed compares: the units are biased so that first..first + 25 becomes the bottom of the signed range.
  const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000 - first));
  const __m128i pastLimit = _mm_set1_epi16(static_cast<short>(-0x8000 + 26));
  const __m128i shift = _mm_set1_epi16(static_cast<short>(delta));
  for (; n - i >= 8; i += 8) {
    auto* at = reinterpret_cast<__m128i*>(units + i);
    const __m128i v = _mm_loadu_si128(at);
    const __m128i biased = _mm_add_epi16(v, bias);
    const __m128i letter = _mm_cmpgt_epi16(pastLimit, biased);
    _mm_storeu_si128(at, _mm_add_epi16(v, _mm_and_si128(letter, shift)));
  }
#endif
  for (; i < n; ++i)
    if (static_cast<char16_t>(units[i] - first) < 26) units[i] = static_cast<char16_t>(units[i] + delta);
}

}  // namespace

void MakeUpper(Text& text) {
  ShiftAsciiLetters(text, u'a', -0x20);
}

void MakeLower(Text& text) {
  ShiftAsciiLetters(text, u'A', 0x20);
}

Text FromUtf8(std::string_view bytes) {
  Text out;
  AppendUtf8AsUtf16(bytes, out);
  return out;
}

std::string ToUtf8(TextView text) {
  std::string out;
  AppendUtf16AsUtf8(text, out);
  return out;
}

}  // namespace scrivano
