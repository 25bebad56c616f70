#include <gtest/gtest.h>

#include <vector>

#include "support/TestPrompts.h"
#include "transform/AlignSourceTarget.h"
#include "transform/TradosFormats.h"

namespace scrivano {
namespace {

using test::TestPrompts;
using Texts = std::vector<Text>;

TEST(GenerateTradosFormat, WrapsEverySentenceOfEveryLine) {
  const struct {
    Text input;
    Text expected;
  } cases[] = {
      {u"Hello world. Bye.", u"{0>Hello world.<}0{>Hello world.<0} {0>Bye.<}0{>Bye.<0}\r\n"},
      {u"A.  B", u"{0>A.<}0{>A.<0} {0> B<}0{> B<0}\r\n"},
      {u"", u"\r\n"},
      {u"a\r\n\r\nb", u"{0>a<}0{>a<0}\r\n\r\n{0>b<}0{>b<0}\r\n"},
      {u"a\r\n", u"{0>a<}0{>a<0}\r\n"},
      // A trailing ". " leaves the separating space; a white-space line stays as it is.
      {u"Hi. ", u"{0>Hi.<}0{>Hi.<0} \r\n"},
      {u" \t ", u" \t \r\n"},
      // Only ". " splits.
      {u"Why? No! 好。是. v1.2 end.",
       u"{0>Why? No! 好。是.<}0{>Why? No! 好。是.<0} {0>v1.2 end.<}0{>v1.2 end.<0}\r\n"},
      {u"x.\ty", u"{0>x.\ty<}0{>x.\ty<0}\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(GenerateTradosFormat(c.input), c.expected) << ToUtf8(c.input);
}

TEST(ExtractTradosSide, JoinsTheEnglishSideWithSpaces) {
  const struct {
    Text input;
    Text source;
    Text target;
    bool reported;  // the first line is shown as "Wrong Trados format", once for each side
  } cases[] = {
      {u"{0>Hello.<}0{>你好。<0} {0>Bye.<}0{>再见。<0}", u"\r\n Hello. Bye.", u"\r\n你好。再见。", false},
      // An English target: the joiner stands before the text between segments and before each target.
      {u"{0>你好。<}0{>Hello.<0} {0>再见。<}0{>Bye.<0}", u"\r\n你好。再见。", u"\r\n  Hello.  Bye.", false},
      // Sources and targets are not trimmed; the text between segments is.
      {u"a {0> s <}0{> t <0} b ", u"\r\n a s  b", u"\r\na t b", false},
      // Every line contributes, even an empty one or one without markup.
      {u"{0>a<}0{>甲<0}\r\n\r\nplain", u"\r\n a\r\n \r\n plain", u"\r\n甲\r\n\r\nplain", false},
      {u"", u"\r\n ", u"\r\n", false},
      // Broken markup keeps what was taken before the fault, and the next line still converts.
      {u"{0>abc\r\n{0>x<}0{>y<0}", u"\r\n \r\n x", u"\r\n\r\ny", true},
      {u"{0>a<}0{>b\r\n{0>x<}0{>y<0}", u"\r\n a\r\n x", u"\r\n\r\ny", true},
      {u"{0>a<}0{>b<0} {0>c", u"\r\n a ", u"\r\nb", true},
  };
  for (const auto& c : cases) {
    TestPrompts prompts;
    EXPECT_EQ(ExtractTradosSide(c.input, true), c.source) << ToUtf8(c.input);
    EXPECT_EQ(ExtractTradosSide(c.input, false), c.target) << ToUtf8(c.input);
    const Text firstLine = c.input.substr(0, c.input.find(u"\r\n"));
    EXPECT_EQ(prompts.Messages(), c.reported ? (Texts{firstLine, firstLine}) : Texts{}) << ToUtf8(c.input);
    for (const test::Dialog& dialog : prompts.dialogs()) EXPECT_EQ(dialog.caption, u"Wrong Trados format");
  }
}

TEST(TradosToPairs, PairsTheSidesInEachLayout) {
  const Text input = u"{0>Hello.<}0{>你好。<0} {0>Bye.<}0{>再见。<0}\r\n{0>Yes.<}0{>是。<0}";
  const Text expected[] = {u"\r\nHello. Bye.\r\n你好。再见。\r\n\r\nYes.\r\n是。\r\n",
                           u"\r\nHello. Bye.\t你好。再见。\r\nYes.\t是。",
                           u"\r\n你好。再见。\r\nHello. Bye.\r\n\r\n是。\r\nYes.\r\n",
                           u"\r\n你好。再见。\tHello. Bye.\r\n是。\tYes."};
  for (int layout = 1; layout <= 4; ++layout) {
    TestPrompts prompts;
    EXPECT_EQ(TradosToPairs(input, layout), expected[layout - 1]) << layout;
    EXPECT_TRUE(prompts.dialogs().empty());
  }
}

TEST(TradosToPairs, SeparatorLinesInTheDocumentAreOrdinaryLines) {
  TestPrompts prompts;
  EXPECT_EQ(TradosToPairs(u"{0>a<}0{>甲<0}\r\n=====\r\n{0>b<}0{>乙<0}\r\n{0>c=====<}0{>丙<0}",
                          PairLayout::kSourceTabTarget),
            u"\r\na\t甲\r\n=====\t=====\r\nb\t乙\r\nc=====\t丙");
  EXPECT_TRUE(prompts.dialogs().empty());
}

TEST(TradosToPairs, SkipsStarLinesAndReportsUnpairedSides) {
  TestPrompts prompts;
  // The star line has no markup, so it stands on both sides and is skipped on both.
  EXPECT_EQ(TradosToPairs(u"***** note\r\n{0>a<}0{>甲<0}", PairLayout::kSourceTabTarget), u"\r\na\t甲");
  // A segment with an empty target leaves the target side one line short.
  EXPECT_EQ(TradosToPairs(u"{0>a<}0{>甲<0}\r\n{0>b<}0{><0}\r\n{0>c<}0{>丙<0}", PairLayout::kSourceTabTarget),
            u"\r\na\t甲\r\nb\t丙");
  // Ending with a blank line, the target side is not at its end after its last line, so the next source
  // line finds no partner.
  EXPECT_EQ(TradosToPairs(u"{0>a<}0{>甲<0}\r\n{0>b<}0{><0}\r\n\r\n", PairLayout::kSourceTabTarget),
            u"\r\na\t甲");
  EXPECT_EQ(prompts.Messages(), Texts{u"Source: b\r\n\r\nTarget: "});
  EXPECT_EQ(prompts.dialogs().back().caption, u"Source and target are not in pairs!");
}

TEST(TradosToSegmentation, AsksForTheLayoutAndConvertsTheWorkingText) {
  const struct {
    Text answer;
    Text expected;
  } cases[] = {
      {u"1. Up down", u"\r\nHi.\r\n你好。\r\n"}, {u"2. Left right", u"\r\nHi.\t你好。"},
      {u"3. Down up", u"\r\n你好。\r\nHi.\r\n"}, {u"4. Right left ", u"\r\n你好。\tHi."},
      {u"9", u"\r\nHi.\r\n你好。\r\n"},          {u"0", u"\r\nHi.\r\n你好。\r\n"},
      {u"-2", u"\r\nHi.\r\n你好。\r\n"},         {u"two", u"\r\nHi.\r\n你好。\r\n"},
  };
  for (const auto& c : cases) {
    TestPrompts prompts{c.answer};
    Text text = u"{0>Hi.<}0{>你好。<0}";
    EXPECT_FALSE(TradosToSegmentation(text));
    EXPECT_EQ(text, c.expected) << ToUtf8(c.answer);
    ASSERT_EQ(prompts.dialogs().size(), 1u);
    EXPECT_EQ(prompts.dialogs()[0].text, u"Please select an option:");
    EXPECT_EQ(prompts.dialogs()[0].options,
              (Texts{u"1. Up down", u"2. Left right", u"3. Down up", u"4. Right left "}));
  }
}

TEST(TradosToSegmentation, CancelEmptiesTheWorkingText) {
  TestPrompts prompts{u"<cancel>"};
  Text text = u"{0>Hi.<}0{>你好。<0}";
  EXPECT_FALSE(TradosToSegmentation(text));
  EXPECT_EQ(text, u"");
}

// An office window at the Function List's corner whose content is one piece.
class FakeOfficeDesktop : public DesktopServices {
 public:
  explicit FakeOfficeDesktop(Text content) : content_(std::move(content)) { SetDesktopServices(this); }
  ~FakeOfficeDesktop() override { SetDesktopServices(nullptr); }

  WindowHandle WindowAtListCorner(bool clamp) override {
    clampRequests_.push_back(clamp);
    return kWindow;
  }
  Text WindowClassName(WindowHandle window) override { return window == kWindow ? u"OpusApp" : u""; }
  void RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert) override {
    EXPECT_EQ(wordWindow, kWindow);
    convert(content_);
  }

  static constexpr WindowHandle kWindow = 0x4a00007;
  Text content_;
  std::vector<bool> clampRequests_;
};

TEST(TradosToSegmentation, OverAnOfficeWindow_ConvertsItsContentTrimmed) {
  TestPrompts prompts{u"1"};
  FakeOfficeDesktop desktop(u"{0>Hi.<}0{>你好。<0}\r\n{0>Bye.<}0{>再见。<0}");
  Text text = u"working text";
  EXPECT_TRUE(TradosToSegmentation(text));
  EXPECT_EQ(text, u"working text");
  EXPECT_EQ(desktop.content_, u"Hi.\r\n你好。\r\n\r\nBye.\r\n再见。");
  EXPECT_EQ(desktop.clampRequests_, std::vector<bool>{false});
}

TEST(RunOnWordPieces, WithoutDesktop_Throws) {
  EXPECT_THROW(RunOnWordPieces(1, [](Text&) {}), DesktopUnavailable);
}

}  // namespace
}  // namespace scrivano
