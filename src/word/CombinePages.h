// Option 2, "Combine source and target pages": a new document with source page 1, target page 1, source
// page 2, target page 2, ... until the pass in which either document ends, saved under the source's
// backup name (report.docx -> report.bak.docx) on the source's paper and margins, with pages 5 % taller.
// The window text receives each page's text.
//
// Pages are where the document puts them: its page breaks, its section breaks that start a new page,
// and the page breaks recorded when it was last laid out. A document that carries none of these is laid
// out by LibreOffice (see docx/PageLayout.h); without LibreOffice it is one page, and the window text
// says so.
#pragma once

#include <memory>
#include <vector>

#include "docx/DocumentEngine.h"
#include "text/Text.h"
#include "word/WordConnection.h"

namespace scrivano {

// The first two non-blank lines of windowText name the source and the target. Returns false (after
// saying why) when a file is missing or cannot be opened or the new document cannot be written; the
// window text is then unchanged. Neither the source nor the target file is written.
bool CombinePages(WordConnection& word, Text& windowText);

// Where the pages of the document's main text begin. note receives one line for the window text when
// the pages could not be laid out.
std::vector<int> DocumentPageStarts(const std::shared_ptr<word::Document>& document, Text& note);

}  // namespace scrivano
