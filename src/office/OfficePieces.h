// Entries 16 and 2 inside a LibreOffice Writer window (RunOnWordPieces, DesktopReach.h): the NextPiece
// macro hands over one paragraph for each Ctrl+N, and the converted paragraph is pasted in its place.
// Before any key reaches Writer, the LibreOffice that shows the window is asked, through its own soffice,
// to run the macro's BindNextPiece, which binds Ctrl+N and answers on the clipboard. Without that answer
// nothing is typed: the user learns why and may install the macro.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "capture/DesktopReach.h"

namespace scrivano {

// The soffice that hands BindNextPiece to the running office: the one beside its program file, with its
// -env: options and its environment, so that it reaches that office and no other (a soffice that finds
// no office with that profile starts one). None when the office's command is not known.
std::optional<platform::ProcessCommand> HandshakeCommand(
    const std::optional<platform::ProcessCommand>& office);

enum class Handshake {
  kReady,       // the office answered: Ctrl+N runs NextPiece
  kUnanswered,  // its soffice ran, and no answer came
  kImpossible,  // no soffice to reach it (not a LibreOffice, or one this program cannot see into)
};

// Asks the office and waits for its answer. Leaves the answer or the probe on the clipboard.
Handshake AskNextPieceReady(DesktopReach& reach, const std::optional<platform::ProcessCommand>& office);

// When Ctrl+N does not run NextPiece: says why in a notice and, when the profile lacks the macro of this
// version, offers to install it there; after installing, askAgain tells whether the office answers now.
// strayWindow: Ctrl+N opened a new window, which was closed.
void OfferNextPieceMacro(const std::string& profile, bool strayWindow, const std::function<bool()>& askAgain);

}  // namespace scrivano
