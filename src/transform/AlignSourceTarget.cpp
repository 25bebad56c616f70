#include "transform/AlignSourceTarget.h"

#include "prompt/SelectionPrompt.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
#include "toolkit/CharClasses.h"
#include "toolkit/Sections.h"

namespace scrivano {
namespace {

constexpr char16_t kNotInPairsCaption[] = u"Source and target are not in pairs!";
constexpr char16_t kAbnormalBanner[] =
    u"\r\n====================  Above are abnormal pairs  ====================\r\n";
constexpr char16_t kGlossarySeparator[] = u"\r\n\r\n=========================\r\n";
constexpr char16_t kSegmentStart[] = u"<seg>";
constexpr char16_t kSegmentEnd[] = u"</seg>";
constexpr char16_t kEmDash = 0x2014;

// Where a glossary line is cut: / [ 【 〖 丨 ] 】 〗.
constexpr char16_t kGlossarySplitMarks[] = u"/[\u3010\u3016\u4E28]\u3011\u3017";
constexpr char16_t kGlossaryClosingMarks[] = u"]\u3011\u3017)";

Text AlignPrompt() {
  Text prompt = u"Please select an option:";
  for (const char16_t* option : {u"1. Source + Return + Target -> Source + Tab + Target",
                                 u"2. Source + Tab + Target -> Source + Return + Target",
                                 u"3. Src file + ===== + Trg file  -> Source + Tab + Target",
                                 u"4. TMX format  -> Source + Tab + Target"}) {
    prompt += kOptionSeparator;
    prompt += option;
  }
  return prompt;
}

void ShowWrongOperationNumber() {
  ShowMessage(u"Wrong operation number!", u"Notice", MessageButtons::Ok, true);
}

// Appends one pair in layout; a layout outside 1 to 4 is reported and appends nothing.
void AppendPair(Text& result, TextView source, TextView target, int layout) {
  switch (layout) {
    case PairLayout::kSourceAboveTarget:
      result.append(u"\r\n").append(source).append(u"\r\n").append(target).append(u"\r\n");
      break;
    case PairLayout::kSourceTabTarget:
      result.append(u"\r\n").append(source).append(1, u'\t').append(target);
      break;
    case PairLayout::kTargetAboveSource:
      result.append(u"\r\n").append(target).append(u"\r\n").append(source).append(u"\r\n");
      break;
    case PairLayout::kTargetTabSource:
      result.append(u"\r\n").append(target).append(1, u'\t').append(source);
      break;
    default:
      ShowWrongOperationNumber();
      break;
  }
}

// Glossary step 1: a line with an em dash whose first or last word is a number is a page reference.
bool IsNumberedDashLine(TextView line) {
  if (Find(line, kEmDash) < 0) return false;
  const Text firstWord = Left(line, Find(line, u' '));
  const Text lastWord = MidFrom(line, FindLast(line, u' ') + 1);
  return IsNumberText(firstWord) || IsNumberText(lastWord);
}

// Glossary step 2: the smallest index of any split mark, -1 when none occurs.
int FirstSplitMark(TextView line) {
  const size_t at = line.find_first_of(kGlossarySplitMarks);
  return at == TextView::npos ? -1 : static_cast<int>(at);
}

}  // namespace

void ReportNotInPairs(TextView source, TextView target) {
  ShowMessage(u"Source: " + Text(source) + u"\r\n\r\nTarget: " + Text(target), kNotInPairsCaption,
              MessageButtons::Ok, true);
}

bool AskAlignOption(int& option) {
  Text answer = AlignPrompt();
  if (!AskSelection(answer, 1.0f, true)) return false;
  option = WideToInt(answer);
  return true;
}

void AlignSourceTarget(Text& text) {
  int option = 0;
  if (!AskAlignOption(option)) return;
  switch (option) {
    case 1:
      text = ReturnPairsToTabPairs(text);
      break;
    case 2:
      text = TabPairsToReturnPairs(text);
      break;
    case 3:
      text = PairSections(text, PairLayout::kSourceAboveTarget);
      text = ReturnPairsToTabPairs(text);
      break;
    case 4:
      TmxToTabPairs(text);
      break;
    case 5:
      GlossaryToTabPairs(text);
      break;
    default:
      ShowWrongOperationNumber();
      break;
  }
}

Text ReturnPairsToTabPairs(TextView text) {
  Text result;
  result.reserve(text.size() + text.size() / 8 + 4);
  Text source;
  Text target;
  int pos = 0;
  do {
    if (!NextNonBlankLine(text, source, pos)) break;
    // pos == 0 here means the source was the last line: there is nothing left to pair it with.
    if (pos == 0 || !NextNonBlankLine(text, target, pos)) {
      ReportNotInPairs(source, u"");
      break;
    }
    result.append(u"\r\n").append(source).append(1, u'\t').append(target);
  } while (pos != 0);
  return result;
}

Text TabPairsToReturnPairs(TextView text) {
  Text normal;
  normal.reserve(text.size() + text.size() / 2 + 8);
  Text abnormal;
  Text line;
  Text source;
  int pos = 0;
  do {
    if (!NextNonBlankLineSkipping(text, pos, line, true)) break;
    int tabPos = 0;
    NextTokenByChar(line, tabPos, source, u'\t');
    // Without a tab the position stays 0 and the target is the whole line, equal to the source.
    const Text target = MidFrom(line, tabPos);
    Text& collection = Find(target, u'\t') >= 0 || source == target ? abnormal : normal;
    collection.append(u"\r\n").append(source).append(u"\r\n").append(target).append(u"\r\n");
  } while (pos != 0);
  if (abnormal.empty()) return normal;
  abnormal.reserve(abnormal.size() + TextView(kAbnormalBanner).size() + normal.size());
  abnormal.append(kAbnormalBanner).append(normal);
  return abnormal;
}

Text PairSections(TextView text, int layout) {
  // 1. The source section ends with the first "=====" line; the target section is the next one. Without
  //    a separator the second call reports it and the target section stays empty.
  Text sourceSection;
  Text targetSection;
  int pos = 0;
  NextSection(text, sourceSection, &pos);
  NextSection(text, targetSection, &pos);
  return PairLines(sourceSection, targetSection, layout);
}

Text PairLines(TextView sourceSide, TextView targetSide, int layout) {
  Text result;
  const size_t sides = sourceSide.size() + targetSide.size();
  result.reserve(sides + sides / 4 + 8);
  Text source;
  Text target;
  int sourcePos = 0;
  int targetPos = 0;
  do {
    // 2. The next non-blank line of each side, lines beginning with "*****" passed over.
    const bool hasSource = NextNonBlankLineSkipping(sourceSide, sourcePos, source, true);
    const bool hasTarget = NextNonBlankLineSkipping(targetSide, targetPos, target, true);
    // 3. One side ran out before the other.
    if (hasSource != hasTarget) {
      ReportNotInPairs(source, target);
      break;
    }
    // 4. Both yielded a line.
    if (hasSource) AppendPair(result, source, target, layout);
    // 5. The walk ends as soon as either side has delivered its last line.
  } while (sourcePos != 0 && targetPos != 0);
  return result;
}

void TmxToTabPairs(Text& text) {
  // The pairs are written over the text itself: each segment's content moves down, and the "<seg>" in
  // front of it (five units) leaves room for the "\r\n" or the tab that takes its place.
  char16_t* const units = text.data();
  const TextView all = text;
  size_t written = 0;
  const auto out = [&](TextView piece) {
    std::char_traits<char16_t>::move(units + written, piece.data(), piece.size());
    written += piece.size();
  };
  // The next segment's content from pos on, and pos after its "</seg>"; false when either marker is
  // missing. A text that ends with its last "</seg>" keeps its last pair.
  const TextView start = kSegmentStart, end = kSegmentEnd;
  const auto nextSegment = [&](int& pos, TextView& content, bool& started) {
    started = false;
    const int at = Find(all, start, pos);
    if (at < 0) return false;
    started = true;
    const int contentStart = at + Length(start);
    const int close = Find(all, end, contentStart);
    if (close < 0) return false;
    content = all.substr(static_cast<size_t>(contentStart), static_cast<size_t>(close - contentStart));
    pos = close + Length(end);
    return true;
  };
  int pos = 0;
  TextView source, target;
  bool started = false;
  while (true) {
    if (!nextSegment(pos, source, started)) {
      text.resize(written);
      if (started) ShowNotice(u"Something wrong!");
      return;
    }
    out(u"\r\n");
    out(source);
    if (!nextSegment(pos, target, started)) {
      text.resize(written);
      ShowNotice(u"Something wrong!");
      return;
    }
    out(u"\t");
    out(target);
  }
}

void GlossaryToTabPairs(Text& text) {
  Text output;
  output.reserve(text.size() + text.size() / 8 + 8);
  Text abnormal;
  Text line;
  int pos = 0;
  do {
    if (!NextNonBlankLine(text, line, pos)) break;
    if (IsNumberedDashLine(line)) continue;
    const int split = FirstSplitMark(line);
    if (split <= 1 || !IsEnglishText(Left(line, split), u"")) {
      output += line;  // continues the previous output line
      continue;
    }
    const char16_t mark = line[static_cast<size_t>(split)];
    if (mark == u'/') {
      output.append(u"\r\n").append(Left(line, split)).append(1, u'\t').append(MidFrom(line, split + 1));
    } else if (Find(kGlossaryClosingMarks, mark) >= 0) {
      abnormal.append(u"\r\n").append(line);
    } else {
      output.append(u"\r\n").append(Left(line, split)).append(1, u'\t').append(MidFrom(line, split));
    }
  } while (pos != 0);
  text = abnormal.empty() ? std::move(output) : abnormal + kGlossarySeparator + output;
}

}  // namespace scrivano
