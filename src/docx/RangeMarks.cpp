#include "docx/RangeMarks.h"

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace scrivano::word {
namespace {

struct MarkKind {
  const char* start;
  const char* end;
};

constexpr std::array<MarkKind, 5> kKinds = {{{"w:bookmarkStart", "w:bookmarkEnd"},
                                             {"w:commentRangeStart", "w:commentRangeEnd"},
                                             {"w:permStart", "w:permEnd"},
                                             {"w:moveFromRangeStart", "w:moveFromRangeEnd"},
                                             {"w:moveToRangeStart", "w:moveToRangeEnd"}}};
constexpr size_t kCommentKind = 1;

struct Found {
  std::vector<pugi::xml_node> starts, ends;
};

// Visits every element under root in document order, without recursion (documents may nest deeply).
template <typename Visit>
void ForEachElement(pugi::xml_node root, Visit visit) {
  pugi::xml_node node = root.first_child();
  while (node) {
    if (node.type() == pugi::node_element) visit(node);
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && node != root && !node.next_sibling()) node = node.parent();
    if (!node || node == root) break;
    node = node.next_sibling();
  }
}

}  // namespace

int RemoveUnmatchedRangeMarks(pugi::xml_node root) {
  std::array<std::map<std::string, Found>, kKinds.size()> marks;
  std::map<std::string, bool> commentReferences;
  ForEachElement(root, [&](pugi::xml_node element) {
    const char* name = element.name();
    if (std::strcmp(name, "w:commentReference") == 0) {
      commentReferences[element.attribute("w:id").value()] = true;
      return;
    }
    for (size_t kind = 0; kind < kKinds.size(); ++kind) {
      if (std::strcmp(name, kKinds[kind].start) == 0)
        marks[kind][element.attribute("w:id").value()].starts.push_back(element);
      else if (std::strcmp(name, kKinds[kind].end) == 0)
        marks[kind][element.attribute("w:id").value()].ends.push_back(element);
    }
  });
  int removed = 0;
  auto removeAll = [&removed](const std::vector<pugi::xml_node>& nodes) {
    for (pugi::xml_node node : nodes) {
      node.parent().remove_child(node);
      ++removed;
    }
  };
  for (size_t kind = 0; kind < kKinds.size(); ++kind) {
    for (const auto& [id, found] : marks[kind]) {
      const bool orphaned = kind == kCommentKind && !commentReferences.count(id);
      if (orphaned || found.ends.empty()) removeAll(found.starts);
      if (orphaned || found.starts.empty()) removeAll(found.ends);
    }
  }
  return removed;
}

}  // namespace scrivano::word
