// A prompt handler for tests: answers questions from a script and records every dialog. Installs itself
// for its lifetime and resets the parameters, so that each test starts from empty parameters.
#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"

namespace scrivano::test {

struct Dialog {
  enum class Kind { kSelect, kYesNo, kMessage } kind;
  Text caption;
  Text text;  // the message as the caller built it
  std::vector<Text> options;
  Text answer;  // what was answered; empty for messages and cancels
};

class TestPrompts : public PromptHandler {
 public:
  // Answers, in order: the text to confirm a selection with, u"<cancel>", or u"yes" / u"no".
  explicit TestPrompts(std::initializer_list<Text> answers = {});
  ~TestPrompts() override;

  void Answer(TextView answer) { answers_.emplace_back(answer); }

  bool AskSelection(Text& promptText, float heightFactor, bool parentIsDesktop) override;
  int ShowBox(const MessageRequest& request) override;

  const std::vector<Dialog>& dialogs() const { return dialogs_; }
  // The texts of the message boxes shown, in order.
  std::vector<Text> Messages() const;
  size_t AnswersLeft() const { return answers_.size(); }

 private:
  Text TakeAnswer();

  std::deque<Text> answers_;
  std::vector<Dialog> dialogs_;
};

// Sets one parameter for the test (the store is reset by TestPrompts).
void SetParameter(int k, TextView value);

}  // namespace scrivano::test
