#include "text/CharClasses.h"

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

}  // namespace
}  // namespace scrivano
