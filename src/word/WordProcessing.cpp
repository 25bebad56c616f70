#include "word/WordProcessing.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"
#include "tasks/DesktopServices.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
#include "transform/PhraseExtraction.h"
#include "word/CombineDocuments.h"
#include "word/CombinePages.h"
#include "word/InterleaveParagraphs.h"
#include "word/ParagraphOptions.h"

namespace scrivano {
namespace {

constexpr std::array<const char16_t*, 11> kMenuOptions = {
    u"1. Add space between Chinese and English",
    u"2. Combine source and target pages",
    u"3. Connect broken lines",
    u"4. Duplicate source by paragraph (source -> source + Spaces/Return + source)",
    u"5. Delete source in paragraph (source + Soft Return + target -> target)",
    u"6. Delete source paragraphs (source + Hard Return + target -> target)",
    u"7. Extract phrases",
    u"8. Filter content",
    u"9. Highlight numbers",
    u"10. Remove DejaVu tags",
    u"11. Source file + target file -> source || target file (paragraph by paragraph)",
};

// Set while a run is active; a second run returns at once.
std::atomic<bool> wordProcessingBusy{false};

void Notice(TextView text) {
  ShowMessage(text, u"Notice", MessageButtons::Ok, true);
}

// The end of every per-file operation: the selection goes back to the start and the changed documents
// are shown (as review copies).
void EndOperation(WordConnection& word) {
  if (word.selection) word.selection->SetRange(-1, -1);
  word.ShowDocuments();
}

bool IsSymbolCode(char16_t ch) {
  return ch >= 0xE000 && ch <= 0xF8FF;
}

bool DigitsBetweenBraces(const Text& tag) {
  for (size_t i = 1; i + 1 < tag.size(); ++i)
    if (tag[i] < u'0' || tag[i] > u'9') return false;
  return true;
}

void ReportReviewCopies(Text& workingText, WordConnection& word) {
  const std::vector<Text> copies = word.TakeReviewCopies();
  const std::vector<Text> replaced = word.TakeReplacedCopies();
  const std::vector<Text> unwritten = word.TakeUnwrittenCopies();
  if (!workingText.empty() && !workingText.ends_with(u"\r\n")) workingText += u"\r\n";
  if (copies.empty() && unwritten.empty()) {
    word.TakeRebuiltParts();
    workingText += u"\r\nNo document was changed.\r\n";
    return;
  }
  if (!copies.empty()) {
    workingText += u"\r\nReview copies written (the originals are unchanged):";
    for (const Text& copy : copies) {
      workingText += u"\r\n" + copy;
      if (std::find(replaced.begin(), replaced.end(), copy) != replaced.end())
        workingText += u" (replaced the copy already there)";
    }
    workingText += u"\r\n";
  }
  if (!unwritten.empty()) {
    workingText += u"\r\nReview copies NOT written (the changes to these documents are lost):";
    for (const Text& copy : unwritten) workingText += u"\r\n" + copy;
    workingText += u"\r\n";
  }
  ReportRebuiltParts(workingText, word);
}

}  // namespace

Text MarkerText(TextView parameter) {
  return parameter.empty() ? Text() : Text(parameter) + u"\r";
}

void CheckMarkers(WordConnection& word) {
  const Text text = word.document->Content()->Text();
  if (!Contains(text, word.markerText1) || !Contains(text, word.markerText2)) {
    word.markerText1.clear();
    word.markerText2.clear();
  }
  word.charactersProcessed = Length(text);
}

bool AddSpaceBetweenChineseAndEnglish(WordConnection& word, TextView path) {
  if (!word.OpenDocument(path, 0, 0)) return false;
  word.document = word.application->ActiveDocument();
  // The scan reads the text once; the document changes only through the replacements.
  const Text text = word.document->Content()->Text();
  word.charactersProcessed = Length(text);
  // Each pair that qualifies would be replaced everywhere by its two characters with a space between
  // (in its own letters: the option never changes a letter). A space makes no new pair, and every
  // occurrence of a qualifying pair is a qualifying place, so the document this gives is the one with a
  // space at every qualifying place of the text as read: inserted there in one pass, the cost does not
  // grow with the length of the paragraphs.
  std::unordered_map<Text, bool> qualifies;
  std::vector<int> places;
  int position = 0;  // in the document; "\r" U+0007 in the text is one position, a table cell's end
  for (size_t i = 1; i < text.size(); ++i) {
    if (!(text[i - 1] == u'\r' && text[i] == u'\u0007')) ++position;
    const char16_t before = text[i - 1], after = text[i];
    if ((before < 127) == (after < 127)) continue;
    // Control characters (cell and row marks, picture placeholders) are neither Chinese nor English, and
    // nor are symbol-font characters (private-use codes; Word's text shows them as "(", which no pair
    // replacement finds again).
    if (before < 0x20 || after < 0x20 || IsSymbolCode(before) || IsSymbolCode(after)) continue;
    const Text pair{before, after};
    auto [found, added] = qualifies.try_emplace(pair, false);
    if (added) found->second = Trimmed(pair) == pair;
    if (found->second) places.push_back(position);
  }
  word.range = word.document->Content();
  word.range->InsertAtPositions(std::move(places), u" ");
  EndOperation(word);
  return true;
}

bool FilterContent(WordConnection& word, TextView path) {
  if (!word.OpenDocument(path, 0, 0)) return false;
  word.document = word.application->ActiveDocument();
  const int endBound = Length(word.document->Content()->Text());
  CheckMarkers(word);
  if (word.markerText1.empty()) {
    EndOperation(word);
    return true;
  }
  const word::FindArgs findOnly{.forward = true, .wrap = word::kWrapStop};
  // Each search finds a marker's first occurrence in the document. A search need not begin at the
  // start: none lies wholly in the text before the last deletion, which that search already read (else
  // it would have found it), so it begins where an occurrence could reach across that deletion. Each
  // stretch of kept text is so read once or twice, not again for every marker after it.
  auto findMarker = [&](const Text& marker, int from) {
    word.range = word.document->Content();
    word.range->SetStart(from);
    word.find = word.range->Find();
    word::FindArgs args = findOnly;
    args.findText = marker;
    return word.find->Execute(args);
  };
  auto reachBack = [](int junction, const Text& marker) {
    return std::max(0, junction - Length(marker) + 1);
  };
  int keepFrom = 0;
  int marker1From = 0, marker2From = 0;
  for (;;) {
    if (!findMarker(word.markerText1, marker1From)) break;
    const int lengthBefore = word.document->MainStory()->Length();
    word.selection->SetRange(keepFrom, word.range->End());
    word.selection->SetText(u"");
    // A marker 1 before the kept text (markers out of order) would be found again and again without
    // anything being deleted.
    if (word.document->MainStory()->Length() == lengthBefore) break;
    marker1From = reachBack(keepFrom, word.markerText1);
    if (!findMarker(word.markerText2, marker2From)) break;
    keepFrom = word.range->Start();
    marker2From = reachBack(keepFrom, word.markerText2);
  }
  word.selection->SetRange(keepFrom, 2 * endBound);
  word.selection->SetText(u"");
  EndOperation(word);
  return true;
}

bool RemoveDejaVuTags(WordConnection& word, TextView path) {
  if (!word.OpenDocument(path, 0, 0)) return false;
  word.document = word.application->ActiveDocument();
  word.charactersProcessed = Length(word.document->Content()->Text());
  auto findFrom = [&](int from, const char16_t* text) {
    word.range = word.document->Content();
    word.range->SetStart(from);
    word.find = word.range->Find();
    return word.find->Execute({.findText = text, .forward = true, .wrap = word::kWrapStop});
  };
  int searchFrom = 0;
  bool wrongFormat = false;
  for (;;) {
    if (!findFrom(searchFrom, u"{")) {
      if (wrongFormat) Notice(u"Wrong format found!");
      break;
    }
    const int tagStart = word.range->Start();
    searchFrom = tagStart;
    if (!findFrom(tagStart, u"}")) {
      word.selection->SetRange(tagStart, Length(word.document->Content()->Text()));
      word.selection->Font()->SetColor(kHighlightBlue);
      Notice(u"Wrong format found!");
      break;
    }
    const int tagEnd = word.range->End();
    word.selection->SetRange(tagStart, tagEnd);
    const Text tag = word.selection->Text();
    if (DigitsBetweenBraces(tag)) {
      word.ReplaceAllByRepetition(tag, u"");
      word.selection->SetRange(tagStart, tagStart + Length(tag));
      if (word.selection->Text() == tag) searchFrom = tagEnd;  // a tag that could not be removed is passed
    } else {
      word.selection->Font()->SetColor(kHighlightBlue);
      searchFrom = tagEnd;
      wrongFormat = true;
    }
  }
  EndOperation(word);
  return true;
}

void WordProcessing(TaskContext& context) {
  if (wordProcessingBusy.exchange(true)) return;
  struct ClearBusy {
    ~ClearBusy() { wordProcessingBusy = false; }
  } clearBusy;

  // 1. The menu.
  Text answer = u"Please select an option:";
  for (const char16_t* option : kMenuOptions) answer += kOptionSeparator + Text(option);
  if (!AskSelection(answer)) return;
  const int choice = ToInt(answer);

  // 2. A fresh start: the documents of an earlier run are dropped, office windows closed.
  WordConnection& word = TheWordConnection();
  word.ReleaseWord();
  CloseWordWindows(kOfficeMainWindowClass);

  // 3. Each listed file, or the whole list for the options that combine documents.
  Text& windowText = *context.workingText;
  const Text list = windowText;
  if (context.processedCount < 0) context.processedCount = 0;
  bool perFile = false;
  int pos = 0;
  Text path;
  do {
    if (!NextNonBlankLine(list, path, pos)) break;
    std::unique_lock lock(word.Mutex());
    word.charactersProcessed = 0;
    word.markerText1 = MarkerText(ParameterText(Param::kWordMarker1));
    word.markerText2 = MarkerText(ParameterText(Param::kWordMarker2));
    bool stop = false;
    switch (choice) {
      case 1:
        AddSpaceBetweenChineseAndEnglish(word, path);
        perFile = true;
        break;
      case 8:
        FilterContent(word, path);
        perFile = true;
        break;
      case 10:
        RemoveDejaVuTags(word, path);
        perFile = true;
        break;
      case 7: {
        const bool gathered = CollectDocumentTexts(word, windowText);
        context.processedCount += word.charactersProcessed;
        word.charactersProcessed = 0;
        lock.unlock();
        if (gathered) ExtractPhrases(context);
        stop = true;
        break;
      }
      case 2:
        CombinePages(word, windowText);
        stop = true;
        break;
      case 3:
        ConnectBrokenLines(word, path);
        perFile = true;
        break;
      case 4:
        DuplicateSourceByParagraph(word, path);
        perFile = true;
        break;
      case 5:
        DeleteSourceInParagraph(word, path);
        perFile = true;
        break;
      case 6:
        DeleteSourceParagraphs(word, path);
        perFile = true;
        break;
      case 9:
        HighlightNumbers(word, path);
        perFile = true;
        break;
      case 11:
        InterleaveParagraphFiles(word, windowText);
        stop = true;
        break;
      default:
        Notice(u"Wrong operation number!");
        break;
    }
    context.processedCount += word.charactersProcessed;
    if (stop) break;
  } while (pos != 0);

  // 4. The working text says which review copies were written.
  if (perFile) {
    ReportReviewCopies(windowText, word);
  }
}

}  // namespace scrivano
