// TfmDataEdit (明細入力画面): one employee's complete payslip for the period in memory — every
// attendance, payment, deduction and other item of the employee's pay form with the totals and
// the net pay. The user enters the variable figures, switches calculated amounts to manual entry,
// recalculates, steps to the previous or next active employee, and prints or mails the payslip.
// The screen works directly on the slot's records: every field left is written back and the
// employee recalculated, so the figures shown always match the records.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/data_edit_rules.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

class QLabel;
class QPushButton;
class QToolButton;

namespace paylark::screens {

class TfmCalc;
class TfmExplanation;
class DataField;

class TfmDataEdit : public QDialog {
  Q_OBJECT
 public:
  TfmDataEdit(ui::ProgramState& state, ui::DialogService& dialogs, TfmCalc& calculator, QWidget* parent = nullptr);
  ~TfmDataEdit() override;

  // Shows the screen modally for an employee slot; the exec result.
  int Edit(int slot);
  // Configures the slot before showing (Edit does this itself).
  void SetSlot(int slot);
  int Slot() const { return slot_; }

  // The payslip print dialog and the payslip mail, by report code (200 + slot) and caption; unset
  // means the command is not available. mailAvailable: the main window's mail command is enabled.
  std::function<void(int reportCode, const QString& caption)> openPrint;
  std::function<void(int reportCode, const QString& caption)> openMail;
  std::function<bool()> mailAvailable;
  // The calculator: its value when confirmed. By default TfmCalc; tests replace it.
  std::function<std::optional<long double>()> runCalculator;

  // 計算の説明 (F2 or the context menu of an item field): the window with the explanation of the
  // row's amount; null until first opened.
  TfmExplanation* ExplanationWindow() const { return explanationWindow_; }

 public slots:
  // Esc, the window's close button and 一覧入力へ戻る: the current field is committed once more;
  // when that changed its text the screen stays open, else it closes. The screen is written back
  // in every case.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct Row {
    RowGroup group = RowGroup::Kintai;
    int index = 1;  // 1-based within the group
    QLabel* label = nullptr;
    DataField* edit = nullptr;
    std::string labelText;    // the item name the row shows
    bool calculated = false;  // drawn in the disabled-item colour
  };

  void BuildForm();
  QWidget* BuildGroup(RowGroup group, const char* name, const QString& caption);
  QWidget* BuildRightColumn();

  void FormShow();
  void Fill();
  void ShowRow(Row& row, const RowView& view);
  void StepData(int direction);  // sbBackNextDataClick; 0 fills without moving
  void WriteBack();
  // Recalculates the slot and refills; asks the manual-tax question in a bonus period.
  void Recalculate(bool byButton);
  void sbManualClick();
  void sbCalculatorClick();
  void PrintOrMail(bool mail);
  void ShowExplanation(Row& row);
  // 計算明細: every computed amount of the employee with its explanation, written as a PDF file.
  void WriteStatement();
  bool CloseQuery();  // FormCloseQuery: true when the screen may close

  void InputItemEnter(Row& row);
  // InputItemExit: check, rewrite, recalculate, paid-leave carry.
  void InputItemExit(Row& row);
  bool InputItemKey(Row& row, QKeyEvent* key);
  void NormaliseCurrent();
  void UpdateFieldButtons();
  void UpdateCommandButtons();
  void CarryPaidLeave(double taken);
  Row* RowOf(const QObject* widget);
  Row* RowLabelled(RowGroup group, std::string_view label);
  void FocusFirstField();

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  TfmCalc& calculator_;
  int slot_ = 1;
  bool filling_ = false;
  bool closing_ = false;
  bool taxSwitched_ = false;  // the last recalculation switched 所得税 to manual entry
  Row* current_ = nullptr;  // the item field last entered
  std::vector<Row> rows_;   // 勤怠 16, 支給 18, 控除 18, その他 3
  QMetaObject::Connection focusConnection_;

  QLabel* lbSimei_ = nullptr;
  QLabel* pnSikyuTotal_ = nullptr;
  QLabel* pnKoujoTotal_ = nullptr;
  QLabel* pnSonotaTotal_ = nullptr;
  QLabel* pnSikyugaku_ = nullptr;
  QLabel* pnAutoSet_ = nullptr;
  QToolButton* sbBackData_ = nullptr;
  QToolButton* sbNextData_ = nullptr;
  QToolButton* sbCalculator_ = nullptr;
  QToolButton* sbCalc_ = nullptr;
  QToolButton* sbManual_ = nullptr;
  QPushButton* btPrnMeisai_ = nullptr;
  QPushButton* btSendMail_ = nullptr;
  QPushButton* btPrnKeisan_ = nullptr;
  TfmExplanation* explanationWindow_ = nullptr;
  QPushButton* btFormClose_ = nullptr;
};

}  // namespace paylark::screens
