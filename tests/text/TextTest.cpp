#include "text/Text.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

namespace scrivano {
namespace {

TEST(Text, Find_OutsideTheText_IsNotFound) {
  EXPECT_EQ(Find(u"abcabc", u"bc", 0), 1);
  EXPECT_EQ(Find(u"abcabc", u"bc", 2), 4);
  EXPECT_EQ(Find(u"abcabc", u"bc", -1), -1);
  EXPECT_EQ(Find(u"abcabc", u"bc", 7), -1);
  EXPECT_EQ(Find(u"abc", u"", 3), 3);  // an empty sub is found at from, even at the end
  EXPECT_EQ(Find(u"abc", u"", 4), -1);
  EXPECT_EQ(Find(u"", u"", 0), 0);
  EXPECT_EQ(FindLast(u"a.b.c", u'.'), 3);
  EXPECT_EQ(FindLast(u"abc", u'.'), -1);
}

TEST(Text, MidLeftRight_ClipAndTreatNegativesAsZero) {
  EXPECT_EQ(Mid(u"abcdef", 2, 3), u"cde");
  EXPECT_EQ(Mid(u"abcdef", -2, 3), u"abc");
  EXPECT_EQ(Mid(u"abcdef", 2, -1), u"");
  EXPECT_EQ(Mid(u"abcdef", 4, 10), u"ef");
  EXPECT_EQ(Mid(u"abcdef", 6, 1), u"");
  EXPECT_EQ(Mid(u"abcdef", 9, 1), u"");
  EXPECT_EQ(MidFrom(u"abcdef", -1), u"abcdef");
  EXPECT_EQ(MidFrom(u"abcdef", 4), u"ef");
  EXPECT_EQ(Left(u"abc", -1), u"");
  EXPECT_EQ(Left(u"abc", 2), u"ab");
  EXPECT_EQ(Left(u"abc", 9), u"abc");
  EXPECT_EQ(Right(u"abc", -1), u"");
  EXPECT_EQ(Right(u"abc", 2), u"bc");
  EXPECT_EQ(Right(u"abc", 9), u"abc");
}

TEST(Text, Replace_IsOnePassLeftToRightAndCounts) {
  Text text = u"aaaa";
  EXPECT_EQ(Replace(text, u"aa", u"a"), 2);
  EXPECT_EQ(text, u"aa");
  text = u"  x   y";
  EXPECT_EQ(Replace(text, u"  ", u" "), 2);
  EXPECT_EQ(text, u" x  y");
  EXPECT_EQ(Replace(text, u"", u"z"), 0);
  EXPECT_EQ(Replace(text, u"q", u"z"), 0);
  EXPECT_EQ(text, u" x  y");
}

// Replace as a plain walk with the library's find, into a new text.
Text PlainReplace(TextView text, TextView from, TextView to, int& count) {
  Text result;
  count = 0;
  size_t done = 0;
  for (size_t at = text.find(from); at != TextView::npos; at = text.find(from, done)) {
    result.append(text.substr(done, at - done)).append(to);
    done = at + from.size();
    ++count;
  }
  return result.append(text.substr(done));
}

TEST(Text, FindAndReplace_MatchThePlainWalkAtEveryPlace) {
  // Few letters, so that patterns occur often, next to each other, overlapping and at both ends.
  const char16_t letters[] = {u'a', u'b', u' ', u'\r', u'\n', 0xFFFF};
  std::mt19937 random(5);
  for (int round = 0; round < 20000; ++round) {
    Text text, from, to;
    for (unsigned k = random() % 40; k > 0; --k) text += letters[random() % std::size(letters)];
    for (unsigned k = 1 + random() % 4; k > 0; --k) from += letters[random() % std::size(letters)];
    for (unsigned k = random() % 6; k > 0; --k) to += letters[random() % std::size(letters)];
    const int start = static_cast<int>(random() % (text.size() + 2)) - 1;
    const size_t expectedAt =
        start < 0 ? TextView::npos : TextView(text).find(from, static_cast<size_t>(start));
    ASSERT_EQ(Find(text, from, start), expectedAt == TextView::npos ? -1 : static_cast<int>(expectedAt));
    int expectedCount = 0;
    const Text expected = PlainReplace(text, from, to, expectedCount);
    Text replaced = text;
    ASSERT_EQ(Replace(replaced, from, to), expectedCount);
    ASSERT_EQ(replaced, expected);
    // The new text a piece of the text itself.
    replaced = text;
    if (!text.empty()) {
      const size_t first = random() % text.size(), count = random() % 3;
      ASSERT_EQ(Replace(replaced, from, TextView(replaced).substr(first, count)), expectedCount);
      ASSERT_EQ(replaced, PlainReplace(text, from, TextView(text).substr(first, count), expectedCount));
    }
  }
}

TEST(Text, ReplaceUntilNone_RepeatsPasses) {
  Text text = u"a     b";
  EXPECT_EQ(ReplaceUntilNone(text, u"  ", u" "), 4);
  EXPECT_EQ(text, u"a b");
  // A replacement holding the old text would never end: one pass only.
  text = u"ab";
  EXPECT_EQ(ReplaceUntilNone(text, u"a", u"aa"), 1);
  EXPECT_EQ(text, u"aab");
}

TEST(Text, Trim_UsesTheExactWhiteSpaceSet) {
  Text text = u"\t\r\n\v\f \u00A0\u3000\u2028x y\u1680\u205F\u202F\u200A";
  Trim(text);
  EXPECT_EQ(text, u"x y");
  // Not white space: U+0085, U+200B (zero width space), U+FEFF, U+180E.
  for (char16_t ch : {u'\u0085', u'\u200B', u'\uFEFF', u'\u180E', u'\u0000'}) {
    Text kept(1, ch);
    Trim(kept);
    EXPECT_EQ(kept.size(), 1u) << int(ch);
  }
  text = u"  a  ";
  TrimLeft(text);
  EXPECT_EQ(text, u"a  ");
  TrimRight(text);
  EXPECT_EQ(text, u"a");
  text = u" \u3000 ";
  Trim(text);
  EXPECT_EQ(text, u"");
}

TEST(Text, CaseMapping_TouchesAsciiLettersOnly) {
  Text text = u"\u00C0Bc\uFF21\u00E9z[`@{";
  MakeLower(text);
  EXPECT_EQ(text, u"\u00C0bc\uFF21\u00E9z[`@{");
  MakeUpper(text);
  EXPECT_EQ(text, u"\u00C0BC\uFF21\u00E9Z[`@{");
}

TEST(Text, CaseMapping_EveryUnitAtEveryPlaceOfABlock) {
  // All 65536 units, shifted so that each lands at every place of the eight-unit steps and in the tail.
  for (size_t offset = 0; offset < 9; ++offset) {
    Text text(offset, u'q');
    for (int unit = 0; unit < 0x10000; ++unit) text += static_cast<char16_t>(unit);
    Text lower = text, upper = text;
    MakeLower(lower);
    MakeUpper(upper);
    for (size_t i = 0; i < text.size(); ++i) {
      const char16_t ch = text[i];
      ASSERT_EQ(lower[i], ch >= u'A' && ch <= u'Z' ? ch + 0x20 : ch) << i;
      ASSERT_EQ(upper[i], ch >= u'a' && ch <= u'z' ? ch - 0x20 : ch) << i;
    }
  }
}

}  // namespace
}  // namespace scrivano
