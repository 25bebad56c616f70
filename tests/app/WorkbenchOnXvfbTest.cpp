// The whole program on a private Xvfb display: started as a user starts it, driven with synthetic mouse
// and key events on its own windows.
// gtest before Xlib: Xlib's macros (None, Bool) would break gtest's templates.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "platform/x11/X11Desktop.h"
#include "settings/IniFile.h"
#include "settings/ProgramPaths.h"
#include "support/PrivateDisplay.h"
#include "support/TempFolder.h"
#include "text/AnsiCodec.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;

bool Eventually(const std::function<bool()>& condition, std::chrono::seconds limit = 45s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return condition();
}

WindowHandle FindWindow(platform::DesktopPlatform& desktop, TextView title) {
  for (const WindowHandle window : desktop.TopLevelWindows())
    if (desktop.WindowTitle(window) == title) return window;
  return 0;
}

void Click(Display* display, int x, int y, int count = 1) {
  XTestFakeMotionEvent(display, -1, x, y, 0);
  for (int i = 0; i < count; ++i) {
    XTestFakeButtonEvent(display, 1, True, 0);
    XTestFakeButtonEvent(display, 1, False, 0);
  }
  XFlush(display);
}

void PressKey(Display* display, KeySym key) {
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), True, 0);
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), False, 0);
  XFlush(display);
}

// The vertical middle of the list's selected row, found by its highlight colour in one pixel column.
int SelectedRowMiddle(Display* display, int x, int top, int bottom) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, top, 1,
                            static_cast<unsigned>(bottom - top), AllPlanes, ZPixmap);
  if (!image) return -1;
  int first = -1, last = -1;
  for (int y = 0; y < bottom - top; ++y) {
    const unsigned long pixel = XGetPixel(image, 0, y);
    const int red = static_cast<int>((pixel >> 16) & 0xFF), green = static_cast<int>((pixel >> 8) & 0xFF),
              blue = static_cast<int>(pixel & 0xFF);
    if (blue > 120 && blue > red + 60 && green < blue) {
      if (first < 0) first = y;
      last = y;
    }
  }
  XDestroyImage(image);
  return first < 0 ? -1 : top + (first + last) / 2;
}

TEST(WorkbenchOnXvfb, ADoubleClickOnAnEntryPutsItsResultIntoTheOutputFile) {
  test::PrivateDisplay screen;
  if (!screen.Started()) GTEST_SKIP() << "no private display: " << screen.Error();
  test::TempFolder root;
  ::mkdir((root.path() + "/Data").c_str(), 0755);
  ::mkdir((root.path() + "/runtime").c_str(), 0700);
  const ProgramPaths paths = PathsBelow(FromUtf8(root.path()));
  ASSERT_TRUE(InstallDefaultParameterFile(paths));
  ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"DIMENSIONS", u"Function List", u"700,100,1000,600"));
  root.WriteBytes("Data/Input", TextToUtf16LeBytes(u"aBc xyz\r\n中文"));

  const pid_t program = screen.Spawn({SCRIVANO_PROGRAM}, {{"SCRIVANO_ROOT", root.path()},
                                                          {"QT_QPA_PLATFORM", "xcb"},
                                                          {"XDG_RUNTIME_DIR", root.path() + "/runtime"},
                                                          {"XDG_CONFIG_HOME", root.path() + "/config"}});
  ASSERT_GT(program, 0);
  Display* display = XOpenDisplay(screen.Name().c_str());
  ASSERT_NE(display, nullptr);
  const auto desktop = platform::X11Desktop::Open(screen.Name().c_str());

  // The Function List where its stored placement puts it.
  WindowHandle list = 0;
  ASSERT_TRUE(Eventually([&] { return (list = FindWindow(*desktop, u"Function List")) != 0; }));
  const WindowHandle main = FindWindow(*desktop, u"Scrivano");
  EXPECT_NE(main, 0u);
  platform::Rect rect;
  ASSERT_TRUE(Eventually([&] {
    return (rect = desktop->WindowRect(list)) == platform::Rect{700, 100, 1000, 600};
  })) << rect.left
      << "," << rect.top << "," << rect.right << "," << rect.bottom;

  // Select the first entry with a click, walk down to "10. Make uppercase" one key at a time (each step
  // seen on the screen), double-click it.
  const int column = rect.left + 60;
  const auto selectedRow = [&] { return SelectedRowMiddle(display, column, rect.top, rect.bottom); };
  int row = -1;
  Click(display, column, rect.top + 18);
  ASSERT_TRUE(Eventually([&] { return (row = selectedRow()) > 0; })) << "no selected row";
  for (int i = 0; i < 10; ++i) {
    const int previous = row;
    PressKey(display, XK_Down);
    ASSERT_TRUE(Eventually([&] { return (row = selectedRow()) > previous; })) << "step " << i;
  }
  Click(display, column, row, 2);

  const std::string expected = TextToUtf16LeBytes(u"ABC XYZ\r\n中文");
  EXPECT_TRUE(Eventually([&] { return root.ReadBytes("Data/Output") == expected; }));

  // Closing the main window ends the program, which stores the Function List's placement.
  desktop->RequestClose(main);
  int status = -1;
  ASSERT_TRUE(Eventually([&] { return ::waitpid(program, &status, WNOHANG) == program; }));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  Text stored;
  Text file = paths.parameterFile;
  EXPECT_TRUE(ReadIniValue(file, u"DIMENSIONS", u"Function List", stored, false));
  EXPECT_EQ(stored, u"700,100,1000,600");
  XCloseDisplay(display);
}

TEST(WorkbenchOnXvfb, WithoutADisplayTheProgramSaysSoPlainly) {
  const std::string command =
      std::string("env -u DISPLAY -u QT_QPA_PLATFORM '") + SCRIVANO_PROGRAM + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  const int status = ::pclose(pipe);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(output.find("scrivano: no display."), std::string::npos) << output;
}

}  // namespace
}  // namespace scrivano
