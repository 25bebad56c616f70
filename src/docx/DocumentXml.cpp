#include "docx/DocumentXml.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <set>
#include <sstream>

#include "docx/DocumentPackage.h"
#include "docx/XmlReading.h"

namespace scrivano::word {
namespace {

// The sequence of CT_RPr (and of the run properties of a paragraph mark, which put the revision marks
// first).
constexpr const char* kRunPropertyOrder[] = {"w:ins",
                                             "w:del",
                                             "w:moveFrom",
                                             "w:moveTo",
                                             "w:rStyle",
                                             "w:rFonts",
                                             "w:b",
                                             "w:bCs",
                                             "w:i",
                                             "w:iCs",
                                             "w:caps",
                                             "w:smallCaps",
                                             "w:strike",
                                             "w:dstrike",
                                             "w:outline",
                                             "w:shadow",
                                             "w:emboss",
                                             "w:imprint",
                                             "w:noProof",
                                             "w:snapToGrid",
                                             "w:vanish",
                                             "w:webHidden",
                                             "w:color",
                                             "w:spacing",
                                             "w:w",
                                             "w:kern",
                                             "w:position",
                                             "w:sz",
                                             "w:szCs",
                                             "w:highlight",
                                             "w:u",
                                             "w:effect",
                                             "w:bdr",
                                             "w:shd",
                                             "w:fitText",
                                             "w:vertAlign",
                                             "w:rtl",
                                             "w:cs",
                                             "w:em",
                                             "w:lang",
                                             "w:eastAsianLayout",
                                             "w:specVanish",
                                             "w:oMath",
                                             "w:rPrChange"};

constexpr const char* kParagraphPropertyOrder[] = {"w:pStyle",
                                                   "w:keepNext",
                                                   "w:keepLines",
                                                   "w:pageBreakBefore",
                                                   "w:framePr",
                                                   "w:widowControl",
                                                   "w:numPr",
                                                   "w:suppressLineNumbers",
                                                   "w:pBdr",
                                                   "w:shd",
                                                   "w:tabs",
                                                   "w:suppressAutoHyphens",
                                                   "w:kinsoku",
                                                   "w:wordWrap",
                                                   "w:overflowPunct",
                                                   "w:topLinePunct",
                                                   "w:autoSpaceDE",
                                                   "w:autoSpaceDN",
                                                   "w:bidi",
                                                   "w:adjustRightInd",
                                                   "w:snapToGrid",
                                                   "w:spacing",
                                                   "w:ind",
                                                   "w:contextualSpacing",
                                                   "w:mirrorIndents",
                                                   "w:suppressOverlap",
                                                   "w:jc",
                                                   "w:textDirection",
                                                   "w:textAlignment",
                                                   "w:textboxTightWrap",
                                                   "w:outlineLvl",
                                                   "w:divId",
                                                   "w:cnfStyle",
                                                   "w:rPr",
                                                   "w:sectPr",
                                                   "w:pPrChange"};

template <size_t N>
int OrderOf(const char* const (&order)[N], const char* name) {
  for (size_t i = 0; i < N; ++i)
    if (std::strcmp(order[i], name) == 0) return static_cast<int>(i);
  return -1;
}

template <size_t N>
pugi::xml_node EnsureInOrder(pugi::xml_node parent, const char* name, const char* const (&order)[N]) {
  if (pugi::xml_node existing = parent.child(name)) return existing;
  const int rank = OrderOf(order, name);
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    const int childRank = OrderOf(order, child.name());
    if (childRank > rank) return parent.insert_child_before(name, child);
  }
  return parent.append_child(name);
}

std::optional<double> ReadNumber(const char* text) {
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text) return std::nullopt;
  return value;
}

}  // namespace

void ParseXml(const std::string& bytes, pugi::xml_document& document, const std::string& partName) {
  const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration |
                           pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype;
  const std::string text = DecodeXmlPart(bytes, partName);
  const pugi::xml_parse_result result =
      document.load_buffer(text.data(), text.size(), options, pugi::encoding_utf8);
  if (!result) throw DocumentError("damaged part " + partName + ": " + result.description());
  NormalizeXmlTree(document, partName);
}

std::string SerializeXml(const pugi::xml_document& document) {
  std::ostringstream out;
  document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

bool IsNamed(pugi::xml_node node, const char* name) {
  return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

pugi::xml_node FirstDescendant(pugi::xml_node node, const char* name) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (IsNamed(child, name)) return child;
    if (pugi::xml_node deeper = FirstDescendant(child, name)) return deeper;
  }
  return {};
}

pugi::xml_node EnsureRunProperties(pugi::xml_node run) {
  if (pugi::xml_node existing = run.child("w:rPr")) return existing;
  return run.prepend_child("w:rPr");
}

pugi::xml_node EnsureParagraphProperties(pugi::xml_node paragraph) {
  if (pugi::xml_node existing = paragraph.child("w:pPr")) return existing;
  return paragraph.prepend_child("w:pPr");
}

pugi::xml_node EnsureRunProperty(pugi::xml_node runProperties, const char* name) {
  return EnsureInOrder(runProperties, name, kRunPropertyOrder);
}

pugi::xml_node EnsureParagraphProperty(pugi::xml_node paragraphProperties, const char* name) {
  return EnsureInOrder(paragraphProperties, name, kParagraphPropertyOrder);
}

bool SameXml(pugi::xml_node a, pugi::xml_node b) {
  if (!a || !b) return !a && !b;
  if (a.type() != b.type() || std::strcmp(a.name(), b.name()) != 0 || std::strcmp(a.value(), b.value()) != 0)
    return false;
  pugi::xml_attribute x = a.first_attribute(), y = b.first_attribute();
  for (; x && y; x = x.next_attribute(), y = y.next_attribute())
    if (std::strcmp(x.name(), y.name()) != 0 || std::strcmp(x.value(), y.value()) != 0) return false;
  if (x || y) return false;
  pugi::xml_node c = a.first_child(), d = b.first_child();
  for (; c && d; c = c.next_sibling(), d = d.next_sibling())
    if (!SameXml(c, d)) return false;
  return !c && !d;
}

Text NodeText(pugi::xml_node element) {
  return FromUtf8(element.text().get());
}

void SetNodeText(pugi::xml_node textElement, TextView text) {
  const bool needsPreserve = !text.empty() && (IsWhiteSpace(text.front()) || IsWhiteSpace(text.back()));
  if (needsPreserve && !textElement.attribute("xml:space"))
    textElement.append_attribute("xml:space") = "preserve";
  textElement.text().set(ToUtf8(text).c_str());
}

int ColorFromHex(std::string_view hex) {
  if (hex.size() != 6) return kColorAutomatic;
  int rgb = 0;
  for (const char ch : hex) {
    int digit = 0;
    if (ch >= '0' && ch <= '9')
      digit = ch - '0';
    else if (ch >= 'a' && ch <= 'f')
      digit = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F')
      digit = ch - 'A' + 10;
    else
      return kColorAutomatic;
    rgb = rgb * 16 + digit;
  }
  const int red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  return red | (green << 8) | (blue << 16);
}

std::string HexFromColor(int color) {
  if (color == kColorAutomatic) return "auto";
  const int red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02X%02X%02X", red, green, blue);
  return buffer;
}

std::optional<double> NumberAttribute(pugi::xml_node node, const char* name) {
  if (!node) return std::nullopt;
  return ReadNumber(node.attribute(name).value());
}

std::optional<double> HalfPointsOf(pugi::xml_node runProperties) {
  return NumberAttribute(runProperties.child("w:sz"), "w:val");
}

IndentValues IndentOf(pugi::xml_node paragraphProperties) {
  IndentValues values;
  const pugi::xml_node ind = paragraphProperties.child("w:ind");
  if (!ind) return values;
  values.left = NumberAttribute(ind, "w:left");
  if (!values.left) values.left = NumberAttribute(ind, "w:start");
  if (const auto chars = NumberAttribute(ind, "w:firstLineChars"))
    values.firstLineChars = *chars;
  else if (const auto hanging = NumberAttribute(ind, "w:hangingChars"))
    values.firstLineChars = -*hanging;
  return values;
}

void MergeIndent(IndentValues& into, const IndentValues& from) {
  if (!into.left) into.left = from.left;
  if (!into.firstLineChars) into.firstLineChars = from.firstLineChars;
}

void StyleSheet::Load(const pugi::xml_document& styles) {
  const pugi::xml_node root = styles.child("w:styles");
  const pugi::xml_node defaults = root.child("w:docDefaults");
  defaultHalfPoints_ = HalfPointsOf(defaults.child("w:rPrDefault").child("w:rPr"));
  defaultIndent_ = IndentOf(defaults.child("w:pPrDefault").child("w:pPr"));
  for (pugi::xml_node style = root.child("w:style"); style; style = style.next_sibling("w:style")) {
    const std::string id = style.attribute("w:styleId").value();
    Style entry;
    entry.basedOn = style.child("w:basedOn").attribute("w:val").value();
    entry.halfPoints = HalfPointsOf(style.child("w:rPr"));
    entry.indent = IndentOf(style.child("w:pPr"));
    if (const pugi::xml_node pageBreak = style.child("w:pPr").child("w:pageBreakBefore")) {
      const std::string value = pageBreak.attribute("w:val").value();
      entry.pageBreakBefore = value != "0" && value != "false" && value != "off";
    }
    styles_[id] = entry;
    const std::string type = style.attribute("w:type").value();
    const std::string isDefault = style.attribute("w:default").value();
    if (type == "paragraph" && (isDefault == "1" || isDefault == "true")) defaultParagraphStyle_ = id;
  }
}

std::string StyleSheet::ParagraphStyleOf(pugi::xml_node paragraph) const {
  const char* id = paragraph.child("w:pPr").child("w:pStyle").attribute("w:val").value();
  return *id ? std::string(id) : defaultParagraphStyle_;
}

std::optional<double> StyleSheet::StyleHalfPoints(std::string id) const {
  std::set<std::string> seen;  // a damaged style sheet may chain in a circle
  while (!id.empty() && seen.insert(id).second) {
    const auto found = styles_.find(id);
    if (found == styles_.end()) break;
    if (found->second.halfPoints) return found->second.halfPoints;
    id = found->second.basedOn;
  }
  return std::nullopt;
}

float StyleSheet::RunSize(pugi::xml_node run, pugi::xml_node paragraph) const {
  const pugi::xml_node properties = run.child("w:rPr");
  std::optional<double> halfPoints = HalfPointsOf(properties);
  if (!halfPoints) halfPoints = StyleHalfPoints(properties.child("w:rStyle").attribute("w:val").value());
  if (!halfPoints) halfPoints = StyleHalfPoints(ParagraphStyleOf(paragraph));
  if (!halfPoints) halfPoints = defaultHalfPoints_;
  return static_cast<float>(halfPoints.value_or(20.0) / 2.0);
}

float StyleSheet::MarkSize(pugi::xml_node paragraph) const {
  std::optional<double> halfPoints = HalfPointsOf(paragraph.child("w:pPr").child("w:rPr"));
  if (!halfPoints) halfPoints = StyleHalfPoints(ParagraphStyleOf(paragraph));
  if (!halfPoints) halfPoints = defaultHalfPoints_;
  return static_cast<float>(halfPoints.value_or(20.0) / 2.0);
}

IndentValues StyleSheet::Indent(pugi::xml_node paragraph) const {
  IndentValues values = IndentOf(paragraph.child("w:pPr"));
  std::string id = ParagraphStyleOf(paragraph);
  std::set<std::string> seen;
  while (!id.empty() && seen.insert(id).second) {
    const auto found = styles_.find(id);
    if (found == styles_.end()) break;
    MergeIndent(values, found->second.indent);
    id = found->second.basedOn;
  }
  MergeIndent(values, defaultIndent_);
  return values;
}

bool StyleSheet::PageBreakBefore(pugi::xml_node paragraph) const {
  if (const pugi::xml_node direct = paragraph.child("w:pPr").child("w:pageBreakBefore")) {
    const std::string value = direct.attribute("w:val").value();
    return value != "0" && value != "false" && value != "off";
  }
  std::string id = ParagraphStyleOf(paragraph);
  std::set<std::string> seen;
  while (!id.empty() && seen.insert(id).second) {
    const auto found = styles_.find(id);
    if (found == styles_.end()) break;
    if (found->second.pageBreakBefore) return *found->second.pageBreakBefore;
    id = found->second.basedOn;
  }
  return false;
}

}  // namespace scrivano::word
