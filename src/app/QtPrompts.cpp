#include "app/QtPrompts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <condition_variable>
#include <memory>

#include "app/GeneralDialog.h"
#include "app/QtText.h"
#include "app/UiThread.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;

// The window manager places and frames a new window a moment after it is shown; the cursor goes to the
// default button once it has.
constexpr int kPlacedAfterMilliseconds = 150;

}  // namespace

QtPrompts::QtPrompts(platform::DesktopPlatform& desktop) : desktop_(desktop) {}

QtPrompts::~QtPrompts() {
  if (OnUiThread()) CancelTaskPrompts();
}

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

void QtPrompts::CancelTaskPrompts() {
  std::vector<QPointer<QDialog>> open;
  open.swap(taskDialogs_);
  for (const QPointer<QDialog>& dialog : open)
    if (dialog) dialog->reject();
}

void QtPrompts::Present(QDialog& dialog) {
  // Both the box and the Function List stay on top; a box made transient for the list is kept above it
  // by the window manager, and it is raised and activated besides.
  QWidget* cover = windowToCover_ ? windowToCover_() : nullptr;
  if (cover && cover->isVisible() && cover->windowHandle() && dialog.windowHandle())
    dialog.windowHandle()->setTransientParent(cover->windowHandle());
  dialog.raise();
  dialog.activateWindow();
  if (desktop_.Available()) desktop_.RequestActivation(static_cast<WindowHandle>(dialog.winId()));
  if (!Parameters().mainWindowHandle.load() || !desktop_.Available()) return;
  QTimer::singleShot(kPlacedAfterMilliseconds, &dialog, [this, box = QPointer<QDialog>(&dialog)] {
    if (!box || !box->isVisible()) return;
    box->raise();
    if (QPushButton* button = DefaultButton(*box)) {
      const QPoint centre = button->mapToGlobal(button->rect().center());
      desktop_.SetCursorPosition({centre.x(), centre.y()});
    }
  });
}

int QtPrompts::Run(const std::function<QDialog*()>& make, const std::function<int(QDialog&, int)>& read) {
  if (OnUiThread()) {
    const std::unique_ptr<QDialog> dialog(make());
    dialog->setWindowModality(Qt::ApplicationModal);
    QTimer::singleShot(0, dialog.get(), [this, box = dialog.get()] { Present(*box); });
    const int code = dialog->exec();
    return read(*dialog, code);
  }
  struct Answer {
    std::mutex mutex;
    std::condition_variable arrived;
    bool done = false;
    int result = 0;
    void Give(int value) {
      {
        std::lock_guard lock(mutex);
        if (done) return;
        done = true;
        result = value;
      }
      arrived.notify_all();
    }
  };
  const auto answer = std::make_shared<Answer>();
  const bool shown = RunOnUiThread([&] {
    QDialog* dialog = make();
    dialog->setWindowModality(Qt::NonModal);
    QObject::connect(dialog, &QDialog::finished, dialog, [answer, dialog, read](int code) {
      answer->Give(read(*dialog, code));
      dialog->deleteLater();
    });
    QObject::connect(dialog, &QObject::destroyed, [answer] { answer->Give(0); });
    std::erase_if(taskDialogs_, [](const QPointer<QDialog>& open) { return open.isNull(); });
    taskDialogs_.emplace_back(dialog);
    dialog->show();
    Present(*dialog);
    return true;
  });
  if (!shown) return 0;  // the program is closing
  std::unique_lock lock(answer->mutex);
  answer->arrived.wait(lock, [&] { return answer->done; });
  return answer->result;
}

bool QtPrompts::AskSelection(Text& promptText, float heightFactor, bool /*parentIsDesktop*/) {
  // The dialog has no owner either way: an owner from another program cannot hold a Qt dialog, and the
  // dialog stays on top of every window.
  ParkCursor(true);
  Text answer = promptText;
  const bool confirmed = Run([&] { return new CGeneralDialog(answer, heightFactor); },
                             [](QDialog&, int code) { return code == QDialog::Accepted ? 1 : 0; }) == 1;
  ParkCursor(false);
  if (confirmed) promptText = answer;
  return confirmed;
}

int QtPrompts::ShowBox(const MessageRequest& request) {
  ParkCursor(true);
  const int result = Run([&] { return MakeMessageBox(request); },
                         [&](QDialog& box, int) { return MessageBoxResult(box, request); });
  ParkCursor(false);
  if (result == 0) return request.buttons == MessageButtons::YesNo ? kResultNo : kResultCancel;
  return result;
}

QDialog* MakeMessageBox(const MessageRequest& request) {
  auto* box = new QMessageBox(QMessageBox::NoIcon, ToQString(request.caption),
                              ToQString(ToDisplayLines(request.text)), QMessageBox::NoButton);
  box->setWindowFlag(Qt::WindowStaysOnTopHint);
  QMessageBox::StandardButton first = QMessageBox::Ok, second = QMessageBox::Ok;
  switch (request.buttons) {
    case MessageButtons::Ok:
      box->setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      second = QMessageBox::Cancel;
      break;
    case MessageButtons::YesNo:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      first = QMessageBox::Yes;
      second = QMessageBox::No;
      break;
    case MessageButtons::YesNoCancel:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      first = QMessageBox::Yes;
      second = QMessageBox::No;
      break;
  }
  box->setDefaultButton(request.firstButtonDefault ? first : second);
  return box;
}

int MessageBoxResult(QDialog& dialog, const MessageRequest& request) {
  auto& box = static_cast<QMessageBox&>(dialog);
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

QPushButton* DefaultButton(QDialog& dialog) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->isDefault()) return button;
  return nullptr;
}

}  // namespace scrivano
