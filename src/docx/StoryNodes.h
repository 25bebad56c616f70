// What the nodes of a story's XML are, as indexing and editing both need to know.
#pragma once

#include <pugixml.hpp>

namespace scrivano::word {

// Elements inside a paragraph that hold runs (their text belongs to the paragraph).
bool IsRunContainer(pugi::xml_node node);
// w:rPr, w:pPr, w:sdtPr, w:smartTagPr ...: properties that a split copies to both halves.
bool IsPropertyElement(pugi::xml_node node);
bool HasContent(pugi::xml_node node);
// Block-level elements that take no position and do not stand between two paragraphs.
bool IsBlockMarker(pugi::xml_node node);
pugi::xml_node NextBlockSibling(pugi::xml_node node);
bool IsInside(pugi::xml_node node, pugi::xml_node ancestor);

// Removes a block (paragraph, row, table) and then the content controls this leaves empty.
void RemoveBlock(pugi::xml_node block);
// Removes a row, and its table when that has no row left.
void RemoveRow(pugi::xml_node row);
// Gives paragraph the properties of from (its own section break stays).
void TakeParagraphProperties(pugi::xml_node paragraph, pugi::xml_node from);

}  // namespace scrivano::word
