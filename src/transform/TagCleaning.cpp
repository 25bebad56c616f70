#include "transform/TagCleaning.h"

#include "prompt/SelectionPrompt.h"
#include "text/Pieces.h"
#include "transform/CleanMarks.h"
#include "transform/PairedTags.h"
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
// first wrong tag, with wrongTag holding it and text unchanged.
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

// The tag removal of RemovePtPhTags. Returns false at the first wrong tag, with wrongTag holding it; text
// is then unchanged.
bool TryRemovePtPhTags(Text& text, Text& wrongTag) {
  // 1, 2. Paired tags, pass after pass: a pair's content may hold further pairs.
  if (text.find(u"<pt") != Text::npos) {
    Text kept;
    {
      PairedTags tags(text);
      for (bool contentRemoved = true; contentRemoved;)
        if (!tags.RemoveOnce(wrongTag, contentRemoved)) return false;
      kept = tags.Remaining(0);
    }
    // 3. Placeholders.
    if (!RemovePlaceholderTags(kept, wrongTag)) return false;
    text.swap(kept);
    return true;
  }
  return RemovePlaceholderTags(text, wrongTag);
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
