#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "text/TextEncodings.h"
#include "text/Utf8.h"

namespace scrivano {
namespace {

using namespace std::string_literals;

std::string DataFile(const std::string& name) {
  std::ifstream in(std::string(SCRIVANO_TEST_DATA) + "/encodings/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Text Utf16(std::string_view utf8) {
  Text text;
  AppendUtf8AsUtf16(utf8, text);
  return text;
}

// Every file of the test data: what it is read as, a piece of its text, and that it goes back byte for
// byte, both as read and after the workbench's change of its line breaks to "\r\n" and back.
TEST(DecodeTextFile, EachEncodingIsReadAndWrittenBackAsItCame) {
  struct Case {
    const char* file;
    TextFormat format;
    const char* piece;
  } cases[] = {
      {"gbk-crlf.txt", {Charset::kGb18030, false, LineBreak::kCrLf}, "胸部"},
      {"gbk-odd.txt", {Charset::kGb18030, false, LineBreak::kCrLf}, "多喝水"},
      {"big5-lf.txt", {Charset::kBig5, false, LineBreak::kLf}, "症狀"},
      {"gb18030-4byte.txt", {Charset::kGb18030, false, LineBreak::kLf}, "𠀀𪚥，À ẞ"},
      {"utf8-lf.txt", {Charset::kUtf8, false, LineBreak::kLf}, "胸痛"},
      {"utf8-mark.txt", {Charset::kUtf8, true, LineBreak::kCrLf}, "胸痛"},
      {"utf16le-mark.txt", {Charset::kUtf16Le, true, LineBreak::kCrLf}, "胸痛"},
      {"utf16be-mark.txt", {Charset::kUtf16Be, true, LineBreak::kLf}, "胸痛"},
      {"utf16le.txt", {Charset::kUtf16Le, false, LineBreak::kCrLf}, "胸痛"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string bytes = DataFile(c.file);
    ASSERT_FALSE(bytes.empty());
    DecodedText decoded = DecodeTextFile(bytes);
    EXPECT_EQ(decoded.format, c.format);
    EXPECT_TRUE(decoded.Lossless()) << decoded.firstBadByte;
    EXPECT_NE(decoded.text.find(Utf16(c.piece)), Text::npos);
    EXPECT_EQ(decoded.text.find(u'\xFFFD'), Text::npos);

    std::string written;
    ASSERT_TRUE(EncodeTextFile(decoded.text, decoded.format, written));
    EXPECT_EQ(written, bytes);
    ToCrLf(decoded.text);
    ASSERT_TRUE(EncodeTextFile(decoded.text, decoded.format, written));
    EXPECT_EQ(written, bytes);
  }
}

TEST(DecodeTextFile, EdgesOfTheReadingRule) {
  struct Case {
    std::string bytes;
    Charset charset;
    bool mark;
    Text text;
  } cases[] = {
      {"", Charset::kUtf8, false, u""},
      {"\xEF\xBB\xBF", Charset::kUtf8, true, u""},
      {"\xFE\xFF\x4E\x2D", Charset::kUtf16Be, true, u"\u4E2D"},
      // Valid UTF-8 that is valid GB18030 as well: UTF-8 wins.
      {"\xE4\xB8\xAD\xE6\x96\x87", Charset::kUtf8, false, u"\u4E2D\u6587"},
      // One GBK lead byte alone: GB18030, with the half character replaced.
      {"\xD6", Charset::kGb18030, false, u"\uFFFD"},
      // UTF-16 without a mark, told by where its zero bytes stand.
      {"a\0b\0"s, Charset::kUtf16Le, false, u"ab"},
      {"\0a\0b"s, Charset::kUtf16Be, false, u"ab"},
      {"\x2D\x4E\r\0\n\0"s, Charset::kUtf16Le, false, u"\u4E2D\r\n"},
      // A zero byte in 8-bit text does not make it UTF-16.
      {"abc\0def"s, Charset::kUtf8, false, u"abc\0def"s},
      // UTF-8 cut inside its last character, or with a stray byte, stays UTF-8 (GB18030 would read the
      // first without a fault, as other characters).
      {"\xE4\xB8\xAD\xE6\x96\x87\xE4\xB8\xAD\xE6\x96\x87\xE4\xB8", Charset::kUtf8, false,
       u"\u4E2D\u6587\u4E2D\u6587\uFFFD"},
      {"\xE4\xB8\xAD\xE6\x96\x87 \xFF \xE4\xB8\xAD\xE6\x96\x87\xE4\xB8\xAD\xE6\x96\x87", Charset::kUtf8,
       false, u"\u4E2D\u6587 \uFFFD \u4E2D\u6587\u4E2D\u6587"},
  };
  for (const Case& c : cases) {
    const DecodedText decoded = DecodeTextFile(c.bytes);
    EXPECT_EQ(decoded.format.charset, c.charset) << c.bytes;
    EXPECT_EQ(decoded.format.byteOrderMark, c.mark) << c.bytes;
    EXPECT_EQ(decoded.text, c.text) << c.bytes;
  }
}

TEST(DecodeTextFile, TheFirstBadByteIsNamedByItsOffset) {
  struct Case {
    std::string bytes;
    Charset charset;
    size_t replaced;
    size_t firstBad;
  } cases[] = {
      {"ab\xD6", Charset::kGb18030, 1, 2},
      {"\xEF\xBB\xBF"
       "ab\xFF",
       Charset::kUtf8, 1, 5},
      {"a\xE4\xB8"
       "b\xE4\xB8",
       Charset::kUtf8, 2, 1},
      {"\xFF\xFE"
       "a\0b"s,
       Charset::kUtf16Le, 1, 4},
      {"\xD6\xD0\xFF", Charset::kGb18030, 1, 2},
      {"\xA4\xA4\xFF", Charset::kBig5, 1, 2},
  };
  for (const Case& c : cases) {
    const DecodedText decoded = DecodeTextFile(c.bytes, c.charset);
    EXPECT_EQ(decoded.replaced, c.replaced) << c.bytes;
    EXPECT_EQ(decoded.firstBadByte, c.firstBad) << c.bytes;
  }
}

TEST(EncodeTextFile, ACharacterTheEncodingCannotHoldIsNamedNotReplaced) {
  struct Case {
    Text text;
    Charset charset;
    size_t firstUnencodable;
  } cases[] = {
      {u"\u4E2D\u6587", Charset::kBig5, Text::npos},
      {u"ok \u6761", Charset::kBig5, 3},       // a simplified character
      {u"\r\n\U00020000", Charset::kBig5, 2},  // beyond the plane of the code page
      {u"\U00020000", Charset::kGb18030, Text::npos},
      {Text(1, char16_t(0xD800)), Charset::kUtf8, 0},  // a lone surrogate has no UTF-8
      {Text(1, char16_t(0xD800)), Charset::kUtf16Be, Text::npos},
  };
  for (const Case& c : cases) {
    std::string bytes = "untouched";
    size_t at = 99;
    const bool stored = EncodeTextFile(c.text, {c.charset, false, LineBreak::kLf}, bytes, &at);
    EXPECT_EQ(stored, c.firstUnencodable == Text::npos) << ToUtf8(c.text);
    if (!stored) {
      EXPECT_EQ(at, c.firstUnencodable) << ToUtf8(c.text);
    }
  }
}

TEST(CharsetFromName, TakesTheNamesUsersType) {
  EXPECT_EQ(CharsetFromName("UTF-8"), Charset::kUtf8);
  EXPECT_EQ(CharsetFromName("utf16be"), Charset::kUtf16Be);
  EXPECT_EQ(CharsetFromName("GBK"), Charset::kGb18030);
  EXPECT_EQ(CharsetFromName("cp950"), Charset::kBig5);
  EXPECT_EQ(CharsetFromName("latin1"), std::nullopt);
  for (const Charset charset :
       {Charset::kUtf8, Charset::kUtf16Le, Charset::kUtf16Be, Charset::kGb18030, Charset::kBig5})
    EXPECT_EQ(CharsetFromName(CharsetName(charset)), charset);
}

TEST(LineBreaks, DominantBreakAndConversions) {
  struct Case {
    Text text;
    LineBreak dominant;
    Text withCrLf;
  } cases[] = {
      {u"", LineBreak::kCrLf, u""},
      {u"a\nb\n", LineBreak::kLf, u"a\r\nb\r\n"},
      {u"a\rb", LineBreak::kCr, u"a\r\nb"},
      {u"a\r\nb\nc", LineBreak::kCrLf, u"a\r\nb\r\nc"},  // a tie goes to "\r\n"
      {u"a\n\rb\r\n\n", LineBreak::kLf, u"a\r\n\r\nb\r\n\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DominantLineBreak(c.text), c.dominant) << ToUtf8(c.text);
    Text lines = c.text;
    ToCrLf(lines);
    EXPECT_EQ(lines, c.withCrLf);
  }
  Text lines = u"a\r\nb\rc\r\n";
  FromCrLf(lines, LineBreak::kLf);
  EXPECT_EQ(lines, u"a\nb\rc\n");
}

}  // namespace
}  // namespace scrivano
