// Installing the NextPiece macro into a LibreOffice profile folder of the test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "office/OfficeMacro.h"
#include "support/TempFolder.h"

namespace scrivano {
namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(OfficeMacro, AFreshProfileGetsTheModuleTheLibraryAndTheShortcut) {
  test::TempFolder folder;
  const std::string user = folder.path() + "/user";
  std::string message;
  ASSERT_TRUE(InstallOfficeMacro(user, message)) << message;
  const std::string module = Read(user + "/basic/Standard/Scrivano.xba");
  EXPECT_NE(module.find("Sub NextPiece"), std::string::npos);
  EXPECT_NE(module.find("&quot;.uno:Copy&quot;"), std::string::npos);  // escaped as XML
  EXPECT_NE(Read(user + "/basic/Standard/script.xlb").find("library:name=\"Scrivano\"/>"), std::string::npos);
  EXPECT_NE(Read(user + "/basic/script.xlc").find("library:name=\"Standard\""), std::string::npos);
  EXPECT_NE(Read(user + "/basic/dialog.xlc").find("dialog.xlb"), std::string::npos);
  const std::string settings = Read(user + "/registrymodifications.xcu");
  EXPECT_NE(settings.find("Standard.Scrivano.NextPiece?language=Basic&amp;location=application"),
            std::string::npos);
  EXPECT_NE(settings.find("ooSetupInstCompleted"), std::string::npos);
}

TEST(OfficeMacro, RunningItAgainChangesNothingAndTheUsersOwnModulesAndShortcutsStay) {
  test::TempFolder folder;
  const std::string user = folder.path() + "/user";
  std::filesystem::create_directories(user + "/basic/Standard");
  const std::string ownShortcut =
      "<item oor:path=\"/org.openoffice.Office.Accelerators/PrimaryKeys/Modules/"
      "org.openoffice.Office.Accelerators:Module['com.sun.star.text.TextDocument']\"><node "
      "oor:name=\"M_MOD1\" "
      "oor:op=\"replace\"><prop oor:name=\"Command\" oor:op=\"fuse\"><value "
      "xml:lang=\"en-US\">.uno:Own</value>"
      "</prop></node></item>";
  std::ofstream(user + "/registrymodifications.xcu")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
         "xmlns:oor=\"http://openoffice.org/2001/registry\">\n"
      << ownShortcut << "\n</oor:items>\n";
  std::ofstream(user + "/basic/Standard/script.xlb")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<library:library xmlns:library=\"x\" "
         "library:name=\"Standard\">\n"
         " <library:element library:name=\"Module1\"/>\n</library:library>\n";
  std::string message;
  ASSERT_TRUE(InstallOfficeMacro(user, message)) << message;
  const std::string settings = Read(user + "/registrymodifications.xcu");
  const std::string index = Read(user + "/basic/Standard/script.xlb");
  ASSERT_TRUE(InstallOfficeMacro(user, message)) << message;
  EXPECT_EQ(Read(user + "/registrymodifications.xcu"), settings);
  EXPECT_EQ(Read(user + "/basic/Standard/script.xlb"), index);
  EXPECT_NE(settings.find(ownShortcut), std::string::npos);
  EXPECT_EQ(Count(settings, "oor:name=\"N_MOD1\""), 1u);
  EXPECT_NE(index.find("library:name=\"Module1\""), std::string::npos);
  EXPECT_EQ(Count(index, "library:name=\"Scrivano\""), 1u);
}

TEST(OfficeMacro, CtrlNAsLibreOfficeWritesItIsReplacedToo) {
  test::TempFolder folder;
  const std::string user = folder.path() + "/user";
  std::filesystem::create_directories(user);
  std::ofstream(user + "/registrymodifications.xcu")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items>\n<item oor:path=\"/org.openoffice.Office."
         "Accelerators/PrimaryKeys/Modules/org.openoffice.Office.Accelerators:Module['com.sun.star.text."
         "TextDocument']/org.openoffice.Office.Accelerators:Key['N_MOD1']/Command\"><value "
         "xml:lang=\"en-US\">"
         ".uno:AddDirect</value></item>\n</oor:items>\n";
  std::string message;
  ASSERT_TRUE(InstallOfficeMacro(user, message)) << message;
  const std::string settings = Read(user + "/registrymodifications.xcu");
  EXPECT_EQ(settings.find(".uno:AddDirect"), std::string::npos);
  EXPECT_EQ(Count(settings, "N_MOD1"), 1u);
}

TEST(OfficeMacro, TheModuleOfThisVersionIsToldFromAnOlderOneOrNone) {
  test::TempFolder folder;
  const std::string user = folder.path() + "/user";
  EXPECT_FALSE(NextPieceModuleCurrent(user));
  std::string message;
  ASSERT_TRUE(InstallOfficeMacro(user, message)) << message;
  EXPECT_TRUE(NextPieceModuleCurrent(user));
  const std::string module = user + "/basic/Standard/Scrivano.xba";
  const std::string current = Read(module);
  // The module before the handshake: NextPiece alone.
  std::ofstream(module) << current.substr(0, current.find("Sub BindNextPiece")) << "</script:module>\n";
  EXPECT_FALSE(NextPieceModuleCurrent(user));
  std::ofstream(module) << current;
  std::ofstream(user + "/basic/Standard/script.xlb") << "<library:library library:name=\"Standard\"/>\n";
  EXPECT_FALSE(NextPieceModuleCurrent(user));  // not listed in its library: never loaded
}

TEST(OfficeMacro, TheProfileOfARunningOfficeComesFromItsCommandLineOrEnvironment) {
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    std::string profile;
  } const cases[] = {
      {{"soffice.bin", "-env:UserInstallation=file:///tmp/p%20q", "a.odt"}, {"HOME=/h"}, "/tmp/p q/user"},
      {{"soffice.bin", "-env:UserInstallation=file:///tmp/p/"}, {}, "/tmp/p/user"},
      {{"soffice.bin", "-env:UserInstallation=file://localhost/tmp/p"}, {}, "/tmp/p/user"},
      {{"soffice.bin", "-env:UserInstallation=$SYSUSERCONFIG/lo"}, {"XDG_CONFIG_HOME=/c"}, "/c/lo/user"},
      {{"soffice.bin"}, {"UserInstallation=file:///e", "HOME=/h"}, "/e/user"},
      {{"soffice.bin"}, {"XDG_CONFIG_HOME=/c", "HOME=/h"}, "/c/libreoffice/4/user"},
      {{"soffice.bin"}, {"XDG_CONFIG_HOME=", "HOME=/h"}, "/h/.config/libreoffice/4/user"},
      {{"soffice.bin", "-env:UserInstallation=relative"},
       {"HOME=/h", "HOMES=/x"},
       "/h/.config/libreoffice/4/user"},
  };
  for (const Case& c : cases) EXPECT_EQ(OfficeProfileOf(c.arguments, c.environment), c.profile) << c.profile;
}

TEST(OfficeMacro, ASettingsFileItDoesNotKnowIsLeftAlone) {
  test::TempFolder folder;
  const std::string user = folder.path() + "/user";
  std::filesystem::create_directories(user);
  std::ofstream(user + "/registrymodifications.xcu") << "not settings";
  std::string message;
  EXPECT_FALSE(InstallOfficeMacro(user, message));
  EXPECT_NE(message.find("left alone"), std::string::npos);
  EXPECT_EQ(Read(user + "/registrymodifications.xcu"), "not settings");
}

}  // namespace
}  // namespace scrivano
