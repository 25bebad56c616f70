// Throughput of the line operations (entries 4, 5, 8, 9, 10, 12, 15) on mixed English/Chinese text.
#include <benchmark/benchmark.h>

#include "BilingualBenchTexts.h"
#include "transform/LineOperations.h"

namespace scrivano {
namespace {

template <typename Operation>
void RunOnMixedText(benchmark::State& state, Operation operation) {
  bench::UseShippedParameters();
  bench::RunInPlace(state, bench::MixedText(static_cast<size_t>(state.range(0))), operation);
}

void BM_LinkAdjacentLines(benchmark::State& state) {
  bench::UseShippedParameters();
  bench::RunReturning(state, bench::MixedText(static_cast<size_t>(state.range(0))), LinkAdjacentLines);
}
void BM_RemoveRedundantEmptyLines(benchmark::State& state) {
  RunOnMixedText(state, RemoveRedundantEmptyLines);
}
void BM_DeleteLinesWithSubstring(benchmark::State& state) {
  RunOnMixedText(state, DeleteLinesWithSubstring);
}
void BM_ExtractEndingLines(benchmark::State& state) {
  RunOnMixedText(state, ExtractEndingLines);
}
void BM_SplitLines(benchmark::State& state) {
  RunOnMixedText(state, SplitLines);
}
void BM_MakeLowercase(benchmark::State& state) {
  RunOnMixedText(state, MakeLowercase);
}
void BM_MakeUppercase(benchmark::State& state) {
  RunOnMixedText(state, MakeUppercase);
}

#define SCRIVANO_LINE_BENCH(name) BENCHMARK(name)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond)
SCRIVANO_LINE_BENCH(BM_LinkAdjacentLines);
SCRIVANO_LINE_BENCH(BM_RemoveRedundantEmptyLines);
SCRIVANO_LINE_BENCH(BM_DeleteLinesWithSubstring);
SCRIVANO_LINE_BENCH(BM_ExtractEndingLines);
SCRIVANO_LINE_BENCH(BM_SplitLines);
SCRIVANO_LINE_BENCH(BM_MakeLowercase);
SCRIVANO_LINE_BENCH(BM_MakeUppercase);

}  // namespace
}  // namespace scrivano
