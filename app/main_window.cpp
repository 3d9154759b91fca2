#include "app/main_window.h"

#include <QAction>
#include <algorithm>
#include <memory>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputMethod>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "app/sheet_grid.h"
#include "app/year_end_menu.h"
#include "calc/income_tax.h"
#include "calc/recalculate.h"
#include "calc/unit_prices.h"
#include "store/change_check.h"
#include "store/rate_tables.h"
#include "store/sjis.h"
#include "store/year_file.h"
#include "ui/dialog_reporter.h"
#include "ui/fonts.h"
#include "ui/message_lines.h"
#include "ui/qt_text.h"

namespace paylark::app {
namespace {

using ui::FromUtf8;
using ui::MsgAnswer;
using ui::MsgButtons;
using ui::MsgKind;
using ui::ToUtf8;

constexpr const char* kMsgSaved = "データファイルに保存しました。";
constexpr int kSavedNoticeMs = 1500;
constexpr const char* kMsgDataChanged = "データが変更されています。保存しますか？";
constexpr const char* kMsgQuit = "プログラムを終了しますか？";
constexpr const char* kMsgLedgerUnsaved = "変更内容を保存しないと社員別給与台帳に反映されません。";
constexpr const char* kHintDetailEntry = "明細入力画面を表示";
constexpr const char* kStatusLine = "氏名をクリックすると明細入力画面になります";

constexpr print::ReportCode kReportPayslips{print::rkPayslip, print::kSelectedRows};
constexpr print::ReportCode kReportLedger{print::rkLedger, print::kSelectedRows};

QFrame* Bevel(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

bool IsInputMethodKey(int key) {
  return key == Qt::Key_Kanji || key == Qt::Key_Zenkaku_Hankaku || key == Qt::Key_Zenkaku ||
         key == Qt::Key_Hankaku;
}

}  // namespace

bool HasMailTransport() { return !QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty(); }

TfmMain::TfmMain(ui::ProgramState& state, ui::DialogService& dialogs, ShellScreens& screens, QWidget* parent,
                 std::function<bool()> mailTransport)
    : QMainWindow(parent),
      state_(state),
      dialogs_(dialogs),
      screens_(screens),
      mailTransport_(std::move(mailTransport)) {
  setObjectName(QStringLiteral("TfmMain"));
  setWindowTitle(ui::kApplicationTitle);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  BuildToolTray(central);
  layout->addWidget(pnToolTray_);

  auto* titleLine = new QWidget(central);
  titleLine->setObjectName(QStringLiteral("pnTitle"));
  auto* titleLayout = new QHBoxLayout(titleLine);
  titleLayout->setContentsMargins(8, 4, 8, 4);
  lbCorpName_ = new QLabel(titleLine);
  lbCorpName_->setObjectName(QStringLiteral("lbCorpName"));
  lbCorpName_->setFont(ui::GothicFont(12));
  titleLayout->addWidget(lbCorpName_);
  titleLayout->addStretch();
  layout->addWidget(titleLine);

  grid_ = new SheetGrid(central);
  grid_->setToolTip(QString());
  layout->addWidget(grid_, 1);

  auto* statusLine = new QWidget(central);
  statusLine->setObjectName(QStringLiteral("pnStatus"));
  auto* statusLayout = new QHBoxLayout(statusLine);
  statusLayout->setContentsMargins(8, 3, 8, 3);
  lbKihonH_ = new QLabel(statusLine);
  lbKihonH_->setObjectName(QStringLiteral("lbKihonH"));
  Label1_ = new QLabel(FromUtf8(kStatusLine), statusLine);
  Label1_->setObjectName(QStringLiteral("Label1"));
  statusLayout->addWidget(lbKihonH_);
  statusLayout->addWidget(Bevel(statusLine));
  statusLayout->addWidget(Label1_);
  statusLayout->addStretch();
  layout->addWidget(statusLine);
  setCentralWidget(central);

  BuildMenus();

  grid_->cellVariable = [this](int column, int row) { return CellVariable(column, row); };
  grid_->keyTyped = [this](QKeyEvent* event, bool inEditor) { return KeyTyped(event, inEditor); };
  grid_->keyReleased = [this](QKeyEvent* event) {
    if (IsInputMethodKey(event->key())) Timer1_->start();
  };
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            if (!building_ && current.isValid()) OnCurrentCellChanged(current.column() + 1, current.row() + 1);
          });
  // Leaving the grid commits the cell being edited.
  focusConnection_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    auto inGrid = [this](QWidget* w) { return w && (w == grid_ || grid_->isAncestorOf(w)); };
    if (inGrid(old) && !inGrid(now)) CommitCell();
  });
  grid_->horizontalHeader()->viewport()->setMouseTracking(true);
  grid_->horizontalHeader()->viewport()->installEventFilter(this);

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName(QStringLiteral("Timer1"));
  Timer1_->setSingleShot(true);
  Timer1_->setInterval(100);
  connect(Timer1_, &QTimer::timeout, this, [this] { InputMethodOff(); });
  Timer2_ = new QTimer(this);
  Timer2_->setObjectName(QStringLiteral("Timer2"));
  Timer2_->setSingleShot(true);
  Timer2_->setInterval(100);
  connect(Timer2_, &QTimer::timeout, this, [this] {
    if (!rows_.empty()) SelectCell(1, 1);
  });

  lbTaisyoNen_->clear();
  lbCorpName_->clear();
  UpdateCommands();
}

TfmMain::~TfmMain() {
  // The widgets below go away after this part of the window: nothing may call back into it.
  disconnect(focusConnection_);
  grid_->horizontalHeader()->viewport()->removeEventFilter(this);
  grid_->cellVariable = nullptr;
  grid_->keyTyped = nullptr;
  grid_->keyReleased = nullptr;
}

void TfmMain::BuildToolTray(QWidget* central) {
  pnToolTray_ = new QFrame(central);
  pnToolTray_->setObjectName(QStringLiteral("pnToolTray"));
  static_cast<QFrame*>(pnToolTray_)->setFrameShape(QFrame::StyledPanel);
  auto* tray = new QHBoxLayout(pnToolTray_);
  tray->setContentsMargins(4, 2, 8, 2);
  tray->setSpacing(2);
  auto button = [this](const char* name, const char* hint, QStyle::StandardPixmap icon, auto slot) {
    auto* b = new QToolButton(pnToolTray_);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(FromUtf8(hint));
    b->setIcon(style()->standardIcon(icon));
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QToolButton::clicked, this, slot);
    return b;
  };
  sbWrite_ = button("sbWrite", "ファイル保存", QStyle::SP_DialogSaveButton, [this] { SaveData(); });
  sbMemberList_ = button("sbMemberList", "社員情報の設定", QStyle::SP_FileDialogListView, [this] { FillNameRow(true); });
  sbDataEdit_ = button("sbDataEdit", "明細入力画面", QStyle::SP_FileDialogDetailedView, [this] { OpenDetailEntry(); });
  sbMeisaihyo_ = button("sbMeisaihyo", "給与/賞与明細書の印刷", QStyle::SP_FileIcon, [this] { PrintPayslips(); });
  sbKyuyoDaicho_ =
      button("sbKyuyoDaicho", "社員別給与台帳の印刷", QStyle::SP_FileDialogContentsView, [this] { PrintLedger(); });
  sbKyuyoIchiran_ =
      button("sbKyuyoIchiran", "月別給与/賞与一覧の印刷", QStyle::SP_FileDialogInfoView, [this] { PrintMonthlyList(); });
  sbSendMail_ = button("sbSendMail", "メール送信", QStyle::SP_DriveNetIcon, [this] { SendMail(); });
  sbReturn_ = button("sbReturn", "給与対象月/賞与時期の選択に戻る", QStyle::SP_ArrowBack,
                     [this] { ReturnToPeriodSelection(); });
  tray->addWidget(sbWrite_);
  tray->addWidget(Bevel(pnToolTray_));
  tray->addWidget(sbMemberList_);
  tray->addWidget(sbDataEdit_);
  tray->addWidget(Bevel(pnToolTray_));
  tray->addWidget(sbMeisaihyo_);
  tray->addWidget(sbKyuyoDaicho_);
  tray->addWidget(sbKyuyoIchiran_);
  tray->addWidget(Bevel(pnToolTray_));
  tray->addWidget(sbSendMail_);
  tray->addWidget(Bevel(pnToolTray_));
  tray->addWidget(sbReturn_);
  tray->addStretch();
  lbTaisyoNen_ = new QLabel(pnToolTray_);
  lbTaisyoNen_->setObjectName(QStringLiteral("lbTaisyoNen"));
  lbTaisyoNen_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lbTaisyoNen_->setFont(ui::GothicFont(14));
  tray->addWidget(lbTaisyoNen_);
}

void TfmMain::BuildMenus() {
  auto action = [this](QWidget* menu, const char* name, const char* caption, auto slot,
                       const QKeySequence& keys = QKeySequence()) {
    auto* a = new QAction(FromUtf8(caption), this);
    a->setObjectName(QString::fromLatin1(name));
    if (!keys.isEmpty()) a->setShortcut(keys);
    connect(a, &QAction::triggered, this, slot);
    menu->addAction(a);
    return a;
  };
  QMenuBar* bar = menuBar();

  QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
  file->setObjectName(QStringLiteral("mnFile"));
  mnSaveFile_ = action(file, "mnSaveFile", "データを保存(&S)...", [this] { SaveData(); }, QKeySequence(Qt::CTRL | Qt::Key_S));
  mnKinmuRead_ = action(file, "mnKinmuRead", "勤務報告データの読み込み(&R)...", [this] { ImportReports(); });
  // Kept hidden: the tables are replaced by installing new table files.
  QAction* tableUpdate = action(file, "mnTableUpdate", "表データファイルの更新(&U)...", [] {});
  tableUpdate->setVisible(false);
  file->addSeparator()->setVisible(false);
  mnReturn_ = action(file, "mnReturn", "給与対象月/賞与時期の選択に戻る(&X)", [this] { ReturnToPeriodSelection(); });
  file->addSeparator();
  mnQuit_ = action(file, "mnQuit", "プログラム終了(&X)", [this] { close(); });

  QMenu* basic = bar->addMenu(QStringLiteral("基本設定(&C)"));
  basic->setObjectName(QStringLiteral("mnKihon"));
  mnCorpInfo_ = action(basic, "mnCorpInfo", "会社情報の設定(&C)...", [this] { CompanyInfo(); });
  mnEnvSetting_ = action(basic, "mnEnvSetting", "入力項目の設定(&E)...", [this] { InputItemSettings(); });
  mnPrnForm_ = action(basic, "mnPrnForm", "印刷項目の設定(&F)...", [this] { PayslipItemSettings(); });
  basic->addSeparator();
  mnMailServer_ = action(basic, "mnMailServer", "メール送信サーバーの設定(&M)...", [this] {
    if (screens_.mailServer && screens_.mailServer()) UpdateCommands();
  });

  mnMemberList_ = action(bar, "mnMemberList", "社員情報の設定(&L)", [this] { FillNameRow(true); });

  QMenu* print = bar->addMenu(QStringLiteral("印刷(&P)"));
  print->setObjectName(QStringLiteral("mnPrint"));
  mnMeisaihyo_ = action(print, "mnMeisaihyo", "給与/賞与明細書(&M)...", [this] { PrintPayslips(); }, QKeySequence(Qt::Key_F2));
  mnKyuyoDaicho_ = action(print, "mnKyuyoDaicho", "社員別給与台帳(&D)...", [this] { PrintLedger(); }, QKeySequence(Qt::Key_F3));
  mnKyuyoIchiran_ =
      action(print, "mnKyuyoIchiran", "月別給与/賞与一覧(&I)...", [this] { PrintMonthlyList(); }, QKeySequence(Qt::Key_F4));

  mnSendMail_ = action(bar, "mnSendMail", "メール送信(&M)", [this] { SendMail(); });
  AddYearEndMenu(bar, this, [this] {
    if (!screens_.yearEnd) return;
    CommitAndRecalculate(false);
    if (screens_.yearEnd()) BuildSheet(false);
  });

  QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
  help->setObjectName(QStringLiteral("mnHelp"));
  mnHelpContents_ = action(help, "mnHelpContents", "目次(&C)", [this] { screens_.help(kHelpContents); });
  mnHelpSearch_ = action(help, "mnHelpSearch", "キーワードで検索(&T)", [this] { screens_.help(kHelpKeywordSearch); });
  help->addSeparator();
  QMenu* about = help->addMenu(QStringLiteral("バージョン情報(&A)"));
  about->setObjectName(QStringLiteral("mnAbout"));
  mnVersion_ = action(about, "mnVersion", "プログラムバージョン(&P)...", [this] { screens_.versionBox(); });
  mnTableDates_ = action(about, "mnTableDates", "表データファイル(&F)...", [this] { ShowTableDates(); });

  auto* f1 = new QAction(this);
  f1->setObjectName(QStringLiteral("acHelpTopic"));
  f1->setShortcut(QKeySequence(Qt::Key_F1));
  connect(f1, &QAction::triggered, this, [this] {
    if (screens_.help) screens_.help(kHelpMainWindow);
  });
  addAction(f1);
}

bool TfmMain::MailAvailable() const {
  return screens_.employeeList && screens_.mail && mailTransport_ && mailTransport_();
}

void TfmMain::UpdateCommands() {
  const bool list = static_cast<bool>(screens_.employeeList);
  const bool print = static_cast<bool>(screens_.print);
  const bool mail = MailAvailable();
  sbMemberList_->setEnabled(list);
  mnMemberList_->setEnabled(list);
  sbDataEdit_->setEnabled(static_cast<bool>(screens_.detailEntry) && state_.Period().Employee(1).InUse());
  sbMeisaihyo_->setEnabled(list && print);
  mnMeisaihyo_->setEnabled(list && print);
  sbKyuyoDaicho_->setEnabled(list && print);
  mnKyuyoDaicho_->setEnabled(list && print);
  sbKyuyoIchiran_->setEnabled(print);
  mnKyuyoIchiran_->setEnabled(print);
  sbSendMail_->setEnabled(mail);
  mnSendMail_->setEnabled(mail);
  sbReturn_->setEnabled(static_cast<bool>(screens_.periodSelection));
  mnReturn_->setEnabled(static_cast<bool>(screens_.periodSelection));
  mnKinmuRead_->setEnabled(static_cast<bool>(screens_.importReports));
  mnCorpInfo_->setEnabled(static_cast<bool>(screens_.companyInfo));
  mnEnvSetting_->setEnabled(static_cast<bool>(screens_.inputItems));
  mnPrnForm_->setEnabled(static_cast<bool>(screens_.payslipItems));
  mnMailServer_->setEnabled(static_cast<bool>(screens_.mailServer));
  mnHelpContents_->setEnabled(static_cast<bool>(screens_.help));
  mnHelpSearch_->setEnabled(static_cast<bool>(screens_.help));
  mnVersion_->setEnabled(static_cast<bool>(screens_.versionBox));
}

// ---------------------------------------------------------------------------------------------
// Activation, name row, sheet

bool TfmMain::Run(const std::function<bool()>& hook) { return !hook || hook(); }

void TfmMain::RefreshCompanyName() { lbCorpName_->setText(FromUtf8(state_.Period().company.Name())); }

bool TfmMain::ActivatePeriod() {
  Timer2_->stop();
  UpdateCommands();
  lbTaisyoNen_->setText(
      FromUtf8(PeriodTitle(state_.open.eraYear, state_.PeriodIndex(), state_.options.thirdBonusName)));
  RefreshCompanyName();
  state_.firstRun = Trim(state_.Period().company.Name()).empty();
  if (!state_.firstRun) {
    state_.LoadItemSettings(state_.PeriodKind());
    FillNameRow(false);
  } else {
    if (!Run(screens_.companyInfo) || !Run(screens_.inputItems)) {
      CloseWithoutQuestions();
      return false;
    }
    RefreshCompanyName();
    if (!BuildSheet(true)) {
      CloseWithoutQuestions();
      return false;
    }
    FillNameRow(true);
    state_.firstRun = false;
  }
  // The period's 所定労働時間 as the calculation copies it into every active employee's record;
  // slot 1 may be unused or retired and hold nothing.
  lbKihonH_->setText(FromUtf8(ScheduledHoursText(state_.Period().company.PeriodHours())));
  if (!rows_.empty()) SelectCell(1, static_cast<int>(rows_.size()));
  grid_->setFocus();
  Timer2_->start();
  return true;
}

bool TfmMain::FirstRunMode() const { return state_.firstRun; }

void TfmMain::FillNameRow(bool showEmployeeList) {
  if (showEmployeeList) {
    CommitAndRecalculate(false);
    if (screens_.employeeList) screens_.employeeList(screens::MembListMode::Edit);
    InputMethodOff();
  }
  BuildSheet(false);
  UpdateCommands();
  grid_->viewport()->update();
}

bool TfmMain::BuildSheet(bool showItemSettings) {
  const ItemKind kind = state_.PeriodKind();
  if (showItemSettings && screens_.payslipItems && !screens_.payslipItems(kind)) return false;
  building_ = true;
  grid_->CloseEditor();
  rows_ = BuildSheetRows(state_.Lists(kind), state_.options, kind);
  columnSlots_ = ActiveSlots(state_.Period());
  const int rowCount = static_cast<int>(rows_.size());
  // The result rows follow the input rows; they are not in rows_, so nothing takes them as input.
  grid_->setRowCount(rowCount + static_cast<int>(kResultRowNames.size()));
  for (int r = 1; r <= rowCount; ++r) grid_->SetCell(0, r, FromUtf8(rows_[static_cast<std::size_t>(r - 1)].name));
  for (std::size_t i = 0; i < kResultRowNames.size(); ++i) {
    grid_->SetCell(0, rowCount + 1 + static_cast<int>(i), FromUtf8(std::string(kResultRowNames[i])));
  }
  for (int c = 1; c < SheetGrid::kColumns; ++c) {
    const int slot = ColumnSlot(c);
    grid_->SetCell(c, 0, slot ? FromUtf8(state_.Period().Employee(slot).Name()) : QString());
    const int payForm = ColumnPayForm(c);
    for (int r = 1; r <= rowCount; ++r) {
      const SheetRow& row = rows_[static_cast<std::size_t>(r - 1)];
      QString text;
      if (slot) {
        text = FromUtf8(FormatCell(row.kind, CellValue(state_.Period(), slot, row, state_.options, kind),
                                   state_.options.timeStyle));
      }
      grid_->SetCell(c, r, text);
      grid_->SetEditable(c, r, slot != 0 && row.VariableFor(payForm));
    }
    for (std::size_t i = 0; i < kResultRowNames.size(); ++i) grid_->SetEditable(c, rowCount + 1 + static_cast<int>(i), false);
  }
  ShowResults();
  currentColumn_ = std::clamp(currentColumn_, 1, SheetGrid::kColumns - 1);
  currentRow_ = std::clamp(currentRow_, 1, std::max(rowCount, 1));
  if (rowCount > 0) grid_->SetCurrent(currentColumn_, currentRow_);
  building_ = false;
  grid_->viewport()->update();
  return true;
}

void TfmMain::ShowResults() {
  const int first = static_cast<int>(rows_.size()) + 1;
  for (int c = 1; c < SheetGrid::kColumns; ++c) {
    const int slot = ColumnSlot(c);
    const std::array<std::string, 3> cells = slot ? ResultCells(state_.Period(), slot) : std::array<std::string, 3>{};
    for (int i = 0; i < 3; ++i) grid_->SetCell(c, first + i, FromUtf8(cells[static_cast<std::size_t>(i)]));
  }
}

int TfmMain::ColumnSlot(int column) const {
  if (column < 1 || column > static_cast<int>(columnSlots_.size())) return 0;
  return columnSlots_[static_cast<std::size_t>(column - 1)];
}

int TfmMain::ColumnPayForm(int column) const {
  const int slot = ColumnSlot(column);
  return slot ? state_.Period().Employee(slot).PayFormCode() : 0;
}

bool TfmMain::CellVariable(int column, int row) const {
  if (row < 1 || row > static_cast<int>(rows_.size())) return true;
  return rows_[static_cast<std::size_t>(row - 1)].VariableFor(ColumnPayForm(column));
}

SheetColumns TfmMain::Columns() const {
  SheetColumns sheet;
  for (const SheetRow& row : rows_) sheet.rowNames.push_back(row.name);
  sheet.cells.resize(SheetGrid::kColumns - 1);
  for (int c = 1; c < SheetGrid::kColumns; ++c) {
    auto& column = sheet.cells[static_cast<std::size_t>(c - 1)];
    for (int r = 1; r <= static_cast<int>(rows_.size()); ++r) column.push_back(ToUtf8(grid_->Cell(c, r)));
  }
  return sheet;
}

// ---------------------------------------------------------------------------------------------
// Cells

void TfmMain::SelectCell(int column, int row) {
  if (row < 1 || row > static_cast<int>(rows_.size()) || column < 1 || column >= SheetGrid::kColumns) return;
  if (grid_->CurrentColumn() == column && grid_->CurrentRow() == row) {
    if (state_.options.autoSelect) grid_->OpenEditor();
    return;
  }
  grid_->SetCurrent(column, row);
}

void TfmMain::OnCurrentCellChanged(int column, int row) {
  if (column != currentColumn_ || row != currentRow_) {
    CommitCell();
    if (currentRow_ >= 1 && currentRow_ <= static_cast<int>(rows_.size()) &&
        rows_[static_cast<std::size_t>(currentRow_ - 1)].name == kPaidLeaveTakenRow) {
      CarryPaidLeave(currentColumn_);
    }
    // The result rows follow what was typed.
    if (!building_ && ColumnSlot(currentColumn_) != 0) RecalculateResults();
    currentColumn_ = column;
    currentRow_ = row;
  }
  InputMethodOff();
  if (state_.options.autoSelect) grid_->OpenEditor();
}

void TfmMain::CommitCell() {
  if (committing_) return;
  const int column = currentColumn_;
  const int row = currentRow_;
  if (column < 1 || row < 1 || row > static_cast<int>(rows_.size()) || ColumnSlot(column) == 0) return;
  committing_ = true;
  grid_->CloseEditor();
  ui::DialogReporter reporter(dialogs_);
  const std::string text = CommitCellText(ToUtf8(grid_->Cell(column, row)), rows_[static_cast<std::size_t>(row - 1)].kind,
                                          state_.options.timeStyle, reporter);
  grid_->SetCell(column, row, FromUtf8(text));
  committing_ = false;
}

void TfmMain::CarryPaidLeave(int column) {
  const int slot = ColumnSlot(column);
  if (slot == 0) return;
  double previous = kPaidLeaveNotFound;
  try {
    previous = state_.PreviousPaidLeave(slot);
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
    return;
  }
  if (previous == kPaidLeaveNotFound) return;
  const std::string taken = ToUtf8(grid_->Cell(column, currentRow_));
  for (int r = 1; r <= static_cast<int>(rows_.size()); ++r) {
    if (rows_[static_cast<std::size_t>(r - 1)].name != kPaidLeaveBalanceRow) continue;
    if (auto text = CarriedPaidLeave(previous, taken, ToUtf8(grid_->Cell(column, r)))) {
      grid_->SetCell(column, r, FromUtf8(*text));
    }
  }
}

bool TfmMain::KeyTyped(QKeyEvent* event, bool) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    MoveByEnter();
    return true;
  }
  if (event->key() == Qt::Key_Delete) return false;
  const QList<uint> chars = event->text().toUcs4();
  if (chars.isEmpty()) return false;  // navigation keys
  const RowKind kind = currentRow_ >= 1 && currentRow_ <= static_cast<int>(rows_.size())
                           ? rows_[static_cast<std::size_t>(currentRow_ - 1)].kind
                           : RowKind::Money;
  if (AcceptsCharacter(kind, static_cast<char32_t>(chars.front()))) return false;
  dialogs_.Beep();
  return true;
}

void TfmMain::MoveByEnter() {
  const std::optional<int> next = NextEnterRow(rows_, ColumnPayForm(currentColumn_), currentRow_);
  if (!next || *next == currentRow_) {
    CommitCell();
    if (state_.options.autoSelect) grid_->OpenEditor();
    return;
  }
  SelectCell(currentColumn_, *next);
}

void TfmMain::InputMethodOff() {
  grid_->setAttribute(Qt::WA_InputMethodEnabled, false);
  if (QGuiApplication::inputMethod()) QGuiApplication::inputMethod()->reset();
}

// ---------------------------------------------------------------------------------------------
// Recalculation, change check, save

bool TfmMain::CommitAndRecalculate(bool checkHours) {
  CommitCell();
  const SheetColumns sheet = Columns();
  ui::DialogReporter reporter(dialogs_);
  RecalcResult result;
  try {
    const ui::ProgramState::CalcContext context = state_.MakeCalcContext();
    result = RecalculateAll(state_.Period(), sheet, state_.Inputs(context), checkHours, reporter);
  } catch (const CalculationError& e) {
    dialogs_.Error(e.what());
    return false;
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
    return false;
  }
  // A tax computed without its table is 0, not a tax: the table is named at every such pass.
  if (!result.tableProblems.empty()) dialogs_.Error(ui::JoinLines(result.tableProblems));
  ShowResults();
  for (const std::string& warning : result.hourWarnings) dialogs_.Warning(warning);
  if (!result.taxExceptionSlots.empty() &&
      dialogs_.Message(MsgKind::Warning, kManualTaxQuestionAll, MsgButtons::YesNo) == MsgAnswer::Yes) {
    SwitchTaxToManual(state_.Period(), result.taxExceptionSlots);
    dialogs_.Information(kManualTaxSwitchedAll);
  }
  return true;
}

void TfmMain::RecalculateResults() {
  // As commit and recalculate, without its questions: those come with the commands.
  const SheetColumns sheet = Columns();
  ui::DialogReporter reporter(dialogs_);
  try {
    const ui::ProgramState::CalcContext context = state_.MakeCalcContext();
    RecalculateAll(state_.Period(), sheet, state_.Inputs(context), false, reporter);
  } catch (const CalculationError& e) {
    dialogs_.Error(e.what());
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
  }
  ShowResults();
}

TfmMain::ChangeCheckResult TfmMain::ChangeCheck(bool ask) {
  CommitAndRecalculate(false);
  ChangeCheckResult result;
  try {
    auto file = std::make_unique<PeriodBlock>();
    ReadBlock(state_.open.currentDataFile, state_.PeriodIndex(), *file);
    result.changed = PeriodDiffers(state_.Period(), *file);
  } catch (const YearFileError& e) {
    // The stored period cannot be compared: count it as changed, so that saving is offered.
    dialogs_.Error(e.UserText());
    result.changed = true;
  }
  if (ask && result.changed) {
    dialogs_.Beep();
    result.answer = dialogs_.Message(MsgKind::Warning, kMsgDataChanged, MsgButtons::YesNoCancel);
  }
  return result;
}

bool TfmMain::SaveData() {
  if (!CommitAndRecalculate(true)) return false;
  if (IsSalaryPeriod(state_.PeriodIndex())) {
    // Hours typed for an item whose unit price is 0 are worth nothing; the user must know.
    const std::string unpriced = UnpricedRowsWarning(FindUnpricedRows(state_.Period(), state_.MakeCalcContext().enabled));
    if (!unpriced.empty()) dialogs_.Warning(unpriced);
  }
  try {
    SavePeriod(state_.open.currentDataFile, state_.open);
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
    return false;
  }
  if (IsSalaryPeriod(state_.PeriodIndex())) {
    state_.open.monthCache[static_cast<std::size_t>(state_.PeriodIndex() - 1)] = state_.Period().company;
  }
  dialogs_.Notice(kMsgSaved, kSavedNoticeMs);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Commands

void TfmMain::OpenDetailEntry() {
  const int slot = ColumnSlot(currentColumn_);
  if (slot != 0 && state_.Period().Employee(slot).InUse() && screens_.detailEntry) {
    CommitAndRecalculate(false);
    screens_.detailEntry(slot);
    BuildSheet(false);
    grid_->viewport()->update();
  }
  grid_->setFocus();
}

std::string TfmMain::SlipCaption() const { return state_.BonusPeriod() ? "賞与明細書" : "給与明細書"; }

void TfmMain::PrintPayslips() {
  if (!screens_.employeeList || !screens_.print) return;
  if (!CommitAndRecalculate(true)) return;
  if (screens_.employeeList(screens::MembListMode::Payslips)) screens_.print(kReportPayslips, FromUtf8(SlipCaption()));
}

void TfmMain::PrintLedger() {
  if (!screens_.employeeList || !screens_.print) return;
  if (ChangeCheck(false).changed &&
      dialogs_.Message(MsgKind::Information, kMsgLedgerUnsaved, MsgButtons::OkCancel) == MsgAnswer::Cancel) {
    return;
  }
  if (screens_.employeeList(screens::MembListMode::Ledger)) screens_.print(kReportLedger, QStringLiteral("社員別給与台帳"));
}

void TfmMain::PrintMonthlyList() {
  if (!screens_.print) return;
  if (!CommitAndRecalculate(true)) return;
  screens_.print({print::rkMonthlyList, state_.PeriodIndex()}, QStringLiteral("月別給与/賞与一覧"));
}

void TfmMain::SendMail() {
  if (!screens_.employeeList || !screens_.mail || !mailTransport_ || !mailTransport_()) return;
  if (!CommitAndRecalculate(true)) return;
  if (screens_.employeeList(screens::MembListMode::Mail)) screens_.mail(kReportPayslips, FromUtf8(SlipCaption()));
}

void TfmMain::ImportReports() {
  if (!screens_.importReports) return;
  // Typed figures reach the records first, so that rebuilding the sheet keeps them.
  CommitAndRecalculate(false);
  if (screens_.importReports()) BuildSheet(false);
}

void TfmMain::CompanyInfo() {
  if (!screens_.companyInfo) return;
  if (screens_.companyInfo()) RefreshCompanyName();
  InputMethodOff();
}

void TfmMain::InputItemSettings() {
  if (!screens_.inputItems) return;
  CommitAndRecalculate(false);
  if (screens_.inputItems()) BuildSheet(false);
  InputMethodOff();
}

void TfmMain::PayslipItemSettings() {
  if (!screens_.payslipItems) return;
  CommitAndRecalculate(false);
  BuildSheet(true);
  SelectCell(1, 1);
}

void TfmMain::ShowTableDates() { dialogs_.Information(RateTableFileDates(state_.paths.tablesDir)); }

// ---------------------------------------------------------------------------------------------
// Closing

void TfmMain::ReturnToPeriodSelection() {
  if (!screens_.periodSelection) return;
  returnRequested_ = true;
  close();
  returnRequested_ = false;
}

void TfmMain::CloseWithoutQuestions() {
  closeWithoutQuestions_ = true;
  if (!inCloseQuery_) close();
}

bool TfmMain::CloseQuery() {
  if (closeWithoutQuestions_ || startupInProgress_ || restartRequired_) return true;
  for (;;) {
    const MsgAnswer answer = ChangeCheck(true).answer;
    if (answer == MsgAnswer::Cancel) return false;
    if (answer != MsgAnswer::Yes) break;
    SaveData();
  }
  if (returnRequested_) {
    returnRequested_ = false;
    if (!screens_.periodSelection(true)) return true;
    ActivatePeriod();
    return closeWithoutQuestions_;
  }
  return dialogs_.Confirm(kMsgQuit);
}

void TfmMain::closeEvent(QCloseEvent* event) {
  inCloseQuery_ = true;
  const bool allowed = CloseQuery();
  inCloseQuery_ = false;
  if (allowed) {
    emit Closing();
    event->accept();
  } else {
    event->ignore();
  }
}

void TfmMain::showEvent(QShowEvent* event) {
  UpdateCommands();
  QMainWindow::showEvent(event);
}

// The fixed row of names: the hand cursor and the hint over an employee, a click opens the
// employee's detail entry.
bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
  QHeaderView* names = grid_->horizontalHeader();
  if (watched == names->viewport()) {
    auto columnAt = [names](const QPoint& pos) { return names->logicalIndexAt(pos) + 1; };
    switch (event->type()) {
      case QEvent::MouseMove: {
        const int column = columnAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (ColumnSlot(column) != 0) {
          names->viewport()->setCursor(Qt::PointingHandCursor);
        } else {
          names->viewport()->unsetCursor();
        }
        break;
      }
      case QEvent::ToolTip: {
        auto* help = static_cast<QHelpEvent*>(event);
        if (ColumnSlot(columnAt(help->pos())) != 0) {
          QToolTip::showText(help->globalPos(), FromUtf8(kHintDetailEntry), names->viewport());
        } else {
          QToolTip::hideText();
        }
        return true;
      }
      case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int column = columnAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && ColumnSlot(column) != 0 && screens_.detailEntry) {
          SelectCell(column, std::max(currentRow_, 1));
          OpenDetailEntry();
          return true;
        }
        break;
      }
      default: break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

WindowSettings TfmMain::Placement() const {
  WindowSettings placement;
  placement.state = isMaximized() ? "wsMaximized" : "wsNormal";
  placement.left = x();
  placement.top = y();
  placement.width = width();
  placement.height = height();
  return placement;
}

void TfmMain::ApplyPlacement(const WindowSettings& placement) {
  move(placement.left, placement.top);
  resize(placement.width, placement.height);
  if (placement.Maximized()) {
    setWindowState(windowState() | Qt::WindowMaximized);
  } else {
    setWindowState(windowState() & ~Qt::WindowMaximized);
  }
}

}  // namespace paylark::app
