#include "cli/TextStreams.h"

#include <gtest/gtest.h>


namespace scrivano::cli {
namespace {

TEST(TextStreams, LineBreaksAreConvertedUnlessRaw) {
  EXPECT_EQ(DecodeInput("a\nb\r\nc\r\rd\n", StreamEncoding::kUtf8, false), u"a\r\nb\r\nc\r\rd\r\n");
  EXPECT_EQ(DecodeInput("a\nb", StreamEncoding::kUtf8, true), u"a\nb");
  EXPECT_EQ(EncodeOutput(u"a\r\nb\rc\n", StreamEncoding::kUtf8, false), "a\nb\rc\n");
  EXPECT_EQ(EncodeOutput(u"a\r\n", StreamEncoding::kUtf8, true), "a\r\n");
}

TEST(TextStreams, Utf8InputDropsItsMarkAndReplacesInvalidBytes) {
  EXPECT_EQ(DecodeInput("\xEF\xBB\xBF" "a\xFF", StreamEncoding::kUtf8, true), u"a\uFFFD");
  EXPECT_EQ(EncodeOutput(Text{u'a', char16_t(0xDC00)}, StreamEncoding::kUtf8, true), "a\xEF\xBF\xBD");
}

TEST(TextStreams, Utf16LeIsRawCodeUnits) {
  EXPECT_EQ(DecodeInput(std::string("a\0\x00\xD8" "b", 5), StreamEncoding::kUtf16Le, true),
            (Text{u'a', char16_t(0xD800)}));
  EXPECT_EQ(DecodeInput(std::string("\xFF\xFE" "a\0", 4), StreamEncoding::kUtf16Le, true), u"\uFEFFa");
  EXPECT_EQ(EncodeOutput(Text{u'a', char16_t(0xD800)}, StreamEncoding::kUtf16Le, true), std::string("a\0\x00\xD8", 4));
}

}  // namespace
}  // namespace scrivano::cli
