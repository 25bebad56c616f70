#include <gtest/gtest.h>

#include <vector>

#include "functions/FunctionTable.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "tasks/DesktopServices.h"
#include "text/Utf16Bytes.h"
#include "transform/CombineFiles.h"

namespace scrivano {
namespace {

using test::TempFolder;
using test::TestPrompts;
using Texts = std::vector<Text>;

const Text kSeparator = u"\r\n" + Text(88, u' ') + u"\r\n";

std::string Utf16File(TextView text) {
  return "\xFF\xFE" + TextToUtf16LeBytes(text);
}

TEST(CombineFiles, JoinsListedFilesBehindTheSeparatorLine) {
  TestPrompts prompts;
  TempFolder folder;
  folder.WriteBytes("a.txt", Utf16File(u"第一\r\nfirst"));
  folder.WriteBytes("b.txt", "plain\r\n");
  folder.WriteBytes("empty.txt", "");
  Text text = u"  " + folder.File("a.txt") + u" \r\nnot a file\r\n\r\n" + folder.File("empty.txt") +
              u"\r\n\t" + folder.File("b.txt");
  EXPECT_TRUE(CombineFiles(text));
  EXPECT_EQ(text, kSeparator + u"第一\r\nfirst" + kSeparator + kSeparator + u"plain\r\n");
  EXPECT_TRUE(prompts.dialogs().empty());
}

TEST(CombineFiles, NothingReadable_LeavesTheTextAlone) {
  TestPrompts prompts;
  TempFolder folder;
  for (const Text& original : {Text(), Text(u"no such file\r\n/neither/this"), folder.File("missing.txt")}) {
    Text text = original;
    EXPECT_FALSE(CombineFiles(text));
    EXPECT_EQ(text, original);
  }
  EXPECT_TRUE(prompts.dialogs().empty());
}

TEST(CombineFiles, AnUnreadableEntryIsReportedAndSkipped) {
  TestPrompts prompts;
  TempFolder folder;
  folder.WriteBytes("a.txt", "x");
  // A folder exists but cannot be read as a file.
  const Text listed = FromUtf8(folder.path());
  Text text = listed + u"\r\n" + folder.File("a.txt");
  EXPECT_TRUE(CombineFiles(text));
  EXPECT_EQ(text, kSeparator + u"x");
  EXPECT_EQ(prompts.Messages(), Texts{u"Could not open \"" + listed + u"\" file."});
}

TEST(CombineWindowsOrFiles, WithoutReadableFile_NeedsTheDesktopAfterItsMessages) {
  TestPrompts prompts;
  TempFolder folder;
  const Text listed = FromUtf8(folder.path());
  Text text = listed;
  EXPECT_THROW(CombineWindowsOrFiles(text), DesktopUnavailable);
  EXPECT_EQ(text, listed);
  EXPECT_EQ(prompts.Messages(), Texts{u"Could not open \"" + listed + u"\" file."});
}

// A desktop that copies windows: the entry hands their text back.
class FakeCaptureDesktop : public DesktopServices {
 public:
  FakeCaptureDesktop() { SetDesktopServices(this); }
  ~FakeCaptureDesktop() override { SetDesktopServices(nullptr); }
  WindowHandle WindowAtListCorner(bool) override { return 0; }
  Text WindowClassName(WindowHandle) override { return Text(); }
  void RunOnWordPieces(WindowHandle, const PieceConversion&) override {}
  void CombineWindowsText(Text& workingText) override { workingText += u"[windows]"; }
};

TEST(CombineWindowsOrFiles, EntryThreeUsesFilesFirstThenWindows) {
  TestPrompts prompts;
  TempFolder folder;
  folder.WriteBytes("a.txt", "x");
  const FunctionEntry* entry = FindFunctionEntry("combine");
  ASSERT_NE(entry, nullptr);
  ASSERT_EQ(entry->number, 3);

  Text text = folder.File("a.txt");
  TaskContext context;
  context.workingText = &text;
  EXPECT_TRUE(entry->run(context));
  EXPECT_EQ(text, kSeparator + u"x");

  FakeCaptureDesktop desktop;
  text = u"not a file";
  EXPECT_TRUE(entry->run(context));
  EXPECT_EQ(text, u"not a file[windows]");
}

}  // namespace
}  // namespace scrivano
