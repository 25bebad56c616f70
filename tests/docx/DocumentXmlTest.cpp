#include <gtest/gtest.h>

#include <sstream>

#include "docx/DocumentXml.h"

namespace scrivano::word {
namespace {

TEST(DocumentXmlTest, ColoursConvertBetweenWordsNumbersAndHex) {
  const std::pair<const char*, int> cases[] = {{"0000FF", 16711680},
                                               {"FF0000", 255},
                                               {"00FF00", 65280},
                                               {"123456", 0x563412},
                                               {"auto", kColorAutomatic}};
  for (const auto& [hex, number] : cases) {
    EXPECT_EQ(ColorFromHex(hex), number) << hex;
    EXPECT_EQ(HexFromColor(number), hex) << number;
  }
  EXPECT_EQ(ColorFromHex("0000fg"), kColorAutomatic);
  EXPECT_EQ(ColorFromHex("00ff"), kColorAutomatic);
  EXPECT_EQ(ColorFromHex("0000ff"), 16711680);
}

TEST(DocumentXmlTest, PropertiesGoWhereTheSchemaOrderPutsThem) {
  pugi::xml_document xml;
  xml.load_string("<w:r><w:t>x</w:t></w:r><w:p><w:pPr><w:jc/><w:rPr/></w:pPr></w:p>");
  pugi::xml_node properties = EnsureRunProperties(xml.child("w:r"));
  EnsureRunProperty(properties, "w:sz");
  EnsureRunProperty(properties, "w:b");
  EnsureRunProperty(properties, "w:color");
  EnsureRunProperty(properties, "w:lang");
  EnsureParagraphProperty(xml.child("w:p").child("w:pPr"), "w:ind");
  EnsureParagraphProperty(xml.child("w:p").child("w:pPr"), "w:pStyle");
  std::ostringstream out;
  xml.save(out, "", pugi::format_raw | pugi::format_no_declaration);
  EXPECT_EQ(out.str(),
            "<w:r><w:rPr><w:b/><w:color/><w:sz/><w:lang/></w:rPr><w:t>x</w:t></w:r>"
            "<w:p><w:pPr><w:pStyle/><w:ind/><w:jc/><w:rPr/></w:pPr></w:p>");
}

TEST(DocumentXmlTest, StyleSheet_SizesAndIndentsThroughTheChain) {
  pugi::xml_document styles;
  styles.load_string(R"(<w:styles>
    <w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val="21"/></w:rPr></w:rPrDefault></w:docDefaults>
    <w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:pPr><w:ind w:left="120"/></w:pPr></w:style>
    <w:style w:type="paragraph" w:styleId="Big"><w:basedOn w:val="Normal"/><w:rPr><w:sz w:val="32"/></w:rPr>
      <w:pPr><w:ind w:hangingChars="150"/></w:pPr></w:style>
    <w:style w:type="paragraph" w:styleId="Loop1"><w:basedOn w:val="Loop2"/></w:style>
    <w:style w:type="paragraph" w:styleId="Loop2"><w:basedOn w:val="Loop1"/></w:style>
    <w:style w:type="character" w:styleId="Small"><w:rPr><w:sz w:val="16"/></w:rPr></w:style>
  </w:styles>)");
  StyleSheet sheet;
  sheet.Load(styles);
  pugi::xml_document body;
  body.load_string(R"(<b>
    <w:p><w:r/><w:r><w:rPr><w:rStyle w:val="Small"/></w:rPr></w:r><w:r><w:rPr><w:sz w:val="40"/></w:rPr></w:r></w:p>
    <w:p><w:pPr><w:pStyle w:val="Big"/><w:ind w:left="400"/></w:pPr><w:r/></w:p>
    <w:p><w:pPr><w:pStyle w:val="Loop1"/></w:pPr><w:r/></w:p></b>)");
  pugi::xml_node normal = body.first_child().child("w:p");
  pugi::xml_node big = normal.next_sibling("w:p");
  pugi::xml_node loop = big.next_sibling("w:p");
  pugi::xml_node run = normal.child("w:r");
  EXPECT_EQ(sheet.RunSize(run, normal), 10.5f);
  EXPECT_EQ(sheet.RunSize(run.next_sibling(), normal), 8.0f);
  EXPECT_EQ(sheet.RunSize(run.next_sibling().next_sibling(), normal), 20.0f);
  EXPECT_EQ(sheet.RunSize(big.child("w:r"), big), 16.0f);
  EXPECT_EQ(sheet.RunSize(loop.child("w:r"), loop), 10.5f) << "a style chain in a circle ends";
  EXPECT_EQ(sheet.Indent(normal).left, 120.0);
  EXPECT_EQ(sheet.Indent(big).left, 400.0);
  EXPECT_EQ(sheet.Indent(big).firstLineChars, -150.0);
  EXPECT_FALSE(sheet.Indent(loop).firstLineChars);
}

}  // namespace
}  // namespace scrivano::word
