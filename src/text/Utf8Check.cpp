#include "text/Utf8Check.h"

#include <algorithm>
#include <cstring>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define SCRIVANO_UTF8_CHECK_SSSE3 1
#endif

namespace scrivano {
namespace {

// Each byte pair (the byte before, the byte) is looked up by the high and the low half of the byte before
// and the high half of the byte; each table names the faults the pair could have, and a fault holds when
// all three name it. The one fault a pair cannot show, a continuation byte missing or too many as the
// third or fourth of a sequence, comes from the bytes two and three back.
enum : unsigned char {
  kTooShort = 1 << 0,      // a lead byte not followed by a continuation byte
  kTooLong = 1 << 1,       // a continuation byte after an ASCII byte
  kOverlong3 = 1 << 2,     // E0 80..9F
  kTooLarge = 1 << 3,      // above U+10FFFF
  kSurrogate = 1 << 4,     // ED A0..BF
  kOverlong2 = 1 << 5,     // C0, C1
  kTooLarge1000 = 1 << 6,  // F5.. 80..8F
  kOverlong4 = 1 << 6,     // F0 80..8F
  kTwoContinuations = 1 << 7,
  kCarry = kTooShort | kTooLong | kTwoContinuations,
};

constexpr unsigned char kByte1High[16] = {
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTwoContinuations,
    kTwoContinuations,
    kTwoContinuations,
    kTwoContinuations,
    kTooShort | kOverlong2,
    kTooShort,
    kTooShort | kOverlong3 | kSurrogate,
    kTooShort | kTooLarge | kTooLarge1000 | kOverlong4,
};
constexpr unsigned char kByte1Low[16] = {
    kCarry | kOverlong3 | kOverlong2 | kOverlong4,
    kCarry | kOverlong2,
    kCarry,
    kCarry,
    kCarry | kTooLarge,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000 | kSurrogate,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
};
constexpr unsigned char kByte2High[16] = {
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge1000 | kOverlong4,
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge,
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge,
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
};

// The faults of count blocks of 16 bytes, previous being the block before the first; previous becomes
// the last block.
unsigned char PlainBlocks(const unsigned char* blocks, size_t count, unsigned char* previous) {
  unsigned char error = 0;
  unsigned char b1 = previous[15], b2 = previous[14], b3 = previous[13];
  for (size_t i = 0; i < count * 16; ++i) {
    const unsigned char b = blocks[i];
    const unsigned char faults = kByte1High[b1 >> 4] & kByte1Low[b1 & 0x0F] & kByte2High[b >> 4];
    const unsigned char third = b2 >= 0xE0 || b3 >= 0xF0 ? 0x80 : 0;
    error |= static_cast<unsigned char>(faults ^ third);
    b3 = b2;
    b2 = b1;
    b1 = b;
  }
  if (count > 0) std::memcpy(previous, blocks + (count - 1) * 16, 16);
  return error;
}

#ifdef SCRIVANO_UTF8_CHECK_SSSE3
__attribute__((target("ssse3"))) unsigned char ShuffleBlocks(const unsigned char* blocks, size_t count,
                                                             unsigned char* previous) {
  const __m128i byte1High = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kByte1High));
  const __m128i byte1Low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kByte1Low));
  const __m128i byte2High = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kByte2High));
  const __m128i lowHalf = _mm_set1_epi8(0x0F);
  // A block whose last bytes begin a sequence that it does not hold whole.
  const __m128i incompleteAbove =
      _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, static_cast<char>(0xEF),
                    static_cast<char>(0xDF), static_cast<char>(0xBF));
  __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(previous));
  __m128i error = _mm_setzero_si128();
  __m128i incomplete = _mm_subs_epu8(before, incompleteAbove);
  for (size_t k = 0; k < count; ++k) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * k));
    if (_mm_movemask_epi8(block) == 0) {
      error = _mm_or_si128(error, incomplete);
      incomplete = _mm_setzero_si128();
    } else {
      const __m128i prev1 = _mm_alignr_epi8(block, before, 15);
      const __m128i faults = _mm_and_si128(
          _mm_and_si128(_mm_shuffle_epi8(byte1High, _mm_and_si128(_mm_srli_epi16(prev1, 4), lowHalf)),
                        _mm_shuffle_epi8(byte1Low, _mm_and_si128(prev1, lowHalf))),
          _mm_shuffle_epi8(byte2High, _mm_and_si128(_mm_srli_epi16(block, 4), lowHalf)));
      const __m128i prev2 = _mm_alignr_epi8(block, before, 14);
      const __m128i prev3 = _mm_alignr_epi8(block, before, 13);
      const __m128i third = _mm_and_si128(_mm_or_si128(_mm_subs_epu8(prev2, _mm_set1_epi8(0xE0 - 0x80)),
                                                       _mm_subs_epu8(prev3, _mm_set1_epi8(0xF0 - 0x80))),
                                          _mm_set1_epi8(static_cast<char>(0x80)));
      error = _mm_or_si128(error, _mm_xor_si128(faults, third));
      incomplete = _mm_subs_epu8(block, incompleteAbove);
    }
    before = block;
  }
  // A sequence cut by the last block is judged with the next; only its faults so far count here.
  _mm_storeu_si128(reinterpret_cast<__m128i*>(previous), before);
  return _mm_movemask_epi8(_mm_cmpeq_epi8(error, _mm_setzero_si128())) == 0xFFFF ? 0 : 1;
}

// The same thirty-two bytes at a time, each half of the registers looking back into the other; an odd
// last block goes the sixteen-byte way.
__attribute__((target("avx2"))) unsigned char WideShuffleBlocks(const unsigned char* blocks, size_t count,
                                                                unsigned char* previous) {
  // Each table in both halves.
  const __m256i byte1High =
      _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kByte1High)));
  const __m256i byte1Low =
      _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kByte1Low)));
  const __m256i byte2High =
      _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kByte2High)));
  const __m256i lowHalf = _mm256_set1_epi8(0x0F);
  const __m256i incompleteAbove = _mm256_setr_epi8(
      -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
      -1, -1, -1, static_cast<char>(0xEF), static_cast<char>(0xDF), static_cast<char>(0xBF));
  __m256i before = _mm256_inserti128_si256(_mm256_setzero_si256(),
                                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(previous)), 1);
  __m256i error = _mm256_setzero_si256();
  __m256i incomplete = _mm256_subs_epu8(before, incompleteAbove);
  size_t k = 0;
  for (; k + 2 <= count; k += 2) {
    const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blocks + 16 * k));
    if (_mm256_movemask_epi8(block) == 0) {
      error = _mm256_or_si256(error, incomplete);
      incomplete = _mm256_setzero_si256();
    } else {
      const __m256i joined = _mm256_permute2x128_si256(before, block, 0x21);
      const __m256i prev1 = _mm256_alignr_epi8(block, joined, 15);
      const __m256i faults = _mm256_and_si256(
          _mm256_and_si256(
              _mm256_shuffle_epi8(byte1High, _mm256_and_si256(_mm256_srli_epi16(prev1, 4), lowHalf)),
              _mm256_shuffle_epi8(byte1Low, _mm256_and_si256(prev1, lowHalf))),
          _mm256_shuffle_epi8(byte2High, _mm256_and_si256(_mm256_srli_epi16(block, 4), lowHalf)));
      const __m256i prev2 = _mm256_alignr_epi8(block, joined, 14);
      const __m256i prev3 = _mm256_alignr_epi8(block, joined, 13);
      const __m256i third =
          _mm256_and_si256(_mm256_or_si256(_mm256_subs_epu8(prev2, _mm256_set1_epi8(0xE0 - 0x80)),
                                           _mm256_subs_epu8(prev3, _mm256_set1_epi8(0xF0 - 0x80))),
                           _mm256_set1_epi8(static_cast<char>(0x80)));
      error = _mm256_or_si256(error, _mm256_xor_si256(faults, third));
      incomplete = _mm256_subs_epu8(block, incompleteAbove);
    }
    before = block;
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(previous), _mm256_extracti128_si256(before, 1));
  unsigned char result = _mm256_testz_si256(error, error) ? 0 : 1;
  // The last block's sequences are judged with what follows; an odd block goes on from previous.
  if (k < count) result |= ShuffleBlocks(blocks + 16 * k, count - k, previous);
  return result;
}
#endif

unsigned char CheckedBlocks(const unsigned char* blocks, size_t count, unsigned char* previous) {
#ifdef SCRIVANO_UTF8_CHECK_SSSE3
  static const bool wide = __builtin_cpu_supports("avx2");
  static const bool shuffle = __builtin_cpu_supports("ssse3");
  if (wide) return WideShuffleBlocks(blocks, count, previous);
  if (shuffle) return ShuffleBlocks(blocks, count, previous);
#endif
  return PlainBlocks(blocks, count, previous);
}

}  // namespace

void Utf8Check::CheckBlocks(const unsigned char* blocks, size_t count) {
  error_ |= CheckedBlocks(blocks, count, previous_);
}

bool Utf8Check::Take(std::string_view bytes) {
  const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t left = bytes.size();
  if (pendingSize_ > 0) {
    const size_t take = std::min(left, 16 - pendingSize_);
    std::memcpy(pending_ + pendingSize_, at, take);
    pendingSize_ += take;
    at += take;
    left -= take;
    if (pendingSize_ < 16) return error_ == 0;
    CheckBlocks(pending_, 1);
    pendingSize_ = 0;
  }
  CheckBlocks(at, left / 16);
  pendingSize_ = left % 16;
  std::memcpy(pending_, at + left - pendingSize_, pendingSize_);
  return error_ == 0;
}

bool Utf8Check::Finish() {
  if (!finished_) {
    // A block of zero bytes after the end: a sequence left unfinished is then too short.
    std::memset(pending_ + pendingSize_, 0, 16 - pendingSize_);
    CheckBlocks(pending_, 1);
    pendingSize_ = 0;
    finished_ = true;
  }
  return error_ == 0;
}

bool IsWellFormedUtf8(std::string_view bytes) {
  Utf8Check check;
  check.Take(bytes);
  return check.Finish();
}

bool IsWellFormedUtf8Plain(std::string_view bytes) {
  std::string blocks(bytes);
  blocks.append(16 - blocks.size() % 16, '\0');  // zero bytes after the end, as Finish adds
  unsigned char previous[16] = {};
  return PlainBlocks(reinterpret_cast<const unsigned char*>(blocks.data()), blocks.size() / 16, previous) ==
         0;
}

}  // namespace scrivano
