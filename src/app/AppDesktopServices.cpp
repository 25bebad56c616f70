#include "app/AppDesktopServices.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "text/Lists.h"

namespace scrivano {

AppDesktopServices::AppDesktopServices(platform::DesktopPlatform& desktop,
                                       std::function<platform::Rect()> listRect,
                                       std::function<bool(TextView path)> openFile,
                                       std::function<void(WindowHandle)> activate,
                                       std::function<void(WindowHandle, TextView)> showCaption)
    : desktop_(desktop),
      listRect_(std::move(listRect)),
      openFile_(std::move(openFile)),
      relay_(desktop, clipboard_, showCaption),
      reach_{desktop, relay_, std::move(activate), std::move(showCaption)} {}

WindowHandle AppDesktopServices::WindowAtListCorner(bool clamp) {
  const platform::Rect list = listRect_();
  platform::Point corner{list.left - 1, list.top - 1};
  if (clamp) corner = {std::max(0, corner.x), std::max(0, corner.y)};
  return desktop_.WindowAt(corner);
}

Text AppDesktopServices::WindowClassName(WindowHandle window) {
  return desktop_.WindowClassName(window);
}

Text AppDesktopServices::WindowTitle(WindowHandle window) {
  return desktop_.WindowTitle(window);
}

void AppDesktopServices::RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert) {
  scrivano::RunOnWordPieces(reach_, wordWindow, convert);
}

void AppDesktopServices::CombineWindowsText(Text& workingText) {
  scrivano::CombineWindowsText(reach_, workingText);
}

Text AppDesktopServices::ReplaceInWordDocuments(Text& text) {
  return scrivano::ReplaceInWordDocuments(reach_, text);
}

bool AppDesktopServices::OpenWithDefaultApplication(TextView path) {
  return openFile_ && openFile_(path);
}

void AppDesktopServices::CloseWindowsOfClass(TextView classList) {
  // The first pass asks each window to close; later passes ask the user, on the window's own caption, to
  // close it (the program may be asking whether to save). The wait ends when none is left, when the user
  // presses the right mouse button, or after two minutes.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  for (bool firstPass = true;; firstPass = false) {
    const std::vector<WindowHandle> windows = WindowsOfClass(desktop_, classList);
    if (windows.empty()) return;
    for (const WindowHandle window : windows) {
      if (desktop_.WindowTitle(window).empty()) continue;
      if (firstPass)
        desktop_.RequestClose(window);
      else if (reach_.showCaption)
        reach_.showCaption(window, u"Please close this file.");
    }
    for (int tick = 0; tick < 60; ++tick) {
      if (relay_.WaitRightButtonRelease() != 0 || std::chrono::steady_clock::now() >= deadline) return;
      if (WindowsOfClass(desktop_, classList).empty()) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
}

}  // namespace scrivano
