// Throughput of combining a list of text files (entry 3, file mode): eight UTF-16 files of equal size.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "BilingualBenchTexts.h"
#include "text/Utf16Bytes.h"
#include "toolkit/TextFiles.h"
#include "transform/CombineFiles.h"

namespace scrivano {
namespace {

constexpr int kFileCount = 8;

class BenchFolder {
 public:
  BenchFolder() {
    char pattern[] = "/tmp/scrivano-combine-bench-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~BenchFolder() {
    for (const std::string& file : files_) ::unlink(file.c_str());
    ::rmdir(path_.c_str());
  }
  Text Add(const std::string& bytes) {
    files_.push_back(path_ + "/part" + std::to_string(files_.size()) + ".txt");
    WriteFileBytesAtomically(FromUtf8(files_.back()), bytes);
    return FromUtf8(files_.back());
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

void BM_CombineFiles(benchmark::State& state) {
  const size_t total = static_cast<size_t>(state.range(0));
  const std::string bytes = "\xFF\xFE" + TextToUtf16LeBytes(bench::MixedText(total / kFileCount));
  BenchFolder folder;
  Text list;
  for (int i = 0; i < kFileCount; ++i) list += folder.Add(bytes) + u"\r\n";
  for (auto _ : state) {
    state.PauseTiming();
    Text text = list;
    state.ResumeTiming();
    bench::StartCold(state);
    benchmark::DoNotOptimize(CombineFiles(text));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFileCount *
                          static_cast<int64_t>(bytes.size()));
}

BENCHMARK(BM_CombineFiles)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
