#include "app/GeneralDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "app/QtText.h"
#include "prompt/SelectionPrompt.h"

namespace scrivano {
namespace {

// The template, in dialog units: the dialog, the message, the option box (edit field and list) and the
// two buttons.
constexpr int kDialogWidth = 285, kDialogHeight = 185;
constexpr int kMessageLeft = 24, kMessageTop = 11, kMessageWidth = 237, kMessageHeight = 29;
constexpr int kComboLeft = 24, kComboTop = 46, kComboWidth = 237, kComboHeight = 112;
constexpr int kOkLeft = 54, kCancelLeft = 181, kButtonTop = 164, kButtonWidth = 50, kButtonHeight = 14;

}  // namespace

DialogUnits::DialogUnits(const QWidget& widget) {
  const QFontMetrics metrics(widget.font());
  const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  baseX_ = std::max(1, (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2);
  baseY_ = std::max(1, metrics.height());
}

CGeneralDialog::CGeneralDialog(Text& promptText, float heightFactor, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint),
      promptText_(promptText),
      heightFactor_(heightFactor),
      messageEdit_(new QPlainTextEdit(this)),
      answerEdit_(new QLineEdit(this)),
      optionList_(new QListWidget(this)),
      okButton_(new QPushButton(tr("Ok"), this)),
      cancelButton_(new QPushButton(tr("Cancel"), this)) {
  setWindowTitle(tr("General Selection"));
  setModal(true);
  const DialogUnits du(*this);
  resize(du.X(kDialogWidth), du.Y(kDialogHeight));
  messageEdit_->setReadOnly(true);
  messageEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  messageEdit_->setGeometry(du.X(kMessageLeft), du.Y(kMessageTop), du.X(kMessageWidth), du.Y(kMessageHeight));
  messageEdit_->setFocusPolicy(Qt::ClickFocus);
  const int editHeight = answerEdit_->sizeHint().height();
  answerEdit_->setGeometry(du.X(kComboLeft), du.Y(kComboTop), du.X(kComboWidth), editHeight);
  optionList_->setGeometry(du.X(kComboLeft), du.Y(kComboTop) + editHeight, du.X(kComboWidth),
                           du.Y(kComboHeight) - editHeight);
  optionList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  optionList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  okButton_->setGeometry(du.X(kOkLeft), du.Y(kButtonTop), du.X(kButtonWidth), du.Y(kButtonHeight));
  cancelButton_->setGeometry(du.X(kCancelLeft), du.Y(kButtonTop), du.X(kButtonWidth), du.Y(kButtonHeight));
  okButton_->setDefault(true);

  InitDialog();

  connect(okButton_, &QPushButton::clicked, this, &CGeneralDialog::Confirm);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(optionList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    selectedIndex_ = row;
    answerEdit_->setText(optionList_->item(row)->text());
    MakeOkDefault();
  });
  connect(answerEdit_, &QLineEdit::textEdited, this, &CGeneralDialog::MakeOkDefault);
  answerEdit_->installEventFilter(this);
  connect(optionList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    selectedIndex_ = optionList_->row(item);
    answerEdit_->setText(item->text());
    Confirm();
  });
}

void CGeneralDialog::InitDialog() {
  // 1. The caption part; an empty caption before the mark also means the options are not measured.
  const PromptParts parts = ParsePrompt(promptText_);
  if (parts.hasCaptionMark && parts.caption.empty()) optionWidth_ = 0;
  if (!parts.caption.empty()) setWindowTitle(ToQString(parts.caption));
  // 2. and 3. The message, a one-line message on the second line, and the empty edit text.
  messageEdit_->setPlainText(ToQString(ToDisplayLines(parts.DisplayMessage())));
  answerEdit_->clear();
  // 4. The options, measured while they are added. The width counts the list's frame, its vertical scroll
  //    bar and the items' margins too, so that the widest option fits without horizontal scrolling.
  const QFontMetrics metrics(optionList_->font());
  for (const Text& option : parts.options) {
    const QString text = ToQString(option);
    optionList_->addItem(text);
    if (optionWidth_ > 0) optionWidth_ = std::max(optionWidth_, metrics.horizontalAdvance(text));
  }
  if (optionWidth_ > 1) {
    optionWidth_ += 2 * optionList_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                    2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
  }
  // 5. Item 0 selected, laid out, centred on the desktop.
  if (optionList_->count() > 0) {
    optionList_->setCurrentRow(0);
    answerEdit_->setText(optionList_->item(0)->text());
  }
  selectedIndex_ = 0;
  LayOut();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->geometry().center());
    move(frame.topLeft());
  }
  answerEdit_->setFocus();
  answerEdit_->selectAll();
}

void CGeneralDialog::LayOut() {
  // 1. A negative factor makes Cancel the default button.
  if (heightFactor_ < 0) {
    heightFactor_ = -heightFactor_;
    okButton_->setDefault(false);
    cancelButton_->setDefault(true);
  }
  const QRect screen =
      QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
  const int comboLeft = answerEdit_->x();
  const int comboTop = answerEdit_->y();
  const int comboWidth = answerEdit_->width();
  const int comboBottom = optionList_->geometry().bottom() + 1;
  const int spaceBelow = height() - comboBottom;
  // 2. Width: as wide as the widest option, within the screen.
  int contentWidth = comboWidth;
  if (comboWidth < optionWidth_) contentWidth = std::min(optionWidth_, screen.width() - 2 * comboLeft - 24);
  // 3. Height: scaled by the factor, or as tall as the options need, within the screen.
  const int oldHeight = height();
  int newHeight = oldHeight;
  if (heightFactor_ > 1.0f) {
    newHeight = static_cast<int>(static_cast<float>(oldHeight) * heightFactor_);
  } else {
    const int itemHeight = std::max(
        1, optionList_->sizeHintForRow(0) > 0 ? optionList_->sizeHintForRow(0) : fontMetrics().height());
    const int needed =
        answerEdit_->height() + spaceBelow + itemHeight * (optionList_->count() + 2) + comboTop;
    if (needed >= oldHeight)
      newHeight = needed <= screen.height()
                      ? needed
                      : screen.height() - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  }
  // 4. The controls follow: message and option box take the content width, the option box and the
  //    buttons keep their distance from the bottom.
  resize(contentWidth + 2 * comboLeft, newHeight);
  messageEdit_->resize(contentWidth, messageEdit_->height());
  answerEdit_->resize(contentWidth, answerEdit_->height());
  optionList_->setGeometry(comboLeft, optionList_->y(), contentWidth,
                           newHeight - spaceBelow - optionList_->y());
  for (QPushButton* button : {okButton_, cancelButton_})
    button->move(button->x(), newHeight - (oldHeight - button->y()));
}

bool CGeneralDialog::eventFilter(QObject* watched, QEvent* event) {
  // Up and Down in the edit field move the list's selection, as in a combo box.
  if (watched == answerEdit_ && event->type() == QEvent::KeyPress && optionList_->count() > 0) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
      const int row = optionList_->currentRow() + (key == Qt::Key_Down ? 1 : -1);
      optionList_->setCurrentRow(std::clamp(row, 0, optionList_->count() - 1));
      answerEdit_->selectAll();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CGeneralDialog::MakeOkDefault() {
  cancelButton_->setDefault(false);
  okButton_->setDefault(true);
}

void CGeneralDialog::Confirm() {
  promptText_ = FromQString(answerEdit_->text());
  const QListWidgetItem* selected = optionList_->item(selectedIndex_);
  SetLastSelectedItem(selected ? FromQString(selected->text()) : Text());
  accept();
}

}  // namespace scrivano
