// Running processes and free memory, read from /proc, and ending a process by signal. The desktop
// back-ends hand these on; the fake keeps processes of its own.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/Text.h"

namespace scrivano::platform {

struct ProcessInfo {
  int pid = 0;
  int parentPid = 0;
  // The process counts as the user's own only when its real, effective and saved user ids all are.
  bool ownedByUser = false;
  bool kernelThread = false;
  Text moduleName;  // base name of the program file
  std::uint64_t workingSetBytes = 0;
  std::uint64_t startTime = 0;  // tells a process from a later one that got the same id
};

struct OwnProcessInfo {
  int pid = 0;
  bool superUser = false;
  Text moduleName;
};

// How a process was started, or how to start one.
struct ProcessCommand {
  std::string program;                   // the program file; empty: arguments[0], looked up on PATH
  std::vector<std::string> arguments;    // arguments[0] names the program
  std::vector<std::string> environment;  // "NAME=value" each
};

// Every process of /proc that could be read; false when /proc cannot be listed at all.
bool ReadProcessList(std::vector<ProcessInfo>& processes);
// The process of that id, when it can be read.
std::optional<ProcessInfo> ReadProcess(int pid);
OwnProcessInfo ReadOwnProcess();
// The folder of the process's program file as this process can open it: below the process's own root
// (/proc/PID/root) when only that path leads to it (a sandboxed program). Empty when it cannot be read.
std::string ProgramFolderOf(int pid);
// SIGTERM, or SIGKILL with force. False when the signal could not be sent.
bool SignalProcess(int pid, bool force);
// The program file, arguments and environment of a process of the user's own; none when /proc does not
// show them (another user's process, one that has ended).
std::optional<ProcessCommand> ReadProcessCommand(int pid);
// What RunCommand gives besides an exit status.
inline constexpr int kProgramNotStarted = -1;  // no such program, or it could not be started
inline constexpr int kProgramStopped = -2;     // it did not end within the limit, or ended by a signal

// Runs the command in a process group of its own, with nothing on its standard streams, and waits for it:
// its exit status, kProgramNotStarted, or kProgramStopped (a program still running at the limit is killed
// with its whole group).
int RunCommand(const ProcessCommand& command, std::chrono::milliseconds limit);
// Memory available to new work without swapping, in bytes (MemAvailable).
std::optional<std::uint64_t> ReadAvailableMemory();

}  // namespace scrivano::platform
