#include "transform/TagCleaning.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "prompt/SelectionPrompt.h"
#include "text/Pieces.h"
#include "transform/CleanMarks.h"
#include "transform/TradosFormats.h"

namespace scrivano {
namespace {

constexpr char16_t kWrongTagReport[] = u"Wrong tag:\r\n\r\n";

// True for a run of ASCII digits; the empty text counts as one.
bool IsTagNumber(TextView number) {
  for (char16_t ch : number)
    if (ch < u'0' || ch > u'9') return false;
  return true;
}

// Drops every "<phN/>". A "<ph" without "/>" after it runs to the end of the text. Returns false at the
// first wrong tag, with wrongTag holding it.
bool RemovePlaceholderTags(Text& text, Text& wrongTag) {
  int tagStart = Find(text, u"<ph");
  if (tagStart < 0) return true;
  Text rebuilt;
  rebuilt.reserve(text.size());
  int pos = 0;
  for (; tagStart >= 0; tagStart = Find(text, u"<ph", pos)) {
    const int numberStart = tagStart + 3;
    const int tagEnd = Find(text, u"/>", numberStart);
    const int numberEnd = tagEnd < 0 ? Length(text) : tagEnd;
    if (!IsTagNumber(TextView(text).substr(static_cast<size_t>(numberStart),
                                           static_cast<size_t>(numberEnd - numberStart)))) {
      wrongTag = tagEnd < 0 ? MidFrom(text, tagStart) : Mid(text, tagStart, tagEnd + 2 - tagStart);
      return false;
    }
    rebuilt.append(text, static_cast<size_t>(pos), static_cast<size_t>(tagStart - pos));
    pos = tagEnd < 0 ? Length(text) : tagEnd + 2;
  }
  rebuilt.append(text, static_cast<size_t>(pos));
  text.swap(rebuilt);
  return true;
}

// The passes over the paired tags played on positions in the text as it is, so that nesting as deep as
// the text is long costs no more than a shallow one. A pass takes the "<pt" from left to right, pairs each
// with the first closing of its number after it and goes on after that closing, without rebuilding or
// searching the text again.
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
  explicit PairedTags(TextView text) : text_(text), skipStarts_(text.size() + 1, false) {
    angleBits_.assign(text.size() / 64 + 1, 0);
    for (size_t at = text.find(u'<'); at != TextView::npos; at = text.find(u'<', at + 1)) {
      angles_.push_back(static_cast<int>(at));
      angleBits_[at / 64] |= std::uint64_t{1} << (at % 64);
    }
    anglesBefore_.resize(angleBits_.size());
    std::uint32_t count = 0;
    for (size_t block = 0; block < angleBits_.size(); ++block) {
      anglesBefore_[block] = count;
      count += static_cast<std::uint32_t>(std::popcount(angleBits_[block]));
    }
    matches_.resize(angles_.size());
    openings_.Reset(angles_.size());
    waiting_.assign(angles_.size(), -1);
    skipEnds_.assign(angles_.size(), -1);
    for (size_t k = 0; k < angles_.size(); ++k) {
      Match& match = matches_[k];
      match.start = match.last = angles_[k];
      match.ordinal = k;
      Continue(match, angles_[k] + 1);
    }
    openings_.Settle();
  }

  // One pass; false with wrongTag at a wrong "<pt" or an opening without its closing.
  bool RemoveOnce(Text& wrongTag, bool& contentRemoved) {
    contentRemoved = false;
    std::vector<int> removed;
    int pos = 0;
    for (size_t opening = openings_.LowerBound(Ordinal(pos)); opening < angles_.size();
         opening = openings_.LowerBound(Ordinal(pos))) {
      const Match& tag = matches_[opening];
      const int start = tag.start;
      if (!tag.complete) {
        wrongTag = WrongNumberReport(start);
        return false;
      }
      auto& sameNumber = closings_[tag.numberId];
      const auto closing = sameNumber.lower_bound(tag.last + 1);
      if (closing == sameNumber.end()) {
        wrongTag = Remaining(start);
        return false;
      }
      const auto [closingStart, closingLast] = *closing;
      contentRemoved = contentRemoved || NextKept(tag.last + 1) != closingStart;
      Skip(start, tag.last);
      Skip(closingStart, closingLast);
      removed.push_back(start);
      removed.push_back(closingStart);
      pos = closingLast + 1;
      sameNumber.erase(closing);
      openings_.Erase(opening);
    }
    // The characters on either side of each removed tag meet now.
    for (const int start : removed) {
      int& waiter = waiting_[Ordinal(start)];
      if (waiter < 0) continue;
      Match& match = matches_[Ordinal(waiter)];
      waiter = -1;
      Continue(match, NextKept(match.last + 1));
    }
    return true;
  }

  // The text without the removed tags, from the kept position from.
  Text Remaining(int from) {
    Text kept;
    const int length = static_cast<int>(text_.size());
    size_t k = 0;
    for (int i = NextKept(from); i < length; i = NextKept(i)) {
      // The first removed range after a kept position is not inside another one.
      while (k < angles_.size() && (angles_[k] < i || skipEnds_[k] < 0)) ++k;
      const int end = k < angles_.size() ? angles_[k] : length;
      kept.append(text_.substr(static_cast<size_t>(i), static_cast<size_t>(end - i)));
      i = end;
    }
    return kept;
  }

 private:
  // How far the characters after a "<" go as the beginning of "<ptN>" or "</ptN>".
  struct Match {
    int start = 0;          // the "<"
    size_t ordinal = 0;     // which "<" of the text
    int last = 0;           // the last character matched
    int matched = 1;        // characters of "<pt" or "</pt" matched
    bool closing = false;   // "</" seen
    bool complete = false;  // the ">" matched: a tag
    size_t numberId = 0;    // the index into closings_ of the digits after "<pt" or "</pt", once complete
    int FixedLength() const { return closing ? 4 : 3; }
  };

  // Goes on matching from the kept position at; records the tag, the wrong "<pt", or the "<" it waits at.
  void Continue(Match& match, int at) {
    const int length = static_cast<int>(text_.size());
    // The digits matched so far, kept aside while a match waits.
    Text number;
    if (const auto kept = digits_.find(match.ordinal); kept != digits_.end()) {
      number = std::move(kept->second);
      digits_.erase(kept);
    }
    for (; at < length; at = NextKept(at + 1)) {
      const char16_t ch = text_[static_cast<size_t>(at)];
      bool takes;
      if (match.matched < match.FixedLength()) {
        if (match.matched == 1 && ch == u'/') match.closing = true;
        const TextView fixed = match.closing ? TextView(u"</pt") : TextView(u"<pt");
        takes = ch == fixed[static_cast<size_t>(match.matched)];
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
      if (!number.empty()) digits_[match.ordinal] = std::move(number);
    }
    if (match.complete) match.numberId = NumberId(number);
    if (!match.closing && match.matched == 3) openings_.Insert(match.ordinal);  // a "<pt", right or wrong
    if (match.complete && match.closing) closings_[match.numberId].emplace(match.start, match.last);
  }

  // A "<pt" whose number is not all digits: the text from it up to the next ">", or to the end.
  Text WrongNumberReport(int start) {
    Text report = Remaining(start);
    const size_t end = report.find(u'>', 3);
    if (end != Text::npos) report.resize(end);
    return report;
  }

  // A small number for each tag number, which indexes the closings.
  size_t NumberId(const Text& number) {
    const auto [at, added] = numberIds_.try_emplace(number, closings_.size());
    if (added) closings_.emplace_back();
    return at->second;
  }

  // Which "<" of the text stands at position at: the number of "<" before it, counted off a bit per
  // position, so that the walks over removed ranges take no search.
  size_t Ordinal(int at) const {
    const auto position = static_cast<size_t>(at);
    const std::uint64_t before = angleBits_[position / 64] & ((std::uint64_t{1} << (position % 64)) - 1);
    return anglesBefore_[position / 64] + static_cast<size_t>(std::popcount(before));
  }

  void Skip(int first, int last) {
    skipEnds_[Ordinal(first)] = last + 1;
    skipStarts_[static_cast<size_t>(first)] = true;
  }

  // The first kept position at or after at (the end of the text when there is none).
  int NextKept(int at) {
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

  TextView text_;
  std::vector<int> angles_;                  // the position of every "<", in order
  std::vector<std::uint64_t> angleBits_;     // by position: a "<" stands there
  std::vector<std::uint32_t> anglesBefore_;  // by 64 positions: how many "<" come before them
  std::vector<Match> matches_;               // by "<"
  std::vector<int> waiting_;                 // by "<": the "<" of the match that stopped there, or -1
  std::vector<int> skipEnds_;                // by "<" that begins a removed range: the position after it
  std::vector<bool> skipStarts_;             // by position: a removed range begins there
  // The "<" (by index) of every "<pt" of the text as it stands. Those of the text as read are only ever
  // taken away: a union-find over the indexes skips them once gone. Those made later are kept apart.
  class Openings {
   public:
    void Reset(size_t count) {
      next_.resize(count + 1);
      for (size_t k = 0; k <= count; ++k) next_[k] = std::min(k + 1, count);
    }
    void Settle() { settled_ = true; }
    void Insert(size_t k) {
      if (!settled_)
        next_[k] = k;
      else if (next_[k] != k)
        added_.insert(k);
    }
    // The first at or after k, or the number of "<" when there is none.
    size_t LowerBound(size_t k) {
      const size_t first = Find(k);
      const auto added = added_.lower_bound(k);
      return added != added_.end() && *added < first ? *added : first;
    }
    void Erase(size_t k) {
      if (next_[k] == k)
        next_[k] = k + 1;
      else
        added_.erase(k);
    }

   private:
    size_t Find(size_t k) {
      size_t root = k;
      while (next_[root] != root) root = next_[root];
      while (next_[k] != root) {
        const size_t step = next_[k];
        next_[k] = root;
        k = step;
      }
      return root;
    }

    std::vector<size_t> next_;  // k itself while k is one of them; the last entry stands for "none"
    std::set<size_t> added_;
    bool settled_ = false;
  };

  Openings openings_;
  std::unordered_map<size_t, Text> digits_;     // by "<": the digits of a match that waits
  std::unordered_map<Text, size_t> numberIds_;  // tag number -> index into closings_
  std::vector<std::map<int, int>> closings_;    // by tag number: start -> last character
};

// The tag removal of RemovePtPhTags. Returns false at the first wrong tag, with wrongTag holding it; text
// is then unchanged.
bool TryRemovePtPhTags(Text& text, Text& wrongTag) {
  Text work = text;
  // 1, 2. Paired tags, pass after pass: a pair's content may hold further pairs.
  bool contentRemoved = true;
  if (work.find(u"<pt") != Text::npos) {
    PairedTags tags(work);
    while (contentRemoved)
      if (!tags.RemoveOnce(wrongTag, contentRemoved)) return false;
    work = tags.Remaining(0);
  }
  // 3. Placeholders.
  if (!RemovePlaceholderTags(work, wrongTag)) return false;
  text.swap(work);
  return true;
}

// Option 2 inside the office window. A piece with a wrong tag is pasted back as it was, so that nothing
// of the document is lost; the wrong tags are reported once the loop has ended.
void RemovePtPhTagsInOfficeWindow(WindowHandle window) {
  Text wrongTags;
  RunOnWordPieces(window, [&wrongTags](Text& piece) {
    Text wrongTag;
    if (TryRemovePtPhTags(piece, wrongTag)) return;
    if (!wrongTags.empty()) wrongTags += u"\r\n";
    wrongTags += wrongTag;
  });
  if (!wrongTags.empty()) ShowMessage(kWrongTagReport + wrongTags, u"Notice", MessageButtons::Ok, true);
}

}  // namespace

void CleanVariousTags(TaskContext& context) {
  // 1, 2. The option.
  Text prompt = Text(u"Please select an option:") + kOptionSeparator + u"1. Remove DejaVu tags " +
                kOptionSeparator + u"2. Remove <pt> <ph> tags";
  if (!AskSelection(prompt, 1.0f, true)) return;
  // 3. Inside the office window piece by piece, or on the working text.
  switch (ToInt(prompt)) {
    case 1:
      if (context.targetWindow) {
        RunOnWordPieces(context.targetWindow, [](Text& piece) {
          RemoveBraceTags(piece);
          Trim(piece);
        });
      } else {
        RemoveBraceTags(*context.workingText);
      }
      break;
    case 2:
      if (context.targetWindow)
        RemovePtPhTagsInOfficeWindow(context.targetWindow);
      else
        RemovePtPhTags(*context.workingText);
      break;
    default:
      ShowMessage(u"Wrong operation number!", u"Notice", MessageButtons::Ok, true);
  }
}

void RemoveBraceTags(Text& text) {
  // 1 to 3. Every tag becomes a space in front of the piece that follows it. The result starts with the
  // line break that the mark cleaning puts in front, so that it need not copy the text again. It is
  // written over the text itself: three units of lead pay for that line break and the first space, and
  // every tag after that takes at least as much room as the space it becomes.
  constexpr TextView kLead = u"\r\n ";
  text.insert(0, kLead.size(), u' ');
  char16_t* const units = text.data();
  const TextView all = text;
  size_t written = 0;
  const auto out = [&](size_t from, size_t count) {
    std::char_traits<char16_t>::move(units + written, units + from, count);
    written += count;
  };
  std::char_traits<char16_t>::copy(units, kLead.data(), kLead.size());
  written = kLead.size();
  size_t pos = kLead.size();
  for (size_t open = all.find(u'{', pos); open != TextView::npos; open = all.find(u'{', pos)) {
    out(pos, open - pos);
    units[written++] = u' ';
    const size_t close = all.find(u'}', open + 1);
    if (close == TextView::npos) {
      ShowMessage(u"{} doesn't match !", u"Notice", MessageButtons::Ok, true);
      pos = open + 1;
      break;
    }
    pos = close + 1;
  }
  // 4, 5. The last piece, then marks and spacing.
  out(pos, all.size() - pos);
  text.resize(written);
  CleanMarksAfterLineBreak(text);
}

void RemovePtPhTags(Text& text) {
  Text wrongTag;
  if (!TryRemovePtPhTags(text, wrongTag)) text = kWrongTagReport + wrongTag;
}

}  // namespace scrivano
