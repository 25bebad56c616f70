// Segment punctuation on whole mixed texts: every step is a pass over the text, so time grows linearly.
#include <benchmark/benchmark.h>

#include <vector>

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

// The shape of a split text: many short segments, each punctuated on its own.
void BM_NormalizeSegmentPunctuation_ShortSegments(benchmark::State& state) {
  bench::UseShippedParameters();
  const Text text = bench::MixedText(1 << 20);
  const auto length = static_cast<size_t>(state.range(0));
  std::vector<Text> segments;
  for (size_t at = 0; at < text.size(); at += length) segments.push_back(text.substr(at, length));
  for (auto _ : state) {
    size_t kept = 0;
    for (size_t k = 0; k < segments.size(); ++k) {
      Text segment = segments[k];
      kept += NormalizeSegmentPunctuation(segment, k % 2 == 0).size();
    }
    benchmark::DoNotOptimize(kept);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}
BENCHMARK(BM_NormalizeSegmentPunctuation_ShortSegments)->Arg(24)->Arg(80)->Unit(benchmark::kMillisecond);

void BM_ApplySpaceRule(benchmark::State& state) {
  bench::UseShippedParameters();
  const Text text = bench::MixedText(static_cast<size_t>(state.range(0)));
  bench::RunOnCopies(state, text, [](TaskContext& context) { ApplySpaceRule(*context.workingText); });
}
BENCHMARK(BM_ApplySpaceRule)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
