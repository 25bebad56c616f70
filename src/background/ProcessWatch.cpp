#include "background/ProcessWatch.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "background/StatusCaptions.h"

namespace scrivano {
namespace {

Text Number(std::uint64_t n) {
  return FromUtf8(std::to_string(n));
}

bool SameNameIgnoringCase(TextView a, TextView b) {
  Text lowerA(a), lowerB(b);
  MakeLower(lowerA);
  MakeLower(lowerB);
  return lowerA == lowerB;
}

// Process 1, this program and every process it descends from.
std::set<int> ProtectedProcesses(const std::vector<platform::ProcessInfo>& processes, int ownPid) {
  std::map<int, int> parents;
  for (const platform::ProcessInfo& p : processes) parents[p.pid] = p.parentPid;
  std::set<int> kept{1, ownPid};
  for (int pid = ownPid; pid > 1 && parents.count(pid);) {
    pid = parents[pid];
    if (!kept.insert(pid).second) break;  // a loop in a list read while processes came and went
  }
  return kept;
}

}  // namespace

std::optional<int> ProcessWatchLimit(TextView parameterText) {
  size_t i = 0;
  while (i < parameterText.size() && (parameterText[i] == u' ' || parameterText[i] == u'\t')) ++i;
  bool negative = false;
  if (i < parameterText.size() && (parameterText[i] == u'-' || parameterText[i] == u'+'))
    negative = parameterText[i++] == u'-';
  if (i >= parameterText.size() || parameterText[i] < u'0' || parameterText[i] > u'9') return std::nullopt;
  long long value = 0;
  for (; i < parameterText.size() && parameterText[i] >= u'0' && parameterText[i] <= u'9'; ++i)
    value = std::min<long long>(value * 10 + (parameterText[i] - u'0'), 1LL << 40);
  if (negative) return std::nullopt;
  return static_cast<int>(std::min<long long>(value, 0x7FFFFFFF));
}

Text ProcessReportEntry(TextView moduleName, int pid, std::uint64_t megabytes) {
  return u"   " + Text(moduleName) + u" (PID: " + Number(static_cast<std::uint64_t>(pid)) +
         u";  Mem Usage: " + Number(megabytes) + u" M)";
}

ProcessWatch::ProcessWatch(platform::DesktopPlatform& desktop, Admit admit)
    : desktop_(desktop), admit_(std::move(admit)) {}

Text ProcessWatch::Run(WindowHandle reportWindow, TextView limitParameter, Clock::time_point now) {
  // 1. Off.
  const std::optional<int> limit = ProcessWatchLimit(limitParameter);
  if (!limit) return Text();
  // As the superuser every process could be ended: the watch ends none and says so once.
  const platform::OwnProcessInfo own = desktop_.OwnProcess();
  if (own.superUser) {
    if (!rootNoticeShown_) ShowCaption(reportWindow, kProcessWatchRootNotice, false);
    rootNoticeShown_ = true;
    return Text();
  }
  // 2. The processes; none this round when they cannot be listed.
  std::vector<platform::ProcessInfo> processes;
  if (!desktop_.ListProcesses(processes)) return Text();
  const std::set<int> kept = ProtectedProcesses(processes, own.pid);

  // 3. and 4. Each process above the limit is asked to end; one still there after the grace is forced.
  Text report;
  std::vector<Ending> stillEnding;
  for (const platform::ProcessInfo& p : processes) {
    if (p.pid <= 1 || kept.count(p.pid) || p.kernelThread || !p.ownedByUser) continue;
    if (admit_ && !admit_(p)) continue;
    const std::uint64_t megabytes = p.workingSetBytes >> 20;
    if (megabytes <= static_cast<std::uint64_t>(*limit)) continue;
    if (!own.moduleName.empty() && SameNameIgnoringCase(p.moduleName, own.moduleName)) continue;
    const auto asked = std::find_if(endings_.begin(), endings_.end(), [&](const Ending& e) {
      return e.pid == p.pid && e.startTime == p.startTime;
    });
    if (asked != endings_.end()) {
      Ending ending = *asked;
      if (!ending.forced && now - ending.askedAt >= kGraceBeforeForce)
        ending.forced = desktop_.EndProcess(p.pid, true);
      stillEnding.push_back(ending);
      continue;
    }
    if (!desktop_.EndProcess(p.pid, false)) continue;
    stillEnding.push_back({p.pid, p.startTime, now, false});
    report += ProcessReportEntry(p.moduleName, p.pid, megabytes);
  }
  // Processes that went (or fell below the limit) are forgotten.
  endings_ = std::move(stillEnding);

  // 6.
  if (!report.empty()) ShowCaption(reportWindow, u"Deleted! " + report, false);
  return report;
}

bool CheckFreeMemory(platform::DesktopPlatform& desktop, int minimumMegabytes) {
  // 1. and 2.
  if (minimumMegabytes < 0) return false;
  const std::optional<std::uint64_t> available = desktop.FreePhysicalMemory();
  if (!available) return false;
  const std::uint64_t freeMegabytes = *available >> 20;
  // 3.
  if (freeMegabytes >= static_cast<std::uint64_t>(minimumMegabytes)) return false;
  ShowCaption(desktop.ForegroundWindow(),
              u"Warning !  " + Number(freeMegabytes) + u" (Free Mbytes) < " +
                  Number(static_cast<std::uint64_t>(minimumMegabytes)) + u" (Min Mbytes)",
              true);
  return true;
}

}  // namespace scrivano
