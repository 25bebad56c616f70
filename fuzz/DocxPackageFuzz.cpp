// The document engine's reader on any bytes: the package, its relationships and content types, the main
// story and its text. Bytes that would go to the office converter are skipped.
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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char folder[] = "/tmp/scrivano-fuzz-XXXXXX";
  if (::mkdtemp(folder)) FilePath() = std::string(folder) + "/input.docx";
  std::atexit([] {
    ::unlink(FilePath().c_str());
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
  if (auto document = application->Documents()->Open(path)) {
    auto content = document->Content();
    (void)content->Text();
    document->Close();
  }
  return 0;
}
