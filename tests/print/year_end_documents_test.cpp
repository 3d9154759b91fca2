#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "calc/withholding_book.h"
#include "print/withholding_slip.h"
#include "print/year_end_documents.h"
#include "support/payroll_fixture.h"
#include "support/recording_canvas.h"
#include "support/year_end_fixture.h"

namespace paylark::print {
namespace {

using testing::RecordingCanvas;
using testing::YearEndFixture;

constexpr char kYamada[] = "250401_090000";

// 山田's year in the 令和7 file: twelve salaries of 400,000 (社会保険料 60,000, 所得税 8,000, 扶養
// 4人), the 年末調整 refund of 5,000 in December, a summer bonus of 600,000 paid on 10 July; and the
// December salary of 令和6, paid in 2024, which is not of the year.
std::vector<YearFileContent> YamadaFiles() {
  std::vector<YearFileContent> files(2);
  files[0].eraYear = {"令和", 7};
  files[0].header.SetBonusMonth(13, 7);
  files[0].header.SetBonusDay(13, 10);
  auto block = [](Yen gross, Yen social, Yen tax) {
    PeriodBlock b;
    b.company = testing::TestCompany();
    b.company.SetPayDay(25);
    EmployeeRecord& e = b.Employee(3);
    e = testing::TestEmployee("山田　太郎", kYamada, PayForm::Monthly, 400000);
    e.SetTaxDependants(4);
    b.Payment(3).Set(Sikyu::TaxableTotal, gross);
    b.Payment(3).Set(Sikyu::Total, gross);
    b.Deduction(3).Set(Koujo::SocialTotal, social);
    b.Deduction(3).Set(Koujo::IncomeTax, tax);
    return b;
  };
  for (int month = 1; month <= 12; ++month) files[0].periods.emplace_back(month, block(400000, 60000, 8000));
  files[0].periods[11].second.Deduction(3).Set(Koujo::YearEndAdjustment, -5000);
  files[0].periods.emplace_back(13, block(600000, 90000, 30000));
  files[1].eraYear = {"令和", 6};
  files[1].periods.emplace_back(12, block(999999, 0, 1));
  return files;
}

// Every row of text drawn on the sheet, by its y, the characters in x order.
std::vector<std::string> Rows(const RecordingCanvas& canvas) {
  std::map<int, int> ys;
  for (const auto& t : canvas.texts) ys[t.y] = 0;
  std::vector<std::string> rows;
  for (const auto& [y, unused] : ys) rows.push_back(canvas.TextBetween(y, 0, 1 << 30));
  return rows;
}
bool HasRow(const std::vector<std::string>& rows, const std::string& text) {
  return std::find(rows.begin(), rows.end(), text) != rows.end();
}

class YearEndDocumentsTest : public ::testing::Test {
 protected:
  YearEndDocumentsTest() {
    page.dotsPerMmX = page.dotsPerMmY = 10;
    page.canvas = &canvas;
  }
  std::vector<std::string> Draw(const Document& document, int sheet) {
    canvas = RecordingCanvas();
    document.drawPage(page, sheet);
    return Rows(canvas);
  }
  YearEndFixture fixture;
  PageModel page;
  RecordingCanvas canvas;
};

TEST(WithholdingBook, GathersThePaysOfTheYearByPaymentDate) {
  const WithholdingBook book = GatherWithholdingBook(YamadaFiles(), 2025, kYamada);
  ASSERT_EQ(book.salaries.size(), 12u);
  ASSERT_EQ(book.bonuses.size(), 1u);
  EXPECT_EQ(book.salaries[0].paid, (CivilDate{2025, 1, 25}));
  EXPECT_EQ(book.bonuses[0].paid, (CivilDate{2025, 7, 10}));
  EXPECT_EQ(book.salaries[11].adjustment, -5000);
  EXPECT_EQ(book.salaries[11].collected, 3000);
  EXPECT_EQ(book.salaries[0].afterSocial, 340000);
  EXPECT_EQ(book.salaries[0].dependants, 4);
  EXPECT_EQ(book.salaryTotal.gross, 4800000);
  EXPECT_EQ(book.salaryTotal.tax, 96000);
  EXPECT_EQ(book.salaryTotal.collected, 91000);
  EXPECT_EQ(book.bonusTotal.afterSocial, 510000);
  // Another key, or none, has no rows: an empty key must not match the empty slots.
  EXPECT_TRUE(GatherWithholdingBook(YamadaFiles(), 2025, "").salaries.empty());
  EXPECT_TRUE(GatherWithholdingBook(YamadaFiles(), 2024, kYamada).bonuses.empty());
  EXPECT_EQ(GatherWithholdingBook(YamadaFiles(), 2024, kYamada).salaries.size(), 1u);
}

TEST_F(YearEndDocumentsTest, WithholdingBookShowsTheMonthsAndTheAdjustmentInOrder) {
  const std::vector<YearFileContent> files = YamadaFiles();
  fixture.source.files = &files;
  const Document book = WithholdingBookDocument(fixture.source);
  EXPECT_EQ(book.pageCount, 3);
  EXPECT_TRUE(book.landscape);
  const std::vector<std::string> rows = Draw(book, 0);
  EXPECT_TRUE(HasRow(rows, "給与1月1月25日400,00060,000340,0004人8,0008,000"));
  EXPECT_TRUE(HasRow(rows, "給与12月12月25日400,00060,000340,0004人8,000-5,0003,000"));
  EXPECT_TRUE(HasRow(rows, "賞与7月10日600,00090,000510,0004人30,00030,000"));
  EXPECT_TRUE(HasRow(rows, "計4,800,000720,0004,080,00096,000-5,00091,000"));
  // The adjustment's lines, top to bottom in the order of the calculation.
  std::size_t previous = 0;
  for (const char* line : {"給与の総額6,000,000", "給与所得控除後の給与等の金額4,360,000", "所得控除額の合計額3,240,000",
                           "差引課税給与所得金額(1,000円未満切捨て)1,120,000", "算出所得税額56,000",
                           "年調年税額(×102.1%,100円未満切捨て)57,100", "差引超過額92,900"}) {
    const auto at = std::find(rows.begin(), rows.end(), line);
    ASSERT_NE(at, rows.end()) << line;
    const std::size_t index = static_cast<std::size_t>(at - rows.begin());
    EXPECT_GT(index, previous) << line;
    previous = index;
  }
  // 佐藤 was not adjusted: the section says why.
  const std::vector<std::string> sato = Draw(book, 1);
  EXPECT_TRUE(HasRow(sato, "年末調整の対象外:年の中途で退職"));
}

TEST_F(YearEndDocumentsTest, YearEndListMarksTheFilingScopeAndTotals) {
  const Document list = YearEndListDocument(fixture.source);
  EXPECT_EQ(list.pageCount, 1);
  const std::vector<std::string> rows = Draw(list, 0);
  EXPECT_TRUE(HasRow(rows, "250401_090000山田　太郎精算済6,000,000900,0003,240,0001,120,00057,100150,000-92,900○年末調整済・5,000,000円超"));
  EXPECT_TRUE(HasRow(rows, "250401_090001佐藤　花対象外(年の中途で退職)1,000,000150,00000020,0000－年末調整なし・2,500,000円以下"));
  EXPECT_TRUE(HasRow(rows, "俸給・給与・賞与等の総額37,600,00095,100"));
  EXPECT_TRUE(HasRow(rows, "合計3人7,600,0001,050,0003,240,0001,120,00057,100188,000-92,900"));
  EXPECT_TRUE(HasRow(rows, "源泉徴収票を提出するもの26,600,00075,100"));

  const std::string csv = YearEndListCsv(fixture.source);
  EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(csv.find("\"250401_090002\",\"鈴木　次郎\",\"対象外 (乙欄)\",\"600000\""), std::string::npos);
  EXPECT_NE(csv.find("\"提出\",\"乙欄・丙欄・500,000円超\"\r\n"), std::string::npos);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6);
}

TEST_F(YearEndDocumentsTest, SalaryReportPerMunicipalityWithItsSummary) {
  fixture.source.municipalityNumbers = {{"東京都新宿区", "00012345"}};
  const std::vector<MunicipalReport> reports = MunicipalReportsOf(fixture.source);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].municipality, "東京都新宿区");
  EXPECT_EQ(reports[0].number, "00012345");
  EXPECT_EQ(reports[0].employees, (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(reports[1].municipality, "横浜市");
  EXPECT_EQ(reports[1].employees.size(), 1u);
  EXPECT_EQ(reports[1].retired, 1);

  const Document report = SalaryReportDocument(fixture.source);
  EXPECT_EQ(report.pageCount, 4);  // 新宿区: 総括表 and one sheet of two; 横浜市: 総括表 and one
  std::vector<std::string> rows = Draw(report, 0);
  EXPECT_TRUE(HasRow(rows, "東京都新宿区長殿令和8年1月20日提出"));
  EXPECT_TRUE(HasRow(rows, "報告人員2人"));
  EXPECT_TRUE(HasRow(rows, "指定番号00012345"));
  rows = Draw(report, 1);
  EXPECT_TRUE(HasRow(rows, "令和7年分給与支払報告書（個人別明細書）"));
  EXPECT_EQ(std::count(rows.begin(), rows.end(), "令和7年分給与支払報告書（個人別明細書）"), 2);
  rows = Draw(report, 2);
  EXPECT_TRUE(HasRow(rows, "普通徴収対象者(退職者)1人"));

  // A leaver with small pay is left out of his municipality's report.
  fixture.source.employees[1].adjustment.pay.salary = 300000;
  EXPECT_EQ(MunicipalReportsOf(fixture.source)[1].leftOut, 1);
  EXPECT_EQ(SalaryReportDocument(fixture.source).pageCount, 2);
}

}  // namespace
}  // namespace paylark::print
