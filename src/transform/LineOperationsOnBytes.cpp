#include "transform/LineOperationsOnBytes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "settings/ParameterStore.h"
#include "text/Text.h"
#include "text/Tokenizers.h"
#include "text/Utf8.h"
#include "toolkit/CharClasses.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace scrivano {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

// The length of the white-space character (IsWhiteSpace) that begins at bytes[at], 0 when none does.
size_t WhiteSpaceAt(std::string_view bytes, size_t at) {
  const auto b = static_cast<unsigned char>(bytes[at]);
  if ((b >= 0x09 && b <= 0x0D) || b == 0x20) return 1;
  if (b < 0xC2 || b > 0xE3) return 0;
  const std::string_view rest = bytes.substr(at);
  if (b == 0xC2) return rest.starts_with("\xC2\xA0") ? 2 : 0;
  if (rest.size() < 3) return 0;
  const auto b1 = static_cast<unsigned char>(rest[1]);
  const auto b2 = static_cast<unsigned char>(rest[2]);
  switch (b) {
    case 0xE1:  // U+1680
      return b1 == 0x9A && b2 == 0x80 ? 3 : 0;
    case 0xE2:  // U+2000-200A, U+2028, U+2029, U+202F, U+205F
      return (b1 == 0x80 && (b2 <= 0x8A || b2 == 0xA8 || b2 == 0xA9 || b2 == 0xAF)) ||
                     (b1 == 0x81 && b2 == 0x9F)
                 ? 3
                 : 0;
    case 0xE3:  // U+3000
      return b1 == 0x80 && b2 == 0x80 ? 3 : 0;
    default:
      return 0;
  }
}

// The length of the white-space character that ends at bytes[end - 1], 0 when none does. The bytes are
// well-formed, so a lead byte two or three back begins the last character.
size_t WhiteSpaceBefore(std::string_view bytes, size_t end) {
  const auto last = static_cast<unsigned char>(bytes[end - 1]);
  if (last < 0x80) return WhiteSpaceAt(bytes, end - 1);
  for (size_t size = 2; size <= 3 && size <= end; ++size)
    if (static_cast<unsigned char>(bytes[end - size]) >= 0xC0)
      return WhiteSpaceAt(bytes.substr(0, end), end - size) == size ? size : 0;
  return 0;
}

// The UTF-16 units of the character that begins at bytes[at] (well-formed), and how many bytes it takes.
struct Units {
  char16_t first;
  char16_t last;
  size_t bytes;
};

Units UnitsAt(std::string_view bytes, size_t at) {
  const auto b = [&](size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(bytes[at + k])); };
  const char32_t lead = b(0);
  if (lead < 0x80) return {static_cast<char16_t>(lead), static_cast<char16_t>(lead), 1};
  if (lead < 0xE0) {
    const auto ch = static_cast<char16_t>((lead & 0x1F) << 6 | (b(1) & 0x3F));
    return {ch, ch, 2};
  }
  if (lead < 0xF0) {
    const auto ch = static_cast<char16_t>((lead & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F));
    return {ch, ch, 3};
  }
  const char32_t ch =
      ((lead & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F)) - 0x10000;
  return {static_cast<char16_t>(0xD800 + (ch >> 10)), static_cast<char16_t>(0xDC00 + (ch & 0x3FF)), 4};
}

// ASCII letters from first to first + 25 become the other case; everything else is copied.
void FlipAsciiLetters(std::string_view bytes, char first, char* out) {
  size_t i = 0;
#if defined(__SSE2__)
  // Shifted so that the letters are the 26 smallest signed bytes.
  const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - first));
  const __m128i above = _mm_set1_epi8(static_cast<char>(-128 + 26));
  const __m128i caseBit = _mm_set1_epi8(0x20);
  for (; i + 16 <= bytes.size(); i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
    const __m128i letters = _mm_cmplt_epi8(_mm_add_epi8(block, shift), above);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                     _mm_xor_si128(block, _mm_and_si128(letters, caseBit)));
  }
#endif
  for (; i < bytes.size(); ++i) {
    const char b = bytes[i];
    out[i] = static_cast<unsigned char>(b - first) < 26 ? static_cast<char>(b ^ 0x20) : b;
  }
}

class CaseOnBytes : public ByteOperation {
 public:
  CaseOnBytes(char first, ByteWriter write) : first_(first), write_(std::move(write)) {}
  void Take(std::string_view bytes) override {
    constexpr size_t kPiece = size_t{1} << 16;
    while (!bytes.empty()) {
      const std::string_view piece = bytes.substr(0, kPiece);
      mapped_.resize(piece.size());
      FlipAsciiLetters(piece, first_, mapped_.data());
      write_(mapped_);
      bytes.remove_prefix(piece.size());
    }
  }
  void Finish() override {}

 private:
  char first_;
  ByteWriter write_;
  std::string mapped_;
};

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

// An operation that sees each line trimmed.
template <typename Derived>
class TrimmedLinesOnBytes : public ByteOperation {
 public:
  TrimmedLinesOnBytes(bool lineFeedEnds, ByteWriter write)
      : write_(std::move(write)), cutter_(lineFeedEnds) {}
  void Take(std::string_view bytes) override {
    cutter_.Take(bytes, [this](std::string_view line) { Self().Line(TrimmedBytes(line)); });
  }
  void Finish() override {
    cutter_.Finish([this](std::string_view line) { Self().Line(TrimmedBytes(line)); });
    Self().End();
  }

 protected:
  void End() {}
  ByteWriter write_;

 private:
  Derived& Self() { return static_cast<Derived&>(*this); }
  LineCutter cutter_;
};

class RemoveEmptyLinesOnBytes : public TrimmedLinesOnBytes<RemoveEmptyLinesOnBytes> {
 public:
  using TrimmedLinesOnBytes::TrimmedLinesOnBytes;
  void Line(std::string_view line) {
    if (line.empty()) {
      emptyBefore_ = true;
      return;
    }
    write_(emptyBefore_ ? "\r\n\r\n" : kLineBreak);
    write_(line);
    emptyBefore_ = false;
  }

 private:
  bool emptyBefore_ = false;
};

class DeleteLinesOnBytes : public TrimmedLinesOnBytes<DeleteLinesOnBytes> {
 public:
  DeleteLinesOnBytes(std::vector<std::string> items, bool lineFeedEnds, ByteWriter write)
      : TrimmedLinesOnBytes(lineFeedEnds, std::move(write)), items_(std::move(items)) {}
  void Line(std::string_view line) {
    if (line.empty()) return;
    for (const std::string& item : items_)
      if (line.find(item) != std::string_view::npos) return;
    write_(kLineBreak);
    write_(line);
  }

 private:
  std::vector<std::string> items_;
};

// IsEnglishText of a line's bytes, counted unit by unit as it counts them: each UTF-16 unit's kind is
// asked of the character classes once (IsNeutralChar, then IsWesternChar, as the test applies them) and
// kept, so that the parameters' lists are not searched again for every character.
class EnglishTest {
 public:
  bool IsEnglish(std::string_view line) {
    long long counted = 0, western = 0;
    const auto unit = [&](char16_t ch) {
      const std::uint8_t kind = Kind(ch);
      counted += kind == kNeutral ? 0 : 1;
      western += kind == kWestern ? 1 : 0;
    };
    for (size_t at = 0; at < line.size();) {
      const auto b = static_cast<unsigned char>(line[at]);
      if (b < 0x80) {
        unit(b);
        ++at;
        continue;
      }
      const Units units = UnitsAt(line, at);
      unit(units.first);
      if (units.bytes == 4) unit(units.last);
      at += units.bytes;
    }
    return 4 * western / 3 >= counted;
  }

 private:
  enum : std::uint8_t { kUnknown, kNeutral, kWestern, kOther };
  std::uint8_t Kind(char16_t ch) {
    std::uint8_t& kind = kinds_[ch];
    if (kind == kUnknown) {
      int pos = 0;
      kind = IsNeutralChar(TextView(&ch, 1), pos, 1) ? kNeutral : IsWesternChar(ch) ? kWestern : kOther;
    }
    return kind;
  }

  std::vector<std::uint8_t> kinds_ = std::vector<std::uint8_t>(0x10000, kUnknown);
};

class EndingLinesOnBytes : public TrimmedLinesOnBytes<EndingLinesOnBytes> {
 public:
  using TrimmedLinesOnBytes::TrimmedLinesOnBytes;
  void Line(std::string_view line) {
    if (line.empty()) return;
    const bool english = english_.IsEnglish(line);
    if (inRun_ && english != runEnglish_) {
      write_(kLineBreak);
      write_(runLast_);
    }
    runLast_.assign(line);
    runEnglish_ = english;
    inRun_ = true;
  }
  void End() {
    if (!inRun_) return;
    write_(kLineBreak);
    write_(runLast_);
  }

 private:
  EnglishTest english_;
  std::string runLast_;
  bool runEnglish_ = false;
  bool inRun_ = false;
};

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

// Where the character that ends at bytes[end - 1] begins.
size_t CharacterBefore(std::string_view bytes, size_t end) {
  size_t at = end - 1;
  while (at > 0 && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80) --at;
  return at;
}

class LinkLinesBytes : public ByteOperation {
 public:
  LinkLinesBytes(bool lineFeedEnds, ByteWriter write)
      : lineFeedEnds_(lineFeedEnds), write_(std::move(write)) {}
  bool TakesWhole() const override { return true; }
  void Take(std::string_view bytes) override {
    own_.assign(bytes);
    text_ = &own_;
  }
  void TakeWhole(std::string& bytes) override { text_ = &bytes; }
  void Finish() override;

 private:
  bool lineFeedEnds_;
  ByteWriter write_;
  std::string own_;
  std::string* text_ = &own_;
};

// Whether the character that begins bytes is one of at least two units, or followed by another.
bool TwoUnitsOrMore(std::string_view bytes) {
  if (bytes.empty()) return false;
  const size_t first = UnitsAt(bytes, 0).bytes;
  return first == 4 || bytes.size() > first;
}

std::string_view WithoutSpaces(std::string_view line) {
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(' ') + 1 - first);
}

// The text the common way, line by line as it comes: when its only carriage returns are those of its
// line breaks, the breaks are all the scan examines, and each is examined (except the first when the
// first line holds fewer than two units and the last when the last line does) and joined when the lines
// on both sides, without their spaces, are not empty.
class LinkPlainLinesBytes : public ByteOperation {
 public:
  LinkPlainLinesBytes(bool lineFeedEnds, ByteWriter write)
      : cutter_(lineFeedEnds), write_(std::move(write)), parameters_(CurrentParameters()) {}
  void Take(std::string_view bytes) override {
    cutter_.Take(bytes, [this](std::string_view line) { Line(line, false); });
  }
  void Finish() override {
    bool delivered = false;
    cutter_.Finish([&](std::string_view line) {
      delivered = true;
      Line(line, true);
    });
    if (!delivered) Line({}, true);  // the empty line after a final line break
    // 4. A line break whatever the text ended with.
    write_(kLineBreak);
  }

 private:
  void Line(std::string_view line, bool last) {
    if (ended_) return;
    // 1. A "=====" that a line break follows ends the text before it.
    if (const size_t mark = line.find("====="); !last && mark != std::string_view::npos) {
      line = line.substr(0, mark);
      last = ended_ = true;
    }
    // 2, 3. The line without its spaces, and what stands between it and the line before.
    const std::string_view content = WithoutSpaces(line);
    if (lines_ == 0) {
      firstOfTwoUnits_ = TwoUnitsOrMore(content);
    } else {
      const bool examined = !(lines_ == 1 && !firstOfTwoUnits_) && !(last && !TwoUnitsOrMore(content));
      if (examined && before_ != u'\n' && !content.empty()) {
        if (IsWestern(before_) && IsWestern(UnitsAt(content, 0).first)) write_(" ");
      } else {
        write_(kLineBreak);
      }
    }
    write_(content);
    // The unit before the next break: the line's last, or the line feed of the break before it.
    before_ = content.empty() ? u'\n' : UnitsAt(content, CharacterBefore(content, content.size())).last;
    ++lines_;
  }

  // Parameter 6 as it stands when the joining begins.
  bool IsWestern(char16_t ch) const {
    const Text& westernChars = parameters_->Value(Param::kWesternChars);
    return ch < 127 || (!westernChars.empty() && westernChars.find(ch) != Text::npos);
  }

  LineCutter cutter_;
  ByteWriter write_;
  std::shared_ptr<const ParameterValues> parameters_;
  size_t lines_ = 0;
  bool firstOfTwoUnits_ = false;
  char16_t before_ = u'\n';
  bool ended_ = false;
};

// A "\n" alone becomes "\r\n" in place from the end, so that the bytes are those of the text.
void AddCarriageReturns(std::string& bytes) {
  size_t lone = 0;
  for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
    lone += at == 0 || bytes[at - 1] != '\r';
  if (lone == 0) return;
  size_t from = bytes.size();
  bytes.resize(bytes.size() + lone);
  for (size_t to = bytes.size(); from > 0;) {
    const char b = bytes[--from];
    bytes[--to] = b;
    if (b == '\n' && (from == 0 || bytes[from - 1] != '\r')) bytes[--to] = '\r';
  }
}

// The steps of LinkAdjacentLines on the text's bytes. Its scan counts UTF-16 units from both ends of the
// text and looks at the units next to a carriage return, which a character of four bytes holds two of:
// those are worked out where they matter; everything it searches for and cuts at is ASCII.
void LinkLinesBytes::Finish() {
  std::string& text = *text_;
  if (lineFeedEnds_) AddCarriageReturns(text);
  // 1. Only the text before the first "=====", when a line break follows it.
  if (const size_t mark = text.find("=====");
      mark != std::string::npos && text.find("\r\n", mark) != std::string::npos)
    text.resize(mark);
  // 2. No runs of spaces next to a line break.
  size_t written = 0;
  {
    size_t i = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", i)) {
      size_t runStart = at;
      while (runStart > i && text[runStart - 1] == ' ') --runStart;
      std::memmove(text.data() + written, text.data() + i, runStart - i);
      written += runStart - i;
      std::memmove(text.data() + written, text.data() + at, 2);
      written += 2;
      i = at + 2;
      while (i < text.size() && text[i] == ' ') ++i;
    }
    std::memmove(text.data() + written, text.data() + i, text.size() - i);
    written += text.size() - i;
    text.resize(written);
    // Nor at the ends of the text.
    const size_t last = text.find_last_not_of(' ');
    text.resize(last == std::string::npos ? 0 : last + 1);
    text.erase(0, std::min(text.size(), text.find_first_not_of(' ')));
  }
  // 3. The carriage returns from the third unit on to the fourth last.
  const std::string_view t = text;
  size_t lastExamined = 0;  // one past the last byte where an examined carriage return may stand
  for (size_t end = t.size(), units = 0; end > 0;) {
    const size_t at = CharacterBefore(t, end);
    units += UnitsAt(t, at).bytes == 4 ? 2 : 1;
    if (units >= 4) {
      lastExamined = at + 1;
      break;
    }
    end = at;
  }
  size_t firstExamined = 0;  // the byte where the third unit begins
  for (size_t units = 0; units < 2 && firstExamined < t.size();) {
    const Units u = UnitsAt(t, firstExamined);
    units += u.bytes == 4 ? 2 : 1;
    firstExamined += u.bytes;
  }
  const auto parameters = CurrentParameters();
  const Text& westernChars = parameters->Value(Param::kWesternChars);
  const auto isWestern = [&westernChars](char16_t ch) {
    return ch < 127 || (!westernChars.empty() && westernChars.find(ch) != Text::npos);
  };
  size_t pieceStart = 0;
  for (size_t i = t.find('\r', firstExamined); i != std::string_view::npos && i < lastExamined;
       i = t.find('\r', i + 1)) {
    const char16_t prev = UnitsAt(t, CharacterBefore(t, i)).last;
    const Units after = UnitsAt(t, i + 1);
    const char16_t next = after.bytes == 4 ? after.last : UnitsAt(t, i + 1 + after.bytes).first;
    if (prev != u'\n' && next != u'\r') {
      write_(t.substr(pieceStart, i - pieceStart));
      if (isWestern(prev) && isWestern(next)) write_(" ");
      pieceStart = t[i + 1] == '\n' ? i + 2 : i + 1;
    }
    ++i;  // the character after a carriage return is stepped over, joined or not
  }
  // 4. The rest, and a line break whatever the text ended with.
  write_(t.substr(pieceStart));
  write_(kLineBreak);
}

}  // namespace

std::string_view TrimmedBytes(std::string_view bytes) {
  size_t first = 0, end = bytes.size();
  for (size_t size; first < end && (size = WhiteSpaceAt(bytes, first)) > 0;) first += size;
  for (size_t size; end > first && (size = WhiteSpaceBefore(bytes, end)) > 0;) end -= size;
  return bytes.substr(first, end - first);
}

std::unique_ptr<ByteOperation> MakeLowercaseOnBytes(ByteWriter write) {
  return std::make_unique<CaseOnBytes>('A', std::move(write));
}

std::unique_ptr<ByteOperation> MakeUppercaseOnBytes(ByteWriter write) {
  return std::make_unique<CaseOnBytes>('a', std::move(write));
}

std::unique_ptr<ByteOperation> RemoveRedundantEmptyLinesOnBytes(bool lineFeedEnds, ByteWriter write) {
  return std::make_unique<RemoveEmptyLinesOnBytes>(lineFeedEnds, std::move(write));
}

std::unique_ptr<ByteOperation> DeleteLinesWithSubstringOnBytes(bool lineFeedEnds, ByteWriter write) {
  // The items as FindFirstListItem takes them apart.
  const Text list = ParameterText(Param::kDeletedLineSubstrings);
  if (FirstLoneSurrogate(list) != TextView::npos) return nullptr;
  std::vector<std::string> items;
  if (!list.empty()) {
    Text item;
    int pos = 0;
    do {
      NextTokenByChar(list, pos, item, u'\t');
      items.push_back(ToUtf8(item));
    } while (pos != 0);
  }
  return std::make_unique<DeleteLinesOnBytes>(std::move(items), lineFeedEnds, std::move(write));
}

std::unique_ptr<ByteOperation> ExtractEndingLinesOnBytes(bool lineFeedEnds, ByteWriter write) {
  return std::make_unique<EndingLinesOnBytes>(lineFeedEnds, std::move(write));
}

std::unique_ptr<ByteOperation> SplitLinesOnBytes(ByteWriter write) {
  return std::make_unique<SplitLinesBytes>(std::move(write));
}

std::unique_ptr<ByteOperation> LinkAdjacentLinesOnBytes(bool lineFeedEnds, bool loneCarriageReturns,
                                                        ByteWriter write) {
  if (loneCarriageReturns) return std::make_unique<LinkLinesBytes>(lineFeedEnds, std::move(write));
  return std::make_unique<LinkPlainLinesBytes>(lineFeedEnds, std::move(write));
}

}  // namespace scrivano
