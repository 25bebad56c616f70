// Pages of a document that marks none: the office program lays the document out (converted to PDF with
// a profile folder of its own), poppler's pdftotext gives each page's text, and that text is matched back
// to the main story's positions. Used where the document itself says nothing about its pages (see
// Document::PageStarts): documents saved by programs that do not record where they broke the pages.
#pragma once

#include <string>
#include <vector>

#include "docx/DocumentEngine.h"
#include "text/Text.h"

namespace scrivano::word {

// Empty when both programs are installed; otherwise the name of the one that is missing.
std::string MissingLayoutProgram();

// Where each laid-out page of the main text begins (the first at 0), or false with a reason when the
// layout could not be made.
bool LaidOutPageStarts(Document& document, std::vector<int>& starts, std::string& reason,
                       int timeoutSeconds = 300);

// Matches the pages' texts to the story in order: a page begins at the first story character that its
// text was matched to (at the paragraph's start when nothing but white space comes before it there).
// Text a page shows that the story lacks (headers, footers, list numbers, text boxes) is passed over.
// Pages that match nothing (empty pages, pictures only) give no start. The first start is always 0.
std::vector<int> MatchPageTexts(Story& story, const std::vector<Text>& pageTexts);

}  // namespace scrivano::word
