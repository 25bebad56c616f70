#include <fcntl.h>
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

TEST(ReadAllBytes, AnyExpectedSize_ReadsTheWholeFile) {
  test::TempFolder folder;
  std::string content;
  for (int i = 0; i < 50000; ++i) content += static_cast<char>('a' + i % 26);
  ASSERT_TRUE(WriteFileBytesAtomically(folder.File("f"), content));
  // Exact, smaller (the file grew after its size was taken), larger (it shrank) and unknown.
  for (const size_t expected : {content.size(), size_t{100}, content.size() + 5000, size_t{0}}) {
    const int fd = ::open((folder.path() + "/f").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    std::string bytes = "old";
    EXPECT_TRUE(ReadAllBytes(fd, expected, bytes));
    ::close(fd);
    EXPECT_EQ(bytes, content) << expected;
  }
}

TEST(ReadAllBytes, APipe_IsReadToItsEnd) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const std::string content(3000, 'p');
  ASSERT_EQ(::write(ends[1], content.data(), content.size()), static_cast<ssize_t>(content.size()));
  ::close(ends[1]);
  std::string bytes;
  EXPECT_TRUE(ReadAllBytes(ends[0], 0, bytes));
  ::close(ends[0]);
  EXPECT_EQ(bytes, content);
}

TEST(AtomicFileWriter, TheOldFileStaysUntilCommitAndAnAbandonedWriteLeavesNothing) {
  test::TempFolder folder;
  folder.WriteBytes("out", "old");
  {
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(folder.File("out")));
    ASSERT_TRUE(writer.Write("new "));
    ASSERT_TRUE(writer.Write("text"));
    EXPECT_EQ(folder.ReadBytes("out"), "old");
  }  // never committed
  EXPECT_EQ(folder.ReadBytes("out"), "old");
  EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"out"});
  AtomicFileWriter writer;
  ASSERT_TRUE(writer.Open(folder.File("out")));
  ASSERT_TRUE(writer.Write("new "));
  ASSERT_TRUE(writer.Write("text"));
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(folder.ReadBytes("out"), "new text");
  EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"out"});
  // A writer that could not open fails at every later step.
  AtomicFileWriter nowhere;
  EXPECT_FALSE(nowhere.Open(folder.File("missing-folder/out")));
  EXPECT_FALSE(nowhere.Write("x"));
  EXPECT_FALSE(nowhere.Commit());
}

TEST(ReadChunksAt, ReadsFromTheOffsetInFullChunks) {
  test::TempFolder folder;
  folder.WriteBytes("f", "0123456789abcdefghij");
  const int fd = ::open((folder.path() + "/f").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  std::string buffer(6, '\0');
  std::vector<std::string> chunks;
  EXPECT_TRUE(ReadChunksAt(fd, 3, buffer, [&](std::string_view chunk) {
    chunks.emplace_back(chunk);
    return true;
  }));
  EXPECT_EQ(chunks, (std::vector<std::string>{"345678", "9abcde", "fghij"}));
  chunks.clear();
  EXPECT_TRUE(ReadChunksAt(fd, 3, buffer, [&](std::string_view chunk) {
    chunks.emplace_back(chunk);
    return false;  // enough
  }));
  EXPECT_EQ(chunks, (std::vector<std::string>{"345678"}));
  EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 0);
  ::close(fd);
}

}  // namespace
}  // namespace scrivano
