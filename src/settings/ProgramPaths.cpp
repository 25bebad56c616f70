#include "settings/ProgramPaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "text/Utf16Bytes.h"
#include "text/FileBytes.h"

namespace scrivano {
namespace {

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

ProgramPaths ResolveProgramPaths(const std::string& programFile, const EnvironmentLookup& environment) {
  const auto lookup = [&](const char* name) -> std::string {
    const char* value = environment ? environment(name) : std::getenv(name);
    return value ? value : "";
  };
  std::string workRoot = lookup("SCRIVANO_ROOT");
  if (workRoot.empty()) workRoot = ParentFolder(ParentFolder(programFile));
  if (!DataFolderUsable(workRoot)) {
    std::string dataHome = lookup("XDG_DATA_HOME");
    if (dataHome.empty()) dataHome = JoinPath(lookup("HOME"), ".local/share");
    workRoot = JoinPath(dataHome, "scrivano");
    DataFolderUsable(workRoot);
  }
  return PathsBelow(FromUtf8(workRoot));
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
