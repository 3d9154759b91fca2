// TfmYearEndCompany (支払者・提出先の設定): the company's particulars of the year for the
// 源泉徴収票, the 給与支払報告書 and its 総括表 (法人番号, 所在地, 代表者, 連絡者, 所轄税務署 …) and the
// 指定番号 each municipality gave the company. ＯＫ checks them and hands them back; the window
// that opened it stores them.
#pragma once

#include <QDialog>
#include <vector>

#include "store/options.h"
#include "store/year_end_particulars.h"
#include "ui/dialog_service.h"

class QTableWidget;

namespace paylark::ui {
class TextEdit;
}  // namespace paylark::ui

namespace paylark::screens {

class TfmYearEndCompany : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kMunicipalityRows = 30;

  TfmYearEndCompany(ui::DialogService& dialogs, QWidget* parent = nullptr);

  void Load(const CompanyParticulars& company, const std::vector<MunicipalityNumber>& numbers);
  bool Edit(const CompanyParticulars& company, const std::vector<MunicipalityNumber>& numbers);
  const CompanyParticulars& Company() const { return company_; }
  const std::vector<MunicipalityNumber>& Numbers() const { return numbers_; }

 private:
  ui::TextEdit* Text(const char* name, int maxBytes, int widthChars);
  void Confirm();

  ui::DialogService& dialogs_;
  CompanyParticulars company_;
  std::vector<MunicipalityNumber> numbers_;
  ui::TextEdit* edMeisyo_;
  ui::TextEdit* edHojinNo_;
  ui::TextEdit* edYubin_;
  ui::TextEdit* edSyozaichi_;
  ui::TextEdit* edDaihyo_;
  ui::TextEdit* edTel_;
  ui::TextEdit* edRenraku_;
  ui::TextEdit* edSyozoku_;
  ui::TextEdit* edZeimusyo_;
  ui::TextEdit* edSiharai_;
  QTableWidget* sgSiteiNo_;
};

}  // namespace paylark::screens
