#include "transform/PhraseExtraction.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <string>

#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"
#include "text/Lists.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
#include "transform/PhraseIndex.h"
#include "transform/PhraseTable.h"
#include "transform/PositionSet.h"

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
  line.reserve(raw.size());  // never more, and no room left over from growing
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

// Hands the pages of freed memory back to the system, so that what is allocated next does not add to
// them: the C library keeps the pages of small blocks freed among others.
void ReleaseFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

// What the search walks of a line entry, read from the index's copy of the line.
struct LineWalk {
  TextView line;
  int size = 0;
  int count = 0;
  int cut = 0;
  int windowStart = 0;
  int windowEnd = 0;
};

// Moves windowEnd over the next word and windowStart past its first word.
void MoveWindow(LineWalk& entry) {
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

// DropLastWord on a LineEntry or a LineWalk.
template <typename Entry>
void DropLastWordOf(Entry& entry) {
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

bool HasStopItem(TextView phrase, const std::vector<Text>& stopList) {
  return std::any_of(stopList.begin(), stopList.end(),
                     [phrase](const Text& item) { return phrase.find(item) != TextView::npos; });
}

// What the C library's wide string compare sees of an item: its code units up to a U+0000.
TextView ComparedPart(TextView item) {
  return item.substr(0, std::min(item.find(u'\0'), item.size()));
}

Text FormatCount(int count, int width) {
  std::u16string digits;
  for (char c : std::to_string(count)) digits += static_cast<char16_t>(c);
  if (static_cast<int>(digits.size()) < width)
    digits.insert(0, static_cast<size_t>(width) - digits.size(), u' ');
  return digits;
}

// A phrase of the report: where it stands in the report, its length and its count. The count list is
// made from these once the search is over, so that the two lists do not grow side by side while the
// index is held.
struct Reported {
  size_t start;
  size_t length;
  int count;
};

// One bit per character of a text.
class CharacterSet {
 public:
  explicit CharacterSet(size_t size) : bits_(size / 64 + 1, 0) {}

  void Add(size_t at) { bits_[at >> 6] |= std::uint64_t{1} << (at & 63); }
  bool Contains(size_t at) const { return (bits_[at >> 6] >> (at & 63) & 1) != 0; }
  void Remove(size_t at) { bits_[at >> 6] &= ~(std::uint64_t{1} << (at & 63)); }

  // Whether any of the length (at least 1) characters at at is in the set.
  bool Any(size_t at, size_t length) const {
    const size_t last = at + length - 1;
    const std::uint64_t head = ~std::uint64_t{0} << (at & 63);
    const std::uint64_t tail = ~std::uint64_t{0} >> (63 - (last & 63));
    size_t word = at >> 6;
    if (word == last >> 6) return (bits_[word] & head & tail) != 0;
    if ((bits_[word] & head) != 0) return true;
    while (++word < last >> 6)
      if (bits_[word] != 0) return true;
    return (bits_[word] & tail) != 0;
  }

 private:
  std::vector<std::uint64_t> bits_;
};

// The counting and blanking of the search over the rebuilt working text (lines each ended by "\r"; no
// phrase holds a "\r"). Gives what searching the current text again and again from the line's offset
// would give (each search starting just after the previous occurrence), without rescanning the text:
// the places of a phrase come from an index of the text as it was, a place that a blank overlaps no
// longer matches, and the rest are taken without overlap in position order.
//
// Within a level the count of a phrase without a U+FFFF only falls: offsets grow, blanks are never
// undone, and fewer places never allow more occurrences taken apart. So such a phrase is counted once per
// level: its indexed places are marked with its length, and a later window on a marked place with that
// length holds the same phrase, which was reported (its places all overlap blanks since), stopped, or
// short of the repetitions (and stays so). A phrase holding a U+FFFF of the input may also match where
// blanks were made since; it is counted again only when such a blank may have added a match.
class PhraseCounter {
 public:
  // The lines are views into text, which the counter no longer reads once it is made: the characters of
  // the current text are those of the index's lines where no blank was made.
  PhraseCounter(const Text& text, const std::vector<TextView>& lines, PhraseSearch& search)
      : size_(text.size()),
        search_(search),
        index_(lines),
        lineStarts_(text.size() + 1),
        blanks_(text.size()),
        inputBlanks_(text.size()),
        seen_(static_cast<size_t>(index_.IndexedSize()), 0),
        watchedSpots_(text.size()) {
    lineOffsets_.reserve(lines.size());
    for (TextView line : lines) {
      lineOffsets_.push_back(static_cast<int>(line.data() - text.data()));
      lineStarts_.Add(static_cast<size_t>(lineOffsets_.back()));
    }
    lineStarts_.Count();
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] != kBlank) continue;
      blanks_.Add(i);
      inputBlanks_.Add(i);
      inputHasBlanks_ = true;
    }
  }

  // The line-th line, as the index holds it.
  TextView Line(int line) const { return index_.Line(line); }

  // What was reported, in order.
  std::vector<Reported> TakeReported() { return std::move(reported_); }

  // Whether the windows of the line-th line (of size characters, starting at offset) need no look on this
  // level: the line copies an earlier one, whose windows hold the same phrases and were looked at first,
  // and it holds no U+FFFF. Each of those phrases was then reported, stopped, or short of the
  // repetitions, and stays so.
  bool AlreadyCounted(int line, int offset, int size) const {
    return index_.CopiesEarlierLine(line) &&
           !(inputHasBlanks_ && inputBlanks_.Any(static_cast<size_t>(offset), static_cast<size_t>(size)));
  }

  // A new level: offsets start again from 0 and no phrase was counted yet.
  void StartLevel() {
    if (marksOverflowed_)
      std::fill(seen_.begin(), seen_.end(), 0);
    else
      for (int at : marked_) seen_[static_cast<size_t>(at)] = 0;
    marked_.clear();
    marksOverflowed_ = false;
    foundKeys_.Clear();
    shortKeys_.Clear();
    for (const Watcher& watcher : watchers_) {
      watchedSpots_.Remove(static_cast<size_t>(watcher.spot));
      firstWatcher_[static_cast<size_t>(watcher.spot)] = -1;
    }
    watchers_.clear();
    watchedIndex_.Clear();
    watchedPhrases_.clear();
  }

  // Counts the phrase of the window at place at of the line-th line, which starts at offset, and
  // reports it when it occurs often enough.
  void Examine(TextView phrase, int line, int at, int offset) {
    const int length = Length(phrase);
    const int origin = offset + at;
    // An empty phrase would be found at every position: it is never searched.
    const int indexed = index_.IndexedPlace(line, at);
    if (length == 0 || seen_[static_cast<size_t>(indexed)] == length) return;
    if (inputHasBlanks_ && inputBlanks_.Any(static_cast<size_t>(origin), phrase.size()))
      return ExamineWithBlanks(phrase, line, at, offset);
    if (search_.minRepeats <= 0 && foundKeys_.Contains(phrase)) return;
    chosen_.clear();
    if (!index_.OccursElsewhere(line, at, length)) {
      // The only place of the phrase.
      if (search_.minRepeats > 1) return;
      if (!blanks_.Any(static_cast<size_t>(origin), phrase.size())) chosen_.push_back(origin);
    } else {
      indexed_.clear();
      index_.IndexedOccurrences(line, at, length, indexed_);
      places_.clear();
      for (const PhraseIndex::Place& other : indexed_) {
        // Only places at or after offset are windows still to come.
        if (index_.TextPlaces(other, offset, places_) == 0) continue;
        // A phrase too long for the mark is counted again at its later windows, which changes nothing.
        if (length > kLongestMarked) continue;
        seen_[static_cast<size_t>(other.indexed)] = static_cast<std::uint8_t>(length);
        // Past an eighth of the places, clearing all of them is cheaper than keeping a list.
        if (marked_.size() < seen_.size() / 8)
          marked_.push_back(other.indexed);
        else
          marksOverflowed_ = true;
      }
      std::erase_if(places_,
                    [&](int place) { return blanks_.Any(static_cast<size_t>(place), phrase.size()); });
      if (static_cast<int>(places_.size()) < search_.minRepeats) return;
      TakeApart(length, offset);
    }
    if (static_cast<int>(chosen_.size()) < search_.minRepeats || HasStopItem(phrase, search_.stopList))
      return;
    Report(phrase, search_.minRepeats <= 0);
  }

 private:
  // A phrase holding a U+FFFF of the input: it matches where the current text holds U+FFFF at its
  // U+FFFF and its other characters as they were. Each stretch of it without a U+FFFF still stands
  // only where the text as indexed held it, so on its first count the places of its rarest stretch are
  // checked once: a place matching now is kept, a place where one of the other characters differs never
  // matches again, and a place that lacks only blanks is watched at those characters. Its count can then
  // rise only when a watched character is blanked, which rechecks that place.
  void ExamineWithBlanks(TextView phrase, int line, int at, int offset) {
    if (foundKeys_.Contains(phrase) || HasStopItem(phrase, search_.stopList)) return;
    const int length = Length(phrase);
    chosen_.clear();
    if (phrase.find_first_not_of(kBlank) == TextView::npos) {
      // Blanks alone: any blank may lengthen a run of them, so the count holds until the next blank.
      const int* const shortAt = shortKeys_.Find(phrase);
      if (shortAt != nullptr && *shortAt == blankGeneration_) return;
      FindBlankRuns(length, offset);
      if (static_cast<int>(chosen_.size()) < search_.minRepeats) {
        *shortKeys_.TryEmplace(phrase, blankGeneration_).first = blankGeneration_;
        return;
      }
      return Report(phrase, true);
    }
    const auto [entry, created] = watchedIndex_.TryEmplace(phrase, static_cast<int>(watchedPhrases_.size()));
    const int number = *entry;
    // Most such phrases are looked at once: their places are watched only when one comes again.
    if (created) {
      const auto [stretchStart, stretch] = RarestStretch(phrase, line, at);
      watchedPhrases_.push_back(WatchedPhrase{phrase, stretchStart, stretch, {}, true, false, false});
      CheckPlaces(number, line, at, offset, false);
    } else if (!watchedPhrases_[static_cast<size_t>(number)].watching) {
      CheckPlaces(number, line, at, offset, true);
    }
    WatchedPhrase& watched = watchedPhrases_[static_cast<size_t>(number)];
    if (!watched.changed) return;  // short of the repetitions, and fewer places match since
    // The places that match now, at or after offset.
    std::vector<int>& matching = watched.matching;
    std::sort(matching.begin(), matching.end());
    matching.erase(std::unique(matching.begin(), matching.end()), matching.end());
    std::erase_if(matching, [&](int start) { return start < offset || !MatchesNow(phrase, start); });
    places_.assign(matching.begin(), matching.end());
    TakeApart(length, offset);
    watched.changed = false;
    if (static_cast<int>(chosen_.size()) < search_.minRepeats) return;
    watched.reported = true;
    Report(phrase, true);
  }

  // The stretch without a U+FFFF (start in the phrase, length) that stands in the fewest places: the
  // counts are raced with a limit that doubles, so the time goes with the fewest places, not the most.
  std::pair<int, int> RarestStretch(TextView phrase, int line, int at) const {
    std::vector<std::pair<int, int>> stretches;
    for (size_t i = 0; i < phrase.size();) {
      size_t j = i;
      while (j < phrase.size() && phrase[j] != kBlank) ++j;
      if (j > i) stretches.emplace_back(static_cast<int>(i), static_cast<int>(j - i));
      i = j + 1;
    }
    for (int limit = 1;; limit *= 2) {
      const std::pair<int, int>* rarest = nullptr;
      int fewest = limit + 1;
      for (const auto& stretch : stretches) {
        const int count = index_.CountUpTo(line, at + stretch.first, stretch.second, limit);
        if (count < fewest) {
          rarest = &stretch;
          fewest = count;
        }
      }
      if (rarest != nullptr) return *rarest;
    }
  }

  // Checks the places of the rarest stretch of the phrase (standing at place at of the line) from
  // offset on: the places that match now are kept, and with watch, those that may come to match are
  // watched.
  void CheckPlaces(int number, int line, int at, int offset, bool watch) {
    WatchedPhrase& watched = watchedPhrases_[static_cast<size_t>(number)];
    const TextView phrase = watched.phrase;
    const int stretchStart = watched.stretchStart;
    places_.clear();
    index_.Occurrences(line, at + stretchStart, watched.stretch, offset + stretchStart, places_);
    std::vector<int> matching;
    for (int place : places_) {
      const int start = place - stretchStart;
      if (start < offset || static_cast<size_t>(start) + phrase.size() > size_) continue;
      bool never = false;
      for (size_t k = 0; k < phrase.size() && !never; ++k)
        never = phrase[k] != kBlank && At(static_cast<size_t>(start) + k) != phrase[k];
      if (never) continue;
      bool now = true;
      for (size_t k = 0; k < phrase.size(); ++k) {
        const size_t spot = static_cast<size_t>(start) + k;
        if (phrase[k] != kBlank || blanks_.Contains(spot)) continue;
        now = false;
        if (!watch) break;
        if (firstWatcher_.empty()) firstWatcher_.assign(size_, -1);
        watchers_.push_back(Watcher{static_cast<int>(spot), number, start, firstWatcher_[spot]});
        firstWatcher_[spot] = static_cast<int>(watchers_.size()) - 1;
        watchedSpots_.Add(spot);
      }
      if (now) matching.push_back(start);
    }
    watched.matching = std::move(matching);
    watched.changed = true;
    watched.watching = watch;
  }

  bool MatchesNow(TextView phrase, int start) const {
    if (static_cast<size_t>(start) + phrase.size() > size_) return false;
    for (size_t k = 0; k < phrase.size(); ++k)
      if (At(static_cast<size_t>(start) + k) != phrase[k]) return false;
    return true;
  }

  // The character at place at of the current text.
  char16_t At(size_t at) const {
    if (blanks_.Contains(at)) return kBlank;
    const int line = lineStarts_.Rank(at + 1) - 1;
    const size_t within = at - static_cast<size_t>(lineOffsets_[static_cast<size_t>(line)]);
    const TextView characters = index_.Line(line);
    return within < characters.size() ? characters[within] : kLineEnd;
  }

  // After a report blanked the watched characters at spots: the places watching them that match now.
  void BlankedWatchedSpots() {
    for (int spot : blankedSpots_) {
      for (int w = firstWatcher_[static_cast<size_t>(spot)]; w >= 0;
           w = watchers_[static_cast<size_t>(w)].next) {
        const Watcher& watcher = watchers_[static_cast<size_t>(w)];
        WatchedPhrase& watched = watchedPhrases_[static_cast<size_t>(watcher.phrase)];
        if (watched.reported || !MatchesNow(watched.phrase, watcher.start)) continue;
        watched.matching.push_back(watcher.start);
        watched.changed = true;
      }
    }
    blankedSpots_.clear();
  }

  // A phrase of U+FFFF only: within each run of them from offset on, as many as fit one after another.
  void FindBlankRuns(int length, int offset) {
    const auto size = static_cast<int>(size_);
    for (int i = offset; i < size;) {
      if (!blanks_.Contains(static_cast<size_t>(i))) {
        ++i;
        continue;
      }
      int j = i;
      while (j < size && blanks_.Contains(static_cast<size_t>(j))) ++j;
      for (int at = i; at + length <= j; at += length) chosen_.push_back(at);
      i = j;
    }
  }

  // chosen_ = the places (each at or after offset, matching now) taken in position order, each after
  // the end of the one taken before.
  void TakeApart(int length, int offset) {
    std::sort(places_.begin(), places_.end());
    int nextFree = offset;
    for (int at : places_) {
      if (at < nextFree) continue;
      chosen_.push_back(at);
      nextFree = at + length;
    }
  }

  // Appends the phrase to both report lists and blanks the occurrences taken. Later windows find the
  // phrase among foundKeys_ when remembered; the others are told by the marks of their places.
  void Report(TextView phrase, bool remember) {
    const int count = static_cast<int>(chosen_.size());
    reported_.push_back(Reported{search_.report.size(), phrase.size(), count});
    search_.report.append(phrase).append(u"     ").append(FormatCount(count, 0)).append(u"\r\n");
    bool changed = false;
    for (int at : chosen_) {
      for (size_t i = static_cast<size_t>(at); i < static_cast<size_t>(at) + phrase.size(); ++i) {
        if (blanks_.Contains(i)) continue;
        blanks_.Add(i);
        if (watchedSpots_.Any(i, 1)) blankedSpots_.push_back(static_cast<int>(i));
        changed = true;
      }
    }
    if (changed) ++blankGeneration_;
    if (remember) foundKeys_.TryEmplace(phrase, 0);
    BlankedWatchedSpots();
  }

  size_t size_;  // of the text
  PhraseSearch& search_;
  std::vector<Reported> reported_;
  const PhraseIndex index_;       // the text as it was before any blank
  std::vector<int> lineOffsets_;  // where each line starts in the text
  PositionSet lineStarts_;        // the same as a set, which tells the line of a place
  CharacterSet blanks_;           // the U+FFFF of the current text
  CharacterSet inputBlanks_;      // the U+FFFF of the input
  bool inputHasBlanks_ = false;
  static constexpr int kLongestMarked = 0xFF;
  std::vector<std::uint8_t> seen_;  // by indexed place: the length of a phrase counted there on this level
  std::vector<int> marked_;         // the indexed places marked in seen_, unless there were too many
  bool marksOverflowed_ = false;
  std::vector<PhraseIndex::Place> indexed_;
  PhraseTable foundKeys_;  // reported on this level (views into the lines)
  PhraseTable shortKeys_;  // of blanks alone, short at that blank generation
  // The phrases holding a U+FFFF of the input counted on this level, the places that match them and the
  // characters whose blanking may make one more place match.
  struct WatchedPhrase {
    TextView phrase;
    int stretchStart = 0;  // its rarest stretch without a U+FFFF
    int stretch = 0;
    std::vector<int> matching;  // may hold places that no longer match, or match twice
    bool changed = true;        // a place was added since the last count
    bool watching = false;      // whether its places that may come to match are watched
    bool reported = false;
  };
  struct Watcher {
    int spot;    // the character watched
    int phrase;  // in watchedPhrases_
    int start;   // of the place
    int next;    // the watcher added before for the same character, or -1
  };
  PhraseTable watchedIndex_;
  std::vector<WatchedPhrase> watchedPhrases_;
  std::vector<Watcher> watchers_;
  std::vector<int> firstWatcher_;  // by character: the last watcher added for it, or -1
  CharacterSet watchedSpots_;
  std::vector<int> blankedSpots_;
  int blankGeneration_ = 0;  // counts the reports that blanked anything
  std::vector<int> places_;
  std::vector<int> chosen_;
};

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

namespace {

void SearchPhrases(LineList& lines, PhraseSearch& search, TaskContext& context, bool keepEntries);

}  // namespace

bool ExtractPhrases(TaskContext& context) {
  LineList lines;
  PhraseSearch search;
  if (!CollectLines(lines, search, context)) return false;
  // The entries are freed as soon as the search has what it needs of them.
  SearchPhrases(lines, search, context, false);
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
  // 11. Entry j starts at the sum of (size + 1) of the entries before it. The lines hold all that is
  // needed of the text: it goes first.
  Text().swap(*context.workingText);
  size_t size = 0;
  for (const LineEntry& entry : lines) size += entry.line.size() + 1;
  Text rebuilt;
  rebuilt.reserve(size);
  for (const LineEntry& entry : lines) {
    rebuilt += entry.line;
    rebuilt += kLineEnd;
  }
  context.workingText->swap(rebuilt);
  // 12.
  return !lines.empty();
}

void DropLastWord(LineEntry& entry) {
  DropLastWordOf(entry);
}

void FindRepeatedPhrases(LineList& lines, PhraseSearch& search, TaskContext& context) {
  SearchPhrases(lines, search, context, true);
}

namespace {

void SearchPhrases(LineList& lines, PhraseSearch& search, TaskContext& context, bool keepEntries) {
  // 1. The working text, blanked as phrases are reported.
  Text& text = *context.workingText;
  search.report.clear();
  search.countList.clear();
  std::vector<Reported> reported;
  // 2. Longest phrases first.
  const int fewestWords = std::max(search.minWords, 1);
  if (search.maxWords >= fewestWords) {
    // The lines as they stand in the working text, which is not blanked yet; from here on the search
    // reads them from its index, and the entries' own copies go.
    std::vector<TextView> lineViews;
    size_t offset = 0;
    for (const LineEntry& entry : lines) {
      lineViews.push_back(TextView(text).substr(offset, static_cast<size_t>(entry.size)));
      offset += static_cast<size_t>(entry.size) + 1;
    }
    // The entries as one array, their lines read from the index once it is built. Entries no one needs
    // afterwards go before it is, and their memory with them (their nodes lie among the lines' copies).
    std::vector<LineWalk> walks;
    walks.reserve(lines.size());
    for (const LineEntry& entry : lines)
      walks.push_back(LineWalk{{}, entry.size, entry.count, entry.cut, entry.windowStart, entry.windowEnd});
    if (keepEntries) {
      for (LineEntry& entry : lines) Text().swap(entry.line);
    } else {
      lines.clear();
    }
    ReleaseFreedMemory();
    PhraseCounter counter(text, lineViews, search);
    std::vector<TextView>().swap(lineViews);
    Text().swap(text);  // the counter holds what it needs of it
    ReleaseFreedMemory();
    for (size_t line = 0; line < walks.size(); ++line)
      walks[line].line = counter.Line(static_cast<int>(line));
    for (int n = search.maxWords; n >= fewestWords; --n) {
      counter.StartLevel();
      int offset = 0;
      for (size_t line = 0; line < walks.size(); ++line) {
        // 2.2 The windows of n words of this line.
        LineWalk& walk = walks[line];
        if (walk.count < n) break;
        while (walk.count > n) DropLastWordOf(walk);
        walk.windowStart = 0;
        walk.windowEnd = walk.cut;
        const bool counted = counter.AlreadyCounted(static_cast<int>(line), offset, walk.size);
        while (!counted) {
          const int length = std::max(walk.windowEnd - walk.windowStart, 0);
          counter.Examine(
              walk.line.substr(static_cast<size_t>(walk.windowStart), static_cast<size_t>(length)),
              static_cast<int>(line), walk.windowStart, offset);
          if (walk.windowEnd >= walk.size) break;
          MoveWindow(walk);
        }
        // 2.3 Ready for the next level.
        DropLastWordOf(walk);
        walk.windowStart = 0;
        walk.windowEnd = walk.cut;
        offset += walk.size + 1;
      }
    }
    auto walk = walks.begin();
    for (LineEntry& entry : lines) {
      entry.count = walk->count;
      entry.cut = walk->cut;
      entry.windowStart = walk->windowStart;
      entry.windowEnd = walk->windowEnd;
      ++walk;
    }
    reported = counter.TakeReported();
  }
  // 3, 4. The count list, once the index is gone.
  Text().swap(text);
  for (const Reported& phrase : reported)
    search.countList.append(FormatCount(phrase.count, 5))
        .append(u"     ")
        .append(TextView(search.report).substr(phrase.start, phrase.length))
        .append(u"\t");
  std::vector<Reported>().swap(reported);
  SortListItems(search.countList, 3);
  text.reserve(search.report.size() + 2 + Length(kReportSeparator) + search.countList.size());
  text.append(search.report).append(u"\r\n").append(kReportSeparator).append(search.countList);
}

}  // namespace

}  // namespace scrivano
