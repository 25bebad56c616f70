#include "app/EncodingMessages.h"

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "app/QtText.h"

namespace scrivano {
namespace {

// The catalogue's context for these texts; whole sentences, so that a translation can order its parts.
struct EncodingMessages {
  Q_DECLARE_TR_FUNCTIONS(EncodingMessages)
};

QString Quoted(TextView text) {
  return u'"' + ToQString(text) + u'"';
}

QString Name(Charset charset) {
  return QString::fromLatin1(CharsetName(charset));
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// "1 byte sequence (at byte offset 7)" or "3 byte sequences (the first at byte offset 7)".
QString BadSequences(size_t replaced, size_t firstBadByte) {
  return replaced == 1 ? EncodingMessages::tr("1 byte sequence (at byte offset %1)").arg(firstBadByte)
                       : EncodingMessages::tr("%1 byte sequences (the first at byte offset %2)")
                             .arg(replaced)
                             .arg(firstBadByte);
}

// The character at index as the user finds it: itself (unless it is invisible or half of one), its code,
// and its line and column, both counted from 1 in characters.
QString DescribeCharacter(TextView text, size_t index) {
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
  const QString where = QString::number(line), columnText = QString::number(column);
  return visible
             ? EncodingMessages::tr("%1 (%2, line %3, column %4)")
                   .arg(Quoted(text.substr(index, pair ? 2 : 1)), QString::fromLatin1(hex), where, columnText)
             : EncodingMessages::tr("The character (%1, line %2, column %3)")
                   .arg(QString::fromLatin1(hex), where, columnText);
}

}  // namespace

Text FormatCaption(const TextFormat& format, bool readWithLoss) {
  QString caption = Name(format.charset);
  if (format.byteOrderMark) caption = EncodingMessages::tr("%1 with BOM").arg(caption);
  caption += format.lineBreak == LineBreak::kCrLf ? QStringLiteral(", CRLF")
             : format.lineBreak == LineBreak::kLf ? QStringLiteral(", LF")
                                                  : QStringLiteral(", CR");
  if (readWithLoss) caption = EncodingMessages::tr("%1 (read with loss)").arg(caption);
  return FromQString(caption);
}

Text ReadWithLossNotice(TextView title, Charset charset, size_t replaced, size_t firstBadByte) {
  const QString what =
      replaced == 1
          ? EncodingMessages::tr("%1 is not valid %2 text: %3 could not be read and shows as \"�\".")
          : EncodingMessages::tr("%1 is not valid %2 text: %3 could not be read and show as \"�\".");
  return FromQString(
      what.arg(Quoted(title), Name(charset), BadSequences(replaced, firstBadByte)) +
      QStringLiteral("\r\n\r\n") +
      EncodingMessages::tr("Saved without an edit, the file keeps its bytes; after an edit, Scrivano "
                           "asks before saving it. File > Reopen with Encoding reads it in another "
                           "encoding."));
}

Text UnencodableQuestion(TextView title, Charset charset, TextView text, size_t firstUnencodable,
                         Charset alternative) {
  const QString save = alternative == charset
                           ? EncodingMessages::tr("Save it as %1? If not, nothing is saved.")
                           : EncodingMessages::tr("Save it as %1 instead? If not, nothing is saved.");
  return FromQString(EncodingMessages::tr("%1 cannot be stored in %2, the encoding of %3.")
                         .arg(DescribeCharacter(text, firstUnencodable), Name(charset), Quoted(title)) +
                     QStringLiteral("\r\n\r\n") + save.arg(Name(alternative)));
}

Text ReadWithLossQuestion(TextView title, Charset charset, size_t replaced, size_t firstBadByte,
                          Charset alternative) {
  const bool one = replaced == 1;
  const QString what = one ? EncodingMessages::tr(
                                 "%1 was not read as %2 without loss: %3 shows as \"�\", and its bytes "
                                 "cannot be written back.")
                           : EncodingMessages::tr(
                                 "%1 was not read as %2 without loss: %3 show as \"�\", and their bytes "
                                 "cannot be written back.");
  const bool same = alternative == charset;
  const QString save =
      one ? (same ? EncodingMessages::tr("Save it as %1, with \"�\" in its place? If not, nothing is saved.")
                  : EncodingMessages::tr(
                        "Save it as %1 instead, with \"�\" in its place? If not, nothing is saved."))
          : (same
                 ? EncodingMessages::tr("Save it as %1, with \"�\" in their place? If not, nothing is saved.")
                 : EncodingMessages::tr(
                       "Save it as %1 instead, with \"�\" in their place? If not, nothing is saved."));
  return FromQString(what.arg(Quoted(title), Name(charset), BadSequences(replaced, firstBadByte)) +
                     QStringLiteral("\r\n\r\n") + save.arg(Name(alternative)));
}

Text ReopenQuestion(TextView title, Charset charset) {
  return FromQString(EncodingMessages::tr("%1 has edits that are not saved. Reopen it as %2 and lose them?")
                         .arg(Quoted(title), Name(charset)));
}

}  // namespace scrivano
