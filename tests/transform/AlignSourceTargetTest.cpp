#include <gtest/gtest.h>

#include <vector>

#include "support/TestPrompts.h"
#include "transform/AlignSourceTarget.h"

namespace scrivano {
namespace {

using test::Dialog;
using test::TestPrompts;
using Texts = std::vector<Text>;

constexpr char16_t kNotInPairs[] = u"Source and target are not in pairs!";

struct Case {
  Text input;
  Text expected;
  Texts messages;  // texts of the message boxes, in order
};

void ExpectMessageCaptions(const TestPrompts& prompts, TextView caption) {
  for (const Dialog& dialog : prompts.dialogs()) {
    if (dialog.kind == Dialog::Kind::kMessage) {
      EXPECT_EQ(dialog.caption, caption) << ToUtf8(dialog.text);
    }
  }
}

TEST(AlignSourceTarget, AsksWithTheFourListedConversions) {
  TestPrompts prompts{u"<cancel>"};
  Text text = u"a\r\nb";
  AlignSourceTarget(text);
  EXPECT_EQ(text, u"a\r\nb");
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  const Dialog& dialog = prompts.dialogs()[0];
  EXPECT_EQ(dialog.caption, u"");
  EXPECT_EQ(dialog.text, u"Please select an option:");
  EXPECT_EQ(dialog.options, (Texts{u"1. Source + Return + Target -> Source + Tab + Target",
                                   u"2. Source + Tab + Target -> Source + Return + Target",
                                   u"3. Src file + ===== + Trg file  -> Source + Tab + Target",
                                   u"4. TMX format  -> Source + Tab + Target"}));
}

TEST(AlignSourceTarget, DispatchesOnTheAnswersLeadingNumber) {
  const struct {
    Text answer;
    Text input;
    Text expected;
  } cases[] = {
      {u"1. Source + Return + Target -> Source + Tab + Target", u"a\r\nb", u"\r\na\tb"},
      {u"2. Source + Tab + Target -> Source + Return + Target", u"a\tb", u"\r\na\r\nb\r\n"},
      {u"3", u"s1\r\ns2\r\n=====\r\nt1\r\nt2", u"\r\ns1\tt1\r\ns2\tt2"},
      {u"4. TMX format  -> Source + Tab + Target", u"<seg>a</seg><seg>b</seg>", u"\r\na\tb"},
      {u" 5", u"apple/苹果", u"\r\napple\t苹果"},  // typed, unlisted
  };
  for (const auto& c : cases) {
    TestPrompts prompts{c.answer};
    Text text = c.input;
    AlignSourceTarget(text);
    EXPECT_EQ(text, c.expected) << ToUtf8(c.answer);
    EXPECT_TRUE(prompts.Messages().empty()) << ToUtf8(c.answer);
  }
}

TEST(AlignSourceTarget, UnknownNumberIsReportedAndChangesNothing) {
  for (const Text answer : {u"7", u"0", u"x"}) {
    TestPrompts prompts{answer};
    Text text = u"a\r\nb";
    AlignSourceTarget(text);
    EXPECT_EQ(text, u"a\r\nb");
    EXPECT_EQ(prompts.Messages(), Texts{u"Wrong operation number!"});
    ExpectMessageCaptions(prompts, u"Notice");
  }
}

TEST(ReturnPairsToTabPairs, PairsNonBlankLinesTwoAtATime) {
  const Case cases[] = {
      {u"", u"", {}},
      {u"a\r\nb", u"\r\na\tb", {}},
      {u"  a \r\n\r\n\t b\t\r\n", u"\r\na\tb", {}},
      {u"a\r\nb\r\n \r\n", u"\r\na\tb", {}},
      {u"a\r\n\r\nb\r\nc", u"\r\na\tb", {u"Source: c\r\n\r\nTarget: "}},
      // The last line ends in a line break: still a source without partner.
      {u"a\r\nb\r\nc\r\n", u"\r\na\tb", {u"Source: c\r\n\r\nTarget: "}},
      {u"a\r\n\r\n", u"", {u"Source: a\r\n\r\nTarget: "}},
  };
  for (const Case& c : cases) {
    TestPrompts prompts;
    EXPECT_EQ(ReturnPairsToTabPairs(c.input), c.expected) << ToUtf8(c.input);
    EXPECT_EQ(prompts.Messages(), c.messages) << ToUtf8(c.input);
    ExpectMessageCaptions(prompts, kNotInPairs);
  }
}

TEST(TabPairsToReturnPairs, AbnormalPairsComeFirstUnderTheBanner) {
  const Case cases[] = {
      {u"a\tb\r\nc\r\nd\te\tf",
       u"\r\nc\r\nc\r\n\r\nd\r\ne\tf\r\n"
       u"\r\n====================  Above are abnormal pairs  ====================\r\n"
       u"\r\na\r\nb\r\n",
       {}},
      {u"x\tx",
       u"\r\nx\r\nx\r\n\r\n====================  Above are abnormal pairs  ====================\r\n",
       {}},
      // Cut at the first tab of the trimmed line; source and target are not trimmed again.
      {u" a \t b \r\n", u"\r\na \r\n b\r\n", {}},
      {u"***** note\r\na\tb\r\n  *****x\ty", u"\r\na\r\nb\r\n", {}},
      {u"", u"", {}},
  };
  for (const Case& c : cases) {
    TestPrompts prompts;
    EXPECT_EQ(TabPairsToReturnPairs(c.input), c.expected) << ToUtf8(c.input);
    EXPECT_TRUE(prompts.Messages().empty());
  }
}

TEST(PairSections, PairsTheFirstTwoSectionsLineByLine) {
  const Case cases[] = {
      {u"s1\r\ns2\r\n=====\r\nt1\r\nt2", u"\r\ns1\r\nt1\r\n\r\ns2\r\nt2\r\n", {}},
      // The longer side's remaining lines are dropped without a message.
      {u"s1\r\ns2\r\ns3\r\n=====\r\nt1\r\nt2", u"\r\ns1\r\nt1\r\n\r\ns2\r\nt2\r\n", {}},
      {u"s1\r\n=====\r\nt1\r\nt2", u"\r\ns1\r\nt1\r\n", {}},
      // A third section is not part of the pairing.
      {u"s1\r\n=====\r\nt1\r\n=====\r\nu1", u"\r\ns1\r\nt1\r\n", {}},
      {u"***** a\r\ns1\r\n=====\r\nt1\r\n*****b", u"\r\ns1\r\nt1\r\n", {}},
      // A blank line after the last source line keeps the walk going: the next target line is unpaired.
      {u"s1\r\n\r\n=====\r\nt1\r\nt2", u"\r\ns1\r\nt1\r\n", {u"Source: \r\n\r\nTarget: t2"}},
      {u"s1\r\ns2\r\n=====\r\n\r\nt1\r\n\r\n", u"\r\ns1\r\nt1\r\n", {u"Source: s2\r\n\r\nTarget: "}},
  };
  for (const Case& c : cases) {
    TestPrompts prompts;
    EXPECT_EQ(PairSections(c.input, PairLayout::kSourceAboveTarget), c.expected) << ToUtf8(c.input);
    EXPECT_EQ(prompts.Messages(), c.messages) << ToUtf8(c.input);
    ExpectMessageCaptions(prompts, kNotInPairs);
  }
}

TEST(PairSections, WritesEachLayout) {
  const Text input = u"s1\r\ns2\r\n=====\r\nt1\r\nt2";
  const Text expected[] = {u"\r\ns1\r\nt1\r\n\r\ns2\r\nt2\r\n", u"\r\ns1\tt1\r\ns2\tt2",
                           u"\r\nt1\r\ns1\r\n\r\nt2\r\ns2\r\n", u"\r\nt1\ts1\r\nt2\ts2"};
  for (int layout = 1; layout <= 4; ++layout) {
    TestPrompts prompts;
    EXPECT_EQ(PairSections(input, layout), expected[layout - 1]) << layout;
  }
  TestPrompts prompts;
  EXPECT_EQ(PairSections(input, 5), u"");
  EXPECT_EQ(prompts.Messages(), (Texts{u"Wrong operation number!", u"Wrong operation number!"}));
  ExpectMessageCaptions(prompts, u"Notice");
}

TEST(PairSections, WithoutSeparator_ReportsTheMissingSectionThenTheFirstLine) {
  TestPrompts prompts;
  EXPECT_EQ(PairSections(u"s1\r\ns2", PairLayout::kSourceTabTarget), u"");
  ASSERT_EQ(prompts.dialogs().size(), 2u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Could not get another section!");
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
  EXPECT_EQ(prompts.dialogs()[1].text, u"Source: s1\r\n\r\nTarget: ");
  EXPECT_EQ(prompts.dialogs()[1].caption, kNotInPairs);
}

TEST(TmxToTabPairs, TakesSegmentsTwoAtATime) {
  const Case cases[] = {
      {u"<tu><tuv><seg>Hello</seg></tuv><tuv><seg>你好</seg></tuv></tu>", u"\r\nHello\t你好", {}},
      // Ending exactly with the last "</seg>" keeps the last pair and reports nothing.
      {u"<seg>a</seg><seg>b</seg>", u"\r\na\tb", {}},
      {u"<seg>a</seg><seg>b</seg>\r\n<seg>c</seg><seg>d</seg>", u"\r\na\tb\r\nc\td", {}},
      {u"<seg>&amp; <b>x</b></seg> <seg></seg>", u"\r\n&amp; <b>x</b>\t", {}},
      {u"no segments", u"", {}},
      {u"", u"", {}},
      // Unbalanced: what was converted stays, possibly a source without its target.
      {u"<seg>a</seg><seg>b", u"\r\na", {u"Something wrong!"}},
      {u"<seg>a</seg><seg>b</seg><seg>c</seg>", u"\r\na\tb\r\nc", {u"Something wrong!"}},
      {u"<seg>a", u"", {u"Something wrong!"}},
      {u"<seg>a</seg><seg>b</seg><seg>", u"\r\na\tb", {u"Something wrong!"}},
      // Attributes are not supported: "<seg " is no segment start.
      {u"<seg lang=\"en\">a</seg><seg>b</seg>", u"\r\nb", {u"Something wrong!"}},
  };
  for (const Case& c : cases) {
    TestPrompts prompts;
    Text text = c.input;
    TmxToTabPairs(text);
    EXPECT_EQ(text, c.expected) << ToUtf8(c.input);
    EXPECT_EQ(prompts.Messages(), c.messages) << ToUtf8(c.input);
    ExpectMessageCaptions(prompts, u"Notice");
  }
}

TEST(GlossaryToTabPairs, SplitsAtTheFirstMark) {
  const Case cases[] = {
      {u"apple [ˈæpl] 苹果", u"\r\napple \t[ˈæpl] 苹果", {}},
      {u"apple/苹果", u"\r\napple\t苹果", {}},
      {u"pear【名】梨", u"\r\npear\t【名】梨", {}},
      {u"word〖x〗词", u"\r\nword\t〖x〗词", {}},
      {u"tea丨茶", u"\r\ntea\t丨茶", {}},
      // The earliest mark wins, whatever its place in the list.
      {u"ab[c/d", u"\r\nab\t[c/d", {}},
      // No mark, a mark at 0 or 1, or a non-English head: the line continues the previous output line.
      {u"apple/苹果\r\nmore text\r\n/x\r\na/b\r\n苹果树/apple",
       u"\r\napple\t苹果more text/xa/b苹果树/apple",
       {}},
      {u"  \r\nfirst\r\nsecond/二", u"first\r\nsecond\t二", {}},
      // Em dash lines with a number as first or last word are dropped; without a space, always.
      {u"第 — 12\r\n12 — 章\r\nx—y\r\nkeep — this", u"keep — this", {}},
      {u"", u"", {}},
  };
  for (const Case& c : cases) {
    TestPrompts prompts;
    Text text = c.input;
    GlossaryToTabPairs(text);
    EXPECT_EQ(text, c.expected) << ToUtf8(c.input);
  }
}

TEST(GlossaryToTabPairs, LinesSplitAtAClosingMarkComeFirst) {
  TestPrompts prompts;
  Text text = u"apple] x\r\npear/梨\r\nfig】y";
  GlossaryToTabPairs(text);
  EXPECT_EQ(text, u"\r\napple] x\r\nfig】y\r\n\r\n=========================\r\n\r\npear\t梨");
  EXPECT_TRUE(prompts.dialogs().empty());
}

}  // namespace
}  // namespace scrivano
