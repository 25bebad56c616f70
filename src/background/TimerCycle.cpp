#include "background/TimerCycle.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "background/StatusCaptions.h"
#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"
#include "text/Lists.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"

namespace scrivano {
namespace {

constexpr char16_t kTabText[] = u"\t";

Text RequestItem(int n) {
  return FromUtf8(std::to_string(n));
}

std::vector<Text> ListItems(TextView list, char16_t separator) {
  std::vector<Text> items;
  if (list.empty()) return items;
  int pos = 0;
  Text item;
  do {
    NextTokenFound(list, item, pos, TextView(&separator, 1));
    items.push_back(item);
  } while (pos != Length(list));
  return items;
}

Text ResolveLaunchPath(TextView piece, TextView workRoot) {
  if (piece.starts_with(u"~/")) {
    const char* home = std::getenv("HOME");
    return FromUtf8(home ? home : "") + Text(piece.substr(1));
  }
  if (piece.starts_with(u"/") || workRoot.empty()) return Text(piece);
  return Text(workRoot) + u"/" + Text(piece);
}

}  // namespace

void AddRequest(Text& requestList, int n) {
  RemoveRequest(requestList, n);
  requestList = requestList.empty() ? RequestItem(n) : RequestItem(n) + kTabText + requestList;
}

bool RemoveRequest(Text& requestList, int n) {
  Text enclosed = Enclosed(requestList, kTabText);
  const Text item = Enclosed(RequestItem(n), kTabText);
  // One pass leaves the second of two adjacent items, so repeat until none is left.
  if (ReplaceUntilNone(enclosed, item, kTabText) == 0) return false;
  requestList = enclosed.size() <= 1 ? Text() : Mid(enclosed, 1, Length(enclosed) - 2);
  return true;
}

bool IsOwnDocumentName(TextView path, TextView documentNames) {
  const int slash = FindLast(path, u'/');
  const Text name = MidFrom(path, slash + 1);
  const int dot = FindLast(name, u'.');
  return IsListItem(documentNames, name, kTabText) ||
         (dot > 0 && IsListItem(documentNames, Left(name, dot), kTabText));
}

void OfferLaunchMenu(TimerCycleHost& host, TextView documentNames) {
  // 1. The items of parameter 1, in ascending order of their character codes.
  std::vector<Text> items = ListItems(ParameterText(Param::kLaunchMenu), kTab);
  std::sort(items.begin(), items.end());
  Text prompt = u"Please select an option:";
  for (const Text& item : items) prompt += Text(1, kOptionSeparator) + item;
  if (!AskSelection(prompt, 1.0f, true)) return;

  // 2. The answer's ";"-separated pieces, trimmed; empty ones are skipped.
  const Text workRoot = host.WorkRoot();
  for (Text piece : ListItems(prompt, u';')) {
    Trim(piece);
    if (piece.empty()) continue;
    // 3. The program's own documents open in text windows, anything else with its application.
    const Text path = ResolveLaunchPath(piece, workRoot);
    if (IsOwnDocumentName(path, documentNames))
      host.OpenDocument(path);
    else
      host.OpenWithDefaultApplication(path);
  }
}

DesktopDuties::DesktopDuties(platform::DesktopPlatform& desktop, WindowHandle mainWindow,
                             ProcessWatch::Admit admit)
    : desktop_(desktop), mainWindow_(mainWindow), processWatch_(desktop, std::move(admit)) {}

void DesktopDuties::Run(Clock::time_point now) {
  // 1.
  const WindowHandle foreground = desktop_.ForegroundWindow();
  // 2.
  processWatch_.Run(mainWindow_, ParameterText(Param::kProcessWatchLimit), now);
  // 3., automatic translation, belongs to the capture layer. 4.
  CheckFreeMemory(desktop_, ParameterInt(Param::kMemoryMonitorLimit));
  // 5.
  ClosePopups(foreground);
  // 6.
  if (ParameterInt(Param::kBrowserRightClick) != 0)
    RightClickShortcut(now);
  else
    pressStart_.reset();
  // 7.
  WatchTitle();
}

void DesktopDuties::ClosePopups(WindowHandle foreground) {
  const Text titles = ParameterText(Param::kClosedWindowTitles);
  if (titles.empty()) return;
  // A window without a title is never taken for one of the list's.
  const auto closeIfListed = [&](WindowHandle window) {
    const Text title = desktop_.WindowTitle(window);
    if (!title.empty() && IsListItem(titles, title, kTabText)) desktop_.RequestClose(window);
  };
  if (ParameterInt(Param::kAutoTranslationWait) < 1) {
    if (foreground) closeIfListed(foreground);
    return;
  }
  for (const WindowHandle window : desktop_.TopLevelWindows()) closeIfListed(window);
}

void DesktopDuties::RightClickShortcut(Clock::time_point now) {
  // 1. The secondary button (X reports it after any swap of the buttons). While it is held the cycle
  // only notes the press; the keys follow on the first cycle after its release.
  if (desktop_.RightButtonDown()) {
    if (!pressStart_) {
      pressStart_ = now;
      pressWindow_ = desktop_.ForegroundWindow();
    }
    return;
  }
  if (!pressStart_) return;
  const bool longPress = now - *pressStart_ >= std::chrono::seconds(1);
  const WindowHandle window = pressWindow_;
  pressStart_.reset();
  if (!window || !desktop_.WindowIsOfClass(window, kBrowserClasses)) return;
  // The keys are for the browser's context menu: none when another window came in front meanwhile.
  if (desktop_.ForegroundWindow() != window) return;
  // 2. An input-method window would take the key: Shift switches it off first.
  for (const WindowHandle other : desktop_.TopLevelWindows()) {
    if (desktop_.WindowIsOfClass(other, u"WNWB Input")) {
      desktop_.PressKeys({platform::kKeyShift});
      break;
    }
  }
  // 3.
  if (desktop_.WindowIsOfClass(window, u"IEFrame")) {
    desktop_.PressKeys({platform::kKeyN});
    lastShortcutWindow_ = longPress ? -1 : static_cast<long long>(window);
  } else if (desktop_.WindowIsOfClass(window, u"Chrome_WidgetWin_1")) {
    desktop_.PressKeys({platform::kKeyT});
    lastShortcutWindow_ = 0;
  }
}

void DesktopDuties::WatchTitle() {
  const Text words = ParameterText(Param::kEscapeTitleWords);
  if (words.empty()) return;
  // 1. Only a title not seen by the previous cycle.
  const WindowHandle foreground = desktop_.ForegroundWindow();
  const Text title = desktop_.WindowTitle(foreground);
  if (title == lastForegroundTitle_) return;
  // 3. before 2.: an Escape that the user's held modifier key kept back is tried again on the next cycle.
  if (foreground && desktop_.WindowIsOfClass(foreground, kBrowserClasses) &&
      FindFirstListItem(title, words) > 0 && !desktop_.PressKeys({platform::kKeyEscape}))
    return;
  lastForegroundTitle_ = title;
}

void RunTimerCycle(TimerCycleHost& host, DesktopDuties* duties) {
  // 1. to 7. on the desktop; automatic translation and the companion search belong to the capture layer.
  if (duties) duties->Run();
  // 8. and 9.
  host.HandBackResult();
  if (host.TakeRequest(kLaunchMenuRequest)) OfferLaunchMenu(host);
}

}  // namespace scrivano
