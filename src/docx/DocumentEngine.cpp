#include "docx/DocumentEngine.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "docx/OfficeConversion.h"
#include "docx/RangeMarks.h"
#include "docx/SectionProperties.h"
#include "text/FileBytes.h"

namespace scrivano::word {
namespace {

constexpr char kRelationshipsNamespace[] = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kContentTypesNamespace[] = "http://schemas.openxmlformats.org/package/2006/content-types";
constexpr char kOfficeDocumentType[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
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

// A password-protected .docx is not a zip package but a compound file holding the encrypted package
// under the stream name "EncryptedPackage" (UTF-16 in the directory).
bool IsEncryptedPackage(const std::string& bytes) {
  static const std::string kCompoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  if (bytes.compare(0, kCompoundFile.size(), kCompoundFile) != 0) return false;
  std::string streamName;
  for (const char ch : std::string("EncryptedPackage")) streamName += {ch, '\0'};
  return bytes.find(streamName) != std::string::npos;
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
  if (IsEncryptedPackage(bytes))
    return fail(OpenFailure::kEncrypted,
                "the document is encrypted (protected by a password to open); save "
                "it without the password and try again");
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
  saveError_.clear();
  try {
    bytes = SaveToBytes();
  } catch (const DocumentError& problem) {
    saveError_ = problem.what();
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
    bool deleted = main_->DeletedBlocks();
    for (const auto& [node, story] : boxes_) deleted = deleted || story->DeletedBlocks();
    // After a deletion nothing may refer to what it took.
    if (deleted) RemoveUnmatchedRangeMarks(xml_.document_element());
    SyncTextBoxFallbacks();
    package_->WritePart(mainPart_, SerializeXml(xml_));
  }
  if (stylesChanged_) package_->WritePart(stylesPart_, SerializeXml(stylesXml_));
  if (relationshipsChanged_)
    package_->WritePart(RelationshipPartFor(mainPart_), SerializeXml(relationships_));
  if (contentTypesChanged_) package_->WritePart("[Content_Types].xml", SerializeXml(contentTypes_));
  return package_->Save();
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
  const std::string extension = PartExtension(wantedName);
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
  const std::string extension = PartExtension(partName);
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

}  // namespace scrivano::word
