#include "toolkit/ValueAfterColon.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/TestPrompts.h"

namespace scrivano {
namespace {

TEST(ValueAfterColon, ComplainsAboutAMissingColonOrEmptyValue) {
  test::TestPrompts prompts;
  Text value = u"old";
  EXPECT_TRUE(ValueAfterColon(u"key:  a:b  ", value, false));
  EXPECT_EQ(value, u"a:b");
  EXPECT_TRUE(ValueAfterColon(u"key:   ", value, true));
  EXPECT_EQ(value, u"");
  EXPECT_TRUE(prompts.dialogs().empty());
  EXPECT_FALSE(ValueAfterColon(u"key:   ", value, false));
  EXPECT_FALSE(ValueAfterColon(u"no colon", value, true));
  EXPECT_EQ(prompts.Messages(), (std::vector<Text>{u"Wrong parameter format!", u"Wrong parameter format!"}));
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
}

}  // namespace
}  // namespace scrivano
