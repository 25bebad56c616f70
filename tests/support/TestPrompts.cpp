#include "support/TestPrompts.h"

#include <gtest/gtest.h>


namespace scrivano::test {

TestPrompts::TestPrompts(std::initializer_list<Text> answers) : answers_(answers) {
  Parameters().SetAll({});
  SetLastSelectedItem(u"");
  SetPromptHandler(this);
}

TestPrompts::~TestPrompts() { SetPromptHandler(nullptr); }

Text TestPrompts::TakeAnswer() {
  if (answers_.empty()) {
    ADD_FAILURE() << "a question was asked that the test did not answer";
    return u"<cancel>";
  }
  Text answer = answers_.front();
  answers_.pop_front();
  return answer;
}

bool TestPrompts::AskSelection(Text& promptText, float, bool) {
  const PromptParts parts = ParsePrompt(promptText);
  const Text answer = TakeAnswer();
  const bool confirmed = answer != u"<cancel>";
  dialogs_.push_back({Dialog::Kind::kSelect, parts.caption, parts.message, parts.options, confirmed ? answer : Text()});
  if (!confirmed) return false;
  promptText = answer;
  Text selected = parts.options.empty() ? Text() : parts.options.front();
  for (const Text& option : parts.options)
    if (option == answer) selected = option;
  SetLastSelectedItem(selected);
  return true;
}

int TestPrompts::ShowBox(const MessageRequest& request) {
  if (request.buttons == MessageButtons::YesNo || request.buttons == MessageButtons::YesNoCancel) {
    const Text answer = TakeAnswer();
    dialogs_.push_back({Dialog::Kind::kYesNo, request.caption, request.text, {}, answer});
    return answer == u"yes" ? kResultYes : kResultNo;
  }
  dialogs_.push_back({Dialog::Kind::kMessage, request.caption, request.text, {}, {}});
  return kResultOk;
}

std::vector<Text> TestPrompts::Messages() const {
  std::vector<Text> texts;
  for (const Dialog& dialog : dialogs_)
    if (dialog.kind == Dialog::Kind::kMessage) texts.push_back(dialog.text);
  return texts;
}

void SetParameter(int k, TextView value) { Parameters().SetValue(k, value); }

}  // namespace scrivano::test
