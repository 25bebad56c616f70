#include "background/TimerCycle.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "prompt/SelectionPrompt.h"
#include "settings/ParameterStore.h"
#include "text/Lists.h"
#include "text/Tokenizers.h"

namespace scrivano {
namespace {

constexpr char16_t kTabText[] = u"\t";

Text RequestItem(int n) {
  return FromUtf8(std::to_string(n));
}

std::vector<Text> ListItems(TextView list, char16_t separator) {
  std::vector<Text> items;
  if (list.empty()) return items;
  int pos = 0;
  Text item;
  do {
    NextTokenFound(list, item, pos, TextView(&separator, 1));
    items.push_back(item);
  } while (pos != Length(list));
  return items;
}

Text ResolveLaunchPath(TextView piece, TextView workRoot) {
  if (piece.starts_with(u"~/")) {
    const char* home = std::getenv("HOME");
    return FromUtf8(home ? home : "") + Text(piece.substr(1));
  }
  if (piece.starts_with(u"/") || workRoot.empty()) return Text(piece);
  return Text(workRoot) + u"/" + Text(piece);
}

}  // namespace

void AddRequest(Text& requestList, int n) {
  RemoveRequest(requestList, n);
  requestList = requestList.empty() ? RequestItem(n) : RequestItem(n) + kTabText + requestList;
}

bool RemoveRequest(Text& requestList, int n) {
  Text enclosed = kTabText + requestList + kTabText;
  const Text item = kTabText + RequestItem(n) + kTabText;
  // One pass leaves the second of two adjacent items, so repeat until none is left.
  if (ReplaceUntilNone(enclosed, item, kTabText) == 0) return false;
  requestList = enclosed.size() <= 1 ? Text() : Mid(enclosed, 1, Length(enclosed) - 2);
  return true;
}

bool IsOwnDocumentName(TextView path, TextView documentNames) {
  const int slash = FindLast(path, u'/');
  const Text name = MidFrom(path, slash + 1);
  const int dot = FindLast(name, u'.');
  return IsListItem(documentNames, name, kTabText) ||
         (dot > 0 && IsListItem(documentNames, Left(name, dot), kTabText));
}

void OfferLaunchMenu(TimerCycleHost& host, TextView documentNames) {
  // 1. The items of parameter 1, in ascending order of their character codes.
  std::vector<Text> items = ListItems(ParameterText(Param::kLaunchMenu), kTab);
  std::sort(items.begin(), items.end());
  Text prompt = u"Please select an option:";
  for (const Text& item : items) prompt += Text(1, kOptionSeparator) + item;
  if (!AskSelection(prompt, 1.0f, true)) return;

  // 2. The answer's ";"-separated pieces, trimmed; empty ones are skipped.
  const Text workRoot = host.WorkRoot();
  for (Text piece : ListItems(prompt, u';')) {
    Trim(piece);
    if (piece.empty()) continue;
    // 3. The program's own documents open in text windows, anything else with its application.
    const Text path = ResolveLaunchPath(piece, workRoot);
    if (IsOwnDocumentName(path, documentNames))
      host.OpenDocument(path);
    else
      host.OpenWithDefaultApplication(path);
  }
}

void RunTimerCycle(TimerCycleHost& host) {
  // Steps 1 to 7 of the cycle (process watch, memory monitor, automatic translation, pop-up closing,
  // browser shortcuts and the title watch) come with the background duties and the capture layer.
  host.HandBackResult();
  if (host.TakeRequest(kLaunchMenuRequest)) OfferLaunchMenu(host);
}

}  // namespace scrivano
