// The runner's prompt handler: answers questions from the --answer list in order, writes every dialog to
// the transcript (one JSON object per line) and a readable line to standard error. A transcript that
// cannot be written throws WriteFailed.
#pragma once

#include <deque>
#include <ostream>
#include <stdexcept>
#include <string>

#include "prompt/SelectionPrompt.h"

namespace scrivano::cli {

// A question found no answer left. what() is the readable question.
class NoAnswerLeft : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An answer that cannot answer its question (a Yes/No answer that is neither "yes" nor "no").
class BadAnswer : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr char kCancelAnswer[] = "<cancel>";

class ScriptedPrompts : public PromptHandler {
 public:
  ScriptedPrompts(std::deque<std::string> answers, std::ostream* transcript, std::ostream& log);

  bool AskSelection(Text& promptText, float heightFactor, bool parentIsDesktop) override;
  int ShowBox(const MessageRequest& request) override;

  // Answers no question asked for.
  size_t UnusedAnswers() const { return answers_.size(); }

 private:
  std::string TakeAnswer(const std::string& question);
  void Record(const std::string& jsonLine);

  std::deque<std::string> answers_;
  std::ostream* transcript_;
  std::ostream& log_;
};

}  // namespace scrivano::cli
