// Saldesk: the payroll program. One instance per user; the program folder is the executable's.
#include <QApplication>

#include "app/main_window.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "ui/fonts.h"
#include "ui/qt_dialog_service.h"
#include "ui/qt_text.h"
#include "ui/screen_fit.h"
#include "ui/translations.h"

int main(int argc, char** argv) {
  using namespace paylark;
  QApplication application(argc, argv);
  QApplication::setApplicationName(ui::kApplicationTitle);
  QApplication::setApplicationDisplayName(ui::kApplicationTitle);
  ui::InstallJapaneseFonts();
  ui::InstallQtTranslations(application);
  ui::KeepWindowsInsideScreen(application);
  ui::QtDialogService dialogs;

  app::SingleInstance instance;
  if (instance.AnotherIsRunning()) {
    dialogs.Error("このプログラムは二重起動できません。");
    return 0;
  }
  instance.Listen();

  const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString();
  if (!app::PassesWriteTest(folder, dialogs)) return 1;

  app::Program program(folder, dialogs);
  QObject::connect(&instance, &app::SingleInstance::RaiseRequested, [&program] {
    QWidget& window = program.MainWindow();
    if (window.isMinimized()) window.showNormal();
    window.raise();
    window.activateWindow();
  });
  if (!program.Start()) return 1;
  return application.exec();
}
