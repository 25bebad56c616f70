// The X11 back-end on a private Xvfb display with openbox, on windows the test creates itself.
#include "platform/x11/X11Desktop.h"

// gtest before Xlib: Xlib's macros (None, Bool) would break gtest's templates.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "support/PrivateDisplay.h"

namespace scrivano::platform {
namespace {

bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

// A top-level window of the test's own with a class and a UTF-8 title.
Window CreateWindow(Display* display, int x, int y, const char* className, const std::string& title) {
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, 200, 150, 0, 0, 0xFFFFFF);
  XClassHint hint{const_cast<char*>("scrivano-test"), const_cast<char*>(className)};
  XSetClassHint(display, window, &hint);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                  XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
  // Asks the window manager to keep the position.
  XSizeHints hints{};
  hints.flags = USPosition | PPosition;
  hints.x = x;
  hints.y = y;
  XSetWMNormalHints(display, window, &hints);
  XMapWindow(display, window);
  XSync(display, False);
  return window;
}

class X11DesktopTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!screen.Started()) GTEST_SKIP() << "no private display: " << screen.Error();
    display = XOpenDisplay(screen.Name().c_str());
    ASSERT_NE(display, nullptr);
    desktop = X11Desktop::Open(screen.Name().c_str());
    ASSERT_NE(desktop, nullptr);
  }
  void TearDown() override {
    desktop.reset();
    if (display) XCloseDisplay(display);
  }

  test::PrivateDisplay screen;
  Display* display = nullptr;
  std::unique_ptr<X11Desktop> desktop;
};

TEST_F(X11DesktopTest, FindsItsWindowsByPointWithClassAndTitle) {
  const Window editor = CreateWindow(display, 100, 100, "Editor", "notes.txt — 翻译");
  const Window viewer = CreateWindow(display, 500, 300, "Viewer", "picture");
  // The window manager frames the windows; the point finds the client window inside the frame.
  ASSERT_TRUE(Eventually([&] { return desktop->WindowAt({150, 180}) == editor; }));
  EXPECT_EQ(desktop->WindowAt({600, 400}), viewer);
  EXPECT_EQ(desktop->WindowAt({1000, 50}), 0u);
  EXPECT_EQ(desktop->WindowClassName(editor), u"Editor");
  EXPECT_EQ(desktop->WindowTitle(editor), u"notes.txt — 翻译");
  const std::vector<WindowHandle> windows = desktop->TopLevelWindows();
  EXPECT_NE(std::find(windows.begin(), windows.end(), editor), windows.end());
  EXPECT_NE(std::find(windows.begin(), windows.end(), viewer), windows.end());
  const Rect rect = desktop->WindowRect(viewer);
  EXPECT_EQ(rect.Width(), 200);
  EXPECT_EQ(rect.Height(), 150);

  EXPECT_TRUE(desktop->SetWindowTitle(viewer, u"Processing 1 task(s). Please wait..."));
  EXPECT_EQ(desktop->WindowTitle(viewer), u"Processing 1 task(s). Please wait...");

  XDestroyWindow(display, viewer);
  XSync(display, False);
  EXPECT_TRUE(Eventually([&] { return !desktop->IsWindow(viewer); }));
  EXPECT_EQ(desktop->WindowClassName(viewer), u"") << "a vanished window is no error";
}

TEST_F(X11DesktopTest, ActivationGoesThroughTheWindowManager) {
  const Window first = CreateWindow(display, 100, 100, "First", "first");
  const Window second = CreateWindow(display, 400, 100, "Second", "second");
  ASSERT_TRUE(Eventually([&] {
    return desktop->IsWindow(second) && desktop->WindowAt({450, 150}) == second;
  }));
  desktop->RequestActivation(first);
  EXPECT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == first; }));
  desktop->RequestActivation(second);
  EXPECT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == second; }));
}

TEST_F(X11DesktopTest, MovesTheCursorAndReadsTheScreen) {
  EXPECT_EQ(desktop->ScreenRect(), (Rect{0, 0, 1280, 800}));
  desktop->SetCursorPosition({620, 410});
  EXPECT_EQ(desktop->CursorPosition(), (Point{620, 410}));
  EXPECT_FALSE(desktop->RightButtonDown());
}

}  // namespace
}  // namespace scrivano::platform
