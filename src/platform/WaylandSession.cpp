#include "platform/WaylandSession.h"

#include <cstdlib>
#include <cstring>

namespace scrivano::platform {
namespace {

constexpr char16_t kHowToReach[] =
    u"This is a Wayland session: Scrivano sees only the windows of programs that run under XWayland. Start "
    u"a program that way to make it reachable, for instance LibreOffice Writer with "
    u"SAL_USE_VCLPLUGIN=gen (or GDK_BACKEND=x11), Firefox with MOZ_ENABLE_WAYLAND=0, Chromium or Chrome "
    u"with --ozone-platform=x11, other GTK programs with GDK_BACKEND=x11 and Qt programs with "
    u"QT_QPA_PLATFORM=xcb.";

}  // namespace

bool IsWaylandSession(const char* waylandDisplay, const char* sessionType) {
  return (waylandDisplay && *waylandDisplay) || (sessionType && std::strcmp(sessionType, "wayland") == 0);
}

bool IsWaylandSession() {
  return IsWaylandSession(std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_SESSION_TYPE"));
}

Text NoX11WindowFound(TextView lookedFor) {
  return u"No X11 window found " + Text(lookedFor) + u"." + WaylandHint();
}

Text WaylandHint() {
  return IsWaylandSession() ? u"\r\n\r\n" + Text(kHowToReach) : Text();
}

Text WaylandSessionNotice() {
  return u"This is a Wayland session. Scrivano reaches other programs' windows through X11, so it sees only "
         u"the programs that run under XWayland; windows of programs that run natively on Wayland are "
         u"invisible "
         u"to it.\r\n\r\nThese functions reach only X11 windows: 0 (the window at the Function List's "
         u"corner), "
         u"2 and 16 in a Writer window, 3 in window mode, 13 (Find and Replace in Writer), automatic "
         u"translation (parameter 14), closing pop-up windows and the captions shown on other programs' "
         u"windows. Where they look for a window and find none they say \"No X11 window found\". The text "
         u"functions, files and web pages (entry 6) work as anywhere else.\r\n\r\nTo make a program "
         u"reachable, start it under XWayland: LibreOffice Writer with SAL_USE_VCLPLUGIN=gen (or "
         u"GDK_BACKEND=x11), Firefox with MOZ_ENABLE_WAYLAND=0, Chromium or Chrome with "
         u"--ozone-platform=x11, "
         u"other GTK programs with GDK_BACKEND=x11 and Qt programs with QT_QPA_PLATFORM=xcb.\r\n\r\nThis "
         u"notice is shown once; the Operational Manual says the same under \"Wayland sessions\".";
}

}  // namespace scrivano::platform
