#include <gtest/gtest.h>

#include "prompt/SelectionPrompt.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

const Text kSep(1, kOptionSeparator);
const Text kBel(1, kCaptionEnd);

TEST(ParsePrompt, CaptionMessageAndOptions) {
  struct Case {
    Text prompt;
    bool hasCaptionMark;
    Text caption;
    Text message;
    std::vector<Text> options;
  } cases[] = {
      {u"Please select an option:" + kSep + u"1. Up down" + kSep + u"2. Left right",
       false,
       u"",
       u"Please select an option:",
       {u"1. Up down", u"2. Left right"}},
      {u"Title" + kBel + u"Message", true, u"Title", u"Message", {}},
      {u"Only a message", false, u"", u"Only a message", {}},
      {kBel + u"m" + kSep + u"a", true, u"", u"m", {u"a"}},
      {u"m" + kSep + u"a" + kSep, false, u"", u"m", {u"a"}},  // a trailing separator adds no option
      {u"m" + kSep, false, u"", u"m", {}},
      {u"m" + kSep + kSep + u"b", false, u"", u"m", {u"", u"b"}},
      {u"", false, u"", u"", {}},
  };
  for (const Case& c : cases) {
    const PromptParts parts = ParsePrompt(c.prompt);
    EXPECT_EQ(parts.hasCaptionMark, c.hasCaptionMark);
    EXPECT_EQ(parts.caption, c.caption);
    EXPECT_EQ(parts.message, c.message);
    EXPECT_EQ(parts.options, c.options);
  }
}

TEST(ParsePrompt, OneLineMessagesStandOnTheSecondLine) {
  EXPECT_EQ(ParsePrompt(u"one line").DisplayMessage(), u"\r\none line");
  EXPECT_EQ(ParsePrompt(u"two\r\nlines").DisplayMessage(), u"two\r\nlines");
}

TEST(Prompts, WithoutAHandlerQuestionsAreCancelled) {
  SetPromptHandler(nullptr);
  Text prompt = u"m" + kSep + u"a";
  EXPECT_FALSE(AskSelection(prompt));
  EXPECT_EQ(prompt, u"m" + kSep + u"a");
  EXPECT_FALSE(AskYesNo(u"q", u"Notice"));
  EXPECT_EQ(ShowNotice(u"n"), kResultOk);
}

TEST(Prompts, ReachTheHandlerWithTheirCaptionsAndButtons) {
  test::TestPrompts prompts{u"yes", u"no", u"2. b"};
  EXPECT_TRUE(AskYesNo(u"Keep?", u"Notice"));
  EXPECT_FALSE(AskYesNo(u"Keep?", u"Notice"));
  ShowNotice(u"note");
  Text prompt = u"Pick" + kSep + u"1. a" + kSep + u"2. b";
  EXPECT_TRUE(AskSelection(prompt));
  EXPECT_EQ(prompt, u"2. b");
  EXPECT_EQ(LastSelectedItem(), u"2. b");
  ASSERT_EQ(prompts.dialogs().size(), 4u);
  EXPECT_EQ(prompts.dialogs()[2].caption, u"Notice");
  EXPECT_EQ(prompts.dialogs()[2].kind, test::Dialog::Kind::kMessage);
}

Text Marked(TextView english) {
  return u"zh:" + Text(english);
}

TEST(Prompts, ShowTheirTextsInTheUsersLanguageAndAnswerWithTheCallersOption) {
  struct Case {
    Text answer;  // what the user confirms: a shown option or typed text
    Text result;  // what the caller gets back
    Text lastItem;
  } cases[] = {
      {u"zh:2. b", u"2. b", u"2. b"},
      {u"7", u"7", u"1. a"},  // typed: as it is; the list still had its first item selected
  };
  SetShownTextFunction(&Marked);
  for (const Case& c : cases) {
    test::TestPrompts prompts{c.answer, u"yes"};
    Text prompt = u"Title" + kBel + u"Pick" + kSep + u"1. a" + kSep + u"2. b";
    EXPECT_TRUE(AskSelection(prompt));
    EXPECT_EQ(prompt, c.result);
    EXPECT_EQ(LastSelectedItem(), c.lastItem);
    EXPECT_TRUE(AskYesNo(u"Keep?", u"Notice"));
    ASSERT_EQ(prompts.dialogs().size(), 2u);
    EXPECT_EQ(prompts.dialogs()[0].caption, u"zh:Title");
    EXPECT_EQ(prompts.dialogs()[0].text, u"zh:Pick");
    EXPECT_EQ(prompts.dialogs()[0].options, (std::vector<Text>{u"zh:1. a", u"zh:2. b"}));
    EXPECT_EQ(prompts.dialogs()[1].caption, u"zh:Notice");
    EXPECT_EQ(prompts.dialogs()[1].text, u"zh:Keep?");
  }
  SetShownTextFunction(nullptr);
}

}  // namespace
}  // namespace scrivano
