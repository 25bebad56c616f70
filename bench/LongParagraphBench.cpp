// Edits in long paragraphs cost about what they cost in short ones: "1. Add space between Chinese and
// English" and "10. Remove DejaVu tags" on one paragraph of about a million characters, and option 1 on a
// 1,000-page document of 30,000 paragraphs. Each target: under 5 seconds (open, edit, write the copy).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchTexts.h"
#include "docx/DocumentEngine.h"
#include "prompt/SelectionPrompt.h"
#include "text/FileBytes.h"
#include "word/WordConnection.h"
#include "word/WordProcessing.h"

namespace scrivano {
namespace {

std::string Paragraph(const Text& text) {
  return "<w:p><w:r><w:t xml:space=\"preserve\">" + bench::XmlEscaped(text) + "</w:t></w:r></w:p>";
}

std::string WritePackage(const std::string& name, const std::string& body) {
  const std::string folder =
      (std::filesystem::temp_directory_path() / "scrivano-long-paragraph-bench").string();
  std::filesystem::create_directories(folder);
  word::DocumentPackage package(word::BlankPackageBytes());
  package.WritePart("word/document.xml",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document "
                    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>" +
                        body + "<w:sectPr/></w:body></w:document>");
  const std::string path = folder + "/" + name;
  WriteFileBytesAtomically(FromUtf8(path), package.Save());
  return path;
}

// The sample segments one after the other until the text has about characters characters; with tags,
// a numeric DejaVu tag ({0} to {499}) after every segment.
Text LongText(size_t characters, bool tags) {
  const std::vector<Text> segments = bench::SampleSegments();
  Text text;
  for (size_t i = 0; text.size() < characters; ++i) {
    text += segments[i % segments.size()];
    if (tags) text.append(u"{").append(FromUtf8(std::to_string(i % 500))).append(u"}");
  }
  return text;
}

const std::string& OneMegabyteParagraph() {
  static const std::string path = WritePackage("one-paragraph.docx", Paragraph(LongText(1000000, false)));
  return path;
}

const std::string& OneMegabyteTaggedParagraph() {
  static const std::string path =
      WritePackage("one-tagged-paragraph.docx", Paragraph(LongText(1000000, true)));
  return path;
}

const std::string& ThousandPages() {
  static const std::string path = [] {
    const std::vector<Text> segments = bench::SampleSegments();
    std::string body;
    for (size_t i = 0; i < 30000; ++i) body += Paragraph(segments[i % segments.size()]);
    return WritePackage("thousand-pages.docx", body);
  }();
  return path;
}

// Messages (option 10's "Wrong format found!") are answered at once.
class QuietPrompts : public PromptHandler {
 public:
  bool AskSelection(Text&, float, bool) override { return false; }
  int ShowBox(const MessageRequest&) override { return kResultOk; }
};

template <typename Operation>
void RunOption(benchmark::State& state, const std::string& file, Operation operation) {
  QuietPrompts prompts;
  SetPromptHandler(&prompts);
  const Text path = FromUtf8(file);
  WordConnection word;
  for (auto _ : state) {
    word.ReleaseWord();
    if (!operation(word, path)) state.SkipWithError("the document did not open");
    benchmark::DoNotOptimize(word.TakeReviewCopies());
  }
  state.counters["characters"] = static_cast<double>(word.charactersProcessed);
  SetPromptHandler(nullptr);
}

void BM_Option1_OneParagraphOf1MB(benchmark::State& state) {
  RunOption(state, OneMegabyteParagraph(), AddSpaceBetweenChineseAndEnglish);
}
BENCHMARK(BM_Option1_OneParagraphOf1MB)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Option10_OneParagraphOf1MB(benchmark::State& state) {
  RunOption(state, OneMegabyteTaggedParagraph(), RemoveDejaVuTags);
}
BENCHMARK(BM_Option10_OneParagraphOf1MB)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Option1_1000PagesOf30000Paragraphs(benchmark::State& state) {
  RunOption(state, ThousandPages(), AddSpaceBetweenChineseAndEnglish);
}
BENCHMARK(BM_Option1_1000PagesOf30000Paragraphs)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace scrivano
