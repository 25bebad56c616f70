// A desktop in memory for tests: windows with classes, titles and rectangles in a stacking order, a
// foreground window, the cursor and the right mouse button. It records what was asked of it.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "platform/DesktopPlatform.h"
#include "platform/WindowClasses.h"

namespace scrivano::platform {

class FakeDesktop : public DesktopPlatform {
 public:
  struct FakeWindow {
    WindowHandle handle = 0;
    Text className;
    Text title;
    Rect rect;
    bool drawsOwnTitleBar = false;
    int pid = 0;
    bool shown = true;
    std::optional<WindowKind> kind;  // an X11-like window: className is then what the table reports
  };

  struct EndRequest {
    int pid = 0;
    bool force = false;
    bool operator==(const EndRequest&) const = default;
  };

  explicit FakeDesktop(Rect screen = Rect{0, 0, 1280, 1024});

  // Adds a window on top of the others; returns its handle.
  WindowHandle AddWindow(TextView className, TextView title, Rect rect);
  // Adds a window as an X11 program shows it: its class name and class lists follow the class table
  // (WindowClasses.h), as on the X11 back-end; the title is kind.title.
  WindowHandle AddX11Window(const WindowKind& kind, Rect rect);
  void RemoveWindow(WindowHandle window);
  // A hidden window is left out of TopLevelWindows and WindowAt but still exists (IsWindow).
  void SetWindowShown(WindowHandle window, bool shown);
  void SetForeground(WindowHandle window);
  void SetRightButton(bool down);
  void SetLeftButton(bool down);
  // With the buttons swapped the right button is the primary one.
  void SetButtonsSwapped(bool swapped);
  // The points where the primary button was clicked.
  std::vector<Point> PrimaryClicks() const;
  // Called (outside the lock) after a click, as the program under the cursor would react to it.
  void SetClickHook(std::function<void(Point)> hook);
  // With activation off, requests are recorded but the foreground does not change.
  void SetActivationWorks(bool works);
  std::vector<WindowHandle> ActivationRequests() const;
  std::vector<WindowHandle> CloseRequests() const;
  std::vector<Point> CursorMoves() const;
  void SetDrawsOwnTitleBar(WindowHandle window, bool draws);
  void SetWindowProcess(WindowHandle window, int pid);
  // The key sequences pressed, one for each PressKeys that sent its keys.
  std::vector<std::vector<int>> KeyPresses() const;
  // While the user holds a modifier key no keys are pressed.
  void SetModifierHeld(bool held);

  // Processes: a process asked to end with SIGTERM goes only when it honours that; SIGKILL always works.
  void AddProcess(const ProcessInfo& process, bool honoursTerm = true);
  void SetOwnProcess(const OwnProcessInfo& own);
  void SetProcessListFails(bool fails);
  void SetFreeMemory(std::optional<std::uint64_t> bytes);
  bool HasProcess(int pid) const;
  std::vector<EndRequest> EndRequests() const;
  // Key events as sent: +code for a press, -code for a release, with the foreground window of the moment.
  struct KeyEvent {
    int key = 0;
    WindowHandle foreground = 0;
    bool operator==(const KeyEvent&) const = default;
  };
  std::vector<KeyEvent> KeyEvents() const;
  // Called (outside the lock) after every key event, as the program in front would react to it.
  void SetKeyHook(std::function<void(int key, bool down)> hook);
  // How a process was started, as ProcessCommandOf reports it.
  void SetProcessCommand(int pid, const ProcessCommand& command);
  // Programs run: the hook (called outside the lock) plays the program and gives its exit status; without
  // one no program can be started (kProgramNotStarted).
  void SetProgramHook(std::function<int(const ProcessCommand&)> hook);
  std::vector<ProcessCommand> ProgramsRun() const;

  bool Available() const override { return true; }
  WindowHandle WindowAt(Point point) override;
  std::vector<WindowHandle> TopLevelWindows() override;
  std::vector<WindowHandle> AllTopLevelWindows() override;
  bool IsWindow(WindowHandle window) override;
  Text WindowClassName(WindowHandle window) override;
  Text WindowTitle(WindowHandle window) override;
  bool SetWindowTitle(WindowHandle window, TextView title) override;
  Rect WindowRect(WindowHandle window) override;
  WindowHandle ForegroundWindow() override;
  void RequestActivation(WindowHandle window) override;
  void RequestClose(WindowHandle window) override;
  Rect ScreenRect() override;
  Point CursorPosition() override;
  void SetCursorPosition(Point point) override;
  bool RightButtonDown() override;
  LockKeyStates LockKeys() override { return LockKeyStates(); }
  bool WindowIsOfClass(WindowHandle window, TextView classList) override;
  bool DrawsOwnTitleBar(WindowHandle window) override;
  bool PressKeys(const std::vector<int>& virtualKeys, std::chrono::milliseconds hold = kKeyHold) override;
  int WindowProcessId(WindowHandle window) override;
  // From the window's kind (AddX11Window), with the title it has now.
  std::optional<FindReplaceWords> OfficeFindReplaceWords(WindowHandle window) override;
  bool ListProcesses(std::vector<ProcessInfo>& processes) override;
  OwnProcessInfo OwnProcess() override;
  bool EndProcess(int pid, bool force) override;
  std::optional<std::uint64_t> FreePhysicalMemory() override;
  bool ModifierKeysDown() override;
  bool PrimaryButtonDown() override;
  bool SecondaryButtonDown() override;
  bool ClickPrimaryButton(Point point) override;
  std::optional<ProcessCommand> ProcessCommandOf(int pid) override;
  int RunProgram(const ProcessCommand& command, std::chrono::milliseconds limit) override;

 private:
  FakeWindow* Find(WindowHandle window);

  mutable std::mutex mutex_;
  Rect screen_;
  std::vector<FakeWindow> windows_;  // bottom first
  WindowHandle nextHandle_ = 0x1000;
  WindowHandle foreground_ = 0;
  Point cursor_;
  bool rightButton_ = false;
  bool leftButton_ = false;
  bool buttonsSwapped_ = false;
  std::vector<Point> primaryClicks_;
  std::function<void(Point)> clickHook_;
  bool activationWorks_ = true;
  std::vector<WindowHandle> activationRequests_;
  std::vector<WindowHandle> closeRequests_;
  std::vector<Point> cursorMoves_;
  std::vector<std::vector<int>> keyPresses_;
  bool modifierHeld_ = false;
  struct FakeProcess {
    ProcessInfo info;
    bool honoursTerm = true;
  };
  std::vector<FakeProcess> processes_;
  OwnProcessInfo own_{4242, false, u"scrivano"};
  bool processListFails_ = false;
  std::optional<std::uint64_t> freeMemory_ = std::uint64_t{4096} << 20;
  std::vector<EndRequest> endRequests_;
  std::vector<KeyEvent> keyEvents_;
  std::function<void(int, bool)> keyHook_;
  std::vector<std::pair<int, ProcessCommand>> processCommands_;
  std::function<int(const ProcessCommand&)> programHook_;
  std::vector<ProcessCommand> programsRun_;
};

}  // namespace scrivano::platform
