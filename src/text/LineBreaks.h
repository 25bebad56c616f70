// Line breaks of text files: the functions work on "\r\n"; files may use "\n" or "\r" and are written back
// with the break they came with.
#pragma once

#include "text/Text.h"

namespace scrivano {

enum class LineBreak { kCrLf, kLf, kCr };

// The break the text uses most; "\r\n" when it has none, or on a tie with it ("\n" before "\r").
LineBreak DominantLineBreak(TextView text);
// Every lone "\n" and lone "\r" becomes "\r\n".
void ToCrLf(Text& text);
// Every "\r\n" becomes lineBreak; lone "\n" and "\r" stay as they are.
void FromCrLf(Text& text, LineBreak lineBreak);

}  // namespace scrivano
