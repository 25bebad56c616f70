// The X11 back-end on a private Xvfb display with openbox, on windows the test creates itself.
#include "platform/x11/X11Desktop.h"

// gtest before Xlib: Xlib's macros (None, Bool) would break gtest's templates.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>

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

namespace scrivano::platform {
namespace {

// The buttons by role under the user's pointer mapping, as a real mouse's presses report them, and the
// primary click landing as a primary (logical button 1) press in a window of the test's own.
TEST_F(X11DesktopTest, ButtonsByRoleFollowASwappedPointerMapping) {
  // The presses go to a window of the test's own that no window manager frames (on the bare desktop the
  // right button would open the window manager's menu).
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.event_mask = ButtonPressMask | ButtonReleaseMask;
  const Window window =
      XCreateWindow(display, DefaultRootWindow(display), 300, 200, 200, 150, 0, CopyFromParent, InputOutput,
                    CopyFromParent, CWOverrideRedirect | CWEventMask, &attributes);
  XMapRaised(display, window);
  XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, 350, 250);
  XSync(display, False);
  for (const bool swapped : {false, true}) {
    SCOPED_TRACE(swapped ? "swapped" : "normal");
    // The whole map, as long as the pointer has buttons, with the first and third swapped.
    unsigned char map[64];
    const int count = XGetPointerMapping(display, map, sizeof map);
    ASSERT_GE(count, 3);
    for (int i = 0; i < count; ++i) map[i] = static_cast<unsigned char>(i + 1);
    if (swapped) std::swap(map[0], map[2]);
    ASSERT_EQ(XSetPointerMapping(display, map, count), MappingSuccess);
    XSync(display, False);
    // The physical left button, then the physical right one.
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XSync(display, False);
    EXPECT_TRUE(Eventually([&] { return desktop->PrimaryButtonDown() != swapped; }));
    EXPECT_EQ(desktop->SecondaryButtonDown(), swapped);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XTestFakeButtonEvent(display, 3, True, CurrentTime);
    XSync(display, False);
    EXPECT_TRUE(Eventually([&] { return desktop->SecondaryButtonDown() != swapped; }));
    EXPECT_EQ(desktop->PrimaryButtonDown(), swapped);
    XTestFakeButtonEvent(display, 3, False, CurrentTime);
    XSync(display, False);
    EXPECT_TRUE(Eventually([&] { return !desktop->PrimaryButtonDown() && !desktop->SecondaryButtonDown(); }));

    // The click is a press of logical button 1 at the point.
    XEvent event;
    while (XCheckWindowEvent(display, window, ButtonPressMask | ButtonReleaseMask, &event)) {
    }
    ASSERT_TRUE(desktop->ClickPrimaryButton({380, 260}));
    unsigned int pressed = 0;
    ASSERT_TRUE(Eventually([&] {
      while (XCheckWindowEvent(display, window, ButtonPressMask, &event)) pressed = event.xbutton.button;
      return pressed != 0;
    }));
    EXPECT_EQ(pressed, 1u);
    EXPECT_EQ(desktop->CursorPosition(), (Point{380, 260}));
  }
}

}  // namespace
}  // namespace scrivano::platform
