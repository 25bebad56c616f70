#include "platform/Processes.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

namespace scrivano::platform {
namespace {

constexpr unsigned long kKernelThreadFlag = 0x00200000;  // PF_KTHREAD
constexpr int kKernelThreadDaemon = 2;                   // kthreadd, parent of every kernel thread

// The files of /proc are small and read whole; plain reads keep the list cheap enough for every cycle.
std::string ReadSmallFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::string();
  std::string bytes;
  char buffer[4096];
  ssize_t count;
  while ((count = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(count));
  ::close(fd);
  return bytes;
}

Text BaseName(const std::string& path) {
  std::string name = path.substr(path.rfind('/') + 1);
  constexpr std::string_view kDeleted = " (deleted)";
  if (name.ends_with(kDeleted)) name.resize(name.size() - kDeleted.size());
  return FromUtf8(name);
}

// The target of a symbolic link; empty when it cannot be read.
std::string LinkTarget(const std::string& link) {
  char target[4096];
  const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
  return length > 0 ? std::string(target, static_cast<size_t>(length)) : std::string();
}

Text ModuleName(int pid, const std::string& comm) {
  const std::string program = LinkTarget("/proc/" + std::to_string(pid) + "/exe");
  return program.empty() ? FromUtf8(comm) : BaseName(program);
}

// The real, effective and saved user ids of the Uid: line all equal to ours.
bool OwnedByUser(const std::string& status) {
  const size_t line = status.find("\nUid:");
  if (line == std::string::npos) return false;
  std::istringstream fields(status.substr(line + 5, status.find('\n', line + 1) - line - 5));
  const uid_t user = ::getuid();
  long id = 0;
  for (int i = 0; i < 3; ++i)
    if (!(fields >> id) || static_cast<uid_t>(id) != user) return false;
  return true;
}

// The NUL-separated strings of /proc/<pid>/cmdline or environ.
std::vector<std::string> NulSeparated(const std::string& bytes) {
  std::vector<std::string> items;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = std::min(bytes.find('\0', start), bytes.size());
    items.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

}  // namespace

std::string ProgramFolderOf(int pid) {
  if (pid <= 0) return std::string();
  const std::string proc = "/proc/" + std::to_string(pid);
  const std::string program = LinkTarget(proc + "/exe");
  const size_t slash = program.rfind('/');
  if (program.empty() || program[0] != '/' || slash == std::string::npos) return std::string();
  const std::string folder = program.substr(0, slash);
  // A program of a sandbox (another mount namespace) shows its own paths, found below its root.
  if (::access(folder.c_str(), X_OK) != 0 && ::access((proc + "/root" + folder).c_str(), X_OK) == 0)
    return proc + "/root" + folder;
  return folder;
}

std::optional<ProcessInfo> ReadProcess(int pid) {
  const std::string folder = "/proc/" + std::to_string(pid);
  const std::string stat = ReadSmallFile(folder + "/stat");
  // The command name sits in parentheses and may itself hold spaces and parentheses.
  const size_t open = stat.find('('), close = stat.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
  ProcessInfo info;
  info.pid = pid;
  const std::string comm = stat.substr(open + 1, close - open - 1);
  std::istringstream fields(stat.substr(close + 1));
  std::string state;
  long long pgrp, session, tty, tpgid;
  unsigned long flags = 0;
  fields >> state >> info.parentPid >> pgrp >> session >> tty >> tpgid >> flags;
  std::string skipped;
  for (int field = 10; field < 22 && fields; ++field) fields >> skipped;
  fields >> info.startTime;
  if (!fields) return std::nullopt;
  info.kernelThread =
      (flags & kKernelThreadFlag) != 0 || pid == kKernelThreadDaemon || info.parentPid == kKernelThreadDaemon;
  // A kernel thread has no memory and no program file of its own.
  if (info.kernelThread) {
    info.moduleName = FromUtf8(comm);
    return info;
  }
  info.ownedByUser = OwnedByUser(ReadSmallFile(folder + "/status"));
  std::istringstream statm(ReadSmallFile(folder + "/statm"));
  std::uint64_t size = 0, resident = 0;
  if (statm >> size >> resident)
    info.workingSetBytes = resident * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
  info.moduleName = ModuleName(pid, comm);
  return info;
}

bool ReadProcessList(std::vector<ProcessInfo>& processes) {
  processes.clear();
  DIR* proc = ::opendir("/proc");
  if (!proc) return false;
  while (const dirent* entry = ::readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (pid <= 0 || *end != '\0') continue;
    // A process that ended meanwhile is simply not listed.
    if (auto info = ReadProcess(static_cast<int>(pid))) processes.push_back(std::move(*info));
  }
  ::closedir(proc);
  return true;
}

OwnProcessInfo ReadOwnProcess() {
  OwnProcessInfo own;
  own.pid = static_cast<int>(::getpid());
  own.superUser = ::geteuid() == 0 || ::getuid() == 0;
  own.moduleName = ModuleName(own.pid, std::string());
  return own;
}

bool SignalProcess(int pid, bool force) {
  if (pid <= 1) return false;
  return ::kill(static_cast<pid_t>(pid), force ? SIGKILL : SIGTERM) == 0;
}

std::optional<ProcessCommand> ReadProcessCommand(int pid) {
  if (pid <= 0) return std::nullopt;
  const std::string folder = "/proc/" + std::to_string(pid);
  if (!OwnedByUser(ReadSmallFile(folder + "/status"))) return std::nullopt;
  ProcessCommand command;
  command.arguments = NulSeparated(ReadSmallFile(folder + "/cmdline"));
  if (command.arguments.empty()) return std::nullopt;
  command.environment = NulSeparated(ReadSmallFile(folder + "/environ"));
  char target[4096];
  const ssize_t length = ::readlink((folder + "/exe").c_str(), target, sizeof target - 1);
  if (length > 0) command.program.assign(target, static_cast<size_t>(length));
  return command;
}

int RunCommand(const ProcessCommand& command, std::chrono::milliseconds limit) {
  if (command.arguments.empty()) return kProgramNotStarted;
  // Everything the child needs is built before it starts: the caller has other threads.
  std::vector<char*> argv, envp;
  for (const std::string& argument : command.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  for (const std::string& variable : command.environment) envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t child = 0;
  const int spawned =
      command.program.empty()
          ? posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), envp.data())
          : posix_spawn(&child, command.program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return kProgramNotStarted;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) return WIFEXITED(status) ? WEXITSTATUS(status) : kProgramStopped;
    if (done < 0) return kProgramStopped;
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(-child, SIGKILL);
      ::waitpid(child, &status, 0);
      return kProgramStopped;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::optional<std::uint64_t> ReadAvailableMemory() {
  std::istringstream meminfo(ReadSmallFile("/proc/meminfo"));
  std::string key, unit;
  std::uint64_t value = 0;
  while (meminfo >> key >> value) {
    std::getline(meminfo, unit);
    if (key == "MemAvailable:") return value * 1024;
  }
  return std::nullopt;
}

}  // namespace scrivano::platform
