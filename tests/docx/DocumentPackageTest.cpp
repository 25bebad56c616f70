#include <gtest/gtest.h>

#include <string>

#include "docx/DocumentEngine.h"
#include "docx/DocumentPackage.h"
#include "text/FileBytes.h"

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

// Sets the unpacked size the archive's directory gives for the entry (a forged size).
void ForgeUnpackedSize(std::string& zip, const std::string& name, unsigned size) {
  for (size_t at = zip.find("PK\x01\x02"); at != std::string::npos; at = zip.find("PK\x01\x02", at + 4)) {
    if (zip.compare(at + 46, name.size(), name) != 0) continue;
    for (int i = 0; i < 4; ++i)
      zip[at + 24 + static_cast<size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
    return;
  }
  ADD_FAILURE() << "no entry " << name;
}

// Packing bombs are refused before anything is unpacked, with the part's name.
TEST(DocumentPackageTest, UnpackingLimits) {
  DocumentPackage bomb(BlankPackageBytes());
  bomb.WritePart("word/document.xml", std::string(40u << 20, 'a'));
  std::string forged = bomb.Save();
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"40 MB from a few kilobytes", forged, "part word/document.xml unpacks to 40 MB from "},
      {"a forged size of 2 GB", std::string(),
       "part word/document.xml unpacks to 2048 MB, more than the 256 MB"},
  };
  ForgeUnpackedSize(forged, "word/document.xml", 0x80000000u);
  cases[1].bytes = forged;
  for (const Case& test : cases) {
    DocumentPackage package(test.bytes);
    try {
      package.ReadPart("word/document.xml");
      ADD_FAILURE() << test.what << ": read";
    } catch (const DocumentError& problem) {
      EXPECT_TRUE(std::string(problem.what()).starts_with(test.message))
          << test.what << ": " << problem.what();
    }
    EXPECT_NO_THROW(package.ReadPart("word/styles.xml")) << test.what << ": the other parts stay readable";
  }
}

// A small damaged package whose directory claims a part of 640 MB: refused by name, nothing that size is
// taken from memory.
TEST(DocumentPackageTest, AClaimedSizeIsNotTakenOnTrust) {
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(SCRIVANO_TEST_DATA "/word/cases/part_declares_640MB.docx"), bytes));
  ASSERT_LT(bytes.size(), 16384u) << "a small file";
  DocumentPackage package(bytes);
  try {
    package.ReadPart("_rels/.rels");
    ADD_FAILURE() << "read";
  } catch (const DocumentError& problem) {
    EXPECT_NE(std::string(problem.what()).find("_rels/.rels"), std::string::npos) << problem.what();
  }
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
