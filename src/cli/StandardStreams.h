// The runner's standard streams, read and written with every error seen: a failed read of standard input
// or a failed write of standard output is an exception naming the cause, never a short text.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace scrivano::cli {

// Standard input could not be read. what(): "cannot read standard input: <cause>".
class ReadFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Standard output, the transcript or another stream of results could not be written. what() says which.
class WriteFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A standard stream that was closed when the program started is opened on /dev/null the wrong way
// round (standard output for reading), so that any later use fails instead of a file opened later
// taking its number.
void GuardStandardStreams();

// The whole of standard input; throws ReadFailed.
std::string ReadStandardInput();

// Writes all of bytes to standard output; throws WriteFailed.
void WriteStandardOutput(std::string_view bytes);

}  // namespace scrivano::cli
