#include "print/withholding_slip_layout.h"

#include <stdexcept>
#include <string>

namespace paylark::print {
namespace {

using enum SlipBox;
constexpr SlipValue kNone = SlipValue::None;
constexpr SlipValue kAmount = SlipValue::Amount;
constexpr SlipValue kMark = SlipValue::Mark;
constexpr SlipValue kLines = SlipValue::Lines;
constexpr SlipValue kInline = SlipValue::Inline;

constexpr double kPointMm = 1 / 2.8;  // the page model's cell height per point

// 令和7年分: the form of 令和2年分 (所得金額調整控除) with the boxes of 特定親族 (特親, 特定親族特別控除の額).
WithholdingSlipLayout Reiwa7() {
  WithholdingSlipLayout l;
  l.year = 2025;
  l.height = 148.5;
  l.boxes = {
      {RecipientLabel, "支払を\n受ける者", 10, 15, 22, 33, kNone},
      {Address, "住所又は居所", 22, 15, 118, 33, kLines},
      {RecipientNumber, "(受給者番号)", 118, 15, 200, 20, kInline},
      {IndividualNumber, "(個人番号)", 118, 20, 200, 25, kInline},
      {Position, "(役職名)", 118, 25, 145, 33, kLines},
      {Name, "氏名  (フリガナ)", 145, 25, 200, 33, kLines},

      {Kind, "種別", 10, 34, 40, 44, kLines},
      {Paid, "支払金額", 40, 34, 80, 44, kAmount},
      {SalaryIncome, "給与所得控除後の金額\n(調整控除後)", 80, 34, 125, 44, kAmount},
      {DeductionsTotal, "所得控除の額の合計額", 125, 34, 160, 44, kAmount},
      {Tax, "源泉徴収税額", 160, 34, 200, 44, kAmount},

      {SpouseMark, "(源泉・特別)\n控除対象配偶\n者の有無等", 10, 45, 24, 57, kMark},
      {SpouseElderlyMark, "老人", 24, 45, 34, 57, kMark},
      {SpouseDeduction, "配偶者(特別)\n控除の額", 34, 45, 62, 57, kAmount},
      {DependantsHeading, "控除対象扶養親族の数(配偶者を除く)", 62, 45, 136, 49.5, kNone},
      {SpecificCount, "特定", 62, 49.5, 80, 57, kAmount},
      {ElderlyCount, "老人", 80, 49.5, 104, 57, kAmount},
      {OtherCount, "その他", 104, 49.5, 122, 57, kAmount},
      {SpecificRelativeCount, "特親", 122, 49.5, 136, 57, kAmount},
      {Under16Count, "16歳未満\n扶養親族\nの数", 136, 45, 152, 57, kAmount},
      {DisabledHeading, "障害者の数(本人を除く)", 152, 45, 186, 49.5, kNone},
      {DisabledSpecialCount, "特別", 152, 49.5, 172, 57, kAmount},
      {DisabledOtherCount, "その他", 172, 49.5, 186, 57, kAmount},
      {NonResidentCount, "非居住者\nである親\n族の数", 186, 45, 200, 57, kAmount},

      {SocialInsurance, "社会保険料等の金額", 10, 58, 57, 66, kAmount},
      {LifeInsurance, "生命保険料の控除額", 57, 58, 105, 66, kAmount},
      {Earthquake, "地震保険料の控除額", 105, 58, 152, 66, kAmount},
      {HousingLoan, "住宅借入金等特別控除の額", 152, 58, 200, 66, kAmount},

      {Remarks, "(摘要)", 10, 67, 200, 79, kLines},

      {LifeHeading, "生命保険料\nの金額の\n内訳", 10, 80, 30, 87, kNone},
      {LifeNew, "新生命保険料の金額", 30, 80, 64, 87, kAmount},
      {LifeOld, "旧生命保険料の金額", 64, 80, 98, 87, kAmount},
      {CareMedical, "介護医療保険料の金額", 98, 80, 132, 87, kAmount},
      {PensionNew, "新個人年金保険料の金額", 132, 80, 166, 87, kAmount},
      {PensionOld, "旧個人年金保険料の金額", 166, 80, 200, 87, kAmount},

      {HousingBreakdown,
       "住宅借入金等特別控除の額の内訳 (適用数・居住開始年月日・控除区分・年末残高・控除可能額)", 10, 87, 200, 92,
       kNone},

      {Spouse, "(源泉・特別)控除対象配偶者  氏名・区分", 10, 93, 110, 107, kLines},
      {SpouseIncome, "配偶者の合計所得", 110, 93, 140, 100, kAmount},
      {NationalPension, "国民年金保険料等の金額", 140, 93, 170, 100, kAmount},
      {OldLongTerm, "旧長期損害保険料の金額", 170, 93, 200, 100, kAmount},
      {Basic, "基礎控除の額", 110, 100, 140, 107, kAmount},
      {IncomeAdjustment, "所得金額調整控除額", 140, 100, 170, 107, kAmount},
      {SpecificRelativeDeduction, "特定親族特別控除の額", 170, 100, 200, 107, kAmount},

      {Dependants, "控除対象扶養親族  氏名・区分", 10, 108, 105, 124, kLines},
      {Under16s, "16歳未満の扶養親族  氏名・区分", 105, 108, 200, 124, kLines},

      {Minor, "未成年者", 10, 125, 19.5, 132, kMark},
      {Foreigner, "外国人", 19.5, 125, 29, 132, kMark},
      {DeathRetirement, "死亡退職", 29, 125, 38.5, 132, kMark},
      {Disaster, "災害者", 38.5, 125, 48, 132, kMark},
      {Otsu, "乙欄", 48, 125, 57.5, 132, kMark},
      {SelfSpecialDisability, "障害者特別", 57.5, 125, 67, 132, kMark},
      {SelfOtherDisability, "障害その他", 67, 125, 76.5, 132, kMark},
      {Widow, "寡婦", 76.5, 125, 86, 132, kMark},
      {SingleParent, "ひとり親", 86, 125, 95.5, 132, kMark},
      {WorkingStudent, "勤労学生", 95.5, 125, 105, 132, kMark},
      {Hired, "中途就職", 105, 125, 117, 132, kMark},
      {Retired, "中途退職", 117, 125, 129, 132, kMark},
      {JobDate, "就職・退職 年月日", 129, 125, 159, 132, kLines},
      {Birth, "受給者生年月日", 159, 125, 200, 132, kLines},

      {PayerLabel, "支払者", 10, 133, 22, 146.5, kNone},
      {PayerNumber, "個人番号又は法人番号", 22, 133, 200, 137.5, kInline},
      {PayerAddress, "住所(居所)又は所在地", 22, 137.5, 200, 142, kInline},
      {PayerName, "氏名又は名称", 22, 142, 150, 146.5, kInline},
      {PayerPhone, "(電話)", 150, 142, 200, 146.5, kInline},
  };
  return l;
}

// 令和8年分: no change of the slip's boxes is known; the year has its own table so that one found
// later is a change here alone.
WithholdingSlipLayout Reiwa8() {
  WithholdingSlipLayout l = Reiwa7();
  l.year = 2026;
  return l;
}

}  // namespace

const SlipBoxPlace& WithholdingSlipLayout::Place(SlipBox box) const {
  for (const SlipBoxPlace& p : boxes)
    if (p.box == box) return p;
  throw std::out_of_range("the slip of " + std::to_string(year) + " has no such box");
}

const WithholdingSlipLayout& WithholdingSlipLayoutOf(int year) {
  static const WithholdingSlipLayout r7 = Reiwa7();
  static const WithholdingSlipLayout r8 = Reiwa8();
  if (year == r7.year) return r7;
  if (year == r8.year) return r8;
  throw std::out_of_range("源泉徴収票の様式がありません: " + std::to_string(year) + "年分");
}

double SlipValueTop(const SlipBoxPlace& p) {
  if (p.value == SlipValue::Mark) return p.y2 - 0.6 - kSlipTextSize * kPointMm;
  return p.y2 - 0.7 - kSlipAmountSize * kPointMm;
}
double SlipAmountRight(const SlipBoxPlace& p) { return p.x2 - 1.5; }

// Lines start under the heading's first line; an inline value sits beside the heading.
double SlipLineTop(const SlipBoxPlace& p, int index) {
  if (p.value == SlipValue::Inline) return p.y1 + 1.0;
  return p.y1 + 0.5 + kSlipHeadingSize * kPointMm + 0.4 + index * (kSlipTextSize * kPointMm + 0.3);
}
double SlipTextLeft(const SlipBoxPlace& p) {
  return p.value == SlipValue::Inline ? p.x1 + 22 : p.x1 + 1.5;
}

}  // namespace paylark::print
