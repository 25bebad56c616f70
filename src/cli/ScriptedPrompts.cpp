#include "cli/ScriptedPrompts.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/StandardStreams.h"

namespace scrivano::cli {
namespace {

using nlohmann::json;

// Line breaks shown as they are written, so that one dialog stays one line of the log; other control
// characters (ESC, BEL, the C1 range) as \xHH or \uHHHH, so that none reaches the terminal raw.
std::string Readable(TextView text) {
  Text out;
  for (char16_t c : text) {
    if (c == u'\r') {
      out += u"\\r";
    } else if (c == u'\n') {
      out += u"\\n";
    } else if (c == u'\t') {
      out += u"\\t";
    } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, c < 0x80 ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(c));
      out += FromUtf8(escaped);
    } else {
      out += c;
    }
  }
  return ToUtf8(out);
}

std::string Readable(const std::string& bytes) {
  return Readable(FromUtf8(bytes));
}

// Ill-formed bytes of an answer become U+FFFD, so that no input can make the JSON writer throw.
std::string Dump(const json& record) {
  return record.dump(-1, ' ', false, json::error_handler_t::replace);
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
  if (!*transcript_) throw WriteFailed("cannot write the transcript");
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
  Record(Dump(record));
  log_ << "scrivano-cli: " << question << " -> "
       << (confirmed ? Readable(answer) : std::string(kCancelAnswer)) << '\n';
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
    record = {
        {"kind", "message"}, {"caption", record["caption"]}, {"text", record["text"]}, {"answer", nullptr}};
    Record(Dump(record));
    log_ << "scrivano-cli: " << question << '\n';
    return kResultOk;
  }
  const std::string answer = TakeAnswer(question);
  if (answer != "yes" && answer != "no")
    throw BadAnswer("the answer \"" + Readable(answer) +
                    "\" to a Yes/No question must be \"yes\" or \"no\": " + question);
  record = {{"kind", "yesno"}, {"caption", record["caption"]}, {"text", record["text"]}, {"answer", answer}};
  Record(Dump(record));
  log_ << "scrivano-cli: " << question << " -> " << answer << '\n';
  return answer == "yes" ? kResultYes : kResultNo;
}

}  // namespace scrivano::cli
