// TfmDeclaration (申告書の入力): one employee's declarations for the 年末調整, laid out as the
// 国税庁's forms so a clerk copies them from paper — 扶養控除等申告書 (the spouse and the dependants as
// rows, each with the kind the birth date and the income make of them), 基礎控除・配偶者控除等・
// 特定親族・所得金額調整控除, 保険料控除 (each kind's deduction shown as the amounts are typed),
// 住宅借入金等特別控除 and 前職分, and the employee's particulars for the slips. Nothing is stored
// here: ＯＫ checks every field (the first fault is shown and focused) and hands the records back.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "session/declaration_rules.h"
#include "store/declarations.h"
#include "store/options.h"
#include "store/year_end_particulars.h"
#include "store/year_end_rules.h"
#include "ui/dialog_service.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTabWidget;

namespace paylark::ui {
class NumEdit;
class TextEdit;
struct FieldContext;
}  // namespace paylark::ui

namespace paylark::screens {

class TfmDeclaration : public QDialog {
  Q_OBJECT
 public:
  TfmDeclaration(ui::DialogService& dialogs, const Options& options, QWidget* parent = nullptr);
  ~TfmDeclaration() override;

  // Fills the screen with one employee's records; `rules` (the year's, may be null) decide the
  // kinds of the relatives and the deductions shown.
  void Load(const std::string& employeeName, const Declaration& declaration, const EmployeeParticulars& particulars,
            const YearEndRules* rules);
  // Load, then modal; true on ＯＫ, with the records read into Result().
  bool Edit(const std::string& employeeName, const Declaration& declaration, const EmployeeParticulars& particulars,
            const YearEndRules* rules);
  const ReadDeclaration& Result() const { return result_; }

  // 前年の申告を引き継ぐ: last year's records as a starting point; nullopt when there are none.
  std::function<std::optional<ReadDeclaration>()> carryOver;

 private:
  struct PersonRow {
    ui::TextEdit* name;
    ui::TextEdit* relation;
    ui::TextEdit* birth;
    ui::NumEdit* income;
    QCheckBox* cohabiting;
    QComboBox* disability;
    QCheckBox* nonResident;
    QLabel* kind;
  };
  QWidget* BuildDependantsPage();
  QWidget* BuildDeductionsPage();
  QWidget* BuildInsurancePage();
  QWidget* BuildHousingPage();
  QWidget* BuildParticularsPage();
  PersonRow MakePersonRow(int row);
  ui::NumEdit* Amount(const char* name);
  ui::TextEdit* Text(const char* name, int maxBytes, int widthChars);
  QCheckBox* Check(const char* name, const char* caption);
  QComboBox* DisabilityBox(const char* name);

  void Fill(const DeclarationForm& entry);
  void FillPersons(const DeclarationForm& entry);
  DeclarationForm ReadEntry() const;
  void ShowKinds();
  void ShowInsuranceDeductions();
  void FocusField(const std::string& field);
  void CarryOver();
  void Confirm();

  ui::DialogService& dialogs_;
  ui::FieldContext* context_;
  const YearEndRules* rules_ = nullptr;
  Declaration base_;
  EmployeeParticulars baseParticulars_;
  ReadDeclaration result_;

  QTabWidget* tabs_;
  QLabel* lbName_;
  QCheckBox* cbFuyoForm_;
  ui::TextEdit* edBirth_;
  QComboBox* cbSyogai_;
  QCheckBox* cbKafu_;
  QCheckBox* cbHitorioya_;
  QCheckBox* cbKinro_;
  QCheckBox* cbHikyoju_;
  QCheckBox* cbTaisyokuJirei_;
  std::array<PersonRow, kDependantRows + 1> rows_{};  // 0: the spouse
  ui::NumEdit* edSyotoku_;
  QCheckBox* cbChoseiForm_;
  ui::NumEdit* edSyaho_;
  ui::NumEdit* edKyosai_;
  ui::NumEdit* edSeimeiNew_;
  ui::NumEdit* edSeimeiOld_;
  ui::NumEdit* edKaigo_;
  ui::NumEdit* edNenkinNew_;
  ui::NumEdit* edNenkinOld_;
  ui::NumEdit* edJisin_;
  ui::NumEdit* edKyuchoki_;
  QLabel* lbSeimei_;
  QLabel* lbKaigo_;
  QLabel* lbNenkin_;
  QLabel* lbSeimeiKei_;
  QLabel* lbJisin_;
  ui::NumEdit* edJutaku_;
  ui::NumEdit* edZenSiharai_;
  ui::NumEdit* edZenSyaho_;
  ui::NumEdit* edZenZei_;
  ui::TextEdit* edFurigana_;
  ui::TextEdit* edYubin_;
  ui::TextEdit* edJusyo_;
  ui::TextEdit* edSicyoson_;
  ui::TextEdit* edYakusyoku_;
  QCheckBox* cbYakuin_;
  ui::TextEdit* edNyusya_;
  ui::TextEdit* edTaisyoku_;
};

}  // namespace paylark::screens
