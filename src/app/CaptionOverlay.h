// The white box in which a status caption shows on a window that draws its own title bar. A borderless
// window of the program's own, laid over the other program's window near its top; it goes when that
// window leaves the front or closes, and after ten seconds.
#pragma once

#include <QTimer>
#include <QWidget>

#include "platform/DesktopPlatform.h"
#include "text/Text.h"

namespace scrivano {

class CCaptionOverlay : public QWidget {
 public:
  explicit CCaptionOverlay(platform::DesktopPlatform& desktop);

  // Any thread: shows the text over the window (queued to the user-interface thread).
  void ShowOver(WindowHandle window, TextView text);
  // The box's rectangle in screen coordinates, for the window's rectangle and the text.
  QRect BoxRect(const platform::Rect& window, const QString& text) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Place(WindowHandle window, const QString& text);
  void CheckTarget();

  platform::DesktopPlatform& desktop_;
  WindowHandle target_ = 0;
  QString text_;
  QTimer watch_;
  int shownTicks_ = 0;
};

}  // namespace scrivano
