// What a Function List task hands to the operations that need more than the working text. One per task,
// built empty, owned by the task until it ends.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "settings/ParameterStore.h"
#include "text/Text.h"

namespace scrivano {

struct TaskContext {
  Text companionPath;            // entry 6: the companion program
  Text operationText1;           // free for the operation's own use
  Text operationText2;           // free for the operation's own use
  Text scratchText;              // entry 0 builds its report here
  Text operationText3;           // free for the operation's own use
  Text* workingText = nullptr;   // always set: the task's working text
  WindowHandle targetWindow = 0; // the office window at the list's corner, or 0
  int processedCount = -1;       // an operation may set the number of characters it processed
  std::uint64_t startTick = 0;   // milliseconds at the start of the task
  Text* openedWindows = nullptr; // entry 6: windows the program opened
};

// Thrown by an operation that reaches a part of the desktop (other windows, the clipboard, the
// companion) when none is present, as in the command-line runner. The message says what was needed.
class DesktopUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace scrivano
