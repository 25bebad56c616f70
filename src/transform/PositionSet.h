#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace scrivano {

// Positions in a text as a bit each, with a count for every 64 of them: small enough to stay in the cache
// when it is asked at places all over the text, and it tells how many of the set come before a position
// without a search.
class PositionSet {
 public:
  explicit PositionSet(std::size_t size) : bits_(size / 64 + 1, 0) {}

  void Add(std::size_t at) { bits_[at / 64] |= std::uint64_t{1} << (at % 64); }

  // After the last Add: the counts that Rank reads.
  void Count() {
    before_.resize(bits_.size());
    std::uint32_t count = 0;
    for (std::size_t word = 0; word < bits_.size(); ++word) {
      before_[word] = count;
      count += static_cast<std::uint32_t>(std::popcount(bits_[word]));
    }
  }

  bool Contains(std::size_t at) const { return (bits_[at / 64] >> (at % 64) & 1) != 0; }

  // How many positions of the set come before at.
  int Rank(std::size_t at) const {
    const std::uint64_t below = bits_[at / 64] & ((std::uint64_t{1} << (at % 64)) - 1);
    return static_cast<int>(before_[at / 64]) + std::popcount(below);
  }

  // The first position of the set at or after at, or end when there is none before end.
  int Next(int at, int end) const {
    auto word = static_cast<std::size_t>(at) / 64;
    if (word >= bits_.size()) return end;
    std::uint64_t bits = bits_[word] & (~std::uint64_t{0} << (static_cast<std::size_t>(at) % 64));
    while (bits == 0) {
      if (++word >= bits_.size()) return end;
      bits = bits_[word];
    }
    return std::min(static_cast<int>(word * 64) + std::countr_zero(bits), end);
  }

 private:
  std::vector<std::uint64_t> bits_;
  std::vector<std::uint32_t> before_;  // by 64 positions: how many of the set come before them
};

}  // namespace scrivano
