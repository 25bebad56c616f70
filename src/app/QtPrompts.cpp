#include "app/QtPrompts.h"

#include <QMessageBox>

#include "app/GeneralDialog.h"
#include "app/QtText.h"
#include "app/UiThread.h"

namespace scrivano {

QtPrompts::QtPrompts(platform::DesktopPlatform& desktop) : desktop_(desktop) {}

void QtPrompts::ParkCursor(bool entering) {
  const WindowHandle mainWindow = Parameters().mainWindowHandle.load();
  if (!mainWindow || !desktop_.Available()) return;
  std::lock_guard lock(cursorMutex_);
  if (entering) {
    const platform::Rect screen = desktop_.ScreenRect();
    rememberedCursor_ = desktop_.CursorPosition();
    desktop_.SetCursorPosition({screen.Width() / 2 - 20, screen.Height() / 2 + 10});
  } else if (desktop_.ForegroundWindow() != mainWindow) {
    desktop_.SetCursorPosition(rememberedCursor_);
  }
}

bool QtPrompts::AskSelection(Text& promptText, float heightFactor, bool /*parentIsDesktop*/) {
  // The dialog has no owner either way: an owner from another program cannot hold a Qt dialog, and the
  // dialog stays on top of every window.
  ParkCursor(true);
  Text answer = promptText;
  const bool confirmed = RunOnUiThread([&] {
    CGeneralDialog dialog(answer, heightFactor);
    return dialog.exec() == QDialog::Accepted;
  });
  ParkCursor(false);
  if (confirmed) promptText = answer;
  return confirmed;
}

int QtPrompts::ShowBox(const MessageRequest& request) {
  ParkCursor(true);
  const int result = RunOnUiThread([&] { return RunMessageBox(request); });
  ParkCursor(false);
  if (result == 0) return request.buttons == MessageButtons::YesNo ? kResultNo : kResultCancel;
  return result;
}

int RunMessageBox(const MessageRequest& request) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(request.caption), ToQString(ToDisplayLines(request.text)),
                  QMessageBox::NoButton);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.setWindowModality(Qt::ApplicationModal);
  QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
  switch (request.buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      defaultButton = QMessageBox::Cancel;
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      defaultButton = QMessageBox::No;
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      defaultButton = QMessageBox::No;
      break;
  }
  box.setDefaultButton(defaultButton);
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
      return kResultOk;
    case QMessageBox::Yes:
      return kResultYes;
    case QMessageBox::No:
      return kResultNo;
    case QMessageBox::Cancel:
      return kResultCancel;
    default:
      return request.buttons == MessageButtons::Ok ? kResultOk : 0;
  }
}

}  // namespace scrivano
