// Inputs built to hit the corners where time or memory used to grow faster than the input. Each case
// runs at one size and at four times that size; the time should grow about fourfold, not sixteenfold.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <string>

#include "LanguageBenchSupport.h"
#include "settings/IniFile.h"
#include "transform/PhraseExtraction.h"
#include "transform/SpacingPunctuation.h"
#include "transform/SplitEnglishChinese.h"
#include "transform/TagCleaning.h"

namespace scrivano {
namespace {

Text Repeated(TextView unit, size_t count) {
  Text text;
  text.reserve(unit.size() * count);
  for (size_t i = 0; i < count; ++i) text.append(unit);
  return text;
}

// Entry 14 on a Chinese text of unclosed brackets: each used to be looked for to the end of the text.
void BM_SplitEnglishChinese_UnclosedBrackets(benchmark::State& state) {
  bench::UseShippedParameters();
  bench::FixedAnswers answers(Text(), false);
  const Text text = Repeated(u"\u4E2D\uFF08", static_cast<size_t>(state.range(0)));
  bench::RunOnCopies(state, text,
                     [](TaskContext& context) { SplitEnglishChinese(*context.workingText, false); });
}
BENCHMARK(BM_SplitEnglishChinese_UnclosedBrackets)->Arg(80000)->Arg(320000)->Unit(benchmark::kMillisecond);

// Punctuation on a run of tabs and vertical tabs before a comma: " ," used to lose one space per pass.
void BM_NormalizeSegmentPunctuation_BlanksBeforeComma(benchmark::State& state) {
  bench::UseShippedParameters();
  Text text = u"a";
  text.append(Repeated(u"\t\v", static_cast<size_t>(state.range(0)) / 2)).append(u", b");
  bench::RunOnCopies(state, text,
                     [](TaskContext& context) { NormalizeSegmentPunctuation(*context.workingText, true); });
}
BENCHMARK(BM_NormalizeSegmentPunctuation_BlanksBeforeComma)
    ->Arg(160000)
    ->Arg(640000)
    ->Arg(2560000)
    ->Unit(benchmark::kMillisecond);

// The parameter-file reader on a file of blank lines (it used to keep about 100 bytes per byte read).
void BM_IniFile_BlankLines(benchmark::State& state) {
  const std::string bytes(static_cast<size_t>(state.range(0)), '\n');
  for (auto _ : state) {
    IniFile file = IniFile::FromBytes(bytes);
    benchmark::DoNotOptimize(file.Value(u"PARAMETERS", u"Para1"));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_IniFile_BlankLines)->Arg(2 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

// Entry 2 option 2 on pairs nested as deep as the text is long: every level used to be one pass over
// the whole text.
void BM_RemovePtPhTags_DeeplyNested(benchmark::State& state) {
  Text text;
  const int depth = static_cast<int>(state.range(0));
  for (int i = 0; i < depth; ++i) text += u"<pt" + FromUtf8(std::to_string(i)) + u">a";
  for (int i = depth - 1; i >= 0; --i) text += u"</pt" + FromUtf8(std::to_string(i)) + u">";
  bench::RunOnCopies(state, text, [](TaskContext& context) { RemovePtPhTags(*context.workingText); });
}
BENCHMARK(BM_RemovePtPhTags_DeeplyNested)->Arg(8000)->Arg(32000)->Arg(128000)->Unit(benchmark::kMillisecond);

// The same nesting with a stray "<", a half tag and a wrong closing at every level, and a tag that only
// forms once the innermost pair is gone: none of them may bring back a pass over the whole text per level.
void BM_RemovePtPhTags_DeeplyNestedAmongStrayTags(benchmark::State& state) {
  Text text;
  const int depth = static_cast<int>(state.range(0));
  for (int i = 0; i < depth; ++i) text += u"<pt" + FromUtf8(std::to_string(i)) + u">a < b<p </ptx ";
  text += u"<p<pt></pt>t>c</pt>";
  for (int i = depth - 1; i >= 0; --i) text += u"</pt" + FromUtf8(std::to_string(i)) + u">";
  bench::RunOnCopies(state, text, [](TaskContext& context) { RemovePtPhTags(*context.workingText); });
}
BENCHMARK(BM_RemovePtPhTags_DeeplyNestedAmongStrayTags)
    ->Arg(8000)
    ->Arg(32000)
    ->Arg(128000)
    ->Unit(benchmark::kMillisecond);

// Phrase extraction where the frequent phrases fall short of the repetitions: each window used to walk
// every occurrence of its phrase again.
void BM_ExtractPhrases_OneLineShortOfRepetitions(benchmark::State& state) {
  bench::UseShippedParameters();
  bench::FixedAnswers answers(u"1 100 1000", true);
  const Text text = Repeated(u"a ", static_cast<size_t>(state.range(0)));
  bench::RunOnCopies(state, text, ExtractPhrases);
}
BENCHMARK(BM_ExtractPhrases_OneLineShortOfRepetitions)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_ExtractPhrases_SameLinesShortOfRepetitions(benchmark::State& state) {
  bench::UseShippedParameters();
  bench::FixedAnswers answers(u"1 100 999999", true);
  const Text text = Repeated(u"the same line again\r\n", static_cast<size_t>(state.range(0)));
  bench::RunOnCopies(state, text, ExtractPhrases);
}
BENCHMARK(BM_ExtractPhrases_SameLinesShortOfRepetitions)
    ->Arg(25000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// Phrase extraction on lines that each hold a U+FFFF, the character that marks reported phrases: every
// window holding one used to search the whole text.
void BM_ExtractPhrases_MarkInEveryLine(benchmark::State& state) {
  bench::UseShippedParameters();
  bench::FixedAnswers answers(u"2 6 2", true);
  Text text = bench::VariedMixedText(static_cast<size_t>(state.range(0)));
  Replace(text, u"\r\n", u"\uFFFF\r\n");
  bench::RunOnCopies(state, text, ExtractPhrases);
  // The words come from a fixed stock, so a longer text repeats more of its phrases: the report grows
  // faster than the text at these sizes, and the time with it.
  Text report = text;
  TaskContext context;
  context.workingText = &report;
  ExtractPhrases(context);
  state.counters["report_lines"] = static_cast<double>(std::count(report.begin(), report.end(), u'\n'));
}
BENCHMARK(BM_ExtractPhrases_MarkInEveryLine)
    ->Arg(256 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano

// Every case takes its large blocks fresh from the system, as one run of the program does. Left to itself,
// glibc raises its threshold for mapping a block whenever one is freed, so one size may reuse the pages of
// the case before it and the next size not: that hides how the time grows with the input.
int main(int argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
