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
#include "transform/Utf8Lines.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace scrivano {
namespace {

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
    write_(emptyBefore_ ? "\r\n\r\n" : kByteLineBreak);
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
    write_(kByteLineBreak);
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
      write_(kByteLineBreak);
      write_(runLast_);
    }
    runLast_.assign(line);
    runEnglish_ = english;
    inRun_ = true;
  }
  void End() {
    if (!inRun_) return;
    write_(kByteLineBreak);
    write_(runLast_);
  }

 private:
  EnglishTest english_;
  std::string runLast_;
  bool runEnglish_ = false;
  bool inRun_ = false;
};

}  // namespace

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

}  // namespace scrivano
