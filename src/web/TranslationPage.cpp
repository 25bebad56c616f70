#include "web/TranslationPage.h"

#include <chrono>
#include <thread>

#include "prompt/SelectionPrompt.h"
#include "text/Lists.h"
#include "text/Tokenizers.h"

namespace scrivano {
namespace {

constexpr char16_t kDivisionSlash[] = u"\u2215";
constexpr char16_t kPercentMask[] = u"*****";

// The page's inner text with its line breaks as "\r\n".
Text WithCrLf(TextView text) {
  Text out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
    out += text[i];
  }
  return out;
}

// Moves pos just past the marker; false (pos unchanged) when the marker is not there.
bool SkipPast(TextView text, int& pos, TextView marker) {
  const int at = Find(text, marker, pos);
  if (at < 0) return false;
  pos = at + static_cast<int>(marker.size());
  return true;
}

}  // namespace

const Text TranslationSites::kSites = u"translate.google.cn\tfanyi.youdao.com\tfanyi.baidu.com\ticiba.com";
const Text TranslationSites::kKeywords = u"translate\tfanyi\tyoudao\tbaidu\ticiba\tgoogle\tq=\tquery=\t/#";
const Text TranslationSites::kExamplePage = u"https://fanyi.youdao.com/?keyfrom=dict2.top&q=hello";

bool BuildTranslationAddress(Text& address, TextView text) {
  // 1.
  if (FindFirstListItem(address, TranslationSites::kKeywords) == 0) {
    address.clear();
    return false;
  }
  // 2. The cut point.
  int cut = Find(address, u'=');
  if (cut < 0) {
    const int hash = Find(address, u"/#");
    if (hash >= 0) {
      const int first = Find(address, u'/', hash + 2);
      cut = first < 0 ? -1 : Find(address, u'/', first + 1);
    } else {
      cut = Find(address, u'/', 9);
    }
  }
  // 3. Without a cut point the text goes at the end.
  address = (cut < 0 ? address : Left(address, cut + 1)) + Text(text);
  return true;
}

int TranslationSiteOf(TextView address) {
  return FindFirstListItem(address, TranslationSites::kSites);
}

void ReadPageTranslation(TranslationRelay& relay, TextView pageText) {
  const Text page = WithCrLf(pageText);
  int pos = 0;
  Text line;
  switch (relay.translationSite) {
    case 1:
      if (!SkipPast(page, pos, u"翻译文字或网页\r\n") || !SkipPast(page, pos, u"\r\n")) break;
      NextToken(page, pos, relay.pageResult, u"\r\n翻译更多");
      if (pos != 0) NextNonBlankLine(page, relay.pageResult, pos);
      // Still working: the page shows dots until the translation is there.
      if (Find(relay.pageResult, u"...") >= 0 || Find(relay.pageResult, u"…") >= 0)
        relay.pageResult = relay.previousResult;
      break;
    case 2:
      if (!SkipPast(page, pos, u"有道翻译") && !SkipPast(page, pos, u"网络释义")) break;
      if (NextNonBlankLine(page, line, pos) && pos != 0) NextNonBlankLine(page, relay.pageResult, pos);
      break;
    case 3:
      if (!SkipPast(page, pos, u"翻译" + relay.translationAddress)) break;
      NextToken(page, pos, relay.pageResult, u"推荐搜索");
      break;
    case 4:
      if (!SkipPast(page, pos, u"网络")) break;
      NextNonBlankLine(page, relay.pageResult, pos);
      break;
    default:
      break;
  }
  if (relay.maskedPercentCount != 0 || relay.lastMaskedPercentCount != 0)
    Replace(relay.pageResult, kPercentMask, u"%");
}

Text TranslateLines(TextView source,
                    const std::function<bool(TextView piece, Text& translation)>& translatePiece,
                    const std::function<void()>& onFailure) {
  Text result, line, translation;
  int pos = 0;
  const int length = Length(source);
  while (pos != length || (pos == 0 && length == 0)) {
    const bool more = NextTokenFound(source, line, pos, u"\r\n");
    if (!result.empty()) result += u"\r\n";
    // The text before each tag, the tag itself, and the text after the last one.
    int at = 0;
    for (;;) {
      const int tag = Find(line, u"{ut", at);
      Text piece = tag < 0 ? MidFrom(line, at) : Mid(line, at, tag - at);
      Trim(piece);
      if (!piece.empty()) {
        if (!translatePiece(piece, translation)) {
          if (onFailure) onFailure();
          break;
        }
        result += translation;
      }
      if (tag < 0) break;
      const int close = Find(line, u'}', tag);
      const int end = close < 0 ? Length(line) : close + 1;
      result += u"{ut" + Mid(line, tag + 3, end - tag - 3 - (close < 0 ? 0 : 1)) + u"}";
      at = end;
    }
    if (!more || length == 0) break;
  }
  return result;
}

int TranslationPageStep(TranslationRelay& relay, BrowserDocument& document, int waitMs) {
  switch (relay.companionState) {
    case 3:
      return document.SetAddress(relay.translationAddress) ? 1 : 0;
    case 1:
      return document.ReadAddress(relay.pageResult) ? 1 : 0;
    case 2:
      break;
    default:
      return 0;
  }
  // 1. and 2.
  Text address, pageText;
  if (!document.ReadAddress(address) || !document.ReadBodyText(pageText)) return 0;
  ReadPageTranslation(relay, pageText);
  relay.previousResult = relay.pageResult;
  // 3. and 4. A slash in the text must not cut the address's path.
  Replace(relay.translationAddress, u"/", kDivisionSlash);
  if (!BuildTranslationAddress(address, relay.translationAddress)) return 0;
  // 5.
  relay.translationSite = TranslationSiteOf(address);
  if (relay.translationSite == 0) {
    ShowNotice(u"Wrong translation address:\r\n\r\n" + address + u"\r\n\r\nPlease Set Parameters again.");
    return 0;
  }
  // 6. "%" would be read as an escape in the address.
  Replace(relay.translationAddress, u"%", kPercentMask);
  relay.maskedPercentCount = Replace(address, u"%", kPercentMask);
  if (!document.SetAddress(address)) return 0;
  // 7. Until the page shows another translation, or the wait is over.
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!document.ReadBodyText(pageText)) return 0;
    ReadPageTranslation(relay, pageText);
    if (relay.pageResult != relay.previousResult) break;
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(waitMs)) break;
  }
  // 8.
  relay.lastMaskedPercentCount = relay.maskedPercentCount;
  return 1;
}

}  // namespace scrivano
