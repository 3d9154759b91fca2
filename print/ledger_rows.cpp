#include "print/ledger_rows.h"

#include "entry/display_format.h"
#include "calc/salary.h"
#include "store/format_text.h"
#include "store/item_settings.h"

namespace paylark::print {

namespace {

// The payment positions behind the 18 standard payment rows, in the order of the default list.
constexpr std::array<Sikyu, 18> kPaymentRows{
    Sikyu::BasePay,         Sikyu::PositionAllowance,  Sikyu::FamilyAllowance,    Sikyu::FixedAllowance1,
    Sikyu::FixedAllowance2, Sikyu::FixedAllowance3,    Sikyu::Overtime,           Sikyu::NightOvertime,
    Sikyu::HolidayOvertime, Sikyu::HolidayNightOvertime, Sikyu::CommuteNonTaxable, Sikyu::CommuteTaxable,
    Sikyu::Absence,         Sikyu::Lateness,           Sikyu::VariableAllowance1, Sikyu::VariableAllowance2,
    Sikyu::VariableAllowance3, Sikyu::TaxableTotal};

// The deduction positions behind the 16 non-blank standard deduction rows.
constexpr std::array<Koujo, 16> kDeductionRows{
    Koujo::Health,          Koujo::Nursing,         Koujo::ChildSupportLevy, Koujo::Pension,        Koujo::PensionFund,
    Koujo::Employment,      Koujo::SocialTotal,     Koujo::AfterSocial,     Koujo::IncomeTax,
    Koujo::ResidentTax,     Koujo::FixedDeduction1, Koujo::FixedDeduction2, Koujo::FixedDeduction3,
    Koujo::VariableDeduction1, Koujo::VariableDeduction2, Koujo::VariableDeduction3};

constexpr int kPaymentTotalRow = 19;
constexpr int kDeductionTotalRow = 36;
constexpr int kNetPayRow = 38;

// 差引支給額 with all three other items; nullopt when it does not fit in whole yen.
LedgerFigure LedgerNetPay(const PaymentRecord& payment, const DeductionRecord& deduction) {
  try {
    return NetPay(payment, deduction);
  } catch (const MoneyOverflow&) {
    return std::nullopt;
  }
}

}  // namespace

std::array<std::string, kLedgerRows> LedgerRowLabels(const Options& options) {
  const ItemSettings standard = DefaultItemSettings(ItemKind::Salary);
  std::array<std::string, kLedgerRows> labels;
  std::size_t row = 0;
  auto add = [&](const std::string& key) {
    std::string label = ResolveItemKey(key, options).substr(1);
    // The label column holds 14 bytes condensed: 子ども・子育て支援金 (20) is shown shorter.
    if (label == "子ども・子育て支援金") label = "子育て支援金";
    labels[row++] = std::move(label);
  };
  for (const ItemRow& item : standard.Block(ItemBlock::Sikyu)) add(item.name);
  labels[row++] = "支給項目合計";
  // The ledger's deduction rows are the fifteen of kDeductionRows; the 年末調整 row of the payslip
  // lists is not one of them.
  for (const ItemRow& item : standard.Block(ItemBlock::Koujo))
    if (item.name.size() > 1 && item.name != kYearEndItemKey) add(item.name);
  labels[row++] = "控除項目合計";
  labels[row++] = "社保算定合計";
  labels[row++] = "差引支給額";
  return labels;
}

bool LedgerTotalRow(int row) { return row == kPaymentTotalRow || row >= kDeductionTotalRow; }

LedgerColumn LedgerValues(const PaymentRecord& payment, const DeductionRecord& deduction) {
  LedgerColumn column;
  std::size_t row = 0;
  for (Sikyu position : kPaymentRows) column[row++] = payment.Get(position);
  column[row++] = payment.Get(Sikyu::Total);
  for (Koujo position : kDeductionRows) column[row++] = deduction.Get(position);
  column[row++] = deduction.Get(Koujo::Total);
  column[row++] = deduction.Get(Koujo::SocialBase);
  column[row++] = LedgerNetPay(payment, deduction);
  return column;
}

LedgerColumn ZeroLedgerColumn() {
  LedgerColumn column;
  column.fill(Yen{0});
  return column;
}

void AddLedgerColumn(LedgerColumn& total, const LedgerColumn& column) {
  for (std::size_t i = 0; i < total.size(); ++i) {
    if (!total[i] || !column[i]) {
      total[i] = std::nullopt;
      continue;
    }
    try {
      AddTo(*total[i], *column[i]);
    } catch (const MoneyOverflow&) {
      total[i] = std::nullopt;
    }
  }
}

std::string LedgerFigureText(int width, const LedgerFigure& figure) {
  if (!figure) return std::string(static_cast<std::size_t>(width), '*');
  return FormatAmount(width, *figure);
}

void DrawLedgerGrid(PageModel& page, double right, const LedgerGeometry& grid) {
  for (int row = 0; row < grid.rows; row += 2) page.FillBox(10, grid.RowTop(row), right, grid.RowTop(row + 1));
  page.SelectPen(page.thickPen);
  page.PutFrame(10, grid.top, right, grid.Bottom());
  page.PutLine(10, grid.RowTop(1), right, grid.RowTop(1));
}

void DrawLedgerLabels(PageModel& page, const Options& options, double right, const LedgerGeometry& grid) {
  page.condensed = true;
  const std::array<std::string, kLedgerRows> labels = LedgerRowLabels(options);
  for (int row = 1; row <= kLedgerRows; ++row) {
    page.bold = LedgerTotalRow(row);
    page.PutText(labels[static_cast<std::size_t>(row - 1)], 13, grid.RowY(row));
  }
  page.bold = false;
  page.SelectPen(page.thickPen);
  for (int row : {kPaymentTotalRow, kDeductionTotalRow, kNetPayRow}) {
    page.PutFrame(10, grid.RowTop(row), right, grid.RowTop(row + 1));
  }
  page.SelectPen(page.thinPen);
}

void DrawLedgerColumn(PageModel& page, const LedgerColumn& column, double x, int width, bool allBold,
                      const LedgerGeometry& grid) {
  for (int row = 1; row <= kLedgerRows; ++row) {
    page.bold = allBold || LedgerTotalRow(row);
    page.PutText(LedgerFigureText(width, column[static_cast<std::size_t>(row - 1)]), x, grid.RowY(row));
  }
  page.bold = false;
}

std::string ReportDateText(const CivilDate& today) {
  const EraYear era = EraOf(today);
  return Format("%s %d年 %d月 %d日", era.era.c_str(), era.year, today.month, today.day);
}

}  // namespace paylark::print
