// Status captions on the fake desktop: titles set and restored, the overlay on self-drawing windows.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "background/StatusCaptions.h"
#include "platform/fake/FakeDesktop.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using platform::FakeDesktop;

constexpr auto kRestoreDelay = 150ms;

class StatusCaptionsTest : public testing::Test {
 protected:
  void SetUp() override {
    captions = std::make_unique<StatusCaptions>(
        desktop,
        [this](WindowHandle window, TextView text) {
          std::lock_guard lock(mutex);
          overlays.emplace_back(window, Text(text));
        },
        kRestoreDelay);
    SetStatusCaptions(captions.get());
  }
  void TearDown() override { SetStatusCaptions(nullptr); }

  std::vector<std::pair<WindowHandle, Text>> Overlays() {
    std::lock_guard lock(mutex);
    return overlays;
  }

  FakeDesktop desktop;
  std::unique_ptr<StatusCaptions> captions;
  std::mutex mutex;
  std::vector<std::pair<WindowHandle, Text>> overlays;
};

TEST(CountedCaption, DigitsBetweenColonParenthesisAndParenthesisSpacesMarkTheProgramsOwnCaption) {
  struct Case {
    const char16_t* title;
    bool counted;
  } cases[] = {
      {u"name: (12)  rest", true},
      {u"name: (12) rest", false},
      {u"name: (1a)  rest", false},
      {u"name: ()  rest", true},
      {u"", true},
      {u"12", true},
      {u"Document1 - Writer", false},
      {u"a: (b: (3)  c", false},
      {u"12)  trailing", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsCountedCaption(c.title), c.counted) << ToUtf8(c.title);
}

TEST_F(StatusCaptionsTest, TitlesComeBackAfterTheDelayOnlyWhereTheyShould) {
  struct Case {
    const char* what;
    const char16_t* className;
    const char16_t* title;
    bool restore;
    const char16_t* shownTitle;  // right after the call
    const char16_t* laterTitle;  // after the delay
  } cases[] = {
      {"an editor", u"gedit", u"notes.txt", true, u"busy", u"notes.txt"},
      {"restore not asked", u"gedit", u"draft.txt", false, u"busy", u"busy"},
      {"a counted caption", u"gedit", u"name: (12)  rest", true, u"busy", u"busy"},
      {"a warning on show", u"gedit", u"Warning !  300 (Free Mbytes) < 512 (Min Mbytes)", true, u"busy",
       u"busy"},
      {"a browser drawn by the system", u"IEFrame", u"Page", true, u"busy", u"busy"},
      {"a dialog", u"#32770", u"Open", true, u"busy", u"Open"},
  };
  std::vector<WindowHandle> windows;
  for (const Case& c : cases) windows.push_back(desktop.AddWindow(c.className, c.title, {0, 0, 300, 200}));
  for (size_t i = 0; i < std::size(cases); ++i) {
    ShowCaption(windows[i], u"busy", cases[i].restore);
    EXPECT_EQ(desktop.WindowTitle(windows[i]), cases[i].shownTitle) << cases[i].what;
  }
  std::this_thread::sleep_for(kRestoreDelay / 2);
  EXPECT_EQ(desktop.WindowTitle(windows[0]), u"busy") << "not before the delay";
  std::this_thread::sleep_for(kRestoreDelay * 4);
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(desktop.WindowTitle(windows[i]), cases[i].laterTitle) << cases[i].what;
}

TEST_F(StatusCaptionsTest, ASecondCaptionDuringTheDelayKeepsTheWindowsOwnTitleToRestore) {
  const WindowHandle editor = desktop.AddWindow(u"gedit", u"notes.txt", {0, 0, 300, 200});
  ShowCaption(editor, u"first", true);
  ShowCaption(editor, u"second", true);
  EXPECT_EQ(desktop.WindowTitle(editor), u"second");
  std::this_thread::sleep_for(kRestoreDelay * 4);
  EXPECT_EQ(desktop.WindowTitle(editor), u"notes.txt") << "not the program's own first caption";
  ShowCaption(editor, u"third", true);
  std::this_thread::sleep_for(kRestoreDelay * 4);
  EXPECT_EQ(desktop.WindowTitle(editor), u"notes.txt") << "a later caption is restored again";
}

TEST_F(StatusCaptionsTest, SelfDrawingWindowsGetTheOverlayAndKeepTheirTitle) {
  const WindowHandle chrome = desktop.AddWindow(u"Chrome_WidgetWin_1", u"News - Chromium", {0, 0, 800, 600});
  const WindowHandle custom = desktop.AddWindow(u"drawn", u"Custom", {0, 0, 400, 300});
  desktop.SetDrawsOwnTitleBar(custom, true);
  ShowCaption(chrome, u"Warning !  300 (Free Mbytes) < 512 (Min Mbytes)", true);
  ShowCaption(chrome, u"", false);
  desktop.SetWindowTitle(chrome, u"Other page - Chromium");
  ShowCaption(chrome, u"", false);  // another title: nothing to draw again
  ShowCaption(custom, u"Deleted!", false);
  std::this_thread::sleep_for(kRestoreDelay * 3);
  const Text warning = u"Warning !  300 (Free Mbytes) < 512 (Min Mbytes)   ";
  using Overlay = std::pair<WindowHandle, Text>;
  EXPECT_EQ(Overlays(),
            (std::vector<Overlay>{{chrome, warning}, {chrome, warning}, {custom, u"Deleted!   "}}));
  EXPECT_EQ(desktop.WindowTitle(chrome), u"Other page - Chromium");
  EXPECT_EQ(desktop.WindowTitle(custom), u"Custom");
}

TEST_F(StatusCaptionsTest, TheProgramsOwnWindowsGoThroughTheirSetterAndAnEmptyTextChangesNothing) {
  const WindowHandle list = desktop.AddWindow(u"Qt6", u"Function List", {0, 0, 200, 400});
  std::vector<Text> set;
  SetOwnWindowCaption([&](WindowHandle window, TextView text) {
    if (window != list) return false;
    set.emplace_back(text);
    return true;
  });
  ShowCaption(list, u"Processing 1 task(s). Please wait...", false);
  ShowCaption(list, u"", false);
  ShowCaption(0, u"nowhere", true);
  SetOwnWindowCaption({});
  EXPECT_EQ(set, std::vector<Text>{u"Processing 1 task(s). Please wait..."});
  EXPECT_EQ(desktop.WindowTitle(list), u"Function List") << "set by the program's own setter only";
}

TEST_F(StatusCaptionsTest, AtTheEndPendingTitlesGoBackAtOnceAndAClosedWindowIsNoError) {
  const WindowHandle closed = desktop.AddWindow(u"gedit", u"notes.txt", {0, 0, 300, 200});
  const WindowHandle open = desktop.AddWindow(u"gedit", u"draft.txt", {0, 0, 300, 200});
  ShowCaption(closed, u"busy", true);
  desktop.RemoveWindow(closed);
  std::this_thread::sleep_for(kRestoreDelay * 3);
  ShowCaption(open, u"busy", true);
  SetStatusCaptions(nullptr);
  captions.reset();
  EXPECT_EQ(desktop.WindowTitle(open), u"draft.txt");
}

}  // namespace
}  // namespace scrivano
