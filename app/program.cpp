#include "app/program.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include "app/inp_pass.h"
#include "app/main_window.h"
#include "app/ref_data.h"
#include "app/report_import.h"
#include "app/sel_data.h"
#include "app/set_pass.h"
#include "app/shell_screens.h"
#include "screens/calc_window.h"
#include "screens/corp_info.h"
#include "screens/data_edit.h"
#include "mail/mail_program.h"
#include "mail/smtp_settings.h"
#include "screens/inji.h"
#include "screens/mail_server.h"
#include "screens/pre_view.h"
#include "screens/send_mail.h"
#include "screens/year_end.h"
#include "screens/kenho_hyo.h"
#include "screens/memb_edit.h"
#include "screens/memb_list.h"
#include "screens/option.h"
#include "screens/prn_form.h"
#include "store/app_settings.h"
#include "store/atomic_file.h"
#include "store/era.h"
#include "store/year_file.h"
#include "session/program_state.h"
#include "ui/help_window.h"
#include "ui/message_lines.h"
#include "ui/qt_text.h"

#ifndef PAYLARK_VERSION
#define PAYLARK_VERSION "3.0.1"
#endif

namespace paylark::app {
namespace {

// The numeric value of a stored version text ("1.00"); 0 when it is not a number.
double ParseVersion(const std::string& text) {
  bool ok = false;
  const double v = QString::fromStdString(text).trimmed().toDouble(&ok);
  return ok ? v : 0.0;
}

// F1 in a screen, or in a message box over it, opens the help topic of that screen; the main
// window and the period selection handle F1 themselves.
class HelpKey : public QObject {
 public:
  HelpKey(std::function<void(int)> help, QObject* parent) : QObject(parent), help_(std::move(help)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    // A message box without a topic of its own ("（詳細はF1キーを押してヘルプを参照）") opens the
    // topic of the window it stands over.
    for (QWidget* window = widget->window(); window;
         window = window->parentWidget() ? window->parentWidget()->window() : nullptr) {
      const QString name = window->objectName();
      if (name == QLatin1String("TfmHelp")) return false;
      const bool handlesF1 = name == QLatin1String("TfmMain") || name == QLatin1String("TfmSelData");
      if (handlesF1 && window == widget->window()) return false;
      if (const int topic = ui::HelpTopicOfWindow(name)) {
        help_(topic);
        return true;
      }
    }
    return false;
  }

 private:
  std::function<void(int)> help_;
};

}  // namespace

QString VersionText() {
  // "3.0.1" -> "3.01": the first number, a point, the second and third numbers.
  const QStringList parts = QString::fromLatin1(PAYLARK_VERSION).split('.');
  return parts.value(0) + "." + parts.value(1, "0") + parts.value(2, "0");
}

// Every screen is created once, in this order, and lives until the program ends.
struct Program::Parts {
  Parts(const ProgramFolders& folders, ui::DialogService& d)
      : dialogs(d),
        state(folders.userDir, folders.tablesDir),
        main(state, dialogs, screens, nullptr,
             [this] {
               // The mail program, or an SMTP server set in the settings.
               return !mail::FindMailProgramLauncher().empty() || mail::LoadSmtpSettings(state.settings).Configured();
             }),
        refData(state, dialogs, &main),
        selData(state, dialogs, refData, &main),
        kenhoHyo(state, &main),
        calc(dialogs, &main),
        membEdit(state, dialogs, kenhoHyo, calc, &main),
        membList(state, dialogs, membEdit, &main),
        dataEdit(state, dialogs, calc, &main),
        option(state, dialogs, &main),
        prnFormK(state, dialogs, &main),
        prnFormS(state, dialogs, &main),
        corpInfo(state, dialogs, &main),
        inpPass(state, dialogs, &main),
        setPass(state, dialogs, &main),
        preview(state, dialogs, &main),
        inji(state, dialogs, preview, &main),
        mailServer(state, dialogs, &main),
        sendMail(state, dialogs, inji, mailServer, &main),
        yearEnd(state, dialogs, preview, &main),
        help(folders.manualDir, &main) {}

  ui::DialogService& dialogs;
  ui::ProgramState state;
  ShellScreens screens;
  TfmMain main;
  TfmRefData refData;
  TfmSelData selData;
  screens::TfmKenhoHyo kenhoHyo;
  screens::TfmCalc calc;
  screens::TfmMembEdit membEdit;
  screens::TfmMembList membList;
  screens::TfmDataEdit dataEdit;
  screens::TfmOption option;
  screens::TfmPrnFormK prnFormK;
  screens::TfmPrnFormS prnFormS;
  screens::TfmCorpInfo corpInfo;
  TfmInpPass inpPass;
  TfmSetPass setPass;
  screens::TfmPreView preview;
  screens::TfmInji inji;
  screens::TfmMailServer mailServer;
  screens::TfmSendMail sendMail;
  screens::TfmYearEnd yearEnd;
  ui::TfmHelp help;
  int tablesLoaded = 0;
  std::vector<std::string> tableErrors;  // missing or damaged table files, named at start-up
};

bool PassesWriteTest(const std::filesystem::path& programFolder, ui::DialogService& dialogs) {
  const StartupWriteTestResult result = StartupWriteTest(programFolder, programFolder / "Saldesk.ini");
  for (const std::string& message : result.Messages()) dialogs.Error(message);
  return result.ok;
}

Program::Program(const std::filesystem::path& programFolder, ui::DialogService& dialogs)
    : Program(ProgramFolders{programFolder, programFolder, programFolder / "manual", false}, dialogs) {}

Program::Program(const ProgramFolders& folders, ui::DialogService& dialogs)
    : parts_(std::make_unique<Parts>(folders, dialogs)) {
  Parts& p = *parts_;
  ShellScreens& s = p.screens;
  s.companyInfo = [&p] { return p.corpInfo.Edit(); };
  s.inputItems = [&p] { return p.option.Run(); };
  s.payslipItems = [&p](ItemKind kind) { return kind == ItemKind::Bonus ? p.prnFormS.Run() : p.prnFormK.Run(); };
  s.employeeList = [&p](screens::MembListMode mode) { return p.membList.Run(mode); };
  s.detailEntry = [&p](int slot) {
    p.dataEdit.Edit(slot);
    return true;  // the screen works on the records in memory
  };
  s.periodSelection = [&p](bool returning) {
    const bool ok = p.selData.Run(returning);
    if (p.selData.RestartRequired()) p.main.SetRestartRequired(true);
    return ok;
  };
  s.importReports = [&p] { return ImportAttendanceReports(p.state, p.dialogs); };
  s.print = [&p](print::ReportCode code, const QString& caption) { p.inji.Run(code, caption); };
  s.mail = [&p](print::ReportCode code, const QString& caption) { p.sendMail.Run(code, caption); };
  s.mailServer = [&p] { return p.mailServer.Run(); };
  s.yearEnd = [&p] { return p.yearEnd.Run(); };
  p.inji.selectedSlots = [&p] { return p.membList.SelectedSlots(); };
  p.sendMail.selectedSlots = [&p] { return p.membList.SelectedSlots(); };
  p.membList.openPrintDialog = [&p](const std::string& caption, int code) {
    p.inji.Run(code, QString::fromStdString(caption));
  };
  p.dataEdit.openPrint = [&p](int code, const QString& caption) { p.inji.Run(code, caption); };
  p.dataEdit.openMail = [&p](int code, const QString& caption) { p.sendMail.Run(code, caption); };
  p.dataEdit.mailAvailable = [&p] { return p.main.MailAvailable(); };
  s.versionBox = [&p] {
    p.dialogs.Information(ui::ToUtf8(ui::kApplicationTitle + "\r" + QStringLiteral("プログラムバージョン ") + VersionText()));
  };
  s.help = [&p](int topic) { p.help.ShowTopic(topic); };
  qApp->installEventFilter(new HelpKey(s.help, &p.main));
  p.option.SetPasswordHook([&p] { p.setPass.Run(); });
  p.selData.SetHelp(s.help);
  p.main.UpdateCommands();
}

Program::~Program() = default;

TfmMain& Program::MainWindow() { return parts_->main; }

bool Program::Start() {
  Parts& p = *parts_;
  ui::ProgramState& state = p.state;
  state.LoadOptions();
  p.tablesLoaded = state.LoadRateTables(&p.tableErrors);

  std::error_code ec;
  std::filesystem::create_directories(state.paths.dataDir, ec);
  if (!std::filesystem::is_directory(state.paths.dataDir)) {
    p.dialogs.Error("データ用フォルダーが作成できません。");
    return false;
  }
  // Temporary files that interrupted saves left behind (the previous files are whole).
  RemoveStaleTemporaryFiles(state.paths.programDir);
  RemoveStaleTemporaryFiles(state.paths.dataDir);
  state.open.eraYear = EraOf(Today());
  state.open.currentDataFile = state.paths.dataDir / YearFileName(state.open.eraYear);
  try {
    CreateYearFile(state.open.currentDataFile, state.open);
  } catch (const YearFileError& e) {
    p.dialogs.Error(e.UserText());
  }

  QObject::connect(&p.main, &TfmMain::Closing, [&p] {
    if (p.main.RestartRequired()) return;
    WindowSettings placement = p.main.Placement();
    placement.memberListWidth = p.membList.width();
    placement.memberListHeight = p.membList.height();
    try {
      SaveWindowSettings(p.state.settings, placement);
      p.preview.SaveButtonBar();
    } catch (const std::exception& e) {
      p.dialogs.Error(e.what());
    }
  });

  const WindowSettings placement =
      LoadWindowSettings(state.settings, p.membList.width(), p.membList.height());
  p.main.ApplyPlacement(placement);
  p.main.show();
  QTimer::singleShot(0, &p.main, [this] { FirstActivation(); });
  return true;
}

void Program::FirstActivation() {
  Parts& p = *parts_;
  // Every missing or damaged table file is named, also when three are enough to start: a tax
  // that needs it is refused later, and the user should know why beforehand.
  if (!p.tableErrors.empty()) p.dialogs.Warning(ui::JoinLines(p.tableErrors));
  if (p.tablesLoaded < 3) {
    p.dialogs.Error("必要な表データファイルが足りません。");
    p.main.close();
    return;
  }
  const std::string previous = LoadProgramVersion(p.state.settings);
  // The notice once for a settings file of an older program: which editions the tables hold.
  if (ParseVersion(previous) < 2.1) p.dialogs.Information(InstalledEditionsNotice(p.state.editions));
  try {
    SaveProgramVersion(p.state.settings, ui::ToUtf8(VersionText()));
  } catch (const std::exception& e) {
    p.dialogs.Error(e.what());
  }
  QApplication::processEvents();

  if (!p.inpPass.RunAtStartUp()) {
    p.main.close();
    return;
  }
  if (!p.screens.periodSelection(false)) {
    p.main.close();
    return;
  }
  p.main.ActivatePeriod();
  if (!p.main.FirstRunMode()) p.main.SetStartupInProgress(false);
}

}  // namespace paylark::app
