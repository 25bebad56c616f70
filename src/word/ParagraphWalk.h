// The paragraph walk of the per-file Word processing options 3, 4, 5, 6 and 9: every paragraph of the
// open document in order, the ones inside the marker region handed to the option. Word's character
// positions are read from the engine directly, so a paragraph's start and mark are exact wherever its
// text and the document differ (pictures, fields, tables).
#pragma once

#include <functional>

#include "text/Text.h"
#include "word/WordConnection.h"

namespace scrivano {

// One paragraph as the walk hands it over. The connection's paragraph and range hold it too.
struct WalkedParagraph {
  int index = 1;         // 1-based in the document's Paragraphs
  Text text;             // Word's text; a table cell's without its U+0007 (so it ends with "\r")
  int length = 0;        // the length of Word's text (a cell's "\r" U+0007 counts two)
  int start = 0;         // the position of its first character
  int end = 0;           // the position of its mark (the cell mark for a cell's last paragraph)
  bool cell = false;     // it ends a table cell or a table row
  bool follows = false;  // the paragraph just before it was handed over too (same region, no gap)
};

// Called for each paragraph inside the region. A step that adds or removes paragraphs need not count:
// the walk goes on after the paragraphs it added, with the paragraph that followed the ones it removed.
using RegionStep = std::function<void(WalkedParagraph& paragraph)>;

// Marker check, then the walk over the document in word.document. With both marker texts empty every
// paragraph is in the region; otherwise only those strictly between a marker-1 paragraph and the next
// marker-2 paragraph (compared ignoring letter case).
void WalkRegionParagraphs(WordConnection& word, const RegionStep& step);

// Opens the file as the current document for a per-file option; false (after the connection said why)
// when it cannot be opened.
bool OpenForOption(WordConnection& word, TextView path);
// The end of every per-file option: the selection goes back to the start and the changed documents are
// written to their review copies and shown.
void FinishFileOption(WordConnection& word);

}  // namespace scrivano
