// The door through which "06. Extract webpage text" reaches the companion program. The desktop
// application installs the extractor at start-up; without it (the command-line runner, most tests) the
// entry stops with DesktopUnavailable.
#pragma once

#include <functional>

#include "tasks/TaskContext.h"

namespace scrivano {

// Runs the extraction on the task's context; 1 when the companion's reply was processed, 0 otherwise.
using WebPageExtractor = std::function<int(TaskContext& context)>;

// Installs the extractor for the whole run (an empty one removes it). Call before tasks start.
void SetWebPageExtractor(WebPageExtractor extractor);
// Runs the installed extractor; throws DesktopUnavailable without one.
int ExtractWebpages(TaskContext& context);

}  // namespace scrivano
