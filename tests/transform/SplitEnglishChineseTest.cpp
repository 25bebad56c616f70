#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "functions/FunctionTable.h"
#include "settings/ParameterStore.h"
#include "support/TestPrompts.h"
#include "text/Lists.h"
#include "text/Tokenizers.h"
#include "transform/SplitEnglishChinese.h"

namespace scrivano {
namespace {

// Run lengths 3/1, parameter 5 "#"; answers: No to "Delete number-only lines ?", Yes to "Replace RETURN
// with SPACE ?".
Text Split(TextView text, bool sameLine) {
  test::TestPrompts prompts{u"no", u"yes"};
  test::SetParameter(Param::kSplitRunLengths, u"3/1");
  test::SetParameter(Param::kDroppedLines, u"#");
  Text work(text);
  SplitEnglishChinese(work, sameLine);
  EXPECT_EQ(prompts.AnswersLeft(), 0u);
  return work;
}

TEST(SplitEnglishChinese, PairsSegmentsOfEachLanguage) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"Good morning.\r\n\u65E9\u4E0A\u597D\u3002\r\nHow are you?\r\n\u4F60\u597D\u5417\uFF1F\r\n",
       u"Good morning.\r\n\u65E9\u4E0A\u597D\u3002\r\n\r\nHow are you?\r\n\u4F60\u597D\u5417\uFF1F\r\n"},
      // The initials of the Western segment go with the Chinese one.
      {u"World Trade Organization WTO \u4E16\u754C\u8D38\u6613\u7EC4\u7EC7 next term \u4E0B\u4E00\u4E2A",
       u"World Trade Organization\r\nWTO\u4E16\u754C\u8D38\u6613\u7EC4\u7EC7\r\n\r\nnext term\r\n"
       u"\u4E0B\u4E00\u4E2A\r\n"},
      // A number before "hours" goes with the Chinese piece.
      {u"Open 24 \u5C0F\u65F6 service \u8425\u4E1A\u65F6\u95F4 more text",
       u"Open\r\n24\u5C0F\u65F6\r\n\r\nservice\r\n\u8425\u4E1A\u65F6\u95F4\r\n\r\nmore text\r\n"},
      // A short Western run stays in the Chinese piece.
      {u"\u4F7F\u7528 USB \u63A5\u53E3 Use the USB port \u4E2D\u6587\u7ED3\u675F",
       u"\u4F7F\u7528USB\u63A5\u53E3\r\nUse the USB port\r\n\r\n\u4E2D\u6587\u7ED3\u675F\r\n"},
      // A bracketed group inside a Chinese piece is passed over whole.
      {u"Press (Enter) \u6309\u56DE\u8F66\u952E\uFF08Enter\uFF09\u7EE7\u7EED done again",
       u"Press (Enter)\r\n\u6309\u56DE\u8F66\u952E\uFF08Enter\uFF09\u7EE7\u7EED\r\n\r\ndone again\r\n"},
      // A foreign run reaching the end inside the look-ahead is never split off.
      {u"Hello world \u4F60\u597D", u"Hello world\u4F60\u597D\r\n"},
      {u"Hello world \u4F60\u597D\u5417", u"Hello world\r\n\u4F60\u597D\u5417\r\n"},
      // An opening quotation mark goes with the new segment; the closing one is Chinese.
      {u"\u4E2D\u6587\u4E2D\u6587\u201CHello there\u201D\u4E2D\u6587\u4E2D\u6587",
       u"\u4E2D\u6587\u4E2D\u6587\r\n\"Hello there\r\n\r\n\u201D\u4E2D\u6587\u4E2D\u6587\r\n"},
      // A closing parenthesis stays with the old segment.
      {u"\u4E2D\u6587\u4E2D\u6587) Hello world", u"\u4E2D\u6587\u4E2D\u6587\uFF09\r\nHello world\r\n"},
      {u"", u"\r\n"},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(ToUtf8(Split(text, false)), ToUtf8(expected)) << ToUtf8(text);
}

TEST(SplitEnglishChinese, SameLinePutsATabBetweenSourceAndTarget) {
  EXPECT_EQ(
      Split(u"Good morning.\r\n\u65E9\u4E0A\u597D\u3002\r\nHow are you?\r\n\u4F60\u597D\u5417\uFF1F\r\n",
            true),
      u"Good morning.\t\u65E9\u4E0A\u597D\u3002\r\nHow are you?\t\u4F60\u597D\u5417\uFF1F\r\n");
}

TEST(SplitEnglishChinese, AsksTheQuestionsInOrder) {
  test::TestPrompts prompts{u"no", u"yes", u"no"};
  test::SetParameter(Param::kDroppedLines, u"#");
  Text text = u"Hello there\r\n2024\r\n#\r\n\u4F60\u597D\u4F60\u597D";
  TaskContext context;
  context.workingText = &text;
  EXPECT_TRUE(FindFunctionEntry("14")->run(context));
  ASSERT_EQ(prompts.dialogs().size(), 3u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Keep source and target in different lines ?");
  EXPECT_EQ(prompts.dialogs()[1].text, u"Delete number-only lines ?");
  EXPECT_EQ(prompts.dialogs()[2].text, u"Replace RETURN with SPACE ? (if No, with EMPTY STRING)");
  for (const auto& dialog : prompts.dialogs()) EXPECT_EQ(dialog.caption, u"Notice");
  // No to the first question: one pair per line. Yes to the second drops "2024"; No to the third joins
  // the lines without a space. Run lengths 0/0 split at the first foreign character.
  EXPECT_EQ(text, u"Hello there\t\u4F60\u597D\u4F60\u597D\r\n");
}

TEST(SplitEnglishChinese, WithoutALineListTheSplitGoesOn) {
  test::TestPrompts prompts{u"no"};
  test::SetParameter(Param::kSplitRunLengths, u"3/1");
  Text text = u"abc\r\ndef";
  SplitEnglishChinese(text, false);
  EXPECT_EQ(text, u"abcdef\r\n");
  ASSERT_EQ(prompts.dialogs().size(), 2u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Wrong parameter format!");
}

TEST(SplitEnglishChinese, RunLengthsAtTheTopOfTheRangeDoNotWrapRound) {
  test::TestPrompts prompts{u"yes"};
  test::SetParameter(Param::kSplitRunLengths, u"2147483647/99999999999");
  Text text = u"Hello world \u4F60\u597D\u5417 more";
  SplitEnglishChinese(text, false);
  EXPECT_EQ(text, u"Hello world\u4F60\u597D\u5417more\r\n");
}

TEST(SplitEnglishChinese, OneRunLengthServesBoth) {
  test::TestPrompts prompts{u"yes", u"yes"};
  // "1" alone: M is 1 too, so a two-character Chinese run splits a Western segment.
  test::SetParameter(Param::kSplitRunLengths, u"1");
  Text text = u"Hello world \u4F60\u597D\u5417";
  SplitEnglishChinese(text, false);
  EXPECT_EQ(text, u"Hello world\r\n\u4F60\u597D\u5417\r\n");
  // "5/" too.
  test::SetParameter(Param::kSplitRunLengths, u"5/");
  text = u"Hello world \u4F60\u597D\u5417";
  SplitEnglishChinese(text, false);
  EXPECT_EQ(text, u"Hello world\u4F60\u597D\u5417\r\n");
}

TEST(SplitEnglishChinese, NeutralCharactersNeverStartAChange) {
  const Text input = u"Hello \u201Cworld\u201D again";
  test::TestPrompts prompts{u"yes", u"yes"};
  test::SetParameter(Param::kSplitRunLengths, u"3/0");
  test::SetParameter(Param::kNeutralChars, u"\u201C\t\u201D");
  Text text = input;
  SplitEnglishChinese(text, false);
  EXPECT_EQ(text, u"Hello \"world\" again\r\n");
  test::SetParameter(Param::kNeutralChars, u"");
  text = input;
  SplitEnglishChinese(text, false);
  EXPECT_NE(text, u"Hello \"world\" again\r\n");
}

TEST(SplitEnglishChinese, MissingBracketIsReportedAndScannedAsACharacter) {
  test::TestPrompts prompts{u"no", u"yes"};
  test::SetParameter(Param::kSplitRunLengths, u"3/1");
  test::SetParameter(Param::kDroppedLines, u"#");
  Text text = u"\u4F60\u597D(\u7F3A\u5C11 abc def ghi";
  SplitEnglishChinese(text, false);
  EXPECT_EQ(text, u"\u4F60\u597D\uFF08\u7F3A\u5C11\r\nabc def ghi\r\n");
  ASSERT_EQ(prompts.Messages(), (std::vector<Text>{u"(\u7F3A\u5C11abc def ghi"}));
  EXPECT_EQ(prompts.dialogs()[2].caption, u"Missing bracket !");
}

TEST(SplitEnglishChinese, EveryUnclosedBracketIsReportedOnceAndNestedGroupsStillClose) {
  test::TestPrompts prompts{u"no", u"yes"};
  test::SetParameter(Param::kSplitRunLengths, u"3/1");
  test::SetParameter(Param::kDroppedLines, u"#");
  Text text = u"\u4E2D\uFF08\u4E2D\uFF08\u4E2D\uFF08x\uFF09\u4E2D\u3014\u4E2D";
  SplitEnglishChinese(text, false);
  EXPECT_EQ(text, u"\u4E2D\uFF08\u4E2D\uFF08\u4E2D\uFF08x\uFF09\u4E2D\u3014\u4E2D\r\n");
  EXPECT_EQ(prompts.Messages(),
            (std::vector<Text>{u"\uFF08\u4E2D\uFF08\u4E2D\uFF08x\uFF09\u4E2D\u3014\u4E2D",
                               u"\uFF08\u4E2D\uFF08x\uFF09\u4E2D\u3014\u4E2D", u"\u3014\u4E2D"}));
}

TEST(SplitEnglishChinese, SplitAtTheVeryStartStaysThere) {
  // With run lengths 0/0 a text that the six-character test calls Chinese but that begins with a
  // Western character splits at 0 and at 1; the opening parenthesis before 1 does not move the split.
  test::TestPrompts prompts{u"no", u"yes"};
  test::SetParameter(Param::kSplitRunLengths, u"0");
  test::SetParameter(Param::kDroppedLines, u"#");
  Text text = u"(\u4E2D\u6587\u4E2D\u6587\u4E2D";
  SplitEnglishChinese(text, false);
  EXPECT_EQ(text, u"\r\n(\r\n\r\n\u4E2D\u6587\u4E2D\u6587\u4E2D\r\n");
  EXPECT_EQ(prompts.Messages(), (std::vector<Text>{u"(\u4E2D\u6587\u4E2D\u6587\u4E2D"}));
}

TEST(DropListedLines, DropsListedAndOptionallyNumberOnlyLines) {
  test::TestPrompts prompts{u"no", u"yes"};
  Text text = u"#\r\n #\r\n2024\r\n20a4\r\n\r\nkeep\r\n";
  DropListedLines(text, u":#\tskip");
  EXPECT_EQ(text, u"\r\n #\r\n2024\r\n20a4\r\n\r\nkeep");
  text = u"#\r\n #\r\n2024\r\n20a4\r\n\r\nskip\r\nkeep";
  DropListedLines(text, u": #\tskip");
  EXPECT_EQ(text, u"\r\n #\r\n20a4\r\nkeep");
}

TEST(DropListedLines, MatchesTheLineByLineCopy) {
  const TextView pieces[] = {u"\r\n", u"\r\n", u"#", u"12", u"0", u"a", u" ", u"\r", u"\n", u"skip", u"\t"};
  std::mt19937 random(8);
  for (int round = 0; round < 3000; ++round) {
    Text text;
    for (unsigned k = random() % 25; k > 0; --k) text += pieces[random() % std::size(pieces)];
    const bool deleteNumbers = round % 2 == 0;
    // The former way: every line of a copy, cut with NextToken, appended after "\r\n" unless dropped.
    Text expected;
    Text line;
    int pos = 0;
    do {
      NextToken(text, pos, line, u"\r\n");
      if (IsListItem(u"#\tskip", line, u"\t")) continue;
      if (deleteNumbers && line.find_first_not_of(u"0123456789") == Text::npos) continue;
      expected += u"\r\n" + line;
    } while (pos != 0);
    test::TestPrompts prompts{deleteNumbers ? u"yes" : u"no"};
    DropListedLines(text, u":#\tskip");
    ASSERT_EQ(text, expected) << round;
  }
}

TEST(DropListedLines, EmptyListLeavesTheTextAndAsksNothing) {
  test::TestPrompts prompts;
  Text text = u"a\r\n2";
  DropListedLines(text, u":  ");
  EXPECT_EQ(text, u"a\r\n2");
  EXPECT_EQ(prompts.Messages(), (std::vector<Text>{u"Wrong parameter format!"}));
}

TEST(SkipBracketGroup, SkipsToJustAfterTheMatchingBracket) {
  struct Case {
    const char16_t* text;
    int pos;
    int expected;
  };
  const Case cases[] = {
      {u"a(b)c", 0, 0},         {u"a(b)c", 1, 4},          {u"((a)b)c", 0, 6}, {u"\uFF08a)b", 0, 3},
      {u"\u3014a\u3015", 0, 3}, {u"(a\uFF09\uFF09", 0, 3}, {u"(()x)", 0, 5},
  };
  test::TestPrompts prompts;
  for (const Case& c : cases)
    EXPECT_EQ(SkipBracketGroup(c.text, c.pos, Length(c.text)), c.expected) << ToUtf8(c.text);
  EXPECT_TRUE(prompts.dialogs().empty());
}

TEST(SkipBracketGroup, UnclosedGroupShowsEighteenCharacters) {
  test::TestPrompts prompts;
  const Text text = u"x(()0123456789abcdefghij";
  EXPECT_EQ(SkipBracketGroup(text, 1, Length(text)), 1);
  EXPECT_EQ(SkipBracketGroup(u"(a)", 0, 2), 0);
  EXPECT_EQ(prompts.Messages(), (std::vector<Text>{u"(()0123456789abcde", u"(a)"}));
}

TEST(KeepTrailingTerm, MovesTheSplitBeforeATermOfTheNextSegment) {
  struct Case {
    const char16_t* text;
    int segStart;
    int split;
    int expected;
  };
  const Case cases[] = {
      {u"World Trade Organization WTO\u4E16", 0, 28, 25},
      {u"Apple pie apple\u4E2D", 0, 15, 10},
      {u"Open 24\u5C0F\u65F6", 0, 7, 5},
      {u"Open 24\u5C0F", 0, 7, 7},
      {u"Type T\u578B", 0, 6, 5},
      {u"Vitamin C\u7D20", 0, 9, 9},
      {u"Anti-Braking System ABS\u9632", 0, 23, 20},
      {u"World Trade WTO\u4E2D", 0, 15, 15},
      {u"word Word\u4E2D", 0, 9, 5},
      // The segment's start is not searched for the space.
      {u"x ab\u4E2D", 1, 4, 4},
      {u"ab", 0, 1, 1},
  };
  for (const Case& c : cases) {
    int split = c.split;
    KeepTrailingTerm(c.text, c.segStart, split);
    EXPECT_EQ(split, c.expected) << ToUtf8(c.text);
  }
}

}  // namespace
}  // namespace scrivano
