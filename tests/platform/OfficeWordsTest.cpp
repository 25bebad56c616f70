// The office's Find and Replace words, read from gettext catalogs the test writes as LibreOffice installs
// them (program/resource/<language>/LC_MESSAGES/svx.mo).
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/OfficeWords.h"
#include "platform/WindowClasses.h"
#include "support/TempFolder.h"

namespace scrivano::platform {
namespace {

struct Message {
  std::string key;  // context, U+0004, original
  std::string translation;
};

// A catalog as msgfmt writes it: the header, the two tables of lengths and offsets, then the strings.
std::string CatalogBytes(const std::vector<Message>& messages, bool bigEndian) {
  std::string bytes;
  const auto word = [&](size_t value) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * (bigEndian ? 3 - i : i))) & 0xFF);
  };
  const size_t count = messages.size();
  size_t at = 28 + 16 * count;
  word(0x950412de), word(0), word(count), word(28), word(28 + 8 * count), word(0), word(0);
  std::string strings;
  for (const bool translated : {false, true}) {
    for (const Message& message : messages) {
      const std::string& text = translated ? message.translation : message.key;
      word(text.size()), word(at + strings.size());
      strings += text + '\0';
    }
  }
  return bytes + strings;
}

std::string Key(const std::string& id, const std::string& original) {
  return "findreplacedialog|" + id + '\x04' + original;
}

TEST(OfficeWords, EachInstalledTranslationGivesItsWordsAndTheCatalogsTheEnglishOnes) {
  test::TempFolder folder;
  const std::vector<Message> simplified{{Key("FindReplaceDialog", "Find and Replace"), "查找与替换"},
                                        {Key("label4", "Fi_nd:"), "查找(_F):"},
                                        {Key("label5", "Re_place:"), "替换(_P):"},
                                        {Key("replaceall", "Replace A_ll"), "全部替换(_L)"},
                                        {Key("extended_tip|FindReplaceDialog", "Finds."), "查找。"},
                                        {"other|label4\x04_Other", "x"}};
  // Replace All left untranslated (empty), as the office then shows it in English.
  const std::vector<Message> madeUp{{Key("FindReplaceDialog", "Find and Replace"), "Chercher"},
                                    {Key("label4", "Fi_nd:"), "_Texte :"},
                                    {Key("label5", "Re_place:"), "_Nouveau :"},
                                    {Key("replaceall", "Replace A_ll"), ""}};
  const std::string program = folder.path() + "/program";
  for (const auto& [language, bytes] :
       {std::pair{"zh_CN", CatalogBytes(simplified, false)}, std::pair{"xx", CatalogBytes(madeUp, true)},
        std::pair{"broken", CatalogBytes(simplified, false).substr(0, 100)},
        std::pair{"empty", std::string()}}) {
    std::filesystem::create_directories(program + "/resource/" + language + "/LC_MESSAGES");
    folder.WriteBytes("program/resource/" + std::string(language) + "/LC_MESSAGES/svx.mo", bytes);
  }
  std::filesystem::create_directories(program + "/resource/common");

  const std::vector<FindReplaceWords> words = ReadFindReplaceWords(program);
  ASSERT_EQ(words.size(), 3u);
  // The originals of this office's catalogs, not the built-in ones ("Fi_nd:" here).
  EXPECT_EQ(words[0].language, "en-US");
  EXPECT_EQ(words[0].title, u"Find and Replace");
  EXPECT_EQ(words[0].findLabel, u"Fi_nd:");
  EXPECT_EQ(words[1].language, "xx");
  EXPECT_EQ(words[1].title, u"Chercher");
  EXPECT_EQ(words[1].replaceLabel, u"_Nouveau :");
  EXPECT_EQ(words[1].replaceAllLabel, u"Replace A_ll");
  EXPECT_EQ(words[2].language, "zh_CN");
  EXPECT_EQ(words[2].title, u"查找与替换");
  EXPECT_EQ(words[2].findLabel, u"查找(_F):");
  EXPECT_EQ(words[2].replaceAllLabel, u"全部替换(_L)");

  EXPECT_EQ(ReadFindReplaceWords(folder.path() + "/nowhere").size(), 1u);
  EXPECT_EQ(ReadCatalog(CatalogBytes(simplified, false), "findreplacedialog|label").size(), 2u);
}

TEST(OfficeWords, TheAccessKeyIsTheCharacterAfterTheMark) {
  const std::pair<const char16_t*, char16_t> cases[] = {{u"_Find:", u'F'},
                                                        {u"查找(_F):", u'F'},
                                                        {u"Replace A_ll", u'l'},
                                                        {u"Tout ~remplacer", u'r'},
                                                        {u"a__b_c", u'c'},
                                                        {u"_Найти:", u'Н'},
                                                        {u"none", 0},
                                                        {u"end_", 0},
                                                        {u"", 0}};
  for (const auto& [label, key] : cases) EXPECT_EQ(AccessKeyOf(label), key) << ToUtf8(label);
}

TEST(OfficeWords, TheWindowIsKnownByItsTitleInAnyLanguageItsOfficeKnows) {
  const std::vector<FindReplaceWords> office{
      EnglishFindReplaceWords(), {"zh_TW", u"尋找與取代", u"尋找(_F):", u"取代(_P):", u"全部取代(_L)"}};
  const WindowKind traditional{u"libreoffice", u"libreoffice-writer", u"尋找與取代", true, &office};
  ASSERT_NE(FindReplaceWordsOf(traditional), nullptr);
  EXPECT_EQ(FindReplaceWordsOf(traditional)->language, "zh_TW");
  EXPECT_EQ(ReportedClassName(traditional), u"bosa_sdm");
  // Without the office's words only the English title is known; a document is never the window.
  EXPECT_EQ(ReportedClassName({u"libreoffice", u"libreoffice-writer", u"尋找與取代", true}), u"#32770");
  EXPECT_EQ(ReportedClassName({u"libreoffice", u"libreoffice-writer", u"Find and Replace", true}),
            u"bosa_sdm");
  EXPECT_EQ(FindReplaceWordsOf({u"libreoffice", u"libreoffice-writer", u"尋找與取代", false, &office}),
            nullptr);
}

}  // namespace
}  // namespace scrivano::platform
