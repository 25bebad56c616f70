#include "app/AppDesktopServices.h"

#include <algorithm>

namespace scrivano {

AppDesktopServices::AppDesktopServices(platform::DesktopPlatform& desktop,
                                       std::function<platform::Rect()> listRect)
    : desktop_(desktop), listRect_(std::move(listRect)) {}

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

}  // namespace scrivano
