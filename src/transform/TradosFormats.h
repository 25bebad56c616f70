// The bilingual segment markup "{0>" source "<}0{>" target "<0}": generating it from plain sentences,
// taking one side out of it, and turning it back into source/target pairs, on the working text or, when
// the Function List sits over an office window, inside that window piece by piece.
#pragma once

#include "app/DesktopServices.h"
#include "text/Text.h"

namespace scrivano {

// Applies convert to the content of the office window at wordWindow, piece by piece, through the
// clipboard relay of the desktop. Shared by every operation that can work inside the office window.
// Throws DesktopUnavailable when no desktop is installed (the command-line runner).
void RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert);

}  // namespace scrivano
