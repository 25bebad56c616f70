// Whether bytes that arrive in pieces, cut anywhere, are well-formed UTF-8, at the speed of reading them:
// sixteen bytes at a time with table look-ups on the processor's byte shuffle where it has one, the same
// tables one byte at a time where it has not.
#pragma once

#include <cstddef>
#include <string_view>

namespace scrivano {

class Utf8Check {
 public:
  // Takes the next piece. False once an ill-formed sequence has been seen; a sequence cut by the piece's
  // end is judged with the next piece.
  bool Take(std::string_view bytes);
  // After the last piece: true when every byte taken was well-formed and no sequence is left unfinished.
  bool Finish();

 private:
  void CheckBlocks(const unsigned char* blocks, size_t count);

  unsigned char previous_[16] = {};  // the last block checked
  unsigned char pending_[16] = {};   // the start of a block not yet whole
  size_t pendingSize_ = 0;
  unsigned char error_ = 0;
  bool finished_ = false;
};

// The same in one piece.
bool IsWellFormedUtf8(std::string_view bytes);
// The same with the tables read one byte at a time, kept as what the shuffles are tested against.
bool IsWellFormedUtf8Plain(std::string_view bytes);

}  // namespace scrivano
