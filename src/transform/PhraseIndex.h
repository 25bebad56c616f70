// Where the pieces of a text occur again: a suffix array of the text with the common prefixes of
// neighbouring suffixes, built in time linear in the text. The phrase search asks it, for the piece at a
// place, whether the piece occurs anywhere else and where.
#pragma once

#include <vector>

#include "text/Text.h"

namespace scrivano {

class PhraseIndex {
 public:
  // No shared prefix runs over a lineEnd, which keeps the prefixes as short as the lines.
  PhraseIndex(TextView text, char16_t lineEnd);

  // The longest piece starting at pos that also starts somewhere else: text[pos, pos + length) occurs
  // only at pos when this is less than length.
  int Shared(int pos) const { return shared_[static_cast<size_t>(pos)]; }

  // Appends every place where text[pos, pos + length) occurs (pos among them), in no particular order.
  // length must be at least 1 and pos + length at most the text's length.
  void Occurrences(int pos, int length, std::vector<int>& places) const;

 private:
  std::vector<int> suffixes_;      // the suffixes' starts in sorted order
  std::vector<int> ranks_;         // the place of each suffix in that order
  std::vector<int> commonPrefix_;  // by rank: the prefix a suffix shares with the one before it
  std::vector<int> shared_;        // by position: the longer of the prefixes shared with its neighbours
};

// Suffix array of symbols (each from 0 to upper) by induced sorting, in time linear in their number. A
// suffix that is a prefix of another sorts first.
std::vector<int> InducedSuffixArray(const std::vector<int>& symbols, int upper);

}  // namespace scrivano
