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
#include "web/WebCapture.h"

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

DesktopDuties::~DesktopDuties() {
  WaitForWindowSearch();
}

void DesktopDuties::EnableAutoTranslation(AutoTranslationReach& reach, TranslationRelay& relay,
                                          std::function<Text()> openedWindows,
                                          AutoTranslationTimings timings) {
  reach_ = &reach;
  relay_ = &relay;
  openedWindows_ = std::move(openedWindows);
  timings_ = timings;
}

void DesktopDuties::Run(Clock::time_point now) {
  // 1.
  const WindowHandle foreground = desktop_.ForegroundWindow();
  // 2.
  processWatch_.Run(mainWindow_, ParameterText(Param::kProcessWatchLimit), now);
  // 3.
  if (ParameterInt(Param::kAutoTranslationWait) > 0 && reach_ && relay_) {
    relay_->autoTranslateFlag = 1;
    AutoTranslateOnLongPress(*reach_, *relay_, timings_);
  }
  // 4.
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
  if (ParameterInt(Param::kAutoTranslationWait) < 1) {
    CloseListedWindow(desktop_, foreground);
    return;
  }
  // The last search has ended (or none ran): its thread is collected and a new one goes.
  if (searching_.load()) return;
  if (search_.joinable()) search_.join();
  CompanionLink* link = reach_ ? &reach_->link : nullptr;
  const Text opened = openedWindows_ ? openedWindows_() : Text();
  searching_ = true;
  search_ = std::thread([this, link, opened] {
    platform::LowerCurrentThreadPriority();
    SearchTopLevelWindows(desktop_, link, opened);
    searching_ = false;
  });
}

void DesktopDuties::WaitForWindowSearch() {
  if (search_.joinable()) search_.join();
}

void DesktopDuties::CheckTranslationSetting() {
  if (reach_ && relay_) scrivano::CheckTranslationSetting(*relay_, reach_->link);
}

void SearchTopLevelWindows(platform::DesktopPlatform& desktop, CompanionLink* link, TextView openedWindows) {
  const Text opened = kTabText + Text(openedWindows) + kTabText;
  for (const WindowHandle window : desktop.TopLevelWindows()) CloseListedWindow(desktop, window);
  if (!link) return;
  const WindowHandle known = link->companionWindow.load();
  if (known && desktop.IsWindow(known)) return;
  // Hidden companions too: the one this cycle hid after opening its translation page is still the one.
  const WindowHandle window = FindCompanionWindow(*link, openedWindows);
  if (!window) return;
  // Only over a window that is gone: a companion recorded meanwhile by another thread stays.
  WindowHandle expected = known;
  link->companionWindow.compare_exchange_strong(expected, window);
}

void CheckTranslationSetting(TranslationRelay& relay, CompanionLink& link) {
  if (relay.companionState != kCheckTranslationSetting) return;
  const WindowHandle companion = link.companionWindow.load();
  if (!companion || !link.Desktop().IsWindow(companion)) return;
  // A companion that has just started answers on its page a moment after its window shows: until then
  // the check waits for a later cycle.
  if (WithBrowserDocument([](BrowserDocument&) { return 1; }, companion, link) != 1) return;
  // 1. The address is the setting's second field (a setting of one field is taken as the address).
  relay.translationSetting = ParameterText(Param::kTranslationPage);
  std::vector<Text> fields = ListItems(relay.translationSetting, kTab);
  relay.translationAddress = fields.size() >= 2 ? fields[1] : fields.empty() ? Text() : fields[0];
  Trim(relay.translationAddress);
  // 2.
  relay.translationSite = TranslationSiteOf(relay.translationAddress);
  const int waitMs = ParameterInt(Param::kAutoTranslationWait);
  const auto step = [&](BrowserDocument& document) { return TranslationPageStep(relay, document, waitMs); };
  if (relay.translationSite != 0) {
    // 3. The second site's page takes the address only on the second time.
    relay.companionState = kOpenTranslationAddress;
    WithBrowserDocument(step, companion, link);
    if (relay.translationSite == 2) WithBrowserDocument(step, companion, link);
  } else {
    // 4.
    Parameters().SetValue(Param::kAutoTranslationWait, u"0");
    ShowNotice(u"Wrong translation address:\r\n\r\n" + relay.translationAddress +
               u"\r\n\r\nPlease Set Parameters again.");
  }
  // 5.
  relay.companionState = kCompanionIdle;
  WithBrowserDocument([](BrowserDocument& document) { return document.Hide() ? 1 : 0; }, companion, link);
}

void DesktopDuties::RightClickShortcut(Clock::time_point now) {
  // 1. The secondary button (the left one when the user swapped the buttons). While it is held the cycle
  // only notes the press; the keys follow on the first cycle after its release.
  if (desktop_.SecondaryButtonDown()) {
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
  // 1. to 7. on the desktop.
  if (duties) duties->Run();
  // 8. and 9.
  host.HandBackResult();
  if (host.TakeRequest(kLaunchMenuRequest)) OfferLaunchMenu(host);
  // 10.
  if (duties) duties->CheckTranslationSetting();
}

}  // namespace scrivano
