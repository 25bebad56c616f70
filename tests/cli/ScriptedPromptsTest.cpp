#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/ScriptedPrompts.h"
#include "cli/StandardStreams.h"

namespace scrivano::cli {
namespace {

const Text kSep(1, kOptionSeparator);

TEST(ScriptedPrompts, TranscriptHasOneObjectPerDialog) {
  std::ostringstream transcript, log;
  ScriptedPrompts prompts({"2. b", "no", "<cancel>", "typed"}, &transcript, log);
  Text prompt = u"T\u0007Pick:" + kSep + u"1. a" + kSep + u"2. b";
  EXPECT_TRUE(prompts.AskSelection(prompt, 1.0f, false));
  EXPECT_EQ(prompt, u"2. b");
  EXPECT_EQ(LastSelectedItem(), u"2. b");
  EXPECT_EQ(prompts.ShowBox({u"Keep \u4E2D?", u"Notice", MessageButtons::YesNo, false}), kResultNo);
  EXPECT_EQ(prompts.ShowBox({u"Done", u"", MessageButtons::Ok, true}), kResultOk);
  Text second = u"Pick:" + kSep + u"x";
  EXPECT_FALSE(prompts.AskSelection(second, 1.0f, false));
  EXPECT_EQ(second, u"Pick:" + kSep + u"x");
  Text third = u"Pick:" + kSep + u"x" + kSep + u"y";
  EXPECT_TRUE(prompts.AskSelection(third, 1.0f, false));
  EXPECT_EQ(third, u"typed");
  EXPECT_EQ(LastSelectedItem(), u"x");  // a typed answer leaves the first item selected

  std::istringstream lines(transcript.str());
  std::vector<nlohmann::json> records;
  for (std::string line; std::getline(lines, line);) records.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(
      records[0],
      nlohmann::json::parse(
          R"({"kind":"select","caption":"T","text":"Pick:","options":["1. a","2. b"],"answer":"2. b"})"));
  EXPECT_EQ(records[1],
            nlohmann::json::parse(R"({"kind":"yesno","caption":"Notice","text":"Keep 中?","answer":"no"})"));
  EXPECT_EQ(records[2],
            nlohmann::json::parse(R"({"kind":"message","caption":"","text":"Done","answer":null})"));
  EXPECT_TRUE(records[3]["answer"].is_null());
  EXPECT_NE(log.str().find("[Notice] Keep"), std::string::npos);
}

TEST(ScriptedPrompts, RunningOutOfAnswersOrABadYesNoAnswerThrows) {
  std::ostringstream transcript, log;
  ScriptedPrompts prompts({"maybe"}, &transcript, log);
  EXPECT_THROW(prompts.ShowBox({u"Keep?", u"Notice", MessageButtons::YesNo, false}), BadAnswer);
  Text prompt = u"Pick:" + kSep + u"x";
  EXPECT_THROW(prompts.AskSelection(prompt, 1.0f, false), NoAnswerLeft);
  EXPECT_EQ(transcript.str(), "");  // the unanswered question is not in the transcript
}

TEST(ScriptedPrompts, ControlCharactersAreEscapedAndIllFormedAnswersRecordedAsReplacement) {
  std::ostringstream transcript, log;
  ScriptedPrompts prompts({"a\xff\x1b", "left", "over"}, &transcript, log);
  Text prompt = u"T\u0007Ring\u0001 \u001B[2J\u009B" + kSep + u"x";  // BEL ends the caption
  EXPECT_TRUE(prompts.AskSelection(prompt, 1.0f, false));
  EXPECT_NE(log.str().find("Ring\\x01 \\x1B[2J\\u009B"), std::string::npos) << log.str();
  EXPECT_NE(log.str().find("-> a\xEF\xBF\xBD\\x1B"), std::string::npos) << log.str();
  EXPECT_EQ(log.str().find('\x1b'), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(transcript.str())["answer"], "a\xEF\xBF\xBD\x1B");
  EXPECT_EQ(prompts.UnusedAnswers(), 2u);
}

TEST(ScriptedPrompts, ATranscriptThatCannotBeWrittenThrows) {
  std::ostringstream transcript, log;
  transcript.setstate(std::ios::badbit);
  ScriptedPrompts prompts({"yes"}, &transcript, log);
  EXPECT_THROW(prompts.ShowBox({u"Keep?", u"Notice", MessageButtons::YesNo, false}), WriteFailed);
}

}  // namespace
}  // namespace scrivano::cli
