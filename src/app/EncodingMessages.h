// What the text windows tell about a file's encoding: the format shown in the status bar, the notice on a
// file that did not decode without loss, and the question before saving a text its encoding cannot store.
#pragma once

#include "text/Text.h"
#include "text/TextEncodings.h"

namespace scrivano {

// "GB18030, CRLF", "UTF-8 with BOM, LF"; readWithLoss adds " (read with loss)".
Text FormatCaption(const TextFormat& format, bool readWithLoss);

// The notice on opening a file that did not decode without loss, with the encoding, how many sequences
// were replaced and the byte offset of the first.
Text ReadWithLossNotice(TextView title, Charset charset, size_t replaced, size_t firstBadByte);

// The question before saving as alternative a text that charset cannot store: the character at
// firstUnencodable in text (its line and column counted in the text's "\r\n" lines).
Text UnencodableQuestion(TextView title, Charset charset, TextView text, size_t firstUnencodable,
                         Charset alternative);
// The same for an edited file that was read with loss: its original bytes where the replacement
// characters stand cannot be written back.
Text ReadWithLossQuestion(TextView title, Charset charset, size_t replaced, size_t firstBadByte,
                          Charset alternative);

// Asked before Reopen with Encoding throws away unsaved edits.
Text ReopenQuestion(TextView title, Charset charset);

}  // namespace scrivano
