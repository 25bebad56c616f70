// The process watch and the memory monitor: two duties of every timer cycle that keep the desktop usable
// while long tasks run. The watch ends the user's processes whose working set passes parameter 3's limit;
// the monitor warns on the foreground window when free memory falls below parameter 4's minimum. Both
// report through ShowCaption.
//
// Thread rule: the user-interface thread (the timer cycle) only.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/DesktopPlatform.h"
#include "text/Text.h"

namespace scrivano {

// Shown once on the main window when the program runs as the superuser: it then ends nothing.
inline constexpr char16_t kProcessWatchRootNotice[] =
    u"Process watch off: Scrivano runs as root and ends no processes";

// Parameter 3's limit in megabytes, or nothing when the watch is off: an empty value or one that does
// not begin with a number is off (0 would end every process), and so is a negative one.
std::optional<int> ProcessWatchLimit(TextView parameterText);

// "   NAME (PID: N;  Mem Usage: M M)", one entry of the watch's report.
Text ProcessReportEntry(TextView moduleName, int pid, std::uint64_t megabytes);

class ProcessWatch {
 public:
  using Clock = std::chrono::steady_clock;
  // Which processes the watch may look at at all; the default admits every one. Tests admit their own
  // child alone.
  using Admit = std::function<bool(const platform::ProcessInfo&)>;
  // A process asked to end is forced on a later round, once this long has passed.
  static constexpr std::chrono::seconds kGraceBeforeForce{2};

  explicit ProcessWatch(platform::DesktopPlatform& desktop, Admit admit = {});

  // One round (WatchProcesses): ends every admitted process of the user above the limit and shows
  // "Deleted! " and the report on reportWindow. Never ends process 1, kernel threads, this program, its
  // ancestors, or another user's processes. Returns the report.
  Text Run(WindowHandle reportWindow, TextView limitParameter, Clock::time_point now = Clock::now());

 private:
  struct Ending {
    int pid = 0;
    std::uint64_t startTime = 0;
    Clock::time_point askedAt;
    bool forced = false;
  };

  platform::DesktopPlatform& desktop_;
  Admit admit_;
  std::vector<Ending> endings_;
  bool rootNoticeShown_ = false;
};

// The memory monitor (CheckFreeMemory): below minimum free megabytes, the warning
// "Warning !  FREE (Free Mbytes) < MIN (Min Mbytes)" on the foreground window, its title restored later.
// A negative minimum is off. Returns true when it warned.
bool CheckFreeMemory(platform::DesktopPlatform& desktop, int minimumMegabytes);

}  // namespace scrivano
