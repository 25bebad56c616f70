// The repeated-phrase report with the answer "2 6 2": on the mixed text (segments of the translation
// memory, repeating once the text outgrows it) and on a varied one whose phrases repeat only now and then.
#include <benchmark/benchmark.h>

#include "LanguageBenchSupport.h"
#include "transform/PhraseExtraction.h"

namespace scrivano {
namespace {

void ExtractPhrasesBench(benchmark::State& state, bool varied) {
  Parameters().SetAll({});
  const size_t size = static_cast<size_t>(state.range(0));
  const Text text = varied ? bench::VariedMixedText(size) : bench::MixedText(size);
  bench::FixedAnswers answers(u"2 6 2", true);
  bench::RunOnCopies(state, text, ExtractPhrases);
}

void BM_ExtractPhrases(benchmark::State& state) {
  ExtractPhrasesBench(state, false);
}
void BM_ExtractPhrases_Varied(benchmark::State& state) {
  ExtractPhrasesBench(state, true);
}
BENCHMARK(BM_ExtractPhrases)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractPhrases_Varied)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
