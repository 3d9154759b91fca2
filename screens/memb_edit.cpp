#include "screens/memb_edit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>

#include "calc/age_rules.h"
#include "calc/birth_date.h"
#include "entry/display_format.h"
#include "entry/number_parse.h"
#include "calc/premiums.h"
#include "calc/unit_prices.h"
#include "screens/calc_window.h"
#include "screens/kenho_hyo.h"
#include "store/sjis.h"
#include "store/year_file.h"
#include "ui/entry_fields.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

constexpr int kNoticeMilliseconds = 1500;
constexpr const char* kTypingLimit = "typingLimit";  // characters typing may reach
constexpr const char* kBaseLimit = "baseLimit";      // the field's own maximum length

constexpr const char* kChangedText = "データ内容に変更がある場合は出来ません。";
constexpr const char* kTemplateQuestion =
    "現在の入力内容を新規作成時の基本に設定します。\r( ｢いいえ｣を選択すると基本設定を解除します)";
constexpr const char* kTemplateRemoveQuestion = "新規作成時の基本設定を解除します。";
constexpr const char* kTemplateSaved = "新規作成時の基本にしました。";
constexpr const char* kTemplateRemoved = "基本に設定を解除しました。";
constexpr const char* kGradeQuestion = "健康保険等級表から健康･介護･厚生年金保険料と\r厚生年金基金の掛け金をセットします。";
constexpr const char* kBackSpaceInfo = "この項目ではBackSpaceキーは使用できません。\rDeleteキーで編集を行って下さい。";
constexpr const char* kFirstRunInfo = "給与･賞与計算に必要な社員情報を入力して下さい。\r　（詳細はF1キーを押してヘルプを参照）";
constexpr const char* kNoFreeSlot = "これ以上社員を登録できません。";
constexpr const char* kNotEncodable = "使用できない文字が含まれています。";
constexpr const char* kBirthDateError = "生年月日の入力に誤りがあります。";

std::int32_t FieldInt(const QLineEdit* edit) {
  SilentReporter silent;
  return ParseInteger(ui::ToUtf8(edit->text()), silent);
}

QString Amount(int formatCode, double value) { return ui::FromUtf8(FormatAmount(formatCode / 10, value)); }

QString TwoDigits(const std::string& text) { return ui::FromUtf8(text).trimmed().rightJustified(2, QChar(' ')); }

QToolButton* SpeedButton(const char* name, const QString& caption, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setText(caption);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  b->setFocusPolicy(Qt::NoFocus);  // the field being edited keeps the focus
  b->setMinimumWidth(84);
  return b;
}

QLabel* Label(const QString& text, QWidget* parent, const char* name = nullptr) {
  auto* l = new QLabel(text, parent);
  if (name) l->setObjectName(QString::fromLatin1(name));
  return l;
}

}  // namespace

struct TfmMembEdit::Controls {
  // The controls of the table and their caption and suffix labels, by MembField.
  std::array<QWidget*, kMembFieldCount> field{};
  std::array<QLabel*, kMembFieldCount> caption{};
  std::array<QLabel*, kMembFieldCount> suffix{};
  std::array<QGroupBox*, 5> box{};  // by FieldGroup
  QToolButton* sbBackData = nullptr;
  QToolButton* sbNextData = nullptr;
  QToolButton* sbNewBase = nullptr;
  QToolButton* sbAutoSet = nullptr;
  QToolButton* sbCalculator = nullptr;
  QToolButton* sbTanka = nullptr;
  QPushButton* bbOk = nullptr;
  QPushButton* bbCancel = nullptr;
  std::vector<ui::NumEdit*> numEdits;
  ui::FieldContext* fieldContext = nullptr;
};

TfmMembEdit::TfmMembEdit(ui::ProgramState& state, ui::DialogService& dialogs, TfmKenhoHyo& gradeTable,
                         TfmCalc& calculator, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs), gradeTable_(gradeTable), calculator_(calculator),
      c_(new Controls) {
  setObjectName(QStringLiteral("TfmMembEdit"));
  setWindowTitle(QStringLiteral("社員情報の編集"));
  chooseGrade = [this](QWidget* over) { return gradeTable_.Choose(over); };
  runCalculator = [this]() -> std::optional<long double> {
    if (!calculator_.Run()) return std::nullopt;
    return calculator_.Value();
  };
  clock = [] { return std::time(nullptr); };
  c_->fieldContext = new ui::FieldContext{dialogs_, state_.options};
  BuildForm();
}

TfmMembEdit::~TfmMembEdit() {
  // The children go after this body; the focus moving between them must not reach the form.
  disconnect(focusConnection_);
  delete c_->fieldContext;
  delete c_;
}

QWidget* TfmMembEdit::Field(MembField id) const { return c_->field[static_cast<std::size_t>(id)]; }
ui::NumEdit* TfmMembEdit::Num(MembField id) const { return static_cast<ui::NumEdit*>(Field(id)); }
QCheckBox* TfmMembEdit::Check(MembField id) const { return static_cast<QCheckBox*>(Field(id)); }
QComboBox* TfmMembEdit::Combo(MembField id) const { return static_cast<QComboBox*>(Field(id)); }
ui::TextEdit* TfmMembEdit::Text(MembField id) const { return static_cast<ui::TextEdit*>(Field(id)); }

void TfmMembEdit::ShowAmount(MembField id, double value) { Num(id)->setText(Amount(MembFieldOf(id).formatCode, value)); }

// ---------------------------------------------------------------------------------------------
// The form

ui::NumEdit* TfmMembEdit::MakeNumEdit(const MembFieldRow& row, QWidget* parent) {
  const int formatCode = row.formatCode;
  auto* e = new ui::NumEdit(*c_->fieldContext, formatCode, parent);
  e->SetAcceptedCharacters(QStringLiteral("0123456789"));
  e->setProperty(kTypingLimit, row.width);
  e->setProperty(kBaseLimit, row.width);
  if (formatCode == 20) {
    e->SetDisplay([](double v) { return QString::asprintf("%2d", static_cast<int>(v)); });
    e->setFixedWidth(34);
  } else {
    e->SetDisplay([formatCode](double v) { return Amount(formatCode, v); });
    e->setFixedWidth(96);
  }
  connect(e, &ui::NumEdit::Left, this, [this, e] { FieldLeft(e); });
  connect(e, &QLineEdit::textEdited, this, [e](const QString& text) {
    // Short text again: back to the field's own length.
    if (text.size() < 3) e->setProperty(kTypingLimit, e->property(kBaseLimit));
  });
  c_->numEdits.push_back(e);
  return e;
}

void TfmMembEdit::MakeField(const MembFieldRow& row) {
  QGroupBox* box = c_->box[static_cast<std::size_t>(row.group)];
  const QString caption = row.caption ? ui::FromUtf8(row.caption) : QString();
  QWidget* widget = nullptr;
  switch (row.kind) {
    case FieldKind::Text: {
      auto* text = new ui::TextEdit(row.width, box);
      if (row.flags & kNoInputMethod) text->setAttribute(Qt::WA_InputMethodEnabled, false);
      widget = text;
      break;
    }
    case FieldKind::Number:
    case FieldKind::RetirementPart: widget = MakeNumEdit(row, box); break;
    case FieldKind::Check: {
      auto* check = new QCheckBox(caption, box);
      connect(check, &QCheckBox::toggled, this, [this] { ApplyEnabling(); });
      if (row.id == MembField::Retired) connect(check, &QCheckBox::clicked, this, [this] { cbTaisyoClick(); });
      widget = check;
      break;
    }
    case FieldKind::Choice: {
      auto* combo = new QComboBox(box);
      for (const char* text : row.choices) combo->addItem(ui::FromUtf8(text));
      connect(combo, &QComboBox::currentIndexChanged, this, [this] { ApplyEnabling(); });
      widget = combo;
      break;
    }
    case FieldKind::Radio: widget = new QRadioButton(caption, box); break;
    case FieldKind::Category: {
      auto* combo = new QComboBox(box);
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      for (const char* text : kCategoryTexts) combo->addItem(ui::FromUtf8(text));
      const auto maxBytes = static_cast<std::size_t>(row.width);
      connect(combo->lineEdit(), &QLineEdit::textEdited, this, [combo, maxBytes](const QString& text) {
        if (SjisWidth(ui::ToUtf8(text)) < maxBytes) return;
        QString cut = text;
        while (!cut.isEmpty() && SjisWidth(ui::ToUtf8(cut)) > maxBytes) cut.chop(1);
        combo->lineEdit()->setText(cut);
        combo->lineEdit()->setCursorPosition(static_cast<int>(cut.size()));
      });
      widget = combo;
      break;
    }
    case FieldKind::BirthDate: {
      auto* edit = new QLineEdit(box);
      edit->setPlaceholderText(QStringLiteral("S55.4.1 / 1980-04-01"));
      edit->setMaxLength(20);
      connect(edit, &QLineEdit::editingFinished, this, [this] { ShowBirthDate(BirthDateFromControl()); });
      widget = edit;
      break;
    }
  }
  widget->setObjectName(QString::fromLatin1(row.name));
  const auto id = static_cast<std::size_t>(row.id);
  c_->field[id] = widget;
  if (row.caption && row.kind != FieldKind::Check && row.kind != FieldKind::Radio) {
    c_->caption[id] = Label(caption, box, row.captionName);
  }
  if (row.suffix) c_->suffix[id] = Label(ui::FromUtf8(row.suffix), box, row.suffixName);
}

// Each control of the group at its place: its caption in its column and the control after it; a
// control with a suffix, an indent or followers on its line gets a line of its own in that cell.
void TfmMembEdit::PlaceFields(QGridLayout* grid, FieldGroup group) {
  QHBoxLayout* line = nullptr;
  bool stretchLine = false;
  auto endLine = [&] {
    if (line && stretchLine) line->addStretch(1);
    line = nullptr;
  };
  const std::span<const MembFieldRow> rows = MembFields();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MembFieldRow& row = rows[i];
    if (row.group != group) continue;
    const auto id = static_cast<std::size_t>(row.id);
    if (row.column < 0) {
      if (row.indent) line->addSpacing(row.indent);
      if (c_->caption[id]) line->addWidget(c_->caption[id]);
      line->addWidget(c_->field[id]);
      if (c_->suffix[id]) line->addWidget(c_->suffix[id]);
      continue;
    }
    endLine();
    int column = row.column;
    if (c_->caption[id]) grid->addWidget(c_->caption[id], row.row, column++);
    const bool followed = i + 1 < rows.size() && rows[i + 1].group == group && rows[i + 1].column < 0;
    if (!followed && !c_->suffix[id] && row.indent == 0) {
      grid->addWidget(c_->field[id], row.row, column, 1, row.span);
      continue;
    }
    line = new QHBoxLayout;
    if (row.indent) line->addSpacing(row.indent);
    line->addWidget(c_->field[id]);
    if (c_->suffix[id]) line->addWidget(c_->suffix[id]);
    stretchLine = followed || c_->suffix[id];
    grid->addLayout(line, row.row, column, 1, row.span);
  }
  endLine();
}

void TfmMembEdit::BuildForm() {
  auto box = [this](const QString& title, const char* name, QWidget* parent) {
    auto* b = new QGroupBox(title, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
  };
  QGroupBox* identity = box(QStringLiteral("社員情報"), "gbSyain", this);
  QGroupBox* tax = box(QStringLiteral("税額表"), "gbZeigaku", identity);
  QGroupBox* insurance = box(QStringLiteral("社会保険・雇用保険"), "gbHoken", this);
  QGroupBox* payment = box(QStringLiteral("支給"), "gbSikyu", this);
  QGroupBox* deduction = box(QStringLiteral("控除"), "gbKoujo", this);
  c_->box = {identity, tax, insurance, payment, deduction};
  // Made in the table's order, which is the order the keyboard walks them.
  for (const MembFieldRow& row : MembFields()) MakeField(row);

  auto* identityGrid = new QGridLayout(identity);
  PlaceFields(identityGrid, FieldGroup::Identity);
  identityGrid->addWidget(tax, 3, 0, 1, 2);
  identityGrid->setColumnStretch(1, 1);
  identityGrid->setColumnStretch(3, 1);
  auto* taxRow = new QHBoxLayout(tax);
  for (const MembFieldRow& row : MembFields()) {
    if (row.group == FieldGroup::TaxColumn) taxRow->addWidget(Field(row.id));
  }
  auto* insuranceGrid = new QGridLayout(insurance);
  PlaceFields(insuranceGrid, FieldGroup::Insurance);
  insuranceGrid->setColumnStretch(0, 1);
  for (auto [group, widget] : {std::pair{FieldGroup::Payment, payment}, std::pair{FieldGroup::Deduction, deduction}}) {
    auto* grid = new QGridLayout(widget);
    PlaceFields(grid, group);
    grid->setColumnMinimumWidth(2, 110);
    grid->setHorizontalSpacing(10);
  }

  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  left->addWidget(identity);
  left->addWidget(insurance);
  left->addStretch(1);
  right->addWidget(payment);
  right->addWidget(deduction);
  right->addStretch(1);
  columns->addLayout(left);
  columns->addLayout(right);
  top->addLayout(columns);
  top->addWidget(BuildButtons());

  ui::InstallEnterMovesOn(this);
  for (QWidget* w : findChildren<QWidget*>()) {
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w) ||
        qobject_cast<QRadioButton*>(w)) {
      w->installEventFilter(this);
    }
  }
  focusConnection_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now && now != this && isAncestorOf(now)) FieldEntered(now);
  });
}
QWidget* TfmMembEdit::BuildButtons() {
  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 4, 0, 0);
  c_->sbBackData = SpeedButton("sbBackData", QStringLiteral("前のデータ"), bar);
  c_->sbNextData = SpeedButton("sbNextData", QStringLiteral("次のデータ"), bar);
  c_->sbNewBase = SpeedButton("sbNewBase", QStringLiteral("基本に設定"), bar);
  c_->sbAutoSet = SpeedButton("sbAutoSet", QStringLiteral("等級表"), bar);
  c_->sbCalculator = SpeedButton("sbCalculator", QStringLiteral("電卓起動"), bar);
  c_->sbCalculator->setEnabled(false);
  c_->sbTanka = SpeedButton("sbTanka", QStringLiteral("単価計算"), bar);
  c_->sbTanka->setToolTip(QStringLiteral("残業単価・欠勤控除額・遅早控除額を法定の割増率で計算します"));
  connect(c_->sbTanka, &QToolButton::clicked, this, [this] { sbTankaClick(); });
  connect(c_->sbBackData, &QToolButton::clicked, this, [this] { Step(-1); });
  connect(c_->sbNextData, &QToolButton::clicked, this, [this] { Step(+1); });
  connect(c_->sbNewBase, &QToolButton::clicked, this, [this] { sbNewBaseClick(); });
  connect(c_->sbAutoSet, &QToolButton::clicked, this, [this] { sbAutoSetClick(); });
  connect(c_->sbCalculator, &QToolButton::clicked, this, [this] { sbCalculatorClick(); });
  for (QToolButton* b :
       {c_->sbBackData, c_->sbNextData, c_->sbNewBase, c_->sbAutoSet, c_->sbCalculator, c_->sbTanka}) {
    row->addWidget(b);
  }
  row->addStretch(1);
  c_->bbOk = new QPushButton(QStringLiteral("ＯＫ"), bar);
  c_->bbOk->setObjectName(QStringLiteral("bbOk"));
  c_->bbCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), bar);
  c_->bbCancel->setObjectName(QStringLiteral("bbCancel"));
  for (QPushButton* b : {c_->bbOk, c_->bbCancel}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(90);
    row->addWidget(b);
  }
  connect(c_->bbOk, &QPushButton::clicked, this, [this] { bbOkClick(); });
  connect(c_->bbCancel, &QPushButton::clicked, this, &QDialog::reject);
  return bar;
}

// ---------------------------------------------------------------------------------------------
// Showing

void TfmMembEdit::SetSlot(int slot) { slot_ = slot; }
void TfmMembEdit::SetNewEmployee() { slot_ = 0; }

bool TfmMembEdit::EditSlot(int slot) {
  SetSlot(slot);
  return exec() == QDialog::Accepted;
}

bool TfmMembEdit::EditNew() {
  SetNewEmployee();
  return exec() == QDialog::Accepted;
}

void TfmMembEdit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
  if (!activatedOnce_) {
    activatedOnce_ = true;
    if (state_.firstRun) {
      QTimer::singleShot(0, this, [this] { dialogs_.Information(kFirstRunInfo); });
    }
  }
}

void TfmMembEdit::FormShow() {
  storedSlot_ = 0;
  const Options& o = state_.options;
  for (int i = 0; i < 3; ++i) {
    c_->caption[static_cast<std::size_t>(MembField::FixedAllowance1) + i]->setText(
        ui::FromUtf8(o.Name(static_cast<UserItem>(static_cast<int>(UserItem::FixedAllowance1) + i))));
    c_->caption[static_cast<std::size_t>(MembField::FixedDeduction1) + i]->setText(
        ui::FromUtf8(o.Name(static_cast<UserItem>(static_cast<int>(UserItem::FixedDeduction1) + i))));
  }
  if (slot_ == 0) ResetToDefaults();
  ShowRecord();
}

void TfmMembEdit::ResetToDefaults() {
  working_ = NewEmployeeDefaults();
  try {
    if (std::optional<EmployeeRecord> base = ReadEmployeeTemplate(state_.paths.employeeTemplate)) {
      working_ = *base;
      ClearForTemplate(working_);  // a template never hands on an employee key
      working_.SetBirthDate(0);    // nor a birth date
    }
  } catch (const YearFileError& e) {
    // The new employee starts from the built-in defaults.
    dialogs_.Error(e.UserText());
  }
}

void TfmMembEdit::ShowRecord() {
  if (slot_ > 0) working_ = state_.Period().Employee(slot_);
  state_.selectedGrade = working_.Grade();
  FillControls(EntryFromRecord(working_));
  ShowBirthDate(working_.BirthDate());
  ApplyEnabling();
  // The change check compares with the record as these controls write it, so that bytes the
  // controls do not hold (stale string tails, reserved areas) never count as a change.
  original_ = RecordFromControls(working_, working_.Key());
  UpdateSteppingButtons();
  Field(MembField::Name)->setFocus(Qt::OtherFocusReason);
  current_ = Field(MembField::Name);
  c_->sbCalculator->setEnabled(false);
}

void TfmMembEdit::FillControls(EmployeeEntry e) {
  for (const MembFieldRow& row : MembFields()) {
    switch (row.kind) {
      case FieldKind::Text: Text(row.id)->setText(ui::FromUtf8(row.text.entry(e))); break;
      case FieldKind::Number: Num(row.id)->SetValue(row.number.entry(e)); break;
      case FieldKind::Check:
        if (row.flag.entry) Check(row.id)->setChecked(row.flag.entry(e));
        break;
      case FieldKind::Choice: {
        const QSignalBlocker block(Field(row.id));
        Combo(row.id)->setCurrentIndex(ChoiceIndex(row, row.number.entry(e)));
        break;
      }
      case FieldKind::Radio:
        if (&RadioFor(row.number.entry(e)) == &row) static_cast<QRadioButton*>(Field(row.id))->setChecked(true);
        break;
      case FieldKind::Category: {
        QComboBox* category = Combo(row.id);
        const std::int32_t index = row.number.entry(e);
        category->setCurrentIndex(index >= 0 && index < category->count() ? index : -1);
        category->setEditText(ui::FromUtf8(row.text.entry(e)));
        break;
      }
      case FieldKind::BirthDate:       // shown by ShowBirthDate
      case FieldKind::RetirementPart:  // below, with 退職者
        break;
    }
  }
  const bool retired = !RetirementDateFromFields(e.retirement).empty();
  Check(MembField::Retired)->setChecked(retired);
  for (const MembFieldRow& row : MembFields()) {
    if (row.kind != FieldKind::RetirementPart) continue;
    Num(row.id)->setText(retired ? TwoDigits(row.text.entry(e)) : QString());
  }
  for (ui::NumEdit* n : c_->numEdits) n->setProperty(kTypingLimit, n->property(kBaseLimit));
}

EmployeeEntry TfmMembEdit::ReadControls() const {
  EmployeeEntry e;
  for (const MembFieldRow& row : MembFields()) {
    switch (row.kind) {
      case FieldKind::Text: row.text.entry(e) = ui::ToUtf8(Text(row.id)->text()); break;
      case FieldKind::Number: row.number.entry(e) = FieldInt(Num(row.id)); break;
      case FieldKind::RetirementPart: row.text.entry(e) = ui::ToUtf8(Num(row.id)->text()); break;
      case FieldKind::Check:
        if (row.flag.entry) row.flag.entry(e) = Check(row.id)->isChecked();
        break;
      case FieldKind::Choice: row.number.entry(e) = ChoiceValue(row, Combo(row.id)->currentIndex()); break;
      case FieldKind::Radio:
        if (static_cast<QRadioButton*>(Field(row.id))->isChecked()) row.number.entry(e) = row.firstValue;
        break;
      case FieldKind::Category: {
        const QString category = Combo(row.id)->currentText();
        row.number.entry(e) = static_cast<std::int32_t>(Combo(row.id)->findText(category, Qt::MatchExactly));
        row.text.entry(e) = ui::ToUtf8(category);
        break;
      }
      case FieldKind::BirthDate: break;  // read by BirthDateFromControl
    }
  }
  e.grade = static_cast<std::uint16_t>(state_.selectedGrade);
  return e;
}

EmployeeRecord TfmMembEdit::RecordFromControls(const EmployeeRecord& base, const std::string& key) const {
  EmployeeRecord r = base;
  EmployeeEntry e = ReadControls();
  // Texts without a Shift-JIS form cannot be in the file; for the comparison they count as empty.
  try {
    WriteEntry(e, r, [&key] { return key; });
  } catch (const EncodingError&) {
    r.Clear();
    r.SetKey(key);
  }
  r.SetBirthDate(BirthDateFromControl().value_or(-1));  // a date not understood counts as a change
  return r;
}

void TfmMembEdit::ApplyEnabling() {
  const int payForm = Combo(MembField::PayForm)->currentIndex();
  const EnablingFacts facts{.health = Check(MembField::HealthSubject)->isChecked(),
                            .nursing = Check(MembField::NursingCollected)->isChecked(),
                            .pension = Check(MembField::PensionSubject)->isChecked(),
                            .fund = Check(MembField::FundMember)->isChecked(),
                            .byDayOrHour = payForm == 1 || payForm == 2,
                            .retired = Check(MembField::Retired)->isChecked()};
  for (const MembFieldRow& row : MembFields()) {
    const bool enabled = IsEnabled(row.enabledWhen, facts);
    const auto id = static_cast<std::size_t>(row.id);
    c_->field[id]->setEnabled(enabled);
    if (c_->caption[id]) c_->caption[id]->setEnabled(enabled);
    if (c_->suffix[id]) c_->suffix[id]->setEnabled(enabled);
  }
}
void TfmMembEdit::UpdateSteppingButtons() {
  c_->sbBackData->setEnabled(slot_ > 1);
  c_->sbNextData->setEnabled(slot_ >= 1 && slot_ <= kSlotCount - 1 && state_.Period().Employee(slot_ + 1).InUse());
}

// ---------------------------------------------------------------------------------------------
// Commands

void TfmMembEdit::Step(int delta) {
  if (slot_ == 0) return;
  const EmployeeRecord now = RecordFromControls(working_, working_.Key());
  if (now.bytes != original_.bytes) {
    dialogs_.Warning(kChangedText);
    FocusBack();
    return;
  }
  const int target = slot_ + delta;
  if (target < 1 || target > kSlotCount || !state_.Period().Employee(target).InUse()) return;
  slot_ = target;
  ShowRecord();
}

std::string TfmMembEdit::MakeKey() const { return UniqueEmployeeKey(state_.Period(), clock()); }

void TfmMembEdit::bbOkClick() {
  EmployeeEntry e = ReadControls();
  if (std::optional<EntryProblem> problem = CheckEntry(e)) {
    dialogs_.Error(problem->message);
    Field(problem->field)->setFocus(Qt::OtherFocusReason);
    return;
  }
  const std::optional<std::int32_t> birthDate = BirthDateFromControl();
  if (!birthDate) {
    dialogs_.Error(kBirthDateError);
    Field(MembField::BirthDate)->setFocus(Qt::OtherFocusReason);
    return;
  }
  e.name = ui::ToUtf8(Text(MembField::Name)->CutText());
  e.department = ui::ToUtf8(Text(MembField::Department)->CutText());
  EmployeeRecord record = working_;
  WriteEntry(e, record, [this] { return MakeKey(); });
  record.SetBirthDate(*birthDate);

  PeriodBlock& period = state_.Period();
  int stored = slot_;
  if (slot_ > 0) {
    period.Employee(slot_) = record;
  } else {
    stored = StoreNewEmployee(period, state_.PeriodIndex(), record);
    if (stored == 0) {
      // Every slot is taken: storing nothing and reporting success would lose the entries.
      dialogs_.Error(kNoFreeSlot);
      return;
    }
  }
  working_ = record;
  storedSlot_ = stored;
  try {
    state_.RecalculateSlot(stored);
  } catch (const std::exception& error) {
    // The record is stored; the sheet's next recalculation reports the same again.
    dialogs_.Error(error.what());
  }
  accept();
}

void TfmMembEdit::sbNewBaseClick() {
  const ui::MsgAnswer answer = dialogs_.Message(ui::MsgKind::Confirmation, kTemplateQuestion, ui::MsgButtons::YesNoCancel);
  try {
    if (answer == ui::MsgAnswer::Yes) {
      EmployeeRecord base;
      try {
        WriteEntry(ReadControls(), base, [] { return std::string(); });
      } catch (const EncodingError&) {
        dialogs_.Error(kNotEncodable);
        FocusBack();
        return;
      }
      ClearForTemplate(base);
      WriteEmployeeTemplate(state_.paths.employeeTemplate, base);
      dialogs_.Notice(kTemplateSaved, kNoticeMilliseconds);
    } else if (answer == ui::MsgAnswer::No) {
      if (dialogs_.Confirm(kTemplateRemoveQuestion)) {
        RemoveEmployeeTemplate(state_.paths.employeeTemplate);
        if (slot_ == 0) {
          working_ = NewEmployeeDefaults();
          ShowRecord();
        }
        dialogs_.Notice(kTemplateRemoved, kNoticeMilliseconds);
      }
    }
  } catch (const YearFileError& error) {
    dialogs_.Error(error.UserText());
  }
  FocusBack();
}

void TfmMembEdit::sbAutoSetClick() {
  if (!state_.gradeQuestionAsked) {
    if (!dialogs_.Confirm(kGradeQuestion)) {
      FocusBack();
      return;
    }
    state_.gradeQuestionAsked = true;
  }
  if (chooseGrade(this)) {
    try {
      const GradePremiums p = PremiumsFromGrade(state_.tables, state_.Period().company, state_.selectedGrade);
      ShowAmount(MembField::HealthPremium, p.health);
      ShowAmount(MembField::NursingPremium, p.nursing);
      ShowAmount(MembField::LevyPremium, p.levy);
      ShowAmount(MembField::PensionPremium, p.pension);
      ShowAmount(MembField::FundContribution, p.pensionFund);
    } catch (const std::exception& error) {
      dialogs_.Error(error.what());
    }
  }
  FocusBack();
}

void TfmMembEdit::sbCalculatorClick() {
  auto* field = qobject_cast<ui::NumEdit*>(current_);
  if (!field) return;
  if (std::optional<long double> value = runCalculator()) {
    field->setText(ui::FromUtf8(CalculatorFieldText(*value, field->FormatCode())));
  }
  field->setFocus(Qt::OtherFocusReason);
}

void TfmMembEdit::sbTankaClick() {
  const EmployeeRecord now = RecordFromControls(working_, working_.Key());
  const CivilDate today = Today();
  const UnitPriceResult result =
      SuggestUnitPrices(now, state_.Period().company, state_.options, today.year * 10000 + today.month * 100 + today.day);
  if (result.problem) {
    dialogs_.Error(UnitPriceProblemText(*result.problem));
  } else if (dialogs_.Confirm(UnitPriceQuestion(*result.prices))) {
    const SuggestedUnitPrices& p = *result.prices;
    for (int i = 0; i < 4; ++i) {
      ShowAmount(static_cast<MembField>(static_cast<int>(MembField::OvertimeNormal) + i), p.overtime[i]);
    }
    if (p.absencePerDay) ShowAmount(MembField::AbsenceDeduction, *p.absencePerDay);
    if (p.latenessPerHour) ShowAmount(MembField::LatenessDeduction, *p.latenessPerHour);
  }
  FocusBack();
}

void TfmMembEdit::cbTaisyoClick() {
  const std::array<std::string, 3> today = RetirementFieldsOf(Today());
  const bool retired = Check(MembField::Retired)->isChecked();
  for (int i = 0; i < 3; ++i) {
    ui::NumEdit* part = Num(static_cast<MembField>(static_cast<int>(MembField::RetiredYear) + i));
    part->setText(retired ? ui::FromUtf8(today[i]) : QString());
  }
  ApplyEnabling();
}

void TfmMembEdit::FocusBack() {
  if (current_ && current_->isEnabled()) current_->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------
// Fields

void TfmMembEdit::FieldEntered(QWidget* field) {
  if (qobject_cast<QAbstractButton*>(field) && field->focusPolicy() == Qt::NoFocus) return;
  if (field == c_->bbOk || field == c_->bbCancel) return;
  // The line edit of 社員区分 stands for its combo box.
  if (field == Combo(MembField::Category)->lineEdit()) field = Field(MembField::Category);
  current_ = field;
  auto* numeric = qobject_cast<ui::NumEdit*>(field);
  c_->sbCalculator->setEnabled(numeric != nullptr);
  if (numeric) {
    // A formatted amount is longer than the field's own length; it may be typed over whole.
    const int length = static_cast<int>(numeric->text().size());
    const int code = numeric->FormatCode();
    const bool formatted = (code == 70 && length == 7) || (code == 90 && length == 9);
    numeric->setProperty(kTypingLimit, formatted ? length : numeric->property(kBaseLimit).toInt());
  }
}

void TfmMembEdit::FieldLeft(ui::NumEdit* field) {
  field->setProperty(kTypingLimit, field->property(kBaseLimit));
  // An amount field shows 0 when it was left empty or its text was rejected.
  if (field->FormatCode() != 20 && field->text().isEmpty()) field->setText(Amount(field->FormatCode(), 0));
}

bool TfmMembEdit::NumericKey(ui::NumEdit* field, QKeyEvent* key) {
  const QString typed = key->text();
  if (typed.size() != 1 || !typed.at(0).isDigit() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    return false;  // the field itself accepts or beeps
  }
  const int limit = field->property(kTypingLimit).toInt();
  const qsizetype length = ui::LengthAfterTyping(*field, typed, state_.options.inputOverwrite);
  if (length <= limit) return false;
  dialogs_.Beep();
  return true;
}

bool TfmMembEdit::KubunKey(QKeyEvent* key) {
  if (key->key() == Qt::Key_Backspace) {
    dialogs_.Information(kBackSpaceInfo);
    return true;
  }
  return false;
}

bool TfmMembEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp) {
    QToolButton* button = key->key() == Qt::Key_PageDown ? c_->sbBackData : c_->sbNextData;
    if (button->isEnabled()) button->click();
    return true;
  }
  if (watched == Field(MembField::Category) || watched == Combo(MembField::Category)->lineEdit()) {
    return KubunKey(key);
  }
  const auto digitKeysOnly = [this, watched] {
    for (const MembFieldRow& row : MembFields()) {
      if (row.flags & kDigitKeysOnly && Field(row.id) == watched) return true;
    }
    return false;
  };
  if (digitKeysOnly()) {
    // The fixed lists take digits only (their keyboard search); any other character beeps.
    const QString typed = key->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !typed.at(0).isDigit()) {
      dialogs_.Beep();
      return true;
    }
    return false;
  }
  if (auto* numeric = qobject_cast<ui::NumEdit*>(watched)) return NumericKey(numeric, key);
  return QDialog::eventFilter(watched, event);
}

}  // namespace paylark::screens

namespace paylark::screens {

CivilDate TfmMembEdit::TodayFromClock() const {
  const std::time_t now = clock();
  std::tm local{};
  localtime_r(&now, &local);
  return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::optional<std::int32_t> TfmMembEdit::BirthDateFromControl() const {
  const std::string text = ui::ToUtf8(static_cast<QLineEdit*>(Field(MembField::BirthDate))->text());
  if (text.find_first_not_of(' ') == std::string::npos) return 0;
  const std::optional<CivilDate> date = ParseBirthDate(text, TodayFromClock());
  if (!date) return std::nullopt;
  return date->year * 10'000 + date->month * 100 + date->day;
}

void TfmMembEdit::ShowBirthDate(std::optional<std::int32_t> yyyymmdd) {
  if (!yyyymmdd) {
    c_->suffix[static_cast<std::size_t>(MembField::BirthDate)]->clear();  // kept as typed until it is corrected
    return;
  }
  QLabel* age = c_->suffix[static_cast<std::size_t>(MembField::BirthDate)];  // lbAge
  static_cast<QLineEdit*>(Field(MembField::BirthDate))->setText(ui::FromUtf8(BirthDateText(*yyyymmdd)));
  if (*yyyymmdd == 0) {
    age->clear();
    return;
  }
  const CivilDate birth{*yyyymmdd / 10'000, *yyyymmdd / 100 % 100, *yyyymmdd % 100};
  age->setText(QStringLiteral("（満%1歳）").arg(AgeOn(birth, TodayFromClock())));
}

}  // namespace paylark::screens
