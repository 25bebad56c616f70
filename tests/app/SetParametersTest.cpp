#include <gtest/gtest.h>

#include "app/SetParameters.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "text/Utf16Bytes.h"

namespace scrivano {
namespace {

constexpr char16_t kHead[] =
    u"[PARAMETERS]\r\nParameters of the test\r\n//Timer\t0\r\n//Dropped lines\t\t5\textra\r\n";

const Text kFile = Text(kHead) +
                   u"//Long number\t12345\r\n"
                   u"Para0=500\r\nPara0=1000\r\nPara5=a\r\nPara5=b\r\nPara12345=x\r\n\r\n[DIMENSIONS]\r\n";

std::string Utf16WithMark(TextView text) {
  return "\xFF\xFE" + TextToUtf16LeBytes(text);
}

class SetParametersTest : public testing::Test {
 protected:
  void Write(TextView text) { folder.WriteBytes("config.ini", Utf16WithMark(text)); }
  std::string Bytes() const { return folder.ReadBytes("config.ini"); }
  bool Edit() { return EditParameterFile(folder.File("config.ini")); }

  test::TempFolder folder;
};

TEST_F(SetParametersTest, FirstPromptListsParametersByNumberAndDescription) {
  test::TestPrompts prompts{u"<cancel>"};
  Write(kFile);
  EXPECT_FALSE(Edit());
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Please select an option:");
  // Numbers padded with 10 - 2 x length spaces; runs of tabs count as one; further fields are dropped.
  EXPECT_EQ(prompts.dialogs()[0].options,
            (std::vector<Text>{u"0        Timer", u"5        Dropped lines", u"12345Long number"}));
  EXPECT_EQ(Bytes(), Utf16WithMark(kFile)) << "cancelling the first prompt writes nothing";
}

TEST_F(SetParametersTest, ChosenOrTypedSettingBecomesTheActiveOne) {
  struct Case {
    Text parameter;
    Text answer;
    std::vector<Text> settings;  // the second prompt's options
    Text before;                 // the parameter's lines before
    Text after;                  // and afterwards
  } cases[] = {
      {u"5        Dropped lines",
       u"Para5=b",
       {u"Para5=a", u"Para5=b"},
       u"Para5=a\r\nPara5=b\r\n",
       u"Para5=b\r\nPara5=a\r\n"},
      {u"5        Dropped lines",
       u"Para5=c",
       {u"Para5=a", u"Para5=b"},
       u"Para5=a\r\n",
       u"Para5=c\r\nPara5=a\r\n"},
      // Choosing the setting that is already active still counts as a change.
      {u"0        Timer", u"Para0=500", {u"Para0=500", u"Para0=1000"}, u"Para0=500", u"Para0=500"},
  };
  for (const Case& c : cases) {
    test::TestPrompts prompts{c.parameter, c.answer, u"<cancel>"};
    Write(kFile);
    EXPECT_TRUE(Edit());
    ASSERT_EQ(prompts.dialogs().size(), 3u);
    EXPECT_EQ(prompts.dialogs()[1].options, c.settings);
    Text expected = kFile;
    Replace(expected, c.before, c.after);
    EXPECT_EQ(Bytes(), Utf16WithMark(expected)) << ToUtf8(c.answer);
  }
}

TEST_F(SetParametersTest, AnEightBitFileIsWrittenBackAsUtf16WithMark) {
  test::TestPrompts prompts{u"0        Timer", u"Para0=1000", u"<cancel>"};
  folder.WriteBytes("config.ini", ToUtf8(kFile));
  EXPECT_TRUE(Edit());
  Text expected = kFile;
  Replace(expected, u"Para0=500\r\nPara0=1000\r\n", u"Para0=1000\r\nPara0=500\r\n");
  EXPECT_EQ(Bytes(), Utf16WithMark(expected));
}

TEST_F(SetParametersTest, EmptyAnswerDeletesTheLastSelectedSettingButNeverTheLastOne) {
  // First round: the field cleared with "Para0=500" selected deletes it; second round: one setting is
  // left and is kept.
  test::TestPrompts prompts{u"0        Timer", u"", u"0        Timer", u"", u"<cancel>"};
  Write(kFile);
  EXPECT_TRUE(Edit());
  Text expected = kFile;
  Replace(expected, u"Para0=500\r\n", u"");
  EXPECT_EQ(Bytes(), Utf16WithMark(expected));
  EXPECT_EQ(prompts.Messages(), std::vector<Text>{u"Must keep at least one setting for this parameter!"});
  EXPECT_EQ(prompts.dialogs()[4].caption, u"Notice");
}

TEST_F(SetParametersTest, ATypedLineNeverCutsTheEndsOfOtherLines) {
  // "0" + line break also ends "Para0=1000"; only whole lines equal to the answer are removed.
  test::TestPrompts prompts{u"5        Dropped lines", u"0", u"<cancel>"};
  Write(kFile);
  EXPECT_TRUE(Edit());
  const Text written = Utf16LeBytesToText(Bytes());
  EXPECT_NE(written.find(u"Para0=500\r\nPara0=1000\r\n0\r\nPara5=a\r\n"), Text::npos) << ToUtf8(written);
}

TEST_F(SetParametersTest, AParameterNumberIsNotMatchedInsideALongerOne) {
  test::TestPrompts prompts{u"1        One", u"<cancel>", u"<cancel>"};
  Write(u"[PARAMETERS]\r\nhead\r\n//One\t1\r\nPara1=a\r\nPara10=b\r\nPara11=c\r\n");
  EXPECT_FALSE(Edit());
  ASSERT_EQ(prompts.dialogs().size(), 3u);
  EXPECT_EQ(prompts.dialogs()[1].options, std::vector<Text>{u"Para1=a"});
}

TEST_F(SetParametersTest, AFileWithoutTheSectionAsksNothing) {
  test::TestPrompts prompts;
  Write(u"[DIMENSIONS]\r\nFunction List=1,2,3,4\r\n");
  EXPECT_FALSE(Edit());
  EXPECT_TRUE(prompts.dialogs().empty());
}

}  // namespace
}  // namespace scrivano
