// The duties that timer 1 of the main window runs, one cycle per tick on the user-interface thread: the
// hand-back of Function List results to the Output window and the launch menu of "11. Open file(s)".
#pragma once

#include "text/Text.h"

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

// One cycle, in the fixed order of the duties. The caller keeps a second cycle from starting while one
// runs (the cycle's dialogs run nested event loops).
void RunTimerCycle(TimerCycleHost& host);

// The program's own document names, which the launch menu opens in text windows.
inline constexpr char16_t kOwnDocumentNames[] = u"Input\tOutput\tconfig.ini";

// Asks for an item of parameter 1 (sorted by character codes) and opens each ";"-separated piece of the
// answer: the program's own documents in text windows, anything else with the default application.
// Relative paths are taken below workRoot and a leading "~/" below the home folder.
void OfferLaunchMenu(TimerCycleHost& host, TextView documentNames = kOwnDocumentNames);

// True when the file name of path, with or without its extension, is an item of documentNames.
bool IsOwnDocumentName(TextView path, TextView documentNames = kOwnDocumentNames);

}  // namespace scrivano
