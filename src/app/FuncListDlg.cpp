#include "app/FuncListDlg.h"

#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QStyle>

#include "app/GeneralDialog.h"
#include "app/QtText.h"
#include "app/WindowDimensions.h"

namespace scrivano {
namespace {

constexpr int kWidth = 157, kHeight = 183;
constexpr int kListLeft = 7, kListTop = 7, kListWidth = 143, kListHeight = 169;

platform::Rect ToRect(const QRect& r) {
  return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

platform::Rect DesktopRect() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? ToRect(screen->geometry()) : platform::Rect{};
}

}  // namespace

CFuncListDlg::CFuncListDlg(std::span<const FunctionEntry> entries, Text parameterFile)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      list_(new QListWidget(this)),
      parameterFile_(std::move(parameterFile)) {
  setWindowTitle(QStringLiteral("Function List"));
  setAttribute(Qt::WA_QuitOnClose, false);
  const DialogUnits du(*this);
  resize(du.X(kWidth), du.Y(kHeight));
  list_->setGeometry(du.X(kListLeft), du.Y(kListTop), du.X(kListWidth), du.Y(kListHeight));
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setSortingEnabled(true);
  for (const FunctionEntry& entry : entries) {
    auto* item = new QListWidgetItem(ToQString(entry.itemText));
    item->setData(Qt::UserRole, entry.number);
    list_->addItem(item);
  }
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    if (onDoubleClick) onDoubleClick(item->data(Qt::UserRole).toInt());
  });
  RestorePlacement();
}

CFuncListDlg::~CFuncListDlg() {
  SavePlacement();
}

void CFuncListDlg::RestorePlacement() {
  const int captionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  if (const auto stored = RestoreWindowRect(parameterFile_, kFunctionListKey, DesktopRect(), captionHeight)) {
    setGeometry(stored->left, stored->top, stored->Width(), stored->Height());
  } else {
    const platform::Rect desktop = DesktopRect();
    move((desktop.left + desktop.right) / 2 - width() / 2, (desktop.top + desktop.bottom) / 2 - height() / 2);
  }
  RecordRect();
}

void CFuncListDlg::SavePlacement() {
  // The client area is stored: the window manager's frame is only known once the window is framed, and
  // storing it would grow the window by its decoration at every start.
  const QRect r = isMinimized() || isMaximized() ? normalGeometry() : geometry();
  const QScreen* screen = QGuiApplication::primaryScreen();
  const platform::Rect screenRect =
      screen ? platform::Rect{0, 0, screen->geometry().width(), screen->geometry().height()}
             : platform::Rect{};
  SaveWindowRect(parameterFile_, ToRect(r), screenRect, kFunctionListKey);
}

platform::Rect CFuncListDlg::WindowRect() const {
  std::lock_guard lock(rectMutex_);
  return rect_;
}

void CFuncListDlg::RecordRect() {
  std::lock_guard lock(rectMutex_);
  rect_ = ToRect(frameGeometry());
}

void CFuncListDlg::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The list keeps the same distance from all four edges as from the left and top edges.
  const int left = list_->x();
  const int top = list_->y();
  list_->setGeometry(left, top, width() - 2 * left, height() - 2 * top);
  RecordRect();
}

void CFuncListDlg::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  RecordRect();
}

}  // namespace scrivano
