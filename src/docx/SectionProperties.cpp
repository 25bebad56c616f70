#include "docx/SectionProperties.h"

#include "docx/DocumentXml.h"

namespace scrivano::word {

std::vector<pugi::xml_node> Sections(Story& story) {
  std::vector<pugi::xml_node> sections;
  for (int i = 0; i < story.ParagraphCount(); ++i) {
    const StoryParagraph& paragraph = story.ParagraphAt(i);
    if (paragraph.kind == ParagraphKind::kRowEnd) continue;
    if (pugi::xml_node section = paragraph.node.child("w:pPr").child("w:sectPr")) sections.push_back(section);
  }
  if (pugi::xml_node section = story.Container().child("w:sectPr")) sections.push_back(section);
  return sections;
}

bool StartsNewPage(pugi::xml_node section) {
  const std::string type = section.child("w:type").attribute("w:val").value();
  return type.empty() || type == "nextPage" || type == "evenPage" || type == "oddPage";
}

pugi::xml_node EnsurePageSize(pugi::xml_node section) {
  if (pugi::xml_node existing = section.child("w:pgSz")) return existing;
  static const char* const kAfter[] = {"w:pgMar",     "w:paperSrc", "w:pgBorders",       "w:lnNumType",
                                       "w:pgNumType", "w:cols",     "w:formProt",        "w:vAlign",
                                       "w:noEndnote", "w:titlePg",  "w:textDirection",   "w:bidi",
                                       "w:rtlGutter", "w:docGrid",  "w:printerSettings", "w:sectPrChange"};
  for (pugi::xml_node child = section.first_child(); child; child = child.next_sibling())
    for (const char* name : kAfter)
      if (IsNamed(child, name)) return section.insert_child_before("w:pgSz", child);
  return section.append_child("w:pgSz");
}

}  // namespace scrivano::word
