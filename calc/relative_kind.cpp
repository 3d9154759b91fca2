#include "calc/relative_kind.h"

namespace paylark {
namespace {

bool InSpecificRange(const YearEndRules& rules, const CivilDate& birth) {
  return rules.specificBornFrom <= birth && birth <= rules.specificBornUntil;
}

bool WithinRelativeLimit(const YearEndRules& rules, const DeclaredPerson& p) {
  return p.income <= rules.relativeIncomeLimit;
}

bool IsSpecialDisability(DisabilityKind k) {
  return k == DisabilityKind::Special || k == DisabilityKind::SpecialCohabiting;
}

}  // namespace

RelativeKind KindOfRelative(const YearEndRules& rules, const DeclaredPerson& p) {
  if (p.birth == CivilDate{}) return RelativeKind::NotCounted;
  if (WithinRelativeLimit(rules, p)) {
    if (p.birth >= rules.under16BornFrom) return RelativeKind::Under16;
    if (InSpecificRange(rules, p.birth)) return RelativeKind::Specific;
    if (p.birth <= rules.elderlyBornUntil)
      return p.cohabiting ? RelativeKind::ElderlyCohabiting : RelativeKind::Elderly;
    return RelativeKind::General;
  }
  // 特定親族: within the rows of 特定親族特別控除 (above the last row it gives nothing).
  if (InSpecificRange(rules, p.birth) && !rules.specificRelative.empty() &&
      p.income <= rules.specificRelative.back().upTo)
    return RelativeKind::SpecificRelative;
  return RelativeKind::NotCounted;
}

SpouseKind KindOfSpouse(const YearEndRules& rules, const DeclaredPerson& spouse) {
  if (WithinRelativeLimit(rules, spouse))
    return spouse.birth != CivilDate{} && spouse.birth <= rules.elderlyBornUntil ? SpouseKind::Elderly
                                                                                : SpouseKind::General;
  if (!rules.spouseSpecial.empty() && spouse.income <= rules.spouseSpecial.back().upTo) return SpouseKind::Special;
  return SpouseKind::NotCounted;
}

const char* RelativeKindLabel(RelativeKind kind) {
  switch (kind) {
    case RelativeKind::General: return "一般";
    case RelativeKind::Specific: return "特定";
    case RelativeKind::Elderly: return "老人";
    case RelativeKind::ElderlyCohabiting: return "同居老親等";
    case RelativeKind::Under16: return "16歳未満";
    case RelativeKind::SpecificRelative: return "特定親族";
    case RelativeKind::NotCounted: return "対象外";
  }
  return "対象外";
}

const char* SpouseKindLabel(SpouseKind kind) {
  switch (kind) {
    case SpouseKind::General: return "一般";
    case SpouseKind::Elderly: return "老人";
    case SpouseKind::Special: return "配偶者特別";
    case SpouseKind::NotCounted: return "対象外";
  }
  return "対象外";
}

SlipRelativeCounts CountRelatives(const YearEndRules& rules, const Declaration& d, const YearEndResult* result) {
  SlipRelativeCounts c;
  // 障害者 and 非居住者 are counted among the 同一生計配偶者 and the 扶養親族 (children under 16
  // included), as the calculation gives 障害者控除.
  auto countPerson = [&c](const DeclaredPerson& p) {
    if (IsSpecialDisability(p.disability)) {
      ++c.disabledSpecial;
      if (p.disability == DisabilityKind::SpecialCohabiting) ++c.disabledSpecialCohabiting;
    } else if (p.disability == DisabilityKind::General) {
      ++c.disabledOther;
    }
  };
  if (d.spouse) {
    const SpouseKind kind = KindOfSpouse(rules, *d.spouse);
    if (result) {
      c.spouse = result->spouse > 0 || result->spouseSpecial > 0;
      c.spouseElderly = result->spouse > 0 && kind == SpouseKind::Elderly;
    } else {
      c.spouse = kind == SpouseKind::General || kind == SpouseKind::Elderly;
      c.spouseElderly = kind == SpouseKind::Elderly;
    }
    if (kind == SpouseKind::General || kind == SpouseKind::Elderly) countPerson(*d.spouse);
    if (c.spouse && d.spouse->nonResident) ++c.nonResident;
  }
  for (const DeclaredPerson& p : d.dependants) {
    const RelativeKind kind = KindOfRelative(rules, p);
    switch (kind) {
      case RelativeKind::General: ++c.other; break;
      case RelativeKind::Specific: ++c.specific; break;
      case RelativeKind::Elderly: ++c.elderly; break;
      case RelativeKind::ElderlyCohabiting:
        ++c.elderly;
        ++c.elderlyCohabiting;
        break;
      case RelativeKind::Under16: ++c.under16; break;
      case RelativeKind::SpecificRelative: ++c.specificRelative; break;
      case RelativeKind::NotCounted: continue;
    }
    if (kind != RelativeKind::SpecificRelative) countPerson(p);
    if (p.nonResident) ++c.nonResident;
  }
  return c;
}

}  // namespace paylark
