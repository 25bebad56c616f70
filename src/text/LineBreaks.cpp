#include "text/LineBreaks.h"

#include <algorithm>

namespace scrivano {

LineBreak DominantLineBreak(TextView text) {
  size_t crLf = 0, lf = 0, cr = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') {
      ++lf;
    } else if (text[i] == u'\r') {
      if (i + 1 < text.size() && text[i + 1] == u'\n') {
        ++crLf;
        ++i;
      } else {
        ++cr;
      }
    }
  }
  if (crLf >= std::max(lf, cr)) return LineBreak::kCrLf;
  return lf >= cr ? LineBreak::kLf : LineBreak::kCr;
}

void ToCrLf(Text& text) {
  size_t lone = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
      ++i;
    else if (text[i] == u'\r' || text[i] == u'\n')
      ++lone;
  }
  if (lone == 0) return;
  Text lines;
  lines.reserve(text.size() + lone);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'\r') {
      lines += u"\r\n";
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (unit == u'\n') {
      lines += u"\r\n";
    } else {
      lines += unit;
    }
  }
  text.swap(lines);
}

void FromCrLf(Text& text, LineBreak lineBreak) {
  if (lineBreak == LineBreak::kCrLf) return;
  const char16_t replacement = lineBreak == LineBreak::kLf ? u'\n' : u'\r';
  size_t to = 0;
  for (size_t from = 0; from < text.size(); ++from) {
    if (text[from] == u'\r' && from + 1 < text.size() && text[from + 1] == u'\n') {
      text[to++] = replacement;
      ++from;
    } else {
      text[to++] = text[from];
    }
  }
  text.resize(to);
}

}  // namespace scrivano
