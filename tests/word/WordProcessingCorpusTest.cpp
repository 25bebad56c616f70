// Every option that works on one file at a time (and 7, which reads them), over every .docx the project
// keeps for tests and the shared collection of reproductions when the machine has it: nothing crashes
// (the sanitizer build runs this too), no original changes, and LibreOffice opens every review copy.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "docx/DocumentPackage.h"
#include "settings/ParameterStore.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "support/WordFixtures.h"
#include "toolkit/TextFiles.h"
#include "word/WordProcessing.h"

namespace scrivano {
namespace {

namespace fs = std::filesystem;

constexpr char kSharedCases[] = "/work/shared/docx-cases";

std::vector<fs::path> Corpus() {
  std::vector<fs::path> files;
  for (const fs::path& folder : {fs::path(SCRIVANO_TEST_DATA), fs::path(kSharedCases)}) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error))
      if (entry.is_regular_file() && entry.path().extension() == ".docx") files.push_back(entry.path());
  }
  return files;
}

std::string Bytes(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(FromUtf8(path), bytes)) << path;
  return bytes;
}

TEST(WordProcessingCorpusTest, EveryPerFileOptionOnEveryDocument) {
  SKIP_WITHOUT_OFFICE();
  const std::vector<fs::path> corpus = Corpus();
  ASSERT_GE(corpus.size(), 5u);
  test::TempFolder folder;
  std::vector<std::string> copies;
  int run = 0;
  for (const fs::path& source : corpus) {
    const std::string sourceBytes = Bytes(source.string());
    // Each option with the answers its questions take.
    const std::vector<std::vector<Text>> runs = {
        {u"1"}, {u"3", u"yes"}, {u"4", u"1"}, {u"5"}, {u"6"}, {u"7", u"2 4 2"}, {u"8"}, {u"9"}, {u"10"}};
    for (const std::vector<Text>& answers : runs) {
      const Text& option = answers.front();
      // Each run on its own copy, so that a review copy of one option is not the next one's input.
      const std::string path = folder.path() + "/" + std::to_string(++run) + "-" + source.filename().string();
      fs::copy_file(source, path);
      const std::string original = Bytes(path);
      test::TestPrompts prompts;
      for (const Text& answer : answers) prompts.Answer(answer);
      test::SetParameter(Param::kWordMarker1, u"M1");
      test::SetParameter(Param::kWordMarker2, u"M2");
      Text list = FromUtf8(path) + u"\r\n";
      TaskContext context;
      context.workingText = &list;
      WordProcessing(context);
      TheWordConnection().ReleaseWord();
      EXPECT_EQ(Bytes(path), original) << source << " option " << ToUtf8(option) << ": the original changed";
      const std::string copy = ToUtf8(ReviewCopyPath(FromUtf8(path)));
      if (!fs::exists(copy)) continue;
      copies.push_back(copy);
      // Every part of the copy unpacks to what its checksum says.
      word::DocumentPackage written(Bytes(copy));
      EXPECT_NO_THROW(written.Save()) << copy;
      EXPECT_TRUE(written.RebuiltParts().empty()) << copy;
    }
    EXPECT_EQ(Bytes(source.string()), sourceBytes) << source;
  }
  ASSERT_FALSE(copies.empty());
  const std::vector<std::optional<std::string>> texts = test::OfficeTexts(copies);
  for (size_t i = 0; i < copies.size(); ++i)
    EXPECT_TRUE(texts[i].has_value()) << copies[i] << " does not open";
}

}  // namespace
}  // namespace scrivano
