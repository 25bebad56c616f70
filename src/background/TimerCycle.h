// The duties that timer 1 of the main window runs, one cycle per tick on the user-interface thread: the
// process watch and the memory monitor, automatic translation, closing unwanted pop-up windows and
// finding the companion's window, the browser shortcuts, the hand-back of Function List results to the
// Output window, the launch menu of "11. Open file(s)" and the check of the translation page setting.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include "background/ProcessWatch.h"
#include "platform/DesktopPlatform.h"
#include "text/Text.h"
#include "web/AutoTranslation.h"

namespace scrivano {

// Requests handed from Function List tasks to the timer cycle (tab-separated decimal numbers).
inline constexpr int kLaunchMenuRequest = 2;

// Removes every item n from the list, then puts n in front.
void AddRequest(Text& requestList, int n);
// Deletes the item n; true when the list changed.
bool RemoveRequest(Text& requestList, int n);

// What the cycle needs from the application.
class TimerCycleHost {
 public:
  virtual ~TimerCycleHost() = default;
  // Puts a pending Function List result into the Output window (one per call).
  virtual void HandBackResult() = 0;
  // Removes the request from the application's request list; true when it was there.
  virtual bool TakeRequest(int n) = 0;
  virtual Text WorkRoot() = 0;
  // Opens the file as a document in a text window.
  virtual void OpenDocument(TextView path) = 0;
  // Opens the file or folder with the desktop's default application.
  virtual void OpenWithDefaultApplication(TextView path) = 0;
};

// The duties that act on the desktop, with what they remember from one cycle to the next. None of them
// waits: what the user is still doing (a held mouse button) is looked at again on the next cycle.
class DesktopDuties {
 public:
  using Clock = std::chrono::steady_clock;
  // mainWindow: the report window of the process watch.
  DesktopDuties(platform::DesktopPlatform& desktop, WindowHandle mainWindow, ProcessWatch::Admit admit = {});
  // Waits for a window search still running.
  ~DesktopDuties();
  DesktopDuties(const DesktopDuties&) = delete;
  DesktopDuties& operator=(const DesktopDuties&) = delete;

  // Automatic translation and the companion search, with what the application owns for them (kept by
  // reference for the run). openedWindows gives the windows the program opened (tab-separated handles),
  // which are never taken for the companion.
  void EnableAutoTranslation(AutoTranslationReach& reach, TranslationRelay& relay,
                             std::function<Text()> openedWindows, AutoTranslationTimings timings = {});

  // Steps 1 to 7 of the cycle, with the parameters as they are now.
  void Run(Clock::time_point now = Clock::now());

  // Step 5: asks pop-up windows whose title is an item of parameter 2 to close. With automatic
  // translation off only the foreground window is looked at; with it on a search on a thread of its own
  // looks at every top-level window and finds the companion's.
  void ClosePopups(WindowHandle foreground);
  // Until the window search of the last cycle has ended.
  void WaitForWindowSearch();
  // Step 10: opens parameter 15's translation page in the companion once it is found.
  void CheckTranslationSetting();
  // Step 6: after a right-click in a browser, the key that opens the link in a new tab.
  void RightClickShortcut(Clock::time_point now);
  // Step 7: Escape in a browser whose new title holds a word of parameter 12.
  void WatchTitle();

  // The window of the last "N" shortcut, -1 after a long press, 0 when none.
  long long LastShortcutWindow() const { return lastShortcutWindow_; }

 private:
  platform::DesktopPlatform& desktop_;
  WindowHandle mainWindow_;
  ProcessWatch processWatch_;
  Text lastForegroundTitle_;
  // A secondary-button press seen by an earlier cycle: when it began and the window then in front.
  std::optional<Clock::time_point> pressStart_;
  WindowHandle pressWindow_ = 0;
  long long lastShortcutWindow_ = 0;

  AutoTranslationReach* reach_ = nullptr;
  TranslationRelay* relay_ = nullptr;
  std::function<Text()> openedWindows_;
  AutoTranslationTimings timings_;
  // One search at a time: a cycle that finds the last one still running starts none.
  std::thread search_;
  std::atomic<bool> searching_{false};
};

// The top-level windows once over, on the calling thread: each whose title is an item of parameter 2 is
// asked to close, and the first of the companion's class (hidden ones included) that is not in
// openedWindows becomes the companion's window when the one known is no window any more. Always goes
// through every window.
void SearchTopLevelWindows(platform::DesktopPlatform& desktop, CompanionLink* link, TextView openedWindows);

// Step 10 of the cycle: with companionState 4 and the companion's window found, parameter 15's second field
// is opened in the companion (twice for the second site); an address of no supported site switches
// automatic translation off until the parameters are loaded again and says so. Either way the state
// becomes 0 and the companion's window is hidden.
void CheckTranslationSetting(TranslationRelay& relay, CompanionLink& link);

// One cycle, in the fixed order of the duties; without duties only the hand-back and the launch menu run.
// The caller keeps a second cycle from starting while one runs (the cycle's dialogs run nested event
// loops).
void RunTimerCycle(TimerCycleHost& host, DesktopDuties* duties = nullptr);

// The program's own document names, which the launch menu opens in text windows.
inline constexpr char16_t kOwnDocumentNames[] = u"Input\tOutput\tconfig.ini";

// Asks for an item of parameter 1 (sorted by character codes) and opens each ";"-separated piece of the
// answer: the program's own documents in text windows, anything else with the default application.
// Relative paths are taken below workRoot and a leading "~/" below the home folder.
void OfferLaunchMenu(TimerCycleHost& host, TextView documentNames = kOwnDocumentNames);

// True when the file name of path, with or without its extension, is an item of documentNames.
bool IsOwnDocumentName(TextView path, TextView documentNames = kOwnDocumentNames);

}  // namespace scrivano
