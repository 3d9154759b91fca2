// TfmMembEdit (社員情報の編集): one employee record of the open period — identity and category, tax
// column, the fixed monthly amounts, the insurance flags with their stored premiums, the mail
// address and the retirement date. It edits a working copy and stores it into the period in
// memory on ＯＫ (a new employee into the first free slot) and recalculates that slot; it can keep
// its entries as the template for new employees (社員情報.dat in the data folder).
#pragma once

#include <QDialog>
#include <ctime>
#include <functional>
#include <optional>

#include "session/memb_edit_rules.h"
#include "store/era.h"
#include "store/period.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class QPushButton;

namespace paylark::ui {
class NumEdit;
class TextEdit;
}  // namespace paylark::ui

namespace paylark::screens {

class TfmKenhoHyo;
class TfmCalc;

class TfmMembEdit : public QDialog {
  Q_OBJECT
 public:
  TfmMembEdit(ui::ProgramState& state, ui::DialogService& dialogs, TfmKenhoHyo& gradeTable, TfmCalc& calculator,
              QWidget* parent = nullptr);
  ~TfmMembEdit() override;

  // Configure before showing: an existing slot (1..30) or a new employee.
  void SetSlot(int slot);
  void SetNewEmployee();
  // Configures and shows modally; true when the employee was stored.
  bool EditSlot(int slot);
  bool EditNew();

  // The slot shown (0 for a new employee before it is stored) and, after ＯＫ, the slot stored.
  int Slot() const { return slot_; }
  int StoredSlot() const { return storedSlot_; }

  // Seams to the grade table, the calculator and the clock. By default they open TfmKenhoHyo
  // (true with the grade in state.selectedGrade) and TfmCalc (its value, or nullopt when not
  // confirmed) and read the system clock; tests replace them.
  std::function<bool(QWidget* over)> chooseGrade;
  std::function<std::optional<long double>()> runCalculator;
  std::function<std::time_t()> clock;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The form is made from the table of session/memb_edit_fields.h.
  void BuildForm();
  void MakeField(const MembFieldRow& row);
  void PlaceFields(QGridLayout* grid, FieldGroup group);
  QWidget* BuildButtons();
  ui::NumEdit* MakeNumEdit(const MembFieldRow& row, QWidget* parent);
  // The control of a row, as the widget its kind makes.
  QWidget* Field(MembField id) const;
  ui::NumEdit* Num(MembField id) const;
  QCheckBox* Check(MembField id) const;
  QComboBox* Combo(MembField id) const;
  ui::TextEdit* Text(MembField id) const;
  void ShowAmount(MembField id, double value);  // in the field's own format

  void FormShow();
  void ShowRecord();
  void FillControls(EmployeeEntry entry);
  EmployeeEntry ReadControls() const;
  // 生年月日: the field's value (0 when blank, nullopt when not a date) and showing a value in 和暦
  // with the age (nullopt: the field keeps what was typed).
  std::optional<std::int32_t> BirthDateFromControl() const;
  void ShowBirthDate(std::optional<std::int32_t> yyyymmdd);
  CivilDate TodayFromClock() const;
  // The controls written into a copy of `base`; a record without key gets `key`.
  EmployeeRecord RecordFromControls(const EmployeeRecord& base, const std::string& key) const;
  void ApplyEnabling();
  void UpdateSteppingButtons();
  void Step(int delta);

  void bbOkClick();
  void sbNewBaseClick();
  void sbAutoSetClick();
  void sbCalculatorClick();
  void sbTankaClick();  // 単価計算: the least unit prices of the law, shown before they are put in
  void cbTaisyoClick();
  void FieldEntered(QWidget* field);
  void FieldLeft(ui::NumEdit* field);
  bool KubunKey(QKeyEvent* key);
  bool NumericKey(ui::NumEdit* field, QKeyEvent* key);
  void ResetToDefaults();
  std::string MakeKey() const;
  void FocusBack();

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  TfmKenhoHyo& gradeTable_;
  TfmCalc& calculator_;

  int slot_ = 0;  // 0 = new employee
  int storedSlot_ = 0;
  EmployeeRecord working_;   // the working copy
  EmployeeRecord original_;  // as shown, for the change check
  bool activatedOnce_ = false;
  QWidget* current_ = nullptr;  // the field last entered
  QMetaObject::Connection focusConnection_;

  struct Controls;
  Controls* c_;
};

}  // namespace paylark::screens
