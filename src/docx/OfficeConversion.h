// Formats the engine does not read itself (.doc, .odt, .rtf) are turned into .docx by the office suite's
// headless converter, when one is installed. Each conversion runs with a profile folder of its own, since
// a second converter on a profile in use silently produces nothing.
#pragma once

#include <string>
#include <vector>

#include "text/Text.h"

namespace scrivano::word {

// True when path names a file the engine must have converted first: by its extension (.doc, .dot, .odt,
// .ott, .fodt, .rtf), or by content that is an old binary document or RTF whatever its name.
bool NeedsConversion(TextView path, const std::string& bytes);

// The converter program found on PATH, or empty when none is installed.
std::string OfficeConverterProgram();

// Runs a program with its input and output discarded: its exit status, or -1 when it could not start or
// was stopped after timeoutSeconds.
int RunProgramQuietly(const std::vector<std::string>& arguments, int timeoutSeconds);

// Converts the file to .docx bytes. False with a reason when the converter fails, produces nothing or
// takes longer than timeoutSeconds.
bool ConvertToDocx(TextView path, std::string& docx, std::string& reason, int timeoutSeconds = 180);

}  // namespace scrivano::word
