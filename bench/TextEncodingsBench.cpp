// Reading a text file's bytes by what they show, on the same mixed English/Chinese text in UTF-8 and in
// the code pages: the Chinese files should cost no more than twice what the UTF-8 one does.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchTexts.h"
#include "text/TextEncodings.h"

namespace scrivano {
namespace {

void DecodeTextFileBench(benchmark::State& state, Charset charset) {
  const Text text = bench::MixedText(static_cast<size_t>(state.range(0)));
  std::string bytes;
  if (EncodeText(text, charset, bytes) != std::string::npos) {
    state.SkipWithError("the text has characters the charset cannot hold");
    return;
  }
  for (auto _ : state) {
    DecodedText decoded = DecodeTextFile(bytes);
    if (decoded.format.charset != charset || decoded.text.size() != text.size()) {
      state.SkipWithError("read in another charset");
      break;
    }
    benchmark::DoNotOptimize(decoded);
  }
  // Characters, so that the encodings compare on the same text; bytes for the throughput of each.
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_DecodeTextFile_Utf8(benchmark::State& state) {
  DecodeTextFileBench(state, Charset::kUtf8);
}
void BM_DecodeTextFile_Gb18030(benchmark::State& state) {
  DecodeTextFileBench(state, Charset::kGb18030);
}
BENCHMARK(BM_DecodeTextFile_Utf8)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeTextFile_Gb18030)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
