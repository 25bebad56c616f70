#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "settings/ParameterStore.h"
#include "support/TestPrompts.h"
#include "support/WordFixtures.h"
#include "toolkit/TextFiles.h"
#include "word/ParagraphOptions.h"
#include "word/ParagraphWalk.h"
#include "word/WordProcessing.h"

namespace scrivano {
namespace {

using test::ReadDocx;
using test::TestPrompts;

// python3-docx: one paragraph per line of the table. A line may carry settings after "|": "i=18" left
// indent in points, "s=14" font size, "b" a soft return in place of each "/" of the text.
std::string Script(std::initializer_list<const char*> lines) {
  std::string script;
  for (const char* line : lines) {
    std::string text = line, settings;
    if (const size_t bar = text.find('|'); bar != std::string::npos) {
      settings = text.substr(bar + 1);
      text.resize(bar);
    }
    script += "p = d.add_paragraph()\n";
    std::string piece;
    auto flush = [&](bool softReturn) {
      script += "r = p.add_run('" + piece + "')\n";
      if (settings.find("s=") != std::string::npos)
        script += "r.font.size = Pt(" + settings.substr(settings.find("s=") + 2, 2) + ")\n";
      if (softReturn) script += "r.add_break()\n";
      piece.clear();
    };
    for (const char ch : text) {
      if (ch == '/' && settings.find('b') != std::string::npos)
        flush(true);
      else
        piece += ch;
    }
    flush(false);
    if (settings.find("i=") != std::string::npos)
      script += "p.paragraph_format.left_indent = Pt(" + settings.substr(settings.find("i=") + 2, 2) + ")\n";
  }
  return script;
}

// Each paragraph of a document: its text (soft returns as "/") and, when set, its first-line indent in
// hundredths of a character after "@".
constexpr char kParagraphsWithIndent[] = R"PY(
for p in d.paragraphs:
    ind = p._p.pPr.find(qn('w:ind')) if p._p.pPr is not None else None
    chars = ind.get(qn('w:firstLineChars')) if ind is not None else None
    print(p.text.replace('\n', '/') + ('@' + chars if chars else ''))
)PY";

class ParagraphOptionsTest : public test::DocxTest {
 protected:
  void TearDown() override { TheWordConnection().ReleaseWord(); }

  // Runs entry 17 with the answers on the file; returns the review copy's paragraphs ("" when none was
  // written) and leaves no copy behind.
  std::string RunOption(const std::string& path, std::initializer_list<Text> answers,
                        const char* reader = kParagraphsWithIndent) {
    TestPrompts prompts(answers);
    test::SetParameter(Param::kWordMarker1, marker1_);
    test::SetParameter(Param::kWordMarker2, marker2_);
    test::SetParameter(Param::kHighlightPhrases, phrases_);
    Text list = FromUtf8(path) + u"\r\n";
    TaskContext context;
    context.workingText = &list;
    WordProcessing(context);
    report_ = list;
    dialogs_ = prompts.dialogs();
    EXPECT_EQ(prompts.AnswersLeft(), 0u);
    const Text copy = ReviewCopyPath(FromUtf8(path));
    if (!FileExists(copy, false)) return "";
    const std::string result = ReadDocx(ToUtf8(copy), reader);
    std::filesystem::remove(ToUtf8(copy));
    return result;
  }

  Text marker1_, marker2_, phrases_;
  Text report_;
  std::vector<test::Dialog> dialogs_;
};

struct Case {
  const char* what;
  std::string script;
  std::string expected;  // the review copy's paragraphs; "" when no copy is to be written
};

TEST_F(ParagraphOptionsTest, Option3_JoinsLinesThatContinueTheOneBefore) {
  const Case cases[] = {
      {"same size and indent", Script({"The quick brown", "fox jumps", "over the dog"}),
       "The quick brown fox jumps over the dog\n"},
      {"never across an empty paragraph: unchanged", Script({"first line", "", "second line"}), ""},
      {"never across a one-character paragraph: unchanged", Script({"first line", "x", "second line"}), ""},
      {"a paragraph indented further is not joined", Script({"first line", "quoted|i=36", "next|i=36"}),
       "first line\nquoted next\n"},
      {"a less indented one is", Script({"indented|i=36", "back"}), "indented back\n"},
      {"another font size is not joined", Script({"heading|s=16", "body text|s=11", "more text|s=11"}),
       "heading\nbody text more text\n"},
      {"a short paragraph that begins with a digit starts no run",
       Script({"1 Intro", "text one", "text two"}), "1 Intro\ntext one text two\n"},
  };
  for (const Case& test : cases) {
    const std::string path = Make("lines.docx", test.script);
    EXPECT_EQ(RunOption(path, {u"3", u"yes"}), test.expected) << test.what;
  }
  ASSERT_EQ(dialogs_.size(), 2u);
  EXPECT_EQ(dialogs_[1].kind, test::Dialog::Kind::kYesNo);
  EXPECT_EQ(dialogs_[1].text, u"Connect broken lines with Space? (If No, with nothing.)");
  EXPECT_EQ(dialogs_[1].caption, u"lines.docx") << "the file's name is the caption";
}

TEST_F(ParagraphOptionsTest, Option3_NoJoinsWithNothingAndKeepsMarkerAndCellBoundaries) {
  EXPECT_EQ(RunOption(Make("no.docx", Script({"中文断", "开的行"})), {u"3", u"no"}), "中文断开的行\n");

  marker1_ = u"<A>";
  marker2_ = u"<Z>";
  EXPECT_EQ(RunOption(Make("markers.docx", Script({"outside one", "outside two", "<A>", "inside one",
                                                   "inside two", "<Z>", "after"})),
                      {u"3", u"yes"}),
            "outside one\noutside two\n<A>\ninside one inside two\n<Z>\nafter\n");
  marker1_ = marker2_ = u"";

  const std::string table = Make("table.docx", R"PY(
d.add_paragraph('before the table')
t = d.add_table(rows=1, cols=2)
t.cell(0, 0).text = 'cell line one'
t.cell(0, 0).add_paragraph('cell line two')
t.cell(0, 1).text = 'next cell'
d.add_paragraph('after the table')
)PY");
  EXPECT_EQ(RunOption(table, {u"3", u"yes"}, R"PY(
print([p.text for p in d.paragraphs])
print([[p.text for p in c.paragraphs] for c in d.tables[0].rows[0].cells])
)PY"),
            "['before the table', 'after the table']\n[['cell line one cell line two'], ['next cell']]\n")
      << "joined inside a cell only";
}

TEST_F(ParagraphOptionsTest, Option4_CopiesEachParagraphAfterTheSeparator) {
  const std::string script = Script({"Hello world", "abc", "  ab  ", "你好世界"});
  EXPECT_EQ(RunOption(Make("hard.docx", script), {u"4", u"1. Hard Return"}),
            "Hello world\nHello world\nabc\n  ab  \n你好世界\n你好世界\n");
  EXPECT_EQ(dialogs_[1].text, u"Please set a separator: ");
  EXPECT_EQ(dialogs_[1].options, (std::vector<Text>{u"1. Hard Return", u"2. Soft Return", u"3. Spaces"}));
  EXPECT_EQ(RunOption(Make("soft.docx", script), {u"4", u"2"}),
            "Hello world/Hello world\nabc\n  ab  \n你好世界/你好世界\n");
  EXPECT_EQ(RunOption(Make("spaces.docx", script), {u"4", u"3"}),
            "Hello world   Hello world\nabc\n  ab  \n你好世界   你好世界\n");

  const std::string table = Make("table.docx", R"PY(
t = d.add_table(rows=1, cols=2)
t.cell(0, 0).text = 'cell text'
t.cell(0, 1).text = 'ab'
)PY");
  EXPECT_EQ(RunOption(table, {u"4", u"1"}, R"PY(
print([[p.text for p in c.paragraphs] for c in d.tables[0].rows[0].cells])
)PY"),
            "[['cell text', 'cell text'], ['ab']]\n");
}

TEST_F(ParagraphOptionsTest, Option4_AWrongOrCancelledSeparatorLeavesTheFileAlone) {
  const std::string path = Make("wrong.docx", Script({"Hello world"}));
  EXPECT_EQ(RunOption(path, {u"4", u"7"}), "");
  ASSERT_EQ(dialogs_.size(), 3u);
  EXPECT_EQ(dialogs_[2].text, u"Wrong operation number!");
  EXPECT_EQ(dialogs_[2].caption, u"Notice");
  EXPECT_TRUE(report_.ends_with(u"No document was changed.\r\n")) << ToUtf8(report_);
  EXPECT_EQ(RunOption(path, {u"4", u"<cancel>"}), "");
  EXPECT_EQ(dialogs_.size(), 2u);
}

TEST_F(ParagraphOptionsTest, Option5_KeepsTheTargetAfterTheLastSoftReturnInTheFirst84Percent) {
  const Case cases[] = {
      {"source, soft return, target: the target is indented", Script({"The source text/目标文本在这里|b"}),
       "目标文本在这里@200\n"},
      {"the last soft return counts", Script({"one/two/three and the target|b"}),
       "three and the target@200\n"},
      {"a soft return after the first 84 %: unchanged", Script({"a long source sentence here/x|b"}), ""},
      {"a soft return as the first character: unchanged", Script({"/target only|b"}), ""},
      {"a short target indented further than the one before keeps its indent",
       Script({"src one/target one|b", "src two/tgt two|b,i=36"}), "target one@200\ntgt two\n"},
  };
  for (const Case& test : cases) {
    const std::string path = Make("soft.docx", test.script);
    EXPECT_EQ(RunOption(path, {u"5"}), test.expected) << test.what;
  }
}

TEST_F(ParagraphOptionsTest, Options5And6_RemoveTheMarkerParagraphs) {
  marker1_ = u"[[";
  marker2_ = u"]]";
  EXPECT_EQ(
      RunOption(Make("five.docx", Script({"outside/kept|b", "[[", "source/target text|b", "]]", "end"})),
                {u"5"}),
      "outside/kept\ntarget text@200\nend\n");
  EXPECT_EQ(RunOption(Make("six.docx", Script({"outside", "[[", "source", "target", "]]", "after"})), {u"6"}),
            "outside\ntarget@200\nafter\n");
  marker2_ = u"missing";
  EXPECT_EQ(RunOption(Make("whole.docx", Script({"[[", "source", "target", "end"})), {u"6"}),
            "source@200\nend@200\n")
      << "without both markers the whole document is processed, the marker paragraph as a source";
}

TEST_F(ParagraphOptionsTest, Option6_DeletesSourceParagraphsAroundPicturesAndEmptyLines) {
  const std::string path = Make("pairs.docx", R"PY(
d.add_paragraph('Source one')
d.add_paragraph('Target one')
d.add_paragraph().add_run().add_picture(picture(), width=Inches(0.2))
d.add_paragraph('')
d.add_paragraph('Source two')
p = d.add_paragraph('Target two, indented further')
p.paragraph_format.left_indent = Pt(36)
p = d.add_paragraph('Source three')
p = d.add_paragraph('A target longer than thirty characters, indented less')
)PY");
  EXPECT_EQ(RunOption(path, {u"6"}, R"PY(
for p in d.paragraphs:
    ind = p._p.pPr.find(qn('w:ind')) if p._p.pPr is not None else None
    print(p.text, len(p._p.xpath('.//w:drawing')), ind.get(qn('w:firstLineChars')) if ind is not None else '-')
)PY"),
            "Target one 0 200\n 1 -\n 0 -\nTarget two, indented further 0 None\n"
            "A target longer than thirty characters, indented less 0 200\n");
}

TEST_F(ParagraphOptionsTest, Option6_TheIndentIsOneLibreOfficeShows) {
  SKIP_WITHOUT_OFFICE();
  const std::string path = Make("shown.docx", Script({"Source", "Target"}));
  TestPrompts prompts{u"6"};
  Text list = FromUtf8(path) + u"\r\n";
  TaskContext context;
  context.workingText = &list;
  WordProcessing(context);
  const std::optional<std::string> flat = test::OfficeExport(ToUtf8(ReviewCopyPath(FromUtf8(path))), "fodt");
  ASSERT_TRUE(flat);
  // The template's own indents are zero or hanging; only the target's is positive.
  bool positive = false;
  const std::string attribute = "fo:text-indent=\"";
  for (size_t at = flat->find(attribute); at != std::string::npos; at = flat->find(attribute, at + 1))
    positive = positive || std::atof(flat->c_str() + at + attribute.size()) > 0.2;
  EXPECT_TRUE(positive) << "LibreOffice shows no first-line indent";
}

TEST_F(ParagraphOptionsTest, Option9_ColoursNumbersAndThePhrasesOfParameter20) {
  phrases_ = u"alpha\tbeta";
  const std::string path =
      Make("numbers.docx",
           Script({"Up 12.5% on 3 May, - then 2024-01 and --", "x", "alpha and beta but not alphabet"}));
  EXPECT_EQ(RunOption(path, {u"9"}, R"PY(
for p in d.paragraphs:
    print('|'.join(r.text for r in p.runs if color_of(r) == '0000FF'))
)PY"),
            "12.5%|3|2024-01|--\n\nalpha|beta\n");
}

TEST_F(ParagraphOptionsTest, Option9_OnlyInsideTheMarkerRegion) {
  marker1_ = u"<A>";
  marker2_ = u"<Z>";
  const std::string path = Make("region.docx", Script({"before 1", "<A>", "inside 2", "<Z>", "after 3"}));
  EXPECT_EQ(RunOption(path, {u"9"}, R"PY(
print('|'.join(r.text for p in d.paragraphs for r in p.runs if color_of(r) == '0000FF'))
)PY"),
            "2\n");
}

TEST_F(ParagraphOptionsTest, EveryOptionOnDocumentsSavedByLibreOffice) {
  SKIP_WITHOUT_OFFICE();
  struct Case {
    std::initializer_list<Text> answers;
    const char* name;
    std::string expected;  // the table's cells as python3-docx reads them
  } cases[] = {
      {{u"3", u"yes"}, "three", "A1 中文|B1 B1 second|A2|第二行B2\n"},
      {{u"4", u"1"}, "four", "A1 中文 A1 中文|B1 B1 second B1 second|A2|第二行B2 第二行B2\n"},
      {{u"5"}, "five", "A1 中文|B1 B1 second|A2|第二行B2\n"},
      {{u"6"}, "six", "A1 中文|B1 second||第二行B2\n"},
      {{u"9"}, "nine", "A1 中文|B1 B1 second|A2|第二行B2\n"},
  };
  std::vector<std::string> written;
  for (const Case& test : cases) {
    for (const char* fixture : {"table", "textbox"}) {
      const std::string path = folder_.path() + "/" + test.name + "-" + fixture + ".docx";
      std::filesystem::copy_file(test::FixturePath(std::string(fixture) + ".docx"), path);
      const std::string cells = RunOption(path, test.answers, R"PY(
for t in d.tables:
    print('|'.join(' '.join(p.text for p in c.paragraphs) for c in t.rows[0].cells + t.rows[1].cells))
)PY");
      if (std::string(fixture) == "table") {
        EXPECT_EQ(cells, test.expected) << test.name;
      }
    }
  }
  // LibreOffice opens every copy the options wrote (they are removed after reading: write them again).
  for (const Case& test : cases) {
    const std::string path = folder_.path() + "/" + test.name + "-table.docx";
    TestPrompts prompts(test.answers);
    Text list = FromUtf8(path) + u"\r\n";
    TaskContext context;
    context.workingText = &list;
    WordProcessing(context);
    if (FileExists(ReviewCopyPath(FromUtf8(path)), false))
      written.push_back(ToUtf8(ReviewCopyPath(FromUtf8(path))));
  }
  EXPECT_EQ(written.size(), 5u);
  for (const std::optional<std::string>& text : test::OfficeTexts(written)) EXPECT_TRUE(text);
}

TEST_F(ParagraphOptionsTest, Walk_PositionsAndRegionsFollowTheDocument) {
  const std::string path = Make("walk.docx", R"PY(
d.add_paragraph('before')
d.add_paragraph('<A>')
p = d.add_paragraph('soft')
p.runs[0].add_break()
p.add_run('\tbreak')
d.add_paragraph().add_run().add_picture(picture(), width=Inches(0.2))
t = d.add_table(rows=1, cols=2)
t.cell(0, 0).text = 'cell 中'
t.cell(0, 1).add_paragraph('second')
d.add_paragraph('<Z>')
d.add_paragraph('after')
)PY");
  TestPrompts prompts;
  WordConnection& word = TheWordConnection();
  word.markerText1 = MarkerText(u"<A>");
  word.markerText2 = MarkerText(u"<Z>");
  ASSERT_TRUE(OpenForOption(word, FromUtf8(path)));
  std::vector<std::tuple<Text, int, int, bool, bool>> seen;
  WalkRegionParagraphs(word, [&](WalkedParagraph& paragraph) {
    seen.emplace_back(paragraph.text, paragraph.start, paragraph.end, paragraph.cell, paragraph.follows);
    EXPECT_EQ(word.range->Start(), paragraph.start);
  });
  const std::vector<std::tuple<Text, int, int, bool, bool>> expected = {
      {u"soft\v\tbreak\r", 11, 22, false, false}, {u"\x01\r", 23, 24, false, true},
      {u"cell 中\r", 25, 31, true, true},         {u"\r", 32, 32, false, true},
      {u"second\r", 33, 39, true, true},          {u"\r", 40, 40, true, true}};
  EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace scrivano
