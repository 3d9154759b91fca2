#include "screens/declaration.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "calc/relative_kind.h"
#include "entry/display_format.h"
#include "ui/entry_fields.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

QLabel* Caption(const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); }

QString YenText(Yen value) { return ui::FromUtf8(FormatAmount(9, value)).trimmed() + QStringLiteral(" 円"); }

}  // namespace

TfmDeclaration::TfmDeclaration(ui::DialogService& dialogs, const Options& options, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), context_(new ui::FieldContext{dialogs, options}) {
  setObjectName("TfmDeclaration");
  setWindowTitle(QStringLiteral("申告書の入力"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  lbName_ = new QLabel(this);
  lbName_->setObjectName("lbName");
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("pcSinkoku");
  tabs_->addTab(BuildDependantsPage(), QStringLiteral("扶養控除等申告書"));
  tabs_->addTab(BuildDeductionsPage(), QStringLiteral("基礎控除・配偶者控除等"));
  tabs_->addTab(BuildInsurancePage(), QStringLiteral("保険料控除"));
  tabs_->addTab(BuildHousingPage(), QStringLiteral("住宅借入金・前職分"));
  tabs_->addTab(BuildParticularsPage(), QStringLiteral("本人の住所等"));

  auto* carry = new QPushButton(QStringLiteral("前年の申告を引き継ぐ"), this);
  carry->setObjectName("btZennen");
  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName("bbOk");
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("bbCancel");
  for (QPushButton* b : {carry, ok, cancel}) b->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(carry);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbName_);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);

  ui::InstallEnterMovesOn(this);
  connect(carry, &QPushButton::clicked, this, [this] { CarryOver(); });
  connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(cancel, &QPushButton::clicked, this, &TfmDeclaration::reject);
}

TfmDeclaration::~TfmDeclaration() { delete context_; }

// ---------------------------------------------------------------------------------------------
// The pages

ui::NumEdit* TfmDeclaration::Amount(const char* name) {
  auto* e = new ui::NumEdit(*context_, 90, this);
  e->setObjectName(QString::fromLatin1(name));
  e->SetAcceptedCharacters(QStringLiteral("0123456789"));
  e->setMaxLength(9);
  e->SetDisplay([](double v) { return ui::FromUtf8(FormatAmount(9, v)); });
  e->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("999,999,999")) + 16);
  e->setAlignment(Qt::AlignRight);
  return e;
}

ui::TextEdit* TfmDeclaration::Text(const char* name, int maxBytes, int widthChars) {
  auto* e = new ui::TextEdit(maxBytes, this);
  e->setObjectName(QString::fromLatin1(name));
  e->setMinimumWidth(fontMetrics().horizontalAdvance(QString(widthChars, QChar(0x3042))));
  return e;
}

QCheckBox* TfmDeclaration::Check(const char* name, const char* caption) {
  auto* c = new QCheckBox(QString::fromUtf8(caption), this);
  c->setObjectName(QString::fromLatin1(name));
  return c;
}

QComboBox* TfmDeclaration::DisabilityBox(const char* name) {
  auto* c = new QComboBox(this);
  c->setObjectName(QString::fromLatin1(name));
  c->addItems({QStringLiteral("－"), QStringLiteral("一般障害者"), QStringLiteral("特別障害者"),
               QStringLiteral("同居特別障害者")});
  return c;
}

TfmDeclaration::PersonRow TfmDeclaration::MakePersonRow(int row) {
  auto name = [row](const char* part) { return PersonFieldName(part, row); };
  auto latin = [](const std::string& s) { return s.c_str(); };
  PersonRow r{};
  r.name = Text(latin(name("Name")), kPersonNameMaxBytes, 8);
  r.relation = Text(latin(name("Zoku")), kRelationMaxBytes, 3);
  r.birth = Text(latin(name("Birth")), 20, 7);
  r.birth->setToolTip(QStringLiteral("和暦（S55.4.1、昭和55年4月1日）または西暦（1980/4/1）"));
  r.income = Amount(latin(name("Income")));
  std::string base = row == 0 ? "Hai" : "Fuyo";
  std::string suffix = row == 0 ? "" : std::to_string(row);
  r.cohabiting = Check(latin("cb" + base + "Dokyo" + suffix), "同居");
  r.disability = DisabilityBox(latin("cb" + base + "Syogai" + suffix));
  r.nonResident = Check(latin("cb" + base + "Hikyo" + suffix), "非居住者");
  r.kind = new QLabel(this);
  r.kind->setObjectName(QString::fromLatin1("lb" + base + "Kind" + suffix));
  r.kind->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("同居老親等（特別障害）")));
  for (QWidget* w : {static_cast<QWidget*>(r.birth), static_cast<QWidget*>(r.income)})
    connect(qobject_cast<QLineEdit*>(w), &QLineEdit::editingFinished, this, [this] { ShowKinds(); });
  connect(r.cohabiting, &QCheckBox::toggled, this, [this] { ShowKinds(); });
  connect(r.disability, &QComboBox::currentIndexChanged, this, [this] { ShowKinds(); });
  return r;
}

QWidget* TfmDeclaration::BuildDependantsPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);

  cbFuyoForm_ = Check("cbFuyoForm", "扶養控除等申告書の提出あり（なしは乙欄）");
  edBirth_ = Text("edBirth", 20, 7);
  edBirth_->setToolTip(QStringLiteral("和暦（S55.4.1、昭和55年4月1日）または西暦（1980/4/1）"));
  cbSyogai_ = DisabilityBox("cbSyogai");
  cbKafu_ = Check("cbKafu", "寡婦");
  cbHitorioya_ = Check("cbHitorioya", "ひとり親");
  cbKinro_ = Check("cbKinro", "勤労学生");
  cbHikyoju_ = Check("cbHikyoju", "非居住者");
  cbTaisyokuJirei_ = Check("cbTaisyokuJirei", "死亡・海外転勤・心身の障害による年の中途の退職");

  auto* self = new QGroupBox(QStringLiteral("本人"), page);
  auto* selfGrid = new QGridLayout(self);
  selfGrid->addWidget(cbFuyoForm_, 0, 0, 1, 4);
  selfGrid->addWidget(Caption("生年月日", self), 1, 0);
  selfGrid->addWidget(edBirth_, 1, 1);
  selfGrid->addWidget(Caption("障害者", self), 1, 2);
  selfGrid->addWidget(cbSyogai_, 1, 3);
  auto* flags = new QHBoxLayout;
  for (QCheckBox* c : {cbKafu_, cbHitorioya_, cbKinro_, cbHikyoju_}) flags->addWidget(c);
  flags->addStretch();
  selfGrid->addLayout(flags, 2, 0, 1, 4);
  selfGrid->addWidget(cbTaisyokuJirei_, 3, 0, 1, 4);
  selfGrid->setColumnStretch(4, 1);
  layout->addWidget(self);

  auto* people = new QGroupBox(QStringLiteral("源泉控除対象配偶者・控除対象扶養親族・16歳未満の扶養親族"), page);
  auto* grid = new QGridLayout(people);
  const char* heads[] = {"", "氏名", "続柄", "生年月日", "所得の見積額", "", "障害者", "", "区分"};
  for (int c = 0; c < 9; ++c) grid->addWidget(Caption(heads[c], people), 0, c);
  for (int row = 0; row <= kDependantRows; ++row) {
    rows_[row] = MakePersonRow(row);
    const PersonRow& r = rows_[row];
    const QString title = row == 0 ? QStringLiteral("配偶者") : QStringLiteral("扶養%1").arg(row);
    grid->addWidget(new QLabel(title, people), row + 1, 0);
    grid->addWidget(r.name, row + 1, 1);
    grid->addWidget(r.relation, row + 1, 2);
    grid->addWidget(r.birth, row + 1, 3);
    grid->addWidget(r.income, row + 1, 4);
    grid->addWidget(r.cohabiting, row + 1, 5);
    grid->addWidget(r.disability, row + 1, 6);
    grid->addWidget(r.nonResident, row + 1, 7);
    grid->addWidget(r.kind, row + 1, 8);
  }
  layout->addWidget(people);
  layout->addStretch();
  return page;
}

QWidget* TfmDeclaration::BuildDeductionsPage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  edSyotoku_ = Amount("edSyotoku");
  cbChoseiForm_ = Check("cbChoseiForm", "所得金額調整控除申告書の提出あり（子ども・特別障害者等）");
  grid->addWidget(Caption("基礎控除申告書　給与所得以外の所得の見積額", page), 0, 0);
  grid->addWidget(edSyotoku_, 0, 1);
  grid->addWidget(Caption("配偶者控除等申告書・特定親族特別控除申告書は、扶養控除等申告書の欄の配偶者・"
                          "扶養親族（生年月日・所得の見積額）から判定します。",
                          page),
                  1, 0, 1, 3);
  grid->addWidget(cbChoseiForm_, 2, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(3, 1);
  return page;
}

QWidget* TfmDeclaration::BuildInsurancePage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  edSyaho_ = Amount("edSyaho");
  edKyosai_ = Amount("edKyosai");
  edSeimeiNew_ = Amount("edSeimeiNew");
  edSeimeiOld_ = Amount("edSeimeiOld");
  edKaigo_ = Amount("edKaigo");
  edNenkinNew_ = Amount("edNenkinNew");
  edNenkinOld_ = Amount("edNenkinOld");
  edJisin_ = Amount("edJisin");
  edKyuchoki_ = Amount("edKyuchoki");
  auto deduction = [this](const char* name) {
    auto* l = new QLabel(this);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("999,999,999 円")));
    return l;
  };
  lbSeimei_ = deduction("lbSeimei");
  lbKaigo_ = deduction("lbKaigo");
  lbNenkin_ = deduction("lbNenkin");
  lbSeimeiKei_ = deduction("lbSeimeiKei");
  lbJisin_ = deduction("lbJisin");

  int r = 0;
  grid->addWidget(Caption("保険料等の種類", page), r, 0);
  grid->addWidget(Caption("新契約", page), r, 1);
  grid->addWidget(Caption("旧契約", page), r, 2);
  grid->addWidget(Caption("控除額", page), r, 3);
  ++r;
  grid->addWidget(Caption("一般の生命保険料", page), r, 0);
  grid->addWidget(edSeimeiNew_, r, 1);
  grid->addWidget(edSeimeiOld_, r, 2);
  grid->addWidget(lbSeimei_, r++, 3);
  grid->addWidget(Caption("介護医療保険料", page), r, 0);
  grid->addWidget(edKaigo_, r, 1);
  grid->addWidget(lbKaigo_, r++, 3);
  grid->addWidget(Caption("個人年金保険料", page), r, 0);
  grid->addWidget(edNenkinNew_, r, 1);
  grid->addWidget(edNenkinOld_, r, 2);
  grid->addWidget(lbNenkin_, r++, 3);
  grid->addWidget(Caption("生命保険料控除額　計", page), r, 0, 1, 3);
  grid->addWidget(lbSeimeiKei_, r++, 3);
  grid->addWidget(Caption("地震保険料", page), r, 0);
  grid->addWidget(edJisin_, r++, 1);
  grid->addWidget(Caption("旧長期損害保険料", page), r, 0);
  grid->addWidget(edKyuchoki_, r, 2);
  grid->addWidget(lbJisin_, r++, 3);
  grid->addWidget(Caption("社会保険料（本人が直接支払ったもの）", page), r, 0);
  grid->addWidget(edSyaho_, r++, 1);
  grid->addWidget(Caption("小規模企業共済等掛金", page), r, 0);
  grid->addWidget(edKyosai_, r++, 1);
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(r, 1);
  for (ui::NumEdit* e : {edSeimeiNew_, edSeimeiOld_, edKaigo_, edNenkinNew_, edNenkinOld_, edJisin_, edKyuchoki_})
    connect(e, &ui::NumEdit::Left, this, [this] { ShowInsuranceDeductions(); });
  return page;
}

QWidget* TfmDeclaration::BuildHousingPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  edJutaku_ = Amount("edJutaku");
  edZenSiharai_ = Amount("edZenSiharai");
  edZenSyaho_ = Amount("edZenSyaho");
  edZenZei_ = Amount("edZenZei");
  auto* housing = new QGroupBox(QStringLiteral("住宅借入金等特別控除申告書"), page);
  auto* h = new QGridLayout(housing);
  h->addWidget(Caption("特別控除額（税務署の証明書の控除額）", housing), 0, 0);
  h->addWidget(edJutaku_, 0, 1);
  h->setColumnStretch(2, 1);
  auto* previous = new QGroupBox(QStringLiteral("前職分（前の勤務先の源泉徴収票）"), page);
  auto* p = new QGridLayout(previous);
  p->addWidget(Caption("支払金額", previous), 0, 0);
  p->addWidget(edZenSiharai_, 0, 1);
  p->addWidget(Caption("社会保険料等の金額", previous), 1, 0);
  p->addWidget(edZenSyaho_, 1, 1);
  p->addWidget(Caption("源泉徴収税額", previous), 2, 0);
  p->addWidget(edZenZei_, 2, 1);
  p->setColumnStretch(2, 1);
  layout->addWidget(housing);
  layout->addWidget(previous);
  layout->addStretch();
  return page;
}

QWidget* TfmDeclaration::BuildParticularsPage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  edFurigana_ = Text("edFurigana", kFuriganaMaxBytes, 12);
  edYubin_ = Text("edYubin", 8, 5);
  edYubin_->setToolTip(QStringLiteral("123-4567"));
  edJusyo_ = Text("edJusyo", kAddressMaxBytes, 30);
  edSicyoson_ = Text("edSicyoson", kMunicipalityMaxBytes, 10);
  edSicyoson_->setToolTip(QStringLiteral("給与支払報告書の提出先（例: 東京都新宿区）"));
  edYakusyoku_ = Text("edYakusyoku", kPositionMaxBytes, 8);
  cbYakuin_ = Check("cbYakuin", "法人の役員（年の中途までを含む）");
  edNyusya_ = Text("edNyusya", 20, 7);
  edTaisyoku_ = Text("edTaisyoku", 20, 7);
  int r = 0;
  grid->addWidget(Caption("フリガナ", page), r, 0);
  grid->addWidget(edFurigana_, r++, 1);
  grid->addWidget(Caption("郵便番号", page), r, 0);
  grid->addWidget(edYubin_, r++, 1, Qt::AlignLeft);
  grid->addWidget(Caption("住所（翌年1月1日現在）", page), r, 0);
  grid->addWidget(edJusyo_, r++, 1);
  grid->addWidget(Caption("市区町村", page), r, 0);
  grid->addWidget(edSicyoson_, r++, 1, Qt::AlignLeft);
  grid->addWidget(Caption("役職名", page), r, 0);
  grid->addWidget(edYakusyoku_, r++, 1, Qt::AlignLeft);
  grid->addWidget(cbYakuin_, r++, 1);
  grid->addWidget(Caption("中途就職　入社日", page), r, 0);
  grid->addWidget(edNyusya_, r++, 1, Qt::AlignLeft);
  grid->addWidget(Caption("中途退職　退職日", page), r, 0);
  grid->addWidget(edTaisyoku_, r++, 1, Qt::AlignLeft);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(r, 1);
  return page;
}

// ---------------------------------------------------------------------------------------------
// Filling and reading

void TfmDeclaration::Load(const std::string& employeeName, const Declaration& declaration,
                          const EmployeeParticulars& particulars, const YearEndRules* rules) {
  rules_ = rules;
  base_ = declaration;
  baseParticulars_ = particulars;
  lbName_->setText(QStringLiteral("%1年分　").arg(declaration.year) + ui::FromUtf8(employeeName));
  Fill(FormOf(declaration, particulars));
  tabs_->setCurrentIndex(0);
  cbFuyoForm_->setFocus();
}

bool TfmDeclaration::Edit(const std::string& employeeName, const Declaration& declaration,
                          const EmployeeParticulars& particulars, const YearEndRules* rules) {
  Load(employeeName, declaration, particulars, rules);
  return exec() == QDialog::Accepted;
}

void TfmDeclaration::Fill(const DeclarationForm& e) {
  auto text = [](QLineEdit* edit, const std::string& s) { edit->setText(ui::FromUtf8(s)); };
  cbFuyoForm_->setChecked(e.dependantForm);
  text(edBirth_, e.birth);
  cbSyogai_->setCurrentIndex(e.disability);
  cbKafu_->setChecked(e.widow);
  cbHitorioya_->setChecked(e.singleParent);
  cbKinro_->setChecked(e.workingStudent);
  cbHikyoju_->setChecked(e.nonResident);
  cbTaisyokuJirei_->setChecked(e.leavingCase);
  FillPersons(e);
  edSyotoku_->SetValue(e.otherIncome);
  cbChoseiForm_->setChecked(e.incomeAdjustmentForm);
  edSyaho_->SetValue(e.declaredSocialInsurance);
  edKyosai_->SetValue(e.smallBusinessMutualAid);
  edSeimeiNew_->SetValue(e.lifeNewGeneral);
  edSeimeiOld_->SetValue(e.lifeOldGeneral);
  edKaigo_->SetValue(e.lifeCareMedical);
  edNenkinNew_->SetValue(e.lifeNewPension);
  edNenkinOld_->SetValue(e.lifeOldPension);
  edJisin_->SetValue(e.earthquake);
  edKyuchoki_->SetValue(e.oldLongTerm);
  edJutaku_->SetValue(e.housingLoanCredit);
  edZenSiharai_->SetValue(e.previousPaid);
  edZenSyaho_->SetValue(e.previousSocialInsurance);
  edZenZei_->SetValue(e.previousWithheld);
  text(edFurigana_, e.furigana);
  text(edYubin_, e.postalCode);
  text(edJusyo_, e.address);
  text(edSicyoson_, e.municipality);
  text(edYakusyoku_, e.position);
  cbYakuin_->setChecked(e.officer);
  text(edNyusya_, e.hired);
  text(edTaisyoku_, e.retired);
  ShowKinds();
  ShowInsuranceDeductions();
}

void TfmDeclaration::FillPersons(const DeclarationForm& e) {
  auto text = [](QLineEdit* edit, const std::string& s) { edit->setText(ui::FromUtf8(s)); };
  for (int row = 0; row <= kDependantRows; ++row) {
    PersonEntry p;
    if (row == 0) {
      p = e.spouse;
    } else if (row - 1 < static_cast<int>(e.dependants.size())) {
      p = e.dependants[row - 1];
    }
    const PersonRow& r = rows_[row];
    text(r.name, p.name);
    text(r.relation, p.relation);
    text(r.birth, p.birth);
    if (p.Empty()) {
      r.income->clear();
    } else {
      r.income->SetValue(p.income);
    }
    r.cohabiting->setChecked(p.cohabiting);
    r.disability->setCurrentIndex(p.disability);
    r.nonResident->setChecked(p.nonResident);
  }
  ShowKinds();
}

DeclarationForm TfmDeclaration::ReadEntry() const {
  auto text = [](const QLineEdit* edit) { return ui::ToUtf8(edit->text()); };
  auto cut = [](const ui::TextEdit* edit) { return ui::ToUtf8(edit->CutText()); };
  DeclarationForm e;
  e.dependantForm = cbFuyoForm_->isChecked();
  e.birth = text(edBirth_);
  e.disability = cbSyogai_->currentIndex();
  e.widow = cbKafu_->isChecked();
  e.singleParent = cbHitorioya_->isChecked();
  e.workingStudent = cbKinro_->isChecked();
  e.nonResident = cbHikyoju_->isChecked();
  e.leavingCase = cbTaisyokuJirei_->isChecked();
  for (int row = 0; row <= kDependantRows; ++row) {
    const PersonRow& r = rows_[row];
    PersonEntry p;
    p.name = cut(r.name);
    p.relation = cut(r.relation);
    p.birth = text(r.birth);
    p.income = r.income->Value();
    p.cohabiting = r.cohabiting->isChecked();
    p.disability = r.disability->currentIndex();
    p.nonResident = r.nonResident->isChecked();
    if (row == 0) {
      e.spouse = p;
    } else {
      e.dependants.push_back(p);
    }
  }
  e.otherIncome = edSyotoku_->Value();
  e.incomeAdjustmentForm = cbChoseiForm_->isChecked();
  e.declaredSocialInsurance = edSyaho_->Value();
  e.smallBusinessMutualAid = edKyosai_->Value();
  e.lifeNewGeneral = edSeimeiNew_->Value();
  e.lifeOldGeneral = edSeimeiOld_->Value();
  e.lifeCareMedical = edKaigo_->Value();
  e.lifeNewPension = edNenkinNew_->Value();
  e.lifeOldPension = edNenkinOld_->Value();
  e.earthquake = edJisin_->Value();
  e.oldLongTerm = edKyuchoki_->Value();
  e.housingLoanCredit = edJutaku_->Value();
  e.previousPaid = edZenSiharai_->Value();
  e.previousSocialInsurance = edZenSyaho_->Value();
  e.previousWithheld = edZenZei_->Value();
  e.furigana = cut(edFurigana_);
  e.postalCode = text(edYubin_);
  e.address = cut(edJusyo_);
  e.municipality = cut(edSicyoson_);
  e.position = cut(edYakusyoku_);
  e.officer = cbYakuin_->isChecked();
  e.hired = text(edNyusya_);
  e.retired = text(edTaisyoku_);
  return e;
}

// The kind each row becomes in the year, from its birth date and income as they stand.
void TfmDeclaration::ShowKinds() {
  for (int row = 0; row <= kDependantRows; ++row) {
    const PersonRow& r = rows_[row];
    QString kind;
    const std::optional<CivilDate> birth = ParseEntryDate(ui::ToUtf8(r.birth->text()), base_.year);
    if (rules_ && birth) {
      DeclaredPerson person;
      person.birth = *birth;
      person.income = static_cast<Yen>(std::min(r.income->Value(), 999999999.0));
      person.cohabiting = r.cohabiting->isChecked();
      person.disability = static_cast<DisabilityKind>(r.disability->currentIndex());
      kind = ui::FromUtf8(row == 0 ? SpouseKindLabel(KindOfSpouse(*rules_, person))
                                   : RelativeKindLabel(KindOfRelative(*rules_, person)));
    }
    r.kind->setText(kind);
  }
}

void TfmDeclaration::ShowInsuranceDeductions() {
  if (!rules_) {
    for (QLabel* l : {lbSeimei_, lbKaigo_, lbNenkin_, lbSeimeiKei_, lbJisin_}) l->clear();
    return;
  }
  const DeclarationReading reading = ReadDeclarationForm(ReadEntry(), base_, baseParticulars_);
  Declaration d = reading.read.declaration;
  const InsuranceDeductions x = InsuranceDeductionsOf(*rules_, d);
  lbSeimei_->setText(YenText(x.lifeGeneral));
  lbKaigo_->setText(YenText(x.lifeCareMedical));
  lbNenkin_->setText(YenText(x.lifePension));
  lbSeimeiKei_->setText(YenText(x.lifeTotal));
  lbJisin_->setText(YenText(x.earthquake));
}

void TfmDeclaration::FocusField(const std::string& field) {
  auto* w = findChild<QWidget*>(ui::FromUtf8(field));
  if (!w) return;
  for (int i = 0; i < tabs_->count(); ++i) {
    if (tabs_->widget(i)->isAncestorOf(w)) tabs_->setCurrentIndex(i);
  }
  w->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
}

void TfmDeclaration::CarryOver() {
  if (!carryOver) return;
  const std::optional<ReadDeclaration> last = carryOver();
  if (!last) {
    dialogs_.Information("前年の申告書のデータがありません。");
    return;
  }
  if (!dialogs_.Confirm("前年の申告の内容を引き継ぎます。入力中の内容は置き換えられます。\r宜しいですか？")) return;
  Fill(FormOf(last->declaration, last->particulars));
}

void TfmDeclaration::Confirm() {
  // A field still being edited is taken as leaving it would take it.
  if (auto* current = qobject_cast<ui::NumEdit*>(focusWidget())) {
    if (!current->Normalise()) return;
  }
  DeclarationReading reading = ReadDeclarationForm(ReadEntry(), base_, baseParticulars_);
  // Empty rows between the dependants are closed up first, so the rows the checks count are the
  // rows on the screen.
  bool gaps = false;
  for (std::size_t i = 0; i < reading.dependantRows.size(); ++i)
    gaps = gaps || reading.dependantRows[i] != static_cast<int>(i) + 1;
  if (!reading.problem && gaps) {
    FillPersons(FormOf(reading.read.declaration, reading.read.particulars));
    reading = ReadDeclarationForm(ReadEntry(), base_, baseParticulars_);
  }
  std::optional<FormProblem> problem = reading.problem;
  if (!problem) {
    if (const auto fault = CheckDeclaration(reading.read.declaration, reading.read.particulars, base_.year))
      problem = FormProblem{FieldOfProblem(*fault, reading.dependantRows), fault->message};
  }
  if (problem) {
    dialogs_.Error(problem->message);
    FocusField(problem->field);
    return;
  }
  result_ = reading.read;
  accept();
}

}  // namespace paylark::screens
