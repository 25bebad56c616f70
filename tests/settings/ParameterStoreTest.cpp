#include "settings/ParameterStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/TempFolder.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

using test::TempFolder;
using test::TestPrompts;

TEST(ParameterStore, LoadsTextAndIntegers) {
  TestPrompts prompts;
  TempFolder folder;
  folder.WriteBytes("config.ini",
                    "[PARAMETERS]\r\nPara0=500\r\nPara0=1000\r\nPara3= 12abc\r\nPara4=-1\r\nPara5=a\tb\r\n"
                    "Para22=last\r\nPara23=beyond\r\n");
  Parameters().SetParameterFile(folder.File("config.ini"));
  LoadParameters(23);
  EXPECT_EQ(ParameterInt(0), 500);
  EXPECT_EQ(ParameterText(5), u"a\tb");
  EXPECT_EQ(ParameterInt(5), 0);
  EXPECT_EQ(ParameterInt(3), 12);
  EXPECT_EQ(ParameterInt(4), -1);
  EXPECT_EQ(ParameterInt(1), 0);
  EXPECT_EQ(ParameterText(22), u"last");
  EXPECT_EQ(ParameterText(23), u"");
  EXPECT_EQ(ParameterText(-1), u"");

  Parameters().SetParameterFile(folder.File("missing.ini"));
  LoadParameters(23);
  EXPECT_EQ(ParameterText(5), u"");
}

TEST(ParameterStore, ReadersAlwaysSeeOneWholeValueDuringReloads) {
  TestPrompts prompts;
  const Text a(1000, u'a');
  const Text b(2000, u'b');
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        const Text value = ParameterText(6);
        if (!value.empty() && value != a && value != b) ++torn;
        const auto snapshot = CurrentParameters();
        const bool consistent = (snapshot->Value(6) == a && snapshot->Value(7) == a) ||
                                (snapshot->Value(6) == b && snapshot->Value(7) == b) || snapshot->Value(6).empty();
        if (!consistent) ++torn;
      }
    });
  }
  for (int i = 0; i < 2000; ++i) {
    std::array<Text, kParameterCount> values;
    values[6] = values[7] = (i % 2) ? a : b;
    Parameters().SetAll(values);
  }
  stop = true;
  for (auto& reader : readers) reader.join();
  EXPECT_EQ(torn.load(), 0);
}

TEST(ReadIniValue, TextFormStaysInsideTheSection) {
  TestPrompts prompts;
  Text source = u"[DIMENSIONS]\r\nMain=0 0 800 600\r\n[Other]\r\nList=1";
  Text value;
  EXPECT_TRUE(ReadIniValue(source, u"DIMENSIONS", u"Main", value, true));
  EXPECT_EQ(value, u"0 0 800 600");
  EXPECT_TRUE(source.starts_with(u"\r\n[DIMENSIONS]"));  // the caller's text keeps the added line break

  EXPECT_FALSE(ReadIniValue(source, u"DIMENSIONS", u"List", value, false));
  EXPECT_TRUE(prompts.dialogs().empty());
  EXPECT_TRUE(ReadIniValue(source, u"Other", u"List", value, false));
  EXPECT_EQ(value, u"1");
  EXPECT_FALSE(ReadIniValue(source, u"Missing", u"Main", value, true));
  EXPECT_EQ(prompts.Messages(), std::vector<Text>{u"Could not find a parameter !"});
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
}

TEST(ReadIniValue, FileForm) {
  TestPrompts prompts;
  TempFolder folder;
  folder.WriteBytes("c.ini", "[dimensions]\nmain = 1 2 3 4\n");
  Text source = folder.File("c.ini");
  Text value;
  EXPECT_TRUE(ReadIniValue(source, u"DIMENSIONS", u"Main", value, false));
  EXPECT_EQ(value, u"1 2 3 4");
  EXPECT_EQ(source, folder.File("c.ini"));
}

}  // namespace
}  // namespace scrivano
