// "13. Replace text in Word documents" on the office program's own Find and Replace window.
//
// How LibreOffice Writer behaves here, as measured: each document has a Find and Replace window of its
// own (the search text is shared between them, the replacement is not); activating another document
// hides the window of the one before, and activating its document again shows it and gives it the
// focus; Ctrl+H in a document whose window is already open closes that window instead of opening it.
// So the search and replacement typed in the open window are read once, and for each document its own
// window is taken when it shows, or opened with Ctrl+H when none does, both fields typed again, and
// Replace All pressed there.
//
// The window and its keys in any interface language: the platform knows the window by its title in the
// language the office shows, and gives the access keys of that language's labels (OfficeWords.h). Ctrl+H
// is one for every language: the office's shortcuts are set for en-US alone and the language packs
// (Langpack-zh-CN.xcd, Langpack-zh-TW.xcd) change none.
//
// A run that replaces nothing hands nothing back: the Input window keeps its text, and a box says why.
#include "office/OfficeReplace.h"

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "capture/DesktopReach.h"
#include "platform/WaylandSession.h"
#include "prompt/SelectionPrompt.h"
#include "text/Lists.h"

namespace scrivano {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char16_t kReplaceDialogClass[] = u"bosa_sdm";
constexpr int kKeyDelete = 0x2E;
const Chord kOpenReplaceChord{kKeyControl, 0x48};
const Chord kSelectAllChord{kKeyControl, 0x41};

// The Find and Replace window's access keys in the language it shows: Alt with the marked letter of the
// Find label, of the Replace label, and of Replace All.
struct DialogKeys {
  Chord findField, replaceField, replaceAll;
};

// The virtual-key code of an access key, 0 for a character no key of the chords stands for.
int KeyOf(char16_t accessKey) {
  if (accessKey >= u'a' && accessKey <= u'z') return accessKey - u'a' + 0x41;
  if ((accessKey >= u'A' && accessKey <= u'Z') || (accessKey >= u'0' && accessKey <= u'9')) return accessKey;
  return 0;
}

// The keys of the words, or why there are none.
std::optional<DialogKeys> KeysOf(const platform::FindReplaceWords& words, Text& why) {
  const struct {
    const Text& label;
    const char16_t* name;
  } labels[] = {
      {words.findLabel, u"Find"}, {words.replaceLabel, u"Replace"}, {words.replaceAllLabel, u"Replace All"}};
  int keys[3] = {};
  for (int i = 0; i < 3; ++i) {
    keys[i] = KeyOf(platform::AccessKeyOf(labels[i].label));
    if (keys[i] == 0) {
      why = u"In this interface language (" + FromUtf8(words.language) + u") the Find and Replace window's " +
            labels[i].name + u" (\"" + labels[i].label +
            u"\") has no access key of a Latin letter or a digit.";
      return std::nullopt;
    }
  }
  if (keys[0] == keys[1] || keys[0] == keys[2] || keys[1] == keys[2]) {
    why = u"In this interface language (" + FromUtf8(words.language) +
          u") the Find and Replace window gives two of Find, Replace and Replace All the same access key.";
    return std::nullopt;
  }
  return DialogKeys{{kKeyAlt, keys[0]}, {kKeyAlt, keys[1]}, {kKeyAlt, keys[2]}};
}

class ReplaceRun {
 public:
  ReplaceRun(DesktopReach& reach, const OfficeReplaceTimings& timings)
      : reach_(reach), desktop_(reach.desktop), relay_(reach.relay), timings_(timings) {}

  // The text of one field of the window in front (empty when it holds none); false when the keys did not
  // reach the window.
  bool ReadField(WindowHandle dialog, const Chord& field, Text& value) {
    value.clear();
    if (!relay_.PressChordPairs(dialog, field)) return false;
    Pause(timings_.fieldSettle);
    if (relay_.CopyWindowText(dialog, nullptr)) value = relay_.capturedText;
    return true;
  }

  // Replaces the field's text by value (an empty value empties it).
  bool TypeField(WindowHandle dialog, const Chord& field, const Text& value) {
    if (!relay_.PressChordPairs(dialog, field)) return false;
    Pause(timings_.fieldSettle);
    if (!relay_.PressChordPairs(dialog, kSelectAllChord)) return false;
    if (value.empty()) return relay_.PressChordHeld(dialog, {kKeyDelete}, true);
    return relay_.PasteIntoForeground(dialog, &value);
  }

  // A Find and Replace window that shows, the top one first; 0 when none does.
  WindowHandle ShownReplaceDialog() {
    const std::vector<WindowHandle> dialogs = WindowsOfClass(desktop_, kReplaceDialogClass);
    return dialogs.empty() ? 0 : dialogs.front();
  }

  // Until the front is the document or a Find and Replace window (its own, shown again), within the
  // limit; false on the right button or the limit.
  bool WaitForDocumentOrItsDialog(WindowHandle document) {
    const auto deadline = Clock::now() + timings_.windowWait;
    while (Clock::now() < deadline) {
      const WindowHandle front = desktop_.ForegroundWindow();
      if (front == document || (front && IsReplaceDialog(front))) return true;
      if (relay_.WaitRightButtonRelease() != 0) return false;
      Pause(timings_.poll);
    }
    return false;
  }

  // The Find and Replace window that came to the front, or 0 when none did within the limit.
  WindowHandle WaitForReplaceDialog() {
    const auto deadline = Clock::now() + timings_.windowWait;
    while (Clock::now() < deadline) {
      const WindowHandle front = desktop_.ForegroundWindow();
      if (front && IsReplaceDialog(front)) return front;
      if (relay_.WaitRightButtonRelease() != 0) return 0;
      Pause(timings_.poll);
    }
    return 0;
  }

  // The document's own Find and Replace window in front: the one that shows once the document is active,
  // or one opened with Ctrl+H. opened tells which.
  WindowHandle DialogOfDocument(WindowHandle document, bool& opened) {
    opened = false;
    if (reach_.activate) reach_.activate(document);
    if (!WaitForDocumentOrItsDialog(document)) return 0;
    // The window of the document before goes, this document's own comes back; give both a moment.
    Pause(timings_.documentSettle);
    if (const WindowHandle shown = ShownReplaceDialog()) {
      if (desktop_.ForegroundWindow() != shown && reach_.activate) reach_.activate(shown);
      return relay_.WaitForegroundWindow(shown) == WaitEnd::kDone ? shown : 0;
    }
    if (desktop_.ForegroundWindow() != document) return 0;
    if (!relay_.PressChordHeld(document, kOpenReplaceChord)) return 0;
    opened = true;
    return WaitForReplaceDialog();
  }

  // Asks the window to close and waits until it has gone from the front (or the limit).
  void CloseAndWait(WindowHandle window) {
    desktop_.RequestClose(window);
    const auto deadline = Clock::now() + timings_.windowWait;
    while (Clock::now() < deadline && desktop_.IsWindow(window) && desktop_.ForegroundWindow() == window)
      Pause(timings_.poll);
  }

  void Caption(WindowHandle window, TextView caption) {
    if (reach_.showCaption) reach_.showCaption(window, caption);
  }

  void Pause(std::chrono::milliseconds time) {
    if (time.count() > 0) std::this_thread::sleep_for(time);
  }

 private:
  bool IsReplaceDialog(WindowHandle window) {
    return ListItemContains(desktop_.WindowClassName(window), kReplaceDialogClass);
  }

  DesktopReach& reach_;
  platform::DesktopPlatform& desktop_;
  ClipboardRelay& relay_;
  const OfficeReplaceTimings& timings_;
};

// Tells the user why nothing was replaced; the caller hands nothing back.
std::optional<Text> Fail(TextView why) {
  ShowMessage(why, u"Notice", MessageButtons::Ok, false);
  return std::nullopt;
}

constexpr char16_t kNoParameter[] = u"No parameter set !\r\n\r\n";
constexpr char16_t kFailed[] = u"Processing failed !\r\n\r\n";
constexpr char16_t kNothingReplaced[] = u"\r\n\r\nNothing was replaced, and the Input window keeps its text.";

}  // namespace

std::optional<Text> ReplaceInWordDocuments(DesktopReach& reach, Text& text) {
  return ReplaceInWordDocuments(reach, text, OfficeReplaceTimings());
}

std::optional<Text> ReplaceInWordDocuments(DesktopReach& reach, Text& text,
                                           const OfficeReplaceTimings& timings) {
  platform::DesktopPlatform& desktop = reach.desktop;
  ClipboardRelay& relay = reach.relay;
  const std::vector<WindowHandle> documents = WindowsOfClass(desktop, kOfficeMainWindowClass);
  const std::vector<WindowHandle> dialogs = WindowsOfClass(desktop, kReplaceDialogClass);
  if (dialogs.empty())
    return Fail(Text(kNoParameter) +
                u"No Find and Replace window of LibreOffice Writer is open. Open it in a document (Ctrl+H), "
                u"type what to find and what to replace it with, and choose this entry again." +
                kNothingReplaced + platform::WaylandHint());
  const WindowHandle dialog = dialogs.front();
  const std::optional<platform::FindReplaceWords> words = desktop.OfficeFindReplaceWords(dialog);
  if (!words)
    return Fail(Text(kFailed) + u"The Find and Replace window closed or changed its title meanwhile." +
                kNothingReplaced);
  Text why;
  const std::optional<DialogKeys> keys = KeysOf(*words, why);
  if (!keys) return Fail(Text(kFailed) + why + kNothingReplaced);

  std::lock_guard lock(relay.Lock());
  ReplaceRun run(reach, timings);
  const ClipboardRelay::ProbeCleaner cleaner(relay);
  const Text dialogTitle = desktop.WindowTitle(dialog);
  if (reach.activate) reach.activate(dialog);
  if (relay.WaitForegroundWindow(dialog) != WaitEnd::kDone)
    return Fail(Text(kFailed) + u"The Find and Replace window did not come to the front." + kNothingReplaced);
  run.Caption(dialog, kHandsOffCaption);
  // What is typed there, read once. An empty replacement means "replace by nothing"; without a search
  // there is nothing to do.
  Text search, replacement;
  const bool read = run.ReadField(dialog, keys->findField, search) &&
                    run.ReadField(dialog, keys->replaceField, replacement);
  run.Caption(dialog, dialogTitle);
  if (!read)
    return Fail(Text(kFailed) + u"The Find and Replace window did not take the keys." + kNothingReplaced);
  if (search.empty())
    return Fail(Text(kNoParameter) + u"The Find field of the Find and Replace window is empty." +
                kNothingReplaced);
  // An empty field copies nothing, and neither does a field that could not be read: before text is
  // deleted everywhere, the user says that this is meant. No is the user's own choice: nothing more is said.
  if (replacement.empty() &&
      !AskYesNo(u"The Replace field is empty. Delete every \"" + search + u"\" in the open documents?",
                u"Notice"))
    return std::nullopt;
  run.Pause(timings.start);

  Text report;
  int count = 0;
  for (const WindowHandle document : documents) {
    if (!desktop.IsWindow(document)) continue;
    const Text title = desktop.WindowTitle(document);
    if (title.empty()) continue;
    bool opened = false;
    const WindowHandle own = run.DialogOfDocument(document, opened);
    if (!own) continue;
    const Text ownTitle = desktop.WindowTitle(own);
    run.Caption(own, title);
    run.Pause(timings.fieldSettle);
    // The keys go to that window only; when another came to the front, this document is left alone and
    // not counted.
    if (run.TypeField(own, keys->findField, search) && run.TypeField(own, keys->replaceField, replacement) &&
        relay.PressChordHeld(own, keys->replaceAll)) {
      ++count;
      report += u"\r\n" + title;
      run.Pause(timings.replaceAll);
      // A box the office program may show about the result is closed, not waited for without end.
      const WindowHandle front = desktop.ForegroundWindow();
      if (front && front != own && desktop.WindowClassName(front) == kDialogWindowClass)
        run.CloseAndWait(front);
    }
    run.Caption(own, ownTitle);
    // The window the user had open stays; those opened here go again.
    if (opened) run.CloseAndWait(own);
  }
  if (desktop.IsWindow(dialog)) run.Caption(dialog, dialogTitle);
  text = u"Processing completed !  ( " + FromUtf8(std::to_string(count)) + u" documents )";
  return report;
}

}  // namespace scrivano
