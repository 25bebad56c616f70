#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <array>
#include <filesystem>
#include <semaphore>

#include "app/FuncListDlg.h"
#include "app/MainFrame.h"
#include "app/QtText.h"
#include "app/ScrivanoApp.h"
#include "app/TextWindow.h"
#include "platform/fake/FakeDesktop.h"
#include "settings/IniFile.h"
#include "support/EncodingFiles.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "text/Utf16Bytes.h"
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
      return !refuseToOpen;
    };
    if (useDesktopOpener) options.openWithDefaultApplication = {};
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
  void Trigger(const QString& text) {
    for (QAction* action : app->MainFrame()->findChildren<QAction*>())
      if (action->text() == text) return action->trigger();
    ADD_FAILURE() << "no action " << text.toStdString();
  }
  QString ListCaption() const { return app->FuncList()->windowTitle(); }
  bool StatusShows(const QString& text) const {
    for (const QLabel* label : app->MainFrame()->statusBar()->findChildren<QLabel*>())
      if (label->text() == text) return true;
    return false;
  }
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
  bool refuseToOpen = false;
  bool useDesktopOpener = false;
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

TEST_F(WorkbenchTest, ApplyingTheParametersArmsTheTranslationPageCheck) {
  Start();
  EXPECT_EQ(app->Translation().companionState, kCheckTranslationSetting);
  app->Translation().companionState = kCompanionIdle;
  SetParameterInFile(15, u"1\thttps://fanyi.youdao.com/?q=x");
  EXPECT_EQ(app->Translation().companionState, kCheckTranslationSetting);
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

TEST_F(WorkbenchTest, TheManualDescribesEveryEntryAsThisBuildRunsIt) {
  Start();
  app->OpenManual();
  ASSERT_EQ(launched.size(), 1u);
  std::string manual;
  ASSERT_TRUE(ReadFileBytes(launched[0], manual));
  const auto section = [&manual](int number) {
    char id[16];
    std::snprintf(id, sizeof id, "id=\"f%02d\"", number);
    const size_t start = manual.find(id);
    const size_t end = manual.find("<h3", start + 1);
    return start == std::string::npos ? std::string() : manual.substr(start, end - start);
  };
  // Entries without an operation of their own but those that act on the workbench or the desktop.
  std::vector<int> noticeOnly;
  for (const FunctionEntry& entry : FunctionEntries())
    if (!entry.run && entry.number != 0 && entry.number != 11 && entry.number != 13 && entry.number != 18)
      noticeOnly.push_back(entry.number);
  EXPECT_TRUE(noticeOnly.empty());
  for (const int number : noticeOnly) {
    const std::string text = section(number);
    EXPECT_NE(text.find("notice"), std::string::npos) << text;
    EXPECT_EQ(text.find("Needs the document engine"), std::string::npos) << text;
  }
  // Entry 17 describes each of its eleven options, none as missing.
  const std::string wordProcessing = section(17);
  size_t options = 0;
  for (size_t at = wordProcessing.find("<li>"); at != std::string::npos;
       at = wordProcessing.find("<li>", at + 1))
    ++options;
  EXPECT_EQ(options, 11u) << wordProcessing;
  EXPECT_EQ(wordProcessing.find("not available"), std::string::npos) << wordProcessing;
}

TEST_F(WorkbenchTest, AParameterFileThatCannotBeReadIsReportedOnceUntilItReadsAgain) {
  Start();
  const std::string good = [this] {
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(paths.parameterFile, bytes));
    return bytes;
  }();
  ASSERT_TRUE(WriteFileBytesAtomically(paths.parameterFile, std::string("\xFE\xFF\0[\0P\0A", 8)));
  app->ApplyParameters();
  app->ApplyParameters();
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_NE(prompts.Messages()[0].find(u"could not be read as one"), Text::npos);
  EXPECT_EQ(ParameterText(Param::kTimerPeriod), u"");
  ASSERT_TRUE(WriteFileBytesAtomically(paths.parameterFile, good));
  app->ApplyParameters();
  EXPECT_NE(ParameterText(Param::kTimerPeriod), u"");
  EXPECT_EQ(prompts.Messages().size(), 1u) << "a good file says nothing";
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

TEST_F(WorkbenchTest, AResultHandedBackCanBeUndoneToTheTextBeforeIt) {
  Start();
  app->OutputView()->SetText(u"kept result", false);
  app->InputView()->SetText(u"abc", false);
  app->DispatchFunction(10);
  app->OnTimer();
  ASSERT_EQ(OutputText(), u"ABC");
  EXPECT_FALSE(app->OutputView()->IsModified());
  Trigger(QStringLiteral("&Undo\tCtrl+Z"));
  EXPECT_EQ(OutputText(), u"kept result");
  EXPECT_TRUE(app->OutputView()->IsModified()) << "the Output file holds the result";
  app->OutputView()->SetModified(false);
}

TEST_F(WorkbenchTest, TheInputAndOutputFilesAreUtf16LeWhateverTheirBytes) {
  // GBK bytes, and an odd length that would make UTF-8: the code units they make, the odd byte dropped.
  ::mkdir((folder.path() + "/Data").c_str(), 0755);
  folder.WriteBytes("Data/Input", "\xD6\xD0\xCE\xC4");
  folder.WriteBytes("Data/Output", "abc");
  Start();
  EXPECT_EQ(app->InputView()->GetText(), u"\xD0D6\xC4CE");
  EXPECT_EQ(OutputText(), u"\x6261");
  EXPECT_TRUE(prompts.dialogs().empty());
  app->InputView()->moveCursor(QTextCursor::End);
  QTest::keyClicks(app->InputView(), QStringLiteral("x"));
  app->SaveInputNow();
  EXPECT_EQ(folder.ReadBytes("Data/Input"), TextToUtf16LeBytes(u"\xD0D6\xC4CE"
                                                               u"x"));
}

TEST_F(WorkbenchTest, AnInputMethodsPreeditAndCommitStringReachTheInputWindowAndFile) {
  Start();
  CScrivanoView* input = app->InputView();
  input->setFocus();
  ASSERT_TRUE(input->testAttribute(Qt::WA_InputMethodEnabled));
  // As fcitx5 or IBus sends it: the pinyin being composed, then the characters chosen.
  QInputMethodEvent composing(QStringLiteral("zhongwen"), {});
  QCoreApplication::sendEvent(input, &composing);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("中文"));
  QCoreApplication::sendEvent(input, &commit);
  EXPECT_EQ(input->GetText(), u"中文");
  app->SaveInputNow();
  EXPECT_EQ(folder.ReadBytes("Data/Input"), TextToUtf16LeBytes(u"中文"));
}

TEST_F(WorkbenchTest, AnOpenedFileShowsItsFormatAndIsReadAgainInTheEncodingChosen) {
  Start();
  const std::string big5 = test::EncodingsFile("big5-lf.txt");
  folder.WriteBytes("big5.txt", big5);
  CScrivanoView* view = app->OpenDocumentFile(folder.File("big5.txt"));
  ASSERT_NE(view, nullptr);
  const Text shown = view->GetText();
  EXPECT_TRUE(shown.starts_with(u"她也出現相同的症狀\r\n"));
  EXPECT_TRUE(StatusShows(QStringLiteral("Big5, LF")));

  // With an edit, the user is asked first.
  QTest::keyClicks(view, QStringLiteral("x"));
  prompts.Answer(u"no");
  Trigger(QStringLiteral("GB18030"));
  EXPECT_EQ(view->GetText(), u"x" + shown);
  EXPECT_EQ(prompts.dialogs().back().text,
            u"\"big5.txt\" has edits that are not saved. Reopen it as GB18030 and lose them?");
  prompts.Answer(u"yes");
  Trigger(QStringLiteral("GB18030"));
  EXPECT_EQ(view->Document()->Format().charset, Charset::kGb18030);
  EXPECT_FALSE(view->IsModified());
  EXPECT_FALSE(view->document()->isUndoAvailable());
  Trigger(QStringLiteral("Big5"));
  EXPECT_EQ(view->GetText(), shown);

  // A character Big5 lacks: declined, nothing is saved and no failure is reported.
  view->moveCursor(QTextCursor::End);
  view->insertPlainText(QStringLiteral("简"));
  prompts.Answer(u"no");
  Trigger(QStringLiteral("&Save\tCtrl+S"));
  EXPECT_EQ(folder.ReadBytes("big5.txt"), big5);
  EXPECT_TRUE(view->IsModified());
  EXPECT_TRUE(prompts.Messages().empty());
  view->SetModified(false);

  // Read as what it is not, a file is read with loss: the user is told where.
  Trigger(QStringLiteral("UTF-16BE"));
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_TRUE(prompts.Messages()[0].starts_with(
      u"\"big5.txt\" is not valid UTF-16BE text: 1 byte sequence (at byte offset 72) could not be read and "
      u"shows as \"\xFFFD\"."));
  EXPECT_TRUE(StatusShows(QStringLiteral("UTF-16BE, CRLF (read with loss)")));

  // The Input and Output files keep their format: the menu is off there.
  app->MainFrame()->MdiArea()->setActiveSubWindow(
      dynamic_cast<QMdiSubWindow*>(app->InputView()->parentWidget()));
  QMenu* reopen = nullptr;
  for (QMenu* menu : app->MainFrame()->findChildren<QMenu*>())
    if (menu->title() == QStringLiteral("&File"))
      QMetaObject::invokeMethod(menu, "aboutToShow");
    else if (menu->title() == QStringLiteral("Reopen with &Encoding"))
      reopen = menu;
  ASSERT_NE(reopen, nullptr);
  EXPECT_FALSE(reopen->isEnabled());
  EXPECT_TRUE(StatusShows(QStringLiteral("UTF-16LE, CRLF")));
}

TEST_F(WorkbenchTest, AResultCountedTwiceIsHandedBackOnTwoTicksAndThenNoMore) {
  Start();
  app->MainFrame()->Timer().stop();
  app->InputView()->SetText(u"same result", false);
  // Entry -1 hands the working text back as it is; run here, on the user-interface thread.
  app->DispatchFunction(-1);
  app->DispatchFunction(-1);
  for (const char* tick : {"first", "second"}) {
    app->OutputView()->SetText(u"", false);
    app->HandBackResult();
    EXPECT_EQ(OutputText(), u"same result") << tick;
    EXPECT_EQ(folder.ReadBytes("Data/Output"), TextToUtf16LeBytes(u"same result")) << tick;
  }
  app->OutputView()->SetText(u"untouched", false);
  app->HandBackResult();
  EXPECT_EQ(OutputText(), u"untouched");
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

TEST_F(WorkbenchTest, ReplacingInOfficeDocumentsThatFailsLeavesTheInputAndOutputWindowsAlone) {
  // No Find and Replace window on the desktop: the box says why, and no window is written.
  Start();
  app->InputView()->SetText(u"the user's text", false);
  app->OutputView()->SetText(u"the last result", false);
  app->DispatchFunction(13);
  app->OnTimer();
  EXPECT_EQ(app->InputView()->GetText(), u"the user's text");
  EXPECT_FALSE(app->InputView()->IsModified());
  EXPECT_EQ(OutputText(), u"the last result");
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_TRUE(prompts.Messages()[0].starts_with(u"No parameter set !\r\n\r\nNo Find and Replace window"));
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
  // Each whole-window command is one step of Undo.
  for (const char16_t* before : {u"x\r\ny", u"one\r\n二"}) {
    trigger(QStringLiteral("&Undo\tCtrl+Z"));
    EXPECT_EQ(app->InputView()->GetText(), before);
  }
  app->InputView()->SetModified(false);
}

TEST_F(WorkbenchTest, SavingTheParameterFileAppliesIt) {
  Start();
  CScrivanoView* view = app->OpenDocumentFile(paths.parameterFile);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Document()->Format(), (TextFormat{Charset::kUtf16Le, true, LineBreak::kCrLf}));
  Text text = view->GetText();
  ASSERT_EQ(Replace(text, u"Para0=500\r\n", u"Para0=40\r\n"), 1);
  view->SetText(text, true);
  ASSERT_TRUE(app->SaveDocument(*view, paths.parameterFile));
  EXPECT_EQ(app->TimerPeriod(), 40);
  EXPECT_EQ(app->MainFrame()->Timer().interval(), 40);
  EXPECT_TRUE(folder.ReadBytes("Data/config.ini").starts_with("\xFF\xFE"));
}

TEST_F(WorkbenchTest, EverySaveOfTheParameterFileTypedInItsWindowAppliesIt) {
  Start();
  CScrivanoView* view = app->OpenDocumentFile(paths.parameterFile);
  ASSERT_NE(view, nullptr);
  for (const QString& value : {QStringLiteral("alpha"), QStringLiteral("beta")}) {
    // As the user types it: the active setting of parameter 9 is overwritten, then saved with Ctrl+S.
    QTextCursor cursor = view->document()->find(QStringLiteral("Para9="));
    ASSERT_FALSE(cursor.isNull());
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    view->setTextCursor(cursor);
    QTest::keyClicks(view, QStringLiteral("Para9=") + value);
    Trigger(QStringLiteral("&Save\tCtrl+S"));
    EXPECT_EQ(ParameterText(9), FromQString(value));
    EXPECT_FALSE(view->IsModified());
  }
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

TEST_F(WorkbenchTest, PasteTakesOnlyTextTheClipboardOffersAndIsOffWhenItOffersNone) {
  Start();
  CScrivanoView* input = app->InputView();
  app->MainFrame()->MdiArea()->setActiveSubWindow(dynamic_cast<QMdiSubWindow*>(input->parentWidget()));
  input->SetText(u"a", false);
  input->moveCursor(QTextCursor::End);
  QAction* paste = nullptr;
  for (QAction* action : app->MainFrame()->findChildren<QAction*>())
    if (action->text().startsWith(QStringLiteral("&Paste\t"))) paste = action;
  ASSERT_NE(paste, nullptr);
  struct Case {
    std::function<QMimeData*()> clipboard;  // nullptr: nothing on the clipboard
    bool offered;
    Text after;
  } cases[] = {
      {[] { return nullptr; }, false, u"a"},
      {[] {
         auto* picture = new QMimeData;
         picture->setData(QStringLiteral("image/png"), QByteArray("\x89PNG"));
         return picture;
       },
       false, u"a"},
      {[] {
         auto* rich = new QMimeData;
         rich->setHtml(QStringLiteral("<b>bold</b>"));
         rich->setText(QStringLiteral("bold"));
         return rich;
       },
       true, u"abold"},
  };
  for (const Case& c : cases) {
    if (QMimeData* data = c.clipboard())
      QGuiApplication::clipboard()->setMimeData(data);
    else
      QGuiApplication::clipboard()->clear();
    EXPECT_EQ(paste->isEnabled(), c.offered);
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    paste->trigger();
    EXPECT_EQ(input->GetText(), c.offered ? c.after + u"bold" : c.after);
    input->SetText(u"a", false);
    input->moveCursor(QTextCursor::End);
  }
  QGuiApplication::clipboard()->clear();
}

TEST_F(WorkbenchTest, TheInputTextIsWrittenToItsFileAMomentAfterEachChange) {
  Start();
  CScrivanoView* input = app->InputView();
  QTest::keyClicks(input, QStringLiteral("typed "));
  input->insertPlainText(QStringLiteral("中文"));
  EXPECT_TRUE(input->IsModified());
  EXPECT_EQ(folder.ReadBytes("Data/Input"), "") << "not at every key";
  ASSERT_TRUE(
      WaitFor([this] { return folder.ReadBytes("Data/Input") == TextToUtf16LeBytes(u"typed 中文"); }));
  EXPECT_FALSE(input->IsModified());
  // Nothing is left behind by the atomic write.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path() + "/Data"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Input", "Output", "config.ini"}));
}

TEST_F(WorkbenchTest, TheListShowsEveryItemAndTheTaskCaptionWholeAtFirstStart) {
  Start();
  CFuncListDlg* list = app->FuncList();
  QListWidget* items = list->List();
  for (int i = 0; i < items->count(); ++i) {
    const int needed = items->fontMetrics().horizontalAdvance(items->item(i)->text());
    EXPECT_LE(needed, items->viewport()->width()) << items->item(i)->text().toStdString();
    EXPECT_LE(items->visualItemRect(items->item(i)).bottom(), items->viewport()->height());
  }
  EXPECT_GE(list->width(), CaptionWidth(TaskCaption(1)));
}

TEST_F(WorkbenchTest, TheManualShowsInAWindowOfItsOwnWhenNoProgramCanOpenIt) {
  Start();
  refuseToOpen = true;
  app->OpenManual();
  ASSERT_NE(app->ManualWindow(), nullptr);
  EXPECT_TRUE(app->ManualWindow()->isVisible());
  EXPECT_EQ(app->ManualWindow()->windowTitle(), QStringLiteral("Operational Manual"));
  const auto* browser = dynamic_cast<QTextBrowser*>(app->ManualWindow());
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Function List")));
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(WorkbenchTest, AFileNoProgramCanOpenIsReportedWithTheProgramTriedAndHowToSetADefault) {
  useDesktopOpener = true;
  Start();
  // No opener on the path at all.
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(folder.path()));
  app->OpenWithDefaultApplication(paths.parameterFile);
  qputenv("PATH", path);
  ASSERT_EQ(prompts.Messages().size(), 1u);
  const Text message = prompts.Messages()[0];
  EXPECT_TRUE(message.starts_with(u"Cannot open \"" + paths.parameterFile + u"\"."));
  EXPECT_TRUE(Contains(message, u"xdg-open")) << ToUtf8(message);
  EXPECT_TRUE(Contains(message, u"xdg-mime default")) << ToUtf8(message);
}

TEST_F(WorkbenchTest, OtherFilesOpenCascadedAtNearlyTheClientAreasSize) {
  Start();
  const QRect client = app->MainFrame()->MdiArea()->viewport()->rect();
  QWidget* first = app->OpenDocumentFile(paths.parameterFile)->parentWidget();
  folder.WriteBytes("notes.txt", "notes");
  QWidget* second = app->OpenDocumentFile(FromUtf8(folder.path() + "/notes.txt"))->parentWidget();
  EXPECT_EQ(first->geometry().topLeft(), client.topLeft());
  EXPECT_GE(first->width(), client.width() * 3 / 4);
  EXPECT_GE(first->height(), client.height() * 3 / 4);
  EXPECT_GT(second->x(), first->x());
  EXPECT_GT(second->y(), first->y());
  EXPECT_EQ(second->size(), first->size());
  EXPECT_LE(second->geometry().right(), client.right());
  EXPECT_LE(second->geometry().bottom(), client.bottom());
}

TEST_F(WorkbenchTest, CtrlF4ClosesTheActiveWindowAndTheWindowMenuListsTheOpenOnes) {
  Start();
  app->OpenDocumentFile(paths.parameterFile);
  QMenu* windowMenu = nullptr;
  for (QMenu* menu : app->MainFrame()->findChildren<QMenu*>())
    if (menu->title() == QStringLiteral("&Window")) windowMenu = menu;
  ASSERT_NE(windowMenu, nullptr);
  const auto listed = [&] {
    QMetaObject::invokeMethod(windowMenu, "aboutToShow");
    QStringList titles;
    for (QAction* action : windowMenu->actions())
      if (action->isCheckable()) titles.append(action->text() + (action->isChecked() ? "*" : ""));
    return titles;
  };
  EXPECT_EQ(listed(), (QStringList{"&1 Output", "&2 Input", "&3 config.ini*"}));
  QAction* close = nullptr;
  for (QAction* action : app->MainFrame()->findChildren<QAction*>())
    if (action->text() == QStringLiteral("&Close\tCtrl+F4")) close = action;
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
  close->trigger();
  ASSERT_TRUE(WaitFor([&] { return listed().size() == 2; }));
  EXPECT_EQ(listed()[1], QStringLiteral("&2 Input"));
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
