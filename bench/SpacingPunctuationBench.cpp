// Segment punctuation on whole mixed texts: every step is a pass over the text, so time grows linearly.
#include <benchmark/benchmark.h>

#include "LanguageBenchSupport.h"
#include "transform/SpacingPunctuation.h"

namespace scrivano {
namespace {

void NormalizeSegmentPunctuationBench(benchmark::State& state, bool isWestern) {
  bench::UseShippedParameters();
  const Text text = bench::MixedText(static_cast<size_t>(state.range(0)));
  bench::RunOnCopies(state, text, [isWestern](TaskContext& context) {
    NormalizeSegmentPunctuation(*context.workingText, isWestern);
  });
}

void BM_NormalizeSegmentPunctuation_Western(benchmark::State& state) {
  NormalizeSegmentPunctuationBench(state, true);
}
void BM_NormalizeSegmentPunctuation_Chinese(benchmark::State& state) {
  NormalizeSegmentPunctuationBench(state, false);
}
BENCHMARK(BM_NormalizeSegmentPunctuation_Western)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NormalizeSegmentPunctuation_Chinese)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
