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

namespace scrivano {
namespace {

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

std::string DataFile(const std::string& name) {
  std::ifstream in(std::string(SCRIVANO_TEST_DATA) + "/encodings/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
