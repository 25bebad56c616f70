#include "app/QtText.h"

namespace scrivano {

Text ToDisplayLines(TextView text) {
  Text lines(text);
  Replace(lines, u"\r\n", u"\n");
  return lines;
}

QString ToDisplayQString(TextView text) {
  QString lines(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(lines.data());
  qsizetype length = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    out[length++] = text[i];
  }
  lines.truncate(length);
  return lines;
}

Text FromDisplayLines(TextView text) {
  Text lines;
  lines.reserve(text.size() + text.size() / 16);
  for (const char16_t ch : text) {
    if (ch == u'\n') lines += u'\r';
    lines += ch;
  }
  return lines;
}

}  // namespace scrivano
