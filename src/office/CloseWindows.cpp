#include "office/CloseWindows.h"

#include <map>
#include <thread>

namespace scrivano {

using Clock = std::chrono::steady_clock;

WindowsClosing CloseWindowsOfClass(DesktopReach& reach, TextView classList,
                                   const CloseWindowsTimings& timings) {
  platform::DesktopPlatform& desktop = reach.desktop;
  const auto deadline = Clock::now() + timings.limit;
  // Each window's own title, as it was before a caption was put on it.
  std::map<WindowHandle, Text> titles;
  WindowsClosing closing;
  for (bool firstPass = true;; firstPass = false) {
    const std::vector<WindowHandle> windows = WindowsOfClass(desktop, classList);
    if (windows.empty()) return closing;
    // The first pass asks each window to close; later passes ask the user, on the window's own caption.
    for (const WindowHandle window : windows) {
      const Text title = desktop.WindowTitle(window);
      if (title.empty()) continue;
      titles.try_emplace(window, title);
      if (firstPass)
        desktop.RequestClose(window);
      else if (reach.showCaption)
        reach.showCaption(window, kPleaseCloseCaption);
    }
    const auto passEnd = Clock::now() + timings.pass;
    while (Clock::now() < passEnd) {
      if (reach.relay.WaitRightButtonRelease() != 0) {
        closing.cancelled = true;
        return closing;
      }
      const std::vector<WindowHandle> left = WindowsOfClass(desktop, classList);
      if (left.empty()) return closing;
      if (Clock::now() >= deadline) {
        // Given up: each window left says so on its caption, and the caller is told which they are.
        for (const WindowHandle window : left) {
          const auto known = titles.find(window);
          const Text title = known != titles.end() ? known->second : desktop.WindowTitle(window);
          if (title.empty()) continue;
          closing.stillOpen.push_back(title);
          if (reach.showCaption) reach.showCaption(window, kStoppedWaitingCaption);
        }
        return closing;
      }
      std::this_thread::sleep_for(timings.poll);
    }
  }
}

}  // namespace scrivano
