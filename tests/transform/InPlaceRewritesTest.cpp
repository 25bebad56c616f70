// The line operations that rewrite the text over itself, against the former ones that built a second
// text: on random texts of line breaks, spaces, white space of every kind and words, the results agree.
#include <gtest/gtest.h>

#include <random>

#include "settings/ParameterStore.h"
#include "support/TestPrompts.h"
#include "text/Lists.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
#include "toolkit/CharClasses.h"
#include "toolkit/Sections.h"
#include "transform/LineOperations.h"

namespace scrivano {
namespace {

Text FormerRemoveRedundantEmptyLines(const Text& text) {
  Text result;
  TextView separator = u"\r\n";
  Text line;
  int pos = 0;
  do {
    NextToken(text, pos, line, kLineBreak);
    Trim(line);
    if (line.empty()) {
      separator = u"\r\n\r\n";
    } else {
      result.append(separator).append(line);
      separator = u"\r\n";
    }
  } while (pos != 0);
  return result;
}

Text FormerDeleteLines(const Text& text, TextView substrings) {
  Text result;
  Text line;
  int pos = 0;
  do {
    if (!NextNonBlankLine(text, line, pos)) break;
    if (FindFirstListItem(line, substrings) == 0) result.append(kLineBreak).append(line);
  } while (pos != 0);
  return result;
}

Text FormerTrimLineSpaces(const Text& text) {
  const TextView lineBreak = u"\r\n";
  Text result;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != u' ') {
      result += text[i++];
      continue;
    }
    size_t runEnd = i;
    while (runEnd < text.size() && text[runEnd] == u' ') ++runEnd;
    const bool beforeBreak = TextView(text).substr(runEnd, 2) == lineBreak;
    const bool afterBreak = i >= 2 && TextView(text).substr(i - 2, 2) == lineBreak;
    if (!beforeBreak && !afterBreak) result.append(text, i, runEnd - i);
    i = runEnd;
  }
  TrimSpaces(result);
  return result;
}

Text FormerLinkAdjacentLines(TextView text) {
  Text section;
  NextSection(text, section);
  TrimLineSpaces(section);
  const TextView t = section;
  const int length = Length(t);
  Text result;
  int pieceStart = 0;
  for (int i = 2; i <= length - 4; ++i) {
    if (t[static_cast<size_t>(i)] != u'\r') continue;
    const char16_t prev = t[static_cast<size_t>(i) - 1];
    const char16_t next = t[static_cast<size_t>(i) + 2];
    if (prev != u'\n' && next != u'\r') {
      result.append(t.substr(static_cast<size_t>(pieceStart), static_cast<size_t>(i - pieceStart)));
      if (IsWesternChar(prev) && IsWesternChar(next)) result += u' ';
      pieceStart = t[static_cast<size_t>(i) + 1] == u'\n' ? i + 2 : i + 1;
    }
    ++i;
  }
  result.append(t.substr(static_cast<size_t>(pieceStart)));
  result += kLineBreak;
  return result;
}

Text FormerExtractEndingLines(const Text& text) {
  const Text trimmed = Trimmed(text);
  Text result;
  if (trimmed.empty()) return result;
  Text line, runLast;
  bool runEnglish = false, inRun = false;
  int pos = 0;
  do {
    if (!NextNonBlankLine(trimmed, line, pos)) break;
    const bool english = IsEnglishText(line, u"");
    if (inRun && english != runEnglish) result.append(kLineBreak).append(runLast);
    runLast.swap(line);
    runEnglish = english;
    inRun = true;
  } while (pos != 0);
  if (inRun) result.append(kLineBreak).append(runLast);
  return result;
}

Text FormerSplitLines(TextView t) {
  const auto digit = [](char16_t ch) { return ch >= u'0' && ch <= u'9'; };
  Text result;
  size_t pieceStart = 0, i = 0;
  while (i < t.size()) {
    if (!digit(t[i])) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < t.size() && digit(t[j])) ++j;
    const bool fullStop = j < t.size() && t[j] == u'.';
    const bool textAfter = j + 1 < t.size() && t[j + 1] != u' ' && !digit(t[j + 1]);
    if (fullStop && textAfter) {
      result.append(Trimmed(t.substr(pieceStart, i - pieceStart))).append(u"\r\n\r\n");
      pieceStart = i;
    }
    i = fullStop ? j + 2 : j + 1;
  }
  return result.append(Trimmed(t.substr(pieceStart))).append(u"\r\n\r\n");
}

Text RandomText(std::mt19937& random) {
  const TextView pieces[] = {u"\r\n", u"\r\n", u"\r\n\r\n", u"\r",   u"\n", u" ", u"  ",    u"\t", u"\u3000",
                             u"a",    u"word", u"ab cd",    u"中文", u"x",  u"y", u"=====", u"1.", u"\u00A0"};
  Text text;
  // Now and then a long one, for the rewrites that make room as they go.
  for (unsigned k = random() % (random() % 20 == 0 ? 3000 : 30); k > 0; --k)
    text += pieces[random() % std::size(pieces)];
  return text;
}

TEST(InPlaceRewrites, AgreeWithTheFormerCopyingOnes) {
  test::TestPrompts prompts;  // a section without its end may show a notice
  std::mt19937 random(12);
  for (int round = 0; round < 5000; ++round) {
    Text text = RandomText(random);
    if (round % 3 == 0) Replace(text, u"=====", u"1.x");  // more items to split, fewer sections
    Text rewritten = text;
    RemoveRedundantEmptyLines(rewritten);
    ASSERT_EQ(rewritten, FormerRemoveRedundantEmptyLines(text)) << ToUtf8(text);

    Text trimmed = text;
    TrimLineSpaces(trimmed);
    ASSERT_EQ(trimmed, FormerTrimLineSpaces(text)) << ToUtf8(text);

    ASSERT_EQ(LinkAdjacentLines(text), FormerLinkAdjacentLines(text)) << ToUtf8(text);
    Text linked = text;
    LinkAdjacentLinesInPlace(linked);
    ASSERT_EQ(linked, FormerLinkAdjacentLines(text)) << ToUtf8(text);

    Text ending = text;
    ExtractEndingLines(ending);
    ASSERT_EQ(ending, FormerExtractEndingLines(text)) << ToUtf8(text);

    Text split = text;
    SplitLines(split);
    ASSERT_EQ(split, FormerSplitLines(text)) << ToUtf8(text);
  }
}

TEST(InPlaceRewrites, DeleteLinesAgreesWithTheFormerCopyingOne) {
  test::TestPrompts prompts;
  std::mt19937 random(4);
  for (const TextView substrings : {TextView(u"x\ty"), TextView(u""), TextView(u"a"), TextView(u" ")}) {
    test::SetParameter(Param::kDeletedLineSubstrings, Text(substrings));
    for (int round = 0; round < 2000; ++round) {
      const Text text = RandomText(random);
      Text rewritten = text;
      DeleteLinesWithSubstring(rewritten);
      ASSERT_EQ(rewritten, FormerDeleteLines(text, substrings)) << ToUtf8(text);
    }
  }
}

}  // namespace
}  // namespace scrivano
