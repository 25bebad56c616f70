// The whole program with the real LibreOffice Writer on a private Xvfb display: entry 13 in two open
// documents in each interface language tested, and entries 16 and 2 inside a Writer window through the
// NextPiece macro, or the offer to install it when it is missing. Writer runs with a profile of the test's
// own and is ended by its process group; the documents are saved by Writer and read back by a headless
// conversion with another private profile. Skipped when soffice is not installed.
// gtest before Xlib: Xlib's macros (None, Bool) would break gtest's templates.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include "office/OfficeMacro.h"
#include "platform/x11/X11Desktop.h"
#include "settings/IniFile.h"
#include "settings/ProgramPaths.h"
#include "support/DesktopWaits.h"
#include "support/PrivateDisplay.h"
#include "support/SyntheticInput.h"
#include "support/TempFolder.h"
#include "text/FileBytes.h"
#include "text/Utf16Bytes.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using test::Eventually;
using test::FindWindow;
using test::PressChord;
using test::PressKey;
using test::TypeText;

// Whatever happens, LibreOffice is killed this long after the test started, so that no wait can hang
// the run (every wait has its own limit as well).
constexpr auto kWholeTestLimit = 420s;

// The soffice that PATH finds; empty when none.
std::string SofficePath() {
  const char* path = std::getenv("PATH");
  std::string rest = path ? path : "";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::string folder = rest.substr(0, colon);
    if (!folder.empty() && ::access((folder + "/soffice").c_str(), X_OK) == 0) return folder + "/soffice";
    if (colon == std::string::npos) break;
    rest = rest.substr(colon + 1);
  }
  return std::string();
}

bool SofficeInstalled() {
  return !SofficePath().empty();
}

// True when the office has its interface in the language ("zh-CN"): English always, another with its
// translations (program/resource/zh_CN, from its language pack).
bool InterfaceLanguageInstalled(const std::string& locale) {
  if (locale == "en-US") return true;
  std::error_code error;
  const std::filesystem::path program = std::filesystem::canonical(SofficePath(), error).parent_path();
  std::string folder = locale;
  std::replace(folder.begin(), folder.end(), '-', '_');
  return !error && std::filesystem::is_directory(program / "resource" / folder, error);
}

// True once the process has ended; it is left to be reaped by PrivateDisplay::Stop, so that its id
// cannot be taken by another process meanwhile.
bool Ended(pid_t pid) {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == pid;
}

class WriterOnXvfb : public testing::Test {
 protected:
  void SetUp() override {
    if (!SofficeInstalled()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    if (!screen.Started()) GTEST_SKIP() << "no private display: " << screen.Error();
    watchdog = std::thread([this] {
      std::unique_lock lock(watchMutex);
      if (!watchEnd.wait_for(lock, kWholeTestLimit, [this] { return finished; })) {
        for (const pid_t group : officeGroups) ::kill(-group, SIGKILL);
      }
    });
  }

  void TearDown() override {
    if (program > 0) screen.Stop(program);
    for (const pid_t group : officeGroups) EndOffice(group);
    {
      std::lock_guard lock(watchMutex);
      finished = true;
    }
    watchEnd.notify_all();
    if (watchdog.joinable()) watchdog.join();
    if (display) XCloseDisplay(display);
  }

  // The program as a user starts it, with the Function List at the right edge of the screen.
  void StartScrivano() {
    ::mkdir((root.path() + "/Data").c_str(), 0755);
    ::mkdir((root.path() + "/runtime").c_str(), 0700);
    const ProgramPaths paths = PathsBelow(FromUtf8(root.path()));
    ASSERT_TRUE(InstallDefaultParameterFile(paths));
    ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"DIMENSIONS", u"Function List", u"900,300,1200,800"));
    for (const auto& [k, value] : parameters)
      ASSERT_TRUE(
          WriteIniValue(paths.parameterFile, u"PARAMETERS", u"Para" + FromUtf8(std::to_string(k)), value));
    program = screen.Spawn({SCRIVANO_PROGRAM}, {{"SCRIVANO_ROOT", root.path()},
                                                {"QT_QPA_PLATFORM", "xcb"},
                                                {"XDG_RUNTIME_DIR", root.path() + "/runtime"},
                                                {"XDG_CONFIG_HOME", root.path() + "/config"}});
    ASSERT_GT(program, 0);
    display = XOpenDisplay(screen.Name().c_str());
    ASSERT_NE(display, nullptr);
    desktop = platform::X11Desktop::Open(screen.Name().c_str());
    ASSERT_TRUE(Eventually([&] { return (list = FindWindow(*desktop, u"Function List")) != 0; }));
    ASSERT_TRUE(Eventually([&] { return (main = FindWindow(*desktop, u"Scrivano")) != 0; }));
    ASSERT_TRUE(Eventually([&] { return desktop->WindowRect(list).left > 0; }));
    std::this_thread::sleep_for(500ms);
    listRect = desktop->WindowRect(list);
  }

  // soffice with the given profile folder and arguments, in a process group of its own; 0 on failure.
  pid_t Office(const std::string& profile, std::vector<std::string> arguments) {
    std::vector<std::string> argv{"soffice", "-env:UserInstallation=file://" + profile, "--norestore",
                                  "--nologo"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const pid_t pid = screen.Spawn(argv, {{"HOME", root.path()}, {"SAL_USE_VCLPLUGIN", "gen"}});
    if (pid > 0) {
      std::lock_guard lock(watchMutex);
      officeGroups.push_back(pid);
    }
    return pid;
  }

  // Asks the whole group to end, then kills what is left of it.
  void EndOffice(pid_t group) {
    ::kill(-group, SIGTERM);
    if (!Eventually([&] { return Ended(group); }, 10s)) ::kill(-group, SIGKILL);
    Eventually([&] { return Ended(group); }, 10s);
    ::kill(-group, SIGKILL);  // a child that outlived the launcher
    screen.Stop(group);
  }

  // A headless LibreOffice of its own converts the files (in the work root) into the folder.
  void Convert(const std::string& to, const std::vector<std::string>& files, const std::string& folder) {
    std::vector<std::string> arguments{"--headless", "--convert-to", to, "--outdir",
                                       root.path() + "/" + folder};
    for (const std::string& file : files) arguments.push_back(root.path() + "/" + file);
    const pid_t pid = Office(root.path() + "/convert-profile", arguments);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(Eventually([&] { return Ended(pid); }, 120s)) << "the conversion did not end";
  }

  // Text files converted into Writer documents; the test is skipped when there is no Writer to do it.
  void MakeDocuments(const std::vector<std::string>& texts) {
    ASSERT_NO_FATAL_FAILURE(Convert("odt", texts, "."));
    for (const std::string& text : texts) {
      const std::string document = text.substr(0, text.rfind('.')) + ".odt";
      if (::access((root.path() + "/" + document).c_str(), R_OK) != 0)
        GTEST_SKIP() << "LibreOffice Writer is not installed (soffice made no " << document << ")";
    }
  }

  // The text of a document as LibreOffice exports it, without a byte-order mark and "\r".
  std::string DocumentText(const std::string& document) {
    const std::string name = document.substr(0, document.rfind('.'));
    std::remove((root.path() + "/readback/" + name + ".txt").c_str());
    Convert("txt:Text (encoded):UTF8,LF,,", {document}, "readback");
    std::string text = root.ReadBytes("readback/" + name + ".txt");
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

  // The interface language the profile asks for. It is the user's choice of Tools > Options > Language
  // Settings, /org.openoffice.Office.Linguistic/General UILocale: measured on LibreOffice 7.4, that one
  // sets the language; /org.openoffice.Setup/L10N ooLocale is what the office writes back at each start
  // (from UILocale, or else the system's), so a value put there beforehand is overwritten and changes
  // nothing. The language's pack must be installed (libreoffice-l10n-zh-cn, -zh-tw), or English shows.
  void AskForInterfaceLanguage(const std::string& profile) {
    const std::string item =
        "<item oor:path=\"/org.openoffice.Office.Linguistic/General\"><prop oor:name=\"UILocale\" "
        "oor:op=\"fuse\"><value>" +
        uiLanguage + "</value></prop></item>\n";
    const std::string file = profile + "/user/registrymodifications.xcu";
    std::string items =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
        "xmlns:oor=\"http://openoffice.org/2001/registry\" "
        "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n</oor:items>\n";
    ReadFileBytes(FromUtf8(file), items);  // a profile set up before keeps its items
    items.insert(items.rfind("</oor:items>"), item);
    std::filesystem::create_directories(profile + "/user");
    ASSERT_TRUE(WriteFileBytesAtomically(FromUtf8(file), items));
  }

  // Starts Writer on the documents (one call each, as a user opens them) and returns their windows.
  std::vector<WindowHandle> OpenInWriter(const std::string& profile,
                                         const std::vector<std::string>& documents) {
    if (!uiLanguage.empty()) AskForInterfaceLanguage(profile);
    std::vector<WindowHandle> windows;
    for (const std::string& document : documents) {
      const pid_t pid = Office(profile, {root.path() + "/" + document});
      EXPECT_GT(pid, 0);
      const Text title = FromUtf8(document) + u" - LibreOffice Writer";
      WindowHandle window = 0;
      EXPECT_TRUE(Eventually([&] { return (window = FindWindow(*desktop, title)) != 0; }, 90s))
          << "no Writer window for " << document;
      windows.push_back(window);
    }
    return windows;
  }

  bool Activate(WindowHandle window) {
    desktop->RequestActivation(window);
    return Eventually([&] { return desktop->ForegroundWindow() == window; }, 10s);
  }

  void DoubleClickEntry(int number) { ASSERT_TRUE(test::DoubleClickListEntry(display, listRect, number)); }

  // Answers the selection prompt with the text.
  void Answer(const std::string& text) {
    WindowHandle prompt = 0;
    ASSERT_TRUE(Eventually([&] {
      prompt = desktop->ForegroundWindow();
      return prompt && desktop->WindowTitle(prompt) == u"General Selection";
    })) << "no prompt";
    std::this_thread::sleep_for(300ms);
    PressChord(display, XK_Control_L, XK_a);
    TypeText(display, text);
    PressKey(display, XK_Return);
    ASSERT_TRUE(
        Eventually([&] { return !desktop->IsWindow(prompt) || desktop->ForegroundWindow() != prompt; }));
  }

  // Waits for the condition; the timing box of a run longer than ten seconds is closed on the way.
  bool DoneClosingTimingBox(const std::function<bool()>& done, std::chrono::seconds limit) {
    return Eventually(
        [&] {
          const WindowHandle front = desktop->ForegroundWindow();
          if (front && front != main && desktop->WindowTitle(front) == u"Notice" &&
              desktop->WindowProcessId(front) == program) {
            PressKey(display, XK_Return);
            std::this_thread::sleep_for(300ms);
          }
          return done();
        },
        limit);
  }

  // Waits for the office window's caption to ask the user to keep off and then to come back.
  void WaitForPieceRun(WindowHandle window, TextView title) {
    ASSERT_TRUE(Eventually([&] { return desktop->WindowTitle(window).starts_with(u"Do not perform"); }, 30s));
    ASSERT_TRUE(DoneClosingTimingBox([&] { return desktop->WindowTitle(window) == title; }, 120s));
  }

  void Save(WindowHandle window, const std::string& document) {
    const std::string path = root.path() + "/" + document;
    struct stat before {};
    ::stat(path.c_str(), &before);
    // A document whose Find and Replace window is open gives that window the focus: it is closed first.
    desktop->RequestActivation(window);
    WindowHandle front = 0;
    ASSERT_TRUE(Eventually(
        [&] {
          return (front = desktop->ForegroundWindow()) == window ||
                 desktop->WindowClassName(front) == u"bosa_sdm";
        },
        10s));
    if (front != window) {
      PressKey(display, XK_Escape);
      ASSERT_TRUE(
          Eventually([&] { return !desktop->IsWindow(front) || desktop->ForegroundWindow() != front; }));
      ASSERT_TRUE(Activate(window));
    }
    const auto saved = [&] {
      struct stat now {};
      return ::stat(path.c_str(), &now) == 0 &&
             (now.st_mtim.tv_sec != before.st_mtim.tv_sec || now.st_mtim.tv_nsec != before.st_mtim.tv_nsec);
    };
    // On a loaded machine Writer may take the activation after the keys: Ctrl+S is pressed again when
    // nothing was saved (a second press on a saved document does nothing).
    bool done = false;
    for (int attempt = 0; attempt < 3 && !done; ++attempt) {
      if (attempt > 0) {
        ASSERT_TRUE(Activate(window));
      }
      std::this_thread::sleep_for(300ms);
      PressChord(display, XK_Control_L, XK_s);
      done = Eventually(saved, 15s);
    }
    ASSERT_TRUE(done) << document << " was not saved";
    std::this_thread::sleep_for(500ms);
  }

  std::string File(const std::string& name) { return root.ReadBytes("Data/" + name); }

  test::PrivateDisplay screen;
  test::TempFolder root;
  std::vector<std::pair<int, Text>> parameters;  // set before the program starts
  std::string uiLanguage;                        // Writer's interface language ("zh-CN"); empty: English
  pid_t program = 0;
  Display* display = nullptr;
  std::unique_ptr<platform::X11Desktop> desktop;
  WindowHandle list = 0, main = 0;
  platform::Rect listRect;

  std::mutex watchMutex;
  std::condition_variable watchEnd;
  bool finished = false;
  std::vector<pid_t> officeGroups;
  std::thread watchdog;
};

struct InterfaceLanguage {
  const char* locale;
  const char16_t* findAndReplaceTitle;  // as Writer shows it in that language
};

// Names the case in the test list (CTest shows the parameter).
void PrintTo(const InterfaceLanguage& language, std::ostream* out) {
  *out << language.locale;
}

class WriterOnXvfbInLanguage : public WriterOnXvfb, public testing::WithParamInterface<InterfaceLanguage> {};

TEST_P(WriterOnXvfbInLanguage, Entry13ReplacesInEveryOpenDocumentThroughItsOwnFindAndReplaceWindow) {
  uiLanguage = GetParam().locale;
  if (!InterfaceLanguageInstalled(uiLanguage))
    GTEST_SKIP() << "LibreOffice has no interface in " << uiLanguage << " (install its language pack)";
  root.WriteBytes("a.txt", "The cat sat on the mat.\nA cat and another cat.\n");
  root.WriteBytes("b.txt", "No dog here, only a cat.\n");
  MakeDocuments({"a.txt", "b.txt"});
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_NO_FATAL_FAILURE(StartScrivano());
  const std::vector<WindowHandle> writer = OpenInWriter(root.path() + "/profile", {"a.odt", "b.odt"});
  ASSERT_TRUE(writer[0] && writer[1]);

  // Find and Replace in the second document, with the search and the replacement typed (Alt+P goes to
  // the replacement in each language tested).
  ASSERT_TRUE(Activate(writer[1]));
  std::this_thread::sleep_for(500ms);
  PressChord(display, XK_Control_L, XK_h);
  ASSERT_TRUE(Eventually(
      [&] { return desktop->WindowTitle(desktop->ForegroundWindow()) == GetParam().findAndReplaceTitle; },
      30s))
      << "Writer does not show " << ToUtf8(GetParam().findAndReplaceTitle)
      << " (is its language pack installed?)";
  std::this_thread::sleep_for(500ms);
  TypeText(display, "cat");
  PressChord(display, XK_Alt_L, XK_p);
  std::this_thread::sleep_for(300ms);
  TypeText(display, "bird");
  std::this_thread::sleep_for(300ms);

  DoubleClickEntry(13);
  const std::string done = TextToUtf16LeBytes(u"Processing completed !  ( 2 documents )");
  ASSERT_TRUE(DoneClosingTimingBox([&] { return File("Output") == done; }, 180s))
      << ToUtf8(Utf16LeBytesToText(File("Output")));
  // The report in the Input window: each title behind a line break, the top window first.
  const std::string report =
      TextToUtf16LeBytes(u"\r\nb.odt - LibreOffice Writer\r\na.odt - LibreOffice Writer");
  EXPECT_TRUE(Eventually([&] { return File("Input") == report; }, 30s))
      << ToUtf8(Utf16LeBytesToText(File("Input")));

  ASSERT_NO_FATAL_FAILURE(Save(writer[0], "a.odt"));
  ASSERT_NO_FATAL_FAILURE(Save(writer[1], "b.odt"));
  EXPECT_EQ(DocumentText("a.odt"), "The bird sat on the mat.\nA bird and another bird.");
  EXPECT_EQ(DocumentText("b.odt"), "No dog here, only a bird.");
}

// The interface languages entries 13, 16 and 2 are tested in.
INSTANTIATE_TEST_SUITE_P(Languages, WriterOnXvfbInLanguage,
                         testing::Values(InterfaceLanguage{"en-US", u"Find and Replace"},
                                         InterfaceLanguage{"zh-CN", u"查找与替换"},
                                         InterfaceLanguage{"zh-TW", u"尋找與取代"}),
                         [](const testing::TestParamInfo<InterfaceLanguage>& info) {
                           std::string name = info.param.locale;
                           name[2] = '_';
                           return name;
                         });

TEST_F(WriterOnXvfb, Entry13WithoutAFindAndReplaceWindowLeavesTheInputAndOutputAsTheyWere) {
  uiLanguage = "zh-CN";
  root.WriteBytes("a.txt", "The cat sat on the mat.\n");
  MakeDocuments({"a.txt"});
  if (IsSkipped() || HasFatalFailure()) return;
  ::mkdir((root.path() + "/Data").c_str(), 0755);
  const std::string input = TextToUtf16LeBytes(u"The user's own text\r\n用户自己的文字");
  root.WriteBytes("Data/Input", input);
  ASSERT_NO_FATAL_FAILURE(StartScrivano());
  ASSERT_NE(OpenInWriter(root.path() + "/profile", {"a.odt"})[0], 0u);
  const std::string output = File("Output");

  DoubleClickEntry(13);
  WindowHandle notice = 0;
  ASSERT_TRUE(Eventually(
      [&] {
        notice = desktop->ForegroundWindow();
        return notice && desktop->WindowTitle(notice) == u"Notice" &&
               desktop->WindowProcessId(notice) == program;
      },
      30s))
      << "no notice";
  std::this_thread::sleep_for(300ms);
  PressKey(display, XK_Return);
  ASSERT_TRUE(Eventually([&] { return !desktop->IsWindow(notice); }));
  // Longer than the Input window waits before it writes its file after a change.
  std::this_thread::sleep_for(3s);
  EXPECT_EQ(File("Input"), input) << ToUtf8(Utf16LeBytesToText(File("Input")));
  EXPECT_EQ(File("Output"), output);
}

TEST_P(WriterOnXvfbInLanguage, Entries16And2WorkPieceByPieceInTheWriterWindowAtTheListsCorner) {
  uiLanguage = GetParam().locale;
  if (!InterfaceLanguageInstalled(uiLanguage))
    GTEST_SKIP() << "LibreOffice has no interface in " << uiLanguage << " (install its language pack)";
  const std::string profile = root.path() + "/profile";
  std::string message;
  ASSERT_TRUE(InstallOfficeMacro(profile + "/user", message)) << message;
  root.WriteBytes(
      "t.txt", "{0>Hello {1}world.<}0{>Bonjour {1}monde.<0}\n\n{0>Bye.<}0{>Salut.<0}\n{0>Yes.<}0{>Oui.<0}\n");
  MakeDocuments({"t.txt"});
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_NO_FATAL_FAILURE(StartScrivano());
  const WindowHandle writer = OpenInWriter(profile, {"t.odt"})[0];
  ASSERT_NE(writer, 0u);
  // The title as this language shows it: the caption returns to it when a run ends.
  const Text title = desktop->WindowTitle(writer);
  // Writer, maximised and in front of the main window, lies at the Function List's corner.
  ASSERT_TRUE(Eventually(
      [&] {
        return desktop->WindowAt({listRect.left - 30, listRect.top - 40}) == writer;
      },
      30s));

  // 16, layout 2: source and target on one line, a tab between them.
  DoubleClickEntry(16);
  Answer("2");
  ASSERT_NO_FATAL_FAILURE(WaitForPieceRun(writer, title));

  // 2, option 1: the tags in braces go; the walk starts again at the top of the document.
  ASSERT_TRUE(Activate(writer));
  std::this_thread::sleep_for(300ms);
  PressChord(display, XK_Control_L, XK_Home);
  std::this_thread::sleep_for(300ms);
  DoubleClickEntry(2);
  Answer("1");
  ASSERT_NO_FATAL_FAILURE(WaitForPieceRun(writer, title));

  ASSERT_NO_FATAL_FAILURE(Save(writer, "t.odt"));
  EXPECT_EQ(DocumentText("t.odt"), "Hello world.\tBonjour monde.\n\nBye.\tSalut.\nYes.\tOui.");
}

TEST_F(WriterOnXvfb, WithoutTheMacroNothingReachesWriterAndYesInstallsItForTheNextStart) {
  const std::string profile = root.path() + "/profile";
  root.WriteBytes("t.txt", "{0>Hello.<}0{>Bonjour.<0}\n{0>Bye.<}0{>Salut.<0}\n");
  MakeDocuments({"t.txt"});
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_NO_FATAL_FAILURE(StartScrivano());
  WindowHandle writer = OpenInWriter(profile, {"t.odt"})[0];
  ASSERT_NE(writer, 0u);
  const Text title = u"t.odt - LibreOffice Writer";
  const auto writerWindows = [&] {
    std::vector<WindowHandle> windows;
    for (const WindowHandle window : desktop->TopLevelWindows())
      if (desktop->WindowClassName(window) == u"OpusApp") windows.push_back(window);
    return windows;
  };
  // The program's box in front, by its title: not Writer's, whatever language Writer speaks.
  const auto notice = [&] {
    WindowHandle box = 0;
    EXPECT_TRUE(Eventually(
        [&] {
          box = desktop->ForegroundWindow();
          return box && desktop->WindowProcessId(box) == program && desktop->WindowTitle(box) == u"Notice";
        },
        30s));
    return box;
  };
  ASSERT_TRUE(Eventually(
      [&] {
        return desktop->WindowAt({listRect.left - 30, listRect.top - 40}) == writer;
      },
      30s));
  const std::vector<WindowHandle> before = writerWindows();

  // The offer comes while Writer is untouched: no window of its own, its title as it was.
  DoubleClickEntry(16);
  Answer("2");
  const WindowHandle offer = notice();
  ASSERT_NE(offer, 0u);
  EXPECT_EQ(writerWindows(), before);
  EXPECT_EQ(desktop->WindowTitle(writer), title);
  PressChord(display, XK_Alt_L, XK_y);
  ASSERT_TRUE(Eventually([&] { return !desktop->IsWindow(offer); }));
  const WindowHandle told = notice();
  ASSERT_NE(told, 0u);
  EXPECT_TRUE(NextPieceModuleCurrent(profile + "/user"));
  EXPECT_NE(root.ReadBytes("profile/user/registrymodifications.xcu").find("Standard.Scrivano.NextPiece"),
            std::string::npos);
  PressKey(display, XK_Return);
  ASSERT_TRUE(Eventually([&] { return !desktop->IsWindow(told); }));
  EXPECT_EQ(writerWindows(), before);
  // Nothing to save: Writer saves nothing unchanged.
  ASSERT_TRUE(Activate(writer));
  PressChord(display, XK_Control_L, XK_s);
  std::this_thread::sleep_for(2s);
  EXPECT_EQ(DocumentText("t.odt"), "{0>Hello.<}0{>Bonjour.<0}\n{0>Bye.<}0{>Salut.<0}");

  // As the notice says: Writer started again has the macro, and Ctrl+N is bound to it although the
  // Writer that ran dropped the binding from the profile when it ended.
  const pid_t office = officeGroups.back();
  ASSERT_TRUE(Activate(writer));
  PressChord(display, XK_Control_L, XK_q);
  ASSERT_TRUE(Eventually([&] { return Ended(office); }, 60s));
  ASSERT_TRUE(Eventually([&] { return !desktop->IsWindow(writer); }));
  writer = OpenInWriter(profile, {"t.odt"})[0];
  ASSERT_NE(writer, 0u);
  ASSERT_TRUE(Eventually(
      [&] {
        return desktop->WindowAt({listRect.left - 30, listRect.top - 40}) == writer;
      },
      30s));
  DoubleClickEntry(16);
  Answer("2");
  ASSERT_NO_FATAL_FAILURE(WaitForPieceRun(writer, title));
  ASSERT_NO_FATAL_FAILURE(Save(writer, "t.odt"));
  EXPECT_EQ(DocumentText("t.odt"), "Hello.\tBonjour.\nBye.\tSalut.");
}

TEST_F(WriterOnXvfb, WindowModeOfEntry3TakesWriterWindowsByTheirWmClass) {
  parameters = {{10, u"libreoffice-writer"}};
  root.WriteBytes("a.txt", "first document");
  root.WriteBytes("b.txt", "second document");
  MakeDocuments({"a.txt", "b.txt"});
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_NO_FATAL_FAILURE(StartScrivano());
  const std::vector<WindowHandle> writer = OpenInWriter(root.path() + "/profile", {"a.odt", "b.odt"});
  ASSERT_TRUE(writer[0] && writer[1]);
  DoubleClickEntry(3);
  Answer("libreoffice-writer");
  Answer("500");
  ASSERT_TRUE(
      Eventually([&] { return desktop->WindowTitle(desktop->ForegroundWindow()) == u"Notice"; }, 120s));
  std::this_thread::sleep_for(300ms);
  PressKey(display, XK_Return);
  const Text separator = u"\r\n\r\n" + Text(88, u' ') + u"\r\n";
  const Text expected = separator + u"second document" + separator + u"first document";
  EXPECT_TRUE(DoneClosingTimingBox([&] { return Utf16LeBytesToText(File("Output")) == expected; }, 60s))
      << ToUtf8(Utf16LeBytesToText(File("Output")));
}

}  // namespace
}  // namespace scrivano
