// The entries on bytes against the same entries on the decoded text: random texts of mixed scripts, line
// breaks of every kind, white space of every width, marks and ill-formed bytes go through both, cut into
// pieces anywhere, and the bytes written must be the same.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>

#include "cli/BytePath.h"
#include "cli/TextStreams.h"
#include "functions/FunctionTable.h"
#include "settings/ParameterStore.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "text/Utf8Check.h"

namespace scrivano::cli {
namespace {

const std::string kPieces[] = {
    "the ",
    "red car",
    "COVID-19",
    "a",
    "Z",
    " ",
    "  ",
    "\t",
    "\r\n",
    "\n",
    "\r",
    "\r\r\n",
    "\n\n",
    "\r\n\r\n",
    "中文",
    "红色的车",
    "。",
    "\xC2\xA0",
    "\xE3\x80\x80",
    "\xE2\x80\xA8",
    "\xE2\x80\x8A",
    "\xE1\x9A\x80",
    "\xC2\x85",
    "\xE2\x80\x8B",
    "\xEF\xBB\xBF",
    "\xF0\x9F\x98\x80",
    "é",
    "3.14",
    "1.苹果",
    "2.Next",
    "7. x",
    "12.",
    "9",
    ".",
    "=====",
    "*****",
    "中 文",
    std::string(1, '\0'),
    "\x7F",
};
const std::string kIllFormed[] = {"\xFF", "\xE4\xB8", "\xC0\xAF", "\xED\xA0\x80", "\x80"};

// Without lone carriage returns now and then, as most texts are.
std::string RandomText(std::mt19937& random, bool illFormed) {
  std::string text = random() % 5 == 0 ? "\xEF\xBB\xBF" : "";
  const bool loneCarriageReturns = random() % 2 == 0;
  const size_t pieces = random() % 80;
  for (size_t k = 0; k < pieces; ++k) {
    const std::string& piece = kPieces[random() % std::size(kPieces)];
    if (loneCarriageReturns || (piece != "\r" && piece != "\r\r\n")) text += piece;
  }
  if (illFormed) text.insert(random() % (text.size() + 1), kIllFormed[random() % std::size(kIllFormed)]);
  return text;
}

// An entry, and the option its question is answered with (entry 1).
struct Entry {
  int number;
  int option;
};

// What an entry wrote and the messages it showed.
struct Result {
  std::string bytes;
  std::vector<Text> messages;
  bool operator==(const Result&) const = default;
};

void PrintTo(const Result& result, std::ostream* out) {
  *out << testing::PrintToString(result.bytes);
  for (const Text& message : result.messages) *out << " / " << testing::PrintToString(ToUtf8(message));
}

class BytePath : public testing::TestWithParam<Entry> {
 protected:
  void SetUp() override {
    Parameters().SetValue(Param::kDeletedLineSubstrings, u"COVID\t文 \t\u3000");
    Parameters().SetValue(Param::kWesternChars, u"é。");
    Parameters().SetValue(Param::kNeutralChars, u"\t车\t\t");
  }

  std::vector<Text> MessagesSince(size_t shown) const {
    const std::vector<Text> all = prompts_.Messages();
    return std::vector<Text>(all.begin() + static_cast<std::ptrdiff_t>(shown), all.end());
  }

  // The reference: decoded as the runner decodes, run as the Function List runs it, encoded as UTF-8.
  Result OnText(std::string bytes, bool raw) {
    const size_t shown = prompts_.Messages().size();
    DecodedInput input = DecodeInput(std::move(bytes), Charset::kUtf8, raw, false);
    TaskContext context;
    context.workingText = &input.text;
    if (GetParam().option > 0) prompts_.Answer(FromUtf8(std::to_string(GetParam().option)));
    FindFunctionEntry(std::to_string(GetParam().number))->run(context);
    return {EncodeOutput(input.text, {Charset::kUtf8, false}, raw), MessagesSince(shown)};
  }

  // The bytes handed over in random pieces (in one when the operation takes the whole text).
  Result OnBytes(std::string bytes, bool raw, std::mt19937& random) {
    const size_t shown = prompts_.Messages().size();
    std::string written;
    Utf8Output output(raw, [&written](std::string_view piece) { written += piece; });
    ByteInput input;
    input.held = true;
    input.bytes = std::move(bytes);
    EXPECT_EQ(CheckInputBytes(input, false, true, true), ByteCheck::kUtf8);
    auto operation = OperationOnBytes(
        GetParam().number, GetParam().option, raw, [&output](std::string_view piece) { output.Write(piece); },
        input.loneCarriageReturn);
    if (operation->TakesWhole() && random() % 2 == 0) {
      EXPECT_EQ(RunOperation(input, *operation), ByteRun::kDone);
    } else {
      std::string_view rest = std::string_view(input.bytes).substr(input.mark ? 3 : 0);
      while (!rest.empty()) {
        const size_t size =
            operation->TakesWhole() ? rest.size() : std::min<size_t>(random() % 50, rest.size());
        operation->Take(rest.substr(0, size));
        rest.remove_prefix(size);
      }
      operation->Finish();
    }
    output.Flush();
    return {written, MessagesSince(shown)};
  }

  test::TestPrompts prompts_;  // empty parameters, and the dialogs recorded
};

TEST_P(BytePath, GivesTheBytesOfTheDecodedText) {
  std::mt19937 random(static_cast<unsigned>(GetParam().number * 10 + GetParam().option));
  for (int round = 0; round < 600; ++round) {
    const std::string text = RandomText(random, false);
    const bool raw = round % 2 != 0;
    ASSERT_EQ(OnBytes(text, raw, random), OnText(text, raw))
        << testing::PrintToString(text) << (raw ? " raw" : "");
  }
}

// The cases most likely to part the two ways, each through every entry.
TEST_P(BytePath, EdgeCases) {
  std::mt19937 random(1);
  for (const std::string text : {
           "no final line break",
           "\xEF\xBB\xBF"
           "mark\r\nthen text\r\n",
           "cr\ronly\rline\rends\r",
           "COV\r\nID spans a break\nCOVID",
           "\r\n",
           "\n",
           "\r",
           "",
           "  \xE3\x80\x80 \r\n \xC2\xA0",
           "1.\r\n2.x",
           "a\r\n=====\r\nb",
           "x\ty\r\n\r\nz",
           "\xF0\x9F\x98\x80\r\n\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
       })
    for (const bool raw : {false, true})
      EXPECT_EQ(OnBytes(text, raw, random), OnText(text, raw)) << testing::PrintToString(text) << raw;
}

// A line longer than the output's slices, with line breaks of every kind around it.
TEST_P(BytePath, LongLines) {
  std::mt19937 random(static_cast<unsigned>(GetParam().number));
  std::string text;
  while (text.size() < 700000) text += kPieces[random() % 18] + (random() % 500 == 0 ? "\r\n" : "");
  for (const bool raw : {false, true}) EXPECT_EQ(OnBytes(text, raw, random), OnText(text, raw));
}

INSTANTIATE_TEST_SUITE_P(Entries, BytePath,
                         testing::Values(Entry{4, 0}, Entry{5, 0}, Entry{8, 0}, Entry{9, 0}, Entry{10, 0},
                                         Entry{12, 0}, Entry{15, 0}, Entry{1, 1}, Entry{1, 2}, Entry{1, 3}));

// "\r\n" becomes "\n" wherever the writes are cut, also between its two bytes; raw keeps it.
TEST(Utf8Output, DropsTheCarriageReturnsOfLineBreaksAcrossWrites) {
  const std::string large(100000, 'x');
  for (const bool raw : {false, true}) {
    std::string written;
    Utf8Output output(raw, [&written](std::string_view bytes) { written += bytes; });
    for (const std::string_view piece :
         std::initializer_list<std::string_view>{"a\r", "\nb\r\r", "\n", large, "\r"})
      output.Write(piece);
    output.Flush();
    EXPECT_EQ(written, raw ? "a\r\nb\r\r\n" + large + "\r" : "a\nb\r\n" + large + "\r");
  }
}

// A carriage return at the end of one chunk of a file and its line feed at the start of the next are a
// line break; followed by anything else it is a carriage return of the text's own.
TEST(BytePathCheck, FindsLoneCarriageReturnsAcrossChunks) {
  test::TempFolder folder;
  for (const auto& [after, lone] : {std::pair{"\n", false}, {"b", true}, {"", true}}) {
    folder.WriteBytes("in", std::string((size_t{1} << 18) - 1, 'a') + "\r" + after);
    const std::string path = ToUtf8(folder.File("in"));
    ByteInput input;
    input.fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(CheckInputBytes(input, true, false, true), ByteCheck::kUtf8);
    EXPECT_EQ(input.loneCarriageReturn, lone) << after;
    ::close(input.fd);
  }
}

// A file that is no longer what the check read is not taken on trust: what changed is not handed on.
TEST(BytePathCheck, RefusesAFileThatChangedAfterTheCheck) {
  test::TempFolder folder;
  // Also a byte at the end of the first chunk read, which only the few bytes after it show to be wrong.
  const std::string chunk((size_t{1} << 18) - 1, 'a');
  for (const auto& [before, after] : {std::pair<std::string, std::string>{"abc", "ab\xFF"},
                                      {"abc", "abc\n"},
                                      {"abc", "a"},
                                      {chunk + "abc", chunk + "\xE4"
                                                              "bc"}}) {
    folder.WriteBytes("in", before);
    const std::string path = ToUtf8(folder.File("in"));
    ByteInput input;
    input.fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(CheckInputBytes(input, true, false), ByteCheck::kUtf8);
    folder.WriteBytes("in", after);
    std::string written;
    auto operation = OperationOnBytes(10, 0, true, [&written](std::string_view bytes) { written += bytes; });
    EXPECT_EQ(RunOperation(input, *operation), ByteRun::kChanged) << after.size();
    EXPECT_EQ(written.find_first_of("\xFF\xE4"), std::string::npos);
    ::close(input.fd);
  }
}

// What the check lets through decodes as UTF-8 without loss; ill-formed bytes anywhere, and a zero byte
// when the encoding is read from the bytes, send the input the decoded text's way.
TEST(BytePathCheck, TakesOnlyWhatDecodesAsUtf8WithoutLoss) {
  std::mt19937 random(1);
  for (int round = 0; round < 2000; ++round) {
    ByteInput input;
    input.held = true;
    input.bytes = RandomText(random, round % 2 != 0);
    const bool refuseZero = round % 4 < 2;
    const bool taken = CheckInputBytes(input, refuseZero, false) == ByteCheck::kUtf8;
    const DecodedInput decoded =
        DecodeInput(input.bytes, refuseZero ? std::nullopt : std::optional(Charset::kUtf8), false, false);
    if (taken) {
      ASSERT_EQ(decoded.format.charset, Charset::kUtf8);
      ASSERT_EQ(decoded.replaced, 0u);
      ASSERT_EQ(decoded.format.byteOrderMark, input.mark);
    }
    ASSERT_EQ(taken,
              IsWellFormedUtf8(input.bytes) && !(refuseZero && input.bytes.find('\0') != std::string::npos));
  }
}

}  // namespace
}  // namespace scrivano::cli
