// Support for the benchmarks of the language-aware functions: fixed answers to their questions, the
// shipped parameters, and a mixed text that repeats less than bench::MixedText.
#pragma once

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "BenchTexts.h"
#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"
#include "tasks/TaskContext.h"

namespace scrivano::bench {

// Answers every selection with the same text and every Yes/No question with the same button.
class FixedAnswers : public PromptHandler {
 public:
  FixedAnswers(Text selection, bool yes) : selection_(std::move(selection)), yes_(yes) {
    SetPromptHandler(this);
  }
  ~FixedAnswers() override { SetPromptHandler(nullptr); }

  bool AskSelection(Text& promptText, float, bool) override {
    promptText = selection_;
    return true;
  }
  int ShowBox(const MessageRequest& request) override {
    if (request.buttons == MessageButtons::YesNo) return yes_ ? kResultYes : kResultNo;
    return kResultOk;
  }

 private:
  Text selection_;
  bool yes_;
};

// The parameters as shipped in data/config.ini.
inline void UseShippedParameters() {
  Parameters().SetParameterFile(FromUtf8(std::string(SCRIVANO_SOURCE_DIR) + "/data/config.ini"));
  Parameters().LoadParameters();
}

// About size bytes of UTF-16 text: lines of random English words (from a fixed vocabulary of made-up
// words) and runs of Chinese characters, so that phrases repeat now and then rather than wholesale.
inline Text VariedMixedText(size_t size) {
  std::mt19937 random(12345);
  static const char* const kSyllables[] = {"ka",  "lo", "mi",  "ne", "tor", "ul",
                                           "pra", "se", "vin", "do", "re",  "th"};
  std::vector<Text> words;
  for (int i = 0; i < 2000; ++i) {
    std::string word;
    for (int s = 0; s < 1 + static_cast<int>(random() % 3); ++s)
      word += kSyllables[random() % std::size(kSyllables)];
    words.push_back(FromUtf8(word));
  }
  Text text;
  text.reserve(size / 2 + 256);
  while (text.size() * 2 < size) {
    const int wordCount = 3 + static_cast<int>(random() % 15);
    for (int w = 0; w < wordCount; ++w) {
      if (w > 0) text += u' ';
      text += words[random() % words.size()];
    }
    text += u"\r\n";
    const int charCount = 4 + static_cast<int>(random() % 25);
    for (int c = 0; c < charCount; ++c) text += static_cast<char16_t>(0x4E00 + random() % 1500);
    text += u"\u3002\r\n";
  }
  return text;
}

// Times operation on a fresh copy of text as a task's working text, per iteration.
template <typename Operation>
void RunOnCopies(benchmark::State& state, const Text& text, Operation operation) {
  for (auto _ : state) {
    Text work = text;
    TaskContext context;
    context.workingText = &work;
    operation(context);
    benchmark::DoNotOptimize(work);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}

}  // namespace scrivano::bench
