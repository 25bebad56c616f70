#include <gtest/gtest.h>

#include <string>

#include "docx/DocumentEngine.h"
#include "docx/DocumentPackage.h"
#include "support/ZipDamage.h"
#include "text/FileBytes.h"

namespace scrivano::word {
namespace {

using test::ForgeChecksum;
using test::ForgeUnpackedSize;
using test::GarbleData;

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

// Damage is never copied on: a wrong checksum is mended from what the part unpacks to and named; data
// that do not unpack whole, or unpack to another size, fail the save with the part's name. The damaged
// part is one the engine reads (the main text) or one it only copies (the styles).
TEST(DocumentPackageTest, DamagedPartsAreNamedAndNeverCopiedOn) {
  DocumentPackage blank(BlankPackageBytes());
  blank.WritePart("word/document.xml", "<w:document>" + std::string(3000, 'x') + "</w:document>");
  blank.WritePart("word/styles.xml", "<w:styles>" + std::string(3000, 'y') + "</w:styles>");
  const std::string sound = blank.Save();
  struct Case {
    const char* what;
    void (*damage)(std::string&, const std::string&);
    const char* message;  // empty: the part is rebuilt
  } cases[] = {
      {"wrong checksum", ForgeChecksum, ""},
      {"garbled data", GarbleData, "its data cannot be unpacked"},
      {"longer than its entry says",
       [](std::string& zip, const std::string& name) { ForgeUnpackedSize(zip, name, 1000); },
       "it unpacks to more than the 1000 bytes its entry gives"},
      {"shorter than its entry says",
       [](std::string& zip, const std::string& name) { ForgeUnpackedSize(zip, name, 9000); },
       " of the 9000 bytes its entry gives"},
  };
  for (const Case& test : cases) {
    for (const std::string name : {"word/document.xml", "word/styles.xml"}) {
      const std::string context = std::string(test.what) + " in " + name;
      std::string bytes = sound;
      test.damage(bytes, name);
      DocumentPackage package(bytes);
      if (name == "word/document.xml" && *test.message) {
        EXPECT_THROW(package.ReadPart(name), DocumentError) << context;
      } else {
        EXPECT_NO_THROW(package.ReadPart("word/document.xml")) << context;
      }
      package.WritePart("word/settings.xml", "<changed/>");
      if (*test.message) {
        try {
          package.Save();
          ADD_FAILURE() << context << ": saved";
        } catch (const DocumentError& problem) {
          const std::string text = problem.what();
          EXPECT_TRUE(text.starts_with("damaged part " + name + ": ")) << context << ": " << text;
          EXPECT_NE(text.find(test.message), std::string::npos) << context << ": " << text;
        }
        continue;
      }
      DocumentPackage saved(package.Save());
      EXPECT_EQ(package.RebuiltParts(), std::vector<std::string>{name}) << context;
      EXPECT_EQ(saved.ReadPart(name), DocumentPackage(sound).ReadPart(name)) << context;
      EXPECT_NO_THROW(saved.Save()) << context;
      EXPECT_TRUE(saved.RebuiltParts().empty()) << context << ": the copy's checksum is its own";
    }
  }
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

// A real document whose copy the zip library once assembled by freeing memory it did not own: its parts
// come back as they were, and the copy is sound.
TEST(DocumentPackageTest, ARealDocumentSavesWithItsPartsIntact) {
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(SCRIVANO_TEST_DATA "/word/cases/56392.docx"), bytes));
  DocumentPackage package(bytes);
  const std::string main = package.ReadPart("word/document.xml");
  package.WritePart("word/document.xml", main + " ");
  DocumentPackage saved(package.Save());
  EXPECT_EQ(saved.ReadPart("word/document.xml"), main + " ");
  EXPECT_EQ(saved.PartNames(), package.PartNames());
  for (const std::string& name : package.PartNames())
    if (name != "word/document.xml") {
      EXPECT_EQ(saved.ReadPart(name), DocumentPackage(bytes).ReadPart(name)) << name;
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
