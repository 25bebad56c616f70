#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "text/Utf16Bytes.h"

namespace scrivano {
namespace {

const char kSample[] =
    "; comment\r\n"
    "[Other]\r\n"
    "Para1=from other\r\n"
    "  [ parameters ]  \r\n"
    "Heading line without a key\r\n"
    "//Timer\t0\r\n"
    "  PARA1  =   \"quoted value\"  \r\n"
    "Para1=second\r\n"
    "para2='single'\r\n"
    "Para3=\"unbalanced'\r\n"
    "Para4=\ta\tb\t\r\n"
    "Para5=\r\n"
    "[PARAMETERS]\r\n"
    "Para6=second section\r\n";

TEST(IniFile, ProfileRules) {
  const IniFile file = IniFile::FromBytes(kSample);
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para1"), u"quoted value");
  EXPECT_EQ(file.Value(u"Other", u"para1"), u"from other");
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para2"), u"single");
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para3"), u"\"unbalanced'");
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para4"), u"a\tb");
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para5"), u"");
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para6"), u"");  // only the first matching section is read
  EXPECT_EQ(file.Value(u"Missing", u"Para1"), u"");
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para0"), u"");
}

TEST(IniFile, ReadsUtf16WithMarkAndUtf8WithOrWithoutMark) {
  const Text text = u"[PARAMETERS]\r\nPara6=\u00E9\u4E2D\r\nPara7=\u201C\t\u201D";
  const std::string utf16 = "\xFF\xFE" + TextToUtf16LeBytes(text);
  const std::string utf8 = ToUtf8(text);
  for (const std::string& bytes : {utf16, utf8, "\xEF\xBB\xBF" + utf8, ToUtf8(u"[PARAMETERS]\nPara6=\u00E9\u4E2D\nPara7=\u201C\t\u201D")}) {
    const IniFile file = IniFile::FromBytes(bytes);
    EXPECT_EQ(file.Value(u"PARAMETERS", u"Para6"), u"\u00E9\u4E2D");
    EXPECT_EQ(file.Value(u"PARAMETERS", u"Para7"), u"\u201C\t\u201D");
  }
}

TEST(IniFile, LongValuesAreCutToTheBuffer) {
  const std::string bytes = "[S]\r\nK=" + std::string(70000, 'x') + "\r\n";
  EXPECT_EQ(IniFile::FromBytes(bytes).Value(u"S", u"K").size(), 65535u);
}

TEST(IniFile, SetValue_KeepsEveryOtherLineAndTheEncoding) {
  IniFile file = IniFile::FromBytes(kSample);
  file.SetValue(u"PARAMETERS", u"Para1", u"new");
  std::string expected = kSample;
  const std::string oldLine = "  PARA1  =   \"quoted value\"  ";
  expected.replace(expected.find(oldLine), oldLine.size(), "Para1=new");
  EXPECT_EQ(file.ToBytes(), expected);

  file.SetValue(u"other", u"Key", u"v");
  expected.replace(expected.find("Para1=from other\r\n") + 18, 0, "Key=v\r\n");
  EXPECT_EQ(file.ToBytes(), expected);

  file.SetValue(u"DIMENSIONS", u"Main", u"1 2 3 4");
  EXPECT_EQ(file.ToBytes(), expected + "[DIMENSIONS]\r\nMain=1 2 3 4\r\n");
  EXPECT_EQ(file.Value(u"dimensions", u"main"), u"1 2 3 4");

  IniFile utf16 = IniFile::FromBytes("\xFF\xFE" + TextToUtf16LeBytes(u"[A]\r\nx=1"));
  utf16.SetValue(u"A", u"y", u"\u4E2D");
  EXPECT_EQ(utf16.ToBytes(), "\xFF\xFE" + TextToUtf16LeBytes(u"[A]\r\nx=1\r\ny=\u4E2D\r\n"));
}

TEST(IniFile, SetValue_GoesAfterTheSectionsLastFilledLine) {
  IniFile file = IniFile::FromBytes("[A]\nx=1\n\n[B]\ny=2\n");
  file.SetValue(u"A", u"z", u"3");
  EXPECT_EQ(file.ToBytes(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n");
}

TEST(IniFile, SetValue_KeepsEachLinesOwnBreak) {
  struct Case {
    const char* bytes;
    const char16_t* section;
    const char16_t* key;
    const char* expected;
  };
  const Case cases[] = {
      {"", u"A", u"k", "[A]\r\nk=v\r\n"},
      {"[A]", u"A", u"k", "[A]\r\nk=v\r\n"},
      {"[A]\nx=1", u"A", u"k", "[A]\nx=1\nk=v\n"},
      {"[A]\rx=1\r\n\r\n\n", u"A", u"x", "[A]\rx=v\r\n\r\n\n"},
      {"\n\r\n[A]\n\r\rx=1\r", u"A", u"k", "\n\r\n[A]\n\r\rx=1\rk=v\n"},
      {"\r\n\n\r", u"B", u"k", "\r\n\n\r[B]\r\nk=v\r\n"},
      {"[A]\r\n\r\n\r\n[B]\r\nk=1", u"B", u"k", "[A]\r\n\r\n\r\n[B]\r\nk=v"},
  };
  for (const Case& c : cases) {
    IniFile file = IniFile::FromBytes(c.bytes);
    EXPECT_EQ(file.ToBytes(), c.bytes);
    file.SetValue(c.section, c.key, u"v");
    EXPECT_EQ(file.ToBytes(), c.expected) << c.bytes;
    EXPECT_EQ(file.Value(c.section, c.key), u"v") << c.bytes;
  }
}

TEST(WriteIniValue, CreatesOrUpdatesTheFile) {
  test::TempFolder folder;
  ASSERT_TRUE(WriteIniValue(folder.File("c.ini"), u"DIMENSIONS", u"Main", u"0 0 10 10"));
  EXPECT_EQ(folder.ReadBytes("c.ini"), "[DIMENSIONS]\r\nMain=0 0 10 10\r\n");
  ASSERT_TRUE(WriteIniValue(folder.File("c.ini"), u"DIMENSIONS", u"Main", u"1 1 5 5"));
  EXPECT_EQ(folder.ReadBytes("c.ini"), "[DIMENSIONS]\r\nMain=1 1 5 5\r\n");
  EXPECT_FALSE(WriteIniValue(folder.File("missing/c.ini"), u"S", u"K", u"V"));
}

}  // namespace
}  // namespace scrivano
