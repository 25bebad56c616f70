// What the runner says when text would be lost between bytes and characters: the one line that ends a
// run without --lossy, and the count it gives with --lossy.
#pragma once

#include <cstddef>
#include <string>

#include "cli/TextStreams.h"
#include "text/Text.h"

namespace scrivano::cli {

// "the input cannot be decoded as GB18030 (detected): the byte at offset 12 is not valid there; ...".
std::string UndecodableInputMessage(const DecodedInput& input, bool detected);
// "the output cannot be encoded as Big5: U+4E2A "个" at line 3, column 5 has no Big5 code; ...": the
// character at text[index], lines ending at "\n", columns counted in characters from 1.
std::string UnencodableOutputMessage(TextView text, size_t index, Charset charset);
// "3 characters of the output could not be encoded as Big5 and became "?"", and the input's likewise.
std::string ReplacedMessage(size_t count, bool output, Charset charset);

}  // namespace scrivano::cli
