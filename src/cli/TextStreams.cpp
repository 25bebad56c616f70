#include "cli/TextStreams.h"

#include <algorithm>
#include <cstring>

#include "text/Utf8.h"

namespace scrivano::cli {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// Units reserved beyond the measured length: the UTF-8 decoder writes a step of up to two units past its
// end, and the line operations rewrite a text over itself from a little before its start.
constexpr size_t kSpareUnits = 16;

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

char16_t Utf16LeUnit(char low, char high) {
  return static_cast<char16_t>(static_cast<unsigned char>(low) | (static_cast<unsigned char>(high) << 8));
}

// "\r\n" becomes "\n" in place: every "\r" just before a "\n" goes. Only these units encode as the bytes
// 0D and 0A, so the bytes can be edited instead of the text.
void DropCarriageReturnsBeforeLineFeeds(std::string& bytes) {
  char* const begin = bytes.data();
  char* const end = begin + bytes.size();
  char* to = begin;
  char* from = begin;
  while (from < end) {
    auto* cr = static_cast<char*>(std::memchr(from, '\r', static_cast<size_t>(end - from)));
    if (!cr) cr = end;
    if (to != from) std::memmove(to, from, static_cast<size_t>(cr - from));
    to += cr - from;
    from = cr;
    if (from == end) break;
    if (from + 1 < end && from[1] == '\n') {
      ++from;  // the "\r" goes; the "\n" is copied with the next stretch
    } else {
      *to++ = *from++;
    }
  }
  bytes.resize(static_cast<size_t>(to - begin));
}

// One slice; a "\r\n" never straddles two slices.
void EncodeSlice(TextView slice, StreamEncoding encoding, bool raw, std::string& bytes) {
  bytes.clear();
  if (encoding == StreamEncoding::kUtf8) {
    AppendUtf16AsUtf8(slice, bytes);
    if (!raw) DropCarriageReturnsBeforeLineFeeds(bytes);
    return;
  }
  bytes.resize(slice.size() * 2);
  char* to = bytes.data();
  for (size_t i = 0; i < slice.size(); ++i) {
    const char16_t unit = slice[i];
    if (!raw && unit == u'\r' && i + 1 < slice.size() && slice[i + 1] == u'\n') continue;
    *to++ = static_cast<char>(unit & 0xFF);
    *to++ = static_cast<char>(unit >> 8);
  }
  bytes.resize(static_cast<size_t>(to - bytes.data()));
}

}  // namespace

void InputDecoder::Measure(std::string_view chunk) {
  if (encoding_ == StreamEncoding::kUtf8) {
    measured_ += Utf16LengthOfUtf8(chunk, raw_ ? LineFeeds::kKeep : LineFeeds::kWithCarriageReturn);
    return;
  }
  // UTF-16: the units, and a line feed twice unless raw.
  measuredBytes_ += chunk.size();
  if (raw_) return;
  for (const char byte : chunk) {
    if (measuredOdd_ && Utf16LeUnit(static_cast<char>(measuredLow_), byte) == u'\n') ++measured_;
    measuredLow_ = static_cast<unsigned char>(byte);
    measuredOdd_ = !measuredOdd_;
  }
}

size_t InputDecoder::ReservedUnits() const {
  // An eighth more for entries that rewrite the text over itself and make it a little longer: reserved
  // pages that are never written cost no memory.
  const size_t units = measured_ + measuredBytes_ / 2;
  return units + units / 8 + kSpareUnits;
}

size_t InputDecoder::UnitsAtMost(size_t bytes) const {
  const size_t units = encoding_ == StreamEncoding::kUtf8 ? bytes : bytes / 2;
  return (raw_ ? units : 2 * units) + kSpareUnits;
}

void InputDecoder::Decode(std::string_view chunk, Text& text) {
  inputSize_ += chunk.size();
  if (!started_) {
    // The first three bytes decide about the mark.
    const size_t take = std::min(chunk.size(), kUtf8Mark.size() - start_.size());
    start_.append(chunk.substr(0, take));
    chunk.remove_prefix(take);
    if (start_.size() < kUtf8Mark.size()) return;
    started_ = true;
    std::string start;
    start.swap(start_);
    if (encoding_ == StreamEncoding::kUtf8 && start == kUtf8Mark) start.clear();
    Decode(start, text);
    inputSize_ -= start.size();
  }
  if (encoding_ == StreamEncoding::kUtf8)
    DecodeUtf8(chunk, text);
  else
    DecodeUtf16(chunk, text);
}

void InputDecoder::Finish(Text& text) {
  if (!started_) {
    started_ = true;  // fewer than three bytes: no room for a mark
    std::string start;
    start.swap(start_);
    Decode(start, text);
    inputSize_ -= start.size();
  }
  if (encoding_ == StreamEncoding::kUtf8 && !pending_.empty())
    undecodable_ +=
        AppendUtf8AsUtf16(pending_, text, raw_ ? LineFeeds::kKeep : LineFeeds::kWithCarriageReturn);
  pending_.clear();  // a final odd byte of UTF-16 is dropped
}

void InputDecoder::DecodeUtf8(std::string_view bytes, Text& text) {
  const LineFeeds lineFeeds = raw_ ? LineFeeds::kKeep : LineFeeds::kWithCarriageReturn;
  // Every byte that is not a continuation byte begins a step of the decoder, and a step takes at most
  // four bytes; so the bytes may be cut before such a byte, or after the fourth byte of a step.
  if (!pending_.empty()) {
    size_t k = 0;
    while (k < bytes.size() && k < 4 && IsContinuation(static_cast<unsigned char>(bytes[k]))) ++k;
    pending_.append(bytes.substr(0, k));
    bytes.remove_prefix(k);
    if (bytes.empty() && k < 4) return;  // the step may go on in the next chunk
    undecodable_ += AppendUtf8AsUtf16(pending_, text, lineFeeds);
    pending_.clear();
  }
  // A lead byte among the last three is held back with what follows it.
  size_t keep = bytes.size();
  for (size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const auto b = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if (IsContinuation(b)) continue;
    if (b >= 0xC0) keep = bytes.size() - back;
    break;
  }
  pending_.assign(bytes.substr(keep));
  undecodable_ += AppendUtf8AsUtf16(bytes.substr(0, keep), text, lineFeeds);
}

void InputDecoder::DecodeUtf16(std::string_view bytes, Text& text) {
  const auto add = [&](char16_t unit) {
    if (!raw_ && unit == u'\n' && (text.empty() || text.back() != u'\r')) text.push_back(u'\r');
    text.push_back(unit);
  };
  if (!pending_.empty() && !bytes.empty()) {
    add(Utf16LeUnit(pending_[0], bytes[0]));
    bytes.remove_prefix(1);
    pending_.clear();
  }
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) add(Utf16LeUnit(bytes[i], bytes[i + 1]));
  if (bytes.size() % 2 != 0) pending_.assign(1, bytes.back());
}

Text DecodeInput(std::string_view bytes, StreamEncoding encoding, bool raw, size_t* undecodable) {
  InputDecoder decoder(encoding, raw);
  decoder.Measure(bytes);
  Text text;
  text.reserve(decoder.ReservedUnits());
  decoder.Decode(bytes, text);
  decoder.Finish(text);
  if (undecodable) *undecodable = decoder.Undecodable();
  return text;
}

void EncodeOutputInSlices(TextView text, StreamEncoding encoding, bool raw,
                          const std::function<void(std::string_view bytes)>& write, size_t sliceUnits) {
  std::string bytes;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(start + std::max<size_t>(sliceUnits, 1), text.size());
    // Not between the two units of a pair, nor after a "\r" that a "\n" may follow.
    while (end < text.size() && (IsHighSurrogate(text[end - 1]) || text[end - 1] == u'\r')) ++end;
    EncodeSlice(text.substr(start, end - start), encoding, raw, bytes);
    write(bytes);
    start = end;
  }
}

std::string EncodeOutput(TextView text, StreamEncoding encoding, bool raw) {
  std::string bytes;
  EncodeOutputInSlices(
      text, encoding, raw, [&bytes](std::string_view slice) { bytes.append(slice); }, text.size() + 1);
  return bytes;
}

}  // namespace scrivano::cli
