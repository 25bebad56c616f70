// Automatic translation on the fake desktop: a window that answers Ctrl+A, Ctrl+C and Ctrl+V as an
// editor does, the clipboard in memory, and a companion page served on the companion's socket by the test
// (the translation site's layout: the piece, then "[piece]").
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/fake/FakeDesktop.h"
#include "support/FakeCompanionPage.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "web/AutoTranslation.h"
#include "web/LocalSockets.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;

class AutoTranslationTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    test::SetParameter(Param::kAutoTranslationClasses, u"Notepad\tWordPad;");
    test::SetParameter(Param::kAutoTranslationWait, u"2000");
    editor = desktop.AddWindow(u"Notepad", u"notes.txt", {100, 100, 600, 400});
    companionWindow = desktop.AddWindow(u"Afx:00400000:0", u"vexo1", {0, 0, 400, 300});
    link.companionWindow = companionWindow;
    page = std::make_unique<test::FakeCompanionPage>(companionWindow);
    page->SetAddress("http://127.0.0.1/fanyi.youdao.com/?q=start");
    desktop.SetForeground(editor);
    desktop.SetCursorPosition({200, 200});
    // The editor: Ctrl+A selects all, Ctrl+C copies the selection, Ctrl+V replaces it.
    desktop.SetKeyHook([this](int key, bool down) {
      if (!down) return;
      if (key == kKeyControl) {
        control = true;
        return;
      }
      if (!control) return;
      control = false;
      if (key == 0x41) selection = editorText;
      if (key == 0x43 && copies) clipboard.WriteText(selection);
      if (key == 0x56) {
        Text pasted;
        clipboard.ReadText(pasted);
        editorText = selection.empty() ? editorText + pasted : pasted;
        selection.clear();
      }
    });
  }
  void TearDown() override {
    for (const int k : {Param::kAutoTranslationClasses, Param::kAutoTranslationWait})
      test::SetParameter(k, u"");
  }

  // Holds the primary button for the time, on another thread, while the check waits for its release.
  AutoTranslateEnd PressAndTranslate(std::chrono::milliseconds held) {
    desktop.SetButtonsSwapped(swapped);
    const auto setPrimary = [this](bool down) {
      if (swapped)
        desktop.SetRightButton(down);
      else
        desktop.SetLeftButton(down);
    };
    setPrimary(true);
    std::thread release([&] {
      std::this_thread::sleep_for(held);
      setPrimary(false);
    });
    const AutoTranslateEnd end = AutoTranslateOnLongPress(reach, relay, timings);
    release.join();
    return end;
  }

  test::TempFolder runtime;
  test::TestPrompts prompts;
  platform::FakeDesktop desktop;
  test::MemoryClipboard clipboard;
  // A failed clipboard read says so in the title of the window in front, as the program does.
  ClipboardRelay clipboardRelay{
      desktop, clipboard, [this](WindowHandle w, TextView t) { desktop.SetWindowTitle(w, t); },
      RelayTimings{.poll = 5ms, .keyHold = 1ms, .pasteSettle = 1ms, .clipboardRetry = 1ms}};
  CompanionLink link{desktop, Text()};
  std::vector<std::pair<WindowHandle, Text>> captions;
  AutoTranslationReach reach{desktop, clipboardRelay, link, [this](WindowHandle w, TextView t) {
                               captions.emplace_back(w, Text(t));
                               desktop.SetWindowTitle(w, t);
                             }};
  TranslationRelay relay;
  AutoTranslationTimings timings{
      .poll = 5ms, .afterSelectAll = 5ms, .beforeCopy = 5ms, .copyWait = 300ms, .afterClick = 5ms};
  WindowHandle editor = 0, companionWindow = 0;
  std::unique_ptr<test::FakeCompanionPage> page;
  Text editorText = u"Hello {ut1}world{ut2}\r\nGood / 50%";
  Text selection;
  bool control = false;
  bool copies = true;
  bool swapped = false;
};

const Text kTranslated = u"[Hello]{ut1}[world]{ut2}\r\n[Good \u2215 50%]";

TEST_F(AutoTranslationTest, WholeText_TranslatesEachLineBetweenTagsAndPastesAtTheClickBackPoint) {
  for (const bool swap : {false, true}) {
    SCOPED_TRACE(swap ? "buttons swapped" : "normal buttons");
    swapped = swap;
    editorText = u"Hello {ut1}world{ut2}\r\nGood / 50%";
    captions.clear();
    desktop.SetCursorPosition({200, 200});  // the click back moved it
    ASSERT_EQ(PressAndTranslate(1200ms), AutoTranslateEnd::kPasted) << ToUtf8(editorText);
    EXPECT_EQ(editorText, kTranslated);
    // "/" went as U+2215 and "%" as "*****"; blank pieces (between the tags) were not sent.
    const auto sent = page->AddressesSet();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[sent.size() - 3], "http://127.0.0.1/fanyi.youdao.com/?q=Hello");
    EXPECT_EQ(sent.back(), "http://127.0.0.1/fanyi.youdao.com/?q=Good \u2215 50*****");
    // Clicked on the 3/5 mark of the client area at the cursor's height, then pasted.
    EXPECT_EQ(desktop.PrimaryClicks().back(), (platform::Point{400, 200}));
    EXPECT_EQ(captions, (std::vector<std::pair<WindowHandle, Text>>{{editor, kAutoTranslatingCaption},
                                                                    {editor, u"notes.txt"}}));
    EXPECT_EQ(clipboard.text, kTranslated);
    page->SetAddress("http://127.0.0.1/fanyi.youdao.com/?q=start");
  }
}

TEST_F(AutoTranslationTest, AClipboardThatFailsOnceDuringTheCopy_LeavesTheWindowItsOwnTitle) {
  // The marker's write succeeds; the first reads after Ctrl+C fail, and the relay puts its caption up.
  desktop.SetKeyHook([this](int key, bool down) {
    if (key == kKeyControl && down) control = true;
    if (control && down && key == 0x41) selection = editorText;
    if (control && down && key == 0x43) {
      clipboard.WriteText(selection);
      clipboard.failingReads = 2;
    }
  });
  ASSERT_EQ(PressAndTranslate(1200ms), AutoTranslateEnd::kPasted);
  EXPECT_EQ(desktop.WindowTitle(editor), u"notes.txt");
}

TEST_F(AutoTranslationTest, NothingHappensForAShortPressAnUnlistedClassOrAPressOutsideTheArea) {
  struct Case {
    const char* what;
    const char16_t* className;
    platform::Point cursor;
    std::chrono::milliseconds held;
    bool pressSecondary;  // with swapped buttons, the left one
    AutoTranslateEnd end;
  } cases[] = {
      {"short press", u"Notepad", {200, 200}, 300ms, false, AutoTranslateEnd::kShortPress},
      {"secondary button held", u"Notepad", {200, 200}, 1200ms, true, AutoTranslateEnd::kShortPress},
      {"class only begins an item", u"Note", {200, 200}, 1200ms, false, AutoTranslateEnd::kNotListed},
      {"class longer than an item", u"Notepad++", {200, 200}, 1200ms, false, AutoTranslateEnd::kNotListed},
      {"right of the 3/5 mark", u"Notepad", {400, 200}, 1200ms, false, AutoTranslateEnd::kOutsideArea},
      {"above the client area", u"Notepad", {200, 99}, 1200ms, false, AutoTranslateEnd::kOutsideArea},
  };
  for (const Case& c : cases) {
    platform::FakeDesktop fresh;
    const WindowHandle window = fresh.AddWindow(c.className, u"t", {100, 100, 600, 400});
    ASSERT_EQ(fresh.AddWindow(u"Afx:00400000:0", u"vexo1", {0, 0, 400, 300}), companionWindow);
    fresh.SetForeground(window);
    fresh.SetCursorPosition(c.cursor);
    fresh.SetButtonsSwapped(true);
    AutoTranslationReach freshReach{fresh, clipboardRelay, link, nullptr};
    if (c.pressSecondary)
      fresh.SetLeftButton(true);
    else
      fresh.SetRightButton(true);
    std::thread release([&] {
      std::this_thread::sleep_for(c.held);
      fresh.SetLeftButton(false);
      fresh.SetRightButton(false);
    });
    EXPECT_EQ(AutoTranslateOnLongPress(freshReach, relay, timings), c.end) << c.what;
    release.join();
    EXPECT_TRUE(fresh.KeyEvents().empty()) << c.what;
    EXPECT_TRUE(fresh.PrimaryClicks().empty()) << c.what;
  }
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(AutoTranslationTest, PressArea_WholeTextTakesTheLeftThreeFifthsSelectionModeAMenuBarAround) {
  const platform::Rect client{100, 100, 600, 400};
  const int m = kMenuBarHeight;
  struct Case {
    LongPressMode mode;
    platform::Point cursor;
    bool accepted;
  } cases[] = {
      {LongPressMode::kWholeText, {100, 100}, true},
      {LongPressMode::kWholeText, {399, 399}, true},
      {LongPressMode::kWholeText, {400, 200}, false},
      {LongPressMode::kWholeText, {99, 200}, false},
      {LongPressMode::kWholeText, {200, 400}, false},
      {LongPressMode::kSelection, {100 - 3 * m, 200}, true},
      {LongPressMode::kSelection, {99 - 3 * m, 200}, false},
      {LongPressMode::kSelection, {599 + 2 * m, 200}, true},
      {LongPressMode::kSelection, {600 + 2 * m, 200}, false},
      {LongPressMode::kSelection, {200, 100 - m}, true},
      {LongPressMode::kSelection, {200, 99 - m}, false},
      {LongPressMode::kSelection, {200, 399 + m}, true},
      {LongPressMode::kSelection, {200, 400 + m}, false},
  };
  for (const Case& c : cases) {
    platform::Point clickBack{-1, -1};
    EXPECT_EQ(LongPressPointAccepted(client, c.cursor, c.mode, clickBack), c.accepted)
        << static_cast<int>(c.mode) << " at " << c.cursor.x << "," << c.cursor.y;
    if (c.mode == LongPressMode::kWholeText) {
      EXPECT_EQ(clickBack, (platform::Point{400, c.cursor.y}));
    }
  }
}

TEST_F(AutoTranslationTest, SelectionMode_CopiesTheSelectionWithoutSelectAllOrClickAndReplacesIt) {
  const WindowHandle pad = desktop.AddWindow(u"WordPad", u"letter", {100, 100, 600, 400});
  desktop.SetForeground(pad);
  desktop.SetCursorPosition({60, 90});  // just outside the client area, over the selection's edge
  editorText = u"Dear Sir, Hello";
  selection = u"Hello";
  ASSERT_EQ(PressAndTranslate(1200ms), AutoTranslateEnd::kPasted);
  EXPECT_EQ(editorText, u"[Hello]");
  EXPECT_TRUE(desktop.PrimaryClicks().empty());
  for (const auto& event : desktop.KeyEvents()) EXPECT_NE(event.key, 0x41) << "Ctrl+A in selection mode";
}

TEST_F(AutoTranslationTest, WithoutTheCompanionOrACopyTheUserIsToldAndTheClipboardKeepsItsText) {
  clipboard.WriteText(u"the user's own");
  copies = false;
  ASSERT_EQ(PressAndTranslate(1200ms), AutoTranslateEnd::kNothingCopied);
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].text, kSourceEmptyMessage);
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
  EXPECT_EQ(clipboard.text, u"the user's own");
  EXPECT_EQ(editorText, u"Hello {ut1}world{ut2}\r\nGood / 50%");

  link.companionWindow = 0;  // the editor in front is no companion window either
  ASSERT_EQ(PressAndTranslate(1200ms), AutoTranslateEnd::kNoCompanion);
  ASSERT_EQ(prompts.dialogs().size(), 2u);
  EXPECT_NE(prompts.dialogs()[1].text.find(u"first open the automatic translation page"), Text::npos);
  EXPECT_NE(prompts.dialogs()[1].text.find(TranslationSites::kExamplePage), Text::npos);
  EXPECT_EQ(prompts.dialogs()[1].caption, u"Notice");
  desktop.RemoveWindow(companionWindow);
  link.companionWindow = companionWindow;  // a window that has gone
  EXPECT_EQ(PressAndTranslate(1200ms), AutoTranslateEnd::kNoCompanion);
}

TEST_F(AutoTranslationTest,
       AnotherWindowInFrontAfterTheCopy_GetsNoClickAndNoKeysAndTheTranslationWaitsOnTheClipboard) {
  const WindowHandle other = desktop.AddWindow(u"Terminal", u"shell", {0, 0, 800, 600});
  desktop.SetKeyHook([&](int key, bool down) {
    if (key == kKeyControl && down) control = true;
    if (control && down && key == 0x41) selection = editorText;
    if (control && down && key == 0x43) {
      clipboard.WriteText(selection);
      desktop.SetForeground(other);
    }
  });
  ASSERT_EQ(PressAndTranslate(1200ms), AutoTranslateEnd::kLeftFront);
  EXPECT_TRUE(desktop.PrimaryClicks().empty());
  // Only the releases of the keys held when the other window came in front reach it.
  for (const auto& event : desktop.KeyEvents()) {
    if (event.key < 0) continue;
    EXPECT_NE(event.foreground, other) << event.key;
  }
  EXPECT_EQ(clipboard.text, kTranslated);
}

TEST_F(AutoTranslationTest, AWindowOverTheClickBackPoint_IsNotClickedAndTheTranslationWaitsOnTheClipboard) {
  desktop.AddWindow(u"Function List", u"Function List", {380, 150, 500, 300});  // on top, not in front
  ASSERT_EQ(PressAndTranslate(1200ms), AutoTranslateEnd::kLeftFront);
  EXPECT_TRUE(desktop.PrimaryClicks().empty());
  for (const auto& event : desktop.KeyEvents()) EXPECT_NE(event.key, 0x56) << "pasted";
  EXPECT_EQ(clipboard.text, kTranslated);
}

TEST_F(AutoTranslationTest, APageThatCannotTranslate_MarksTheWindowAndLeavesTheLineOut) {
  page->SetAddress("http://127.0.0.1/plain.html");  // none of the address keywords: no address is built
  editorText = u"Hello";
  ASSERT_EQ(PressAndTranslate(1200ms), AutoTranslateEnd::kPasted);
  EXPECT_EQ(editorText, u"");
  ASSERT_EQ(captions.size(), 3u);
  EXPECT_EQ(captions[1], (std::pair<WindowHandle, Text>{editor, kAutoTranslationFailedCaption}));
  EXPECT_EQ(captions[2], (std::pair<WindowHandle, Text>{editor, u"notes.txt"}));
}

TEST(WindowClassInList, WholeItemsOfTheForegroundOrTheGivenWindow) {
  platform::FakeDesktop desktop;
  const WindowHandle a = desktop.AddWindow(u"Afx:00400000:0", u"vexo1", {0, 0, 10, 10});
  const WindowHandle b = desktop.AddWindow(u"Afx:00400000:01", u"other", {0, 0, 10, 10});
  desktop.SetForeground(b);
  EXPECT_TRUE(WindowClassInList(desktop, u"Afx:00400000:0", a));
  EXPECT_FALSE(WindowClassInList(desktop, u"Afx:00400000:0", 0));
  EXPECT_TRUE(WindowClassInList(desktop, u"x\tAfx:00400000:01", 0));
  EXPECT_FALSE(WindowClassInList(desktop, u"", a));
  EXPECT_EQ(LongPressModeOf(desktop, u"Afx:00400000:0;\tAfx:00400000:01", a), LongPressMode::kSelection);
  EXPECT_EQ(LongPressModeOf(desktop, u"Afx:00400000:0;\tAfx:00400000:01", b), LongPressMode::kWholeText);
}

}  // namespace
}  // namespace scrivano
