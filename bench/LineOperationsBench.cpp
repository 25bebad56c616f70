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
// Combined files: the 88-space separator line of "03. Combine windows/files text" every 200 lines.
void BM_LinkAdjacentLines_CombinedText(benchmark::State& state) {
  bench::UseShippedParameters();
  const Text lines = bench::MixedText(static_cast<size_t>(state.range(0)));
  const Text separator = u"\r\n" + Text(88, u' ') + u"\r\n";
  Text text;
  int count = 0;
  for (size_t from = 0, end = lines.find(u"\r\n"); end != Text::npos;
       from = end + 2, end = lines.find(u"\r\n", from)) {
    text.append(lines, from, end + 2 - from);
    if (++count % 200 == 0) text += separator;
  }
  bench::RunReturning(state, text, LinkAdjacentLines);
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
SCRIVANO_LINE_BENCH(BM_LinkAdjacentLines_CombinedText);
SCRIVANO_LINE_BENCH(BM_RemoveRedundantEmptyLines);
SCRIVANO_LINE_BENCH(BM_DeleteLinesWithSubstring);
SCRIVANO_LINE_BENCH(BM_ExtractEndingLines);
SCRIVANO_LINE_BENCH(BM_SplitLines);
SCRIVANO_LINE_BENCH(BM_MakeLowercase);
SCRIVANO_LINE_BENCH(BM_MakeUppercase);

}  // namespace
}  // namespace scrivano
