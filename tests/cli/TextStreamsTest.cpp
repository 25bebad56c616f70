#include <gtest/gtest.h>

#include <random>
#include <string_view>
#include <vector>

#include "cli/TextStreams.h"
#include "text/Utf16Bytes.h"
#include "text/TextEncodings.h"
#include "text/Utf8.h"

namespace scrivano::cli {
namespace {

constexpr StreamFormat kUtf8;
constexpr StreamFormat kUtf16Le{Charset::kUtf16Le, false};

// The UTF-8 decoding as it was before inputs could be in other encodings, kept for the tests below.
Text DecodeInput(std::string_view bytes, bool raw, size_t* undecodable = nullptr) {
  DecodedInput input = cli::DecodeInput(std::string(bytes), Charset::kUtf8, raw, true);
  if (undecodable) *undecodable = input.replaced;
  return std::move(input.text);
}

TEST(TextStreams, LineBreaksAreConvertedUnlessRaw) {
  EXPECT_EQ(DecodeInput("a\nb\r\nc\r\rd\n", false), u"a\r\nb\r\nc\r\rd\r\n");
  EXPECT_EQ(DecodeInput("a\nb", true), u"a\nb");
  EXPECT_EQ(EncodeOutput(u"a\r\nb\rc\n", kUtf8, false), "a\nb\rc\n");
  EXPECT_EQ(EncodeOutput(u"a\r\n", kUtf8, true), "a\r\n");
  // The same in the encodings read whole.
  EXPECT_EQ(cli::DecodeInput("\na\nb\r\nc\r\rd\n\xFF", Charset::kGb18030, false, false).text,
            u"\r\na\r\nb\r\nc\r\rd\r\n\uFFFD");
  EXPECT_EQ(EncodeOutput(u"a\r\nb\rc\n", {Charset::kGb18030, false}, false), "a\nb\rc\n");
  EXPECT_EQ(EncodeOutput(u"a\r\nb\r", {Charset::kUtf16Be, true}, false),
            std::string("\xFE\xFF\0a\0\n\0b\0\r", 10));
}

TEST(TextStreams, Utf8InputDropsItsMarkAndReplacesInvalidBytes) {
  EXPECT_EQ(DecodeInput("\xEF\xBB\xBF"
                        "a\xFF",
                        true),
            u"a\uFFFD");
  EXPECT_EQ(EncodeOutput(Text{u'a', char16_t(0xDC00)}, kUtf8, true), "a\xEF\xBF\xBD");
}

TEST(TextStreams, Utf16IsCodeUnitsWithLoneSurrogatesKept) {
  const std::string withMark(
      "\xFF\xFE"
      "a\0\x00\xD8",
      6);
  const DecodedInput input = cli::DecodeInput(withMark, Charset::kUtf16Le, true, false);
  EXPECT_EQ(input.text, (Text{u'a', char16_t(0xD800)}));
  EXPECT_TRUE(input.format.byteOrderMark);
  EXPECT_EQ(EncodeOutput(input.text, input.format, true), withMark);
}

// Input whose encoding is not named: what DecodeTextFile reads, whether the chunked UTF-8 decoder took
// it or gave it up for DecodeTextFile itself.
TEST(TextStreams, InputReadByItsBytes_IsWhatDecodeTextFileReads) {
  const std::string pieces[] = {"a",
                                "\n",
                                "\r\n",
                                "\xEF\xBB\xBF",
                                "\xFF\xFE",
                                "\xFE\xFF",
                                "\xE4\xB8\xAD",
                                "\xE4\xB8",
                                "\xD6\xD0",
                                "\xA4\x40",
                                "\x81\x30\x81\x30",
                                "\xFF",
                                "\x80",
                                "0123456789abcdef",
                                std::string(1, '\0'),
                                std::string("a\0", 2)};
  std::mt19937 random(5);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    for (unsigned k = random() % 12; k > 0; --k) bytes += pieces[random() % std::size(pieces)];
    const DecodedText file = DecodeTextFile(bytes);
    for (const bool lossy : {false, true}) {
      const DecodedInput input = cli::DecodeInput(bytes, std::nullopt, true, lossy);
      ASSERT_EQ(input.text, file.text) << testing::PrintToString(bytes);
      ASSERT_EQ(input.format.charset, file.format.charset) << testing::PrintToString(bytes);
      ASSERT_EQ(input.format.byteOrderMark, file.format.byteOrderMark);
      ASSERT_EQ(input.replaced, file.replaced);
      ASSERT_EQ(input.firstBadByte, file.firstBadByte);
      // Unless raw, every "\n" has its "\r", and nothing else changes.
      Text withCarriageReturns = file.text;
      for (size_t i = 0; i < withCarriageReturns.size(); ++i)
        if (withCarriageReturns[i] == u'\n' && (i == 0 || withCarriageReturns[i - 1] != u'\r'))
          withCarriageReturns.insert(i++, 1, u'\r');
      ASSERT_EQ(cli::DecodeInput(bytes, std::nullopt, false, lossy).text, withCarriageReturns);
    }
  }
}

// The conversions as plain steps, one whole copy each: what the runner's single pass must equal.
Text PlainDecode(std::string_view bytes, bool raw) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  Text text;
  AppendUtf8AsUtf16Plain(bytes, text);
  if (raw) return text;
  Text converted;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) converted.push_back(u'\r');
    converted.push_back(text[i]);
  }
  return converted;
}

std::string PlainEncode(Text text, bool raw) {
  if (!raw) Replace(text, u"\r\n", u"\n");
  std::string bytes;
  AppendUtf16AsUtf8Plain(text, bytes);
  return bytes;
}

TEST(TextStreams, OnePassConversions_MatchThePlainSteps) {
  const std::string pieces[] = {"\n",
                                "\r",
                                "\r\n",
                                "\n\n",
                                "\r\r\n",
                                "abc",
                                "0123456789abcdefghij",
                                "\xEF\xBB\xBF",
                                "\xE4\xB8\xAD",
                                "\xF0\x9F\x98\x80",
                                "\xE4\xB8",
                                "\x80",
                                "\xFF",
                                "\xED\xA0\x80",
                                "\xEF\xBF\xBD"};
  std::mt19937 random(42);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (unsigned k = random() % 40; k > 0; --k) bytes += pieces[random() % std::size(pieces)];
    for (const bool raw : {false, true}) {
      size_t undecodable = 0;
      const Text text = DecodeInput(bytes, raw, &undecodable);
      ASSERT_EQ(text, PlainDecode(bytes, raw)) << testing::PrintToString(bytes);
      Text plain;
      ASSERT_EQ(undecodable,
                AppendUtf8AsUtf16Plain(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes, plain));
      ASSERT_EQ(EncodeOutput(text, kUtf8, raw), PlainEncode(text, raw));
      // The text as the entries leave it: lone surrogates and line breaks of every kind.
      Text edited = text;
      if (!edited.empty()) edited[random() % edited.size()] = char16_t(0xD800 + random() % 0x800);
      ASSERT_EQ(EncodeOutput(edited, kUtf8, raw), PlainEncode(edited, raw));
      ASSERT_EQ(EncodeOutput(edited, kUtf16Le, raw), TextToUtf16LeBytes([&] {
                  Text converted = edited;
                  if (!raw) Replace(converted, u"\r\n", u"\n");
                  return converted;
                }()));
    }
  }
}

// The input cut into chunks at random places, each chunk measured and then decoded.
Text DecodeInChunks(std::string_view bytes, bool raw, GiveUp giveUp, std::mt19937& random,
                    InputDecoder& decoder) {
  std::vector<std::string_view> chunks;
  for (std::string_view rest = bytes; !rest.empty();) {
    const size_t n = std::min<size_t>(rest.size(), random() % 6);
    chunks.push_back(rest.substr(0, n));  // empty chunks too
    rest.remove_prefix(n);
  }
  decoder = InputDecoder(raw, giveUp);
  for (std::string_view chunk : chunks) decoder.Measure(chunk);
  Text text;
  text.reserve(decoder.ReservedUnits());
  const size_t reserved = text.capacity();
  for (std::string_view chunk : chunks) decoder.Decode(chunk, text);
  decoder.Finish(text);
  // Well-formed input fits what was measured.
  Text plain;
  if (AppendUtf8AsUtf16Plain(bytes, plain) == 0) {
    EXPECT_EQ(text.capacity(), reserved);
  }
  return text;
}

TEST(TextStreams, ChunkedConversions_MatchTheWholeOnesWhereverTheCutsFall) {
  // Pieces that a cut may split: marks, pairs, broken sequences and line breaks.
  const std::string pieces[] = {"\n",
                                "\r",
                                "\r\n",
                                "a",
                                "\xEF\xBB\xBF",
                                "\xE4\xB8\xAD",
                                "\xF0\x9F\x98\x80",
                                "\xE4\xB8",
                                "\xF0\x9F\x98",
                                "\x80\x80\x80\x80",
                                "\xC2",
                                "\xE0\x80",
                                "\xED\xA0\x80",
                                "\xFF",
                                "\xF4\x90\x80\x80",
                                std::string(1, '\0'),
                                "0123456789abcdefghij"};
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    for (unsigned k = random() % 30; k > 0; --k) bytes += pieces[random() % std::size(pieces)];
    const std::string_view unmarked =
        std::string_view(bytes).substr(bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0);
    Text plain;
    const size_t illFormed = AppendUtf8AsUtf16Plain(unmarked, plain);
    for (const bool raw : {false, true}) {
      const Text whole = PlainDecode(bytes, raw);
      InputDecoder decoder(raw, GiveUp::kNever);
      const Text chunked = DecodeInChunks(bytes, raw, GiveUp::kNever, random, decoder);
      ASSERT_EQ(chunked, whole) << testing::PrintToString(bytes) << " raw " << raw;
      ASSERT_EQ(decoder.Undecodable(), illFormed) << testing::PrintToString(bytes);
      ASSERT_EQ(decoder.DroppedMark(), unmarked.size() < bytes.size());
      // Giving up: at an ill-formed sequence, or also at a zero byte; until then the same text.
      for (const GiveUp giveUp : {GiveUp::kAtIllFormed, GiveUp::kAtIllFormedOrZeroByte}) {
        const Text stopped = DecodeInChunks(bytes, raw, giveUp, random, decoder);
        const bool zero = unmarked.find('\0') != std::string::npos;
        ASSERT_EQ(decoder.GaveUp(), illFormed > 0 || (zero && giveUp == GiveUp::kAtIllFormedOrZeroByte));
        if (!decoder.GaveUp()) {
          ASSERT_EQ(stopped, whole);
        }
      }
      // Out again in slices of any size.
      for (const StreamFormat format : {kUtf8, kUtf16Le, StreamFormat{Charset::kUtf16Be, true}}) {
        std::string sliced;
        EncodeOutputInSlices(
            chunked, format, raw, true, [&](std::string_view b) { sliced += b; }, nullptr, 1 + random() % 5);
        ASSERT_EQ(sliced, EncodeOutput(chunked, format, raw));
      }
    }
  }
}

TEST(TextStreams, EncodedSlices_NeverSplitALineBreakOrAPair) {
  const Text text = u"ab\r\r\ncd\U0001F600e\r";
  std::string bytes;
  std::vector<std::string> slices;
  const auto collect = [&](std::string_view b) { slices.emplace_back(b); };
  EncodeOutputInSlices(text, kUtf8, false, false, collect, nullptr, 2);
  EXPECT_EQ(slices, (std::vector<std::string>{"ab", "\r\n", "cd", "\xF0\x9F\x98\x80", "e\r"}));
  slices.clear();
  EncodeOutputInSlices(u"", kUtf8, false, false, collect);
  EXPECT_TRUE(slices.empty());
}

// Nothing is written when a character cannot be stored, unless it may be replaced.
TEST(TextStreams, UnencodableOutput_IsWrittenOnlyReplaced) {
  const struct Case {
    Text text;
    StreamFormat format;
    size_t first;
    std::string replaced;
  } cases[] = {
      {u"a\r\nb\u4E2A", {Charset::kBig5, false}, 4, "a\nb?"},
      {u"\U00020000\u4E2Dx\U00020000", {Charset::kBig5, false}, 0, "?\xA4\xA4x?"},
      {Text{u'a', char16_t(0xDC00), u'b'},
       {Charset::kUtf8, true},
       1,
       "\xEF\xBB\xBF"
       "a\xEF\xBF\xBD"
       "b"},
      {Text{u'a', char16_t(0xD800)}, {Charset::kGb18030, false}, 1, "a?"},
  };
  for (const Case& c : cases) {
    std::string written;
    const auto write = [&](std::string_view b) { written += b; };
    EXPECT_EQ(EncodeOutputInSlices(c.text, c.format, false, false, write, nullptr, 1), c.first);
    EXPECT_EQ(written, "");
    size_t replaced = 0;
    EXPECT_EQ(EncodeOutputInSlices(c.text, c.format, false, true, write, &replaced, 1), std::string::npos);
    EXPECT_EQ(written, c.replaced);
    EXPECT_EQ(replaced, c.first == 0 ? 2u : 1u);
  }
}

}  // namespace
}  // namespace scrivano::cli
