#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "settings/IniFile.h"
#include "settings/ProgramPaths.h"
#include "support/TempFolder.h"

namespace scrivano {
namespace {

using test::TempFolder;

EnvironmentLookup Environment(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const char* name) -> const char* {
    const auto it = values.find(name);
    return it == values.end() ? nullptr : it->second.c_str();
  };
}

TEST(ProgramPaths, WorkRootIsTheParentOfTheProgramsFolder) {
  TempFolder folder;
  const ProgramPaths paths = ResolveProgramPaths(folder.path() + "/Release/scrivano", Environment({}));
  EXPECT_EQ(paths.workRoot, FromUtf8(folder.path()));
  EXPECT_EQ(paths.parameterFile, FromUtf8(folder.path() + "/Data/config.ini"));
  EXPECT_EQ(paths.inputFile, FromUtf8(folder.path() + "/Data/Input"));
  EXPECT_EQ(paths.companionProgram, FromUtf8(folder.path() + "/Release/vexo1"));
  EXPECT_EQ(paths.guideFolder, FromUtf8(folder.path() + "/Guide"));
  struct stat info;
  EXPECT_EQ(::stat((folder.path() + "/Data").c_str(), &info), 0);
}

TEST(ProgramPaths, EnvironmentOverrideAndFallback) {
  TempFolder folder;
  const ProgramPaths chosen =
      ResolveProgramPaths("/usr/bin/scrivano", Environment({{"SCRIVANO_ROOT", folder.path() + "/root"}}));
  EXPECT_EQ(chosen.workRoot, FromUtf8(folder.path() + "/root"));

  // A root whose Data folder can be neither found nor made: a file stands where the folder should be.
  folder.WriteBytes("blocked", "");
  const ProgramPaths fallback =
      ResolveProgramPaths("/x/Release/scrivano", Environment({{"SCRIVANO_ROOT", folder.path() + "/blocked"},
                                                              {"XDG_DATA_HOME", folder.path() + "/xdg"}}));
  EXPECT_EQ(fallback.workRoot, FromUtf8(folder.path() + "/xdg/scrivano"));
  const ProgramPaths home = ResolveProgramPaths(
      "/x/Release/scrivano",
      Environment({{"SCRIVANO_ROOT", folder.path() + "/blocked"}, {"HOME", folder.path()}}));
  EXPECT_EQ(home.workRoot, FromUtf8(folder.path() + "/.local/share/scrivano"));
}

// An installed layout. Whichever program asks and whatever the work root, the companion and the guide are
// found below the prefix, and no Data folder is made there.
TEST(ProgramPaths, InstalledProgramsFindTheirFilesBelowThePrefixAndKeepDataInTheHome) {
  TempFolder folder;
  const std::string prefix = folder.path() + "/usr", home = folder.path() + "/home";
  ASSERT_EQ(
      system(("mkdir -p " + prefix + "/bin " + prefix + "/libexec/scrivano " + prefix + "/share/scrivano")
                 .c_str()),
      0);
  folder.WriteBytes("usr/libexec/scrivano/vexo1", "");
  ::chmod((prefix + "/libexec/scrivano/vexo1").c_str(), 0755);
  for (const auto& [program, root] :
       {std::pair{"/bin/scrivano", ""}, {"/libexec/scrivano/vexo1", ""}, {"/bin/scrivano", "/elsewhere"}}) {
    SCOPED_TRACE(std::string(program) + root);
    EXPECT_EQ(InstalledPrefix(prefix + program), prefix);
    const ProgramPaths paths = ResolveProgramPaths(
        prefix + program,
        Environment({{"HOME", home}, {"SCRIVANO_ROOT", *root ? folder.path() + root : ""}}));
    EXPECT_EQ(paths.workRoot, FromUtf8(*root ? folder.path() + root : home + "/.local/share/scrivano"));
    EXPECT_EQ(paths.companionProgram, FromUtf8(prefix + "/libexec/scrivano/vexo1"));
    EXPECT_EQ(paths.guideFolder, FromUtf8(prefix + "/share/scrivano/Guide"));
  }
  EXPECT_NE(::access((prefix + "/Data").c_str(), F_OK), 0);
  EXPECT_EQ(InstalledPrefix(folder.path() + "/other/bin/scrivano"), "");
}

TEST(ProgramPaths, DefaultParameterFileIsInstalledOnceAndReadable) {
  TempFolder folder;
  const ProgramPaths paths = PathsBelow(FromUtf8(folder.path()));
  ::mkdir((folder.path() + "/Data").c_str(), 0700);
  ASSERT_TRUE(InstallDefaultParameterFile(paths));
  const IniFile file = IniFile::Load(paths.parameterFile);
  EXPECT_EQ(file.Format(), (TextFormat{Charset::kUtf16Le, true}));
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para0"), u"500");
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para3"), u"-1");
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para4"), u"-1");
  EXPECT_EQ(file.Value(u"PARAMETERS", u"Para8"), u"3/1");

  folder.WriteBytes("Data/config.ini", "[PARAMETERS]\nPara0=7\n");
  ASSERT_TRUE(InstallDefaultParameterFile(paths));  // an existing file is the user's: kept
  EXPECT_EQ(folder.ReadBytes("Data/config.ini"), "[PARAMETERS]\nPara0=7\n");
}

}  // namespace
}  // namespace scrivano
