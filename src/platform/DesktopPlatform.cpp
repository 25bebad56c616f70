#include "platform/DesktopPlatform.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

#include "platform/x11/X11Desktop.h"

namespace scrivano::platform {
namespace {

// No display: no other windows, nothing to activate, the cursor stays where it is.
class NoDesktop : public DesktopPlatform {
 public:
  bool Available() const override { return false; }
  WindowHandle WindowAt(Point) override { return 0; }
  std::vector<WindowHandle> TopLevelWindows() override { return {}; }
  bool IsWindow(WindowHandle) override { return false; }
  Text WindowClassName(WindowHandle) override { return Text(); }
  Text WindowTitle(WindowHandle) override { return Text(); }
  bool SetWindowTitle(WindowHandle, TextView) override { return false; }
  Rect WindowRect(WindowHandle) override { return Rect(); }
  WindowHandle ForegroundWindow() override { return 0; }
  void RequestActivation(WindowHandle) override {}
  void RequestClose(WindowHandle) override {}
  Rect ScreenRect() override { return Rect(); }
  Point CursorPosition() override { return Point(); }
  void SetCursorPosition(Point) override {}
  bool RightButtonDown() override { return false; }
  LockKeyStates LockKeys() override { return LockKeyStates(); }
  bool WindowIsOfClass(WindowHandle, TextView) override { return false; }
  bool DrawsOwnTitleBar(WindowHandle) override { return false; }
  bool PressKeys(const std::vector<int>&, std::chrono::milliseconds) override { return false; }
  int WindowProcessId(WindowHandle) override { return 0; }
  // Processes and memory are there without a display.
  bool ListProcesses(std::vector<ProcessInfo>& processes) override { return ReadProcessList(processes); }
  OwnProcessInfo OwnProcess() override { return ReadOwnProcess(); }
  bool EndProcess(int pid, bool force) override { return SignalProcess(pid, force); }
  std::optional<std::uint64_t> FreePhysicalMemory() override { return ReadAvailableMemory(); }
};

}  // namespace

std::unique_ptr<DesktopPlatform> CreateDesktopPlatform() {
  if (auto x11 = X11Desktop::Open()) return x11;
  return std::make_unique<NoDesktop>();
}

void LowerCurrentThreadPriority() {
  // On Linux the nice value belongs to the thread, so this leaves the user-interface thread alone.
  const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
  errno = 0;
  const int current = ::getpriority(PRIO_PROCESS, thread);
  if (errno == 0) ::setpriority(PRIO_PROCESS, thread, current + 1);
}

}  // namespace scrivano::platform
