#include "web/AutoTranslation.h"

#include <mutex>
#include <thread>
#include <vector>

#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"
#include "text/Lists.h"
#include "text/Tokenizers.h"

namespace scrivano {
namespace {

using Clock = std::chrono::steady_clock;

const Chord kSelectAllChord{kKeyControl, 0x41};
const Chord kCopyChord{kKeyControl, 0x43};

std::vector<Text> TabItems(TextView list) {
  std::vector<Text> items;
  int pos = 0;
  Text item;
  while (!list.empty() && pos != Length(list)) {
    NextTokenFound(list, item, pos, u"\t");
    items.push_back(item);
  }
  return items;
}

void Pause(std::chrono::milliseconds time) {
  if (time.count() > 0) std::this_thread::sleep_for(time);
}

// Whether the primary button was held for a long press: it is waited for while it stays down.
bool LongPressHeld(platform::DesktopPlatform& desktop, const AutoTranslationTimings& timings) {
  if (!desktop.PrimaryButtonDown()) return false;
  const auto start = Clock::now();
  while (desktop.PrimaryButtonDown()) Pause(timings.poll);
  return Clock::now() - start >= timings.longPress;
}

Text CompanionMissingMessage() {
  return u"Please first open the automatic translation page in the companion program vexo1, for "
         u"example:\r\n\r\n" +
         Text(TranslationSites::kExamplePage) +
         u"\r\n\r\nParameter 15 names the page; it is opened when automatic translation is switched on.";
}

// Copies the text of the window in front: Ctrl+A (whole-text mode) and Ctrl+C. A marker goes onto the
// clipboard first, so that a window that copies nothing is not credited with the clipboard's old text.
// False when the window left the front before the keys were sent.
bool CopySource(AutoTranslationReach& reach, WindowHandle window, LongPressMode mode,
                const AutoTranslationTimings& timings, Text& source) {
  source.clear();
  const Text probe(kClipboardProbe);
  if (!reach.relay.WriteText(&probe)) return true;
  if (mode == LongPressMode::kWholeText) {
    if (!reach.relay.PressChordHeld(window, kSelectAllChord)) return false;
    Pause(timings.afterSelectAll);
  } else {
    Pause(timings.beforeCopy);
  }
  if (!reach.relay.PressChordHeld(window, kCopyChord)) return false;
  const auto deadline = Clock::now() + timings.copyWait;
  Text copied;
  do {
    Pause(timings.poll);
    copied = probe;
    if (!reach.relay.CopyFromWindow(window, copied, false)) copied = probe;
  } while (copied == probe && Clock::now() < deadline);
  if (copied != probe) source = copied;
  return true;
}

}  // namespace

bool WindowClassInList(platform::DesktopPlatform& desktop, TextView classList, WindowHandle window) {
  if (!window) window = desktop.ForegroundWindow();
  if (!window || classList.empty()) return false;
  for (const Text& item : TabItems(classList))
    if (!item.empty() && desktop.WindowIsOfClass(window, item)) return true;
  return false;
}

LongPressMode LongPressModeOf(platform::DesktopPlatform& desktop, TextView classList, WindowHandle window) {
  if (!window) return LongPressMode::kNotListed;
  for (Text item : TabItems(classList)) {
    const bool selection = !item.empty() && item.back() == u';';
    if (selection) item.pop_back();
    if (!item.empty() && desktop.WindowIsOfClass(window, item))
      return selection ? LongPressMode::kSelection : LongPressMode::kWholeText;
  }
  return LongPressMode::kNotListed;
}

bool LongPressPointAccepted(platform::Rect client, platform::Point cursor, LongPressMode mode,
                            platform::Point& clickBack) {
  if (mode == LongPressMode::kWholeText) {
    client.right = client.left + client.Width() * 3 / 5;
    clickBack = {client.right, cursor.y};
  } else {
    client.left -= 3 * kMenuBarHeight;
    client.right += 2 * kMenuBarHeight;
    client.top -= kMenuBarHeight;
    client.bottom += kMenuBarHeight;
  }
  return client.Contains(cursor);
}

void CloseListedWindow(platform::DesktopPlatform& desktop, WindowHandle window) {
  const Text titles = ParameterText(Param::kClosedWindowTitles);
  if (!window || titles.empty()) return;
  const Text title = desktop.WindowTitle(window);
  if (!title.empty() && IsListItem(titles, title, u"\t")) desktop.RequestClose(window);
}

AutoTranslateEnd AutoTranslateOnLongPress(AutoTranslationReach& reach, TranslationRelay& relay,
                                          const AutoTranslationTimings& timings) {
  platform::DesktopPlatform& desktop = reach.desktop;
  // 1. and 2. The window in front, when it is of one of parameter 13's classes, and its title as it is
  // before the exchange (a failed clipboard read may put a caption on it meanwhile).
  const WindowHandle window = desktop.ForegroundWindow();
  const LongPressMode mode = LongPressModeOf(desktop, ParameterText(Param::kAutoTranslationClasses), window);
  if (mode == LongPressMode::kNotListed) return AutoTranslateEnd::kNotListed;
  const Text title = desktop.WindowTitle(window);
  // 3. A press of the primary button held for a second.
  if (!LongPressHeld(desktop, timings)) return AutoTranslateEnd::kShortPress;
  // 4. The companion with the translation page.
  const WindowHandle companion = reach.link.companionWindow.load();
  if (!WindowClassInList(desktop, kCompanionWindowClass, companion ? companion : window)) {
    ShowMessage(CompanionMissingMessage(), u"Notice", MessageButtons::Ok, true);
    return AutoTranslateEnd::kNoCompanion;
  }
  // 5. Where the press was.
  platform::Point clickBack;
  if (!LongPressPointAccepted(desktop.WindowRect(window), desktop.CursorPosition(), mode, clickBack))
    return AutoTranslateEnd::kOutsideArea;

  std::lock_guard lock(reach.relay.Lock());
  // 6. and 7. The clipboard's own text comes back when the window copied nothing.
  {
    ClipboardRelay::ProbeCleaner cleaner(reach.relay);
    if (!CopySource(reach, window, mode, timings, relay.sourceText)) return AutoTranslateEnd::kLeftFront;
  }
  if (relay.sourceText.empty()) {
    ShowMessage(kSourceEmptyMessage, u"Notice", MessageButtons::Ok, true);
    return AutoTranslateEnd::kNothingCopied;
  }
  // 8. and 9. Line by line through the page; the title says what is going on.
  if (reach.showCaption) reach.showCaption(window, kAutoTranslatingCaption);
  relay.resultText.clear();
  relay.companionState = kTranslatePiece;
  const int waitMs = ParameterInt(Param::kAutoTranslationWait);
  relay.resultText = TranslateLines(
      relay.sourceText,
      [&](TextView piece, Text& translation) {
        relay.translationAddress = Text(piece);
        const int done = WithBrowserDocument(
            [&](BrowserDocument& document) { return TranslationPageStep(relay, document, waitMs); },
            reach.link.companionWindow.load(), reach.link);
        if (done != 1) return false;
        translation = relay.pageResult;
        return true;
      },
      [&] {
        if (reach.showCaption) reach.showCaption(window, kAutoTranslationFailedCaption);
      });
  relay.companionState = kCompanionIdle;
  // 10. The title back, and in whole-text mode a click to where the translation goes. Neither the click
  // nor the keys go to a window that has come in front meanwhile: the translation is left on the
  // clipboard instead.
  if (reach.showCaption) reach.showCaption(window, title);
  // The click back must land in the window itself, not in one that covers the point.
  if (desktop.ForegroundWindow() != window ||
      (mode == LongPressMode::kWholeText && desktop.WindowAt(clickBack) != window)) {
    reach.relay.WriteText(&relay.resultText);
    return AutoTranslateEnd::kLeftFront;
  }
  if (mode == LongPressMode::kWholeText) {
    desktop.ClickPrimaryButton(clickBack);
    Pause(timings.afterClick);
  }
  // 11.
  if (!reach.relay.PasteIntoForeground(window, &relay.resultText)) return AutoTranslateEnd::kLeftFront;
  return AutoTranslateEnd::kPasted;
}

}  // namespace scrivano
