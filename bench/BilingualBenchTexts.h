// Inputs for the benchmarks of the line and segment transformations, all built from the mixed
// English/Chinese sample of BenchTexts.h, and the shipped parameters that those transformations read.
#pragma once

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "BenchTexts.h"
#include "settings/ParameterStore.h"
#include "text/Tokenizers.h"

namespace scrivano::bench {

// The parameters of the shipped config.ini (Western and neutral characters, deleted substrings).
inline void UseShippedParameters() {
  Parameters().SetParameterFile(FromUtf8(std::string(SCRIVANO_SOURCE_DIR) + "/data/config.ini"));
  Parameters().LoadParameters();
}

// The sample's lines, taken two at a time as source and target, about size bytes of UTF-16 in all.
template <typename AppendPair>
Text PairedText(size_t size, AppendPair appendPair) {
  const Text lines = MixedText(size);
  Text text;
  text.reserve(lines.size() + lines.size() / 4);
  Text source;
  Text target;
  int pos = 0;
  do {
    NextToken(lines, pos, source, kLineBreak);
    if (pos == 0) break;
    NextToken(lines, pos, target, kLineBreak);
    appendPair(text, source, target);
  } while (pos != 0);
  return text;
}

// "source\ttarget" lines.
inline Text TabPairText(size_t size) {
  return PairedText(size, [](Text& text, const Text& source, const Text& target) {
    text.append(source).append(1, u'\t').append(target).append(u"\r\n");
  });
}

// A translation memory: one unit per pair.
inline Text TmxText(size_t size) {
  Text text = u"<?xml version=\"1.0\"?>\r\n<tmx><body>\r\n";
  text += PairedText(size, [](Text& out, const Text& source, const Text& target) {
    out.append(u"<tu>\r\n  <tuv xml:lang=\"en\"><seg>").append(source).append(u"</seg></tuv>\r\n");
    out.append(u"  <tuv xml:lang=\"zh\"><seg>").append(target).append(u"</seg></tuv>\r\n</tu>\r\n");
  });
  return text + u"</body></tmx>\r\n";
}

// Segment markup with the English line as source and the Chinese line as target.
inline Text SegmentMarkupText(size_t size) {
  return PairedText(size, [](Text& text, const Text& source, const Text& target) {
    text.append(u"{0>").append(source).append(u"<}0{>").append(target).append(u"<0}\r\n");
  });
}

// Glossary lines: the first words of the English line, a slash or a bracket, the Chinese line.
inline Text GlossaryText(size_t size) {
  size_t n = 0;
  return PairedText(size, [&n](Text& text, const Text& source, const Text& target) {
    text.append(source.substr(0, 24)).append(++n % 2 ? u"/" : u" [n] ").append(target).append(u"\r\n");
  });
}

// Every iteration starts with the memory the allocator keeps handed back to the system, so that the
// output of each run lands on fresh pages, as the one run of a Function List task does. Without this the
// allocator's thresholds let some sizes reuse warm pages and others not, which says nothing about the
// operations themselves.
inline void StartCold(benchmark::State& state) {
  state.PauseTiming();
  ::malloc_trim(0);
  state.ResumeTiming();
}

inline void CountBytes(benchmark::State& state, const Text& input) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size() * 2));
}

// An operation that rewrites its text in place gets a fresh copy of the input, made outside the timing.
template <typename Operation>
void RunInPlace(benchmark::State& state, const Text& input, Operation operation) {
  for (auto _ : state) {
    state.PauseTiming();
    Text text = input;
    ::malloc_trim(0);
    state.ResumeTiming();
    operation(text);
    benchmark::DoNotOptimize(text);
  }
  CountBytes(state, input);
}

// An operation that returns a new text reads the input as it is.
template <typename Operation>
void RunReturning(benchmark::State& state, const Text& input, Operation operation) {
  for (auto _ : state) {
    StartCold(state);
    benchmark::DoNotOptimize(operation(input));
  }
  CountBytes(state, input);
}

}  // namespace scrivano::bench
