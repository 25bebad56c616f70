#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestPrompts.h"
#include "support/WordFixtures.h"
#include "support/ZipDamage.h"
#include "text/FileBytes.h"
#include "toolkit/TextFiles.h"
#include "word/CombinedDocument.h"
#include "word/InterleaveParagraphs.h"
#include "word/WordProcessing.h"

namespace scrivano {
namespace {

using test::ReadDocx;
using test::TestPrompts;

std::string Paragraphs(std::initializer_list<const char*> texts) {
  std::string script;
  for (const char* text : texts) script += "d.add_paragraph('" + std::string(text) + "')\n";
  return script;
}

constexpr char kBodyParagraphs[] = "print('\\n'.join(p.text for p in d.paragraphs))";

class InterleaveParagraphsTest : public test::DocxTest {
 protected:
  void TearDown() override { TheWordConnection().ReleaseWord(); }

  // Runs option 11 on the two files with the answer to "Allow same source and target paragraphs ?";
  // returns the window text.
  Text Run(const std::string& source, const std::string& target, const Text& allowSame = u"yes") {
    TestPrompts prompts{u"11", allowSame};
    Text list = FromUtf8(source) + u"\r\n\r\n" + FromUtf8(target) + u"\r\n";
    TaskContext context;
    context.workingText = &list;
    WordProcessing(context);
    dialogs_ = prompts.dialogs();
    processed_ = context.processedCount;
    return list;
  }
  std::string Result(const std::string& source, const char* reader = kBodyParagraphs) {
    return ReadDocx(ToUtf8(CombinedDocumentPath(FromUtf8(source))), reader);
  }

  std::vector<test::Dialog> dialogs_;
  int processed_ = 0;
};

TEST_F(InterleaveParagraphsTest, PairsTheNonEmptyParagraphsAndKeepsTheFilesAsTheyWere) {
  const std::string source =
      Make("report.docx", Paragraphs({"Source one", "", "Source two", "Source three"}));
  const std::string target = Make("target.docx", Paragraphs({"目标一", "目标二", "  ", "目标三", "目标四"}));
  std::string sourceBytes, targetBytes;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(source), sourceBytes));
  ASSERT_TRUE(ReadFileBytes(FromUtf8(target), targetBytes));
  const Text copy = CombinedDocumentPath(FromUtf8(source));
  EXPECT_EQ(copy, FromUtf8(folder_.path() + "/report.bak.docx"));
  ASSERT_TRUE(WriteFileBytesAtomically(copy, "an older copy"));

  const Text window = Run(source, target);
  EXPECT_EQ(window,
            u"Source one\r\n目标一\r\n\r\nSource two\r\n目标二\r\n\r\nSource three\r\n目标三\r\n\r\n"
            u"\r\nDocument written (the source and target files are unchanged):\r\n" +
                copy + u"\r\n");
  EXPECT_EQ(Result(source), "Source one\n目标一\n\nSource two\n目标二\nSource three\n目标三\n\n")
      << "the older copy is replaced; the document ends with the empty paragraph it was given";
  ASSERT_EQ(dialogs_.size(), 2u);
  EXPECT_EQ(dialogs_[1].text, u"Allow same source and target paragraphs ?");
  EXPECT_EQ(dialogs_[1].caption, u"Notice");
  EXPECT_EQ(processed_, 36 + 19) << "the characters of both documents";
  std::string after;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(source), after));
  EXPECT_EQ(after, sourceBytes);
  ASSERT_TRUE(ReadFileBytes(FromUtf8(target), after));
  EXPECT_EQ(after, targetBytes);
  EXPECT_FALSE(FileExists(ReviewCopyPath(FromUtf8(source)), false)) << "the copy is the result";
}

TEST_F(InterleaveParagraphsTest, IdenticalPairsAndShortTargets) {
  struct Case {
    const char* what;
    std::initializer_list<const char*> source, target;
    Text allowSame;
    std::string expected;
  } cases[] = {
      {"No: an identical pair is passed over together",
       {"A", "Same", "B"},
       {"TA", "Same", "TB"},
       u"no",
       "A\nTA\nSame\nB\nTB\n\n"},
      {"Yes: an identical pair is pasted", {"A", "Same"}, {"TA", "Same"}, u"yes", "A\nTA\nSame\nSame\n\n"},
      {"the target runs out: the rest stays", {"A", "B", "C"}, {"TA"}, u"yes", "A\nTA\nB\nC\n\n"},
      {"empty paragraphs on the target side",
       {"A", "B"},
       {"", "TA", "", "", "TB"},
       u"yes",
       "A\nTA\nB\nTB\n\n"},
  };
  for (const Case& test : cases) {
    const std::string source = Make("source.docx", Paragraphs(test.source));
    const std::string target = Make("target.docx", Paragraphs(test.target));
    Run(source, target, test.allowSame);
    EXPECT_EQ(Result(source), test.expected) << test.what;
  }
}

TEST_F(InterleaveParagraphsTest, TheTargetKeepsItsFormattingAndAPageBreakInFrontGoes) {
  const std::string source = Make("source.docx", Paragraphs({"Source one", "Source two"}));
  const std::string target = Make("target.docx", R"PY(
p = d.add_paragraph()
p.paragraph_format.left_indent = Pt(36)
p.add_run('blue ').font.color.rgb = RGBColor(0, 0, 0xFF)
p.add_run('plain')
p = d.add_paragraph()
p.add_run().add_break(WD_BREAK.PAGE)
p.add_run('after a break')
)PY");
  Run(source, target);
  EXPECT_EQ(
      Result(source, R"PY(
for p in d.paragraphs:
    print(p.text, p.paragraph_format.left_indent, '|'.join(color_of(r) for r in p.runs if r.text))
print(len(d.element.xpath('//w:br[@w:type="page"]')))
)PY"),
      "Source one None auto\nblue plain 457200 0000FF|auto\nSource two None auto\nafter a break None auto\n"
      " None \n0\n");
}

TEST_F(InterleaveParagraphsTest, TableCellsGetTheirTargetInANewParagraphOfTheCell) {
  const std::string script = R"PY(
d.add_paragraph('{0} before')
t = d.add_table(rows=1, cols=2)
t.cell(0, 0).text = '{0} cell one'
t.cell(0, 1).text = '{0} cell two'
d.add_paragraph('{0} after')
)PY";
  auto with = [&](const char* side) {
    std::string filled = script;
    for (size_t at; (at = filled.find("{0}")) != std::string::npos;) filled.replace(at, 3, side);
    return filled;
  };
  const std::string source = Make("source.docx", with("S"));
  const std::string target = Make("target.docx", with("T"));
  const Text window = Run(source, target);
  EXPECT_TRUE(
      window.starts_with(u"S before\r\nT before\r\n\r\nS cell one\r\nT cell one\r\n\r\n"
                         u"S cell two\r\nT cell two\r\n\r\nS after\r\nT after\r\n\r\n"))
      << ToUtf8(window);
  EXPECT_EQ(Result(source, R"PY(
print([p.text for p in d.paragraphs])
print([[p.text for p in c.paragraphs] for c in d.tables[0].rows[0].cells])
)PY"),
            "['S before', 'T before', 'S after', 'T after', '']\n"
            "[['S cell one', 'T cell one'], ['S cell two', 'T cell two']]\n");
}

TEST_F(InterleaveParagraphsTest, MissingFilesAndACopyThatWouldReplaceTheTarget) {
  const std::string source = Make("a.docx", Paragraphs({"one"}));
  TestPrompts prompts{u"11"};
  Text list = FromUtf8(source) + u"\r\n" + FromUtf8(folder_.path()) + u"/missing.docx\r\n";
  const Text before = list;
  TaskContext context;
  context.workingText = &list;
  WordProcessing(context);
  EXPECT_EQ(list, before);
  EXPECT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.dialogs().back().caption, u"The file does not exist !");

  const std::string target = Make("a.bak.docx", Paragraphs({"target"}));
  std::string targetBytes;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(target), targetBytes));
  TestPrompts again{u"11"};
  list = FromUtf8(source) + u"\r\n" + FromUtf8(target) + u"\r\n";
  WordProcessing(context);
  ASSERT_EQ(again.Messages().size(), 1u);
  EXPECT_TRUE(again.Messages()[0].ends_with(u"would replace the source or the target file."));
  std::string after;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(target), after));
  EXPECT_EQ(after, targetBytes);
}

// A source whose theme is damaged: a wrong checksum is mended in the copy and named in the report; data
// that cannot be read whole leave no copy behind, and the message names the part.
TEST_F(InterleaveParagraphsTest, ADamagedPartOfTheSourceIsNamedAndNeverPassedOn) {
  const std::string target = Make("target.docx", Paragraphs({"目标"}));
  struct Case {
    const char* what;
    void (*damage)(std::string&, const std::string&);
    bool written;
  } cases[] = {
      {"wrong checksum", test::ForgeChecksum, true},
      {"short data",
       [](std::string& zip, const std::string& name) { test::ForgeUnpackedSize(zip, name, 1u << 20); },
       false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const std::string source = Make("damaged.docx", Paragraphs({"Source"}));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(FromUtf8(source), bytes));
    test.damage(bytes, "word/theme/theme1.xml");
    ASSERT_TRUE(WriteFileBytesAtomically(FromUtf8(source), bytes));
    const Text copy = CombinedDocumentPath(FromUtf8(source));

    TestPrompts prompts{u"11", u"yes"};
    Text list = FromUtf8(source) + u"\r\n" + FromUtf8(target) + u"\r\n";
    TaskContext context;
    context.workingText = &list;
    WordProcessing(context);
    if (test.written) {
      EXPECT_TRUE(list.ends_with(u"check them:\r\n" + copy + u": word/theme/theme1.xml\r\n")) << ToUtf8(list);
      EXPECT_EQ(Result(source), "Source\n目标\n\n");
      continue;
    }
    EXPECT_FALSE(FileExists(copy, false)) << "the source's damaged bytes were left as the copy";
    ASSERT_FALSE(prompts.Messages().empty());
    EXPECT_TRUE(prompts.Messages().back().starts_with(
        copy + u"\r\nThe document could not be written: damaged part word/theme/theme1.xml: "))
        << ToUtf8(prompts.Messages().back());
  }
}

// Documents with a text box, saved by LibreOffice.
class InterleaveTextBoxesTest : public InterleaveParagraphsTest {
 protected:
  std::string MakeWithTextBox(const std::string& name, const std::string& body,
                              const std::vector<std::string>& boxes) {
    std::string frames;
    for (size_t i = 0; i < boxes.size(); ++i)
      frames += "<text:p>" + body + " " + std::to_string(i + 1) + "<draw:frame draw:name=\"Box" +
                std::to_string(i + 1) +
                "\" text:anchor-type=\"paragraph\" svg:width=\"6cm\" svg:height=\"2cm\"><draw:text-box>" +
                boxes[i] + "</draw:text-box></draw:frame></text:p>";
    const std::string flat =
        R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:body><office:text>)" +
        frames + "</office:text></office:body></office:document>";
    const std::string stem = name.substr(0, name.find('.'));
    folder_.WriteBytes(stem + ".fodt", flat);
    const std::optional<std::string> docx = test::OfficeExport(folder_.path() + "/" + stem + ".fodt", "docx");
    EXPECT_TRUE(docx);
    folder_.WriteBytes(name, docx.value_or(""));
    return folder_.path() + "/" + name;
  }
};

TEST_F(InterleaveTextBoxesTest, TextBoxesArePairedInOrder) {
  SKIP_WITHOUT_OFFICE();
  const std::string source = MakeWithTextBox(
      "source.docx", "Body S", {"<text:p>Box S1</text:p><text:p>Box S2</text:p>", "<text:p>Lone S</text:p>"});
  const std::string target =
      MakeWithTextBox("target.docx", "Body T", {"<text:p>Box T1</text:p><text:p>Box T2</text:p>"});
  const Text window = Run(source, target);
  EXPECT_TRUE(
      window.starts_with(u"Body S 1\r\nBody T 1\r\n\r\nBox S1\r\nBox T1\r\n\r\nBox S2\r\nBox T2\r\n\r\n"))
      << ToUtf8(window);
  EXPECT_EQ(Result(source, R"PY(
for box in d.element.xpath('//*[local-name()="txbxContent" and not(ancestor::*[local-name()="Fallback"])]'):
    print([''.join(t.text for t in p.xpath('.//*[local-name()="t"]')) for p in box.xpath('./*[local-name()="p"]')])
)PY"),
            "['Box S1', 'Box T1', 'Box S2', 'Box T2', '']\n['Lone S', '']\n");
  const std::optional<std::string> flat =
      test::OfficeExport(ToUtf8(CombinedDocumentPath(FromUtf8(source))), "fodt");
  ASSERT_TRUE(flat) << "LibreOffice opens the result";
  EXPECT_NE(flat->find("Box T2"), std::string::npos);
  EXPECT_NE(flat->find("Body T 1"), std::string::npos);
}

}  // namespace
}  // namespace scrivano
