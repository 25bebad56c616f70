// What the operations on UTF-8 bytes share: white space and UTF-16 units read off the bytes, and the
// lines of a text that arrives in pieces. The bytes are well-formed UTF-8 throughout.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace scrivano {

inline constexpr std::string_view kByteLineBreak = "\r\n";

// The length of the white-space character (IsWhiteSpace) that begins at bytes[at], 0 when none does.
size_t WhiteSpaceAt(std::string_view bytes, size_t at);
// The length of the white-space character that ends at bytes[end - 1], 0 when none does.
size_t WhiteSpaceBefore(std::string_view bytes, size_t end);
// The bytes without the white space at both ends.
std::string_view TrimmedBytes(std::string_view bytes);

// The UTF-16 units of the character that begins at bytes[at], and how many bytes it takes.
struct Units {
  char16_t first;
  char16_t last;
  size_t bytes;
};
Units UnitsAt(std::string_view bytes, size_t at);
// Where the character that ends at bytes[end - 1] begins.
size_t CharacterBefore(std::string_view bytes, size_t end);

// Cuts the bytes into the lines the reference cuts the text into at "\r\n", and hands each over without
// its line break. A line cut by the end of a piece is held until its end comes.
class LineCutter {
 public:
  explicit LineCutter(bool lineFeedEnds) : lineFeedEnds_(lineFeedEnds) {}

  template <typename OnLine>
  void Take(std::string_view bytes, OnLine&& onLine) {
    size_t from = 0;
    if (!held_.empty()) {
      const size_t end = FindEnd(bytes, 0, held_.back());
      if (end == std::string_view::npos) {
        held_.append(bytes);
        return;
      }
      held_.append(bytes.substr(0, end + 1));
      onLine(WithoutBreak(held_, 0, held_.size() - 1));
      held_.clear();
      from = end + 1;
    }
    for (size_t end; (end = FindEnd(bytes, from, '\n')) != std::string_view::npos; from = end + 1)
      onLine(WithoutBreak(bytes, from, end));
    held_.assign(bytes.substr(from));
  }

  // The last line, when the text does not end with a line break.
  template <typename OnLine>
  void Finish(OnLine&& onLine) {
    if (!held_.empty()) onLine(std::string_view(held_));
    held_.clear();
  }

 private:
  // The "\n" at or after from that ends a line; before is the byte before bytes[0].
  size_t FindEnd(std::string_view bytes, size_t from, char before) const {
    while (from < bytes.size()) {
      const void* found = std::memchr(bytes.data() + from, '\n', bytes.size() - from);
      if (!found) return std::string_view::npos;
      const auto at = static_cast<size_t>(static_cast<const char*>(found) - bytes.data());
      if (lineFeedEnds_ || (at > 0 ? bytes[at - 1] : before) == '\r') return at;
      from = at + 1;
    }
    return std::string_view::npos;
  }

  // The line from from up to the "\n" at end, without the "\r" before it that is part of the break.
  static std::string_view WithoutBreak(std::string_view bytes, size_t from, size_t end) {
    if (end > from && bytes[end - 1] == '\r') --end;
    return bytes.substr(from, end - from);
  }

  bool lineFeedEnds_;
  std::string held_;
};

}  // namespace scrivano
