// Scrivano reaches other programs' windows through X11. In a Wayland session only the programs that run
// under XWayland have X11 windows; a program that runs natively on Wayland cannot be seen, read or typed
// into, and the functions that look for its window must say so instead of doing nothing.
#pragma once

#include "text/Text.h"

namespace scrivano::platform {

// WAYLAND_DISPLAY names a compositor, or XDG_SESSION_TYPE is "wayland" (either may be null).
bool IsWaylandSession(const char* waylandDisplay, const char* sessionType);
// The same for this process's environment.
bool IsWaylandSession();

// "No X11 window found " and what was looked for ("of the class ..."); in a Wayland session followed by
// how to make a program's windows reachable.
Text NoX11WindowFound(TextView lookedFor);
// In a Wayland session two line breaks and how to make a program's windows reachable; else empty.
Text WaylandHint();

// Said once at the first start in a Wayland session: which functions reach only X11 windows, and how to
// start programs so that they have one.
Text WaylandSessionNotice();

}  // namespace scrivano::platform
