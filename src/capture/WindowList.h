// Lists of window handles: decimal handles separated by tabs, as the program keeps the windows it opened.
#pragma once

#include <functional>

#include "settings/ParameterStore.h"
#include "text/Text.h"

namespace scrivano {

// Puts the window's handle at the front of the list, removing any equal item. With keep, first every
// item whose window keep rejects is removed (windows that are gone).
void AddWindowToList(Text& list, WindowHandle window, const std::function<bool(WindowHandle)>& keep = {});
// Removes the window's handle item (a whole item only: 20 is not taken out of 120) and trims the list.
void RemoveWindowFromList(Text& list, WindowHandle window);

}  // namespace scrivano
