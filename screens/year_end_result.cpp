#include "screens/year_end_result.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "entry/display_format.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

QString YenText(Yen v) { return ui::FromUtf8(FormatAmount(11, v)).trimmed(); }

}  // namespace

TfmYearEndResult::TfmYearEndResult(QWidget* parent) : QDialog(parent) {
  setObjectName("TfmYearEndResult");
  setWindowTitle(QStringLiteral("年末調整の計算結果"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  lbName_ = new QLabel(this);
  lbName_->setObjectName("lbName");
  lbExclusion_ = new QLabel(this);
  lbExclusion_->setObjectName("lbTaisyogai");
  lbExclusion_->setStyleSheet(QStringLiteral("color: red"));
  sgKeisan_ = new QTableWidget(0, 2, this);
  sgKeisan_->setObjectName("sgKeisan");
  sgKeisan_->setHorizontalHeaderLabels({QStringLiteral("項目"), QStringLiteral("金額")});
  sgKeisan_->verticalHeader()->setVisible(false);
  sgKeisan_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgKeisan_->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgKeisan_->setColumnWidth(0, fontMetrics().horizontalAdvance(QString(14, QChar(0x3042))));
  sgKeisan_->horizontalHeader()->setStretchLastSection(true);
  sgKeisan_->setMinimumSize(fontMetrics().horizontalAdvance(QString(24, QChar(0x3042))),
                            fontMetrics().height() * 28);
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName("bbClose");
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbName_);
  layout->addWidget(lbExclusion_);
  layout->addWidget(sgKeisan_);
  layout->addLayout(buttons);
}

void TfmYearEndResult::Load(int year, const EmployeeYearEnd& e) {
  lbName_->setText(QStringLiteral("%1年分　").arg(year) + ui::FromUtf8(e.pay.name));
  lbExclusion_->setText(e.exclusion ? QStringLiteral("年末調整の対象外: ") + ui::FromUtf8(*e.exclusion) : QString());
  lbExclusion_->setVisible(e.exclusion.has_value());
  struct Row {
    QString name;
    Yen value;
  };
  std::vector<Row> rows = {
      {QStringLiteral("給料・手当等"), e.pay.salary},
      {QStringLiteral("賞与等"), e.pay.bonus},
      {QStringLiteral("給与の総額（前職分を含む）"), e.result.totalPay},
  };
  for (const YearEndLine& line : YearEndLines()) {
    // 徴収済税額 stands before the difference it is taken from.
    if (line.field == &YearEndResult::difference)
      rows.push_back({QStringLiteral("徴収済税額（前職分を含む）"), e.result.withheld});
    rows.push_back({ui::FromUtf8(line.name), e.result.*line.field});
  }
  sgKeisan_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i);
    sgKeisan_->setItem(r, 0, new QTableWidgetItem(rows[i].name));
    auto* amount = new QTableWidgetItem(e.exclusion && i > 1 ? QString() : YenText(rows[i].value));
    amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sgKeisan_->setItem(r, 1, amount);
  }
}

void TfmYearEndResult::Show(int year, const EmployeeYearEnd& adjustment) {
  Load(year, adjustment);
  exec();
}

}  // namespace paylark::screens
