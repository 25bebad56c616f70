// The desktop's prompt handler: the "General Selection" dialog and message boxes, shown on the
// user-interface thread whichever thread asks.
//
// A question from a Function List task blocks that task only: the box is shown without modality and the
// task waits for its answer, so the list and the other tasks carry on. A question asked on the
// user-interface thread itself (saving, dropped files, Set Parameters, the launch menu) is modal.
//
// Every box comes up above the always-on-top Function List, active, with the mouse cursor on its default
// button; the cursor goes back afterwards unless the user went to the main window.
#pragma once

#include <QPointer>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/DesktopPlatform.h"
#include "prompt/SelectionPrompt.h"

class QDialog;
class QPushButton;
class QWidget;

namespace scrivano {

class QtPrompts : public PromptHandler {
 public:
  explicit QtPrompts(platform::DesktopPlatform& desktop);
  ~QtPrompts() override;

  bool AskSelection(Text& promptText, float heightFactor, bool parentIsDesktop) override;
  int ShowBox(const MessageRequest& request) override;

  // Entering: remembers the cursor and puts it at the desktop's centre; leaving: puts it back unless the
  // main window is in the foreground. Nothing before the main window is known.
  void ParkCursor(bool entering);
  // The always-on-top window that every box must cover (the Function List); none by default.
  void SetWindowToCover(std::function<QWidget*()> window) { windowToCover_ = std::move(window); }
  // User-interface thread, at shut-down: the boxes that tasks wait on are cancelled so that the tasks end.
  void CancelTaskPrompts();

 private:
  // Shows the dialog (made and read on the user-interface thread) and returns read's result: modal on
  // the user-interface thread, otherwise without modality while the calling task waits.
  int Run(const std::function<QDialog*()>& make, const std::function<int(QDialog&, int code)>& read);
  // Brings the shown box above every window of the program and puts the cursor on its default button.
  void Present(QDialog& dialog);

  platform::DesktopPlatform& desktop_;
  std::mutex cursorMutex_;
  platform::Point rememberedCursor_;  // one point for all boxes: a nested box overwrites it
  std::function<QWidget*()> windowToCover_;
  std::vector<QPointer<QDialog>> taskDialogs_;  // user-interface thread only
};

// The box itself, made on the user-interface thread: caption, text, buttons with the second one as the
// default (the first with firstButtonDefault).
QDialog* MakeMessageBox(const MessageRequest& request);
// The MessageResult of a finished box.
int MessageBoxResult(QDialog& box, const MessageRequest& request);
// The box's default button, or nullptr.
QPushButton* DefaultButton(QDialog& dialog);

}  // namespace scrivano
