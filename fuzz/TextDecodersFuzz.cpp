// The text-file decoders on any bytes: the runner's input read by its bytes and in every encoding, with
// and without line-break conversion, the reading rule of text files, and the
// way back to bytes. A file that reads without a fault must be written back to bytes that read as the same
// text (byte for byte but in Big5, where code page 950 gives a few characters two codes).
#include <clocale>
#include <cstdint>
#include <string_view>

#include "cli/TextStreams.h"
#include "text/TextEncodings.h"
#include "text/Utf16Bytes.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace scrivano;
  using namespace scrivano::cli;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const std::optional<Charset> charset :
       {std::optional<Charset>(), std::optional(Charset::kUtf8), std::optional(Charset::kUtf16Be),
        std::optional(Charset::kGb18030), std::optional(Charset::kBig5)}) {
    for (const bool raw : {false, true}) {
      const DecodedInput input = DecodeInput(std::string(bytes), charset, raw, true);
      (void)EncodeOutput(input.text, input.format, raw);
    }
  }
  (void)TextToUtf16LeBytes(Utf16LeBytesToText(bytes));

  const DecodedText decoded = DecodeTextFile(bytes);
  TextFormat asRead = decoded.format;
  asRead.lineBreak = LineBreak::kCrLf;  // the text keeps the breaks it was read with
  std::string written;
  if (!decoded.Lossless()) return 0;
  if (!EncodeTextFile(decoded.text, asRead, written)) __builtin_trap();
  if (asRead.charset != Charset::kBig5 && written != bytes) __builtin_trap();
  if (DecodeTextFile(written, asRead.charset).text != decoded.text) __builtin_trap();
  return 0;
}
