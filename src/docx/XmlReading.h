// How a part's bytes become a tree the engine can rely on: decoded by the encoding the part declares
// (UTF-16 by its byte-order mark or first bytes, any other by its XML declaration) so that it is written
// back as UTF-8 under a declaration that says so; elements and attributes of the namespaces the engine
// reads renamed to their usual prefixes (w:, r:, wp:, ...), whatever prefix the producer chose; and a
// bound on how deeply elements nest, so that no walk over the tree can run out of stack.
#pragma once

#include <pugixml.hpp>
#include <string>

namespace scrivano::word {

// Elements nested deeper than this are refused.
inline constexpr int kMaxElementDepth = 1000;

// The part's text as UTF-8 (without a byte-order mark). Throws DocumentError naming the part when the
// declared encoding is unknown or the bytes are not in it.
std::string DecodeXmlPart(const std::string& bytes, const std::string& partName);

// After parsing: marks the declaration as UTF-8, renames known namespaces to their usual prefixes and
// checks the depth. Throws DocumentError naming the part when it nests too deeply.
void NormalizeXmlTree(pugi::xml_document& document, const std::string& partName);

}  // namespace scrivano::word
