#include "app/AppDesktopServices.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "text/Lists.h"

namespace scrivano {

AppDesktopServices::AppDesktopServices(platform::DesktopPlatform& desktop,
                                       std::function<platform::Rect()> listRect,
                                       std::function<bool(TextView path)> openFile)
    : desktop_(desktop), listRect_(std::move(listRect)), openFile_(std::move(openFile)) {}

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

void AppDesktopServices::RunOnWordPieces(WindowHandle, const PieceConversion&) {
  throw DesktopUnavailable(
      "Working piece by piece in the Word window needs the clipboard relay, which this version of Scrivano "
      "does not have yet.");
}

void AppDesktopServices::CombineWindowsText(Text&) {
  throw DesktopUnavailable(
      "Copying the text of other windows needs the clipboard relay, which this version of Scrivano does not "
      "have yet.");
}

bool AppDesktopServices::OpenWithDefaultApplication(TextView path) {
  return openFile_ && openFile_(path);
}

void AppDesktopServices::CloseWindowsOfClass(TextView classList) {
  const auto windowsOfClass = [&] {
    std::vector<WindowHandle> found;
    for (const WindowHandle window : desktop_.TopLevelWindows())
      if (IsListItem(classList, desktop_.WindowClassName(window), u"\t")) found.push_back(window);
    return found;
  };
  for (const WindowHandle window : windowsOfClass()) desktop_.RequestClose(window);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!windowsOfClass().empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

}  // namespace scrivano
