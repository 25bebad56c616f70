// What the capture operations reach on the desktop: the platform, the clipboard relay, and the
// application's own ActivateWindow and ShowCaption.
#pragma once

#include <functional>
#include <optional>

#include "capture/ClipboardRelay.h"
#include "platform/DesktopPlatform.h"
#include "tasks/DesktopServices.h"

namespace scrivano {

struct DesktopReach {
  platform::DesktopPlatform& desktop;
  ClipboardRelay& relay;
  std::function<void(WindowHandle)> activate;
  std::function<void(WindowHandle, TextView)> showCaption;
};

inline constexpr char16_t kHandsOffCaption[] =
    u"Do not perform any mouse or keyboard operation during the processing...";
inline constexpr char16_t kDialogWindowClass[] = u"#32770";
inline constexpr char16_t kBrowserWindowClass[] = u"Chrome_WidgetWin_1";

// Top-level windows whose class name occurs in an item of the tab-separated list, or that an item names
// (a name of the class table, or on X11 either part of WM_CLASS), the top of the stacking order first.
std::vector<WindowHandle> WindowsOfClass(platform::DesktopPlatform& desktop, TextView classList);

// The window mode of "03. Combine windows/files text": asks for the class (parameter 10) and the copy
// period, copies every such window's text by select-all-and-copy and appends it to workingText, and
// reports the time, windows and characters. Cancel at either question changes nothing.
void CombineWindowsText(DesktopReach& reach, Text& workingText);

// Applies convert to the office window's content piece by piece: Ctrl+N hands over the next piece,
// Ctrl+V puts the converted piece in its place. Stops when the window leaves the front or hands over
// nothing. Types nothing unless the office has answered that Ctrl+N runs the NextPiece macro; the user
// is told why otherwise (OfficePieces.h).
void RunOnWordPieces(DesktopReach& reach, WindowHandle wordWindow, const PieceConversion& convert);

// "13. Replace text in Word documents": the replacement typed in the open Find and Replace window is
// replaced in every open office document by that window's Replace All. Returns the report, and text
// becomes the completion message; returns nothing when nothing was replaced (a box told the user why, or
// the user said no), with text unchanged.
std::optional<Text> ReplaceInWordDocuments(DesktopReach& reach, Text& text);

}  // namespace scrivano
