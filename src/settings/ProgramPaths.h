// Where the program keeps its files. workRoot is the parent of the folder that holds the program file;
// SCRIVANO_ROOT overrides it. An installed program (bin/ or libexec/scrivano/ below a prefix that holds
// share/scrivano), or one whose work root gives no writable Data folder, uses $XDG_DATA_HOME/scrivano.
// What ships with the program (the companion, the manual) is found from the program file alone, whatever
// the work root: beside it in a build tree, below the prefix when installed.
#pragma once

#include <functional>
#include <string>

#include "text/Text.h"

namespace scrivano {

struct ProgramPaths {
  Text workRoot;
  Text dataFolder;     // workRoot/Data
  Text inputFile;      // workRoot/Data/Input
  Text outputFile;     // workRoot/Data/Output
  Text readmeFile;     // workRoot/Data/Readme.txt
  Text parameterFile;  // workRoot/Data/config.ini
  Text testFile;       // workRoot/TestFile.txt
  Text guideFolder;    // workRoot/Guide; from the program file: <build>/Guide, <prefix>/share/scrivano/Guide
  Text manualFile;     // workRoot/Guide/Operational Manual.doc
  Text companionProgram;  // workRoot/Release/vexo1; from the program file: beside it or in libexec/scrivano
};

ProgramPaths PathsBelow(TextView workRoot);

// Reads the environment through getenv unless a lookup is given (tests).
using EnvironmentLookup = std::function<const char*(const char*)>;

// Chooses workRoot as described above and makes sure its Data folder exists.
ProgramPaths ResolveProgramPaths(const std::string& programFile, const EnvironmentLookup& environment = {});

// The install prefix when the program file lies where an install puts Scrivano's programs (bin/, or
// libexec/scrivano/ for the companion) and the prefix holds share/scrivano; empty otherwise.
std::string InstalledPrefix(const std::string& programFile);

// The running program's own file (from /proc/self/exe).
std::string OwnProgramFile();

// Writes the shipped config.ini into the data folder when it holds none. Returns false when it could not.
bool InstallDefaultParameterFile(const ProgramPaths& paths);

// The bytes of the shipped config.ini.
std::string_view DefaultParameterFile();

}  // namespace scrivano
