// TfmMain: the main window with the payroll sheet (StrGrid), its tool bar, menus and status line,
// and the close query (save changes? back to the period selection? quit?).
//
// The sheet's handling is the SheetController's; the window's commands are QActions shared by
// the menus and the tool tray.
//
// The sheet's cells are the only copy of typed figures until "commit and recalculate" takes every
// employee's column over into the records and calculates all 30 slots; every save, print, mail
// and screen change runs it first. Other screens are reached through ShellScreens: a command whose
// screen is not wired (an empty function) is shown disabled. Wire the screens, then call
// UpdateCommands().
#pragma once

#include <QKeySequence>
#include <QMainWindow>
#include <functional>
#include <vector>

#include "app/shell_screens.h"
#include "session/sheet_model.h"
#include "calc/sheet_takeover.h"
#include "store/app_settings.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

class QAction;
class QLabel;
class QTimer;
class QToolButton;

namespace paylark::app {

class SheetController;
class SheetGrid;

// Help topics handed to ShellScreens::help besides the window numbers.
inline constexpr int kHelpContents = 0;
inline constexpr int kHelpKeywordSearch = -1;
inline constexpr int kHelpMainWindow = 230;

// Whether a mail program can take a payslip mail: xdg-email on the PATH.
bool HasMailTransport();

class TfmMain : public QMainWindow {
  Q_OBJECT
 public:
  TfmMain(ui::ProgramState& state, ui::DialogService& dialogs, ShellScreens& screens, QWidget* parent = nullptr,
          std::function<bool()> mailTransport = HasMailTransport);
  ~TfmMain() override;

  // Activate period: title, company name, the first-run sequence for a company without a name,
  // the name row and the sheet. False when the first-run sequence was cancelled: the window
  // is then closed (without questions).
  bool ActivatePeriod();
  // Fill name row, optionally after the employee list (edit mode).
  void FillNameRow(bool showEmployeeList);
  // Build sheet from memory, optionally after the payslip item settings of the period kind; false
  // when the settings were shown and cancelled (the sheet is then left as it was).
  bool BuildSheet(bool showItemSettings);
  void ShowResults();  // the result rows of every column from the records
  void RecalculateResults();  // the typed cells into the records and the result rows, no questions
  // Makes a cell current as a click would (leaving the current cell commits it).
  void SelectCell(int column, int row);
  // Commit cell: normalises and formats the current cell of an employee column.
  void CommitCell();
  // Commit and recalculate; false when the calculation stopped with an error (already shown).
  bool CommitAndRecalculate(bool checkHours);

  struct ChangeCheckResult {
    ui::MsgAnswer answer = ui::MsgAnswer::No;  // Yes, No or Cancel; No when not asked or unchanged
    bool changed = false;
  };
  // Change check: recalculates, compares the period in memory with the file and, when asked and
  // something differs, asks whether to save.
  ChangeCheckResult ChangeCheck(bool ask);
  // The save command; false when nothing was written.
  bool SaveData();
  // Open detail entry for the employee of the current column.
  void OpenDetailEntry();
  // The return command: the close query with the period selection requested.
  void ReturnToPeriodSelection();

  // Start-up (run flags of the window's life).
  void SetStartupInProgress(bool on) { startupInProgress_ = on; }
  bool StartupInProgress() const { return startupInProgress_; }
  void SetRestartRequired(bool on) { restartRequired_ = on; }
  bool RestartRequired() const { return restartRequired_; }
  // First-run mode: on while the first-run sequence of a company without a name runs (or after
  // it was cancelled).
  bool FirstRunMode() const;
  // Window placement as the settings keep it (State, Pos_X, Pos_Y, Width, Height); the employee
  // list's size is left at 0 for the caller.
  WindowSettings Placement() const;
  void ApplyPlacement(const WindowSettings& placement);

  // Enables the commands by the wired screens, the mail transport and the period in memory.
  void UpdateCommands();
  // The mail command is enabled (the mail screen and a transport are there).
  bool MailAvailable() const;

  // The sheet as the take-over reads it.
  SheetColumns Columns() const;
  const std::vector<SheetRow>& Rows() const;
  // The slot shown in a column, 0 for none.
  int ColumnSlot(int column) const;
  SheetGrid* Grid() const { return grid_; }

 signals:
  // The close was allowed (the program's window settings may be written unless a restart is
  // required).
  void Closing();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // One QAction per command, shared by its menu item and its tool button; `enabled` (when set)
  // decides it at every UpdateCommands.
  struct Command {
    QAction* action;
    std::function<bool()> enabled;
  };
  QAction* AddCommand(const char* name, const char* caption, std::function<void()> run,
                      std::function<bool()> enabled = {}, const QKeySequence& keys = QKeySequence());
  QAction* Action(const char* name) const;  // the command of that object name
  void BuildActions();
  void BuildMenus();
  void BuildToolTray(QWidget* central);
  void InputMethodOff();
  bool CloseQuery();
  void CloseWithoutQuestions();
  void RefreshCompanyName();
  bool Run(const std::function<bool()>& hook);
  void PrintPayslips();
  void PrintLedger();
  void PrintMonthlyList();
  void OpenYearEnd();
  void SendMail();
  void ImportReports();
  void CompanyInfo();
  void InputItemSettings();
  void PayslipItemSettings();
  void ShowTableDates();
  std::string SlipCaption() const;

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  ShellScreens& screens_;
  // Asked whenever the commands are refreshed: the SMTP server may be set during the run.
  std::function<bool()> mailTransport_;

  SheetGrid* grid_ = nullptr;
  SheetController* sheet_ = nullptr;
  std::vector<Command> commands_;
  QWidget* pnToolTray_ = nullptr;
  QLabel* lbTaisyoNen_ = nullptr;
  QLabel* lbCorpName_ = nullptr;
  QLabel* lbKihonH_ = nullptr;
  QLabel* Label1_ = nullptr;
  QTimer* Timer2_ = nullptr;  // selects the first cell after activation

  bool startupInProgress_ = true;
  bool restartRequired_ = false;
  bool returnRequested_ = false;
  bool inCloseQuery_ = false;
  bool closeWithoutQuestions_ = false;
};

}  // namespace paylark::app
