// "01. Align source and target", options 1 to 3, on the UTF-8 bytes of the text (see
// LineOperationsOnBytes.h): they pair trimmed non-blank lines, cut them at tabs and at "=====" lines, and
// show the same messages with the same lines in them.
#pragma once

#include "transform/LineOperationsOnBytes.h"

namespace scrivano {

// Option 1 (ReturnPairsToTabPairs), 2 (TabPairsToReturnPairs) or 3 (PairSections, then
// ReturnPairsToTabPairs), on the whole text; nullptr for another option.
std::unique_ptr<ByteOperation> AlignPairsOnBytes(int option, bool lineFeedEnds, ByteWriter write);

}  // namespace scrivano
