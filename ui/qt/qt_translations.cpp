#include "ui/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "ui/qt/qt_text.h"

namespace junctra {

QtTranslations::QtTranslations(std::u16string_view culture) {
  if (culture.empty()) return;
  const QLocale locale(ToQString(culture));
  // "qtbase_de.qm" serves "de-DE", "de-AT" and "de" alike.
  loaded_ = translator_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (!loaded_) return;
  QCoreApplication::installTranslator(&translator_);
  QLocale::setDefault(locale);
}

QtTranslations::~QtTranslations() {
  if (!loaded_) return;
  QCoreApplication::removeTranslator(&translator_);
  QLocale::setDefault(previous_locale_);
}

}  // namespace junctra
