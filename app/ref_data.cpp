#include "app/ref_data.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "store/sjis.h"
#include "store/year_file.h"
#include "ui/qt_text.h"

namespace paylark::app {
namespace {

constexpr const char* kNothingToCarry =
    "選択された月の前月のデータが無いので、基本情報と\r社員名簿情報を引き継ぐ事が出来ませんでした。\r\r"
    "基本情報と社員名簿情報の設定を行って下さい。";
constexpr const char* kChooseNoPredecessor =
    "選択された月の前月のデータが無いので、基本情報と\r社員名簿情報を引き継ぐ事が出来ませんでした。\r\r"
    "参照するデータをリストから選択して下さい。";
constexpr const char* kChooseLaterData =
    "選択された月の前月のデータと、前月データより新しい\rデータの両方が存在します。\r\r"
    "参照するデータをリストから選択して下さい。";
constexpr const char* kCheckSettings =
    "参照したデータと保険料率等が違う可能性があるので、\r基本情報と社員名簿情報の設定を確認して下さい。";
constexpr const char* kAllNew = "参照しない場合、全て新規入力となります。\r基本情報と社員名簿情報の設定を行って下さい。";

}  // namespace

TfmRefData::TfmRefData(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs) {
  setObjectName("TfmRefData");
  setWindowTitle(QStringLiteral("参照するデータの選択"));

  list_ = new QListWidget(this);
  list_->setObjectName("ListBox");
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setMinimumSize(240, 260);
  ok_ = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok_->setObjectName("bbOk");
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel_->setObjectName("bbCancel");

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, &TfmRefData::accept);
  connect(cancel_, &QPushButton::clicked, this, &TfmRefData::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &TfmRefData::accept);
}

bool TfmRefData::Run(bool laterDataExists) {
  PeriodBlock& period = state_.open.period;
  period.Clear();
  list_->clear();
  try {
    months_ = ListReferenceMonths(state_.paths.dataDir);
  } catch (const YearFileError& e) {
    months_.clear();
    dialogs_.Error(e.UserText());
    return false;
  }
  if (months_.empty()) {
    dialogs_.Warning(kNothingToCarry);
    return false;
  }
  for (const ReferenceMonth& m : months_) list_->addItem(ui::FromUtf8(m.caption));
  list_->setCurrentRow(
      static_cast<int>(PreselectReferenceMonth(months_, state_.open.eraYear, state_.open.periodIndex)));
  list_->setFocus();
  // The hint appears over the list once it is shown.
  QTimer::singleShot(0, this, [this, laterDataExists] {
    dialogs_.Warning(laterDataExists ? kChooseLaterData : kChooseNoPredecessor);
  });
  return exec() == QDialog::Accepted;
}

void TfmRefData::accept() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(months_.size())) return;
  const ReferenceMonth& source = months_[static_cast<std::size_t>(row)];
  PeriodBlock& period = state_.open.period;
  try {
    ReadMasterData(source.file, source.month, period);
  } catch (const YearFileError& e) {
    period.Clear();
    dialogs_.Error(e.UserText());
    return;
  }
  period.ClearFigures();
  if (Trim(period.company.Name()).empty()) {
    reject();
    return;
  }
  dialogs_.Warning(kCheckSettings);
  QDialog::accept();
}

void TfmRefData::reject() {
  // Without reference data everything is entered anew.
  state_.open.period.Clear();
  dialogs_.Warning(kAllNew);
  QDialog::reject();
}

}  // namespace paylark::app
