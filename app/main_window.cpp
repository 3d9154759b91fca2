#include "app/main_window.h"

#include <QAction>
#include <algorithm>
#include <memory>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "app/sheet_controller.h"
#include "app/sheet_grid.h"
#include "calc/unit_prices.h"
#include "store/change_check.h"
#include "store/rate_tables.h"
#include "store/sjis.h"
#include "store/year_file.h"
#include "ui/fonts.h"
#include "ui/qt_text.h"

namespace paylark::app {
namespace {

using ui::FromUtf8;
using ui::MsgAnswer;
using ui::MsgButtons;
using ui::MsgKind;

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

// Menu entries besides the commands' names.
constexpr const char* kSeparator = "-";
constexpr const char* kHiddenSeparator = "(-)";

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
  BuildActions();

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

  sheet_ = new SheetController(state_, dialogs_, *grid_, this);
  grid_->horizontalHeader()->viewport()->setMouseTracking(true);
  grid_->horizontalHeader()->viewport()->installEventFilter(this);

  Timer2_ = new QTimer(this);
  Timer2_->setObjectName(QStringLiteral("Timer2"));
  Timer2_->setSingleShot(true);
  Timer2_->setInterval(100);
  connect(Timer2_, &QTimer::timeout, this, [this] {
    if (!sheet_->Rows().empty()) SelectCell(1, 1);
  });

  lbTaisyoNen_->clear();
  lbCorpName_->clear();
  UpdateCommands();
}

TfmMain::~TfmMain() {
  // The widgets below go away after this part of the window: nothing may call back into it.
  delete sheet_;
  grid_->horizontalHeader()->viewport()->removeEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Commands, menus and the tool tray

QAction* TfmMain::AddCommand(const char* name, const char* caption, std::function<void()> run,
                             std::function<bool()> enabled, const QKeySequence& keys) {
  auto* a = new QAction(FromUtf8(caption), this);
  a->setObjectName(QString::fromLatin1(name));
  if (!keys.isEmpty()) a->setShortcut(keys);
  connect(a, &QAction::triggered, this, std::move(run));
  commands_.push_back({a, std::move(enabled)});
  return a;
}

QAction* TfmMain::Action(const char* name) const {
  for (const Command& c : commands_) {
    if (c.action->objectName() == QLatin1String(name)) return c.action;
  }
  return nullptr;
}

// Every command once, with what enables it: the menu items and the tool buttons share these.
void TfmMain::BuildActions() {
  auto wired = [](const auto& screen) { return [&screen] { return static_cast<bool>(screen); }; };
  const auto list = wired(screens_.employeeList);
  const auto listAndPrint = [this] { return screens_.employeeList && screens_.print; };

  AddCommand("mnSaveFile", "データを保存(&S)...", [this] { SaveData(); }, {}, QKeySequence(Qt::CTRL | Qt::Key_S));
  AddCommand("mnKinmuRead", "勤務報告データの読み込み(&R)...", [this] { ImportReports(); },
             wired(screens_.importReports));
  // Kept hidden: the tables are replaced by installing new table files.
  AddCommand("mnTableUpdate", "表データファイルの更新(&U)...", [] {})->setVisible(false);
  AddCommand("mnReturn", "給与対象月/賞与時期の選択に戻る(&X)", [this] { ReturnToPeriodSelection(); },
             wired(screens_.periodSelection));
  AddCommand("mnQuit", "プログラム終了(&X)", [this] { close(); });

  AddCommand("mnCorpInfo", "会社情報の設定(&C)...", [this] { CompanyInfo(); }, wired(screens_.companyInfo));
  AddCommand("mnEnvSetting", "入力項目の設定(&E)...", [this] { InputItemSettings(); }, wired(screens_.inputItems));
  AddCommand("mnPrnForm", "印刷項目の設定(&F)...", [this] { PayslipItemSettings(); }, wired(screens_.payslipItems));
  AddCommand("mnMailServer", "メール送信サーバーの設定(&M)...",
             [this] {
               if (screens_.mailServer && screens_.mailServer()) UpdateCommands();
             },
             wired(screens_.mailServer));

  AddCommand("mnMemberList", "社員情報の設定(&L)", [this] { FillNameRow(true); }, list);
  AddCommand("acDataEdit", "明細入力画面", [this] { OpenDetailEntry(); },
             [this] { return screens_.detailEntry && state_.Period().Employee(1).InUse(); });

  AddCommand("mnMeisaihyo", "給与/賞与明細書(&M)...", [this] { PrintPayslips(); }, listAndPrint,
             QKeySequence(Qt::Key_F2));
  AddCommand("mnKyuyoDaicho", "社員別給与台帳(&D)...", [this] { PrintLedger(); }, listAndPrint,
             QKeySequence(Qt::Key_F3));
  AddCommand("mnKyuyoIchiran", "月別給与/賞与一覧(&I)...", [this] { PrintMonthlyList(); }, wired(screens_.print),
             QKeySequence(Qt::Key_F4));
  AddCommand("mnSendMail", "メール送信(&M)", [this] { SendMail(); }, [this] { return MailAvailable(); });
  AddCommand("mnNencho", "年末調整(&Y)", [this] { OpenYearEnd(); }, wired(screens_.yearEnd));

  AddCommand("mnHelpContents", "目次(&C)", [this] { screens_.help(kHelpContents); }, wired(screens_.help));
  AddCommand("mnHelpSearch", "キーワードで検索(&T)", [this] { screens_.help(kHelpKeywordSearch); },
             wired(screens_.help));
  AddCommand("mnVersion", "プログラムバージョン(&P)...", [this] { screens_.versionBox(); }, wired(screens_.versionBox));
  AddCommand("mnTableDates", "表データファイル(&F)...", [this] { ShowTableDates(); });

  QAction* f1 = AddCommand(
      "acHelpTopic", "",
      [this] {
        if (screens_.help) screens_.help(kHelpMainWindow);
      },
      {}, QKeySequence(Qt::Key_F1));
  addAction(f1);
}

// The menus as lists of commands by name; kSeparator draws a line, kHiddenSeparator keeps a
// hidden one.
void TfmMain::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto menu = [this](QMenu* m, const char* name, std::initializer_list<const char*> entries) {
    m->setObjectName(QString::fromLatin1(name));
    for (const char* entry : entries) {
      if (entry == kSeparator) {
        m->addSeparator();
      } else if (entry == kHiddenSeparator) {
        m->addSeparator()->setVisible(false);
      } else {
        m->addAction(Action(entry));
      }
    }
    return m;
  };
  menu(bar->addMenu(QStringLiteral("ファイル(&F)")), "mnFile",
       {"mnSaveFile", "mnKinmuRead", "mnTableUpdate", kHiddenSeparator, "mnReturn", kSeparator, "mnQuit"});
  menu(bar->addMenu(QStringLiteral("基本設定(&C)")), "mnKihon",
       {"mnCorpInfo", "mnEnvSetting", "mnPrnForm", kSeparator, "mnMailServer"});
  bar->addAction(Action("mnMemberList"));
  menu(bar->addMenu(QStringLiteral("印刷(&P)")), "mnPrint", {"mnMeisaihyo", "mnKyuyoDaicho", "mnKyuyoIchiran"});
  bar->addAction(Action("mnSendMail"));
  bar->addAction(Action("mnNencho"));
  QMenu* help = menu(bar->addMenu(QStringLiteral("ヘルプ(&H)")), "mnHelp", {"mnHelpContents", "mnHelpSearch", kSeparator});
  menu(help->addMenu(QStringLiteral("バージョン情報(&A)")), "mnAbout", {"mnVersion", "mnTableDates"});
}

// The tool buttons act through the menu's commands; nullptr stands for a bevel between groups.
void TfmMain::BuildToolTray(QWidget* central) {
  pnToolTray_ = new QFrame(central);
  pnToolTray_->setObjectName(QStringLiteral("pnToolTray"));
  static_cast<QFrame*>(pnToolTray_)->setFrameShape(QFrame::StyledPanel);
  auto* tray = new QHBoxLayout(pnToolTray_);
  tray->setContentsMargins(4, 2, 8, 2);
  tray->setSpacing(2);
  struct Button {
    const char* name;
    const char* command;
    const char* hint;
    QStyle::StandardPixmap icon;
  };
  const Button buttons[] = {
      {"sbWrite", "mnSaveFile", "ファイル保存", QStyle::SP_DialogSaveButton},
      {nullptr, nullptr, nullptr, {}},
      {"sbMemberList", "mnMemberList", "社員情報の設定", QStyle::SP_FileDialogListView},
      {"sbDataEdit", "acDataEdit", "明細入力画面", QStyle::SP_FileDialogDetailedView},
      {nullptr, nullptr, nullptr, {}},
      {"sbMeisaihyo", "mnMeisaihyo", "給与/賞与明細書の印刷", QStyle::SP_FileIcon},
      {"sbKyuyoDaicho", "mnKyuyoDaicho", "社員別給与台帳の印刷", QStyle::SP_FileDialogContentsView},
      {"sbKyuyoIchiran", "mnKyuyoIchiran", "月別給与/賞与一覧の印刷", QStyle::SP_FileDialogInfoView},
      {nullptr, nullptr, nullptr, {}},
      {"sbSendMail", "mnSendMail", "メール送信", QStyle::SP_DriveNetIcon},
      {nullptr, nullptr, nullptr, {}},
      {"sbReturn", "mnReturn", "給与対象月/賞与時期の選択に戻る", QStyle::SP_ArrowBack},
  };
  for (const Button& b : buttons) {
    if (!b.name) {
      tray->addWidget(Bevel(pnToolTray_));
      continue;
    }
    QAction* action = Action(b.command);
    action->setIcon(style()->standardIcon(b.icon));
    action->setIconVisibleInMenu(false);  // the menus stay text only
    action->setToolTip(FromUtf8(b.hint));
    auto* button = new QToolButton(pnToolTray_);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setDefaultAction(action);
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    tray->addWidget(button);
  }
  tray->addStretch();
  lbTaisyoNen_ = new QLabel(pnToolTray_);
  lbTaisyoNen_->setObjectName(QStringLiteral("lbTaisyoNen"));
  lbTaisyoNen_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lbTaisyoNen_->setFont(ui::GothicFont(14));
  tray->addWidget(lbTaisyoNen_);
}

bool TfmMain::MailAvailable() const {
  return screens_.employeeList && screens_.mail && mailTransport_ && mailTransport_();
}

void TfmMain::UpdateCommands() {
  for (const Command& c : commands_) {
    if (c.enabled) c.action->setEnabled(c.enabled());
  }
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
  if (!Rows().empty()) SelectCell(1, static_cast<int>(Rows().size()));
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
  sheet_->Fill();
  return true;
}

void TfmMain::ShowResults() { sheet_->ShowResults(); }
void TfmMain::RecalculateResults() { sheet_->RecalculateResults(); }
void TfmMain::SelectCell(int column, int row) { sheet_->SelectCell(column, row); }
void TfmMain::CommitCell() { sheet_->CommitCell(); }
bool TfmMain::CommitAndRecalculate(bool checkHours) { return sheet_->CommitAndRecalculate(checkHours); }
SheetColumns TfmMain::Columns() const { return sheet_->Columns(); }
const std::vector<SheetRow>& TfmMain::Rows() const { return sheet_->Rows(); }
int TfmMain::ColumnSlot(int column) const { return sheet_->ColumnSlot(column); }
void TfmMain::InputMethodOff() { sheet_->InputMethodOff(); }

// ---------------------------------------------------------------------------------------------
// Recalculation, change check, save

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
  const int slot = ColumnSlot(sheet_->CurrentColumn());
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

// 年末調整: the sheet is taken over first; a settlement into the period in memory rebuilds it.
void TfmMain::OpenYearEnd() {
  if (!screens_.yearEnd) return;
  CommitAndRecalculate(false);
  if (screens_.yearEnd()) BuildSheet(false);
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
          SelectCell(column, std::max(sheet_->CurrentRow(), 1));
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
