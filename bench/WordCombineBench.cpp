// Word processing options on long documents, as the Function List runs them: "3. Connect broken lines" on
// a 300-page document of broken lines, "11. Source file + target file -> source || target file" on two
// 300-page documents, and "2. Combine source and target pages" on two 100-page documents that mark no
// pages, so that LibreOffice lays them out. Targets: under 5 s, 5 s and 60 s.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchTexts.h"
#include "docx/DocumentEngine.h"
#include "docx/PageLayout.h"
#include "prompt/SelectionPrompt.h"
#include "text/FileBytes.h"
#include "word/CombinePages.h"
#include "word/CombinedDocument.h"
#include "word/InterleaveParagraphs.h"
#include "word/ParagraphOptions.h"
#include "word/WordConnection.h"

namespace scrivano {
namespace {

// About 2,000 characters make a page.
constexpr size_t kPageCharacters = 2000;
constexpr size_t kLineCharacters = 60;

// Answers Yes to every question.
class YesPrompts : public PromptHandler {
 public:
  YesPrompts() { SetPromptHandler(this); }
  ~YesPrompts() override { SetPromptHandler(nullptr); }
  bool AskSelection(Text&, float, bool) override { return false; }
  int ShowBox(const MessageRequest& request) override {
    return request.buttons == MessageButtons::YesNo ? kResultYes : kResultOk;
  }
};

// A document of pages of the sample segments whose English (side 0) or Chinese (side 1) halves they take;
// with lineBreaks each segment is broken into paragraphs of a line each; with pageBreaks every page ends
// with a page break.
std::string WriteDocument(const std::string& name, size_t pages, int side, bool lineBreaks, bool pageBreaks) {
  const std::vector<Text> segments = bench::SampleSegments();
  std::string body;
  size_t onPage = 0, page = 0;
  for (size_t i = side; page < pages; i += 2) {
    const Text& segment = segments[i % segments.size()];
    const size_t step = lineBreaks ? kLineCharacters : segment.size() + 1;
    for (size_t from = 0; from < segment.size(); from += step) {
      body += "<w:p><w:r><w:t xml:space=\"preserve\">" + bench::XmlEscaped(segment.substr(from, step)) + "</w:t></w:r>";
      onPage += std::min(step, segment.size() - from) + 1;
      if (onPage >= kPageCharacters) {
        if (pageBreaks && page + 1 < pages) body += "<w:r><w:br w:type=\"page\"/></w:r>";
        onPage = 0;
        ++page;
      }
      body += "</w:p>";
    }
  }
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>" +
      body +
      "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" "
      "w:bottom=\"1440\" "
      "w:left=\"1440\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>";
  const std::string folder = (std::filesystem::temp_directory_path() / "scrivano-combine-bench").string();
  std::filesystem::create_directories(folder);
  word::DocumentPackage package(word::BlankPackageBytes());
  package.WritePart("word/document.xml", xml);
  const std::string file = folder + "/" + name;
  WriteFileBytesAtomically(FromUtf8(file), package.Save());
  return file;
}

void BM_ConnectBrokenLines300Pages(benchmark::State& state) {
  static const std::string file = WriteDocument("broken-300-pages.docx", 300, 0, true, true);
  YesPrompts prompts;
  WordConnection word;
  for (auto _ : state) {
    word.ReleaseWord();
    if (!ConnectBrokenLines(word, FromUtf8(file))) state.SkipWithError("the document did not open");
    benchmark::DoNotOptimize(word.TakeReviewCopies());
  }
}
BENCHMARK(BM_ConnectBrokenLines300Pages)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_InterleaveParagraphs300Pages(benchmark::State& state) {
  static const std::string source = WriteDocument("source-300-pages.docx", 300, 0, false, true);
  static const std::string target = WriteDocument("target-300-pages.docx", 300, 1, false, true);
  YesPrompts prompts;
  WordConnection word;
  for (auto _ : state) {
    word.ReleaseWord();
    Text window = FromUtf8(source) + u"\r\n" + FromUtf8(target) + u"\r\n";
    if (!InterleaveParagraphFiles(word, window)) state.SkipWithError("the documents did not open");
    benchmark::DoNotOptimize(window);
  }
}
BENCHMARK(BM_InterleaveParagraphs300Pages)->Unit(benchmark::kMillisecond)->Iterations(2);

void RunCombinePages(benchmark::State& state, const std::string& source, const std::string& target) {
  WordConnection word;
  for (auto _ : state) {
    word.ReleaseWord();
    Text window = FromUtf8(source) + u"\r\n" + FromUtf8(target) + u"\r\n";
    if (!CombinePages(word, window)) state.SkipWithError("the documents did not open");
    if (window.find(u"not installed") != Text::npos)
      state.SkipWithError("no page layout without LibreOffice");
    benchmark::DoNotOptimize(window);
  }
  // The pages combined: the combined document's page breaks.
  const auto application = word::Application::Create();
  if (const auto combined = application->Documents()->Open(CombinedDocumentPath(FromUtf8(source))))
    state.counters["pages"] = static_cast<double>(combined->PageStarts().size());
}

// Pages laid out by LibreOffice: the documents mark none.
void BM_CombinePages100PagesLaidOut(benchmark::State& state) {
  // Laid out on A4 with one-inch margins a page holds about twice the characters of a marked page.
  static const std::string source = WriteDocument("source-100-pages.docx", 2 * 100, 0, false, false);
  static const std::string target = WriteDocument("target-100-pages.docx", 2 * 100, 1, false, false);
  if (!word::MissingLayoutProgram().empty()) {
    state.SkipWithError("LibreOffice or pdftotext is not installed");
    return;
  }
  RunCombinePages(state, source, target);
}
BENCHMARK(BM_CombinePages100PagesLaidOut)->Unit(benchmark::kMillisecond)->Iterations(1);

// Pages the documents mark with page breaks.
void BM_CombinePages300PagesMarked(benchmark::State& state) {
  static const std::string source = WriteDocument("source-300-marked.docx", 300, 0, false, true);
  static const std::string target = WriteDocument("target-300-marked.docx", 300, 1, false, true);
  RunCombinePages(state, source, target);
}
BENCHMARK(BM_CombinePages300PagesMarked)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace scrivano
