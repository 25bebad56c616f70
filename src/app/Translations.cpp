#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "app/SystemMessages.h"
#include "prompt/SelectionPrompt.h"

namespace scrivano {
namespace {

// Set once on the user-interface thread before any task starts; read-only afterwards.
QString loadedLanguage;

}  // namespace

QString CatalogueFor(const QLocale& locale) {
  if (locale.language() == QLocale::C) return {};
  QTranslator probe;
  if (probe.load(locale, QStringLiteral("scrivano"), QStringLiteral("_"), QStringLiteral(":/i18n")))
    return probe.filePath();
  if (locale.language() != QLocale::Chinese) return {};
  return locale.script() == QLocale::TraditionalChineseScript ? QStringLiteral(":/i18n/scrivano_zh_TW.qm")
                                                              : QStringLiteral(":/i18n/scrivano_zh_CN.qm");
}

QString InstallTranslations(const QLocale& locale) {
  const QString catalogue = CatalogueFor(locale);
  auto own = std::make_unique<QTranslator>(QCoreApplication::instance());
  if (catalogue.isEmpty() || !own->load(catalogue)) return {};
  // Qt's standard buttons and dialogs (Yes, No, Cancel, the file dialog) from Qt's own catalogue, when
  // qt6-translations-l10n is installed.
  auto qt = std::make_unique<QTranslator>(QCoreApplication::instance());
  if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qt.release());
  loadedLanguage = own->language();
  QCoreApplication::installTranslator(own.release());
  SetShownTextFunction(&TranslatedSystemText);
  return loadedLanguage;
}

QString InterfaceLanguage() {
  return loadedLanguage;
}

}  // namespace scrivano
