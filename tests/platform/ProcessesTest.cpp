// Running a program and reading how a process was started, on the real /proc.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "platform/Processes.h"

namespace scrivano::platform {
namespace {

using namespace std::chrono_literals;

TEST(Processes, RunCommandGivesTheExitStatusOrSaysWhyThereIsNone) {
  struct Case {
    ProcessCommand command;
    int status;
  } const cases[] = {
      {{"", {"sh", "-c", "exit 3"}, {}}, 3},
      {{"/bin/sh", {"sh", "-c", "test \"$WANTED\" = yes"}, {"WANTED=yes"}}, 0},
      {{"/bin/sh", {"sh", "-c", "test \"$WANTED\" = yes"}, {}}, 1},
      {{"/nonexistent/soffice", {"soffice"}, {}}, kProgramNotStarted},
      {{"", {}, {}}, kProgramNotStarted},
      {{"", {"sh", "-c", "sleep 30"}, {}}, kProgramStopped},
  };
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunCommand(c.command, 300ms), c.status) << c.command.program;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  }
}

TEST(Processes, TheCommandOfAProcessIsItsProgramArgumentsAndEnvironment) {
  const std::optional<ProcessCommand> own = ReadProcessCommand(static_cast<int>(::getpid()));
  ASSERT_TRUE(own);
  EXPECT_TRUE(own->program.ends_with("/desktop_tests")) << own->program;
  ASSERT_FALSE(own->arguments.empty());
  EXPECT_TRUE(own->arguments[0].ends_with("desktop_tests")) << own->arguments[0];
  EXPECT_TRUE(std::any_of(own->environment.begin(), own->environment.end(),
                          [](const std::string& variable) { return variable.starts_with("PATH="); }));
  EXPECT_FALSE(ReadProcessCommand(0).has_value());
}

}  // namespace
}  // namespace scrivano::platform
