// The document engine on a 300-page mixed English/Chinese document (about 600,000 characters): open,
// "1. Add space between Chinese and English", and writing the review copy, as Word processing does it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchTexts.h"
#include "docx/DocumentEngine.h"
#include "toolkit/TextFiles.h"
#include "word/WordConnection.h"
#include "word/WordProcessing.h"

namespace scrivano {
namespace {

// Segments with English words put into the Chinese ones every few characters: a worst case for the
// spacing, with a Chinese/English boundary every five characters or so.
std::vector<Text> InterleavedSegments() {
  std::vector<Text> mixed;
  const std::vector<Text> segments = bench::SampleSegments();
  for (size_t i = 0; i < segments.size(); ++i) {
    Text joined;
    for (size_t k = 0; k < segments[i].size(); ++k) {
      joined += segments[i][k];
      if (k % 5 == 4 && segments[i][k] >= 0x3000) joined += i % 2 ? u"PCR" : u"COVID-19";
    }
    mixed.push_back(joined);
  }
  return mixed;
}

// Paragraphs of the given segments in three runs (one coloured), a page break every 2,000 characters,
// and a two-column table of segment pairs every 40 paragraphs.
std::string DocumentXml(const std::vector<Text>& segments, size_t characters, size_t& written) {
  std::string body;
  size_t sincePage = 0;
  written = 0;
  for (size_t i = 0; written < characters; ++i) {
    const Text& segment = segments[i % segments.size()];
    const size_t cut = segment.size() / 3;
    body += "<w:p><w:r><w:t xml:space=\"preserve\">" + bench::XmlEscaped(segment.substr(0, cut)) + "</w:t></w:r>";
    body += "<w:r><w:rPr><w:color w:val=\"C00000\"/></w:rPr><w:t xml:space=\"preserve\">" +
            bench::XmlEscaped(segment.substr(cut, cut)) + "</w:t></w:r>";
    body += "<w:r><w:t xml:space=\"preserve\">" + bench::XmlEscaped(segment.substr(2 * cut)) + "</w:t></w:r>";
    written += segment.size() + 1;
    sincePage += segment.size() + 1;
    if (sincePage >= 2000) {
      body += "<w:r><w:br w:type=\"page\"/></w:r>";
      sincePage = 0;
    }
    body += "</w:p>";
    if (i % 40 == 39) {
      const Text& next = segments[(i + 1) % segments.size()];
      body += "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tr><w:tc><w:p><w:r><w:t>" +
              bench::XmlEscaped(segment) + "</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>" + bench::XmlEscaped(next) +
              "</w:t></w:r></w:p></w:tc></w:tr></w:tbl>";
      written += segment.size() + next.size() + 3;
    }
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
         "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>" +
         body + "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr></w:body></w:document>";
}

// A generated document of about 600,000 characters, written to a temporary folder.
std::string WriteDocument(const std::string& name, const std::vector<Text>& segments, size_t& characters) {
  const std::string folder = (std::filesystem::temp_directory_path() / "scrivano-engine-bench").string();
  std::filesystem::create_directories(folder);
  word::DocumentPackage package(word::BlankPackageBytes());
  package.WritePart("word/document.xml", DocumentXml(segments, 600000, characters));
  const std::string file = folder + "/" + name;
  WriteFileBytesAtomically(FromUtf8(file), package.Save());
  return file;
}

const std::string& BenchDocument(size_t& characters) {
  static size_t written = 0;
  static const std::string path = WriteDocument("mixed-300-pages.docx", bench::SampleSegments(), written);
  characters = written;
  return path;
}

const std::string& InterleavedDocument(size_t& characters) {
  static size_t written = 0;
  static const std::string path = WriteDocument("interleaved-300-pages.docx", InterleavedSegments(), written);
  characters = written;
  return path;
}

void RunAddSpaces(benchmark::State& state, const std::string& file, size_t characters) {
  const Text path = FromUtf8(file);
  WordConnection word;
  for (auto _ : state) {
    word.ReleaseWord();
    if (!AddSpaceBetweenChineseAndEnglish(word, path)) state.SkipWithError("the document did not open");
    benchmark::DoNotOptimize(word.TakeReviewCopies());
  }
  state.counters["characters"] = static_cast<double>(characters);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * characters));
}

// The speed target: under 5 seconds for the 300-page document.
void BM_OpenAddSpacesSave300Pages(benchmark::State& state) {
  size_t characters = 0;
  const std::string& file = BenchDocument(characters);
  RunAddSpaces(state, file, characters);
}
BENCHMARK(BM_OpenAddSpacesSave300Pages)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenAddSpacesSave300PagesInterleaved(benchmark::State& state) {
  size_t characters = 0;
  const std::string& file = InterleavedDocument(characters);
  RunAddSpaces(state, file, characters);
}
BENCHMARK(BM_OpenAddSpacesSave300PagesInterleaved)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OpenAndSave300Pages(benchmark::State& state) {
  size_t characters = 0;
  const Text path = FromUtf8(BenchDocument(characters));
  for (auto _ : state) {
    const auto application = word::Application::Create();
    const auto document = application->Documents()->Open(path);
    document->Content()->InsertBefore(u"x");
    benchmark::DoNotOptimize(document->SaveToBytes());
  }
}
BENCHMARK(BM_OpenAndSave300Pages)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
