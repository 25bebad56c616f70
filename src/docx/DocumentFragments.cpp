#include "docx/DocumentEngine.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace scrivano::word {

// What Copy keeps for Paste: copies of the paragraphs and tables, and what they refer to in their
// document (related parts such as pictures, styles, namespace declarations), so that they can be pasted
// into another document.
struct Fragment {
  struct Resource {
    std::string type;
    std::string target;
    bool external = false;
    std::string partName;
    std::string bytes;
    std::string contentType;
  };
  pugi::xml_document xml;  // <fragment><blocks/><styles/><namespaces/></fragment>
  bool endsWithMark = false;
  const Document* source = nullptr;  // identity only; the document may be gone
  std::map<std::string, Resource> resources;
};

namespace {

void RemoveElements(pugi::xml_node node, const std::set<std::string>& names) {
  for (pugi::xml_node child = node.first_child(); child;) {
    pugi::xml_node next = child.next_sibling();
    if (child.type() == pugi::node_element && names.count(child.name()))
      node.remove_child(child);
    else
      RemoveElements(child, names);
    child = next;
  }
}

// What must not be doubled in a document: bookmarks, comment anchors, note references, paragraph ids.
void ScrubFragment(pugi::xml_node blocks) {
  RemoveElements(blocks, {"w:bookmarkStart", "w:bookmarkEnd", "w:commentRangeStart", "w:commentRangeEnd",
                          "w:commentReference", "w:footnoteReference", "w:endnoteReference", "w:permStart",
                          "w:permEnd"});
  for (pugi::xpath_node found : blocks.select_nodes(".//w:p")) {
    found.node().remove_attribute("w14:paraId");
    found.node().remove_attribute("w14:textId");
  }
  for (pugi::xpath_node found : blocks.select_nodes(".//w:r[not(*[local-name()!='rPr'])]"))
    found.node().parent().remove_child(found.node());
}

bool IsRelationshipAttribute(const char* name) {
  static const char* const kNames[] = {"r:id", "r:embed", "r:link", "r:pict", "r:dm",
                                       "r:lo", "r:qs",    "r:cs",   "o:relid"};
  for (const char* known : kNames)
    if (std::strcmp(name, known) == 0) return true;
  return false;
}

template <typename Visit>
void ForEachAttribute(pugi::xml_node node, Visit visit) {
  for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
       attribute = attribute.next_attribute())
    visit(attribute);
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element) ForEachAttribute(child, visit);
}

void CollectResources(Document& document, pugi::xml_node blocks, Fragment& fragment) {
  ForEachAttribute(blocks, [&](pugi::xml_attribute attribute) {
    if (!IsRelationshipAttribute(attribute.name())) return;
    const std::string id = attribute.value();
    if (fragment.resources.count(id)) return;
    const pugi::xml_node relationship = document.RelationshipFor(id);
    if (!relationship) return;
    Fragment::Resource resource;
    resource.type = relationship.attribute("Type").value();
    resource.target = relationship.attribute("Target").value();
    resource.external = std::string(relationship.attribute("TargetMode").value()) == "External";
    if (!resource.external) {
      resource.partName = ResolvePartTarget(document.MainPartName(), resource.target);
      try {
        resource.bytes = document.ReadPackagePart(resource.partName);
      } catch (const DocumentError&) {
        return;
      }
      resource.contentType = document.ContentTypeOf(resource.partName);
    }
    fragment.resources[id] = std::move(resource);
  });
}

void CollectStyles(Document& document, pugi::xml_node blocks, pugi::xml_node styles) {
  const pugi::xml_node root = document.StylesRoot();
  if (!root) return;
  std::set<std::string> wanted;
  for (const char* query : {".//w:pStyle", ".//w:rStyle", ".//w:tblStyle"})
    for (pugi::xpath_node found : blocks.select_nodes(query))
      wanted.insert(found.node().attribute("w:val").value());
  std::set<std::string> copied;
  while (!wanted.empty()) {
    const std::string id = *wanted.begin();
    wanted.erase(wanted.begin());
    if (id.empty() || !copied.insert(id).second) continue;
    for (pugi::xml_node style = root.child("w:style"); style; style = style.next_sibling("w:style")) {
      if (id != style.attribute("w:styleId").value()) continue;
      styles.append_copy(style);
      for (const char* link : {"w:basedOn", "w:link", "w:next"})
        wanted.insert(style.child(link).attribute("w:val").value());
      break;
    }
  }
}

// Makes pasted content from another document valid here: its related parts are copied in under new
// relationship ids, missing styles are added, numbering (whose definitions stay behind) is dropped, and
// drawings get ids of this document.
void AdoptForeignContent(Document& document, const Fragment& fragment, pugi::xml_node blocks) {
  document.AdoptNamespaces(fragment.xml.child("fragment").child("namespaces"));
  std::map<std::string, std::string> newIds;
  const std::string folder = PartFolder(document.MainPartName());
  for (const auto& [id, resource] : fragment.resources) {
    if (resource.external) {
      newIds[id] = document.AddRelationship(resource.type, resource.target, true);
      continue;
    }
    const std::string part = document.AddPackagePart(resource.partName, resource.bytes, resource.contentType);
    const std::string target = !folder.empty() && part.compare(0, folder.size() + 1, folder + "/") == 0
                                   ? part.substr(folder.size() + 1)
                                   : "/" + part;
    newIds[id] = document.AddRelationship(resource.type, target, false);
  }
  ForEachAttribute(blocks, [&](pugi::xml_attribute attribute) {
    if (!IsRelationshipAttribute(attribute.name())) return;
    const auto found = newIds.find(attribute.value());
    if (found != newIds.end()) attribute.set_value(found->second.c_str());
  });

  bool stylesAdded = false;
  if (pugi::xml_node root = document.StylesRoot()) {
    for (pugi::xml_node style = fragment.xml.child("fragment").child("styles").child("w:style"); style;
         style = style.next_sibling("w:style")) {
      if (document.Styles().HasStyle(style.attribute("w:styleId").value())) continue;
      root.append_copy(style);
      stylesAdded = true;
    }
  }
  if (stylesAdded) document.StylesChanged();
  for (const char* query : {".//w:pStyle", ".//w:rStyle", ".//w:tblStyle"})
    for (pugi::xpath_node found : blocks.select_nodes(query))
      if (!document.Styles().HasStyle(found.node().attribute("w:val").value()))
        found.node().parent().remove_child(found.node());
  RemoveElements(blocks, {"w:numPr"});
  for (pugi::xpath_node found : blocks.select_nodes(".//wp:docPr"))
    found.node().attribute("id").set_value(document.NextDrawingId());
}

// The outermost table holding the paragraph at index that begins there and lies wholly in [start, end).
pugi::xml_node WholeTableAt(Story& story, int index, int start, int end, int& lastIndex) {
  std::vector<pugi::xml_node> tables;
  for (pugi::xml_node up = story.ParagraphAt(index).node.parent(); up && up != story.Container();
       up = up.parent())
    if (IsNamed(up, "w:tbl")) tables.push_back(up);
  if (story.ParagraphAt(index).kind == ParagraphKind::kRowEnd) tables.insert(tables.begin(), {});
  for (auto table = tables.rbegin(); table != tables.rend(); ++table) {
    if (!*table) continue;
    auto inside = [&](int i) {
      for (pugi::xml_node up = story.ParagraphAt(i).node.parent(); up; up = up.parent())
        if (up == *table) return true;
      return false;
    };
    if (index > 0 && inside(index - 1)) continue;  // the table began earlier
    int last = index;
    while (last + 1 < story.ParagraphCount() && inside(last + 1)) ++last;
    if (story.ParagraphStart(index) >= start && story.ParagraphStart(last) + 1 <= end) {
      lastIndex = last;
      return *table;
    }
  }
  return {};
}

}  // namespace

// ---- Copy and Paste ----

void Range::Copy() {
  const std::shared_ptr<Application> owner = document_->Owner();
  if (!owner || !Usable()) return;
  auto fragment = std::make_shared<Fragment>();
  fragment->source = document_.get();
  pugi::xml_node root = fragment->xml.append_child("fragment");
  pugi::xml_node blocks = root.append_child("blocks");
  pugi::xml_node namespaces = root.append_child("namespaces");
  for (pugi::xml_attribute attribute = document_->Root().first_attribute(); attribute;
       attribute = attribute.next_attribute())
    if (std::strncmp(attribute.name(), "xmlns:", 6) == 0)
      namespaces.append_attribute(attribute.name()) = attribute.value();

  Story& story = *story_;
  const int start = anchorStart, end = anchorEnd;
  for (int index = story.ParagraphIndexAt(start);
       start < end && index < story.ParagraphCount() && story.ParagraphStart(index) < end; ++index) {
    int lastIndex = index;
    if (const pugi::xml_node table = WholeTableAt(story, index, start, end, lastIndex)) {
      blocks.append_copy(table);
      fragment->endsWithMark = true;
      index = lastIndex;
      continue;
    }
    const StoryParagraph& paragraph = story.ParagraphAt(index);
    if (paragraph.kind == ParagraphKind::kRowEnd) continue;
    const int at = story.ParagraphStart(index), mark = paragraph.Length() - 1;
    const int from = std::max(start, at) - at, to = std::min(end, at + paragraph.Length()) - at;
    pugi::xml_node copy = blocks.append_copy(paragraph.node);
    KeepInlineRange(copy, from, std::min(to, mark));
    copy.child("w:pPr").remove_child("w:sectPr");
    fragment->endsWithMark = to > mark;
  }
  ScrubFragment(blocks);
  CollectResources(*document_, blocks, *fragment);
  CollectStyles(*document_, blocks, root.append_child("styles"));
  owner->clipboard = fragment;
}

void Range::Paste() {
  const std::shared_ptr<Application> owner = document_->Owner();
  if (!owner || !owner->clipboard || !Usable()) return;
  const Fragment& fragment = *owner->clipboard;
  pugi::xml_document local;
  pugi::xml_node blocks = local.append_copy(fragment.xml.child("fragment").child("blocks"));
  if (fragment.source != document_.get()) AdoptForeignContent(*document_, fragment, blocks);
  std::vector<pugi::xml_node> all;
  for (pugi::xml_node block = blocks.first_child(); block; block = block.next_sibling())
    if (block.type() == pugi::node_element) all.push_back(block);
  if (all.empty()) return;

  story_->Delete(anchorStart, anchorEnd);
  const bool inlineOnly = all.size() == 1 && !fragment.endsWithMark && IsNamed(all[0], "w:p");
  pugi::xml_node firstInline, lastInline;
  size_t from = 0, to = all.size();
  if (inlineOnly) {
    firstInline = all[0];
    to = 0;
  } else {
    if (IsNamed(all[0], "w:p")) firstInline = all[from++];
    if (!fragment.endsWithMark && to > from && IsNamed(all[to - 1], "w:p")) lastInline = all[--to];
  }
  const std::vector<pugi::xml_node> middle(all.begin() + static_cast<long>(from),
                                           all.begin() + static_cast<long>(std::max(from, to)));
  int at = anchorStart;
  const int count = story_->InsertBlocks(anchorStart, firstInline, middle, lastInline, inlineOnly, &at);
  if (isSelection_)
    SetExtent(at + count, at + count);
  else
    SetExtent(at, at + count);
}

void DropClipboardTextBoxes(Application& application) {
  if (!application.clipboard) return;
  pugi::xml_node blocks = application.clipboard->xml.child("fragment").child("blocks");
  std::vector<pugi::xml_node> boxes;
  for (pugi::xpath_node found : blocks.select_nodes(".//w:txbxContent[not(ancestor::w:txbxContent)]")) {
    // The run's child that holds the box: w:drawing, w:pict or mc:AlternateContent.
    pugi::xml_node holder = found.node();
    while (holder.parent() && !IsNamed(holder.parent(), "w:r")) holder = holder.parent();
    if (holder.parent() && std::find(boxes.begin(), boxes.end(), holder) == boxes.end())
      boxes.push_back(holder);
  }
  for (pugi::xml_node holder : boxes) {
    pugi::xml_node run = holder.parent();
    run.remove_child(holder);
    if (!run.find_child([](pugi::xml_node child) { return !IsNamed(child, "w:rPr"); }))
      run.parent().remove_child(run);
  }
}

}  // namespace scrivano::word
