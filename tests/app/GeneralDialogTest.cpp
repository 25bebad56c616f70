#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "app/GeneralDialog.h"
#include "prompt/SelectionPrompt.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

const Text kSep(1, kOptionSeparator);
const Text kPrompt = u"Pick one" + kSep + u"1. Up down" + kSep + u"2. Left right";

TEST(GeneralDialog, TypingANumberAndOkReturnsItWhileTheSelectedItemIsKept) {
  test::TestPrompts prompts;
  Text prompt = kPrompt;
  CGeneralDialog dialog(prompt, 1.0f);
  dialog.show();
  EXPECT_EQ(dialog.AnswerEdit()->text(), QStringLiteral("1. Up down"));
  QTest::keyClicks(dialog.AnswerEdit(), QStringLiteral("7"));
  QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompt, u"7");
  EXPECT_EQ(LastSelectedItem(), u"1. Up down");
}

TEST(GeneralDialog, WithANegativeFactorEnterCancelsUntilTheSelectionChanges) {
  test::TestPrompts prompts;
  Text prompt = kPrompt;
  {
    CGeneralDialog dialog(prompt, -1.0f);
    dialog.show();
    EXPECT_TRUE(dialog.CancelButton()->isDefault());
    QTest::keyClick(dialog.AnswerEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(prompt, kPrompt);
  }
  CGeneralDialog dialog(prompt, -1.0f);
  dialog.show();
  dialog.OptionList()->setCurrentRow(1);
  EXPECT_TRUE(dialog.OkButton()->isDefault());
  QTest::keyClick(dialog.AnswerEdit(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompt, u"2. Left right");
  EXPECT_EQ(LastSelectedItem(), u"2. Left right");
}

TEST(GeneralDialog, DoubleClickOnAnOptionConfirmsIt) {
  test::TestPrompts prompts;
  Text prompt = kPrompt;
  CGeneralDialog dialog(prompt, 1.0f);
  dialog.show();
  QListWidget* list = dialog.OptionList();
  const QPoint at = list->visualItemRect(list->item(1)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompt, u"2. Left right");
}

TEST(GeneralDialog, ShowsCaptionMessageAndOptionsAsThePromptGivesThem) {
  struct Case {
    Text prompt;
    QString title;
    QString message;
    int options;
  } cases[] = {
      {u"Only a message", QStringLiteral("General Selection"), QStringLiteral("\nOnly a message"), 0},
      {u"Title" + Text(1, kCaptionEnd) + u"two\r\nlines" + kSep + u"a", QStringLiteral("Title"),
       QStringLiteral("two\nlines"), 1},
  };
  for (Case& c : cases) {
    CGeneralDialog dialog(c.prompt, 1.0f);
    EXPECT_EQ(dialog.windowTitle(), c.title);
    EXPECT_EQ(dialog.MessageEdit()->toPlainText(), c.message);
    EXPECT_EQ(dialog.OptionList()->count(), c.options);
  }
}

TEST(GeneralDialog, GrowsForWideOptionsAndManyItemsWithinTheScreen) {
  Text prompt = u"m";
  for (int i = 0; i < 200; ++i) prompt += kSep + u"option " + FromUtf8(std::to_string(i));
  prompt += kSep + Text(400, u'W');
  CGeneralDialog wide(prompt, 1.0f);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_GT(wide.width(), 500);
  EXPECT_LE(wide.width(), screen.width());
  EXPECT_LE(wide.height(), screen.height());
  EXPECT_GT(wide.height(), screen.height() / 2);

  Text tall = kPrompt;
  CGeneralDialog doubled(tall, 2.0f);
  CGeneralDialog plain(tall, 1.0f);
  EXPECT_EQ(doubled.height(), plain.height() * 2);
  // The buttons keep their distance from the bottom edge.
  EXPECT_EQ(doubled.height() - doubled.OkButton()->y(), plain.height() - plain.OkButton()->y());
}

TEST(GeneralDialog, ALongOptionShowsWholeWithoutScrollingWhenTheScreenHasRoom) {
  // As long as the longest Set Parameters line: wider than the template, narrower than the screen.
  const Text longOption =
      u"13       Automatic translation: window classes, tab-separated (';' after a class: selected text)";
  Text prompt = u"Pick" + kSep + u"1. short" + kSep + longOption;
  CGeneralDialog dialog(prompt, 1.0f);
  dialog.show();
  QListWidget* list = dialog.OptionList();
  const int textWidth = list->fontMetrics().horizontalAdvance(list->item(1)->text());
  ASSERT_LT(textWidth + 100, QGuiApplication::primaryScreen()->geometry().width());
  EXPECT_GE(list->viewport()->width(), textWidth);
  EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
  EXPECT_EQ(dialog.AnswerEdit()->width(), list->width());
}

TEST(GeneralDialog, DownAndUpInTheEditFieldMoveTheSelection) {
  test::TestPrompts prompts;
  Text prompt = kPrompt + kSep + u"3. Back";
  CGeneralDialog dialog(prompt, 1.0f);
  dialog.show();
  const struct {
    Qt::Key key;
    int row;
  } steps[] = {{Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1}};
  for (const auto& step : steps) {
    QTest::keyClick(dialog.AnswerEdit(), step.key);
    EXPECT_EQ(dialog.OptionList()->currentRow(), step.row);
    EXPECT_EQ(dialog.AnswerEdit()->text(), dialog.OptionList()->item(step.row)->text());
  }
  QTest::keyClick(dialog.AnswerEdit(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompt, u"2. Left right");
  EXPECT_EQ(LastSelectedItem(), u"2. Left right");
}

}  // namespace
}  // namespace scrivano
