#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "docx/PageLayout.h"
#include "support/TestPrompts.h"
#include "support/WordFixtures.h"
#include "tasks/DesktopServices.h"
#include "text/FileBytes.h"
#include "toolkit/TextFiles.h"
#include "word/CombinePages.h"
#include "word/CombinedDocument.h"
#include "word/WordProcessing.h"

namespace scrivano {
namespace {

using test::ReadDocx;
using test::TestPrompts;

// python3-docx: one page per item, each ended (but the last) by a page break inside its paragraph.
std::string Pages(std::initializer_list<const char*> pages) {
  std::string script;
  size_t left = pages.size();
  for (const char* page : pages) {
    script += "p = d.add_paragraph('" + std::string(page) + "')\n";
    if (--left > 0) script += "p.add_run().add_break(WD_BREAK.PAGE)\n";
  }
  return script;
}

// The combined document's paragraphs, page breaks shown as "<PAGE>", and its page height in twips.
constexpr char kPagesAndHeight[] = R"PY(
for p in d.paragraphs:
    print(''.join('<PAGE>' if e.tag == qn('w:br') else (e.text or '') for e in p._p.iter(qn('w:t'), qn('w:br'))))
print(d.sections[0]._sectPr.find(qn('w:pgSz')).get(qn('w:h')))
)PY";

class CombinePagesTest : public test::DocxTest {
 protected:
  void TearDown() override { TheWordConnection().ReleaseWord(); }

  Text Run(const std::string& source, const std::string& target) {
    TestPrompts prompts{u"2"};
    Text list = FromUtf8(source) + u"\r\n" + FromUtf8(target) + u"\r\n";
    TaskContext context;
    context.workingText = &list;
    WordProcessing(context);
    messages_ = prompts.Messages();
    return list;
  }
  std::string Combined(const std::string& source, const char* reader = kPagesAndHeight) {
    return ReadDocx(ToUtf8(CombinedDocumentPath(FromUtf8(source))), reader);
  }

  std::vector<Text> messages_;
};

TEST_F(CombinePagesTest, AOnePageSourceAndAThreePageTarget) {
  const std::string source = Make("report.docx", Pages({"Source page one"}));
  const std::string target = Make("target.docx", Pages({"目标第一页", "目标第二页", "目标第三页"}));
  std::string sourceBytes, targetBytes;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(source), sourceBytes));
  ASSERT_TRUE(ReadFileBytes(FromUtf8(target), targetBytes));
  const Text window = Run(source, target);
  const Text combined = FromUtf8(folder_.path() + "/report.bak.docx");
  EXPECT_EQ(window,
            u"Source page one\r\n\r\n\r\n目标第一页\r\n\r\n"
            u"\r\nDocument written (the source and target files are unchanged):\r\n" +
                combined + u"\r\n");
  EXPECT_EQ(Combined(source), "Source page one<PAGE>\n目标第一页\n16632\n")
      << "source page 1, a break, target page 1 (its break dropped); the pages 5 % taller";
  constexpr char kPaper[] = R"PY(
s = d.sections[0]
print(s.page_width.twips, s.page_height.twips, s.left_margin.twips, s.top_margin.twips)
)PY";
  EXPECT_EQ(Combined(source, kPaper), "12240 16632 1800 1440\n")
      << "the source's paper (Letter) and margins, 5 % taller";
  EXPECT_EQ(ReadDocx(source, kPaper), "12240 15840 1800 1440\n");
  EXPECT_TRUE(messages_.empty());
  std::string after;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(source), after));
  EXPECT_EQ(after, sourceBytes);
  ASSERT_TRUE(ReadFileBytes(FromUtf8(target), after));
  EXPECT_EQ(after, targetBytes);
}

TEST_F(CombinePagesTest, PagesEndingInAManualBreakGetNoSecondOne) {
  const std::string source = Make("source.docx", Pages({"S1", "S2", "S3"}));
  const std::string target = Make("target.docx", Pages({"T1", "T2"}));
  const Text window = Run(source, target);
  // A page after a break that ends a paragraph begins with that paragraph's mark.
  EXPECT_TRUE(window.starts_with(u"S1\r\n\r\nT1\r\n\r\n\r\nS2\r\n\r\n\r\nT2\r\n\r\n\r\n")) << ToUtf8(window);
  EXPECT_EQ(Combined(source), "S1<PAGE>T1<PAGE>\nS2<PAGE>\nT2\n\n16632\n")
      << "the pasted breaks divide the pages; the source's third page is not reached";
  if (test::HaveOffice()) {
    EXPECT_EQ(test::OfficePageCount(ToUtf8(CombinedDocumentPath(FromUtf8(source)))), 4);
  }
}

TEST_F(CombinePagesTest, PagesEndingWithTheirParagraphKeepItsFormatting) {
  const std::string source = Make("source.docx", R"PY(
d.add_paragraph('Source one')
p = d.add_paragraph('Source two')
p.paragraph_format.page_break_before = True
)PY");
  const std::string target = Make("target.docx", R"PY(
p = d.add_paragraph('Target one')
p.paragraph_format.left_indent = Pt(36)
p = d.add_paragraph('Target two')
p.paragraph_format.page_break_before = True
)PY");
  Run(source, target);
  EXPECT_EQ(Combined(source, R"PY(
for p in d.paragraphs:
    print(p.text.strip(), len(p._p.xpath('.//w:br[@w:type="page"]')), p.paragraph_format.left_indent)
)PY"),
            "Source one 1 None\nTarget one 1 457200\nSource two 1 None\nTarget two 0 None\n 0 None\n");
  EXPECT_EQ(Combined(source, "print(sum(1 for p in d.paragraphs if p.paragraph_format.page_break_before))"),
            "0\n")
      << "the paragraphs that began a page get their break from the combination only";
  if (test::HaveOffice()) {
    EXPECT_EQ(test::OfficePageCount(ToUtf8(CombinedDocumentPath(FromUtf8(source)))), 4);
  }
}

TEST_F(CombinePagesTest, PagesWordRecordedAtItsLastLayout) {
  // Word marks where it broke the pages when it saved the document; no break of the document's own.
  auto laidOut = [](const char* first, const char* second) {
    return "p = d.add_paragraph('" + std::string(first) +
           "')\n"
           "r = p.add_run()\n"
           "r._r.append(OxmlElement('w:lastRenderedPageBreak'))\n"
           "r.add_text('" +
           second + "')\n";
  };
  const std::string source = Make("source.docx", laidOut("Source one ", "source two"));
  const std::string target = Make("target.docx", laidOut("Target one ", "target two"));
  const Text window = Run(source, target);
  EXPECT_TRUE(window.starts_with(
      u"Source one \r\n\r\nTarget one \r\n\r\nsource two\r\n\r\n\r\ntarget two\r\n\r\n\r\n"))
      << ToUtf8(window);
  EXPECT_EQ(window.find(u"not installed"), Text::npos) << "no layout is needed";
  EXPECT_EQ(Combined(source), "Source one <PAGE>Target one <PAGE>source two<PAGE>\ntarget two\n\n16632\n");
}

// Records the files the desktop is asked to open.
class OpeningDesktop : public DesktopServices {
 public:
  OpeningDesktop() { SetDesktopServices(this); }
  ~OpeningDesktop() override { SetDesktopServices(nullptr); }
  WindowHandle WindowAtListCorner(bool) override { return 0; }
  Text WindowClassName(WindowHandle) override { return {}; }
  void RunOnWordPieces(WindowHandle, const PieceConversion&) override {}
  bool OpenWithDefaultApplication(TextView path) override {
    opened.emplace_back(path);
    return true;
  }
  std::vector<Text> opened;
};

TEST_F(CombinePagesTest, TheDocumentBuiltIsOpenedOnTheDesktopOnce) {
  const std::string source = Make("source.docx", Pages({"S1", "S2"}));
  const std::string target = Make("target.docx", Pages({"T1", "T2"}));
  const Text combined = CombinedDocumentPath(FromUtf8(source));
  for (const Text& option : {Text(u"2"), Text(u"11")}) {
    OpeningDesktop desktop;
    TestPrompts prompts{option};
    if (option == u"11") prompts.Answer(u"yes");
    Text list = FromUtf8(source) + u"\r\n" + FromUtf8(target) + u"\r\n";
    TaskContext context;
    context.workingText = &list;
    WordProcessing(context);
    EXPECT_EQ(desktop.opened, std::vector<Text>{combined}) << "option " << ToUtf8(option);
    EXPECT_FALSE(FileExists(ReviewCopyPath(combined), false)) << "no review copy of the document built";
  }
}

TEST_F(CombinePagesTest, MissingFileOrACombinedDocumentThatWouldReplaceTheTarget) {
  const std::string source = Make("a.docx", Pages({"one"}));
  const std::string missing = folder_.path() + "/missing.docx";
  Text window = Run(source, missing);
  EXPECT_EQ(window, FromUtf8(source) + u"\r\n" + FromUtf8(missing) + u"\r\n");
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_FALSE(FileExists(CombinedDocumentPath(FromUtf8(source)), false));

  const std::string target = Make("a.bak.docx", Pages({"target"}));
  std::string targetBytes;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(target), targetBytes));
  Run(source, target);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].ends_with(u"would replace the source or the target file."));
  std::string after;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(target), after));
  EXPECT_EQ(after, targetBytes);
}

TEST_F(CombinePagesTest, WithoutLibreOfficeTheWindowSaysPagesEndOnlyAtBreaks) {
  const std::string source = Make("source.docx", "d.add_paragraph('Only page of the source')");
  const std::string target = Make("target.docx", "d.add_paragraph('Only page of the target')");
  const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", "/nonexistent", 1);
  const Text window = Run(source, target);
  ::setenv("PATH", saved.c_str(), 1);
  EXPECT_TRUE(
      window.starts_with(u"Only page of the source\r\n\r\n\r\nOnly page of the target\r\n\r\n\r\n"
                         u"\r\nLibreOffice is not installed: pages end only at the documents' own page "
                         u"breaks.\r\n\r\nDocument written"))
      << ToUtf8(window);
}

TEST_F(CombinePagesTest, DocumentsWithoutBreaksAreLaidOutByLibreOffice) {
  SKIP_WITHOUT_OFFICE();
  if (!word::MissingLayoutProgram().empty()) GTEST_SKIP() << word::MissingLayoutProgram() << " is missing";
  auto longText = [](const char* side) {
    return "for n in range(25):\n    d.add_paragraph('" + std::string(side) +
           " paragraph %d ' % n + 'text that fills the line ' * 12)\n";
  };
  const std::string source = Make("source.docx", longText("Source"));
  const std::string target = Make("target.docx", longText("Target"));
  const Text window = Run(source, target);
  EXPECT_EQ(window.find(u"not installed"), Text::npos);
  // The text between page breaks alternates between the documents, source first, and breaks are few.
  const std::string result = Combined(source, R"PY(
text = ''
for e in d.element.body.iter(qn('w:p'), qn('w:t'), qn('w:br')):
    if e.tag == qn('w:t'):
        text += e.text
    elif e.tag == qn('w:p'):
        text += ' '
    elif e.get(qn('w:type')) == 'page':
        text += '<PAGE>'
pages = text.split('<PAGE>')
print(len(pages), all({w for w in ('Source', 'Target') if w in p} == {('Source', 'Target')[i % 2]}
                      for i, p in enumerate(pages)))
)PY");
  int pages = 0;
  char alternate[8] = {};
  ASSERT_EQ(std::sscanf(result.c_str(), "%d %7s", &pages, alternate), 2) << result;
  EXPECT_GE(pages, 4);
  EXPECT_EQ(pages % 2, 0) << "the pass ends with a target page";
  EXPECT_STREQ(alternate, "True") << result;
  const std::optional<std::string> text = test::OfficeText(ToUtf8(CombinedDocumentPath(FromUtf8(source))));
  ASSERT_TRUE(text) << "LibreOffice opens the combined document";
  EXPECT_EQ(text->rfind("Source paragraph 0 ", 0), 0u);
}

}  // namespace
}  // namespace scrivano
