// A vector with a gap at the place of the last change: replacing a few elements costs what moving the
// gap there costs, not what shifting everything after them would. Edits that walk through a long
// sequence in order (a document's paragraphs, one after the other) so cost the length of the walk in
// all, however many of them change the number of elements.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

namespace scrivano::word {

template <typename T>
class GapVector {
 public:
  GapVector() = default;
  explicit GapVector(std::vector<T> items) : items_(std::move(items)), gapStart_(items_.size()) {}

  size_t size() const { return items_.size() - gapSize_; }
  bool empty() const { return size() == 0; }
  T& operator[](size_t index) { return items_[index < gapStart_ ? index : index + gapSize_]; }
  const T& operator[](size_t index) const { return items_[index < gapStart_ ? index : index + gapSize_]; }
  T& back() { return (*this)[size() - 1]; }
  const T& back() const { return (*this)[size() - 1]; }

  // Replaces the count elements from first with fresh ones.
  void Replace(size_t first, size_t count, std::vector<T>&& fresh) {
    MoveGapTo(first + count);
    // The replaced elements join the gap; they are released at once, so that the gap holds no memory.
    for (size_t i = first; i < first + count; ++i) items_[i] = T();
    gapStart_ = first;
    gapSize_ += count;
    if (fresh.size() > gapSize_) Widen(fresh.size());
    std::move(fresh.begin(), fresh.end(), items_.begin() + static_cast<std::ptrdiff_t>(gapStart_));
    gapStart_ += fresh.size();
    gapSize_ -= fresh.size();
  }

  void push_back(T item) {
    std::vector<T> one;
    one.push_back(std::move(item));
    Replace(size(), 0, std::move(one));
  }

 private:
  void MoveGapTo(size_t at) {
    if (gapSize_ == 0) {
      // Nothing to move over (and moving an element onto itself would empty it).
    } else if (at < gapStart_) {
      std::move_backward(items_.begin() + static_cast<std::ptrdiff_t>(at),
                         items_.begin() + static_cast<std::ptrdiff_t>(gapStart_),
                         items_.begin() + static_cast<std::ptrdiff_t>(gapStart_ + gapSize_));
    } else if (at > gapStart_) {
      std::move(items_.begin() + static_cast<std::ptrdiff_t>(gapStart_ + gapSize_),
                items_.begin() + static_cast<std::ptrdiff_t>(at + gapSize_),
                items_.begin() + static_cast<std::ptrdiff_t>(gapStart_));
    }
    gapStart_ = at;
  }

  // Makes the gap at least needed wide, with room to spare in proportion to the size.
  void Widen(size_t needed) {
    const size_t wider = std::max(needed, size() / 8 + 16);
    std::vector<T> items;
    items.reserve(size() + wider);
    for (size_t i = 0; i < gapStart_; ++i) items.push_back(std::move(items_[i]));
    items.resize(gapStart_ + wider);
    for (size_t i = gapStart_ + gapSize_; i < items_.size(); ++i) items.push_back(std::move(items_[i]));
    items_ = std::move(items);
    gapSize_ = wider;
  }

  std::vector<T> items_;  // the elements before the gap, the gap (default values), the elements after it
  size_t gapStart_ = 0;
  size_t gapSize_ = 0;
};

}  // namespace scrivano::word
