// Function List entry 17, "Word processing": one of eleven document operations applied to the documents
// listed (one path per line) in the working text. Each per-file operation opens the file in the document
// engine, edits it, and ends by writing the changed document to its review copy (see WordConnection.h);
// the working text then reports the copies written.
#pragma once

#include "tasks/TaskContext.h"
#include "text/Text.h"
#include "word/WordConnection.h"

namespace scrivano {

// The menu, the per-line loop and the hand-back of entry 17. A second run while one is active returns
// at once.
void WordProcessing(TaskContext& context);

// Marker text for a parameter: its text followed by "\r", or empty when the parameter is empty (an empty
// marker would otherwise be a bare paragraph mark, found in every document).
Text MarkerText(TextView parameter);

// Keeps the markers only when both occur in the document's text; sets charactersProcessed to its length.
void CheckMarkers(WordConnection& word);

// Option 1: a space between each Chinese and English character that touch.
bool AddSpaceBetweenChineseAndEnglish(WordConnection& word, TextView path);
// Option 8: keeps only what lies between each marker-1 paragraph and the next marker-2 paragraph.
bool FilterContent(WordConnection& word, TextView path);
// Option 10: removes numeric tags {12} and colours other or unclosed tags blue.
bool RemoveDejaVuTags(WordConnection& word, TextView path);

}  // namespace scrivano
