// Questions and message boxes. Every question a text function asks goes through these free functions;
// they hand the call to the installed PromptHandler: the desktop installs real dialogs, the command-line
// runner a scripted one, tests their own. Without a handler a question is cancelled and a box returns OK.
#pragma once

#include <vector>

#include "text/Text.h"

namespace scrivano {

inline constexpr char16_t kCaptionEnd = 0x0007;
inline constexpr char16_t kOptionSeparator = 0xFFFF;

// A prompt text cut into its parts: an optional caption ended by U+0007, the message up to the first
// U+FFFF, then the options, each up to the next U+FFFF or the end (a trailing U+FFFF adds no option).
struct PromptParts {
  bool hasCaptionMark = false;  // U+0007 was present (an empty caption then also skips measuring)
  Text caption;
  Text message;  // as the caller built it
  std::vector<Text> options;

  // The message as the dialog shows it: a one-line message gets a leading "\r\n".
  Text DisplayMessage() const;
};
PromptParts ParsePrompt(TextView promptText);

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
// The box results, numbered as the window system numbers them.
enum MessageResult : int { kResultOk = 1, kResultCancel = 2, kResultYes = 6, kResultNo = 7 };

struct MessageRequest {
  Text text;
  Text caption;
  MessageButtons buttons = MessageButtons::Ok;
  bool useForegroundOwner = false;
  // The first button (Yes, OK) is the default instead of the second: "Save changes?" questions.
  bool firstButtonDefault = false;
};

class PromptHandler {
 public:
  virtual ~PromptHandler() = default;
  // Shows the selection prompt. On true promptText holds the answer (the chosen option's full text or
  // what was typed) and the handler has called SetLastSelectedItem. On false promptText is unchanged.
  virtual bool AskSelection(Text& promptText, float heightFactor, bool parentIsDesktop) = 0;
  // Shows a message box and returns its result (a MessageResult).
  virtual int ShowBox(const MessageRequest& request) = 0;
};

// Installs the handler for the whole program (not owned; it must outlive every call). nullptr removes it.
void SetPromptHandler(PromptHandler* handler);

// The text to show for one of the program's English texts, in the user's language. The desktop installs
// one at start-up, before any prompt; the runner and the tests install none, and then every text shows as
// it was built. Called from any thread. Prompts hand the handler their caption, message and options
// through it, and a chosen option comes back as the caller's English option, whatever was shown.
using ShownTextFunction = Text (*)(TextView english);
void SetShownTextFunction(ShownTextFunction shownText);
Text ShownText(TextView english);

bool AskSelection(Text& promptText, float heightFactor = 1.0f, bool parentIsDesktop = false);
// Yes/No box without owner, No as default; true on Yes.
bool AskYesNo(TextView text, TextView caption);
// OK box with the caption "Notice", no owner.
int ShowNotice(TextView text);
int ShowMessage(TextView text, TextView caption, MessageButtons buttons, bool useForegroundOwner);
// Any box the request describes; returns its result (a MessageResult).
int ShowBox(const MessageRequest& request);

// The list text of the item that was selected when the last selection prompt was confirmed.
Text LastSelectedItem();
void SetLastSelectedItem(TextView item);

}  // namespace scrivano
