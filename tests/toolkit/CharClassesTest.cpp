#include "toolkit/CharClasses.h"

#include <gtest/gtest.h>

#include "settings/ParameterStore.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

TEST(IsWesternChar, AsciiBelow127AndParameter6) {
  test::TestPrompts reset;
  EXPECT_TRUE(IsWesternChar(u'~'));
  EXPECT_FALSE(IsWesternChar(0x7F));
  EXPECT_FALSE(IsWesternChar(u'\u00E9'));
  test::SetParameter(Param::kWesternChars, u"\u00E9\u00E8");
  EXPECT_TRUE(IsWesternChar(u'\u00E9'));  // read at every call
  EXPECT_FALSE(IsWesternChar(u'\u4E2D'));
}

TEST(IsNeutralChar, WholeItemOfParameter7AdvancesByOne) {
  test::TestPrompts reset;
  test::SetParameter(Param::kNeutralChars, u"\u201C\t\u201D\t--");
  int pos = 1;
  EXPECT_TRUE(IsNeutralChar(u"a\u201Cb", pos, 1));
  EXPECT_EQ(pos, 2);
  EXPECT_FALSE(IsNeutralChar(u"a\u201Cb", pos, 1));
  EXPECT_EQ(pos, 2);
  pos = 0;
  EXPECT_TRUE(IsNeutralChar(u"--x", pos, 2));
  EXPECT_EQ(pos, 1);  // by one whatever the count
}

TEST(IsNumberChar, FourFixedSets) {
  EXPECT_TRUE(IsNumberChar(u'\uFF0C', 3));
  EXPECT_FALSE(IsNumberChar(u'\uFF0C', 0));
  EXPECT_TRUE(IsNumberChar(u'+', 0));
  EXPECT_FALSE(IsNumberChar(u'+', 1));
  EXPECT_TRUE(IsNumberChar(u',', 1));
  EXPECT_FALSE(IsNumberChar(u',', 2));
  EXPECT_TRUE(IsNumberChar(u'%', 3));
  EXPECT_TRUE(IsNumberChar(u'\u201C', 3));
  EXPECT_FALSE(IsNumberChar(u'\u201D', 3));
  for (int kind = 0; kind <= 3; ++kind) EXPECT_TRUE(IsNumberChar(u'\0', kind));
  EXPECT_FALSE(IsNumberChar(u'\0', 4));
  EXPECT_FALSE(IsNumberChar(u'5', -1));
  EXPECT_TRUE(IsNumberText(u""));
  EXPECT_TRUE(IsNumberText(u"-1,234.5"));
  EXPECT_FALSE(IsNumberText(u"12%"));
}

TEST(IsEnglishText, ThreeToFourThreshold) {
  test::TestPrompts reset;
  EXPECT_FALSE(IsEnglishText(u"\u4E2D\u6587ab", u""));
  EXPECT_TRUE(IsEnglishText(u"abc\u4E2D", u""));
  EXPECT_TRUE(IsEnglishText(u"", u""));
  EXPECT_TRUE(IsEnglishText(u"abcdef\u4E2D\u6587", u""));  // 6 of 8: floor(24/3) = 8 >= 8
  EXPECT_FALSE(IsEnglishText(u"abcde\u4E2D\u6587\u6587", u""));  // 5 of 8: 6 < 8
  // Only the piece before the delimiter counts.
  EXPECT_TRUE(IsEnglishText(u"ab\t\u4E2D\u6587\u6587\u6587", u"\t"));
  EXPECT_FALSE(IsEnglishText(u"ab\t\u4E2D\u6587\u6587\u6587", u""));
}

TEST(IsEnglishText, NeutralCharactersDoNotCount) {
  test::TestPrompts reset;
  test::SetParameter(Param::kNeutralChars, u"\u3002\t\uFF0C");
  EXPECT_TRUE(IsEnglishText(u"\u3002\uFF0C\u3002", u""));  // N = 0
  EXPECT_TRUE(IsEnglishText(u"abc\u4E2D\u3002\u3002", u""));
}

// The English test as the character classes define it, character by character: the reference.
bool EnglishByCharacter(TextView piece) {
  int counted = Length(piece);
  int western = 0;
  for (int i = 0; i < Length(piece);) {
    if (IsNeutralChar(piece, i, 1)) {
      --counted;
      continue;
    }
    if (IsWesternChar(piece[static_cast<size_t>(i)])) ++western;
    ++i;
  }
  return 4 * western / 3 >= counted;
}

TEST(IsEnglishText, AgreesWithTheCharacterClassesForEveryParameterSet) {
  const struct {
    Text western;
    Text neutral;
  } parameterSets[] = {
      {u"", u""},         {u"\u00E9\u00FC", u"\u201C\t\u201D\t\u2014\t\u2026"},
      {u"", u"\u4E2D"},   {u"", u"a\t\t\tb"},  // two tabs in a row: the tab itself is neutral
      {u"", u"\t\u4E2D\u6587\t"},                // two-character items are never one character
      {u"\u4E2D", u"\u2014"}, {u"", u"\t"},
  };
  const Text pieces[] = {
      u"abcdef\u4E2D\u6587", u"abcdefg\u4E2D\u6587", u"abcde\u4E2D\u6587x", u"\u4E2D\u6587ab", u"abc\u4E2D",
      u"\u201C\u2014\u2014\u201D", u"\u4E2D\t\u6587 ab", u"caf\u00E9 \u4E2D\u6587", u"\u00E9\u4E2D",
      u"a\tb\t\u4E2D", u"\u4E2D\u4E2D\u4E2D\u4E2Da", u"", u"\u4E2D",
  };
  for (const auto& parameters : parameterSets) {
    test::TestPrompts reset;
    test::SetParameter(Param::kWesternChars, parameters.western);
    test::SetParameter(Param::kNeutralChars, parameters.neutral);
    for (const Text& piece : pieces)
      EXPECT_EQ(IsEnglishText(piece, u""), EnglishByCharacter(piece))
          << ToUtf8(piece) << " with neutral " << ToUtf8(parameters.neutral);
  }
}

}  // namespace
}  // namespace scrivano
