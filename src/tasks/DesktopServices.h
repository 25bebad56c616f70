// The points where core operations reach into the desktop: other programs' windows, the clipboard relay,
// the office window at the Function List's corner. The desktop application installs the services at
// start-up; without them (the command-line runner, most tests) an operation that needs one throws
// DesktopUnavailable, and operations that only look for an office window find none.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "tasks/TaskContext.h"

namespace scrivano {

// Rewrites one piece of text in place.
using PieceConversion = std::function<void(Text& piece)>;

// How a wait for windows to close ended: all closed (stillOpen empty, not cancelled), cancelled by the
// user, or given up with the titles of the windows still open.
struct WindowsClosing {
  bool cancelled = false;
  std::vector<Text> stillOpen;
};

class DesktopServices {
 public:
  virtual ~DesktopServices() = default;

  // The root window just outside the Function List's top-left corner (moved one pixel left and up);
  // with clamp, negative coordinates are raised to 0 first. 0 when there is none.
  virtual WindowHandle WindowAtListCorner(bool clamp) = 0;
  virtual Text WindowClassName(WindowHandle window) = 0;
  // The window's title; used by the window report of "00. Return to Scrivano".
  virtual Text WindowTitle(WindowHandle /*window*/) { return Text(); }

  // Applies convert to the office window's content piece by piece through the clipboard relay. Types
  // nothing into the office unless it has answered that its piece macro is there; the user is told why
  // otherwise and may install it.
  virtual void RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert) = 0;

  // The window mode of "03. Combine windows/files text", reached when the working text lists no
  // readable file: appends the text of the windows the user chooses to workingText. A desktop that does
  // not provide it stops the entry as a missing desktop would.
  virtual void CombineWindowsText(Text& workingText) {
    (void)workingText;
    throw DesktopUnavailable("Copying the text of windows needs the desktop");
  }

  // "13. Replace text in Word documents": the replacement of the open Find and Replace window in every
  // open office document. Returns the report for the current text window, and text becomes the
  // completion message; returns nothing when nothing was replaced (the user was told why), and then
  // nothing may be handed back. Without the desktop it throws DesktopUnavailable.
  virtual std::optional<Text> ReplaceInWordDocuments(Text& text) {
    (void)text;
    throw DesktopUnavailable("Replacing text in the office documents needs the desktop");
  }

  // Word processing ends by showing the review copies it wrote: opens the file with the desktop's default
  // application for its type. The default opens nothing and returns false.
  virtual bool OpenWithDefaultApplication(TextView path) {
    (void)path;
    return false;
  }

  // Before a document run: closes every top-level window whose class occurs in the tab-separated list
  // and returns when none is left (the user may be asked to close some), when the user cancels, or when
  // the wait gives up. The default closes nothing.
  virtual WindowsClosing CloseWindowsOfClass(TextView classList) {
    (void)classList;
    return {};
  }
};

// Installs the services for the whole run (not owned). nullptr removes them.
void SetDesktopServices(DesktopServices* services);
// The installed services, or nullptr.
DesktopServices* Desktop();
// The installed services; throws DesktopUnavailable("<what> needs the desktop") without them.
DesktopServices& RequireDesktop(const char* what);

// Window class of an office suite's main window.
inline constexpr char16_t kOfficeMainWindowClass[] = u"OpusApp";

// The office main window at the list's corner (clamped), or 0; always 0 without a desktop.
WindowHandle OfficeWindowAtListCorner(bool clamp = true);

}  // namespace scrivano
