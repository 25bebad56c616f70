#include "app/AppDesktopServices.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "office/CloseWindows.h"
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

std::optional<Text> AppDesktopServices::ReplaceInWordDocuments(Text& text) {
  return scrivano::ReplaceInWordDocuments(reach_, text);
}

bool AppDesktopServices::OpenWithDefaultApplication(TextView path) {
  return openFile_ && openFile_(path);
}

WindowsClosing AppDesktopServices::CloseWindowsOfClass(TextView classList) {
  return scrivano::CloseWindowsOfClass(reach_, classList);
}

}  // namespace scrivano
