#include "functions/FunctionTable.h"

#include <gtest/gtest.h>

#include "support/TestPrompts.h"
#include "text/Pieces.h"

namespace scrivano {
namespace {

TEST(FunctionTable, NineteenEntriesSortedByTheirTwoDigitPrefix) {
  const auto entries = FunctionEntries();
  ASSERT_EQ(entries.size(), 19u);
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].number, static_cast<int>(i));
    const Text item = entries[i].itemText;
    EXPECT_EQ(ToInt(item.substr(0, 2)), static_cast<int>(i)) << ToUtf8(item);
    EXPECT_EQ(item.substr(2, 2), u". ");
    if (i > 0) {
      EXPECT_LT(Text(entries[i - 1].itemText), item);
    }
    EXPECT_TRUE(entries[i].run || entries[i].needs);
  }
}

TEST(FunctionTable, FindsByNumberOrName) {
  EXPECT_EQ(FindFunctionEntry("10")->number, 10);
  EXPECT_EQ(FindFunctionEntry("uppercase")->number, 10);
  EXPECT_EQ(FindFunctionEntry("0")->number, 0);
  EXPECT_EQ(FindFunctionEntry("extract-phrases")->number, -1);
  EXPECT_EQ(FindFunctionEntry("19"), nullptr);
  EXPECT_EQ(FindFunctionEntry("-1"), nullptr);
  EXPECT_EQ(FindFunctionEntry("9x"), nullptr);
  EXPECT_EQ(FindFunctionEntry(""), nullptr);
  EXPECT_EQ(FindFunctionEntry("Uppercase"), nullptr);
}

TEST(FunctionTable, CaseEntriesMapAsciiLettersOnly) {
  test::TestPrompts prompts;
  Text text = u"\u00C0BC";
  TaskContext context;
  context.workingText = &text;
  EXPECT_TRUE(FindFunctionEntry("9")->run(context));
  EXPECT_EQ(text, u"\u00C0bc");
  EXPECT_TRUE(FindFunctionEntry("10")->run(context));
  EXPECT_EQ(text, u"\u00C0BC");
}

}  // namespace
}  // namespace scrivano
