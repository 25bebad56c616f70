#include "web/WebCapture.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "capture/WindowList.h"
#include "prompt/SelectionPrompt.h"
#include "settings/IniFile.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
#include "web/PageBatch.h"

extern char** environ;

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr char16_t kMediaSection[] = u"Main";
constexpr const char16_t* kMediaKeys[3] = {u"Play_Animations", u"Play_Background_Sounds",
                                           u"Display Inline Images"};

Text Decimal(std::uint64_t value) {
  return FromUtf8(std::to_string(value));
}

// The companion's window: the first parentless top-level window of the process.
WindowHandle FindProcessWindow(platform::DesktopPlatform& desktop, pid_t process) {
  for (WindowHandle window : desktop.TopLevelWindows())
    if (desktop.WindowProcessId(window) == static_cast<int>(process)) return window;
  return 0;
}

bool ProcessEnded(pid_t process) {
  int status = 0;
  const pid_t result = waitpid(process, &status, WNOHANG);
  return result == process || (result < 0 && kill(process, 0) != 0);
}

// Collects the child's exit status once it ends, so that it does not linger.
void ReapLater(pid_t process) {
  std::thread([process] { waitpid(process, nullptr, 0); }).detach();
}

std::string CompanionSocket(WindowHandle window) {
  return companion::SocketPath(companion::CompanionSocketName(window));
}

}  // namespace

CompanionLink::CompanionLink(platform::DesktopPlatform& desktop, Text settingsFile, CompanionTimes times)
    : desktop_(desktop),
      settingsFile_(std::move(settingsFile)),
      times_(times),
      endpoint_([this](std::string utf8) { HandOver(FromUtf8(utf8)); },
                [](const std::string& line) { std::fprintf(stderr, "scrivano: %s\n", line.c_str()); }) {}

CompanionLink::~CompanionLink() {
  endpoint_.Close();
}

bool CompanionLink::StartEndpoint(WindowHandle mainWindow) {
  const std::string path = companion::SocketPath(companion::ScrivanoSocketName(mainWindow));
  return !path.empty() && endpoint_.Listen(path);
}

void CompanionLink::SetCopyDataTarget(Text* target) {
  std::lock_guard lock(mutex_);
  target_ = target;
  signalled_ = false;
}

void CompanionLink::HandOver(TextView text) {
  std::lock_guard lock(mutex_);
  if (!target_) return;
  *target_ = Text(text);
  signalled_ = true;
  arrived_.notify_all();
}

CompanionLink::WaitEnd CompanionLink::WaitForCopyData(pid_t process, WindowHandle window,
                                                      std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (arrived_.wait_for(lock, 200ms, [this] { return signalled_; })) {
      signalled_ = false;
      return WaitEnd::kReply;
    }
    lock.unlock();
    const bool ended = process > 0 && ProcessEnded(process);
    const bool gone = !ended && window && !desktop_.IsWindow(window);
    lock.lock();
    if (signalled_) continue;  // arrived just before the process ended
    if (ended) return WaitEnd::kCompanionEnded;
    if (gone) return WaitEnd::kWindowGone;
    if (Clock::now() >= deadline) return WaitEnd::kTimeOut;
  }
}

namespace {

// What to do about a companion program that could not be started from program.
Text CompanionMissingHelp(const std::string& program, int error) {
  const Text why = error == ENOENT ? Text(u"The companion program vexo1 is not there.")
                                   : u"The companion program vexo1 cannot be run there: " +
                                         FromUtf8(std::strerror(error)) + u".";
  return u"\r\n\r\n" + why + u" Scrivano runs the vexo1 that lies beside its own program file (" +
         FromUtf8(program) +
         u"), or in libexec/scrivano below the folder it is installed in. Install Scrivano again (cmake "
         u"--install or its package), or build it with Qt WebEngine (qt6-webengine-dev, see "
         u"scripts/install-deps), which builds vexo1 beside scrivano.";
}

}  // namespace

bool LaunchCompanion(TaskContext& context, CompanionLink& link, pid_t& process) {
  // 1. The program with its one argument, in the caller's environment and folder.
  const std::string program = ToUtf8(context.companionPath);
  Text argumentText = context.operationText1;
  Trim(argumentText);
  const std::string argument = ToUtf8(argumentText);
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(argument.c_str()), nullptr};
  process = 0;
  int error = access(program.c_str(), X_OK) == 0 ? 0 : errno;
  if (error == 0) error = posix_spawn(&process, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    // 3.
    ShowMessage(
        u"Fail to CreateProcess():\r\n\r\n" + context.companionPath + CompanionMissingHelp(program, error),
        u"Notice", MessageButtons::Ok, true);
    process = 0;
    return false;
  }
  // 2. Its window, once the page engine has started (it takes a few seconds on a loaded machine), and
  // its socket, which it opens right after.
  platform::DesktopPlatform& desktop = link.Desktop();
  const auto deadline = Clock::now() + link.Times().windowWait;
  context.targetWindow = 0;
  while (Clock::now() < deadline && !ProcessEnded(process)) {
    std::this_thread::sleep_for(100ms);
    // Found again each time: the window may be made anew once while the companion starts.
    context.targetWindow = FindProcessWindow(desktop, process);
    if (context.targetWindow && access(CompanionSocket(context.targetWindow).c_str(), F_OK) == 0) return true;
  }
  return context.targetWindow != 0;
}

int ExtractWebpageText(TaskContext& context, CompanionLink& link) {
  // 1.
  bool expected = false;
  if (!link.busy.compare_exchange_strong(expected, true)) return 0;
  struct BusyRelease {
    CompanionLink& link;
    ~BusyRelease() {
      link.SetCopyDataTarget(nullptr);
      link.busy = false;
    }
  } release{link};

  // 2. and 3. Lines that name existing files are documents; the others are addresses.
  Text text = *context.workingText;
  Trim(text);
  if (text.empty()) return 0;
  Text fileList, addressList;
  SplitPageList(text, fileList, addressList);
  // 4. and 5.
  const WindowHandle mainWindow = context.targetWindow;
  // Appended piece by piece: a literal + a temporary led GCC 12 at -O2 to a spurious overlapping-copy
  // warning.
  Text& launch = context.operationText1;
  launch = u" ";
  launch.append(FromUtf8(std::string(companion::kLaunchToken))).append(u";").append(Decimal(mainWindow));
  pid_t process = 0;
  if (!LaunchCompanion(context, link, process)) {
    if (process > 0) {
      kill(process, SIGTERM);
      ReapLater(process);
      ShowNotice(u"The companion program showed no window:\r\n\r\n" + context.companionPath);
    }
    return 0;
  }
  const WindowHandle companionWindow = context.targetWindow;
  // 6. and 7.
  if (context.openedWindows) {
    AddWindowToList(*context.openedWindows, companionWindow,
                    [&link](WindowHandle w) { return link.Desktop().IsWindow(w); });
  }
  SetBrowserMedia(true, link);
  // 8. The addresses to the companion; its reply lands in the working text.
  link.SetCopyDataTarget(context.workingText);
  std::string error;
  const bool sent =
      companion::Send(CompanionSocket(companionWindow),
                      {companion::MessageKind::kAddressList, 1, ToUtf8(addressList)}, 5000, &error);
  // 9. Until the reply arrives, the companion ends or its window goes, or the time is up.
  const int lines = ListLineCount(addressList);
  const auto limit = link.Times().replyBase + lines * link.Times().replyPerAddress;
  const CompanionLink::WaitEnd end =
      sent ? link.WaitForCopyData(process, companionWindow,
                                  std::chrono::duration_cast<std::chrono::milliseconds>(limit))
           : CompanionLink::WaitEnd::kCompanionEnded;
  link.SetCopyDataTarget(nullptr);
  // 10. to 12.
  link.Desktop().RequestClose(companionWindow);
  if (context.openedWindows) RemoveWindowFromList(*context.openedWindows, companionWindow);
  SetBrowserMedia(false, link);
  if (end != CompanionLink::WaitEnd::kReply) {
    kill(process, SIGTERM);
    ReapLater(process);
    const long seconds = static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(limit).count());
    Text why = !sent
                   ? u"The addresses could not be handed to the companion program (" + FromUtf8(error) + u")."
               : end == CompanionLink::WaitEnd::kCompanionEnded
                   ? Text(u"The companion program ended without sending the pages' text.")
               : end == CompanionLink::WaitEnd::kWindowGone
                   ? Text(u"The companion program's window closed without sending the pages' text.")
                   : u"The companion program sent no text within " +
                         Decimal(static_cast<std::uint64_t>(seconds)) + u" seconds; it was closed.";
    ShowNotice(why);
    return 0;
  }
  ReapLater(process);
  // 13. to 15. The text after the separator line, into the listed documents.
  DeliverPageReply(context, fileList);
  // 16.
  return 1;
}

std::optional<companion::Message> BrowserDocument::Ask(companion::MessageKind kind, std::string payload,
                                                       companion::MessageKind answer) {
  const std::uint32_t id = nextId_++;
  auto reply = companion::Request(socketPath_, {kind, id, std::move(payload)}, timeoutMs_, &error_);
  if (!reply) return std::nullopt;
  if (reply->kind != answer) {
    error_ = reply->kind == companion::MessageKind::kError ? reply->payload : "an unexpected answer";
    return std::nullopt;
  }
  return reply;
}

bool BrowserDocument::ReadAddress(Text& address) {
  const auto reply = Ask(companion::MessageKind::kGetAddress, {}, companion::MessageKind::kAddress);
  if (reply) address = FromUtf8(reply->payload);
  return reply.has_value();
}

bool BrowserDocument::SetAddress(TextView address) {
  return Ask(companion::MessageKind::kSetAddress, ToUtf8(address), companion::MessageKind::kDone).has_value();
}

bool BrowserDocument::ReadBodyText(Text& text) {
  const auto reply = Ask(companion::MessageKind::kGetBodyText, {}, companion::MessageKind::kBodyText);
  if (reply) text = FromUtf8(reply->payload);
  return reply.has_value();
}

Text BrowserDocument::WindowState() {
  const auto reply = Ask(companion::MessageKind::kGetWindowState, {}, companion::MessageKind::kWindowState);
  return reply ? FromUtf8(reply->payload) : Text();
}

bool BrowserDocument::Hide() {
  return Ask(companion::MessageKind::kHide, {}, companion::MessageKind::kDone).has_value();
}

int WithBrowserDocument(const std::function<int(BrowserDocument&)>& step, WindowHandle window,
                        CompanionLink& link) {
  // 1. and 2. A companion window with its page view.
  if (!window || !link.Desktop().IsWindow(window) ||
      link.Desktop().WindowClassName(window) != kCompanionWindowClass)
    return 0;
  // 3. and 4. The page answers in time, or there is no document.
  BrowserDocument document(CompanionSocket(window), link.Times().pageAccessMs);
  Text address;
  if (!document.ReadAddress(address)) return 0;
  return step(document);
}

WindowHandle FindCompanionWindow(CompanionLink& link, TextView openedWindows) {
  platform::DesktopPlatform& desktop = link.Desktop();
  const Text opened = Enclosed(openedWindows, u"\t");
  const std::vector<WindowHandle> listed = desktop.TopLevelWindows();
  for (WindowHandle window : desktop.AllTopLevelWindows()) {
    if (desktop.WindowClassName(window) != kCompanionWindowClass) continue;
    if (opened.find(Enclosed(Decimal(window), u"\t")) != Text::npos) continue;
    // A listed window is taken at once (a companion that is starting opens its socket a moment later).
    // A hidden one only with its socket: the companion's program has other unshown windows of its class.
    if (std::find(listed.begin(), listed.end(), window) != listed.end() ||
        access(CompanionSocket(window).c_str(), F_OK) == 0)
      return window;
  }
  return 0;
}

bool EnsureCompanionRunning(CompanionLink& link, TextView companionPath, TextView openedWindows) {
  // 1. The window found before, or one found now.
  platform::DesktopPlatform& desktop = link.Desktop();
  const WindowHandle known = link.companionWindow.load();
  if (known && desktop.IsWindow(known) && desktop.WindowClassName(known) == kCompanionWindowClass)
    return true;
  if (const WindowHandle found = FindCompanionWindow(link, openedWindows)) {
    link.companionWindow = found;
    return true;
  }
  // 2. Started with the launch token alone, which makes the companion start minimised.
  const std::string program = ToUtf8(companionPath);
  const std::string token(companion::kLaunchToken);
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(token.c_str()), nullptr};
  pid_t process = 0;
  int error = access(program.c_str(), X_OK) == 0 ? 0 : errno;
  if (error == 0) error = posix_spawn(&process, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    ShowNotice(u"Cannot launch vexo1.exe!\r\n\r\nError code: " + Decimal(static_cast<std::uint64_t>(error)) +
               CompanionMissingHelp(program, error));
    return false;
  }
  ReapLater(process);
  return true;
}

void CloseCompanionAtExit(CompanionLink& link, TextView openedWindows) {
  WindowHandle window = link.companionWindow.load();
  if (!window || !link.Desktop().IsWindow(window)) window = FindCompanionWindow(link, openedWindows);
  if (!window || !link.Desktop().IsWindow(window)) return;
  BrowserDocument document(CompanionSocket(window), link.Times().pageAccessMs);
  const Text state = document.WindowState();
  if (state == u"minimized" || state == u"hidden") link.Desktop().RequestClose(window);
}

bool SetBrowserMedia(bool off, CompanionLink& link) {
  std::lock_guard lock(link.mediaMutex);
  const Text& file = link.SettingsFile();
  const IniFile settings = IniFile::Load(file);
  bool ok = !file.empty();
  for (int i = 0; i < 3 && ok; ++i) {
    if (off) {
      // A value that is "yes" or a part of it (the empty one too) counts as on.
      const Text value = settings.Value(kMediaSection, kMediaKeys[i]);
      link.mediaFlags[i] = Text(u"yes").find(value) != Text::npos ? 1 : 0;
      if (link.mediaFlags[i]) ok = WriteIniValue(file, kMediaSection, kMediaKeys[i], u"no");
    } else if (link.mediaFlags[i]) {
      ok = WriteIniValue(file, kMediaSection, kMediaKeys[i], u"yes");
    }
  }
  if (!ok) ShowMessage(u"Cannot set parameter !", u"Notice", MessageButtons::Ok, true);
  return ok;
}

}  // namespace scrivano
