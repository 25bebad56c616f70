// Phrases with a number each, for the phrase search's lookups of the current level. The slots lie in one
// array probed in line, so that a lookup reads a slot and the phrase rather than a chain of nodes, and
// emptying it for the next level touches only the slots used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "text/Text.h"

namespace scrivano {

class PhraseTable {
 public:
  // The phrase's number, and whether the phrase was added now, with number. The phrase's characters must
  // stay in place while it is in the table. The pointer holds until the next addition.
  std::pair<int*, bool> TryEmplace(TextView phrase, int number) {
    if ((used_.size() + 1) * 2 > slots_.size()) Grow();
    const std::uint32_t hash = Hash(phrase);
    size_t at = hash & (slots_.size() - 1);
    for (; slots_[at].used; at = (at + 1) & (slots_.size() - 1))
      if (slots_[at].Holds(phrase, hash)) return {&slots_[at].number, false};
    slots_[at] = Slot{phrase.data(), static_cast<std::uint32_t>(phrase.size()), hash, number, true};
    used_.push_back(at);
    return {&slots_[at].number, true};
  }

  // The phrase's number, or null when it is not in the table.
  const int* Find(TextView phrase) const {
    if (slots_.empty()) return nullptr;
    const std::uint32_t hash = Hash(phrase);
    for (size_t at = hash & (slots_.size() - 1); slots_[at].used; at = (at + 1) & (slots_.size() - 1))
      if (slots_[at].Holds(phrase, hash)) return &slots_[at].number;
    return nullptr;
  }

  bool Contains(TextView phrase) const { return Find(phrase) != nullptr; }

  void Clear() {
    for (const size_t at : used_) slots_[at].used = false;
    used_.clear();
  }

 private:
  struct Slot {
    const char16_t* characters = nullptr;
    std::uint32_t length = 0;
    std::uint32_t hash = 0;
    int number = 0;
    bool used = false;
    bool Holds(TextView phrase, std::uint32_t phraseHash) const {
      return hash == phraseHash && TextView(characters, length) == phrase;
    }
  };

  static std::uint32_t Hash(TextView phrase) {
    return static_cast<std::uint32_t>(std::hash<TextView>()(phrase));
  }

  void Grow() {
    std::vector<Slot> old(std::max<size_t>(slots_.size() * 2, 64));
    old.swap(slots_);
    used_.clear();
    for (const Slot& slot : old) {
      if (!slot.used) continue;
      size_t at = slot.hash & (slots_.size() - 1);
      while (slots_[at].used) at = (at + 1) & (slots_.size() - 1);
      slots_[at] = slot;
      used_.push_back(at);
    }
  }

  std::vector<Slot> slots_;  // a power of two of them, at most half used
  std::vector<size_t> used_;
};

}  // namespace scrivano
