#include "office/OfficePieces.h"

#include <algorithm>
#include <functional>
#include <thread>

#include "office/OfficeMacro.h"
#include "prompt/SelectionPrompt.h"

namespace scrivano {
namespace {

constexpr char16_t kRestartAdvice[] =
    u"LibreOffice loads macros only when it starts: quit LibreOffice (Ctrl+Q), open the document again, "
    u"and double-click the entry again.";

// Writer windows that came up since before, of the office's process when it is known: what a Ctrl+N
// without the macro opens. They are asked to close; a new, untouched document closes without a question.
bool CloseNewDocumentWindows(DesktopReach& reach, const std::vector<WindowHandle>& before, int officePid) {
  platform::DesktopPlatform& desktop = reach.desktop;
  std::vector<WindowHandle> opened;
  for (const WindowHandle window : desktop.TopLevelWindows()) {
    if (std::find(before.begin(), before.end(), window) != before.end()) continue;
    if (officePid && desktop.WindowProcessId(window) != officePid) continue;
    if (desktop.WindowClassName(window) != kOfficeMainWindowClass) continue;
    desktop.RequestClose(window);
    opened.push_back(window);
  }
  const auto deadline = std::chrono::steady_clock::now() + reach.relay.Timings().windowClose;
  const auto open = [&] {
    return std::any_of(opened.begin(), opened.end(), [&](WindowHandle w) { return desktop.IsWindow(w); });
  };
  while (open() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(reach.relay.Timings().poll);
  return !opened.empty();
}

// After a piece that was not handed over: a standard dialog box in front is closed after two seconds, a
// document window Ctrl+N opened at once. True when there was such a document.
bool CleanUpAfterLastPiece(DesktopReach& reach, WindowHandle wordWindow,
                           const std::vector<WindowHandle>& before, int officePid) {
  platform::DesktopPlatform& desktop = reach.desktop;
  const WindowHandle front = desktop.ForegroundWindow();
  if (front != wordWindow && desktop.WindowClassName(front) == kDialogWindowClass) {
    std::this_thread::sleep_for(std::chrono::seconds(2));
    desktop.RequestClose(front);
  }
  return CloseNewDocumentWindows(reach, before, officePid);
}

// The piece loop, once Writer is in front. True when Ctrl+N opened a document window, which was closed.
bool ConvertPieces(DesktopReach& reach, WindowHandle wordWindow, const PieceConversion& convert,
                   int officePid) {
  platform::DesktopPlatform& desktop = reach.desktop;
  ClipboardRelay& relay = reach.relay;
  const RelayTimings& timings = relay.Timings();
  // Writer takes the keys a moment after its window came to the front.
  std::this_thread::sleep_for(timings.focusSettle);
  const std::vector<WindowHandle> before = desktop.TopLevelWindows();
  const Text probe(kClipboardProbe);
  if (!relay.WriteText(&probe)) return false;
  // Each Ctrl+N puts the converted piece on the clipboard in place of the one handed over before, and
  // hands over the next: the macro waits until Writer has learnt that the clipboard has changed, which a
  // Ctrl+V pressed at once would not.
  while (true) {
    if (!relay.PressChordHeld(wordWindow, kCaptureChord)) break;
    const CopyEnd end = relay.WaitForCopy(wordWindow, timings.captureWait);
    // The probe back is NextPiece's sign that no paragraph is left.
    if (end != CopyEnd::kCopied || relay.capturedText == probe) {
      return end != CopyEnd::kCopied && CleanUpAfterLastPiece(reach, wordWindow, before, officePid);
    }
    Text piece = relay.capturedText;
    convert(piece);
    relay.pasteText = piece;
    if (!relay.WriteText(&relay.pasteText)) break;
  }
  return false;
}

}  // namespace

std::optional<platform::ProcessCommand> HandshakeCommand(
    const std::optional<platform::ProcessCommand>& office) {
  if (!office || office->program.empty()) return std::nullopt;
  platform::ProcessCommand command;
  command.program = office->program.substr(0, office->program.rfind('/') + 1) + "soffice";
  command.arguments.push_back("soffice");
  for (const std::string& argument : office->arguments)
    if (argument.starts_with("-env:")) command.arguments.push_back(argument);
  command.arguments.push_back(kBindNextPieceUrl);
  command.environment = office->environment;
  return command;
}

Handshake AskNextPieceReady(DesktopReach& reach, const std::optional<platform::ProcessCommand>& office) {
  const std::optional<platform::ProcessCommand> command = HandshakeCommand(office);
  if (!command) return Handshake::kImpossible;
  ClipboardRelay& relay = reach.relay;
  const Text probe(kClipboardProbe);
  if (!relay.WriteText(&probe)) return Handshake::kUnanswered;
  // soffice hands the request to the running office and ends.
  const int status = reach.desktop.RunProgram(*command, relay.Timings().programWait);
  if (status == platform::kProgramNotStarted) return Handshake::kImpossible;
  const bool ready = status == 0 && relay.WaitForCopy(0, relay.Timings().officeAnswer) == CopyEnd::kCopied &&
                     relay.capturedText == kNextPieceReady;
  return ready ? Handshake::kReady : Handshake::kUnanswered;
}

void OfferNextPieceMacro(const std::string& profile, bool strayWindow,
                         const std::function<bool()>& askAgain) {
  const Text lead = strayWindow
                        ? Text(
                              u"Ctrl+N in the Writer window opened a new window instead of handing "
                              u"Scrivano the next paragraph; Scrivano closed that window again without "
                              u"saving it and stopped.\r\n\r\n")
                        : Text(
                              u"Ctrl+N in LibreOffice Writer does not hand Scrivano the next paragraph "
                              u"yet, so Scrivano changed nothing in the document.\r\n\r\n");
  if (NextPieceModuleCurrent(profile)) {
    ShowNotice(lead +
               u"Scrivano's NextPiece macro is installed in the LibreOffice profile that Writer uses:\r\n" +
               FromUtf8(profile) + u"\r\nbut the LibreOffice that shows the document has not loaded it. " +
               kRestartAdvice);
    return;
  }
  if (!AskYesNo(
          lead +
              u"Scrivano's NextPiece macro is missing or out of date in the LibreOffice profile that Writer "
              u"uses:\r\n" +
              FromUtf8(profile) + u"\r\n\r\nInstall the macro there now?",
          u"Notice"))
    return;
  std::string message;
  if (!InstallOfficeMacro(profile, message)) {
    ShowNotice(u"Scrivano's NextPiece macro could not be installed: " + FromUtf8(message));
    return;
  }
  // A LibreOffice that runs has read its macros when it started; it is asked all the same.
  const Text installed = u"Scrivano's NextPiece macro is installed in " + FromUtf8(profile) + u".\r\n\r\n";
  ShowNotice(askAgain && askAgain()
                 ? installed +
                       u"The LibreOffice that shows the document has taken it up: double-click the "
                       u"entry again."
                 : installed + kRestartAdvice);
}

void RunOnWordPieces(DesktopReach& reach, WindowHandle wordWindow, const PieceConversion& convert) {
  platform::DesktopPlatform& desktop = reach.desktop;
  ClipboardRelay& relay = reach.relay;
  const int officePid = desktop.WindowProcessId(wordWindow);
  const std::optional<platform::ProcessCommand> office =
      officePid ? desktop.ProcessCommandOf(officePid) : std::nullopt;
  Handshake handshake;
  bool strayWindow = false;
  {
    std::lock_guard lock(relay.Lock());
    const ClipboardRelay::ProbeCleaner cleaner(relay, true);
    // 1. The office answers before anything changes in Writer, its title included. An office that cannot
    // be asked is taken at its word; a document window its Ctrl+N opens is closed again.
    handshake = AskNextPieceReady(reach, office);
    if (handshake != Handshake::kUnanswered) {
      // 2. The pieces, while the user keeps off; the window has a limited time to come to the front, the
      // right button gives up at once.
      const Text caption = desktop.WindowTitle(wordWindow);
      if (reach.activate) reach.activate(wordWindow);
      if (reach.showCaption) reach.showCaption(wordWindow, kHandsOffCaption);
      if (relay.WaitForegroundWindow(wordWindow) == WaitEnd::kDone)
        strayWindow = ConvertPieces(reach, wordWindow, convert, officePid);
      if (reach.showCaption) reach.showCaption(wordWindow, caption);
    }
  }
  // 3. Questions and notices once the clipboard is the user's again and other tasks may use the relay.
  if (handshake == Handshake::kUnanswered || strayWindow) {
    OfferNextPieceMacro(
        office ? OfficeProfileOf(office->arguments, office->environment) : DefaultOfficeProfile(),
        strayWindow, [&] {
          std::lock_guard lock(relay.Lock());
          const ClipboardRelay::ProbeCleaner cleaner(relay, true);
          return AskNextPieceReady(reach, office) == Handshake::kReady;
        });
  }
}

}  // namespace scrivano
