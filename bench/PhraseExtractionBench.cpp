// The repeated-phrase report: on the mixed text (segments of the translation memory, repeating once the
// text outgrows it) and on a varied one whose phrases repeat only now and then; each also with a U+FFFF
// (the character that marks reported phrases) at the end of every line, so that every line has windows
// that may match blanked text. Sizes 4× apart show the growth.
#include <benchmark/benchmark.h>

#include "LanguageBenchSupport.h"
#include "text/Text.h"
#include "transform/PhraseExtraction.h"

namespace scrivano {
namespace {

enum class Kind { Mixed, Varied };

void ExtractPhrasesBench(benchmark::State& state, Kind kind, const char16_t* answer, bool markInEveryLine) {
  Parameters().SetAll({});
  const size_t size = static_cast<size_t>(state.range(0));
  Text text = kind == Kind::Varied ? bench::VariedMixedText(size) : bench::MixedText(size);
  if (markInEveryLine) Replace(text, u"\r\n", u"\uFFFF\r\n");
  bench::FixedAnswers answers(answer, true);
  bench::RunOnCopies(state, text, ExtractPhrases);
}

void BM_ExtractPhrases(benchmark::State& state) {
  ExtractPhrasesBench(state, Kind::Mixed, u"2 6 2", false);
}
void BM_ExtractPhrases_Varied(benchmark::State& state) {
  ExtractPhrasesBench(state, Kind::Varied, u"2 6 2", false);
}
void BM_ExtractPhrases_WithMarks(benchmark::State& state) {
  ExtractPhrasesBench(state, Kind::Mixed, u"2 6 2", true);
}
void BM_ExtractPhrases_Varied_WithMarks(benchmark::State& state) {
  ExtractPhrasesBench(state, Kind::Varied, u"2 6 2", true);
}
// Every phrase of up to 100 words reported, each line with a U+FFFF.
void BM_ExtractPhrases_Varied_WithMarks_Everything(benchmark::State& state) {
  ExtractPhrasesBench(state, Kind::Varied, u"1 100 1", true);
}
// Lines that share a long stretch before their U+FFFF and differ after it: each phrase holding the mark
// is checked at the places of its rarest stretch, not at every line.
void BM_ExtractPhrases_SharedStretchBeforeMark(benchmark::State& state) {
  Parameters().SetAll({});
  bench::FixedAnswers answers(u"2 3 2", true);
  Text text;
  for (int i = 0; i < state.range(0); ++i) {
    text += u"abcdefgh\uFFFF";
    text += static_cast<char16_t>(0x4E00 + i % 20000);
    text += static_cast<char16_t>(0x4E00 + i / 20000);
    text += u"\r\n";
  }
  bench::RunOnCopies(state, text, ExtractPhrases);
}

BENCHMARK(BM_ExtractPhrases)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractPhrases_Varied)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractPhrases_WithMarks)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractPhrases_Varied_WithMarks)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractPhrases_SharedStretchBeforeMark)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractPhrases_Varied_WithMarks_Everything)
    ->Arg(256 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
