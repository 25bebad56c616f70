#include <gtest/gtest.h>

#include "capture/WindowList.h"

namespace scrivano {
namespace {

TEST(WindowList, RemoveWindowFromList_TakesOnlyTheWholeItem) {
  struct Case {
    Text list;
    WindowHandle window;
    Text expected;
  };
  const Case cases[] = {
      {u"10\t20\t30", 20, u"10\t30"},
      {u"10\t20\t30", 10, u"20\t30"},
      {u"10\t20\t30", 30, u"10\t20"},
      {u"120\t20", 20, u"120"},
      {u"120\t201", 20, u"120\t201"},
      {u"20", 20, u""},
      {u"", 20, u""},
  };
  for (const Case& c : cases) {
    Text list = c.list;
    RemoveWindowFromList(list, c.window);
    EXPECT_EQ(list, c.expected) << ToUtf8(c.list) << " - " << c.window;
  }
}

TEST(WindowList, AddWindowToList_PutsItInFrontOnceAndPrunes) {
  Text list = u"10\t20\t30";
  AddWindowToList(list, 20);
  EXPECT_EQ(list, u"20\t10\t30");
  AddWindowToList(list, 40, [](WindowHandle w) { return w != 10; });
  EXPECT_EQ(list, u"40\t20\t30");
  Text empty;
  AddWindowToList(empty, 7);
  EXPECT_EQ(empty, u"7");
}

}  // namespace
}  // namespace scrivano
