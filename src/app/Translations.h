// The interface language: Scrivano's catalogue for the user's locale (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG, as QLocale::system() reads them) and Qt's own for its standard dialogs. In the C locale, or in
// one without a catalogue (English), nothing is loaded and every text stays as written.
#pragma once

#include <QString>

class QLocale;

namespace scrivano {

// Scrivano's catalogue for the locale (":/i18n/scrivano_zh_TW.qm"), or an empty text when there is none.
// A Chinese locale without a catalogue of its own takes the one of its script: Hong Kong and Macau the
// Traditional one, Singapore the Simplified one.
QString CatalogueFor(const QLocale& locale);
// Loads the catalogues for the locale into the application, once, on the user-interface thread before
// any window is made, and lets the prompt functions show the system's messages through them. Returns
// the catalogue's language ("zh_CN", "zh_TW"), or an empty text when the interface stays English.
QString InstallTranslations(const QLocale& locale);
// The language InstallTranslations loaded, or an empty text.
QString InterfaceLanguage();

}  // namespace scrivano
