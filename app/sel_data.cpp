#include "app/sel_data.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include "session/period_selection_rules.h"
#include "app/ref_data.h"
#include "entry/display_format.h"
#include "screens/premium_notices.h"
#include "store/app_settings.h"
#include "store/backup.h"
#include "store/period_preparation.h"
#include "ui/qt_text.h"

namespace paylark::app {
namespace {

using ui::FromUtf8;

constexpr const char* kFirstHint =
    "入力する給与または賞与を選択し､必要な情報を入力して下さい。\r　（詳細はF1キーを押してヘルプを参照）";
const QColor kSavedColour(Qt::blue);
const QColor kUnsavedColour(192, 192, 192);

// A saved period is written in blue, an unsaved one in silver; the selected line takes that
// colour as its background.
class PeriodLineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QColor colour = index.data(Qt::ForegroundRole).value<QBrush>().color();
    painter->save();
    if (option.state & QStyle::State_Selected) {
      painter->fillRect(option.rect, colour);
      painter->setPen(option.palette.color(QPalette::HighlightedText));
    } else {
      painter->fillRect(option.rect, option.palette.base());
      painter->setPen(colour);
    }
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
    painter->restore();
  }
};

QString WholeDisplay(double value) { return QString::asprintf("%2.0f", value); }

}  // namespace

TfmSelData::TfmSelData(ui::ProgramState& state, ui::DialogService& dialogs, TfmRefData& refData, QWidget* parent)
    : QDialog(parent),
      state_(state),
      dialogs_(dialogs),
      refData_(refData),
      folders_(state, dialogs),
      fields_{dialogs, state.options} {
  setObjectName("TfmSelData");
  setWindowTitle(QStringLiteral("給与対象月/賞与時期の選択"));
  BuildLayout();

  connect(list_, &QListWidget::currentRowChanged, this, &TfmSelData::LineChanged);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
  connect(year_, &QComboBox::activated, this, &TfmSelData::YearChosen);
  connect(ok_, &QPushButton::clicked, this, &TfmSelData::accept);
  connect(cancel_, &QPushButton::clicked, this, &TfmSelData::reject);
  connect(backup_, &QAction::triggered, this, &TfmSelData::Backup);
  connect(restore_, &QAction::triggered, this, &TfmSelData::Restore);
  list_->installEventFilter(this);
  hours_->installEventFilter(this);
  ui::InstallEnterMovesOn(this);
}

void TfmSelData::BuildLayout() {
  auto* menuBar = new QMenuBar(this);
  QMenu* dataMenu = menuBar->addMenu(QStringLiteral("データ管理(&O)"));
  dataMenu->setObjectName("mnData");
  backup_ = dataMenu->addAction(QStringLiteral("データのバックアップ(&B)..."));
  backup_->setObjectName("mnBackup");
  restore_ = dataMenu->addAction(QStringLiteral("データの復元(&R)..."));
  restore_->setObjectName("mnRestore");

  list_ = new QListWidget(this);
  list_->setObjectName("ListBox");
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setItemDelegate(new PeriodLineDelegate(list_));
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int period = 1; period <= kPeriodCount; ++period) {
    list_->addItem(FromUtf8(PeriodCaption(period, state_.options.thirdBonusName)));
  }
  const int rowHeight = list_->sizeHintForRow(0);
  list_->setFixedHeight(rowHeight * kPeriodCount + 2 * list_->frameWidth() + 4);
  list_->setFixedWidth(list_->fontMetrics().horizontalAdvance(QStringLiteral("特別賞与特別賞与　")) + 12);

  year_ = new QComboBox(this);
  year_->setObjectName("cbTaisyoNen");
  year_->setMinimumWidth(year_->fontMetrics().horizontalAdvance(QStringLiteral("令和99年")) + 40);
  auto* yearLabel = new QLabel(QStringLiteral("対象年の選択"), this);
  yearLabel->setBuddy(year_);

  auto makeField = [this](int code, int maxLength, const char* name) {
    auto* edit = new ui::NumEdit(fields_, code, this);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    edit->SetAcceptedCharacters(QStringLiteral("0123456789"));
    edit->SetDisplay(WholeDisplay);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(maxLength + 2, QChar('0'))) + 12);
    return edit;
  };
  days_ = makeField(20, 2, "edNissu");
  hours_ = makeField(62, 6, "edJikan");
  hours_->SetAcceptedCharacters(QStringLiteral("0123456789.:"));
  hours_->SetDisplay([this](double v) { return FromUtf8(FormatHours(v, state_.options.timeStyle)); });
  payMonth_ = makeField(20, 2, "edSikyuM");
  payDay_ = makeField(20, 2, "edSikyuD");

  salaryGroup_ = new QGroupBox(QStringLiteral("給　与"), this);
  salaryGroup_->setObjectName("gbKyuyo");
  auto* salary = new QGridLayout(salaryGroup_);
  salary->addWidget(new QLabel(QStringLiteral("所定労働日数"), salaryGroup_), 0, 0);
  salary->addWidget(days_, 0, 1);
  salary->addWidget(new QLabel(QStringLiteral("日"), salaryGroup_), 0, 2);
  salary->addWidget(new QLabel(QStringLiteral("所定労働時間"), salaryGroup_), 1, 0);
  salary->addWidget(hours_, 1, 1);
  salary->addWidget(new QLabel(QStringLiteral("時間"), salaryGroup_), 1, 2);
  salary->setColumnStretch(3, 1);

  bonusGroup_ = new QGroupBox(QStringLiteral("賞　与"), this);
  bonusGroup_->setObjectName("gbSyoyo");
  auto* bonus = new QHBoxLayout(bonusGroup_);
  bonus->addWidget(new QLabel(QStringLiteral("支給月日"), bonusGroup_));
  bonus->addWidget(payMonth_);
  bonus->addWidget(new QLabel(QStringLiteral("月"), bonusGroup_));
  bonus->addWidget(payDay_);
  bonus->addWidget(new QLabel(QStringLiteral("日"), bonusGroup_));
  bonus->addStretch();

  ok_ = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok_->setObjectName("bbOk");
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("終了"), this);
  cancel_->setObjectName("bbCancel");
  cancel_->setAutoDefault(false);

  auto* yearRow = new QHBoxLayout;
  yearRow->addWidget(yearLabel);
  yearRow->addWidget(year_);
  yearRow->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* right = new QVBoxLayout;
  right->addLayout(yearRow);
  right->addSpacing(8);
  right->addWidget(salaryGroup_);
  right->addWidget(bonusGroup_);
  right->addStretch();
  right->addLayout(buttons);
  auto* body = new QHBoxLayout;
  body->addWidget(list_);
  body->addSpacing(8);
  body->addLayout(right);

  auto* status = new QStatusBar(this);
  status->setObjectName("StatusBar");
  status->setSizeGripEnabled(false);
  status->addWidget(new QLabel(QStringLiteral("F1キーを押すと､各画面に対応したヘルプが表示されます。"), status), 1);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->addLayout(body);
  layout->addWidget(status);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(list_, year_);
  setTabOrder(year_, days_);
  setTabOrder(days_, hours_);
  setTabOrder(hours_, payMonth_);
  setTabOrder(payMonth_, payDay_);
  setTabOrder(payDay_, ok_);
  setTabOrder(ok_, cancel_);
}

bool TfmSelData::Run(bool returning) {
  returning_ = returning;
  ReadYearFile();
  FillYearList();
  SelectOpenPeriod();
  QTimer::singleShot(0, this, [this] { Activated(); });
  return exec() == QDialog::Accepted;
}

void TfmSelData::ReadYearFile() {
  list_->item(kPeriodCount - 1)->setText(FromUtf8(state_.options.thirdBonusName));
  OpenPeriod& open = state_.open;
  try {
    ReadHeader(open.currentDataFile, open.header);
    ReadMonthCache(open.currentDataFile, open.monthCache);
  } catch (const YearFileError& e) {
    open.header = FileHeader{};
    open.monthCache = {};
    dialogs_.Error(e.UserText());
  }
  defaultDailyHours_ = LoadStandardDailyHours(state_.settings);
  for (int period = 1; period <= kPeriodCount; ++period) PaintLine(period);
}

void TfmSelData::FillYearList() {
  years_ = ListYearFiles(state_.paths.dataDir);
  year_->clear();
  int current = -1;
  for (std::size_t i = 0; i < years_.size(); ++i) {
    year_->addItem(FromUtf8(years_[i].Label()));
    if (years_[i].path.filename() == state_.open.currentDataFile.filename()) current = static_cast<int>(i);
  }
  year_->setCurrentIndex(current);
}

void TfmSelData::SelectOpenPeriod() {
  OpenPeriod& open = state_.open;
  if (const auto eraYear = ParseYearFileName(open.currentDataFile.filename().string())) open.eraYear = *eraYear;
  const CivilDate today = Today();
  payMonth_->setText(FromUtf8(TwoDigits(today.month)));
  payDay_->setText(FromUtf8(TwoDigits(today.day)));
  if (open.periodIndex < 1 || open.periodIndex > kPeriodCount) open.periodIndex = today.month;
  {
    const QSignalBlocker quiet(list_);
    list_->setCurrentRow(open.periodIndex - 1);
  }
  LineChanged(open.periodIndex - 1);
  list_->setFocus();
}

void TfmSelData::Activated() {
  if (defaultDailyHours_ != 0) {
    companySetUp_ = true;
  } else if (firstHintPending_) {
    firstHintPending_ = false;
    dialogs_.Information(kFirstHint);
  }
}

void TfmSelData::YearChosen(int index) {
  if (index < 0 || index >= static_cast<int>(years_.size())) return;
  state_.open.currentDataFile = years_[static_cast<std::size_t>(index)].path;
  state_.open.eraYear = years_[static_cast<std::size_t>(index)].eraYear;
  ReadYearFile();
  SelectOpenPeriod();
}

void TfmSelData::LineChanged(int row) {
  const int period = row + 1;
  if (period < 1 || period > kPeriodCount) return;
  const bool bonus = IsBonusPeriod(period);
  salaryGroup_->setEnabled(!bonus);
  bonusGroup_->setEnabled(bonus);
  const OpenPeriod& open = state_.open;
  if (bonus) {
    if (open.header.BonusMonth(period) != 0) {
      payMonth_->setText(FromUtf8(TwoDigits(open.header.BonusMonth(period))));
      payDay_->setText(FromUtf8(TwoDigits(open.header.BonusDay(period))));
    } else {
      const CivilDate today = Today();
      payMonth_->setText(FromUtf8(TwoDigits(today.month)));
      payDay_->setText(FromUtf8(TwoDigits(today.day)));
    }
  } else {
    const CompanyRecord& month = open.monthCache[static_cast<std::size_t>(period - 1)];
    days_->setText(FromUtf8(TwoDigits(month.PeriodDays())));
    hours_->setText(FromUtf8(FormatHours(month.PeriodHours(), state_.options.timeStyle)));
  }
}

void TfmSelData::PaintLine(int period) {
  list_->item(period - 1)->setForeground(state_.open.header.Saved(period) ? kSavedColour : kUnsavedColour);
}

void TfmSelData::accept() {
  const int period = list_->currentRow() + 1;
  if (period < 1 || period > kPeriodCount) return;
  OpenPeriod& open = state_.open;
  open.periodIndex = period;
  const bool salary = IsSalaryPeriod(period);
  const double days = days_->Value();
  const double hours = hours_->Value();
  if (salary && (static_cast<int>(days) == 0 || hours == 0)) {
    dialogs_.Error("所定労働日数と時間を入力して下さい。");
    days_->setFocus();
    return;
  }
  if (!salary) {
    // Stored as typed, without a range check.
    open.header.SetBonusMonth(period, static_cast<std::int32_t>(payMonth_->Value()));
    open.header.SetBonusDay(period, static_cast<std::int32_t>(payDay_->Value()));
  }
  const bool saved = open.header.Saved(period);
  try {
    if (saved) {
      LoadPeriod(open.currentDataFile, period, open.period);
    } else {
      const PreparedPeriod prepared = PrepareNewPeriod(state_.paths.dataDir, open, period);
      if (prepared.needsReferenceData) refData_.Run(prepared.laterDataExists);
    }
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
    return;
  }
  open.period.company.SetPeriodDays(static_cast<std::int32_t>(days));
  open.period.company.SetPeriodHours(hours);
  if (salary && !saved) PresetMonthlyAttendance(open.period);
  // New rates in force and age-based changes are offered, never made silently.
  if (!saved) screens::OfferRateChange(state_, dialogs_);
  screens::OfferAgeChanges(state_, dialogs_);
  companySetUp_ = true;
  periodChosen_ = true;
  returning_ = false;
  QDialog::accept();
}

void TfmSelData::reject() {
  if (const auto question = QuitQuestion(returning_, companySetUp_, periodChosen_)) {
    if (!dialogs_.Confirm(*question)) return;
  }
  QDialog::reject();
}

void TfmSelData::DeletePeriod() {
  const int period = list_->currentRow() + 1;
  OpenPeriod& open = state_.open;
  if (period < 1 || period > kPeriodCount || !open.header.Saved(period)) return;
  if (!dialogs_.Confirm("選択されている給与/賞与のデータを削除しますか？")) return;
  try {
    ClearPeriod(open.currentDataFile, period, open);
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
    return;
  }
  PaintLine(period);
  LineChanged(period - 1);
}

void TfmSelData::Backup() {
  const auto folder = folders_.Choose("データファイルのバックアップ場所を指定");
  if (!folder) return;
  const CopyResult copied = BackupDataFiles(state_.paths.dataDir, state_.paths.settingsFile, *folder);
  if (!copied.ok) {
    dialogs_.Error("容量不足､書き込み不可等のエラーにより中断しました。");
    return;
  }
  try {
    SaveBackupPath(state_.settings, folder->string());
  } catch (const std::exception&) {
    // The backup is complete; only the next start folder of the chooser is not remembered.
  }
  dialogs_.Information("指定場所にバックアップしました。");
}

void TfmSelData::Restore() {
  if (!dialogs_.Confirm("復元を行うと現在の設定内容とデータは上書きされます。")) return;
  const auto folder = folders_.Choose("復元するデータファイルの場所を指定");
  if (!folder) return;
  const CopyResult copied = RestoreDataFiles(*folder, state_.paths.dataDir, state_.paths.settingsFile);
  if (!copied.ok) {
    dialogs_.Error("ファイルが存在しない等のエラーにより中断しました。");
    return;
  }
  dialogs_.Information("指定された場所のデータで復元しました。\r復元を有効にする為、プログラムを終了します。");
  CloseAsQuit();
}

void TfmSelData::CloseAsQuit() {
  // The program ends without questions so that the next start reads the restored files.
  restartRequired_ = true;
  QDialog::reject();
}

bool TfmSelData::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      accept();
      return true;
    }
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
      DeletePeriod();
      return true;
    }
  }
  if (watched == hours_ && event->type() == QEvent::FocusIn && hours_->Value() == 0) {
    // Proposed from the scheduled days and the company's standard hours per day.
    hours_->setText(FromUtf8(FormatHours(days_->Value() * defaultDailyHours_, state_.options.timeStyle)));
  }
  return QDialog::eventFilter(watched, event);
}

void TfmSelData::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (help_) help_(kHelpTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace paylark::app
