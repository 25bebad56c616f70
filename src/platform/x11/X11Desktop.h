// The desktop through Xlib: client windows (those carrying WM_STATE), WM_CLASS and _NET_WM_NAME,
// activation through the window manager's _NET_ACTIVE_WINDOW, the pointer and the keyboard indicators.
#pragma once

#include <memory>
#include <mutex>

#include "platform/DesktopPlatform.h"
#include "platform/WindowClasses.h"

namespace scrivano::platform {

class X11Desktop : public DesktopPlatform {
 public:
  // nullptr when the display cannot be opened. displayName nullptr: $DISPLAY.
  static std::unique_ptr<X11Desktop> Open(const char* displayName = nullptr);
  ~X11Desktop() override;

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
  LockKeyStates LockKeys() override;
  bool WindowIsOfClass(WindowHandle window, TextView classList) override;
  bool DrawsOwnTitleBar(WindowHandle window) override;
  bool PressKeys(const std::vector<int>& virtualKeys, std::chrono::milliseconds hold = kKeyHold) override;
  int WindowProcessId(WindowHandle window) override;
  std::optional<FindReplaceWords> OfficeFindReplaceWords(WindowHandle window) override;
  bool ListProcesses(std::vector<ProcessInfo>& processes) override { return ReadProcessList(processes); }
  OwnProcessInfo OwnProcess() override { return ReadOwnProcess(); }
  bool EndProcess(int pid, bool force) override { return SignalProcess(pid, force); }
  std::optional<std::uint64_t> FreePhysicalMemory() override { return ReadAvailableMemory(); }
  std::optional<ProcessCommand> ProcessCommandOf(int pid) override { return ReadProcessCommand(pid); }
  int RunProgram(const ProcessCommand& command, std::chrono::milliseconds limit) override {
    return RunCommand(command, limit);
  }
  bool ModifierKeysDown() override;
  bool IsMinimized(WindowHandle window) override;
  std::vector<WindowHandle> Descendants(WindowHandle window) override;
  Rect FrameRect(WindowHandle window) override;
  bool PrimaryButtonDown() override;
  bool SecondaryButtonDown() override;
  bool ClickPrimaryButton(Point point) override;

 private:
  struct Connection;
  explicit X11Desktop(std::unique_ptr<Connection> connection);
  // Class, title and dialog nature, and for an office's dialog the office's words; the caller holds mutex_.
  WindowKind KindOf(WindowHandle window);
  Text TitleOf(WindowHandle window);
  int ProcessIdOf(WindowHandle window);
  // The pointer's logical button state; the caller holds mutex_.
  unsigned int ButtonMask();

  std::mutex mutex_;  // one request at a time on the private connection
  std::unique_ptr<Connection> x_;
  OfficeWordsCache officeWords_;
};

}  // namespace scrivano::platform
