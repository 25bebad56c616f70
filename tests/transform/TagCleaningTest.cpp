#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <vector>

#include "functions/FunctionTable.h"
#include "support/RewriteCases.h"
#include "support/TestPrompts.h"
#include "tasks/DesktopServices.h"
#include "transform/TagCleaning.h"

namespace scrivano {
namespace {

constexpr WindowHandle kOfficeWindow = 4242;

// An office window whose content arrives in fixed pieces.
class FakeOfficeDesktop : public DesktopServices {
 public:
  explicit FakeOfficeDesktop(std::vector<Text> pieces) : pieces(std::move(pieces)) {
    SetDesktopServices(this);
  }
  ~FakeOfficeDesktop() override { SetDesktopServices(nullptr); }

  WindowHandle WindowAtListCorner(bool) override { return kOfficeWindow; }
  Text WindowClassName(WindowHandle) override { return kOfficeMainWindowClass; }
  void RunOnWordPieces(WindowHandle window, const PieceConversion& convert) override {
    EXPECT_EQ(window, kOfficeWindow);
    for (Text& piece : pieces) convert(piece);
  }

  std::vector<Text> pieces;
};

using test::ExpectRewrites;
using test::RewriteCase;

TEST(RemovePtPhTags, RemovesPairsAndPlaceholders) {
  const RewriteCase cases[] = {
      {u"A<pt1>B</pt1>C<ph2/>D", u"ABCD"},
      {u"<pt1>x<pt2>y</pt2>z</pt1>", u"xyz"},
      {u"<pt>a</pt>", u"a"},
      {u"<pt1>a</pt1><pt1>b</pt1><ph/>", u"ab"},
      {u"plain text", u"plain text"},
      {u"", u""},
      // An inner pair is removed even when the last pair of the outer pass was empty.
      {u"<pt1><pt2>x</pt2></pt1><pt3></pt3>", u"x"},
      {u"<pt1><pt2><pt3>deep</pt3></pt2></pt1>", u"deep"},
      // A "<ph" without "/>": digits (or nothing) up to the end drop the tag there.
      {u"A<ph12", u"A"},
      {u"A<ph", u"A"},
  };
  ExpectRewrites(cases, RemovePtPhTags);
}

TEST(RemovePtPhTags, WrongTagBecomesTheWholeResult) {
  const RewriteCase cases[] = {
      {u"A<ptx>B", u"Wrong tag:\r\n\r\n<ptx"},
      {u"A<ph x/>B", u"Wrong tag:\r\n\r\n<ph x/>"},
      {u"A<pt1>B", u"Wrong tag:\r\n\r\n<pt1>B"},
      {u"A<pt1", u"Wrong tag:\r\n\r\n<pt1"},
      {u"A<pt1>B</pt2>", u"Wrong tag:\r\n\r\n<pt1>B</pt2>"},
      {u"A<phx", u"Wrong tag:\r\n\r\n<phx"},
      // A fault inside a pair shows up in the pass that reaches it.
      {u"<pt1>a<ptz>b</pt1>", u"Wrong tag:\r\n\r\n<ptz"},
      {u"<pt1>x</pt1>y<ph1/>z<ph-1/>", u"Wrong tag:\r\n\r\n<ph-1/>"},
  };
  test::TestPrompts prompts;
  ExpectRewrites(cases, RemovePtPhTags);
  EXPECT_TRUE(prompts.dialogs().empty());
}

// RemovePtPhTags as first written: pass after pass over the rebuilt text, each pass pairing every opening
// found from left to right with the first closing of its number after it.
Text LiteralRemovePtPhTags(Text text) {
  const Text wrong = u"Wrong tag:\r\n\r\n";
  for (bool contentRemoved = true; contentRemoved;) {
    contentRemoved = false;
    Text rebuilt;
    int pos = 0;
    for (int tagStart = Find(text, u"<pt"); tagStart >= 0; tagStart = Find(text, u"<pt", pos)) {
      const int tagEnd = Find(text, u'>', tagStart + 3);
      if (tagEnd < 0) return wrong + MidFrom(text, tagStart);
      const Text number = Mid(text, tagStart + 3, tagEnd - tagStart - 3);
      if (number.find_first_not_of(u"0123456789") != Text::npos)
        return wrong + Mid(text, tagStart, tagEnd - tagStart);
      const Text closingTag = u"</pt" + number + u">";
      const int closing = Find(text, closingTag, tagEnd + 1);
      if (closing < 0) return wrong + MidFrom(text, tagStart);
      rebuilt += Mid(text, pos, tagStart - pos) + Mid(text, tagEnd + 1, closing - tagEnd - 1);
      contentRemoved = contentRemoved || closing > tagEnd + 1;
      pos = closing + Length(closingTag);
    }
    rebuilt += MidFrom(text, pos);
    text = rebuilt;
  }
  return text;
}

// The placeholder step as first written, on what the passes left.
Text LiteralRemovePlaceholders(Text text) {
  if (text.starts_with(u"Wrong tag:")) return text;
  Text rebuilt;
  int pos = 0;
  for (int tagStart = Find(text, u"<ph"); tagStart >= 0; tagStart = Find(text, u"<ph", pos)) {
    const int tagEnd = Find(text, u"/>", tagStart + 3);
    const Text number =
        tagEnd < 0 ? MidFrom(text, tagStart + 3) : Mid(text, tagStart + 3, tagEnd - tagStart - 3);
    if (number.find_first_not_of(u"0123456789") != Text::npos)
      return u"Wrong tag:\r\n\r\n" +
             (tagEnd < 0 ? MidFrom(text, tagStart) : Mid(text, tagStart, tagEnd + 2 - tagStart));
    rebuilt += Mid(text, pos, tagStart - pos);
    pos = tagEnd < 0 ? Length(text) : tagEnd + 2;
  }
  return rebuilt + MidFrom(text, pos);
}

TEST(RemovePtPhTags, PairsAsThePassesOverTheRebuiltTextDo) {
  // Well-formed tags, and pieces that are no tag or only part of one: a removed pair may join such
  // pieces into a new tag, or leave a wrong one to be found by a later pass.
  // Numbers that differ only in leading zeros, and numbers too long for one machine word, are different
  // numbers; pieces of digits may join into either.
  const char16_t* const kTags[] = {u"<pt1>",
                                   u"</pt1>",
                                   u"<pt2>",
                                   u"</pt2>",
                                   u"<pt>",
                                   u"</pt>",
                                   u"<pt01>",
                                   u"</pt01>",
                                   u"<pt123456789012345678>",
                                   u"</pt123456789012345678>",
                                   u"<ph3/>",
                                   u"a",
                                   u"b"};
  const char16_t* const kStray[] = {u"<",  u"pt",  u">",   u"/",     u"1",   u"0",
                                    u"<p", u"</",  u"</p", u"</pt",  u"t1>", u"t>",
                                    u"2>", u"<ph", u"/>",  u"<ptx>", u"h",   u"12345678901234567",
                                    u"8>"};
  std::mt19937 random(16);
  for (int round = 0; round < 20000; ++round) {
    Text text;
    const int strayShare = round % 4;  // none, a few, many, mostly
    for (int i = static_cast<int>(random() % (round % 10 == 9 ? 120 : 30)); i > 0; --i)
      text += static_cast<int>(random() % 4) < strayShare ? kStray[random() % std::size(kStray)]
                                                          : kTags[random() % std::size(kTags)];
    Text removed = text;
    RemovePtPhTags(removed);
    const Text expected = LiteralRemovePlaceholders(LiteralRemovePtPhTags(text));
    ASSERT_EQ(ToUtf8(removed), ToUtf8(expected)) << ToUtf8(text);
  }
}

TEST(RemovePtPhTags, TagsMadeWhereRemovedPairsJoinTheirSurroundings) {
  const RewriteCase cases[] = {
      // "<p" and "t2>" meet once the pair between them goes, and the next pass removes the new pair.
      {u"<pt1>x<p</pt1>t2>y</pt2>", u"xy"},
      // Made in the last pass (no content removed): the new tag stays.
      {u"<p<pt1></pt1>t2>y</pt2>", u"<pt2>y</pt2>"},
      // A closing made of two pieces, in time for the opening that a pair's content hid in the first pass.
      {u"<pt3><pt1>b</pt3></p<pt2></pt2>t1>", u"b"},
      // The opening hidden in the first pass takes the closing made in that pass, which comes before the
      // closing that was there from the start.
      {u"<pt5><pt1></pt5>x</p<pt2></pt2>t1>y</pt1>", u"xy</pt1>"},
      // A "<pt" whose number runs into a tag is wrong when a pass reaches it before the tag goes.
      {u"<pt1<pt2>x</pt2>>", u"Wrong tag:\r\n\r\n<pt1<pt2"},
  };
  ExpectRewrites(cases, RemovePtPhTags);
}

TEST(RemoveBraceTags, ReplacesTagsBySpacesThenCleansMarks) {
  const RewriteCase cases[] = {
      {u"a{1}b", u"\r\na b"},
      {u"\u4E2D{1}\u6587", u"\r\n\u4E2D\u6587"},
      {u"{1}l item{2}", u"\r\nl item"},
      {u"x{a{b}y}z", u"\r\nx y}z"},
      {u"", u"\r\n"},
  };
  test::TestPrompts prompts;
  ExpectRewrites(cases, RemoveBraceTags);
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST(RemoveBraceTags, UnmatchedBraceIsReportedAndItsTextKept) {
  test::TestPrompts prompts;
  Text text = u"a{x";
  RemoveBraceTags(text);
  EXPECT_EQ(text, u"\r\na x");
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"{} doesn't match !");
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
}

TEST(CleanVariousTags, AsksForTheOptionAndRunsIt) {
  test::TestPrompts prompts{u"2. Remove <pt> <ph> tags", u"1. Remove DejaVu tags ", u"1"};
  Text text = u"A<pt1>B</pt1>{9}C";
  TaskContext context;
  context.workingText = &text;
  CleanVariousTags(context);
  EXPECT_EQ(text, u"AB{9}C");
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Please select an option:");
  EXPECT_EQ(prompts.dialogs()[0].options,
            (std::vector<Text>{u"1. Remove DejaVu tags ", u"2. Remove <pt> <ph> tags"}));
  CleanVariousTags(context);
  EXPECT_EQ(text, u"\r\nAB C");
  // A typed number works like the option.
  text = u"{1}x";
  CleanVariousTags(context);
  EXPECT_EQ(text, u"\r\nx");
}

TEST(CleanVariousTags, CancelOrUnknownNumberLeavesTheTextAlone) {
  test::TestPrompts prompts{u"<cancel>", u"3", u"x"};
  Text text = u"a{1}b";
  TaskContext context;
  context.workingText = &text;
  for (int i = 0; i < 3; ++i) CleanVariousTags(context);
  EXPECT_EQ(text, u"a{1}b");
  EXPECT_EQ(prompts.Messages(), (std::vector<Text>{u"Wrong operation number!", u"Wrong operation number!"}));
  EXPECT_EQ(prompts.dialogs()[2].caption, u"Notice");
}

TEST(CleanVariousTags, WorksOnOfficeWindowPiecesAndHandsNothingBack) {
  test::TestPrompts prompts{u"1", u"2"};
  FakeOfficeDesktop desktop({u"  a{1}b  ", u"x{y}"});
  Text text = u"working {1} text";
  TaskContext context;
  context.workingText = &text;
  context.targetWindow = kOfficeWindow;
  EXPECT_FALSE(FindFunctionEntry("2")->run(context));
  // Each piece is cleaned and trimmed at both ends; the working text is not touched.
  EXPECT_EQ(desktop.pieces, (std::vector<Text>{u"a b", u"x"}));
  EXPECT_EQ(text, u"working {1} text");
  desktop.pieces = {u"<pt1>p</pt1> "};
  EXPECT_FALSE(FindFunctionEntry("2")->run(context));
  EXPECT_EQ(desktop.pieces, (std::vector<Text>{u"p "}));
}

TEST(CleanVariousTags, WrongTagInTheOfficeWindowLosesNothing) {
  // The pieces are pasted back into the document: a wrong tag must not replace a piece by the report.
  test::TestPrompts prompts{u"2"};
  FakeOfficeDesktop desktop({u"A<ptx>B", u"<ph1/>ok", u"C<ph y/>"});
  Text text;
  TaskContext context;
  context.workingText = &text;
  context.targetWindow = kOfficeWindow;
  CleanVariousTags(context);
  EXPECT_EQ(desktop.pieces, (std::vector<Text>{u"A<ptx>B", u"ok", u"C<ph y/>"}));
  EXPECT_EQ(prompts.Messages(), (std::vector<Text>{u"Wrong tag:\r\n\r\n<ptx\r\n<ph y/>"}));
}

TEST(CleanVariousTags, EntryHandsTheWorkingTextBackWithoutAnOfficeWindow) {
  test::TestPrompts prompts{u"2"};
  Text text = u"<ph1/>a";
  TaskContext context;
  context.workingText = &text;
  EXPECT_TRUE(FindFunctionEntry("clean-tags")->run(context));
  EXPECT_EQ(text, u"a");
}

}  // namespace
}  // namespace scrivano
