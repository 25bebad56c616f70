// What the README, the manual and --help say, checked against the build where a sentence can be checked.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "functions/FunctionTable.h"

namespace scrivano {
namespace {

std::string Source(const std::string& name) {
  std::ifstream in(std::string(SCRIVANO_SOURCE_DIR) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::set<std::string> Matches(const std::string& text, const std::string& pattern) {
  std::set<std::string> found;
  const std::regex expression(pattern);
  for (std::sregex_iterator match(text.begin(), text.end(), expression), end; match != end; ++match)
    found.insert((*match)[match->size() > 1 ? 1 : 0]);
  return found;
}

// The runner's desktop entries as the documents list them ("0, 6, 11, 13 and 18"); no entry said missing.
TEST(Documents, TheEntriesSaidToBelongToTheWorkbenchNeedTheDesktopAndNoneIsSaidMissing) {
  std::set<std::string> desktopOnly;
  for (const FunctionEntry& entry : FunctionEntries())
    if (entry.needs) desktopOnly.insert(std::to_string(entry.number));
  for (const char* document : {"README.md", "data/manual/Operational Manual.html"}) {
    const std::string text = Source(document);
    const std::set<std::string> lists = Matches(text, "[Ee]ntries ([0-9, and]+) belong to the workbench");
    ASSERT_EQ(lists.size(), 1u) << document;
    EXPECT_EQ(Matches(*lists.begin(), "[0-9]+"), desktopOnly) << document;
    for (const char* phrase :
         {"later version", "not carried out yet", "does not have yet", "notice saying so"})
      EXPECT_EQ(text.find(phrase), std::string::npos) << document << ": " << phrase;
  }
}

// Every option the program compares its arguments with is in --help and, as a command, in the documents.
TEST(Documents, HelpAndManualNameEveryOptionOfTheProgram) {
  std::string help(8192, '\0');
  FILE* pipe = popen((std::string("'") + SCRIVANO_PROGRAM + "' --help").c_str(), "r");
  help.resize(fread(help.data(), 1, help.size(), pipe));
  pclose(pipe);
  const std::string documents = Source("data/manual/Operational Manual.html") + Source("README.md");
  const std::set<std::string> options = Matches(Source("src/app/main.cpp"), "\"(--[a-z-]+)\"");
  EXPECT_GE(options.size(), 3u);
  for (const std::string& option : options) {
    EXPECT_NE(help.find(option), std::string::npos) << option << " in " << help;
    EXPECT_NE(documents.find("scrivano " + option), std::string::npos) << option;
  }
  EXPECT_NE(help.find("SCRIVANO_ROOT"), std::string::npos);
}

}  // namespace
}  // namespace scrivano
