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

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Source(const std::string& name) {
  return Read(std::string(SCRIVANO_SOURCE_DIR) + "/" + name);
}

std::string Help() {
  std::string text;
  if (FILE* pipe = popen((std::string("'") + SCRIVANO_PROGRAM + "' --help").c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

const char kManual[] = "data/manual/Operational Manual.html";

// "0, 6, 11, 13 and 18" as the documents list the runner's desktop entries, against the entries that need
// the desktop.
TEST(Documents, TheEntriesSaidToBelongToTheWorkbenchAreThoseThatNeedTheDesktop) {
  std::set<int> desktopOnly;
  for (const FunctionEntry& entry : FunctionEntries())
    if (entry.needs) desktopOnly.insert(entry.number);
  for (const char* document : {"README.md", kManual}) {
    SCOPED_TRACE(document);
    const std::string text = Source(document);
    std::smatch found;
    ASSERT_TRUE(
        std::regex_search(text, found, std::regex("[Ee]ntries ([0-9, and]+) belong to the workbench")));
    std::set<int> said;
    const std::string list = found[1];
    const std::regex digits("[0-9]+");
    for (std::sregex_iterator number(list.begin(), list.end(), digits), end; number != end; ++number)
      said.insert(std::stoi(number->str()));
    EXPECT_EQ(said, desktopOnly);
  }
}

// Every entry of this build runs: no document may say that one is missing.
TEST(Documents, NoDocumentCallsAFunctionMissing) {
  for (const char* document : {"README.md", kManual}) {
    const std::string text = Source(document);
    for (const char* phrase : {"later version", "not carried out yet", "does not have yet",
                               "notice saying so", "not available in this version"})
      EXPECT_EQ(text.find(phrase), std::string::npos) << document << ": " << phrase;
  }
}

// Every option the program takes is in its --help and in the manual or the README.
TEST(Documents, HelpAndManualNameEveryOptionOfTheProgram) {
  const std::string help = Help();
  ASSERT_NE(help.find("Usage: scrivano"), std::string::npos) << help;
  const std::string main = Source("src/app/main.cpp");
  const std::string manualAndReadme = Source(kManual) + Source("README.md");
  std::set<std::string> options;
  const std::regex quotedOption("\"(--[a-z-]+)\"");
  for (std::sregex_iterator option(main.begin(), main.end(), quotedOption), end; option != end; ++option)
    options.insert((*option)[1]);
  EXPECT_GE(options.size(), 3u);
  for (const std::string& option : options) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
    EXPECT_NE(manualAndReadme.find("scrivano " + option), std::string::npos) << option;
  }
  for (const char* variable : {"SCRIVANO_ROOT", "WAYLAND_DISPLAY"})
    EXPECT_NE(help.find(variable), std::string::npos) << variable;
}

}  // namespace
}  // namespace scrivano
