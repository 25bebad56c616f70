#include "docx/DocumentEngine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

#include "docx/OfficeConversion.h"
#include "text/FileBytes.h"

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

constexpr char kRelationshipsNamespace[] = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kContentTypesNamespace[] = "http://schemas.openxmlformats.org/package/2006/content-types";
constexpr char kOfficeDocumentType[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string FolderOf(const std::string& partName) {
  const size_t slash = partName.rfind('/');
  return slash == std::string::npos ? std::string() : partName.substr(0, slash);
}

std::string ExtensionOf(const std::string& partName) {
  const size_t dot = partName.rfind('.');
  const size_t slash = partName.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = partName.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return extension;
}

const char kBlankContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(</Types>)";
const char kBlankPackageRelationships[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";
const char kBlankDocumentRelationships[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";
const char kBlankDocument[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:document xmlns:wpc="http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas")"
    R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006")"
    R"( xmlns:o="urn:schemas-microsoft-com:office:office")"
    R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")"
    R"( xmlns:m="http://schemas.openxmlformats.org/officeDocument/2006/math" xmlns:v="urn:schemas-microsoft-com:vml")"
    R"( xmlns:wp14="http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing")"
    R"( xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing")"
    R"( xmlns:w10="urn:schemas-microsoft-com:office:word")"
    R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
    R"( xmlns:w14="http://schemas.microsoft.com/office/word/2010/wordml")"
    R"( xmlns:wpg="http://schemas.microsoft.com/office/word/2010/wordprocessingGroup")"
    R"( xmlns:wps="http://schemas.microsoft.com/office/word/2010/wordprocessingShape")"
    R"( xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main")"
    R"( xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture" mc:Ignorable="w14 wp14">)"
    R"(<w:body><w:p/><w:sectPr><w:pgSz w:w="11906" w:h="16838"/>)"
    R"(<w:pgMar w:top="1440" w:right="1800" w:bottom="1440" w:left="1800" w:header="851" w:footer="992" w:gutter="0"/>)"
    R"(</w:sectPr></w:body></w:document>)";
const char kBlankStyles[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val="21"/><w:szCs w:val="21"/><w:lang w:val="en-US" w:eastAsia="zh-CN"/></w:rPr></w:rPrDefault>)"
    R"(<w:pPrDefault/></w:docDefaults>)"
    R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/><w:qFormat/></w:style>)"
    R"(<w:style w:type="character" w:default="1" w:styleId="DefaultParagraphFont"><w:name w:val="Default Paragraph Font"/></w:style>)"
    R"(</w:styles>)";

// All section properties of the main text in order: those that end a section inside the text, then the
// body's own, which ends the last section.
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

// Applies Word's letter-case rule for replacements when case is not matched: a found text in capitals
// gives the replacement in capitals, a found text with a capital first letter gives the replacement one.
Text MatchLetterCase(const Text& found, Text replacement) {
  bool hasLetter = false, allUpper = true;
  for (const char16_t ch : found) {
    if (ch >= u'a' && ch <= u'z') allUpper = false;
    if ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z')) hasLetter = true;
  }
  if (!hasLetter) return replacement;
  if (allUpper && found.size() > 1) {
    MakeUpper(replacement);
  } else if (!found.empty() && found[0] >= u'A' && found[0] <= u'Z' && !replacement.empty() &&
             replacement[0] >= u'a' && replacement[0] <= u'z') {
    replacement[0] = static_cast<char16_t>(replacement[0] - 32);
  }
  return replacement;
}

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
  const std::string folder = FolderOf(document.MainPartName());
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

std::string BlankPackageBytes() {
  DocumentPackage package;
  package.WritePart("[Content_Types].xml", kBlankContentTypes);
  package.WritePart("_rels/.rels", kBlankPackageRelationships);
  package.WritePart("word/document.xml", kBlankDocument);
  package.WritePart("word/_rels/document.xml.rels", kBlankDocumentRelationships);
  package.WritePart("word/styles.xml", kBlankStyles);
  return package.Save();
}

// ---- Application and Documents ----

std::shared_ptr<Application> Application::Create() {
  return std::shared_ptr<Application>(new Application());
}

Application::~Application() {
  for (const auto& document : documents_) {
    document->closed_ = true;
    document->selection_.reset();  // the selection refers back to its document
  }
}

std::shared_ptr<word::Documents> Application::Documents() {
  return std::make_shared<word::Documents>(shared_from_this());
}

std::shared_ptr<Document> Application::ActiveDocument() {
  return documents_.empty() ? nullptr : documents_.front();
}

std::shared_ptr<word::Selection> Application::Selection() {
  const std::shared_ptr<Document> active = ActiveDocument();
  return active ? active->SelectionObject() : nullptr;
}

int Documents::Count() const {
  return static_cast<int>(application_->documents_.size());
}

std::shared_ptr<Document> Documents::Item(int index) const {
  if (index < 1 || index > Count()) return nullptr;
  return application_->documents_[static_cast<size_t>(index) - 1];
}

std::shared_ptr<Document> Documents::Add() {
  std::shared_ptr<Document> document = Document::Load(application_, BlankPackageBytes(), Text());
  ++application_->createdCount_;
  application_->documents_.insert(application_->documents_.begin(), document);
  return document;
}

std::shared_ptr<Document> Documents::Open(TextView path, OpenFailure* failure, std::string* reason) {
  auto fail = [&](OpenFailure kind, std::string why) -> std::shared_ptr<Document> {
    if (failure) *failure = kind;
    if (reason) *reason = std::move(why);
    return nullptr;
  };
  if (failure) *failure = OpenFailure::kNone;
  std::error_code error;
  const std::filesystem::path native(PathToNative(path));
  const std::string key = std::filesystem::weakly_canonical(native, error).string();
  // A document opened again is brought to the front as it is, unsaved changes and all.
  auto& open = application_->documents_;
  for (auto found = open.begin(); found != open.end(); ++found) {
    if (key.empty() || (*found)->openKey_ != key) continue;
    std::shared_ptr<Document> again = *found;
    open.erase(found);
    open.insert(open.begin(), again);
    return again;
  }

  std::string bytes;
  if (!PathExists(path) || !ReadFileBytes(path, bytes))
    return fail(OpenFailure::kMissing, "cannot read the file");
  if (NeedsConversion(path, bytes)) {
    if (OfficeConverterProgram().empty())
      return fail(OpenFailure::kNoConverter, "no office converter is installed");
    std::string converted, why;
    if (!ConvertToDocx(path, converted, why)) return fail(OpenFailure::kUnreadable, why);
    bytes = std::move(converted);
  }
  std::shared_ptr<Document> document;
  try {
    document = Document::Load(application_, std::move(bytes), Text(path));
  } catch (const DocumentError& problem) {
    return fail(OpenFailure::kUnreadable, problem.what());
  }
  document->openKey_ = key;
  application_->documents_.insert(application_->documents_.begin(), document);
  return document;
}

// ---- Document ----

std::shared_ptr<Document> Document::Load(const std::shared_ptr<Application>& application, std::string bytes,
                                         Text fullName) {
  std::shared_ptr<Document> document(new Document());
  document->application_ = application;
  document->fullName_ = std::move(fullName);
  document->package_ = std::make_unique<DocumentPackage>(std::move(bytes));

  // 1. The main part, as the package's relationships name it.
  document->mainPart_ = "word/document.xml";
  if (document->package_->HasPart("_rels/.rels")) {
    pugi::xml_document relationships;
    ParseXml(document->package_->ReadPart("_rels/.rels"), relationships, "_rels/.rels");
    for (pugi::xml_node relationship : relationships.child("Relationships").children("Relationship"))
      if (std::string(relationship.attribute("Type").value()) == kOfficeDocumentType)
        document->mainPart_ = ResolvePartTarget("", relationship.attribute("Target").value());
  }
  if (!document->package_->HasPart(document->mainPart_)) throw DocumentError("the package holds no document");
  ParseXml(document->package_->ReadPart(document->mainPart_), document->xml_, document->mainPart_);
  pugi::xml_node root = document->xml_.document_element();
  if (!IsNamed(root, "w:document")) throw DocumentError("the package holds no word-processing document");
  pugi::xml_node body = root.child("w:body");
  if (!body) body = root.append_child("w:body");
  document->main_ = std::make_shared<Story>(body);

  // 2. Styles, for font sizes and indents.
  document->LoadRelationships();
  for (pugi::xml_node relationship :
       document->relationships_.child("Relationships").children("Relationship")) {
    if (!EndsWith(relationship.attribute("Type").value(), "/styles")) continue;
    document->stylesPart_ = ResolvePartTarget(document->mainPart_, relationship.attribute("Target").value());
    if (document->package_->HasPart(document->stylesPart_)) {
      ParseXml(document->package_->ReadPart(document->stylesPart_), document->stylesXml_,
               document->stylesPart_);
      document->styles_.Load(document->stylesXml_);
    }
  }
  document->selection_ = std::make_shared<word::Selection>(document, document->main_, 0, 0);
  return document;
}

Document::~Document() = default;

std::shared_ptr<word::Paragraphs> Document::Paragraphs() {
  return std::make_shared<word::Paragraphs>(shared_from_this(), main_, nullptr);
}

std::shared_ptr<Range> Document::Content() {
  return std::make_shared<Range>(shared_from_this(), main_, 0, main_->Length());
}

std::shared_ptr<Window> Document::ActiveWindow() {
  return std::make_shared<Window>(shared_from_this());
}

std::shared_ptr<word::Shapes> Document::Shapes() {
  return std::make_shared<word::Shapes>(shared_from_this());
}

std::shared_ptr<word::PageSetup> Document::PageSetup() {
  return std::make_shared<word::PageSetup>(shared_from_this());
}

std::shared_ptr<word::Selection> Document::SelectionObject() {
  // A closed document keeps no selection: it would keep the document alive.
  if (closed_) return std::make_shared<word::Selection>(shared_from_this(), main_, 0, 0);
  if (!selection_) selection_ = std::make_shared<word::Selection>(shared_from_this(), main_, 0, 0);
  return selection_;
}

bool Document::SaveAs(TextView path, int) {
  std::string bytes;
  try {
    bytes = SaveToBytes();
  } catch (const DocumentError&) {
    return false;
  }
  if (!WriteFileBytesAtomically(path, bytes)) return false;
  fullName_ = Text(path);
  std::error_code error;
  openKey_ = std::filesystem::weakly_canonical(std::filesystem::path(PathToNative(path)), error).string();
  return true;
}

void Document::Close() {
  closed_ = true;
  selection_.reset();
  if (const std::shared_ptr<Application> owner = application_.lock()) {
    auto& open = owner->documents_;
    open.erase(std::remove(open.begin(), open.end(), shared_from_this()), open.end());
  }
}

std::uint64_t Document::Revision() const {
  std::uint64_t revision = ownRevision_ + main_->Revision();
  for (const auto& [node, story] : boxes_) revision += story->Revision();
  return revision;
}

std::string Document::SaveToBytes() {
  bool repaired = main_->RepairedOnLoad();
  for (const auto& [node, story] : boxes_) repaired = repaired || story->RepairedOnLoad();
  if (Revision() > 0 || repaired) {
    SyncTextBoxFallbacks();
    package_->WritePart(mainPart_, SerializeXml(xml_));
  }
  if (stylesChanged_) package_->WritePart(stylesPart_, SerializeXml(stylesXml_));
  if (relationshipsChanged_)
    package_->WritePart(RelationshipPartFor(mainPart_), SerializeXml(relationships_));
  if (contentTypesChanged_) package_->WritePart("[Content_Types].xml", SerializeXml(contentTypes_));
  return package_->Save();
}

std::vector<Document::ShapeInfo> Document::ShapeList() {
  std::vector<ShapeInfo> shapes;
  for (int i = 0; i < main_->ParagraphCount(); ++i) {
    for (const pugi::xml_node anchor : main_->ParagraphAt(i).anchors) {
      ShapeInfo info{anchor, {}, {}};
      if (IsNamed(anchor, "mc:AlternateContent")) {
        info.box = FirstDescendant(anchor.child("mc:Choice"), "w:txbxContent");
        info.fallbackBox = FirstDescendant(anchor.child("mc:Fallback"), "w:txbxContent");
      } else {
        info.box = FirstDescendant(anchor, "w:txbxContent");
      }
      shapes.push_back(info);
    }
  }
  // Text boxes whose shape was deleted with its paragraph are gone; their ranges no longer act.
  for (auto box = boxes_.begin(); box != boxes_.end();) {
    const bool present = std::any_of(shapes.begin(), shapes.end(), [&](const ShapeInfo& info) {
      return info.box.internal_object() == box->first;
    });
    if (present) {
      ++box;
      continue;
    }
    box->second->Kill();
    ownRevision_ += box->second->Revision();
    box = boxes_.erase(box);
  }
  return shapes;
}

std::shared_ptr<Story> Document::StoryOf(pugi::xml_node textBox) {
  auto& story = boxes_[textBox.internal_object()];
  if (!story) story = std::make_shared<Story>(textBox);
  return story;
}

void Document::SyncTextBoxFallbacks() {
  // The older copy of a text box's text (for programs that do not read the newer drawing) is kept equal
  // to the text the engine edited.
  for (ShapeInfo info : ShapeList()) {
    if (!info.box || !info.fallbackBox) continue;
    const auto found = boxes_.find(info.box.internal_object());
    if (found == boxes_.end() || found->second->Revision() == 0) continue;
    while (pugi::xml_node child = info.fallbackBox.first_child()) info.fallbackBox.remove_child(child);
    for (pugi::xml_node child = info.box.first_child(); child; child = child.next_sibling())
      info.fallbackBox.append_copy(child);
  }
}

std::vector<int> Document::PageStarts() {
  Story& story = *main_;
  const std::vector<pugi::xml_node> sections = Sections(story);
  std::vector<int> starts{0};
  size_t sectionIndex = 0;
  for (int i = 0; i < story.ParagraphCount(); ++i) {
    const StoryParagraph& paragraph = story.ParagraphAt(i);
    const int at = story.ParagraphStart(i);
    if (paragraph.kind == ParagraphKind::kRowEnd) continue;
    if (styles_.PageBreakBefore(paragraph.node)) starts.push_back(at);
    for (int k = 0; k < paragraph.Length(); ++k)
      if (paragraph.text[static_cast<size_t>(k)] == kPageBreakChar) starts.push_back(at + k + 1);
    for (const int mark : paragraph.pageMarks) starts.push_back(at + mark);
    if (paragraph.node.child("w:pPr").child("w:sectPr")) {
      if (sectionIndex + 1 < sections.size() && StartsNewPage(sections[sectionIndex + 1]))
        starts.push_back(at + paragraph.Length());
      ++sectionIndex;
    }
  }
  const int length = story.Length();
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  starts.erase(
      std::remove_if(starts.begin(), starts.end(), [&](int start) { return start > 0 && start >= length; }),
      starts.end());
  return starts;
}

void Document::LoadRelationships() {
  if (relationshipsLoaded_) return;
  relationshipsLoaded_ = true;
  const std::string part = RelationshipPartFor(mainPart_);
  if (package_->HasPart(part)) {
    ParseXml(package_->ReadPart(part), relationships_, part);
  } else {
    relationships_.append_child("Relationships").append_attribute("xmlns") = kRelationshipsNamespace;
  }
}

void Document::LoadContentTypes() {
  if (contentTypesLoaded_) return;
  contentTypesLoaded_ = true;
  if (package_->HasPart("[Content_Types].xml"))
    ParseXml(package_->ReadPart("[Content_Types].xml"), contentTypes_, "[Content_Types].xml");
  else
    contentTypes_.append_child("Types").append_attribute("xmlns") = kContentTypesNamespace;
}

pugi::xml_node Document::RelationshipFor(const std::string& id) {
  LoadRelationships();
  for (pugi::xml_node relationship : relationships_.child("Relationships").children("Relationship"))
    if (id == relationship.attribute("Id").value()) return relationship;
  return {};
}

std::string Document::AddRelationship(const std::string& type, const std::string& target, bool external) {
  LoadRelationships();
  pugi::xml_node root = relationships_.child("Relationships");
  std::string id;
  for (int number = 1;; ++number) {
    id = "rId" + std::to_string(number);
    if (!RelationshipFor(id)) break;
  }
  pugi::xml_node relationship = root.append_child("Relationship");
  relationship.append_attribute("Id") = id.c_str();
  relationship.append_attribute("Type") = type.c_str();
  relationship.append_attribute("Target") = target.c_str();
  if (external) relationship.append_attribute("TargetMode") = "External";
  relationshipsChanged_ = true;
  return id;
}

std::string Document::ReadPackagePart(const std::string& name) const {
  return package_->ReadPart(name);
}

bool Document::HasPart(const std::string& name) const {
  return package_->HasPart(name);
}

std::string Document::AddPackagePart(const std::string& wantedName, std::string bytes,
                                     const std::string& contentType) {
  std::string name = wantedName;
  const std::string extension = ExtensionOf(wantedName);
  const std::string stem =
      extension.empty() ? wantedName : wantedName.substr(0, wantedName.size() - extension.size() - 1);
  for (int number = 2; package_->HasPart(name); ++number)
    name = stem + "_" + std::to_string(number) + (extension.empty() ? "" : "." + extension);
  package_->WritePart(name, std::move(bytes));
  if (ContentTypeOf(name) != contentType && !contentType.empty()) {
    pugi::xml_node types = contentTypes_.child("Types");
    pugi::xml_node entry = types.append_child("Override");
    entry.append_attribute("PartName") = ("/" + name).c_str();
    entry.append_attribute("ContentType") = contentType.c_str();
    contentTypesChanged_ = true;
  }
  return name;
}

std::string Document::ContentTypeOf(const std::string& partName) {
  LoadContentTypes();
  const pugi::xml_node types = contentTypes_.child("Types");
  for (pugi::xml_node entry : types.children("Override"))
    if ("/" + partName == entry.attribute("PartName").value()) return entry.attribute("ContentType").value();
  const std::string extension = ExtensionOf(partName);
  for (pugi::xml_node entry : types.children("Default")) {
    std::string declared = entry.attribute("Extension").value();
    std::transform(declared.begin(), declared.end(), declared.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    if (declared == extension) return entry.attribute("ContentType").value();
  }
  return {};
}

void Document::StylesChanged() {
  stylesChanged_ = true;
  styles_ = StyleSheet();
  styles_.Load(stylesXml_);
}

int Document::NextDrawingId() {
  if (nextDrawingId_ == 0) {
    int highest = 0;
    for (pugi::xpath_node found : xml_.select_nodes("//wp:docPr"))
      highest = std::max(highest, found.node().attribute("id").as_int());
    nextDrawingId_ = highest + 1;
  }
  return nextDrawingId_++;
}

void Document::AdoptNamespaces(pugi::xml_node sourceRoot) {
  pugi::xml_node root = xml_.document_element();
  for (pugi::xml_attribute attribute = sourceRoot.first_attribute(); attribute;
       attribute = attribute.next_attribute()) {
    if (std::strncmp(attribute.name(), "xmlns:", 6) != 0 || root.attribute(attribute.name())) continue;
    root.append_attribute(attribute.name()) = attribute.value();
    NoteChange();
  }
}

// ---- Range and Selection ----

Range::Range(std::shared_ptr<Document> document, std::shared_ptr<Story> story, int start, int end)
    : document_(std::move(document)), story_(std::move(story)) {
  anchorStart = start;
  anchorEnd = std::max(start, end);
  story_->Register(this);
}

Range::~Range() {
  story_->Unregister(this);
}

Selection::Selection(std::shared_ptr<Document> document, std::shared_ptr<Story> story, int start, int end)
    : Range(std::move(document), std::move(story), start, end) {
  isSelection_ = true;
}

bool Range::Usable() const {
  return story_->Alive();
}

void Range::SetExtent(int start, int end) {
  const int length = story_->Length();
  anchorStart = std::clamp(start, 0, length);
  anchorEnd = std::clamp(end, anchorStart, length);
}

void Range::MoveToStory(std::shared_ptr<Story> story) {
  if (story == story_) return;
  story_->Unregister(this);
  story_ = std::move(story);
  story_->Register(this);
}

scrivano::Text Range::Text() {
  return Usable() ? story_->TextOf(anchorStart, anchorEnd) : scrivano::Text();
}

void Range::SetText(TextView text) {
  if (!Usable()) return;
  const RunFormat format = story_->FormatAt(anchorStart, anchorStart == anchorEnd);
  story_->Delete(anchorStart, anchorEnd);
  int at = anchorStart;
  const int count = story_->InsertText(anchorStart, text, format, &at);
  SetExtent(at, at + count);
}

void Range::SetStart(int start) {
  SetExtent(start, std::max(start, anchorEnd));
}

void Range::SetEnd(int end) {
  SetExtent(std::min(anchorStart, end), end);
}

void Range::SetRange(int start, int end) {
  SetExtent(start, std::max(start, end));
}

std::shared_ptr<word::Font> Range::Font() {
  return std::make_shared<word::Font>(shared_from_this());
}

void Range::InsertBefore(TextView text) {
  if (!Usable()) return;
  const int end = anchorEnd;
  int at = anchorStart;
  const int count = story_->InsertText(anchorStart, text, story_->FormatAt(anchorStart, false), &at);
  SetExtent(at, std::max(end, at) + count);
}

void Range::InsertAfter(TextView text) {
  if (!Usable()) return;
  const int start = anchorStart;
  // Nothing can follow a cell's end inside the cell: text after a range that ends with one goes to the
  // end of the cell, as Word puts it.
  const bool cellEnd = anchorEnd > anchorStart && story_->CharAt(anchorEnd - 1) == kCellMark;
  const int position = cellEnd ? anchorEnd - 1 : anchorEnd;
  int at = position;
  const int count = story_->InsertText(position, text, story_->FormatAt(position, true), &at);
  SetExtent(std::min(start, at), std::max(anchorEnd, at + count));
}

void Range::InsertBreak(int type) {
  const char16_t breakChar = type == kLineBreak     ? kLineBreakChar
                             : type == kPageBreak   ? kPageBreakChar
                             : type == kColumnBreak ? kColumnBreakChar
                                                    : 0;
  if (!breakChar) return;
  SetText(TextView(&breakChar, 1));
  SetExtent(anchorEnd, anchorEnd);
}

std::shared_ptr<Range> Range::GoTo(int what, int which, int count, int) {
  int target = anchorStart;
  if (what == kGoToPage && Usable() && story_ == document_->MainStory()) {
    const std::vector<int> starts = document_->PageStarts();
    const int pages = static_cast<int>(starts.size());
    auto pageOf = [&](int position) {
      return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin()) - 1;
    };
    int page = 0;
    switch (which) {
      case kGoToNext:
        page = pageOf(anchorEnd) + count;
        break;
      case kGoToPrevious:
        page = pageOf(anchorStart) - count;
        break;
      case kGoToLast:
        page = pages - 1;
        break;
      default:
        page = count - 1;
        break;
    }
    target = starts[static_cast<size_t>(std::clamp(page, 0, pages - 1))];
  }
  if (isSelection_) SetExtent(target, target);
  return std::make_shared<Range>(document_, story_, target, target);
}

std::shared_ptr<word::Paragraphs> Range::Paragraphs() {
  return std::make_shared<word::Paragraphs>(
      document_, story_, std::make_shared<Range>(document_, story_, anchorStart, anchorEnd));
}

std::shared_ptr<word::Find> Range::Find() {
  return std::make_shared<word::Find>(shared_from_this());
}

void Range::Select() {
  const std::shared_ptr<word::Selection> selection = document_->SelectionObject();
  if (selection.get() == this) return;
  selection->MoveToStory(story_);
  selection->SetExtent(anchorStart, anchorEnd);
}

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

// ---- Find, Replacement, Font ----

std::shared_ptr<word::Replacement> Find::Replacement() {
  if (!replacement_) replacement_ = std::make_shared<word::Replacement>();
  return replacement_;
}

std::shared_ptr<word::Font> Replacement::Font() {
  if (!font_) font_ = std::make_shared<word::Font>(nullptr);
  return font_;
}

bool Find::Execute(const FindArgs& args) {
  Range& range = *range_;
  if (!range.Usable()) return false;
  Story& story = *range.story_;
  const int size = static_cast<int>(PatternPositions(args.findText).size());
  if (size == 0) return false;
  const int length = story.Length();
  const bool continuing = range.foundExtent_ == std::make_pair(range.Start(), range.End());
  const bool collapsed = range.Start() == range.End();
  int found = -1;
  if (args.forward) {
    const int from = continuing ? range.End() : range.Start();
    const int limit = continuing || collapsed || args.wrap == kWrapContinue ? length : range.End();
    found = story.FindForward(args.findText, from, limit, args.matchCase, args.matchWholeWord);
    if (found < 0 && args.wrap == kWrapContinue)
      found = story.FindForward(args.findText, 0, std::min(length, from + size - 1), args.matchCase,
                                args.matchWholeWord);
  } else {
    const int from = continuing ? range.Start() : range.End();
    const int low = continuing || collapsed || args.wrap == kWrapContinue ? 0 : range.Start();
    found = story.FindBackward(args.findText, from, low, args.matchCase, args.matchWholeWord);
    if (found < 0 && args.wrap == kWrapContinue)
      found = story.FindBackward(args.findText, length, std::max(0, from - size + 1), args.matchCase,
                                 args.matchWholeWord);
  }
  if (found < 0) return false;
  range.SetExtent(found, found + size);
  if (args.replace != kReplaceNone) ReplaceMatch(args);
  range.foundExtent_ = std::make_pair(range.Start(), range.End());
  return true;
}

void Find::ReplaceMatch(const FindArgs& args) {
  // Only the part that differs is rewritten, so that characters the replacement keeps keep their
  // formatting; new characters take the formatting of the match's first character.
  Range& range = *range_;
  Story& story = *range.story_;
  const int start = range.Start(), end = range.End();
  const Text found = PatternPositions(story.TextOf(start, end));
  // Compared in positions, marks included: a replacement may keep the cell mark it was found with.
  Text replacement =
      PatternPositions(args.matchCase ? args.replaceWith : MatchLetterCase(found, args.replaceWith));
  Replace(replacement, u"\r\n", u"\r");
  Replace(replacement, u"\n", u"\r");
  size_t prefix = 0;
  while (prefix < found.size() && prefix < replacement.size() && found[prefix] == replacement[prefix])
    ++prefix;
  size_t suffix = 0;
  while (suffix < found.size() - prefix && suffix < replacement.size() - prefix &&
         found[found.size() - 1 - suffix] == replacement[replacement.size() - 1 - suffix])
    ++suffix;
  const RunFormat format = story.FormatAt(start, false);
  const int cutFrom = start + static_cast<int>(prefix);
  story.Delete(cutFrom, end - static_cast<int>(suffix));
  int at = cutFrom;
  const int count = story.InsertText(
      cutFrom, TextView(replacement).substr(prefix, replacement.size() - prefix - suffix), format, &at);
  range.SetExtent(start, std::max(range.End(), at + count));
  if (args.format && replacement_ && replacement_->Font()) {
    const std::shared_ptr<word::Font> font = replacement_->Font();
    const int from = range.Start(), to = range.End();
    if (font->PendingColor()) {
      const std::string hex = HexFromColor(*font->PendingColor());
      story.ChangeRunProperties(from, to, [&](pugi::xml_node properties) {
        pugi::xml_node color = EnsureRunProperty(properties, "w:color");
        color.remove_attributes();
        color.append_attribute("w:val") = hex.c_str();
      });
    }
    if (font->PendingSize()) {
      const std::string halfPoints = std::to_string(std::lround(*font->PendingSize() * 2));
      story.ChangeRunProperties(from, to, [&](pugi::xml_node properties) {
        for (const char* name : {"w:sz", "w:szCs"}) {
          pugi::xml_node size = EnsureRunProperty(properties, name);
          size.remove_attributes();
          size.append_attribute("w:val") = halfPoints.c_str();
        }
      });
    }
  }
}

float Font::Size() {
  if (!range_) return size_.value_or(static_cast<float>(kUndefined));
  Range& range = *range_;
  if (!range.Usable()) return static_cast<float>(kUndefined);
  Story& story = *range.story_;
  const StyleSheet& styles = range.document_->Styles();
  std::optional<float> size;
  bool mixed = false;
  story.ForEachRun(range.Start(), range.End(), [&](pugi::xml_node run, pugi::xml_node paragraph) {
    const float runSize = styles.RunSize(run, paragraph);
    if (!size)
      size = runSize;
    else if (*size != runSize)
      mixed = true;
  });
  if (mixed) return static_cast<float>(kUndefined);
  if (size) return *size;
  const RunFormat format = story.FormatAt(range.Start(), true);
  const pugi::xml_node paragraph = story.ParagraphAt(story.ParagraphIndexAt(range.Start())).node;
  return format.sourceRun ? styles.RunSize(format.sourceRun, paragraph) : styles.MarkSize(paragraph);
}

void Font::SetSize(float points) {
  if (!range_) {
    size_ = points;
    return;
  }
  if (!range_->Usable()) return;
  const std::string halfPoints = std::to_string(std::lround(points * 2));
  range_->story_->ChangeRunProperties(range_->Start(), range_->End(), [&](pugi::xml_node properties) {
    for (const char* name : {"w:sz", "w:szCs"}) {
      pugi::xml_node size = EnsureRunProperty(properties, name);
      size.remove_attributes();
      size.append_attribute("w:val") = halfPoints.c_str();
    }
  });
}

int Font::Color() {
  if (!range_) return color_.value_or(kColorAutomatic);
  if (!range_->Usable()) return kUndefined;
  std::optional<int> color;
  bool mixed = false;
  range_->story_->ForEachRun(range_->Start(), range_->End(), [&](pugi::xml_node run, pugi::xml_node) {
    const char* value = run.child("w:rPr").child("w:color").attribute("w:val").value();
    const int runColor = *value ? ColorFromHex(value) : kColorAutomatic;
    if (!color)
      color = runColor;
    else if (*color != runColor)
      mixed = true;
  });
  return mixed ? kUndefined : color.value_or(kColorAutomatic);
}

void Font::SetColor(int color) {
  if (!range_) {
    color_ = color;
    return;
  }
  if (!range_->Usable()) return;
  const std::string hex = HexFromColor(color);
  range_->story_->ChangeRunProperties(range_->Start(), range_->End(), [&](pugi::xml_node properties) {
    pugi::xml_node element = EnsureRunProperty(properties, "w:color");
    element.remove_attributes();
    element.append_attribute("w:val") = hex.c_str();
  });
}

// ---- Paragraphs and Paragraph ----

Paragraphs::Paragraphs(std::shared_ptr<Document> document, std::shared_ptr<Story> story,
                       std::shared_ptr<Range> scope)
    : document_(std::move(document)), story_(std::move(story)), scope_(std::move(scope)) {}

std::pair<int, int> Paragraphs::Span() {
  if (!scope_) return {0, story_->ParagraphCount() - 1};
  const int first = story_->ParagraphIndexAt(scope_->Start());
  const int last = scope_->End() > scope_->Start() ? story_->ParagraphIndexAt(scope_->End() - 1) : first;
  return {first, last};
}

int Paragraphs::Count() {
  if (!story_->Alive()) return 0;
  const auto [first, last] = Span();
  return last - first + 1;
}

std::shared_ptr<Paragraph> Paragraphs::Item(int index) {
  if (!story_->Alive()) return nullptr;
  const auto [first, last] = Span();
  const int at = first + index - 1;
  if (index < 1 || at > last) return nullptr;
  const int start = story_->ParagraphStart(at);
  return std::make_shared<Paragraph>(document_, story_, start, start + story_->ParagraphAt(at).Length());
}

Paragraph::Paragraph(std::shared_ptr<Document> document, std::shared_ptr<Story> story, int start, int end)
    : extent_(std::make_shared<word::Range>(std::move(document), std::move(story), start, end)) {}

const StoryParagraph* Paragraph::Current(int* index) {
  Story& story = *extent_->OwnStory();
  if (!story.Alive()) return nullptr;
  const int at = story.ParagraphIndexAt(extent_->Start());
  if (index) *index = at;
  return &story.ParagraphAt(at);
}

std::shared_ptr<Range> Paragraph::Range() {
  int index = 0;
  if (!Current(&index))
    return std::make_shared<word::Range>(extent_->ParentDocument(), extent_->OwnStory(), 0, 0);
  Story& story = *extent_->OwnStory();
  const int start = story.ParagraphStart(index);
  return std::make_shared<word::Range>(extent_->ParentDocument(), extent_->OwnStory(), start,
                                       start + story.ParagraphAt(index).Length());
}

float Paragraph::LeftIndent() {
  const StoryParagraph* paragraph = Current();
  if (!paragraph || paragraph->kind == ParagraphKind::kRowEnd) return 0.0f;
  return TwipsToPoints(extent_->ParentDocument()->Styles().Indent(paragraph->node).left.value_or(0.0));
}

float Paragraph::CharacterUnitFirstLineIndent() {
  const StoryParagraph* paragraph = Current();
  if (!paragraph || paragraph->kind == ParagraphKind::kRowEnd) return 0.0f;
  return static_cast<float>(
      extent_->ParentDocument()->Styles().Indent(paragraph->node).firstLineChars.value_or(0.0) / 100.0);
}

void Paragraph::SetCharacterUnitFirstLineIndent(float characters) {
  const StoryParagraph* paragraph = Current();
  if (!paragraph || paragraph->kind == ParagraphKind::kRowEnd) return;
  const StyleSheet& styles = extent_->ParentDocument()->Styles();
  pugi::xml_node node = paragraph->node;
  // A character is as wide as the font is high: the size of the paragraph's first run, or of its mark.
  float size = styles.MarkSize(node);
  for (const Piece& piece : paragraph->pieces)
    if (piece.kind != PieceKind::kMark) {
      size = styles.RunSize(piece.run, node);
      break;
    }
  pugi::xml_node indent = EnsureParagraphProperty(EnsureParagraphProperties(node), "w:ind");
  for (const char* name : {"w:firstLine", "w:hanging", "w:firstLineChars", "w:hangingChars"})
    indent.remove_attribute(name);
  const long hundredths = std::lround(std::fabs(characters) * 100.0f);
  const long twips = std::lround(std::fabs(characters) * size * 20.0f);
  indent.append_attribute(characters < 0 ? "w:hangingChars" : "w:firstLineChars") = hundredths;
  indent.append_attribute(characters < 0 ? "w:hanging" : "w:firstLine") = twips;
  extent_->OwnStory()->Touch();
}

// ---- PageSetup, Shapes ----

float PageSetup::PageHeight() {
  const std::vector<pugi::xml_node> sections = Sections(*document_->MainStory());
  if (sections.empty()) return 792.0f;
  const auto height = NumberAttribute(sections.front().child("w:pgSz"), "w:h");
  return height ? TwipsToPoints(*height) : 792.0f;
}

void PageSetup::SetPageHeight(float points) {
  const std::string twips = std::to_string(std::lround(points * 20.0f));
  for (pugi::xml_node section : Sections(*document_->MainStory())) {
    pugi::xml_node size = EnsurePageSize(section);
    if (!size.attribute("w:h")) size.append_attribute("w:h");
    size.attribute("w:h").set_value(twips.c_str());
  }
  document_->NoteChange();
}

int Shapes::Count() {
  return static_cast<int>(document_->ShapeList().size());
}

std::shared_ptr<Shape> Shapes::Item(int index) {
  const std::vector<Document::ShapeInfo> shapes = document_->ShapeList();
  if (index < 1 || index > static_cast<int>(shapes.size())) return nullptr;
  return std::make_shared<Shape>(document_, shapes[static_cast<size_t>(index) - 1]);
}

std::shared_ptr<TextFrame> Shape::TextFrame() {
  return std::make_shared<word::TextFrame>(document_, info_.box);
}

std::shared_ptr<Range> TextFrame::TextRange() {
  if (!box_) return nullptr;
  const std::shared_ptr<Story> story = document_->StoryOf(box_);
  return std::make_shared<Range>(document_, story, 0, story->Length());
}

}  // namespace scrivano::word
