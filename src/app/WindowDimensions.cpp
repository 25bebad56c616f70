#include "app/WindowDimensions.h"

#include <string>

#include "settings/IniFile.h"
#include "settings/ParameterStore.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"

namespace scrivano {

bool SaveWindowRect(TextView parameterFile, platform::Rect window, platform::Rect screen, TextView key) {
  if (window.left > screen.Width() || window.top > screen.Height() || window.right < 0 || window.bottom < 0)
    return false;
  const std::string value = std::to_string(window.left) + "," + std::to_string(window.top) + "," +
                            std::to_string(window.right) + "," + std::to_string(window.bottom);
  return WriteIniValue(parameterFile, kDimensionsSection, key, FromUtf8(value));
}

std::optional<platform::Rect> RestoreWindowRect(TextView parameterFile, TextView key, platform::Rect desktop,
                                                int captionHeight) {
  Text source(parameterFile);
  Text value;
  if (!ReadIniValue(source, kDimensionsSection, key, value, false)) return std::nullopt;
  // Missing numbers count as 0.
  int numbers[4] = {0, 0, 0, 0};
  int pos = 0;
  Text piece;
  for (int& number : numbers) {
    if (pos == Length(value)) break;
    NextTokenFound(value, piece, pos, u",");
    number = WideToInt(piece);
  }
  const platform::Rect stored{numbers[0], numbers[1], numbers[2], numbers[3]};
  const platform::Rect reachable{desktop.left + captionHeight, desktop.top + captionHeight,
                                 desktop.right - captionHeight, desktop.bottom - captionHeight};
  const bool accepted = reachable.Contains({stored.left, stored.top}) ||
                        reachable.Contains({stored.right, stored.top}) ||
                        reachable.Contains({stored.left, stored.top + captionHeight}) ||
                        reachable.Contains({stored.right, stored.top + captionHeight});
  if (!accepted) return std::nullopt;
  return stored;
}

}  // namespace scrivano
