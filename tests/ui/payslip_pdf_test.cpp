// Payslips written into a PDF file and read back with pdftotext -bbox: word positions in points.
#include <gtest/gtest.h>

#include <QStandardPaths>

#include "print/qt/pdf_report.h"
#include "session/print_rules.h"
#include "store/item_settings.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"
#include "ui_support/pdf_words.h"

namespace paylark {
namespace {

using testing::kPointsPerMm;
using Word = testing::PdfWord;

std::vector<Word> WordsOf(const std::filesystem::path& pdf, const std::filesystem::path& html) {
  return testing::PdfWordsOf(pdf, html);
}

TEST(PayslipPdfTest, TwoPayslipsOnASheetAreHalfASheetApartWithAmountsRightAligned) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "no pdftotext";
  testing::TempDir folder;
  OpenPeriod open;
  open.eraYear = {"令和", 6};
  open.periodIndex = 12;
  open.period.company = testing::TestCompany();
  const Yen pays[] = {280000, 1500, 95000};
  for (int slot = 1; slot <= 2; ++slot) {
    open.period.Employee(slot) = testing::TestEmployee("社員" + std::to_string(slot),
                                                       "24010" + std::to_string(slot) + "_090000", PayForm::Monthly, 0);
    PaymentRecord& pay = open.period.Payment(slot);
    pay.Set(Sikyu::BasePay, pays[0] * slot);
    pay.Set(Sikyu::FamilyAllowance, pays[1]);
    pay.Set(Sikyu::CommuteNonTaxable, pays[2]);
    pay.Set(Sikyu::Total, pays[0] * slot + pays[1] + pays[2]);
  }
  const Options options = [] {
    Options o;
    o.formType = 1;
    o.printYearToDate = false;
    return o;
  }();
  const ItemSettings salary = DefaultItemSettings(ItemKind::Salary);
  const ItemSettings bonus = DefaultItemSettings(ItemKind::Bonus);
  print::ReportSource source;
  source.open = &open;
  source.options = &options;
  source.salaryItems = &salary;
  source.bonusItems = &bonus;
  source.selectedSlots = {1, 2};
  source.payDate = {" 6", "12", "25"};
  source.today = {2024, 12, 20};

  const auto pdf = folder / "slips.pdf";
  const print::JobResult job = print::WritePdfReport(pdf, {print::rkPayslip, print::kSelectedRows}, source);
  ASSERT_TRUE(job.printed) << job.error;
  const std::vector<Word> words = WordsOf(pdf, folder / "slips.html");

  std::vector<double> titles;
  for (const Word& w : words) {
    if (w.text == "12月分給与") titles.push_back(w.yMin);
  }
  ASSERT_EQ(titles.size(), 2u);
  EXPECT_NEAR(titles[1] - titles[0], 148.5 * kPointsPerMm, 0.2);

  // The payment column: values start at 84.5 mm, ten characters of 10/2.8/2 mm each.
  const double columnEnd = (84.5 + 10 * (10 / 2.8 / 2)) * kPointsPerMm;
  std::vector<std::string> column;
  for (const Word& w : words) {
    // Rows of the upper payslip's blocks (from y 54 mm to the totals at 134 mm).
    if (w.yMin < 53 * kPointsPerMm || w.yMin > 140 * kPointsPerMm) continue;
    if (w.xMin < 84 * kPointsPerMm || w.xMax > 104 * kPointsPerMm) continue;
    column.push_back(w.text);
    EXPECT_NEAR(w.xMax, columnEnd, 0.3) << w.text;
  }
  for (const char* amount : {"280,000", "1,500", "95,000", "376,500"}) {
    EXPECT_NE(std::find(column.begin(), column.end(), amount), column.end()) << amount;
  }
}

}  // namespace
}  // namespace paylark
