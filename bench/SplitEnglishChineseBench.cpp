// "14. Split English and Chinese" on mixed texts, with the shipped parameters and run lengths 3/1.
#include <benchmark/benchmark.h>

#include "LanguageBenchSupport.h"
#include "functions/FunctionTable.h"

namespace scrivano {
namespace {

void SplitEnglishChineseBench(benchmark::State& state, bool varied) {
  bench::UseShippedParameters();
  Parameters().SetValue(Param::kSplitRunLengths, u"3/1");
  const size_t size = static_cast<size_t>(state.range(0));
  const Text text = varied ? bench::VariedMixedText(size) : bench::MixedText(size);
  bench::FixedAnswers answers(u"", true);
  bench::RunOnCopies(state, text, FindFunctionEntry("14")->run);
}

void BM_SplitEnglishChinese(benchmark::State& state) {
  SplitEnglishChineseBench(state, false);
}
void BM_SplitEnglishChinese_Varied(benchmark::State& state) {
  SplitEnglishChineseBench(state, true);
}
BENCHMARK(BM_SplitEnglishChinese)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitEnglishChinese_Varied)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
