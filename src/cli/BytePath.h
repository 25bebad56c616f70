// The runner's path on bytes: where the input and the output are both UTF-8 and the entry decides only by
// ASCII characters, line breaks, white space and substrings, the entry runs on the input's bytes as they
// are read and its result is written as it comes, without a decoded text. It takes only input that the
// decoder would read as UTF-8 without loss; anything else goes the way of the decoded text, which stays the
// reference the bytes are tested against.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "transform/LineOperationsOnBytes.h"

namespace scrivano::cli {

// The entry's operation on bytes, for the option its question is answered with where it asks one (entry 1);
// nullptr when it has none, or none for that option or the current parameters. Unless raw, a "\n" alone
// ends a line as "\r\n" does.
// loneCarriageReturns: the input holds a carriage return that no line feed follows.
std::unique_ptr<ByteOperation> OperationOnBytes(int entryNumber, int option, bool raw, ByteWriter write,
                                                bool loneCarriageReturns = false);
// Whether the entry asks for an option first.
bool AsksOption(int entryNumber);

// The input: a regular file read in chunks where it lies (fd from offset at), or bytes held in memory.
struct ByteInput {
  int fd = -1;
  off_t at = 0;
  bool held = false;
  std::string bytes;
  bool mark = false;                // began with the UTF-8 byte-order mark, which the text does not hold
  bool loneCarriageReturn = false;  // holds a carriage return that no line feed follows (when looked for)
  size_t checkedBytes = 0;          // how many bytes the check read
};

enum class ByteCheck { kUtf8, kNotUtf8, kReadError };

// Reads the input through once: kUtf8 when it is well-formed UTF-8 and, with refuseZero (the encoding to
// be told by the bytes), holds no zero byte, which may mean UTF-16. keepWhole: a file is read into bytes
// meanwhile. findLoneCarriageReturns: sets loneCarriageReturn. kReadError leaves errno set.
ByteCheck CheckInputBytes(ByteInput& input, bool refuseZero, bool keepWhole,
                          bool findLoneCarriageReturns = false);
// Reads a file into bytes, when it is not held there yet. False with errno set on a read error.
bool HoldWhole(ByteInput& input);

enum class ByteRun { kDone, kReadError, kChanged };

// Hands the checked input, without its mark, to the operation and finishes it. A file read again is
// checked again as it is read: kChanged, with the bytes read since the change not handed on, when it is no
// longer what the check read (well-formed UTF-8 of the same length). kReadError leaves errno set.
ByteRun RunOperation(ByteInput& input, ByteOperation& operation);

// Collects what an operation writes into slices and hands them to write; unless raw, a "\r" just before
// a "\n" goes, as in the runner's UTF-8 output of a text.
class Utf8Output {
 public:
  Utf8Output(bool raw, std::function<void(std::string_view)> write) : raw_(raw), write_(std::move(write)) {}
  void Write(std::string_view bytes);
  // After the last bytes.
  void Flush();

 private:
  void Hand(bool last);

  bool raw_;
  std::function<void(std::string_view)> write_;
  std::string slice_;
};

}  // namespace scrivano::cli
