// The desktop's prompt handler: the "General Selection" dialog and message boxes, modal on the
// user-interface thread whichever thread asks. While a box is open the mouse cursor waits at the centre
// of the screen, where the box is, and goes back afterwards unless the user went to the main window.
#pragma once

#include <mutex>

#include "platform/DesktopPlatform.h"
#include "prompt/SelectionPrompt.h"

namespace scrivano {

class QtPrompts : public PromptHandler {
 public:
  explicit QtPrompts(platform::DesktopPlatform& desktop);

  bool AskSelection(Text& promptText, float heightFactor, bool parentIsDesktop) override;
  int ShowBox(const MessageRequest& request) override;

  // Entering: remembers the cursor and puts it at the desktop's centre; leaving: puts it back unless the
  // main window is in the foreground. Nothing before the main window is known.
  void ParkCursor(bool entering);

 private:
  platform::DesktopPlatform& desktop_;
  std::mutex cursorMutex_;
  platform::Point rememberedCursor_;  // one point for all boxes: a nested box overwrites it
};

// The box itself, on the calling (user-interface) thread: caption, text, buttons with the second one as
// the default; returns a MessageResult.
int RunMessageBox(const MessageRequest& request);

}  // namespace scrivano
