#include "support/PrivateDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace scrivano::test {
namespace {

pid_t SpawnWith(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment,
                int keepFd, bool quiet = false) {
  std::vector<std::string> variables;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string key = entry.substr(0, entry.find('='));
    if (!environment.count(key)) variables.push_back(entry);
  }
  for (const auto& [key, value] : environment) variables.push_back(key + "=" + value);
  // Everything the child needs is built before the fork: the test process has other threads.
  std::vector<char*> args, envp;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const std::string& v : variables) envp.push_back(const_cast<char*>(v.c_str()));
  envp.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  // The child: its own process group, so that nothing of the test's terminal reaches it.
  ::setpgid(0, 0);
  if (quiet) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
  }
  for (int fd = 3; fd < 256; ++fd)
    if (fd != keepFd) ::close(fd);
  ::execvpe(args[0], args.data(), envp.data());
  ::_exit(127);
}

}  // namespace

PrivateDisplay::PrivateDisplay() {
  int fds[2];
  if (::pipe(fds) != 0) {
    error_ = "pipe failed";
    return;
  }
  const pid_t xvfb = SpawnWith(
      {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp"}, {},
      fds[1]);
  ::close(fds[1]);
  if (xvfb < 0) {
    ::close(fds[0]);
    error_ = "cannot start Xvfb";
    return;
  }
  children_.push_back(xvfb);
  // Xvfb writes the display number it chose once it accepts connections.
  std::string number;
  pollfd wait{fds[0], POLLIN, 0};
  while (::poll(&wait, 1, 10000) > 0) {
    char c;
    if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  ::close(fds[0]);
  if (number.empty()) {
    error_ = "Xvfb did not report a display";
    return;
  }
  name_ = ":" + number;
  children_.push_back(SpawnWith({"openbox"}, {{"DISPLAY", name_}}, -1, true));
  // The window manager takes a moment to claim the screen.
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
}

PrivateDisplay::~PrivateDisplay() {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    ::kill(*it, SIGTERM);
    ::waitpid(*it, nullptr, 0);
  }
}

pid_t PrivateDisplay::Spawn(const std::vector<std::string>& argv,
                            const std::map<std::string, std::string>& environment) {
  auto variables = environment;
  variables["DISPLAY"] = name_;
  // The private display is no Wayland session, whatever session the tests were started from.
  variables.try_emplace("WAYLAND_DISPLAY", "");
  variables.try_emplace("XDG_SESSION_TYPE", "");
  const pid_t pid = SpawnWith(argv, variables, -1);
  if (pid > 0) children_.insert(children_.begin() + 1, pid);
  return pid;
}

void PrivateDisplay::Stop(pid_t pid) {
  const auto it = std::find(children_.begin(), children_.end(), pid);
  if (it == children_.end()) return;
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  children_.erase(it);
}

}  // namespace scrivano::test
