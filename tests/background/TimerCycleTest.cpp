#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "background/StatusCaptions.h"
#include "background/TimerCycle.h"
#include "platform/fake/FakeDesktop.h"
#include "support/FakeCompanionPage.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

TEST(RequestList, AddingPutsTheRequestInFrontOnceAndRemovingReportsAChange) {
  struct Case {
    Text list;
    bool add;
    int n;
    Text after;
    bool changed;
  } cases[] = {
      {u"", true, 2, u"2", true},
      {u"5\t2\t7", true, 2, u"2\t5\t7", true},
      {u"2\t2", true, 2, u"2", true},
      {u"2", false, 2, u"", true},
      {u"12\t2\t21", false, 2, u"12\t21", true},
      {u"2\t2", false, 2, u"", true},
      {u"5", false, 2, u"5", false},
      {u"", false, 2, u"", false},
  };
  for (const Case& c : cases) {
    Text list = c.list;
    bool changed = true;
    if (c.add)
      AddRequest(list, c.n);
    else
      changed = RemoveRequest(list, c.n);
    EXPECT_EQ(list, c.after) << ToUtf8(c.list);
    EXPECT_EQ(changed, c.changed) << ToUtf8(c.list);
  }
}

TEST(LaunchMenu, OwnDocumentsAreKnownByTheirNameWithOrWithoutExtension) {
  struct Case {
    Text path;
    bool own;
  } cases[] = {
      {u"/w/Data/Input", true},       {u"/w/Data/Output.txt", true}, {u"/w/Data/config.ini", true},
      {u"config.ini", true},          {u"/w/Data/input", false},     {u"/w/Data/Inputs", false},
      {u"/w/Input/notes.txt", false}, {u"/w/config", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsOwnDocumentName(c.path), c.own) << ToUtf8(c.path);
}

class RecordingHost : public TimerCycleHost {
 public:
  void HandBackResult() override { ++handBacks; }
  bool TakeRequest(int n) override { return RemoveRequest(requests, n); }
  Text WorkRoot() override { return u"/work/root"; }
  void OpenDocument(TextView path) override { documents.emplace_back(path); }
  void OpenWithDefaultApplication(TextView path) override { launched.emplace_back(path); }

  int handBacks = 0;
  Text requests;
  std::vector<Text> documents;
  std::vector<Text> launched;
};

TEST(LaunchMenu, OffersSortedItemsAndOpensEachPieceOfTheAnswer) {
  test::TestPrompts prompts{u" Data/Input ; ~/notes.txt;; /srv/a b.doc "};
  test::SetParameter(1, u"b.txt\t/srv/a b.doc\tData/Input;~/notes.txt");
  RecordingHost host;
  OfferLaunchMenu(host);
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Please select an option:");
  EXPECT_EQ(prompts.dialogs()[0].options,
            (std::vector<Text>{u"/srv/a b.doc", u"Data/Input;~/notes.txt", u"b.txt"}));
  EXPECT_EQ(host.documents, std::vector<Text>{u"/work/root/Data/Input"});
  const char* home = std::getenv("HOME");
  EXPECT_EQ(host.launched, (std::vector<Text>{FromUtf8(home ? home : "") + u"/notes.txt", u"/srv/a b.doc"}));
}

TEST(TimerCycle, HandsBackEveryTickAndShowsTheLaunchMenuOncePerRequest) {
  test::TestPrompts prompts{u"<cancel>"};
  RecordingHost host;
  AddRequest(host.requests, kLaunchMenuRequest);
  RunTimerCycle(host);
  RunTimerCycle(host);
  EXPECT_EQ(host.handBacks, 2);
  EXPECT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_TRUE(host.requests.empty());
}

// The desktop duties of the cycle on the fake desktop, with the parameters they read set per test.
class DesktopDutiesTest : public testing::Test {
 protected:
  static constexpr int kParameters[] = {Param::kClosedWindowTitles, Param::kProcessWatchLimit,
                                        Param::kMemoryMonitorLimit, Param::kBrowserRightClick,
                                        Param::kEscapeTitleWords,   Param::kAutoTranslationWait};
  void SetUp() override {
    for (const int k : kParameters) test::SetParameter(k, u"");
    main = desktop.AddWindow(u"Qt6", u"Scrivano", {0, 0, 1000, 800});
    captions = std::make_unique<StatusCaptions>(desktop, nullptr);
    SetStatusCaptions(captions.get());
  }
  void TearDown() override {
    SetStatusCaptions(nullptr);
    for (const int k : kParameters) test::SetParameter(k, u"");
  }

  platform::FakeDesktop desktop;
  WindowHandle main = 0;
  std::unique_ptr<StatusCaptions> captions;
};

TEST_F(DesktopDutiesTest, AForegroundPopupNamedInParameterTwoIsClosedWithinOneCycle) {
  struct Case {
    const char16_t* titles;
    const char16_t* autoTranslation;
    bool foregroundClosed;
    bool backgroundClosed;
  } cases[] = {
      {u"Tip of the Day\tUpdate available", u"0", true, false},
      {u"Tip of the\tUpdate available", u"0", false, false},  // whole items only
      {u"", u"0", false, false},
      {u"Tip of the Day", u"8000", true, true},  // with automatic translation every window is looked at
  };
  for (const Case& c : cases) {
    platform::FakeDesktop fresh;
    const WindowHandle tip = fresh.AddWindow(u"#32770", u"Tip of the Day", {0, 0, 300, 200});
    const WindowHandle hidden = fresh.AddWindow(u"#32770", u"Tip of the Day", {0, 0, 300, 200});
    const WindowHandle untitled = fresh.AddWindow(u"#32770", u"", {0, 0, 300, 200});
    fresh.SetForeground(tip);
    test::SetParameter(Param::kClosedWindowTitles, c.titles);
    test::SetParameter(Param::kAutoTranslationWait, c.autoTranslation);
    RecordingHost host;
    DesktopDuties duties(fresh, main);
    RunTimerCycle(host, &duties);
    duties.WaitForWindowSearch();
    const auto closed = fresh.CloseRequests();
    const auto has = [&](WindowHandle w) {
      return std::find(closed.begin(), closed.end(), w) != closed.end();
    };
    EXPECT_EQ(has(tip), c.foregroundClosed) << ToUtf8(c.titles);
    EXPECT_EQ(has(hidden), c.backgroundClosed) << ToUtf8(c.titles);
    EXPECT_FALSE(has(untitled));
    EXPECT_EQ(host.handBacks, 1);
  }
}

TEST_F(DesktopDutiesTest, TheCycleRunsTheWatchAndTheMonitorWithTheirParameters) {
  platform::ProcessInfo big;
  big.pid = 5001;
  big.parentPid = 1;
  big.ownedByUser = true;
  big.moduleName = u"editor";
  big.workingSetBytes = std::uint64_t{600} << 20;
  desktop.AddProcess(big);
  const WindowHandle editor = desktop.AddWindow(u"gedit", u"notes.txt", {0, 0, 300, 200});
  desktop.SetForeground(editor);
  desktop.SetFreeMemory(std::uint64_t{300} << 20);
  RecordingHost host;
  DesktopDuties duties(desktop, main);
  duties.Run();
  EXPECT_TRUE(desktop.HasProcess(5001)) << "parameter 3 empty: off";
  EXPECT_EQ(desktop.WindowTitle(editor), u"notes.txt") << "parameter 4 empty: no minimum";
  test::SetParameter(Param::kProcessWatchLimit, u"500");
  test::SetParameter(Param::kMemoryMonitorLimit, u"512");
  duties.Run();
  EXPECT_FALSE(desktop.HasProcess(5001));
  EXPECT_EQ(desktop.WindowTitle(main), u"Deleted!    editor (PID: 5001;  Mem Usage: 600 M)");
  EXPECT_EQ(desktop.WindowTitle(editor), u"Warning !  300 (Free Mbytes) < 512 (Min Mbytes)");
}

TEST_F(DesktopDutiesTest, TheTitleWatchPressesEscapeOnceForANewBrowserTitleWithAWord) {
  const WindowHandle browser =
      desktop.AddWindow(u"Chrome_WidgetWin_1", u"Sign in - Chromium", {0, 0, 800, 600});
  const WindowHandle editor = desktop.AddWindow(u"gedit", u"Sign in notes", {0, 0, 300, 200});
  DesktopDuties duties(desktop, main);
  desktop.SetForeground(browser);
  duties.WatchTitle();
  EXPECT_TRUE(desktop.KeyPresses().empty()) << "parameter 12 empty";
  test::SetParameter(Param::kEscapeTitleWords, u"Subscribe\tSign in");
  desktop.SetWindowTitle(browser, u"Sign in - Chromium ");
  desktop.SetModifierHeld(true);
  duties.WatchTitle();  // kept back while the user holds Ctrl
  desktop.SetModifierHeld(false);
  duties.WatchTitle();
  duties.WatchTitle();  // the same title again
  desktop.SetForeground(editor);
  duties.WatchTitle();  // not a browser
  desktop.SetForeground(browser);
  desktop.SetWindowTitle(browser, u"News - Chromium");
  duties.WatchTitle();  // no word
  EXPECT_EQ(desktop.KeyPresses(), (std::vector<std::vector<int>>{{platform::kKeyEscape}}));
}

TEST_F(DesktopDutiesTest, ARightClickInABrowserPressesItsShortcutAfterTheRelease) {
  using Clock = DesktopDuties::Clock;
  struct Case {
    const char* what;
    const char16_t* className;
    std::chrono::milliseconds held;
    bool inputMethod;
    bool foregroundChanges;
    std::vector<std::vector<int>> keys;
    long long lastShortcut;  // -2: the browser's own handle
  } cases[] = {
      {"Chromium",
       u"Chrome_WidgetWin_1",
       std::chrono::milliseconds(300),
       false,
       false,
       {{platform::kKeyT}},
       0},
      {"with an input method",
       u"Chrome_WidgetWin_1",
       std::chrono::milliseconds(300),
       true,
       false,
       {{platform::kKeyShift}, {platform::kKeyT}},
       0},
      {"IEFrame, short", u"IEFrame", std::chrono::milliseconds(300), false, false, {{platform::kKeyN}}, -2},
      {"IEFrame, long", u"IEFrame", std::chrono::milliseconds(1500), false, false, {{platform::kKeyN}}, -1},
      {"not a browser", u"gedit", std::chrono::milliseconds(300), false, false, {}, 0},
      {"another window came in front",
       u"Chrome_WidgetWin_1",
       std::chrono::milliseconds(300),
       false,
       true,
       {},
       0},
  };
  for (const Case& c : cases) {
    platform::FakeDesktop fresh;
    const WindowHandle browser = fresh.AddWindow(c.className, u"Page", {0, 0, 800, 600});
    if (c.inputMethod) fresh.AddWindow(u"WNWB Input", u"", {0, 0, 20, 20});
    fresh.SetForeground(browser);
    DesktopDuties duties(fresh, main);
    const auto start = Clock::now();
    duties.RightClickShortcut(start);
    EXPECT_TRUE(fresh.KeyPresses().empty()) << c.what << ": nothing without a press";
    fresh.SetRightButton(true);
    duties.RightClickShortcut(start);
    duties.RightClickShortcut(start + c.held / 2);
    EXPECT_TRUE(fresh.KeyPresses().empty()) << c.what << ": nothing while held";
    fresh.SetRightButton(false);
    if (c.foregroundChanges) fresh.SetForeground(fresh.AddWindow(u"gedit", u"other", {0, 0, 10, 10}));
    duties.RightClickShortcut(start + c.held);
    duties.RightClickShortcut(start + c.held * 2);
    EXPECT_EQ(fresh.KeyPresses(), c.keys) << c.what;
    EXPECT_EQ(duties.LastShortcutWindow(),
              c.lastShortcut == -2 ? static_cast<long long>(browser) : c.lastShortcut)
        << c.what;
  }
}

TEST_F(DesktopDutiesTest, WithSwappedButtonsTheLeftButtonIsTheSecondaryOne) {
  const WindowHandle browser = desktop.AddWindow(u"Chrome_WidgetWin_1", u"Page", {0, 0, 800, 600});
  desktop.SetForeground(browser);
  desktop.SetButtonsSwapped(true);
  DesktopDuties duties(desktop, main);
  const auto start = DesktopDuties::Clock::now();
  desktop.SetRightButton(true);  // the primary one now
  duties.RightClickShortcut(start);
  desktop.SetRightButton(false);
  duties.RightClickShortcut(start + std::chrono::milliseconds(300));
  EXPECT_TRUE(desktop.KeyPresses().empty());
  desktop.SetLeftButton(true);
  duties.RightClickShortcut(start + std::chrono::milliseconds(400));
  desktop.SetLeftButton(false);
  duties.RightClickShortcut(start + std::chrono::milliseconds(700));
  EXPECT_EQ(desktop.KeyPresses(), (std::vector<std::vector<int>>{{platform::kKeyT}}));
}

// The companion's window and page for the translation duties, with the socket folder of the test's own.
class TranslationDutiesTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime = old;
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    for (const int k : kParameters) test::SetParameter(k, u"");
    test::SetParameter(Param::kAutoTranslationWait, u"3000");
  }
  void TearDown() override {
    if (oldRuntime.empty())
      unsetenv("XDG_RUNTIME_DIR");
    else
      setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    for (const int k : kParameters) test::SetParameter(k, u"");
  }
  static constexpr int kParameters[] = {Param::kClosedWindowTitles, Param::kAutoTranslationWait,
                                        Param::kTranslationPage, Param::kAutoTranslationClasses};
  static Text Decimal(WindowHandle w) { return FromUtf8(std::to_string(w)); }

  std::string oldRuntime;
  test::TempFolder runtime;
  test::TestPrompts prompts;
  platform::FakeDesktop desktop;
};

TEST_F(TranslationDutiesTest, CompanionSearch_SkipsWindowsOpenedForExtractionAndGoesThroughEveryWindow) {
  test::SetParameter(Param::kClosedWindowTitles, u"Tip of the Day");
  const WindowHandle extracting = desktop.AddWindow(kCompanionWindowClass, u"vexo1", {0, 0, 10, 10});
  const WindowHandle companion = desktop.AddWindow(kCompanionWindowClass, u"vexo1", {0, 0, 10, 10});
  const WindowHandle tip = desktop.AddWindow(u"#32770", u"Tip of the Day", {0, 0, 10, 10});
  CompanionLink link(desktop, Text());
  SearchTopLevelWindows(desktop, &link, u"7\t" + Decimal(extracting));
  EXPECT_EQ(link.companionWindow.load(), companion);
  EXPECT_EQ(desktop.CloseRequests(), std::vector<WindowHandle>{tip}) << "the search went on after the find";
  // A companion window that is still there stays; one that has gone is replaced.
  const WindowHandle later = desktop.AddWindow(kCompanionWindowClass, u"vexo1", {0, 0, 10, 10});
  SearchTopLevelWindows(desktop, &link, Decimal(extracting));
  EXPECT_EQ(link.companionWindow.load(), companion);
  desktop.RemoveWindow(companion);
  SearchTopLevelWindows(desktop, &link, Decimal(extracting));
  EXPECT_EQ(link.companionWindow.load(), later);
  // Only windows opened for extraction: none is taken.
  CompanionLink none(desktop, Text());
  SearchTopLevelWindows(desktop, &none, Decimal(extracting) + u"\t" + Decimal(later));
  EXPECT_EQ(none.companionWindow.load(), 0u);
  // The companion hidden after its translation page was opened is no longer listed, but still found.
  const WindowHandle hidden = desktop.AddWindow(kCompanionWindowClass, u"vexo1", {0, 0, 10, 10});
  desktop.SetWindowShown(hidden, false);
  std::ofstream(companion::SocketPath(companion::CompanionSocketName(hidden))).put('\0');
  SearchTopLevelWindows(desktop, &none, Decimal(extracting) + u"\t" + Decimal(later));
  EXPECT_EQ(none.companionWindow.load(), hidden);
}

TEST_F(TranslationDutiesTest, TheCycleFindsTheCompanionThenOpensParameterFifteensPageAndHidesIt) {
  struct Case {
    const char* what;
    Text setting;
    std::vector<std::string> opened;  // the addresses the page was sent
    bool wrong;
  } cases[] = {
      {"second site: twice",
       u"1\thttp://127.0.0.1/fanyi.youdao.com/?q=start",
       {"http://127.0.0.1/fanyi.youdao.com/?q=start", "http://127.0.0.1/fanyi.youdao.com/?q=start"},
       false},
      {"fourth site: once",
       u"x\t http://127.0.0.1/iciba.com/?q=a \tmore",
       {"http://127.0.0.1/iciba.com/?q=a"},
       false},
      {"no supported site", u"1\thttp://127.0.0.1/plain.html", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::FakeDesktop fresh;
    const WindowHandle main = fresh.AddWindow(u"Qt6", u"Scrivano", {0, 0, 100, 100});
    test::MemoryClipboard clipboard;
    ClipboardRelay clipboardRelay(fresh, clipboard, nullptr);
    CompanionLink link(fresh, Text());
    AutoTranslationReach reach{fresh, clipboardRelay, link, nullptr};
    TranslationRelay relay;
    relay.companionState = kCheckTranslationSetting;
    test::SetParameter(Param::kAutoTranslationWait, u"3000");
    test::SetParameter(Param::kTranslationPage, c.setting);
    DesktopDuties duties(fresh, main);
    duties.EnableAutoTranslation(reach, relay, [] { return Text(); });
    RecordingHost host;
    // Before the companion's window shows, the check waits.
    RunTimerCycle(host, &duties);
    duties.WaitForWindowSearch();
    EXPECT_EQ(relay.companionState, kCheckTranslationSetting);
    const WindowHandle companion = fresh.AddWindow(kCompanionWindowClass, u"vexo1", {0, 0, 10, 10});
    // Its window before its page answers: still waiting.
    RunTimerCycle(host, &duties);
    duties.WaitForWindowSearch();
    ASSERT_EQ(link.companionWindow.load(), companion);
    RunTimerCycle(host, &duties);
    EXPECT_EQ(relay.companionState, kCheckTranslationSetting);
    test::FakeCompanionPage page(companion);
    page.SetAddress("about:blank");
    RunTimerCycle(host, &duties);
    duties.WaitForWindowSearch();
    EXPECT_EQ(relay.companionState, kCompanionIdle);
    EXPECT_EQ(page.AddressesSet(), c.opened);
    EXPECT_EQ(page.Hides(), 1);
    if (c.wrong) {
      ASSERT_EQ(prompts.Messages().size(), 1u);
      EXPECT_EQ(prompts.Messages()[0],
                u"Wrong translation address:\r\n\r\nhttp://127.0.0.1/plain.html\r\n\r\nPlease Set Parameters "
                u"again.");
      EXPECT_EQ(ParameterInt(Param::kAutoTranslationWait), 0) << "switched off in memory";
    } else {
      EXPECT_TRUE(prompts.Messages().empty());
      EXPECT_EQ(ParameterInt(Param::kAutoTranslationWait), 3000);
    }
    // Once done the check does not come back by itself.
    RunTimerCycle(host, &duties);
    duties.WaitForWindowSearch();
    EXPECT_EQ(page.Hides(), 1);
  }
}

}  // namespace
}  // namespace scrivano
