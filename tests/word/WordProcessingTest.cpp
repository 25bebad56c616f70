#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "settings/ParameterStore.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "support/WordFixtures.h"
#include "text/Pieces.h"
#include "toolkit/TextFiles.h"
#include "word/WordProcessing.h"

namespace scrivano {
namespace {

using test::ReadDocx;
using test::TempFolder;
using test::TestPrompts;

// python3-docx lines that add one paragraph per item.
std::string Paragraphs(std::initializer_list<const char*> texts) {
  std::string script;
  for (const char* text : texts) script += "d.add_paragraph('" + std::string(text) + "')\n";
  return script;
}

class WordProcessingTest : public test::DocxTest {
 protected:
  void TearDown() override { TheWordConnection().ReleaseWord(); }

  // Runs entry 17 on the list of paths; returns the working text it hands back.
  Text Run(const std::vector<std::string>& paths, int* processed = nullptr) {
    Text list;
    for (const std::string& path : paths) list += FromUtf8(path) + u"\r\n";
    TaskContext context;
    context.workingText = &list;
    WordProcessing(context);
    if (processed) *processed = context.processedCount;
    return list;
  }
  // The paragraphs of the review copy as python-docx reads them, one per line.
  std::string ReviewText(const std::string& path) {
    return ReadDocx(ToUtf8(ReviewCopyPath(FromUtf8(path))),
                    "print('\\n'.join(p.text for p in d.paragraphs))");
  }
  bool HasReviewCopy(const std::string& path) { return FileExists(ReviewCopyPath(FromUtf8(path)), false); }
};

TEST_F(WordProcessingTest, Menu_CancelWrongNumberAndFullOptionText) {
  const std::string path = Make("a.docx", Paragraphs({"x"}));
  {
    TestPrompts prompts{u"<cancel>"};
    EXPECT_EQ(Run({path}), FromUtf8(path) + u"\r\n");
    ASSERT_EQ(prompts.dialogs().size(), 1u);
    EXPECT_EQ(prompts.dialogs()[0].text, u"Please select an option:");
    ASSERT_EQ(prompts.dialogs()[0].options.size(), 11u);
    EXPECT_EQ(prompts.dialogs()[0].options[10],
              u"11. Source file + target file -> source || target file (paragraph by paragraph)");
  }
  {
    TestPrompts prompts{u"12"};
    EXPECT_EQ(Run({path, path}), FromUtf8(path) + u"\r\n" + FromUtf8(path) + u"\r\n");
    EXPECT_EQ(prompts.Messages(),
              (std::vector<Text>{u"Wrong operation number!", u"Wrong operation number!"}));
    EXPECT_EQ(prompts.dialogs()[1].caption, u"Notice");
  }
  {
    // The chosen option's full text counts by its number: option 5, which finds nothing to delete here.
    TestPrompts prompts{u"5. Delete source in paragraph (source + Soft Return + target -> target)"};
    EXPECT_TRUE(Run({path, path}).ends_with(u"No document was changed.\r\n"));
    EXPECT_TRUE(prompts.Messages().empty());
  }
  {
    TestPrompts prompts{u"1"};
    Text empty;
    TaskContext context;
    context.workingText = &empty;
    WordProcessing(context);
    EXPECT_EQ(prompts.dialogs().size(), 1u) << "only the menu";
    EXPECT_FALSE(HasReviewCopy(path));
  }
}

// A prompt handler that starts Word processing again from inside the menu of the first run.
class ReenteringPrompts : public PromptHandler {
 public:
  bool AskSelection(Text& promptText, float, bool) override {
    ++asked;
    if (asked == 1) {
      Text list;
      TaskContext context;
      context.workingText = &list;
      WordProcessing(context);
    }
    promptText = u"<cancel>";
    return false;
  }
  int ShowBox(const MessageRequest&) override { return kResultOk; }
  int asked = 0;
};

TEST_F(WordProcessingTest, Busy_ASecondRunReturnsAtOnce) {
  ReenteringPrompts prompts;
  SetPromptHandler(&prompts);
  Text list;
  TaskContext context;
  context.workingText = &list;
  WordProcessing(context);
  SetPromptHandler(nullptr);
  EXPECT_EQ(prompts.asked, 1) << "the run started while one was active showed no menu";
  // The flag is cleared again: a later run asks.
  TestPrompts later{u"<cancel>"};
  WordProcessing(context);
  EXPECT_EQ(later.dialogs().size(), 1u);
}

TEST_F(WordProcessingTest, Option1_SpacesWhereChineseAndEnglishTouch) {
  struct Case {
    const char* what;
    std::string script;
    std::string expected;  // the review copy's paragraphs; empty: no copy is written
  } cases[] = {
      {"each pair everywhere", Paragraphs({"ab中c", "x中", "中c中c"}), "ab 中 c\nx 中\n中 c 中 c\n"},
      {"ASCII only: nothing changes", Paragraphs({"all ASCII, 12 & more"}), ""},
      {"a space already there", Paragraphs({"a 中 b", "中 c"}), ""},
      {"full-width punctuation counts as Chinese", Paragraphs({"（COVID-19）病毒"}), "（ COVID-19 ）病毒\n"},
      {"every letter stays as it was: each pair in its own case",
       Paragraphs({"用Linux系统", "用log文件", "“And”, “and”", "Часть and часть", "OR或or"}),
       "用 Linux 系统\n用 log 文件\n“ And ” , “ and ”\nЧасть and часть\nOR 或 or\n"},
      {"a symbol-font character (a form's check box) is neither",
       "p = d.add_paragraph()\nfor label in ['是', 'Yes']:\n    s = OxmlElement('w:sym')\n"
       "    s.set(qn('w:font'), 'Wingdings 2')\n    s.set(qn('w:char'), 'F0A3')\n    "
       "p.add_run()._r.append(s)\n"
       "    p.add_run(label)\n",
       ""},
  };
  for (const Case& test : cases) {
    TestPrompts prompts{u"1"};
    const std::string path = Make("spaces.docx", test.script);
    const Text report = Run({path});
    EXPECT_TRUE(prompts.Messages().empty()) << test.what;
    if (test.expected.empty()) {
      EXPECT_FALSE(HasReviewCopy(path)) << test.what;
      EXPECT_TRUE(report.ends_with(u"No document was changed.\r\n")) << test.what;
    } else {
      EXPECT_EQ(ReviewText(path), test.expected) << test.what;
      EXPECT_TRUE(
          report.ends_with(u"(the originals are unchanged):\r\n" + ReviewCopyPath(FromUtf8(path)) + u"\r\n"))
          << ToUtf8(report);
    }
    std::filesystem::remove(ToUtf8(ReviewCopyPath(FromUtf8(path))));
  }
}

TEST_F(WordProcessingTest, Option1_KeepsFormattingAndLeavesTableCellsAndTheOriginalAlone) {
  const std::string path = Make("table.docx", R"PY(
p = d.add_paragraph('Say ')
p.add_run('你好').font.color.rgb = RGBColor(0xFF, 0, 0)
p.add_run('now')
t = d.add_table(rows=1, cols=2)
t.cell(0, 0).text = 'Hello'
t.cell(0, 1).text = '你好'
)PY");
  std::string original;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(path), original));
  TestPrompts prompts{u"1"};
  int processed = -1;
  Run({path}, &processed);
  EXPECT_EQ(processed, 24) << "the length of the document's text";
  const std::string copy = ToUtf8(ReviewCopyPath(FromUtf8(path)));
  EXPECT_EQ(ReadDocx(copy, R"PY(
print('|'.join(r.text + '=' + color_of(r) for r in d.paragraphs[0].runs))
print([c.text for c in d.tables[0].rows[0].cells])
)PY"),
            "Say =auto|你好 =FF0000|now=auto\n['Hello', '你好']\n")
      << "no space goes in front of a cell that begins with Chinese after an English cell";
  std::string after;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(path), after));
  EXPECT_EQ(after, original);
}

// A copy that cannot be written is named with the reason, and the report lists it as not written.
TEST_F(WordProcessingTest, ReviewCopyNotWritten_SaysWhichFileAndWhy) {
  struct Case {
    const char* what;
    bool folderInTheWay;
    const char16_t* why;
  } cases[] = {
      {"a folder where the copy goes", true, u"a folder of that name is in the way."},
      {"a read-only folder", false, u"its folder is read-only (no permission to write there)."},
  };
  for (const Case& test : cases) {
    if (!test.folderInTheWay && ::geteuid() == 0) continue;  // permissions do not hold for root
    TempFolder folder;
    const std::string path = folder.path() + "/mixed.docx";
    test::MakeDocx(path, Paragraphs({"ab中c"}));
    const Text copy = ReviewCopyPath(FromUtf8(path));
    if (test.folderInTheWay)
      std::filesystem::create_directory(ToUtf8(copy));
    else
      std::filesystem::permissions(folder.path(),
                                   std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    TestPrompts prompts{u"1"};
    const Text report = Run({path});
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
    ASSERT_EQ(prompts.Messages().size(), 1u) << test.what;
    EXPECT_EQ(prompts.dialogs()[1].caption, u"Can not open the file!") << test.what;
    EXPECT_EQ(prompts.Messages()[0], copy + u"\r\nThe review copy could not be written: " + test.why)
        << test.what;
    EXPECT_TRUE(report.ends_with(
        u"\r\nReview copies NOT written (the changes to these documents are lost):\r\n" + copy + u"\r\n"))
        << ToUtf8(report);
    EXPECT_FALSE(Contains(report, u"No document was changed.")) << test.what;
  }
}

TEST_F(WordProcessingTest, Option8_KeepsWhatLiesBetweenTheMarkers) {
  struct Case {
    const char* what;
    std::string script;
    std::string expected;  // empty: no copy is written
  } cases[] = {
      {"two pairs", Paragraphs({"drop", "[s]", "keep 1", "[e]", "drop", "[S]", "keep 2", "[e]", "drop"}),
       "keep 1\nkeep 2\n\n"},
      {"marker 2 before the first marker 1: everything goes", Paragraphs({"a", "[e]", "b", "[s]", "c"}),
       "\n"},
      {"no marker 2 in the document: unchanged", Paragraphs({"a", "[s]", "b"}), ""},
      {"markers out of order still end", Paragraphs({"[s]", "a", "[s]", "b", "[e]", "c"}), "a\n[s]\nb\n\n"},
  };
  for (const Case& test : cases) {
    TestPrompts prompts{u"8"};
    test::SetParameter(Param::kWordMarker1, u"[s]");
    test::SetParameter(Param::kWordMarker2, u"[e]");
    const std::string path = Make("filter.docx", test.script);
    Run({path});
    if (test.expected.empty())
      EXPECT_FALSE(HasReviewCopy(path)) << test.what;
    else
      EXPECT_EQ(ReviewText(path), test.expected) << test.what;
    std::filesystem::remove(ToUtf8(ReviewCopyPath(FromUtf8(path))));
  }
}

// After the deletion nothing refers to what it took: no empty content control, no bookmark without its
// end, and the kept last paragraph has no bullet it did not have.
TEST_F(WordProcessingTest, Option8_LeavesNothingThatRefersToDeletedContent) {
  TestPrompts prompts{u"8"};
  test::SetParameter(Param::kWordMarker1, u"M1");
  test::SetParameter(Param::kWordMarker2, u"M2");
  const std::string path = Make("controls.docx", R"PY(
from docx.oxml import parse_xml
from docx.oxml.ns import nsdecls
d.add_paragraph('intro')._p.addnext(parse_xml('<w:sdt %s><w:sdtPr><w:dropDownList><w:listItem w:value="a"/></w:dropDownList>'
    '</w:sdtPr><w:sdtContent><w:p><w:r><w:t>stale value</w:t></w:r></w:p></w:sdtContent></w:sdt>' % nsdecls('w')))
d.add_paragraph('M1')
p = d.add_paragraph()
p._p.append(parse_xml('<w:bookmarkStart %s w:id="1" w:name="across"/>' % nsdecls('w')))
p.add_run('keep 1')
d.add_paragraph('M2')
p = d.add_paragraph('gone')
p._p.append(parse_xml('<w:bookmarkEnd %s w:id="1"/>' % nsdecls('w')))
d.add_paragraph('M1')
d.add_paragraph('keep 2')
d.add_paragraph('M2')
d.add_paragraph('last item', style='List Bullet')
)PY");
  Run({path});
  const std::string copy = ToUtf8(ReviewCopyPath(FromUtf8(path)));
  EXPECT_EQ(ReadDocx(copy, R"PY(
body = d.element.body
print([p.text for p in d.paragraphs])
print(len(body.findall('.//' + qn('w:sdt'))), len(body.findall('.//' + qn('w:bookmarkStart'))),
      len(body.findall('.//' + qn('w:bookmarkEnd'))))
print(d.paragraphs[-1].style.name, d.paragraphs[-1]._p.pPr is not None and d.paragraphs[-1]._p.pPr.numPr is not None)
)PY"),
            "['keep 1', 'keep 2', '']\n0 0 0\nNormal False\n");
  if (test::HaveOffice()) {
    EXPECT_EQ(test::OfficeText(copy), "keep 1\nkeep 2\n\n");
  }
}

TEST_F(WordProcessingTest, EmptyMarkerParameters_AreNoMarkers) {
  EXPECT_EQ(MarkerText(u""), u"");
  EXPECT_EQ(MarkerText(u"<m>"), u"<m>\r");
  // A bare paragraph mark as marker would match every paragraph and cut the document up.
  TestPrompts prompts{u"8"};
  const std::string path = Make("plain.docx", Paragraphs({"one", "two", "three"}));
  Run({path});
  EXPECT_FALSE(HasReviewCopy(path));
}

TEST_F(WordProcessingTest, Option10_RemovesNumericTagsAndFlagsTheOthers) {
  TestPrompts prompts{u"10"};
  const std::string tags = Make("tags.docx", Paragraphs({"{12}one{a}two{12}", "{}three{0}"}));
  const std::string open = Make("open.docx", Paragraphs({"{1}ok {2 not closed", "more"}));
  Run({tags, open});
  EXPECT_EQ(prompts.Messages(), (std::vector<Text>{u"Wrong format found!", u"Wrong format found!"}));
  EXPECT_EQ(ReviewText(tags), "one{a}two\nthree\n");
  EXPECT_EQ(ReadDocx(ToUtf8(ReviewCopyPath(FromUtf8(tags))),
                     "print('|'.join(r.text + '=' + color_of(r) for r in d.paragraphs[0].runs))"),
            "one=auto|{a}=0000FF|two=auto\n");
  EXPECT_EQ(ReadDocx(ToUtf8(ReviewCopyPath(FromUtf8(open))),
                     "print('|'.join(r.text + '=' + color_of(r) for p in d.paragraphs for r in p.runs))"),
            "ok =auto|{2 not closed=0000FF|more=0000FF\n")
      << "an unclosed tag is coloured to the end";
}

// A footnote reference is a character: the braces around it hold no number tag.
TEST_F(WordProcessingTest, Option10_AFootnoteReferenceInsideBracesIsNoTag) {
  TestPrompts prompts{u"10"};
  const std::string path = Make("note.docx", R"PY(
p = d.add_paragraph('{4')
r = p.add_run()
ref = OxmlElement('w:footnoteReference')
ref.set(qn('w:id'), '1')
r._r.append(ref)
p.add_run('2} and {7}')
)PY");
  Run({path});
  EXPECT_EQ(prompts.Messages(), (std::vector<Text>{u"Wrong format found!"}));
  EXPECT_EQ(ReviewText(path), "{42} and \n") << "the reference stays; python-docx shows no text for it";
}

}  // namespace
}  // namespace scrivano
