// Before a document run: the office windows are asked to close, and the user to close those that stay
// (the office program may be asking whether to save). The wait has a limit and the right mouse button
// ends it; a window still open when the limit is reached says so in its caption.
#pragma once

#include <chrono>

#include "capture/DesktopReach.h"

namespace scrivano {

inline constexpr char16_t kPleaseCloseCaption[] = u"Please close this file.";
inline constexpr char16_t kStoppedWaitingCaption[] =
    u"Scrivano stopped waiting for this file to close and went on without it.";

struct CloseWindowsTimings {
  std::chrono::milliseconds limit{120000};
  // Between the passes that ask again.
  std::chrono::milliseconds pass{3000};
  std::chrono::milliseconds poll{50};
};

// Closes every window of the tab-separated class list (WindowsOfClass); returns when none is left, on the
// right button (cancelled), or at the limit with the titles of the windows still open.
WindowsClosing CloseWindowsOfClass(DesktopReach& reach, TextView classList,
                                   const CloseWindowsTimings& timings = {});

}  // namespace scrivano
