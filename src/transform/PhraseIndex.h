// Where the pieces of a text occur again: a suffix array of the text with the common prefixes of
// neighbouring suffixes, built in time linear in the text. The phrase search asks it, for the piece at a
// place, whether the piece occurs anywhere else and where.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "text/Text.h"
#include "transform/PositionSet.h"

namespace scrivano {

class PhraseIndex {
 public:
  // The text is lines, in this order, each followed by one line end (no line holds one). Lines that
  // stand more than once are indexed once, with the places of their copies.
  explicit PhraseIndex(const std::vector<TextView>& lines);

  // Where place at of line stands in the indexed text (where copies of a line share their places).
  int IndexedPlace(int line, int at) const {
    return distinct_[static_cast<size_t>(distinctOf_[static_cast<size_t>(line)])].indexStart + at;
  }
  int IndexedSize() const { return static_cast<int>(text_.size()); }

  // The line-th line, from the indexed text.
  TextView Line(int line) const;

  // Whether the line-th line is a copy of an earlier line.
  bool CopiesEarlierLine(int line) const { return copiesEarlier_[static_cast<size_t>(line)] != 0; }

  // Whether the length characters at place at of line also stand anywhere else in the text.
  bool OccursElsewhere(int line, int at, int length) const;

  // A place in the indexed text and the distinct line it lies in (-1 when no line has a copy).
  struct Place {
    int indexed;
    int distinct;
  };

  // Appends every indexed place where the length (at least 1) characters at place at of line occur,
  // that place first, the others in no particular order.
  void IndexedOccurrences(int line, int at, int length, std::vector<Place>& places) const;

  // How many places in the text hold the length (at least 1) characters at place at of line, when that
  // is at most limit; otherwise some number above limit. Takes time in proportion to the smaller.
  int CountUpTo(int line, int at, int length, int limit) const;

  // Appends the places in the text (counted from its start) of the copies of an indexed place that lie
  // at or after from, in ascending order; returns how many.
  int TextPlaces(Place place, int from, std::vector<int>& places) const;

  // Appends every place in the text at or after from where the length (at least 1) characters at place
  // at of line occur, in no particular order.
  void Occurrences(int line, int at, int length, int from, std::vector<int>& places) const;

 private:
  // The distinct line of the suffix at place (-1 when no line has a copy: the indexed text is then the
  // text itself).
  int DistinctOf(int place) const {
    return lineStarts_ ? lineStarts_->Rank(static_cast<size_t>(place) + 1) - 1 : -1;
  }
  int DistinctAt(size_t rank) const { return DistinctOf(places_[rank]); }

  // Whether the suffix of that rank shares at least length characters with the one before it. The
  // shared prefixes are held in a byte: one that fills it is measured again when a longer piece asks.
  bool SharesWithBefore(size_t rank, int length) const {
    const int common = common_[rank];
    if (common < kMostHeld || length <= kMostHeld) return common >= length;
    return SameWithin(places_[rank - 1], places_[rank], length);
  }
  // Whether the length characters at a and at b are the same and hold no line end.
  bool SameWithin(int a, int b, int length) const;

  Text text_;                        // the distinct lines, each followed by a line end
  std::vector<int> distinctOf_;      // by line: its distinct line
  std::vector<char> copiesEarlier_;  // by line: whether an earlier line is the same
  // What a place in the indexed text needs of its line, side by side.
  struct DistinctLine {
    int indexStart;   // where it starts in the indexed text
    int copiesStart;  // where the text positions of its copies start in copies_, when it has copies
    int copies;       // how often it stands in the text
    int textStart;    // where it first stands in the text
  };
  std::vector<DistinctLine> distinct_;       // by distinct line, and one more that ends the last
  std::vector<int> copies_;                  // when lines have copies: their text positions, by distinct line
  std::unique_ptr<PositionSet> lineStarts_;  // when lines have copies: where each distinct line starts
  std::vector<int> places_;                  // the suffixes in sorted order
  static constexpr int kMostHeld = 0xFF;
  std::vector<std::uint8_t> common_;  // by rank: the prefix shared with the suffix before, at most 0xFF
  std::vector<int> ranks_;            // by position: the place of its suffix in that order
  // Whether the length characters at the indexed place stand nowhere else.
  bool Unshared(size_t indexed, int length) const { return shared_[indexed] < std::min(length, kMostHeld); }

  std::vector<std::uint8_t> shared_;  // by position: the longer prefix shared with a neighbour, at most 0xFF
  mutable std::vector<Place> indexed_;
};

// Suffix array of symbols (each from 0 to upper) by induced sorting, in time linear in their number. A
// suffix that is a prefix of another sorts first. The symbols are overwritten.
std::vector<int> InducedSuffixArray(std::vector<int>& symbols, int upper);

}  // namespace scrivano
