#include "docx/StoryNodes.h"

#include <cstring>

#include "docx/DocumentXml.h"

namespace scrivano::word {

bool IsRunContainer(pugi::xml_node node) {
  static constexpr const char* kContainers[] = {"w:hyperlink", "w:fldSimple", "w:ins", "w:moveTo",
                                                "w:smartTag",  "w:customXml", "w:dir", "w:bdo"};
  if (node.type() != pugi::node_element) return false;
  for (const char* name : kContainers)
    if (std::strcmp(node.name(), name) == 0) return true;
  return false;
}

bool IsPropertyElement(pugi::xml_node node) {
  const size_t length = std::strlen(node.name());
  return node.type() == pugi::node_element && length > 2 && std::strcmp(node.name() + length - 2, "Pr") == 0;
}

bool HasContent(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element && !IsPropertyElement(child)) return true;
  return false;
}

bool IsBlockMarker(pugi::xml_node node) {
  static constexpr const char* kMarkers[] = {
      "w:bookmarkStart",    "w:bookmarkEnd",      "w:commentRangeStart", "w:commentRangeEnd",
      "w:proofErr",         "w:permStart",        "w:permEnd",           "w:moveFromRangeStart",
      "w:moveFromRangeEnd", "w:moveToRangeStart", "w:moveToRangeEnd"};
  for (const char* name : kMarkers)
    if (std::strcmp(node.name(), name) == 0) return true;
  return false;
}

pugi::xml_node NextBlockSibling(pugi::xml_node node) {
  for (pugi::xml_node next = node.next_sibling(); next; next = next.next_sibling())
    if (next.type() == pugi::node_element && !IsBlockMarker(next)) return next;
  return {};
}

bool IsInside(pugi::xml_node node, pugi::xml_node ancestor) {
  for (pugi::xml_node up = node.parent(); up; up = up.parent())
    if (up == ancestor) return true;
  return false;
}

namespace {

// Whether a content control's content still holds something besides range marks.
bool HoldsContent(pugi::xml_node content) {
  for (pugi::xml_node child = content.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element && !IsPropertyElement(child) && !IsBlockMarker(child)) return true;
  return false;
}

}  // namespace

// Removes a block (paragraph, row, table) and then the content controls this leaves empty: an empty
// control would still show its placeholder or a stale drop-down value.
void RemoveBlock(pugi::xml_node block) {
  pugi::xml_node parent = block.parent();
  parent.remove_child(block);
  while (IsNamed(parent, "w:sdtContent") && !HoldsContent(parent)) {
    const pugi::xml_node control = parent.parent();
    parent = control.parent();
    parent.remove_child(control);
  }
}

namespace {

bool HasRow(pugi::xml_node table) {
  for (pugi::xml_node child = table.first_child(); child; child = child.next_sibling()) {
    if (IsNamed(child, "w:tr")) return true;
    if ((IsNamed(child, "w:sdt") && HasRow(child.child("w:sdtContent"))) ||
        (IsNamed(child, "w:customXml") && HasRow(child)))
      return true;
  }
  return false;
}

}  // namespace

void RemoveRow(pugi::xml_node row) {
  pugi::xml_node table = row.parent();
  while (table && !IsNamed(table, "w:tbl")) table = table.parent();
  RemoveBlock(row);
  if (table && !HasRow(table) && table.parent()) RemoveBlock(table);
}

// A deletion that runs from the start of a paragraph to the end of the story leaves the story's last
// paragraph empty: it stands for the first deleted paragraph, and takes its properties rather than
// keeping (say) the numbering of the last one.
void TakeParagraphProperties(pugi::xml_node paragraph, pugi::xml_node from) {
  pugi::xml_node section;
  if (pugi::xml_node own = paragraph.child("w:pPr")) {
    if (pugi::xml_node ownSection = own.child("w:sectPr")) section = ownSection;
  }
  pugi::xml_document keep;
  if (section) section = keep.append_copy(section);
  paragraph.remove_child("w:pPr");
  if (pugi::xml_node properties = from.child("w:pPr")) {
    pugi::xml_node copy = paragraph.prepend_copy(properties);
    copy.remove_child("w:sectPr");
  }
  if (section) {
    pugi::xml_node properties = EnsureParagraphProperties(paragraph);
    if (pugi::xml_node change = properties.child("w:pPrChange"))
      properties.insert_copy_before(section, change);
    else
      properties.append_copy(section);
  }
}

}  // namespace scrivano::word
