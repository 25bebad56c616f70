#include "text/Lists.h"

#include <gtest/gtest.h>


namespace scrivano {
namespace {

TEST(FindFirstListItem, ReturnsTheNumberAndStartOfTheFirstItemInListOrder) {
  int start = -1;
  EXPECT_EQ(FindFirstListItem(u"abc", u"x\tb\tc", &start), 2);
  EXPECT_EQ(start, 2);
  EXPECT_EQ(FindFirstListItem(u"abc", u"", &start), 0);
  EXPECT_EQ(FindFirstListItem(u"abc", u"x\ty"), 0);
  EXPECT_EQ(FindFirstListItem(u"abc", u"c\tab", &start), 1);
  EXPECT_EQ(start, 0);
  // An empty item occurs everywhere, also in the empty text.
  EXPECT_EQ(FindFirstListItem(u"abc", u"x\t\ty", &start), 2);
  EXPECT_EQ(start, 2);
  EXPECT_EQ(FindFirstListItem(u"", u"x\t\ty"), 2);
  // A trailing tab adds no empty item.
  EXPECT_EQ(FindFirstListItem(u"abc", u"x\t"), 0);
}

TEST(ListItemContains, LooksInsideItems) {
  EXPECT_TRUE(ListItemContains(u"b", u"x\tabc"));
  EXPECT_FALSE(ListItemContains(u"bx", u"x\tabc"));
  EXPECT_FALSE(ListItemContains(u"", u""));
  EXPECT_TRUE(ListItemContains(u"", u"x"));
}

TEST(IsListItem, MatchesWholeItemsOnly) {
  EXPECT_FALSE(IsListItem(u"ab\tc", u"b", u"\t"));
  EXPECT_TRUE(IsListItem(u"ab\tc", u"c", u"\t"));
  EXPECT_TRUE(IsListItem(u"ab\tc", u"ab", u"\t"));
  EXPECT_FALSE(IsListItem(u"", u"", u"\t"));
  EXPECT_TRUE(IsListItem(u"a\t\tb", u"", u"\t"));
  EXPECT_TRUE(IsListItem(u"12;7;30", u"7", u";"));
}

TEST(NextListNumber, ReadsEachItemAsAnInteger) {
  const Text list = u"12\t-3\tx\t 4";
  std::vector<int> values;
  Text token;
  int pos = 0, value = 0;
  while (NextListNumber(list, pos, token, value)) values.push_back(value);
  EXPECT_EQ(values, (std::vector<int>{12, -3, 0, 4}));
  pos = 0;
  EXPECT_FALSE(NextListNumber(u"", pos, token, value));
}

}  // namespace
}  // namespace scrivano
