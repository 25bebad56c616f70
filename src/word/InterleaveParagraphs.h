// Option 11, "Source file + target file -> source || target file (paragraph by paragraph)": each target
// paragraph, with its formatting, goes after the matching source paragraph in a copy of the source
// document (report.docx -> report.bak.docx, an older copy replaced), in the body and in the text boxes.
// Paragraphs match in order of the non-empty ones. The window text receives the pairs.
#pragma once

#include <memory>

#include "docx/DocumentEngine.h"
#include "text/Text.h"
#include "word/WordConnection.h"

namespace scrivano {

// The first two non-blank lines of windowText name the source and the target. Returns false (after
// saying why) when a file is missing or cannot be opened, or the copy cannot be made; windowText is then
// unchanged. Neither the source nor the target file is written.
bool InterleaveParagraphFiles(WordConnection& word, Text& windowText);

// Pastes the target paragraphs after the source paragraphs of one story each (the body, or a pair of
// text boxes) and appends the pairs to windowText. An empty paragraph on either side is passed over;
// with word.interleaveOptions.forbidIdenticalParagraphs a pair of equal paragraphs is passed over
// together. Stops when the target runs out of paragraphs.
void InterleaveParagraphs(WordConnection& word, const std::shared_ptr<word::Paragraphs>& source,
                          const std::shared_ptr<word::Paragraphs>& target, Text& windowText);

}  // namespace scrivano
