// The text-file decoders on any bytes: UTF-8 and UTF-16LE streams with and without line-break conversion,
// the locale's character set, and the way back to bytes.
#include <clocale>
#include <cstdint>
#include <string_view>

#include "cli/TextStreams.h"
#include "text/AnsiCodec.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace scrivano;
  using namespace scrivano::cli;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (StreamEncoding encoding : {StreamEncoding::kUtf8, StreamEncoding::kUtf16Le})
    for (bool raw : {false, true}) (void)EncodeOutput(DecodeInput(bytes, encoding, raw), encoding, raw);
  for (const char* charset : {"UTF-8", "GB18030"}) {
    SetAnsiCharset(charset);
    (void)EncodeAnsi(DecodeAnsi(bytes));
  }
  (void)TextToUtf16LeBytes(Utf16LeBytesToText(bytes));
  return 0;
}
