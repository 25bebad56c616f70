#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
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

// Answers the next modal window of that type from within its own event loop.
template <typename Widget>
void AnswerNextModal(std::function<void(Widget&)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* modal = qobject_cast<Widget*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*modal);
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

TEST_F(QtPromptsTest, MessageBoxesDefaultToTheSecondButton) {
  struct Case {
    MessageButtons buttons;
    int result;  // of Enter
  } cases[] = {{MessageButtons::Ok, kResultOk},
               {MessageButtons::YesNo, kResultNo},
               {MessageButtons::OkCancel, kResultCancel},
               {MessageButtons::YesNoCancel, kResultNo}};
  for (const Case& c : cases) {
    auto result =
        std::async(std::launch::async, [&] { return ShowMessage(u"Keep?", u"Notice", c.buttons, false); });
    AnswerNextModal<QMessageBox>([](QMessageBox& box) {
      EXPECT_EQ(box.windowTitle(), QStringLiteral("Notice"));
      QTest::keyClick(&box, Qt::Key_Return);
    });
    ASSERT_TRUE(Arrives(result));
    EXPECT_EQ(result.get(), c.result);
  }
}

}  // namespace
}  // namespace scrivano
