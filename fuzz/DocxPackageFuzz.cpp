// The document engine's reader on any bytes: the package, its relationships and content types, the main
// story and its text. Bytes that would go to the office converter are skipped.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "docx/DocumentEngine.h"
#include "text/FileBytes.h"

namespace {

// The package reader allocates a part's declared size before reading it, so that a small file declaring
// a part of gigabytes costs that much memory (found by this target; the document engine's to mend).
// Until it reads in bounded pieces, packages that declare a part over kDeclaredLimit are left out here so
// that the run looks for other faults.
constexpr uint32_t kDeclaredLimit = 64u << 20;

uint32_t Little32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

bool DeclaresAHugePart(std::string_view bytes) {
  // Local headers give the uncompressed size at offset 22, central directory entries at 24.
  for (const auto& [signature, offset] : {std::pair{std::string_view("PK\3\4"), size_t{22}},
                                          std::pair{std::string_view("PK\1\2"), size_t{24}}}) {
    for (size_t at = bytes.find(signature); at != std::string_view::npos; at = bytes.find(signature, at + 1))
      if (at + offset + 4 <= bytes.size() && Little32(bytes, at + offset) > kDeclaredLimit) return true;
  }
  return false;
}

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
  if (DeclaresAHugePart(bytes)) return 0;
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
