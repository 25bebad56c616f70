#include "transform/SpacingPunctuation.h"

#include <algorithm>
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
void ReplaceEach(ReplacePasses& passes, const std::array<Replacement, N>& table) {
  for (const Replacement& step : table) passes.Replace(step.from, step.to);
}

void WesternPunctuation(ReplacePasses& segment) {
  segment.ReplaceEnding(u"...", u".");  // W0
  ReplaceEach(segment, kWesternBeforeQuotes);
  if (segment.Replace(u" '", u" \"") > 0) segment.Replace(u"' ", u"\" ");  // W7
  ReplaceEach(segment, kWesternBeforeCommas);
  segment.ReplaceUntilNone(u" ,", u",");  // W24
  ReplaceEach(segment, kWesternAfterCommas);
}

void TightenAroundSeparator(ReplacePasses& passes, char16_t separator) {
  const Text alone(1, separator);
  passes.ReplaceUntilNone(u" " + alone + u" ", alone);
  passes.ReplaceUntilNone(u" " + alone, alone);
  passes.ReplaceUntilNone(alone + u" ", alone);
}

void ChinesePunctuation(ReplacePasses& segment) {
  ReplaceEach(segment, kChinesePunctuation);
  segment.ReplaceEnding(u".", u"\u3002");  // C6
}

}  // namespace

Text& NormalizeSpacing(Text& text, bool spacesOnly) {
  // 1. The ends.
  if (spacesOnly)
    TrimSpaces(text);
  else
    Trim(text);
  ReplacePasses passes(text);
  // 2. Runs of spaces.
  passes.ReplaceUntilNone(u"    ", u" ");
  passes.ReplaceUntilNone(u"  ", u" ");
  // 3. Spaces at line starts and ends.
  passes.ReplaceUntilNone(u"\r\n ", u"\r\n");
  passes.ReplaceUntilNone(u" \r\n", u"\r\n");
  // 4. At most two empty lines in a row.
  passes.ReplaceUntilNone(u"\r\n\r\n\r\n\r\n", u"\r\n\r\n\r\n");
  // 5, 6.
  TightenAroundSeparator(passes, u'\t');
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
  ReplacePasses passes(text);
  TightenAroundSeparator(passes, separator);
}

Text& NormalizeSegmentPunctuation(Text& segment, bool isWestern) {
  ReplacePasses passes(segment);
  // 1. Tabs, ideographic spaces and vertical tabs become spaces.
  passes.Replace(u"\t", u" ");
  passes.Replace(u"\u3000", u" ");
  passes.Replace(u"\v", u" ");
  // 2. The table of the segment's language.
  if (isWestern)
    WesternPunctuation(passes);
  else
    ChinesePunctuation(passes);
  // 3 to 5.
  passes.Replace(u" %", u"%");
  ReplaceEach(passes, kAngleMarks);
  return NormalizeSpacing(segment, false);
}

void RemoveAngleMarks(Text& segment) {
  ReplacePasses passes(segment);
  ReplaceEach(passes, kAngleMarks);
}

ReplacePasses::ReplacePasses(Text& text) : text_(text) {
  Add(text);
}

int ReplacePasses::Replace(TextView from, TextView to) {
  return Run(from, to, scrivano::Replace);
}

int ReplacePasses::ReplaceUntilNone(TextView from, TextView to) {
  return Run(from, to, scrivano::ReplaceUntilNone);
}

void ReplacePasses::ReplaceEnding(TextView ending, TextView by) {
  if (!TextView(text_).ends_with(ending)) return;
  text_.resize(text_.size() - ending.size());
  text_.append(by);
  Add(by);
}

int ReplacePasses::Run(TextView from, TextView to, int (*replace)(Text&, TextView, TextView)) {
  if (!std::all_of(from.begin(), from.end(), [this](char16_t ch) { return present_.test(ch); })) return 0;
  const int count = replace(text_, from, to);
  if (count > 0) Add(to);
  return count;
}

void ReplacePasses::Add(TextView chars) {
  for (char16_t ch : chars) present_.set(ch);
}

}  // namespace scrivano
