// Window placements stored in section "DIMENSIONS" of config.ini, one key per window, the value
// "left,top,right,bottom" in screen coordinates.
#pragma once

#include <optional>

#include "platform/DesktopPlatform.h"
#include "text/Text.h"

namespace scrivano {

inline constexpr char16_t kDimensionsSection[] = u"DIMENSIONS";

// Saves the rectangle under key unless it lies off the screen (left or top beyond its size, right or
// bottom negative). True when it was written.
bool SaveWindowRect(TextView parameterFile, platform::Rect window, platform::Rect screen, TextView key);

// The stored rectangle for key when there is one and it is still reachable: its top-left or top-right
// corner, or one of those moved down by a caption height, lies on the desktop shrunk by a caption height
// on every side.
std::optional<platform::Rect> RestoreWindowRect(TextView parameterFile, TextView key, platform::Rect desktop,
                                                int captionHeight);

}  // namespace scrivano
