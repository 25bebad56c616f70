// "15. Split lines" on the UTF-8 bytes (LineOperationsOnBytes.h), as they come.
#include <string>

#include "transform/LineOperationsOnBytes.h"
#include "transform/Utf8Lines.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace scrivano {
namespace {

bool IsAsciiDigit(char b) {
  return b >= '0' && b <= '9';
}

// The scan of SplitLines as the bytes come: a digit is ASCII and never a part of another character, and
// what the scan steps over after a "." is one character in both forms (or its first byte, the rest never
// digits). A run of digits at the end of the bytes so far waits for what follows it, and so does a
// character cut by their end; each piece is written as it is scanned, the white space at its end held
// back until more of the piece shows that it is not the end.
class SplitLinesBytes : public ByteOperation {
 public:
  explicit SplitLinesBytes(ByteWriter write) : write_(std::move(write)) {}
  void Take(std::string_view bytes) override {
    if (held_.empty()) return Scan(bytes, false);
    // A character cut by the end of the bytes before is made whole, and is no digit.
    if (!IsAsciiDigit(held_.front())) {
      size_t k = 0;
      while (k < bytes.size() && k < 3 && (static_cast<unsigned char>(bytes[k]) & 0xC0) == 0x80) ++k;
      held_.append(bytes.substr(0, k));
      bytes.remove_prefix(k);
      if (bytes.empty() && k < 3 && !Whole(held_)) return;
      Content(held_);
      held_.clear();
      return Scan(bytes, false);
    }
    held_.append(bytes);
    std::string joined;
    joined.swap(held_);
    Scan(joined, false);
  }
  void Finish() override {
    std::string rest;
    rest.swap(held_);
    Scan(rest, true);
    EndPiece();
  }

 private:
  static bool Whole(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character.front());
    return character.size() >= (lead < 0xE0 ? 2u : lead < 0xF0 ? 3u : 4u);
  }

  void Scan(std::string_view text, bool last) {
    const size_t length = text.size();
    size_t pieceStart = 0;  // of what is not written yet
    size_t i = 0;
    while (i < length) {
      const void* digit = FindDigit(text, i);
      if (!digit) break;
      i = static_cast<size_t>(static_cast<const char*>(digit) - text.data());
      size_t j = i;
      while (j < length && IsAsciiDigit(text[j])) ++j;
      if (!last && j + 1 >= length) {
        // What follows the digits decides: they wait for it.
        Content(text.substr(pieceStart, i - pieceStart));
        held_.assign(text.substr(i));
        return;
      }
      const bool fullStop = j < length && text[j] == '.';
      const bool textAfter = j + 1 < length && text[j + 1] != ' ' && !IsAsciiDigit(text[j + 1]);
      if (fullStop && textAfter) {
        Content(text.substr(pieceStart, i - pieceStart));
        EndPiece();
        pieceStart = i;
      }
      i = fullStop ? j + 2 : j + 1;
    }
    size_t end = length;
    if (!last) {
      // A character cut by the end waits for its other bytes.
      for (size_t back = 1; back <= 3 && back <= length; ++back) {
        const auto b = static_cast<unsigned char>(text[length - back]);
        if ((b & 0xC0) == 0x80) continue;
        if (b >= 0xC0 && !Whole(text.substr(length - back))) end = length - back;
        break;
      }
      held_.assign(text.substr(end));
    }
    Content(text.substr(pieceStart, end - pieceStart));
  }

  // More of the current piece, whole characters: white space at its start goes, white space at its end
  // waits.
  void Content(std::string_view bytes) {
    if (!started_) {
      for (size_t size; !bytes.empty() && (size = WhiteSpaceAt(bytes, 0)) > 0;) bytes.remove_prefix(size);
      if (bytes.empty()) return;
      started_ = true;
    }
    size_t end = bytes.size();
    for (size_t size; end > 0 && (size = WhiteSpaceBefore(bytes, end)) > 0;) end -= size;
    if (end == 0) {
      space_.append(bytes);
      return;
    }
    if (!space_.empty()) write_(space_);
    write_(bytes.substr(0, end));
    space_.assign(bytes.substr(end));
  }

  void EndPiece() {
    space_.clear();
    started_ = false;
    write_("\r\n\r\n");
  }

  static const void* FindDigit(std::string_view text, size_t from) {
    size_t i = from;
#if defined(__SSE2__)
    // Shifted so that the digits are the ten smallest signed bytes.
    const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - '0'));
    const __m128i above = _mm_set1_epi8(static_cast<char>(-128 + 10));
    for (; i + 16 <= text.size(); i += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
      const int digits = _mm_movemask_epi8(_mm_cmplt_epi8(_mm_add_epi8(block, shift), above));
      if (digits != 0)
        return text.data() + i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(digits)));
    }
#endif
    for (; i < text.size(); ++i)
      if (IsAsciiDigit(text[i])) return text.data() + i;
    return nullptr;
  }
  ByteWriter write_;
  std::string held_;   // what waits for the next bytes: digits at the end, or a character cut there
  std::string space_;  // white space after what was written of the piece
  bool started_ = false;
};

}  // namespace

std::unique_ptr<ByteOperation> SplitLinesOnBytes(ByteWriter write) {
  return std::make_unique<SplitLinesBytes>(std::move(write));
}

}  // namespace scrivano
