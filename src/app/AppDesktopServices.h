// The desktop services that core operations reach through DesktopServices, on the platform layer.
#pragma once

#include <functional>

#include "app/DesktopServices.h"
#include "platform/DesktopPlatform.h"

namespace scrivano {

class AppDesktopServices : public DesktopServices {
 public:
  // listRect gives the Function List's window rectangle from any thread.
  AppDesktopServices(platform::DesktopPlatform& desktop, std::function<platform::Rect()> listRect);

  WindowHandle WindowAtListCorner(bool clamp) override;
  Text WindowClassName(WindowHandle window) override;
  Text WindowTitle(WindowHandle window) override;
  // Needs the clipboard relay, which is not part of this build: throws DesktopUnavailable.
  void RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert) override;

 private:
  platform::DesktopPlatform& desktop_;
  std::function<platform::Rect()> listRect_;
};

}  // namespace scrivano
