// The nineteen entries of the Function List: what each runs and whether it hands its working text back.
// One table for every front end: the Function List's task and the command-line runner both run entries
// from here.
#pragma once

#include <span>
#include <string_view>

#include "tasks/TaskContext.h"

namespace scrivano {

struct FunctionEntry {
  int number;
  const char16_t* itemText;  // as the list shows it: "09. Make lowercase"
  const char* name;          // the runner's name for it, or nullptr
  // Runs the operation on context.workingText; returns true when the working text is to be handed back
  // to the Output window. nullptr: the entry is carried out by the desktop itself (see needs).
  bool (*run)(TaskContext& context);
  const char* needs;  // what the entry needs when run is nullptr, for the runner's message
};

inline constexpr int kFunctionEntryCount = 19;

std::span<const FunctionEntry> FunctionEntries();
// A number 0-18 or a runner name (also of the runner's direct operations, such as "extract-phrases",
// which have the number -1); nullptr when unknown.
const FunctionEntry* FindFunctionEntry(std::string_view numberOrName);

}  // namespace scrivano
