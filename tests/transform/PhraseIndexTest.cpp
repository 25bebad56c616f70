#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "transform/PhraseIndex.h"

namespace scrivano {
namespace {

// Lines from a tiny alphabet (so that pieces repeat and overlap), some of them copies of earlier ones.
std::vector<Text> RandomLines(std::mt19937& random) {
  static const char16_t kAlphabet[] = {u'a', u'b', u' ', 0x4E2D, 0xFFFF, 0xD800};
  std::vector<Text> lines;
  for (int i = 1 + static_cast<int>(random() % 12); i > 0; --i) {
    if (!lines.empty() && random() % 3 == 0) {
      lines.push_back(lines[random() % lines.size()]);
      continue;
    }
    Text line;
    for (int k = 1 + static_cast<int>(random() % 10); k > 0; --k)
      line += kAlphabet[random() % (random() % 2 ? 2 : std::size(kAlphabet))];
    lines.push_back(line);
  }
  return lines;
}

// Also lines that share stretches longer than the index holds in a byte, asked about pieces around that
// length.
std::vector<Text> LongLines(std::mt19937& random) {
  Text stretch;
  for (int k = 0; k < 300; ++k) stretch += random() % 2 ? u'a' : u'b';
  std::vector<Text> lines = RandomLines(random);
  for (Text& line : lines) line = Text(stretch).substr(random() % 40, 250 + random() % 50) + line;
  return lines;
}

TEST(PhraseIndex, FindsEveryPlaceOfEveryPiece) {
  std::mt19937 random(31);
  for (int round = 0; round < 440; ++round) {
    const bool longLines = round >= 400;
    const std::vector<Text> lines = longLines ? LongLines(random) : RandomLines(random);
    const std::vector<TextView> views(lines.begin(), lines.end());
    Text text;
    for (const Text& line : lines) text += line + u"\r";
    const PhraseIndex index(views);
    for (size_t line = 0; line < lines.size(); ++line) {
      const int size = static_cast<int>(lines[line].size());
      for (int at = 0; at < size; at += longLines ? 7 : 1) {
        for (int length = longLines ? 240 : 1; at + length <= size; length += longLines ? 5 : 1) {
          const TextView piece =
              TextView(lines[line]).substr(static_cast<size_t>(at), static_cast<size_t>(length));
          std::vector<int> expected;
          for (size_t p = text.find(piece); p != Text::npos; p = text.find(piece, p + 1))
            expected.push_back(static_cast<int>(p));
          std::vector<int> places;
          index.Occurrences(static_cast<int>(line), at, length, 0, places);
          std::sort(places.begin(), places.end());
          // From a place on: only the places there and after.
          const int from = expected[expected.size() / 2];
          std::vector<int> later;
          index.Occurrences(static_cast<int>(line), at, length, from, later);
          std::sort(later.begin(), later.end());
          EXPECT_EQ(later,
                    std::vector<int>(expected.begin() + static_cast<std::ptrdiff_t>(expected.size() / 2),
                                     expected.end()));
          ASSERT_EQ(places, expected)
              << "round " << round << ", line " << line << ", at " << at << ", length " << length;
          EXPECT_EQ(index.OccursElsewhere(static_cast<int>(line), at, length), expected.size() > 1);
          const int count = static_cast<int>(expected.size());
          EXPECT_EQ(index.CountUpTo(static_cast<int>(line), at, length, count), count);
          EXPECT_GT(index.CountUpTo(static_cast<int>(line), at, length, count - 1), count - 1);
        }
      }
    }
  }
}

TEST(InducedSuffixArray, SortsTheSuffixes) {
  std::mt19937 random(5);
  for (int round = 0; round < 300; ++round) {
    const int upper = static_cast<int>(random() % 4);
    // Long runs of few symbols sort through several levels of recursion.
    std::vector<int> symbols(random() % (round % 10 == 0 ? 500 : 60));
    for (int& symbol : symbols) symbol = static_cast<int>(random() % static_cast<unsigned>(upper + 1));
    std::vector<int> expected(symbols.size());
    for (size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<int>(i);
    std::sort(expected.begin(), expected.end(), [&](int a, int b) {
      return std::lexicographical_compare(symbols.begin() + a, symbols.end(), symbols.begin() + b,
                                          symbols.end());
    });
    EXPECT_EQ(InducedSuffixArray(symbols, upper), expected) << "round " << round;
  }
}

}  // namespace
}  // namespace scrivano
