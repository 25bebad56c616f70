#include "transform/PhraseIndex.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace scrivano {

namespace {

// Hands the pages of freed scratch arrays back to the system, so that the arrays allocated next do not
// add to them: the C library keeps such pages when the arrays came from its heap.
void ReleaseFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

// How many steps ahead a walk over scattered places asks for the memory it will read.
constexpr int kFetchAhead = 16;

// Asks for values[at] to be brought into the cache; a place outside the values is ignored.
inline void FetchAhead(const std::vector<int>& values, int at) {
  if (at >= 0 && static_cast<size_t>(at) < values.size()) __builtin_prefetch(values.data() + at);
}

}  // namespace

std::vector<int> InducedSuffixArray(std::vector<int>& symbols, int upper) {
  const int n = static_cast<int>(symbols.size());
  if (n == 0) return {};
  if (n == 1) return {0};
  if (n == 2) return symbols[0] < symbols[1] ? std::vector<int>{0, 1} : std::vector<int>{1, 0};
  // 1. Classify each suffix as S (smaller than the suffix after it) or L, kept in the lowest bit of its
  // symbol so that one read gives both, and find the buckets.
  std::vector<int>& typed = symbols;
  typed[n - 1] <<= 1;
  for (int i = n - 2; i >= 0; --i) {
    const int symbol = typed[i];
    const int after = typed[i + 1] >> 1;
    typed[i] = symbol << 1 | (symbol == after ? typed[i + 1] & 1 : static_cast<int>(symbol < after));
  }
  const auto isS = [&typed](int i) { return (typed[static_cast<size_t>(i)] & 1) != 0; };
  std::vector<int> suffixes(n);
  std::vector<int> startL(upper + 1, 0);  // where the L suffixes of each symbol begin
  std::vector<int> startS(upper + 1, 0);  // where the S suffixes of each symbol begin
  for (int i = 0; i < n; ++i) {
    const int symbol = typed[i] >> 1;
    if (!isS(i))
      ++startS[symbol];
    else if (symbol < upper)
      ++startL[symbol + 1];
  }
  for (int c = 0; c <= upper; ++c) {
    startS[c] += startL[c];
    if (c < upper) startL[c + 1] += startS[c];
  }
  // 2. From sorted leftmost-S suffixes, induce the order of all others: L suffixes left to right, then
  // S suffixes right to left.
  std::vector<int> next(upper + 1);
  const auto induce = [&](const std::vector<int>& leftmostS) {
    std::fill(suffixes.begin(), suffixes.end(), -1);
    next = startS;
    for (int i : leftmostS)
      if (i != n) suffixes[next[typed[i] >> 1]++] = i;
    next = startL;
    suffixes[next[typed[n - 1] >> 1]++] = n - 1;
    // The symbols read are far apart in a long text: each is fetched some steps ahead.
    for (int k = 0; k < n; ++k) {
      if (k + kFetchAhead < n) FetchAhead(typed, suffixes[k + kFetchAhead] - 1);
      const int i = suffixes[k] - 1;
      if (i < 0) continue;
      const int t = typed[i];
      if ((t & 1) == 0) suffixes[next[t >> 1]++] = i;
    }
    next = startL;
    for (int k = n - 1; k >= 0; --k) {
      if (k >= kFetchAhead) FetchAhead(typed, suffixes[k - kFetchAhead] - 1);
      const int i = suffixes[k] - 1;
      if (i < 0) continue;
      const int t = typed[i];
      if ((t & 1) != 0) suffixes[--next[(t >> 1) + 1]] = i;
    }
  };
  // 3. Leftmost-S positions, sorted roughly by one induction.
  PositionSet leftmost(static_cast<size_t>(n));
  std::vector<int> leftmostS;
  for (int i = 1; i < n; ++i) {
    if (isS(i) && !isS(i - 1)) {
      leftmost.Add(static_cast<size_t>(i));
      leftmostS.push_back(i);
    }
  }
  leftmost.Count();
  const int m = static_cast<int>(leftmostS.size());
  induce(leftmostS);
  if (m == 0) return suffixes;
  // 4. Name the leftmost-S substrings in that order, sort the reduced string recursively, and induce
  // again from the exact order. A substring runs to the next leftmost-S position.
  std::vector<int> sortedLeftmost;
  sortedLeftmost.reserve(m);
  for (int i : suffixes)
    if (leftmost.Contains(static_cast<size_t>(i))) sortedLeftmost.push_back(i);
  std::vector<int> reduced(m);
  int reducedUpper = 0;
  int previous = sortedLeftmost[0];
  int previousEnd = leftmost.Next(previous + 1, n);
  reduced[leftmost.Rank(previous)] = 0;
  for (int k = 1; k < m; ++k) {
    const int current = sortedLeftmost[k];
    const int currentEnd = leftmost.Next(current + 1, n);
    bool same = previousEnd - previous == currentEnd - current;
    if (same) {
      int a = previous;
      int b = current;
      while (a < previousEnd && typed[a] == typed[b]) {
        ++a;
        ++b;
      }
      // Equal up to their ends, they are the same when their ends are too; one that ends the text is not.
      same = a != n && b != n && typed[a] == typed[b];
    }
    if (!same) ++reducedUpper;
    reduced[leftmost.Rank(current)] = reducedUpper;
    previous = current;
    previousEnd = currentEnd;
  }
  // What the recursion does not need goes first, to keep the peak of memory low.
  leftmost = PositionSet(0);
  std::vector<int>().swap(suffixes);
  std::vector<int> reducedSuffixes = InducedSuffixArray(reduced, reducedUpper);
  std::vector<int>().swap(reduced);
  for (int k = 0; k < m; ++k) sortedLeftmost[k] = leftmostS[reducedSuffixes[k]];
  std::vector<int>().swap(reducedSuffixes);
  suffixes.resize(n);
  induce(sortedLeftmost);
  return suffixes;
}

PhraseIndex::PhraseIndex(const std::vector<TextView>& lines) {
  constexpr char16_t kLineEnd = u'\r';
  // 1. The distinct lines, each once in the indexed text, and the text positions of every copy.
  std::unordered_map<TextView, int> numbers;
  distinctOf_.reserve(lines.size());
  Text& text = text_;
  {
    // The size of the distinct lines, so that the text is made at its size.
    std::unordered_map<TextView, int> sizes;
    size_t size = 0;
    for (TextView line : lines)
      if (sizes.try_emplace(line, 0).second) size += line.size() + 1;
    text.reserve(size);
  }
  int position = 0;
  for (TextView line : lines) {
    const auto [number, added] = numbers.try_emplace(line, static_cast<int>(distinct_.size()));
    if (added) {
      distinct_.push_back(DistinctLine{static_cast<int>(text.size()), 0, 0, position});
      text.append(line);
      text += kLineEnd;
    }
    ++distinct_[static_cast<size_t>(number->second)].copies;
    distinctOf_.push_back(number->second);
    copiesEarlier_.push_back(added ? 0 : 1);
    position += static_cast<int>(line.size()) + 1;
  }
  distinct_.push_back(DistinctLine{static_cast<int>(text.size()), 0, 0, position});
  // Lines with copies: the text positions of each line's copies side by side.
  if (distinct_.size() <= lines.size()) {
    int copiesStart = 0;
    for (DistinctLine& distinct : distinct_) {
      distinct.copiesStart = copiesStart;
      copiesStart += distinct.copies;
    }
    copies_.resize(lines.size());
    std::vector<int> next(distinct_.size());
    for (size_t d = 0; d < distinct_.size(); ++d) next[d] = distinct_[d].copiesStart;
    position = 0;
    for (size_t line = 0; line < lines.size(); ++line) {
      copies_[static_cast<size_t>(next[static_cast<size_t>(distinctOf_[line])]++)] = position;
      position += static_cast<int>(lines[line].size()) + 1;
    }
  }
  const int n = static_cast<int>(text.size());
  // 2. The suffix array, over the code units that occur numbered densely in their order, which keeps
  // the sort's buckets small.
  std::vector<int> suffixes;
  {
    std::vector<int> symbols(0x10000, 0);
    for (char16_t ch : text) symbols[ch] = 1;
    int upper = -1;
    for (int& number : symbols) number = number ? ++upper : 0;
    std::vector<int> sequence(text.size());
    for (size_t i = 0; i < text.size(); ++i) sequence[i] = symbols[text[i]];
    suffixes = InducedSuffixArray(sequence, std::max(upper, 0));
    ranks_ = std::move(sequence);  // its room serves again
  }
  ReleaseFreedMemory();
  for (int r = 0; r < n; ++r) ranks_[static_cast<size_t>(suffixes[static_cast<size_t>(r)])] = r;
  // 3. The prefix each suffix shares with the one before it in sorted order, walked in text order (the
  // shared prefix shrinks by at most one from a place to the next), cut at the line end. before first
  // holds where that suffix starts.
  std::vector<int> before(static_cast<size_t>(n));
  before[static_cast<size_t>(suffixes[0])] = -1;
  for (size_t r = 1; r < suffixes.size(); ++r) before[static_cast<size_t>(suffixes[r])] = suffixes[r - 1];
  int h = 0;
  for (int i = 0; i < n; ++i) {
    if (i + kFetchAhead < n) {
      const int ahead = before[static_cast<size_t>(i + kFetchAhead)];
      if (ahead >= 0) __builtin_prefetch(text.data() + ahead);
    }
    const int j = before[static_cast<size_t>(i)];
    if (j < 0) {
      h = 0;
      before[static_cast<size_t>(i)] = 0;
      continue;
    }
    while (i + h < n && j + h < n && text[static_cast<size_t>(i + h)] == text[static_cast<size_t>(j + h)] &&
           text[static_cast<size_t>(i + h)] != kLineEnd)
      ++h;
    before[static_cast<size_t>(i)] = h;
    if (h > 0) --h;
  }
  // 4. The sorted order and, beside it, the shared prefixes in a byte each.
  places_ = std::move(suffixes);
  common_.resize(static_cast<size_t>(n));
  for (size_t i = 0; i < before.size(); ++i)
    common_[static_cast<size_t>(ranks_[i])] = static_cast<std::uint8_t>(std::min(before[i], kMostHeld));
  std::vector<int>().swap(before);
  ReleaseFreedMemory();
  if (distinct_.size() <= lines.size()) {
    lineStarts_ = std::make_unique<PositionSet>(static_cast<size_t>(n) + 1);
    for (size_t d = 0; d + 1 < distinct_.size(); ++d)
      lineStarts_->Add(static_cast<size_t>(distinct_[d].indexStart));
    lineStarts_->Count();
  }
  // 5. The longer of the prefixes each suffix shares with its neighbours, in text order. Walked in sorted
  // order, the neighbours stand side by side and only the 1-byte results land far apart.
  shared_.resize(static_cast<size_t>(n));
  for (size_t r = 0; r < places_.size(); ++r) {
    const int longer = std::max(common_[r], r + 1 < places_.size() ? common_[r + 1] : std::uint8_t{0});
    shared_[static_cast<size_t>(places_[r])] = static_cast<std::uint8_t>(longer);
  }
}

bool PhraseIndex::SameWithin(int a, int b, int length) const {
  if (std::max(a, b) + length > IndexedSize()) return false;
  for (int k = 0; k < length; ++k) {
    const char16_t ch = text_[static_cast<size_t>(a + k)];
    if (ch != text_[static_cast<size_t>(b + k)] || ch == u'\r') return false;
  }
  return true;
}

TextView PhraseIndex::Line(int line) const {
  const auto distinct = static_cast<size_t>(distinctOf_[static_cast<size_t>(line)]);
  const auto start = static_cast<size_t>(distinct_[distinct].indexStart);
  const auto end = static_cast<size_t>(distinct_[distinct + 1].indexStart);
  return TextView(text_).substr(start, end - start - 1);
}

bool PhraseIndex::OccursElsewhere(int line, int at, int length) const {
  const DistinctLine& distinct = distinct_[static_cast<size_t>(distinctOf_[static_cast<size_t>(line)])];
  if (distinct.copies > 1) return true;
  const auto indexed = static_cast<size_t>(distinct.indexStart + at);
  if (Unshared(indexed, length)) return false;
  if (length <= kMostHeld) return true;
  // A shared prefix that fills its byte: its neighbours tell.
  const auto rank = static_cast<size_t>(ranks_[indexed]);
  return (rank > 0 && SharesWithBefore(rank, length)) ||
         (rank + 1 < places_.size() && SharesWithBefore(rank + 1, length));
}

// The places sharing the piece stand next to the indexed one in sorted order; the walk along it starts
// only when a neighbour shares it.
void PhraseIndex::IndexedOccurrences(int line, int at, int length, std::vector<Place>& places) const {
  const int distinct = distinctOf_[static_cast<size_t>(line)];
  const auto indexed = static_cast<size_t>(distinct_[static_cast<size_t>(distinct)].indexStart + at);
  places.push_back(Place{static_cast<int>(indexed), distinct});
  if (Unshared(indexed, length)) return;
  const auto rank = static_cast<size_t>(ranks_[indexed]);
  for (size_t r = rank; r > 0 && SharesWithBefore(r, length); --r)
    places.push_back(Place{places_[r - 1], DistinctAt(r - 1)});
  for (size_t r = rank + 1; r < places_.size() && SharesWithBefore(r, length); ++r)
    places.push_back(Place{places_[r], DistinctAt(r)});
}

int PhraseIndex::CountUpTo(int line, int at, int length, int limit) const {
  const auto copiesOf = [this](int distinct) {
    return distinct < 0 ? 1 : distinct_[static_cast<size_t>(distinct)].copies;
  };
  const DistinctLine& distinct = distinct_[static_cast<size_t>(distinctOf_[static_cast<size_t>(line)])];
  const auto indexed = static_cast<size_t>(distinct.indexStart + at);
  int count = distinct.copies;
  if (Unshared(indexed, length)) return count;
  const auto rank = static_cast<size_t>(ranks_[indexed]);
  for (size_t r = rank; count <= limit && r > 0 && SharesWithBefore(r, length); --r)
    count += copiesOf(DistinctAt(r - 1));
  for (size_t r = rank + 1; count <= limit && r < places_.size() && SharesWithBefore(r, length); ++r)
    count += copiesOf(DistinctAt(r));
  return count;
}

int PhraseIndex::TextPlaces(Place place, int from, std::vector<int>& places) const {
  if (place.distinct < 0) {
    if (place.indexed < from) return 0;
    places.push_back(place.indexed);
    return 1;
  }
  const DistinctLine& distinct = distinct_[static_cast<size_t>(place.distinct)];
  const int within = place.indexed - distinct.indexStart;
  if (distinct.copies == 1) {
    if (distinct.textStart + within < from) return 0;
    places.push_back(distinct.textStart + within);
    return 1;
  }
  int added = 0;
  for (int c = distinct.copiesStart; c < distinct.copiesStart + distinct.copies; ++c) {
    const int at = copies_[static_cast<size_t>(c)] + within;
    if (at < from) continue;
    places.push_back(at);
    ++added;
  }
  return added;
}

void PhraseIndex::Occurrences(int line, int at, int length, int from, std::vector<int>& places) const {
  indexed_.clear();
  IndexedOccurrences(line, at, length, indexed_);
  for (const Place& place : indexed_) TextPlaces(place, from, places);
}

}  // namespace scrivano
