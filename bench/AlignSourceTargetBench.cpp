// Throughput of the five conversions of "01. Align source and target" on mixed English/Chinese text.
#include <benchmark/benchmark.h>

#include "BilingualBenchTexts.h"
#include "transform/AlignSourceTarget.h"

namespace scrivano {
namespace {

size_t Size(const benchmark::State& state) {
  return static_cast<size_t>(state.range(0));
}

void BM_ReturnPairsToTabPairs(benchmark::State& state) {
  bench::RunReturning(state, bench::MixedText(Size(state)), ReturnPairsToTabPairs);
}

void BM_TabPairsToReturnPairs(benchmark::State& state) {
  bench::RunReturning(state, bench::TabPairText(Size(state)), TabPairsToReturnPairs);
}

// Option 3: the sections paired, then the pairs put on one line each.
void BM_PairSections(benchmark::State& state) {
  const Text half = bench::MixedText(Size(state) / 2);
  bench::RunReturning(state, half + u"=====\r\n" + half,
                      [](const Text& text) { return ReturnPairsToTabPairs(PairSections(text, 1)); });
}

void BM_TmxToTabPairs(benchmark::State& state) {
  bench::RunInPlace(state, bench::TmxText(Size(state)), TmxToTabPairs);
}

void BM_GlossaryToTabPairs(benchmark::State& state) {
  bench::UseShippedParameters();
  bench::RunInPlace(state, bench::GlossaryText(Size(state)), GlossaryToTabPairs);
}

#define SCRIVANO_ALIGN_BENCH(name) BENCHMARK(name)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond)
SCRIVANO_ALIGN_BENCH(BM_ReturnPairsToTabPairs);
SCRIVANO_ALIGN_BENCH(BM_TabPairsToReturnPairs);
SCRIVANO_ALIGN_BENCH(BM_PairSections);
SCRIVANO_ALIGN_BENCH(BM_TmxToTabPairs);
SCRIVANO_ALIGN_BENCH(BM_GlossaryToTabPairs);

}  // namespace
}  // namespace scrivano
