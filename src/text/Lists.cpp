#include "text/Lists.h"

#include "text/Pieces.h"
#include "text/Tokenizers.h"

namespace scrivano {

int FindFirstListItem(TextView text, TextView list, int* itemStart) {
  if (list.empty()) return 0;
  Text item;
  int pos = 0;
  int number = 0;
  do {
    const int begin = pos;
    NextTokenByChar(list, pos, item, kTab);
    ++number;
    if (Find(text, item) >= 0) {
      if (itemStart) *itemStart = begin;
      return number;
    }
  } while (pos != 0);
  return 0;
}

bool ListItemContains(TextView text, TextView list) {
  if (list.empty()) return false;
  Text item;
  int pos = 0;
  do {
    NextTokenByChar(list, pos, item, kTab);
    if (Contains(item, text)) return true;
  } while (pos != 0);
  return false;
}

bool IsListItem(TextView list, TextView item, TextView delimiter) {
  if (list.empty()) return false;
  Text enclosedList(list);
  EncloseWith(enclosedList, delimiter);
  Text enclosedItem(item);
  EncloseWith(enclosedItem, delimiter);
  return Contains(enclosedList, enclosedItem);
}

bool NextListNumber(TextView list, int& pos, Text& token, int& value) {
  if (pos == Length(list)) return false;
  NextTokenFound(list, token, pos, TextView(&kTab, 1));
  value = ToInt(token);
  return true;
}

}  // namespace scrivano
