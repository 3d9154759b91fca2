#include "screens/year_end_result.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
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
  mmSetumei_ = new QPlainTextEdit(this);
  mmSetumei_->setObjectName("mmSetumei");
  mmSetumei_->setReadOnly(true);
  mmSetumei_->setMaximumHeight(fontMetrics().height() * 7);
  connect(sgKeisan_, &QTableWidget::currentCellChanged, this, [this] { ShowExplanation(); });
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
  layout->addWidget(new QLabel(QStringLiteral("計算の説明"), this));
  layout->addWidget(mmSetumei_);
  layout->addLayout(buttons);
}

void TfmYearEndResult::Load(int year, const EmployeeYearEnd& e, const Explanation* explanation) {
  lbName_->setText(QStringLiteral("%1年分　").arg(year) + ui::FromUtf8(e.pay.name));
  lbExclusion_->setText(e.exclusion ? QStringLiteral("年末調整の対象外: ") + ui::FromUtf8(*e.exclusion) : QString());
  lbExclusion_->setVisible(e.exclusion.has_value());
  struct Row {
    QString name;
    Yen value;
    const ExplanationEntry* entry = nullptr;
  };
  std::vector<Row> rows = {
      {QStringLiteral("給料・手当等"), e.pay.salary},
      {QStringLiteral("賞与等"), e.pay.bonus},
      {QStringLiteral("給与の総額（前職分を含む）"), e.result.totalPay},
  };
  const std::vector<YearEndLine>& lines = YearEndLines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const YearEndLine& line = lines[i];
    // 徴収済税額 stands before the difference it is taken from.
    if (line.field == &YearEndResult::difference)
      rows.push_back({QStringLiteral("徴収済税額（前職分を含む）"), e.result.withheld});
    const ExplanationEntry* entry =
        explanation && !e.exclusion ? explanation->Find(0, YearEndField(static_cast<int>(i))) : nullptr;
    rows.push_back({ui::FromUtf8(line.name), e.result.*line.field, entry});
  }
  explanations_.clear();
  for (const Row& row : rows) explanations_.push_back(row.entry ? ui::FromUtf8(row.entry->DetailText()) : QString());
  sgKeisan_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i);
    sgKeisan_->setItem(r, 0, new QTableWidgetItem(rows[i].name));
    auto* amount = new QTableWidgetItem(e.exclusion && i > 1 ? QString() : YenText(rows[i].value));
    amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sgKeisan_->setItem(r, 1, amount);
  }
  if (!rows.empty()) sgKeisan_->setCurrentCell(0, 0);
  ShowExplanation();
}

QString TfmYearEndResult::ExplanationText() const { return mmSetumei_->toPlainText(); }

void TfmYearEndResult::ShowExplanation() {
  const int r = sgKeisan_->currentRow();
  mmSetumei_->setPlainText(r >= 0 && r < static_cast<int>(explanations_.size()) ? explanations_[static_cast<std::size_t>(r)]
                                                                                : QString());
}

void TfmYearEndResult::Show(int year, const EmployeeYearEnd& adjustment) {
  Load(year, adjustment);
  exec();
}

}  // namespace paylark::screens
