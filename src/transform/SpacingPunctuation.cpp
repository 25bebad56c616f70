#include "transform/SpacingPunctuation.h"

#include <array>

#include "text/CharClasses.h"
#include "text/Pieces.h"

namespace scrivano {
namespace {

constexpr char16_t kSpaceMarker = 0xFFFF;

struct Replacement {
  const char16_t* from;
  const char16_t* to;
};

// Western punctuation, applied in this order. W0 and W7 are conditional and W24 repeats until none is
// left; they are applied where they stand in WesternPunctuation below.
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

template <size_t N>
void ReplaceEach(Text& text, const std::array<Replacement, N>& table) {
  for (const Replacement& step : table) Replace(text, step.from, step.to);
}

// A final `ending` (only when the text ends with it) becomes `by`.
void ReplaceEnding(Text& text, TextView ending, TextView by) {
  if (!TextView(text).ends_with(ending)) return;
  text.resize(text.size() - ending.size());
  text.append(by);
}

void WesternPunctuation(Text& segment) {
  ReplaceEnding(segment, u"...", u".");  // W0
  ReplaceEach(segment, kWesternBeforeQuotes);
  if (Replace(segment, u" '", u" \"") > 0) Replace(segment, u"' ", u"\" ");  // W7
  ReplaceEach(segment, kWesternBeforeCommas);
  ReplaceUntilNone(segment, u" ,", u",");  // W24
  ReplaceEach(segment, kWesternAfterCommas);
}

void ChinesePunctuation(Text& segment) {
  ReplaceEach(segment, kChinesePunctuation);
  ReplaceEnding(segment, u".", u"\u3002");  // C6
}

}  // namespace

Text& NormalizeSpacing(Text& text, bool spacesOnly) {
  // 1. The ends.
  if (spacesOnly)
    TrimSpaces(text);
  else
    Trim(text);
  // 2. Runs of spaces.
  ReplaceUntilNone(text, u"    ", u" ");
  ReplaceUntilNone(text, u"  ", u" ");
  // 3. Spaces at line starts and ends.
  ReplaceUntilNone(text, u"\r\n ", u"\r\n");
  ReplaceUntilNone(text, u" \r\n", u"\r\n");
  // 4. At most two empty lines in a row.
  ReplaceUntilNone(text, u"\r\n\r\n\r\n\r\n", u"\r\n\r\n\r\n");
  // 5, 6.
  TightenAroundSeparator(text, u'\t');
  return ApplySpaceRule(text);
}

Text& ApplySpaceRule(Text& text) {
  // The test at i + 1 must see the marker left at i, so the marks are made in place, left to right.
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    if (text[i] == u' ' && !(IsWesternChar(text[i - 1]) && IsWesternChar(text[i + 1])))
      text[i] = kSpaceMarker;
  }
  std::erase(text, kSpaceMarker);
  return text;
}

void TightenAroundSeparator(Text& text, char16_t separator) {
  const Text alone(1, separator);
  ReplaceUntilNone(text, u" " + alone + u" ", alone);
  ReplaceUntilNone(text, u" " + alone, alone);
  ReplaceUntilNone(text, alone + u" ", alone);
}

Text& NormalizeSegmentPunctuation(Text& segment, bool isWestern) {
  // 1. Tabs, ideographic spaces and vertical tabs become spaces.
  Replace(segment, u"\t", u" ");
  Replace(segment, u"\u3000", u" ");
  Replace(segment, u"\v", u" ");
  // 2. The table of the segment's language.
  if (isWestern)
    WesternPunctuation(segment);
  else
    ChinesePunctuation(segment);
  // 3 to 5.
  Replace(segment, u" %", u"%");
  RemoveAngleMarks(segment);
  return NormalizeSpacing(segment, false);
}

void RemoveAngleMarks(Text& segment) {
  ReplaceEach(segment, kAngleMarks);
}

}  // namespace scrivano
