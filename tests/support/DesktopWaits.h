// Waiting in tests on a private display: a condition polled until it holds or its limit passes (generous,
// for a loaded machine), and a top-level window found by its title.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "platform/DesktopPlatform.h"
#include "text/Text.h"

namespace scrivano::test {

inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::seconds(60)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

// The first top-level window with exactly this title, or 0.
inline WindowHandle FindWindow(platform::DesktopPlatform& desktop, TextView title) {
  for (const WindowHandle window : desktop.TopLevelWindows())
    if (desktop.WindowTitle(window) == title) return window;
  return 0;
}

}  // namespace scrivano::test
