#include "screens/corp_info.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <initializer_list>
#include <tuple>

#include "calc/company_rates.h"
#include "calc/payment_date.h"
#include "entry/display_format.h"
#include "store/prefectures.h"
#include "store/app_settings.h"
#include "ui/entry_fields.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

const char* const kFirstRunInformation =
    "会社名や所定労働条件などの会社情報を設定して下さい。\r　（詳細はF1キーを押してヘルプを参照）";
const char* const kFirstRunCancelQuestion = "初期設定を中止し、プログラムを終了して宜しいですか？";
const char* const kPremiumHint = "社員情報の編集画面で､保険料などの再設定が必要です。";

const QString kDigits = QStringLiteral("0123456789");
const QString kDecimal = QStringLiteral("0123456789.");
const QString kHours = QStringLiteral("0123456789.:");

// "%*.*f" with width = code div 10 and decimals = code mod 10.
QString FixedByCode(double value, int code) { return QString::asprintf("%*.*f", code / 10, code % 10, value); }

QLabel* Caption(const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); }

}  // namespace

TfmCorpInfo::TfmCorpInfo(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs) {
  setObjectName("TfmCorpInfo");
  setWindowTitle(QStringLiteral("会社情報の設定"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  const ui::FieldContext context{dialogs_, state_.options};
  const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000.000")) + 12;
  auto numeric = [&](const char* name, int code, const QString& accepted, int maxLength) {
    auto* edit = new ui::NumEdit(context, code, this);
    edit->setObjectName(QString::fromUtf8(name));
    edit->SetAcceptedCharacters(accepted);
    edit->setMaxLength(maxLength);
    edit->setFixedWidth(fieldWidth);
    return edit;
  };
  auto hoursStyle = [this] { return state_.options.timeStyle; };

  edSyamei_ = new ui::TextEdit(44, this);
  edSyamei_->setObjectName("edSyamei");
  edSyamei_->setMinimumWidth(fontMetrics().horizontalAdvance(QString(23, QChar(0x3042))));

  edSikyubi_ = numeric("edSikyubi", 20, kDigits, 2);
  edSikyubi_->setToolTip(QStringLiteral("月末の場合は31を入力"));
  edSikyubi_->SetDisplay([](double v) { return QString::asprintf("%2d", static_cast<int>(v)); });

  // 日労働時間数: the hours format without its first character, five places.
  edJikanD_ = numeric("edJikanD", 52, kHours, 5);
  edJikanD_->SetDisplay([hoursStyle](double v) { return ui::FromUtf8(FormatHours(v, hoursStyle()).substr(1)); });
  edNissu_ = numeric("edNissu", 52, kDecimal, 5);
  edNissu_->SetDisplay([](double v) { return FixedByCode(v, 52); });
  edJikanM_ = numeric("edJikanM", 62, kHours, 6);
  edJikanM_->SetDisplay([hoursStyle](double v) { return ui::FromUtf8(FormatHours(v, hoursStyle())); });
  edJikanM_->installEventFilter(this);

  rbJigyo_ = new QRadioButton(QStringLiteral("一般事業所"), this);
  rbJigyo_->setObjectName("rbJigyo");
  rbIgai_ = new QRadioButton(QStringLiteral("それ以外"), this);
  rbIgai_->setObjectName("rbIgai");
  cbUseHyo_ = new QCheckBox(QStringLiteral("雇用保険料額表を使用"), this);
  cbUseHyo_->setObjectName("cbUseHyo");

  auto rate = [&](const char* name) {
    ui::NumEdit* edit = numeric(name, 63, kDecimal, 6);
    edit->SetDisplay([](double v) { return FixedByCode(v, 63); });
    return edit;
  };
  edKoyRitu_ = rate("edKoyRitu");
  edKenRitu_ = rate("edKenRitu");
  edKaiRitu_ = rate("edKaiRitu");
  edNenRitu_ = rate("edNenRitu");
  edKknRitu_ = rate("edKknRitu");
  edSienRitu_ = rate("edSienRitu");

  cbTyousyu_ = new QComboBox(this);
  cbTyousyu_->setObjectName("cbTyousyu");
  cbTyousyu_->addItems({QStringLiteral("翌月徴収"), QStringLiteral("当月徴収")});
  edSimebi_ = numeric("edSimebi", 20, kDigits, 2);
  edSimebi_->setToolTip(QStringLiteral("月末の場合は31を入力（0は給与支給日）"));
  edSimebi_->SetDisplay([](double v) { return QString::asprintf("%2d", static_cast<int>(v)); });
  cbSimeTuki_ = new QComboBox(this);
  cbSimeTuki_->setObjectName("cbSimeTuki");
  cbSimeTuki_->addItems({QStringLiteral("当月締め"), QStringLiteral("前月締め")});
  lbKoyHyoRitu_ = new QLabel(this);
  lbKoyHyoRitu_->setObjectName("lbKoyHyoRitu");

  // Company name and pay day.
  auto* top = new QGridLayout;
  top->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("厚生年金基金率")) + 8);
  top->addWidget(Caption("会社名称", this), 0, 0);
  top->addWidget(edSyamei_, 0, 1, 1, 3);
  top->addWidget(Caption("給与支給日", this), 1, 0);
  top->addWidget(edSikyubi_, 1, 1);
  top->addWidget(Caption("日", this), 1, 2);
  top->addWidget(Caption("給与締日", this), 2, 0);
  top->addWidget(edSimebi_, 2, 1);
  top->addWidget(Caption("日", this), 2, 2);
  auto* closing = new QHBoxLayout;
  closing->addWidget(cbSimeTuki_);
  closing->addSpacing(16);
  closing->addWidget(Caption("社会保険料の徴収", this));
  closing->addWidget(cbTyousyu_);
  closing->addStretch();
  top->addLayout(closing, 2, 3);
  top->setColumnStretch(3, 1);

  auto fieldRows = [](QGroupBox* group, std::initializer_list<std::tuple<const char*, QWidget*, const char*>> rows) {
    auto* grid = new QGridLayout(group);
    int r = 0;
    for (const auto& [label, field, unit] : rows) {
      grid->addWidget(Caption(label, group), r, 0);
      grid->addWidget(field, r, 1);
      if (unit) grid->addWidget(Caption(unit, group), r, 2);
      ++r;
    }
    grid->setColumnStretch(3, 1);
    return grid;
  };

  auto* working = new QGroupBox(QStringLiteral("所定労働条件"), this);
  fieldRows(working, {{"日労働時間数", edJikanD_, nullptr},
                      {"月労働日数", edNissu_, nullptr},
                      {"月労働時間数", edJikanM_, nullptr}});

  auto* employment = new QGroupBox(QStringLiteral("雇用保険"), this);
  auto* employmentLayout = new QVBoxLayout(employment);
  auto* kinds = new QHBoxLayout;
  kinds->addWidget(rbJigyo_);
  kinds->addWidget(rbIgai_);
  kinds->addStretch();
  employmentLayout->addLayout(kinds);
  auto* table = new QHBoxLayout;
  table->addWidget(cbUseHyo_);
  table->addWidget(lbKoyHyoRitu_);
  table->addStretch();
  employmentLayout->addLayout(table);
  auto* employmentRate = new QHBoxLayout;
  employmentRate->addWidget(Caption("保険料負担率", employment));
  employmentRate->addWidget(edKoyRitu_);
  employmentRate->addWidget(Caption("％", employment));
  employmentRate->addStretch();
  employmentLayout->addLayout(employmentRate);

  cbKenpo_ = new QComboBox(this);
  cbKenpo_->setObjectName("cbKenpo");
  cbKenpo_->addItem(QStringLiteral("健康保険組合"));
  for (int code = 1; code <= kPrefectureCount; ++code) {
    cbKenpo_->addItem(QStringLiteral("協会けんぽ ") + ui::FromUtf8(PrefectureName(code)));
  }
  cbKenpo_->setMaxVisibleItems(16);
  lbRates_ = new QLabel(this);
  lbRates_->setObjectName("lbRates");
  lbRates_->setWordWrap(true);
  auto* insurer = new QHBoxLayout;
  insurer->addWidget(Caption("健康保険の加入先", this));
  insurer->addWidget(cbKenpo_);
  insurer->addStretch();

  auto* premiums = new QGroupBox(QStringLiteral("保険料負担率"), this);
  fieldRows(premiums, {{"健康保険", edKenRitu_, "％"},
                       {"介護保険", edKaiRitu_, "％"},
                       {"子ども・子育て支援金", edSienRitu_, "％"},
                       {"厚生年金", edNenRitu_, "％"}});

  auto* fund = new QHBoxLayout;
  fund->addWidget(Caption("厚生年金基金率", this));
  fund->addWidget(edKknRitu_);
  fund->addWidget(Caption("％", this));
  fund->addStretch();

  auto* groups = new QGridLayout;
  groups->addWidget(working, 0, 0);
  groups->addWidget(employment, 0, 1);
  groups->addWidget(premiums, 1, 0);
  auto* fundBox = new QVBoxLayout;
  fundBox->addStretch();
  fundBox->addLayout(fund);
  groups->addLayout(fundBox, 1, 1);

  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName("bbOk");
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("bbCancel");
  for (QPushButton* button : {ok, cancel}) button->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(insurer);
  layout->addWidget(lbRates_);
  layout->addLayout(groups);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  QWidget* const order[] = {edSyamei_,  edSikyubi_,  edSimebi_,  cbSimeTuki_, cbTyousyu_, edJikanD_, edNissu_,
                           edJikanM_,  rbJigyo_,    rbIgai_,    cbUseHyo_,   edKoyRitu_, cbKenpo_,  edKenRitu_,
                           edKaiRitu_, edSienRitu_, edNenRitu_, edKknRitu_,  ok,         cancel};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
  ui::InstallEnterMovesOn(this);

  // A business kind presets its employment rate in force, or without rate data the fixed texts.
  auto presetEmployment = [this](const QString& fixed) {
    const CompanyRateSet r = CompanyRatesOfPeriod(state_.premiumRates, state_.open, RecordWithInsurer());
    if (r.employment) {
      edKoyRitu_->SetValue(*r.employment);
    } else {
      edKoyRitu_->setText(fixed);
    }
    ShowRatesInForce();
  };
  connect(rbJigyo_, &QRadioButton::clicked, this, [presetEmployment] { presetEmployment(QStringLiteral(" 0.600")); });
  connect(rbIgai_, &QRadioButton::clicked, this, [presetEmployment] { presetEmployment(QStringLiteral(" 0.700")); });
  connect(cbKenpo_, qOverload<int>(&QComboBox::activated), this, [this] { InsurerChosen(); });
  connect(cbUseHyo_, &QCheckBox::toggled, this, [this](bool useTable) { edKoyRitu_->setEnabled(!useTable); });
  connect(rbJigyo_, &QRadioButton::toggled, this, [this] { ShowEmploymentRateInForce(); });
  connect(cbSimeTuki_, &QComboBox::currentIndexChanged, this, [this] { ShowEmploymentRateInForce(); });
  connect(edSimebi_, &QLineEdit::editingFinished, this, [this] { ShowEmploymentRateInForce(); });
  connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(cancel, &QPushButton::clicked, this, &TfmCorpInfo::reject);
}

void TfmCorpInfo::FillFromRecord() {
  const CompanyRecord& company = state_.Period().company;
  edSyamei_->setText(ui::FromUtf8(company.Name()));
  edSikyubi_->SetValue(company.PayDay());
  edJikanD_->SetValue(company.DayHours());
  edNissu_->SetValue(company.MonthDays());
  edJikanM_->SetValue(company.MonthHours());
  (company.GeneralBusiness() ? rbJigyo_ : rbIgai_)->setChecked(true);
  cbUseHyo_->setChecked(company.UseEmploymentTable());
  edKoyRitu_->setEnabled(!company.UseEmploymentTable());
  edKoyRitu_->SetValue(company.EmploymentRate());
  edKenRitu_->SetValue(company.HealthRate());
  edKaiRitu_->SetValue(company.NursingRate());
  edNenRitu_->SetValue(company.PensionRate());
  edKknRitu_->SetValue(company.PensionFundRate());
  const int insurer = company.HealthInsurer();
  cbKenpo_->setCurrentIndex(insurer >= 1 && insurer <= kPrefectureCount ? insurer : 0);
  edSienRitu_->SetValue(company.LevyRate());
  cbTyousyu_->setCurrentIndex(company.PremiumCollection() == 1 ? 1 : 0);
  edSimebi_->SetValue(company.WageClosingDay());
  cbSimeTuki_->setCurrentIndex(company.WageClosingMonth() == 1 ? 1 : 0);
  ShowRatesInForce();
  ShowEmploymentRateInForce();
}

CompanyRecord TfmCorpInfo::RecordWithInsurer() const {
  CompanyRecord company = state_.Period().company;
  company.SetHealthInsurer(cbKenpo_->currentIndex());
  company.SetGeneralBusiness(rbJigyo_->isChecked());
  return company;
}

void TfmCorpInfo::ShowRatesInForce() {
  const std::string text = RatesInForceText(state_.premiumRates, state_.open, RecordWithInsurer());
  lbRates_->setText(text.empty() ? QString() : QStringLiteral("料率（") + ui::FromUtf8(text) + QStringLiteral("）"));
}

void TfmCorpInfo::InsurerChosen() {
  const CompanyRateSet r = CompanyRatesOfPeriod(state_.premiumRates, state_.open, RecordWithInsurer());
  if (r.health) edKenRitu_->SetValue(*r.health);
  if (r.nursing) edKaiRitu_->SetValue(*r.nursing);
  if (r.levy) edSienRitu_->SetValue(*r.levy);
  if (r.pension) edNenRitu_->SetValue(*r.pension);
  if (r.employment && !cbUseHyo_->isChecked()) edKoyRitu_->SetValue(*r.employment);
  ShowRatesInForce();
  ShowEmploymentRateInForce();
}

void TfmCorpInfo::ShowEmploymentRateInForce() {
  const OpenPeriod& open = state_.open;
  CompanyRecord company = state_.Period().company;
  company.SetWageClosingDay(static_cast<std::int32_t>(edSimebi_->Value()));
  company.SetWageClosingMonth(cbSimeTuki_->currentIndex() == 1 ? 1 : 0);
  const auto paid = PaymentDateOfPeriod(open.eraYear, open.periodIndex, company, open.header);
  std::optional<CivilDate> closing = paid;
  if (paid && IsSalaryPeriod(open.periodIndex)) closing = WageClosingDate(company, *paid);
  lbKoyHyoRitu_->setText(
      ui::FromUtf8(EmploymentRateInForceText(state_.TablesOfOpenPeriod(), rbJigyo_->isChecked(), closing)));
}

int TfmCorpInfo::exec() {
  CompanyRecord& company = state_.Period().company;
  // The levy rate is remembered before its default: confirming a newly defaulted levy tells the
  // user that the employees' levy premiums must be set (they are 0 until then).
  const double levyBefore = company.LevyRate();
  ApplyRatesInForceToZeros(state_.premiumRates, state_.open, company);
  const auto paid = PaymentDateOfPeriod(state_.open.eraYear, state_.open.periodIndex, company, state_.open.header);
  const auto year = GregorianYear(state_.open.eraYear);
  ApplyLevyDefault(company, year ? PremiumMonthOfPeriod(company, *year, state_.open.periodIndex, paid) : std::nullopt,
                   state_.premiumRates);
  FillFromRecord();
  remembered_ = PremiumRatesOf(company);
  remembered_.levy = levyBefore;
  edSyamei_->setFocus();
  if (state_.firstRun) {
    QTimer::singleShot(0, this, [this] { dialogs_.Information(kFirstRunInformation); });
  }
  return QDialog::exec();
}

bool TfmCorpInfo::Edit() { return exec() == QDialog::Accepted; }

bool TfmCorpInfo::eventFilter(QObject* watched, QEvent* event) {
  // Entering 月労働時間数 while it is 0 proposes days × hours per day.
  if (watched == edJikanM_ && event->type() == QEvent::FocusIn && edJikanM_->Value() == 0) {
    edJikanM_->SetValue(edNissu_->Value() * edJikanD_->Value());
  }
  return QDialog::eventFilter(watched, event);
}

CompanyInput TfmCorpInfo::ReadInput() const {
  CompanyInput input;
  input.name = ui::ToUtf8(edSyamei_->CutText());
  input.payDay = static_cast<int>(edSikyubi_->Value());
  input.dayHours = edJikanD_->Value();
  input.monthDays = edNissu_->Value();
  input.monthHours = edJikanM_->Value();
  input.generalBusiness = rbJigyo_->isChecked();
  input.useEmploymentTable = cbUseHyo_->isChecked();
  input.employmentRate = edKoyRitu_->Value();
  input.healthRate = edKenRitu_->Value();
  input.nursingRate = edKaiRitu_->Value();
  input.pensionRate = edNenRitu_->Value();
  input.pensionFundRate = edKknRitu_->Value();
  input.levyRate = edSienRitu_->Value();
  input.premiumCollection = cbTyousyu_->currentIndex();
  input.wageClosingDay = static_cast<int>(edSimebi_->Value());
  input.wageClosingMonth = cbSimeTuki_->currentIndex();
  return input;
}

void TfmCorpInfo::FocusField(CompanyField field) {
  switch (field) {
    case CompanyField::Name: edSyamei_->setFocus(); break;
    case CompanyField::PayDay: edSikyubi_->setFocus(); break;
    case CompanyField::DayHours: edJikanD_->setFocus(); break;
    case CompanyField::EmploymentRate: edKoyRitu_->setFocus(); break;
    case CompanyField::WageClosingDay: edSimebi_->setFocus(); break;
  }
}

void TfmCorpInfo::Confirm() {
  // A field still being edited is taken as leaving it would take it.
  if (auto* current = qobject_cast<ui::NumEdit*>(focusWidget())) {
    if (!current->Normalise()) return;
  }
  const CompanyInput input = ReadInput();
  if (const auto problem = CheckCompanyInput(input)) {
    dialogs_.Error(problem->message);
    FocusField(problem->field);
    return;
  }
  StoreCompanyInput(input, state_.Period().company);
  CompanyRecord& company = state_.Period().company;
  company.SetHealthInsurer(cbKenpo_->currentIndex());
  try {
    SaveStandardDailyHours(state_.settings, input.dayHours);
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
    return;
  }
  if (PremiumRatesChanged(remembered_, input)) dialogs_.Information(kPremiumHint);
  accept();
}

void TfmCorpInfo::reject() {
  if (state_.firstRun && !dialogs_.Confirm(kFirstRunCancelQuestion)) return;
  QDialog::reject();
}

}  // namespace paylark::screens
