// Where the documents that options 2 and 11 build go, and how they are handed to the user: beside the
// source under its backup name, written once complete, named in the window text and opened with the
// desktop's default application. The source and target files themselves are never written.
#pragma once

#include <memory>

#include "docx/DocumentEngine.h"
#include "text/Text.h"
#include "word/WordConnection.h"

namespace scrivano {

// InsertBeforeLast on the file name with "." and ".bak" (report.docx -> report.bak.docx); a format the
// engine converts (.doc, .odt, .rtf ...) or a name without an extension gets a .docx name
// (report.doc -> report.bak.docx).
Text CombinedDocumentPath(TextView sourcePath);

// Options 2 and 11 take the source and the target path from the first two non-blank lines of the window
// text; both are kept in the connection too.
void ReadSourceAndTarget(WordConnection& word, TextView windowText, Text& sourcePath, Text& targetPath);

// True when the two paths name the same file (or would, once the first is written).
bool SameFile(TextView a, TextView b);

// Says why and returns false when the combined document would overwrite the source or the target.
bool CheckCombinedDocumentPath(TextView combinedPath, TextView sourcePath, TextView targetPath);

// Writes the document to path, opens it with the desktop's default application when there is a desktop,
// and adds the report line to the window text. False (after saying so) when it could not be written.
bool DeliverCombinedDocument(WordConnection& word, const std::shared_ptr<word::Document>& document,
                             TextView path, Text& windowText);

}  // namespace scrivano
