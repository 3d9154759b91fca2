#include "screens/data_edit.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "entry/display_format.h"
#include "calc/income_tax.h"
#include "entry/number_parse.h"
#include "print/calc_statement_layout.h"
#include "print/qt/pdf_report.h"
#include "screens/calc_window.h"
#include "screens/explanation_window.h"
#include "store/previous_period.h"
#include "store/year_file.h"
#include "ui/colours.h"
#include "ui/dialog_reporter.h"
#include "ui/entry_fields.h"
#include "ui/fonts.h"
#include "ui/message_lines.h"
#include "ui/file_to_write.h"
#include "ui/qt_text.h"
#include "ui/screen_fit.h"

namespace paylark::screens {

// An item field: a numeric field whose check on leaving belongs to the screen (the check code
// depends on the item the row shows), which takes no typing while read-only, and which hands its
// keys to the screen first (page keys, the typing limit).
class DataField : public ui::NumEdit {
 public:
  DataField(const ui::FieldContext& context, int formatCode, int ownLimit, QWidget* parent)
      : ui::NumEdit(context, formatCode, parent), baseLimit(ownLimit), typingLimit(ownLimit) {}

  std::function<bool(QKeyEvent*)> onKey;  // true: the key was handled
  std::function<void()> onLeave;
  int baseLimit;    // the field's own maximum length
  int typingLimit;  // what typing may reach now (a formatted amount may be typed over whole)

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (onKey && onKey(event)) return;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReadOnly() && !enter) {
      QLineEdit::keyPressEvent(event);  // navigation and copying only
      return;
    }
    ui::NumEdit::keyPressEvent(event);
  }
  void focusOutEvent(QFocusEvent* event) override {
    QLineEdit::focusOutEvent(event);
    // A message box or the calculator taking the focus is no leaving.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
    if (onLeave) onLeave();
  }
};

namespace {

using ui::kDisabledItemColour;
constexpr int kRowPitch = 25;
constexpr int kLabelWidth = 112;
constexpr int kFieldWidth = 96;
constexpr int kReportCodeOfSlot = 200;

QToolButton* SpeedButton(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setText(QString::fromUtf8(caption));
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  b->setFocusPolicy(Qt::NoFocus);  // the field being edited keeps the focus
  b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  b->setMinimumHeight(28);
  return b;
}

QPushButton* PushButton(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setMinimumHeight(28);
  return b;
}

// A bold total under its caption.
QLabel* TotalPanel(const char* name, QWidget* parent) {
  auto* panel = new QLabel(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont bold = ui::GothicFont(11);
  bold.setBold(true);
  panel->setFont(bold);
  panel->setMargin(2);
  panel->setMinimumWidth(kFieldWidth + 16);
  return panel;
}

QWidget* CaptionedTotal(const char* caption, QLabel* panel, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* h = new QHBoxLayout(box);
  h->setContentsMargins(8, 0, 8, 0);
  h->addWidget(new QLabel(QString::fromUtf8(caption), box));
  h->addStretch(1);
  h->addWidget(panel);
  return box;
}

const char* GroupPrefix(RowGroup group) {
  switch (group) {
    case RowGroup::Kintai: return "Kintai";
    case RowGroup::Sikyu: return "Sikyu";
    case RowGroup::Koujo: return "Koujo";
    case RowGroup::Sonota: return "Sonota";
  }
  return "";
}

ItemBlock BlockOf(RowGroup group) { return static_cast<ItemBlock>(static_cast<int>(group)); }

}  // namespace

TfmDataEdit::TfmDataEdit(ui::ProgramState& state, ui::DialogService& dialogs, TfmCalc& calculator, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs), calculator_(calculator) {
  setObjectName(QStringLiteral("TfmDataEdit"));
  setWindowTitle(QStringLiteral("明細入力画面"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  runCalculator = [this]() -> std::optional<long double> {
    if (!calculator_.Run()) return std::nullopt;
    return calculator_.Value();
  };
  BuildForm();
}

TfmDataEdit::~TfmDataEdit() {
  // The children go after this body and the rows; the focus moving between them must not reach
  // the form.
  disconnect(focusConnection_);
  for (Row& row : rows_) {
    row.edit->onLeave = nullptr;
    row.edit->onKey = nullptr;
    disconnect(row.edit, &QLineEdit::textEdited, this, nullptr);
  }
}

// ---------------------------------------------------------------------------------------------
// The form: 勤怠, 支給 and 控除 side by side, then a column with the name, the buttons, その他 and
// the net pay; the legend below.

void TfmDataEdit::BuildForm() {
  int rowCount = 0;
  for (int n : kGroupRows) rowCount += n;
  rows_.reserve(static_cast<std::size_t>(rowCount));  // rows are addressed by pointer

  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  columns->setSpacing(8);

  auto* kintai = new QVBoxLayout;
  kintai->addWidget(BuildGroup(RowGroup::Kintai, "gbKintai", QStringLiteral("勤　　怠")));
  kintai->addStretch(1);
  columns->addLayout(kintai);

  auto* sikyu = new QVBoxLayout;
  sikyu->addWidget(BuildGroup(RowGroup::Sikyu, "gbSikyu", QStringLiteral("支　　給")));
  pnSikyuTotal_ = TotalPanel("pnSikyuTotal", this);
  sikyu->addWidget(CaptionedTotal("支給合計", pnSikyuTotal_, this));
  sikyu->addStretch(1);
  columns->addLayout(sikyu);

  auto* koujo = new QVBoxLayout;
  koujo->addWidget(BuildGroup(RowGroup::Koujo, "gbKoujo", QStringLiteral("控    除")));
  pnKoujoTotal_ = TotalPanel("pnKoujoTotal", this);
  koujo->addWidget(CaptionedTotal("控除合計", pnKoujoTotal_, this));
  koujo->addStretch(1);
  columns->addLayout(koujo);

  columns->addWidget(BuildRightColumn());
  top->addLayout(columns);

  pnAutoSet_ = new QLabel(ui::FromUtf8(kLegendText), this);
  pnAutoSet_->setObjectName(QStringLiteral("pnAutoSet"));
  pnAutoSet_->setFont(ui::GothicFont(9));
  pnAutoSet_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  pnAutoSet_->setMargin(3);
  pnAutoSet_->setAutoFillBackground(true);
  QPalette legend = pnAutoSet_->palette();
  legend.setColor(QPalette::Window, kDisabledItemColour);
  pnAutoSet_->setPalette(legend);
  top->addWidget(pnAutoSet_);

  // Tab order: 一覧入力へ戻る, then the item fields group by group, then print and mail.
  QWidget* previous = btFormClose_;
  for (Row& row : rows_) {
    setTabOrder(previous, row.edit);
    previous = row.edit;
  }
  setTabOrder(previous, btPrnMeisai_);
  setTabOrder(btPrnMeisai_, btSendMail_);
  setTabOrder(btSendMail_, btPrnKeisan_);

  focusConnection_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (Row* row = RowOf(now)) InputItemEnter(*row);
  });
}

QWidget* TfmDataEdit::BuildGroup(RowGroup group, const char* name, const QString& caption) {
  auto* box = new QGroupBox(caption, this);
  box->setObjectName(QString::fromLatin1(name));
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(0);
  grid->setHorizontalSpacing(6);
  grid->setContentsMargins(8, 6, 8, 8);
  const bool money = group != RowGroup::Kintai;
  const int count = kGroupRows[static_cast<std::size_t>(group)];
  for (int i = 1; i <= count; ++i) {
    Row row;
    row.group = group;
    row.index = i;
    row.label = new QLabel(box);
    row.label->setObjectName(QStringLiteral("lb%1%2").arg(QString::fromLatin1(GroupPrefix(group))).arg(i));
    row.label->setMinimumWidth(kLabelWidth);
    row.edit = new DataField(ui::FieldContext{dialogs_, state_.options},
                             money ? kMoneyFieldCode : kAttendanceFieldCode,
                             money ? kMoneyTypingLimit : kAttendanceTypingLimit, box);
    row.edit->setObjectName(QStringLiteral("ed%1%2").arg(QString::fromLatin1(GroupPrefix(group))).arg(i));
    row.edit->setFixedWidth(kFieldWidth);
    row.edit->setFixedHeight(kRowPitch - 2);
    row.edit->setFont(ui::GothicFont(10));
    row.edit->setAutoFillBackground(true);
    grid->addWidget(row.label, i - 1, 0);
    grid->addWidget(row.edit, i - 1, 1);
    grid->setRowMinimumHeight(i - 1, kRowPitch);  // hidden rows keep their place
    rows_.push_back(row);
    Row* r = &rows_.back();
    r->edit->onLeave = [this, r] {
      if (!filling_ && !closing_) InputItemExit(*r);
    };
    r->edit->onKey = [this, r](QKeyEvent* key) { return InputItemKey(*r, key); };
    r->edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(r->edit, &QWidget::customContextMenuRequested, this, [this, r](const QPoint& at) {
      QMenu* menu = r->edit->createStandardContextMenu();
      menu->setObjectName(QStringLiteral("pmItem"));
      menu->setAttribute(Qt::WA_DeleteOnClose);
      menu->addSeparator();
      QAction* explain = menu->addAction(QStringLiteral("計算の説明"));
      explain->setObjectName(QStringLiteral("acExplanation"));
      explain->setShortcut(QKeySequence(Qt::Key_F2));
      connect(explain, &QAction::triggered, this, [this, r] { ShowExplanation(*r); });
      menu->popup(r->edit->mapToGlobal(at));
    });
    connect(r->edit, &QLineEdit::textEdited, this, [r](const QString& text) {
      // A formatted amount typed down to a short text: back to the field's own length.
      if (r->group != RowGroup::Kintai && text.size() < 3) r->edit->typingLimit = r->edit->baseLimit;
    });
  }
  return box;
}

QWidget* TfmDataEdit::BuildRightColumn() {
  auto* column = new QWidget(this);
  auto* v = new QVBoxLayout(column);
  v->setContentsMargins(0, 0, 0, 0);

  lbSimei_ = new QLabel(column);
  lbSimei_->setObjectName(QStringLiteral("lbSimei"));
  QFont nameFont = ui::GothicFont(14);
  nameFont.setBold(true);
  lbSimei_->setFont(nameFont);
  lbSimei_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  lbSimei_->setAlignment(Qt::AlignCenter);
  lbSimei_->setMinimumHeight(36);
  v->addWidget(lbSimei_);

  auto* stepping = new QHBoxLayout;
  sbBackData_ = SpeedButton("sbBackData", "前のデータ", column);
  sbNextData_ = SpeedButton("sbNextData", "次のデータ", column);
  stepping->addWidget(sbBackData_);
  stepping->addWidget(sbNextData_);
  v->addLayout(stepping);

  auto* tools = new QGridLayout;
  sbCalculator_ = SpeedButton("sbCalculator", "電卓起動", column);
  sbCalc_ = SpeedButton("sbCalc", "再計算", column);
  sbManual_ = SpeedButton("sbManual", "修正ON/OFF", column);
  tools->addWidget(sbCalculator_, 0, 0);
  tools->addWidget(sbCalc_, 0, 1);
  tools->addWidget(sbManual_, 1, 0, 1, 2);
  v->addLayout(tools);

  auto* output = new QHBoxLayout;
  btPrnMeisai_ = PushButton("btPrnMeisai", "明細印刷", column);
  btSendMail_ = PushButton("btSendMail", "メール送信", column);
  btPrnKeisan_ = PushButton("btPrnKeisan", "計算明細", column);
  output->addWidget(btPrnMeisai_);
  output->addWidget(btSendMail_);
  output->addWidget(btPrnKeisan_);
  v->addLayout(output);

  v->addSpacing(6);
  v->addWidget(BuildGroup(RowGroup::Sonota, "gbSonota", QStringLiteral("そ の 他")));
  pnSonotaTotal_ = TotalPanel("pnSonotaTotal", column);
  v->addWidget(CaptionedTotal("その他合計", pnSonotaTotal_, column));

  v->addSpacing(10);
  auto* net = new QLabel(QStringLiteral("差引支給額"), column);
  net->setFont(ui::GothicFont(11));
  v->addWidget(net);
  pnSikyugaku_ = TotalPanel("pnSikyugaku", column);
  QFont netFont = ui::GothicFont(14);
  netFont.setBold(true);
  pnSikyugaku_->setFont(netFont);
  pnSikyugaku_->setMinimumHeight(36);
  v->addWidget(pnSikyugaku_);

  v->addStretch(1);
  btFormClose_ = PushButton("btFormClose", "一覧入力へ戻る", column);
  btFormClose_->setMinimumHeight(36);
  v->addWidget(btFormClose_);

  connect(sbBackData_, &QToolButton::clicked, this, [this] { StepData(-1); });
  connect(sbNextData_, &QToolButton::clicked, this, [this] { StepData(+1); });
  connect(sbCalculator_, &QToolButton::clicked, this, [this] { sbCalculatorClick(); });
  connect(sbCalc_, &QToolButton::clicked, this, [this] { Recalculate(true); });
  connect(sbManual_, &QToolButton::clicked, this, [this] { sbManualClick(); });
  connect(btPrnMeisai_, &QPushButton::clicked, this, [this] { PrintOrMail(false); });
  connect(btPrnKeisan_, &QPushButton::clicked, this, [this] { WriteStatement(); });
  connect(btSendMail_, &QPushButton::clicked, this, [this] { PrintOrMail(true); });
  connect(btFormClose_, &QPushButton::clicked, this, [this] { reject(); });
  column->setMinimumWidth(250);
  return column;
}

// ---------------------------------------------------------------------------------------------
// Showing, filling, stepping

int TfmDataEdit::Edit(int slot) {
  SetSlot(slot);
  return exec();
}

void TfmDataEdit::SetSlot(int slot) {
  slot_ = slot >= 1 && slot <= kSlotCount ? slot : 1;
  current_ = nullptr;  // none until a field is entered
}

void TfmDataEdit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfmDataEdit::FormShow() {
  if (QWidget* over = parentWidget()) {
    move(over->frameGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    ui::KeepInsideScreen(this);  // centred on a small or displaced main window it may stick out
  }
  StepData(0);
}

void TfmDataEdit::StepData(int direction) {
  NormaliseCurrent();
  if (direction != 0) {
    WriteBack();
    // The figures left behind are recalculated as a commit of a field would, so that the records
    // never hold entries without their results.
    try {
      state_.RecalculateSlot(slot_);
    } catch (const YearFileError& e) {
      dialogs_.Error(e.UserText());
    } catch (const std::exception& e) {
      dialogs_.Error(e.what());
    }
    const PeriodBlock& period = state_.Period();
    const std::optional<int> next = direction < 0 ? ActiveSlotBefore(period, slot_) : ActiveSlotAfter(period, slot_);
    if (next) slot_ = *next;
  }
  UpdateCommandButtons();
  Fill();
  FocusFirstField();
}

void TfmDataEdit::UpdateCommandButtons() {
  const PeriodBlock& period = state_.Period();
  sbBackData_->setEnabled(ActiveSlotBefore(period, slot_).has_value());
  sbNextData_->setEnabled(ActiveSlotAfter(period, slot_).has_value());
  btPrnMeisai_->setEnabled(static_cast<bool>(openPrint));
  const bool hasAddress = !ui::FromUtf8(period.Employee(slot_).MailAddress()).trimmed().isEmpty();
  btSendMail_->setEnabled(openMail && mailAvailable && mailAvailable() && hasAddress);
}

void TfmDataEdit::Fill() {
  filling_ = true;
  const PeriodBlock& period = state_.Period();
  const EmployeeRecord& employee = period.Employee(slot_);
  const QString name = ui::FromUtf8(employee.Name());
  setWindowTitle(ui::FromUtf8(WindowTitle(employee.Name())));
  lbSimei_->setText(name);

  const PayFormItems& lists = state_.Lists(state_.PeriodKind()).ForPayForm(employee.PayFormCode());
  std::array<double, 3> others{};
  for (Row& row : rows_) {
    const std::vector<std::string>& block = lists.Block(BlockOf(row.group));
    const std::size_t index = static_cast<std::size_t>(row.index - 1);
    const std::string entry = index < block.size() ? block[index] : std::string();
    const RowView view = ViewOfRow(row.group, entry, period, slot_, state_.options);
    ShowRow(row, view);
    if (row.group == RowGroup::Sonota) others[index] = view.value;
  }
  try {
    const DetailTotals totals = TotalsOf(period.Payment(slot_), period.Deduction(slot_), others);
    pnSikyuTotal_->setText(ui::FromUtf8(FormatAmount(kAmountWidth, totals.payments)));
    pnKoujoTotal_->setText(ui::FromUtf8(FormatAmount(kAmountWidth, totals.deductions)));
    pnSonotaTotal_->setText(ui::FromUtf8(FormatAmount(kAmountWidth, totals.others)));
    pnSikyugaku_->setText(ui::FromUtf8(FormatAmount(kAmountWidth, totals.net)));
  } catch (const MoneyOverflow& e) {
    pnSikyugaku_->clear();
    dialogs_.Error(e.what());
  }
  filling_ = false;
  UpdateFieldButtons();
}

void TfmDataEdit::ShowRow(Row& row, const RowView& view) {
  row.labelText = view.label;
  row.calculated = view.calculated;
  row.label->setText(ui::FromUtf8(view.label));
  row.label->setVisible(view.Visible());
  row.edit->setVisible(view.Visible());
  QPalette palette = row.edit->palette();
  palette.setColor(QPalette::Base, view.calculated ? kDisabledItemColour : QApplication::palette().color(QPalette::Base));
  palette.setColor(QPalette::Text, view.manual ? QColor(Qt::red) : QColor(Qt::black));
  row.edit->setPalette(palette);
  row.edit->setReadOnly(view.readOnly);
  row.edit->SetAcceptedCharacters(ui::FromUtf8(AcceptedCharacters(row.group, view.label)));
  row.edit->typingLimit = row.edit->baseLimit;
  row.edit->setText(ui::FromUtf8(view.text));
}

void TfmDataEdit::FocusFirstField() {
  for (Row& row : rows_) {
    if (row.edit->isVisibleTo(this)) {
      row.edit->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void TfmDataEdit::WriteBack() {
  PeriodBlock& period = state_.Period();
  for (const Row& row : rows_) {
    WriteBackRow(row.group, row.labelText, ui::ToUtf8(row.edit->text()), period, slot_, state_.options);
  }
}

void TfmDataEdit::NormaliseCurrent() {
  if (!current_) return;
  ui::DialogReporter reporter(dialogs_);
  const std::string text = CommitFieldText(current_->group, current_->labelText, ui::ToUtf8(current_->edit->text()),
                                           state_.options.timeStyle, reporter);
  current_->edit->setText(ui::FromUtf8(text));
}

// ---------------------------------------------------------------------------------------------
// Commands

void TfmDataEdit::Recalculate(bool byButton) {
  NormaliseCurrent();
  WriteBack();
  BonusTaxException exception = BonusTaxException::None;
  std::vector<std::string> tableProblems;
  try {
    exception = state_.RecalculateSlot(slot_, &tableProblems);
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
  }
  Fill();
  if (!tableProblems.empty()) dialogs_.Error(ui::JoinLines(tableProblems));
  if (state_.BonusPeriod() && exception != BonusTaxException::None) {
    if (dialogs_.Message(ui::MsgKind::Warning, kManualTaxQuestionOne, ui::MsgButtons::YesNo) == ui::MsgAnswer::Yes) {
      SwitchTaxToManual(state_.Period(), {slot_});
      taxSwitched_ = true;
      // The 所得税 field must take the amount the user is asked to enter: show it editable.
      Fill();
      if (Row* tax = RowLabelled(RowGroup::Koujo, kIncomeTaxLabel)) tax->edit->setFocus(Qt::OtherFocusReason);
      dialogs_.Information(kManualTaxSwitchedOne);
      return;
    }
  }
  if (byButton && current_) current_->edit->setFocus(Qt::OtherFocusReason);
}

void TfmDataEdit::sbManualClick() {
  if (!current_) return;
  Row& row = *current_;
  const std::optional<bool> manual = ToggleManual(row.group, row.labelText, state_.Period(), slot_, state_.options);
  if (!manual) return;
  QPalette palette = row.edit->palette();
  palette.setColor(QPalette::Text, *manual ? QColor(Qt::red) : QColor(Qt::black));
  row.edit->setPalette(palette);
  row.edit->setReadOnly(!*manual);
  row.edit->deselect();
  sbCalculator_->setEnabled(*manual);
  Recalculate(false);
  row.edit->setFocus(Qt::OtherFocusReason);
}

void TfmDataEdit::sbCalculatorClick() {
  if (!current_) return;
  Row& row = *current_;
  if (const std::optional<long double> value = runCalculator()) {
    try {
      row.edit->setText(ui::FromUtf8(
          CalculatorText(row.group, row.labelText, *value, state_.options, state_.options.timeStyle)));
    } catch (const MoneyOverflow& e) {
      dialogs_.Error(e.what());
    }
  }
  row.edit->setFocus(Qt::OtherFocusReason);
}

void TfmDataEdit::PrintOrMail(bool mail) {
  NormaliseCurrent();
  WriteBack();
  const auto& hook = mail ? openMail : openPrint;
  if (hook) hook(kReportCodeOfSlot + slot_, ui::FromUtf8(SlipCaption(state_.BonusPeriod())));
}

void TfmDataEdit::ShowExplanation(Row& row) {
  std::string text;
  try {
    text = RowExplanation(row.group, row.labelText, state_.ExplainSlot(slot_), slot_, state_.options);
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
    return;
  }
  if (explanationWindow_ == nullptr) explanationWindow_ = new TfmExplanation(this);
  explanationWindow_->ShowExplanation(ui::FromUtf8(row.labelText), ui::FromUtf8(text));
}

void TfmDataEdit::WriteStatement() {
  NormaliseCurrent();
  WriteBack();
  const std::string name = state_.Period().Employee(slot_).Name();
  const std::optional<std::filesystem::path> file = ui::AskFileToWrite(
      dialogs_, "計算明細の保存", state_.paths.dataDir / ("計算明細 " + name + ".pdf"), "PDF (*.pdf)", ".pdf");
  if (!file) return;
  try {
    const Explanation explanation = state_.ExplainSlot(slot_);
    const print::JobResult result = print::WritePdfDocument(
        *file, print::CalcStatementDocument(state_.open, slot_, explanation.OfSlot(slot_)));
    if (!result.printed) dialogs_.Error(result.error.empty() ? "計算明細を書き出せませんでした。" : result.error);
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
  }
}

bool TfmDataEdit::CloseQuery() {
  bool stay = false;
  if (Row* row = current_; row && row->edit->isVisible()) {
    const QString before = row->edit->text();
    taxSwitched_ = false;
    InputItemExit(*row);
    // The user who just switched the tax to manual entry is about to type it.
    stay = row->edit->text() != before || taxSwitched_;
  }
  WriteBack();
  return !stay;
}

void TfmDataEdit::reject() {
  if (!CloseQuery()) return;
  closing_ = true;
  QDialog::reject();
  closing_ = false;
}

// ---------------------------------------------------------------------------------------------
// Fields

TfmDataEdit::Row* TfmDataEdit::RowOf(const QObject* widget) {
  if (!widget) return nullptr;
  for (Row& row : rows_) {
    if (row.edit == widget) return &row;
  }
  return nullptr;
}

TfmDataEdit::Row* TfmDataEdit::RowLabelled(RowGroup group, std::string_view label) {
  for (Row& row : rows_) {
    if (row.group == group && row.labelText == label && row.edit->isVisibleTo(this)) return &row;
  }
  return nullptr;
}

void TfmDataEdit::InputItemEnter(Row& row) {
  current_ = &row;
  // A formatted amount is longer than the field's own length; it may be typed over whole.
  const bool formatted = row.group != RowGroup::Kintai && row.edit->text().size() == kAmountWidth;
  row.edit->typingLimit = formatted ? kAmountWidth : row.edit->baseLimit;
  UpdateFieldButtons();
}

void TfmDataEdit::UpdateFieldButtons() {
  if (!current_) {
    sbManual_->setEnabled(false);
    sbCalculator_->setEnabled(false);
    return;
  }
  sbManual_->setEnabled(ManualSwitchAllowed(current_->group, current_->labelText, current_->calculated));
  sbCalculator_->setEnabled(!current_->calculated || !current_->edit->isReadOnly());
}

void TfmDataEdit::InputItemExit(Row& row) {
  ui::DialogReporter reporter(dialogs_);
  const std::string text =
      CommitFieldText(row.group, row.labelText, ui::ToUtf8(row.edit->text()), state_.options.timeStyle, reporter);
  row.edit->typingLimit = row.edit->baseLimit;
  row.edit->setText(ui::FromUtf8(text));
  Recalculate(false);
  if (row.group == RowGroup::Kintai && row.labelText == kPaidLeaveTaken) {
    SilentReporter silent;
    CarryPaidLeave(ParseNumber(text, silent));
  }
}

void TfmDataEdit::CarryPaidLeave(double taken) {
  const double stored = state_.Period().Attendance(slot_).Get(Kintai::PaidLeaveBalance);
  if (stored != 0) return;
  double previous = kPaidLeaveNotFound;
  try {
    previous = state_.PreviousPaidLeave(slot_);
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
    return;
  }
  const std::optional<std::string> text = CarriedBalanceText(stored, previous, taken);
  if (!text) return;
  if (Row* balance = RowLabelled(RowGroup::Kintai, kPaidLeaveBalance)) balance->edit->setText(ui::FromUtf8(*text));
}

bool TfmDataEdit::InputItemKey(Row& row, QKeyEvent* key) {
  if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier) {
    ShowExplanation(row);
    return true;
  }
  if (key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp) {
    QToolButton* button = key->key() == Qt::Key_PageDown ? sbBackData_ : sbNextData_;
    if (button->isEnabled()) button->click();
    return true;
  }
  DataField* field = row.edit;
  if (field->isReadOnly()) return false;
  const QString typed = key->text();
  if (typed.size() != 1 || !typed.at(0).isPrint() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    return false;
  }
  if (!ui::FromUtf8(AcceptedCharacters(row.group, row.labelText)).contains(typed.at(0))) return false;  // beeps
  const qsizetype length = ui::LengthAfterTyping(*field, typed, state_.options.inputOverwrite);
  if (length <= field->typingLimit) return false;
  dialogs_.Beep();
  return true;
}

}  // namespace paylark::screens
