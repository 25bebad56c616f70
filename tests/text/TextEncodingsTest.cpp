#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#include "text/CodePages.h"
#include "text/LineBreaks.h"
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

// iconv alone over the whole bytes, one U+FFFD for the first byte of each sequence it refuses: what the
// table-driven decoder must give.
size_t PlainIconvDecode(std::string_view bytes, const char* charset, Text& text, size_t& firstBad) {
  const iconv_t cd = iconv_open("UTF-16LE", charset);
  text.assign(bytes.size(), u'\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* out = reinterpret_cast<char*>(text.data());
  size_t outLeft = text.size() * 2;
  size_t replaced = 0;
  firstBad = std::string::npos;
  while (inLeft > 0 && iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) {
    EXPECT_TRUE(errno == EILSEQ || errno == EINVAL);
    if (replaced++ == 0) firstBad = static_cast<size_t>(in - bytes.data());
    const char16_t replacement = u'\xFFFD';
    std::memcpy(out, &replacement, 2);
    out += 2;
    outLeft -= 2;
    ++in;
    --inLeft;
  }
  iconv_close(cd);
  text.resize(static_cast<size_t>(out - reinterpret_cast<char*>(text.data())) / 2);
  return replaced;
}

TEST(DecodeCodePage, TheTables_GiveWhatIconvGivesWhereverTheBytesFall) {
  // Pieces where a table and iconv could part: trail bytes in the ASCII range, four-byte sequences, bytes
  // that begin no character, sequences cut by the end, single bytes above 0x7F.
  const std::string pieces[] = {"a",
                                "0123456789abcdefghij",
                                "\r\n",
                                "\xD6\xD0",
                                "\xA4\x40",
                                "\xB5\x7E",
                                "\x81\x30\x81\x30",
                                "\x95\x32\x82\x36",
                                "\x81\x30",
                                "\x80",
                                "\xFF",
                                "\xA1",
                                "\xF9\xFE",
                                "\xC6\xA1",
                                "\x81\x7F",
                                "\xFE\xFE",
                                std::string(1, '\0')};
  std::mt19937 random(11);
  for (const auto& [codePage, name] :
       {std::pair{CodePage::kGb18030, "GB18030"}, {CodePage::kBig5, "CP950"}}) {
    for (int round = 0; round < 3000; ++round) {
      std::string bytes;
      for (unsigned k = random() % 24; k > 0; --k) bytes += pieces[random() % std::size(pieces)];
      Text expected, text;
      size_t expectedFirst = 0, first = std::string::npos;
      const size_t expectedReplaced = PlainIconvDecode(bytes, name, expected, expectedFirst);
      ASSERT_EQ(DecodeCodePage(bytes, codePage, text, &first), expectedReplaced)
          << testing::PrintToString(bytes);
      ASSERT_EQ(text, expected) << name << " " << testing::PrintToString(bytes);
      ASSERT_EQ(first, expectedFirst);
    }
  }
}

TEST(DecodeTextFile, DamagedUtf8_StaysUtf8WithItsFirstBadByte) {
  const std::string utf8 = DataFile("utf8-lf.txt");
  // Cut inside its last character, and broken inside, near the start: a code page would read either
  // without a fault, as other Chinese characters.
  std::string broken = utf8 + utf8;
  broken[10] = '\xFF';
  const std::pair<std::string, size_t> cases[] = {{utf8 + "\xE4\xB8", utf8.size()}, {broken, 10}};
  for (const auto& [bytes, firstBad] : cases) {
    const DecodedText decoded = DecodeTextFile(bytes);
    EXPECT_EQ(decoded.format.charset, Charset::kUtf8);
    EXPECT_EQ(decoded.replaced, 1u);
    EXPECT_EQ(decoded.firstBadByte, firstBad);
  }
}

TEST(DecodeTextFile, ALongFile_IsJudgedByAllItsBytesNotItsBeginning) {
  const std::string ascii(100000, 'a');
  const std::string gbk = DataFile("gbk-crlf.txt");
  const Text chinese = DecodeTextFile(gbk).text;
  const std::string big5 = DataFile("big5-lf.txt");
  const struct Case {
    std::string bytes;
    Charset charset;
    Text text;
  } cases[] = {
      {ascii + "\xE4\xB8\xAD", Charset::kUtf8, Text(ascii.size(), u'a') + u"\u4E2D"},
      {ascii + gbk, Charset::kGb18030, Text(ascii.size(), u'a') + chinese},
      {gbk + ascii, Charset::kGb18030, chinese + Text(ascii.size(), u'a')},
      // The detector looks where the ASCII ends: Big5 would read as other GB18030 characters, no fault.
      {std::string(300000, 'a') + big5, Charset::kBig5, Text(300000, u'a') + DecodeTextFile(big5).text},
  };
  for (const Case& c : cases) {
    const DecodedText decoded = DecodeTextFile(c.bytes);
    EXPECT_EQ(decoded.format.charset, c.charset);
    EXPECT_TRUE(decoded.Lossless());
    EXPECT_TRUE(decoded.text == c.text);
  }
}

TEST(EncodeTextReplacing, WritesWhatTheCharsetLacksAsAReplacement) {
  const Text loneSurrogate{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  const struct Case {
    Text text;
    Charset charset;
    std::string bytes;
    size_t replaced, first;
  } cases[] = {
      {u"\u4E2D\u4E2A\U00020000x", Charset::kBig5, "\xA4\xA4??x", 2, 1},  // 个 is simplified
      {u"\u4E2A\U00020000", Charset::kGb18030, "\xB8\xF6\x95\x32\x82\x36", 0, std::string::npos},
      {loneSurrogate, Charset::kGb18030, "a?b?", 2, 1},
      {loneSurrogate, Charset::kUtf8,
       "a\xEF\xBF\xBD"
       "b\xEF\xBF\xBD",
       2, 1},
      {loneSurrogate, Charset::kUtf16Be, std::string("\0a\xD8\0\0b\xDC\0", 8), 0, std::string::npos},
  };
  for (const Case& c : cases) {
    std::string bytes;
    size_t first = 0;
    EXPECT_EQ(EncodeTextReplacing(c.text, c.charset, bytes, &first), c.replaced) << CharsetName(c.charset);
    EXPECT_EQ(bytes, c.bytes) << CharsetName(c.charset);
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(EncodeText(c.text, c.charset, bytes), c.first);
  }
}

TEST(DominantLineBreak, CountsAsTheOneAtATimeReadingDoes) {
  const auto plain = [](TextView text) {
    size_t crLf = 0, lf = 0, cr = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
        ++crLf;
        ++i;
      } else {
        lf += text[i] == u'\n';
        cr += text[i] == u'\r';
      }
    }
    if (crLf >= std::max(lf, cr)) return LineBreak::kCrLf;
    return lf >= cr ? LineBreak::kLf : LineBreak::kCr;
  };
  const char16_t units[] = {u'\r', u'\n', u'a', u'\u4E2D'};
  std::mt19937 random(3);
  for (int round = 0; round < 3000; ++round) {
    Text text;
    for (unsigned k = random() % 70; k > 0; --k) text += units[random() % std::size(units)];
    ASSERT_EQ(DominantLineBreak(text), plain(text)) << testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace scrivano
