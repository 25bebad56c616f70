// The Word processing options that walk a document's paragraphs (see ParagraphWalk.h): 3 joins broken
// lines, 4 doubles each paragraph, 5 and 6 delete the source half of bilingual paragraphs or paragraph
// pairs, 9 colours numbers. Each takes the path of one file, asks its question first where it has one,
// and returns true when the file was opened and processed; the changed document is written to its review
// copy (the file itself is never written).
#pragma once

#include "text/Text.h"
#include "word/WordConnection.h"

namespace scrivano {

// Option 3: a paragraph that continues the one before it (the same font size, not indented further than
// it, neither of them shorter than two characters) is joined to it with a space (Yes) or nothing (No).
// A short paragraph that begins with a digit starts no run. Paragraphs are joined only inside one table
// cell or outside tables, and never across a marker paragraph.
bool ConnectBrokenLines(WordConnection& word, TextView path);

// Option 4: each paragraph of more than three characters gets a copy of its text after a separator the
// user picks: a hard return (a new paragraph), a soft return or three spaces. A cancelled or wrong answer
// leaves the file alone.
bool DuplicateSourceByParagraph(WordConnection& word, TextView path);

// Option 5: a paragraph "source <soft return> target" keeps only the target: everything up to the last
// soft return in the first 84 % of the paragraph goes, and the paragraph's first line is indented by two
// more characters unless it is a short paragraph indented further than the one before. The marker
// paragraphs are removed at the end.
bool DeleteSourceInParagraph(WordConnection& word, TextView path);

// Option 6: of alternating source and target paragraphs the source paragraphs go; a target paragraph's
// first line is indented by two more characters when it is longer than 30 characters or not indented
// further than the target before it. Empty paragraphs and paragraphs that begin with a picture do not
// count in the alternation. The marker paragraphs are removed at the end.
bool DeleteSourceParagraphs(WordConnection& word, TextView path);

// Option 9: numbers (a digit, or two or more number characters together) are coloured blue, then the
// phrases of parameter 20 (see WordConnection::HighlightPhrases).
bool HighlightNumbers(WordConnection& word, TextView path);

}  // namespace scrivano
