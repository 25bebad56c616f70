// The clipboard relay and the capture operations on the fake desktop: an in-memory clipboard, and key
// hooks that react as the other programs would.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "capture/DesktopReach.h"
#include "platform/fake/FakeDesktop.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using platform::FakeDesktop;
using platform::Rect;

class MemoryClipboard : public ClipboardAccess {
 public:
  bool ReadText(Text& out) override {
    std::lock_guard lock(mutex_);
    if (!hasText_) return false;
    out = text_;
    return true;
  }
  bool WriteText(TextView text) override {
    std::lock_guard lock(mutex_);
    text_ = Text(text);
    hasText_ = true;
    return true;
  }
  Text Get() {
    std::lock_guard lock(mutex_);
    return text_;
  }

 private:
  std::mutex mutex_;
  Text text_;
  bool hasText_ = false;
};

RelayTimings QuickTimings() {
  RelayTimings timings;
  timings.poll = 1ms;
  timings.modifierRelease = 200ms;
  timings.keyHold = 0ms;
  timings.pasteSettle = 0ms;
  timings.captureWait = 50ms;
  timings.clipboardRetry = 1ms;
  timings.foregroundWait = 200ms;
  timings.longPress = 100ms;
  return timings;
}

// An office-like program: Ctrl+N copies its next piece, Ctrl+V puts the clipboard in the last piece's place.
struct OfficeLikeProgram {
  FakeDesktop& desktop;
  MemoryClipboard& clipboard;
  std::vector<Text> pieces;
  size_t next = 0;
  bool control = false;
  int stealFrontAfter = -1;  // after that many pastes another window comes to the front
  WindowHandle other = 0;
  int pastes = 0;

  void OnKey(int key, bool down) {
    if (key == kKeyControl) control = down;
    if (!down || !control) return;
    if (key == 0x4E && next < pieces.size()) clipboard.WriteText(pieces[next++]);
    if (key == 0x56 && next > 0) {
      pieces[next - 1] = clipboard.Get();
      if (++pastes == stealFrontAfter) desktop.SetForeground(other);
    }
  }
};

class RelayTest : public ::testing::Test {
 protected:
  FakeDesktop desktop;
  MemoryClipboard clipboard;
  std::vector<std::pair<WindowHandle, Text>> captions;
  ClipboardRelay relay{
      desktop, clipboard,
      [this](WindowHandle window, TextView text) { captions.emplace_back(window, Text(text)); },
      QuickTimings()};
  DesktopReach reach{desktop, relay, [this](WindowHandle window) { desktop.SetForeground(window); },
                     [this](WindowHandle window, TextView text) { desktop.SetWindowTitle(window, text); }};
};

TEST_F(RelayTest, CaptureWhenTheWindowInFrontCopiesNothingLeavesTheProbe) {
  const WindowHandle window = desktop.AddWindow(u"OpusApp", u"a - Writer", Rect{0, 0, 100, 100});
  desktop.SetForeground(window);
  EXPECT_FALSE(relay.CaptureFromForeground(window));
  EXPECT_EQ(clipboard.Get(), u"SYSTEM1TEXT2FLAG3");
  const std::vector<FakeDesktop::KeyEvent> expected{
      {0x11, window}, {0x4E, window}, {-0x4E, window}, {-0x11, window}};
  EXPECT_EQ(desktop.KeyEvents(), expected);
}

TEST_F(RelayTest, HeldChordsTapsAndPairsPressAndReleaseInTheirOrder) {
  const WindowHandle window = desktop.AddWindow(u"text", u"t", Rect{0, 0, 100, 100});
  desktop.SetForeground(window);
  struct Case {
    const char* what;
    std::function<bool()> send;
    std::vector<int> events;
  };
  const Case cases[] = {
      {"held", [&] { return relay.PressChordHeld(window, kPasteChord); }, {0x11, 0x56, -0x56, -0x11}},
      {"tap", [&] { return relay.PressChordHeld(window, kPasteChord, true); }, {0x11, -0x11, 0x56, -0x56}},
      {"pairs",
       [&] { return relay.PressChordPairs(window, kSelectAllCopyChord); },
       {0x11, 0x41, -0x41, -0x11, 0x11, 0x43, -0x43, -0x11}},
      {"one key", [&] { return relay.PressChordPairs(window, {kKeyLeft}); }, {kKeyLeft, -kKeyLeft}},
  };
  for (const Case& c : cases) {
    const size_t before = desktop.KeyEvents().size();
    ASSERT_TRUE(c.send()) << c.what;
    std::vector<int> sent;
    for (size_t i = before; i < desktop.KeyEvents().size(); ++i) sent.push_back(desktop.KeyEvents()[i].key);
    EXPECT_EQ(sent, c.events) << c.what;
  }
}

TEST_F(RelayTest, KeysGoOnlyToTheWindowMeant) {
  const WindowHandle meant = desktop.AddWindow(u"OpusApp", u"a - Writer", Rect{0, 0, 100, 100});
  const WindowHandle other = desktop.AddWindow(u"xterm", u"shell", Rect{0, 0, 100, 100});
  desktop.SetForeground(other);
  EXPECT_FALSE(relay.PressChordHeld(meant, kPasteChord));
  EXPECT_FALSE(relay.PasteIntoForeground(meant, nullptr));
  EXPECT_FALSE(relay.CaptureFromForeground(meant));
  EXPECT_FALSE(relay.PressChordPairs(meant, kSelectAllCopyChord));
  EXPECT_TRUE(desktop.KeyEvents().empty());
}

TEST_F(RelayTest, ChordsWaitForTheUsersModifierKeysWithinALimit) {
  const WindowHandle window = desktop.AddWindow(u"text", u"t", Rect{0, 0, 100, 100});
  desktop.SetForeground(window);
  desktop.SetModifierHeld(true);
  EXPECT_FALSE(relay.PressChordHeld(window, kPasteChord));  // never released: nothing typed
  EXPECT_TRUE(desktop.KeyEvents().empty());
  std::thread release([&] {
    std::this_thread::sleep_for(30ms);
    desktop.SetModifierHeld(false);
  });
  EXPECT_TRUE(relay.PressChordHeld(window, kPasteChord));
  release.join();
  EXPECT_EQ(desktop.KeyEvents().size(), 4u);
}

TEST_F(RelayTest, RightButtonReleaseTellsNotDownShortAndLongPresses) {
  struct Case {
    bool down;
    std::chrono::milliseconds held;
    int expected;
  };
  for (const Case& c : {Case{false, 0ms, 0}, Case{true, 10ms, 1}, Case{true, 150ms, 2}}) {
    desktop.SetRightButton(c.down);
    std::thread release([&] {
      std::this_thread::sleep_for(c.held);
      desktop.SetRightButton(false);
    });
    EXPECT_EQ(relay.WaitRightButtonRelease(), c.expected) << c.held.count();
    release.join();
  }
}

TEST_F(RelayTest, ForegroundWaitEndsOnItsLimitOrTheRightButton) {
  const WindowHandle window = desktop.AddWindow(u"text", u"t", Rect{0, 0, 100, 100});
  desktop.SetActivationWorks(false);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(relay.WaitForegroundWindow(window), WaitEnd::kTimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  desktop.SetRightButton(true);
  std::thread release([&] {
    std::this_thread::sleep_for(10ms);
    desktop.SetRightButton(false);
  });
  EXPECT_EQ(relay.WaitForegroundWindow(window), WaitEnd::kRightButton);
  release.join();
}

TEST_F(RelayTest, OfficePiecesAreConvertedOneByOneUntilNoneIsHandedOver) {
  const WindowHandle office = desktop.AddWindow(u"OpusApp", u"doc - Writer", Rect{0, 0, 100, 100});
  OfficeLikeProgram program{desktop, clipboard, {u"one", u"two", u"three"}};
  desktop.SetKeyHook([&](int key, bool down) { program.OnKey(key, down); });
  clipboard.WriteText(u"the user's own");
  RunOnWordPieces(reach, office, [](Text& piece) { piece = u"<" + piece + u">"; });
  EXPECT_EQ(program.pieces, (std::vector<Text>{u"<one>", u"<two>", u"<three>"}));
  EXPECT_EQ(clipboard.Get(), u"the user's own");            // the probe does not stay behind
  EXPECT_EQ(desktop.WindowTitle(office), u"doc - Writer");  // the caption is put back
}

TEST_F(RelayTest, OfficePiecesStopWhenAnotherWindowComesToTheFront) {
  const WindowHandle office = desktop.AddWindow(u"OpusApp", u"doc - Writer", Rect{0, 0, 100, 100});
  const WindowHandle other = desktop.AddWindow(u"xterm", u"shell", Rect{0, 0, 100, 100});
  OfficeLikeProgram program{desktop, clipboard, {u"one", u"two", u"three"}, 0, false, 1, other};
  desktop.SetKeyHook([&](int key, bool down) { program.OnKey(key, down); });
  RunOnWordPieces(reach, office, [](Text& piece) { piece = u"<" + piece + u">"; });
  EXPECT_EQ(program.pieces, (std::vector<Text>{u"<one>", u"two", u"three"}));
  for (const FakeDesktop::KeyEvent& event : desktop.KeyEvents()) {
    if (event.key > 0) {
      EXPECT_EQ(event.foreground, office);
    }
  }
}

TEST_F(RelayTest, ReplaceWithoutTheFindAndReplaceWindowTouchesNothing) {
  test::TestPrompts prompts;
  desktop.AddWindow(u"OpusApp", u"a - Writer", Rect{0, 0, 100, 100});
  Text text = u"input";
  EXPECT_EQ(ReplaceInWordDocuments(reach, text), std::nullopt);
  EXPECT_EQ(text, u"input");
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_TRUE(prompts.Messages()[0].starts_with(u"No parameter set !\r\n\r\n"));
  EXPECT_TRUE(desktop.KeyEvents().empty());
}

TEST_F(RelayTest, WindowModeCopiesEveryWindowOfTheChosenClassAndReports) {
  test::TestPrompts prompts{u"textclient", u"0"};
  test::SetParameter(10, u"textclient\tother");
  const WindowHandle first = desktop.AddWindow(u"textclient", u"first", Rect{0, 0, 100, 100});
  desktop.AddWindow(u"textclient", u"", Rect{0, 0, 100, 100});  // no title: skipped
  desktop.AddWindow(u"xterm", u"shell", Rect{0, 0, 100, 100});
  const WindowHandle second = desktop.AddWindow(u"textclient", u"second", Rect{0, 0, 100, 100});
  bool control = false;
  desktop.SetKeyHook([&](int key, bool down) {
    if (key == kKeyControl) control = down;
    if (down && control && key == 0x43)
      clipboard.WriteText(desktop.ForegroundWindow() == first ? u"text one" : u"text two");
  });
  Text working = u"start";
  CombineWindowsText(reach, working);
  const Text separator = u"\r\n\r\n" + Text(88, u' ') + u"\r\n";
  EXPECT_EQ(working, u"start" + separator + u"text two" + separator + u"text one");
  EXPECT_EQ(prompts.Messages(), std::vector<Text>{u"Spent 1 seconds / 2 windows to combine 16 characters"});
  (void)second;
}

}  // namespace
}  // namespace scrivano
