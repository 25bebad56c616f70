#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "settings/ParameterStore.h"
#include "support/TestPrompts.h"
#include "text/Tokenizers.h"
#include "transform/PhraseExtraction.h"

namespace scrivano {
namespace {

constexpr char16_t kSeparatorLine[] = u"=========================\r\n";

Text Extract(TextView text, TextView answer, TextView stopList = u"") {
  test::TestPrompts prompts{Text(answer)};
  test::SetParameter(Param::kPhraseStopList, stopList);
  Text work(text);
  TaskContext context;
  context.workingText = &work;
  ExtractPhrases(context);
  return work;
}

// The search exactly as written: every count searches the current text again from the line's offset,
// each search starting just after the previous occurrence. Word boundaries move as written too; only
// DropLastWord (tested on its own below) is shared.
Text LiteralReport(LineList lines, const PhraseSearch& search, Text text) {
  Text report;
  Text countList;
  for (int n = search.maxWords; n >= std::max(search.minWords, 1); --n) {
    Text foundKeys;
    int offset = 0;
    for (LineEntry& e : lines) {
      if (e.count < n) break;
      while (e.count > n) DropLastWord(e);
      int start = 0;
      int end = e.cut;
      while (true) {
        const Text phrase = Mid(e.line, start, end - start);
        const int length = end - start;
        const Text key = u"\t" + phrase + u"\t";
        bool skip = phrase.empty() || Find(foundKeys, key) >= 0;
        for (const Text& item : search.stopList) skip = skip || Find(phrase, item) >= 0;
        if (!skip) {
          std::vector<int> found;
          for (int at = Find(text, phrase, offset); at >= 0; at = Find(text, phrase, at + length))
            found.push_back(at);
          const int k = static_cast<int>(found.size());
          if (k >= search.minRepeats) {
            Text padded = FromUtf8(std::to_string(k));
            while (padded.size() < 5) padded.insert(0, 1, u' ');
            report += phrase + u"     " + FromUtf8(std::to_string(k)) + u"\r\n";
            countList += padded + u"     " + phrase + u"\t";
            for (int at : found) std::fill_n(text.begin() + at, length, char16_t{0xFFFF});
            foundKeys += key;
          }
        }
        if (end >= e.size) break;
        if (e.line[end] > 0x7F) {
          ++end;
        } else {
          ++end;
          while (end < e.size && e.line[end] != u' ' && e.line[end] <= 0x7F) ++end;
        }
        if (e.line[start] > 0x7F) {
          ++start;
        } else {
          ++start;
          while (start < e.size && e.line[start] <= 0x7F) {
            if (e.line[start++] == u' ') break;
          }
        }
      }
      DropLastWord(e);
      offset += e.size + 1;
    }
  }
  SortListItems(countList, 3);
  return report + u"\r\n" + kSeparatorLine + countList;
}

// The list sorted by walking the items already placed, as written.
Text LiteralSort(TextView list, int mode) {
  if (list.empty()) return Text(list);
  std::vector<Text> placed;
  Text item;
  int pos = 0;
  do {
    NextTokenByChar(list, pos, item, u'\t');
    if (item.empty() && placed.empty()) continue;
    auto at = placed.begin();
    while (at != placed.end() && item > *at) ++at;
    if (at != placed.end() && item == *at) continue;
    placed.insert(at, item);
  } while (pos != 0);
  Text result;
  if (mode == 0) {
    for (size_t i = 0; i < placed.size(); ++i) result += (i ? u"\t" : u"") + placed[i];
    Trim(result);
    if (list.back() == u'\t') result += u'\t';
    return result;
  }
  for (auto it = placed.rbegin(); it != placed.rend(); ++it) result += u"\r\n" + *it;
  return result;
}

TEST(ExtractPhrases, ReportsLongestPhrasesFirstAndBlanksThem) {
  const Text text =
      u"the red car is fast\rthe red car\rI like the red car\r\u6211\u559C\u6B22\u7EA2\u8272\u7684\u8F66\r"
      u"\u7EA2\u8272\u7684\u8F66\u5F88\u5FEB\r";
  EXPECT_EQ(Extract(text, u"2 4 2"), Text(u"\u7EA2\u8272\u7684\u8F66     2\r\nthe red car     3\r\n\r\n") +
                                         kSeparatorLine +
                                         u"\r\n    3     the red car\r\n    2     \u7EA2\u8272\u7684\u8F66");
  // A stop-list item inside a phrase suppresses it; an empty item suppresses every phrase.
  EXPECT_EQ(Extract(text, u"2 4 2", u"red"), Text(u"\u7EA2\u8272\u7684\u8F66     2\r\n\r\n") +
                                                 kSeparatorLine + u"\r\n    2     \u7EA2\u8272\u7684\u8F66");
  EXPECT_EQ(Extract(text, u"2 4 2", u"x\t\ty"), Text(u"\r\n") + kSeparatorLine);
}

TEST(ExtractPhrases, AnswerEdgeCases) {
  const Text text = u"a a\rb";
  // Tokens at runs of spaces; missing numbers are 0; minimum repeats of 0 reports counts of 0 too.
  EXPECT_EQ(Extract(text, u"  1   2  "), Text(u"a a     1\r\na     0\r\nb     1\r\n\r\n") + kSeparatorLine +
                                             u"\r\n    1     b\r\n    1     a a\r\n    0     a");
  // A maximum below the minimum gives only the frame.
  EXPECT_EQ(Extract(text, u"3 2 1"), Text(u"\r\n") + kSeparatorLine);
  EXPECT_EQ(Extract(text, u"x"), Text(u"\r\n") + kSeparatorLine);
}

TEST(ExtractPhrases, CancelLeavesTheTextAndEmptyTextGivesNoReport) {
  test::TestPrompts prompts{u"<cancel>", u"1 2 2"};
  Text text = u"a b\ra b";
  TaskContext context;
  context.workingText = &text;
  EXPECT_FALSE(ExtractPhrases(context));
  EXPECT_EQ(text, u"a b\ra b");
  text = u" \r\n\t ";
  EXPECT_FALSE(ExtractPhrases(context));
  EXPECT_EQ(text, u"");
}

TEST(ExtractPhrases, PromptOffersTheSortedPresetsOfParameter21) {
  test::TestPrompts prompts{u"<cancel>"};
  test::SetParameter(Param::kPhraseOptions, u"2 6 2\t1 4 3\t2 6 2\t");
  Text text = u"x";
  TaskContext context;
  context.workingText = &text;
  ExtractPhrases(context);
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Please set a minimum and maximum word number and repetion:");
  EXPECT_EQ(prompts.dialogs()[0].options, (std::vector<Text>{u"1 4 3", u"2 6 2"}));
}

TEST(ExtractPhrases, CountsEveryOccurrence) {
  Text text;
  for (int i = 0; i < 3500; ++i) text += u"go\r\n";
  EXPECT_EQ(Extract(text, u"1 1 2"), Text(u"go     3500\r\n\r\n") + kSeparatorLine + u"\r\n 3500     go");
}

TEST(ExtractPhrases, LineStartingWithAWideCharacterBeforeAnAsciiWordEnds) {
  // Dropping "Hello" must stop after the opening quotation mark; the one-word level then searches "“".
  const Text text = u"\u201CHello world\r\u201CHello world";
  EXPECT_EQ(Extract(text, u"1 3 2"),
            Text(u"\u201CHello world     2\r\n\r\n") + kSeparatorLine + u"\r\n    2     \u201CHello world");
  EXPECT_EQ(Extract(u"\u4E2Dab\r\u4E2Dab\rab", u"1 2 2"),
            Text(u"\u4E2Dab     2\r\n\r\n") + kSeparatorLine + u"\r\n    2     \u4E2Dab");
}

TEST(CollectLines, NormalisesSpacesAndOrdersByWordCount) {
  test::TestPrompts prompts{u"1 9 2"};
  Text text = u"  Hello   world \r\n\u4E2D \u6587\ta \u4E2D b\x0B\x0C x y\rc d\re f\r";
  TaskContext context;
  context.workingText = &text;
  LineList lines;
  PhraseSearch search;
  ASSERT_TRUE(CollectLines(lines, search, context));
  // Equal counts go in front of the entry inserted last.
  EXPECT_EQ(text, u"a\u4E2Db\re f\rc d\rx y\r\u4E2D\u6587\rHello world\r");
  std::vector<int> counts;
  for (const LineEntry& entry : lines) counts.push_back(entry.count);
  EXPECT_EQ(counts, (std::vector<int>{3, 2, 2, 2, 2, 2}));
  EXPECT_EQ(search.minWords, 1);
  EXPECT_EQ(search.maxWords, 3);
  EXPECT_EQ(search.minRepeats, 2);
  EXPECT_EQ(lines.front().size, 3);
  EXPECT_EQ(lines.front().cut, 3);
}

TEST(DropLastWord, StepsBackOverOneWord) {
  struct Case {
    const char16_t* line;
    int cut;
    int expectedCut;
  };
  // The cut stays on a space; a wide character is a word of its own; the first character is looked at
  // too.
  const Case cases[] = {
      {u"the red car", 11, 7},   {u"the red car", 7, 3}, {u"the red car", 3, 0},
      {u"ab\u4E2D", 3, 2},       {u"\u4E2Dab", 3, 1},    {u"\u201CHello world", 6, 1},
      {u"\u4E2D\u6587ab", 4, 2}, {u"a", 1, 0},           {u"", 0, 0},
  };
  for (const Case& c : cases) {
    LineEntry entry;
    entry.line = c.line;
    entry.size = Length(c.line);
    entry.cut = c.cut;
    entry.count = 5;
    DropLastWord(entry);
    EXPECT_EQ(entry.cut, c.expectedCut) << ToUtf8(c.line) << " from " << c.cut;
    EXPECT_EQ(entry.count, 4);
  }
}

TEST(SortListItems, SortsAndDropsDuplicates) {
  Text list = u"    2     b\t   10     a\t";
  SortListItems(list, 3);
  EXPECT_EQ(list, u"\r\n   10     a\r\n    2     b");
  list = u"b\ta\tb\t";
  SortListItems(list, 0);
  EXPECT_EQ(list, u"a\tb\t");
  list = u"\tb\t\ta";
  SortListItems(list, 0);
  EXPECT_EQ(list, u"a\tb");
  list = u"";
  SortListItems(list, 3);
  EXPECT_EQ(list, u"");
}

// Texts from a small alphabet, so that words repeat, overlap ("aaaa") and mix with Chinese.
Text RandomText(std::mt19937& random, int pieces) {
  static const char16_t* const kPieces[] = {u"a",  u"b",      u"aa",     u"ab",     u"ba", u" ",
                                            u"  ", u"\u4E2D", u"\u6587", u"\u201C", u"\r", u"\n",
                                            u"\t", u"a b",    u"\u7684", u"\x7F",   u"x",  u"\uFFFF"};
  const size_t count = std::size(kPieces);
  Text text;
  std::uniform_int_distribution<size_t> pick(0, count - 1);
  for (int i = 0; i < pieces; ++i) {
    size_t index = pick(random);
    if (index == count - 1 && random() % 8 != 0) index = 0;  // U+FFFF only now and then
    text += kPieces[index];
  }
  return text;
}

TEST(FindRepeatedPhrases, GivesTheReportOfTheLiteralSearch) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 1500; ++round) {
    const Text text = RandomText(random, 5 + static_cast<int>(random() % (round < 1200 ? 80 : 900)));
    const int minWords = static_cast<int>(random() % 5) - 1;
    const int maxWords = static_cast<int>(random() % 8);
    const int minRepeats = static_cast<int>(random() % 5) - 1;
    const Text answer = FromUtf8(std::to_string(minWords) + " " + std::to_string(maxWords) + " " +
                                 std::to_string(minRepeats));
    test::TestPrompts prompts{answer};
    if (random() % 6 == 0) test::SetParameter(Param::kPhraseStopList, random() % 2 ? u"b b" : u"\u6587a\tx");
    Text work = text;
    TaskContext context;
    context.workingText = &work;
    LineList lines;
    PhraseSearch search;
    if (!CollectLines(lines, search, context)) continue;
    const Text expected = LiteralReport(lines, search, work);
    FindRepeatedPhrases(lines, search, context);
    ASSERT_EQ(ToUtf8(work), ToUtf8(expected)) << "round " << round << ", answer " << ToUtf8(answer);
  }
}

TEST(FindRepeatedPhrases, PhrasesShortOfTheRepetitionsCountAsTheLiteralSearchDoes) {
  // Few distinct words, many repeated lines, and repetition counts that most phrases fall short of.
  std::mt19937 random(99);
  const char16_t* const kLines[] = {u"a a a a a a a a", u"a b a b a b", u"b a a b", u"a a",
                                    u"\u4E2D\u4E2D a a"};
  for (int round = 0; round < 200; ++round) {
    Text text;
    for (int i = 30 + static_cast<int>(random() % 120); i > 0; --i)
      text += kLines[random() % std::size(kLines)] + Text(u"\r\n");
    const Text answer =
        FromUtf8("1 " + std::to_string(1 + random() % 9) + " " + std::to_string(random() % 60));
    test::TestPrompts prompts{answer};
    Text work = text;
    TaskContext context;
    context.workingText = &work;
    LineList lines;
    PhraseSearch search;
    ASSERT_TRUE(CollectLines(lines, search, context));
    const Text expected = LiteralReport(lines, search, work);
    FindRepeatedPhrases(lines, search, context);
    ASSERT_EQ(ToUtf8(work), ToUtf8(expected)) << "round " << round << ", answer " << ToUtf8(answer);
  }
}

TEST(FindRepeatedPhrases, PhrasesHoldingAU_FFFFMatchBlanksAsTheLiteralSearchDoes) {
  // U+FFFF is also the blank: such a phrase can match where a reported phrase was blanked since.
  std::mt19937 random(4);
  const char16_t* const kPieces[] = {u"a", u" ", u"\u4E2D", u"\u6587", u"\uFFFF", u"\uFFFF", u"\r\n"};
  for (int round = 0; round < 1500; ++round) {
    Text text;
    for (int i = 10 + static_cast<int>(random() % 150); i > 0; --i)
      text += kPieces[random() % std::size(kPieces)];
    const Text answer =
        FromUtf8("1 " + std::to_string(1 + random() % 6) + " " + std::to_string(random() % 4));
    test::TestPrompts prompts{answer};
    Text work = text;
    TaskContext context;
    context.workingText = &work;
    LineList lines;
    PhraseSearch search;
    if (!CollectLines(lines, search, context)) continue;
    const Text expected = LiteralReport(lines, search, work);
    FindRepeatedPhrases(lines, search, context);
    ASSERT_EQ(ToUtf8(work), ToUtf8(expected)) << "round " << round << ", answer " << ToUtf8(answer);
  }
}

// Lines of English words (some inside others: "he" in "the", "car" in "care") and Chinese characters,
// a quarter of them copies of earlier lines, with U+FFFF, halves of surrogate pairs, U+007F, blank lines
// and runs of spaces now and then; with marks, every line ends in U+FFFF.
Text RandomMixedText(std::mt19937& random, bool markInEveryLine) {
  static const char16_t* const kWords[] = {u"the", u"red", u"car", u"he", u"ed", u"care", u"a", u"\x7F"};
  static const char16_t kWide[] = {0x4E2D, 0x6587, 0x7684, 0x8F66, 0xD83D, 0xDE00, 0xFFFF, 0x3002};
  static const char16_t* const kBreaks[] = {u"\r\n", u"\r\n", u"\n", u"\r\n\r\n", u"\t"};
  std::vector<Text> lines;
  for (int i = static_cast<int>(random() % 40); i > 0; --i) {
    if (!lines.empty() && random() % 4 == 0) {
      lines.push_back(lines[random() % lines.size()]);
      continue;
    }
    Text line;
    for (int w = static_cast<int>(random() % 9); w > 0; --w) {
      if (random() % 2 == 0) {
        if (!line.empty()) line += random() % 5 ? u" " : u"   ";
        line += kWords[random() % std::size(kWords)];
      } else {
        line += kWide[random() % (random() % 4 ? 4 : std::size(kWide))];
      }
    }
    if (markInEveryLine) line += u'\uFFFF';
    lines.push_back(line);
  }
  Text text;
  for (const Text& line : lines) text += line + kBreaks[random() % std::size(kBreaks)];
  return text;
}

TEST(FindRepeatedPhrases, MixedTextsGiveTheReportOfTheLiteralSearch) {
  std::mt19937 random(77);
  for (int round = 0; round < 3000; ++round) {
    const bool marks = round % 3 == 0;
    const Text text = RandomMixedText(random, marks);
    const int minWords = static_cast<int>(random() % 5) - 1;
    const int maxWords = random() % 10 == 0 ? 100 : static_cast<int>(random() % 8);
    const int minRepeats = static_cast<int>(random() % 6) - 1;
    const Text answer = FromUtf8(std::to_string(minWords) + " " + std::to_string(maxWords) + " " +
                                 std::to_string(minRepeats));
    test::TestPrompts prompts{answer};
    test::SetParameter(Param::kPhraseStopList, random() % 8 == 0 ? u"ed c\t\u6587\uFFFF" : u"");
    Text work = text;
    TaskContext context;
    context.workingText = &work;
    LineList lines;
    PhraseSearch search;
    if (!CollectLines(lines, search, context)) continue;
    const Text expected = LiteralReport(lines, search, work);
    FindRepeatedPhrases(lines, search, context);
    ASSERT_EQ(ToUtf8(work), ToUtf8(expected))
        << "round " << round << ", answer " << ToUtf8(answer) << (marks ? ", marks" : "");
  }
}

TEST(SortListItems, AgreesWithPlacingItemsOneByOne) {
  std::mt19937 random(7);
  const char16_t* const kItems[] = {u"", u"a", u"b", u"ab", u" a", u"\u4E2D", u"    3     x", u"   12     y"};
  for (int round = 0; round < 500; ++round) {
    Text list;
    const int items = static_cast<int>(random() % 7);
    for (int i = 0; i < items; ++i)
      list += Text(kItems[random() % std::size(kItems)]) + (random() % 4 ? u"\t" : u"");
    for (int mode : {0, 3}) {
      Text sorted = list;
      SortListItems(sorted, mode);
      EXPECT_EQ(ToUtf8(sorted), ToUtf8(LiteralSort(list, mode))) << ToUtf8(list) << " mode " << mode;
    }
  }
}

}  // namespace
}  // namespace scrivano
