#include "transform/PairedTags.h"

#include <algorithm>
#include <array>
#include <climits>
#include <numeric>

namespace scrivano {
namespace {

// The first index at or after k that is still there, in a union-find whose entries point at themselves
// while there; the paths walked are shortened for the next walk.
template <typename Index>
Index FindKept(std::vector<Index>& next, Index k) {
  Index root = k;
  while (next[root] != root) root = next[root];
  while (next[k] != root) {
    const Index step = next[k];
    next[k] = root;
    k = step;
  }
  return root;
}

// Sorts by key, a byte at a time from the lowest, skipping the bytes in which all keys agree: linear in the
// number of items and reading them in order, which a comparison sort or a hash table of that many numbers
// is not.
void SortByKey(std::vector<std::pair<std::uint64_t, std::uint32_t>>& items) {
  if (items.size() < 2) return;
  std::array<std::array<std::uint32_t, 256>, 8> counts{};
  for (const auto& item : items)
    for (size_t byte = 0; byte < 8; ++byte) ++counts[byte][(item.first >> (8 * byte)) & 0xFF];
  std::vector<std::pair<std::uint64_t, std::uint32_t>> sorted(items.size());
  for (size_t byte = 0; byte < 8; ++byte) {
    auto& count = counts[byte];
    const auto digit = [byte](std::uint64_t key) { return (key >> (8 * byte)) & 0xFF; };
    if (count[digit(items.front().first)] == items.size()) continue;
    std::uint32_t offset = 0;
    for (std::uint32_t& entry : count) offset += std::exchange(entry, offset);
    for (const auto& item : items) sorted[count[digit(item.first)]++] = item;
    items.swap(sorted);
  }
}

}  // namespace

PairedTags::PairedTags(TextView text)
    : text_(text), angles_(text.size()), skipStarts_(text.size() + 1, false) {
  for (size_t at = text.find(u'<'); at != TextView::npos; at = text.find(u'<', at + 1)) {
    matches_.emplace_back().start = static_cast<int>(at);
    angles_.Add(at);
  }
  angles_.Count();
  const auto angles = static_cast<std::uint32_t>(matches_.size());
  openings_.Reset(angles);
  waiting_.assign(angles, -1);
  skipEnds_.assign(angles, -1);
  for (std::uint32_t k = 0; k < angles; ++k) {
    matches_[k].last = matches_[k].start;
    Continue(k, matches_[k].start + 1);
  }
  NumberTagsAsRead();
  openings_.Settle();
  settled_ = true;
}

bool PairedTags::RemoveOnce(Text& wrongTag, bool& contentRemoved) {
  contentRemoved = false;
  removedStarts_.clear();
  int pos = 0;
  const auto angles = static_cast<std::uint32_t>(matches_.size());
  for (std::uint32_t opening = openings_.LowerBound(Ordinal(pos)); opening < angles;
       opening = openings_.LowerBound(Ordinal(pos))) {
    const Match& tag = matches_[opening];
    const int start = tag.start;
    if (!tag.complete) {
      wrongTag = WrongNumberReport(start);
      return false;
    }
    Closing closing;
    if (!TakeClosing(tag.numberId, tag.last, closing)) {
      wrongTag = Remaining(start);
      return false;
    }
    contentRemoved = contentRemoved || NextKept(tag.last + 1) != closing.start;
    Skip(start, tag.last);
    Skip(closing.start, closing.last);
    removedStarts_.push_back(start);
    removedStarts_.push_back(closing.start);
    pos = closing.last + 1;
    openings_.Erase(opening);
  }
  // The characters on either side of each removed tag meet now.
  for (const int start : removedStarts_) {
    int& waiter = waiting_[Ordinal(start)];
    if (waiter < 0) continue;
    const std::uint32_t ordinal = Ordinal(waiter);
    waiter = -1;
    Continue(ordinal, NextKept(matches_[ordinal].last + 1));
  }
  return true;
}

Text PairedTags::Remaining(int from) {
  Text kept;
  const int length = static_cast<int>(text_.size());
  size_t k = 0;
  for (int i = NextKept(from); i < length; i = NextKept(i)) {
    // The first removed range after a kept position is not inside another one.
    while (k < matches_.size() && (matches_[k].start < i || skipEnds_[k] < 0)) ++k;
    const int end = k < matches_.size() ? matches_[k].start : length;
    kept.append(text_.substr(static_cast<size_t>(i), static_cast<size_t>(end - i)));
    i = end;
  }
  return kept;
}

// Goes on matching from the kept position at; records the tag, the wrong "<pt", or the "<" it waits at.
void PairedTags::Continue(std::uint32_t ordinal, int at) {
  Match& match = matches_[ordinal];
  const int length = static_cast<int>(text_.size());
  // The digits matched so far, kept aside while a match waits.
  Text number;
  if (const auto kept = digits_.find(ordinal); kept != digits_.end()) {
    number = std::move(kept->second);
    digits_.erase(kept);
  }
  for (; at < length; at = NextKept(at + 1)) {
    const char16_t ch = text_[static_cast<size_t>(at)];
    bool takes;
    if (match.matched < match.FixedLength()) {
      if (match.matched == 1 && ch == u'/') match.closing = true;
      const TextView fixed = match.closing ? TextView(u"</pt") : TextView(u"<pt");
      takes = ch == fixed[match.matched];
      if (takes) ++match.matched;
    } else if (ch >= u'0' && ch <= u'9') {
      takes = true;
      number += ch;
    } else {
      takes = match.complete = ch == u'>';
    }
    if (!takes) break;
    match.last = at;
    if (match.complete) break;
  }
  if (!match.complete && at < length && text_[static_cast<size_t>(at)] == u'<') {
    waiting_[Ordinal(at)] = match.start;
    if (!number.empty()) digits_[ordinal] = std::move(number);
  }
  if (match.complete) NumberTag(ordinal, number);
  if (!match.closing && match.matched == 3) openings_.Insert(ordinal);  // a "<pt", right or wrong
  if (match.complete && match.closing && settled_)
    laterClosings_.emplace(std::pair(match.numberId, match.start), match.last);
}

// While the text as read is matched, the tag's key is only noted; after that it is looked up.
void PairedTags::NumberTag(std::uint32_t ordinal, const Text& number) {
  const std::uint64_t key = NumberKey(number);
  if (!settled_) {
    keysAsRead_.emplace_back(key, ordinal);
    return;
  }
  Match& match = matches_[ordinal];
  if (const auto known = std::lower_bound(sortedKeys_.begin(), sortedKeys_.end(), key);
      known != sortedKeys_.end() && *known == key) {
    match.numberId = static_cast<std::uint32_t>(known - sortedKeys_.begin());
    return;
  }
  const auto newId = static_cast<std::uint32_t>(sortedKeys_.size() + laterIds_.size());
  match.numberId = laterIds_.try_emplace(key, newId).first->second;
}

// Numbers the tags of the text as read and groups their closings by number.
void PairedTags::NumberTagsAsRead() {
  SortByKey(keysAsRead_);
  for (const auto& [key, ordinal] : keysAsRead_) {
    if (sortedKeys_.empty() || sortedKeys_.back() != key) sortedKeys_.push_back(key);
    matches_[ordinal].numberId = static_cast<std::uint32_t>(sortedKeys_.size() - 1);
  }
  keysAsRead_ = {};

  const size_t groups = sortedKeys_.size();
  closingGroups_.assign(groups + 1, 0);
  for (const Match& match : matches_)
    if (match.complete && match.closing) ++closingGroups_[match.numberId];
  std::uint32_t begin = 0;
  for (size_t group = 0; group < groups; ++group)
    begin += std::exchange(closingGroups_[group], begin) + 1;  // and the closing that never matches
  closingGroups_[groups] = begin;
  closings_.resize(begin);
  closingNext_.resize(begin);
  std::iota(closingNext_.begin(), closingNext_.end(), std::uint32_t{0});
  std::vector<std::uint32_t> fill(closingGroups_.begin(), closingGroups_.end() - 1);
  for (const Match& match : matches_)
    if (match.complete && match.closing) closings_[fill[match.numberId]++] = {match.start, match.last};
  for (const std::uint32_t end : fill) closings_[end] = {INT_MAX, INT_MAX};
}

// Finds the first closing of the number that starts after position after and takes it away.
bool PairedTags::TakeClosing(std::uint32_t numberId, int after, Closing& closing) {
  std::uint32_t asRead = UINT32_MAX;
  if (numberId < sortedKeys_.size()) {
    const auto first = closings_.begin() + closingGroups_[numberId];
    const auto last = closings_.begin() + (closingGroups_[numberId + 1] - 1);
    const auto next =
        std::partition_point(first, last, [after](const Closing& c) { return c.start <= after; });
    const std::uint32_t found = FindKept(closingNext_, static_cast<std::uint32_t>(next - closings_.begin()));
    if (closings_[found].start != INT_MAX) asRead = found;
  }
  const auto later = laterClosings_.lower_bound(std::pair(numberId, after + 1));
  if (later != laterClosings_.end() && later->first.first == numberId &&
      (asRead == UINT32_MAX || later->first.second < closings_[asRead].start)) {
    closing = {later->first.second, later->second};
    laterClosings_.erase(later);
    return true;
  }
  if (asRead == UINT32_MAX) return false;
  closing = closings_[asRead];
  closingNext_[asRead] = asRead + 1;
  return true;
}

// A "<pt" whose number is not all digits: the text from it up to the next ">", or to the end.
Text PairedTags::WrongNumberReport(int start) {
  Text report = Remaining(start);
  const size_t end = report.find(u'>', 3);
  if (end != Text::npos) report.resize(end);
  return report;
}

std::uint64_t PairedTags::NumberKey(const Text& number) {
  constexpr size_t kMostDigits = 17;  // below 2^57, which leaves five bits for the count of digits
  if (number.size() <= kMostDigits) {
    std::uint64_t value = 0;
    for (const char16_t digit : number) value = value * 10 + (digit - u'0');
    return value << 5 | number.size();
  }
  constexpr std::uint64_t kLongNumbers = std::uint64_t{1} << 62;  // above every key of a shorter number
  const std::uint64_t key = kLongNumbers + longNumbers_.size();
  return longNumbers_.try_emplace(number, key).first->second;
}

void PairedTags::Skip(int first, int last) {
  skipEnds_[Ordinal(first)] = last + 1;
  skipStarts_[static_cast<size_t>(first)] = true;
}

int PairedTags::NextKeptAfterSkips(int at) {
  int end = at;
  while (skipStarts_[static_cast<size_t>(end)]) end = skipEnds_[Ordinal(end)];
  // Shortcuts for the next walk that lands here.
  while (at != end) {
    int& rangeEnd = skipEnds_[Ordinal(at)];
    at = rangeEnd;
    rangeEnd = end;
  }
  return end;
}

void PairedTags::Openings::Reset(std::uint32_t count) {
  next_.resize(count + 1);
  for (std::uint32_t k = 0; k <= count; ++k) next_[k] = std::min(k + 1, count);
}

void PairedTags::Openings::Insert(std::uint32_t k) {
  if (!settled_)
    next_[k] = k;
  else if (next_[k] != k)
    added_.insert(k);
}

std::uint32_t PairedTags::Openings::LowerBound(std::uint32_t k) {
  const std::uint32_t first = FindKept(next_, k);
  const auto added = added_.lower_bound(k);
  return added != added_.end() && *added < first ? *added : first;
}

void PairedTags::Openings::Erase(std::uint32_t k) {
  if (next_[k] == k)
    next_[k] = k + 1;
  else
    added_.erase(k);
}

}  // namespace scrivano
