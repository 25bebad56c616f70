// The Word processing options that take the whole list of documents at once. Option 7, "Extract
// phrases", gathers the text of every listed document before the phrase report runs on it.
#pragma once

#include "text/Text.h"
#include "word/WordConnection.h"

namespace scrivano {

// Replaces windowText (a list of paths) by the text of the listed documents (table cells and rows ended
// by "\r" as paragraphs are, without Word's end-of-cell mark), each followed by "\r",
// stopping at the first file that is missing or cannot be opened. When nothing was gathered the text
// becomes the list followed by "\r". Returns whether the text is not empty.
bool CollectDocumentTexts(WordConnection& word, Text& windowText);

}  // namespace scrivano
