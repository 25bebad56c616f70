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

bool IsCodePage(Charset charset) {
  return charset == Charset::kGb18030 || charset == Charset::kBig5;
}

// A "\n" without "\r" before it becomes "\r\n", in place from the end.
void AddCarriageReturns(Text& text) {
  size_t lone = 0;
  for (size_t i = 0; i < text.size(); ++i) lone += text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r');
  if (lone == 0) return;
  size_t from = text.size();
  text.resize(text.size() + lone);
  for (size_t to = text.size(); from > 0;) {
    const char16_t unit = text[--from];
    text[--to] = unit;
    if (unit == u'\n' && (from == 0 || text[from - 1] != u'\r')) text[--to] = u'\r';
  }
}

// "\r\n" becomes "\n" in place: every "\r" just before a "\n" goes. In UTF-8 and both code pages only
// these units encode as the bytes 0D and 0A, so the bytes can be edited instead of the text.
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

// One slice in UTF-8 or UTF-16; a "\r\n" never straddles two slices.
void EncodeSlice(TextView slice, Charset charset, bool raw, std::string& bytes) {
  bytes.clear();
  if (charset == Charset::kUtf8) {
    AppendUtf16AsUtf8(slice, bytes);
    if (!raw) DropCarriageReturnsBeforeLineFeeds(bytes);
    return;
  }
  const int high = charset == Charset::kUtf16Be ? 0 : 1;
  bytes.resize(slice.size() * 2);
  char* to = bytes.data();
  for (size_t i = 0; i < slice.size(); ++i) {
    const char16_t unit = slice[i];
    if (!raw && unit == u'\r' && i + 1 < slice.size() && slice[i + 1] == u'\n') continue;
    to[high] = static_cast<char>(unit >> 8);
    to[1 - high] = static_cast<char>(unit & 0xFF);
    to += 2;
  }
  bytes.resize(static_cast<size_t>(to - bytes.data()));
}

size_t CountLoneSurrogates(TextView text, size_t first) {
  size_t count = 0;
  for (size_t lone = first; lone != TextView::npos; ++count) {
    const size_t next = FirstLoneSurrogate(text.substr(lone + 1));
    lone = next == TextView::npos ? next : lone + 1 + next;
  }
  return count;
}

}  // namespace

void InputDecoder::Measure(std::string_view chunk) {
  measured_ += Utf16LengthOfUtf8(chunk, raw_ ? LineFeeds::kKeep : LineFeeds::kWithCarriageReturn);
}

size_t InputDecoder::ReservedUnits() const {
  // An eighth more for entries that rewrite the text over itself and make it a little longer: reserved
  // pages that are never written cost no memory.
  return measured_ + measured_ / 8 + kSpareUnits;
}

size_t InputDecoder::UnitsAtMost(size_t bytes) const {
  return (raw_ ? bytes : 2 * bytes) + kSpareUnits;
}

void InputDecoder::Decode(std::string_view chunk, Text& text) {
  if (!started_) {
    // The first three bytes decide about the mark.
    const size_t take = std::min(chunk.size(), kUtf8Mark.size() - start_.size());
    start_.append(chunk.substr(0, take));
    chunk.remove_prefix(take);
    if (start_.size() < kUtf8Mark.size()) return;
    Start(text);
  }
  DecodeChunk(chunk, text);
}

void InputDecoder::Finish(Text& text) {
  if (!started_) Start(text);  // fewer than three bytes: no room for a mark
  if (!gaveUp_ && !pending_.empty())
    undecodable_ +=
        AppendUtf8AsUtf16(pending_, text, raw_ ? LineFeeds::kKeep : LineFeeds::kWithCarriageReturn);
  pending_.clear();
  if (giveUp_ != GiveUp::kNever && undecodable_ > 0) gaveUp_ = true;
}

void InputDecoder::Start(Text& text) {
  started_ = true;
  std::string start;
  start.swap(start_);
  droppedMark_ = start == kUtf8Mark;
  if (!droppedMark_) DecodeChunk(start, text);
}

void InputDecoder::DecodeChunk(std::string_view bytes, Text& text) {
  if (gaveUp_) return;
  if (giveUp_ == GiveUp::kAtIllFormedOrZeroByte && std::memchr(bytes.data(), 0, bytes.size())) {
    gaveUp_ = true;
    return;
  }
  DecodeUtf8(bytes, text);
  if (giveUp_ != GiveUp::kNever && undecodable_ > 0) gaveUp_ = true;
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

GiveUp GiveUpFor(std::optional<Charset> charset, bool lossy) {
  if (!charset) return GiveUp::kAtIllFormedOrZeroByte;
  return lossy ? GiveUp::kNever : GiveUp::kAtIllFormed;
}

DecodedInput FromDecoder(const InputDecoder& decoder, Text text) {
  return {std::move(text), {Charset::kUtf8, decoder.DroppedMark()}, decoder.Undecodable(), std::string::npos};
}

DecodedInput DecodeWholeInput(std::string bytes, std::optional<Charset> charset, bool raw) {
  DecodedText decoded = charset ? DecodeTextFile(bytes, *charset) : DecodeTextFile(bytes);
  std::string().swap(bytes);  // before the text may grow
  if (!raw) AddCarriageReturns(decoded.text);
  return {std::move(decoded.text),
          {decoded.format.charset, decoded.format.byteOrderMark},
          decoded.replaced,
          decoded.firstBadByte};
}

DecodedInput DecodeInput(std::string bytes, std::optional<Charset> charset, bool raw, bool lossy) {
  if (charset && *charset != Charset::kUtf8) return DecodeWholeInput(std::move(bytes), charset, raw);
  InputDecoder decoder(raw, GiveUpFor(charset, lossy));
  decoder.Measure(bytes);
  Text text;
  text.reserve(decoder.ReservedUnits());
  decoder.Decode(bytes, text);
  decoder.Finish(text);
  if (!decoder.GaveUp()) return FromDecoder(decoder, std::move(text));
  Text().swap(text);
  return DecodeWholeInput(std::move(bytes), charset, raw);
}

size_t EncodeOutputInSlices(TextView text, StreamFormat format, bool raw, bool replace,
                            const std::function<void(std::string_view bytes)>& write, size_t* replaced,
                            size_t sliceUnits) {
  if (replaced) *replaced = 0;
  if (IsCodePage(format.charset)) {
    std::string bytes;
    if (replace) {
      const size_t count = EncodeTextReplacing(text, format.charset, bytes);
      if (replaced) *replaced = count;
    } else if (const size_t first = EncodeText(text, format.charset, bytes); first != std::string::npos) {
      return first;
    }
    if (!raw) DropCarriageReturnsBeforeLineFeeds(bytes);
    if (!bytes.empty()) write(bytes);
    return std::string::npos;
  }
  if (format.charset == Charset::kUtf8) {
    // Nothing may be written before the whole text is known to be storable.
    if (const size_t lone = FirstLoneSurrogate(text); lone != TextView::npos) {
      if (!replace) return lone;
      if (replaced) *replaced = CountLoneSurrogates(text, lone);
    }
  }
  if (format.byteOrderMark) write(ByteOrderMark(format.charset));
  std::string bytes;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(start + std::max<size_t>(sliceUnits, 1), text.size());
    // Not between the two units of a pair, nor after a "\r" that a "\n" may follow.
    while (end < text.size() && (IsHighSurrogate(text[end - 1]) || text[end - 1] == u'\r')) ++end;
    EncodeSlice(text.substr(start, end - start), format.charset, raw, bytes);
    write(bytes);
    start = end;
  }
  return std::string::npos;
}

std::string EncodeOutput(TextView text, StreamFormat format, bool raw) {
  std::string bytes;
  EncodeOutputInSlices(
      text, format, raw, true, [&bytes](std::string_view slice) { bytes.append(slice); }, nullptr,
      text.size() + 1);
  return bytes;
}

}  // namespace scrivano::cli
