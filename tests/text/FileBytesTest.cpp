#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "text/FileBytes.h"

namespace scrivano {
namespace {

// The names in the folder, without "." and "..".
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WriteFileBytesAtomically, ANameAtTheLimitGetsATemporaryNameThatFits) {
  test::TempFolder folder;
  const std::string name(255, 'n');
  ASSERT_TRUE(WriteFileBytesAtomically(folder.File(name), "text"));
  EXPECT_EQ(folder.ReadBytes(name), "text");
  EXPECT_EQ(Names(folder.path()), std::vector<std::string>{name});
}

TEST(WriteFileBytesAtomically, WritesThroughSymbolicLinksAndRefusesALoop) {
  test::TempFolder folder;
  const std::string base = folder.path() + "/";
  // A chain of two links, the last one dangling and relative.
  ASSERT_EQ(::symlink("middle", (base + "link").c_str()), 0);
  ASSERT_EQ(::symlink((base + "target").c_str(), (base + "middle").c_str()), 0);
  ASSERT_TRUE(WriteFileBytesAtomically(folder.File("link"), "one"));
  EXPECT_EQ(folder.ReadBytes("target"), "one");
  ASSERT_TRUE(WriteFileBytesAtomically(folder.File("link"), "two"));
  EXPECT_EQ(folder.ReadBytes("target"), "two");
  struct stat info;
  ASSERT_EQ(::lstat((base + "link").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));

  ASSERT_EQ(::symlink("loop-b", (base + "loop-a").c_str()), 0);
  ASSERT_EQ(::symlink("loop-a", (base + "loop-b").c_str()), 0);
  EXPECT_FALSE(WriteFileBytesAtomically(folder.File("loop-a"), "x"));
  ASSERT_EQ(::lstat((base + "loop-a").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(Names(folder.path()), (std::vector<std::string>{"link", "loop-a", "loop-b", "middle", "target"}));
}

TEST(ReadFileBytes, SaysWhyAFileCannotBeRead) {
  test::TempFolder folder;
  std::string bytes = "unchanged", why;
  EXPECT_FALSE(ReadFileBytes(FromUtf8(folder.path()), bytes, &why));
  EXPECT_EQ(why, "it is a folder");
  EXPECT_FALSE(ReadFileBytes(folder.File("missing"), bytes, &why));
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_EQ(bytes, "unchanged");
}

}  // namespace
}  // namespace scrivano
