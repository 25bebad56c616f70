#include "toolkit/CharClasses.h"

#include "settings/ParameterStore.h"
#include "text/Lists.h"
#include "text/Pieces.h"
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

namespace {

// The Western and neutral sets of the current parameters, taken apart once per parameter change, so that
// the English test costs no look-up in the lists per character. A character is neutral when it is a
// one-character item of parameter 7, or, for the tab itself, when the list holds two tabs in a row
// ("\t\t\t" inside "\t" + list + "\t").
class LanguageSets {
 public:
  void Refresh() {
    std::shared_ptr<const ParameterValues> current = CurrentParameters();
    if (current == parameters_) return;
    parameters_ = std::move(current);
    western_ = parameters_->Value(Param::kWesternChars);
    neutral_.clear();
    const Text& list = parameters_->Value(Param::kNeutralChars);
    if (list.empty()) return;
    Text item;
    int pos = 0;
    do {
      NextTokenByChar(list, pos, item, kTab);
      if (item.size() == 1) neutral_ += item;
    } while (pos != 0);
    Text enclosed = list;
    EncloseWith(enclosed, TextView(&kTab, 1));
    if (Contains(enclosed, u"\t\t\t")) neutral_ += kTab;
  }

  bool IsNeutral(char16_t ch) const { return neutral_.find(ch) != Text::npos; }
  bool IsWestern(char16_t ch) const { return ch < 127 || western_.find(ch) != Text::npos; }

 private:
  std::shared_ptr<const ParameterValues> parameters_;
  Text western_;
  Text neutral_;
};

}  // namespace

bool IsEnglishText(TextView text, TextView delimiter) {
  TextView piece = text;
  if (!delimiter.empty()) {
    const int end = Find(text, delimiter);
    if (end >= 0) piece = text.substr(0, static_cast<size_t>(end));
  }
  // The same counts as testing IsNeutralChar and IsWesternChar character by character.
  thread_local LanguageSets sets;
  sets.Refresh();
  int counted = Length(piece);
  int western = 0;
  for (char16_t ch : piece) {
    if (sets.IsNeutral(ch))
      --counted;
    else if (sets.IsWestern(ch))
      ++western;
  }
  return 4LL * western / 3 >= counted;
}

}  // namespace scrivano
