#include <gtest/gtest.h>

#include <string>

#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "support/WordFixtures.h"
#include "toolkit/TextFiles.h"
#include "word/CombineDocuments.h"
#include "word/WordProcessing.h"

namespace scrivano {
namespace {

using test::TempFolder;
using test::TestPrompts;

class CombineDocumentsTest : public test::DocxTest {
 protected:
  void TearDown() override { TheWordConnection().ReleaseWord(); }

  Text MakeText(const std::string& name, const std::string& script) { return FromUtf8(Make(name, script)); }
};

TEST_F(CombineDocumentsTest, CollectDocumentTexts_StopsAtTheFirstMissingFile) {
  TestPrompts prompts;
  const Text first = MakeText("first.docx", "d.add_paragraph('one 一')\nd.add_paragraph('two')");
  const Text second = MakeText("second.docx", "d.add_paragraph('three')");
  WordConnection word;
  Text text = first + u"\r\n" + folder_.File("missing.docx") + u"\r\n" + second + u"\r\n";
  EXPECT_TRUE(CollectDocumentTexts(word, text));
  EXPECT_EQ(text, u"one 一\rtwo\r\r");
  EXPECT_EQ(word.charactersProcessed, 11);
  EXPECT_TRUE(prompts.dialogs().empty()) << "a missing file ends the list silently";

  const Text list = folder_.File("missing.docx") + u"\r\n";
  text = list;
  EXPECT_TRUE(CollectDocumentTexts(word, text));
  EXPECT_EQ(text, list + u"\r") << "nothing gathered: the list itself";
}

TEST_F(CombineDocumentsTest, CollectDocumentTexts_CellsEndAsParagraphsDo) {
  TestPrompts prompts;
  const Text path = MakeText("table.docx", R"PY(
t = d.add_table(rows=2, cols=2)
for i, text in enumerate(['the red car', 'the red car', '红色的车', 'x']):
    t.cell(i // 2, i % 2).text = text
d.add_paragraph('after')
)PY");
  WordConnection word;
  Text text = path + u"\r\n";
  EXPECT_TRUE(CollectDocumentTexts(word, text));
  EXPECT_EQ(text, u"the red car\rthe red car\r\r红色的车\rx\r\rafter\r\r");
}

TEST_F(CombineDocumentsTest, Option7_HandsTheGatheredTextToThePhraseReport) {
  const Text path = MakeText("phrases.docx", R"PY(
for text in ['the red car is fast', 'the red car', 'I like the red car', '我喜欢红色的车', '红色的车很快']:
    d.add_paragraph(text)
)PY");
  TestPrompts prompts{u"7", u"2 4 2"};
  Text list = path + u"\r\n";
  TaskContext context;
  context.workingText = &list;
  WordProcessing(context);
  EXPECT_EQ(
      list,
      u"红色的车     2\r\nthe red car     3\r\n\r\n=========================\r\n\r\n    3     the red car\r\n"
      u"    2     红色的车");
  EXPECT_EQ(prompts.AnswersLeft(), 0u);
  EXPECT_FALSE(FileExists(ReviewCopyPath(path), false));
}

}  // namespace
}  // namespace scrivano
