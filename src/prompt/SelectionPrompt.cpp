#include "prompt/SelectionPrompt.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "text/Tokenizers.h"

namespace scrivano {
namespace {

std::atomic<PromptHandler*> installedHandler{nullptr};
std::atomic<ShownTextFunction> installedShownText{nullptr};

std::mutex lastSelectedMutex;
Text lastSelectedItem;

}  // namespace

Text PromptParts::DisplayMessage() const {
  return Contains(message, u"\r\n") ? message : u"\r\n" + message;
}

PromptParts ParsePrompt(TextView promptText) {
  PromptParts parts;
  const TextView captionEnd(&kCaptionEnd, 1);
  const TextView separator(&kOptionSeparator, 1);
  int pos = 0;
  parts.hasCaptionMark = NextTokenFound(promptText, parts.caption, pos, captionEnd);
  if (!parts.hasCaptionMark) {
    parts.caption.clear();
    pos = 0;
  }
  NextTokenFound(promptText, parts.message, pos, separator);
  Text option;
  while (pos != Length(promptText)) {
    NextTokenFound(promptText, option, pos, separator);
    parts.options.push_back(option);
  }
  return parts;
}

void SetPromptHandler(PromptHandler* handler) {
  installedHandler.store(handler);
}

void SetShownTextFunction(ShownTextFunction shownText) {
  installedShownText.store(shownText);
}

Text ShownText(TextView english) {
  const ShownTextFunction shownText = installedShownText.load();
  return shownText ? shownText(english) : Text(english);
}

bool AskSelection(Text& promptText, float heightFactor, bool parentIsDesktop) {
  PromptHandler* handler = installedHandler.load();
  if (!handler) return false;
  if (!installedShownText.load()) return handler->AskSelection(promptText, heightFactor, parentIsDesktop);
  // 1. The prompt as it is shown: each part in the user's language, the marks where they were.
  const PromptParts parts = ParsePrompt(promptText);
  Text shown = parts.hasCaptionMark ? ShownText(parts.caption) + kCaptionEnd : Text();
  shown += ShownText(parts.message);
  std::vector<Text> shownOptions;
  for (const Text& option : parts.options) {
    shownOptions.push_back(ShownText(option));
    shown += kOptionSeparator + shownOptions.back();
  }
  if (!handler->AskSelection(shown, heightFactor, parentIsDesktop)) return false;
  // 2. A shown option stands for the caller's option; typed text is the answer as it is.
  const auto english = [&](const Text& answer) {
    const auto found = std::find(shownOptions.begin(), shownOptions.end(), answer);
    return found == shownOptions.end() ? answer : parts.options[found - shownOptions.begin()];
  };
  promptText = english(shown);
  SetLastSelectedItem(english(LastSelectedItem()));
  return true;
}

bool AskYesNo(TextView text, TextView caption) {
  return ShowMessage(text, caption, MessageButtons::YesNo, false) == kResultYes;
}

int ShowNotice(TextView text) {
  return ShowMessage(text, u"Notice", MessageButtons::Ok, false);
}

int ShowMessage(TextView text, TextView caption, MessageButtons buttons, bool useForegroundOwner) {
  return ShowBox({Text(text), Text(caption), buttons, useForegroundOwner});
}

int ShowBox(const MessageRequest& request) {
  PromptHandler* handler = installedHandler.load();
  if (!handler) return request.buttons == MessageButtons::YesNo ? kResultNo : kResultOk;
  if (!installedShownText.load()) return handler->ShowBox(request);
  MessageRequest shown = request;
  shown.text = ShownText(request.text);
  shown.caption = ShownText(request.caption);
  return handler->ShowBox(shown);
}

Text LastSelectedItem() {
  std::lock_guard lock(lastSelectedMutex);
  return lastSelectedItem;
}

void SetLastSelectedItem(TextView item) {
  std::lock_guard lock(lastSelectedMutex);
  lastSelectedItem = Text(item);
}

}  // namespace scrivano
