// How the runner turns its input bytes into the working text and the handed-back text into output bytes.
// UTF-8, the common case, works on chunks, so that a large file never has a whole second copy in memory:
// the input is decoded straight into the text's final buffer and the output is encoded and written a
// slice at a time. Other encodings, and input whose bytes show that it may be in one, are read whole, as
// DecodeTextFile reads them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "text/Text.h"
#include "text/TextEncodings.h"

namespace scrivano::cli {

// The encoding of a stream and whether it begins with its byte-order mark.
struct StreamFormat {
  Charset charset = Charset::kUtf8;
  bool byteOrderMark = false;
};

// When a UTF-8 decoder gives up: never (its ill-formed bytes become U+FFFD), at the first ill-formed
// sequence (UTF-8 named, nothing may be lost), or also at a zero byte (the encoding unknown: the bytes may
// be UTF-16 or a code page, which DecodeTextFile tells apart).
enum class GiveUp { kNever, kAtIllFormed, kAtIllFormedOrZeroByte };

// Decodes UTF-8 input that arrives in chunks of any size, cut anywhere, into one text; the result is the
// same as decoding the whole at once. A leading mark is dropped and ill-formed bytes become U+FFFD. Unless
// raw, a "\n" without "\r" before it becomes "\r\n". Once it has given up, it decodes nothing more and the
// text is to be thrown away.
class InputDecoder {
 public:
  InputDecoder(bool raw, GiveUp giveUp) : raw_(raw), giveUp_(giveUp) {}

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

  bool GaveUp() const { return gaveUp_; }
  // How many U+FFFD stand for ill-formed UTF-8, and whether the input began with the mark.
  size_t Undecodable() const { return undecodable_; }
  bool DroppedMark() const { return droppedMark_; }

 private:
  void Start(Text& text);
  void DecodeChunk(std::string_view bytes, Text& text);
  void DecodeUtf8(std::string_view bytes, Text& text);

  bool raw_;
  GiveUp giveUp_;
  bool gaveUp_ = false;
  size_t measured_ = 0;
  std::string start_;  // the first bytes, until the mark is known to be there or not
  bool started_ = false;
  bool droppedMark_ = false;
  std::string pending_;  // an unfinished sequence at a chunk's end
  size_t undecodable_ = 0;
};

// What the input became: its text, its format, and how many U+FFFD stand for bytes that could not be
// decoded, with the offset of the first (npos when there is none, or when the chunked decoder was not
// asked to give up and did not look).
struct DecodedInput {
  Text text;
  StreamFormat format;
  size_t replaced = 0;
  size_t firstBadByte = std::string::npos;
};

// How the runner's decoder for UTF-8 or an encoding not named (nullopt) gives up.
GiveUp GiveUpFor(std::optional<Charset> charset, bool lossy);
// The input from a decoder that has not given up.
DecodedInput FromDecoder(const InputDecoder& decoder, Text text);
// The whole bytes as DecodeTextFile reads them: by what they show (no charset) or as charset, its mark
// skipped; unless raw, a "\n" without "\r" before it becomes "\r\n". The bytes are freed as soon as they
// are decoded.
DecodedInput DecodeWholeInput(std::string bytes, std::optional<Charset> charset, bool raw);
// The runner's reading of bytes held in memory: UTF-8 (or no charset) through the decoder, giving up
// for DecodeWholeInput when the bytes ask for it; other charsets through DecodeWholeInput. With lossy,
// ill-formed UTF-8 does not make a named UTF-8 give up.
DecodedInput DecodeInput(std::string bytes, std::optional<Charset> charset, bool raw, bool lossy);

// Encodes text in format (its mark first; unless raw, "\r\n" as "\n") and hands the bytes to write: in
// UTF-8 and UTF-16 a slice of about sliceUnits units at a time (a slice never ends between the units of
// a pair or of a line break), in the code pages all at once. Characters the encoding cannot store (a lone
// surrogate in UTF-8 or a code page, a character a code page lacks): without replace nothing is written
// and the index of the first is returned; with replace they are written as U+FFFD in UTF-8 and as "?" in
// the code pages, and replaced (when given) counts them. Returns npos when the text was written.
size_t EncodeOutputInSlices(TextView text, StreamFormat format, bool raw, bool replace,
                            const std::function<void(std::string_view bytes)>& write,
                            size_t* replaced = nullptr, size_t sliceUnits = size_t{1} << 16);
// All of it at once, replacing what the encoding cannot store.
std::string EncodeOutput(TextView text, StreamFormat format, bool raw);

}  // namespace scrivano::cli
