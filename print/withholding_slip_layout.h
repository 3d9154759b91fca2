// Where the boxes of the 給与所得の源泉徴収票 (and of the 給与支払報告書（個人別明細書）, the same form)
// lie, one table per 年分: millimetres from the top-left corner of the slip, a slip being the upper
// or the lower half of an A4 sheet (A5 landscape). Every box is drawn as a frame with its heading in
// the upper-left corner; what the slip prints in it goes where the helpers below say, so a test can
// check a printed figure against the table.
#pragma once

#include <string>
#include <vector>

namespace paylark::print {

enum class SlipBox {
  RecipientLabel, Address, RecipientNumber, IndividualNumber, Position, Name,
  Kind, Paid, SalaryIncome, DeductionsTotal, Tax,
  SpouseMark, SpouseElderlyMark, SpouseDeduction,
  DependantsHeading, SpecificCount, ElderlyCount, OtherCount, SpecificRelativeCount, Under16Count,
  DisabledHeading, DisabledSpecialCount, DisabledOtherCount, NonResidentCount,
  SocialInsurance, LifeInsurance, Earthquake, HousingLoan,
  Remarks,
  LifeHeading, LifeNew, LifeOld, CareMedical, PensionNew, PensionOld,
  HousingBreakdown,
  Spouse, SpouseIncome, NationalPension, OldLongTerm, Basic, IncomeAdjustment, SpecificRelativeDeduction,
  Dependants, Under16s,
  Minor, Foreigner, DeathRetirement, Disaster, Otsu, SelfSpecialDisability, SelfOtherDisability, Widow,
  SingleParent, WorkingStudent,
  Hired, Retired, JobDate, Birth,
  PayerLabel, PayerNumber, PayerAddress, PayerName, PayerPhone,
};

// How a box shows its value.
enum class SlipValue {
  None,    // a heading only
  Amount,  // right-aligned at the foot of the box (whole yen with separators, counts)
  Mark,    // a "○" or "有" centred at the foot, in the text size
  Lines,   // left-aligned lines under the heading
  Inline,  // one line after the heading, on its row
};

struct SlipBoxPlace {
  SlipBox box;
  const char* heading;  // "\n" breaks it into lines
  double x1, y1, x2, y2;
  SlipValue value;
};

struct WithholdingSlipLayout {
  int year = 0;                       // 西暦 of the 年分
  double height = 0;                  // the slip's height; the sheet holds two
  std::vector<SlipBoxPlace> boxes;
  const SlipBoxPlace& Place(SlipBox box) const;  // throws std::out_of_range when the form has none
};

// The layout of a 年分 (令和7年分 and 令和8年分); another year throws std::out_of_range naming it.
const WithholdingSlipLayout& WithholdingSlipLayoutOf(int year);

// Font sizes (points) of headings, amounts and text lines.
inline constexpr int kSlipHeadingSize = 5;
inline constexpr int kSlipAmountSize = 9;
inline constexpr int kSlipTextSize = 7;

// The top of an amount's, a count's or a mark's text in the box, and where an amount ends.
double SlipValueTop(const SlipBoxPlace& place);
double SlipAmountRight(const SlipBoxPlace& place);
// Line `index` (from 0) of a Lines box, and the x where its lines and an Inline value start.
double SlipLineTop(const SlipBoxPlace& place, int index);
double SlipTextLeft(const SlipBoxPlace& place);

}  // namespace paylark::print
