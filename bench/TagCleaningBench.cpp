// "02. Clean various tags", both options, on mixed texts with a tag or two on every line.
#include <benchmark/benchmark.h>

#include "LanguageBenchSupport.h"
#include "functions/FunctionTable.h"

namespace scrivano {
namespace {

void CleanVariousTagsBench(benchmark::State& state, const char16_t* option) {
  bench::UseShippedParameters();
  Text text = bench::MixedText(static_cast<size_t>(state.range(0)));
  if (option[0] == u'1') {
    Replace(text, u"\r\n", u"{1}\r\n{2}");
  } else {
    Replace(text, u"\r\n", u"</pt1><ph2/>\r\n<pt1>");
    text = u"<pt1>" + text + u"</pt1>";
  }
  bench::FixedAnswers answers(option, true);
  bench::RunOnCopies(state, text, FindFunctionEntry("2")->run);
}

void BM_CleanVariousTags_Braces(benchmark::State& state) {
  CleanVariousTagsBench(state, u"1");
}
void BM_CleanVariousTags_PtPh(benchmark::State& state) {
  CleanVariousTagsBench(state, u"2");
}
BENCHMARK(BM_CleanVariousTags_Braces)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CleanVariousTags_PtPh)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrivano
