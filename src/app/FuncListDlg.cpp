#include "app/FuncListDlg.h"

#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QStyle>

#include "app/GeneralDialog.h"
#include "app/QtText.h"
#include "app/ScrivanoApp.h"
#include "app/WindowDimensions.h"
#include "prompt/SelectionPrompt.h"

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
  setWindowTitle(tr("Function List"));
  setAttribute(Qt::WA_QuitOnClose, false);
  const DialogUnits du(*this);
  resize(du.X(kWidth), du.Y(kHeight));
  list_->setGeometry(du.X(kListLeft), du.Y(kListTop), du.X(kListWidth), du.Y(kListHeight));
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setSortingEnabled(true);
  for (const FunctionEntry& entry : entries) {
    auto* item = new QListWidgetItem(ToQString(ShownText(entry.itemText)));
    item->setData(Qt::UserRole, entry.number);
    list_->addItem(item);
  }
  // Without a stored placement the window gets the size that shows every item whole and the caption of a
  // running task unshortened.
  const QSize fitting = FittingSize();
  resize(std::max(width(), fitting.width()), std::max(height(), fitting.height()));
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    if (onDoubleClick) onDoubleClick(item->data(Qt::UserRole).toInt());
  });
  RestorePlacement();
}

CFuncListDlg::~CFuncListDlg() {
  SavePlacement();
}

QSize CFuncListDlg::FittingSize() const {
  const QFontMetrics metrics(list_->font());
  int itemsWidth = 0;
  for (int i = 0; i < list_->count(); ++i)
    itemsWidth = std::max(itemsWidth, metrics.horizontalAdvance(list_->item(i)->text()));
  const int margin = list_->x();
  const int chrome = 2 * list_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                     2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
  const int listWidth = itemsWidth + chrome + 2 * margin;
  const int rowHeight = std::max(list_->sizeHintForRow(0), metrics.height());
  const int listHeight = rowHeight * (list_->count() + 1) + 2 * list_->frameWidth() + 2 * list_->y();
  return {std::max(listWidth, CaptionWidth(TaskCaption(1))), listHeight};
}

int CaptionWidth(TextView caption) {
  // The window manager draws the caption in a bold face, beside its icon and its three buttons.
  QFont font = QApplication::font();
  font.setBold(true);
  const QFontMetrics metrics(font);
  const int buttons = 4 * (metrics.height() + 8);
  return metrics.horizontalAdvance(ToQString(caption)) * 5 / 4 + buttons;
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
