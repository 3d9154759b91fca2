// TfmMain: the main window with the payroll sheet (StrGrid), its tool bar, menus and status line,
// and the close query (save changes? back to the period selection? quit?).
//
// The sheet's cells are the only copy of typed figures until "commit and recalculate" takes every
// employee's column over into the records and calculates all 30 slots; every save, print, mail
// and screen change runs it first. Other screens are reached through ShellScreens: a command whose
// screen is not wired (an empty function) is shown disabled. Wire the screens, then call
// UpdateCommands().
#pragma once

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
  const std::vector<SheetRow>& Rows() const { return rows_; }
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
  void BuildMenus();
  void BuildToolTray(QWidget* central);
  void OnCurrentCellChanged(int column, int row);
  void CarryPaidLeave(int column);
  bool CellVariable(int column, int row) const;
  int ColumnPayForm(int column) const;
  bool KeyTyped(QKeyEvent* event, bool inEditor);
  void MoveByEnter();
  void InputMethodOff();
  bool CloseQuery();
  void CloseWithoutQuestions();
  void RefreshCompanyName();
  bool Run(const std::function<bool()>& hook);
  void PrintPayslips();
  void PrintLedger();
  void PrintMonthlyList();
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
  QWidget* pnToolTray_ = nullptr;
  QLabel* lbTaisyoNen_ = nullptr;
  QLabel* lbCorpName_ = nullptr;
  QLabel* lbKihonH_ = nullptr;
  QLabel* Label1_ = nullptr;
  QToolButton* sbWrite_ = nullptr;
  QToolButton* sbMemberList_ = nullptr;
  QToolButton* sbDataEdit_ = nullptr;
  QToolButton* sbMeisaihyo_ = nullptr;
  QToolButton* sbKyuyoDaicho_ = nullptr;
  QToolButton* sbKyuyoIchiran_ = nullptr;
  QToolButton* sbSendMail_ = nullptr;
  QToolButton* sbReturn_ = nullptr;
  QAction* mnSaveFile_ = nullptr;
  QAction* mnKinmuRead_ = nullptr;
  QAction* mnReturn_ = nullptr;
  QAction* mnQuit_ = nullptr;
  QAction* mnCorpInfo_ = nullptr;
  QAction* mnEnvSetting_ = nullptr;
  QAction* mnPrnForm_ = nullptr;
  QAction* mnMailServer_ = nullptr;
  QAction* mnMemberList_ = nullptr;
  QAction* mnMeisaihyo_ = nullptr;
  QAction* mnKyuyoDaicho_ = nullptr;
  QAction* mnKyuyoIchiran_ = nullptr;
  QAction* mnSendMail_ = nullptr;
  QAction* mnHelpContents_ = nullptr;
  QAction* mnHelpSearch_ = nullptr;
  QAction* mnVersion_ = nullptr;
  QAction* mnTableDates_ = nullptr;
  QTimer* Timer1_ = nullptr;  // input method off after the half-width/full-width keys
  QTimer* Timer2_ = nullptr;  // selects the first cell after activation

  std::vector<SheetRow> rows_;
  std::vector<int> columnSlots_;  // column k shows columnSlots_[k − 1]
  int currentColumn_ = 1;
  int currentRow_ = 1;
  bool building_ = false;
  bool committing_ = false;
  bool startupInProgress_ = true;
  bool restartRequired_ = false;
  bool returnRequested_ = false;
  bool inCloseQuery_ = false;
  bool closeWithoutQuestions_ = false;
  QMetaObject::Connection focusConnection_;
};

}  // namespace paylark::app
