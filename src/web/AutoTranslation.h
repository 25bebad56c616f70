// Automatic translation in other programs' windows: a long press of the primary mouse button in a window
// of a class named in parameter 13 copies that window's text, translates it line by line through the
// translation page shown in the companion, and pastes the translation back. Also the window closer the
// timer cycle uses (parameter 2's titles).
//
// Thread rule: AutoTranslateOnLongPress runs on the user-interface thread inside the timer cycle; it
// holds the clipboard relay's lock for the whole exchange. The class tests may run on any thread.
#pragma once

#include <chrono>
#include <functional>

#include "capture/ClipboardRelay.h"
#include "platform/DesktopPlatform.h"
#include "web/TranslationPage.h"
#include "web/WebCapture.h"

namespace scrivano {

// The height of a menu bar, by which a selection-mode long press may lie outside the window's client
// area (text selected up to the edge). X11 has no system value for it; 20 pixels is a common menu bar.
inline constexpr int kMenuBarHeight = 20;

inline constexpr char16_t kAutoTranslatingCaption[] = u"Auto translating ...";
inline constexpr char16_t kAutoTranslationFailedCaption[] = u"Auto translation failed! Please retry later.";
inline constexpr char16_t kSourceEmptyMessage[] = u"Source is empty !";

// What automatic translation reaches: the desktop, the clipboard relay, the companion, and the caption
// setter for other programs' windows (their title).
struct AutoTranslationReach {
  platform::DesktopPlatform& desktop;
  ClipboardRelay& relay;
  CompanionLink& link;
  std::function<void(WindowHandle, TextView)> showCaption;
};

// The waits between the keys; the defaults give other programs time on a loaded machine.
struct AutoTranslationTimings {
  std::chrono::milliseconds poll{20};
  // A press held this long is a long press.
  std::chrono::milliseconds longPress{1000};
  // After Ctrl+A, for the selection to be made.
  std::chrono::milliseconds afterSelectAll{300};
  // In selection mode before Ctrl+C.
  std::chrono::milliseconds beforeCopy{200};
  // After Ctrl+C: how long the other program has to put its text on the clipboard.
  std::chrono::milliseconds copyWait{3000};
  // After the click back, before the paste.
  std::chrono::milliseconds afterClick{200};
};

enum class LongPressMode { kNotListed, kWholeText, kSelection };

// True when the window (the foreground window when 0) is of a class that is a whole item of the
// tab-separated list.
bool WindowClassInList(platform::DesktopPlatform& desktop, TextView classList, WindowHandle window = 0);

// The mode parameter 13's list gives the window: an item naming its class alone gives whole-text mode,
// the class followed by ";" selection mode. A class that only begins an item does not count.
LongPressMode LongPressModeOf(platform::DesktopPlatform& desktop, TextView classList, WindowHandle window);

// Whether a long press at the cursor (screen coordinates) counts, given the window's client rectangle.
// Whole-text mode takes the left 3/5 of it and gives the point to click back into (on the 3/5 mark, at
// the cursor's height); selection mode takes the rectangle widened by twice the menu-bar height at each
// side (once more at the left) and once above and below.
bool LongPressPointAccepted(platform::Rect client, platform::Point cursor, LongPressMode mode,
                            platform::Point& clickBack);

// Asks the window to close when its title is a whole item of parameter 2's tab-separated list. A window
// without a title is never taken for one of the list's.
void CloseListedWindow(platform::DesktopPlatform& desktop, WindowHandle window);

enum class AutoTranslateEnd {
  kNotListed,      // the window in front is of none of parameter 13's classes
  kShortPress,     // the primary button was not held for a second
  kNoCompanion,    // the companion's window is missing (the user was told)
  kOutsideArea,    // the press lay outside the part of the window that counts
  kNothingCopied,  // the window copied nothing ("Source is empty !")
  kLeftFront,      // another window came to the front; nothing more was typed
  kPasted,         // the translation replaced the copied text
};

// One check for a long press, and when there is one the whole translation. The companion window is
// reach.link.companionWindow; parameter 14 is the longest wait for each piece's translation.
AutoTranslateEnd AutoTranslateOnLongPress(AutoTranslationReach& reach, TranslationRelay& relay,
                                          const AutoTranslationTimings& timings = {});

}  // namespace scrivano
