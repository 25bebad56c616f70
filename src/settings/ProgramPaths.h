// Where the program keeps its files. workRoot is the parent of the folder that holds the program file;
// SCRIVANO_ROOT overrides it, and when no Data folder can be found or created there (an installed
// program's parent folder is usually not writable) it is $XDG_DATA_HOME/scrivano.
#pragma once

#include <functional>
#include <string>

#include "text/Text.h"

namespace scrivano {

struct ProgramPaths {
  Text workRoot;
  Text dataFolder;       // workRoot/Data
  Text inputFile;        // workRoot/Data/Input
  Text outputFile;       // workRoot/Data/Output
  Text readmeFile;       // workRoot/Data/Readme.txt
  Text parameterFile;    // workRoot/Data/config.ini
  Text testFile;         // workRoot/TestFile.txt
  Text guideFolder;      // workRoot/Guide
  Text manualFile;       // workRoot/Guide/Operational Manual.doc
  Text companionProgram; // workRoot/Release/vexo1
};

ProgramPaths PathsBelow(TextView workRoot);

// Reads the environment through getenv unless a lookup is given (tests).
using EnvironmentLookup = std::function<const char*(const char*)>;

// Chooses workRoot as described above and makes sure its Data folder exists.
ProgramPaths ResolveProgramPaths(const std::string& programFile, const EnvironmentLookup& environment = {});

// The running program's own file (from /proc/self/exe).
std::string OwnProgramFile();

// Writes the shipped config.ini into the data folder when it holds none. Returns false when it could not.
bool InstallDefaultParameterFile(const ProgramPaths& paths);

// The bytes of the shipped config.ini.
std::string_view DefaultParameterFile();

}  // namespace scrivano
