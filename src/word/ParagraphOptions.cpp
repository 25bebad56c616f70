#include "word/ParagraphOptions.h"

#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"
#include "text/Pieces.h"
#include "toolkit/CharClasses.h"
#include "toolkit/TextFiles.h"
#include "word/ParagraphWalk.h"

namespace scrivano {
namespace {

constexpr char16_t kSoftReturn = 0x000B;
constexpr char16_t kPictureChar = 0x0001;
constexpr int kDigitKind = 2;   // IsNumberChar: the ASCII digits
constexpr int kNumberKind = 3;  // digits, signs, separators, per cent, ...
// Option 5 looks for the soft return that ends the source in this first part of the paragraph.
constexpr double kSourceShare = 0.84;
// A paragraph at most this long counts as short (options 5 and 6).
constexpr int kShortParagraph = 30;
// Options 5 and 6 mark the target's first line with this many more characters of indent.
constexpr float kTargetIndentStep = 2.0f;

void Notice(TextView text) {
  ShowMessage(text, u"Notice", MessageButtons::Ok, true);
}

void IndentFirstLineFurther(WordConnection& word) {
  word.paragraph->SetCharacterUnitFirstLineIndent(word.paragraph->CharacterUnitFirstLineIndent() +
                                                  kTargetIndentStep);
}

// Whether the paragraph starting at start may be joined to the one before it: that one is an ordinary
// paragraph (a cell's or row's end mark cannot go) in the same cell, or like it outside any table.
bool JoinsPrevious(WordConnection& word, int start) {
  word::Story& story = *word.document->MainStory();
  const int index = story.ParagraphIndexAt(start);
  if (index <= 0) return false;
  const word::StoryParagraph& previous = story.ParagraphAt(index - 1);
  return previous.kind == word::ParagraphKind::kParagraph &&
         previous.node.parent() == story.ParagraphAt(index).node.parent();
}

void RemoveMarkers(WordConnection& word) {
  word.range = word.document->Content();
  word.RemoveMarkerParagraphs();
}

}  // namespace

bool ConnectBrokenLines(WordConnection& word, TextView path) {
  const bool withSpace =
      AskYesNo(u"Connect broken lines with Space? (If No, with nothing.)", FilePart(path, 1));
  const Text joiner = withSpace ? u" " : u"";
  if (!OpenForOption(word, path)) return false;
  float previousIndent = -1.0f;  // negative: no run to join to
  float previousSize = 0.0f;
  WalkRegionParagraphs(word, [&](WalkedParagraph& paragraph) {
    if (!paragraph.follows) previousIndent = -1.0f;  // a run does not reach over a marker paragraph
    const Text trimmed = Trimmed(paragraph.text);
    if (Length(trimmed) < 2) {
      previousIndent = -1.0f;
      return;
    }
    if (previousIndent < 0.0f) {
      // A short paragraph that begins with a digit (a heading number, a page number) starts no run.
      if (!IsNumberChar(trimmed[0], kDigitKind) || paragraph.length - 1 > 50) {
        previousIndent = word.paragraph->LeftIndent();
        previousSize = word.range->Font()->Size();
      }
      return;
    }
    const float indent = word.paragraph->LeftIndent();
    const float size = word.range->Font()->Size();
    if (size == previousSize && previousIndent >= indent && JoinsPrevious(word, paragraph.start)) {
      word.selection->SetRange(paragraph.start - 1, paragraph.start);
      word.selection->SetText(joiner);
    }
    previousIndent = indent;
    previousSize = size;
  });
  FinishFileOption(word);
  return true;
}

bool DuplicateSourceByParagraph(WordConnection& word, TextView path) {
  Text answer = u"Please set a separator: ";
  for (const char16_t* option : {u"1. Hard Return", u"2. Soft Return", u"3. Spaces"})
    answer += kOptionSeparator + Text(option);
  if (!AskSelection(answer)) return false;
  // A view of constant text: assigning short literals to a Text here led GCC 12 to a spurious
  // overlapping-copy warning at -O2.
  static constexpr char16_t kSoftReturnText[] = {kSoftReturn, 0};
  TextView separator;
  switch (ToInt(answer)) {
    case 1:
      separator = u"\n";
      break;
    case 2:
      separator = kSoftReturnText;
      break;
    case 3:
      separator = u"   ";
      break;
    default:
      Notice(u"Wrong operation number!");
      return false;
  }
  if (!OpenForOption(word, path)) return false;
  WalkRegionParagraphs(word, [&](WalkedParagraph& paragraph) {
    Text text = paragraph.text;
    if (text.ends_with(u'\r')) text.pop_back();
    if (Length(Trimmed(text)) <= 3) return;
    // The copy goes in front of the paragraph's mark; in a table cell in front of the cell's end.
    word.selection->SetRange(paragraph.end, paragraph.end + 1);
    if (paragraph.cell)
      word.selection->InsertAfter(Text(separator) + text);
    else
      word.selection->InsertBefore(Text(separator) + text);
  });
  FinishFileOption(word);
  return true;
}

bool DeleteSourceInParagraph(WordConnection& word, TextView path) {
  if (!OpenForOption(word, path)) return false;
  int previousIndent = 0, currentIndent = 0;
  WalkRegionParagraphs(word, [&](WalkedParagraph& paragraph) {
    if (Length(Trimmed(paragraph.text)) < 2) return;
    previousIndent = currentIndent;
    currentIndent = static_cast<int>(word.paragraph->LeftIndent());
    const int start = paragraph.start, length = paragraph.length;
    // The last soft return within the first 84 %, not the first character.
    for (int at = static_cast<int>(length * kSourceShare + start) - 1; start < at; --at) {
      if (paragraph.text[static_cast<size_t>(at - start)] != kSoftReturn) continue;
      word.selection->SetRange(start, at + 1);
      word.selection->SetText(u"");
      const int remaining = length - (at + 1 - start);
      if (!(remaining <= kShortParagraph && previousIndent < currentIndent)) IndentFirstLineFurther(word);
      break;
    }
  });
  RemoveMarkers(word);
  FinishFileOption(word);
  return true;
}

bool DeleteSourceParagraphs(WordConnection& word, TextView path) {
  if (!OpenForOption(word, path)) return false;
  bool nextIsTarget = false;
  int previousIndent = 0;
  WalkRegionParagraphs(word, [&](WalkedParagraph& paragraph) {
    const Text trimmed = Trimmed(paragraph.text);
    if (trimmed.empty() || trimmed[0] == kPictureChar) return;
    if (!nextIsTarget) {
      word.selection->SetRange(paragraph.start, paragraph.end + 1);
      word.selection->SetText(u"");
    } else {
      const int indent = static_cast<int>(word.paragraph->LeftIndent());
      if (paragraph.length > kShortParagraph || previousIndent >= indent) IndentFirstLineFurther(word);
      previousIndent = indent;
    }
    nextIsTarget = !nextIsTarget;
  });
  RemoveMarkers(word);
  FinishFileOption(word);
  return true;
}

bool HighlightNumbers(WordConnection& word, TextView path) {
  if (!OpenForOption(word, path)) return false;
  WalkRegionParagraphs(word, [&](WalkedParagraph& paragraph) {
    const Text& text = paragraph.text;
    if (Length(Trimmed(text)) <= 1) return;
    auto isNumber = [&](size_t at) { return text[at] != 0 && IsNumberChar(text[at], kNumberKind); };
    for (size_t from = 0; from < text.size();) {
      if (!isNumber(from)) {
        ++from;
        continue;
      }
      size_t to = from + 1;
      while (to < text.size() && isNumber(to)) ++to;
      // A lone sign or separator is not a number.
      if (to - from > 1 || IsNumberChar(text[from], kDigitKind)) {
        word.selection->SetRange(paragraph.start + static_cast<int>(from),
                                 paragraph.start + static_cast<int>(to));
        word.selection->Font()->SetColor(kHighlightBlue);
      }
      from = to;
    }
  });
  word.HighlightPhrases(ParameterText(Param::kHighlightPhrases));
  FinishFileOption(word);
  return true;
}

}  // namespace scrivano
