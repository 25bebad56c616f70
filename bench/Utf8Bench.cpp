// Throughput of the UTF-8 <-> UTF-16 conversions on the mixed English/Chinese text, next to the
// one-character-at-a-time conversions they replace; each run first checks that both give the same text.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchTexts.h"
#include "text/Utf8.h"

namespace scrivano {
namespace {

void DecodeBench(benchmark::State& state, bool plain) {
  const std::string bytes = ToUtf8(bench::MixedText(static_cast<size_t>(state.range(0))));
  Text fast, reference;
  AppendUtf8AsUtf16(bytes, fast);
  AppendUtf8AsUtf16Plain(bytes, reference);
  if (fast != reference) state.SkipWithError("the fast decoding differs from the plain one");
  for (auto _ : state) {
    Text text;
    if (plain)
      AppendUtf8AsUtf16Plain(bytes, text);
    else
      AppendUtf8AsUtf16(bytes, text);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void EncodeBench(benchmark::State& state, bool plain) {
  const Text text = bench::MixedText(static_cast<size_t>(state.range(0)));
  std::string fast, reference;
  AppendUtf16AsUtf8(text, fast);
  AppendUtf16AsUtf8Plain(text, reference);
  if (fast != reference) state.SkipWithError("the fast encoding differs from the plain one");
  for (auto _ : state) {
    std::string bytes;
    if (plain)
      AppendUtf16AsUtf8Plain(text, bytes);
    else
      AppendUtf16AsUtf8(text, bytes);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fast.size()));
}

void BM_Utf8Decode(benchmark::State& state) {
  DecodeBench(state, false);
}
void BM_Utf8DecodePlain(benchmark::State& state) {
  DecodeBench(state, true);
}
void BM_Utf8Encode(benchmark::State& state) {
  EncodeBench(state, false);
}
void BM_Utf8EncodePlain(benchmark::State& state) {
  EncodeBench(state, true);
}
BENCHMARK(BM_Utf8Decode)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8DecodePlain)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8Encode)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8EncodePlain)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
