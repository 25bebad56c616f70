// Look-ups in lists: texts whose items are separated by tab characters (or another delimiter).
#pragma once

#include "text/Text.h"

namespace scrivano {

inline constexpr char16_t kTab = u'\t';

// The 1-based number of the first item of list (in list order) that occurs anywhere in text, 0 when none
// does or the list is empty. itemStart, when given, receives the index in list where that item begins.
// An empty item (two adjacent tabs) occurs in every text.
int FindFirstListItem(TextView text, TextView list, int* itemStart = nullptr);

// True when text occurs inside some item of the tab-separated list; false for an empty list.
bool ListItemContains(TextView text, TextView list);

// True when item equals a whole item of list (items separated by delimiter); false for an empty list.
bool IsListItem(TextView list, TextView item, TextView delimiter);

// Iterates a tab-separated list of integers: false when pos == length, otherwise the next token and its
// integer value.
bool NextListNumber(TextView list, int& pos, Text& token, int& value);

}  // namespace scrivano
