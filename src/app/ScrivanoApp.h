// The application object: the program's paths, its windows (main frame, Function List, the Input and
// Output text windows), the Function List's tasks and the results they hand back, the parameters and the
// timer cycle.
//
// Thread rule: everything here belongs to the user-interface thread except what is marked otherwise;
// Function List tasks reach the windows through RunOnUiThread.
#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QTextBrowser>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "background/TimerCycle.h"
#include "functions/FunctionTable.h"
#include "platform/DesktopPlatform.h"
#include "settings/ProgramPaths.h"
#include "text/TextEncodings.h"
#include "web/AutoTranslation.h"
#include "web/TranslationPage.h"

namespace scrivano {

class AppDesktopServices;
class ClipboardRelay;
class CCaptionOverlay;
class StatusCaptions;
class CompanionLink;
class CChildFrame;
class CFuncListDlg;
class CMainFrame;
class CScrivanoView;
class QtPrompts;

struct AppOptions {
  // Off in tests that answer the questions themselves.
  bool installPrompts = true;
  // The Function List's entries (tests put their own operations in).
  std::span<const FunctionEntry> entries = FunctionEntries();
  // Opens a file with the desktop's default application; the default asks the desktop.
  std::function<bool(TextView path)> openWithDefaultApplication;
};

class CScrivanoApp : public QObject, public TimerCycleHost {
  Q_DECLARE_TR_FUNCTIONS(CScrivanoApp)

 public:
  CScrivanoApp(ProgramPaths paths, platform::DesktopPlatform& desktop, AppOptions options = {});
  ~CScrivanoApp() override;

  // Start-up: the main frame, the Function List, the Output and Input windows, the parameters.
  bool InitInstance();
  // Shut-down: waits briefly for running tasks, stores the Function List's placement, closes windows
  // the program opened. Returns false when tasks were still running.
  bool ExitInstance();

  const ProgramPaths& Paths() const { return paths_; }
  platform::DesktopPlatform& Platform() const { return desktop_; }
  CMainFrame* MainFrame() const { return mainFrame_; }
  CFuncListDlg* FuncList() const { return funcList_; }
  CompanionLink* Companion() const { return companionLink_.get(); }
  TranslationRelay& Translation() { return translationRelay_; }
  // The program-wide clipboard relay: Copy All and Paste All use it as the tasks do.
  ClipboardRelay& Relay();
  CScrivanoView* InputView() const { return inputView_; }
  CScrivanoView* OutputView() const { return outputView_; }
  // Any thread.
  WindowHandle MainWindowHandle() const { return mainWindowHandle_.load(); }

  // Documents.
  CScrivanoView* OpenDocumentFile(TextView path);
  // Saves the view's document to path; reports a failure. Saving the parameter file applies it. False
  // also when the user declined saving a text the file's encoding cannot store.
  bool SaveDocument(CScrivanoView& view, TextView path);
  // File > Reopen with Encoding: reads the view's file again in charset, after asking when the view has
  // unsaved edits. The program's own files keep their format: false for them.
  bool ReopenDocument(CScrivanoView& view, Charset charset);
  // Asks whether to save a modified document; false when the user cancelled.
  bool SaveModified(CChildFrame& frame);
  void ApplyParameters();
  // Writes the Input window's text to the Input file when it changed since the last write (done by
  // itself a moment after each change).
  void SaveInputNow();
  void SetParametersCommand();
  void OpenManual();
  // The manual in a window of the program's own (when no browser can show it).
  void ShowManualWindow(TextView path);
  QWidget* ManualWindow() const { return manualWindow_; }
  // Files a second start on the same Data folder handed over: each opened, the main window in front.
  void OpenHandedFiles(const QStringList& files);
  // The files dropped on the main frame, into the Input window.
  void CollectDroppedFiles(const std::vector<Text>& paths);

  // Function List tasks.
  void StartTask(int number);
  // The task (Function List entry number, or -1 for none), on a worker thread.
  void DispatchFunction(int number);
  int TaskCount() const { return taskCount_.load(); }
  // Any thread: brings the window to the foreground unless another thread is doing that now.
  void ActivateWindow(WindowHandle window);

  // Timer 1.
  void OnTimer();
  int TimerPeriod() const { return timerPeriod_; }
  Text RequestList();

  // TimerCycleHost.
  void HandBackResult() override;
  bool TakeRequest(int n) override;
  Text WorkRoot() override { return paths_.workRoot; }
  void OpenDocument(TextView path) override;
  void OpenWithDefaultApplication(TextView path) override;
  // Without a notice; false when the desktop could not open it.
  bool OpenFileWithDefaultApplication(TextView path);
  // Opens the file with the desktop's default application. When that fails, at once or once the opener
  // has given up, onFailure gets the reason (on the user-interface thread); false when it failed at once.
  bool LaunchDefaultApplication(TextView path, std::function<void(TextView reason)> onFailure);

 private:
  bool RunEntry(int number, TaskContext& context);
  bool ReturnToScrivano(TaskContext& context);
  bool ReplaceInOfficeDocuments(TaskContext& context);
  void PlaceRoleWindow(CScrivanoView& view, CChildFrame& frame);
  bool SetOwnWindowCaption(WindowHandle window, TextView text);
  void TaskEnded();
  void ShowTaskCount();
  platform::Rect ListRect();

  ProgramPaths paths_;
  platform::DesktopPlatform& desktop_;
  AppOptions options_;
  std::unique_ptr<QtPrompts> prompts_;
  std::unique_ptr<AppDesktopServices> services_;
  // The timer cycle's desktop duties and the captions on other programs' windows, from start-up on.
  std::unique_ptr<CCaptionOverlay> overlay_;
  std::unique_ptr<StatusCaptions> captions_;
  std::unique_ptr<DesktopDuties> duties_;
  std::unique_ptr<CompanionLink> companionLink_;  // the companion program vexo1 and its sockets
  // Automatic translation: its record and what it reaches (the clipboard relay, the companion).
  TranslationRelay translationRelay_;
  std::unique_ptr<AutoTranslationReach> translationReach_;
  bool parameterFileComplained_ = false;  // reported as unreadable; cleared by a good load
  CMainFrame* mainFrame_ = nullptr;
  std::mutex listMutex_;  // guards funcList_ against its deletion at shut-down for the tasks' corner look-up
  CFuncListDlg* funcList_ = nullptr;
  CScrivanoView* inputView_ = nullptr;
  CScrivanoView* outputView_ = nullptr;
  QRect clientRect_;  // the MDI area's client rectangle, taken once at start-up
  std::atomic<WindowHandle> mainWindowHandle_{0};
  std::atomic<WindowHandle> funcListHandle_{0};
  int timerPeriod_ = 0;
  QTimer inputSaveTimer_;
  QPointer<QTextBrowser> manualWindow_;
  bool timerBusy_ = false;

  // Shared with the tasks.
  std::atomic<int> taskCount_{0};
  std::mutex pendingMutex_;
  Text pendingText_;
  int pendingCount_ = 0;
  std::mutex requestMutex_;
  Text requestList_;
  Text openedWindows_;
  std::timed_mutex activationMutex_;
  std::mutex threadsMutex_;
  std::condition_variable threadsEnded_;
  int runningThreads_ = 0;
};

// "Processing %d task(s). Please wait..." or, at 0, "Function List".
Text TaskCaption(int taskCount);

// With count 0 stores now in record; otherwise replaces record with the seconds since it and shows the
// timing box when they are more than 10.
void ReportElapsed(std::uint64_t& record, int count, std::uint64_t nowMilliseconds);
std::uint64_t TickCount();

}  // namespace scrivano
