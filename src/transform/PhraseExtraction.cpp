#include "transform/PhraseExtraction.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"
#include "text/Lists.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"

namespace scrivano {
namespace {

constexpr char16_t kPhrasePrompt[] = u"Please set a minimum and maximum word number and repetion:";
constexpr char16_t kDefaultOptionPrompt[] = u"Please select or set an option:";
constexpr char16_t kReportSeparator[] = u"=========================\r\n";
// Reported occurrences are overwritten with this, so that shorter phrases do not count them again.
constexpr char16_t kBlank = 0xFFFF;
// Ends every line of the rebuilt working text.
constexpr char16_t kLineEnd = u'\r';

// Words are runs of ASCII characters without spaces, or single characters above U+007F.
bool IsWideChar(char16_t ch) {
  return ch > 0x7F;
}

std::uint64_t CurrentTick() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool IsLineBreakChar(char16_t ch) {
  return ch >= 0x09 && ch <= 0x0D;
}

// A space survives only between two ASCII characters that it separated.
Text NormalizeLine(TextView raw) {
  Text line;
  bool skippedSpaces = false;
  for (char16_t ch : raw) {
    if (ch == u' ') {
      skippedSpaces = true;
      continue;
    }
    if (skippedSpaces && !line.empty() && line.back() < 0x7F && ch < 0x7F) line += u' ';
    skippedSpaces = false;
    line += ch;
  }
  return line;
}

int CountWords(TextView line) {
  int count = 1;
  for (size_t p = 1; p < line.size(); ++p)
    if (line[p] == u' ' || IsWideChar(line[p]) || IsWideChar(line[p - 1])) ++count;
  return count;
}

// Builds the line list by inserting each entry next to a cursor, so that the list stays ordered by count,
// largest first, and the new entry becomes the cursor. Larger than the cursor's count: after the last
// entry whose count is at least as large; smaller: before the first entry whose count is at most as
// large; equal: just before the cursor. (So equal counts do not keep the input order.) The entries of one
// count stand together; the ends of each such block are kept, so that no insertion walks the list.
class LineListBuilder {
 public:
  explicit LineListBuilder(LineList& lines) : lines_(lines), cursor_(lines.end()) { lines_.clear(); }

  void Insert(LineEntry entry) {
    const int count = entry.count;
    // The cursor starts on the list's end, which stands for a count of 0.
    const int cursorCount = cursor_ == lines_.end() ? 0 : cursor_->count;
    LineList::iterator at = cursor_;
    if (count > cursorCount) {
      const auto larger = blocks_.lower_bound(count);
      at = larger == blocks_.end() ? lines_.begin() : std::next(larger->second.last);
    } else if (count < cursorCount) {
      auto smaller = blocks_.upper_bound(count);
      at = smaller == blocks_.begin() ? lines_.end() : (--smaller)->second.first;
    }
    cursor_ = lines_.insert(at, std::move(entry));
    const auto [block, created] = blocks_.try_emplace(count, Block{cursor_, cursor_});
    if (created) return;
    if (std::next(cursor_) == block->second.first) block->second.first = cursor_;
    if (cursor_ != lines_.begin() && std::prev(cursor_) == block->second.last) block->second.last = cursor_;
  }

 private:
  struct Block {
    LineList::iterator first;
    LineList::iterator last;
  };
  LineList& lines_;
  LineList::iterator cursor_;
  std::map<int, Block> blocks_;
};

// The answer's three numbers, cut at runs of spaces; a missing one is 0.
void ReadWordNumbers(TextView answer, PhraseSearch& search) {
  int* const targets[] = {&search.minWords, &search.maxWords, &search.minRepeats};
  for (int* target : targets) *target = 0;
  const Text trimmed = Trimmed(answer);
  size_t at = 0;
  for (int* target : targets) {
    at = trimmed.find_first_not_of(u' ', at);
    if (at == Text::npos) break;
    const size_t end = std::min(trimmed.find(u' ', at), trimmed.size());
    *target = ToInt(TextView(trimmed).substr(at, end - at));
    at = end;
  }
}

std::vector<Text> ListItems(TextView list) {
  std::vector<Text> items;
  if (list.empty()) return items;
  Text item;
  int pos = 0;
  do {
    NextTokenByChar(list, pos, item, kTab);
    items.push_back(item);
  } while (pos != 0);
  return items;
}

// Moves windowEnd over the next word and windowStart past its first word.
void MoveWindow(LineEntry& entry) {
  const TextView line = entry.line;
  const int size = entry.size;
  if (IsWideChar(line[static_cast<size_t>(entry.windowEnd)])) {
    ++entry.windowEnd;
  } else {
    ++entry.windowEnd;
    while (entry.windowEnd < size && line[static_cast<size_t>(entry.windowEnd)] != u' ' &&
           !IsWideChar(line[static_cast<size_t>(entry.windowEnd)]))
      ++entry.windowEnd;
  }
  if (entry.windowStart >= size) return;
  if (IsWideChar(line[static_cast<size_t>(entry.windowStart)])) {
    ++entry.windowStart;
    return;
  }
  ++entry.windowStart;
  while (entry.windowStart < size) {
    const char16_t ch = line[static_cast<size_t>(entry.windowStart)];
    if (IsWideChar(ch)) break;
    ++entry.windowStart;
    if (ch == u' ') break;
  }
}

bool HasStopItem(TextView phrase, const std::vector<Text>& stopList) {
  return std::any_of(stopList.begin(), stopList.end(),
                     [phrase](const Text& item) { return phrase.find(item) != TextView::npos; });
}

// What the C library's wide string compare sees of an item: its code units up to a U+0000.
TextView ComparedPart(TextView item) {
  return item.substr(0, std::min(item.find(u'\0'), item.size()));
}

// Suffix array of symbols (each from 0 to upper) by induced sorting (SA-IS), in time linear in their
// number. A suffix that is a prefix of another sorts first.
std::vector<int> InducedSuffixArray(const std::vector<int>& symbols, int upper) {
  const int n = static_cast<int>(symbols.size());
  if (n == 0) return {};
  if (n == 1) return {0};
  if (n == 2) return symbols[0] < symbols[1] ? std::vector<int>{0, 1} : std::vector<int>{1, 0};
  // 1. Classify each suffix as S (smaller than the suffix after it) or L, and find the buckets.
  std::vector<int> suffixes(n);
  std::vector<char> isS(n, 0);
  for (int i = n - 2; i >= 0; --i)
    isS[i] = symbols[i] == symbols[i + 1] ? isS[i + 1] : symbols[i] < symbols[i + 1];
  std::vector<int> startL(upper + 1, 0);  // where the L suffixes of each symbol begin
  std::vector<int> startS(upper + 1, 0);  // where the S suffixes of each symbol begin
  for (int i = 0; i < n; ++i) {
    if (!isS[i])
      ++startS[symbols[i]];
    else if (symbols[i] < upper)
      ++startL[symbols[i] + 1];
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
      if (i != n) suffixes[next[symbols[i]]++] = i;
    next = startL;
    suffixes[next[symbols[n - 1]]++] = n - 1;
    for (int k = 0; k < n; ++k) {
      const int i = suffixes[k] - 1;
      if (i >= 0 && !isS[i]) suffixes[next[symbols[i]]++] = i;
    }
    next = startL;
    for (int k = n - 1; k >= 0; --k) {
      const int i = suffixes[k] - 1;
      if (i >= 0 && isS[i]) suffixes[--next[symbols[i] + 1]] = i;
    }
  };
  // 3. Leftmost-S positions, sorted roughly by one induction.
  std::vector<int> leftmostIndex(n + 1, -1);
  std::vector<int> leftmostS;
  for (int i = 1; i < n; ++i) {
    if (isS[i] && !isS[i - 1]) {
      leftmostIndex[i] = static_cast<int>(leftmostS.size());
      leftmostS.push_back(i);
    }
  }
  const int m = static_cast<int>(leftmostS.size());
  induce(leftmostS);
  if (m == 0) return suffixes;
  // 4. Name the leftmost-S substrings in that order, sort the reduced string recursively, and induce
  // again from the exact order.
  std::vector<int> sortedLeftmost;
  sortedLeftmost.reserve(m);
  for (int i : suffixes)
    if (leftmostIndex[i] != -1) sortedLeftmost.push_back(i);
  std::vector<int> reduced(m);
  int reducedUpper = 0;
  reduced[leftmostIndex[sortedLeftmost[0]]] = 0;
  for (int k = 1; k < m; ++k) {
    int a = sortedLeftmost[k - 1];
    int b = sortedLeftmost[k];
    const int endA = leftmostIndex[a] + 1 < m ? leftmostS[leftmostIndex[a] + 1] : n;
    const int endB = leftmostIndex[b] + 1 < m ? leftmostS[leftmostIndex[b] + 1] : n;
    bool same = endA - a == endB - b;
    if (same) {
      while (a < endA && symbols[a] == symbols[b]) {
        ++a;
        ++b;
      }
      same = a != n && symbols[a] == symbols[b];
    }
    if (!same) ++reducedUpper;
    reduced[leftmostIndex[sortedLeftmost[k]]] = reducedUpper;
  }
  const std::vector<int> reducedSuffixes = InducedSuffixArray(reduced, reducedUpper);
  for (int k = 0; k < m; ++k) sortedLeftmost[k] = leftmostS[reducedSuffixes[k]];
  induce(sortedLeftmost);
  return suffixes;
}

// The occurrences of phrases in the rebuilt working text (lines each ended by "\r"; no phrase holds a
// "\r"), which is blanked as phrases are reported. Gives exactly what searching the current text again
// and again would give (each search starting just after the previous occurrence), without rescanning the
// text: the occurrences in the original text come from a suffix array, those that overlap a blanked
// stretch are dropped for good, and the rest are taken without overlap in position order.
class PhraseOccurrences {
 public:
  explicit PhraseOccurrences(Text& text) : text_(text) {
    // Every line end counts as a symbol of its own, unlike any other: no common prefix runs over one
    // (phrases never hold one), and repeated lines do not make the index slower.
    const int n = Length(text);
    std::vector<int> symbols(text.begin(), text.end());
    int upper = 0xFFFF;
    for (int& symbol : symbols)
      if (symbol == kLineEnd) symbol = ++upper;
    suffixes_ = InducedSuffixArray(symbols, upper);
    ranks_.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) ranks_[static_cast<size_t>(suffixes_[static_cast<size_t>(i)])] = i;
    // The longest common prefix of each suffix with the one before it in suffix order (Kasai's method).
    commonPrefix_.assign(static_cast<size_t>(n), 0);
    int h = 0;
    for (int i = 0; i < n; ++i) {
      const int rank = ranks_[static_cast<size_t>(i)];
      if (rank == 0) {
        h = 0;
        continue;
      }
      const int j = suffixes_[static_cast<size_t>(rank - 1)];
      while (i + h < n && j + h < n &&
             symbols[static_cast<size_t>(i + h)] == symbols[static_cast<size_t>(j + h)])
        ++h;
      commonPrefix_[static_cast<size_t>(rank)] = h;
      if (h > 0) --h;
    }
  }

  // A new search level: offsets start again from 0.
  void StartLevel() { candidates_.clear(); }

  // The occurrences of phrase in the current text at or after offset, in position order, none
  // overlapping another. origin is where phrase stands in the text as it was when the index was built.
  // The offsets of the calls of one level never decrease.
  const std::vector<int>& Find(TextView phrase, int origin, int offset) {
    found_.clear();
    if (phrase.find(kBlank) != TextView::npos) {
      FindWithBlanks(phrase, origin, offset);
      return found_;
    }
    if (FewOccurrences(phrase, origin, offset)) return found_;
    Candidates& candidates = CandidatesOf(phrase, origin);
    Take(candidates.positions, candidates.first, Length(phrase), offset);
    candidates.chainGeneration = -1;
    return found_;
  }

  // How many occurrences Find would give, without listing them. A phrase that falls short of the
  // repetitions is counted again and again as the windows move along the lines: its count comes from the
  // chain lengths of its candidates, worked out once for each state of the blanks.
  int Count(TextView phrase, int origin, int offset) {
    found_.clear();
    if (phrase.find(kBlank) != TextView::npos) {
      FindWithBlanks(phrase, origin, offset);
      return static_cast<int>(found_.size());
    }
    if (FewOccurrences(phrase, origin, offset)) return static_cast<int>(found_.size());
    Candidates& candidates = CandidatesOf(phrase, origin);
    std::vector<int>& positions = candidates.positions;
    const int length = Length(phrase);
    if (candidates.chainGeneration != blankGeneration_) {
      // Those overlapping a blank are gone for good; chain[i]: the occurrences taken from i on.
      positions.erase(std::remove_if(positions.begin() + static_cast<std::ptrdiff_t>(candidates.first),
                                     positions.end(), [&](int at) { return IsBlanked(at, length); }),
                      positions.end());
      candidates.chain.assign(positions.size() + 1, 0);
      size_t next = positions.size();
      for (size_t i = positions.size(); i-- > candidates.first;) {
        while (next > i + 1 && positions[next - 1] >= positions[i] + length) --next;
        candidates.chain[i] = 1 + candidates.chain[next];
      }
      candidates.chainGeneration = blankGeneration_;
    }
    while (candidates.first < positions.size() && positions[candidates.first] < offset) ++candidates.first;
    return candidates.chain[candidates.first];
  }

  // Whether a blank lies in the length characters at at.
  bool IsBlanked(int at, int length) const {
    const auto begin = text_.begin() + at;
    return std::find(begin, begin + length, kBlank) != begin + length;
  }

  // Overwrites the occurrences just found with blanks; the phrase is not searched again on this level.
  void BlankFound(TextView phrase) {
    for (int at : found_) std::fill_n(text_.begin() + at, phrase.size(), kBlank);
    if (!found_.empty()) ++blankGeneration_;
    candidates_.erase(Text(phrase));
  }

 private:
  // Runs longer than this are kept for the level.
  static constexpr int kFewOccurrences = 16;

  struct Candidates {
    std::vector<int> positions;  // ascending; those before `first` lie before the current offset
    size_t first = 0;
    std::vector<int> chain;  // for Count; valid while chainGeneration is the blanks' generation
    int chainGeneration = -1;
  };

  // Such a phrase may match blanked characters: the current text itself is searched.
  void FindInText(TextView phrase, int offset) {
    const int length = Length(phrase);
    for (int at = scrivano::Find(text_, phrase, offset); at >= 0;
         at = scrivano::Find(text_, phrase, at + length))
      found_.push_back(at);
  }

  // A phrase that holds a blank (a U+FFFF of the input) may match blanked characters, so the current
  // text decides. Its longest stretch without a blank still stands in the text only where the text as
  // indexed held it: when those places are few enough, they are kept for the level and checked instead
  // of scanning the text.
  void FindWithBlanks(TextView phrase, int origin, int offset) {
    size_t stretchStart = 0;
    int stretch = 0;
    for (size_t i = 0; i < phrase.size();) {
      size_t j = i;
      while (j < phrase.size() && phrase[j] != kBlank) ++j;
      if (static_cast<int>(j - i) > stretch) {
        stretchStart = i;
        stretch = static_cast<int>(j - i);
      }
      i = j + 1;
    }
    const int length = Length(phrase);
    if (stretch == 0) return FindInText(phrase, offset);
    auto places = candidates_.find(Text(phrase));
    if (places == candidates_.end()) {
      // Checking a place costs up to length characters; past this many places a scan is cheaper.
      const int worthChecking = (Length(text_) - offset) / length + 1;
      int low = ranks_[static_cast<size_t>(origin) + stretchStart];
      int high = low + 1;
      while (high - low <= worthChecking && (Extends(low, stretch) || Extends(high, stretch))) {
        if (Extends(low, stretch)) --low;
        if (Extends(high, stretch)) ++high;
      }
      if (Extends(low, stretch) || Extends(high, stretch)) return FindInText(phrase, offset);
      places = candidates_.try_emplace(Text(phrase)).first;
      std::vector<int>& positions = places->second.positions;
      for (int k = low; k < high; ++k) {
        const int at = suffixes_[static_cast<size_t>(k)] - static_cast<int>(stretchStart);
        if (at >= 0 && at + length <= Length(text_)) positions.push_back(at);
      }
      std::sort(positions.begin(), positions.end());
    }
    // A place where a character the phrase holds as it is was blanked, or never was that character, never
    // matches again; one where the text lacks a blank the phrase holds may match once it is blanked.
    Candidates& candidates = places->second;
    std::vector<int>& positions = candidates.positions;
    while (candidates.first < positions.size() && positions[candidates.first] < offset) ++candidates.first;
    size_t kept = candidates.first;
    int nextFree = offset;
    for (size_t i = candidates.first; i < positions.size(); ++i) {
      const int at = positions[i];
      bool never = false;
      bool now = true;
      for (size_t k = 0; k < phrase.size() && !never; ++k) {
        const char16_t ch = text_[static_cast<size_t>(at) + k];
        if (phrase[k] == kBlank)
          now = now && ch == kBlank;
        else
          never = ch != phrase[k];
      }
      if (never) continue;
      positions[kept++] = at;
      if (now && at >= nextFree) {
        found_.push_back(at);
        nextFree = at + length;
      }
    }
    positions.resize(kept);
  }

  // The suffixes that begin with phrase form one run in suffix order around the origin's suffix. Most
  // phrases occur only a few times: those are taken from the run directly (into found_, and the result
  // is true), the others from a list kept for the level.
  bool FewOccurrences(TextView phrase, int origin, int offset) {
    const int length = Length(phrase);
    int low = ranks_[static_cast<size_t>(origin)];
    int high = low + 1;
    while (high - low <= kFewOccurrences && (Extends(low, length) || Extends(high, length))) {
      if (Extends(low, length)) --low;
      if (Extends(high, length)) ++high;
    }
    if (Extends(low, length) || Extends(high, length)) return false;
    few_.assign(suffixes_.begin() + low, suffixes_.begin() + high);
    std::sort(few_.begin(), few_.end());
    size_t first = 0;
    Take(few_, first, length, offset);
    return true;
  }

  Candidates& CandidatesOf(TextView phrase, int origin) {
    auto [entry, created] = candidates_.try_emplace(Text(phrase));
    Candidates& candidates = entry->second;
    if (created) {
      const int length = Length(phrase);
      int low = ranks_[static_cast<size_t>(origin)];
      int high = low + 1;
      while (Extends(low, length)) --low;
      while (Extends(high, length)) ++high;
      candidates.positions.assign(suffixes_.begin() + low, suffixes_.begin() + high);
      std::sort(candidates.positions.begin(), candidates.positions.end());
    }
    return candidates;
  }

  // Whether the suffix of this rank shares length characters with the one before it.
  bool Extends(int rank, int length) const {
    return rank > 0 && rank < Length(text_) && commonPrefix_[static_cast<size_t>(rank)] >= length;
  }

  // found_ = the candidates at or after offset that no blank overlaps, taken without overlap in position
  // order. Candidates before offset, or overlapping a blank, are dropped from positions for good: offsets
  // only grow within a level and blanks are never undone.
  void Take(std::vector<int>& positions, size_t& first, int length, int offset) {
    while (first < positions.size() && positions[first] < offset) ++first;
    size_t kept = first;
    int nextFree = offset;
    for (size_t i = first; i < positions.size(); ++i) {
      const int at = positions[i];
      if (IsBlanked(at, length)) continue;
      positions[kept++] = at;
      if (at >= nextFree) {
        found_.push_back(at);
        nextFree = at + length;
      }
    }
    positions.resize(kept);
  }

  Text& text_;
  std::vector<int> suffixes_;
  std::vector<int> ranks_;
  std::vector<int> commonPrefix_;
  std::unordered_map<Text, Candidates> candidates_;
  std::vector<int> few_;
  std::vector<int> found_;
  int blankGeneration_ = 0;  // counts the BlankFound calls that blanked anything
};

Text FormatCount(int count, int width) {
  std::u16string digits;
  for (char c : std::to_string(count)) digits += static_cast<char16_t>(c);
  if (static_cast<int>(digits.size()) < width)
    digits.insert(0, static_cast<size_t>(width) - digits.size(), u' ');
  return digits;
}

}  // namespace

bool AskParameterOption(Text& message, int k) {
  // 1 to 3.
  if (message.empty()) message = kDefaultOptionPrompt;
  Text options = ParameterText(k);
  SortListItems(options, 0);
  std::replace(options.begin(), options.end(), kTab, kOptionSeparator);
  message += kOptionSeparator;
  message += options;
  return AskSelection(message, 1.0f, true);
}

void SortListItems(Text& list, int mode) {
  if (list.empty() || (mode != 0 && mode != 3)) return;
  // 1. Ascending without duplicates (the first of equal items stays). An empty item at the start of
  // the list is dropped; a later one is placed in front of every other item.
  std::vector<Text> all = ListItems(list);
  const auto firstNonEmpty =
      std::find_if(all.begin(), all.end(), [](const Text& item) { return !item.empty(); });
  std::vector<std::pair<TextView, const Text*>> order;  // compared part, item
  for (auto item = firstNonEmpty; item != all.end(); ++item) order.emplace_back(ComparedPart(*item), &*item);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  order.erase(std::unique(order.begin(), order.end(),
                          [](const auto& a, const auto& b) { return a.first == b.first; }),
              order.end());
  std::vector<TextView> items;
  for (const auto& [compared, item] : order) items.emplace_back(*item);
  Text sorted;
  if (mode == 0) {
    // 2. Tab-separated, trimmed, with the final tab of the list kept.
    for (size_t i = 0; i < items.size(); ++i) {
      if (i > 0) sorted += kTab;
      sorted += items[i];
    }
    Trim(sorted);
    if (list.back() == kTab) sorted += kTab;
  } else {
    // 3. Descending, each item on a line of its own.
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
      sorted += u"\r\n";
      sorted += *item;
    }
  }
  list.swap(sorted);
}

bool ExtractPhrases(TaskContext& context) {
  LineList lines;
  PhraseSearch search;
  if (!CollectLines(lines, search, context)) return false;
  FindRepeatedPhrases(lines, search, context);
  return true;
}

bool CollectLines(LineList& lines, PhraseSearch& search, TaskContext& context) {
  // 1 to 3. The numbers; the time spent in the prompt is not the operation's.
  search.report = kPhrasePrompt;
  if (!AskParameterOption(search.report, Param::kPhraseOptions)) return false;
  ReadWordNumbers(search.report, search);
  context.startTick = CurrentTick();
  // 4.
  search.stopList = ListItems(ParameterText(Param::kPhraseStopList));
  // 5. The list, ordered by count while it is built.
  LineListBuilder builder(lines);
  // 6 to 8. One entry per line that is not empty after normalisation.
  const Text& text = *context.workingText;
  int largestCount = 0;
  size_t lineStart = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !IsLineBreakChar(text[i])) continue;
    Text line = NormalizeLine(TextView(text).substr(lineStart, i - lineStart));
    lineStart = i + 1;
    if (line.empty()) continue;
    LineEntry entry;
    entry.size = Length(line);
    entry.count = CountWords(line);
    entry.cut = entry.windowEnd = entry.size;
    entry.line = std::move(line);
    largestCount = std::max(largestCount, entry.count);
    builder.Insert(std::move(entry));
  }
  // 9, 10.
  search.maxWords = std::min(search.maxWords, largestCount);
  // 11. Entry j starts at the sum of (size + 1) of the entries before it.
  Text rebuilt;
  for (const LineEntry& entry : lines) {
    rebuilt += entry.line;
    rebuilt += kLineEnd;
  }
  context.workingText->swap(rebuilt);
  // 12.
  return !lines.empty();
}

void DropLastWord(LineEntry& entry) {
  --entry.count;
  if (entry.cut <= 0) {
    entry.cut = 0;
    return;
  }
  const auto at = [&entry](int i) { return entry.line[static_cast<size_t>(i)]; };
  --entry.cut;
  if (at(entry.cut) >= 0x7F) return;  // a character of its own was the last word
  --entry.cut;
  while (entry.cut > 0) {
    const char16_t ch = at(entry.cut);
    if (ch == u' ') break;
    if (IsWideChar(ch)) {
      ++entry.cut;
      break;
    }
    --entry.cut;
  }
  // The walk does not look at the first character: a non-ASCII one there is a word of its own.
  if (entry.cut <= 0) entry.cut = IsWideChar(at(0)) ? 1 : 0;
}

void FindRepeatedPhrases(LineList& lines, PhraseSearch& search, TaskContext& context) {
  // 1. The working text, blanked as phrases are reported.
  Text& text = *context.workingText;
  search.report.clear();
  search.countList.clear();
  // 2. Longest phrases first.
  const int fewestWords = std::max(search.minWords, 1);
  std::optional<PhraseOccurrences> occurrences;
  if (search.maxWords >= fewestWords) occurrences.emplace(text);
  for (int n = search.maxWords; n >= fewestWords; --n) {
    std::unordered_set<Text> foundKeys;
    occurrences->StartLevel();
    int offset = 0;
    for (LineEntry& entry : lines) {
      // 2.2 The windows of n words of this line.
      if (entry.count < n) break;
      while (entry.count > n) DropLastWord(entry);
      entry.windowStart = 0;
      entry.windowEnd = entry.cut;
      while (true) {
        entry.phraseLength = entry.windowEnd - entry.windowStart;
        entry.phrase.assign(entry.line, static_cast<size_t>(entry.windowStart),
                            static_cast<size_t>(entry.phraseLength));
        // Every later occurrence of a phrase reported on this level overlaps a blank (it was taken, or
        // overlapped one that was taken), so the reported phrases need looking at only for a window under
        // a blank, or when phrases are reported without occurrences.
        const int origin = offset + entry.windowStart;
        const bool mayBeFound = search.minRepeats <= 0 || occurrences->IsBlanked(origin, entry.phraseLength);
        // An empty phrase would be found at every position: it is never searched.
        if (!entry.phrase.empty() && !(mayBeFound && foundKeys.contains(entry.phrase)) &&
            !HasStopItem(entry.phrase, search.stopList)) {
          const int count = occurrences->Count(entry.phrase, origin, offset);
          if (count >= search.minRepeats) {
            occurrences->Find(entry.phrase, origin, offset);
            search.report += entry.phrase + u"     " + FormatCount(count, 0) + u"\r\n";
            search.countList += FormatCount(count, 5) + u"     " + entry.phrase + u"\t";
            occurrences->BlankFound(entry.phrase);
            foundKeys.insert(entry.phrase);
          }
        }
        if (entry.windowEnd >= entry.size) break;
        MoveWindow(entry);
      }
      // 2.3 Ready for the next level.
      DropLastWord(entry);
      entry.windowStart = 0;
      entry.windowEnd = entry.cut;
      offset += entry.size + 1;
    }
  }
  // 3, 4.
  SortListItems(search.countList, 3);
  text = search.report + u"\r\n" + kReportSeparator + search.countList;
}

}  // namespace scrivano
