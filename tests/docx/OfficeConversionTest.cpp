#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "docx/DocumentEngine.h"
#include "docx/OfficeConversion.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "support/WordFixtures.h"
#include "toolkit/TextFiles.h"
#include "word/WordProcessing.h"

namespace scrivano::word {
namespace {

TEST(OfficeConversionTest, NeedsConversion_ByExtensionOrContent) {
  const std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 rest", 13);
  const struct {
    const char16_t* path;
    std::string bytes;
    bool expected;
  } cases[] = {
      {u"a.docx", "PK\x03\x04", false}, {u"a.DOC", "", true},
      {u"a.odt", "PK\x03\x04", true},   {u"a.rtf", "", true},
      {u"a.fodt", "<?xml", true},       {u"a.docx", compound, true},
      {u"report", "{\\rtf1 x}", true},  {u"a.txt", "text", false},
  };
  for (const auto& test : cases)
    EXPECT_EQ(NeedsConversion(test.path, test.bytes), test.expected) << ToUtf8(test.path);
}

TEST(OfficeConversionTest, AnOpenDocumentFileIsReadThroughTheConverterAndGetsADocxReviewCopy) {
  SKIP_WITHOUT_OFFICE();
  test::TempFolder folder;
  const std::string source = folder.path() + "/table.fodt";
  std::filesystem::copy_file(test::FixturePath("sources/table.fodt"), source);
  test::TestPrompts prompts{u"1"};
  Text list = FromUtf8(source);
  TaskContext context;
  context.workingText = &list;
  WordProcessing(context);
  TheWordConnection().ReleaseWord();
  EXPECT_TRUE(prompts.Messages().empty());
  const std::string copy = folder.path() + "/table.scrivano.docx";
  ASSERT_TRUE(std::filesystem::exists(copy)) << ToUtf8(list);
  const auto application = Application::Create();
  const auto document = application->Documents()->Open(FromUtf8(copy));
  ASSERT_TRUE(document);
  EXPECT_EQ(document->Content()->Text(),
            u"Intro 介绍\ttabbed\vsoft line\rA1 中文\r\aB1\rB1 second\r\a\r\aA2\r\a第二行 B2\r\a\r\a"
            u"Indented big blue 蓝色 after 之后\r");
}

}  // namespace
}  // namespace scrivano::word
