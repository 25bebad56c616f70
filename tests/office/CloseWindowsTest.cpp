// The wait for office windows to close before a document run, on the fake desktop.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "office/CloseWindows.h"
#include "platform/fake/FakeDesktop.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using platform::FakeDesktop;
using platform::Rect;

class NoClipboard : public ClipboardAccess {
 public:
  bool ReadText(Text&) override { return false; }
  bool WriteText(TextView) override { return false; }
};

class CloseWindows : public ::testing::Test {
 protected:
  WindowHandle Writer(TextView title) {
    return desktop.AddX11Window({u"libreoffice", u"libreoffice-writer", Text(title), false},
                                Rect{0, 0, 10, 10});
  }
  WindowsClosing Close() { return CloseWindowsOfClass(reach, u"OpusApp", {300ms, 100ms, 1ms}); }

  FakeDesktop desktop;
  NoClipboard clipboard;
  ClipboardRelay relay{desktop, clipboard, nullptr};
  DesktopReach reach{desktop, relay, nullptr,
                     [this](WindowHandle window, TextView text) { desktop.SetWindowTitle(window, text); }};
};

TEST_F(CloseWindows, NoWindowMeansNoWait) {
  desktop.AddWindow(u"xterm", u"shell", Rect{0, 0, 10, 10});
  const auto start = std::chrono::steady_clock::now();
  const WindowsClosing closing = Close();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 50ms);
  EXPECT_FALSE(closing.cancelled);
  EXPECT_TRUE(closing.stillOpen.empty());
  EXPECT_TRUE(desktop.CloseRequests().empty());
}

TEST_F(CloseWindows, WindowsThatCloseWhenAskedEndTheWait) {
  const WindowHandle a = Writer(u"a.odt - LibreOffice Writer");
  std::atomic<bool> done = false;
  std::thread office([&] {
    while (!done && desktop.CloseRequests().empty()) std::this_thread::sleep_for(1ms);
    desktop.RemoveWindow(a);
  });
  const WindowsClosing closing = Close();
  done = true;
  office.join();
  EXPECT_FALSE(closing.cancelled);
  EXPECT_TRUE(closing.stillOpen.empty());
  EXPECT_EQ(desktop.CloseRequests(), std::vector<WindowHandle>{a});
}

TEST_F(CloseWindows, AWaitThatGivesUpSaysSoOnEachWindowLeftAndNamesIt) {
  const WindowHandle a = Writer(u"a.odt - LibreOffice Writer");
  const WindowHandle untitled = Writer(u"");
  const WindowsClosing closing = Close();
  EXPECT_FALSE(closing.cancelled);
  // The titles the windows had, not the captions put on them meanwhile.
  EXPECT_EQ(closing.stillOpen, std::vector<Text>{u"a.odt - LibreOffice Writer"});
  EXPECT_EQ(desktop.WindowTitle(a), kStoppedWaitingCaption);
  EXPECT_EQ(desktop.WindowTitle(untitled), u"");
  EXPECT_EQ(desktop.CloseRequests(), std::vector<WindowHandle>{a});  // asked once, then the user is asked
}

TEST_F(CloseWindows, TheRightButtonCancelsTheWait) {
  const WindowHandle a = Writer(u"a.odt - LibreOffice Writer");
  std::thread user([&] {
    desktop.SetRightButton(true);
    std::this_thread::sleep_for(20ms);
    desktop.SetRightButton(false);
  });
  const WindowsClosing closing = CloseWindowsOfClass(reach, u"OpusApp", {10s, 100ms, 1ms});
  user.join();
  EXPECT_TRUE(closing.cancelled);
  EXPECT_TRUE(closing.stillOpen.empty());
  EXPECT_NE(desktop.WindowTitle(a), kStoppedWaitingCaption);
}

}  // namespace
}  // namespace scrivano
