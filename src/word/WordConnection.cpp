#include "word/WordConnection.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "prompt/SelectionPrompt.h"
#include "tasks/DesktopServices.h"
#include "text/FileBytes.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"
#include "text/Utf8.h"
#include "toolkit/TextFiles.h"

namespace scrivano {
namespace {

void Notice(TextView text) {
  ShowMessage(text, u"Notice", MessageButtons::Ok, true);
}

// An occurrence [start, end) lies inside one of the spans.
bool InsideAny(const std::vector<std::pair<int, int>>& spans, int start, int end) {
  return std::any_of(spans.begin(), spans.end(), [&](const std::pair<int, int>& span) {
    return span.first <= start && end <= span.second;
  });
}

// Why a file could not be written, in the user's terms.
Text WriteFailure(TextView path, int error) {
  std::error_code ignored;
  const std::filesystem::path native(PathToNative(path));
  if (std::filesystem::is_directory(native, ignored)) return u"a folder of that name is in the way.";
  const std::filesystem::path folder = native.parent_path().empty() ? "." : native.parent_path();
  if (!std::filesystem::is_directory(folder, ignored)) return u"its folder does not exist.";
  if (::access(folder.c_str(), W_OK) != 0) return u"its folder is read-only (no permission to write there).";
  return FromUtf8(error ? std::strerror(error) : "the file system refused it") + u".";
}

}  // namespace

WordConnection::~WordConnection() {
  ReleaseWord();
}

bool WordConnection::StartWord() {
  application = word::Application::Create();
  application->SetVisible(false);
  return true;
}

bool WordConnection::OpenDocument(TextView path, int /*readOnly*/, int /*addToRecent*/) {
  if (!FileExists(path, true)) return false;
  if (!application && !StartWord()) return false;
  if (!documents) documents = application->Documents();
  if (!documents) {
    Notice(u"Failed to create Document object");
    return false;
  }
  word::OpenFailure failure = word::OpenFailure::kNone;
  std::string reason;
  std::shared_ptr<word::Document> opened = documents->Open(path, &failure, &reason);
  if (!opened) {
    // Which file and why: an encrypted document or a packing bomb is refused at once, and the user
    // should know it is not the program that failed.
    Notice(failure == word::OpenFailure::kNoConverter
               ? Text(u"No OFFICE installed")
               : u"Failed to open the file\r\n" + Text(path) + u"\r\n" + FromUtf8(reason));
    return false;
  }
  document = opened;
  selection = application->Selection();
  if (!selection) {
    Notice(u"Failed to select");
    return false;
  }
  return true;
}

bool WordConnection::NewDocument() {
  if (!application) {
    Notice(u"Application is empty. Failed to create Documents!");
    return false;
  }
  documents = application->Documents();
  if (!documents) {
    Notice(u"Failed to create Documents");
    return false;
  }
  try {
    document = documents->Add();
  } catch (const word::DocumentError&) {
    document.reset();
  }
  if (!document) {
    Notice(u"Failed to create Word");
    return false;
  }
  selection = application->Selection();
  if (!selection) {
    Notice(u"Failed to obtain selection");
    return false;
  }
  return true;
}

bool WordConnection::SaveDocumentAs(const std::shared_ptr<word::Document>& target, TextView path,
                                    int format) {
  if (!target) return false;
  errno = 0;
  if (target->SaveAs(path, format)) {
    for (const std::string& part : target->RebuiltParts())
      rebuiltParts_.push_back(Text(path) + u": " + FromUtf8(part));
    return true;
  }
  const Text why = target->SaveError().empty() ? WriteFailure(path, errno) : FromUtf8(target->SaveError());
  ShowMessage(Text(path) + u"\r\nThe document could not be written: " + why, u"Can not open the file!",
              MessageButtons::Ok, false);
  return false;
}

void WordConnection::ListOpenDocuments() {
  if (!application) return;
  documents = application->Documents();
  const int count = documents->Count();
  if (count <= 0) return;
  for (int k = 1; k <= count; ++k) {
    const int slot = count - k + 1;
    if (slot >= kSlotCount) continue;  // the slots hold 99 documents
    itemIndex = k;
    const std::shared_ptr<word::Document> item = documents->Item(itemIndex);
    documentSlots[static_cast<size_t>(slot)] = item;
    window = item->ActiveWindow();
    selectionSlots[static_cast<size_t>(slot)] = window->Selection();
    range = item->Content();
    charactersProcessed += Length(RangeText(range));
    slotStart[static_cast<size_t>(slot)] = 0;
    slotEnd[static_cast<size_t>(slot)] = range->End();
  }
}

Text WordConnection::RangeText(const std::shared_ptr<word::Range>& source) {
  return source ? source->Text() : Text();
}

void WordConnection::ReplaceAllByRepetition(TextView findText, TextView replacementText, bool matchCase) {
  if (!range || findText.empty()) return;
  find = range->Find();
  const word::FindArgs replaceOne{.findText = Text(findText),
                                  .matchCase = matchCase,
                                  .forward = true,
                                  .wrap = word::kWrapContinue,
                                  .replaceWith = Text(replacementText),
                                  .replace = word::kReplaceOne};
  // A replacement that holds the search text would be found again after wrapping round; such runs stop
  // at the first occurrence that lies inside one of their own replacements.
  auto folded = [matchCase](TextView text) { return matchCase ? Text(text) : word::FoldedText(text); };
  const Text foldedFind = folded(findText);
  const bool feedsItself = Contains(folded(replacementText), foldedFind);
  const int rounds = std::max(range->OwnStory()->Length(), 1);
  std::vector<std::pair<int, int>> replaced;
  for (int round = 0; round < rounds; ++round) {
    if (!feedsItself) {
      if (!find->Execute(replaceOne)) break;
      // An occurrence the document would not let go (a table's cell mark) is not tried again.
      if (Contains(folded(range->Text()), foldedFind)) break;
      continue;
    }
    word::FindArgs probe = replaceOne;
    probe.replace = word::kReplaceNone;
    if (!find->Execute(probe)) break;
    const int start = range->Start(), end = range->End();
    if (InsideAny(replaced, start, end)) break;
    range->SetRange(start, start);
    if (!find->Execute(replaceOne)) break;
    const int shift = (range->End() - range->Start()) - (end - start);
    for (auto& span : replaced)
      if (span.first >= end) span = {span.first + shift, span.second + shift};
    replaced.emplace_back(range->Start(), range->End());
  }
}

bool WordConnection::RemoveMarkerParagraphs() {
  if (markerText1.empty()) return false;
  if (!range && document) range = document->Content();
  ReplaceAllByRepetition(markerText1, u"");
  ReplaceAllByRepetition(markerText2, u"");
  return true;
}

void WordConnection::HighlightPhrases(TextView list) {
  if (list.empty() || !document) return;
  range = document->Content();
  find = range->Find();
  replacement = find->Replacement();
  font = replacement->Font();
  font->SetColor(kHighlightBlue);
  // Each occurrence is coloured where it is found rather than replaced by the item: with case ignored, a
  // replacement would rewrite "covid" as the item "COVID".
  int pos = 0;
  Text item;
  do {
    NextTokenByChar(list, pos, item, u'\t');
    if (find->Execute(
            {.findText = item, .matchWholeWord = true, .forward = true, .wrap = word::kWrapContinue}))
      range->Font()->SetColor(kHighlightBlue);
  } while (pos != 0);
}

bool WordConnection::AppendToDocument(TextView path, TextView text) {
  std::lock_guard lock(mutex_);
  if (!OpenDocument(path, 0, 0)) return false;
  document = application->ActiveDocument();
  range = document->Content();
  const int end = range->End();
  selection->SetRange(end + 1, end + 1);
  selection->Select();
  range->InsertAfter(Text(u"\r\n") + Text(text));
  ShowDocuments();
  application->Activate();
  return true;
}

void WordConnection::ReleaseWord() {
  std::lock_guard lock(mutex_);
  auto clear = [](auto& slots) {
    for (auto& slot : slots) slot.reset();
  };
  clear(documentSlots);
  clear(selectionSlots);
  clear(paragraphsSlots);
  clear(paragraphSlots);
  clear(rangeSlots);
  clear(shapesSlots);
  clear(shapeSlots);
  clear(textFrameSlots);
  textFrame.reset();
  shape.reset();
  shapes.reset();
  pageSetup.reset();
  window.reset();
  replacement.reset();
  find.reset();
  range.reset();
  spareSlot.reset();
  paragraph.reset();
  paragraphs.reset();
  font.reset();
  selection.reset();
  document.reset();
  documents.reset();
  application.reset();
  shownRevision_.clear();
}

void WordConnection::ShowDocuments() {
  if (!application) return;
  application->SetVisible(true);
  for (const std::shared_ptr<word::Document>& open : application->OpenDocuments()) {
    const std::uint64_t revision = open->Revision();
    std::uint64_t& shown = shownRevision_[open];
    if (revision == 0 || revision == shown || open->FullName().empty()) continue;
    const Text copy = ReviewCopyPath(open->FullName());
    std::string bytes;
    Text why;
    try {
      bytes = open->SaveToBytes();
    } catch (const word::DocumentError& problem) {
      why = FromUtf8(problem.what());
    }
    const bool firstWrite =
        std::find(reviewCopies_.begin(), reviewCopies_.end(), copy) == reviewCopies_.end();
    const bool replacing = firstWrite && PathExists(copy);
    if (why.empty()) {
      errno = 0;
      if (!WriteFileBytesAtomically(copy, bytes)) why = WriteFailure(copy, errno);
    }
    if (!why.empty()) {
      // The edits are lost with the copy: the user hears which file and why, and the report lists it.
      ShowMessage(copy + u"\r\nThe review copy could not be written: " + why, u"Can not open the file!",
                  MessageButtons::Ok, false);
      shown = revision;
      if (std::find(unwrittenCopies_.begin(), unwrittenCopies_.end(), copy) == unwrittenCopies_.end())
        unwrittenCopies_.push_back(copy);
      continue;
    }
    shown = revision;
    for (const std::string& part : open->RebuiltParts())
      rebuiltParts_.push_back(copy + u": " + FromUtf8(part));
    if (firstWrite) reviewCopies_.push_back(copy);
    if (replacing) replacedCopies_.push_back(copy);
    if (DesktopServices* desktop = Desktop()) desktop->OpenWithDefaultApplication(copy);
  }
}

std::vector<Text> WordConnection::TakeReviewCopies() {
  std::vector<Text> copies;
  copies.swap(reviewCopies_);
  return copies;
}

std::vector<Text> WordConnection::TakeRebuiltParts() {
  std::vector<Text> parts;
  parts.swap(rebuiltParts_);
  return parts;
}

void ReportRebuiltParts(Text& report, WordConnection& word) {
  const std::vector<Text> rebuilt = word.TakeRebuiltParts();
  if (rebuilt.empty()) return;
  report +=
      u"\r\nDamaged parts of the originals (their data did not match their checksum), written anew in "
      u"the documents above from what could be read; check them:";
  for (const Text& part : rebuilt) report += u"\r\n" + part;
  report += u"\r\n";
}

std::vector<Text> WordConnection::TakeReplacedCopies() {
  std::vector<Text> copies;
  copies.swap(replacedCopies_);
  return copies;
}

std::vector<Text> WordConnection::TakeUnwrittenCopies() {
  std::vector<Text> copies;
  copies.swap(unwrittenCopies_);
  return copies;
}

WordConnection& TheWordConnection() {
  static WordConnection connection;
  return connection;
}

void CloseWordWindows(TextView windowClass) {
  DesktopServices* desktop = Desktop();
  if (!desktop) return;
  const WindowsClosing closing = desktop->CloseWindowsOfClass(windowClass);
  // A wait the user cancelled needs no word; one that gave up says which windows stayed open.
  if (closing.cancelled || closing.stillOpen.empty()) return;
  Text notice = kOfficeWindowsStillOpen;
  for (const Text& title : closing.stillOpen) notice += u"\r\n" + title;
  ShowMessage(notice, u"Notice", MessageButtons::Ok, true);
}

Text DocumentBesidePath(TextView path, TextView tag) {
  const int slash = FindLast(path, u'/');
  const Text folder = Left(path, slash + 1);
  const Text name = MidFrom(path, slash + 1);
  const int dot = FindLast(name, u'.');
  if (dot <= 0) return folder + name + Text(tag) + u".docx";
  Text extension = MidFrom(name, dot);
  MakeLower(extension);
  const bool package =
      extension == u".docx" || extension == u".docm" || extension == u".dotx" || extension == u".dotm";
  if (package) return folder + InsertBeforeLast(name, u'.', tag);
  return folder + Left(name, dot) + Text(tag) + u".docx";
}

Text ReviewCopyPath(TextView path) {
  return DocumentBesidePath(path, u".scrivano");
}

}  // namespace scrivano
