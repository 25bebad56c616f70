#include "word/InterleaveParagraphs.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "docx/OfficeConversion.h"
#include "prompt/SelectionPrompt.h"
#include "text/FileBytes.h"
#include "text/Tokenizers.h"
#include "toolkit/TextFiles.h"
#include "word/CombinedDocument.h"

namespace scrivano {
namespace {

constexpr char16_t kCellEnd = 0x0007;
constexpr char16_t kPageBreak = 0x000C;

// A paragraph's text as it is paired: trimmed, a table cell's without its "\r" U+0007.
struct PairText {
  Text text;
  bool cell = false;
};
PairText PairTextOf(const Text& wordText) {
  PairText pair{Trimmed(wordText), false};
  if (Contains(pair.text, Text(1, kCellEnd))) {
    pair.cell = true;
    pair.text = Left(pair.text, Length(pair.text) - 2);
  }
  return pair;
}

// The copy of the source that is edited: its bytes copied for a .docx, the converted document saved as
// .docx for other formats. nullptr (after saying why) on failure.
std::shared_ptr<word::Document> OpenSourceCopy(WordConnection& word, TextView sourcePath, TextView copyPath) {
  std::string bytes;
  if (!word::NeedsConversion(sourcePath, ReadFileBytes(sourcePath, bytes) ? bytes : std::string())) {
    Text backup(copyPath);
    if (!BackupFile(sourcePath, backup)) {
      ShowMessage(copyPath, u"Can not open the file!", MessageButtons::Ok, false);
      return nullptr;
    }
    if (!word.OpenDocument(copyPath, 0, 0)) return nullptr;
    return word.application->ActiveDocument();
  }
  if (!word.OpenDocument(sourcePath, 0, 0)) return nullptr;
  std::shared_ptr<word::Document> copy = word.application->ActiveDocument();
  return word.SaveDocumentAs(copy, copyPath, word::kFormatDocument) ? copy : nullptr;
}

// A story ends with an empty paragraph, so that a paragraph can be pasted after its last one.
void EndWithEmptyParagraph(const std::shared_ptr<word::Range>& content) {
  if (!content->Text().ends_with(u"\r\r")) content->InsertAfter(u"\r");
}

std::vector<std::shared_ptr<word::Range>> TextBoxes(const std::shared_ptr<word::Document>& document) {
  std::vector<std::shared_ptr<word::Range>> boxes;
  const std::shared_ptr<word::Shapes> shapes = document->Shapes();
  for (int i = 1, count = shapes->Count(); i <= count; ++i)
    if (const std::shared_ptr<word::Shape> shape = shapes->Item(i))
      if (std::shared_ptr<word::Range> text = shape->TextFrame()->TextRange())
        boxes.push_back(std::move(text));
  return boxes;
}

std::shared_ptr<word::Paragraphs> StoryParagraphs(const std::shared_ptr<word::Range>& range) {
  return std::make_shared<word::Paragraphs>(range->ParentDocument(), range->OwnStory(), nullptr);
}

}  // namespace

void InterleaveParagraphs(WordConnection& word, const std::shared_ptr<word::Paragraphs>& source,
                          const std::shared_ptr<word::Paragraphs>& target, Text& windowText) {
  int targetIndex = 0;
  for (int sourceIndex = 1; sourceIndex <= source->Count(); ++sourceIndex) {
    // 1. The next non-empty source paragraph and the next non-empty target paragraph.
    const std::shared_ptr<word::Range> sourceRange = source->Item(sourceIndex)->Range();
    const PairText sourceText = PairTextOf(sourceRange->Text());
    if (Trimmed(sourceRange->Text()).empty()) continue;
    std::shared_ptr<word::Range> targetRange;
    Text targetWordText;
    do {
      if (++targetIndex > target->Count()) return;
      targetRange = target->Item(targetIndex)->Range();
      targetWordText = targetRange->Text();
    } while (Trimmed(targetWordText).empty());
    const PairText targetText = PairTextOf(targetWordText);
    // An empty cell (or a row's end) on either side uses up the paragraph of the other side.
    if (Trimmed(sourceText.text).empty() || Trimmed(targetText.text).empty()) continue;
    if (word.interleaveOptions.forbidIdenticalParagraphs && sourceText.text == targetText.text) continue;
    const bool nextIsCell = sourceIndex < source->Count() &&
                            Contains(source->Item(sourceIndex + 1)->Range()->Text(), Text(1, kCellEnd));
    windowText += sourceText.text + u"\r\n" + targetText.text + u"\r\n\r\n";

    // 2. Inside a table the target's text goes into a new paragraph of its own (a whole paragraph
    // cannot be pasted into a cell, nor in front of a table); elsewhere the whole paragraph goes.
    const bool inlineOnly = sourceText.cell || targetText.cell || nextIsCell;
    if (inlineOnly) targetRange->SetEnd(targetRange->End() - 1);
    targetRange->Copy();
    // The target's text boxes are paired with the source's below, not pasted with their paragraph.
    word::DropClipboardTextBoxes(*word.application);
    const int after = sourceRange->End();
    sourceRange->Select();
    const std::shared_ptr<word::Selection> selection = sourceRange->ParentDocument()->SelectionObject();
    if (inlineOnly) {
      selection->SetRange(after - 1, after - 1);
      selection->SetText(u"\n");
    }
    selection->SetRange(after, after);
    selection->Paste();
    selection->SetRange(after, after + 1);
    if (selection->Text() == Text(1, kPageBreak)) selection->SetText(u"");

    // 3. The pasted paragraph is not a source paragraph.
    ++sourceIndex;
  }
}

bool InterleaveParagraphFiles(WordConnection& word, Text& windowText) {
  // 1. The files: the target, then a copy of the source, which is the one edited.
  Text sourcePath, targetPath;
  ReadSourceAndTarget(word, windowText, sourcePath, targetPath);
  if (!FileExists(sourcePath, true) || !FileExists(targetPath, true)) return false;
  const Text copyPath = CombinedDocumentPath(sourcePath);
  if (!CheckCombinedDocumentPath(copyPath, sourcePath, targetPath)) return false;
  if (!word.OpenDocument(targetPath, 0, 0)) return false;
  const std::shared_ptr<word::Document> target = word.application->ActiveDocument();
  const std::shared_ptr<word::Document> copy = OpenSourceCopy(word, sourcePath, copyPath);
  if (!copy) return false;
  word.documentSlots[1] = copy;
  word.documentSlots[2] = target;

  // 2. The question, then the body.
  word.interleaveOptions.forbidIdenticalParagraphs =
      !AskYesNo(u"Allow same source and target paragraphs ?", u"Notice");
  windowText.clear();
  word.paragraphsSlots[1] = copy->Paragraphs();
  word.paragraphsSlots[2] = target->Paragraphs();
  const std::shared_ptr<word::Range> content = copy->Content();
  word.charactersProcessed += Length(content->Text()) + Length(target->Content()->Text());
  EndWithEmptyParagraph(content);
  InterleaveParagraphs(word, word.paragraphsSlots[1], word.paragraphsSlots[2], windowText);

  // 3. The text boxes, the first of the source with the first of the target, and so on.
  const std::vector<std::shared_ptr<word::Range>> sourceBoxes = TextBoxes(copy);
  const std::vector<std::shared_ptr<word::Range>> targetBoxes = TextBoxes(target);
  for (size_t i = 0; i < sourceBoxes.size(); ++i) {
    EndWithEmptyParagraph(sourceBoxes[i]);
    if (i >= targetBoxes.size()) break;
    word.rangeSlots[1] = sourceBoxes[i];
    word.rangeSlots[2] = targetBoxes[i];
    InterleaveParagraphs(word, StoryParagraphs(sourceBoxes[i]), StoryParagraphs(targetBoxes[i]), windowText);
  }

  // 4. The target closes unchanged; the copy is written and shown.
  target->Close();
  word.documentSlots[2].reset();
  copy->SelectionObject()->SetRange(-1, -1);
  word.application->SetVisible(true);
  // The copy on disk is still the source's own bytes, damage included, when the edited one cannot be
  // written: it goes rather than pass for the result.
  if (!DeliverCombinedDocument(word, copy, copyPath, windowText)) {
    std::error_code ignored;
    std::filesystem::remove(PathToNative(copyPath), ignored);
  }
  return true;
}

}  // namespace scrivano
