#include "word/ParagraphWalk.h"

#include "word/WordProcessing.h"

namespace scrivano {
namespace {

bool SameIgnoringCase(Text a, Text b) {
  MakeLower(a);
  MakeLower(b);
  return a == b;
}

}  // namespace

bool OpenForOption(WordConnection& word, TextView path) {
  if (!word.OpenDocument(path, 0, 0)) return false;
  word.document = word.application->ActiveDocument();
  return word.document != nullptr;
}

void FinishFileOption(WordConnection& word) {
  if (word.selection) word.selection->SetRange(-1, -1);
  word.ShowDocuments();
}

void WalkRegionParagraphs(WordConnection& word, const RegionStep& step) {
  word.paragraphs = word.document->Paragraphs();
  word.range = word.document->Content();
  CheckMarkers(word);
  bool outside = true;
  bool lastHandedOver = false;
  for (int index = 1; index <= word.paragraphs->Count(); ++index) {
    word.paragraph = word.paragraphs->Item(index);
    if (!word.paragraph) break;
    word.range = word.paragraph->Range();
    WalkedParagraph paragraph;
    paragraph.index = index;
    paragraph.text = word.range->Text();
    paragraph.length = Length(paragraph.text);
    paragraph.start = word.range->Start();
    paragraph.end = word.range->End() - 1;
    paragraph.cell = Contains(paragraph.text, u"\u0007");
    if (paragraph.cell) paragraph.text.pop_back();
    paragraph.follows = lastHandedOver;
    lastHandedOver = false;

    // Inside the marker region?
    if (outside && !word.markerText1.empty()) {
      if (SameIgnoringCase(paragraph.text, word.markerText1)) outside = false;
      continue;
    }
    if (!word.markerText2.empty() && SameIgnoringCase(paragraph.text, word.markerText2)) {
      outside = true;
      continue;
    }
    const int countBefore = word.paragraphs->Count();
    step(paragraph);
    index += word.paragraphs->Count() - countBefore;
    lastHandedOver = true;
  }
}

}  // namespace scrivano
