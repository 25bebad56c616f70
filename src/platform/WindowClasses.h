// The window class names the program's own lists use ("OpusApp", "#32770", "Chrome_WidgetWin_1", ...)
// and what X11 programs report for them. This is the one table of that mapping: code above the platform
// keeps the names, the back-end asks here whether a window is of such a class. Users' class lists may name
// either a name of the table or a WM_CLASS part.
#pragma once

#include <span>
#include <vector>

#include "platform/OfficeWords.h"
#include "text/Text.h"

namespace scrivano::platform {

// What an X11 window tells about its kind.
struct WindowKind {
  Text instanceName;  // WM_CLASS, first part ("libreoffice")
  Text className;     // WM_CLASS, second part ("libreoffice-writer")
  Text title;
  bool dialog = false;  // _NET_WM_WINDOW_TYPE_DIALOG, or transient for another window
  // For a dialog of LibreOffice Writer: its office's Find and Replace words in every language installed
  // (OfficeWords.h); English alone when null.
  const std::vector<FindReplaceWords>* officeWords = nullptr;
};

struct WindowClassMapping {
  const char16_t* name;        // the name the program's lists use
  const char16_t* reportedBy;  // what it stands for on X11, for the manual and reports
  bool (*matches)(const WindowKind& kind);
};

std::span<const WindowClassMapping> WindowClassTable();

// The words of the Find and Replace window of LibreOffice Writer the window is, in the language it shows
// (its title's); null when it is no such window.
const FindReplaceWords* FindReplaceWordsOf(const WindowKind& kind);

// True when the window is of the named class: a name of the table by its X11 counterpart, any other
// name by either part of WM_CLASS (letter case ignored).
bool IsWindowOfClass(const WindowKind& kind, TextView name);

// The name the program reports and compares for the window: the first name of the table that fits it,
// otherwise the second part of WM_CLASS.
Text ReportedClassName(const WindowKind& kind);

// True when some item of the tab-separated class list fits the window. An item may end with ";" (in the
// automatic-translation list it asks for selection mode); the mark is not part of the name.
bool IsWindowOfAnyClass(const WindowKind& kind, TextView classList);

// The first item of the tab-separated class list that fits the window, as written (with its ";" if it
// has one); empty when none does.
Text MatchingClassItem(const WindowKind& kind, TextView classList);

}  // namespace scrivano::platform
