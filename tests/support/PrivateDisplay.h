// An X display of the test's own: Xvfb on a display number it picks itself, with openbox as the window
// manager. Both processes are ended (by their process ids) when the object goes.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace scrivano::test {

class PrivateDisplay {
 public:
  PrivateDisplay();
  ~PrivateDisplay();
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  // False when Xvfb could not be started (the reason is in Error()).
  bool Started() const { return !name_.empty(); }
  const std::string& Error() const { return error_; }
  // ":N"
  const std::string& Name() const { return name_; }

  // Starts a program on this display with extra environment variables; returns its process id.
  pid_t Spawn(const std::vector<std::string>& argv,
              const std::map<std::string, std::string>& environment = {});
  // Ends a process this object started and waits for it.
  void Stop(pid_t pid);

 private:
  std::string name_;
  std::string error_;
  std::vector<pid_t> children_;
};

}  // namespace scrivano::test
