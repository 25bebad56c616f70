// How the runner turns its input bytes into the working text and the handed-back text into output bytes.
// Both directions work on chunks, so that a large file never has a whole second copy in memory: the input
// is decoded straight into the text's final buffer and the output is encoded and written a slice at a time.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace scrivano::cli {

enum class StreamEncoding { kUtf8, kUtf16Le };

// Decodes input that arrives in chunks of any size, cut anywhere, into one text; the result is the same
// as decoding the whole at once. utf16le: the bytes are the code units (a final odd byte is dropped, lone
// surrogates kept); utf8: a leading mark is dropped and invalid bytes become U+FFFD. Unless raw, a "\n"
// without "\r" before it becomes "\r\n".
class InputDecoder {
 public:
  InputDecoder(StreamEncoding encoding, bool raw) : encoding_(encoding), raw_(raw) {}

  // An optional first pass over the same chunks: afterwards ReservedUnits() is enough for the text of
  // well-formed input, so that decoding never moves it.
  void Measure(std::string_view chunk);
  size_t ReservedUnits() const;
  // Without a first pass: enough for the text of any input of that many bytes (a line feed may become
  // two units). Reserved memory that is never written costs nothing, so a text decoded into this much
  // room is never moved.
  size_t UnitsAtMost(size_t bytes) const;

  void Decode(std::string_view chunk, Text& text);
  // The held-back end of the input; call once after the last chunk.
  void Finish(Text& text);

  // How many U+FFFD stand for ill-formed UTF-8, and how many bytes were decoded.
  size_t Undecodable() const { return undecodable_; }
  size_t InputSize() const { return inputSize_; }

 private:
  void DecodeUtf8(std::string_view bytes, Text& text);
  void DecodeUtf16(std::string_view bytes, Text& text);

  StreamEncoding encoding_;
  bool raw_;
  size_t measured_ = 0;
  size_t measuredBytes_ = 0;
  bool measuredOdd_ = false;
  unsigned char measuredLow_ = 0;
  std::string start_;  // the first bytes, until the mark is known to be there or not
  bool started_ = false;
  std::string pending_;  // an unfinished sequence (UTF-8) or an odd byte (UTF-16) at a chunk's end
  size_t undecodable_ = 0;
  size_t inputSize_ = 0;
};

// The whole input at once; undecodable, when given, receives how many U+FFFD stand for ill-formed UTF-8.
Text DecodeInput(std::string_view bytes, StreamEncoding encoding, bool raw, size_t* undecodable = nullptr);

// Unless raw, "\r\n" becomes "\n". utf8 writes lone surrogates as U+FFFD. The bytes go to write a slice of
// about sliceUnits units at a time (a slice never ends between the units of a pair or of a line break).
void EncodeOutputInSlices(TextView text, StreamEncoding encoding, bool raw,
                          const std::function<void(std::string_view bytes)>& write,
                          size_t sliceUnits = size_t{1} << 16);
std::string EncodeOutput(TextView text, StreamEncoding encoding, bool raw);

}  // namespace scrivano::cli
