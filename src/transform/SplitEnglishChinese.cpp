#include "transform/SplitEnglishChinese.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"
#include "text/Lists.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
#include "toolkit/CharClasses.h"
#include "toolkit/ValueAfterColon.h"
#include "transform/SpacingPunctuation.h"

namespace scrivano {
namespace {

bool IsOpeningBracket(char16_t ch) {
  return ch == u'(' || ch == 0xFF08 || ch == 0x3014;
}
bool IsClosingBracket(char16_t ch) {
  return ch == u')' || ch == 0xFF09 || ch == 0x3015;
}

// The longest foreign run a segment absorbs, plus one; a run length at the top of the integer range stays
// there instead of wrapping round.
int RunLimit(int runLength) {
  return runLength == std::numeric_limits<int>::max() ? runLength : runLength + 1;
}

char16_t FoldAscii(char16_t ch) {
  return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + 0x20) : ch;
}

bool EqualIgnoringAsciiCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

// The first character of a word, or U+0000 for an empty one.
char16_t FirstChar(TextView word) {
  return word.empty() ? u'\0' : word.front();
}

bool IsDigitsOnly(TextView line) {
  for (char16_t ch : line)
    if (ch < u'0' || ch > u'9') return false;
  return true;
}

// Where each bracket group of text ends (just after its closing bracket), by the position of its opening
// bracket, for the groups that are closed. One sweep with a stack of open brackets gives what
// SkipBracketGroup finds from each opening bracket: a group ends at the first closing bracket that brings
// its depth back to 0, which is the one that takes it off the stack.
class BracketGroups {
 public:
  explicit BracketGroups(TextView text) {
    std::vector<int> open;
    for (int i = 0; i < Length(text); ++i) {
      const char16_t ch = text[static_cast<size_t>(i)];
      if (IsOpeningBracket(ch)) {
        open.push_back(i);
      } else if (IsClosingBracket(ch) && !open.empty()) {
        ends_.emplace_back(open.back(), i + 1);
        open.pop_back();
      }
    }
    std::sort(ends_.begin(), ends_.end());
  }

  // -1 for a group that is not closed.
  int EndOf(int opening) const {
    const auto at = std::lower_bound(ends_.begin(), ends_.end(), std::make_pair(opening, 0));
    return at != ends_.end() && at->first == opening ? at->second : -1;
  }

 private:
  std::vector<std::pair<int, int>> ends_;  // opening bracket -> just after its closing bracket
};

// SkipBracketGroup(text, pos, Length(text)) with the group ends found beforehand, in a text that has moved
// by moved units since.
int SkipBracketGroup(TextView text, int pos, const BracketGroups& groups, int moved) {
  if (!IsOpeningBracket(text[static_cast<size_t>(pos)])) return pos;
  const int end = groups.EndOf(pos - moved);
  if (end >= 0) return end + moved;
  ShowMessage(Mid(text, pos, 18), u"Missing bracket !", MessageButtons::Ok, true);
  return pos;
}

// Parameters 6 and 7 as they stand when the scan begins, tested as IsWesternChar and IsNeutralChar test
// them.
class ScanClasses {
 public:
  ScanClasses()
      : parameters_(CurrentParameters()),
        western_(parameters_->Value(Param::kWesternChars)),
        neutral_(parameters_->Value(Param::kNeutralChars)) {}
  bool IsWestern(char16_t ch) const {
    return ch < 127 || (!western_.empty() && western_.find(ch) != Text::npos);
  }
  // Moves pos on by one when the character there is a whole item of parameter 7.
  bool IsNeutral(TextView text, int& pos) const {
    if (neutral_.empty() ||
        !IsListItem(neutral_, text.substr(static_cast<size_t>(pos), 1), TextView(&kTab, 1)))
      return false;
    ++pos;
    return true;
  }

 private:
  std::shared_ptr<const ParameterValues> parameters_;
  const Text& western_;
  const Text& neutral_;
};

// The piece from segStart to split, trimmed and given its language's punctuation.
Text Piece(TextView text, int segStart, int split, bool isWestern) {
  // Mid's clipping, without its copy.
  const auto first = static_cast<size_t>(std::max(segStart, 0));
  const auto count = static_cast<size_t>(std::max(split - segStart, 0));
  Text piece = first < text.size() ? Trimmed(text.substr(first, count)) : Text();
  return NormalizeSegmentPunctuation(piece, isWestern);
}

}  // namespace

void SplitEnglishChinese(Text& text, bool sameLine) {
  // 1. The text becomes the working copy; the result is built anew.
  Text s = std::move(text);
  text = Text();
  // 2. Run lengths N/M; without a "/" (or with nothing after it) M is N.
  const Text runLengths = ParameterText(Param::kSplitRunLengths);
  Text token;
  int tokenPos = 0;
  NextToken(runLengths, tokenPos, token, u"/");
  const int limitChinese = RunLimit(WideToInt(token));
  NextToken(runLengths, tokenPos, token, u"/");
  const int limitWestern = RunLimit(WideToInt(token));
  // 3. Separators: after the first, third, ... piece sepA, after the second, fourth, ... sepB.
  const Text sepA = sameLine ? u"\t" : u"\r\n";
  const Text sepB = sameLine ? u"\r\n" : u"\r\n\r\n";
  // 4, 5.
  Text listSpec = u":";
  listSpec += ParameterText(Param::kDroppedLines);
  DropListedLines(s, listSpec);
  Trim(s);
  // 6. The language of the beginning, from at most six characters.
  Text beginning = Left(s, 6);
  Replace(beginning, u"\r\n", u"");
  const bool startsWestern = IsEnglishText(beginning, u"");
  // 7, 8. One running text with clean spacing.
  const bool returnAsSpace = AskYesNo(u"Replace RETURN with SPACE ? (if No, with EMPTY STRING)", u"Notice");
  ReplaceUntilNone(s, u"\r\n", returnAsSpace ? u" " : u"");
  NormalizeSpacing(s, false);

  // 9. The result is written over s itself, behind the scan. The unit just before the unread text stays
  //    as it was, for the look back of step 10.7. A piece that would reach it moves the unread text up by
  //    at least a sixteenth of the text, so such moves stay few; positions found before a move are
  //    translated by how far the text has moved since.
  int length = Length(s);
  const BracketGroups groups(s);
  const ScanClasses classes;
  int moved = 0;
  size_t written = 0;
  const auto emit = [&](const Text& piece, TextView separator, int& unread) {
    const size_t size = piece.size() + separator.size();
    const auto keepFrom = static_cast<size_t>(std::max(unread - 1, 0));
    if (written + size > keepFrom) {
      const size_t spare = s.capacity() - s.size();
      const size_t room = std::max(written + size - keepFrom, std::min(s.size() / 16 + 16, spare));
      const size_t tail = s.size() - keepFrom;
      s.resize(s.size() + room);
      std::char_traits<char16_t>::move(s.data() + keepFrom + room, s.data() + keepFrom, tail);
      unread += static_cast<int>(room);
      length += static_cast<int>(room);
      moved += static_cast<int>(room);
    }
    std::char_traits<char16_t>::copy(s.data() + written, piece.data(), piece.size());
    std::char_traits<char16_t>::copy(s.data() + written + piece.size(), separator.data(), separator.size());
    written += size;
  };
  int pos = 0;
  int segStart = 0;
  bool curWestern = startsWestern;
  bool first = true;
  // 10. The scan.
  while (pos < length) {
    // 10.1 A bracketed group inside a Chinese segment is passed over whole.
    if (!curWestern) {
      pos = SkipBracketGroup(s, pos, groups, moved);
      if (pos >= length) break;
    }
    // 10.2, 10.3 Same language, or a neutral character: no change.
    const bool western = classes.IsWestern(s[static_cast<size_t>(pos)]);
    if (western == curWestern) {
      ++pos;
      continue;
    }
    if (classes.IsNeutral(s, pos)) continue;
    // 10.4 How long is the foreign run?
    const int limit = curWestern ? limitWestern : limitChinese;
    int count = 1;
    int q = pos + 1;
    while (count < limit) {
      if (q >= length) break;
      if (classes.IsNeutral(s, q)) continue;
      if (classes.IsWestern(s[static_cast<size_t>(q)]) == curWestern) break;
      ++count;
      ++q;
    }
    // 10.5, 10.6 A run that reaches the end, or a short one, is no change of language.
    if (q == length) break;
    if (count < limit) {
      pos = q;
      continue;
    }
    // 10.7 An opening quotation mark or parenthesis goes with the new segment, a closing parenthesis
    // stays with the old one. A split at 0 or 1 (only possible at the very start of the text) stays
    // where the scan found it.
    int split = pos;
    if (pos - moved >= 2) {
      const char16_t before = s[static_cast<size_t>(pos - 1)];
      if (before == 0x201C || before == 0xFF08 || before == u'(')
        split = pos - 1;
      else if (s[static_cast<size_t>(pos)] == u')')
        split = pos + 1;
    }
    // 10.8
    if (startsWestern && curWestern) KeepTrailingTerm(s, segStart, split);
    // 10.9, 10.10
    const int before = split;
    emit(Piece(s, segStart, split, curWestern), first ? sepA : sepB, split);
    q += split - before;
    segStart = split;
    curWestern = western;
    pos = q;
    first = !first;
  }
  // 11. The last piece: nothing is left to read but what it copied.
  const Text last = Piece(s, segStart, length, curWestern);
  s.resize(std::max(s.size(), written + last.size() + 2));
  std::char_traits<char16_t>::copy(s.data() + written, last.data(), last.size());
  written += last.size();
  s.resize(written);
  s += u"\r\n";
  text = std::move(s);
}

void DropListedLines(Text& text, TextView listSpec) {
  // 1.
  Text list;
  if (!ValueAfterColon(listSpec, list, false)) return;
  // 2, 3.
  const bool deleteNumbers = AskYesNo(u"Delete number-only lines ?", u"Notice");
  // 4. Lines are compared as they stand, untrimmed. The kept ones are written over the text itself, each
  //    after a "\r\n": two units of lead pay for the first, the line break after each line for the rest.
  constexpr size_t kLead = 2;
  text.insert(0, kLead, u' ');
  char16_t* const units = text.data();
  const TextView all = text;
  const int length = Length(all);
  size_t written = 0;
  int from = static_cast<int>(kLead);
  while (true) {
    const int at = Find(all, kLineBreak, from);
    const int end = at < 0 ? length : at;
    const TextView line = all.substr(static_cast<size_t>(from), static_cast<size_t>(end - from));
    if (!IsListItem(list, line, u"\t") && !(deleteNumbers && IsDigitsOnly(line))) {
      std::char_traits<char16_t>::copy(units + written, kLineBreak, 2);
      std::char_traits<char16_t>::move(units + written + 2, line.data(), line.size());
      written += 2 + line.size();
    }
    if (at < 0 || at + 2 >= length) break;
    from = at + 2;
  }
  text.resize(written);
}

int SkipBracketGroup(TextView text, int pos, int end) {
  // 1.
  if (pos < 0 || pos >= Length(text) || !IsOpeningBracket(text[static_cast<size_t>(pos)])) return pos;
  // 2, 3. Any closing bracket closes any opening one.
  const int start = pos;
  int depth = 1;
  ++pos;
  end = std::min(end, Length(text));
  while (pos < end) {
    const char16_t ch = text[static_cast<size_t>(pos)];
    if (IsOpeningBracket(ch)) {
      ++depth;
      ++pos;
      continue;
    }
    if (IsClosingBracket(ch)) --depth;
    ++pos;
    if (depth == 0) return pos;
  }
  // 4. Not closed: the bracket is scanned as an ordinary character.
  ShowMessage(Mid(text, start, 18), u"Missing bracket !", MessageButtons::Ok, true);
  return start;
}

void KeepTrailingTerm(TextView text, int segStart, int& split) {
  if (split < 2) return;
  const auto at = [&text](int i) { return text[static_cast<size_t>(i)]; };
  // 1. The last word: after the last space before the segment's last character.
  int space = split - 2;
  while (space > segStart && at(space) != u' ') --space;
  if (space <= segStart) return;
  const int w0 = space + 1;
  const Text lastWord = Trimmed(Mid(text, w0, split - w0));
  // 2. The first word, ended by a space or a "-" (which it keeps).
  int firstEnd = segStart + 1;
  while (firstEnd < w0 && at(firstEnd) != u' ' && at(firstEnd) != u'-') ++firstEnd;
  if (firstEnd >= w0) return;
  Text firstWord = Trimmed(Mid(text, segStart, firstEnd - segStart));
  if (at(firstEnd) == u'-') firstWord += u'-';
  // 3. The first word again.
  if (EqualIgnoringAsciiCase(firstWord, lastWord)) {
    split = w0;
    return;
  }
  // 4. A number of hours.
  if (Mid(text, split, 2) == u"\u5C0F\u65F6" && IsNumberText(lastWord)) {
    split = w0;
    return;
  }
  // 5, 6. A single letter with the first word's initial.
  if (FoldAscii(FirstChar(firstWord)) != FoldAscii(FirstChar(lastWord))) return;
  if (lastWord.size() == 1) {
    split = w0;
    return;
  }
  // 7. The initials of the segment's words.
  int next = firstEnd + 1;
  for (size_t k = 1; k < lastWord.size(); ++k) {
    if (k > 1) {
      const int nextSpace = Find(text, u' ', next);
      next = nextSpace < 0 || nextSpace >= w0 ? w0 : nextSpace + 1;
    }
    if (next >= w0) return;
    if (FoldAscii(at(next)) != FoldAscii(lastWord[k])) return;
  }
  split = w0;
}

}  // namespace scrivano
