#include "word/CombineDocuments.h"

#include "tasks/DesktopServices.h"
#include "text/Tokenizers.h"
#include "toolkit/TextFiles.h"

namespace scrivano {

bool CollectDocumentTexts(WordConnection& word, Text& windowText) {
  const Text list = windowText;
  windowText.clear();
  int pos = 0;
  Text path;
  do {
    if (!NextNonBlankLine(list, path, pos)) break;
    if (!FileExists(path, false) || !word.OpenDocument(path, 0, 0)) break;
    word.document = word.application->ActiveDocument();
    word.range = word.document->Content();
    // A cell ends its text as a paragraph does: the end-of-cell mark would run into the gathered phrases.
    Text text = word.range->Text();
    Replace(text, u"\r\u0007", u"\r");
    windowText += text;
    windowText += u'\r';
  } while (pos != 0);
  CloseWordWindows(kOfficeMainWindowClass);
  if (windowText.empty()) windowText = list + u"\r";
  word.charactersProcessed = Length(windowText);
  return word.charactersProcessed != 0;
}

}  // namespace scrivano
