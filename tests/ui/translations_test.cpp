#include "ui/translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>

namespace paylark {
namespace {

TEST(QtTranslations, QtsOwnDialogTextsComeInJapanese) {
  // The system package of Qt's translations is among the project's dependencies.
  ASSERT_TRUE(ui::InstallQtTranslations(*qApp)) << QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString();
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
  EXPECT_NE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Print"));
  EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

}  // namespace
}  // namespace paylark
