#include "platform/WindowClasses.h"

namespace scrivano::platform {
namespace {

Text Lower(TextView text) {
  Text lower(text);
  MakeLower(lower);
  return lower;
}

bool ClassIs(const WindowKind& kind, TextView lowerName) {
  return Lower(kind.className) == lowerName || Lower(kind.instanceName) == lowerName;
}

bool ClassStartsWith(const WindowKind& kind, TextView lowerPrefix) {
  return Lower(kind.className).starts_with(lowerPrefix) || Lower(kind.instanceName).starts_with(lowerPrefix);
}

bool IsWriterDocument(const WindowKind& kind) {
  return Lower(kind.className) == u"libreoffice-writer" && !kind.dialog;
}

// Writer's Find & Replace is a normal window transient for its document; only its title tells it apart
// (OfficeWords.h), in the language the office shows.
bool IsWriterFindAndReplace(const WindowKind& kind) {
  return FindReplaceWordsOf(kind) != nullptr;
}

bool IsDialog(const WindowKind& kind) {
  return kind.dialog;
}

bool IsChromium(const WindowKind& kind) {
  return ClassStartsWith(kind, u"chromium") || ClassStartsWith(kind, u"google-chrome");
}

bool IsFirefox(const WindowKind& kind) {
  return ClassStartsWith(kind, u"firefox");
}

bool IsInputMethod(const WindowKind& kind) {
  return ClassStartsWith(kind, u"fcitx") || ClassStartsWith(kind, u"ibus");
}

// The more specific names come first: ReportedClassName takes the first that fits.
constexpr WindowClassMapping kTable[] = {
    {u"OpusApp", u"a LibreOffice Writer document window", IsWriterDocument},
    {u"bosa_sdm", u"LibreOffice Writer's \"Find and Replace\" window, in any interface language installed",
     IsWriterFindAndReplace},
    {u"Chrome_WidgetWin_1", u"Chromium and Google Chrome", IsChromium},
    {u"MozillaWindowClass", u"Firefox", IsFirefox},
    {u"WNWB Input", u"input-method windows (fcitx, ibus)", IsInputMethod},
    {u"#32770", u"any dialog window (a dialog type, or transient for another window)", IsDialog},
};

}  // namespace

const FindReplaceWords* FindReplaceWordsOf(const WindowKind& kind) {
  if (Lower(kind.className) != u"libreoffice-writer" || !kind.dialog) return nullptr;
  static const std::vector<FindReplaceWords> english{EnglishFindReplaceWords()};
  const std::vector<FindReplaceWords>& words = kind.officeWords ? *kind.officeWords : english;
  for (const FindReplaceWords& language : words)
    if (language.title == kind.title) return &language;
  return nullptr;
}

std::span<const WindowClassMapping> WindowClassTable() {
  return kTable;
}

bool IsWindowOfClass(const WindowKind& kind, TextView name) {
  if (name.empty()) return false;
  for (const WindowClassMapping& mapping : kTable)
    if (name == mapping.name) return mapping.matches(kind);
  return ClassIs(kind, Lower(name));
}

Text ReportedClassName(const WindowKind& kind) {
  for (const WindowClassMapping& mapping : kTable)
    if (mapping.matches(kind)) return mapping.name;
  return kind.className;
}

Text MatchingClassItem(const WindowKind& kind, TextView classList) {
  size_t start = 0;
  while (start <= classList.size()) {
    size_t tab = classList.find(u'\t', start);
    if (tab == TextView::npos) tab = classList.size();
    const TextView item = classList.substr(start, tab - start);
    const TextView name = item.ends_with(u';') ? item.substr(0, item.size() - 1) : item;
    if (IsWindowOfClass(kind, name)) return Text(item);
    start = tab + 1;
  }
  return Text();
}

bool IsWindowOfAnyClass(const WindowKind& kind, TextView classList) {
  return !MatchingClassItem(kind, classList).empty();
}

}  // namespace scrivano::platform
