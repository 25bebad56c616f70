#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <future>

#include "app/GeneralDialog.h"
#include "app/QtPrompts.h"
#include "platform/fake/FakeDesktop.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

// The shown box of that type: the modal one, or one that a task waits on.
template <typename Widget>
Widget* ShownBox() {
  if (auto* modal = dynamic_cast<Widget*>(QApplication::activeModalWidget())) return modal;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* box = dynamic_cast<Widget*>(window); box && box->isVisible()) return box;
  return nullptr;
}

// Answers the next box of that type from the event loop.
template <typename Widget>
void AnswerNextModal(std::function<void(Widget&)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (Widget* box = ShownBox<Widget>()) {
      timer->stop();
      timer->deleteLater();
      act(*box);
    }
  });
  timer->start(20);
}

template <typename Result>
bool Arrives(std::future<Result>& result) {
  return QTest::qWaitFor(
      [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 30000);
}

class QtPromptsTest : public testing::Test {
 protected:
  void SetUp() override {
    SetPromptHandler(&prompts);
    Parameters().mainWindowHandle = 0;
  }
  void TearDown() override {
    SetPromptHandler(nullptr);
    Parameters().mainWindowHandle = 0;
  }

  platform::FakeDesktop desktop{platform::Rect{0, 0, 1280, 1024}};
  QtPrompts prompts{desktop};
};

TEST_F(QtPromptsTest, ParksTheCursorAtTheScreenCentreOnceTheMainWindowIsKnown) {
  desktop.SetCursorPosition({5, 7});
  prompts.ParkCursor(true);
  prompts.ParkCursor(false);
  EXPECT_EQ(desktop.CursorMoves().size(), 1u) << "nothing before the main window is known";

  Parameters().mainWindowHandle = 77;
  prompts.ParkCursor(true);
  EXPECT_EQ(desktop.CursorPosition(), (platform::Point{620, 522}));
  prompts.ParkCursor(false);
  EXPECT_EQ(desktop.CursorPosition(), (platform::Point{5, 7}));

  // With the main window in front the cursor stays where the box was.
  prompts.ParkCursor(true);
  desktop.SetForeground(77);
  const size_t moves = desktop.CursorMoves().size();
  prompts.ParkCursor(false);
  EXPECT_EQ(desktop.CursorMoves().size(), moves);
}

TEST_F(QtPromptsTest, AQuestionFromATaskRunsOnTheUserInterfaceThread) {
  auto answer = std::async(std::launch::async, [] {
    Text prompt = u"Pick" + Text(1, kOptionSeparator) + u"1. a";
    const bool confirmed = AskSelection(prompt, 1.0f, true);
    return std::make_pair(confirmed, prompt);
  });
  AnswerNextModal<QDialog>([](QDialog& dialog) {
    auto& general = dynamic_cast<CGeneralDialog&>(dialog);
    QTest::keyClicks(general.AnswerEdit(), QStringLiteral("12"));
    QTest::mouseClick(general.OkButton(), Qt::LeftButton);
  });
  ASSERT_TRUE(Arrives(answer));
  const auto [confirmed, prompt] = answer.get();
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(prompt, u"12");
}

TEST_F(QtPromptsTest, MessageBoxesDefaultToTheSecondButtonAndSaveQuestionsToYes) {
  struct Case {
    MessageButtons buttons;
    bool firstButtonDefault;
    int result;  // of Enter
  } cases[] = {{MessageButtons::Ok, false, kResultOk},
               {MessageButtons::YesNo, false, kResultNo},
               {MessageButtons::OkCancel, false, kResultCancel},
               {MessageButtons::YesNoCancel, false, kResultNo},
               {MessageButtons::YesNoCancel, true, kResultYes}};
  for (const Case& c : cases) {
    auto result = std::async(std::launch::async, [&] {
      MessageRequest request{u"Keep?", u"Notice", c.buttons, false};
      request.firstButtonDefault = c.firstButtonDefault;
      return ShowBox(request);
    });
    AnswerNextModal<QMessageBox>([](QMessageBox& box) {
      EXPECT_EQ(box.windowTitle(), QStringLiteral("Notice"));
      QTest::keyClick(&box, Qt::Key_Return);
    });
    ASSERT_TRUE(Arrives(result));
    EXPECT_EQ(result.get(), c.result);
  }
}

TEST_F(QtPromptsTest, ATaskWaitingOnItsQuestionBlocksNothingElse) {
  // Two tasks ask at the same time; both boxes are shown without modality, and the second is answered
  // first.
  const auto ask = [](Text option) {
    return std::async(std::launch::async, [option] {
      Text prompt = u"Pick" + Text(1, kOptionSeparator) + option;
      return AskSelection(prompt, 1.0f, true) ? prompt : Text(u"<cancelled>");
    });
  };
  auto first = ask(u"1. first");
  ASSERT_TRUE(QTest::qWaitFor([] { return ShownBox<CGeneralDialog>() != nullptr; }, 30000));
  auto second = ask(u"2. second");
  QList<CGeneralDialog*> boxes;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        boxes.clear();
        for (QWidget* window : QApplication::topLevelWidgets())
          if (auto* box = dynamic_cast<CGeneralDialog*>(window); box && box->isVisible()) boxes.append(box);
        return boxes.size() == 2;
      },
      30000));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  for (CGeneralDialog* box : boxes) EXPECT_EQ(box->windowModality(), Qt::NonModal);
  CGeneralDialog* secondBox =
      boxes[0]->OptionList()->item(0)->text() == QStringLiteral("2. second") ? boxes[0] : boxes[1];
  QTest::mouseClick(secondBox->OkButton(), Qt::LeftButton);
  ASSERT_TRUE(Arrives(second));
  EXPECT_EQ(second.get(), u"2. second");
  EXPECT_NE(first.wait_for(std::chrono::seconds(0)), std::future_status::ready);
  // At shut-down a question still open is cancelled, so that its task ends.
  prompts.CancelTaskPrompts();
  ASSERT_TRUE(Arrives(first));
  EXPECT_EQ(first.get(), u"<cancelled>");
}

}  // namespace
}  // namespace scrivano
