#include "transform/TagCleaning.h"

#include "app/SelectionPrompt.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
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
  Text rebuilt;
  Text held;
  int pos = 0;
  contentRemoved = false;
  while (NextTokenFound(text, held, pos, u"<pt")) {
    const int tagStart = pos - 3;
    const int tagEnd = Find(text, u'>', pos);
    if (tagEnd < 0) {
      wrongTag = MidFrom(text, tagStart);
      return false;
    }
    const Text number = Mid(text, pos, tagEnd - pos);
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
    rebuilt += held;
    rebuilt += Mid(text, tagEnd + 1, closing - tagEnd - 1);
    contentRemoved = contentRemoved || closing > tagEnd + 1;
    pos = closing + Length(closingTag);
  }
  rebuilt += held;  // the rest after the last pair
  text.swap(rebuilt);
  return true;
}

// Drops every "<phN/>". A "<ph" without "/>" after it runs to the end of the text. Returns false at the
// first wrong tag, with wrongTag holding it.
bool RemovePlaceholderTags(Text& text, Text& wrongTag) {
  Text rebuilt;
  int pos = 0;
  while (true) {
    const int tagStart = Find(text, u"<ph", pos);
    if (tagStart < 0) {
      rebuilt += MidFrom(text, pos);
      break;
    }
    const int tagEnd = Find(text, u"/>", tagStart + 3);
    const Text number =
        tagEnd < 0 ? MidFrom(text, tagStart + 3) : Mid(text, tagStart + 3, tagEnd - tagStart - 3);
    if (!IsTagNumber(number)) {
      wrongTag = tagEnd < 0 ? MidFrom(text, tagStart) : Mid(text, tagStart, tagEnd + 2 - tagStart);
      return false;
    }
    rebuilt += Mid(text, pos, tagStart - pos);
    if (tagEnd < 0) break;
    pos = tagEnd + 2;
  }
  text.swap(rebuilt);
  return true;
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
        RunOnWordPieces(context.targetWindow, [](Text& piece) { RemovePtPhTags(piece); });
      else
        RemovePtPhTags(*context.workingText);
      break;
    default:
      ShowMessage(u"Wrong operation number!", u"Notice", MessageButtons::Ok, true);
  }
}

void RemoveBraceTags(Text& text) {
  // 1 to 3. Every tag becomes a space in front of the piece that follows it.
  Text result;
  Text piece;
  int pos = 0;
  while (NextTokenFound(text, piece, pos, u"{")) {
    result += u' ';
    result += piece;
    const int tagEnd = Find(text, u'}', pos);
    if (tagEnd < 0) {
      ShowMessage(u"{} doesn't match !", u"Notice", MessageButtons::Ok, true);
      piece = MidFrom(text, pos);
      break;
    }
    pos = tagEnd + 1;
    piece.clear();
  }
  // 4, 5. The last piece, then marks and spacing.
  result += u' ';
  result += piece;
  text = CleanMarks(result);
}

void RemovePtPhTags(Text& text) {
  Text work = text;
  Text wrongTag;
  // 1, 2. Paired tags, pass after pass: a pair's content may hold further pairs.
  bool contentRemoved = true;
  while (contentRemoved) {
    if (!RemovePairedTagsOnce(work, wrongTag, contentRemoved)) {
      text = kWrongTagReport + wrongTag;
      return;
    }
  }
  // 3. Placeholders.
  if (!RemovePlaceholderTags(work, wrongTag)) {
    text = kWrongTagReport + wrongTag;
    return;
  }
  text.swap(work);
}

}  // namespace scrivano
