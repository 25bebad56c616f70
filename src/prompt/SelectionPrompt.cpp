#include "prompt/SelectionPrompt.h"

#include <atomic>
#include <mutex>

#include "text/Tokenizers.h"

namespace scrivano {
namespace {

std::atomic<PromptHandler*> installedHandler{nullptr};

std::mutex lastSelectedMutex;
Text lastSelectedItem;

}  // namespace

Text PromptParts::DisplayMessage() const { return Contains(message, u"\r\n") ? message : u"\r\n" + message; }

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

void SetPromptHandler(PromptHandler* handler) { installedHandler.store(handler); }

bool AskSelection(Text& promptText, float heightFactor, bool parentIsDesktop) {
  PromptHandler* handler = installedHandler.load();
  return handler && handler->AskSelection(promptText, heightFactor, parentIsDesktop);
}

bool AskYesNo(TextView text, TextView caption) {
  return ShowMessage(text, caption, MessageButtons::YesNo, false) == kResultYes;
}

int ShowNotice(TextView text) { return ShowMessage(text, u"Notice", MessageButtons::Ok, false); }

int ShowMessage(TextView text, TextView caption, MessageButtons buttons, bool useForegroundOwner) {
  return ShowBox({Text(text), Text(caption), buttons, useForegroundOwner});
}

int ShowBox(const MessageRequest& request) {
  PromptHandler* handler = installedHandler.load();
  if (!handler) return request.buttons == MessageButtons::YesNo ? kResultNo : kResultOk;
  return handler->ShowBox(request);
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
