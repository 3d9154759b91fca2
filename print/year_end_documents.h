// The year-end books and lists besides the slips: the 源泉徴収簿 of each employee, the company's
// 年末調整一覧表 with the 法定調書合計表's figures (and its CSV), and the 給与支払報告書 per
// municipality with its 総括表. Each is a Document over a YearEndSource, which must outlive it.
#pragma once

#include <string>
#include <vector>

#include "calc/withholding_scope.h"
#include "print/document.h"
#include "print/year_end_source.h"

namespace paylark::print {

// The filing facts of an employee from his particulars (役員) and the year's pay (退職).
FilingFacts FilingFactsOf(const YearEndEmployee& employee);
// Where the adjustment of an employee stands: "精算済", "計算済" or "対象外 (reason)".
std::string AdjustmentStatus(const YearEndEmployee& employee);

// 源泉徴収簿, landscape, one sheet per employee of `indexes` (every employee when empty): the
// twelve months and the bonuses, then the 年末調整 in the order of its calculation.
Document WithholdingBookDocument(const YearEndSource& source, std::vector<std::size_t> indexes = {});

// 年末調整一覧表, landscape: every employee with his figures, his status and whether his 源泉徴収票
// goes to the 税務署, the totals, and the 法定調書合計表's 給与所得 figures on the last sheet.
Document YearEndListDocument(const YearEndSource& source);
inline constexpr int kYearEndListRows = 25;  // employees per sheet
// The same list as CSV: UTF-8 with a byte order mark (a Japanese spreadsheet opens it as UTF-8),
// CRLF line ends, every field quoted.
std::string YearEndListCsv(const YearEndSource& source);

// 給与支払報告書, per municipality of the employees' 1 January addresses in the order first met: its
// 総括表, then the 個人別明細書 of its employees, two to a sheet. An employee without an address's
// municipality goes under "(市区町村未設定)".
struct MunicipalReport {
  std::string municipality;
  std::string number;  // the municipality's 指定番号, empty when not known
  std::vector<std::size_t> employees;  // in the municipality's report
  int retired = 0;                     // of them, left during the year
  int leftOut = 0;                     // leavers with small pay left out of the report
};
std::vector<MunicipalReport> MunicipalReportsOf(const YearEndSource& source);
Document SalaryReportDocument(const YearEndSource& source);

}  // namespace paylark::print
