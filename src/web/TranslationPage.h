// Automatic translation through a translation page shown in the companion: the supported sites, the
// address that carries the source text, and the translation cut out of the page's text by each site's
// page-text markers.
#pragma once

#include <functional>

#include "text/Text.h"
#include "web/WebCapture.h"

namespace scrivano {

// The four supported translation sites (site 1 to 4, in this order), compared by substring against the
// page address; the address keywords, at least one of which must occur in an address before it is
// rewritten; the example page named in the message that asks to open the translation page.
struct TranslationSites {
  static const Text kSites;     // tab-separated, four items
  static const Text kKeywords;  // tab-separated, nine items
  static const Text kExamplePage;
};

// The automatic-translation record, one for the run, owned by the application and used on its
// user-interface thread (the timer cycle). The companion's window is kept by the CompanionLink
// (companionWindow), which the companion search of the timer cycle writes from its own thread.
struct TranslationRelay {
  Text sourceText;          // copied from the target window
  Text resultText;          // the translation being assembled
  Text translationAddress;  // state 3: the address to open; state 2: the piece to translate
  Text pageResult;
  Text previousResult;
  int maskedPercentCount = 0;
  int lastMaskedPercentCount = 0;
  int companionState = 0;   // 1 read the address, 2 translate the piece, 3 open the address
  int translationSite = 0;  // 1 to 4, 0 none
  // Set by the timer cycle only: parameter 15 as last checked, and 1 before each long-press check.
  Text translationSetting;
  int autoTranslateFlag = 0;
};

// companionState values: the timer cycle's (check the translation setting, idle) and the page steps'.
inline constexpr int kCheckTranslationSetting = 4;
inline constexpr int kOpenTranslationAddress = 3;
inline constexpr int kTranslatePiece = 2;
inline constexpr int kCompanionIdle = 0;

// Rewrites address so that it carries text: cut after the first "=", or for "/#" addresses after the
// second "/" following it, or after the first "/" from position 9 on. False (and address emptied) when
// none of the keywords occurs in it.
bool BuildTranslationAddress(Text& address, TextView text);

// The 1-based number of the first site that occurs in the address, 0 when none does.
int TranslationSiteOf(TextView address);

// Cuts the translation out of the page's text by the markers of relay.translationSite into pageResult;
// a missing marker leaves pageResult as it was. "*****" comes back as "%" when the piece had "%" masked.
void ReadPageTranslation(TranslationRelay& relay, TextView pageText);

// Translates the source line by line: each line's text between "{ut...}" tags is trimmed and, when not
// blank, handed to translatePiece (which puts the translation into translation and returns false on
// failure); the tags are copied through unchanged; lines are joined by "\r\n". onFailure is called for
// a failed piece, and the rest of that line is left out.
Text TranslateLines(TextView source,
                    const std::function<bool(TextView piece, Text& translation)>& translatePiece,
                    const std::function<void()>& onFailure);

// The page step by relay.companionState (3 open the address, 1 read it, 2 translate the piece and wait
// up to waitMs for a new translation); 1 on success, 0 on failure.
int TranslationPageStep(TranslationRelay& relay, BrowserDocument& document, int waitMs);

}  // namespace scrivano
