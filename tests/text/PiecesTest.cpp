#include "text/Pieces.h"

#include <gtest/gtest.h>

#include <random>



namespace scrivano {
namespace {

TEST(TrimSpaces, RemovesOnlyU0020) {
  Text text = u"  \ta\u3000  ";
  TrimSpaces(text);
  EXPECT_EQ(text, u"\ta\u3000");
  text = u"    ";
  TrimSpaces(text);
  EXPECT_EQ(text, u"");
}

TEST(TrimLineSpaces, NoLineBeginsOrEndsWithASpace) {
  Text text = u"  a  \r\n   b \r\n \r\nc ";
  TrimLineSpaces(text);
  EXPECT_EQ(text, u"a\r\nb\r\n\r\nc");
}

TEST(TrimLineSpaces, AgreesWithRepeatedReplacementOnRandomTexts) {
  const char16_t alphabet[] = {u' ', u' ', u' ', u'\r', u'\n', u'\r', u'\n', u'a', u'\u4E2D', u'\t'};
  std::mt19937 random(20240);
  for (int round = 0; round < 3000; ++round) {
    Text text;
    const size_t length = random() % 24;
    for (size_t i = 0; i < length; ++i) text += alphabet[random() % std::size(alphabet)];
    Text expected = text;
    ReplaceUntilNone(expected, u" \r\n", u"\r\n");
    ReplaceUntilNone(expected, u"\r\n ", u"\r\n");
    TrimSpaces(expected);
    Text trimmed = text;
    TrimLineSpaces(trimmed);
    EXPECT_EQ(trimmed, expected) << ToUtf8(text);
  }
  Text padded = u"ab" + Text(100000, u' ') + u"\r\n" + Text(100000, u' ') + u"cd";
  TrimLineSpaces(padded);  // one walk, however long the run
  EXPECT_EQ(padded, u"ab\r\ncd");
}

TEST(InsertBeforeLast, GoesInFrontWhenTheCharacterIsMissing) {
  EXPECT_EQ(InsertBeforeLast(u"report.doc", u'.', u".bak"), u"report.bak.doc");
  EXPECT_EQ(InsertBeforeLast(u"abc", u'.', u".bak"), u".bakabc");
  EXPECT_EQ(InsertBeforeLast(u"a.b.c", u'.', u"X"), u"a.bX.c");
  Text text = u"x";
  EncloseWith(text, u"\t");
  EXPECT_EQ(text, u"\tx\t");
}

TEST(ToInt, FollowsTheRuntimesWideConversion) {
  struct Case {
    Text text;
    int value;
  } cases[] = {
      {u"42", 42},          {u" 12abc", 12},      {u"-1", -1},          {u"+7", 7},
      {u"", 0},             {u"abc", 0},          {u"- 3", 0},          {u"\t\u3000 5", 5},
      {u"3/1", 3},          {u"2147483647", 2147483647},
      {u"2147483648", 2147483647},                {u"99999999999999999999", 2147483647},
      {u"-2147483648", -2147483647 - 1},          {u"-99999999999999999999", -2147483647 - 1},
      {u"\uFF11", 0},  // a full-width digit is no digit
  };
  for (const Case& c : cases) EXPECT_EQ(ToInt(c.text), c.value) << ToUtf8(c.text);
}

}  // namespace
}  // namespace scrivano
