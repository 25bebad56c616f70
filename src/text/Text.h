// The program's string: a sequence of UTF-16 code units. Positions are 0-based code-unit indices and
// lengths count code units. The operations below carry the exact boundary behaviour every text function
// of Scrivano relies on; use them instead of the raw std::u16string members wherever an index may be
// out of range.
#pragma once

#include <string>
#include <string_view>

namespace scrivano {

using Text = std::u16string;
using TextView = std::u16string_view;

// Characters above U+00FF that count as white space for trimming (the Unicode "space separator" class
// and the line and paragraph separators). U+3000, the ideographic space, is among them.
inline constexpr char16_t kWideSpaces[] = {0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005, 0x2006,
                                           0x2007, 0x2008, 0x2009, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F,
                                           0x3000};

// U+0009 to U+000D, U+0020, U+00A0 and the wide spaces above.
bool IsWhiteSpace(char16_t ch);

// Index of the first occurrence of sub at or after from; -1 when there is none or from lies outside
// 0..length. An empty sub is found at from.
int Find(TextView text, TextView sub, int from = 0);
int Find(TextView text, char16_t ch, int from = 0);
// Index of the last occurrence of ch; -1 when absent.
int FindLast(TextView text, char16_t ch);

// A negative first or count counts as 0; the piece is clipped to the end of the text.
Text Mid(TextView text, int first, int count);
// Mid(first, length - first): MidFrom(-1) is the whole text.
Text MidFrom(TextView text, int first);
// First / last n units; a negative n gives the empty text, an n beyond the length the whole text.
Text Left(TextView text, int n);
Text Right(TextView text, int n);

// Replaces every occurrence of oldText, left to right, non-overlapping, in one pass; returns the number
// replaced. An empty oldText replaces nothing.
int Replace(Text& text, TextView oldText, TextView newText);
// Repeats Replace while it reports a replacement ("until none is left"). Returns the total count.
// Stops early when newText contains oldText, which would never end.
int ReplaceUntilNone(Text& text, TextView oldText, TextView newText);

void TrimLeft(Text& text);
void TrimRight(Text& text);
void Trim(Text& text);
Text Trimmed(TextView text);

// ASCII letters only; every other character is left alone.
void MakeUpper(Text& text);
void MakeLower(Text& text);

int Length(TextView text);
bool Contains(TextView text, TextView sub);

// Conversions for programs and tests. Invalid UTF-8 becomes U+FFFD; lone surrogates are written as U+FFFD.
Text FromUtf8(std::string_view bytes);
std::string ToUtf8(TextView text);

}  // namespace scrivano
