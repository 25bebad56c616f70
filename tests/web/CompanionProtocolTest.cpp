#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "web/CompanionProtocol.h"

namespace scrivano::companion {
namespace {

std::vector<Message> ReadAll(FrameReader& reader, FrameReader::Status& last) {
  std::vector<Message> messages;
  Message message;
  while ((last = reader.Next(message)) == FrameReader::Status::kMessage) messages.push_back(message);
  return messages;
}

TEST(CompanionProtocol, RoundTrip_ByteByByte_GivesTheSameMessages) {
  const std::vector<Message> sent = {
      {MessageKind::kAddressList, 7, "http://127.0.0.1/a\r\nhttp://127.0.0.1/b\r\n"},
      {MessageKind::kCopyData, 0, "标题\r\n=====\r\n正文"},
      {MessageKind::kGetBodyText, 0xFFFFFFFFu, ""},
  };
  std::string stream;
  for (const Message& m : sent) stream += EncodeMessage(m);
  FrameReader reader;
  std::vector<Message> received;
  for (char byte : stream) {
    reader.Feed(std::string_view(&byte, 1));
    FrameReader::Status status;
    for (Message& m : ReadAll(reader, status)) received.push_back(m);
    ASSERT_NE(status, FrameReader::Status::kMalformed) << reader.error();
  }
  EXPECT_EQ(received, sent);
}

TEST(CompanionProtocol, Header_Layout_IsFixed) {
  const std::string frame = EncodeMessage({MessageKind::kSetAddress, 0x01020304, "ab"});
  EXPECT_EQ(frame, std::string("VX\x01\x05\x04\x03\x02\x01\x02\x00\x00\x00"
                               "ab",
                               14));
}

struct BadFrame {
  const char* name;
  std::string bytes;
  const char* errorPart;
};

TEST(CompanionProtocol, MalformedFrames_AreRefusedAtOnce) {
  std::string overLimit = EncodeMessage({MessageKind::kCopyData, 0, ""});
  const std::uint32_t tooLong = static_cast<std::uint32_t>(kMaxPayload + 1);
  for (int i = 0; i < 4; ++i) overLimit[8 + i] = static_cast<char>((tooLong >> (8 * i)) & 0xFF);
  std::string wrongVersion = EncodeMessage({MessageKind::kDone, 0, ""});
  wrongVersion[2] = 2;
  const std::vector<BadFrame> cases = {
      {"garbage", "GET / HTTP/1.1\r\n", "not a companion message"},
      {"wrong version", wrongVersion, "protocol version 2"},
      {"unknown kind 0", std::string("VX\x01\x00", 4), "unknown message kind 0"},
      {"unknown kind 200", std::string("VX\x01\xC8", 4), "unknown message kind 200"},
      {"payload over the limit", overLimit.substr(0, kHeaderSize), "over the limit"},
      {"lone continuation byte", EncodeMessage({MessageKind::kCopyData, 0, "a\x80z"}), "not UTF-8"},
      {"overlong slash", EncodeMessage({MessageKind::kCopyData, 0, "\xC0\xAF"}), "not UTF-8"},
      {"surrogate", EncodeMessage({MessageKind::kCopyData, 0, "\xED\xA0\x80"}), "not UTF-8"},
      {"cut sequence", EncodeMessage({MessageKind::kCopyData, 0, "\xE4\xB8"}), "not UTF-8"},
  };
  for (const BadFrame& bad : cases) {
    FrameReader reader;
    reader.Feed(bad.bytes);
    Message message;
    EXPECT_EQ(reader.Next(message), FrameReader::Status::kMalformed) << bad.name;
    EXPECT_NE(reader.error().find(bad.errorPart), std::string::npos) << bad.name << ": " << reader.error();
    // Refused for good: a good frame afterwards is not taken.
    reader.Feed(EncodeMessage({MessageKind::kDone, 1, ""}));
    EXPECT_EQ(reader.Next(message), FrameReader::Status::kMalformed) << bad.name;
  }
}

TEST(CompanionProtocol, PayloadAtTheLimit_IsTaken) {
  FrameReader reader;
  reader.Feed(EncodeMessage({MessageKind::kCopyData, 3, std::string(kMaxPayload, 'x')}));
  Message message;
  ASSERT_EQ(reader.Next(message), FrameReader::Status::kMessage);
  EXPECT_EQ(message.payload.size(), kMaxPayload);
}

// Random frames, random bytes and mutated good frames in random pieces: the reader never crashes, never
// loops, and never takes more than the limit.
TEST(CompanionProtocol, TenThousandRandomFrames_NoCrashNoHang) {
  std::mt19937 random(20261207);
  const auto start = std::chrono::steady_clock::now();
  int refused = 0, taken = 0;
  for (int round = 0; round < 12000; ++round) {
    std::string bytes;
    switch (round % 3) {
      case 0: {  // random bytes
        bytes.resize(random() % 64);
        for (char& c : bytes) c = static_cast<char>(random());
        break;
      }
      case 1: {  // a good frame with a few bytes changed
        std::string payload(random() % 40, 'a');
        for (char& c : payload) c = static_cast<char>(0x20 + random() % 0x5F);
        bytes = EncodeMessage(
            {static_cast<MessageKind>(1 + random() % 12), static_cast<std::uint32_t>(random()), payload});
        for (int k = 0, n = 1 + static_cast<int>(random() % 3); k < n; ++k)
          bytes[random() % bytes.size()] = static_cast<char>(random());
        break;
      }
      default: {  // a valid header whose length claims random sizes
        bytes = std::string("VX\x01", 3) + static_cast<char>(1 + random() % 12) + std::string(4, '\0');
        const std::uint32_t length = static_cast<std::uint32_t>(random());
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
        bytes += std::string(random() % 32, 'z');
      }
    }
    FrameReader reader;
    size_t pos = 0;
    FrameReader::Status status = FrameReader::Status::kNeedMore;
    while (pos < bytes.size() && status != FrameReader::Status::kMalformed) {
      const size_t piece = std::min(bytes.size() - pos, static_cast<size_t>(1 + random() % 8));
      reader.Feed(std::string_view(bytes).substr(pos, piece));
      pos += piece;
      Message message;
      int guard = 0;
      while ((status = reader.Next(message)) == FrameReader::Status::kMessage) {
        ASSERT_LE(message.payload.size(), kMaxPayload);
        ASSERT_TRUE(IsValidUtf8(message.payload));
        ASSERT_LT(++guard, 100);
        ++taken;
      }
    }
    if (status == FrameReader::Status::kMalformed) ++refused;
  }
  EXPECT_GT(refused, 6000);
  EXPECT_GT(taken, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

// A long text is cut only between characters, each piece at most the limit, nothing lost.
TEST(CompanionProtocol, SplitUtf8_CutsBetweenCharacters) {
  const struct {
    std::string text;
    size_t limit;
    std::vector<std::string> pieces;
  } cases[] = {
      {"", 4, {""}},
      {"abcd", 4, {"abcd"}},
      {"abcde", 4, {"abcd", "e"}},
      {"ab文", 4, {"ab", "文"}},  // the 3-byte character does not fit after "ab"
      {"a文字", 4, {"a文", "字"}},
      {"😀😀", 5, {"😀", "😀"}},  // 4-byte characters
  };
  for (const auto& c : cases) {
    std::vector<std::string> pieces;
    for (std::string_view piece : SplitUtf8(c.text, c.limit)) pieces.emplace_back(piece);
    EXPECT_EQ(pieces, c.pieces) << c.text;
  }
}

TEST(CompanionProtocol, PageReport_RoundTripAndRefusals) {
  for (const PageReport& report : {PageReport{"http://127.0.0.1/a?b=1", 420, 2481, ""},
                                   PageReport{"http://x.invalid/", 12, -1, "net::ERR_NAME_NOT_RESOLVED"}})
    EXPECT_EQ(ParsePageReport(EncodePageReport(report)), report);
  for (const char* bad : {"", "a\t1\t2", "a\tx\t2\t", "a\t1\t2x\t", "a\t\t2\t"})
    EXPECT_FALSE(ParsePageReport(bad).has_value()) << bad;
}

TEST(CompanionProtocol, LaunchArgument_TokenAndWindow) {
  const std::string token(kLaunchToken);
  EXPECT_EQ(ParseLaunchArgument(token), std::optional<std::uint64_t>(0));
  EXPECT_EQ(ParseLaunchArgument(" " + token + ";4194311"), std::optional<std::uint64_t>(4194311));
  for (const std::string& bad :
       {std::string(""), token + ";", token + ";12x", token + "x", std::string("other;1")})
    EXPECT_EQ(ParseLaunchArgument(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace scrivano::companion
