#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <array>
#include <semaphore>

#include "app/FuncListDlg.h"
#include "app/MainFrame.h"
#include "app/QtText.h"
#include "app/ScrivanoApp.h"
#include "app/TextWindow.h"
#include "platform/fake/FakeDesktop.h"
#include "settings/IniFile.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "text/AnsiCodec.h"
#include "toolkit/TextFiles.h"

namespace scrivano {
namespace {

using Entries = std::array<FunctionEntry, kFunctionEntryCount>;

Entries EntriesWith(int number, bool (*run)(TaskContext&), const char* needs = nullptr) {
  Entries entries;
  std::copy(FunctionEntries().begin(), FunctionEntries().end(), entries.begin());
  entries[static_cast<size_t>(number)].run = run;
  entries[static_cast<size_t>(number)].needs = needs;
  return entries;
}

std::counting_semaphore<8> taskGate{0};

bool UppercaseAfterTheGate(TaskContext& context) {
  taskGate.acquire();
  MakeUpper(*context.workingText);
  return true;
}

bool Uppercase(TaskContext& context) {
  MakeUpper(*context.workingText);
  return true;
}

bool NeedsTheClipboard(TaskContext&) {
  throw DesktopUnavailable("Copying window text needs the clipboard relay.");
}

class WorkbenchTest : public testing::Test {
 protected:
  void Start(const Entries& table = EntriesWith(10, Uppercase)) {
    entries = table;
    paths = PathsBelow(FromUtf8(folder.path()));
    ::mkdir(ToUtf8(paths.dataFolder).c_str(), 0755);
    AppOptions options;
    options.installPrompts = false;
    options.entries = entries;
    options.openWithDefaultApplication = [this](TextView path) {
      launched.emplace_back(path);
      return true;
    };
    app = std::make_unique<CScrivanoApp>(paths, desktop, options);
    ASSERT_TRUE(app->InitInstance());
  }

  void TearDown() override {
    if (app) {
      EXPECT_TRUE(app->ExitInstance());
    }
    app.reset();
    EXPECT_EQ(prompts.AnswersLeft(), 0u);
  }

  void DoubleClick(int number) {
    QListWidget* list = app->FuncList()->List();
    const QPoint at = list->visualItemRect(list->item(number)).center();
    // A click first: a double-click alone does not reach the list's double-click signal.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }

  bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 10000); }
  bool WaitForTasks() {
    return WaitFor([this] { return app->TaskCount() == 0; });
  }
  QString ListCaption() const { return app->FuncList()->windowTitle(); }
  Text OutputText() const { return app->OutputView() ? app->OutputView()->GetText() : u"<no Output window>"; }
  void SetParameterInFile(int k, TextView value) {
    WriteIniValue(paths.parameterFile, u"PARAMETERS", u"Para" + FromUtf8(std::to_string(k)), value);
    app->ApplyParameters();
  }

  test::TestPrompts prompts;
  test::TempFolder folder;
  platform::FakeDesktop desktop;
  ProgramPaths paths;
  Entries entries;
  std::vector<Text> launched;
  std::unique_ptr<CScrivanoApp> app;
};

TEST_F(WorkbenchTest, StartUpCreatesTheFilesAndPlacesInputAboveOutput) {
  Start();
  test::TempFolder& f = folder;
  EXPECT_EQ(f.ReadBytes("Data/Input"), "");
  EXPECT_EQ(f.ReadBytes("Data/Output"), "");
  EXPECT_TRUE(f.ReadBytes("Data/config.ini").starts_with("\xFF\xFE"));
  ASSERT_TRUE(app->InputView() && app->OutputView());
  const QRect client = app->MainFrame()->MdiArea()->viewport()->rect();
  const QWidget* input = app->InputView()->parentWidget();
  const QWidget* output = app->OutputView()->parentWidget();
  EXPECT_EQ(input->geometry(), QRect(client.left(), client.top(), client.width(), client.height() / 2));
  EXPECT_EQ(output->geometry().top(), client.top() + client.height() / 2);
  EXPECT_EQ(output->geometry().bottom(), client.bottom());
  EXPECT_EQ(app->MainFrame()->MdiArea()->activeSubWindow()->widget(), app->InputView());
  EXPECT_EQ(ListCaption(), QStringLiteral("Function List"));
  EXPECT_TRUE(app->FuncList()->isVisible());
  EXPECT_TRUE(app->FuncList()->windowFlags() & Qt::WindowStaysOnTopHint);
  ASSERT_EQ(app->FuncList()->List()->count(), kFunctionEntryCount);
  EXPECT_EQ(app->FuncList()->List()->item(10)->text(), QStringLiteral("10. Make uppercase"));
  EXPECT_EQ(app->TimerPeriod(), 500);  // the shipped config.ini
  const QStringList recent = app->MainFrame()->RecentFiles();
  ASSERT_GE(recent.size(), 2);
  EXPECT_EQ(recent[0], ToQString(paths.inputFile));
  EXPECT_EQ(recent[1], ToQString(paths.outputFile));
}

TEST_F(WorkbenchTest, TheManualOpensWithTheDefaultApplication) {
  Start();
  app->OpenManual();
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_TRUE(launched[0].ends_with(u"/Operational Manual.html"));
  std::string manual;
  ASSERT_TRUE(ReadFileBytes(launched[0], manual));
  for (const FunctionEntry& entry : FunctionEntries())
    EXPECT_NE(manual.find(ToUtf8(entry.itemText)), std::string::npos);
  for (int k = 0; k < kParameterCount; ++k)
    EXPECT_NE(manual.find("Parameter " + std::to_string(k) + ":"), std::string::npos) << k;
}

TEST_F(WorkbenchTest, UppercaseReachesTheOutputWindowAndFileOnTheNextTick) {
  Start();
  app->InputView()->SetText(u"aBc\r\nxyz é", false);
  DoubleClick(10);
  ASSERT_TRUE(WaitFor([this] { return OutputText() == u"ABC\r\nXYZ é"; })) << ToUtf8(OutputText());
  EXPECT_EQ(folder.ReadBytes("Data/Output"), TextToUtf16LeBytes(u"ABC\r\nXYZ é"));
  EXPECT_FALSE(app->OutputView()->IsModified());
  EXPECT_EQ(app->MainFrame()->MdiArea()->activeSubWindow()->widget(), app->OutputView());
  EXPECT_TRUE(WaitFor([this] { return ListCaption() == QStringLiteral("Function List"); }));
  EXPECT_EQ(app->InputView()->GetText(), u"aBc\r\nxyz é");
}

TEST_F(WorkbenchTest, TwoOverlappingTasksCountInTheListCaption) {
  Start(EntriesWith(10, UppercaseAfterTheGate));
  DoubleClick(10);
  DoubleClick(10);
  EXPECT_TRUE(WaitFor([this] {
    return ListCaption() == QStringLiteral("Processing 2 task(s). Please wait...");
  })) << ListCaption().toStdString();
  taskGate.release();
  EXPECT_TRUE(WaitFor([this] {
    return ListCaption() == QStringLiteral("Processing 1 task(s). Please wait...");
  })) << ListCaption().toStdString();
  taskGate.release();
  EXPECT_TRUE(WaitFor([this] { return ListCaption() == QStringLiteral("Function List"); }));
  EXPECT_TRUE(WaitForTasks());
}

TEST_F(WorkbenchTest, ReturnToScrivanoReportsTheWindowAtTheListCornerOnlyWhenAsked) {
  Start();
  const platform::Rect list = app->FuncList()->WindowRect();
  desktop.AddWindow(u"Gedit", u"notes.txt - Editor",
                    {list.left - 50, list.top - 50, list.left + 5, list.top + 5});
  app->OutputView()->SetText(u"before", false);
  app->DispatchFunction(0);  // parameter 17 is 0 in the shipped file
  app->OnTimer();
  EXPECT_EQ(OutputText(), u"before");

  SetParameterInFile(17, u"1");
  app->DispatchFunction(0);
  app->OnTimer();
  EXPECT_EQ(OutputText(), u"\r\n\r\n\r\n\r\nGedit\r\nnotes.txt - Editor");
  EXPECT_EQ(ListCaption(), QStringLiteral("Function List"));
}

TEST_F(WorkbenchTest, ExitScrivanoClosesTheMainWindow) {
  Start();
  DoubleClick(18);
  EXPECT_TRUE(WaitFor([this] { return !app->MainFrame()->isVisible(); }));
}

TEST_F(WorkbenchTest, OpenFilesOffersTheLaunchMenuOnTheNextTick) {
  Start();
  const Text config = paths.parameterFile;
  SetParameterInFile(1, u"/srv/manual.pdf\t" + config + u";/srv/b.txt");
  prompts.Answer(config + u";/srv/b.txt");
  app->DispatchFunction(11);
  EXPECT_EQ(app->RequestList(), u"2");
  app->OnTimer();
  EXPECT_TRUE(app->RequestList().empty());
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].options, (std::vector<Text>{u"/srv/manual.pdf", config + u";/srv/b.txt"}));
  auto* active = dynamic_cast<CChildFrame*>(app->MainFrame()->MdiArea()->activeSubWindow());
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(active->View()->Document()->PathName(), config);
  EXPECT_EQ(launched, std::vector<Text>{u"/srv/b.txt"});
  app->OnTimer();
  EXPECT_EQ(prompts.dialogs().size(), 1u) << "one request, one menu";
}

TEST_F(WorkbenchTest, EntriesThatCannotRunShowANoticeAndHandNothingBack) {
  Entries table = EntriesWith(5, nullptr, "a later version of Scrivano");
  table[3].run = NeedsTheClipboard;
  Start(table);
  app->OutputView()->SetText(u"kept", false);
  app->DispatchFunction(5);
  app->DispatchFunction(3);
  app->OnTimer();
  EXPECT_EQ(OutputText(), u"kept");
  EXPECT_EQ(
      prompts.Messages(),
      (std::vector<Text>{u"\"05. Extract ending lines\" is not available in this version of Scrivano.\r\n\r\n"
                         u"It needs a later version of Scrivano.",
                         u"Copying window text needs the clipboard relay."}));
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
}

TEST_F(WorkbenchTest, DroppedFilesAreListedInTheInputWindow) {
  struct Case {
    Text answer;
    Text before;
    Text after;
  } cases[] = {
      {u"no", u"", u"/d/a.txt\r\n/d/b c.txt\r\n"},
      {u"yes", u"x", u"x\r\n/d/a.txt\r\n/d/b c.txt\r\n"},
  };
  Start();
  for (const Case& c : cases) {
    prompts.Answer(c.answer);
    app->InputView()->SetText(c.before, false);
    QMimeData mime;
    mime.setUrls(
        {QUrl::fromLocalFile(QStringLiteral("/d/a.txt")), QUrl::fromLocalFile(QStringLiteral("/d/b c.txt"))});
    QWidget* frame = app->MainFrame();
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &drop);
    EXPECT_EQ(app->InputView()->GetText(), c.after);
    ASSERT_FALSE(prompts.dialogs().empty());
    EXPECT_EQ(prompts.dialogs().back().text, u"Keep original input text?");
    EXPECT_EQ(prompts.dialogs().back().caption, u"Notice");
  }
  app->InputView()->SetModified(false);
}

TEST_F(WorkbenchTest, CopyAllPasteAllAndEmptyContentWorkOnTheWholeWindow) {
  Start();
  const auto trigger = [this](const QString& text) {
    for (QAction* action : app->MainFrame()->findChildren<QAction*>())
      if (action->text() == text) return action->trigger();
    ADD_FAILURE() << "no action " << text.toStdString();
  };
  app->MainFrame()->MdiArea()->setActiveSubWindow(
      dynamic_cast<QMdiSubWindow*>(app->InputView()->parentWidget()));
  app->InputView()->SetText(u"one\r\n二", false);
  trigger(QStringLiteral("Copy &All"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("one\n二"));
  QGuiApplication::clipboard()->setText(QStringLiteral("x\ny"));
  trigger(QStringLiteral("Paste A&ll"));
  EXPECT_EQ(app->InputView()->GetText(), u"x\r\ny");
  EXPECT_TRUE(app->InputView()->IsModified());
  trigger(QStringLiteral("&Empty Content"));
  EXPECT_EQ(app->InputView()->GetText(), u"");
  app->InputView()->SetModified(false);
}

TEST_F(WorkbenchTest, SavingTheParameterFileAppliesIt) {
  Start();
  CScrivanoView* view = app->OpenDocumentFile(paths.parameterFile);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->GetText().front(), u'\xFEFF');
  Text text = view->GetText();
  ASSERT_EQ(Replace(text, u"Para0=500\r\n", u"Para0=40\r\n"), 1);
  view->SetText(text, true);
  ASSERT_TRUE(app->SaveDocument(*view, paths.parameterFile));
  EXPECT_EQ(app->TimerPeriod(), 40);
  EXPECT_EQ(app->MainFrame()->Timer().interval(), 40);
  EXPECT_TRUE(folder.ReadBytes("Data/config.ini").starts_with("\xFF\xFE"));
}

TEST_F(WorkbenchTest, ATimerPeriodBelowTenMillisecondsRunsAtTen) {
  Start();
  const std::pair<Text, int> cases[] = {{u"0", 10}, {u"-5", 10}, {u"", 10},
                                        {u"9", 10}, {u"10", 10}, {u"25", 25}};
  for (const auto& [value, period] : cases) {
    SetParameterInFile(0, value);
    EXPECT_EQ(app->MainFrame()->Timer().interval(), period) << ToUtf8(value);
  }
}

TEST_F(WorkbenchTest, AClosedOutputWindowComesBackWithTheNextResult) {
  Start();
  app->OutputView()->parentWidget()->close();
  ASSERT_TRUE(WaitFor([this] { return app->OutputView() == nullptr; }));
  app->InputView()->SetText(u"abc", false);
  app->DispatchFunction(10);
  app->OnTimer();
  ASSERT_NE(app->OutputView(), nullptr);
  EXPECT_EQ(OutputText(), u"ABC");
  EXPECT_EQ(folder.ReadBytes("Data/Output"), TextToUtf16LeBytes(u"ABC"));
  const QRect client = app->MainFrame()->MdiArea()->viewport()->rect();
  EXPECT_EQ(app->OutputView()->parentWidget()->geometry().top(), client.top() + client.height() / 2);
}

TEST_F(WorkbenchTest, SetParametersChangesTheActiveSettingOrNothingOnCancel) {
  Start();
  const std::string shipped = folder.ReadBytes("Data/config.ini");
  prompts.Answer(u"<cancel>");
  app->SetParametersCommand();
  EXPECT_EQ(folder.ReadBytes("Data/config.ini"), shipped);

  prompts.Answer(u"0        Timer period (milliseconds)");
  prompts.Answer(u"Para0=200");
  prompts.Answer(u"<cancel>");
  app->SetParametersCommand();
  EXPECT_EQ(app->TimerPeriod(), 200);
  EXPECT_EQ(ParameterInt(0), 200);
}

TEST_F(WorkbenchTest, TheFunctionListComesBackWhereItWasOrCentred) {
  Start();
  app->FuncList()->setGeometry(100, 100, 300, 400);
  const Text file = paths.parameterFile;
  EXPECT_TRUE(app->ExitInstance());
  app.reset();
  {
    CFuncListDlg list(entries, file);
    EXPECT_EQ(list.geometry(), QRect(100, 100, 300, 400));
  }
  // Far to the right of the screen: centred instead.
  WriteIniValue(file, u"DIMENSIONS", kFunctionListKey, u"5000,100,5300,500");
  CFuncListDlg list(entries, file);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_LE(std::abs(list.geometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(list.geometry().center().y() - screen.center().y()), 1);
}

TEST_F(WorkbenchTest, AnotherProgramsWindowIsActivatedUnlessTheRightButtonIsHeld) {
  Start();
  const WindowHandle editor = desktop.AddWindow(u"Gedit", u"notes", {0, 0, 10, 10});
  desktop.SetRightButton(true);
  app->ActivateWindow(editor);
  EXPECT_TRUE(desktop.ActivationRequests().empty());
  desktop.SetRightButton(false);
  app->ActivateWindow(editor);
  EXPECT_EQ(desktop.ForegroundWindow(), editor);
  EXPECT_EQ(desktop.ActivationRequests().size(), 1u);
}

TEST(ReportElapsed, ShowsTheTimingBoxOnlyAfterMoreThanTenSeconds) {
  struct Case {
    int count;
    std::uint64_t elapsed;
    std::uint64_t record;  // afterwards
    Text message;
  } cases[] = {
      {0, 30000, 1030000, u""},  // a count of 0 restarts the clock
      {5, 10999, 10, u""},
      {5, 11000, 11, u"Spent 5/11 (characters/seconds) to process the file(s)."},
  };
  for (const Case& c : cases) {
    test::TestPrompts prompts;
    std::uint64_t record = 1000000;
    ReportElapsed(record, c.count, 1000000 + c.elapsed);
    EXPECT_EQ(record, c.record);
    EXPECT_EQ(prompts.Messages(), c.message.empty() ? std::vector<Text>{} : std::vector<Text>{c.message});
  }
}

}  // namespace
}  // namespace scrivano
