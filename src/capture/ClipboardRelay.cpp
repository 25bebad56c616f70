#include "capture/ClipboardRelay.h"

#include <algorithm>
#include <thread>

namespace scrivano {

using Clock = std::chrono::steady_clock;

ClipboardRelay::ClipboardRelay(platform::DesktopPlatform& desktop, ClipboardAccess& clipboard,
                               CaptionSink showCaption, RelayTimings timings)
    : desktop_(desktop), clipboard_(clipboard), showCaption_(std::move(showCaption)), timings_(timings) {}

void ClipboardRelay::Pause(std::chrono::milliseconds time) {
  if (time.count() > 0) std::this_thread::sleep_for(time);
}

ClipboardRelay::ProbeCleaner::ProbeCleaner(ClipboardRelay& relay, bool always)
    : relay_(relay), always_(always) {
  hadText_ = relay_.clipboard_.ReadText(before_);
}

ClipboardRelay::ProbeCleaner::~ProbeCleaner() {
  Text now;
  const bool read = relay_.clipboard_.ReadText(now);
  if ((read && now == kClipboardProbe) || (always_ && hadText_ && (!read || now != before_)))
    relay_.clipboard_.WriteText(before_);
}

bool ClipboardRelay::ReadText(Text& out) {
  if (clipboard_.ReadText(out)) return true;
  Pause(timings_.clipboardRetry);
  if (clipboard_.ReadText(out)) return true;
  if (showCaption_) showCaption_(desktop_.ForegroundWindow(), kClipboardFailed);
  return false;
}

bool ClipboardRelay::WriteText(const Text* text) {
  const Text& value = text ? *text : capturedText;
  bool written = clipboard_.WriteText(value);
  if (!written) {
    Pause(timings_.clipboardRetry);
    written = clipboard_.WriteText(value);
  }
  if (written) {
    Pause(timings_.ownerTick);
    return true;
  }
  if (showCaption_) showCaption_(desktop_.ForegroundWindow(), kClipboardFailed);
  return false;
}

bool ClipboardRelay::CopyFromWindow(WindowHandle window, Text& out, bool show) {
  const Text title = show ? desktop_.WindowTitle(window) : Text();
  if (show && showCaption_) showCaption_(window, u"Copying ...");
  const bool read = ReadText(out);
  if (show && showCaption_) showCaption_(window, title);
  return read;
}

bool ClipboardRelay::InFront(WindowHandle window) {
  return !window || desktop_.ForegroundWindow() == window;
}

bool ClipboardRelay::ModifiersReleased() {
  const auto deadline = Clock::now() + timings_.modifierRelease;
  while (desktop_.ModifierKeysDown()) {
    if (Clock::now() >= deadline) return false;
    Pause(timings_.poll);
  }
  return true;
}

bool ClipboardRelay::PressChordHeld(WindowHandle window, const Chord& chord, bool tap) {
  if (chord.empty() || !ModifiersReleased() || !InFront(window)) return false;
  if (!tap) return desktop_.PressKeys(chord, timings_.keyHold);
  for (const int key : chord)
    if (!desktop_.PressKeys({key}, std::chrono::milliseconds(0))) return false;
  return true;
}

bool ClipboardRelay::PressChordPairs(WindowHandle window, const Chord& chord) {
  if (chord.empty() || !ModifiersReleased()) return false;
  for (size_t i = 0; i < chord.size(); i += 2) {
    // Before each pair: the other program may have given the front to a window of its own.
    if (!InFront(window)) return false;
    const Chord pair(chord.begin() + static_cast<std::ptrdiff_t>(i),
                     chord.begin() + static_cast<std::ptrdiff_t>(std::min(chord.size(), i + 2)));
    if (!desktop_.PressKeys(pair, timings_.keyHold)) return false;
    Pause(timings_.keyHold);
  }
  return true;
}

bool ClipboardRelay::PasteIntoForeground(WindowHandle window, const Text* text) {
  std::lock_guard lock(lock_);
  if (!WriteText(text ? text : &pasteText)) return false;
  if (!PressChordHeld(window, kPasteChord)) return false;
  // The other program asks for the text after it has read the keys; the clipboard must hold it till then.
  Pause(timings_.pasteSettle);
  return true;
}

bool ClipboardRelay::CaptureFromForeground(WindowHandle window) {
  std::lock_guard lock(lock_);
  const Text probe(kClipboardProbe);
  if (!WriteText(&probe)) return false;
  if (!PressChordHeld(window, kCaptureChord)) return false;
  return WaitForCopy(window, timings_.captureWait) == CopyEnd::kCopied && capturedText != probe;
}

CopyEnd ClipboardRelay::WaitForCopy(WindowHandle window, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (true) {
    if (clipboard_.TakenSinceWrite()) {
      Text copied;
      if (!clipboard_.ReadText(copied)) return CopyEnd::kNothing;
      capturedText = std::move(copied);
      return CopyEnd::kCopied;
    }
    if (window && desktop_.ForegroundWindow() != window) return CopyEnd::kLeftFront;
    if (WaitRightButtonRelease() != 0) return CopyEnd::kRightButton;
    if (Clock::now() >= deadline) return CopyEnd::kNothing;
    Pause(timings_.copyPoll);
  }
}

bool ClipboardRelay::CopyWindowText(WindowHandle window, const std::function<void(WindowHandle)>& activate) {
  std::lock_guard lock(lock_);
  if (activate) activate(window);
  if (WaitForegroundWindow(window) != WaitEnd::kDone) return false;
  Pause(std::chrono::milliseconds(100));
  // A marker first, so that a window that copies nothing is not credited with the clipboard's old text.
  const Text probe(kClipboardProbe);
  if (!WriteText(&probe)) return false;
  if (!PressChordPairs(window, kSelectAllCopyChord)) return false;
  Pause(std::chrono::milliseconds(std::max(0, captureDelay)));
  const auto deadline = Clock::now() + timings_.captureWait;
  Text copied = probe;
  while (true) {
    copied = probe;
    if (!clipboard_.ReadText(copied)) copied = probe;
    if (copied != probe || Clock::now() >= deadline) break;
    Pause(timings_.poll);
  }
  if (copied == probe) return false;
  capturedText = copied;
  return true;
}

int ClipboardRelay::WaitRightButtonRelease() {
  if (!desktop_.RightButtonDown()) return 0;
  const auto start = Clock::now();
  while (desktop_.RightButtonDown()) Pause(timings_.poll);
  return Clock::now() - start >= timings_.longPress ? 2 : 1;
}

WaitEnd ClipboardRelay::WaitForegroundWindow(WindowHandle window, WindowHandle* found) {
  const WindowHandle before = desktop_.ForegroundWindow();
  const auto deadline = Clock::now() + timings_.foregroundWait;
  while (true) {
    const WindowHandle front = desktop_.ForegroundWindow();
    if (found) *found = front;
    if (window ? front == window : front != before) return WaitEnd::kDone;
    if (WaitRightButtonRelease() != 0) return WaitEnd::kRightButton;
    if (Clock::now() >= deadline) return WaitEnd::kTimedOut;
    Pause(timings_.poll);
  }
}

}  // namespace scrivano
