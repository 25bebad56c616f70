#include <gtest/gtest.h>

#include <random>

#include "support/TestPrompts.h"
#include "transform/CleanMarks.h"
#include "transform/SpacingPunctuation.h"

namespace scrivano {
namespace {

TEST(CleanMarks, RemovesMarksAndCleansSpacing) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"l First item\r\n- Second\r\n\u25CF Third \u25CB fourth\r\n^Note\u2019s text",
       u"\r\nFirst item\r\nSecond\r\n\r\nThird\r\nfourth\r\nNote's text"},
      {u"o one\r\nc two\r\nu three\r\n. four\r\n?five", u"\r\none\r\ntwo\r\nthree\r\nfour\r\nfive"},
      {u"\u00A7a\r\n\u00FCb\r\n\u00B7c\r\n\u0001 d", u"\r\na\r\nb\r\nc\r\nd"},
      // Degree signs at line starts go with their line break, the first one with the added break.
      {u"\u00B0C\r\n\u00B0F", u"CF"},
      {u"20\u00B0C", u"\r\n20\u00B0C"},
      {u"\u4E2D\u6587\u3000\u4E2D\u6587", u"\r\n\u4E2D\u6587\u4E2D\u6587"},
      {u"a\uE5E5\uE5E5b", u"\r\na b"},
      {u"\u2018quoted\u2019", u"\r\n'quoted'"},
      {u"x\u25B2y\u25A0z", u"\r\nx\r\ny\r\nz"},
      // A mark letter without its space, or a mark inside a line, stays.
      {u"lamp", u"\r\nlamp"},
      {u"a l b", u"\r\na l b"},
      {u"", u"\r\n"},
  };
  test::TestPrompts prompts;
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(ToUtf8(CleanMarks(text)), ToUtf8(expected)) << ToUtf8(text);
}

TEST(CleanMarks, RemovesOneMarkPerLine) {
  // Each mark is removed in one pass in its turn: "- " is seen after "l " went, but "l " is not seen
  // again after "- " went.
  test::TestPrompts prompts;
  EXPECT_EQ(CleanMarks(u"l - x"), u"\r\nx");
  EXPECT_EQ(CleanMarks(u"- l x"), u"\r\nl x");
}

// The mark steps as passes over the whole text at once.
Text WholeTextMarks(TextView text) {
  Text work = u"\r\n" + Text(text);
  for (const char16_t* mark :
       {u"l ", u"- ", u"o ", u"c ", u"\u0001 ", u"u ", u". ", u"?", u"\u00A7", u"\u00FC", u"\u00B7"})
    Replace(work, u"\r\n" + Text(mark), u"\r\n");
  for (const char16_t* bullet : {u"\u25CB", u"\u25CF", u"\u25B2", u"\u25A0"}) Replace(work, bullet, u"\r\n");
  Replace(work, u"\u2019", u"'");
  Replace(work, u"\u2018", u"'");
  Replace(work, u"\u3000", u" ");
  Replace(work, u"\uE5E5\uE5E5", u" ");
  Replace(work, u"^", u"");
  Replace(work, u"\r\n\u00B0", u"");
  return NormalizeSpacing(work, true);
}

TEST(CleanMarks, LongTextsGiveWhatWholeTextPassesGive) {
  // Long texts are cleaned piece by piece; marks and line breaks meet at the places where they are cut.
  const char16_t* const kPieces[] = {u"\r\n",   u"\r",     u"l ", u"- ", u"?",
                                     u"\u00B0", u"\u25CF", u"^",  u" ",  u"x"};
  std::mt19937 random(17);
  test::TestPrompts prompts;
  for (int round = 0; round < 6; ++round) {
    Text text;
    while (text.size() < 150000) text += kPieces[random() % std::size(kPieces)];
    ASSERT_TRUE(CleanMarks(text) == WholeTextMarks(text)) << "round " << round;
  }
}

}  // namespace
}  // namespace scrivano
