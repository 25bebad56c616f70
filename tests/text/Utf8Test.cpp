#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "text/Text.h"
#include "text/Utf8.h"
#include "text/Utf8Check.h"

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
      {"\xE4\xB8", u"\uFFFD"},                            // truncated at the end
      {"\xE4\xB8z", u"\uFFFDz"},                          // truncated before a valid byte
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xF0\x9F\x98", u"\uFFFD"},
      {std::string("a\0b", 3), Text(u"a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(FromUtf8(c.bytes), c.expected) << c.bytes.size();
}

TEST(Utf8, LoneSurrogates_AreWrittenAsReplacement) {
  EXPECT_EQ(ToUtf8(Text(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf8(Text{char16_t(0xDC00), u'a'}),
            "\xEF\xBF\xBD"
            "a");
  EXPECT_EQ(ToUtf8(Text{char16_t(0xD800), char16_t(0xD800), char16_t(0xDC00)}),
            "\xEF\xBF\xBD\xF0\x90\x80\x80");
}

// Pieces that, strung together at random, put every kind of sequence (and every kind of error) at every
// offset of the sixteen-byte blocks, also across their edges.
const std::string kPieces[] = {
    "a",
    "z",
    "\n",
    "\r",
    std::string(1, '\0'),
    "\x7F",
    "0123456789abcdef0123456789",  // ASCII runs
    "\xC3\xA9",
    "\xE4\xB8\xAD",
    "\xEF\xBF\xBD",
    "\xEF\xBB\xBF",
    "\xF0\x9F\x98\x80",
    "\xF4\x8F\xBF\xBF",
    "\xE0\xA0\x80",
    "\xED\x9F\xBF",
    "\xEE\x80\x80",  // well-formed, every lead kind
    "\x80",
    "\xBF",
    "\xC0",
    "\xC1\xBF",
    "\xF5",
    "\xFF",  // bytes never valid
    "\xE4\xB8",
    "\xE4",
    "\xF0\x9F\x98",
    "\xF0\x9F",
    "\xC3",  // truncated
    "\xE0\x80\x80",
    "\xED\xA0\x80",
    "\xF0\x80\x80\x80",
    "\xF4\x90\x80\x80",  // out of range
};

std::string RandomBytes(std::mt19937& random, size_t pieces) {
  std::string bytes;
  for (size_t k = 0; k < pieces; ++k) bytes += kPieces[random() % std::size(kPieces)];
  return bytes;
}

Text RandomUnits(std::mt19937& random, size_t length) {
  // Mostly ASCII with stretches of the other kinds, lone and paired surrogates among them.
  const char16_t kinds[] = {u'a',  u'\r',  u'\n',  0x7F,   0x80,   0x7FF,
                            0x800, 0x4E2D, 0xD83D, 0xDE00, 0xFFFD, 0xFFFF};
  Text text;
  while (text.size() < length) {
    if (random() % 3 != 0) {
      text.append(random() % 40, static_cast<char16_t>(u'a' + random() % 26));
    } else if (random() % 2 == 0) {
      text += kinds[random() % std::size(kinds)];
    } else {
      // A run of one kind, as in a stretch of Chinese.
      text.append(random() % 30, kinds[random() % std::size(kinds)]);
    }
  }
  return text;
}

TEST(Utf8, FastDecoding_MatchesThePlainOne) {
  std::mt19937 random(15);
  for (int round = 0; round < 3000; ++round) {
    const std::string bytes = RandomBytes(random, random() % 60);
    const Text prefix = round % 2 ? u"x" : u"";  // appending after existing text too
    Text fast = prefix, plain = prefix;
    const size_t fastReplaced = AppendUtf8AsUtf16(bytes, fast);
    const size_t plainReplaced = AppendUtf8AsUtf16Plain(bytes, plain);
    ASSERT_EQ(fast, plain) << testing::PrintToString(bytes);
    ASSERT_EQ(fastReplaced, plainReplaced) << testing::PrintToString(bytes);
  }
}

// Well-formed exactly when the decoder replaces nothing, in one piece or cut anywhere.
TEST(Utf8, Check_AgreesWithTheDecoder) {
  std::mt19937 random(18);
  for (int round = 0; round < 5000; ++round) {
    const std::string bytes = RandomBytes(random, random() % 60);
    Text decoded;
    const bool wellFormed = AppendUtf8AsUtf16Plain(bytes, decoded) == 0;
    ASSERT_EQ(IsWellFormedUtf8(bytes), wellFormed) << testing::PrintToString(bytes);
    ASSERT_EQ(IsWellFormedUtf8Plain(bytes), wellFormed) << testing::PrintToString(bytes);
    Utf8Check pieces;
    for (size_t at = 0; at < bytes.size();) {
      const size_t size = std::min<size_t>(random() % 40, bytes.size() - at);
      pieces.Take(std::string_view(bytes).substr(at, size));
      at += size;
    }
    ASSERT_EQ(pieces.Finish(), wellFormed) << testing::PrintToString(bytes);
  }
}

TEST(Utf8, FastEncoding_MatchesThePlainOne) {
  std::mt19937 random(16);
  for (int round = 0; round < 3000; ++round) {
    const Text text = RandomUnits(random, random() % 100);
    std::string fast = round % 2 ? "x" : "", plain = fast;
    AppendUtf16AsUtf8(text, fast);
    AppendUtf16AsUtf8Plain(text, plain);
    ASSERT_EQ(fast, plain) << ToUtf8(text);
  }
}

TEST(Utf8, ReplacementsAreCounted_NotTheOnesWrittenAsSuch) {
  Text text;
  EXPECT_EQ(AppendUtf8AsUtf16("\xEF\xBF\xBD"
                              "a\xFF\xE4\xB8z\xED\xA0\x80",
                              text),
            5u);
  EXPECT_EQ(text, u"\uFFFDa\uFFFD\uFFFDz\uFFFD\uFFFD\uFFFD");
}

TEST(Utf8, LengthOfWellFormedBytes_IsTheDecodedLength) {
  std::mt19937 random(17);
  for (int round = 0; round < 500; ++round) {
    const std::string bytes = ToUtf8(RandomUnits(random, random() % 200));
    EXPECT_EQ(Utf16LengthOfUtf8(bytes), FromUtf8(bytes).size());
  }
}

TEST(Utf8, IllFormedBytesBeyondTheReservedLength_StillDecodeWhole) {
  // Every stray continuation byte decodes to a unit of its own: far more units than reserved.
  const std::string bytes = std::string(1000, '\x80') + "abc" + std::string(40, '\xBF');
  Text text;
  EXPECT_EQ(AppendUtf8AsUtf16(bytes, text), 1040u);
  EXPECT_EQ(text, Text(1000, u'\uFFFD') + u"abc" + Text(40, u'\uFFFD'));
}

}  // namespace
}  // namespace scrivano
