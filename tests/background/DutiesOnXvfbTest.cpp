// The duties on a private Xvfb display with openbox, on test clients of their own: a dialog closed by the
// pop-up duty, a caption restored on a real window, and the whole program's overlay over a client that
// draws its own title bar.
// gtest before Xlib: Xlib's macros (None, Bool) would break gtest's templates.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <thread>

#include "background/StatusCaptions.h"
#include "background/TimerCycle.h"
#include "platform/x11/X11Desktop.h"
#include "settings/IniFile.h"
#include "settings/ProgramPaths.h"
#include "support/DesktopWaits.h"
#include "support/PrivateDisplay.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"

// Xlib last: its macros (Status, None, Bool) would break the headers above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using test::Eventually;
using test::FindWindow;

// The colour of one screen pixel as 0xRRGGBB.
unsigned long PixelAt(Display* display, int x, int y) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0;
  const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel;
}

class DutiesOnXvfbTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!screen.Started()) GTEST_SKIP() << "no private display: " << screen.Error();
    desktop = platform::X11Desktop::Open(screen.Name().c_str());
    ASSERT_NE(desktop, nullptr);
  }

  pid_t StartClient(const std::vector<std::string>& options) {
    std::vector<std::string> argv{SCRIVANO_TEST_CLIENT};
    argv.insert(argv.end(), options.begin(), options.end());
    return screen.Spawn(argv);
  }

  WindowHandle WaitForWindow(TextView title) {
    WindowHandle window = 0;
    Eventually([&] { return (window = FindWindow(*desktop, title)) != 0; });
    return window;
  }

  test::PrivateDisplay screen;
  std::unique_ptr<platform::X11Desktop> desktop;
};

TEST_F(DutiesOnXvfbTest, ADialogInFrontWhoseTitleIsInParameterTwoIsClosedByOneCycle) {
  const pid_t dialogClient = StartClient({"--class", "Gedit", "--title", "Tip of the Day", "--dialog"});
  const pid_t editorClient = StartClient({"--class", "Gedit", "--title", "notes.txt", "--at", "700,100"});
  const WindowHandle dialog = WaitForWindow(u"Tip of the Day");
  const WindowHandle editor = WaitForWindow(u"notes.txt");
  ASSERT_NE(dialog, 0u);
  ASSERT_NE(editor, 0u);
  // The class table at work: a dialog is "#32770", the editor keeps its WM_CLASS.
  EXPECT_EQ(desktop->WindowClassName(dialog), u"#32770");
  EXPECT_TRUE(desktop->WindowIsOfClass(dialog, u"OpusApp\t#32770"));
  EXPECT_TRUE(desktop->WindowIsOfClass(dialog, u"gedit"));
  EXPECT_EQ(desktop->WindowClassName(editor), u"Gedit");
  EXPECT_FALSE(desktop->WindowIsOfClass(editor, u"#32770"));
  EXPECT_EQ(desktop->WindowProcessId(dialog), dialogClient);
  EXPECT_EQ(desktop->WindowProcessId(editor), editorClient);
  EXPECT_FALSE(desktop->DrawsOwnTitleBar(editor));

  test::SetParameter(Param::kClosedWindowTitles, u"Update available\tTip of the Day");
  test::SetParameter(Param::kAutoTranslationWait, u"0");
  DesktopDuties duties(*desktop, 0);
  // The editor in front: nothing to close.
  desktop->RequestActivation(editor);
  ASSERT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == editor; }));
  duties.ClosePopups(desktop->ForegroundWindow());
  desktop->RequestActivation(dialog);
  ASSERT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == dialog; }));
  duties.ClosePopups(desktop->ForegroundWindow());
  EXPECT_TRUE(Eventually([&] { return !desktop->IsWindow(dialog); }));
  EXPECT_TRUE(desktop->IsWindow(editor));
  test::SetParameter(Param::kClosedWindowTitles, u"");

  // Keys wait for the user's own modifier keys: nothing is sent while Ctrl is held.
  Display* display = XOpenDisplay(screen.Name().c_str());
  ASSERT_NE(display, nullptr);
  const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
  XTestFakeKeyEvent(display, control, True, CurrentTime);
  XSync(display, False);
  EXPECT_FALSE(desktop->PressKeys({platform::kKeyEscape}));
  XTestFakeKeyEvent(display, control, False, CurrentTime);
  XSync(display, False);
  EXPECT_TRUE(desktop->PressKeys({platform::kKeyEscape}));
  XCloseDisplay(display);
}

TEST_F(DutiesOnXvfbTest, ACaptionOnAnotherProgramsWindowComesBackAndASelfDrawnOneIsLeftAlone) {
  StartClient({"--class", "Gedit", "--title", "notes.txt"});
  StartClient({"--class", "Drawn", "--title", "Drawn client", "--self-drawn", "--at", "700,100"});
  const WindowHandle editor = WaitForWindow(u"notes.txt");
  const WindowHandle drawn = WaitForWindow(u"Drawn client");
  ASSERT_NE(editor, 0u);
  ASSERT_NE(drawn, 0u);
  EXPECT_TRUE(desktop->DrawsOwnTitleBar(drawn));

  std::vector<Text> overlays;
  std::mutex mutex;
  {
    StatusCaptions captions(
        *desktop,
        [&](WindowHandle window, TextView text) {
          std::lock_guard lock(mutex);
          if (window == drawn) overlays.emplace_back(text);
        },
        300ms);
    SetStatusCaptions(&captions);
    ShowCaption(editor, u"Warning !  300 (Free Mbytes) < 512 (Min Mbytes)", true);
    ShowCaption(drawn, u"Warning !  300 (Free Mbytes) < 512 (Min Mbytes)", true);
    EXPECT_EQ(desktop->WindowTitle(editor), u"Warning !  300 (Free Mbytes) < 512 (Min Mbytes)");
    EXPECT_TRUE(Eventually([&] { return desktop->WindowTitle(editor) == u"notes.txt"; }, 3s));
    SetStatusCaptions(nullptr);
  }
  EXPECT_EQ(desktop->WindowTitle(drawn), u"Drawn client");
  std::lock_guard lock(mutex);
  EXPECT_EQ(overlays, std::vector<Text>{u"Warning !  300 (Free Mbytes) < 512 (Min Mbytes)   "});
}

// The whole program: parameter 4 above any free memory makes every cycle warn on the window in front. The
// cycle's period (3 s) does not divide the ten seconds of the restore, so that a restored title stays a
// while before the next cycle warns again.
TEST_F(DutiesOnXvfbTest, TheProgramWarnsOnTheWindowInFrontWithATitleOrAnOverlay) {
  test::TempFolder root;
  ::mkdir((root.path() + "/Data").c_str(), 0755);
  ::mkdir((root.path() + "/runtime").c_str(), 0700);
  const ProgramPaths paths = PathsBelow(FromUtf8(root.path()));
  ASSERT_TRUE(InstallDefaultParameterFile(paths));
  ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"PARAMETERS", u"Para0", u"3000"));
  ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"PARAMETERS", u"Para4", u"99999999"));
  // The always-on-top list out of the clients' way.
  ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"DIMENSIONS", u"Function List", u"980,420,1270,790"));
  const pid_t program = screen.Spawn({SCRIVANO_PROGRAM}, {{"SCRIVANO_ROOT", root.path()},
                                                          {"QT_QPA_PLATFORM", "xcb"},
                                                          {"XDG_RUNTIME_DIR", root.path() + "/runtime"},
                                                          {"XDG_CONFIG_HOME", root.path() + "/config"}});
  ASSERT_GT(program, 0);
  ASSERT_NE(WaitForWindow(u"Function List"), 0u);
  // The main window by its process: its title may show a warning by now.
  WindowHandle main = 0;
  for (const WindowHandle window : desktop->TopLevelWindows())
    if (desktop->WindowProcessId(window) == program && desktop->WindowTitle(window) != u"Function List")
      main = window;
  ASSERT_NE(main, 0u);
  StartClient({"--class", "Gedit", "--title", "notes.txt", "--at", "40,420"});
  StartClient({"--class", "Drawn", "--title", "Drawn client", "--self-drawn", "--at", "400,60"});
  const WindowHandle editor = WaitForWindow(u"notes.txt");
  const WindowHandle drawn = WaitForWindow(u"Drawn client");
  ASSERT_NE(editor, 0u);
  ASSERT_NE(drawn, 0u);

  // A decorated window shows the warning in its title, and gets its own title back ten seconds later
  // (until the next cycle warns again).
  desktop->RequestActivation(editor);
  ASSERT_TRUE(Eventually([&] { return desktop->WindowTitle(editor).starts_with(u"Warning !  "); }, 10s))
      << "in front: " << desktop->ForegroundWindow() << " "
      << ToUtf8(desktop->WindowTitle(desktop->ForegroundWindow())) << "; editor " << editor << " "
      << ToUtf8(desktop->WindowTitle(editor));
  const Text warning = desktop->WindowTitle(editor);
  EXPECT_NE(warning.find(u" (Free Mbytes) < 99999999 (Min Mbytes)"), Text::npos) << ToUtf8(warning);
  const auto warned = std::chrono::steady_clock::now();
  ASSERT_TRUE(Eventually([&] { return desktop->WindowTitle(editor) == u"notes.txt"; }, 15s));
  EXPECT_GE(std::chrono::steady_clock::now() - warned, 8s);

  // A window that draws its own title bar keeps its title; the white box lies over its top.
  desktop->RequestActivation(drawn);
  ASSERT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == drawn; }));
  const platform::Rect rect = desktop->WindowRect(drawn);
  Display* display = XOpenDisplay(screen.Name().c_str());
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(PixelAt(display, rect.left + 20, rect.bottom - 20), 0x2060A0u) << "the client's own colour";
  // Below the client's own title bar, in the left margin of the box.
  const auto whiteNearTheTop = [&] {
    for (int y = rect.top + 31; y < rect.top + 120; ++y)
      if (PixelAt(display, rect.left + 4, y) == 0xFFFFFFu) return true;
    return false;
  };
  EXPECT_TRUE(Eventually(whiteNearTheTop, 10s)) << "no white box near the top";
  EXPECT_EQ(PixelAt(display, rect.left + 20, rect.bottom - 20), 0x2060A0u) << "the rest left as it was";
  EXPECT_EQ(desktop->WindowTitle(drawn), u"Drawn client");
  XCloseDisplay(display);

  desktop->RequestClose(main);
  int status = -1;
  EXPECT_TRUE(Eventually([&] { return ::waitpid(program, &status, WNOHANG) == program; }, 20s));
}

}  // namespace
}  // namespace scrivano
