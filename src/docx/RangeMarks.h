// Marks that come in pairs or threes and refer to each other by id: bookmark starts and ends, comment
// range starts, ends and references, permission and move ranges. A deletion may take one of them and
// leave the other behind.
#pragma once

#include <pugixml.hpp>

namespace scrivano::word {

// Removes every range start whose end is gone, every range end whose start is gone, and the range marks
// of a comment whose reference is gone. Returns how many marks were removed.
int RemoveUnmatchedRangeMarks(pugi::xml_node root);

}  // namespace scrivano::word
