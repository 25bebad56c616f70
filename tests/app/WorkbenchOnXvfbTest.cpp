// The whole program on a private Xvfb display: started as a user starts it, driven with synthetic mouse
// and key events on its own windows.
// gtest and Qt before Xlib: Xlib's macros (None, Bool) would break their templates.
// clang-format off
#include <gtest/gtest.h>
#include "app/SingleInstance.h"
// clang-format on

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "platform/x11/X11Desktop.h"
#include "settings/IniFile.h"
#include "settings/ProgramPaths.h"
#include "support/DesktopWaits.h"
#include "support/EncodingFiles.h"
#include "support/PrivateDisplay.h"
#include "support/SyntheticInput.h"
#include "support/TempFolder.h"
#include "text/Utf16Bytes.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using test::Click;
using test::Eventually;
using test::FindWindow;
using test::PressChord;
using test::PressKey;
using test::SelectedRowMiddle;
using test::TypeText;

TEST(WorkbenchOnXvfb, ADoubleClickOnAnEntryPutsItsResultIntoTheOutputFile) {
  test::PrivateDisplay screen;
  if (!screen.Started()) GTEST_SKIP() << "no private display: " << screen.Error();
  test::TempFolder root;
  ::mkdir((root.path() + "/Data").c_str(), 0755);
  ::mkdir((root.path() + "/runtime").c_str(), 0700);
  const ProgramPaths paths = PathsBelow(FromUtf8(root.path()));
  ASSERT_TRUE(InstallDefaultParameterFile(paths));
  ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"DIMENSIONS", u"Function List", u"700,100,1000,600"));
  root.WriteBytes("Data/Input", TextToUtf16LeBytes(u"aBc xyz\r\n中文"));

  const pid_t program = screen.Spawn({SCRIVANO_PROGRAM}, {{"SCRIVANO_ROOT", root.path()},
                                                          {"QT_QPA_PLATFORM", "xcb"},
                                                          {"XDG_RUNTIME_DIR", root.path() + "/runtime"},
                                                          {"XDG_CONFIG_HOME", root.path() + "/config"}});
  ASSERT_GT(program, 0);
  Display* display = XOpenDisplay(screen.Name().c_str());
  ASSERT_NE(display, nullptr);
  const auto desktop = platform::X11Desktop::Open(screen.Name().c_str());

  // The Function List where its stored placement puts it.
  WindowHandle list = 0;
  ASSERT_TRUE(Eventually([&] { return (list = FindWindow(*desktop, u"Function List")) != 0; }));
  const WindowHandle main = FindWindow(*desktop, u"Scrivano");
  EXPECT_NE(main, 0u);
  platform::Rect rect;
  ASSERT_TRUE(Eventually([&] {
    return (rect = desktop->WindowRect(list)) == platform::Rect{700, 100, 1000, 600};
  })) << rect.left
      << "," << rect.top << "," << rect.right << "," << rect.bottom;

  // Select the first entry with a click, walk down to "10. Make uppercase" one key at a time (each step
  // seen on the screen), double-click it.
  const int column = rect.left + 60;
  const auto selectedRow = [&] { return SelectedRowMiddle(display, column, rect.top, rect.bottom); };
  int row = -1;
  Click(display, column, rect.top + 18);
  ASSERT_TRUE(Eventually([&] { return (row = selectedRow()) > 0; })) << "no selected row";
  for (int i = 0; i < 10; ++i) {
    const int previous = row;
    PressKey(display, XK_Down);
    ASSERT_TRUE(Eventually([&] { return (row = selectedRow()) > previous; })) << "step " << i;
  }
  Click(display, column, row, 2);

  const std::string expected = TextToUtf16LeBytes(u"ABC XYZ\r\n中文");
  EXPECT_TRUE(Eventually([&] { return root.ReadBytes("Data/Output") == expected; }));

  // Closing the main window ends the program, which stores the Function List's placement.
  desktop->RequestClose(main);
  int status = -1;
  ASSERT_TRUE(Eventually([&] { return ::waitpid(program, &status, WNOHANG) == program; }));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  Text stored;
  Text file = paths.parameterFile;
  EXPECT_TRUE(ReadIniValue(file, u"DIMENSIONS", u"Function List", stored, false));
  EXPECT_EQ(stored, u"700,100,1000,600");
  XCloseDisplay(display);
}

// The program as a user starts it, on a private display, in a work root of its own.
class ProgramOnXvfb : public testing::Test {
 protected:
  // storedList: the Function List's stored placement, or empty for a first start.
  void Start(const std::string& storedList, TextView input = u"") {
    if (!screen.Started()) GTEST_SKIP() << "no private display: " << screen.Error();
    ::mkdir((root.path() + "/Data").c_str(), 0755);
    ::mkdir((root.path() + "/runtime").c_str(), 0700);
    paths = PathsBelow(FromUtf8(root.path()));
    ASSERT_TRUE(InstallDefaultParameterFile(paths));
    if (!storedList.empty()) {
      ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"DIMENSIONS", u"Function List", FromUtf8(storedList)));
    }
    for (const auto& [k, value] : parameters)
      ASSERT_TRUE(
          WriteIniValue(paths.parameterFile, u"PARAMETERS", u"Para" + FromUtf8(std::to_string(k)), value));
    root.WriteBytes("Data/Input", TextToUtf16LeBytes(input));
    program = screen.Spawn({SCRIVANO_PROGRAM}, Environment());
    ASSERT_GT(program, 0);
    display = XOpenDisplay(screen.Name().c_str());
    ASSERT_NE(display, nullptr);
    desktop = platform::X11Desktop::Open(screen.Name().c_str());
    ASSERT_TRUE(Eventually([&] { return (list = FindWindow(*desktop, listTitle)) != 0; }));
    ASSERT_TRUE(Eventually([&] { return (main = FindWindow(*desktop, u"Scrivano")) != 0; }));
    // Started: the list is where it belongs and the main window has its text windows.
    ASSERT_TRUE(Eventually([&] { return desktop->WindowRect(list).left > 0; }));
    std::this_thread::sleep_for(500ms);
    listRect = desktop->WindowRect(list);
  }

  std::map<std::string, std::string> Environment() {
    std::map<std::string, std::string> environment = {{"SCRIVANO_ROOT", root.path()},
                                                      {"QT_QPA_PLATFORM", "xcb"},
                                                      {"XDG_RUNTIME_DIR", root.path() + "/runtime"},
                                                      {"XDG_CONFIG_HOME", root.path() + "/config"}};
    environment.insert(locale.begin(), locale.end());
    return environment;
  }

  void TearDown() override {
    if (program > 0 && Running()) screen.Stop(program);
    if (display) XCloseDisplay(display);
  }

  bool Running() { return program > 0 && ::waitpid(program, &status, WNOHANG) == 0; }
  std::string File(const std::string& name) { return root.ReadBytes("Data/" + name); }

  void DoubleClickEntry(int number) { ASSERT_TRUE(test::DoubleClickListEntry(display, listRect, number)); }

  // A window of the program with that title other than the main window.
  WindowHandle Box(TextView title) {
    WindowHandle found = 0;
    Eventually([&] {
      for (const WindowHandle window : desktop->TopLevelWindows())
        if (window != main && desktop->WindowTitle(window) == title) found = window;
      return found != 0;
    });
    return found;
  }

  test::PrivateDisplay screen;
  test::TempFolder root;
  std::vector<std::pair<int, Text>> parameters;  // set before the program starts
  std::map<std::string, std::string> locale;     // LANG and the like, set before the program starts
  Text listTitle = u"Function List";
  ProgramPaths paths;
  pid_t program = 0;
  int status = -1;
  Display* display = nullptr;
  std::unique_ptr<platform::X11Desktop> desktop;
  WindowHandle list = 0, main = 0;
  platform::Rect listRect;
};

// One program per Data folder. A socket left behind by a crashed program is in the way at the first
// start, which runs all the same; a second start on the same folder hands its file to the first, which
// comes to the front, and ends; a start on another Data folder runs beside it and opens the file it names.
TEST_F(ProgramOnXvfb, ASecondStartOnTheDataFolderOpensItsFileInTheFirstAndEnds) {
  ::mkdir((root.path() + "/Data").c_str(), 0755);
  ::mkdir((root.path() + "/runtime").c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", (root.path() + "/runtime").c_str(), 1);
  const std::string socketPath =
      SingleInstance::SocketPath(QString::fromStdString(root.path() + "/Data")).toStdString();
  ASSERT_FALSE(socketPath.empty());
  {
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
  }
  Start("");
  desktop->RequestActivation(list);
  ASSERT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == list; }));
  root.WriteBytes("notes.txt", "handed over");
  const pid_t second = screen.Spawn({SCRIVANO_PROGRAM, root.path() + "/notes.txt"}, Environment());
  int secondStatus = -1;
  ASSERT_TRUE(Eventually([&] { return ::waitpid(second, &secondStatus, WNOHANG) == second; }, 20s));
  EXPECT_TRUE(WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 0);
  // The first opened it: it heads the recent files.
  EXPECT_TRUE(Eventually([&] {
    return root.ReadBytes("config/Local AppWizard-Generated Applications/Scrivano.conf")
               .find(root.path() + "/notes.txt") != std::string::npos;
  }));
  EXPECT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == main; }))
      << "the first came to the front";
  EXPECT_TRUE(Running());
  struct stat info {};
  ASSERT_EQ(::stat(socketPath.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  test::TempFolder other;
  auto environment = Environment();
  environment["SCRIVANO_ROOT"] = other.path();
  root.WriteBytes("named.txt", "named at the start");
  const pid_t beside = screen.Spawn({SCRIVANO_PROGRAM, root.path() + "/named.txt"}, environment);
  EXPECT_TRUE(Eventually([&] {
    int lists = 0;
    for (const WindowHandle window : desktop->TopLevelWindows())
      lists += desktop->WindowTitle(window) == u"Function List";
    return lists == 2;
  }));
  EXPECT_TRUE(Eventually([&] {
    return root.ReadBytes("config/Local AppWizard-Generated Applications/Scrivano.conf")
               .find(root.path() + "/named.txt") != std::string::npos;
  }));
  screen.Stop(beside);
}

TEST_F(ProgramOnXvfb, PasteWithAnEmptyOrOrphanedClipboardLeavesTheTextAlone) {
  Start("");
  Click(display, 300, 300);  // into the Input window, above the centred list
  std::this_thread::sleep_for(300ms);
  TypeText(display, "ab");
  // Nothing on the clipboard.
  PressChord(display, XK_Control_L, XK_v);
  PressChord(display, XK_Shift_L, XK_Insert);
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(Running()) << "the paste killed the program";
  // The clipboard's owner has gone: another client took it and ended.
  Display* owner = XOpenDisplay(screen.Name().c_str());
  ASSERT_NE(owner, nullptr);
  const Window window = XCreateSimpleWindow(owner, DefaultRootWindow(owner), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(owner, XInternAtom(owner, "CLIPBOARD", False), window, CurrentTime);
  XSync(owner, False);
  XCloseDisplay(owner);
  std::this_thread::sleep_for(300ms);
  PressChord(display, XK_Control_L, XK_v);
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(Running()) << "the paste killed the program";
  // The program's own copy pastes as ever.
  PressChord(display, XK_Control_L, XK_a);
  PressChord(display, XK_Control_L, XK_c);
  PressKey(display, XK_End);
  PressChord(display, XK_Control_L, XK_v);
  EXPECT_TRUE(Eventually([&] { return File("Input") == TextToUtf16LeBytes(u"abab"); }, 20s));
  EXPECT_TRUE(Running());
}

TEST_F(ProgramOnXvfb, TypedInputTextOutlivesAKill) {
  Start("");
  Click(display, 300, 300);
  std::this_thread::sleep_for(300ms);
  TypeText(display, "not lost");
  const std::string typed = TextToUtf16LeBytes(u"not lost");
  ASSERT_TRUE(Eventually([&] { return File("Input") == typed; }, 20s));
  ::kill(program, SIGKILL);
  ASSERT_EQ(::waitpid(program, &status, 0), program);
  program = 0;
  EXPECT_EQ(File("Input"), typed);
}

TEST_F(ProgramOnXvfb, TheSaveQuestionDefaultsToYesAndCancelKeepsTheProgramOpen) {
  Start("");
  Click(display, 200, 700);  // into the Output window, below the centred list
  std::this_thread::sleep_for(300ms);
  TypeText(display, "result to keep");
  std::this_thread::sleep_for(300ms);
  // Escape cancels the closing.
  desktop->RequestClose(main);
  ASSERT_NE(Box(u"Scrivano"), 0u);
  PressKey(display, XK_Escape);
  ASSERT_TRUE(Eventually([&] { return FindWindow(*desktop, u"Scrivano") == main; }, 10s));
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(Running());
  EXPECT_EQ(File("Output"), "");
  // Enter keeps the text and ends the program.
  desktop->RequestClose(main);
  ASSERT_NE(Box(u"Scrivano"), 0u);
  PressKey(display, XK_Return);
  ASSERT_TRUE(Eventually([&] { return ::waitpid(program, &status, WNOHANG) == program; }));
  program = 0;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(File("Output"), TextToUtf16LeBytes(u"result to keep"));
}

TEST_F(ProgramOnXvfb, ANoticeComesUpAboveTheCentredListWithTheCursorOnItsButton) {
  Start("");             // first start: the list in the middle of the screen, where boxes come up too
  DoubleClickEntry(13);  // not in this version: a notice
  const WindowHandle notice = Box(u"Notice");
  ASSERT_NE(notice, 0u);
  platform::Rect box;
  ASSERT_TRUE(Eventually([&] { return (box = desktop->WindowRect(notice)).Width() > 0; }));
  // Where the two overlap the notice shows, and the cursor waits on its button (below the text).
  const platform::Point middle{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  ASSERT_TRUE(listRect.Contains(middle));
  EXPECT_TRUE(Eventually([&] { return desktop->WindowAt(middle) == notice; }, 10s));
  EXPECT_TRUE(Eventually(
      [&] {
        const platform::Point cursor = desktop->CursorPosition();
        return desktop->WindowAt(cursor) == notice && cursor.y > middle.y;
      },
      10s));
  // The notice has the focus: Enter closes it.
  PressKey(display, XK_Return);
  EXPECT_TRUE(Eventually([&] { return !desktop->IsWindow(notice); }, 10s));
}

TEST_F(ProgramOnXvfb, WhileOneEntryWaitsOnItsQuestionAnotherRunsToTheOutputFile) {
  // The list to the right of the screen's centre, partly under where the question comes up.
  Start("820,150,1170,550", u"abc");
  DoubleClickEntry(1);
  const WindowHandle question = Box(u"General Selection");
  ASSERT_NE(question, 0u);
  platform::Rect box;
  ASSERT_TRUE(Eventually([&] { return (box = desktop->WindowRect(question)).right > listRect.left; }));
  EXPECT_TRUE(Eventually([&] { return desktop->WindowAt(desktop->CursorPosition()) == question; }, 10s));
  // While entry 1 waits for its answer, entry 10 runs to the Output file.
  listRect.left = std::max(listRect.left, box.right + 10);
  DoubleClickEntry(10);
  EXPECT_TRUE(Eventually([&] { return File("Output") == TextToUtf16LeBytes(u"ABC"); }, 30s));
  EXPECT_TRUE(desktop->IsWindow(question));
  EXPECT_EQ(desktop->WindowTitle(question), u"General Selection");
}

// The interface in the locale's language, and exactly the English texts in the C locale: the list's title
// and a question box's title (their texts are read in TranslationsTest).
struct LocaleCase {
  const char* name;
  const char* lang;
  const char16_t* listTitle;
  const char16_t* questionTitle;
};
class ProgramInLocale : public ProgramOnXvfb, public testing::WithParamInterface<LocaleCase> {};

TEST_P(ProgramInLocale, TheListAndItsQuestionBoxSpeakTheLocalesLanguage) {
  locale = {{"LANG", GetParam().lang}, {"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}};
  listTitle = GetParam().listTitle;
  Start("820,150,1170,550", u"abc");
  DoubleClickEntry(1);
  const WindowHandle question = Box(GetParam().questionTitle);
  ASSERT_NE(question, 0u);
  PressKey(display, XK_Escape);
  EXPECT_TRUE(Eventually([&] { return !desktop->IsWindow(question); }, 10s));
  // The list's caption comes back from the task count once the entry has ended.
  EXPECT_TRUE(Eventually([&] { return desktop->WindowTitle(list) == GetParam().listTitle; }, 10s));
}

INSTANTIATE_TEST_SUITE_P(Languages, ProgramInLocale,
                         testing::Values(LocaleCase{"zh_CN", "zh_CN.UTF-8", u"功能列表", u"通用选择"},
                                         LocaleCase{"zh_TW", "zh_TW.UTF-8", u"功能列表", u"通用選擇"},
                                         LocaleCase{"C", "C", u"Function List", u"General Selection"}),
                         [](const testing::TestParamInfo<LocaleCase>& info) {
                           return std::string(info.param.name);
                         });

// A nested Wayland session: weston with its X11 back-end on the private display, and XWayland in it.
// Scrivano runs on XWayland; its first start says once what it cannot reach there, the next says nothing.
TEST(WorkbenchOnWayland, TheFirstStartSaysOnceThatOnlyX11WindowsCanBeReached) {
  if (system("command -v weston >/dev/null && command -v Xwayland >/dev/null") != 0)
    GTEST_SKIP() << "weston or Xwayland is missing (scripts/install-deps)";
  test::PrivateDisplay screen;
  if (!screen.Started()) GTEST_SKIP() << "no private display: " << screen.Error();
  test::TempFolder root;
  ::mkdir((root.path() + "/Data").c_str(), 0755);
  ::mkdir((root.path() + "/runtime").c_str(), 0700);
  const std::string runtime = root.path() + "/runtime";
  screen.Spawn({"weston", "--backend=x11-backend.so", "--socket=scrivano-test", "--xwayland", "--width=1024",
                "--height=700", "--log=" + root.path() + "/weston.log"},
               {{"XDG_RUNTIME_DIR", runtime}});
  std::string xwayland;
  ASSERT_TRUE(Eventually(
      [&] {
        const std::string log = root.ReadBytes("weston.log");
        const std::string mark = "xserver listening on display ";
        const size_t at = log.find(mark);
        if (at == std::string::npos) return false;
        xwayland = log.substr(at + mark.size(), log.find('\n', at) - at - mark.size());
        return true;
      },
      30s))
      << root.ReadBytes("weston.log");
  for (const bool first : {true, false}) {
    SCOPED_TRACE(first ? "first start" : "second start");
    const pid_t program = screen.Spawn({"env", "DISPLAY=" + xwayland, SCRIVANO_PROGRAM},
                                       {{"SCRIVANO_ROOT", root.path()},
                                        {"QT_QPA_PLATFORM", "xcb"},
                                        {"WAYLAND_DISPLAY", "scrivano-test"},
                                        {"XDG_RUNTIME_DIR", runtime},
                                        {"XDG_CONFIG_HOME", root.path() + "/config"}});
    const auto desktop = platform::X11Desktop::Open(xwayland.c_str());
    ASSERT_TRUE(desktop);
    ASSERT_TRUE(Eventually([&] { return FindWindow(*desktop, u"Function List") != 0; }));
    const bool noticed = Eventually([&] { return FindWindow(*desktop, u"Notice") != 0; }, first ? 20s : 3s);
    EXPECT_EQ(noticed, first);
    if (const WindowHandle notice = FindWindow(*desktop, u"Notice")) desktop->RequestClose(notice);
    screen.Stop(program);
  }
  EXPECT_NE(root.ReadBytes("config/Local AppWizard-Generated Applications/Scrivano.conf")
                .find("WaylandNoticeShown=true"),
            std::string::npos);
}

TEST(WorkbenchOnXvfb, WithoutADisplayTheProgramSaysSoPlainly) {
  const std::string command =
      std::string("env -u DISPLAY -u QT_QPA_PLATFORM '") + SCRIVANO_PROGRAM + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  const int status = ::pclose(pipe);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(output.find("scrivano: no display."), std::string::npos) << output;
}

int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

// A menu of the program is open: Qt shows it as an override-redirect window of the program's class.
bool ProgramMenuOpen(Display* display) {
  // Windows may go between the listing and the look at them.
  XSync(display, False);
  const XErrorHandler previous = XSetErrorHandler(IgnoreErrors);
  struct Restore {
    Display* display;
    XErrorHandler previous;
    ~Restore() {
      XSync(display, False);
      XSetErrorHandler(previous);
    }
  } restore{display, previous};
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return false;
  bool open = false;
  for (unsigned int i = 0; i < count && !open; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, children[i], &attributes) || !attributes.override_redirect ||
        attributes.map_state != IsViewable)
      continue;
    XClassHint hint{nullptr, nullptr};
    if (!XGetClassHint(display, children[i], &hint)) continue;
    open = hint.res_name && std::string(hint.res_name) == "scrivano";
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
  }
  if (children) XFree(children);
  return open;
}

Window ClipboardOwner(Display* display) {
  return XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False));
}

// ---- Other programs' windows: small clients of the tests' own (tests/capture/TestClient.cpp) ----

class OtherProgramsOnXvfb : public ProgramOnXvfb {
 protected:
  // A client showing the file's text; office mode answers Ctrl+N with its next paragraph.
  WindowHandle StartClient(const std::string& mode, const std::string& title, const std::string& file,
                           std::string_view text, bool above = false) {
    root.WriteBytes(file, std::string(text));
    const pid_t pid =
        screen.Spawn({SCRIVANO_EDITOR_CLIENT, mode, title, root.path() + "/" + file, above ? "above" : ""},
                     {{"QT_QPA_PLATFORM", "xcb"}, {"XDG_RUNTIME_DIR", root.path() + "/runtime"}});
    EXPECT_GT(pid, 0);
    WindowHandle window = 0;
    Eventually([&] { return (window = FindWindow(*desktop, FromUtf8(title))) != 0; });
    return window;
  }

  // The client window moved so that it lies under the Function List's top-left corner (the corner of its
  // frame, a little outside the list's own area).
  void PutUnderListCorner(WindowHandle window) {
    XMoveResizeWindow(display, static_cast<Window>(window), listRect.left - 400, listRect.top - 300, 440,
                      310);
    XFlush(display);
    ASSERT_TRUE(Eventually([&] {
      return desktop->WindowAt({listRect.left - 30, listRect.top - 40}) == window;
    }));
  }

  // Answers the selection prompt that comes up with the text (empty: the proposed answer).
  void Answer(std::string_view text) {
    WindowHandle prompt = 0;
    ASSERT_TRUE(Eventually([&] {
      prompt = desktop->ForegroundWindow();
      return prompt && desktop->WindowTitle(prompt) == u"General Selection";
    })) << "no prompt";
    std::this_thread::sleep_for(300ms);
    if (!text.empty()) {
      PressChord(display, XK_Control_L, XK_a);
      TypeText(display, std::string(text));
    }
    PressKey(display, XK_Return);
    ASSERT_TRUE(
        Eventually([&] { return !desktop->IsWindow(prompt) || desktop->ForegroundWindow() != prompt; }));
  }

  // An Edit menu command as a user reaches it: the main window in front with the keyboard focus, a click
  // into the Input window, Alt+E, and the command's mnemonic once the menu shows.
  void ChooseFromEditMenu(KeySym mnemonic) {
    desktop->RequestActivation(main);
    ASSERT_TRUE(Eventually([&] {
      Window focus = 0;
      int revert = 0;
      XGetInputFocus(display, &focus, &revert);
      return desktop->ForegroundWindow() == main && focus == static_cast<Window>(main) &&
             desktop->WindowAt({300, 300}) == main;
    })) << "the main window did not come to the front";
    Click(display, 300, 300);
    // The window manager's activation and the program's own can be apart by a moment; a chord that
    // arrives in between finds no active window in the program and is lost. The menu is asked for until
    // it shows.
    bool shown = false;
    for (int attempt = 0; attempt < 5 && !shown; ++attempt) {
      PressChord(display, XK_Alt_L, XK_e);
      shown = Eventually([&] { return ProgramMenuOpen(display); }, 3s);
      if (!shown) PressKey(display, XK_Escape);
    }
    ASSERT_TRUE(shown) << "the Edit menu did not open";
    PressKey(display, mnemonic);
    ASSERT_TRUE(Eventually([&] { return !ProgramMenuOpen(display); }, 10s));
  }

  // The text a client holds, written back by its Ctrl+S.
  std::string ClientText(WindowHandle window, const std::string& file) {
    desktop->RequestActivation(window);
    Eventually([&] { return desktop->ForegroundWindow() == window; });
    PressChord(display, XK_Control_L, XK_s);
    std::this_thread::sleep_for(500ms);
    return root.ReadBytes(file);
  }
};

TEST_F(OtherProgramsOnXvfb, WindowModeOfEntry3CopiesTheTextOfEveryClientOfTheClass) {
  parameters = {{10, u"scrivano-test-client"}};
  Start("900,300,1200,800");
  StartClient("text", "Client One", "one.txt", "text of client one");
  StartClient("text", "Client Two", "two.txt", "text of client two");
  DoubleClickEntry(3);
  Answer("");     // the class
  Answer("200");  // the copy period
  const WindowHandle report = Box(u"Notice");
  ASSERT_NE(report, 0u);
  EXPECT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == report; }));
  PressKey(display, XK_Return);
  ASSERT_TRUE(Eventually([&] { return File("Output").size() > 100; }));
  const Text output = Utf16LeBytesToText(File("Output"));
  EXPECT_NE(output.find(u"text of client one"), Text::npos);
  EXPECT_NE(output.find(u"text of client two"), Text::npos);
}

TEST_F(OtherProgramsOnXvfb, Entry0ReportsTheClassAndTitleOfTheWindowAtTheListsCorner) {
  parameters = {{17, u"1"}};
  Start("900,300,1200,800");
  const WindowHandle client = StartClient("text", "Corner Client", "corner.txt", "x", true);
  PutUnderListCorner(client);
  DoubleClickEntry(0);
  EXPECT_TRUE(Eventually([&] {
    return Utf16LeBytesToText(File("Output")) == u"\r\n\r\n\r\n\r\nscrivano-test-client\r\nCorner Client";
  })) << ToUtf8(Utf16LeBytesToText(File("Output")));
}

TEST_F(OtherProgramsOnXvfb, Entry16InTheOfficeWindowConvertsEveryPiece) {
  Start("900,300,1200,800");
  const WindowHandle office =
      StartClient("office", "doc - Office", "office.txt",
                  "{0>Hello.<}0{>Bonjour.<0}\n\n{0>Bye.<}0{>Salut.<0}\n{0>Yes.<}0{>Oui.<0}", true);
  PutUnderListCorner(office);
  DoubleClickEntry(16);
  Answer("2");
  // While it works the office window asks the user to keep off; done when it has its own title back.
  ASSERT_TRUE(Eventually([&] { return desktop->WindowTitle(office).starts_with(u"Do not perform"); }));
  ASSERT_TRUE(Eventually([&] { return desktop->WindowTitle(office) == u"doc - Office"; }, 60s));
  EXPECT_EQ(ClientText(office, "office.txt"), "Hello.\tBonjour.\n\nBye.\tSalut.\nYes.\tOui.");
}

TEST_F(OtherProgramsOnXvfb, CopyAllAndPasteAllGoThroughTheXClipboard) {
  Start("900,300,1200,800", u"from Scrivano");
  const WindowHandle client = StartClient("text", "Paste Client", "paste.txt", "from the client");
  ASSERT_NE(client, 0u);
  // Copy All in the Input window makes the program the clipboard's owner; Ctrl+A Ctrl+V in the client.
  const Window ownerBefore = ClipboardOwner(display);
  ChooseFromEditMenu(XK_a);
  ASSERT_TRUE(Eventually([&] {
    const Window owner = ClipboardOwner(display);
    return owner != 0 && owner != ownerBefore;
  })) << "Copy All took no clipboard";
  desktop->RequestActivation(client);
  const platform::Rect clientRect = desktop->WindowRect(client);
  const platform::Point inClient{clientRect.left + 50, clientRect.top + 50};
  ASSERT_TRUE(Eventually(
      [&] { return desktop->ForegroundWindow() == client && desktop->WindowAt(inClient) == client; }));
  Click(display, inClient.x, inClient.y);
  PressChord(display, XK_Control_L, XK_a);
  PressChord(display, XK_Control_L, XK_v);
  EXPECT_TRUE(Eventually([&] { return ClientText(client, "paste.txt") == "from Scrivano"; }, 30s));
  // The other way: the client copies, Paste All replaces the Input window's text (kept in the Input file).
  PressChord(display, XK_Control_L, XK_a);
  TypeText(display, "typed in the client");
  PressChord(display, XK_Control_L, XK_a);
  const Window programOwner = ClipboardOwner(display);
  PressChord(display, XK_Control_L, XK_c);
  ASSERT_TRUE(Eventually([&] { return ClipboardOwner(display) != programOwner; }))
      << "the client copied nothing";
  ChooseFromEditMenu(XK_l);
  EXPECT_TRUE(Eventually([&] { return File("Input") == TextToUtf16LeBytes(u"typed in the client"); }, 30s));
}

TEST_F(OtherProgramsOnXvfb, FileOpenShowsAGbkFileAsWrittenAndSaveKeepsItGbk) {
  Start("900,300,1200,800");
  const std::string gbk = test::EncodingsFile("gbk-crlf.txt");
  root.WriteBytes("gbk.txt", gbk);
  // File > Open with Ctrl+O in the main window (asked again until the dialog shows: see ChooseFromEditMenu),
  // the file's path typed into the dialog.
  desktop->RequestActivation(main);
  ASSERT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == main; }));
  WindowHandle dialog = 0;
  for (int attempt = 0; attempt < 5 && !dialog; ++attempt) {
    Click(display, 300, 300);
    PressChord(display, XK_Control_L, XK_o);
    Eventually([&] { return (dialog = FindWindow(*desktop, u"Open")) != 0; }, 3s);
  }
  ASSERT_NE(dialog, 0u) << "no Open dialog";
  ASSERT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == dialog; }));
  std::this_thread::sleep_for(300ms);
  TypeText(display, root.path() + "/gbk.txt");
  PressKey(display, XK_Return);
  ASSERT_TRUE(Eventually([&] { return !desktop->IsWindow(dialog); }));

  // The text the window holds, through Copy All into another program.
  const WindowHandle client = StartClient("text", "Paste Client", "paste.txt", "");
  ASSERT_NE(client, 0u);
  ChooseFromEditMenu(XK_a);
  desktop->RequestActivation(client);
  const platform::Rect clientRect = desktop->WindowRect(client);
  ASSERT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == client; }));
  Click(display, clientRect.left + 50, clientRect.top + 50);
  PressChord(display, XK_Control_L, XK_v);
  EXPECT_TRUE(Eventually([&] { return ClientText(client, "paste.txt") == test::kGbkFileText; }, 30s))
      << root.ReadBytes("paste.txt");

  // A word typed at its end and saved: GBK as it came.
  desktop->RequestActivation(main);
  ASSERT_TRUE(Eventually([&] { return desktop->ForegroundWindow() == main; }));
  Click(display, 300, 300);
  PressChord(display, XK_Control_L, XK_End);
  TypeText(display, "word");
  PressChord(display, XK_Control_L, XK_s);
  EXPECT_TRUE(Eventually([&] { return root.ReadBytes("gbk.txt") == gbk + "word"; }, 30s));
}

}  // namespace
}  // namespace scrivano
