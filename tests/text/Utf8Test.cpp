#include "text/Utf8.h"

#include <gtest/gtest.h>

#include "text/Text.h"

namespace scrivano {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
  const Text text = u"a\u00E9\u4E2D\U0001F600\uFFFF";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(u"\u4E2D"), "\xE4\xB8\xAD");
}

TEST(Utf8, IllFormedBytes_BecomeOneReplacementEach) {
  struct Case {
    std::string bytes;
    Text expected;
  } cases[] = {
      {"\xFF", u"\uFFFD"},
      {"a\x80z", u"a\uFFFDz"},
      {"\xE4\xB8", u"\uFFFD"},              // truncated at the end
      {"\xE4\xB8z", u"\uFFFDz"},            // truncated before a valid byte
      {"\xC0\xAF", u"\uFFFD\uFFFD"},        // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xF0\x9F\x98", u"\uFFFD"},
      {std::string("a\0b", 3), Text(u"a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(FromUtf8(c.bytes), c.expected) << c.bytes.size();
}

TEST(Utf8, LoneSurrogates_AreWrittenAsReplacement) {
  EXPECT_EQ(ToUtf8(Text(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf8(Text{char16_t(0xDC00), u'a'}), "\xEF\xBF\xBD" "a");
  EXPECT_EQ(ToUtf8(Text{char16_t(0xD800), char16_t(0xD800), char16_t(0xDC00)}), "\xEF\xBF\xBD\xF0\x90\x80\x80");
}

}  // namespace
}  // namespace scrivano
