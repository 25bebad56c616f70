// The companion program vexo1 on a private Xvfb display, with pages served from 127.0.0.1 by a server the
// test starts: its window and socket, page access, malformed messages, and "06. Extract webpage text"
// end to end (the extracting task runs in this process, as a Function List task would).
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

// Before support/SyntheticInput.h, which brings Xlib and its macros.
// clang-format off
#include "web/TranslationPage.h"
#include "web/WebCapture.h"
// clang-format on

#include "capture/WindowList.h"
#include "platform/x11/X11Desktop.h"
#include "settings/IniFile.h"
#include "settings/ProgramPaths.h"
#include "support/DesktopWaits.h"
#include "support/PageServer.h"
#include "support/PrivateDisplay.h"
#include "support/SyntheticInput.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "support/WordFixtures.h"
#include "text/FileBytes.h"
#include "text/Utf16Bytes.h"
#include "word/WordConnection.h"

// Xlib last: its macros (Status, None, Bool) would break the headers above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using test::Eventually;

const char kArticlePage[] =
    R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>River Survey</title></head>
<body><nav><a href="/">Home</a> | <a href="/news">News</a> | <a href="/about">About us</a></nav>
<article><h1>River Survey</h1>
<p>The survey of the northern river began in the spring, when the water was still high and the banks were
soft. Teams of three walked each stretch twice, once at dawn and once at dusk, and wrote down every bird,
every fallen tree and every place where the bank had given way during the winter floods.</p>
<p>By the end of the summer the teams had covered more than two hundred kilometres. Their notes show that
the river has moved its bed in eleven places since the last survey, and that the old mill race near the
village has silted up completely, so that the water now runs through the meadow instead.</p>
<p>The full report, with maps of each stretch, will be published in the autumn after the notes have been
checked against the aerial photographs taken in July.</p>
</article><footer>Copyright notice and cookie banner text</footer></body></html>)";

const char kPlainPage[] =
    R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>Opening hours</title></head>
<body><div>Monday to Friday: 9 to 17</div><div>Saturday: 10 to 14</div></body></html>)";

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// The two pages, a page whose body comes a second after its head, and translation pages in the layouts
// of the four sites: the source, and its "translation" in brackets.
class TestPages : public test::PageServer {
 public:
  TestPages() {
    AddPage("/article.html", kArticlePage);
    AddPage("/plain.html", kPlainPage);
    AddRoute("/plain.html", [](int client, const std::string&) {
      Respond(client, "200 OK", "text/html; charset=utf-8", kPlainPage);
    });
    AddRoute("/late-body.html", [](int client, const std::string&) {
      // The head at once, the body a second later: meanwhile the shown document has no body.
      const std::string head = "<html><head><meta charset=\"utf-8\"><title>Late</title></head>";
      const std::string rest = "<body><div>Arrived late</div></body></html>";
      const std::string start =
          "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
          "Connection: close\r\nContent-Length: " +
          std::to_string(head.size() + rest.size()) + "\r\n\r\n" + head;
      send(client, start.data(), start.size(), MSG_NOSIGNAL);
      std::this_thread::sleep_for(1s);
      send(client, rest.data(), rest.size(), MSG_NOSIGNAL);
    });
    for (const std::string site :
         {"translate.google.cn", "fanyi.youdao.com", "fanyi.baidu.com", "iciba.com"}) {
      AddRoute("/" + site + "/?q=", [site](int client, const std::string& request) {
        const std::string prefix = "GET /" + site + "/?q=";
        const std::string query =
            request.substr(prefix.size(), request.find(' ', prefix.size()) - prefix.size());
        const std::string text = query.starts_with("same") ? "same" : PercentDecoded(query);
        const std::string translated = "<div>[" + text + "]</div>";
        std::string content = "<div>有道翻译</div><div>" + text + "</div>" + translated;
        if (site == "translate.google.cn")
          content = "<div>翻译文字或网页</div><div>英语</div><div>" + text + "</div><div>翻译更多</div>" +
                    translated;
        if (site == "fanyi.baidu.com")
          content = "<div>百度翻译" + text + "</div>" + translated + "<div>推荐搜索</div>";
        if (site == "iciba.com") content = "<div>网络</div>" + translated;
        Respond(client, "200 OK", "text/html; charset=utf-8",
                "<html><head><meta charset=\"utf-8\"></head><body>" + content + "</body></html>");
      });
    }
  }
};

// The companion's environment: the private display, a runtime folder of the test's own, and a page
// engine kept off the network.
std::map<std::string, std::string> CompanionEnvironment(const std::string& root) {
  return {{"QT_QPA_PLATFORM", "xcb"},
          {"XDG_RUNTIME_DIR", root + "/runtime"},
          {"XDG_CONFIG_HOME", root + "/config"},
          {"SCRIVANO_ROOT", root},
          {"QTWEBENGINE_DISABLE_SANDBOX", "1"},
          {"QTWEBENGINE_CHROMIUM_FLAGS",
           "--disable-background-networking --disable-component-update --no-first-run --disable-gpu "
           // Names under .invalid fail to resolve at once, without a question to any name server.
           "--host-resolver-rules=\"MAP *.invalid ~NOTFOUND\""}};
}

// A work root for the whole program (which runs the companion built beside it, whatever the work root).
void PrepareProgramRoot(test::TempFolder& work) {
  ::mkdir((work.path() + "/Data").c_str(), 0755);
  ::mkdir((work.path() + "/runtime").c_str(), 0700);
}

class WebCaptureOnXvfb : public testing::Test {
 protected:
  void SetUp() override {
    if (!screen.Started()) GTEST_SKIP() << "no private display: " << screen.Error();
    ASSERT_EQ(access(VEXO1_PROGRAM, X_OK), 0) << "vexo1 was not built";
    ::mkdir((root.path() + "/Data").c_str(), 0755);
    ::mkdir((root.path() + "/Release").c_str(), 0755);
    ::mkdir((root.path() + "/runtime").c_str(), 0700);
    desktop = platform::X11Desktop::Open(screen.Name().c_str());
    ASSERT_TRUE(desktop);
    // The process's environment is what the companion inherits when the task starts it.
    for (const auto& [name, value] : CompanionEnvironment(root.path()))
      setenv(name.c_str(), value.c_str(), 1);
    setenv("DISPLAY", screen.Name().c_str(), 1);
  }

  // The companion as Scrivano starts it, through a launcher in the work root's Release folder.
  Text InstallCompanion() {
    const std::string launcher = root.path() + "/Release/vexo1";
    root.WriteBytes("Release/vexo1", std::string("#!/bin/sh\nexec ") + VEXO1_PROGRAM + " \"$@\"\n");
    chmod(launcher.c_str(), 0755);
    return FromUtf8(launcher);
  }

  WindowHandle CompanionWindow(pid_t process) {
    WindowHandle found = 0;
    Eventually([&] {
      for (WindowHandle window : desktop->TopLevelWindows())
        if (desktop->WindowProcessId(window) == process) found = window;
      return found != 0 &&
             access(companion::SocketPath(companion::CompanionSocketName(found)).c_str(), F_OK) == 0;
    });
    return found;
  }

  test::PrivateDisplay screen;
  test::TempFolder root;
  std::unique_ptr<platform::X11Desktop> desktop;
  TestPages server;
};

TEST_F(WebCaptureOnXvfb, CompanionWindowSocketAndPageAccess_SurviveTenThousandBadFrames) {
  const pid_t process =
      screen.Spawn({VEXO1_PROGRAM, std::string(companion::kLaunchToken)}, CompanionEnvironment(root.path()));
  const WindowHandle window = CompanionWindow(process);
  ASSERT_NE(window, 0u);
  // The class callers find it by, as resource name and class alike.
  Display* display = XOpenDisplay(screen.Name().c_str());
  XClassHint hint{nullptr, nullptr};
  ASSERT_TRUE(XGetClassHint(display, static_cast<Window>(window), &hint));
  EXPECT_STREQ(hint.res_name, "Afx:00400000:0");
  EXPECT_STREQ(hint.res_class, "Afx:00400000:0");
  XFree(hint.res_name);
  XFree(hint.res_class);
  XCloseDisplay(display);
  // Its socket is the user's alone.
  const std::string socketPath = companion::SocketPath(companion::CompanionSocketName(window));
  struct stat info {};
  ASSERT_EQ(lstat(socketPath.c_str(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  // Page access: set the address, read it back, read the body's text.
  CompanionLink link(*desktop, root.File("Data/vexo1.ini"));
  int answer = WithBrowserDocument(
      [&](BrowserDocument& document) {
        return document.SetAddress(FromUtf8(server.Address("/plain.html"))) ? 1 : 0;
      },
      window, link);
  ASSERT_EQ(answer, 1);
  Text body;
  EXPECT_TRUE(Eventually([&] {
    return WithBrowserDocument([&](BrowserDocument& document) { return document.ReadBodyText(body) ? 1 : 0; },
                               window, link) == 1 &&
           body.find(u"Saturday: 10 to 14") != Text::npos;
  })) << ToUtf8(body);
  Text address;
  BrowserDocument document(socketPath, 1000);
  ASSERT_TRUE(document.ReadAddress(address));
  EXPECT_EQ(ToUtf8(address), server.Address("/plain.html"));
  // Not a companion window: no document.
  EXPECT_EQ(WithBrowserDocument([](BrowserDocument&) { return 1; }, 0, link), 0);

  // Random frames, each on its own connection: every one is refused, none brings it down or stops it
  // answering.
  std::mt19937 random(14);
  for (int i = 0; i < 10000; ++i) {
    std::string bytes(1 + random() % 48, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    if (i % 2)
      bytes.replace(0, std::min<size_t>(4, bytes.size()),
                    std::string("VX\x01", 3) + static_cast<char>(random() % 16));
    const int fd = companion::ConnectLocalSocket(socketPath);
    ASSERT_GE(fd, 0) << "frame " << i;
    send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    close(fd);
  }
  EXPECT_EQ(waitpid(process, nullptr, WNOHANG), 0) << "the companion ended";
  EXPECT_TRUE(Eventually([&] { return document.ReadAddress(address); }, 20s)) << document.LastError();
  screen.Stop(process);
}

TEST_F(WebCaptureOnXvfb, ExtractWebpageText_ArticleAndPlainPageIntoTheReplyAndTheDocument) {
  if (!test::HavePythonDocx()) GTEST_SKIP() << "python3-docx is missing";
  test::TestPrompts prompts;
  const std::string docx = root.path() + "/notes.docx";
  ASSERT_TRUE(test::MakeDocx(docx, "d.add_paragraph('Notes before')"));
  CompanionLink link(*desktop, root.File("Data/vexo1.ini"));
  const WindowHandle mainWindow = 777001;
  ASSERT_TRUE(link.StartEndpoint(mainWindow));

  Text working = FromUtf8(server.Address("/article.html") + "\r\n\r\n" + server.Address("/plain.html") +
                          "\r\n  " + docx + "\r\nhttp://127.0.0.1:1/closed.html\r\n");
  Text opened = u"5";
  TaskContext context;
  context.workingText = &working;
  context.targetWindow = mainWindow;
  context.companionPath = InstallCompanion();
  context.openedWindows = &opened;
  ASSERT_EQ(ExtractWebpageText(context, link), 1)
      << ToUtf8(working) << (prompts.Messages().empty() ? "" : ToUtf8(prompts.Messages().back()));

  // The header names each address with its title, or why it could not be read.
  const std::string reply = ToUtf8(working);
  EXPECT_NE(reply.find(server.Address("/article.html") + "\tRiver Survey\r\n"), std::string::npos) << reply;
  EXPECT_NE(reply.find(server.Address("/plain.html") + "\tOpening hours\r\n"), std::string::npos) << reply;
  EXPECT_NE(reply.find("http://127.0.0.1:1/closed.html\tCould not load the page: "), std::string::npos)
      << reply;
  const size_t separator = reply.find("=====\r\n");
  ASSERT_NE(separator, std::string::npos);
  const std::string section = reply.substr(separator + 7);
  // The article's text without the navigation and footer; the plain page's body as it reads.
  // A paragraph is one line, whatever line breaks its source had.
  EXPECT_NE(section.find("the banks were soft. Teams of three"), std::string::npos) << section;
  EXPECT_NE(section.find("silted up completely"), std::string::npos) << section;
  EXPECT_EQ(section.find("About us"), std::string::npos) << section;
  EXPECT_EQ(section.find("cookie banner"), std::string::npos) << section;
  EXPECT_NE(section.find("Monday to Friday: 9 to 17\r\nSaturday: 10 to 14"), std::string::npos) << section;
  // The companion was closed and left the list of opened windows (5, which names no window, was pruned
  // when the companion's window was added); the media settings are back on.
  EXPECT_EQ(opened, u"");
  EXPECT_FALSE(link.busy);
  EXPECT_EQ(test::ReadDocx(root.path() + "/notes.scrivano.docx",
                           "print(any('silted up completely' in p.text for p in d.paragraphs))"),
            "True\n");
  const Text settings = root.File("Data/vexo1.ini");
  EXPECT_EQ(IniFile::Load(settings).Value(u"Main", u"Display Inline Images"), u"yes");
}

TEST_F(WebCaptureOnXvfb, ExtractWebpageText_StartsNothingForBlankLinesAndTouchesNoDocumentWithoutFiles) {
  test::TestPrompts prompts;
  CompanionLink link(*desktop, root.File("Data/vexo1.ini"));
  ASSERT_TRUE(link.StartEndpoint(777002));
  // A companion that would leave a mark if it were started.
  root.WriteBytes("Release/marker-companion", "#!/bin/sh\ntouch \"$0.started\"\n");
  chmod((root.path() + "/Release/marker-companion").c_str(), 0755);
  Text blank = u"  \r\n\r\n\t\r\n";
  TaskContext context;
  context.workingText = &blank;
  context.targetWindow = 777002;
  context.companionPath = root.File("Release/marker-companion");
  EXPECT_EQ(ExtractWebpageText(context, link), 0);
  EXPECT_EQ(blank, u"  \r\n\r\n\t\r\n");
  EXPECT_NE(access((root.path() + "/Release/marker-companion.started").c_str(), F_OK), 0);

  // Only addresses: the reply is the result and no document appears.
  TheWordConnection().TakeReviewCopies();
  Text addresses = FromUtf8(server.Address("/plain.html"));
  context.workingText = &addresses;
  context.companionPath = InstallCompanion();
  EXPECT_EQ(ExtractWebpageText(context, link), 1);
  EXPECT_NE(ToUtf8(addresses).find("Saturday: 10 to 14"), std::string::npos);
  EXPECT_TRUE(TheWordConnection().TakeReviewCopies().empty());
}

TEST_F(WebCaptureOnXvfb, ExtractWebpageText_WithoutAReply_EndsAtItsLimitAndReleasesEverything) {
  test::TestPrompts prompts;
  CompanionTimes times;
  times.replyBase = 3s;
  times.replyPerAddress = 1s;
  CompanionLink link(*desktop, root.File("Data/vexo1.ini"), times);
  // The companion is told to answer a window whose socket does not exist: no reply can come.
  Text working = FromUtf8(server.Address("/plain.html"));
  const Text original = working;
  Text opened;
  TaskContext context;
  context.workingText = &working;
  context.targetWindow = 777003;
  context.companionPath = InstallCompanion();
  context.openedWindows = &opened;
  EXPECT_EQ(ExtractWebpageText(context, link), 0);
  EXPECT_EQ(working, original);
  EXPECT_FALSE(link.busy);
  EXPECT_EQ(opened, u"");
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0], u"The companion program sent no text within 4 seconds; it was closed.");
  // Released: a second run starts again (and ends the same way).
  context.targetWindow = 777003;
  EXPECT_EQ(ExtractWebpageText(context, link), 0);
  EXPECT_EQ(prompts.Messages().size(), 2u);
}

// One piece through a translation page shown in a real companion: "/" goes as U+2215, "%" as "*****"
// and comes back; a page that shows no new translation is given up after the wait.
TEST_F(WebCaptureOnXvfb, TranslationPageStep_TranslatesAPieceThroughTheCompanionsPage) {
  test::TestPrompts prompts;
  const pid_t process =
      screen.Spawn({VEXO1_PROGRAM, std::string(companion::kLaunchToken)}, CompanionEnvironment(root.path()));
  const WindowHandle window = CompanionWindow(process);
  ASSERT_NE(window, 0u);
  BrowserDocument document(companion::SocketPath(companion::CompanionSocketName(window)), 1000);
  TranslationRelay relay;
  relay.companionState = 3;
  relay.translationAddress = FromUtf8(server.Address("/fanyi.youdao.com/?q=start"));
  ASSERT_EQ(TranslationPageStep(relay, document, 3000), 1);
  Text body;
  ASSERT_TRUE(Eventually([&] { return document.ReadBodyText(body) && body.find(u"[start]") != Text::npos; }));

  relay.companionState = 2;
  relay.translationSite = 2;
  relay.translationAddress = u"50% a/b";
  ASSERT_EQ(TranslationPageStep(relay, document, 20000), 1);
  EXPECT_EQ(relay.pageResult, u"[50% a\u2215b]");
  EXPECT_EQ(relay.maskedPercentCount, 1);
  Text address;
  ASSERT_TRUE(document.ReadAddress(address));
  EXPECT_NE(address.find(u"50*****"), Text::npos) << ToUtf8(address);

  // The other sites' layouts.
  const struct {
    const char* site;
    int number;
    Text expected;
  } sites[] = {{"translate.google.cn", 1, u"[g1]"},
               {"fanyi.baidu.com", 3, u"\r\n[g3]\r\n"},
               {"iciba.com", 4, u"[g4]"}};
  for (const auto& site : sites) {
    relay.companionState = 3;
    relay.translationAddress = FromUtf8(server.Address("/" + std::string(site.site) + "/?q=start"));
    ASSERT_EQ(TranslationPageStep(relay, document, 1000), 1);
    ASSERT_TRUE(
        Eventually([&] { return document.ReadBodyText(body) && body.find(u"[start]") != Text::npos; }));
    relay.companionState = 2;
    relay.translationSite = site.number;
    relay.translationAddress = u"g" + FromUtf8(std::to_string(site.number));
    ASSERT_EQ(TranslationPageStep(relay, document, 20000), 1) << site.site;
    EXPECT_EQ(relay.translationSite, site.number);
    EXPECT_EQ(relay.pageResult, site.expected) << site.site << ": " << ToUtf8(relay.pageResult);
  }
  relay.companionState = 3;
  relay.translationAddress = FromUtf8(server.Address("/fanyi.youdao.com/?q=start"));
  ASSERT_EQ(TranslationPageStep(relay, document, 1000), 1);
  ASSERT_TRUE(Eventually([&] { return document.ReadBodyText(body) && body.find(u"[start]") != Text::npos; }));
  relay.companionState = 2;

  // A page whose translation does not change: the wait ends and the piece keeps the page's text.
  relay.translationAddress = u"same one";
  ASSERT_EQ(TranslationPageStep(relay, document, 3000), 1) << ToUtf8(relay.pageResult);
  relay.translationAddress = u"same two";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(TranslationPageStep(relay, document, 1500), 1);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 1500ms);
  EXPECT_EQ(relay.pageResult, u"[same]");

  // An address of none of the four sites.
  relay.companionState = 3;
  relay.translationAddress = FromUtf8(server.Address("/plain.html?query=x"));
  ASSERT_EQ(TranslationPageStep(relay, document, 1000), 1);
  ASSERT_TRUE(
      Eventually([&] { return document.ReadBodyText(body) && body.find(u"Saturday") != Text::npos; }));
  relay.companionState = 2;
  relay.translationAddress = u"hello";
  EXPECT_EQ(TranslationPageStep(relay, document, 1000), 0);
  ASSERT_FALSE(prompts.Messages().empty());
  EXPECT_EQ(prompts.Messages().back(), u"Wrong translation address:\r\n\r\n" +
                                           FromUtf8(server.Address("/plain.html?query=")) +
                                           u"hello\r\n\r\nPlease Set Parameters again.");

  // A page that is still loading has no body yet: its text reads as empty, never as a failure, until
  // the body arrives.
  ASSERT_TRUE(document.SetAddress(FromUtf8(server.Address("/late-body.html"))));
  int emptyReads = 0;
  EXPECT_TRUE(Eventually([&] {
    if (!document.ReadBodyText(body)) {
      ADD_FAILURE() << "reading a loading page failed: " << document.LastError();
      return true;
    }
    if (body.empty()) ++emptyReads;
    return body.find(u"Arrived late") != Text::npos;
  }));
  EXPECT_GT(emptyReads, 0) << "the page was never seen without its body";
  screen.Stop(process);
}

// The timer cycle hides the companion once its translation page is open; the window manager then lists
// it no more. It is still the companion: found again, so that no second one starts, and closed at exit.
TEST_F(WebCaptureOnXvfb, HiddenCompanion_IsFoundSoNoSecondOneStarts_AndIsClosedAtExit) {
  test::TestPrompts prompts;
  const pid_t process =
      screen.Spawn({VEXO1_PROGRAM, std::string(companion::kLaunchToken)}, CompanionEnvironment(root.path()));
  const WindowHandle window = CompanionWindow(process);
  ASSERT_NE(window, 0u);
  BrowserDocument document(companion::SocketPath(companion::CompanionSocketName(window)), 1000);
  ASSERT_TRUE(document.Hide()) << document.LastError();
  ASSERT_TRUE(Eventually([&] {
    const std::vector<WindowHandle> listed = desktop->TopLevelWindows();
    return document.WindowState() == u"hidden" &&
           std::find(listed.begin(), listed.end(), window) == listed.end();
  }));

  CompanionLink link(*desktop, root.File("Data/vexo1.ini"));
  EXPECT_EQ(FindCompanionWindow(link, Text()), window);
  const Text windowNumber = FromUtf8(std::to_string(window));
  EXPECT_EQ(FindCompanionWindow(link, u"5\t" + windowNumber), 0u) << "one opened for extraction is not it";
  // A start would leave its mark.
  root.WriteBytes("Release/second", "#!/bin/sh\ntouch '" + root.path() + "/second-started'\n");
  chmod((root.path() + "/Release/second").c_str(), 0755);
  EXPECT_TRUE(EnsureCompanionRunning(link, root.File("Release/second"), Text()));
  EXPECT_EQ(link.companionWindow.load(), window);
  std::this_thread::sleep_for(500ms);
  EXPECT_NE(access((root.path() + "/second-started").c_str(), F_OK), 0) << "a second companion was started";
  EXPECT_TRUE(prompts.Messages().empty());

  // At exit the hidden companion is asked to close, and it ends.
  link.companionWindow = 0;
  CloseCompanionAtExit(link, Text());
  EXPECT_TRUE(Eventually([&] { return waitpid(process, nullptr, WNOHANG) == process; }, 30s));
  screen.Stop(process);
}

// Scrivano as a user starts it, with automatic translation on (a wait of 3000 ms) or off.
TEST_F(WebCaptureOnXvfb, StartUp_StartsTheCompanionMinimisedOnlyWithAutomaticTranslation_AndExitClosesIt) {
  for (const char* wait : {"0", "3000"}) {
    SCOPED_TRACE(wait);
    test::TempFolder work;
    PrepareProgramRoot(work);
    const ProgramPaths paths = PathsBelow(FromUtf8(work.path()));
    ASSERT_TRUE(InstallDefaultParameterFile(paths));
    ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"PARAMETERS", u"Para14", FromUtf8(wait)));
    auto environment = CompanionEnvironment(work.path());
    const pid_t program = screen.Spawn({SCRIVANO_PROGRAM}, environment);
    setenv("XDG_RUNTIME_DIR", environment["XDG_RUNTIME_DIR"].c_str(), 1);
    WindowHandle main = 0, companion = 0;
    const auto findWindows = [&] {
      for (WindowHandle window : desktop->TopLevelWindows()) {
        if (desktop->WindowTitle(window) == u"Scrivano") main = window;
        if (desktop->WindowClassName(window) == kCompanionWindowClass) companion = window;
      }
    };
    ASSERT_TRUE(Eventually([&] {
      findWindows();
      return main != 0;
    }));
    if (std::string(wait) == "0") {
      std::this_thread::sleep_for(5s);
      findWindows();
      EXPECT_EQ(companion, 0u) << "a companion was started with automatic translation off";
    } else {
      ASSERT_TRUE(Eventually([&] {
        findWindows();
        return companion != 0 &&
               access(companion::SocketPath(companion::CompanionSocketName(companion)).c_str(), F_OK) == 0;
      }));
      BrowserDocument document(companion::SocketPath(companion::CompanionSocketName(companion)), 1000);
      EXPECT_TRUE(Eventually([&] { return document.WindowState() == u"minimized"; }, 20s));
    }
    // Closing Scrivano closes the minimised companion too.
    desktop->RequestClose(main);
    ASSERT_TRUE(Eventually([&] { return waitpid(program, nullptr, WNOHANG) == program; }));
    if (companion) {
      EXPECT_TRUE(Eventually([&] { return !desktop->IsWindow(companion); }, 30s));
    }
  }
}

// Pages that cannot be reached: a name that does not resolve and a port on 127.0.0.1 where nothing
// listens. Each gets its own line in the reply saying why, and the run ends well within its limit.
TEST_F(WebCaptureOnXvfb, ExtractWebpageText_UnresolvableNameAndRefusedConnection_EachGetALineAndNoHang) {
  test::TestPrompts prompts;
  CompanionTimes times;
  times.replyBase = 20s;
  times.replyPerAddress = 10s;  // the limit: 40 s for the two addresses
  CompanionLink link(*desktop, root.File("Data/vexo1.ini"), times);
  ASSERT_TRUE(link.StartEndpoint(777004));
  const std::string unresolvable = "http://no-such-host.invalid/page.html";
  const std::string refused = "http://127.0.0.1:1/closed.html";
  Text working = FromUtf8(unresolvable + "\r\n" + refused);
  TaskContext context;
  context.workingText = &working;
  context.targetWindow = 777004;
  context.companionPath = InstallCompanion();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(ExtractWebpageText(context, link), 1)
      << (prompts.Messages().empty() ? "" : ToUtf8(prompts.Messages().back()));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, 40s);
  const std::string reply = ToUtf8(working);
  for (const std::string& address : {unresolvable, refused}) {
    const size_t line = reply.find(address + "\tCould not load the page: ");
    ASSERT_NE(line, std::string::npos) << reply;
    const size_t reasonStart = line + address.size() + std::string("\tCould not load the page: ").size();
    EXPECT_GT(reply.find("\r\n", line), reasonStart) << "no reason given: " << reply;
  }
  EXPECT_NE(reply.find("=====\r\n"), std::string::npos) << reply;
  EXPECT_FALSE(link.busy);
}

// The whole program: automatic translation on, a long press in the source half of a translation editor,
// and the translation of the source's lines, tags kept, pasted into the target half.
TEST_F(WebCaptureOnXvfb, AutomaticTranslation_LongPressInAnEditorPastesTheTranslationOfItsText) {
  if (system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is missing";
  test::TempFolder work;
  PrepareProgramRoot(work);
  const ProgramPaths paths = PathsBelow(FromUtf8(work.path()));
  ASSERT_TRUE(InstallDefaultParameterFile(paths));
  const std::string page = server.Address("/fanyi.youdao.com/?q=start");
  for (const auto& [key, value] :
       std::initializer_list<std::pair<const char16_t*, std::string>>{{u"Para0", "100"},
                                                                      {u"Para13", "scrivano-test-client"},
                                                                      {u"Para14", "5000"},
                                                                      {u"Para15", "1\t" + page}})
    ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"PARAMETERS", key, FromUtf8(value)));
  auto environment = CompanionEnvironment(work.path());
  setenv("XDG_RUNTIME_DIR", environment["XDG_RUNTIME_DIR"].c_str(), 1);
  const std::string display = "DISPLAY=" + screen.Name() + " ";
  const char* shots = std::getenv("SCRIVANO_SCREENSHOTS");
  const auto screenshot = [&](const std::string& name) {
    if (!shots) return;
    EXPECT_EQ(system((display + "import -window root " + shots + "/" + name + ".png").c_str()), 0);
  };

  // Scrivano starts the companion, finds it, opens the translation page in it and hides it.
  const pid_t program = screen.Spawn({SCRIVANO_PROGRAM}, environment);
  // The companion's window is made anew once while it starts, and a hidden window is no longer listed:
  // every window of its class seen is asked.
  std::set<WindowHandle> seen;
  Text address;
  ASSERT_TRUE(Eventually([&] {
    for (WindowHandle window : desktop->TopLevelWindows())
      if (desktop->WindowClassName(window) == kCompanionWindowClass) seen.insert(window);
    for (WindowHandle window : seen) {
      BrowserDocument document(companion::SocketPath(companion::CompanionSocketName(window)), 1000);
      if (document.WindowState() == u"hidden" && document.ReadAddress(address) && ToUtf8(address) == page)
        return true;
    }
    return false;
  })) << seen.size()
      << " companion windows seen; " << ToUtf8(address);

  // The editor, in front, with two lines in its source half.
  work.WriteBytes("segment.txt", "Hello {ut1}world{ut2}\nGood morning");
  const pid_t editor =
      screen.Spawn({SCRIVANO_EDITOR_CLIENT, "pair", "Segment", work.path() + "/segment.txt"},
                   {{"QT_QPA_PLATFORM", "xcb"}, {"XDG_RUNTIME_DIR", work.path() + "/runtime"}});
  WindowHandle window = 0;
  ASSERT_TRUE(Eventually([&] {
    window = test::FindWindow(*desktop, u"Segment");
    if (window && desktop->ForegroundWindow() != window) desktop->RequestActivation(window);
    return window && desktop->ForegroundWindow() == window;
  }));
  std::this_thread::sleep_for(500ms);
  const platform::Rect client = desktop->WindowRect(window);
  screenshot("autotranslate-before");

  // A press of the left button held for a second and a half in the source half.
  const std::string press = std::to_string(client.left + 60) + " " + std::to_string(client.top + 40);
  ASSERT_EQ(system((display + "xdotool mousemove " + press + " mousedown 1 sleep 1.5 mouseup 1").c_str()), 0);
  EXPECT_TRUE(Eventually([&] { return desktop->WindowTitle(window) == u"Auto translating ..."; }, 20s));
  screenshot("autotranslate-during");
  ASSERT_TRUE(Eventually([&] { return desktop->WindowTitle(window) == u"Segment"; }))
      << ToUtf8(desktop->WindowTitle(window));
  std::this_thread::sleep_for(2s);
  screenshot("autotranslate-after");

  // The editor writes both halves out on Ctrl+S.
  const std::string expected = "[Hello]{ut1}[world]{ut2}\n[Good morning]";
  std::string target;
  EXPECT_TRUE(Eventually(
      [&] {
        if (system((display + "xdotool key ctrl+s").c_str()) != 0) return false;
        std::this_thread::sleep_for(300ms);
        std::ifstream in(work.path() + "/segment.txt.target", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        target = text.str();
        return target == expected;
      },
      20s))
      << target;
  std::ifstream in(work.path() + "/segment.txt", std::ios::binary);
  std::ostringstream source;
  source << in.rdbuf();
  EXPECT_EQ(source.str(), "Hello {ut1}world{ut2}\nGood morning");

  screen.Stop(editor);
  desktop->RequestClose(test::FindWindow(*desktop, u"Scrivano"));
  EXPECT_TRUE(Eventually([&] { return waitpid(program, nullptr, WNOHANG) == program; }));
}

// The program as a user installs it: cmake --install into a prefix of the test's own, started from there
// on a fresh HOME (its data in ~/.local/share/scrivano), then with SCRIVANO_ROOT set elsewhere. Either way
// entry 06, double-clicked on the Function List, runs the installed companion on a page of 127.0.0.1.
TEST_F(WebCaptureOnXvfb,
       InstalledProgram_Entry6RunsTheInstalledCompanion_WithAFreshHomeOrAWorkRootElsewhere) {
  test::TempFolder prefix;
  const std::string install = std::string("'") + SCRIVANO_CMAKE + "' --install '" + SCRIVANO_BUILD_DIR +
                              "' --prefix '" + prefix.path() + "' >/dev/null";
  ASSERT_EQ(system(install.c_str()), 0) << install;
  Display* display = XOpenDisplay(screen.Name().c_str());
  ASSERT_NE(display, nullptr);
  for (const bool elsewhere : {false, true}) {
    SCOPED_TRACE(elsewhere ? "SCRIVANO_ROOT elsewhere" : "fresh HOME");
    test::TempFolder home;
    const std::string workRoot = home.path() + (elsewhere ? "/work" : "/.local/share/scrivano");
    ASSERT_EQ(system(("mkdir -p '" + workRoot + "/Data' '" + home.path() + "/runtime'").c_str()), 0);
    const ProgramPaths paths = PathsBelow(FromUtf8(workRoot));
    ASSERT_TRUE(InstallDefaultParameterFile(paths));
    ASSERT_TRUE(WriteIniValue(paths.parameterFile, u"DIMENSIONS", u"Function List", u"700,100,1000,600"));
    const Text input = FromUtf8(server.Address("/article.html"));
    ASSERT_TRUE(WriteFileBytesAtomically(paths.inputFile, TextToUtf16LeBytes(input)));
    auto environment = CompanionEnvironment(home.path());
    environment["HOME"] = home.path();
    environment["XDG_DATA_HOME"] = "";
    environment["SCRIVANO_ROOT"] = elsewhere ? workRoot : "";
    const pid_t program = screen.Spawn({prefix.path() + "/bin/scrivano"}, environment);

    WindowHandle list = 0;
    ASSERT_TRUE(Eventually([&] { return (list = test::FindWindow(*desktop, u"Function List")) != 0; }));
    ASSERT_TRUE(Eventually([&] { return desktop->WindowRect(list).left > 0; }));
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(test::DoubleClickListEntry(display, desktop->WindowRect(list), 6));
    // The run may take more than ten seconds on a loaded machine: its timing box is closed when it comes.
    std::string output;
    EXPECT_TRUE(Eventually(
        [&] {
          if (const WindowHandle box = test::FindWindow(*desktop, u"Notice")) desktop->RequestClose(box);
          std::string bytes;
          ReadFileBytes(paths.outputFile, bytes);
          output = ToUtf8(Utf16LeBytesToText(bytes));
          return output.find("silted up completely") != std::string::npos;
        },
        120s))
        << output;
    EXPECT_NE(output.find(server.Address("/article.html") + "\tRiver Survey"), std::string::npos) << output;
    desktop->RequestClose(test::FindWindow(*desktop, u"Scrivano"));
    EXPECT_TRUE(Eventually([&] { return waitpid(program, nullptr, WNOHANG) == program; }));
    screen.Stop(program);
  }
  XCloseDisplay(display);
  EXPECT_NE(access((prefix.path() + "/Data").c_str(), F_OK), 0) << "a Data folder was made in the prefix";
}

}  // namespace
}  // namespace scrivano
