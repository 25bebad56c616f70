#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "docx/PageLayout.h"
#include "support/TempFolder.h"
#include "support/WordFixtures.h"

namespace scrivano::word {
namespace {

// A document whose main text is the given Word text ("\r" ends a paragraph).
std::shared_ptr<Document> DocumentWithText(const std::shared_ptr<Application>& application, TextView text) {
  std::shared_ptr<Document> document = application->Documents()->Add();
  document->Content()->InsertBefore(text);
  return document;
}

// PATH without the office program and poppler for the life of the object.
class EmptyPath {
 public:
  EmptyPath() : saved_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    ::setenv("PATH", "/nonexistent", 1);
  }
  ~EmptyPath() { ::setenv("PATH", saved_.c_str(), 1); }

 private:
  std::string saved_;
};

TEST(PageLayoutTest, MatchPageTexts_FindsWherePagesBegin) {
  const auto application = Application::Create();
  struct Case {
    const char* what;
    Text story;
    std::vector<Text> pages;
    std::vector<int> expected;
  } cases[] = {
      {"a page that begins inside a paragraph",
       u"Alpha beta gamma\rDelta epsilon\r",
       {u"Alpha beta", u"gamma Delta\nepsilon"},
       {0, 11}},
      {"a page that begins a paragraph begins at its start",
       u"Alpha beta\r\tDelta epsilon\r",
       {u"Alpha beta\n", u"Delta epsilon\n"},
       {0, 11}},
      {"headers, footers and page numbers are passed over",
       u"Alpha beta gamma\rDelta epsilon zeta\r",
       {u"Report header\nAlpha beta\n1", u"Report header\ngamma Delta\n2", u"Report header\nepsilon zeta\n3"},
       {0, 11, 23}},
      {"an empty page gives no start", u"Alpha beta\rDelta\r", {u"Alpha beta", u"", u"Delta"}, {0, 11}},
      {"Chinese and ligatures", u"中文第一页\r第二页 office\r", {u"中文第一页", u"第二页 o\uFB03ce"}, {0, 6}},
  };
  for (const Case& test : cases) {
    const auto document = DocumentWithText(application, test.story);
    EXPECT_EQ(MatchPageTexts(*document->MainStory(), test.pages), test.expected) << test.what;
  }
}

class PageLayoutOfficeTest : public test::DocxTest {};

TEST_F(PageLayoutOfficeTest, LaidOutPagesBeginWhereTheDocumentBreaksThem) {
  SKIP_WITHOUT_OFFICE();
  if (!MissingLayoutProgram().empty()) GTEST_SKIP() << MissingLayoutProgram() << " is not installed";
  // Three pages, each ended inside a paragraph by a page break, so that the layout and the breaks agree.
  const std::string path = Make("pages.docx", R"PY(
for page in range(3):
    p = d.add_paragraph('Page %d 第%d页 ' % (page + 1, page + 1) + 'words ' * 40)
    if page < 2:
        p.add_run().add_break(WD_BREAK.PAGE)
        p.add_run('continued %d' % (page + 2))
)PY");
  const auto application = Application::Create();
  const std::shared_ptr<Document> document = application->Documents()->Open(FromUtf8(path));
  ASSERT_TRUE(document);
  const std::vector<int> marked = document->PageStarts();
  ASSERT_EQ(marked.size(), 3u);
  std::vector<int> laidOut;
  std::string reason;
  ASSERT_TRUE(LaidOutPageStarts(*document, laidOut, reason)) << reason;
  EXPECT_EQ(laidOut, marked);
}

TEST_F(PageLayoutOfficeTest, ALongDocumentWithoutBreaksGetsSeveralPages) {
  SKIP_WITHOUT_OFFICE();
  if (!MissingLayoutProgram().empty()) GTEST_SKIP() << MissingLayoutProgram() << " is not installed";
  const std::string path = Make("long.docx", R"PY(
for n in range(60):
    d.add_paragraph('Paragraph %d: ' % n + 'some running text that fills the line ' * 8)
)PY");
  const auto application = Application::Create();
  const std::shared_ptr<Document> document = application->Documents()->Open(FromUtf8(path));
  ASSERT_TRUE(document);
  EXPECT_EQ(document->PageStarts().size(), 1u) << "python3-docx records no pages";
  std::vector<int> laidOut;
  std::string reason;
  ASSERT_TRUE(LaidOutPageStarts(*document, laidOut, reason)) << reason;
  ASSERT_GE(laidOut.size(), 4u);
  for (size_t i = 1; i < laidOut.size(); ++i) EXPECT_LT(laidOut[i - 1], laidOut[i]);
  EXPECT_LT(laidOut.back(), document->MainStory()->Length());
}

TEST(PageLayoutTest, WithoutTheProgramsTheLayoutSaysWhatIsMissing) {
  const auto application = Application::Create();
  const auto document = DocumentWithText(application, u"text\r");
  EmptyPath path;
  EXPECT_EQ(MissingLayoutProgram(), "LibreOffice");
  std::vector<int> starts;
  std::string reason;
  EXPECT_FALSE(LaidOutPageStarts(*document, starts, reason));
  EXPECT_EQ(reason, "LibreOffice is not installed");
}

}  // namespace
}  // namespace scrivano::word
