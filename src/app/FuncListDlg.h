// The Function List: a small, always-on-top, resizable window of its own (not owned by the main window)
// with the sorted list of the nineteen entries. A double-click on an entry asks for its task.
#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <functional>
#include <mutex>
#include <span>

#include "functions/FunctionTable.h"
#include "platform/DesktopPlatform.h"

class QListWidget;

namespace scrivano {

class CFuncListDlg : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(CFuncListDlg)

 public:
  CFuncListDlg(std::span<const FunctionEntry> entries, Text parameterFile);
  ~CFuncListDlg() override;

  QListWidget* List() const { return list_; }
  // Called with the entry number on a double-click.
  std::function<void(int number)> onDoubleClick;

  // Restores the stored placement, or centres the window on the desktop when none is valid.
  void RestorePlacement();
  // Stores the placement in DIMENSIONS under "Function List" (once the window goes away).
  void SavePlacement();
  // The window's rectangle on the screen, readable from any thread.
  platform::Rect WindowRect() const;
  // The size that shows every item whole and leaves room for the caption of a running task.
  QSize FittingSize() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void RecordRect();

  QListWidget* list_;
  Text parameterFile_;
  mutable std::mutex rectMutex_;
  platform::Rect rect_;
};

inline constexpr char16_t kFunctionListKey[] = u"Function List";

// The width a window needs for the caption to show whole in the window manager's title bar.
int CaptionWidth(TextView caption);

}  // namespace scrivano
