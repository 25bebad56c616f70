#include "text/CharClasses.h"

#include "settings/ParameterStore.h"
#include "text/Lists.h"
#include "text/Tokenizers.h"

namespace scrivano {

bool IsWesternChar(char16_t ch) {
  return ch < 127 || Contains(CurrentParameters()->Value(Param::kWesternChars), TextView(&ch, 1));
}

bool IsNeutralChar(TextView text, int& pos, int count) {
  const auto parameters = CurrentParameters();
  if (!IsListItem(parameters->Value(Param::kNeutralChars), Mid(text, pos, count), TextView(&kTab, 1)))
    return false;
  ++pos;
  return true;
}

bool IsNumberChar(char16_t ch, int kind) {
  if (ch == 0) return kind >= 0 && kind <= 3;
  const bool digit = ch >= u'0' && ch <= u'9';
  switch (kind) {
    case 0:
      return digit || ch == u'+' || ch == u'-' || ch == u',' || ch == u'.';
    case 1:
      return digit || ch == u',' || ch == u'.';
    case 2:
      return digit;
    case 3:
      return digit || ch == u'+' || ch == u'-' || ch == u',' || ch == 0xFF0C || ch == u'.' || ch == 0xFF0E ||
             ch == 0x201C || ch == u'%' || ch == 0xFF05;
    default:
      return false;
  }
}

bool IsNumberText(TextView text) {
  for (char16_t ch : text)
    if (!IsNumberChar(ch, 0)) return false;
  return true;
}

bool IsEnglishText(TextView text, TextView delimiter) {
  Text piece(text);
  if (!delimiter.empty()) {
    int pos = 0;
    NextToken(text, pos, piece, delimiter);
  }
  int counted = Length(piece);
  int western = 0;
  for (int i = 0; i < Length(piece);) {
    if (IsNeutralChar(piece, i, 1)) {
      --counted;
      continue;
    }
    if (IsWesternChar(piece[static_cast<size_t>(i)])) ++western;
    ++i;
  }
  return 4LL * western / 3 >= counted;
}

}  // namespace scrivano
