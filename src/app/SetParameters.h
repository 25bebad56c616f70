// The Set Parameters command: pick a parameter by its description, then one of its stored settings (or
// type a new one), which becomes the active one; or clear the field to delete the setting chosen last.
#pragma once

#include "text/Text.h"

namespace scrivano {

// The dialogue on the parameter file. Writes the file (UTF-16LE with a byte-order mark, never half
// written) when anything changed, and returns whether it was written.
bool EditParameterFile(TextView parameterFile);

// The option text of the first prompt for one description line ("//" already removed): the number,
// padded with 10 - 2 x (its length) spaces, then the description.
Text DescriptionOption(TextView descriptionLine);

}  // namespace scrivano
