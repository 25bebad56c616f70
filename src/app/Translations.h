// The interface language: Scrivano's catalogue for the user's locale (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG, as QLocale::system() reads them) and Qt's own for its standard dialogs. In the C locale, or in
// one without a catalogue (English), nothing is loaded and every text stays as written.
#pragma once

#include <QString>

class QLocale;

namespace scrivano {

// Loads the catalogues for the locale into the application, once, on the user-interface thread before
// any window is made, and lets the prompt functions show the system's messages through them. Returns
// the catalogue's language ("zh_CN"), or an empty text when the interface stays English.
QString InstallTranslations(const QLocale& locale);
// The language InstallTranslations loaded, or an empty text.
QString InterfaceLanguage();

}  // namespace scrivano
