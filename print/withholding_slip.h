// 給与所得の源泉徴収票 (受給者交付用) and 給与支払報告書（個人別明細書）: what one employee's slip prints,
// gathered from the year-end source, and its drawing on the layout of the 年分
// (print/withholding_slip_layout.h), two slips to an A4 sheet with a cutting line between them.
// The individual numbers (マイナンバー) are not kept by the program: their boxes stay empty for hand
// entry.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/relative_kind.h"
#include "print/document.h"
#include "print/page_model.h"
#include "print/withholding_slip_layout.h"
#include "print/year_end_source.h"

namespace paylark::print {

enum class SlipForm {
  Recipient,  // 給与所得の源泉徴収票 (受給者交付用)
  Report,     // 給与支払報告書（個人別明細書） for the municipality
};

struct WithholdingSlip {
  int year = 0;
  SlipForm form = SlipForm::Recipient;
  std::string recipientNumber;
  std::vector<std::string> address;  // 〒 and the address, in lines
  std::string position;
  std::string furigana;
  std::string name;
  std::string kind;  // 種別: 給料・賞与
  // Blank when not set: 給与所得控除後の金額 and 所得控除の額の合計額 are blank without an adjustment.
  std::optional<Yen> paid, salaryIncome, deductionsTotal, tax;
  std::optional<Yen> spouseDeduction, socialInsurance, smallBusiness, lifeInsurance, earthquake, housingLoan;
  std::optional<Yen> lifeNew, lifeOld, careMedical, pensionNew, pensionOld;
  std::optional<Yen> spouseIncome, oldLongTerm, basic, incomeAdjustment, specificRelativeDeduction;
  std::optional<SlipRelativeCounts> counts;  // none without a declaration
  std::vector<std::string> spouse;           // 氏名, 区分
  std::vector<std::string> dependants;       // "氏名 (区分)", at most four; the rest go to 摘要
  std::vector<std::string> under16s;
  std::vector<std::string> remarks;
  bool otsu = false, selfSpecialDisability = false, selfOtherDisability = false, widow = false,
       singleParent = false, workingStudent = false;
  bool hired = false, retired = false;
  std::string jobDate;  // 退職日 (or 就職日), "令和 7年 6月30日"
  std::string birth;
  std::string payerNumber;  // 法人番号; not on the 受給者交付用
  std::string payerAddress;
  std::string payerName;
  std::string payerPhone;
};

// The slip of employee `index` of the source. Throws std::out_of_range for a year without a layout.
WithholdingSlip WithholdingSlipOf(const YearEndSource& source, std::size_t index, SlipForm form);

// One slip with its top at `top` mm of the sheet (0 or the layout's height).
void DrawWithholdingSlip(PageModel& page, const WithholdingSlip& slip, double top);

// The dashed cutting line across the sheet at `y` mm.
void DrawCuttingLine(PageModel& page, double y);

// The sheets of the slips of the employees `indexes` of the source (every employee when empty),
// two to a sheet, upper then lower, with a cutting line. The document refers to `source`.
Document WithholdingSlipDocument(const YearEndSource& source, std::vector<std::size_t> indexes = {});

}  // namespace paylark::print
