// The words of LibreOffice Writer's Find and Replace window in every interface language installed with the
// office, read from the office's own translations: its title, and the labels of the two fields and of
// Replace All with their access-key marks.
//
// Why from the translations: as measured on LibreOffice 7.4 under openbox, nothing else tells this window
// apart. It is a window of type _NET_WM_WINDOW_TYPE_NORMAL, WM_CLASS "libreoffice" "libreoffice-writer",
// transient for its document, with a fixed size (574x378 in English, 629x406 in both Chinese ones), no
// WM_WINDOW_ROLE, and one X window without children (the widgets are drawn, not windows). The Spelling window
// has every one of these too. What does not change with the language is the translation's key: the
// context "findreplacedialog|FindReplaceDialog" (title), "|label4" (Find), "|label5" (Replace) and
// "|replaceall" in resource/<language>/LC_MESSAGES/svx.mo beside the program; the title tells which
// language the window shows, and its labels give the access keys there. In zh_CN and zh_TW they are Alt+F,
// Alt+P and Alt+L as in English ("查找(_F):", "替换(_P):", "全部替换(_L)"; "尋找(_F):", "取代(_P):",
// "全部取代(_L)"), but a translation may mark other letters.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace scrivano::platform {

struct FindReplaceWords {
  std::string language;  // the translation's folder ("zh_CN"); "en-US" for the office's own words
  Text title;            // "Find and Replace"
  Text findLabel;        // "_Find:"
  Text replaceLabel;     // "Re_place:"
  Text replaceAllLabel;  // "Replace A_ll"
};

// LibreOffice 7.4's English words, for an office whose translations cannot be read.
FindReplaceWords EnglishFindReplaceWords();

struct CatalogEntry {
  std::string context;
  std::string original;
  std::string translation;  // the first form of a plural
};

// The entries of a gettext catalog (.mo, either byte order) whose context begins with contextPrefix; none
// when the bytes are not such a catalog, and entries reaching outside them are left out.
std::vector<CatalogEntry> ReadCatalog(std::string_view bytes, std::string_view contextPrefix);

// English first (as the catalogs' originals give it, or EnglishFindReplaceWords), then one set per
// translation below programFolder/resource, in the order of their folder names. A word a translation
// leaves out is the English one, as the office shows it then.
std::vector<FindReplaceWords> ReadFindReplaceWords(const std::string& programFolder);

// The character an access-key mark ("_" or "~") sets before it; a doubled mark is the character itself.
// 0 when the label has none.
char16_t AccessKeyOf(TextView label);

// ReadFindReplaceWords once per program folder, for the life of the object (a desktop back-end owns one).
// Any thread; the sets handed out stay valid and unchanged as long as the object.
class OfficeWordsCache {
 public:
  const std::vector<FindReplaceWords>& ForProgramFolder(const std::string& programFolder);

 private:
  std::mutex mutex_;
  std::map<std::string, std::vector<FindReplaceWords>> byFolder_;
};

}  // namespace scrivano::platform
