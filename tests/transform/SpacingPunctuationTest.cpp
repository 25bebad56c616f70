#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <vector>

#include "settings/ParameterStore.h"
#include "support/RewriteCases.h"
#include "support/TestPrompts.h"
#include "text/Pieces.h"
#include "toolkit/CharClasses.h"
#include "transform/SpacingPunctuation.h"

namespace scrivano {
namespace {

struct SegmentCase {
  const char16_t* segment;
  bool isWestern;
  const char16_t* expected;
};

TEST(NormalizeSegmentPunctuation, RewritesPunctuationByLanguage) {
  const SegmentCase cases[] = {
      {u"Hello\uFF0Cworld\u3002", true, u"Hello, world."},
      {u"It\u2019s the users\u2019 choice...", true, u"It's the users' choice."},
      {u"see (page 3 ) : done", true, u"see (page 3): done"},
      {u"a , b , c", true, u"a, b, c"},
      {u"50 % off", true, u"50% off"},
      {u"<<title>>", true, u"title"},
      {u"He said \u201Cyes\u201D\uFF01", true, u"He said \"yes\" !"},
      {u"x\t y", true, u"x y"},
      {u"", true, u""},
      // Only a final "..." becomes one full stop.
      {u"wait... what...", true, u"wait... what."},
      {u"Really?.", true, u"Really?"},
      {u"John 's car", true, u"John's car"},
      {u"Note:-see", true, u"Note: see"},
      {u"a\u3001b", true, u"a, b"},
      {u"\uFF08note\uFF09, then", true, u"(note), then"},
      {u"1\u20102", true, u"1-2"},
      // Later steps see the parenthesis and the space that earlier steps put in.
      {u"x\uFF08y\uFF09,z", true, u"x (y),z"},
      {u"a\u3000b\vc", true, u"a b c"},
      {u"\uFF3Bx\uFF3D", true, u"x"},
      // A space before an apostrophe turns both ends of the quotation into quotation marks...
      {u"say 'hi' now", true, u"say \"hi\" now"},
      // ... but an apostrophe followed by a space alone stays.
      {u"the dogs' bone", true, u"the dogs' bone"},
      {u"\u4F60\u597D(\u4E16\u754C)!", false, u"\u4F60\u597D\uFF08\u4E16\u754C\uFF09\uFF01"},
      {u"\u8FD9\u662F\u6D4B\u8BD5.", false, u"\u8FD9\u662F\u6D4B\u8BD5\u3002"},
      {u"\u4E2D\u6587 \u4E2D\u6587 abc def", false, u"\u4E2D\u6587\u4E2D\u6587abc def"},
      // Chinese: only a final full stop changes; commas and colons stay.
      {u"\u7B2C1.5\u7248, a: b?.", false, u"\u7B2C1.5\u7248, a: b\uFF1F\u3002"},
      {u"a;b", false, u"a\uFF1Bb"},
      {u"", false, u""},
  };
  test::TestPrompts prompts;
  for (const SegmentCase& c : cases) {
    Text segment = c.segment;
    NormalizeSegmentPunctuation(segment, c.isWestern);
    EXPECT_EQ(ToUtf8(segment), ToUtf8(c.expected)) << ToUtf8(c.segment);
  }
}

TEST(NormalizeSegmentPunctuation, LongSegmentBehavesAsOne) {
  // Quotation marks found at the end change apostrophes at the start; only the very end loses "...".
  test::TestPrompts prompts;
  Text filler;
  for (int i = 0; i < 20000; ++i) filler += u"a...\r\n";
  Text segment = u"don' t\r\n" + filler + u"say 'hi'...";
  NormalizeSegmentPunctuation(segment, true);
  EXPECT_EQ(segment, u"don\" t\r\n" + filler + u"say \"hi'.");
  segment = filler + u"\u6D4B\u8BD5.";
  NormalizeSegmentPunctuation(segment, false);
  EXPECT_EQ(segment, filler + u"\u6D4B\u8BD5\u3002");
}

TEST(NormalizeSegmentPunctuation, CommasLoseEverySpaceBeforeThem) {
  test::TestPrompts prompts;
  Text segment = u"a    , b";
  NormalizeSegmentPunctuation(segment, true);
  EXPECT_EQ(segment, u"a, b");
  segment = u"a" + Text(100000, u'\t') + u"\v\v, b";
  NormalizeSegmentPunctuation(segment, true);
  EXPECT_EQ(segment, u"a, b");
}

TEST(ReplacePasses, SweepsGiveWhatReplacingUntilNoneGives) {
  std::mt19937 random(7);
  const char16_t alphabet[] = {u' ', u' ', u' ', u',', u'a', u'\t', u'\t'};
  for (int round = 0; round < 3000; ++round) {
    Text text;
    for (int i = static_cast<int>(random() % 40); i > 0; --i)
      text += alphabet[random() % std::size(alphabet)];
    Text expected = text;
    ReplaceUntilNone(expected, u" ,", u",");
    Text swept = text;
    ReplacePasses(swept).RemoveRunsBefore(u' ', u',');
    ASSERT_EQ(swept, expected) << ToUtf8(text);

    expected = text;
    ReplaceUntilNone(expected, u"    ", u" ");
    ReplaceUntilNone(expected, u"  ", u" ");
    swept = text;
    ReplacePasses(swept).CollapseRuns(u' ');
    ASSERT_EQ(swept, expected) << ToUtf8(text);

    // Runs of spaces of any length, at the ends too, and tabs side by side.
    expected = text;
    ReplaceUntilNone(expected, u" \t ", u"\t");
    ReplaceUntilNone(expected, u" \t", u"\t");
    ReplaceUntilNone(expected, u"\t ", u"\t");
    swept = text;
    ReplacePasses(swept).RemoveRunsTouching(u' ', u'\t');
    ASSERT_EQ(swept, expected) << ToUtf8(text);
  }
}

TEST(ReplacePasses, WatchedCharactersAreFoundWhereverTheyStand) {
  // Found in the first block, in the last few units or not at all; the others always count as present.
  for (const size_t length : {size_t{0}, size_t{5}, size_t{8}, size_t{300}, size_t{1000}, size_t{1029}}) {
    for (size_t at = 0; at <= length; at += length / 7 + 1) {
      Text text(length, u'a');
      if (at < length) text[at] = u'\t';
      const ReplacePasses passes(text, u" \t\r\n");
      EXPECT_EQ(passes.MayHold(u'\t'), at < length) << length << " " << at;
      EXPECT_FALSE(passes.MayHold(u' '));
      EXPECT_FALSE(passes.MayHold(u'\n'));
      EXPECT_TRUE(passes.MayHold(u'a'));
      EXPECT_TRUE(passes.MayHold(u','));
    }
  }
}

struct SpacingCase {
  const char16_t* text;
  bool spacesOnly;
  const char16_t* expected;
};

TEST(NormalizeSpacing, CleansWhiteSpaceThenAppliesTheSpaceRule) {
  const SpacingCase cases[] = {
      // Only spaces are trimmed: the leading line break stays.
      {u"\r\n  a  b \r\n", true, u"\r\na b\r\n"},
      {u"\r\n  a  b \r\n", false, u"a b"},
      {u"\t a \t", true, u"\ta\t"},
      {u"a       b", false, u"a b"},
      {u"a\r\n\r\n\r\n\r\n\r\n\r\nb", false, u"a\r\n\r\n\r\nb"},
      {u"a \t \t b", false, u"a\t\tb"},
      {u"\u4E2D a b \u6587", false, u"\u4E2Da b\u6587"},
      {u"", false, u""},
  };
  test::TestPrompts prompts;
  for (const SpacingCase& c : cases) {
    Text text = c.text;
    NormalizeSpacing(text, c.spacesOnly);
    EXPECT_EQ(ToUtf8(text), ToUtf8(c.expected)) << ToUtf8(c.text);
  }
}

// The spacing steps as passes over the whole text at once.
Text WholeTextSpacing(Text text, bool spacesOnly) {
  if (spacesOnly)
    TrimSpaces(text);
  else
    Trim(text);
  ReplaceUntilNone(text, u"    ", u" ");
  ReplaceUntilNone(text, u"  ", u" ");
  ReplaceUntilNone(text, u"\r\n ", u"\r\n");
  ReplaceUntilNone(text, u" \r\n", u"\r\n");
  ReplaceUntilNone(text, u"\r\n\r\n\r\n\r\n", u"\r\n\r\n\r\n");
  ReplaceUntilNone(text, u" \t ", u"\t");
  ReplaceUntilNone(text, u" \t", u"\t");
  ReplaceUntilNone(text, u"\t ", u"\t");
  return ApplySpaceRule(text);
}

TEST(NormalizeSpacing, LongTextsGiveWhatWholeTextPassesGive) {
  // Long texts are cleaned piece by piece; blanks of every kind meet at the places where they are cut.
  const char16_t* const kPieces[] = {u" ", u"  ", u"\t", u"\r\n", u"\r", u"\n", u"a", u"\u4E2D", u"ab "};
  std::mt19937 random(99);
  test::TestPrompts prompts;
  for (int round = 0; round < 6; ++round) {
    Text text;
    while (text.size() < 150000) text += kPieces[random() % std::size(kPieces)];
    for (bool spacesOnly : {false, true}) {
      Text work = text;
      NormalizeSpacing(work, spacesOnly);
      ASSERT_TRUE(work == WholeTextSpacing(text, spacesOnly)) << "round " << round;
    }
  }
}

// The punctuation of a segment as one replace-all pass over the whole segment after another, with
// nothing skipped and nothing done in pieces.
Text PassByPassPunctuation(Text segment, bool isWestern) {
  const auto pass = [&segment](TextView from, TextView to) { return Replace(segment, from, to); };
  pass(u"\t", u" ");
  pass(u"\u3000", u" ");
  pass(u"\v", u" ");
  if (isWestern) {
    if (TextView(segment).ends_with(u"...")) segment.replace(segment.size() - 3, 3, u".");
    pass(u"\\'", u"'");
    pass(u"\u2019s", u"'s");
    pass(u"s\u2019", u"s' ");
    pass(u"\u3001", u", ");
    pass(u"?.", u"?");
    pass(u" 's ", u"'s ");
    if (pass(u" '", u" \"") > 0) pass(u"' ", u"\" ");
    const char16_t* const table[][2] = {
        {u" /", u"/"},     {u"/ ", u"/"},     {u" :", u":"},      {u"\uFF1A", u": "},
        {u"\u2019", u"'"}, {u"\u2018", u"'"}, {u"\uFF01", u"! "}, {u"\uFF1F", u"? "},
        {u"( ", u"("},     {u" )", u")"},     {u"(", u" ("},      {u")", u") "},
        {u") .", u")."},   {u"\u2010", u"-"}, {u":-", u": "},     {u"\u3002", u". "}};
    for (const auto& step : table) pass(step[0], step[1]);
    ReplaceUntilNone(segment, u" ,", u",");
    const char16_t* const after[][2] = {{u"\u201C", u" \""}, {u"\u201D", u"\" "}, {u"\uFF0C", u", "},
                                        {u"\uFF08", u" ("},  {u"\uFF09", u") "},  {u") :", u"):"},
                                        {u") ,", u"),"},     {u") .", u")."}};
    for (const auto& step : after) pass(step[0], step[1]);
  } else {
    pass(u"(", u"\uFF08");
    pass(u")", u"\uFF09");
    pass(u";", u"\uFF1B");
    pass(u"?", u"\uFF1F");
    pass(u"!", u"\uFF01");
    if (TextView(segment).ends_with(u".")) segment.back() = u'\u3002';
  }
  pass(u" %", u"%");
  for (const char16_t* mark : {u"<<<", u">>>", u"<<", u">>"}) pass(mark, u" ");
  pass(u"\uFF3B", u"");
  pass(u"\uFF3D", u"");
  return WholeTextSpacing(segment, false);
}

TEST(NormalizeSegmentPunctuation, GivesWhatThePassesOneByOneGive) {
  // Short segments made of what the passes look for, blanks of every kind and both languages; a few long
  // ones, which go through in pieces.
  const char16_t* const kPieces[] = {
      u" ",      u"  ",     u"   ",    u"\t",     u"\v",     u"\u3000", u"\r\n",   u"\r",     u"\n",
      u"\\'",    u"'",      u"\u2019", u"\u2018", u"s",      u"?",      u".",      u"...",    u"/",
      u":",      u"-",      u"(",      u")",      u",",      u"%",      u"<",      u">",      u";",
      u"!",      u"\u201C", u"\u201D", u"\uFF0C", u"\uFF08", u"\uFF09", u"\uFF1A", u"\uFF01", u"\uFF1F",
      u"\u3002", u"\u3001", u"\u2010", u"\uFF3B", u"\uFF3D", u"a",      u"Bc",     u"9",      u"\u4E2D",
      u"\u6587", u"\u00E9", u"\uFFFF", u"\"",     u"\uFF1B"};
  std::mt19937 random(41);
  test::TestPrompts prompts;
  for (int round = 0; round < 20000; ++round) {
    test::SetParameter(Param::kWesternChars, round % 3 == 0 ? u"\u00E9" : u"");
    const size_t pieces = round % 2000 == 1 ? 60000 : random() % 24;
    Text segment;
    for (size_t k = 0; k < pieces; ++k) segment += kPieces[random() % std::size(kPieces)];
    const bool isWestern = round % 2 == 0;
    Text rewritten = segment;
    NormalizeSegmentPunctuation(rewritten, isWestern);
    ASSERT_EQ(ToUtf8(rewritten), ToUtf8(PassByPassPunctuation(segment, isWestern)))
        << "round " << round << ": " << ToUtf8(segment);
  }
}

TEST(ApplySpaceRule, KeepsASpaceOnlyBetweenTwoWesternCharacters) {
  const test::RewriteCase cases[] = {
      {u"a b", u"a b"},
      {u"\u4E2D b", u"\u4E2Db"},
      {u"a \u6587", u"a\u6587"},
      // Two spaces between Western characters both survive.
      {u"a  b", u"a  b"},
      // The second space sees the space before it, which is Western.
      {u"a  \u6587", u"a \u6587"},
      // The second space sees the marker left in place of the first, which is not Western.
      {u"\u4E2D  a", u"\u4E2Da"},
      // The first and the last character are never examined.
      {u" \u4E2D ", u" \u4E2D "},
      // A U+FFFF already in the text goes with the markers.
      {u"a\uFFFFb", u"ab"},
  };
  test::TestPrompts prompts;
  test::ExpectRewrites(cases, ApplySpaceRule);
}

TEST(ApplySpaceRule, ReadsTheWesternCharactersOfParameter6) {
  test::TestPrompts prompts;
  Text text = u"caf\u00E9 bar";
  ApplySpaceRule(text);
  EXPECT_EQ(text, u"caf\u00E9bar");

  test::SetParameter(Param::kWesternChars, u"\u00E9");
  text = u"caf\u00E9 bar";
  ApplySpaceRule(text);
  EXPECT_EQ(text, u"caf\u00E9 bar");

  // A marker counted as Western lets the space after it survive.
  test::SetParameter(Param::kWesternChars, u"\uFFFF");
  text = u"\u4E2D  a";
  ApplySpaceRule(text);
  EXPECT_EQ(text, u"\u4E2D a");
}

TEST(ApplySpaceRule, MatchesMarkingEverySpaceThenRemovingTheMarkers) {
  test::TestPrompts prompts;
  const char16_t letters[] = {u'a', u' ', u' ', u'\u4E2D', 0xFFFF, u'\u00E9'};
  std::mt19937 random(9);
  for (int round = 0; round < 4000; ++round) {
    test::SetParameter(Param::kWesternChars, round % 2 ? u"\u00E9" : u"");
    Text text;
    for (unsigned k = random() % 60; k > 0; --k) text += letters[random() % std::size(letters)];
    Text marked = text;
    for (size_t i = 1; i + 1 < marked.size(); ++i)
      if (marked[i] == u' ' && !(IsWesternChar(marked[i - 1]) && IsWesternChar(marked[i + 1])))
        marked[i] = 0xFFFF;
    std::erase(marked, char16_t{0xFFFF});
    ApplySpaceRule(text);
    ASSERT_EQ(text, marked) << round;
  }
}

TEST(RewriteInPieces, PiecesThatGrowOrShrinkGiveTheirRewritesInOrder) {
  // Lines of random length; each piece is doubled, dropped or kept, so that the rewriting over the text
  // itself runs out of room behind the reading again and again.
  std::mt19937 random(3);
  for (int round = 0; round < 40; ++round) {
    Text text;
    for (int line = static_cast<int>(random() % 400); line > 0; --line) {
      text += u"\r\n";
      text.append(random() % 3000, static_cast<char16_t>(u'a' + line % 26));
    }
    const int mode = round % 3;
    const Text original = text;
    Text expected, read;
    std::vector<Text> pieces;
    RewriteInPieces(text, IsCarriageReturnAt, [&](Text& piece, bool) {
      read += piece;  // the pieces are what the text held, whatever was written before them
      if (mode == 0) piece += piece;
      if (mode == 1 && piece.size() % 2 == 0) piece.clear();
      if (mode == 2) piece.insert(0, random() % 50000, u'+');
      pieces.push_back(piece);
    });
    for (const Text& piece : pieces) expected += piece;
    ASSERT_EQ(read, original) << round;
    ASSERT_EQ(text, expected) << round;
  }
  Text empty;
  RewriteInPieces(empty, IsCarriageReturnAt, [](Text& piece, bool isLast) {
    EXPECT_TRUE(isLast);
    piece = u"grown";
  });
  EXPECT_EQ(empty, u"grown");
}

TEST(RemoveAngleMarks, OnePassEachInOrder) {
  Text text = u"<<<<a>>>>";
  RemoveAngleMarks(text);
  EXPECT_EQ(text, u" <a >");
  text = u"<<x>> \uFF3By\uFF3D";
  RemoveAngleMarks(text);
  EXPECT_EQ(text, u" x  y");
}

}  // namespace
}  // namespace scrivano
