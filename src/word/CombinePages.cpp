#include "word/CombinePages.h"

#include <algorithm>

#include "docx/PageLayout.h"
#include "text/Tokenizers.h"
#include "toolkit/TextFiles.h"
#include "word/CombinedDocument.h"

namespace scrivano {
namespace {

constexpr float kPageHeightFactor = 1.05f;
constexpr char16_t kPageBreakChar = 0x000C;
constexpr char16_t kCellEnd = 0x0007;

// Ends the page just pasted with a page break. After a page that ended with its paragraph the break
// goes at the end of that paragraph, so that the next page's first paragraph is pasted whole, with its
// formatting, at the start of a paragraph of its own.
void BreakAfterPastedPage(const std::shared_ptr<word::Document>& combined,
                          const std::shared_ptr<word::Selection>& selection) {
  const int at = selection->Start();
  const std::shared_ptr<word::Range> before = combined->Content();
  before->SetRange(at - 1, at);
  if (at > 0 && before->Text() == u"\r") {
    before->SetRange(at - 1, at - 1);
    before->InsertBreak(word::kPageBreak);
  } else {
    selection->InsertBreak(word::kPageBreak);
  }
}

// Takes away the page break the last pasted page ended with: nothing follows it.
void DropTrailingBreak(const std::shared_ptr<word::Document>& combined,
                       const std::shared_ptr<word::Selection>& selection) {
  const int at = selection->Start();
  const std::shared_ptr<word::Range> before = combined->Content();
  before->SetRange(at - 1, at);
  if (at > 0 && before->Text() == Text(1, kPageBreakChar)) before->SetText(u"");
}

// A page that began because its first paragraph starts a new page gets its break from the combination:
// the paragraph, pasted whole, would add a second one.
void KeepOnePageBreak(const std::shared_ptr<word::Document>& combined, int pastedAt) {
  word::Story& story = *combined->MainStory();
  const int index = story.ParagraphIndexAt(pastedAt);
  if (story.ParagraphStart(index) != pastedAt) return;
  const std::shared_ptr<word::Paragraph> first = combined->Paragraphs()->Item(index + 1);
  if (first && first->PageBreakBefore()) first->SetPageBreakBefore(false);
}

// The page's text as the window shows it.
Text WindowPageText(Text page) {
  Replace(page, u"\r", u"\r\n");
  std::erase(page, kCellEnd);
  return page;
}

struct Side {
  std::shared_ptr<word::Document> document;
  std::vector<int> pages;
};

}  // namespace

std::vector<int> DocumentPageStarts(const std::shared_ptr<word::Document>& document, Text& note) {
  std::vector<int> starts = document->PageStarts();
  if (starts.size() > 1) return starts;
  std::vector<int> laidOut;
  std::string reason;
  if (word::LaidOutPageStarts(*document, laidOut, reason)) return laidOut;
  note = FromUtf8(reason) + u": pages end only at the documents' own page breaks.";
  return starts;
}

bool CombinePages(WordConnection& word, Text& windowText) {
  // 1. The source, the target and the new document, written once before anything goes into it.
  Text sourcePath, targetPath;
  ReadSourceAndTarget(word, windowText, sourcePath, targetPath);
  if (!word.OpenDocument(sourcePath, 0, 0)) return false;
  Side source{word.application->ActiveDocument(), {}};
  if (!word.OpenDocument(targetPath, 0, 0)) return false;
  Side target{word.application->ActiveDocument(), {}};
  const Text combinedPath = CombinedDocumentPath(sourcePath);
  if (!CheckCombinedDocumentPath(combinedPath, sourcePath, targetPath)) return false;
  if ((!word.application && !word.StartWord()) || !word.NewDocument()) return false;
  const std::shared_ptr<word::Document> combined = word.document;
  const std::shared_ptr<word::Selection> pasteAt = combined->ActiveWindow()->Selection();
  word.ListOpenDocuments();
  if (!word.SaveDocumentAs(combined, combinedPath, word::kFormatDocument)) return false;
  windowText.clear();
  // The source's paper and margins, so that a page fits, and 5 % more height for what a page brings along.
  combined->PageSetup()->TakePaperAndMargins(*source.document->PageSetup());
  combined->PageSetup()->SetPageHeight(source.document->PageSetup()->PageHeight() * kPageHeightFactor);

  // 2. Where the pages begin.
  Text note;
  source.pages = DocumentPageStarts(source.document, note);
  target.pages = DocumentPageStarts(target.document, note);

  // 3. Page by page, source then target, until the pass in which either document ends.
  const size_t passes = std::min(source.pages.size(), target.pages.size());
  for (size_t pass = 0; pass < passes; ++pass) {
    for (Side* side : {&source, &target}) {
      const bool lastPage = side == &target && pass + 1 == passes;
      const std::shared_ptr<word::Range> page = side->document->Content();
      const int end = pass + 1 < side->pages.size() ? side->pages[pass + 1] : page->End();
      page->SetRange(side->pages[pass], end);
      page->Copy();
      const int pastedAt = pasteAt->Start();
      pasteAt->Paste();
      KeepOnePageBreak(combined, pastedAt);
      Text text = page->Text();
      if (text.ends_with(kPageBreakChar)) {
        text.pop_back();
        if (lastPage) DropTrailingBreak(combined, pasteAt);
      } else if (!lastPage) {
        BreakAfterPastedPage(combined, pasteAt);
      }
      windowText += WindowPageText(text) + u"\r\n\r\n";
    }
  }

  // 4. The source and target close unchanged; the new document is written and shown.
  source.document->Close();
  target.document->Close();
  pasteAt->SetRange(0, 0);
  word.application->SetVisible(true);
  if (!note.empty()) windowText += u"\r\n" + note + u"\r\n";
  DeliverCombinedDocument(word, combined, combinedPath, windowText);
  return true;
}

}  // namespace scrivano
