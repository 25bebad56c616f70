// The passes that remove "<ptN>" ... "</ptN>" pairs, played on positions in the text as it is, so that
// nesting as deep as the text is long costs no more than a shallow one.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "text/Text.h"
#include "transform/PositionSet.h"

namespace scrivano {

// A pass takes the "<pt" from left to right, pairs each with the first closing of its number after it and
// goes on after that closing, without rebuilding or searching the text again.
//
// What is removed is always a whole tag, so the removed characters form ranges of original positions, and
// the text is the original with those ranges skipped. Where a tag goes, the characters on either side meet
// and may make a new tag ("<p" + "<pt1></pt1>" + "t2>" becomes "<pt2>"). Only a "<" that begins no tag
// can start one, and only when what follows it up to the removed tag is the beginning of a tag; such a "<"
// waits at the "<" where its match stopped and goes on matching once that "<" is removed. Between two "<"
// there is only one such match, so all the matching together reads each character once. A pass works on
// the text as it stood when it began: tags that its removals make count from the next pass on.
class PairedTags {
 public:
  // text must outlive the object.
  explicit PairedTags(TextView text);

  // One pass; false with wrongTag at a wrong "<pt" or an opening without its closing. contentRemoved
  // tells whether a removed pair held anything, which may hide pairs from this pass.
  bool RemoveOnce(Text& wrongTag, bool& contentRemoved);

  // The text without the removed tags, from the kept position from.
  Text Remaining(int from);

 private:
  // How far the characters after a "<" go as the beginning of "<ptN>" or "</ptN>".
  struct Match {
    int start = 0;               // the "<"
    int last = 0;                // the last character matched
    std::uint32_t numberId = 0;  // a small number for the digits after "<pt" or "</pt", once complete
    std::uint8_t matched = 1;    // characters of "<pt" or "</pt" matched
    bool closing = false;        // "</" seen
    bool complete = false;       // the ">" matched: a tag
    int FixedLength() const { return closing ? 4 : 3; }
  };
  struct Closing {
    int start;
    int last;
  };

  void Continue(std::uint32_t ordinal, int at);
  void NumberTag(std::uint32_t ordinal, const Text& number);
  void NumberTagsAsRead();
  bool TakeClosing(std::uint32_t numberId, int after, Closing& closing);
  Text WrongNumberReport(int start);
  std::uint64_t NumberKey(const Text& number);
  // Which "<" of the text stands at position at, counted off without a search, so that the walks over
  // removed ranges stay cheap.
  std::uint32_t Ordinal(int at) const {
    return static_cast<std::uint32_t>(angles_.Rank(static_cast<std::size_t>(at)));
  }
  void Skip(int first, int last);
  // The first kept position at or after at (the end of the text when there is none).
  int NextKept(int at) { return skipStarts_[static_cast<std::size_t>(at)] ? NextKeptAfterSkips(at) : at; }
  int NextKeptAfterSkips(int at);

  // The "<" (by index) of every "<pt" of the text as it stands. Those of the text as read are only ever
  // taken away: a union-find over the indexes skips them once gone. Those made later are kept apart.
  class Openings {
   public:
    void Reset(std::uint32_t count);
    void Settle() { settled_ = true; }
    void Insert(std::uint32_t k);
    // The first at or after k, or the number of "<" when there is none.
    std::uint32_t LowerBound(std::uint32_t k);
    void Erase(std::uint32_t k);

   private:
    std::vector<std::uint32_t> next_;  // k itself while k is one of them; the last entry stands for "none"
    std::set<std::uint32_t> added_;
    bool settled_ = false;
  };

  TextView text_;
  bool settled_ = false;          // the tags of the text as read are all matched and numbered
  PositionSet angles_;            // the position of every "<"
  std::vector<Match> matches_;    // by "<", in text order
  std::vector<int> waiting_;      // by "<": the "<" of the match that stopped there, or -1
  std::vector<int> skipEnds_;     // by "<" that begins a removed range: the position after it
  std::vector<bool> skipStarts_;  // by position: a removed range begins there
  Openings openings_;
  std::vector<int> removedStarts_;                  // in a pass: where each removed tag began
  std::unordered_map<std::uint32_t, Text> digits_;  // by "<": the digits of a match that waits

  // Tag numbers. Each has a key that sorts: its value and its count of digits ("01" is not "1"), or, past
  // 17 digits, a place in longNumbers_. The tags of the text as read are numbered all at once by sorting
  // their keys, so that the same number gets the same id without a table lookup per tag; numbers that
  // only form later look their key up among those, or get a new id.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> keysAsRead_;  // while matching: key, "<" index
  std::vector<std::uint64_t> sortedKeys_;                            // id -> key, for the text as read
  std::unordered_map<Text, std::uint64_t> longNumbers_;
  std::unordered_map<std::uint64_t, std::uint32_t> laterIds_;

  // The closings of the text as read, grouped by number id and in text order within each group, the
  // group ending in a closing that never matches. A union-find over the indexes skips those taken.
  // Closings made later are kept apart, by number id and start.
  std::vector<std::uint32_t> closingGroups_;  // by number id: where its group begins; one more at the end
  std::vector<Closing> closings_;
  std::vector<std::uint32_t> closingNext_;  // the index itself while the closing is there
  std::map<std::pair<std::uint32_t, int>, int> laterClosings_;
};

}  // namespace scrivano
