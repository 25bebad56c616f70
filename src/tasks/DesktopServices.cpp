#include "tasks/DesktopServices.h"

#include <atomic>
#include <string>


namespace scrivano {
namespace {

std::atomic<DesktopServices*> installedServices{nullptr};

}  // namespace

void SetDesktopServices(DesktopServices* services) { installedServices.store(services); }

DesktopServices* Desktop() { return installedServices.load(); }

DesktopServices& RequireDesktop(const char* what) {
  DesktopServices* services = Desktop();
  if (!services) throw DesktopUnavailable(std::string(what) + " needs the desktop");
  return *services;
}

WindowHandle OfficeWindowAtListCorner(bool clamp) {
  DesktopServices* services = Desktop();
  if (!services) return 0;
  const WindowHandle window = services->WindowAtListCorner(clamp);
  return window && services->WindowClassName(window) == kOfficeMainWindowClass ? window : 0;
}

}  // namespace scrivano
