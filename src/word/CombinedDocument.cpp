#include "word/CombinedDocument.h"

#include <filesystem>
#include <system_error>

#include "prompt/SelectionPrompt.h"
#include "tasks/DesktopServices.h"
#include "text/FileBytes.h"
#include "text/Pieces.h"
#include "text/Tokenizers.h"

namespace scrivano {

Text CombinedDocumentPath(TextView sourcePath) {
  return DocumentBesidePath(sourcePath, u".bak");
}

bool SameFile(TextView a, TextView b) {
  std::error_code error;
  const auto canonicalA = std::filesystem::weakly_canonical(PathToNative(a), error);
  const auto canonicalB = std::filesystem::weakly_canonical(PathToNative(b), error);
  return canonicalA == canonicalB;
}

bool CheckCombinedDocumentPath(TextView combinedPath, TextView sourcePath, TextView targetPath) {
  if (!SameFile(combinedPath, sourcePath) && !SameFile(combinedPath, targetPath)) return true;
  ShowMessage(
      Text(combinedPath) + u"\r\n\r\nThe combined document would replace the source or the target file.",
      u"Notice", MessageButtons::Ok, true);
  return false;
}

bool DeliverCombinedDocument(WordConnection& word, const std::shared_ptr<word::Document>& document,
                             TextView path, Text& windowText) {
  if (!word.SaveDocumentAs(document, path, word::kFormatDocument)) return false;
  if (!windowText.empty() && !windowText.ends_with(u"\r\n")) windowText += u"\r\n";
  windowText += u"\r\nDocument written (the source and target files are unchanged):\r\n";
  windowText += Text(path) + u"\r\n";
  ReportRebuiltParts(windowText, word);
  if (DesktopServices* desktop = Desktop()) desktop->OpenWithDefaultApplication(path);
  return true;
}

void ReadSourceAndTarget(WordConnection& word, TextView windowText, Text& sourcePath, Text& targetPath) {
  int pos = 0;
  NextNonBlankLine(windowText, sourcePath, pos);
  if (pos != 0) NextNonBlankLine(windowText, targetPath, pos);
  word.sourcePath = sourcePath;
  word.targetPath = targetPath;
}

}  // namespace scrivano
