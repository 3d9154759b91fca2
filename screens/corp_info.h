// TfmCorpInfo (会社情報の設定): the company information of the period in memory — name, pay day,
// the standard working conditions and the employee's share of each insurance premium. Showing
// puts the default rates into a record whose rates are 0; OK checks and stores the values, writes
// DefJikanD to the settings file and says when the employees' premiums need setting again.
#pragma once

#include <QDialog>

#include "session/corp_info_rules.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace paylark::ui {
class NumEdit;
class TextEdit;
}  // namespace paylark::ui

namespace paylark::screens {

class TfmCorpInfo : public QDialog {
  Q_OBJECT
 public:
  TfmCorpInfo(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr);

  // Shows the screen modally on state.Period().company (in first-run mode when state.firstRun);
  // true when closed with OK.
  bool Edit();
  // The same through QDialog's own entry: the showing steps run first.
  int exec() override;

 public slots:
  // Cancel, Esc and closing the window; in first-run mode only after the user agrees to end the
  // program's set-up.
  void reject() override;

 private:
  void FillFromRecord();
  // 健康保険の加入先: the record as the combo box would store it, the rates in force shown beside
  // it, and the rate fields filled with them when the user picks an insurer.
  CompanyRecord RecordWithInsurer() const;
  void ShowRatesInForce();
  void InsurerChosen();
  CompanyInput ReadInput() const;
  void FocusField(CompanyField field);
  void Confirm();
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The worker's employment rate in force on the wage closing date of the period, beside
  // 雇用保険料額表を使用, as the business kind and the closing settings on the screen say.
  void ShowEmploymentRateInForce();

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  PremiumRates remembered_;

  ui::TextEdit* edSyamei_;
  ui::NumEdit* edSikyubi_;
  ui::NumEdit* edJikanD_;
  ui::NumEdit* edNissu_;
  ui::NumEdit* edJikanM_;
  QRadioButton* rbJigyo_;
  QRadioButton* rbIgai_;
  QCheckBox* cbUseHyo_;
  ui::NumEdit* edKoyRitu_;
  ui::NumEdit* edKenRitu_;
  ui::NumEdit* edKaiRitu_;
  ui::NumEdit* edNenRitu_;
  ui::NumEdit* edKknRitu_;
  QComboBox* cbKenpo_ = nullptr;  // 0 健康保険組合, 1..47 協会けんぽ by JIS prefecture code
  QLabel* lbRates_ = nullptr;     // the rates in force for the period
  ui::NumEdit* edSienRitu_;    // 子ども・子育て支援金
  QComboBox* cbTyousyu_;       // 社会保険料の徴収: 翌月徴収 / 当月徴収
  ui::NumEdit* edSimebi_;      // 給与締日
  QComboBox* cbSimeTuki_;      // 当月締め / 前月締め
  QLabel* lbKoyHyoRitu_;       // the employment rate in force
};

}  // namespace paylark::screens
