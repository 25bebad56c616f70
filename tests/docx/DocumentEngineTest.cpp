#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "docx/DocumentEngine.h"
#include "support/TempFolder.h"
#include "support/WordFixtures.h"
#include "toolkit/TextFiles.h"

namespace scrivano::word {
namespace {

using test::FixturePath;
using test::OfficeText;
using test::ReadDocx;
using test::TempFolder;

// A document with the kinds of content the engine maps to positions: runs, breaks, a picture, a table.
constexpr char kMixedScript[] = R"PY(
p = d.add_paragraph()
r = p.add_run('Red 红色 ')
r.font.color.rgb = RGBColor(0xFF, 0, 0)
r.font.size = Pt(14)
p.add_run('plain\tafter tab')
p = d.add_paragraph('line one')
p.runs[0].add_break()
p.add_run('line two')
p.add_run().add_break(WD_BREAK.PAGE)
p.add_run('next page 下一页')
d.add_paragraph().add_run().add_picture(picture(), width=Inches(0.3))
t = d.add_table(rows=2, cols=2)
t.cell(0, 0).text = 'A1 中'
t.cell(0, 1).text = 'B1'
t.cell(1, 0).text = 'A2'
t.cell(1, 1).add_paragraph('B2 second')
d.add_paragraph('End 结束')
)PY";

constexpr char16_t kMixedText[] =
    u"Red 红色 plain\tafter tab\r"
    u"line one\vline two\fnext page 下一页\r"
    u"\x01\r"
    u"A1 中\r\aB1\r\a\r\aA2\r\a\rB2 second\r\a\r\a"
    u"End 结束\r";

class DocumentEngineTest : public test::DocxTest {
 protected:
  std::shared_ptr<Document> Open(const std::string& path) {
    std::shared_ptr<Document> document = application_->Documents()->Open(FromUtf8(path));
    EXPECT_TRUE(document) << path;
    return document;
  }
  std::string Save(const std::shared_ptr<Document>& document, const std::string& name) {
    const std::string path = folder_.path() + "/" + name;
    EXPECT_TRUE(document->SaveAs(FromUtf8(path)));
    return path;
  }

  std::shared_ptr<Application> application_ = Application::Create();
};

TEST_F(DocumentEngineTest, Content_TextAndPositionsOfAnIndependentDocument) {
  const auto document = Open(Make("mixed.docx", kMixedScript));
  const auto content = document->Content();
  EXPECT_EQ(content->Text(), kMixedText);
  // Cell and row marks show as two characters but take one position each: 6 of them here.
  EXPECT_EQ(content->End(), static_cast<int>(Text(kMixedText).size()) - 6);
  EXPECT_EQ(document->Paragraphs()->Count(), 11);
  EXPECT_EQ(document->Paragraphs()->Item(4)->Range()->Text(), u"A1 中\r\a");
  EXPECT_EQ(document->Paragraphs()->Item(6)->Range()->Text(), u"\r\a");  // the end of the first row
  EXPECT_EQ(document->Paragraphs()->Item(12), nullptr);
}

TEST_F(DocumentEngineTest, SaveWithoutChanges_KeepsEveryPartByteForByte) {
  for (const std::string& source :
       {Make("mixed.docx", kMixedScript), FixturePath("textbox.docx"), FixturePath("table.docx")}) {
    const auto document = Open(source);
    const std::string saved = Save(document, "same.docx");
    std::string before, after;
    ASSERT_TRUE(ReadFileBytes(FromUtf8(source), before) && ReadFileBytes(FromUtf8(saved), after));
    DocumentPackage original(before), copy(after);
    ASSERT_EQ(original.PartNames(), copy.PartNames()) << source;
    for (const std::string& part : original.PartNames())
      EXPECT_EQ(original.ReadPart(part), copy.ReadPart(part)) << source << ": " << part;
  }
}

TEST_F(DocumentEngineTest, SaveAfterAnEdit_ChangesOnlyTheDocumentPart) {
  const std::string source = FixturePath("table.docx");
  const auto document = Open(source);
  document->Content()->InsertBefore(u"Added 新增\r");
  const std::string saved = Save(document, "edited.docx");
  std::string before, after;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(source), before) && ReadFileBytes(FromUtf8(saved), after));
  DocumentPackage original(before), copy(after);
  ASSERT_EQ(original.PartNames(), copy.PartNames());
  for (const std::string& part : original.PartNames()) {
    if (part != "word/document.xml") {
      EXPECT_EQ(original.ReadPart(part), copy.ReadPart(part)) << part;
    }
  }
  SKIP_WITHOUT_OFFICE();
  const auto text = OfficeText(saved);
  ASSERT_TRUE(text) << "LibreOffice could not open the saved document";
  EXPECT_EQ(text->rfind("Added 新增\nIntro 介绍", 0), 0u) << *text;
}

TEST_F(DocumentEngineTest, Edits_ReadBackByPythonDocxAndLibreOffice) {
  const auto document = Open(Make("mixed.docx", kMixedScript));
  const auto content = document->Content();
  // 1. Colour a piece in the middle of the red run, change text, insert paragraphs in a cell.
  auto range = document->Content();
  range->SetRange(4, 6);  // 红色
  range->Font()->SetColor(16711680);
  range = document->Paragraphs()->Item(1)->Range();
  range->SetRange(7, 12);  // "plain"
  range->SetText(u"PLAIN 文本");
  const auto cell = document->Paragraphs()->Item(4)->Range();
  cell->InsertAfter(u"\r第二段");
  content->InsertAfter(u"\r\nAppended 追加");
  const std::string saved = Save(document, "edited.docx");

  const std::string runs = ReadDocx(saved, R"PY(
for p in d.paragraphs[:1]:
    print('|'.join(r.text + '=' + color_of(r) for r in p.runs))
print(d.tables[0].cell(0, 0).text.replace('\n', '/'))
print(d.paragraphs[-1].text)
)PY");
  EXPECT_EQ(runs,
            "Red =FF0000|红色=0000FF| =FF0000|PLAIN 文本=auto|\tafter tab=auto\n"
            "A1 中/第二段\n"
            "Appended 追加\n");
  // InsertAfter on the content puts the text before the final paragraph mark: "\r\n" made a new
  // paragraph, so the last paragraph is the appended one.
  EXPECT_TRUE(content->Text().ends_with(u"End 结束\rAppended 追加\r"));
  SKIP_WITHOUT_OFFICE();
  const auto text = OfficeText(saved);
  ASSERT_TRUE(text) << "LibreOffice could not open the edited document";
  EXPECT_NE(text->find("Red 红色 PLAIN 文本\tafter tab"), std::string::npos) << *text;
  EXPECT_NE(text->find("A1 中\n第二段"), std::string::npos) << *text;
}

TEST_F(DocumentEngineTest, Find_ExecuteFollowsTheRangeAndWraps) {
  const auto document = Open(Make("find.docx", "d.add_paragraph('one two one Two ONE')"));
  auto range = document->Content();
  auto find = range->Find();
  const FindArgs two{.findText = u"two", .forward = true, .wrap = kWrapStop};
  ASSERT_TRUE(find->Execute(two));
  EXPECT_EQ(std::make_pair(range->Start(), range->End()), std::make_pair(4, 7));
  ASSERT_TRUE(find->Execute(two)) << "the next search starts after the last match";
  EXPECT_EQ(range->Start(), 12);
  EXPECT_FALSE(find->Execute(two)) << "Wrap 0 stops at the end";
  EXPECT_EQ(range->Start(), 12) << "a failed search leaves the range";
  FindArgs wrapping = two;
  wrapping.wrap = kWrapContinue;
  ASSERT_TRUE(find->Execute(wrapping));
  EXPECT_EQ(range->Start(), 4);

  // A fresh range that does not reach the match finds nothing without wrapping.
  range = document->Content();
  range->SetRange(0, 5);
  EXPECT_FALSE(range->Find()->Execute(two));

  // Replacing takes the letter case of the match when case is not matched, and MatchCase finds exactly.
  range = document->Content();
  find = range->Find();
  ASSERT_TRUE(
      find->Execute({.findText = u"one", .forward = true, .replaceWith = u"three", .replace = kReplaceOne}));
  EXPECT_EQ(range->Text(), u"three");
  ASSERT_TRUE(find->Execute({.findText = u"one",
                             .matchCase = true,
                             .forward = true,
                             .wrap = kWrapContinue,
                             .replaceWith = u"x",
                             .replace = kReplaceOne}));
  EXPECT_EQ(document->Content()->Text(), u"three two x Two ONE\r");
  ASSERT_TRUE(
      find->Execute({.findText = u"one", .forward = true, .replaceWith = u"four", .replace = kReplaceOne}));
  ASSERT_TRUE(find->Execute({.findText = u"two",
                             .forward = true,
                             .wrap = kWrapContinue,
                             .replaceWith = u"six",
                             .replace = kReplaceOne}));
  EXPECT_EQ(document->Content()->Text(), u"three six x Two FOUR\r");
}

TEST_F(DocumentEngineTest, Find_ReplacementKeepsTheFormattingOfWhatStays) {
  const auto document = Open(Make("format.docx", R"PY(
p = d.add_paragraph()
p.add_run('b').font.bold = True
p.add_run('中').font.color.rgb = RGBColor(0, 0x80, 0)
p.add_run(' ab')
)PY"));
  auto range = document->Content();
  auto find = range->Find();
  ASSERT_TRUE(
      find->Execute({.findText = u"b中", .forward = true, .replaceWith = u"b 中", .replace = kReplaceOne}));
  ASSERT_TRUE(find->Execute({.findText = u"ab",
                             .forward = true,
                             .wrap = kWrapContinue,
                             .replaceWith = u"xy",
                             .replace = kReplaceOne}));
  find->Replacement()->Font()->SetColor(16711680);
  ASSERT_TRUE(find->Execute({.findText = u"中",
                             .forward = true,
                             .wrap = kWrapContinue,
                             .format = true,
                             .replaceWith = u"中",
                             .replace = kReplaceOne}));
  const std::string saved = Save(document, "formatted.docx");
  EXPECT_EQ(ReadDocx(saved,
                     "print('|'.join(r.text + '=' + color_of(r) + ('b' if r.bold else '') for r in "
                     "d.paragraphs[0].runs))"),
            "b =autob|中=0000FF| xy=auto\n");
}

TEST_F(DocumentEngineTest, FontSizeAndIndents_ResolveThroughStyles) {
  const auto document = Open(Make("styles.docx", R"PY(
d.styles['Normal'].font.size = Pt(11)
p = d.add_paragraph('normal size ')
p.add_run('big').font.size = Pt(18)
p.paragraph_format.left_indent = Pt(36)
q = d.add_paragraph('heading', style='Heading 1')
indent_chars(q, 200)
)PY"));
  const auto paragraphs = document->Paragraphs();
  EXPECT_EQ(paragraphs->Item(1)->Range()->Font()->Size(), static_cast<float>(kUndefined)) << "two sizes";
  auto range = paragraphs->Item(1)->Range();
  range->SetRange(0, 6);
  EXPECT_EQ(range->Font()->Size(), 11.0f);
  range->SetRange(12, 15);
  EXPECT_EQ(range->Font()->Size(), 18.0f);
  EXPECT_EQ(paragraphs->Item(2)->Range()->Font()->Size(), 14.0f) << "python-docx's Heading 1 is 14 points";
  EXPECT_EQ(paragraphs->Item(1)->LeftIndent(), 36.0f);
  EXPECT_EQ(paragraphs->Item(2)->CharacterUnitFirstLineIndent(), 2.0f);
  EXPECT_EQ(paragraphs->Item(1)->CharacterUnitFirstLineIndent(), 0.0f);

  paragraphs->Item(1)->SetCharacterUnitFirstLineIndent(2.0f);
  paragraphs->Item(2)->SetCharacterUnitFirstLineIndent(-1.5f);
  const std::string saved = Save(document, "indented.docx");
  EXPECT_EQ(ReadDocx(saved, R"PY(
for p in d.paragraphs:
    ind = p._p.pPr.find(qn('w:ind'))
    print(ind.get(qn('w:firstLineChars')), ind.get(qn('w:hangingChars')), p.paragraph_format.first_line_indent.pt,
          p.paragraph_format.left_indent.pt if p.paragraph_format.left_indent is not None else None)
)PY"),
            "200 None 22.0 36.0\nNone 150 -21.0 None\n");
}

TEST_F(DocumentEngineTest, PageSetupAndPages) {
  const auto document = Open(Make("pages.docx", R"PY(
d.add_paragraph('page one')
d.add_paragraph('still one').add_run().add_break(WD_BREAK.PAGE)
d.add_paragraph('page two')
d.add_paragraph('page three').paragraph_format.page_break_before = True
)PY"));
  EXPECT_EQ(document->PageSetup()->PageHeight(), 792.0f);  // python-docx's letter paper
  document->PageSetup()->SetPageHeight(800.0f);
  EXPECT_EQ(document->PageSetup()->PageHeight(), 800.0f);
  EXPECT_EQ(document->PageStarts(), (std::vector<int>{0, 19, 29}));

  const auto selection = document->ActiveWindow()->Selection();
  selection->GoTo(kGoToPage, kGoToNext, 1, 2);
  EXPECT_EQ(selection->Start(), 19);
  selection->SetRange(0, 19);
  selection->GoTo(kGoToPage, kGoToNext, 1, 3);
  EXPECT_EQ(selection->Start(), 29) << "the next page after the one holding End";
  selection->GoTo(kGoToPage, kGoToNext, 1, 4);
  EXPECT_EQ(selection->Start(), 29) << "beyond the last page: the last page";
  EXPECT_EQ(document->Content()->GoTo(kGoToPage, kGoToAbsolute, 2)->Start(), 19);

  selection->SetRange(3, 3);
  selection->InsertBreak(kPageBreak);
  EXPECT_EQ(selection->Start(), 4);
  EXPECT_EQ(document->PageStarts(), (std::vector<int>{0, 4, 20, 30}));
  const std::string saved = Save(document, "paged.docx");
  EXPECT_EQ(ReadDocx(saved, "print(d.sections[0].page_height.pt)"), "800.0\n");

  // A section break starts a page unless the next section is continuous; a page the last renderer broke
  // (w:lastRenderedPageBreak) starts where it marked it.
  const auto sections = Open(Make("sections.docx", R"PY(
from docx.enum.section import WD_SECTION
d.add_paragraph('a')
d.add_section(WD_SECTION.CONTINUOUS)
d.add_paragraph('b')
d.add_section(WD_SECTION.NEW_PAGE)
p = d.add_paragraph('x')
p.add_run('y')._r.insert(0, OxmlElement('w:lastRenderedPageBreak'))
)PY"));
  EXPECT_EQ(sections->Content()->Text(), u"a\r\rb\r\rxy\r");
  EXPECT_EQ(sections->PageStarts(), (std::vector<int>{0, 6, 7}));
}

TEST_F(DocumentEngineTest, TextBox_EditedThroughItsShapeAndKeptInStepWithTheOlderCopy) {
  const auto document = Open(FixturePath("textbox.docx"));
  const auto shapes = document->Shapes();
  ASSERT_EQ(shapes->Count(), 1);
  const auto box = shapes->Item(1)->TextFrame()->TextRange();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->Text(), u"Box text 文本框\rsecond line 第二行\r");
  EXPECT_EQ(document->Content()->Text(),
            u"Body 正文 before the box.\rPlain red 红色 text.\f\rSecond page 第二页\r")
      << "the box's text is not part of the main text";
  box->SetRange(0, 3);
  box->SetText(u"Changed 改");
  const std::string saved = Save(document, "box.docx");
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(saved), bytes));
  const std::string xml = DocumentPackage(bytes).ReadPart("word/document.xml");
  size_t count = 0;
  for (size_t at = xml.find("Changed 改 text"); at != std::string::npos;
       at = xml.find("Changed 改 text", at + 1))
    ++count;
  EXPECT_EQ(count, 2u) << "the VML copy in mc:Fallback follows the edit";
  SKIP_WITHOUT_OFFICE();
  const auto flat = test::OfficeExport(saved, "fodt");
  ASSERT_TRUE(flat) << "LibreOffice could not open the edited document";
  EXPECT_NE(flat->find("Changed 改 text 文本框"), std::string::npos);
}

TEST_F(DocumentEngineTest, CopyAndPaste_WithinAndAcrossDocuments) {
  const auto source = Open(Make("source.docx", R"PY(
d.add_paragraph('first 第一')
p = d.add_paragraph()
p.add_run('pic ')
p.add_run().add_picture(picture(), width=Inches(0.3))
d.add_paragraph('third').runs[0].font.italic = True
)PY"));
  // 1. Whole paragraphs (picture included) into a new document.
  auto range = source->Content();
  range->SetRange(9, 16);  // "pic " + picture + "\r" + "t"... up to the middle of "third"
  range->Copy();
  const auto target = application_->Documents()->Add();
  EXPECT_EQ(application_->Documents()->Item(1), target) << "the newest document comes first";
  auto into = target->Content();
  into->InsertBefore(u"Start end");
  into->SetRange(6, 6);
  into->Paste();
  EXPECT_EQ(target->Content()->Text(), u"Start pic \x01\rtend\r");
  EXPECT_EQ(std::make_pair(into->Start(), into->End()), std::make_pair(6, 13));
  // 2. Inside one paragraph of the same document.
  range = source->Content();
  range->SetRange(0, 5);
  range->Copy();
  const auto selection = source->ActiveWindow()->Selection();
  selection->SetRange(6, 8);
  selection->Paste();
  EXPECT_EQ(selection->Start(), 11) << "a selection ends after what it pasted";
  EXPECT_EQ(source->Content()->Text().substr(0, 12), u"first first\r");

  const std::string saved = Save(target, "pasted.docx");
  EXPECT_EQ(
      ReadDocx(saved,
               "print(len(d.inline_shapes), [p.text for p in d.paragraphs], d.paragraphs[1].runs[0].italic)"),
      "1 ['Start pic ', 'tend'] True\n");
  SKIP_WITHOUT_OFFICE();
  EXPECT_TRUE(OfficeText(saved)) << "LibreOffice could not open the document with the pasted picture";
}

TEST_F(DocumentEngineTest, CopyAndPaste_AWholeTableTravelsAsATablePartOfOneAsText) {
  const auto source = Open(Make("table.docx", R"PY(
d.add_paragraph('before')
t = d.add_table(rows=2, cols=2)
for i, text in enumerate(['A', 'B', 'C', '中']):
    t.cell(i // 2, i % 2).text = text
d.add_paragraph('after')
)PY"));
  ASSERT_EQ(source->Content()->Text(), u"before\rA\r\aB\r\a\r\aC\r\a中\r\a\r\aafter\r");
  const auto target = application_->Documents()->Add();
  auto range = source->Content();
  range->SetRange(5, 18);  // "e\r", the whole table, "a"
  range->Copy();
  target->Content()->Paste();
  range->SetRange(9, 12);  // "B", its cell mark and the row mark: the text only
  range->Copy();
  target->Content()->InsertAfter(u"\r");
  auto end = target->Content();
  end->SetRange(end->End() - 1, end->End() - 1);
  end->Paste();
  const std::string saved = Save(target, "tables.docx");
  EXPECT_EQ(ReadDocx(saved, R"PY(
print(len(d.tables), [c.text for row in d.tables[0].rows for c in row.cells])
print([p.text for p in d.paragraphs])
)PY"),
            "1 ['A', 'B', 'C', '中']\n['e', 'a', 'B', '']\n");
}

TEST_F(DocumentEngineTest, Documents_OpenAgainAddCloseAndBadFiles) {
  const std::string path = Make("one.docx", "d.add_paragraph('x')");
  const auto first = Open(path);
  first->Content()->InsertBefore(u"changed ");
  const auto second = Open(Make("two.docx", "d.add_paragraph('y')"));
  EXPECT_EQ(application_->Documents()->Item(1), second);
  EXPECT_EQ(Open(path), first) << "an open document is returned as it is";
  EXPECT_EQ(application_->Documents()->Item(1), first);
  EXPECT_EQ(application_->ActiveDocument(), first);
  first->Close();
  EXPECT_EQ(application_->Documents()->Count(), 1);

  folder_.WriteBytes("broken.docx", "PK\x03\x04 not really a package");
  folder_.WriteBytes("plain.docx", "just text");
  folder_.WriteBytes("empty.docx", "");
  for (const char* name : {"broken.docx", "plain.docx", "empty.docx", "missing.docx"}) {
    OpenFailure failure = OpenFailure::kNone;
    std::string reason;
    EXPECT_EQ(application_->Documents()->Open(folder_.File(name), &failure, &reason), nullptr) << name;
    EXPECT_EQ(failure, std::string(name) == "missing.docx" ? OpenFailure::kMissing : OpenFailure::kUnreadable)
        << name;
    EXPECT_FALSE(reason.empty());
  }
}

// Ranges of any shape deleted from a form with nested tables, merged cells, content controls, fields
// and tracked changes: every result is a document LibreOffice opens.
TEST_F(DocumentEngineTest, DeletingRandomRanges_LeavesDocumentsLibreOfficeOpens) {
  SKIP_WITHOUT_OFFICE();
  const std::string path = Make("form.docx", R"PY(
from docx.oxml import parse_xml
from docx.oxml.ns import nsdecls
d.add_paragraph('申请表 Application form M1')
t = d.add_table(rows=3, cols=3)
t.style = 'Table Grid'
t.cell(0, 0).merge(t.cell(0, 1)).text = '姓名 Name'
t.cell(1, 0).merge(t.cell(2, 0)).text = 'merged down'
inner = t.cell(1, 1).add_table(rows=2, cols=2)
for i, cell in enumerate(c for row in inner.rows for c in row.cells):
    cell.text = 'inner %d 内' % i
inner.cell(0, 0).add_table(rows=1, cols=1).cell(0, 0).text = 'deepest'
t.cell(1, 2).text = 'M2'
t.cell(2, 2).paragraphs[0]._p.append(parse_xml(
    '<w:sdt %s><w:sdtPr><w:dropDownList><w:listItem w:value="yes"/></w:dropDownList></w:sdtPr>'
    '<w:sdtContent><w:r><w:t>yes</w:t></w:r></w:sdtContent></w:sdt>' % nsdecls('w')))
p = d.add_paragraph('field ')
p._p.append(parse_xml('<w:fldSimple %s w:instr="PAGE"><w:r><w:t>1</w:t></w:r></w:fldSimple>' % nsdecls('w')))
p._p.append(parse_xml('<w:ins %s w:id="1" w:author="a"><w:r><w:t>inserted</w:t></w:r></w:ins>' % nsdecls('w')))
p._p.append(parse_xml('<w:del %s w:id="2" w:author="a"><w:r><w:delText>gone</w:delText></w:r></w:del>' % nsdecls('w')))
p.add_run(' and more 更多')
d.add_paragraph('last 最后', style='List Bullet')
)PY");
  std::mt19937 random(2024);
  std::vector<std::string> results;
  for (int round = 0; round < 24; ++round) {
    const std::shared_ptr<Application> application = Application::Create();
    const std::shared_ptr<Document> document = application->Documents()->Open(FromUtf8(path));
    ASSERT_TRUE(document);
    const int length = document->Content()->End();
    const int a = std::uniform_int_distribution<int>(0, length)(random);
    const int b = std::uniform_int_distribution<int>(0, length)(random);
    const std::shared_ptr<Range> range = document->Content();
    range->SetRange(std::min(a, b), std::max(a, b));
    range->SetText(u"");
    results.push_back(Save(document, "deleted-" + std::to_string(round) + ".docx"));
  }
  const std::vector<std::optional<std::string>> texts = test::OfficeTexts(results);
  for (size_t i = 0; i < results.size(); ++i)
    EXPECT_TRUE(texts[i].has_value()) << results[i] << " does not open";
}

}  // namespace
}  // namespace scrivano::word
