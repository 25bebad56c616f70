#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transform/PhraseTable.h"

namespace scrivano {
namespace {

// Phrases are told apart by their characters, not by where they stand; the table keeps them through its
// growth and forgets them all when emptied for the next level.
TEST(PhraseTable, FindsPhrasesByTheirCharactersThroughGrowthAndClearing) {
  std::vector<Text> first;
  std::vector<Text> copies;
  for (int i = 0; i < 3000; ++i) {
    first.push_back(FromUtf8("phrase " + std::to_string(i)));
    copies.push_back(first.back());
  }
  PhraseTable table;
  EXPECT_EQ(table.Find(u"phrase 1"), nullptr);
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 3000; ++i) {
      const auto [number, added] = table.TryEmplace(first[static_cast<size_t>(i)], i);
      EXPECT_TRUE(added);
      EXPECT_EQ(*number, i);
    }
    for (int i = 0; i < 3000; ++i) {
      const auto [number, added] = table.TryEmplace(copies[static_cast<size_t>(i)], -1);
      EXPECT_FALSE(added);
      ASSERT_EQ(*number, i);
      ASSERT_NE(table.Find(copies[static_cast<size_t>(i)]), nullptr);
    }
    EXPECT_FALSE(table.Contains(u"phrase 3000"));
    EXPECT_FALSE(table.Contains(u"phrase"));
    table.Clear();
    for (const Text& phrase : copies) ASSERT_FALSE(table.Contains(phrase));
  }
  // The empty phrase is a phrase like any other.
  EXPECT_TRUE(table.TryEmplace(u"", 7).second);
  EXPECT_EQ(*table.Find(u""), 7);
}

}  // namespace
}  // namespace scrivano
