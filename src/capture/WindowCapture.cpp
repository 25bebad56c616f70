#include <chrono>
#include <string>
#include <thread>

#include "capture/DesktopReach.h"
#include "platform/WaylandSession.h"
#include "prompt/SelectionPrompt.h"
#include "text/Lists.h"
#include "text/Pieces.h"
#include "transform/PhraseExtraction.h"

namespace scrivano {
namespace {

using Clock = std::chrono::steady_clock;

// Between windows' copies: 88 spaces.
const Text kSeparatorLine(88, u' ');
// A browser whose page keeps changing would never show its first tab again.
constexpr int kMaxBrowserTabs = 500;

Text Number(long long value) {
  return FromUtf8(std::to_string(value));
}

struct CaptureRun {
  DesktopReach& reach;
  Text& workingText;
  int windowCount = 0;
  long long characterCount = 0;

  void Append(const Text& copied) {
    workingText += u"\r\n\r\n" + kSeparatorLine + u"\r\n" + copied;
    ++windowCount;
    characterCount += Length(copied);
  }

  // Every tab of a browser window, from the first until the first one comes round again.
  void CopyBrowserTabs(WindowHandle window) {
    ClipboardRelay& relay = reach.relay;
    if (reach.activate) reach.activate(window);
    if (relay.WaitForegroundWindow(window) != WaitEnd::kDone) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!relay.PressChordPairs(window, {kKeyControl, 0x31})) return;
    Text firstTabText;
    for (int tab = 0; tab < kMaxBrowserTabs; ++tab) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      if (!relay.CopyWindowText(window, nullptr)) return;
      if (tab == 0)
        firstTabText = relay.capturedText;
      else if (relay.capturedText == firstTabText)
        return;
      Append(relay.capturedText);
      if (!relay.PressChordPairs(window, {kKeyControl, kKeyPageDown})) return;
    }
  }
};

}  // namespace

std::vector<WindowHandle> WindowsOfClass(platform::DesktopPlatform& desktop, TextView classList) {
  std::vector<WindowHandle> found;
  const std::vector<WindowHandle> windows = desktop.TopLevelWindows();
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    // The reported name within an item, or an item naming the window's class as the platform knows it
    // (on X11 either part of WM_CLASS, so that "libreoffice-writer" finds every Writer window).
    const Text className = desktop.WindowClassName(*window);
    if ((!className.empty() && ListItemContains(className, classList)) ||
        desktop.WindowIsOfClass(*window, classList))
      found.push_back(*window);
  }
  return found;
}

void CombineWindowsText(DesktopReach& reach, Text& workingText) {
  Text classFilter;
  if (!AskParameterOption(classFilter, 10)) return;
  Text period =
      Text(u"Specify a suitable time period(msecs) for copying text in a window: ") + u'\uFFFF' + u"1000";
  if (!AskSelection(period, 1.0f, true)) return;
  std::lock_guard lock(reach.relay.Lock());
  reach.relay.captureDelay = std::max(0, ToInt(period));
  const ClipboardRelay::ProbeCleaner cleaner(reach.relay);
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));

  CaptureRun run{reach, workingText};
  const std::vector<WindowHandle> windows = WindowsOfClass(reach.desktop, classFilter);
  for (const WindowHandle window : windows) {
    if (!reach.desktop.IsWindow(window)) continue;
    const Text title = reach.desktop.WindowTitle(window);
    const Text className = reach.desktop.WindowClassName(window);
    if (title.empty() || (title == u"Microsoft Word" && className == kOfficeMainWindowClass)) continue;
    if (className == kBrowserWindowClass) {
      if (title != u"Chrome App Launcher" && title != u"Chrome 应用启动器") run.CopyBrowserTabs(window);
      continue;
    }
    if (reach.relay.CopyWindowText(window, reach.activate)) run.Append(reach.relay.capturedText);
  }
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count();
  Text report = u"Spent " + Number(seconds) + u" seconds / " + Number(run.windowCount) +
                u" windows to combine " + Number(run.characterCount) + u" characters";
  // Windows that X11 does not list (those of native Wayland programs) would otherwise look like an empty
  // class.
  if (windows.empty())
    report += u"\r\n\r\n" + platform::NoX11WindowFound(u"of the class \"" + classFilter + u"\"");
  ShowMessage(report, u"Notice", MessageButtons::Ok, true);
}

}  // namespace scrivano
