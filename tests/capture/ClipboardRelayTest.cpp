// The clipboard relay and the capture operations on the fake desktop: an in-memory clipboard, and key
// hooks that react as the other programs would.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "capture/DesktopReach.h"
#include "office/OfficeMacro.h"
#include "office/OfficePieces.h"
#include "platform/fake/FakeDesktop.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using platform::FakeDesktop;
using platform::Rect;

// The relay writes through WriteText; another program takes the clipboard over with TakeOver.
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
    taken_ = false;
    return true;
  }
  bool TakenSinceWrite() override {
    std::lock_guard lock(mutex_);
    return taken_;
  }
  void TakeOver(TextView text) {
    std::lock_guard lock(mutex_);
    text_ = Text(text);
    hasText_ = true;
    taken_ = true;
  }
  Text Get() {
    std::lock_guard lock(mutex_);
    return text_;
  }

 private:
  std::mutex mutex_;
  Text text_;
  bool hasText_ = false;
  bool taken_ = false;
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
  timings.copyPoll = 1ms;
  timings.ownerTick = 0ms;
  timings.focusSettle = 0ms;
  timings.officeAnswer = 50ms;
  timings.windowClose = 50ms;
  return timings;
}

// An office with the NextPiece macro: Ctrl+N puts what the relay wrote since in place of the piece handed
// over before, then hands over the next piece, or the probe when none is left. Without the macro,
// Ctrl+N opens a new document window of the same process in front.
struct OfficeLikeProgram {
  FakeDesktop& desktop;
  MemoryClipboard& clipboard;
  std::vector<Text> pieces;
  int stealFrontAfter = -1;  // after that many pieces put back another window comes to the front
  WindowHandle other = 0;
  bool withMacro = true;
  size_t next = 0;
  bool control = false;
  bool handedOver = false;
  int putBack = 0;
  WindowHandle newDocument = 0;

  void OnKey(int key, bool down) {
    if (key == kKeyControl) control = down;
    if (!down || !control || key != 0x4E) return;
    if (!withMacro) {
      newDocument = desktop.AddX11Window(
          {u"libreoffice", u"libreoffice-writer", u"Untitled 1 - LibreOffice Writer", false},
          Rect{0, 0, 50, 50});
      desktop.SetWindowProcess(newDocument, 77);
      desktop.SetForeground(newDocument);
      return;
    }
    if (handedOver && !clipboard.TakenSinceWrite()) {
      pieces[next - 1] = clipboard.Get();
      if (++putBack == stealFrontAfter) desktop.SetForeground(other);
    }
    handedOver = next < pieces.size();
    clipboard.TakeOver(handedOver ? pieces[next++] : Text(kClipboardProbe));
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

// The office window of a LibreOffice process (77) started with a profile of the test's own.
class OfficePiecesTest : public RelayTest {
 protected:
  OfficePiecesTest() {
    office = desktop.AddX11Window({u"libreoffice", u"libreoffice-writer", u"doc - Writer", false},
                                  Rect{0, 0, 100, 100});
    desktop.SetWindowProcess(office, 77);
    officeCommand.program = "/opt/office/program/soffice.bin";
    officeCommand.arguments = {"/opt/office/program/soffice.bin",
                               "-env:UserInstallation=file://" + folder.path(), "--norestore", "doc.odt"};
    officeCommand.environment = {"HOME=/home/translator", "DISPLAY=:7"};
    desktop.SetProcessCommand(77, officeCommand);
    desktop.SetKeyHook([this](int key, bool down) { program.OnKey(key, down); });
    clipboard.WriteText(u"the user's own");
  }

  // The office answers the handshake when its macro is there.
  void Answering(bool answers) {
    desktop.SetProgramHook([this, answers](const platform::ProcessCommand&) {
      if (answers) clipboard.TakeOver(kNextPieceReady);
      return 0;
    });
  }

  void Run() {
    RunOnWordPieces(reach, office, [](Text& piece) { piece = u"<" + piece + u">"; });
  }

  test::TempFolder folder;
  WindowHandle office = 0;
  platform::ProcessCommand officeCommand;
  OfficeLikeProgram program{desktop, clipboard, {u"one", u"two", u"three"}};
};

TEST_F(OfficePiecesTest, TheOfficeAnswersThroughItsOwnSofficeThenEveryPieceIsPutBackByTheNextCtrlN) {
  Answering(true);
  Run();
  EXPECT_EQ(program.pieces, (std::vector<Text>{u"<one>", u"<two>", u"<three>"}));
  ASSERT_EQ(desktop.ProgramsRun().size(), 1u);
  const platform::ProcessCommand handshake = desktop.ProgramsRun()[0];
  EXPECT_EQ(handshake.program, "/opt/office/program/soffice");
  EXPECT_EQ(handshake.arguments,
            (std::vector<std::string>{"soffice", "-env:UserInstallation=file://" + folder.path(),
                                      "macro:///Standard.Scrivano.BindNextPiece"}));
  EXPECT_EQ(handshake.environment, officeCommand.environment);
  // Four Ctrl+N and nothing else, all into the office window.
  std::vector<FakeDesktop::KeyEvent> expected;
  for (int i = 0; i < 4; ++i)
    expected.insert(expected.end(), {{0x11, office}, {0x4E, office}, {-0x4E, office}, {-0x11, office}});
  EXPECT_EQ(desktop.KeyEvents(), expected);
  EXPECT_EQ(clipboard.Get(), u"the user's own");
  EXPECT_EQ(desktop.WindowTitle(office), u"doc - Writer");
}

TEST_F(OfficePiecesTest, PiecesStopWhenAnotherWindowComesToTheFront) {
  const WindowHandle other = desktop.AddWindow(u"xterm", u"shell", Rect{0, 0, 100, 100});
  program.stealFrontAfter = 1;
  program.other = other;
  Answering(true);
  Run();
  EXPECT_EQ(program.pieces, (std::vector<Text>{u"<one>", u"two", u"three"}));
  for (const FakeDesktop::KeyEvent& event : desktop.KeyEvents())
    if (event.key > 0) {
      EXPECT_EQ(event.foreground, office);
    }
}

TEST_F(OfficePiecesTest, WithoutAnAnswerNothingIsTypedAndTheMissingMacroIsOffered) {
  const std::string profile = folder.path() + "/user";
  struct Case {
    const char* what;
    bool installedBefore;
    const char16_t* answer;  // to the offer; none when no question comes
    const char16_t* lastMessageEnd;
  } const cases[] = {
      {"declined", false, u"no", nullptr},
      {"installed", false, u"yes",
       u"quit LibreOffice (Ctrl+Q), open the document again, and double-click the entry again."},
      {"installed before", true, nullptr, u"double-click the entry again."},
  };
  Answering(false);
  for (const Case& c : cases) {
    std::filesystem::remove_all(profile);
    std::string message;
    if (c.installedBefore) {
      ASSERT_TRUE(InstallOfficeMacro(profile, message)) << message;
    }
    test::TestPrompts prompts;
    if (c.answer) prompts.Answer(c.answer);
    Run();
    EXPECT_TRUE(desktop.KeyEvents().empty()) << c.what;
    EXPECT_EQ(desktop.WindowTitle(office), u"doc - Writer") << c.what;
    EXPECT_EQ(clipboard.Get(), u"the user's own") << c.what;
    ASSERT_FALSE(prompts.dialogs().empty()) << c.what;
    const test::Dialog& first = prompts.dialogs().front();
    EXPECT_EQ(first.kind == test::Dialog::Kind::kYesNo, c.answer != nullptr) << c.what;
    EXPECT_NE(first.text.find(FromUtf8(profile)), Text::npos) << c.what;
    EXPECT_EQ(NextPieceModuleCurrent(profile), c.installedBefore || Text(c.answer ? c.answer : u"") == u"yes")
        << c.what;
    if (c.lastMessageEnd) {
      EXPECT_TRUE(prompts.dialogs().back().text.ends_with(c.lastMessageEnd)) << c.what;
    }
    EXPECT_EQ(prompts.AnswersLeft(), 0u) << c.what;
  }
}

TEST_F(OfficePiecesTest, ADocumentWindowThatCtrlNOpensIsClosedAgainAndExplained) {
  desktop.SetProgramHook([](const platform::ProcessCommand&) { return platform::kProgramNotStarted; });
  program.withMacro = false;
  const WindowHandle otherDocument = desktop.AddX11Window(
      {u"libreoffice", u"libreoffice-writer", u"b.odt - LibreOffice Writer", false}, Rect{});
  desktop.SetWindowProcess(otherDocument, 77);
  test::TestPrompts prompts{u"no"};
  Run();
  EXPECT_EQ(desktop.CloseRequests(), std::vector<WindowHandle>{program.newDocument});
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_TRUE(prompts.dialogs()[0].text.starts_with(u"Ctrl+N in the Writer window opened a new window"));
  EXPECT_EQ(desktop.WindowTitle(office), u"doc - Writer");
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

// A class with no X11 window (a program that runs natively on Wayland has none) is said so; in a Wayland
// session with how to start a program under XWayland, as is the missing Find and Replace window.
TEST_F(RelayTest, WindowModeAndReplaceWithoutAnyX11Window_SayNoX11WindowFound_OnWaylandHowToReachOne) {
  test::SetParameter(10, u"weston-terminal");
  for (const char* session : {"x11", "wayland"}) {
    SCOPED_TRACE(session);
    setenv("XDG_SESSION_TYPE", session, 1);
    unsetenv("WAYLAND_DISPLAY");
    const bool wayland = std::string(session) == "wayland";
    test::TestPrompts prompts{u"weston-terminal", u"0"};
    Text working = u"start";
    CombineWindowsText(reach, working);
    Text text = u"input";
    EXPECT_EQ(ReplaceInWordDocuments(reach, text), std::nullopt);
    const std::vector<Text> messages = prompts.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(
        messages[0].starts_with(u"Spent 1 seconds / 0 windows to combine 0 characters\r\n\r\n"
                                u"No X11 window found of the class \"weston-terminal\"."))
        << ToUtf8(messages[0]);
    for (const Text& message : messages)
      EXPECT_EQ(message.find(u"SAL_USE_VCLPLUGIN=gen") != Text::npos, wayland) << ToUtf8(message);
  }
  unsetenv("XDG_SESSION_TYPE");
}

}  // namespace
}  // namespace scrivano
