// Saldesk: the payroll program. One instance per user. Started from a program folder it keeps
// everything there; installed, the user's files go to the user's folder (store/program_folders.h).
// `--folder DIR` chooses that folder once for all later starts.
#include <QApplication>

#include "app/main_window.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "store/program_folders.h"
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

  const EnvironmentLookup env = ProcessEnvironment();
  const std::string executableDir = ui::ToUtf8(QCoreApplication::applicationDirPath());
  const std::filesystem::path exe(std::u8string(executableDir.begin(), executableDir.end()));
  ProgramFolders folders = ResolveProgramFolders(exe, env);
  // --folder DIR: the installed program keeps the user's files in DIR from now on. A program
  // folder keeps everything beside the program and takes no such choice.
  const QStringList arguments = QCoreApplication::arguments();
  const qsizetype chosen = arguments.indexOf(QStringLiteral("--folder"));
  if (folders.installed && chosen > 0 && chosen + 1 < arguments.size()) {
    const std::string text = ui::ToUtf8(arguments[chosen + 1]);
    const std::filesystem::path folder(std::u8string(text.begin(), text.end()));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!RememberChosenFolder(env, folder)) dialogs.Error("データ用フォルダーが作成できません。");
    folders = ResolveProgramFolders(exe, env);
  }
  if (folders.installed) {
    std::error_code ec;
    std::filesystem::create_directories(folders.userDir, ec);
  }
  if (!app::PassesWriteTest(folders.userDir, dialogs)) return 1;

  app::Program program(folders, dialogs);
  QObject::connect(&instance, &app::SingleInstance::RaiseRequested, [&program] {
    QWidget& window = program.MainWindow();
    if (window.isMinimized()) window.showNormal();
    window.raise();
    window.activateWindow();
  });
  if (!program.Start()) return 1;
  return application.exec();
}
