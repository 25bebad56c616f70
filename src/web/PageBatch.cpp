#include "web/PageBatch.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "text/Tokenizers.h"
#include "toolkit/Sections.h"
#include "toolkit/TextFiles.h"
#include "web/LocalSockets.h"
#include "word/WordConnection.h"

extern char** environ;

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// What the companion needs beyond the caller's environment: without a display, Qt's offscreen platform.
std::vector<std::string> CompanionEnvironment() {
  std::vector<std::string> variables;
  for (char** variable = environ; *variable; ++variable) variables.emplace_back(*variable);
  const char* display = std::getenv("DISPLAY");
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if ((!display || !*display) && (!platform || !*platform))
    variables.emplace_back("QT_QPA_PLATFORM=offscreen");
  return variables;
}

// The companion's name for its socket: "vexo1-" and a window id, nothing that could lead elsewhere.
bool IsCompanionSocketName(const std::string& name) {
  const std::string prefix = companion::CompanionSocketName(0).substr(0, 6);
  return name.size() > prefix.size() && name.size() <= prefix.size() + 20 && name.starts_with(prefix) &&
         name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

// A window id of the runner's own for its socket's name: above every X11 id, one per run in this process.
std::uint64_t RunnerId() {
  static std::atomic<std::uint32_t> runs{0};
  return (std::uint64_t{1} << 40) + (static_cast<std::uint64_t>(getpid()) << 8) + (runs++ & 0xFF);
}

// The companion's standard error, a line at a time: its own lines (those starting "vexo1: ") go to log,
// the page engine's chatter is dropped. Reads until told to stop.
class ErrorLines {
 public:
  ErrorLines(int fd, std::function<void(const std::string&)> log)
      : fd_(fd), log_(std::move(log)), thread_([this] { Read(); }) {}
  ~ErrorLines() {
    stop_ = true;
    thread_.join();
    close(fd_);
  }

 private:
  void Read() {
    std::string pending;
    char buffer[4096];
    while (!stop_) {
      pollfd entry{fd_, POLLIN, 0};
      if (poll(&entry, 1, 100) <= 0) continue;
      const ssize_t n = read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      pending.append(buffer, static_cast<size_t>(n));
      for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
        if (pending.starts_with("vexo1: ") && log_) log_(pending.substr(0, end));
      }
      if (pending.size() > 65536) pending.clear();
    }
  }
  int fd_;
  std::function<void(const std::string&)> log_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Ends the companion: asked first, then made to.
void EndCompanion(pid_t process) {
  kill(process, SIGTERM);
  const auto deadline = Clock::now() + 5s;
  while (Clock::now() < deadline) {
    if (waitpid(process, nullptr, WNOHANG) == process) return;
    std::this_thread::sleep_for(20ms);
  }
  kill(process, SIGKILL);
  waitpid(process, nullptr, 0);
}

}  // namespace

void SplitPageList(TextView text, Text& fileList, Text& addressList) {
  Text trimmed(text), line;
  Trim(trimmed);
  int pos = 0;
  while (NextNonBlankLineAt(pos, trimmed, line))
    (FileExists(line, false) ? fileList : addressList) += line + u"\r\n";
}

int ListLineCount(TextView list) {
  int lines = 0;
  for (int p = 0; Find(list, u"\r\n", p) >= 0; p = Find(list, u"\r\n", p) + 2) ++lines;
  return lines;
}

void DeliverPageReply(TaskContext& context, TextView fileList) {
  Text section;
  int sectionPos = 0;
  NextSection(*context.workingText, section, &sectionPos);
  NextSection(*context.workingText, section, &sectionPos);
  context.processedCount = Length(section) - 2;
  if (fileList.empty()) return;
  WordConnection& word = TheWordConnection();
  std::lock_guard lock(word.Mutex());
  int filePos = 0;
  Text file;
  while (NextNonBlankLineAt(filePos, fileList, file)) word.AppendToDocument(file, section);
  word.ShowDocuments();
  word.ReleaseWord();
}

BatchResult ExtractPagesWithCompanion(const std::string& program, const std::string& addressList,
                                      const BatchTimes& times,
                                      const std::function<void(const companion::PageReport&)>& onPage,
                                      const std::function<void(const std::string&)>& log) {
  BatchResult result;
  std::mutex mutex;
  std::condition_variable changed;
  std::string socketName;
  bool replied = false;
  companion::CopyDataEndpoint endpoint(
      [&](std::string text) {
        std::lock_guard lock(mutex);
        result.reply = std::move(text);
        replied = true;
        changed.notify_all();
      },
      [&](const std::string& line) {
        if (log) log(line);
      },
      [&](const companion::Message& message) {
        if (message.kind == companion::MessageKind::kPageDone) {
          if (const auto report = companion::ParsePageReport(message.payload); report && onPage)
            onPage(*report);
        } else if (IsCompanionSocketName(message.payload)) {
          std::lock_guard lock(mutex);
          socketName = message.payload;
          changed.notify_all();
        }
      });
  const std::uint64_t id = RunnerId();
  const std::string endpointPath = companion::SocketPath(companion::ScrivanoSocketName(id));
  if (endpointPath.empty() || !endpoint.Listen(endpointPath)) {
    result.error = "no socket of its own for the reply in the runtime folder";
    return result;
  }

  // The companion, its standard output to nowhere and its standard error through a pipe.
  int errors[2];
  if (access(program.c_str(), X_OK) != 0 || pipe2(errors, O_CLOEXEC) != 0) {
    result.error = std::strerror(errno);
    return result;
  }
  const std::string argument = std::string(companion::kLaunchToken) + ";" + std::to_string(id);
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(argument.c_str()), nullptr};
  std::vector<std::string> environment = CompanionEnvironment();
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
  pid_t process = 0;
  const int spawned = posix_spawn(&process, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(errors[1]);
  if (spawned != 0) {
    close(errors[0]);
    result.error = std::strerror(spawned);
    return result;
  }
  ErrorLines errorLines(errors[0], log);

  bool ended = false;
  const auto waitUntil = [&](Clock::time_point deadline, const std::function<bool()>& done) {
    std::unique_lock lock(mutex);
    while (!done()) {
      if (Clock::now() >= deadline) return false;
      changed.wait_for(lock, 100ms);
      if (done()) break;
      lock.unlock();
      ended = waitpid(process, nullptr, WNOHANG) == process;
      lock.lock();
      if (ended) return done();
    }
    return true;
  };

  // Its socket, then the addresses on it (again on a newer socket, should it serve anew meanwhile).
  const auto socketDeadline = Clock::now() + times.socketWait;
  bool handedOver = false;
  std::string tried;
  while (!handedOver && !ended &&
         waitUntil(socketDeadline, [&] { return !socketName.empty() && socketName != tried; })) {
    std::string name;
    {
      std::lock_guard lock(mutex);
      name = socketName;
    }
    tried = name;
    handedOver = companion::Send(companion::SocketPath(name),
                                 {companion::MessageKind::kAddressList, 1, addressList}, 5000, &result.error);
  }
  if (!handedOver) {
    result.end = ended                ? BatchResult::End::kCompanionEnded
                 : socketName.empty() ? BatchResult::End::kNoSocket
                                      : BatchResult::End::kNotHandedOver;
  } else {
    int addresses = 0;
    for (char c : addressList) addresses += c == '\n';
    const auto limit = times.replyBase + addresses * times.replyPerAddress;
    if (waitUntil(Clock::now() + limit, [&] { return replied; }))
      result.end = BatchResult::End::kReply;
    else
      result.end = ended ? BatchResult::End::kCompanionEnded : BatchResult::End::kTimeOut;
  }
  if (!ended) EndCompanion(process);
  endpoint.Close();
  return result;
}

std::string BatchFailure(const BatchResult& result, const std::string& program, const BatchTimes& times,
                         int addresses) {
  using End = BatchResult::End;
  switch (result.end) {
    case End::kReply:
      return {};
    case End::kNotStarted:
      return "the companion program " + program + " could not be started: " + result.error;
    case End::kNoSocket:
      return "the companion program " + program + " did not answer within " +
             std::to_string(std::chrono::duration_cast<std::chrono::seconds>(times.socketWait).count()) +
             " seconds of its start";
    case End::kNotHandedOver:
      return "the addresses could not be handed to the companion program (" + result.error + ")";
    case End::kCompanionEnded:
      return "the companion program ended without sending the pages' text";
    case End::kTimeOut:
      return "the companion program sent no text within " +
             std::to_string(std::chrono::duration_cast<std::chrono::seconds>(
                                times.replyBase + addresses * times.replyPerAddress)
                                .count()) +
             " seconds; it was closed";
  }
  return {};
}

}  // namespace scrivano
