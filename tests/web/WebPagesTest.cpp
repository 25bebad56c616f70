// Page text as the companion extracts it, from hand-made pages served from 127.0.0.1: every nesting of
// blocks, preformatted text, tables, line breaks, a short article, a page its scripts change after load,
// pages in GBK and Big5. All pages go through one companion on Qt's offscreen platform, as the runner
// starts it; then the runner itself, with and without a display.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "support/PageServer.h"
#include "support/PrivateDisplay.h"
#include "support/TempFolder.h"
#include "text/TextEncodings.h"
#include "web/PageBatch.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using companion::kMaxPayload;

// A paragraph long enough for Readability to take the article for one.
const std::string kLead =
    "The survey of the northern river began in the spring, when the water was still high and the banks "
    "were soft; teams of three walked each stretch twice, once at dawn and once at dusk.";

// A page with navigation and a footer around an article that starts with the lead paragraph.
std::string ArticlePage(const std::string& title, const std::string& body, const std::string& head = "") {
  return "<!DOCTYPE html><html><head>" + (head.empty() ? "<meta charset=\"utf-8\">" : head) + "<title>" +
         title +
         "</title></head><body><nav><a href=\"/\">Home</a> | <a href=\"/news\">News</a></nav><article><h1>" +
         title + "</h1><p>" + kLead + "</p>" + body +
         "</article><footer>Copyright and cookies</footer></body></html>";
}

std::string Encoded(const std::string& utf8, Charset charset) {
  std::string bytes;
  EncodeText(FromUtf8(utf8), charset, bytes);
  return bytes;
}

struct PageCase {
  const char* path;
  std::string title;
  std::string bytes;
  std::string contentType;
  std::string text;  // the lines expected after the title, each ended by "\r\n"
};

std::vector<PageCase> Cases() {
  const std::string chinese = "这种疼痛是从您胸部延伸出来的吗？多喝水，您发热达到多少度，我还有咳嗽症状。";
  const std::string traditional =
      "這種疼痛是從您胸部延伸出來的嗎？多喝水，您發熱達到多少度，我還有咳嗽症狀。";
  return {
      {"/nested-lists.html", "Nested lists",
       ArticlePage("Nested lists",
                   "<ul><li>Fruit<ul><li>Apple</li><li>Pear</li></ul>and more</li><li>Vegetables</li></ul>"
                   "<ol><li><p>Step one</p><ol><li>Part a</li></ol></li></ol>"),
       "text/html", kLead + "\r\nFruit\r\nApple\r\nPear\r\nand more\r\nVegetables\r\nStep one\r\nPart a\r\n"},
      {"/pre-headings.html", "Draft",
       ArticlePage("Draft",
                   "<pre>Network Working Group          Draft\n\n   1.  The text  keeps its   spaces.\n"
                   "<span class=\"h2\"><h2>2.  Terms</h2></span>\n   Words\tafter a tab.\n</pre>"),
       "text/html",
       kLead + "\r\nNetwork Working Group          Draft\r\n\r\n   1.  The text  keeps its   spaces.\r\n"
               "2.  Terms\r\n   Words\tafter a tab.\r\n"},
      {"/quote-cells.html", "Quotes and cells",
       ArticlePage("Quotes and cells",
                   "<blockquote>Said first<p>Quoted paragraph</p>said last</blockquote>"
                   "<table><tr><th>Term</th><th>Meaning</th></tr>"
                   "<tr><td><p>First part</p><p>second part</p></td><td>one</td></tr>"
                   "<tr><td>Alone</td><td>two <b>bold</b></td></tr></table>"),
       "text/html",
       kLead +
           "\r\nSaid first\r\nQuoted paragraph\r\nsaid last\r\nTerm\tMeaning\r\nFirst part second part\tone"
           "\r\nAlone\ttwo bold\r\n"},
      {"/beside-blocks.html", "Beside blocks",
       ArticlePage("Beside blocks",
                   "<div>Before the block<div>Inside the block</div>between<span> and more</span>"
                   "<p>A paragraph</p>after it</div><p>First line<br>Second line<br><br>Third line</p>"),
       "text/html",
       kLead + "\r\nBefore the block\r\nInside the block\r\nbetween and more\r\nA paragraph\r\nafter it\r\n"
               "First line\r\nSecond line\r\nThird line\r\n"},
      {"/short.html", "Brief",
       "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Brief</title></head><body>"
       "<header><a href=\"/\">Home</a> <a href=\"/sport\">Sport</a> <a href=\"/weather\">Weather</a></header>"
       "<div class=\"story\"><p>The bridge reopened on Monday after two weeks of repairs.</p>"
       "<p>Buses will use it again from Wednesday.</p><p>The council thanked residents for their "
       "patience.</p></div><footer>Contact us | Privacy | Cookies</footer></body></html>",
       "text/html",
       "The bridge reopened on Monday after two weeks of repairs.\r\nBuses will use it again from "
       "Wednesday.\r\nThe council thanked residents for their patience.\r\n"},
      {"/scripted.html", "Scripted",
       ArticlePage("Scripted",
                   "<div id=\"late\">Loading...</div><div id=\"later\"></div><script>"
                   "window.addEventListener('load', function () {"
                   "  document.getElementById('late').innerHTML = '<p>Written at load.</p>';"
                   "  setTimeout(function () {"
                   "    document.getElementById('later').innerHTML = '<p>Written just after.</p>'; }, 30);"
                   "});</script>"),
       "text/html", kLead + "\r\nWritten at load.\r\nWritten just after.\r\n"},
      {"/gbk.html", "中文",
       Encoded(ArticlePage("中文", "<p>" + chinese + "</p>",
                           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">"),
               Charset::kGb18030),
       "text/html", kLead + "\r\n" + chinese + "\r\n"},
      {"/big5.html", "繁體",
       Encoded("<!DOCTYPE html><html><head><title>繁體</title></head><body><article><h1>繁體</h1><p>" +
                   kLead + "</p><p>" + traditional + "</p></article></body></html>",
               Charset::kBig5),
       "text/html; charset=big5", kLead + "\r\n" + traditional + "\r\n"},
  };
}

class WebPages : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(access(VEXO1_PROGRAM, X_OK), 0) << "vexo1 was not built";
    ::mkdir((root.path() + "/runtime").c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", (root.path() + "/runtime").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root.path() + "/config").c_str(), 1);
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS",
           "--disable-background-networking --disable-component-update --no-first-run --disable-gpu", 1);
    unsetenv("DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    for (const PageCase& page : cases) server.AddPage(page.path, page.bytes, page.contentType);
    server.AddRoute("/moved.html", [this](int client, const std::string&) {
      const std::string response = "HTTP/1.1 302 Found\r\nLocation: " + server.Address("/short.html") +
                                   "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
      send(client, response.data(), response.size(), MSG_NOSIGNAL);
    });
  }

  // The reply the companion gives for these cases, in this order.
  std::string ExpectedReply(const std::vector<PageCase>& pages) {
    std::string header, texts;
    for (const PageCase& page : pages) {
      header += server.Address(page.path) + "\t" + page.title + "\r\n";
      if (!texts.empty()) texts += "\r\n";
      texts += page.title + "\r\n\r\n" + page.text;
    }
    return header + "=====\r\n" + texts;
  }

  test::TempFolder root;
  test::PageServer server;
  std::vector<PageCase> cases = Cases();
};

TEST_F(WebPages, EveryPageInOneCompanion_EveryTextNodeOnceInReadingOrder) {
  std::string addresses;
  for (const PageCase& page : cases) addresses += server.Address(page.path) + "\r\n";
  std::vector<companion::PageReport> reports;
  std::mutex mutex;
  const BatchResult result = ExtractPagesWithCompanion(VEXO1_PROGRAM, addresses, {},
                                                       [&](const companion::PageReport& report) {
                                                         std::lock_guard lock(mutex);
                                                         reports.push_back(report);
                                                       },
                                                       {});
  ASSERT_EQ(result.end, BatchResult::End::kReply) << result.error;
  for (const PageCase& page : cases) {
    const std::string block = page.title + "\r\n\r\n" + page.text;
    EXPECT_NE(result.reply.find(block), std::string::npos) << page.path << " gave:\n" << result.reply;
  }
  EXPECT_EQ(result.reply, ExpectedReply(cases));
  std::lock_guard lock(mutex);
  ASSERT_EQ(reports.size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(reports[i].address, server.Address(cases[i].path));
    EXPECT_EQ(reports[i].characters, static_cast<long>(FromUtf8(cases[i].text).size())) << cases[i].path;
    EXPECT_TRUE(reports[i].failure.empty());
  }
}

// A redirect gives the page it leads to under the address asked for; a local file is read (the list is
// the user's own); a port where nothing listens gets its line saying why; a page that never finishes
// arriving is read as far as it came; a page whose text is longer than one message comes whole.
TEST_F(WebPages, RedirectLocalFileRefusedEndlessAndLongPages) {
  root.WriteBytes("saved.html", cases[4].bytes);
  const std::string file = "file://" + root.path() + "/saved.html";
  const std::string refused = "http://127.0.0.1:1/closed.html";
  server.AddRoute("/endless.html", [this](int client, const std::string&) {
    const std::string start =
        "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n<html><head><title>Endless</title>"
        "</head><body><p>" +
        kLead + "</p>";
    send(client, start.data(), start.size(), MSG_NOSIGNAL);
    for (int i = 0; i < 600 && !server.Stopping(); ++i) {
      std::this_thread::sleep_for(100ms);
      send(client, " ", 1, MSG_NOSIGNAL);
    }
  });
  // 3.2 million characters of Chinese, 9.6 MB in UTF-8: more than one message holds.
  std::string paragraph, longPage = "<html><head><meta charset=\"utf-8\"><title>Long</title></head><body>";
  for (int i = 0; i < 400; ++i) paragraph += "这种疼痛是从您胸部延伸出来的吗";
  std::string longText;
  for (int i = 0; i < 530; ++i) {
    longPage += "<p>" + paragraph + std::to_string(i) + "</p>";
    longText += paragraph + std::to_string(i) + "\r\n";
  }
  server.AddPage("/long.html", longPage + "</body></html>");
  const auto start = std::chrono::steady_clock::now();
  const BatchResult result = ExtractPagesWithCompanion(
      VEXO1_PROGRAM,
      server.Address("/moved.html") + "\r\n" + file + "\r\n" + refused + "\r\n" +
          server.Address("/endless.html") + "\r\n" + server.Address("/long.html") + "\r\n",
      {}, {}, {});
  ASSERT_EQ(result.end, BatchResult::End::kReply) << result.error;
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
  const std::string& reply = result.reply;
  EXPECT_GT(reply.size(), kMaxPayload);
  EXPECT_EQ(reply.find(server.Address("/moved.html") + "\tBrief\r\n" + file + "\tBrief\r\n" + refused +
                       "\tCould not load the page: "),
            0u)
      << reply.substr(0, 2000);
  const std::string brief = "Brief\r\n\r\n" + cases[4].text;
  EXPECT_NE(reply.find("=====\r\n" + brief + "\r\n" + brief + "\r\nEndless\r\n\r\n" + kLead +
                       "\r\n\r\nLong\r\n\r\n"),
            std::string::npos)
      << reply.substr(0, 2000);
  EXPECT_TRUE(reply.ends_with("Long\r\n\r\n" + longText));
}

// The runner on standard input and output: the reply laid out as the workbench's, a line per page on
// standard error; exit 5 when not one page could be read. Without a display the companion runs on the
// offscreen platform, with one on the display.
TEST_F(WebPages, Runner_WithAndWithoutADisplay) {
  test::PrivateDisplay screen;
  const std::vector<PageCase> pages{cases[0], cases[7]};
  const std::string refused = "http://127.0.0.1:1/closed.html";
  root.WriteBytes("list.txt", server.Address(pages[0].path) + "\n\n" + server.Address(pages[1].path) + "\n" +
                                  refused + "\n");
  root.WriteBytes("failing.txt", refused + "\n" + "http://127.0.0.1:1/other.html\n");
  std::string expected = ExpectedReply(pages);
  expected.insert(expected.find("====="), refused + "\tCould not load the page: ");
  const auto run = [&](const std::string& display, const std::string& list) {
    const std::string command = (display.empty() ? "env -u DISPLAY " : "env DISPLAY=" + display + " ") +
                                SCRIVANO_CLI_PROGRAM + " run 6 --raw --input " + root.path() + "/" + list +
                                " >" + root.path() + "/out 2>" + root.path() + "/err";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  for (const std::string& display : {std::string(), screen.Started() ? screen.Name() : std::string("-")}) {
    if (display == "-") {
      ADD_FAILURE() << "no private display: " << screen.Error();
      continue;
    }
    SCOPED_TRACE(display.empty() ? "without a display" : "on " + display);
    EXPECT_EQ(run(display, "list.txt"), 0) << root.ReadBytes("err");
    const std::string out = root.ReadBytes("out");
    EXPECT_EQ(out.substr(0, out.find("=====")).find(expected.substr(0, expected.find("Could not load"))), 0u);
    EXPECT_EQ(out.substr(out.find("=====")), expected.substr(expected.find("=====")));
    const std::string err = root.ReadBytes("err");
    for (const PageCase& page : pages)
      EXPECT_NE(err.find(server.Address(page.path) + ": "), std::string::npos) << err;
    EXPECT_NE(err.find(" s, " + std::to_string(FromUtf8(pages[1].text).size()) + " characters\n"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find(refused + ": could not load the page: "), std::string::npos) << err;
    EXPECT_NE(err.find("1 of 3 pages could not be loaded"), std::string::npos) << err;

    EXPECT_EQ(run(display, "failing.txt"), 5);
    EXPECT_NE(root.ReadBytes("err").find("not one of the web pages could be read"), std::string::npos)
        << root.ReadBytes("err");
  }
}

}  // namespace
}  // namespace scrivano
