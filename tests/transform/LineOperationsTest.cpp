#include <gtest/gtest.h>

#include <iterator>

#include "settings/ParameterStore.h"
#include "support/RewriteCases.h"
#include "support/TestPrompts.h"
#include "text/Pieces.h"
#include "toolkit/CharClasses.h"
#include "transform/LineOperations.h"

namespace scrivano {
namespace {

using test::SetParameter;
using test::TestPrompts;

using Case = test::RewriteCase;
using test::ExpectRewrites;

TEST(LinkAdjacentLines, JoinsTheLinesOfEachParagraph) {
  const Case cases[] = {
      {u"one\r\ntwo\r\n\r\n三\r\n四", u"one two\r\n\r\n三\r\n四\r\n"},
      {u"中文\r\n句子\r\n", u"中文句子\r\n\r\n"},
      {u"a b\r\n=====\r\nc d", u"a b\r\n\r\n"},
      {u"", u"\r\n"},
      // A carriage return at index 1 or within the last three characters is never examined.
      {u"ab\r\ncd", u"ab cd\r\n"},
      {u"a\r\nbc", u"a\r\nbc\r\n"},
      {u"ab\r\nc", u"ab\r\nc\r\n"},
      {u"ab\r\ncd\r\nef", u"ab cd ef\r\n"},
      // Western and Chinese meet without a space; the spaces at line ends go first.
      {u"abc \r\n 中文\r\nxyz", u"abc中文xyz\r\n"},
      {u"one\r\n\r\n\r\ntwo", u"one\r\n\r\n\r\ntwo\r\n"},
      // The text before "=====" on its line stays.
      {u"ab\r\ncd=====\r\nef", u"ab cd\r\n"},
      {u"  ab  \r\n  cd  ", u"ab cd\r\n"},
  };
  for (const Case& c : cases) {
    TestPrompts prompts;
    EXPECT_EQ(LinkAdjacentLines(c.input), c.expected) << ToUtf8(c.input);
    EXPECT_TRUE(prompts.dialogs().empty());
  }
}

TEST(LinkAdjacentLines, AJoinNeverDropsACharacter) {
  // A carriage return without its line feed is joined like a line break, and the character after it
  // stays.
  const Case cases[] = {
      {u"ab\rcd\r\nef", u"ab cd ef\r\n"},
      {u"ab\r\r\ncd", u"ab \r\ncd\r\n"},
      {u"中文\r句子话", u"中文句子话\r\n"},
  };
  for (const Case& c : cases) {
    TestPrompts prompts;
    EXPECT_EQ(LinkAdjacentLines(c.input), c.expected) << ToUtf8(c.input);
  }
}

TEST(LinkAdjacentLines, TrimsLongRunsOfSpacesAtLineEnds) {
  TestPrompts prompts;
  EXPECT_EQ(LinkAdjacentLines(u"ab" + Text(100000, u' ') + u"\r\n" + Text(100000, u' ') + u"cd"),
            u"ab cd\r\n");
}

TEST(LinkAdjacentLines, WesternCharactersOfParameter6GetTheSpace) {
  TestPrompts prompts;
  EXPECT_EQ(LinkAdjacentLines(u"café\r\nété"), u"caféété\r\n");
  SetParameter(Param::kWesternChars, u"éè");
  EXPECT_EQ(LinkAdjacentLines(u"café\r\nété"), u"café été\r\n");
}

TEST(RemoveRedundantEmptyLines, KeepsOneEmptyLineBetweenParagraphs) {
  const Case cases[] = {
      {u"\r\n a \r\n\r\n\r\nb\r\n", u"\r\n\r\na\r\n\r\nb"},
      {u"", u""},
      {u" \t\r\n\u3000", u""},
      {u"a", u"\r\na"},
      {u"a\r\nb", u"\r\na\r\nb"},
      {u"a\r\n \r\n\t\r\nb\r\n\r\n\r\n", u"\r\na\r\n\r\nb"},
      {u"a\rb", u"\r\na\rb"},
  };
  ExpectRewrites(cases, RemoveRedundantEmptyLines);
}

TEST(DeleteLinesWithSubstring, DropsLinesHoldingAnItemOfParameter9) {
  const struct {
    Text substrings;
    Case c;
  } cases[] = {
      {u"x\ty", {u"ax\r\n\r\n b \r\nyy", u"\r\nb"}},
      {u"", {u" a \r\n\r\nb", u"\r\na\r\nb"}},
      {u"x\t\ty", {u"a\r\nb", u""}},
      {u"x", {u"X\r\nx", u"\r\nX"}},
      {u"x\t", {u"a\r\nx", u"\r\na"}},
      {u"http://\t<!--", {u"see http://a\r\n<!-- c -->\r\nkeep", u"\r\nkeep"}},
      {u"a", {u"", u""}},
  };
  for (const auto& [substrings, c] : cases) {
    TestPrompts prompts;
    SetParameter(Param::kDeletedLineSubstrings, substrings);
    ExpectRewrites({&c, 1}, DeleteLinesWithSubstring);
  }
}

TEST(ExtractEndingLines, KeepsTheLastLineOfEachLanguageRun) {
  const Case cases[] = {
      {u"A1\r\nA2\r\n甲\r\n\r\n乙\r\nB", u"\r\nA2\r\n乙\r\nB"},
      {u"", u""},
      {u" \r\n\t", u""},
      {u"only", u"\r\nonly"},
      {u"  a \r\n b  \r\n", u"\r\nb"},
      {u"甲\r\n\r\n\r\n乙", u"\r\n乙"},
      {u"a\r\n甲\r\nb\r\n乙", u"\r\na\r\n甲\r\nb\r\n乙"},
  };
  TestPrompts prompts;
  ExpectRewrites(cases, ExtractEndingLines);
}

// The language decision must be the English test of the character classes, with the same parameters:
// a line followed by a plainly English line forms one run with it exactly when it is English itself.
TEST(ExtractEndingLines, DecidesLanguageAsTheEnglishTest) {
  const struct {
    Text western;
    Text neutral;
  } parameterSets[] = {
      {u"", u""},         {u"éü", u"“\t”\t—\t…"},
      {u"", u"中"},       {u"", u"a\t\t\tb"},  // two tabs in a row: the tab itself is neutral
      {u"", u"\t中文\t"},                      // two-character items are never a single character
      {u"中", u"—"},
  };
  const Text lines[] = {
      u"abcdef中文", u"abcdefg中文",  // 6 of 8 Western is English, 5 of 7 not
      u"abcde中文x", u"中文ab",      u"abc中",    u"“——”",      u"中\t文 ab",   u"café 中文",
      u"é中",        u"——ab中",      u"a\tb\t中", u"中中中中a", u"Hello, 世界", u"中",
  };
  for (const auto& parameters : parameterSets) {
    TestPrompts prompts;
    SetParameter(Param::kWesternChars, parameters.western);
    SetParameter(Param::kNeutralChars, parameters.neutral);
    for (const Text& line : lines) {
      Text text = line + u"\r\nplain English";
      ExtractEndingLines(text);
      const Text expected =
          IsEnglishText(line, u"") ? u"\r\nplain English" : u"\r\n" + line + u"\r\nplain English";
      EXPECT_EQ(text, expected) << ToUtf8(line) << " with neutral " << ToUtf8(parameters.neutral);
    }
  }
}

TEST(SplitLines, PutsNumberedItemsOnParagraphsOfTheirOwn) {
  const Case cases[] = {
      {u"1.苹果2.香蕉", u"\r\n\r\n1.苹果\r\n\r\n2.香蕉\r\n\r\n"},
      {u"See 2.Next", u"See\r\n\r\n2.Next\r\n\r\n"},
      {u"Version 2. Next", u"Version 2. Next\r\n\r\n"},
      {u"pi 3.14", u"pi 3.14\r\n\r\n"},
      {u"", u"\r\n\r\n"},
      // A final "." never splits; neither does the full-width full stop or a full-width digit.
      {u"a 1.", u"a 1.\r\n\r\n"},
      {u"a 1。b ２.c", u"a 1。b ２.c\r\n\r\n"},
      {u"x12.y", u"x\r\n\r\n12.y\r\n\r\n"},
      {u"  a  1.b  ", u"a\r\n\r\n1.b\r\n\r\n"},
      // The scan resumes two places after the full stop, inside "2345".
      {u"1.2345.x", u"1.2\r\n\r\n345.x\r\n\r\n"},
      {u"1a2.b", u"1a\r\n\r\n2.b\r\n\r\n"},
      {u"1.\r\n2.", u"\r\n\r\n1.\r\n2.\r\n\r\n"},
  };
  ExpectRewrites(cases, SplitLines);
}

TEST(CaseMapping, ChangesAsciiLettersOnly) {
  const Case upper[] = {{u"aé１ｂz", u"Aé１ｂZ"}, {u"", u""}};
  const Case lower[] = {{u"\u00C0BCÉ", u"\u00C0bcÉ"}, {u"", u""}};
  ExpectRewrites(upper, MakeUppercase);
  ExpectRewrites(lower, MakeLowercase);
}

}  // namespace
}  // namespace scrivano
