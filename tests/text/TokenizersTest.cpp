#include "text/Tokenizers.h"

#include <gtest/gtest.h>

#include <vector>



namespace scrivano {
namespace {

// All tokens of the first protocol, as a caller loops.
std::vector<Text> Tokens(TextView text, TextView delimiter) {
  std::vector<Text> tokens;
  Text token;
  int pos = 0;
  do {
    NextToken(text, pos, token, delimiter);
    tokens.push_back(token);
  } while (pos != 0);
  return tokens;
}

std::vector<Text> FoundTokens(TextView text, TextView delimiter) {
  std::vector<Text> tokens;
  Text token;
  int pos = 0;
  do {
    NextTokenFound(text, token, pos, delimiter);
    tokens.push_back(token);
  } while (pos != Length(text));
  return tokens;
}

using Texts = std::vector<Text>;

TEST(NextToken, EndsWhenThePositionWrapsToZero) {
  EXPECT_EQ(Tokens(u"", u"\r\n"), Texts{u""});
  EXPECT_EQ(Tokens(u"a\r\nb", u"\r\n"), (Texts{u"a", u"b"}));
  EXPECT_EQ(Tokens(u"a\r\n", u"\r\n"), Texts{u"a"});
  EXPECT_EQ(Tokens(u"a\r\n\r\n", u"\r\n"), (Texts{u"a", u""}));
  EXPECT_EQ(Tokens(u"\r\na", u"\r\n"), (Texts{u"", u"a"}));
  EXPECT_EQ(Tokens(u"a\t\tb\t", u"\t"), (Texts{u"a", u"", u"b"}));
}

TEST(NextToken, ReportsEachPosition) {
  Text token;
  int pos = 0;
  EXPECT_EQ(NextToken(u"a\r\nb", pos, token, u"\r\n"), 3);
  EXPECT_EQ(token, u"a");
  EXPECT_EQ(NextToken(u"a\r\nb", pos, token, u"\r\n"), 0);
  EXPECT_EQ(token, u"b");
  pos = 0;
  EXPECT_EQ(NextToken(u"a\r\n", pos, token, u"\r\n"), 0);
  EXPECT_EQ(token, u"a");
}

TEST(NextToken, PositionOutsideTheText_FindsNothing) {
  Text token = u"old";
  int pos = -2;
  EXPECT_EQ(NextToken(u"ab\r\ncd", pos, token, u"\r\n"), 0);
  EXPECT_EQ(token, u"ab\r\ncd");
  pos = 9;
  EXPECT_EQ(NextToken(u"ab\r\ncd", pos, token, u"\r\n"), 0);
  EXPECT_EQ(token, u"");
}

TEST(NextToken, EmptyDelimiter_DoesNotLoopForever) {
  EXPECT_EQ(Tokens(u"abc", u""), Texts{u"abc"});
  EXPECT_EQ(FoundTokens(u"abc", u""), Texts{u"abc"});
}

TEST(NextTokenFound, LoopsUntilThePositionReachesTheLength) {
  Text token;
  int pos = 0;
  EXPECT_TRUE(NextTokenFound(u"a\r\n", token, pos, u"\r\n"));
  EXPECT_EQ(token, u"a");
  EXPECT_EQ(pos, 3);
  pos = 0;
  EXPECT_FALSE(NextTokenFound(u"ab", token, pos, u"\r\n"));
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(FoundTokens(u"a\r\n\r\nb", u"\r\n"), (Texts{u"a", u"", u"b"}));
  EXPECT_EQ(FoundTokens(u"", u"\r\n"), Texts{u""});
}

TEST(LineIterators, SkipBlankLinesAndTrim) {
  Text line;
  int pos = 0;
  EXPECT_TRUE(NextNonBlankLine(u"\r\n  \r\nx  \r\n", line, pos));
  EXPECT_EQ(line, u"x");
  EXPECT_EQ(pos, 0);

  pos = 0;
  EXPECT_TRUE(NextNonBlankLine(u" a \r\n\r\n\tb\r\n \r\n", line, pos));
  EXPECT_EQ(line, u"a");
  EXPECT_EQ(pos, 5);
  EXPECT_TRUE(NextNonBlankLine(u" a \r\n\r\n\tb\r\n \r\n", line, pos));
  EXPECT_EQ(line, u"b");
  EXPECT_EQ(pos, 11);
  EXPECT_FALSE(NextNonBlankLine(u" a \r\n\r\n\tb\r\n \r\n", line, pos));
  EXPECT_EQ(line, u"");
  EXPECT_EQ(pos, 0);
}

TEST(LineIterators, SkipStarsLooksAtTheTrimmedLine) {
  const Text text = u"  *****a\r\n****b\r\nc";
  Text line;
  int pos = 0;
  EXPECT_TRUE(NextNonBlankLineSkipping(text, pos, line, true));
  EXPECT_EQ(line, u"****b");
  EXPECT_TRUE(NextNonBlankLineSkipping(text, pos, line, true));
  EXPECT_EQ(line, u"c");
  EXPECT_EQ(pos, 0);
  pos = 0;
  EXPECT_TRUE(NextNonBlankLineSkipping(text, pos, line, false));
  EXPECT_EQ(line, u"*****a");
}

TEST(LineIterators, SecondProtocolStopsAtTheLength) {
  const Text text = u"\r\n a\r\n \r\nb";
  Text line;
  int pos = 0;
  EXPECT_TRUE(NextNonBlankLineAt(pos, text, line));
  EXPECT_EQ(line, u"a");
  EXPECT_TRUE(NextNonBlankLineAt(pos, text, line));
  EXPECT_EQ(line, u"b");
  EXPECT_EQ(pos, Length(text));
  EXPECT_FALSE(NextNonBlankLineAt(pos, text, line));

  pos = 0;
  EXPECT_FALSE(NextNonBlankLineAt(pos, u" \r\n \r\n", line));
  EXPECT_EQ(pos, 6);
}

TEST(RemoveSeparatorLines, KeepsTextBeforeTheMark) {
  Text section = u"a=====b\r\nc\r\n======\r\nd=====";
  RemoveSeparatorLines(section);
  EXPECT_EQ(section, u"ac\r\nd");
  // A run of seven marks is one separator; a shorter run on the next line is text.
  section = u"=======\r\n===x\r\nz";
  RemoveSeparatorLines(section);
  EXPECT_EQ(section, u"===x\r\nz");
}

}  // namespace
}  // namespace scrivano
