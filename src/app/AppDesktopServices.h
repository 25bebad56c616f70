// The desktop services that core operations reach through DesktopServices, on the platform layer.
#pragma once

#include <functional>

#include "platform/DesktopPlatform.h"
#include "tasks/DesktopServices.h"

namespace scrivano {

class AppDesktopServices : public DesktopServices {
 public:
  // listRect gives the Function List's window rectangle, openFile opens a file with the desktop's default
  // application; both from any thread.
  AppDesktopServices(platform::DesktopPlatform& desktop, std::function<platform::Rect()> listRect,
                     std::function<bool(TextView path)> openFile);

  WindowHandle WindowAtListCorner(bool clamp) override;
  Text WindowClassName(WindowHandle window) override;
  Text WindowTitle(WindowHandle window) override;
  // Needs the clipboard relay, which is not part of this build: throws DesktopUnavailable.
  void RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert) override;
  // Needs the clipboard relay as well: throws DesktopUnavailable.
  void CombineWindowsText(Text& workingText) override;
  bool OpenWithDefaultApplication(TextView path) override;
  // Asks each such window to close and waits up to five seconds for them to go.
  void CloseWindowsOfClass(TextView classList) override;

 private:
  platform::DesktopPlatform& desktop_;
  std::function<platform::Rect()> listRect_;
  std::function<bool(TextView path)> openFile_;
};

}  // namespace scrivano
