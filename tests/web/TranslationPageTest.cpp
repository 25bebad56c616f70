#include <gtest/gtest.h>

#include "web/TranslationPage.h"

namespace scrivano {
namespace {

TEST(BuildTranslationAddress, CutPointsAndKeywords) {
  struct Case {
    Text address, text, expected;
    bool ok;
  };
  const Case cases[] = {
      // After the first "=".
      {u"https://fanyi.youdao.com/?q=old&x=1", u"new", u"https://fanyi.youdao.com/?q=new", true},
      // After the second "/" following "/#".
      {u"https://translate.google.cn/#en/zh-CN/old text", u"new",
       u"https://translate.google.cn/#en/zh-CN/new", true},
      // After the first "/" from position 9 on (the end of the host).
      {u"https://fanyi.baidu.com/old", u"new", u"https://fanyi.baidu.com/new", true},
      {u"https://www.iciba.com", u"new", u"https://www.iciba.comnew", true},
      // None of the keywords: emptied.
      {u"https://example.org/page", u"new", u"", false},
  };
  for (const Case& c : cases) {
    Text address = c.address;
    EXPECT_EQ(BuildTranslationAddress(address, c.text), c.ok) << ToUtf8(c.address);
    EXPECT_EQ(address, c.expected) << ToUtf8(c.address);
  }
}

TEST(ReadPageTranslation, EachSitesMarkers) {
  struct Case {
    const char* name;
    int site;
    Text source;  // translationAddress (site 3 looks for "翻译" followed by it)
    Text page;
    Text expected;
  };
  const Case cases[] = {
      {"site 1", 1, u"", u"菜单\n翻译文字或网页\n英语 中文\nHello world\n翻译更多\n你好世界\n反馈",
       u"你好世界"},
      {"site 1 still working", 1, u"", u"翻译文字或网页\n英语\nHello\n翻译更多\n正在翻译...\n", u"previous"},
      {"site 1 still working (ellipsis)", 1, u"", u"翻译文字或网页\n英语\nHello\n翻译更多\n翻译中…\n",
       u"previous"},
      {"site 2", 2, u"", u"有道翻译\n\nHello\n\n你好\n更多", u"你好"},
      {"site 2 second marker", 2, u"", u"词典\n网络释义\nHello\n你好啊\n", u"你好啊"},
      {"site 3", 3, u"Hello", u"百度翻译Hello\n你好\n推荐搜索\n", u"\r\n你好\r\n"},
      {"site 4", 4, u"", u"词典\n网络\n\n你好\n", u"你好"},
      {"marker missing", 4, u"", u"nothing here", u"previous"},
      {"no site", 0, u"", u"网络\n你好", u"previous"},
  };
  for (const Case& c : cases) {
    TranslationRelay relay;
    relay.translationSite = c.site;
    relay.translationAddress = c.source;
    relay.pageResult = u"previous";
    relay.previousResult = u"previous";
    ReadPageTranslation(relay, c.page);
    EXPECT_EQ(relay.pageResult, c.expected) << c.name << ": " << ToUtf8(relay.pageResult);
  }
}

TEST(ReadPageTranslation, MaskedPercentComesBack) {
  TranslationRelay relay;
  relay.translationSite = 4;
  relay.maskedPercentCount = 1;
  ReadPageTranslation(relay, u"网络\n百分之五十 50*****\n");
  EXPECT_EQ(relay.pageResult, u"百分之五十 50%");
  relay.maskedPercentCount = 0;
  relay.lastMaskedPercentCount = 0;
  ReadPageTranslation(relay, u"网络\n星号*****\n");
  EXPECT_EQ(relay.pageResult, u"星号*****");
}

TEST(TranslationSites, OneTableOfFourSitesAndNineKeywords) {
  int sites = 1, keywords = 1;
  for (char16_t c : TranslationSites::kSites) sites += c == u'\t';
  for (char16_t c : TranslationSites::kKeywords) keywords += c == u'\t';
  EXPECT_EQ(sites, 4);
  EXPECT_EQ(keywords, 9);
  EXPECT_EQ(TranslationSiteOf(u"https://fanyi.baidu.com/#en/zh/x"), 3);
  EXPECT_EQ(TranslationSiteOf(TranslationSites::kExamplePage), 2);
  EXPECT_EQ(TranslationSiteOf(u"https://example.org/"), 0);
}

}  // namespace
}  // namespace scrivano

namespace scrivano {
namespace {

TEST(TranslateLines, TagsCopiedThroughAndBlankPiecesNeverSent) {
  std::vector<Text> sent;
  const auto translate = [&](TextView piece, Text& translation) {
    sent.emplace_back(piece);
    if (piece == u"fail") return false;
    translation = u"<" + Text(piece) + u">";
    return true;
  };
  int failures = 0;
  EXPECT_EQ(TranslateLines(u"Hello {ut12}world{ut13}", translate, [&] { ++failures; }),
            u"<Hello>{ut12}<world>{ut13}");
  EXPECT_EQ(sent, (std::vector<Text>{u"Hello", u"world"}));
  sent.clear();
  EXPECT_EQ(TranslateLines(u"  \r\none\r\n{ut1}  {ut2}\r\nfail{ut3}x\r\ntwo", translate, [&] { ++failures; }),
            u"<one>\r\n{ut1}{ut2}\r\n\r\n<two>");  // a line break is added once there is text
  EXPECT_EQ(sent, (std::vector<Text>{u"one", u"fail", u"two"}));
  EXPECT_EQ(failures, 1);
}

}  // namespace
}  // namespace scrivano
