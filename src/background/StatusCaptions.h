// Status texts in window captions. On the program's own windows (the Function List, the main frame)
// a caption just sets the title.
#pragma once

#include <functional>

#include "settings/ParameterStore.h"
#include "text/Text.h"

namespace scrivano {

// Sets the title of one of the program's own windows and returns true, or returns false when the window
// is not one of them. Installed by the application for the whole run; called from any thread.
using OwnWindowCaption = std::function<bool(WindowHandle window, TextView text)>;
void SetOwnWindowCaption(OwnWindowCaption setter);

// Shows text in the window's caption. An empty text changes no title. restore asks for the window's own
// title back after ten seconds; the program's own windows never need it.
void ShowCaption(WindowHandle window, TextView text, bool restore);

}  // namespace scrivano
