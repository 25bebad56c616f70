#include "app/CaptionOverlay.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "app/QtText.h"

namespace scrivano {
namespace {

constexpr int kWatchMilliseconds = 250;
constexpr int kShownTicks = 10'000 / kWatchMilliseconds;
constexpr int kInset = 12;

}  // namespace

CCaptionOverlay::CCaptionOverlay(platform::DesktopPlatform& desktop)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), desktop_(desktop) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setWindowTitle(QStringLiteral("Scrivano caption"));
  watch_.setInterval(kWatchMilliseconds);
  connect(&watch_, &QTimer::timeout, this, [this] { CheckTarget(); });
}

void CCaptionOverlay::ShowOver(WindowHandle window, TextView text) {
  const QString shown = ToQString(text);
  QMetaObject::invokeMethod(
      this, [this, window, shown] { Place(window, shown); }, Qt::QueuedConnection);
}

QRect CCaptionOverlay::BoxRect(const platform::Rect& window, const QString& text) const {
  // Below twice a caption's height, as wide as the window; the text's word-wrapped size, 24 pixels wider
  // and 12 taller, kept 12 pixels inside the window's right edge.
  const int captionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const QRect area(window.left, window.top + 2 * captionHeight, window.Width(),
                   std::max(0, window.Height() - 2 * captionHeight));
  QRect box = fontMetrics().boundingRect(QRect(0, 0, area.width() - 2 * kInset, area.height()),
                                         Qt::TextWordWrap, text);
  box.moveTopLeft(area.topLeft());
  box.setRight(box.right() + 2 * kInset);
  box.setBottom(box.bottom() + kInset);
  if (box.right() > window.right - kInset) box.setRight(window.right - kInset);
  return box;
}

void CCaptionOverlay::Place(WindowHandle window, const QString& text) {
  const platform::Rect rect = desktop_.WindowRect(window);
  if (!window || text.isEmpty() || rect.Width() <= 0) return;
  target_ = window;
  text_ = text;
  setGeometry(BoxRect(rect, text));
  shownTicks_ = 0;
  show();
  raise();
  update();
  watch_.start();
}

void CCaptionOverlay::CheckTarget() {
  if (++shownTicks_ < kShownTicks && desktop_.IsWindow(target_) && desktop_.ForegroundWindow() == target_)
    return;
  watch_.stop();
  hide();
}

void CCaptionOverlay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setPen(Qt::black);
  painter.drawText(rect().adjusted(kInset, kInset, 0, 0), Qt::TextWordWrap, text_);
}

}  // namespace scrivano
