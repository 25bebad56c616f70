// The bilingual segment markup "{0>" source "<}0{>" target "<0}": generating it from plain sentences,
// taking one side out of it, and turning it back into source/target pairs, on the working text or, when
// the Function List sits over an office window, inside that window piece by piece.
#pragma once

#include "tasks/DesktopServices.h"
#include "text/Text.h"

namespace scrivano {

inline constexpr char16_t kSegmentOpen[] = u"{0>";
inline constexpr char16_t kSegmentMiddle[] = u"<}0{>";
inline constexpr char16_t kSegmentClose[] = u"<0}";

// "07. Generate Trados format": every sentence (split only at ". ") becomes a segment with itself as
// source and target; sentences of a line are separated by one space and every line ends with "\r\n".
Text GenerateTradosFormat(TextView text);

// The source side (wantSource) or the target side of every line, each line preceded by "\r\n". Text
// between segments goes to both sides, trimmed. Pieces of the side taken to be English are joined with
// one space. A line with "{0>" but no "<}0{>" or "<0}" after it is reported ("Wrong Trados format") and
// keeps what was taken from it before the fault.
Text ExtractTradosSide(TextView text, bool wantSource);

// Both sides paired line by line in a layout of PairLayout (see AlignSourceTarget.h).
Text TradosToPairs(TextView text, int layout);

// "16. Trados to segmentation format": asks for the layout (an answer outside 1 to 4 means 1) and
// converts the working text, or, when the Function List sits over an office window, that window's
// content. Returns true when the result went into the office window (nothing to hand back). A cancelled
// prompt empties text.
bool TradosToSegmentation(Text& text);

// Applies convert to the content of the office window at wordWindow, piece by piece, through the
// clipboard relay of the desktop (see DesktopServices). Shared by every operation that can work inside the
// office window.
// Throws DesktopUnavailable when no desktop is installed (the command-line runner).
void RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert);

}  // namespace scrivano
