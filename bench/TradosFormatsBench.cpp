// Throughput of generating segment markup (entry 7) and turning it back into pairs (entry 16).
#include <benchmark/benchmark.h>

#include "BilingualBenchTexts.h"
#include "transform/TradosFormats.h"

namespace scrivano {
namespace {

void BM_GenerateTradosFormat(benchmark::State& state) {
  bench::RunReturning(state, bench::MixedText(static_cast<size_t>(state.range(0))), GenerateTradosFormat);
}

void BM_TradosToPairs(benchmark::State& state) {
  bench::UseShippedParameters();
  const int layout = static_cast<int>(state.range(1));
  bench::RunReturning(state, bench::SegmentMarkupText(static_cast<size_t>(state.range(0))),
                      [layout](const Text& text) { return TradosToPairs(text, layout); });
}

BENCHMARK(BM_GenerateTradosFormat)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TradosToPairs)->Args({1 << 20, 1})->Args({8 << 20, 1})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
