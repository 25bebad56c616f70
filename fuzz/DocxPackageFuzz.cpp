// The document engine on any bytes, as the Word functions use it: the package, its relationships and
// content types, the main story and its text; then an edit (spaces put in, as option 1 does, or the
// first paragraph deleted, as option 6 does), the copy written, and the copy read again. Bytes that
// would go to the office converter are skipped.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "docx/DocumentEngine.h"
#include "text/FileBytes.h"

namespace {

std::string& FilePath() {
  static std::string path;
  return path;
}

std::string CopyPath() {
  return FilePath() + ".copy.docx";
}

// Opens path and reads its text; the document, or nullptr.
std::shared_ptr<scrivano::word::Document> OpenAndRead(const std::shared_ptr<scrivano::word::Application>& app,
                                                      const std::string& path) {
  auto document = app->Documents()->Open(scrivano::FromUtf8(path));
  if (document) (void)document->Content()->Text();
  return document;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char folder[] = "/tmp/scrivano-fuzz-XXXXXX";
  if (::mkdtemp(folder)) FilePath() = std::string(folder) + "/input.docx";
  std::atexit([] {
    ::unlink(FilePath().c_str());
    ::unlink(CopyPath().c_str());
    ::rmdir(FilePath().substr(0, FilePath().rfind('/')).c_str());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace scrivano;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.starts_with("\xD0\xCF\x11\xE0") || bytes.starts_with("{\\rtf") || FilePath().empty()) return 0;
  const Text path = FromUtf8(FilePath());
  if (!WriteFileBytesAtomically(path, bytes)) return 0;
  auto application = word::Application::Create();
  auto document = OpenAndRead(application, FilePath());
  if (!document) return 0;
  auto range = document->Content();
  const int length = range->End();
  if (size % 2 == 0) {
    // Spaces between characters here and there, each inside the run it lands in.
    std::vector<int> positions;
    for (int at = 1; at < length; at += 1 + static_cast<int>(data[static_cast<size_t>(at) % size] % 7))
      positions.push_back(at);
    range->InsertAtPositions(positions, u" ");
  } else {
    if (auto first = document->Paragraphs()->Item(1)) first->Range()->SetText(u"");
  }
  std::string copy;
  try {
    copy = document->SaveToBytes();
  } catch (const word::DocumentError&) {
    return 0;  // a damaged part, named: nothing is written
  }
  document->Close();
  if (!WriteFileBytesAtomically(FromUtf8(CopyPath()), copy)) return 0;
  if (auto again = OpenAndRead(application, CopyPath())) again->Close();
  return 0;
}
