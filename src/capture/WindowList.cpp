#include "capture/WindowList.h"

#include <cstdlib>
#include <string>

#include "text/Pieces.h"

namespace scrivano {
namespace {

Text HandleText(WindowHandle window) {
  return FromUtf8(std::to_string(window));
}

}  // namespace

void RemoveWindowFromList(Text& list, WindowHandle window) {
  // The item is found as tab + item + tab inside tab + list + tab and cut out with the tab after it.
  const Text item = Enclosed(HandleText(window), u"\t");
  Text enclosed = Enclosed(list, u"\t");
  const size_t at = enclosed.find(item);
  if (at != Text::npos) enclosed.erase(at + 1, item.size() - 1);
  list = enclosed;
  Trim(list);
}

void AddWindowToList(Text& list, WindowHandle window, const std::function<bool(WindowHandle)>& keep) {
  Text kept;
  size_t pos = 0;
  while (pos <= list.size() && !list.empty()) {
    const size_t tab = list.find(u'\t', pos);
    const Text item = list.substr(pos, tab == Text::npos ? Text::npos : tab - pos);
    pos = tab == Text::npos ? list.size() + 1 : tab + 1;
    const WindowHandle handle = std::strtoull(ToUtf8(item).c_str(), nullptr, 10);
    if (item.empty() || handle == window || (keep && !keep(handle))) continue;
    kept += u"\t" + item;
  }
  list = HandleText(window) + kept;
}

}  // namespace scrivano
