// "General Selection": the selection prompt's dialog. A read-only message over an edit field and an
// always-visible option list; OK and Cancel. The caller's prompt text receives the answer on OK.
#pragma once

#include <QCoreApplication>
#include <QDialog>

#include "text/Text.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace scrivano {

class CGeneralDialog : public QDialog {
  Q_DECLARE_TR_FUNCTIONS(CGeneralDialog)

 public:
  // heightFactor: above 1.0 the dialog is that much taller; negative, Cancel is the default button.
  CGeneralDialog(Text& promptText, float heightFactor, QWidget* parent = nullptr);

  QPlainTextEdit* MessageEdit() const { return messageEdit_; }
  QLineEdit* AnswerEdit() const { return answerEdit_; }
  QListWidget* OptionList() const { return optionList_; }
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void InitDialog();
  void LayOut();
  void Confirm();
  void MakeOkDefault();

  Text& promptText_;
  float heightFactor_;
  int optionWidth_ = 1;  // 1 while options are measured, then the widest option in pixels
  int selectedIndex_ = 0;
  QPlainTextEdit* messageEdit_;
  QLineEdit* answerEdit_;
  QListWidget* optionList_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

// Dialog units of the dialog's font, as pixels.
class DialogUnits {
 public:
  explicit DialogUnits(const QWidget& widget);
  int X(int units) const { return units * baseX_ / 4; }
  int Y(int units) const { return units * baseY_ / 8; }

 private:
  int baseX_;
  int baseY_;
};

}  // namespace scrivano
