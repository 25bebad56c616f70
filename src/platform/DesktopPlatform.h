// The one door to the desktop: other programs' windows, their classes and titles, the foreground, the
// mouse cursor and the keyboard indicators. Code above this interface reads like the behaviour it
// implements; the X11 back-end and the fake for tests live below it.
//
// Thread rule: every method may be called from any thread; a back-end serialises its own access.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/OfficeWords.h"
#include "platform/Processes.h"
#include "settings/ParameterStore.h"
#include "text/Text.h"

namespace scrivano::platform {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// Screen coordinates; right and bottom lie just outside the rectangle.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool operator==(const Rect&) const = default;
};

struct LockKeyStates {
  bool known = false;  // false when the desktop does not report its indicators
  bool capsLock = false;
  bool numLock = false;
  bool scrollLock = false;
};

// The pause PressKeys makes before each release unless told otherwise.
inline constexpr std::chrono::milliseconds kKeyHold{30};

class DesktopPlatform {
 public:
  virtual ~DesktopPlatform() = default;

  // False for the stand-in used when there is no desktop at all.
  virtual bool Available() const = 0;

  // The top-level (root ancestor) window that shows at the point, or 0.
  virtual WindowHandle WindowAt(Point point) = 0;
  // Top-level windows, bottom of the stacking order first.
  virtual std::vector<WindowHandle> TopLevelWindows() = 0;
  virtual bool IsWindow(WindowHandle window) = 0;
  virtual Text WindowClassName(WindowHandle window) = 0;
  virtual Text WindowTitle(WindowHandle window) = 0;
  virtual bool SetWindowTitle(WindowHandle window, TextView title) = 0;
  // The window's client area in screen coordinates; an empty rectangle when unknown.
  virtual Rect WindowRect(WindowHandle window) = 0;

  virtual WindowHandle ForegroundWindow() = 0;
  // Asks the window manager to un-minimise and activate the window. Activation may arrive later.
  virtual void RequestActivation(WindowHandle window) = 0;
  // Asks the window to close, as its close box would.
  virtual void RequestClose(WindowHandle window) = 0;

  virtual Rect ScreenRect() = 0;
  virtual Point CursorPosition() = 0;
  virtual void SetCursorPosition(Point point) = 0;
  virtual bool RightButtonDown() = 0;
  virtual LockKeyStates LockKeys() = 0;

  // What the background duties need besides.
  // True when the window is of a class of the tab-separated list: a name of the class table
  // (WindowClasses.h) by what it stands for, or a class the back-end reports.
  virtual bool WindowIsOfClass(WindowHandle window, TextView classList) = 0;
  // True when the window draws its own title bar, so that a title set on it would not be seen.
  virtual bool DrawsOwnTitleBar(WindowHandle window) = 0;
  // The one way keys are sent. Keys by the virtual-key codes of the program's chords (0x10 Shift, 0x11 Ctrl,
  // 0x12 Alt, 0x1B Escape, 0x41 'A' ... 0x5A 'Z', 0x30 '0' ... 0x39 '9', 0x25 left arrow, 0x22 Page Down):
  // pressed in order, then released in reverse order with a pause of hold before each release, so that
  // the program in front sees them held together (one key with hold 0 is a tap). Sends nothing and
  // returns false while the user holds a modifier key of their own (a held Shift or Ctrl would change what
  // the other program sees), when a key has no counterpart here, or when the desktop takes no keys.
  virtual bool PressKeys(const std::vector<int>& virtualKeys, std::chrono::milliseconds hold = kKeyHold) = 0;
  // The process that shows the window, 0 when unknown.
  virtual int WindowProcessId(WindowHandle window) = 0;
  // When the window is LibreOffice Writer's Find and Replace window (class "bosa_sdm"): its words in the
  // language it shows, with the access keys of its fields and of Replace All (OfficeWords.h).
  virtual std::optional<FindReplaceWords> OfficeFindReplaceWords(WindowHandle window) {
    (void)window;
    return std::nullopt;
  }
  // False when the processes cannot be listed.
  virtual bool ListProcesses(std::vector<ProcessInfo>& processes) = 0;
  virtual OwnProcessInfo OwnProcess() = 0;
  // Asks the process to end (SIGTERM), or with force ends it (SIGKILL). False when that failed.
  virtual bool EndProcess(int pid, bool force) = 0;
  // Physical memory available without swapping, in bytes.
  virtual std::optional<std::uint64_t> FreePhysicalMemory() = 0;
  // True while the user holds Shift, Ctrl, Alt or the logo key; PressKeys sends nothing meanwhile.
  virtual bool ModifierKeysDown() { return false; }
  // True when the window is minimised (iconic).
  virtual bool IsMinimized(WindowHandle window) {
    (void)window;
    return false;
  }
  // The window's rectangle with the frame the window manager drew around it; WindowRect when unknown.
  virtual Rect FrameRect(WindowHandle window) { return WindowRect(window); }
  // The mouse buttons by their role, after any swap of the buttons the user made: the primary one clicks
  // and selects (the left one unless swapped), the secondary one opens context menus.
  virtual bool PrimaryButtonDown() { return false; }
  virtual bool SecondaryButtonDown() { return RightButtonDown(); }
  // Moves the cursor to the point and clicks the primary button there. False when the desktop takes no
  // synthetic mouse input.
  virtual bool ClickPrimaryButton(Point point) {
    (void)point;
    return false;
  }
  // The top-level windows of all programs, hidden (withdrawn) and minimised ones included: the listed ones
  // first, in TopLevelWindows order, then the others.
  virtual std::vector<WindowHandle> AllTopLevelWindows() { return TopLevelWindows(); }
  // How the process was started; none when that cannot be read (another user's, or one that ended).
  virtual std::optional<ProcessCommand> ProcessCommandOf(int pid) {
    (void)pid;
    return std::nullopt;
  }
  // Runs a program and waits for it, as RunCommand does. The default runs nothing (kProgramNotStarted).
  virtual int RunProgram(const ProcessCommand& command, std::chrono::milliseconds limit) {
    (void)command;
    (void)limit;
    return kProgramNotStarted;
  }
  // Every window below the given one at every depth, parents before children.
  virtual std::vector<WindowHandle> Descendants(WindowHandle window) {
    (void)window;
    return {};
  }
};

// Virtual-key codes of the keys the duties press.
inline constexpr int kKeyShift = 0x10;
inline constexpr int kKeyEscape = 0x1B;
inline constexpr int kKeyN = 0x4E;
inline constexpr int kKeyT = 0x54;

// The X11 back-end when a display can be opened (DISPLAY), otherwise a stand-in that finds no windows.
std::unique_ptr<DesktopPlatform> CreateDesktopPlatform();

// Lowers the calling thread's scheduling priority one notch below the process's (Function List tasks).
void LowerCurrentThreadPriority();

}  // namespace scrivano::platform
