// The process watch and the memory monitor on the fake desktop, and the watch once on a real child
// process of the test's own (admitted alone by the watch's filter).
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "background/ProcessWatch.h"
#include "background/StatusCaptions.h"
#include "platform/fake/FakeDesktop.h"

extern char** environ;

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using platform::FakeDesktop;
using platform::ProcessInfo;

constexpr std::uint64_t kMegabyte = 1 << 20;
constexpr int kOwnPid = 4242;

ProcessInfo Process(int pid, const char16_t* name, std::uint64_t megabytes, int parent = 900) {
  ProcessInfo p;
  p.pid = pid;
  p.parentPid = parent;
  p.ownedByUser = true;
  p.moduleName = name;
  p.workingSetBytes = megabytes * kMegabyte;
  p.startTime = 1000 + static_cast<std::uint64_t>(pid);
  return p;
}

class ProcessWatchTest : public testing::Test {
 protected:
  void SetUp() override {
    main = desktop.AddWindow(u"Qt6", u"Scrivano", {0, 0, 800, 600});
    desktop.SetOwnProcess({kOwnPid, false, u"scrivano"});
    // The program's own line of descent: 1 → 900 (a shell) → 4242.
    desktop.AddProcess(Process(1, u"systemd", 4000, 0));
    desktop.AddProcess(Process(900, u"bash", 3000, 1));
    desktop.AddProcess(Process(kOwnPid, u"scrivano", 5000, 900));
    captions = std::make_unique<StatusCaptions>(desktop, nullptr, 100ms);
    SetStatusCaptions(captions.get());
  }
  void TearDown() override { SetStatusCaptions(nullptr); }

  FakeDesktop desktop;
  WindowHandle main = 0;
  std::unique_ptr<StatusCaptions> captions;
};

TEST(ProcessWatchLimit, EmptyOrNonNumericOrNegativeIsOff) {
  struct Case {
    const char16_t* text;
    std::optional<int> limit;
  } cases[] = {
      {u"", std::nullopt},
      {u"   ", std::nullopt},
      {u"abc", std::nullopt},
      {u"-1", std::nullopt},
      {u"-0", std::nullopt},
      {u"500", 500},
      {u" 500 MB", 500},
      {u"+20", 20},
      {u"0", 0},
      {u"\t7x", 7},
      {u"99999999999", 0x7FFFFFFF},
  };
  for (const Case& c : cases) EXPECT_EQ(ProcessWatchLimit(c.text), c.limit) << ToUtf8(c.text);
}

TEST_F(ProcessWatchTest, EndsOnlyTheUsersOtherProcessesAboveTheLimit) {
  struct Case {
    const char* what;
    ProcessInfo process;
    bool ended;
  } cases[] = {
      {"600 MB over 500", Process(5001, u"editor", 600), true},
      {"exactly the limit", Process(5002, u"viewer", 500), false},
      {"501 MB", Process(5003, u"viewer", 501), true},
      {"another instance by name, any case", Process(5004, u"Scrivano", 900), false},
      {"a kernel thread",
       [] {
         auto p = Process(5005, u"kworker", 900);
         p.kernelThread = true;
         return p;
       }(),
       false},
      {"another user's",
       [] {
         auto p = Process(5006, u"postgres", 900);
         p.ownedByUser = false;
         return p;
       }(),
       false},
  };
  for (const Case& c : cases) desktop.AddProcess(c.process);
  ProcessWatch watch(desktop);
  const Text report = watch.Run(main, u"500");
  for (const Case& c : cases) EXPECT_EQ(!desktop.HasProcess(c.process.pid), c.ended) << c.what;
  // Process 1, the program's parent and the program itself, all above the limit, are still there.
  EXPECT_TRUE(desktop.HasProcess(1));
  EXPECT_TRUE(desktop.HasProcess(900));
  EXPECT_TRUE(desktop.HasProcess(kOwnPid));
  EXPECT_EQ(report, u"   editor (PID: 5001;  Mem Usage: 600 M)   viewer (PID: 5003;  Mem Usage: 501 M)");
  EXPECT_EQ(desktop.WindowTitle(main), u"Deleted! " + report) << "not restored: no restore was asked";
  for (const auto& request : desktop.EndRequests()) EXPECT_FALSE(request.force);
}

TEST_F(ProcessWatchTest, AnEmptyLimitAndAFailedListEndNothing) {
  desktop.AddProcess(Process(5001, u"editor", 600));
  ProcessWatch watch(desktop);
  for (const char16_t* limit : {u"", u"-1", u"none"}) EXPECT_EQ(watch.Run(main, limit), u"") << ToUtf8(limit);
  desktop.SetProcessListFails(true);
  EXPECT_EQ(watch.Run(main, u"500"), u"");
  EXPECT_TRUE(desktop.EndRequests().empty());
  EXPECT_EQ(desktop.WindowTitle(main), u"Scrivano");
}

TEST_F(ProcessWatchTest, AsRootEndsNothingAndSaysSoOnce) {
  desktop.AddProcess(Process(5001, u"editor", 600));
  desktop.SetOwnProcess({kOwnPid, true, u"scrivano"});
  ProcessWatch watch(desktop);
  watch.Run(main, u"500");
  EXPECT_EQ(desktop.WindowTitle(main), kProcessWatchRootNotice);
  desktop.SetWindowTitle(main, u"Scrivano");
  watch.Run(main, u"500");
  EXPECT_EQ(desktop.WindowTitle(main), u"Scrivano") << "said once";
  EXPECT_TRUE(desktop.EndRequests().empty());
}

TEST_F(ProcessWatchTest, AProcessThatIgnoresTheRequestIsForcedOnALaterCycleAfterTheGrace) {
  desktop.AddProcess(Process(5001, u"stubborn", 700), /*honoursTerm=*/false);
  ProcessWatch watch(desktop);
  const auto start = ProcessWatch::Clock::now();
  EXPECT_NE(watch.Run(main, u"500", start), u"");
  EXPECT_EQ(watch.Run(main, u"500", start + 500ms), u"") << "reported once";
  EXPECT_TRUE(desktop.HasProcess(5001)) << "no force before the grace";
  watch.Run(main, u"500", start + ProcessWatch::kGraceBeforeForce);
  EXPECT_FALSE(desktop.HasProcess(5001));
  using Request = FakeDesktop::EndRequest;
  EXPECT_EQ(desktop.EndRequests(), (std::vector<Request>{{5001, false}, {5001, true}}));
}

TEST_F(ProcessWatchTest, ANewProcessWithTheIdOfAnEndedOneIsAskedFirstNotForced) {
  desktop.AddProcess(Process(5001, u"editor", 700));
  ProcessWatch watch(desktop);
  const auto start = ProcessWatch::Clock::now();
  watch.Run(main, u"500", start);
  ProcessInfo reused = Process(5001, u"other", 800);
  reused.startTime = 99999;
  desktop.AddProcess(reused, false);
  watch.Run(main, u"500", start + 10s);
  using Request = FakeDesktop::EndRequest;
  EXPECT_EQ(desktop.EndRequests(), (std::vector<Request>{{5001, false}, {5001, false}}));
}

TEST_F(ProcessWatchTest, LowMemoryWarnsOnTheForegroundWindowAndItsTitleComesBack) {
  const WindowHandle editor = desktop.AddWindow(u"gedit", u"notes.txt", {0, 0, 400, 300});
  desktop.SetForeground(editor);
  struct Case {
    std::uint64_t freeMegabytes;
    int minimum;
    bool warns;
  } cases[] = {{300, 512, true}, {512, 512, false}, {600, 512, false}, {300, -1, false}, {0, 0, false}};
  for (const Case& c : cases) {
    desktop.SetFreeMemory(c.freeMegabytes * kMegabyte + 12345);
    EXPECT_EQ(CheckFreeMemory(desktop, c.minimum), c.warns) << c.freeMegabytes << " " << c.minimum;
  }
  EXPECT_EQ(desktop.WindowTitle(editor), u"Warning !  300 (Free Mbytes) < 512 (Min Mbytes)");
  // A second warning while the first shows is no new title to restore.
  desktop.SetFreeMemory(290 * kMegabyte);
  CheckFreeMemory(desktop, 512);
  EXPECT_EQ(desktop.WindowTitle(editor), u"Warning !  290 (Free Mbytes) < 512 (Min Mbytes)");
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (desktop.WindowTitle(editor) != u"notes.txt" && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(10ms);
  EXPECT_EQ(desktop.WindowTitle(editor), u"notes.txt");
  desktop.SetFreeMemory(std::nullopt);
  EXPECT_FALSE(CheckFreeMemory(desktop, 512)) << "unknown free memory";
}

// The real back-end: /proc read-only, and the one process ended is a child of this test, admitted alone.
TEST(ProcessWatchOnProc, ReadsTheProcessListWithoutChangingIt) {
  std::vector<ProcessInfo> processes;
  ASSERT_TRUE(platform::ReadProcessList(processes));
  const platform::OwnProcessInfo own = platform::ReadOwnProcess();
  const auto self =
      std::find_if(processes.begin(), processes.end(), [&](auto& p) { return p.pid == own.pid; });
  ASSERT_NE(self, processes.end());
  EXPECT_TRUE(self->ownedByUser);
  EXPECT_FALSE(self->kernelThread);
  EXPECT_EQ(self->parentPid, static_cast<int>(::getppid()));
  EXPECT_EQ(self->moduleName, own.moduleName);
  EXPECT_GT(self->workingSetBytes, 1u * kMegabyte);
  const std::optional<std::uint64_t> available = platform::ReadAvailableMemory();
  ASSERT_TRUE(available.has_value());
  EXPECT_GT(*available, 0u);
}

// The real process list and signals; only whether the program runs as the superuser is the test's to say.
class RealProcesses : public FakeDesktop {
 public:
  bool ListProcesses(std::vector<ProcessInfo>& processes) override {
    return platform::ReadProcessList(processes);
  }
  platform::OwnProcessInfo OwnProcess() override {
    platform::OwnProcessInfo own = platform::ReadOwnProcess();
    own.superUser = superUser;
    return own;
  }
  bool EndProcess(int pid, bool force) override { return platform::SignalProcess(pid, force); }

  bool superUser = false;
};

TEST(ProcessWatchOnProc, EndsAChildOfTheTestAboveTheLimit) {
  RealProcesses desktop;
  // A program of another name (the watch spares its own), holding 40 MB it has written to.
  const char* argv[] = {"python3", "-c", "import time\nb = b'x' * (40 << 20)\ntime.sleep(60)\n", nullptr};
  pid_t child = 0;
  ASSERT_EQ(::posix_spawnp(&child, "python3", nullptr, nullptr, const_cast<char* const*>(argv), environ), 0);
  // Whatever happens below, the child does not outlive the test.
  struct Reaper {
    pid_t& pid;
    ~Reaper() {
      if (pid <= 0) return;
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  } reaper{child};
  // Until its memory shows.
  std::optional<ProcessInfo> info;
  for (int i = 0; i < 500 && (!info || info->workingSetBytes < 30 * kMegabyte); ++i) {
    std::this_thread::sleep_for(10ms);
    info = platform::ReadProcess(child);
  }
  ASSERT_TRUE(info && info->workingSetBytes >= 30 * kMegabyte) << "child memory not resident";

  // As the superuser the program's watch ends nothing: the child is still there.
  ProcessWatch watch(desktop, [&](const ProcessInfo& p) { return p.pid == child; });
  desktop.superUser = true;
  EXPECT_EQ(watch.Run(0, u"20"), u"");
  EXPECT_EQ(::waitpid(child, nullptr, WNOHANG), 0);
  // Otherwise (whoever runs the test) it asks the child to end.
  desktop.superUser = false;
  const Text report = watch.Run(0, u"20");
  int status = 0;
  pid_t ended = 0;
  for (int i = 0; i < 500 && ended == 0; ++i) {
    ended = ::waitpid(child, &status, WNOHANG);
    if (ended == 0) std::this_thread::sleep_for(10ms);
  }
  ASSERT_EQ(ended, child);
  const pid_t endedChild = child;
  child = 0;
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_NE(report.find(u"(PID: " + FromUtf8(std::to_string(endedChild)) + u";  Mem Usage: "), Text::npos)
      << ToUtf8(report);
}

}  // namespace
}  // namespace scrivano
