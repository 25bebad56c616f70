// The section properties of a document's main text (w:sectPr): where sections and pages begin, and the
// page size.
#pragma once

#include <pugixml.hpp>
#include <vector>

#include "docx/DocumentStory.h"

namespace scrivano::word {

// All section properties of the main text in order: those that end a section inside the text, then the
// body's own, which ends the last section.
std::vector<pugi::xml_node> Sections(Story& story);
// A section of this kind begins on a new page.
bool StartsNewPage(pugi::xml_node section);
// The section's w:pgSz, inserted where the schema wants it when missing.
pugi::xml_node EnsurePageSize(pugi::xml_node section);

}  // namespace scrivano::word
