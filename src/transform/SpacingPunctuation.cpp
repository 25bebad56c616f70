#include "transform/SpacingPunctuation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "settings/ParameterStore.h"
#include "text/Pieces.h"
#include "toolkit/CharClasses.h"

namespace scrivano {
namespace {

constexpr char16_t kSpaceMarker = 0xFFFF;

struct Replacement {
  const char16_t* from;
  const char16_t* to;
};

// Western punctuation, applied in this order. W0 and W7 are conditional and W24 repeats until none is
// left; they are applied where they stand in PunctuationBeforeQuotes and PunctuationAfterQuotes below.
constexpr std::array<Replacement, 6> kWesternBeforeQuotes = {{
    {u"\\'", u"'"},        // W1
    {u"\u2019s", u"'s"},   // W2
    {u"s\u2019", u"s' "},  // W3
    {u"\u3001", u", "},    // W4
    {u"?.", u"?"},         // W5
    {u" 's ", u"'s "},     // W6
}};
constexpr std::array<Replacement, 16> kWesternBeforeCommas = {{
    {u" /", u"/"},       // W8
    {u"/ ", u"/"},       // W9
    {u" :", u":"},       // W10
    {u"\uFF1A", u": "},  // W11
    {u"\u2019", u"'"},   // W12
    {u"\u2018", u"'"},   // W13
    {u"\uFF01", u"! "},  // W14
    {u"\uFF1F", u"? "},  // W15
    {u"( ", u"("},       // W16
    {u" )", u")"},       // W17
    {u"(", u" ("},       // W18
    {u")", u") "},       // W19
    {u") .", u")."},     // W20
    {u"\u2010", u"-"},   // W21
    {u":-", u": "},      // W22
    {u"\u3002", u". "},  // W23
}};
constexpr std::array<Replacement, 8> kWesternAfterCommas = {{
    {u"\u201C", u" \""},  // W25
    {u"\u201D", u"\" "},  // W26
    {u"\uFF0C", u", "},   // W27
    {u"\uFF08", u" ("},   // W28
    {u"\uFF09", u") "},   // W29
    {u") :", u"):"},      // W30
    {u") ,", u"),"},      // W31
    {u") .", u")."},      // W32
}};
constexpr std::array<Replacement, 5> kChinesePunctuation = {{
    {u"(", u"\uFF08"},  // C1
    {u")", u"\uFF09"},  // C2
    {u";", u"\uFF1B"},  // C3
    {u"?", u"\uFF1F"},  // C4
    {u"!", u"\uFF01"},  // C5
}};
constexpr std::array<Replacement, 6> kAngleMarks = {{
    {u"<<<", u" "},
    {u">>>", u" "},
    {u"<<", u" "},
    {u">>", u" "},
    {u"\uFF3B", u""},
    {u"\uFF3D", u""},
}};

// The characters each step of a table looks for, as ReplacePasses::CharSet gives them; a step whose
// characters are not all there is passed over without a call.
template <size_t N>
std::array<uint64_t, N> CharSets(const std::array<Replacement, N>& table) {
  std::array<uint64_t, N> sets{};
  for (size_t i = 0; i < N; ++i) sets[i] = ReplacePasses::CharSet(table[i].from);
  return sets;
}

template <const auto& Table>
void ReplaceEach(ReplacePasses& passes) {
  static const auto sets = CharSets(Table);
  for (size_t i = 0; i < Table.size(); ++i)
    if (passes.MayHoldAll(sets[i])) passes.Replace(Table[i].from, Table[i].to);
}

void TightenAroundSeparator(ReplacePasses& passes, char16_t separator) {
  const Text alone(1, separator);
  passes.ReplaceUntilNone(u" " + alone + u" ", alone);
  passes.ReplaceUntilNone(u" " + alone, alone);
  passes.ReplaceUntilNone(alone + u" ", alone);
}

// Where the spacing passes may cut a text into pieces: after a character that is none of space, tab,
// carriage return and line feed. Their patterns and replacements are made of those four alone, so no
// occurrence runs over such a place and no replacement moves one.
bool FollowsNonBlank(TextView text, size_t at) {
  const char16_t before = text[at - 1];
  return before != u' ' && before != u'\t' && before != u'\r' && before != u'\n';
}

// Steps 1 to 4 of the punctuation (before the spacing) replace nothing that holds a line break, so a long
// segment goes through them piece by piece. Only the final-dot steps look at the end of the segment (its
// last piece), and the second half of the quotation-mark step looks at whether the first half replaced
// anything anywhere.
// Step 1 and the table up to the first half of the quotation-mark step (W7); true when that half
// replaced anything.
bool PunctuationBeforeQuotes(ReplacePasses& passes, bool isWestern, bool isLastPiece) {
  // 1. Tabs, ideographic spaces and vertical tabs become spaces.
  passes.Replace(u"\t", u" ");
  passes.Replace(u"\u3000", u" ");
  passes.Replace(u"\v", u" ");
  // 2. The table of the segment's language.
  if (!isWestern) {
    ReplaceEach<kChinesePunctuation>(passes);
    if (isLastPiece) passes.ReplaceEnding(u".", u"\u3002");  // C6
    return false;
  }
  if (isLastPiece) passes.ReplaceEnding(u"...", u".");  // W0
  ReplaceEach<kWesternBeforeQuotes>(passes);
  return passes.Replace(u" '", u" \"") > 0;  // W7, first half
}

// The rest of the table, then steps 3 and 4.
void PunctuationAfterQuotes(ReplacePasses& passes, bool isWestern, bool quotesReplaced) {
  if (isWestern) {
    if (quotesReplaced) passes.Replace(u"' ", u"\" ");  // W7, second half
    ReplaceEach<kWesternBeforeCommas>(passes);
    passes.RemoveRunsBefore(u' ', u',');  // W24: " ," becomes "," until none is left
    ReplaceEach<kWesternAfterCommas>(passes);
  }
  // 3, 4.
  passes.Replace(u" %", u"%");
  ReplaceEach<kAngleMarks>(passes);
}

// Steps 2 to 5 of NormalizeSpacing.
void SpacingPasses(ReplacePasses& passes) {
  // 2. Runs of spaces.
  passes.CollapseRuns(u' ');
  // 3. Spaces at line starts and ends.
  passes.ReplaceUntilNone(u"\r\n ", u"\r\n");
  passes.ReplaceUntilNone(u" \r\n", u"\r\n");
  // 4. At most two empty lines in a row.
  passes.ReplaceUntilNone(u"\r\n\r\n\r\n\r\n", u"\r\n\r\n\r\n");
  // 5.
  passes.RemoveRunsTouching(u' ', u'\t');
}

// Texts up to this long are one piece for RewriteInPieces.
constexpr size_t kPieceLength = 1 << 15;

}  // namespace

Text& NormalizeSpacing(Text& text, bool spacesOnly) {
  // 1. The ends.
  if (spacesOnly)
    TrimSpaces(text);
  else
    Trim(text);
  // 2 to 5, piece by piece.
  RewriteInPieces(text, FollowsNonBlank, [](Text& piece, bool) {
    ReplacePasses passes(piece, u" \t\r\n");
    SpacingPasses(passes);
  });
  // 6.
  return ApplySpaceRule(text);
}

Text& ApplySpaceRule(Text& text) {
  // 1, 2 in one sweep. Each space is judged by its neighbours as they stand at its turn: the left one may
  // already be the marker. Marked spaces, and any U+FFFF already there, are left out as the text is
  // rewritten in place (the right neighbour is always read before anything is written over it).
  // Parameter 6 as it stands when the sweep begins.
  const auto parameters = CurrentParameters();
  const Text& westernChars = parameters->Value(Param::kWesternChars);
  const bool listed = !westernChars.empty();
  const auto isWestern = [&westernChars, listed](char16_t ch) {
    return ch < 127 || (listed && westernChars.find(ch) != Text::npos);
  };
  const size_t length = text.size();
  char16_t* const units = text.data();
  size_t kept = 0;
  char16_t left = 0;
  size_t i = 0;
  // Eight units at a time while every space among them stays (both its neighbours below U+007F, the left
  // one as judged before) and none is U+FFFF: they move down whole. A unit is always read before anything
  // is written over it, as the writing never gets ahead of the reading.
  while (i < length) {
#ifdef __SSE2__
    const __m128i space = _mm_set1_epi16(u' ');
    const __m128i marker = _mm_set1_epi16(static_cast<short>(kSpaceMarker));
    const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i asciiEnd = _mm_set1_epi16(static_cast<short>(0x8000 + 127));
    const auto below127 = [&](__m128i units8) {
      return _mm_cmplt_epi16(_mm_xor_si128(units8, bias), asciiEnd);  // unsigned, through the bias
    };
    while (i + 9 <= length) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
      const __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i + 1));
      const __m128i leftOf = _mm_insert_epi16(_mm_slli_si128(block, 2), static_cast<int>(left), 0);
      const __m128i bothWestern = _mm_and_si128(below127(leftOf), below127(right));
      const __m128i removed = _mm_or_si128(_mm_cmpeq_epi16(block, marker),
                                           _mm_andnot_si128(bothWestern, _mm_cmpeq_epi16(block, space)));
      if (_mm_movemask_epi8(removed) != 0) break;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(units + kept), block);
      kept += 8;
      i += 8;
      left = units[kept - 1];
    }
    const size_t stop = std::min(i + 8, length);
#else
    const size_t stop = length;
#endif
    // Without branches on the units, whose spaces fall anywhere: every unit is written, and the place
    // moves on past it only when it stays.
    for (; i < stop; ++i) {
      const char16_t ch = units[i];
      const char16_t right = units[i + 1 < length ? i + 1 : i];
      const unsigned inside = static_cast<unsigned>(i - 1 < length - 2);  // 1 <= i <= length - 2
      const unsigned between = listed
                                   ? static_cast<unsigned>(isWestern(left) && isWestern(right))
                                   : static_cast<unsigned>(left < 127) & static_cast<unsigned>(right < 127);
      const unsigned dropped = static_cast<unsigned>(ch == kSpaceMarker) |
                               (static_cast<unsigned>(ch == u' ') & inside & (between ^ 1U));
      units[kept] = ch;
      kept += dropped ^ 1U;
      left = dropped != 0 ? kSpaceMarker : ch;
    }
  }
  text.resize(kept);
  return text;
}

void TightenAroundSeparator(Text& text, char16_t separator) {
  ReplacePasses passes(text);
  TightenAroundSeparator(passes, separator);
}

Text& NormalizeSegmentPunctuation(Text& segment, bool isWestern) {
  if (segment.size() <= kPieceLength) {
    // One piece: the steps share one set of the characters present. Trimming only takes characters
    // away, which leaves the set a superset, as it must be.
    ReplacePasses passes(segment);
    PunctuationAfterQuotes(passes, isWestern, PunctuationBeforeQuotes(passes, isWestern, true));
    Trim(segment);
    SpacingPasses(passes);
    // The space rule removes spaces and U+FFFF alone.
    return passes.MayHold(u' ') || passes.MayHold(kSpaceMarker) ? ApplySpaceRule(segment) : segment;
  }
  // 1 to 4, piece by piece.
  bool quotesReplaced = false;
  RewriteInPieces(segment, IsCarriageReturnAt, [&](Text& piece, bool isLast) {
    ReplacePasses passes(piece);
    if (PunctuationBeforeQuotes(passes, isWestern, isLast)) quotesReplaced = true;
  });
  RewriteInPieces(segment, IsCarriageReturnAt, [&](Text& piece, bool) {
    ReplacePasses passes(piece);
    PunctuationAfterQuotes(passes, isWestern, quotesReplaced);
  });
  // 5.
  return NormalizeSpacing(segment, false);
}

void RemoveAngleMarks(Text& segment) {
  ReplacePasses passes(segment);
  ReplaceEach<kAngleMarks>(passes);
}

void RewriteInPieces(Text& text, bool (*startsPiece)(TextView text, size_t at),
                     const std::function<void(Text& piece, bool isLast)>& rewrite) {
  // The pieces are rewritten over the text itself: each is copied out, rewritten and written back behind
  // the reading. A piece that comes out longer than the room behind the reading moves the unread rest up
  // by at least a sixteenth of the text, so that such moves stay few however many pieces grow.
  if (text.size() <= kPieceLength) return rewrite(text, true);  // one piece
  Text piece;
  size_t written = 0;
  size_t start = 0;  // the first unread unit
  size_t length = text.size();
  do {
    size_t end = std::min(start + kPieceLength, length);
    if (startsPiece == IsCarriageReturnAt) {
      const int found = Find(text, u'\r', static_cast<int>(end));
      end = found < 0 ? length : static_cast<size_t>(found);
    }
    while (end < length && !startsPiece(text, end)) ++end;
    piece.assign(text, start, end - start);
    rewrite(piece, end == length);
    if (piece.size() > end - written) {
      const size_t room =
          std::max(piece.size() - (end - written), std::min(length / 16 + 16, text.capacity() - length));
      text.resize(length + room);
      std::char_traits<char16_t>::move(text.data() + end + room, text.data() + end, length - end);
      end += room;
      length += room;
    }
    std::char_traits<char16_t>::copy(text.data() + written, piece.data(), piece.size());
    written += piece.size();
    start = end;
  } while (start < length);
  text.resize(written);
}

bool IsCarriageReturnAt(TextView text, size_t at) {
  return text[at] == u'\r';
}

ReplacePasses::ReplacePasses(Text& text) : text_(text) {
  Add(text);
}

ReplacePasses::ReplacePasses(Text& text, TextView watched) : text_(text), present_(~uint64_t{0}) {
  // One sweep for all of them, which ends once each has been seen.
  std::array<bool, 4> seen{};
  const size_t count = std::min(watched.size(), seen.size());
  const char16_t* const units = text.data();
  const size_t n = text.size();
  size_t i = 0;
#ifdef __SSE2__
  __m128i wanted[4] = {};
  for (size_t k = 0; k < count; ++k) wanted[k] = _mm_set1_epi16(static_cast<short>(watched[k]));
  __m128i hits[4] = {};
  constexpr size_t kStride = 256;  // units between looks at whether all have been seen
  while (i + 8 <= n) {
    const size_t stop = std::min(n & ~size_t{7}, i + kStride);
    for (; i < stop; i += 8) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
      for (size_t k = 0; k < count; ++k) hits[k] = _mm_or_si128(hits[k], _mm_cmpeq_epi16(block, wanted[k]));
    }
    bool all = true;
    for (size_t k = 0; k < count; ++k) all = (seen[k] = _mm_movemask_epi8(hits[k]) != 0) && all;
    if (all) i = n;
  }
#endif
  for (; i < n; ++i)
    for (size_t k = 0; k < count; ++k) seen[k] = seen[k] || units[i] == watched[k];
  for (size_t k = 0; k < count; ++k)
    if (!seen[k]) present_ &= ~Bit(watched[k]);
  for (size_t k = count; k < watched.size(); ++k)
    if (Find(text, watched[k], 0) < 0) present_ &= ~Bit(watched[k]);
}

int ReplacePasses::Replace(TextView from, TextView to) {
  return Run(from, to, scrivano::Replace);
}

int ReplacePasses::ReplaceUntilNone(TextView from, TextView to) {
  return Run(from, to, scrivano::ReplaceUntilNone);
}

void ReplacePasses::RemoveRunsBefore(char16_t removed, char16_t before) {
  if (!Present(removed) || !Present(before)) return;
  // Only removed characters go, so a run that is not followed by before never comes to be.
  size_t kept = 0;
  size_t runStart = 0;  // where the run of removed that ends at i began (in the rewritten text)
  for (size_t i = 0; i < text_.size(); ++i) {
    const char16_t ch = text_[i];
    if (ch == before) kept = runStart;
    text_[kept++] = ch;
    if (ch != removed) runStart = kept;
  }
  text_.resize(kept);
}

void ReplacePasses::ReplaceEnding(TextView ending, TextView by) {
  if (!TextView(text_).ends_with(ending)) return;
  text_.resize(text_.size() - ending.size());
  text_.append(by);
  Add(by);
}

int ReplacePasses::Run(TextView from, TextView to, int (*replace)(Text&, TextView, TextView)) {
  if (!std::all_of(from.begin(), from.end(), [this](char16_t ch) { return Present(ch); })) return 0;
  const int count = replace(text_, from, to);
  if (count > 0) Add(to);
  return count;
}

namespace {

// The characters the passes here look for, each with its own place in the set of characters present.
constexpr char16_t kPatternChars[] = {
    u'\t',     u'\v',     u'\r',     u'\n',     u' ',      u'!',      u'%',      u'\'',
    u'(',      u')',      u',',      u'-',      u'.',      u'/',      u':',      u';',
    u'<',      u'>',      u'?',      u'\\',     u's',      u'\u2010', u'\u2018', u'\u2019',
    u'\u201C', u'\u201D', u'\u3000', u'\u3001', u'\u3002', u'\uFF01', u'\uFF08', u'\uFF09',
    u'\uFF0C', u'\uFF1A', u'\uFF1F', u'\uFF3B', u'\uFF3D', u'\uFFFF'};
constexpr uint64_t kOtherChar = uint64_t{1} << 63;
static_assert(std::size(kPatternChars) < 63);

constexpr uint64_t PatternBit(char16_t ch) {
  for (size_t i = 0; i < std::size(kPatternChars); ++i)
    if (kPatternChars[i] == ch) return uint64_t{1} << i;
  return kOtherChar;
}

// Bit(ch) is kBits[kPageOf[ch >> 8]][ch & 0xFF]: the pages that hold such characters have a table each,
// all other pages share the last table.
constexpr size_t kPages = 5;
constexpr std::array<unsigned char, 256> kPageOf = [] {
  std::array<unsigned char, 256> pages{};
  pages.fill(kPages - 1);
  pages[0x00] = 0;
  pages[0x20] = 1;
  pages[0x30] = 2;
  pages[0xFF] = 3;
  return pages;
}();
constexpr std::array<std::array<uint64_t, 256>, kPages> kBits = [] {
  constexpr char16_t kPageStart[kPages] = {0x0000, 0x2000, 0x3000, 0xFF00, 0x0100};
  std::array<std::array<uint64_t, 256>, kPages> bits{};
  for (size_t page = 0; page < kPages; ++page)
    for (size_t low = 0; low < 256; ++low)
      bits[page][low] = PatternBit(static_cast<char16_t>(kPageStart[page] + low));
  return bits;
}();

}  // namespace

uint64_t ReplacePasses::CharSet(TextView chars) {
  uint64_t set = 0;
  for (const char16_t ch : chars) set |= Bit(ch);
  return set;
}

uint64_t ReplacePasses::Bit(char16_t ch) {
  return kBits[kPageOf[ch >> 8]][ch & 0xFF];
}

void ReplacePasses::Add(TextView chars) {
  const size_t n = chars.size();
  const char16_t* const units = chars.data();
  // Two sets, so that the ORs do not wait for each other.
  uint64_t even = 0;
  uint64_t odd = 0;
  size_t i = 0;
  for (; i + 2 <= n; i += 2) {
    even |= Bit(units[i]);
    odd |= Bit(units[i + 1]);
  }
  if (i < n) even |= Bit(units[i]);
  present_ |= even | odd;
}

void ReplacePasses::CollapseRuns(char16_t ch) {
  if (!Present(ch)) return;
  const char16_t pair[] = {ch, ch};
  const TextView all = text_;
  char16_t* const units = text_.data();
  const size_t n = text_.size();
  int found = Find(all, TextView(pair, 2), 0);
  if (found < 0) return;
  // What lies between runs moves down whole; each run keeps its first unit.
  size_t kept = static_cast<size_t>(found) + 1;
  while (found >= 0) {
    size_t end = static_cast<size_t>(found) + 1;
    while (end < n && all[end] == ch) ++end;
    found = Find(all, TextView(pair, 2), static_cast<int>(end));
    const size_t next = found < 0 ? n : static_cast<size_t>(found) + 1;
    std::char_traits<char16_t>::move(units + kept, units + end, next - end);
    kept += next - end;
  }
  text_.resize(kept);
}

void ReplacePasses::RemoveRunsTouching(char16_t removed, char16_t separator) {
  if (!Present(removed) || !Present(separator)) return;
  const size_t n = text_.size();
  size_t kept = 0;
  size_t i = 0;
  while (i < n) {
    if (text_[i] != removed) {
      text_[kept++] = text_[i++];
      continue;
    }
    size_t end = i;
    while (end < n && text_[end] == removed) ++end;
    const bool touches = (i > 0 && text_[i - 1] == separator) || (end < n && text_[end] == separator);
    if (!touches)
      for (; i < end; ++i) text_[kept++] = removed;
    i = end;
  }
  text_.resize(kept);
}

}  // namespace scrivano
