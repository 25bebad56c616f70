#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/fake/FakeDesktop.h"
#include "settings/IniFile.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "web/WebCapture.h"

namespace scrivano {
namespace {

// The three values in their fixed order, "" where absent.
struct MediaCase {
  const char* name;
  std::vector<Text> before;    // written before the switch-off ("-" = absent)
  std::vector<Text> afterOff;  // after switching off
  std::vector<Text> afterOn;   // after switching back on
};

TEST(SetBrowserMedia, SwitchesOffWhatWasOnAndBackOnlyThat) {
  const Text keys[3] = {u"Play_Animations", u"Play_Background_Sounds", u"Display Inline Images"};
  const std::vector<MediaCase> cases = {
      {"all on", {u"yes", u"yes", u"yes"}, {u"no", u"no", u"no"}, {u"yes", u"yes", u"yes"}},
      {"animations already off", {u"no", u"yes", u"yes"}, {u"no", u"no", u"no"}, {u"no", u"yes", u"yes"}},
      {"absent counts as on", {u"-", u"-", u"-"}, {u"no", u"no", u"no"}, {u"yes", u"yes", u"yes"}},
      {"a part of yes counts as on",
       {u"ye", u"maybe", u"es"},
       {u"no", u"maybe", u"no"},
       {u"yes", u"maybe", u"yes"}},
  };
  for (const MediaCase& c : cases) {
    test::TempFolder folder;
    const Text file = folder.File("vexo1.ini");
    for (int i = 0; i < 3; ++i)
      if (c.before[i] != u"-") {
        ASSERT_TRUE(WriteIniValue(file, u"Main", keys[i], c.before[i]));
      }
    platform::FakeDesktop desktop;
    CompanionLink link(desktop, file);
    const auto values = [&] {
      const IniFile ini = IniFile::Load(file);
      return std::vector<Text>{ini.Value(u"Main", keys[0]), ini.Value(u"Main", keys[1]),
                               ini.Value(u"Main", keys[2])};
    };
    ASSERT_TRUE(SetBrowserMedia(true, link)) << c.name;
    EXPECT_EQ(values(), c.afterOff) << c.name;
    ASSERT_TRUE(SetBrowserMedia(false, link)) << c.name;
    EXPECT_EQ(values(), c.afterOn) << c.name;
  }
}

// A companion that is missing, or there but not a program: entry 06 and the start for automatic translation
// each name the path tried (after the message they always gave) and say what to do.
TEST(CompanionProgram, MissingOrNotRunnable_TheMessageNamesThePathAndWhatToDo) {
  test::TempFolder folder;
  folder.WriteBytes("not-a-program", "");
  platform::FakeDesktop desktop;
  CompanionLink link(desktop, folder.File("vexo1.ini"));
  for (const auto& [name, why] :
       {std::pair{"vexo1", u"is not there"}, {"not-a-program", u"cannot be run there"}}) {
    const Text path = folder.File(name);
    test::TestPrompts prompts;
    Text working = u"http://127.0.0.1:1/page.html";
    TaskContext context;
    context.workingText = &working;
    context.companionPath = path;
    ExtractWebpageText(context, link);
    EnsureCompanionRunning(link, path, Text());
    const std::vector<Text> messages = prompts.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].starts_with(u"Fail to CreateProcess():\r\n\r\n" + path)) << ToUtf8(messages[0]);
    EXPECT_TRUE(messages[1].starts_with(u"Cannot launch vexo1.exe!")) << ToUtf8(messages[1]);
    for (const Text& message : messages)
      EXPECT_TRUE(message.find(why) != Text::npos && message.find(u"Install Scrivano again") != Text::npos)
          << ToUtf8(message);
  }
}

TEST(SetBrowserMedia, SecondSwitchOff_LeavesTheValuesOffAtTheEnd) {
  test::TempFolder folder;
  platform::FakeDesktop desktop;
  CompanionLink link(desktop, folder.File("vexo1.ini"));
  ASSERT_TRUE(SetBrowserMedia(true, link));
  ASSERT_TRUE(SetBrowserMedia(true, link));
  ASSERT_TRUE(SetBrowserMedia(false, link));
  EXPECT_EQ(IniFile::Load(folder.File("vexo1.ini")).Value(u"Main", u"Play_Animations"), u"no");
}

TEST(SetBrowserMedia, UnwritableFile_SaysCannotSetParameter) {
  test::TestPrompts prompts;
  test::TempFolder folder;
  platform::FakeDesktop desktop;
  CompanionLink link(desktop, folder.File("missing-folder/vexo1.ini"));
  EXPECT_FALSE(SetBrowserMedia(true, link));
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Cannot set parameter !");
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
}

TEST(CompanionLink, CopyData_ReachesOnlyASetTarget) {
  platform::FakeDesktop desktop;
  CompanionLink link(desktop, Text());
  link.HandOver(u"dropped");
  Text target = u"old";
  link.SetCopyDataTarget(&target);
  link.HandOver(u"");
  EXPECT_EQ(target, u"");
  EXPECT_EQ(link.WaitForCopyData(0, 0, std::chrono::milliseconds(10)), CompanionLink::WaitEnd::kReply);
  EXPECT_EQ(link.WaitForCopyData(0, 0, std::chrono::milliseconds(300)), CompanionLink::WaitEnd::kTimeOut);
  // A window that goes ends the wait.
  const WindowHandle window = desktop.AddWindow(kCompanionWindowClass, u"vexo1", {0, 0, 10, 10});
  desktop.RemoveWindow(window);
  EXPECT_EQ(link.WaitForCopyData(0, window, std::chrono::seconds(30)), CompanionLink::WaitEnd::kWindowGone);
}

TEST(CompanionLink, FindCompanionWindow_SkipsThoseOpenedForExtraction) {
  platform::FakeDesktop desktop;
  CompanionLink link(desktop, Text());
  desktop.AddWindow(u"Other", u"x", {0, 0, 10, 10});
  const WindowHandle opened = desktop.AddWindow(kCompanionWindowClass, u"vexo1", {0, 0, 10, 10});
  EXPECT_EQ(FindCompanionWindow(link, FromUtf8(std::to_string(opened))), 0u);
  const WindowHandle own = desktop.AddWindow(kCompanionWindowClass, u"vexo1", {0, 0, 10, 10});
  EXPECT_EQ(FindCompanionWindow(link, FromUtf8(std::to_string(opened))), own);
}

// The companion's program has unshown windows of its class besides its main window: a hidden one counts
// only when the companion serves it (its socket), a listed one at once.
TEST(CompanionLink, FindCompanionWindow_TakesAHiddenWindowOnlyWithItsSocket) {
  test::TempFolder runtime;
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string previous = saved ? saved : "";
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  platform::FakeDesktop desktop;
  CompanionLink link(desktop, Text());
  const WindowHandle helper = desktop.AddWindow(kCompanionWindowClass, u"", {0, 0, 1, 1});
  const WindowHandle hidden = desktop.AddWindow(kCompanionWindowClass, u"vexo1", {0, 0, 10, 10});
  desktop.SetWindowShown(helper, false);
  desktop.SetWindowShown(hidden, false);
  EXPECT_EQ(FindCompanionWindow(link, Text()), 0u);
  const std::string socket = companion::SocketPath(companion::CompanionSocketName(hidden));
  ASSERT_FALSE(socket.empty());
  std::ofstream(socket).put('\0');
  EXPECT_EQ(FindCompanionWindow(link, Text()), hidden);
  desktop.SetWindowShown(helper, true);
  EXPECT_EQ(FindCompanionWindow(link, Text()), helper);
  if (saved)
    setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
  else
    unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace scrivano
