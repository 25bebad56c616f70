#include "transform/TagCleaning.h"

#include <map>
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

// One pass over the "<ptN>" ... "</ptN>" pairs of text: each pair is replaced by its content. Returns
// false at the first wrong tag, with wrongTag holding it; text is then unchanged. contentRemoved tells
// whether any pair of the pass had content (its inside may hold pairs for the next pass).
bool RemovePairedTagsOnce(Text& text, Text& wrongTag, bool& contentRemoved) {
  contentRemoved = false;
  int tagStart = Find(text, u"<pt");
  if (tagStart < 0) return true;
  Text rebuilt;
  rebuilt.reserve(text.size());
  int pos = 0;
  for (; tagStart >= 0; tagStart = Find(text, u"<pt", pos)) {
    const int numberStart = tagStart + 3;
    const int tagEnd = Find(text, u'>', numberStart);
    if (tagEnd < 0) {
      wrongTag = MidFrom(text, tagStart);
      return false;
    }
    const Text number = Mid(text, numberStart, tagEnd - numberStart);
    if (!IsTagNumber(number)) {
      wrongTag = Mid(text, tagStart, tagEnd - tagStart);
      return false;
    }
    const Text closingTag = u"</pt" + number + u">";
    const int closing = Find(text, closingTag, tagEnd + 1);
    if (closing < 0) {
      wrongTag = MidFrom(text, tagStart);
      return false;
    }
    // The piece before the pair, then the pair's content.
    rebuilt.append(text, static_cast<size_t>(pos), static_cast<size_t>(tagStart - pos));
    rebuilt.append(text, static_cast<size_t>(tagEnd + 1), static_cast<size_t>(closing - tagEnd - 1));
    contentRemoved = contentRemoved || closing > tagEnd + 1;
    pos = closing + Length(closingTag);
  }
  rebuilt.append(text, static_cast<size_t>(pos));
  text.swap(rebuilt);
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

// The paired tags of a text in which every "<" begins a well-formed tag: "<ptN>", "</ptN>" or "<phN/>"
// (N a run of digits, maybe empty). Such a text keeps that property as whole tags are removed, so no tag
// ever forms where two pieces meet, and the passes of RemovePairedTagsOnce can be played on positions in
// the text as it is: each pass takes the openings from left to right, pairs each with the first closing
// of its number after it and goes on after that closing, just as a pass over the rebuilt text does, but
// without rebuilding or searching the text again, however deep the pairs nest.
class PairedTags {
 public:
  // False when some "<" begins no well-formed tag.
  bool Read(TextView text) {
    for (size_t at = text.find(u'<'); at != TextView::npos; at = text.find(u'<', at + 1)) {
      const bool closing = at + 1 < text.size() && text[at + 1] == u'/';
      const size_t name = at + (closing ? 2 : 1);
      if (text.substr(name, 2) != u"pt" && (closing || text.substr(name, 2) != u"ph")) return false;
      const bool placeholder = text[name + 1] == u'h';
      size_t end = name + 2;
      while (end < text.size() && text[end] >= u'0' && text[end] <= u'9') ++end;
      const Text number(text.substr(name + 2, end - name - 2));
      if (placeholder) {
        if (text.substr(end, 2) != u"/>") return false;
        continue;
      }
      if (end >= text.size() || text[end] != u'>') return false;
      const int start = static_cast<int>(at);
      if (closing)
        closings_[number].emplace(start, static_cast<int>(end + 1));
      else
        openings_.emplace(start, std::make_pair(static_cast<int>(end + 1), number));
    }
    removed_.assign(text.size() + 1, 0);
    removedChars_.assign(text.size(), 0);
    return true;
  }

  // One pass; false with wrongTag at an opening without its closing.
  bool RemoveOnce(TextView text, Text& wrongTag, bool& contentRemoved) {
    contentRemoved = false;
    int pos = 0;
    for (auto opening = openings_.lower_bound(pos); opening != openings_.end();
         opening = openings_.lower_bound(pos)) {
      const auto [start, endAndNumber] = *opening;
      const auto& [end, number] = endAndNumber;
      auto& sameNumber = closings_[number];
      const auto closing = sameNumber.lower_bound(end);
      if (closing == sameNumber.end()) {
        wrongTag = Remaining(text, start);
        return false;
      }
      const auto [closingStart, closingEnd] = *closing;
      contentRemoved = contentRemoved || RemovedBetween(end, closingStart) < closingStart - end;
      Remove(start, end);
      Remove(closingStart, closingEnd);
      pos = closingEnd;
      sameNumber.erase(closing);
      openings_.erase(opening);
    }
    return true;
  }

  // The text without the removed tags.
  Text Remaining(TextView text, int from) const {
    Text kept;
    for (int i = from; i < static_cast<int>(text.size()); ++i)
      if (!IsRemoved(i)) kept += text[static_cast<size_t>(i)];
    return kept;
  }

 private:
  // removed_ is a Fenwick tree of removed characters by position; removedChars_ marks each.
  void Remove(int start, int end) {
    for (int i = start; i < end; ++i) {
      removedChars_[static_cast<size_t>(i)] = 1;
      for (size_t k = static_cast<size_t>(i) + 1; k < removed_.size(); k += k & (~k + 1)) ++removed_[k];
    }
  }
  int RemovedBefore(int at) const {
    int sum = 0;
    for (size_t k = static_cast<size_t>(at); k > 0; k -= k & (~k + 1)) sum += removed_[k];
    return sum;
  }
  int RemovedBetween(int from, int to) const { return RemovedBefore(to) - RemovedBefore(from); }
  bool IsRemoved(int at) const { return removedChars_[static_cast<size_t>(at)] != 0; }

  std::map<int, std::pair<int, Text>> openings_;  // start -> end, number
  std::map<Text, std::map<int, int>> closings_;   // number -> start -> end
  std::vector<int> removed_;
  std::vector<char> removedChars_;
};

// The tag removal of RemovePtPhTags. Returns false at the first wrong tag, with wrongTag holding it; text
// is then unchanged.
bool TryRemovePtPhTags(Text& text, Text& wrongTag) {
  Text work = text;
  // 1, 2. Paired tags, pass after pass: a pair's content may hold further pairs.
  bool contentRemoved = true;
  PairedTags tags;
  if (tags.Read(work)) {
    while (contentRemoved)
      if (!tags.RemoveOnce(work, wrongTag, contentRemoved)) return false;
    work = tags.Remaining(work, 0);
  } else {
    while (contentRemoved)
      if (!RemovePairedTagsOnce(work, wrongTag, contentRemoved)) return false;
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
  // line break that the mark cleaning puts in front, so that it need not copy the text again.
  Text result = u"\r\n";
  result.reserve(text.size() + 2);
  size_t pos = 0;
  for (size_t open = text.find(u'{'); open != Text::npos; open = text.find(u'{', pos)) {
    result += u' ';
    result.append(text, pos, open - pos);
    const size_t close = text.find(u'}', open + 1);
    if (close == Text::npos) {
      ShowMessage(u"{} doesn't match !", u"Notice", MessageButtons::Ok, true);
      pos = open + 1;
      break;
    }
    pos = close + 1;
  }
  // 4, 5. The last piece, then marks and spacing.
  result += u' ';
  result.append(text, pos);
  CleanMarksAfterLineBreak(result);
  text.swap(result);
}

void RemovePtPhTags(Text& text) {
  Text wrongTag;
  if (!TryRemovePtPhTags(text, wrongTag)) text = kWrongTagReport + wrongTag;
}

}  // namespace scrivano
