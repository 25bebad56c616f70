#include <gtest/gtest.h>

#include <string>

#include "docx/DocumentEngine.h"
#include "docx/DocumentPackage.h"

namespace scrivano::word {
namespace {

TEST(DocumentPackageTest, WrittenPartsReplaceOrJoinAndTheRestStaysAsItWas) {
  DocumentPackage blank(BlankPackageBytes());
  const std::string styles = blank.ReadPart("word/styles.xml");
  blank.WritePart("word/document.xml", "<changed/>");
  blank.WritePart("word/media/new.bin", std::string("\0\1\2", 3));
  DocumentPackage saved(blank.Save());
  EXPECT_EQ(saved.ReadPart("word/document.xml"), "<changed/>");
  EXPECT_EQ(saved.ReadPart("word/media/new.bin"), std::string("\0\1\2", 3));
  EXPECT_EQ(saved.ReadPart("word/styles.xml"), styles);
  EXPECT_EQ(saved.PartNames().back(), "word/media/new.bin");
  EXPECT_EQ(saved.PartNames().front(), "[Content_Types].xml");
}

TEST(DocumentPackageTest, DamagedInputIsADocumentError) {
  EXPECT_THROW(DocumentPackage("not a zip"), DocumentError);
  EXPECT_TRUE(DocumentPackage("").PartNames().empty()) << "an empty file is an empty package";
  DocumentPackage blank(BlankPackageBytes());
  EXPECT_THROW(blank.ReadPart("word/missing.xml"), DocumentError);
  EXPECT_FALSE(blank.HasPart("word/missing.xml"));
}

TEST(DocumentPackageTest, RelationshipNames) {
  EXPECT_EQ(RelationshipPartFor("word/document.xml"), "word/_rels/document.xml.rels");
  EXPECT_EQ(RelationshipPartFor("document.xml"), "_rels/document.xml.rels");
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"word/document.xml", "media/image1.png", "word/media/image1.png"},
      {"word/document.xml", "../customXml/item1.xml", "customXml/item1.xml"},
      {"word/document.xml", "/word/styles.xml", "word/styles.xml"},
      {"", "word/document.xml", "word/document.xml"},
      {"word/document.xml", "./theme/theme1.xml", "word/theme/theme1.xml"},
  };
  for (const auto& [part, target, expected] : cases)
    EXPECT_EQ(ResolvePartTarget(part, target), expected) << target;
}

}  // namespace
}  // namespace scrivano::word
