// The desktop services that core operations reach through DesktopServices, on the platform layer.
#pragma once

#include <functional>

#include "app/AppClipboard.h"
#include "capture/DesktopReach.h"
#include "platform/DesktopPlatform.h"
#include "tasks/DesktopServices.h"

namespace scrivano {

class AppDesktopServices : public DesktopServices {
 public:
  // listRect gives the Function List's window rectangle, openFile opens a file with the desktop's default
  // application, activate brings a window forward and showCaption sets a window's caption; all from any
  // thread.
  AppDesktopServices(platform::DesktopPlatform& desktop, std::function<platform::Rect()> listRect,
                     std::function<bool(TextView path)> openFile,
                     std::function<void(WindowHandle)> activate = nullptr,
                     std::function<void(WindowHandle, TextView)> showCaption = nullptr);

  // The program-wide clipboard relay.
  ClipboardRelay& Relay() { return relay_; }

  WindowHandle WindowAtListCorner(bool clamp) override;
  Text WindowClassName(WindowHandle window) override;
  Text WindowTitle(WindowHandle window) override;
  void RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert) override;
  void CombineWindowsText(Text& workingText) override;
  std::optional<Text> ReplaceInWordDocuments(Text& text) override;
  bool OpenWithDefaultApplication(TextView path) override;
  // Asks each such window to close; later passes ask the user on the window's caption. Ends when none is
  // left, on the right mouse button, or after two minutes.
  WindowsClosing CloseWindowsOfClass(TextView classList) override;

 private:
  platform::DesktopPlatform& desktop_;
  std::function<platform::Rect()> listRect_;
  std::function<bool(TextView path)> openFile_;
  AppClipboard clipboard_;
  ClipboardRelay relay_;
  DesktopReach reach_;
};

}  // namespace scrivano
