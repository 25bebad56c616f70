// Web pages through the companion program vexo1: "06. Extract webpage text" (ExtractWebpageText), the
// companion's start (LaunchCompanion), the page access that automatic translation and the timer cycle
// use (WithBrowserDocument), the companion's media settings (SetBrowserMedia), and the hand-over of
// the text the companion sends back (CompanionLink).
//
// Thread rule: one CompanionLink for the whole run, owned by the application; its methods may be called
// from any thread. ExtractWebpageText runs on a Function List task's thread.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/DesktopPlatform.h"
#include "tasks/TaskContext.h"
#include "web/LocalSockets.h"

namespace scrivano {

inline constexpr char16_t kCompanionWindowClass[] = u"Afx:00400000:0";

// How long the program waits for the companion. The defaults suit real pages; tests shorten them.
struct CompanionTimes {
  // For the companion's window (and its socket) to appear after the start.
  std::chrono::milliseconds windowWait{20000};
  // For the reply: a base plus a share per address (the companion gives up on a page after 30 s).
  std::chrono::milliseconds replyBase{15000};
  std::chrono::milliseconds replyPerAddress{35000};
  // For each page access (reading or setting the address, reading the body's text).
  int pageAccessMs = 1000;
};

class CompanionLink {
 public:
  CompanionLink(platform::DesktopPlatform& desktop, Text settingsFile, CompanionTimes times = {});
  ~CompanionLink();

  platform::DesktopPlatform& Desktop() const { return desktop_; }
  const CompanionTimes& Times() const { return times_; }
  const Text& SettingsFile() const { return settingsFile_; }

  // Scrivano's own socket, named after its main window, where the companion sends extracted text.
  bool StartEndpoint(WindowHandle mainWindow);
  std::string EndpointPath() const { return endpoint_.Path(); }

  // The copy-data hand-over: text that arrives replaces *target and signals the waiting task. Text that
  // arrives while no target is set is dropped.
  void SetCopyDataTarget(Text* target);
  void HandOver(TextView text);

  enum class WaitEnd { kReply, kCompanionEnded, kWindowGone, kTimeOut };
  // Waits until text was handed over, the process ended, its window went, or the limit passed.
  WaitEnd WaitForCopyData(pid_t process, WindowHandle window, std::chrono::milliseconds limit);

  // One run of page extraction at a time.
  std::atomic<bool> busy{false};
  // The companion window that automatic translation drives, once found (0 before).
  std::atomic<WindowHandle> companionWindow{0};

  // The media values that SetBrowserMedia switched off (1 each), in the order of kMediaKeys.
  int mediaFlags[3] = {0, 0, 0};
  std::mutex mediaMutex;

 private:
  platform::DesktopPlatform& desktop_;
  Text settingsFile_;
  CompanionTimes times_;
  companion::CopyDataEndpoint endpoint_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  Text* target_ = nullptr;
  bool signalled_ = false;
};

// "06. Extract webpage text": the working text lists addresses and, on lines that name existing files,
// documents that receive the extracted section. 1 when the companion's reply was processed. The
// working text becomes the reply; without one it stays as it was and the user is told why.
int ExtractWebpageText(TaskContext& context, CompanionLink& link);

// Starts context.companionPath with context.operationText1 (the command line) and finds its window
// (into context.targetWindow); false (after saying so) when it could not be started or showed no window.
bool LaunchCompanion(TaskContext& context, CompanionLink& link, pid_t& process);

// The page shown in the companion's window, reached through its socket; each call is answered within
// the link's page-access time or fails.
class BrowserDocument {
 public:
  BrowserDocument(std::string socketPath, int timeoutMs)
      : socketPath_(std::move(socketPath)), timeoutMs_(timeoutMs) {}
  bool ReadAddress(Text& address);
  bool SetAddress(TextView address);
  bool ReadBodyText(Text& text);
  // "normal", "minimized" or "hidden"; empty when the companion does not answer.
  Text WindowState();
  bool Hide();
  const std::string& LastError() const { return error_; }

 private:
  std::optional<companion::Message> Ask(companion::MessageKind kind, std::string payload,
                                        companion::MessageKind answer);
  std::string socketPath_;
  int timeoutMs_;
  std::string error_;
  std::uint32_t nextId_ = 1;
};

// Runs step on the document of the companion's window; the step's result, or 0 when the window is no
// companion window or its page does not answer (checked with one read of the address).
int WithBrowserDocument(const std::function<int(BrowserDocument&)>& step, WindowHandle window,
                        CompanionLink& link);

// With automatic translation on: makes sure the companion runs. A companion window that the program did
// not open for page extraction (not in openedWindows) is taken as it is; otherwise the companion is
// started minimised with the launch token alone. A start that fails shows "Cannot launch vexo1.exe!"
// with the error code. True when a companion window was found or started.
bool EnsureCompanionRunning(CompanionLink& link, TextView companionPath, TextView openedWindows);
// The first top-level window of the companion's class that is not in openedWindows, or 0. A hidden or
// minimised companion counts too: the timer cycle hides it once its translation page is open.
WindowHandle FindCompanionWindow(CompanionLink& link, TextView openedWindows);
// At shut-down: the companion window (the one found before, or the first of its class that was not
// opened for page extraction) is asked to close when it is minimised or hidden.
void CloseCompanionAtExit(CompanionLink& link, TextView openedWindows);

// Switches the companion's images, animations and background sounds off (off = true, remembering which
// were on) or the remembered ones back on, in the companion's settings file. False after "Cannot set
// parameter !" when the file cannot be read or written.
bool SetBrowserMedia(bool off, CompanionLink& link);

}  // namespace scrivano
