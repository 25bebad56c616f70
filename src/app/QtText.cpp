#include "app/QtText.h"


namespace scrivano {

Text ToDisplayLines(TextView text) {
  Text lines(text);
  Replace(lines, u"\r\n", u"\n");
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
