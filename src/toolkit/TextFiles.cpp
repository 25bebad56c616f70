#include "toolkit/TextFiles.h"

#include <mutex>

#include "prompt/SelectionPrompt.h"
#include "text/Utf16Bytes.h"
#include "text/FileBytes.h"
#include "text/Pieces.h"
#include "text/TextEncodings.h"

namespace scrivano {
namespace {

std::mutex openerMutex;
DocumentOpener documentOpener;

}  // namespace

bool ReadTextFile(Text& text, TextView path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) {
    ShowMessage(u"Could not open \"" + Text(path) + u"\" file.", u"Notice", MessageButtons::Ok, true);
    return false;
  }
  text = std::move(DecodeTextFile(bytes).text);
  // The text ends at its first U+0000, as it does for the profile and edit functions that take C strings.
  const size_t end = text.find(u'\0');
  if (end != Text::npos) text.resize(end);
  return true;
}

bool WriteTextFile(TextView path, TextView text, bool openAfter) {
  if (!WriteFileBytesAtomically(path, TextToUtf16LeBytes(text))) {
    ShowMessage(path, u"Can not open the file!", MessageButtons::Ok, true);
    return false;
  }
  if (!openAfter) return true;
  DocumentOpener opener;
  {
    std::lock_guard lock(openerMutex);
    opener = documentOpener;
  }
  return opener && opener(path);
}

bool FileExists(TextView path, bool reportMissing) {
  if (PathExists(path)) return true;
  if (reportMissing) ShowMessage(path, u"The file does not exist !", MessageButtons::Ok, false);
  return false;
}

bool BackupFile(TextView source, Text& backup) {
  if (backup.empty() || backup == source) backup = InsertBeforeLast(source, u'.', u".bak");
  std::string bytes;
  return ReadFileBytes(source, bytes) && WriteFileBytesAtomically(backup, bytes);
}

Text FilePart(TextView path, int part) {
  const Text name = MidFrom(path, FindLast(path, u'/') + 1);
  if (part == 2) {
    const int dot = Find(name, u'.');
    if (dot >= 0) return MidFrom(name, dot + 1);
  }
  return name;
}

void SetDocumentOpener(DocumentOpener opener) {
  std::lock_guard lock(openerMutex);
  documentOpener = std::move(opener);
}

}  // namespace scrivano
