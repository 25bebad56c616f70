// Text and QString are both UTF-16: conversions copy code units unchanged, lone surrogates included.
#pragma once

#include <QString>

#include "text/Text.h"

namespace scrivano {

inline QString ToQString(TextView text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline Text FromQString(const QString& text) {
  return Text(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

// "\r\n" line breaks as a Qt text widget shows them ("\n") and back.
Text ToDisplayLines(TextView text);
// ToQString(ToDisplayLines(text)) in one pass, for long texts.
QString ToDisplayQString(TextView text);
Text FromDisplayLines(TextView text);

}  // namespace scrivano
