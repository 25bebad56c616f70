// The one program-wide exchange of text with other programs: text onto the clipboard and Ctrl+V into the
// window in front, or a copy chord pressed there and the clipboard read back. Key chords are sent only to
// the window they are meant for: when another window has come to the front, nothing is typed and the
// operation reports failure. Every wait ends after a stated limit as well as on the right mouse button.
#pragma once

#include <chrono>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <vector>

#include "capture/ClipboardAccess.h"
#include "platform/DesktopPlatform.h"

namespace scrivano {

// Virtual-key codes of the chords.
inline constexpr int kKeyControl = 0x11;
inline constexpr int kKeyAlt = 0x12;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyPageDown = 0x22;
inline constexpr char16_t kClipboardProbe[] = u"SYSTEM1TEXT2FLAG3";
inline constexpr char16_t kClipboardFailed[] = u"Failed to copy, please retry later.";

using Chord = std::vector<int>;
inline const Chord kPasteChord{kKeyControl, 0x56};
inline const Chord kCaptureChord{kKeyControl, 0x4E};
inline const Chord kSelectAllCopyChord{kKeyControl, 0x41, kKeyControl, 0x43};

// What a wait for a key or a window ended with.
enum class WaitEnd { kDone, kRightButton, kTimedOut };

// What a wait for another program's copy ended with.
enum class CopyEnd { kCopied, kNothing, kLeftFront, kRightButton };

struct RelayTimings {
  std::chrono::milliseconds poll{20};
  // Before the first key of a chord: how long the user's own modifier keys may stay held.
  std::chrono::milliseconds modifierRelease{10000};
  // Between the presses of a chord and their releases.
  std::chrono::milliseconds keyHold = platform::kKeyHold;
  // After Ctrl+V: the other program fetches the text from the clipboard in its own time.
  std::chrono::milliseconds pasteSettle{800};
  // After the capture chord: how long the other program has to put something on the clipboard.
  std::chrono::milliseconds captureWait{3000};
  // How often a wait for another program's copy looks: the copy is the event a piece waits for.
  std::chrono::milliseconds copyPoll{5};
  // After the relay has taken the clipboard: the display server stamps owners in milliseconds, and a
  // program that takes the clipboard over within the same millisecond is not noticed.
  std::chrono::milliseconds ownerTick{2};
  // The first retry of a clipboard that cannot be reached.
  std::chrono::milliseconds clipboardRetry{1000};
  // A window to come to the front.
  std::chrono::milliseconds foregroundWait{10000};
  // After a window came to the front, before keys are sent to it: it gives the keyboard to its content.
  std::chrono::milliseconds focusSettle{300};
  // A program the relay runs to reach another program (soffice handing a request to the running office).
  std::chrono::milliseconds programWait{5000};
  // After that program: how long the office has to answer on the clipboard.
  std::chrono::milliseconds officeAnswer{3000};
  // A window asked to close, to be gone.
  std::chrono::milliseconds windowClose{5000};
  // A right button held this long counts as held.
  std::chrono::milliseconds longPress{1000};
};

class ClipboardRelay {
 public:
  using CaptionSink = std::function<void(WindowHandle window, TextView caption)>;
  ClipboardRelay(platform::DesktopPlatform& desktop, ClipboardAccess& clipboard, CaptionSink showCaption,
                 RelayTimings timings = {});

  Text capturedText;
  Text pasteText;
  int captureDelay = 0;  // milliseconds after the select-all-and-copy chord

  // Clipboard text; with one retry after a second, then "Failed to copy, please retry later." on the
  // window in front.
  bool ReadText(Text& out);
  // nullptr: capturedText.
  bool WriteText(const Text* text);
  // The clipboard's text into out; with show, "Copying ..." stands on the window meanwhile.
  bool CopyFromWindow(WindowHandle window, Text& out, bool show);
  // The text (nullptr: pasteText) onto the clipboard and Ctrl+V, when window is in front.
  bool PasteIntoForeground(WindowHandle window, const Text* text = nullptr);
  // The probe onto the clipboard, Ctrl+N in window (when in front), the clipboard into capturedText.
  // True when the program in front copied something.
  bool CaptureFromForeground(WindowHandle window);
  // After something that makes another program copy: waits until another program has taken the
  // clipboard over, window has left the front (0: none watched), the right button or the limit. On
  // kCopied capturedText holds the clipboard's text.
  CopyEnd WaitForCopy(WindowHandle window, std::chrono::milliseconds limit);

  // Ctrl+A, Ctrl+C in window once it is in front, then the clipboard into capturedText. activate brings
  // a window forward.
  bool CopyWindowText(WindowHandle window, const std::function<void(WindowHandle)>& activate);

  // Presses every key of the chord, then releases them in reverse order; with tap, each key in turn.
  // Nothing is sent unless window is in front (0: whatever is in front).
  bool PressChordHeld(WindowHandle window, const Chord& chord, bool tap = false);
  // Two keys at a time; the foreground is checked before each pair.
  bool PressChordPairs(WindowHandle window, const Chord& chord);

  // The right button: 0 when not down, 1 when it was down and let go, 2 when held a second or more.
  int WaitRightButtonRelease();
  // Until window is in front (or, with 0, another window than the one in front now), the right button,
  // or the limit. found receives the window in front.
  WaitEnd WaitForegroundWindow(WindowHandle window, WindowHandle* found = nullptr);

  // Puts back the text the clipboard held before, when an exchange has left the probe on it; with always,
  // whatever the exchange left there, when the clipboard held text before.
  class ProbeCleaner {
   public:
    explicit ProbeCleaner(ClipboardRelay& relay, bool always = false);
    ~ProbeCleaner();
    ProbeCleaner(const ProbeCleaner&) = delete;
    ProbeCleaner& operator=(const ProbeCleaner&) = delete;

   private:
    ClipboardRelay& relay_;
    Text before_;
    bool always_ = false;
    bool hadText_ = false;
  };

  // Serialises whole exchanges of tasks that use the relay at the same time.
  std::recursive_mutex& Lock() { return lock_; }
  const RelayTimings& Timings() const { return timings_; }

 private:
  bool ModifiersReleased();
  bool InFront(WindowHandle window);
  void Pause(std::chrono::milliseconds time);

  platform::DesktopPlatform& desktop_;
  ClipboardAccess& clipboard_;
  CaptionSink showCaption_;
  RelayTimings timings_;
  std::recursive_mutex lock_;
};

}  // namespace scrivano
