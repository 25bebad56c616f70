#include "cli/ScriptedPrompts.h"

#include <nlohmann/json.hpp>


namespace scrivano::cli {
namespace {

using nlohmann::json;

// Line breaks shown as they are written, so that one dialog stays one line of the log.
std::string Readable(TextView text) {
  std::string out;
  for (char c : ToUtf8(text)) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else
      out += c;
  }
  return out;
}

std::string CaptionPrefix(TextView caption) {
  if (caption.empty()) return std::string();
  std::string prefix(1, '[');
  prefix.append(Readable(caption)).append("] ");
  return prefix;
}

}  // namespace

ScriptedPrompts::ScriptedPrompts(std::deque<std::string> answers, std::ostream* transcript, std::ostream& log)
    : answers_(std::move(answers)), transcript_(transcript), log_(log) {}

std::string ScriptedPrompts::TakeAnswer(const std::string& question) {
  if (answers_.empty()) throw NoAnswerLeft(question);
  std::string answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

void ScriptedPrompts::Record(const std::string& jsonLine) {
  if (!transcript_) return;
  *transcript_ << jsonLine << '\n';
  transcript_->flush();
}

bool ScriptedPrompts::AskSelection(Text& promptText, float, bool) {
  const PromptParts parts = ParsePrompt(promptText);
  std::string question = CaptionPrefix(parts.caption) + Readable(parts.message);
  for (size_t i = 0; i < parts.options.size(); ++i)
    question += (i == 0 ? " | options: " : " / ") + Readable(parts.options[i]);
  const std::string answer = TakeAnswer(question);

  json record = {{"kind", "select"}, {"caption", ToUtf8(parts.caption)}, {"text", ToUtf8(parts.message)}};
  json options = json::array();
  for (const Text& option : parts.options) options.push_back(ToUtf8(option));
  record["options"] = options;
  const bool confirmed = answer != kCancelAnswer;
  record["answer"] = confirmed ? json(answer) : json(nullptr);
  Record(record.dump());
  log_ << "scrivano-cli: " << question << " -> " << (confirmed ? answer : std::string(kCancelAnswer)) << '\n';
  if (!confirmed) return false;

  // The dialog's selected item is the option that was chosen; a typed answer leaves the first selected.
  promptText = FromUtf8(answer);
  Text selected = parts.options.empty() ? Text() : parts.options.front();
  for (const Text& option : parts.options)
    if (option == promptText) selected = option;
  SetLastSelectedItem(selected);
  return true;
}

int ScriptedPrompts::ShowBox(const MessageRequest& request) {
  const std::string question = CaptionPrefix(request.caption) + Readable(request.text);
  json record = {{"caption", ToUtf8(request.caption)}, {"text", ToUtf8(request.text)}};
  if (request.buttons != MessageButtons::YesNo && request.buttons != MessageButtons::YesNoCancel) {
    record = {{"kind", "message"}, {"caption", record["caption"]}, {"text", record["text"]}, {"answer", nullptr}};
    Record(record.dump());
    log_ << "scrivano-cli: " << question << '\n';
    return kResultOk;
  }
  const std::string answer = TakeAnswer(question);
  if (answer != "yes" && answer != "no")
    throw BadAnswer("the answer \"" + answer + "\" to a Yes/No question must be \"yes\" or \"no\": " + question);
  record = {{"kind", "yesno"}, {"caption", record["caption"]}, {"text", record["text"]}, {"answer", answer}};
  Record(record.dump());
  log_ << "scrivano-cli: " << question << " -> " << answer << '\n';
  return answer == "yes" ? kResultYes : kResultNo;
}

}  // namespace scrivano::cli
