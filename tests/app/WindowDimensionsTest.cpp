#include <gtest/gtest.h>

#include "app/WindowDimensions.h"
#include "settings/IniFile.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "text/Utf16Bytes.h"

namespace scrivano {
namespace {

const platform::Rect kScreen{0, 0, 1280, 1024};
constexpr int kCaption = 20;

class WindowDimensionsTest : public testing::Test {
 protected:
  Text File() const { return folder.File("config.ini"); }
  test::TestPrompts prompts;
  test::TempFolder folder;
};

TEST_F(WindowDimensionsTest, ASavedRectangleComesBackAndTheRestOfTheFileStays) {
  const std::string before =
      "\xFF\xFE" + TextToUtf16LeBytes(u"[PARAMETERS]\r\nPara0=500\r\n\r\n[DIMENSIONS]\r\n");
  folder.WriteBytes("config.ini", before);
  ASSERT_TRUE(SaveWindowRect(File(), {100, 100, 400, 500}, kScreen, u"Function List"));
  EXPECT_EQ(folder.ReadBytes("config.ini"),
            "\xFF\xFE" +
                TextToUtf16LeBytes(
                    u"[PARAMETERS]\r\nPara0=500\r\n\r\n[DIMENSIONS]\r\nFunction List=100,100,400,500\r\n"));
  EXPECT_EQ(RestoreWindowRect(File(), u"Function List", kScreen, kCaption),
            (platform::Rect{100, 100, 400, 500}));
  EXPECT_EQ(RestoreWindowRect(File(), u"Other", kScreen, kCaption), std::nullopt);
}

TEST_F(WindowDimensionsTest, RectanglesOffTheScreenAreNotSaved) {
  const platform::Rect offScreen[] = {
      {1281, 10, 1500, 300}, {10, 1025, 300, 1200}, {-400, 10, -1, 300}, {10, -400, 300, -1}};
  for (const platform::Rect& rect : offScreen) EXPECT_FALSE(SaveWindowRect(File(), rect, kScreen, u"W"));
  EXPECT_EQ(folder.ReadBytes("config.ini"), "");
}

TEST_F(WindowDimensionsTest, AStoredRectangleIsTakenOnlyWhileItsTopCanBeReached) {
  struct Case {
    const char* value;
    bool accepted;
  } cases[] = {
      {"100,100,400,500", true},
      {"100,5,400,500", true},       // the top is above the shrunk desktop, one caption lower it is on it
      {"100,-100,400,500", false},   // even one caption lower the top is above it
      {"-300,30,100,500", true},     // the top-right corner is
      {"1300,100,1600,500", false},  // wholly to the right of the screen
      {"100,1010,400,1300", false},  // below the shrunk desktop
      {"100,100", true},             // missing numbers are 0; the top-left corner decides
      {"", false},                   // no value
  };
  for (const Case& c : cases) {
    folder.WriteBytes("config.ini", std::string("[DIMENSIONS]\r\nW=") + c.value + "\r\n");
    EXPECT_EQ(RestoreWindowRect(File(), u"W", kScreen, kCaption).has_value(), c.accepted) << c.value;
  }
}

}  // namespace
}  // namespace scrivano
