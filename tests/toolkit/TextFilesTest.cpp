#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <filesystem>

#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "text/Utf16Bytes.h"
#include "toolkit/TextFiles.h"

namespace scrivano {
namespace {

using namespace std::string_literals;
using test::TempFolder;
using test::TestPrompts;

TEST(ReadTextFile, Utf16WithMark_StopsAtTheFirstZeroUnit) {
  TestPrompts prompts;
  TempFolder folder;
  struct Case {
    std::string bytes;
    Text text;
  } cases[] = {
      {"\xFF\xFE"
       "a\0\x2D\x4E"s,
       u"a\u4E2D"},
      {"\xFF\xFE"
       "a\0b\0\0\0c\0"s,
       u"ab"},
      {"\xFF\xFE"
       "a\0b"s,
       u"a\uFFFD"},  // a final odd byte is half a character
      {"\xFF\xFE", u""},
      {std::string("\xFF\xFE\x00\xD8", 4), Text(1, char16_t(0xD800))},  // a lone surrogate is kept
  };
  for (const Case& c : cases) {
    folder.WriteBytes("f", c.bytes);
    Text text = u"unchanged";
    ASSERT_TRUE(ReadTextFile(text, folder.File("f")));
    EXPECT_EQ(text, c.text);
  }
  EXPECT_TRUE(prompts.dialogs().empty());
}

TEST(ReadTextFile, WithoutMark_IsReadByWhatTheBytesShowUpToTheFirstZero) {
  TestPrompts prompts;
  TempFolder folder;
  struct Case {
    std::string bytes;
    Text text;
  } cases[] = {
      {"", u""},
      {std::string("a\0b\0", 4), u"ab"},  // UTF-16 without its mark, by its zero bytes
      {std::string("a\0\0b", 4), u"a"},   // zeros on both sides: 8-bit text with a zero
      {"\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587"},
      {"ok\xFF\xFE\x80", u"ok\uFFFD\u4723"},  // not UTF-8: GB18030
      {"\xFE\xFF\0a\0\0\0b"s, u"a"},          // the big-endian mark
  };
  for (const Case& c : cases) {
    folder.WriteBytes("f", c.bytes);
    Text text = u"unchanged";
    ASSERT_TRUE(ReadTextFile(text, folder.File("f")));
    EXPECT_EQ(text, c.text);
  }
}

TEST(ReadTextFile, ChineseCodePages_AreReadWhateverTheLocale) {
  TestPrompts prompts;
  TempFolder folder;
  folder.WriteBytes("f", "\xD6\xD0\xCE\xC4 ab\xFF");
  for (const char* locale : {"C", "C.UTF-8"}) {
    std::setlocale(LC_ALL, locale);
    Text text;
    ASSERT_TRUE(ReadTextFile(text, folder.File("f")));
    EXPECT_EQ(text, u"\u4E2D\u6587 ab\uFFFD") << locale;
  }
  std::setlocale(LC_ALL, "C");
}

TEST(ReadTextFile, MissingFile_IsReportedAndLeavesTheText) {
  TestPrompts prompts;
  TempFolder folder;
  Text text = u"unchanged";
  EXPECT_FALSE(ReadTextFile(text, folder.File("missing")));
  EXPECT_FALSE(ReadTextFile(text, FromUtf8(folder.path())));  // a folder is no text file
  EXPECT_EQ(text, u"unchanged");
  ASSERT_EQ(prompts.dialogs().size(), 2u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Could not open \"" + folder.File("missing") + u"\" file.");
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
}

TEST(WriteTextFile, WritesUtf16LeWithoutMarkOrTerminator) {
  TestPrompts prompts;
  TempFolder folder;
  ASSERT_TRUE(WriteTextFile(folder.File("out"), u"ab", false));
  EXPECT_EQ(folder.ReadBytes("out"), std::string("a\0b\0", 4));
  ASSERT_TRUE(WriteTextFile(folder.File("out"), u"", false));
  EXPECT_EQ(folder.ReadBytes("out"), "");
  ASSERT_TRUE(WriteTextFile(folder.File("out"), u"\u4E2D\r\n", false));
  EXPECT_EQ(folder.ReadBytes("out"), std::string("\x2D\x4E\r\0\n\0", 6));
}

TEST(WriteTextFile, FailureLeavesTheOldFileAndIsReported) {
  TestPrompts prompts;
  TempFolder folder;
  // A folder stands where the file should go: the new text cannot replace it.
  ::mkdir((folder.path() + "/keep").c_str(), 0700);
  folder.WriteBytes("keep/inside", "old bytes");
  EXPECT_FALSE(WriteTextFile(folder.File("keep"), u"new", false));
  EXPECT_EQ(folder.ReadBytes("keep/inside"), "old bytes");
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Can not open the file!");
  EXPECT_EQ(prompts.dialogs()[0].text, folder.File("keep"));
  // Nothing half-written is left beside it.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(WriteTextFile, IntoAMissingFolder_FailsWithoutLeavingAnything) {
  TestPrompts prompts;
  TempFolder folder;
  EXPECT_FALSE(WriteTextFile(folder.File("no/such/file"), u"x", false));
  EXPECT_EQ(prompts.Messages(), std::vector<Text>{folder.File("no/such/file")});
}

TEST(WriteTextFile, KeepsPermissionsAndSymbolicLinks) {
  TestPrompts prompts;
  TempFolder folder;
  folder.WriteBytes("target", "x");
  ::chmod((folder.path() + "/target").c_str(), 0640);
  ASSERT_EQ(::symlink("target", (folder.path() + "/link").c_str()), 0);
  ASSERT_TRUE(WriteTextFile(folder.File("link"), u"y", false));
  EXPECT_EQ(folder.ReadBytes("target"), std::string("y\0", 2));
  struct stat info;
  ASSERT_EQ(::lstat((folder.path() + "/link").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(::stat((folder.path() + "/target").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(WriteTextFile, OpenAfterUsesTheInstalledOpener) {
  TestPrompts prompts;
  TempFolder folder;
  EXPECT_FALSE(WriteTextFile(folder.File("a"), u"x", true));  // no desktop: written, not opened
  EXPECT_EQ(folder.ReadBytes("a"), std::string("x\0", 2));
  Text opened;
  SetDocumentOpener([&](TextView path) {
    opened = Text(path);
    return true;
  });
  EXPECT_TRUE(WriteTextFile(folder.File("a"), u"x", true));
  SetDocumentOpener(nullptr);
  EXPECT_EQ(opened, folder.File("a"));
}

TEST(FileExists, ReportsOnlyWhenAsked) {
  TestPrompts prompts;
  TempFolder folder;
  folder.WriteBytes("here", "");
  EXPECT_TRUE(FileExists(folder.File("here"), true));
  EXPECT_TRUE(FileExists(FromUtf8(folder.path()), true));
  EXPECT_FALSE(FileExists(folder.File("gone"), false));
  EXPECT_TRUE(prompts.dialogs().empty());
  EXPECT_FALSE(FileExists(folder.File("gone"), true));
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].caption, u"The file does not exist !");
  EXPECT_EQ(prompts.dialogs()[0].text, folder.File("gone"));
}

TEST(BackupFile, InsertsBakBeforeTheLastFullStop) {
  TempFolder folder;
  folder.WriteBytes("a.doc", "content");
  Text backup;
  ASSERT_TRUE(BackupFile(folder.File("a.doc"), backup));
  EXPECT_EQ(backup, folder.File("a.bak.doc"));
  EXPECT_EQ(folder.ReadBytes("a.bak.doc"), "content");

  folder.WriteBytes("a.doc", "newer");
  backup = folder.File("a.doc");  // equal to the source: the default name again, overwritten
  ASSERT_TRUE(BackupFile(folder.File("a.doc"), backup));
  EXPECT_EQ(folder.ReadBytes("a.bak.doc"), "newer");

  backup.clear();
  EXPECT_FALSE(BackupFile(folder.File("missing.doc"), backup));
}

TEST(BackupFile, AFullStopInAFolderNameTakesTheBak) {
  TempFolder folder;
  ::mkdir((folder.path() + "/v1.2").c_str(), 0700);
  folder.WriteBytes("v1.2/readme", "r");
  Text backup;
  EXPECT_FALSE(BackupFile(folder.File("v1.2/readme"), backup));  // into the missing folder v1.bak.2
  EXPECT_EQ(backup, folder.File("v1.bak.2/readme"));
}

TEST(FilePart, NameAndExtension) {
  EXPECT_EQ(FilePart(u"/a/b.tar.gz", 1), u"b.tar.gz");
  EXPECT_EQ(FilePart(u"/a/b.tar.gz", 2), u"tar.gz");
  EXPECT_EQ(FilePart(u"/a/readme", 1), u"readme");
  EXPECT_EQ(FilePart(u"/a/readme", 2), u"readme");
  EXPECT_EQ(FilePart(u"plain.txt", 2), u"txt");
  EXPECT_EQ(FilePart(u"/a.b/", 1), u"");
}

}  // namespace
}  // namespace scrivano
