#include "transform/TradosFormats.h"

namespace scrivano {

void RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert) {
  RequireDesktop("Working inside the office window").RunOnWordPieces(wordWindow, convert);
}

}  // namespace scrivano
