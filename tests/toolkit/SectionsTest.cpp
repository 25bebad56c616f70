#include "toolkit/Sections.h"

#include <gtest/gtest.h>

#include "support/TestPrompts.h"

namespace scrivano {
namespace {

TEST(NextSection, CutsAtSeparatorLinesAndComplainsAtTheEnd) {
  test::TestPrompts prompts;
  const Text text = u"a\r\n=====x\r\nb";
  Text section;
  int pos = 0;
  ASSERT_TRUE(NextSection(text, section, &pos));
  EXPECT_EQ(section, u"a\r\n");
  EXPECT_EQ(pos, 11);
  ASSERT_TRUE(NextSection(text, section, &pos));
  EXPECT_EQ(section, u"b");
  EXPECT_EQ(pos, -1);
  EXPECT_TRUE(prompts.dialogs().empty());
  EXPECT_FALSE(NextSection(text, section, &pos));
  EXPECT_EQ(section, u"b");
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Could not get another section!");
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
}

TEST(NextSection, SeparatorOnTheLastLineWithoutBreak_IsNoSeparator) {
  test::TestPrompts prompts;
  Text section;
  int pos = 0;
  ASSERT_TRUE(NextSection(u"src\r\n=====", section, &pos));
  EXPECT_EQ(section, u"src\r\n=====");
  EXPECT_EQ(pos, -1);
  // Without a position: start at 0, no update.
  ASSERT_TRUE(NextSection(u"x=====\r\ny", section));
  EXPECT_EQ(section, u"x");
}

}  // namespace
}  // namespace scrivano
