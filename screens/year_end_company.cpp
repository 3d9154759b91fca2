#include "screens/year_end_company.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "session/year_end_company_rules.h"
#include "store/sjis.h"
#include "ui/entry_fields.h"
#include "ui/qt_text.h"

namespace paylark::screens {

TfmYearEndCompany::TfmYearEndCompany(ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
  setObjectName("TfmYearEndCompany");
  setWindowTitle(QStringLiteral("支払者・提出先の設定"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  edMeisyo_ = Text("edMeisyo", 60, 20);
  edHojinNo_ = Text("edHojinNo", 13, 8);
  edHojinNo_->setInputMethodHints(Qt::ImhDigitsOnly);
  edYubin_ = Text("edYubin", 8, 5);
  edSyozaichi_ = Text("edSyozaichi", 100, 30);
  edDaihyo_ = Text("edDaihyo", 40, 12);
  edTel_ = Text("edTel", 20, 8);
  edRenraku_ = Text("edRenraku", 40, 12);
  edSyozoku_ = Text("edSyozoku", 40, 12);
  edZeimusyo_ = Text("edZeimusyo", 20, 8);
  edSiharai_ = Text("edSiharai", 60, 20);
  edSiharai_->setToolTip(QStringLiteral("例: 毎月25日 口座振込"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("名称"), edMeisyo_);
  form->addRow(QStringLiteral("法人番号"), edHojinNo_);
  form->addRow(QStringLiteral("郵便番号"), edYubin_);
  form->addRow(QStringLiteral("所在地"), edSyozaichi_);
  form->addRow(QStringLiteral("代表者"), edDaihyo_);
  form->addRow(QStringLiteral("電話番号"), edTel_);
  form->addRow(QStringLiteral("連絡者"), edRenraku_);
  form->addRow(QStringLiteral("連絡者の所属"), edSyozoku_);
  form->addRow(QStringLiteral("所轄税務署"), edZeimusyo_);
  form->addRow(QStringLiteral("給与の支払方法及び期日"), edSiharai_);

  sgSiteiNo_ = new QTableWidget(kMunicipalityRows, 2, this);
  sgSiteiNo_->setObjectName("sgSiteiNo");
  sgSiteiNo_->setHorizontalHeaderLabels({QStringLiteral("市区町村"), QStringLiteral("指定番号")});
  sgSiteiNo_->horizontalHeader()->setStretchLastSection(true);
  sgSiteiNo_->setColumnWidth(0, fontMetrics().horizontalAdvance(QString(10, QChar(0x3042))));
  sgSiteiNo_->setMinimumHeight(fontMetrics().height() * 10);

  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName("bbOk");
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("bbCancel");
  for (QPushButton* b : {ok, cancel}) b->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("給与支払報告書の提出先（特別徴収義務者の指定番号）"), this));
  layout->addWidget(sgSiteiNo_);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(cancel, &QPushButton::clicked, this, &TfmYearEndCompany::reject);
}

ui::TextEdit* TfmYearEndCompany::Text(const char* name, int maxBytes, int widthChars) {
  auto* e = new ui::TextEdit(maxBytes, this);
  e->setObjectName(QString::fromLatin1(name));
  e->setMinimumWidth(fontMetrics().horizontalAdvance(QString(widthChars, QChar(0x3042))));
  return e;
}

void TfmYearEndCompany::Load(const CompanyParticulars& c, const std::vector<MunicipalityNumber>& numbers) {
  company_ = c;
  numbers_ = numbers;
  auto set = [](QLineEdit* e, const std::string& s) { e->setText(ui::FromUtf8(s)); };
  set(edMeisyo_, c.name);
  set(edHojinNo_, c.corporateNumber);
  set(edYubin_, c.postalCode);
  set(edSyozaichi_, c.address);
  set(edDaihyo_, c.representative);
  set(edTel_, c.telephone);
  set(edRenraku_, c.contactName);
  set(edSyozoku_, c.contactSection);
  set(edZeimusyo_, c.taxOffice);
  set(edSiharai_, c.paymentMethod);
  sgSiteiNo_->clearContents();
  sgSiteiNo_->setRowCount(std::max<int>(kMunicipalityRows, static_cast<int>(numbers.size()) + 5));
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    sgSiteiNo_->setItem(static_cast<int>(i), 0, new QTableWidgetItem(ui::FromUtf8(numbers[i].municipality)));
    sgSiteiNo_->setItem(static_cast<int>(i), 1, new QTableWidgetItem(ui::FromUtf8(numbers[i].number)));
  }
  edMeisyo_->setFocus();
}

bool TfmYearEndCompany::Edit(const CompanyParticulars& company, const std::vector<MunicipalityNumber>& numbers) {
  Load(company, numbers);
  return exec() == QDialog::Accepted;
}

void TfmYearEndCompany::Confirm() {
  CompanyParticulars c = company_;
  auto get = [](const ui::TextEdit* e) { return Trim(ui::ToUtf8(e->CutText())); };
  c.name = get(edMeisyo_);
  c.corporateNumber = get(edHojinNo_);
  c.postalCode = get(edYubin_);
  c.address = get(edSyozaichi_);
  c.representative = get(edDaihyo_);
  c.telephone = get(edTel_);
  c.contactName = get(edRenraku_);
  c.contactSection = get(edSyozoku_);
  c.taxOffice = get(edZeimusyo_);
  c.paymentMethod = get(edSiharai_);
  std::vector<MunicipalityNumber> typed;
  for (int r = 0; r < sgSiteiNo_->rowCount(); ++r) {
    auto cell = [this, r](int col) {
      const QTableWidgetItem* item = sgSiteiNo_->item(r, col);
      return item ? ui::ToUtf8(item->text()) : std::string();
    };
    typed.push_back({cell(0), cell(1)});
  }
  const std::vector<MunicipalityNumber> rows = MunicipalityRows(typed);
  if (const auto problem = CheckCompanyParticulars(c, rows)) {
    dialogs_.Error(problem->message);
    const std::string& field = problem->field;
    if (field.rfind("sgSiteiNo:", 0) == 0) {
      // The row of the table as typed: the n-th row that is not empty.
      const int wanted = std::stoi(field.substr(10));
      int seen = -1;
      for (int r = 0; r < sgSiteiNo_->rowCount(); ++r) {
        const MunicipalityNumber& t = typed[static_cast<std::size_t>(r)];
        if (!Trim(t.municipality).empty() || !Trim(t.number).empty()) ++seen;
        if (seen == wanted) {
          sgSiteiNo_->setFocus();
          sgSiteiNo_->setCurrentCell(r, 0);
          break;
        }
      }
    } else if (auto* w = findChild<QWidget*>(ui::FromUtf8(field))) {
      w->setFocus();
    }
    return;
  }
  company_ = c;
  numbers_ = rows;
  accept();
}

}  // namespace paylark::screens
