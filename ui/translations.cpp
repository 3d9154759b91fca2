#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace paylark::ui {

bool InstallQtTranslations(QCoreApplication& application) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  for (const char* name : {"qtbase", "qt"}) {
    auto* translator = new QTranslator(&application);
    if (translator->load(japanese, QString::fromLatin1(name), QStringLiteral("_"), folder)) {
      QCoreApplication::installTranslator(translator);
      return true;
    }
    delete translator;
  }
  return false;
}

}  // namespace paylark::ui
