#include "docx/GapVector.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace scrivano::word {
namespace {

// Random replacements, insertions and deletions, walking forward and jumping about, against a plain
// vector doing the same; strings, because moving one onto itself would empty it.
TEST(GapVectorTest, AgreesWithAVectorUnderRandomReplacements) {
  std::mt19937 random(7);
  std::vector<std::string> expected;
  for (int i = 0; i < 40; ++i) expected.push_back("item " + std::to_string(i));
  GapVector<std::string> items(expected);
  for (int step = 0; step < 20000; ++step) {
    const size_t size = expected.size();
    const size_t first = step % 3 ? (step / 3) % (size + 1) : random() % (size + 1);
    const size_t count = first < size ? random() % std::min<size_t>(4, size - first + 1) : 0;
    std::vector<std::string> fresh;
    for (size_t k = random() % (size > 300 ? 2 : 5); k > 0; --k) fresh.push_back(std::to_string(step));
    expected.erase(expected.begin() + first, expected.begin() + first + count);
    expected.insert(expected.begin() + first, fresh.begin(), fresh.end());
    items.Replace(first, count, std::move(fresh));
    ASSERT_EQ(items.size(), expected.size()) << "step " << step;
    for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(items[i], expected[i]) << "step " << step;
  }
  items.push_back("last");
  EXPECT_EQ(items.back(), "last");
}

}  // namespace
}  // namespace scrivano::word
