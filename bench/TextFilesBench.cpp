// Throughput of the text-file reader on a realistic mixed English/Chinese file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "BenchTexts.h"
#include "text/Utf16Bytes.h"
#include "toolkit/TextFiles.h"

namespace scrivano {
namespace {

struct BenchFile {
  explicit BenchFile(const std::string& bytes) {
    char pattern[] = "/tmp/scrivano-bench-XXXXXX";
    const int fd = ::mkstemp(pattern);
    path = pattern;
    WriteFileBytesAtomically(FromUtf8(path), bytes);
    ::close(fd);
  }
  ~BenchFile() { ::unlink(path.c_str()); }
  std::string path;
};

void ReadTextFileBench(benchmark::State& state, bool utf16) {
  const Text text = bench::MixedText(static_cast<size_t>(state.range(0)));
  const std::string bytes = utf16 ? "\xFF\xFE" + TextToUtf16LeBytes(text) : ToUtf8(text);
  BenchFile file(bytes);
  const Text path = FromUtf8(file.path);
  for (auto _ : state) {
    Text read;
    ReadTextFile(read, path);
    benchmark::DoNotOptimize(read);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_ReadTextFile_Utf16(benchmark::State& state) { ReadTextFileBench(state, true); }
void BM_ReadTextFile_Utf8(benchmark::State& state) { ReadTextFileBench(state, false); }
BENCHMARK(BM_ReadTextFile_Utf16)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTextFile_Utf8)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
