#include "app/EncodingMessages.h"

#include <cstdio>
#include <string>

namespace scrivano {
namespace {

Text Number(size_t value) {
  return FromUtf8(std::to_string(value));
}

Text Name(Charset charset) {
  return FromUtf8(CharsetName(charset));
}

Text Quoted(TextView text) {
  return u"\"" + Text(text) + u"\"";
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// "1 byte sequence (at byte offset 7)" or "3 byte sequences (the first at byte offset 7)".
Text BadSequences(size_t replaced, size_t firstBadByte) {
  return Number(replaced) +
         (replaced == 1 ? u" byte sequence (at byte offset "
                        : u" byte sequences (the first at byte offset ") +
         Number(firstBadByte) + u")";
}

// The character at index as the user finds it: itself (unless it is invisible or half of one), its code,
// and its line and column, both counted from 1 in characters.
Text DescribeCharacter(TextView text, size_t index) {
  char32_t code = text[index];
  const bool pair =
      IsHighSurrogate(text[index]) && index + 1 < text.size() && IsLowSurrogate(text[index + 1]);
  if (pair) code = 0x10000 + ((code - 0xD800) << 10) + (text[index + 1] - 0xDC00u);
  size_t line = 1, column = 1;
  for (size_t i = 0; i < index; ++i) {
    if (text[i] == u'\n') {
      ++line;
      column = 1;
    } else if (text[i] != u'\r' && !IsLowSurrogate(text[i])) {
      ++column;
    }
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
  const bool visible = code >= 0x20 && !(code >= 0xD800 && code <= 0xDFFF) && code != 0x7F;
  Text described = visible ? Quoted(text.substr(index, pair ? 2 : 1)) + u" (" : u"The character (";
  return described + FromUtf8(hex) + u", line " + Number(line) + u", column " + Number(column) + u")";
}

Text SaveAs(Charset charset, Charset alternative, TextView with) {
  return u"Save it as " + Name(alternative) + (alternative == charset ? u"" : u" instead") + Text(with) +
         u"? If not, nothing is saved.";
}

}  // namespace

Text FormatCaption(const TextFormat& format, bool readWithLoss) {
  Text caption = Name(format.charset);
  if (format.byteOrderMark) caption += u" with BOM";
  caption += format.lineBreak == LineBreak::kCrLf ? u", CRLF"
             : format.lineBreak == LineBreak::kLf ? u", LF"
                                                  : u", CR";
  if (readWithLoss) caption += u" (read with loss)";
  return caption;
}

Text ReadWithLossNotice(TextView title, Charset charset, size_t replaced, size_t firstBadByte) {
  return Quoted(title) + u" is not valid " + Name(charset) + u" text: " +
         BadSequences(replaced, firstBadByte) + u" could not be read and " +
         (replaced == 1 ? u"shows" : u"show") +
         u" as \"\xFFFD\".\r\n\r\nSaved without an edit, the file keeps its bytes; after an edit, Scrivano "
         u"asks "
         u"before saving it. File > Reopen with Encoding reads it in another encoding.";
}

Text UnencodableQuestion(TextView title, Charset charset, TextView text, size_t firstUnencodable,
                         Charset alternative) {
  return DescribeCharacter(text, firstUnencodable) + u" cannot be stored in " + Name(charset) +
         u", the encoding of " + Quoted(title) + u".\r\n\r\n" + SaveAs(charset, alternative, u"");
}

Text ReadWithLossQuestion(TextView title, Charset charset, size_t replaced, size_t firstBadByte,
                          Charset alternative) {
  const bool one = replaced == 1;
  return Quoted(title) + u" was not read as " + Name(charset) + u" without loss: " +
         BadSequences(replaced, firstBadByte) + (one ? u" shows" : u" show") + u" as \"\xFFFD\", and " +
         (one ? u"its" : u"their") + u" bytes cannot be written back.\r\n\r\n" +
         SaveAs(charset, alternative, Text(u", with \"\xFFFD\" in ") + (one ? u"its" : u"their") + u" place");
}

Text ReopenQuestion(TextView title, Charset charset) {
  return Quoted(title) + u" has edits that are not saved. Reopen it as " + Name(charset) + u" and lose them?";
}

}  // namespace scrivano
