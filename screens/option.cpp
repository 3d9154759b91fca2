#include "screens/option.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <array>
#include <system_error>

#include "store/app_settings.h"
#include "store/item_name_check.h"
#include "store/sjis.h"
#include "store/year_file.h"
#include "ui/entry_fields.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

using ui::FromUtf8;
using ui::ToUtf8;

constexpr int kNameBytes = 12;
constexpr int kThirdBonusBytes = 8;
constexpr int kShiftFormatCode = 51;  // 3.1: print position correction in millimetres

constexpr const char* kFirstRunInfo = "項目名と属性や各種動作環境を設定して下さい。\r　（詳細はF1キーを押してヘルプを参照）";
constexpr const char* kFirstRunCancel = "初期設定を中止し、プログラムを終了して宜しいですか？";

// Control names and line labels of the fifteen user items, in UserItem order.
constexpr std::array<const char*, kUserItemCount> kNameFields{
    "edFixTeate1", "edFixTeate2", "edFixTeate3", "edVarTeate1", "edVarTeate2", "edVarTeate3",
    "edFixKoujo1", "edFixKoujo2", "edFixKoujo3", "edVarKoujo1", "edVarKoujo2", "edVarKoujo3",
    "edSonota1",   "edSonota2",   "edSonota3"};
constexpr std::array<const char*, kUserItemCount> kLineLabels{
    "固定手当１", "固定手当２", "固定手当３", "変動手当１", "変動手当２", "変動手当３",
    "固定控除１", "固定控除２", "固定控除３", "変動控除１", "変動控除２", "変動控除３",
    "その他１",   "その他２",   "その他３"};

QString ShiftText(double millimetres) { return QString::asprintf("%5.1f", millimetres); }

}  // namespace

struct TfmOption::Private {
  Private(ui::ProgramState& s, ui::DialogService& d) : state(s), dialogs(d), fields{d, s.options} {}

  ui::ProgramState& state;
  ui::DialogService& dialogs;
  ui::FieldContext fields;
  std::function<void()> openPassword;

  std::array<ui::TextEdit*, kUserItemCount> names{};
  ui::TextEdit* thirdBonus = nullptr;
  std::array<QCheckBox*, kFlaggedUserItemCount> taxable{};
  std::array<QCheckBox*, kFlaggedUserItemCount> socialInsurance{};
  QRadioButton* timeStyle10 = nullptr;
  QRadioButton* timeStyle60 = nullptr;
  QRadioButton* sikCeil = nullptr;
  QRadioButton* sikRound = nullptr;
  QRadioButton* genTrunc = nullptr;
  QRadioButton* genRound = nullptr;
  QRadioButton* kouTrunc = nullptr;
  QRadioButton* kouRound = nullptr;
  QComboBox* formType = nullptr;
  ui::NumEdit* shiftH = nullptr;
  ui::NumEdit* shiftV = nullptr;
  QCheckBox* autoSelect = nullptr;
  QCheckBox* inputOverwrite = nullptr;
  QCheckBox* printYearToDate = nullptr;
  QCheckBox* printClassTotals = nullptr;
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* password = nullptr;

  QLineEdit* NameField(int field) const { return field == kThirdBonusNameField ? thirdBonus : names[field]; }
};

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QCheckBox* FlagBox(const char* prefix, int i, QWidget* parent) {
  auto* box = new QCheckBox(parent);
  box->setObjectName(QString::fromLatin1(prefix) + QString::number(i));
  return box;
}

// A rounding mode on its two choices (`first` stands for firstMode, `half` for Half). A mode the
// row does not offer (from an older or hand-edited settings file) checks neither, so that ＯＫ
// keeps it unless the user picks one.
void ShowRounding(QRadioButton* first, RoundingMode firstMode, QRadioButton* half, RoundingMode mode) {
  first->setAutoExclusive(false);
  half->setAutoExclusive(false);
  first->setChecked(mode == firstMode);
  half->setChecked(mode == RoundingMode::Half);
  first->setAutoExclusive(true);
  half->setAutoExclusive(true);
}

RoundingMode ReadRounding(const QRadioButton* first, RoundingMode firstMode, const QRadioButton* half,
                          RoundingMode current) {
  if (half->isChecked()) return RoundingMode::Half;
  if (first->isChecked()) return firstMode;
  return current;
}

// One row of the rounding group: the row label and its two exclusive choices.
void AddRoundingRow(QGridLayout* grid, int row, const QString& label, QRadioButton* a, QRadioButton* b) {
  auto* group = new QButtonGroup(grid);
  group->addButton(a);
  group->addButton(b);
  grid->addWidget(new QLabel(label), row, 0);
  grid->addWidget(a, row, 1);
  grid->addWidget(b, row, 2);
}

}  // namespace

TfmOption::TfmOption(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), d_(std::make_unique<Private>(state, dialogs)) {
  setObjectName(QStringLiteral("TfmOption"));
  setWindowTitle(QStringLiteral("入力項目の設定"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  Private& d = *d_;

  // Left: the names and flags of the user items.
  auto* items = Named(new QGroupBox(QStringLiteral("ユーザー追加項目と属性の設定"), this), "gbItems");
  auto* itemGrid = new QGridLayout(items);
  itemGrid->setHorizontalSpacing(10);
  itemGrid->setVerticalSpacing(3);
  itemGrid->addWidget(new QLabel(QStringLiteral("項目名")), 0, 1, Qt::AlignHCenter);
  itemGrid->addWidget(new QLabel(QStringLiteral("課税")), 0, 2, Qt::AlignHCenter);
  itemGrid->addWidget(new QLabel(QStringLiteral("社保")), 0, 3, Qt::AlignHCenter);
  const int nameWidth = fontMetrics().horizontalAdvance(QStringLiteral("固定手当固定手当")) + 14;
  int row = 1;
  for (int i = 0; i < kUserItemCount; ++i) {
    if (i == static_cast<int>(UserItem::Other1)) {
      auto* line = new QFrame(items);
      line->setFrameShape(QFrame::HLine);
      line->setFrameShadow(QFrame::Sunken);
      itemGrid->addWidget(line, row++, 0, 1, 4);
    }
    d.names[i] = Named(new ui::TextEdit(kNameBytes, items), kNameFields[i]);
    d.names[i]->setFixedWidth(nameWidth);
    itemGrid->addWidget(new QLabel(FromUtf8(kLineLabels[i])), row, 0);
    itemGrid->addWidget(d.names[i], row, 1);
    if (i < kFlaggedUserItemCount) {
      d.taxable[i] = FlagBox("cbKazei", i, items);
      d.socialInsurance[i] = FlagBox("cbHoken", i, items);
      itemGrid->addWidget(d.taxable[i], row, 2, Qt::AlignHCenter);
      itemGrid->addWidget(d.socialInsurance[i], row, 3, Qt::AlignHCenter);
    }
    ++row;
  }
  d.thirdBonus = Named(new ui::TextEdit(kThirdBonusBytes, items), "edTokuSyoyo");
  d.thirdBonus->setFixedWidth(nameWidth);
  itemGrid->addWidget(new QLabel(QStringLiteral("特別賞与")), row, 0);
  itemGrid->addWidget(d.thirdBonus, row, 1);
  itemGrid->setRowStretch(row + 1, 1);

  // Right: hour style, rounding, paper, print shifts, switches.
  auto* time = Named(new QGroupBox(QStringLiteral("時間の表示･印刷形式"), this), "gbTimeStyle");
  auto* timeBox = new QVBoxLayout(time);
  d.timeStyle10 = Named(new QRadioButton(QStringLiteral("10進法（１時間45分→1.75）"), time), "rbTimeStyle10");
  d.timeStyle60 = Named(new QRadioButton(QStringLiteral("60進法（１時間45分→1:45）"), time), "rbTimeStyle60");
  timeBox->addWidget(d.timeStyle10);
  timeBox->addWidget(d.timeStyle60);

  auto* rounding = Named(new QGroupBox(QStringLiteral("１円未満の端数処理"), this), "gbHasuu");
  auto* roundGrid = new QGridLayout(rounding);
  roundGrid->setHorizontalSpacing(14);
  d.sikCeil = Named(new QRadioButton(QStringLiteral("切り上げ"), rounding), "rbSikCeil");
  d.sikRound = Named(new QRadioButton(QStringLiteral("四捨五入"), rounding), "rbSikRound");
  d.genTrunc = Named(new QRadioButton(QStringLiteral("切り捨て"), rounding), "rbGenTrunc");
  d.genRound = Named(new QRadioButton(QStringLiteral("四捨五入"), rounding), "rbGenRound");
  d.kouTrunc = Named(new QRadioButton(QStringLiteral("切り捨て"), rounding), "rbKouTrunc");
  d.kouRound = Named(new QRadioButton(QStringLiteral("四捨五入"), rounding), "rbKouRound");
  AddRoundingRow(roundGrid, 0, QStringLiteral("支給項目"), d.sikCeil, d.sikRound);
  AddRoundingRow(roundGrid, 1, QStringLiteral("減額項目"), d.genTrunc, d.genRound);
  AddRoundingRow(roundGrid, 2, QStringLiteral("控除項目"), d.kouTrunc, d.kouRound);
  roundGrid->setColumnStretch(3, 1);

  auto* paper = Named(new QGroupBox(QStringLiteral("用紙タイプ"), this), "gbFormType");
  auto* paperRow = new QHBoxLayout(paper);
  d.formType = Named(new QComboBox(paper), "cbFormType");
  d.formType->addItems({QStringLiteral("A4用紙(1名/枚)"), QStringLiteral("A4用紙(2名/枚)"), QStringLiteral("HISAGO GB1150")});
  paperRow->addWidget(new QLabel(QStringLiteral("給与/賞与明細")));
  paperRow->addWidget(d.formType, 1);

  auto* shifts = Named(new QGroupBox(QStringLiteral("印刷位置補正"), this), "gbPrAdjust");
  auto* shiftGrid = new QGridLayout(shifts);
  auto makeShift = [&](const char* name) {
    auto* edit = Named(new ui::NumEdit(d.fields, kShiftFormatCode, shifts), name);
    edit->SetAcceptedCharacters(QStringLiteral("0123456789-."));
    edit->setMaxLength(5);
    edit->SetDisplay([](double v) { return ShiftText(v); });
    edit->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("-000.0")) + 16);
    return edit;
  };
  d.shiftH = makeShift("edPrAdjustH");
  d.shiftV = makeShift("edPrAdjustV");
  shiftGrid->addWidget(new QLabel(QStringLiteral("全体を横方向に")), 0, 0);
  shiftGrid->addWidget(d.shiftH, 0, 1);
  shiftGrid->addWidget(new QLabel(QStringLiteral("mmずらす")), 0, 2);
  shiftGrid->addWidget(new QLabel(QStringLiteral("全体を縦方向に")), 1, 0);
  shiftGrid->addWidget(d.shiftV, 1, 1);
  shiftGrid->addWidget(new QLabel(QStringLiteral("mmずらす")), 1, 2);
  shiftGrid->setColumnStretch(3, 1);

  d.autoSelect = Named(new QCheckBox(QStringLiteral("数値項目を自動選択する"), this), "cbAutoSel");
  d.inputOverwrite = Named(new QCheckBox(QStringLiteral("数値項目を上書き入力する"), this), "cbInpOverN");
  d.printYearToDate = Named(new QCheckBox(QStringLiteral("明細書の累計欄を印刷する"), this), "cbPrRuikei");
  d.printClassTotals = Named(new QCheckBox(QStringLiteral("社員区分別の集計を印刷する"), this), "cbPrKbnKei");
  auto* classTotalsNote = new QLabel(QStringLiteral("(月別給与/賞与一覧の印刷時)"), this);
  classTotalsNote->setIndent(22);

  d.ok = Named(new QPushButton(QStringLiteral("ＯＫ"), this), "btSysSave");
  d.cancel = Named(new QPushButton(QStringLiteral("キャンセル"), this), "btCancel");
  d.password = Named(new QPushButton(QStringLiteral("パスワードの設定/解除"), this), "btPassWord");
  for (QPushButton* b : {d.ok, d.cancel, d.password}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(96);
  }
  d.password->setEnabled(false);

  auto* right = new QVBoxLayout;
  right->addWidget(time);
  right->addWidget(rounding);
  right->addWidget(paper);
  right->addWidget(shifts);
  right->addSpacing(4);
  right->addWidget(d.autoSelect);
  right->addWidget(d.inputOverwrite);
  right->addWidget(d.printYearToDate);
  right->addWidget(d.printClassTotals);
  right->addWidget(classTotalsNote);
  right->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(d.password);
  buttons->addStretch(1);
  buttons->addWidget(d.ok);
  buttons->addWidget(d.cancel);
  right->addLayout(buttons);

  auto* top = new QHBoxLayout(this);
  top->addWidget(items);
  top->addLayout(right, 1);

  connect(d.ok, &QPushButton::clicked, this, [this] { btSysSaveClick(); });
  connect(d.cancel, &QPushButton::clicked, this, [this] { reject(); });
  connect(d.password, &QPushButton::clicked, this, [this] {
    if (d_->openPassword) d_->openPassword();
  });
  ui::InstallEnterMovesOn(this);
}

TfmOption::~TfmOption() = default;

bool TfmOption::Run() { return exec() == QDialog::Accepted; }

void TfmOption::SetPasswordHook(std::function<void()> openPasswordScreen) {
  d_->openPassword = std::move(openPasswordScreen);
  d_->password->setEnabled(static_cast<bool>(d_->openPassword));
}

void TfmOption::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfmOption::FormShow() {
  Private& d = *d_;
  const Options& o = d.state.options;
  for (int i = 0; i < kUserItemCount; ++i) d.names[i]->setText(FromUtf8(o.itemNames[i]));
  d.thirdBonus->setText(FromUtf8(o.thirdBonusName));
  for (int i = 0; i < kFlaggedUserItemCount; ++i) {
    d.taxable[i]->setChecked(o.taxable[i]);
    d.socialInsurance[i]->setChecked(o.socialInsurance[i]);
  }
  ShowRounding(d.sikCeil, RoundingMode::Up, d.sikRound, o.paymentRounding);
  ShowRounding(d.genTrunc, RoundingMode::Truncate, d.genRound, o.reductionRounding);
  ShowRounding(d.kouTrunc, RoundingMode::Truncate, d.kouRound, o.deductionRounding);
  d.formType->setCurrentIndex(o.formType >= 0 && o.formType < d.formType->count() ? o.formType : 1);
  (o.timeStyle == 0 ? d.timeStyle10 : d.timeStyle60)->setChecked(true);
  d.shiftH->setText(ShiftText(o.printShiftH));
  d.shiftV->setText(ShiftText(o.printShiftV));
  d.autoSelect->setChecked(o.autoSelect);
  d.inputOverwrite->setChecked(o.inputOverwrite);
  d.printYearToDate->setChecked(o.printYearToDate);
  d.printClassTotals->setChecked(o.printClassTotals);
  d.names[0]->setFocus(Qt::OtherFocusReason);
  if (d.state.firstRun) {
    QTimer::singleShot(0, this, [this] { d_->dialogs.Information(kFirstRunInfo); });
  }
}

void TfmOption::btSysSaveClick() {
  Private& d = *d_;
  // Names are stored cut to their length, the print shifts as their fields show them.
  for (ui::TextEdit* edit : d.names) edit->setText(edit->CutText());
  d.thirdBonus->setText(d.thirdBonus->CutText());
  for (ui::NumEdit* edit : {d.shiftH, d.shiftV}) {
    if (!edit->Normalise()) {
      edit->setFocus(Qt::OtherFocusReason);
      return;
    }
  }

  Options o = d.state.options;
  for (int i = 0; i < kUserItemCount; ++i) o.itemNames[i] = ToUtf8(d.names[i]->text());
  o.thirdBonusName = ToUtf8(d.thirdBonus->text());
  if (const auto problem = CheckItemNames(o)) {
    d.dialogs.Error(problem->message);
    QLineEdit* field = d.NameField(problem->field);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return;
  }

  o.autoSelect = d.autoSelect->isChecked();
  o.inputOverwrite = d.inputOverwrite->isChecked();
  o.printYearToDate = d.printYearToDate->isChecked();
  o.printClassTotals = d.printClassTotals->isChecked();
  o.formType = d.formType->currentIndex();
  o.timeStyle = d.timeStyle10->isChecked() ? 0 : 1;
  o.paymentRounding = ReadRounding(d.sikCeil, RoundingMode::Up, d.sikRound, o.paymentRounding);
  o.reductionRounding = ReadRounding(d.genTrunc, RoundingMode::Truncate, d.genRound, o.reductionRounding);
  o.deductionRounding = ReadRounding(d.kouTrunc, RoundingMode::Truncate, d.kouRound, o.deductionRounding);
  o.printShiftH = d.shiftH->Value();
  o.printShiftV = d.shiftV->Value();
  for (int i = 0; i < kFlaggedUserItemCount; ++i) {
    o.taxable[i] = d.taxable[i]->isChecked();
    o.socialInsurance[i] = d.socialInsurance[i]->isChecked();
  }

  // The file first: when it cannot be written the program keeps its options and the screen stays
  // open, so that memory and file never disagree.
  try {
    SaveOptions(d.state.settings, o);
  } catch (const std::system_error& e) {
    d.dialogs.Error(IoErrorText(e.code().value()));
    return;
  } catch (const EncodingError&) {
    d.dialogs.Error("項目名に使用できない文字が含まれています。");
    return;
  }
  d.state.options = o;
  accept();
  emit OptionsChanged();
}

void TfmOption::reject() {
  if (d_->state.firstRun && !d_->dialogs.Confirm(kFirstRunCancel)) return;
  QDialog::reject();
}

}  // namespace paylark::screens
