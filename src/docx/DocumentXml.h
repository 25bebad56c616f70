// Small pieces of WordprocessingML shared by the engine: parsing that keeps every character of the text,
// properties inserted in the order the schema requires (Word rejects a package whose properties are out of
// order), Word's colour numbers, and the style sheet that resolves font sizes and indents.
#pragma once

#include <map>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace scrivano::word {

// Parses a part (see XmlReading.h: decoded by its declared encoding, known namespaces under their usual
// prefixes, nesting bounded); white-space-only text (a w:t holding " ") and the XML declaration are kept.
// Throws DocumentError naming the part.
void ParseXml(const std::string& bytes, pugi::xml_document& document, const std::string& partName);
std::string SerializeXml(const pugi::xml_document& document);

bool IsNamed(pugi::xml_node node, const char* name);
// The first element child named name whose attributes do not matter; empty when absent.
pugi::xml_node FirstDescendant(pugi::xml_node node, const char* name);

// w:rPr of a run / w:pPr of a paragraph, created as the first child when absent.
pugi::xml_node EnsureRunProperties(pugi::xml_node run);
pugi::xml_node EnsureParagraphProperties(pugi::xml_node paragraph);
// The named child of a w:rPr / w:pPr, created at its place in the schema's sequence when absent.
pugi::xml_node EnsureRunProperty(pugi::xml_node runProperties, const char* name);
pugi::xml_node EnsureParagraphProperty(pugi::xml_node paragraphProperties, const char* name);

// Structural equality: names, attributes and children (text included).
bool SameXml(pugi::xml_node a, pugi::xml_node b);

// The text of an element (its first text child) as UTF-16.
Text NodeText(pugi::xml_node element);
// Sets the text of a w:t, marking it to preserve spaces when it begins or ends with one.
void SetNodeText(pugi::xml_node textElement, TextView text);

// Word's colour numbers: red in the lowest byte, green in the second, blue in the third (16711680 is
// blue). Automatic colour and mixed values have their own numbers.
inline constexpr int kColorAutomatic = -16777216;
inline constexpr int kUndefined = 9999999;
// "0000FF" -> 16711680; "auto" or anything unreadable -> kColorAutomatic.
int ColorFromHex(std::string_view hex);
// 16711680 -> "0000FF"; kColorAutomatic -> "auto".
std::string HexFromColor(int color);

inline float TwipsToPoints(double twips) {
  return static_cast<float>(twips / 20.0);
}
// Reads a measure attribute (a whole number of twips or half-points); nullopt when absent.
std::optional<double> NumberAttribute(pugi::xml_node node, const char* name);

// Paragraph indents as stored: twips and hundredths of a character.
struct IndentValues {
  std::optional<double> left;            // w:left or w:start
  std::optional<double> firstLineChars;  // positive, or negative for w:hangingChars
};

// The styles part, read once: style chains, document defaults, the default paragraph style.
class StyleSheet {
 public:
  void Load(const pugi::xml_document& styles);

  // Effective font size in points of a run inside paragraph (direct, character style, paragraph style
  // chain, document defaults, 10 points).
  float RunSize(pugi::xml_node run, pugi::xml_node paragraph) const;
  // The size the paragraph mark has (its own properties, then the paragraph style chain, defaults).
  float MarkSize(pugi::xml_node paragraph) const;
  // Indents of a paragraph: direct, paragraph style chain, document defaults.
  IndentValues Indent(pugi::xml_node paragraph) const;
  bool PageBreakBefore(pugi::xml_node paragraph) const;
  bool HasStyle(const std::string& id) const { return styles_.count(id) > 0; }

 private:
  struct Style {
    std::string basedOn;
    std::optional<double> halfPoints;
    IndentValues indent;
    std::optional<bool> pageBreakBefore;
  };
  std::string ParagraphStyleOf(pugi::xml_node paragraph) const;
  std::optional<double> StyleHalfPoints(std::string id) const;

  std::map<std::string, Style> styles_;
  std::string defaultParagraphStyle_;
  std::optional<double> defaultHalfPoints_;
  IndentValues defaultIndent_;
};

// Reads w:sz (half-points) and the indent of property elements; used by the style sheet and the engine.
std::optional<double> HalfPointsOf(pugi::xml_node runProperties);
IndentValues IndentOf(pugi::xml_node paragraphProperties);
// Fills the values b does not have from a.
void MergeIndent(IndentValues& into, const IndentValues& from);

}  // namespace scrivano::word
