#include <gtest/gtest.h>

#include <random>
#include <string_view>
#include <vector>

#include "cli/TextStreams.h"
#include "text/AnsiCodec.h"
#include "text/Utf8.h"

namespace scrivano::cli {
namespace {

TEST(TextStreams, LineBreaksAreConvertedUnlessRaw) {
  EXPECT_EQ(DecodeInput("a\nb\r\nc\r\rd\n", StreamEncoding::kUtf8, false), u"a\r\nb\r\nc\r\rd\r\n");
  EXPECT_EQ(DecodeInput("a\nb", StreamEncoding::kUtf8, true), u"a\nb");
  EXPECT_EQ(EncodeOutput(u"a\r\nb\rc\n", StreamEncoding::kUtf8, false), "a\nb\rc\n");
  EXPECT_EQ(EncodeOutput(u"a\r\n", StreamEncoding::kUtf8, true), "a\r\n");
}

TEST(TextStreams, Utf8InputDropsItsMarkAndReplacesInvalidBytes) {
  EXPECT_EQ(DecodeInput("\xEF\xBB\xBF"
                        "a\xFF",
                        StreamEncoding::kUtf8, true),
            u"a\uFFFD");
  EXPECT_EQ(EncodeOutput(Text{u'a', char16_t(0xDC00)}, StreamEncoding::kUtf8, true), "a\xEF\xBF\xBD");
}

TEST(TextStreams, Utf16LeIsRawCodeUnits) {
  EXPECT_EQ(DecodeInput(std::string("a\0\x00\xD8"
                                    "b",
                                    5),
                        StreamEncoding::kUtf16Le, true),
            (Text{u'a', char16_t(0xD800)}));
  EXPECT_EQ(DecodeInput(std::string("\xFF\xFE"
                                    "a\0",
                                    4),
                        StreamEncoding::kUtf16Le, true),
            u"\uFEFFa");
  EXPECT_EQ(EncodeOutput(Text{u'a', char16_t(0xD800)}, StreamEncoding::kUtf16Le, true),
            std::string("a\0\x00\xD8", 4));
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
      const Text text = DecodeInput(bytes, StreamEncoding::kUtf8, raw, &undecodable);
      ASSERT_EQ(text, PlainDecode(bytes, raw)) << testing::PrintToString(bytes);
      Text plain;
      ASSERT_EQ(undecodable,
                AppendUtf8AsUtf16Plain(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes, plain));
      ASSERT_EQ(EncodeOutput(text, StreamEncoding::kUtf8, raw), PlainEncode(text, raw));
      // The text as the entries leave it: lone surrogates and line breaks of every kind.
      Text edited = text;
      if (!edited.empty()) edited[random() % edited.size()] = char16_t(0xD800 + random() % 0x800);
      ASSERT_EQ(EncodeOutput(edited, StreamEncoding::kUtf8, raw), PlainEncode(edited, raw));
      ASSERT_EQ(EncodeOutput(edited, StreamEncoding::kUtf16Le, raw), TextToUtf16LeBytes([&] {
                  Text converted = edited;
                  if (!raw) Replace(converted, u"\r\n", u"\n");
                  return converted;
                }()));
    }
  }
}

// The input cut into chunks at random places, each chunk measured and then decoded.
Text DecodeInChunks(std::string_view bytes, StreamEncoding encoding, bool raw, std::mt19937& random,
                    size_t* undecodable, size_t* inputSize) {
  std::vector<std::string_view> chunks;
  for (std::string_view rest = bytes; !rest.empty();) {
    const size_t n = std::min<size_t>(rest.size(), random() % 6);
    chunks.push_back(rest.substr(0, n));  // empty chunks too
    rest.remove_prefix(n);
  }
  InputDecoder decoder(encoding, raw);
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
  *undecodable = decoder.Undecodable();
  *inputSize = decoder.InputSize();
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
                                "0123456789abcdefghij"};
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    for (unsigned k = random() % 30; k > 0; --k) bytes += pieces[random() % std::size(pieces)];
    for (const bool raw : {false, true}) {
      for (const StreamEncoding encoding : {StreamEncoding::kUtf8, StreamEncoding::kUtf16Le}) {
        size_t wholeUndecodable = 0, undecodable = 0, inputSize = 0;
        const Text whole = encoding == StreamEncoding::kUtf8
                               ? PlainDecode(bytes, raw)
                               : DecodeInput(bytes, encoding, raw, &wholeUndecodable);
        const Text chunked = DecodeInChunks(bytes, encoding, raw, random, &undecodable, &inputSize);
        ASSERT_EQ(chunked, whole) << testing::PrintToString(bytes) << " raw " << raw;
        ASSERT_EQ(inputSize, bytes.size());
        if (encoding == StreamEncoding::kUtf8) {
          Text plain;
          ASSERT_EQ(undecodable, AppendUtf8AsUtf16Plain(
                                     bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes, plain));
        }
        // Out again in slices of any size.
        std::string sliced;
        EncodeOutputInSlices(
            chunked, encoding, raw, [&](std::string_view b) { sliced += b; }, 1 + random() % 5);
        ASSERT_EQ(sliced, EncodeOutput(chunked, encoding, raw));
      }
    }
  }
}

TEST(TextStreams, EncodedSlices_NeverSplitALineBreakOrAPair) {
  const Text text = u"ab\r\r\ncd\U0001F600e\r";
  std::string bytes;
  std::vector<std::string> slices;
  EncodeOutputInSlices(
      text, StreamEncoding::kUtf8, false, [&](std::string_view b) { slices.emplace_back(b); }, 2);
  EXPECT_EQ(slices, (std::vector<std::string>{"ab", "\r\n", "cd", "\xF0\x9F\x98\x80", "e\r"}));
  slices.clear();
  EncodeOutputInSlices(u"", StreamEncoding::kUtf8, false,
                       [&](std::string_view b) { slices.emplace_back(b); });
  EXPECT_TRUE(slices.empty());
}

TEST(TextStreams, Utf16LeLineBreaks_AreConvertedToo) {
  EXPECT_EQ(DecodeInput(std::string("\n\0a\0\r\0\n\0\n\0", 10), StreamEncoding::kUtf16Le, false),
            u"\r\na\r\n\r\n");
}

}  // namespace
}  // namespace scrivano::cli
