#include "transform/TradosFormats.h"

#include "prompt/SelectionPrompt.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
#include "toolkit/CharClasses.h"
#include "transform/AlignSourceTarget.h"

namespace scrivano {
namespace {

constexpr char16_t kSentenceEnd[] = u". ";

Text LayoutPrompt() {
  Text prompt = u"Please select an option:";
  for (const char16_t* option : {u"1. Up down", u"2. Left right", u"3. Down up", u"4. Right left "}) {
    prompt += kOptionSeparator;
    prompt += option;
  }
  return prompt;
}

void AppendSegment(Text& result, TextView sentence) {
  result.append(kSegmentOpen).append(sentence).append(kSegmentMiddle).append(sentence).append(kSegmentClose);
}

void GenerateLine(Text& result, TextView line) {
  int start = 0;
  while (true) {
    const int stop = Find(line, kSentenceEnd, start);
    // The sentence keeps its full stop; the space after it becomes the separator.
    const Text sentence = stop >= 0 ? Mid(line, start, stop + 1 - start) : MidFrom(line, start);
    if (Trimmed(sentence).empty()) {
      result += sentence;
      return;
    }
    AppendSegment(result, sentence);
    if (stop < 0) return;
    result += u' ';
    start = stop + 2;
  }
}

void ReportWrongFormat(TextView line) {
  ShowMessage(line, u"Wrong Trados format", MessageButtons::Ok, true);
}

// Appends one line's side to result (after the caller's "\r\n"); reports a line whose markup breaks off.
void ExtractLineSide(Text& result, TextView line, bool wantSource, TextView joiner) {
  const int length = Length(line);
  const int openLength = Length(kSegmentOpen);
  const int middleLength = Length(kSegmentMiddle);
  int from = 0;
  do {
    // 1. The text before the next segment goes to both sides.
    const int open = Find(line, kSegmentOpen, from);
    const int before = open < 0 ? length : open;
    result.append(joiner).append(
        Trimmed(line.substr(static_cast<size_t>(from), static_cast<size_t>(before - from))));
    // 2. No further segment: the line is done.
    if (open < 0) return;
    // 3.-4. The source runs up to "<}0{>".
    const int sourceStart = open + openLength;
    const int middle = Find(line, kSegmentMiddle, sourceStart);
    if (middle < 0) {
      ReportWrongFormat(line);
      return;
    }
    if (wantSource)
      result.append(line.substr(static_cast<size_t>(sourceStart), static_cast<size_t>(middle - sourceStart)));
    // 5.-6. The target runs up to "<0}".
    const int close = Find(line, kSegmentClose, middle);
    if (close < 0) {
      ReportWrongFormat(line);
      return;
    }
    const int targetStart = middle + middleLength;
    if (!wantSource) {
      result.append(joiner).append(
          line.substr(static_cast<size_t>(targetStart), static_cast<size_t>(close - targetStart)));
    }
    // 7. On past the segment while the line goes on.
    from = close + Length(kSegmentClose);
  } while (from < length);
}

}  // namespace

Text GenerateTradosFormat(TextView text) {
  Text result;
  result.reserve(text.size() * 2 + text.size() / 4 + 2);
  Text line;
  int pos = 0;
  do {
    NextToken(text, pos, line, kLineBreak);
    GenerateLine(result, line);
    result += kLineBreak;
  } while (pos != 0);
  return result;
}

Text ExtractTradosSide(TextView text, bool wantSource) {
  // 1. One language decision for the whole text, from everything before the first "<}0{>".
  const bool english = IsEnglishText(text, kSegmentMiddle);
  const TextView joiner = wantSource == english ? u" " : u"";
  // 2. Every line, even an empty one, contributes "\r\n" and at least the joiner.
  Text result;
  result.reserve(text.size() + text.size() / 8);
  Text line;
  int pos = 0;
  do {
    NextToken(text, pos, line, kLineBreak);
    result += kLineBreak;
    ExtractLineSide(result, line, wantSource, joiner);
  } while (pos != 0);
  return result;
}

Text TradosToPairs(TextView text, int layout) {
  // The sides are paired directly rather than joined behind a "=====" line and cut apart again, so that
  // a "=====" in the document itself cannot be taken for the separator.
  return PairLines(ExtractTradosSide(text, true), ExtractTradosSide(text, false), layout);
}

bool TradosToSegmentation(Text& text) {
  // The window at the list's corner is taken before the question, as the user left it.
  const WindowHandle officeWindow = OfficeWindowAtListCorner(false);
  // A cancelled question hands back the empty text.
  Text answer = LayoutPrompt();
  if (!AskSelection(answer, 1.0f, true)) {
    text.clear();
    return false;
  }
  // An answer outside the four layouts means the first.
  int layout = WideToInt(answer);
  if (layout < PairLayout::kSourceAboveTarget || layout > PairLayout::kTargetTabSource)
    layout = PairLayout::kSourceAboveTarget;
  if (!officeWindow) {
    text = TradosToPairs(text, layout);
    return false;
  }
  // Over an office window its content is converted in place; there is nothing to hand back.
  RunOnWordPieces(officeWindow, [layout](Text& piece) {
    piece = TradosToPairs(piece, layout);
    Trim(piece);
  });
  return true;
}

void RunOnWordPieces(WindowHandle wordWindow, const PieceConversion& convert) {
  RequireDesktop("Working inside the office window").RunOnWordPieces(wordWindow, convert);
}

}  // namespace scrivano
