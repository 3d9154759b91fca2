// TfmSelData (給与対象月/賞与時期の選択): the choice of the yearly file and one of its fifteen
// periods. Confirming loads a saved period into memory or prepares a new one by carrying the
// company information and the employee table over (or from reference data), and takes the
// month's scheduled days and hours or the bonus pay date. The window also deletes a saved
// period and backs up and restores the data files with the settings file.
//
// The screen is created once and remembers for the run whether the company information is set
// up, whether a period was chosen and whether the first-time hint is still to be shown.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "app/folder_chooser.h"
#include "store/year_file_list.h"
#include "ui/dialog_service.h"
#include "ui/entry_fields.h"
#include "session/program_state.h"

class QAction;
class QComboBox;
class QGroupBox;
class QListWidget;
class QPushButton;

namespace paylark::app {

class TfmRefData;

class TfmSelData : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 220;

  TfmSelData(ui::ProgramState& state, ui::DialogService& dialogs, TfmRefData& refData, QWidget* parent = nullptr);

  // Shows the selection modally; `returning` after the main window's return command (終了 then
  // asks nothing). True when a period was confirmed: it is in state.open.period and
  // state.open.periodIndex. False on 終了, and after a restore.
  bool Run(bool returning);

  // Set by a successful restore: the selection has closed as 終了, and the program must end
  // without asking anything and without writing its window settings, so that the next start
  // reads the restored files.
  bool RestartRequired() const { return restartRequired_; }

  bool CompanySetUp() const { return companySetUp_; }
  bool PeriodChosen() const { return periodChosen_; }
  bool FirstHintPending() const { return firstHintPending_; }

  // F1 opens the help at kHelpTopic.
  void SetHelp(std::function<void(int)> help) { help_ = std::move(help); }

 public slots:
  void accept() override;  // confirming (ＯＫ, double click, Enter on the list)
  void reject() override;  // 終了, Esc and the close box

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildLayout();
  void ReadYearFile();      // header, month cache and DefJikanD of state.open.currentDataFile
  void FillYearList();
  void SelectOpenPeriod();  // the open era year from the file name, the bonus date preset, the line
  void Activated();
  void YearChosen(int index);
  void LineChanged(int row);
  void PaintLine(int period);
  void DeletePeriod();
  void Backup();
  void Restore();
  void CloseAsQuit();

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  TfmRefData& refData_;
  FolderChooser folders_;
  ui::FieldContext fields_;
  std::function<void(int)> help_;

  std::vector<YearFileEntry> years_;
  double defaultDailyHours_ = 0;
  bool returning_ = false;
  bool companySetUp_ = false;
  bool periodChosen_ = false;
  bool firstHintPending_ = true;
  bool restartRequired_ = false;

  QListWidget* list_;
  QComboBox* year_;
  QGroupBox* salaryGroup_;
  QGroupBox* bonusGroup_;
  ui::NumEdit* days_;
  ui::NumEdit* hours_;
  ui::NumEdit* payMonth_;
  ui::NumEdit* payDay_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QAction* backup_;
  QAction* restore_;
};

}  // namespace paylark::app
