#include "settings/ProgramPaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "text/FileBytes.h"
#include "text/Utf16Bytes.h"

// The install layout, relative to the prefix (GNUInstallDirs, set by the build).
#ifndef SCRIVANO_INSTALL_BINDIR
#define SCRIVANO_INSTALL_BINDIR "bin"
#endif
#ifndef SCRIVANO_INSTALL_LIBEXECDIR
#define SCRIVANO_INSTALL_LIBEXECDIR "libexec"
#endif
#ifndef SCRIVANO_INSTALL_DATADIR
#define SCRIVANO_INSTALL_DATADIR "share"
#endif

namespace scrivano {
namespace {

constexpr char kCompanionName[] = "vexo1";

std::string ParentFolder(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const size_t slash = trimmed.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : trimmed.substr(0, slash);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// Creates folder and its missing parents; true when it exists afterwards.
bool MakeFolders(const std::string& folder) {
  struct stat info;
  if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const std::string parent = ParentFolder(folder);
  if (parent != folder && !MakeFolders(parent)) return false;
  return ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

bool DataFolderUsable(const std::string& workRoot) {
  const std::string data = JoinPath(workRoot, "Data");
  return MakeFolders(data) && ::access(data.c_str(), W_OK) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// prefix when folder is prefix/relative, else empty.
std::string PrefixBelow(const std::string& folder, const std::string& relative) {
  const std::string tail = "/" + relative;
  if (!folder.ends_with(tail)) return {};
  const std::string prefix = folder.substr(0, folder.size() - tail.size());
  return prefix.empty() ? "/" : prefix;
}

}  // namespace

ProgramPaths PathsBelow(TextView workRoot) {
  ProgramPaths paths;
  paths.workRoot = Text(workRoot);
  while (paths.workRoot.size() > 1 && paths.workRoot.back() == u'/') paths.workRoot.pop_back();
  const Text root = paths.workRoot == u"/" ? Text() : paths.workRoot;
  paths.dataFolder = root + u"/Data";
  paths.inputFile = paths.dataFolder + u"/Input";
  paths.outputFile = paths.dataFolder + u"/Output";
  paths.readmeFile = paths.dataFolder + u"/Readme.txt";
  paths.parameterFile = paths.dataFolder + u"/config.ini";
  paths.testFile = root + u"/TestFile.txt";
  paths.guideFolder = root + u"/Guide";
  paths.manualFile = paths.guideFolder + u"/Operational Manual.doc";
  paths.companionProgram = root + u"/Release/vexo1";
  return paths;
}

std::string InstalledPrefix(const std::string& programFile) {
  const std::string folder = ParentFolder(programFile);
  for (const std::string& relative :
       {std::string(SCRIVANO_INSTALL_BINDIR), std::string(SCRIVANO_INSTALL_LIBEXECDIR) + "/scrivano"}) {
    const std::string prefix = PrefixBelow(folder, relative);
    if (!prefix.empty() && IsFolder(JoinPath(prefix, SCRIVANO_INSTALL_DATADIR "/scrivano"))) return prefix;
  }
  return {};
}

ProgramPaths ResolveProgramPaths(const std::string& programFile, const EnvironmentLookup& environment) {
  const auto lookup = [&](const char* name) -> std::string {
    const char* value = environment ? environment(name) : std::getenv(name);
    return value ? value : "";
  };
  const std::string programFolder = ParentFolder(programFile);
  const std::string prefix = InstalledPrefix(programFile);
  std::string workRoot = lookup("SCRIVANO_ROOT");
  // An installed program's parent folder (/usr) is no place for a Data folder, even where it is writable.
  if (workRoot.empty() && prefix.empty()) workRoot = ParentFolder(programFolder);
  if (workRoot.empty() || !DataFolderUsable(workRoot)) {
    std::string dataHome = lookup("XDG_DATA_HOME");
    if (dataHome.empty()) dataHome = JoinPath(lookup("HOME"), ".local/share");
    workRoot = JoinPath(dataHome, "scrivano");
    DataFolderUsable(workRoot);
  }
  ProgramPaths paths = PathsBelow(FromUtf8(workRoot));
  // The companion: beside the program (a build tree, or an install that keeps them together), else where
  // an install puts it. A missing one is named by the path the program would have run.
  const std::string beside = JoinPath(programFolder, kCompanionName);
  std::string companion = beside;
  if (!prefix.empty()) {
    const std::string installed =
        JoinPath(JoinPath(prefix, SCRIVANO_INSTALL_LIBEXECDIR "/scrivano"), kCompanionName);
    if (::access(beside.c_str(), X_OK) != 0) companion = installed;
  }
  paths.companionProgram = FromUtf8(companion);
  paths.guideFolder = FromUtf8(prefix.empty() ? JoinPath(ParentFolder(programFolder), "Guide")
                                              : JoinPath(prefix, SCRIVANO_INSTALL_DATADIR "/scrivano/Guide"));
  paths.manualFile = paths.guideFolder + u"/Operational Manual.doc";
  return paths;
}

std::string OwnProgramFile() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

bool InstallDefaultParameterFile(const ProgramPaths& paths) {
  if (PathExists(paths.parameterFile)) return true;
  // Stored as the Set Parameters command writes it: UTF-16LE with a byte-order mark.
  return WriteFileBytesAtomically(paths.parameterFile,
                                  "\xFF\xFE" + TextToUtf16LeBytes(FromUtf8(DefaultParameterFile())));
}

}  // namespace scrivano
