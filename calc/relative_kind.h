// The kind each declared relative becomes in the year of the 年末調整, decided on 31 December by
// the birth date and the estimated 合計所得 against the year's rules (store/year_end_rules.h), with
// the same decisions as the calculation (calc/year_end.h): the screens show it beside each row of
// the 扶養控除等申告書, the 源泉徴収票 prints its counts.
#pragma once

#include "calc/year_end.h"
#include "store/declarations.h"
#include "store/year_end_rules.h"

namespace paylark {

// A dependant (扶養親族, a child under 16, a 特定親族).
enum class RelativeKind {
  General,            // 一般の控除対象扶養親族
  Specific,           // 特定扶養親族 (19歳以上23歳未満)
  Elderly,            // 老人扶養親族 (70歳以上)
  ElderlyCohabiting,  // 同居老親等
  Under16,            // 16歳未満の扶養親族 (no 扶養控除; counts for 障害者控除 and 所得金額調整控除)
  SpecificRelative,   // 特定親族 (19歳以上23歳未満, income above the 扶養親族's limit: 特定親族特別控除)
  NotCounted,         // 対象外: income over the limits (or no birth date)
};

// The spouse (配偶者控除, 配偶者特別控除), as far as the spouse's own birth date and income decide
// it; whether the employee's own 合計所得 still allows it is the calculation's.
enum class SpouseKind {
  General,     // 控除対象配偶者 (同一生計配偶者)
  Elderly,     // 老人控除対象配偶者 (70歳以上)
  Special,     // 配偶者特別控除の対象
  NotCounted,  // 対象外: income over the limits
};

RelativeKind KindOfRelative(const YearEndRules& rules, const DeclaredPerson& person);
SpouseKind KindOfSpouse(const YearEndRules& rules, const DeclaredPerson& spouse);

// "一般", "特定", "老人", "同居老親等", "16歳未満", "特定親族", "対象外".
const char* RelativeKindLabel(RelativeKind kind);
// "一般", "老人", "配偶者特別", "対象外".
const char* SpouseKindLabel(SpouseKind kind);

// The counts of the 源泉徴収票 (boxes 控除対象配偶者の有無等 to 非居住者である親族の数). The 従有 and
// 従人 boxes belong to a 従たる給与 declaration, which this program does not keep: they stay empty.
struct SlipRelativeCounts {
  bool spouse = false;         // 控除対象配偶者の有無: 有 (配偶者控除 or 配偶者特別控除)
  bool spouseElderly = false;  // 老人 (a 老人控除対象配偶者)
  int specific = 0;            // 特定
  int elderly = 0;             // 老人 (同居老親等 included)
  int elderlyCohabiting = 0;   // 内 (同居老親等)
  int other = 0;               // その他 (一般)
  int specificRelative = 0;    // 特親
  int under16 = 0;             // 16歳未満扶養親族の数
  int disabledSpecial = 0;     // 障害者の数 特別 (同居 included), the employee not counted
  int disabledSpecialCohabiting = 0;  // 内 (同居特別障害者)
  int disabledOther = 0;       // その他
  int nonResident = 0;         // 非居住者である親族の数 (of those counted above)
  bool operator==(const SlipRelativeCounts&) const = default;
};

// `result` is the employee's adjustment when he was adjusted: the spouse is then 有 only when the
// calculation gave 配偶者控除 or 配偶者特別控除 (the employee's own income decides too). Without it
// (not adjusted) the spouse's kind alone decides, and 配偶者特別控除 does not count.
SlipRelativeCounts CountRelatives(const YearEndRules& rules, const Declaration& declaration,
                                  const YearEndResult* result);

}  // namespace paylark
