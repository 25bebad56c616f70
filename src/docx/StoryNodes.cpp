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

}  // namespace scrivano::word
