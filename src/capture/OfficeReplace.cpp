// "13. Replace text in Word documents" on the office program's own Find and Replace window. Each document
// has a Find and Replace window of its own (the search text is shared between them, the replacement is
// not), so the replacement typed in the open one is read once and typed into each document's own window
// before its Replace All.
#include <chrono>
#include <string>
#include <thread>

#include "capture/DesktopReach.h"
#include "prompt/SelectionPrompt.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr char16_t kReplaceDialogClass[] = u"bosa_sdm";
constexpr int kKeyDelete = 0x2E;
// In the Find and Replace window: Alt+P goes to the replacement, Alt+L is Replace All, Ctrl+H opens it.
const Chord kReplaceFieldChord{kKeyAlt, 0x50};
const Chord kReplaceAllChord{kKeyAlt, 0x4C};
const Chord kOpenReplaceChord{kKeyControl, 0x48};
const Chord kSelectAllChord{kKeyControl, 0x41};
constexpr auto kDialogWait = 10s;

// The Find and Replace window that came to the front, or 0 when none did within the limit.
WindowHandle WaitForReplaceDialog(platform::DesktopPlatform& desktop, ClipboardRelay& relay) {
  const auto deadline = Clock::now() + kDialogWait;
  while (Clock::now() < deadline) {
    const WindowHandle front = desktop.ForegroundWindow();
    if (front && desktop.WindowClassName(front) == kReplaceDialogClass) return front;
    if (relay.WaitRightButtonRelease() != 0) return 0;
    std::this_thread::sleep_for(50ms);
  }
  return 0;
}

// Asks the window to close and waits until it has gone from the front (or the limit).
void CloseAndWait(platform::DesktopPlatform& desktop, WindowHandle window) {
  desktop.RequestClose(window);
  const auto deadline = Clock::now() + kDialogWait;
  while (Clock::now() < deadline && desktop.IsWindow(window) && desktop.ForegroundWindow() == window)
    std::this_thread::sleep_for(50ms);
}

}  // namespace

Text ReplaceInWordDocuments(DesktopReach& reach, Text& text) {
  platform::DesktopPlatform& desktop = reach.desktop;
  ClipboardRelay& relay = reach.relay;
  const std::vector<WindowHandle> documents = WindowsOfClass(desktop, kOfficeMainWindowClass);
  const std::vector<WindowHandle> dialogs = WindowsOfClass(desktop, kReplaceDialogClass);
  if (dialogs.empty()) {
    ShowMessage(u"No parameter set !", u"Notice", MessageButtons::Ok, false);
    text = u"No parameter set !";
    return u"Processing failed !";
  }
  std::lock_guard lock(relay.Lock());
  const WindowHandle dialog = dialogs.front();
  const ClipboardRelay::ProbeCleaner cleaner(relay);
  const Text dialogTitle = desktop.WindowTitle(dialog);
  if (reach.activate) reach.activate(dialog);
  Text report;
  int count = 0;
  if (relay.WaitForegroundWindow(dialog) != WaitEnd::kDone) {
    text = u"The Find and Replace window did not come to the front; nothing was replaced.";
    return u"Processing failed !";
  }
  if (reach.showCaption) reach.showCaption(dialog, kHandsOffCaption);
  // The replacement typed there, read once: an empty field copies nothing and means "replace by nothing".
  Text replacement;
  if (relay.PressChordPairs(dialog, kReplaceFieldChord) && relay.CopyWindowText(dialog, nullptr))
    replacement = relay.capturedText;
  if (reach.showCaption) reach.showCaption(dialog, dialogTitle);
  std::this_thread::sleep_for(1s);

  for (const WindowHandle document : documents) {
    const Text title = desktop.WindowTitle(document);
    if (title.empty()) continue;
    if (reach.activate) reach.activate(document);
    if (relay.WaitForegroundWindow(document) != WaitEnd::kDone) continue;
    if (!relay.PressChordHeld(document, kOpenReplaceChord)) continue;
    const WindowHandle own = WaitForReplaceDialog(desktop, relay);
    if (!own) continue;
    ++count;
    report += u"\r\n" + title;
    const Text ownTitle = desktop.WindowTitle(own);
    if (reach.showCaption) reach.showCaption(own, title);
    std::this_thread::sleep_for(300ms);
    // The keys go to that window only; when another came to the front, this document is left alone.
    bool typed =
        relay.PressChordPairs(own, kReplaceFieldChord) && relay.PressChordPairs(own, kSelectAllChord);
    if (typed) {
      if (replacement.empty())
        typed = relay.PressChordHeld(own, {kKeyDelete}, true);
      else
        typed = relay.PasteIntoForeground(own, &replacement);
    }
    if (typed && relay.PressChordHeld(own, kReplaceAllChord)) {
      std::this_thread::sleep_for(1s);
      // A box the office program may show about the result is closed, not waited for without end.
      const WindowHandle front = desktop.ForegroundWindow();
      if (front != own && desktop.WindowClassName(front) == kDialogWindowClass) CloseAndWait(desktop, front);
    }
    if (reach.showCaption) reach.showCaption(own, ownTitle);
    CloseAndWait(desktop, own);
  }
  if (desktop.IsWindow(dialog) && reach.showCaption) reach.showCaption(dialog, dialogTitle);
  text = u"Processing completed !  ( " + FromUtf8(std::to_string(count)) + u" documents )";
  return report;
}

}  // namespace scrivano
