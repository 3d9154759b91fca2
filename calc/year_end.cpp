#include "calc/year_end.h"

#include <algorithm>
#include <cstdint>

namespace paylark {
namespace {

// Narrows a product computed in 64 bits; a result outside the yen range is an overflow.
Yen ToYen(std::int64_t v) {
  if (v < INT32_MIN || v > INT32_MAX) throw MoneyOverflow("金額が範囲を超えました");
  return static_cast<Yen>(v);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

Yen AmountForIncome(const std::vector<AmountUpTo>& rows, Yen income) {
  for (const AmountUpTo& row : rows)
    if (income <= row.upTo) return row.amount;
  return 0;
}

// The column of the employee's own 合計所得 (≤ 900万, ≤ 950万, ≤ 1,000万); none above.
std::optional<int> EmployeeBand(const YearEndRules& rules, Yen income) {
  for (int i = 0; i < 3; ++i)
    if (income <= rules.employeeIncomeBands[i]) return i;
  return std::nullopt;
}

Yen PremiumDeduction(const PremiumFormula& formula, Yen premium) {
  if (premium <= 0) return 0;
  for (const PremiumBracket& b : formula.brackets)
    if (premium <= b.upTo)
      return CheckedAdd(ToYen(CeilDiv(std::int64_t{premium} * b.num, b.den)), b.add);
  return formula.cap;
}

// One kind with new and old contracts: the best of new only, old only and both up to the cap.
Yen NewAndOld(const PremiumFormula& newFormula, const PremiumFormula& oldFormula, Yen newPremium, Yen oldPremium,
              Yen combinedCap) {
  const Yen fromNew = PremiumDeduction(newFormula, newPremium);
  const Yen fromOld = PremiumDeduction(oldFormula, oldPremium);
  if (newPremium <= 0 || oldPremium <= 0) return std::max(fromNew, fromOld);
  return std::max({fromNew, fromOld, std::min(CheckedAdd(fromNew, fromOld), combinedCap)});
}

bool InRange(const CivilDate& d, const CivilDate& from, const CivilDate& until) { return from <= d && d <= until; }
bool IsSpecialDisability(DisabilityKind k) {
  return k == DisabilityKind::Special || k == DisabilityKind::SpecialCohabiting;
}

Yen RelativeDisability(const YearEndRules& rules, DisabilityKind k) {
  switch (k) {
    case DisabilityKind::None: return 0;
    case DisabilityKind::General: return rules.disabilityGeneral;
    case DisabilityKind::Special: return rules.disabilitySpecial;
    case DisabilityKind::SpecialCohabiting: return rules.disabilitySpecialCohabiting;
  }
  return 0;
}

}  // namespace

const std::vector<YearEndLine>& YearEndLines() {
  static const std::vector<YearEndLine> lines{
      {"給与所得控除後の金額", &YearEndResult::salaryIncome},
      {"所得金額調整控除額", &YearEndResult::incomeAdjustment},
      {"社会保険料控除", &YearEndResult::socialInsurance},
      {"小規模企業共済等掛金控除", &YearEndResult::smallBusinessMutualAid},
      {"生命保険料控除", &YearEndResult::lifeInsurance},
      {"地震保険料控除", &YearEndResult::earthquakeInsurance},
      {"配偶者控除", &YearEndResult::spouse},
      {"配偶者特別控除", &YearEndResult::spouseSpecial},
      {"扶養控除", &YearEndResult::dependants},
      {"障害者等の控除", &YearEndResult::disabilityEtc},
      {"基礎控除", &YearEndResult::basic},
      {"特定親族特別控除", &YearEndResult::specificRelative},
      {"所得控除の合計", &YearEndResult::deductionsTotal},
      {"課税給与所得金額", &YearEndResult::taxableIncome},
      {"算出所得税額", &YearEndResult::computedTax},
      {"住宅借入金等特別控除額", &YearEndResult::housingLoanCredit},
      {"年調所得税額", &YearEndResult::adjustedIncomeTax},
      {"年調年税額", &YearEndResult::annualTax},
      {"過不足額", &YearEndResult::difference},
  };
  return lines;
}

Yen SalaryIncomeAfterDeduction(const YearEndRules& rules, Yen totalPay) {
  if (totalPay <= 0 || rules.salaryIncome.empty()) return 0;
  const SalaryIncomeBand* band = &rules.salaryIncome.front();
  for (const SalaryIncomeBand& b : rules.salaryIncome)
    if (b.from <= totalPay) band = &b;
  std::int64_t v = 0;
  switch (band->kind) {
    case SalaryIncomeBand::Kind::Zero: return 0;
    case SalaryIncomeBand::Kind::Less: v = std::int64_t{totalPay} - band->minus; break;
    case SalaryIncomeBand::Kind::Band: {
      const std::int64_t cut = std::int64_t{totalPay} / band->unit * band->unit;
      v = FloorDiv(cut * band->num, band->den) - band->minus;
      break;
    }
    case SalaryIncomeBand::Kind::Rate: v = FloorDiv(std::int64_t{totalPay} * band->num, band->den) - band->minus; break;
  }
  return ToYen(std::max<std::int64_t>(v, 0));
}

Yen LifeInsuranceDeduction(const YearEndRules& rules, const LifeInsurancePremiums& p, bool youngDependant) {
  const bool young = youngDependant && rules.lifeNewWithYoung.Present();
  const Yen general = NewAndOld(young ? rules.lifeNewWithYoung : rules.lifeNew, rules.lifeOld, p.newGeneral,
                                p.oldGeneral, young ? rules.lifeCombinedWithYoungCap : rules.lifeCombinedCap);
  const Yen care = PremiumDeduction(rules.lifeNew, p.careMedical);
  const Yen pension = NewAndOld(rules.lifeNew, rules.lifeOld, p.newPension, p.oldPension, rules.lifeCombinedCap);
  return std::min(CheckedAdd(CheckedAdd(general, care), pension), rules.lifeTotalCap);
}

YearEndResult ComputeYearEnd(const YearEndRules& rules, const YearEndInput& in) {
  YearEndResult r;
  r.totalPay = CheckedAdd(CheckedAdd(in.salary, in.bonus), in.previousPaid);
  r.withheld = CheckedAdd(in.withheld, in.previousWithheld);
  r.salaryIncome = SalaryIncomeAfterDeduction(rules, r.totalPay);

  // Relatives: who is a 扶養親族 (income within the limit), of which kind, who is under 23.
  const CivilDate noDate{};
  bool youngDependant = false;
  bool specialDisabledRelative = false;
  Yen disability = 0;
  for (const DeclaredRelative& d : in.dependants) {
    if (d.birth == noDate) continue;
    if (d.income <= rules.relativeIncomeLimit) {
      if (d.birth >= rules.youngBornFrom) youngDependant = true;
      if (IsSpecialDisability(d.disability)) specialDisabledRelative = true;
      AddTo(disability, RelativeDisability(rules, d.disability));
      if (d.birth >= rules.under16BornFrom) continue;  // 年少扶養親族: no 扶養控除
      Yen amount = rules.dependantGeneral;
      if (InRange(d.birth, rules.specificBornFrom, rules.specificBornUntil))
        amount = rules.dependantSpecific;
      else if (d.birth <= rules.elderlyBornUntil)
        amount = d.cohabiting ? rules.dependantElderlyCohabiting : rules.dependantElderly;
      AddTo(r.dependants, amount);
    } else if (InRange(d.birth, rules.specificBornFrom, rules.specificBornUntil)) {
      AddTo(r.specificRelative, AmountForIncome(rules.specificRelative, d.income));  // 特定親族
    }
  }
  const bool sameHouseholdSpouse = in.spouse && in.spouse->income <= rules.relativeIncomeLimit;
  if (sameHouseholdSpouse) {
    if (IsSpecialDisability(in.spouse->disability)) specialDisabledRelative = true;
    AddTo(disability, RelativeDisability(rules, in.spouse->disability));
  }

  // 所得金額調整控除 (子ども・特別障害者等).
  if (in.incomeAdjustmentDeclared && r.totalPay > rules.adjustmentThreshold &&
      (IsSpecialDisability(in.employeeDisability) || youngDependant || specialDisabledRelative)) {
    const std::int64_t base = std::int64_t{std::min(r.totalPay, rules.adjustmentCap)} - rules.adjustmentThreshold;
    r.incomeAdjustment = ToYen(CeilDiv(base * rules.adjustmentNum, rules.adjustmentDen));
  }
  const Yen salaryIncomeAdjusted = CheckedSub(r.salaryIncome, r.incomeAdjustment);
  const Yen ownIncome = CheckedAdd(salaryIncomeAdjusted, in.otherIncome);  // 本人の合計所得

  r.socialInsurance =
      CheckedAdd(CheckedAdd(in.socialInsurance, in.previousSocialInsurance), in.declaredSocialInsurance);
  r.smallBusinessMutualAid = in.smallBusinessMutualAid;
  r.lifeInsurance = LifeInsuranceDeduction(rules, in.life, youngDependant);
  r.earthquakeInsurance =
      std::min(CheckedAdd(std::min(std::max(in.earthquake, 0), rules.earthquakeCap),
                          PremiumDeduction(rules.oldLongTerm, in.oldLongTerm)),
               rules.earthquakeTotalCap);

  if (in.spouse) {
    if (const std::optional<int> band = EmployeeBand(rules, ownIncome)) {
      if (sameHouseholdSpouse) {
        const bool elderly = in.spouse->birth != noDate && in.spouse->birth <= rules.elderlyBornUntil;
        r.spouse = (elderly ? rules.spouseElderly : rules.spouseGeneral)[*band];
      } else {
        for (const ColumnsUpTo& row : rules.spouseSpecial)
          if (in.spouse->income <= row.upTo) {
            r.spouseSpecial = row.amounts[*band];
            break;
          }
      }
    }
  }

  // 障害者等: the relatives' 障害者控除, the employee's own, 寡婦 or ひとり親, 勤労学生.
  if (in.employeeDisability == DisabilityKind::General) AddTo(disability, rules.disabilityGeneral);
  if (IsSpecialDisability(in.employeeDisability)) AddTo(disability, rules.disabilitySpecial);
  if (in.singleParent && ownIncome <= rules.singleParentIncomeLimit)
    AddTo(disability, rules.singleParent);
  else if (in.widow && ownIncome <= rules.widowIncomeLimit)
    AddTo(disability, rules.widow);
  if (in.workingStudent && ownIncome <= rules.workingStudentIncomeLimit &&
      in.otherIncome <= rules.workingStudentOtherIncomeLimit)
    AddTo(disability, rules.workingStudent);
  r.disabilityEtc = disability;

  r.basic = AmountForIncome(rules.basic, ownIncome);

  for (Yen part : {r.socialInsurance, r.smallBusinessMutualAid, r.lifeInsurance, r.earthquakeInsurance, r.spouse,
                   r.spouseSpecial, r.dependants, r.disabilityEtc, r.basic, r.specificRelative})
    AddTo(r.deductionsTotal, part);

  const Yen beforeCut = std::max(CheckedSub(salaryIncomeAdjusted, r.deductionsTotal), 0);
  r.taxableIncome = beforeCut / rules.taxableUnit * rules.taxableUnit;

  for (const TaxRateRow& row : rules.taxRates)
    if (!row.upTo || r.taxableIncome <= *row.upTo) {
      r.computedTax = ToYen(std::max<std::int64_t>(
          FloorDiv(std::int64_t{r.taxableIncome} * row.percent, 100) - row.subtract, 0));
      break;
    }

  r.housingLoanCredit = std::min(std::max(in.housingLoanCredit, 0), r.computedTax);
  r.adjustedIncomeTax = CheckedSub(r.computedTax, r.housingLoanCredit);
  const std::int64_t withReconstruction =
      FloorDiv(std::int64_t{r.adjustedIncomeTax} * rules.reconstructionNum, rules.reconstructionDen);
  r.annualTax = ToYen(withReconstruction / rules.annualTaxUnit * rules.annualTaxUnit);
  r.difference = CheckedSub(r.annualTax, r.withheld);
  return r;
}

ShortfallDeferral DeferralOfShortfall(const YearEndRules& rules, Yen shortfall, Yen settlingMonthNetPay,
                                      Yen averageEarlierNetPay, Yen settlingMonthTax) {
  ShortfallDeferral d;
  d.collectedNow = shortfall;
  if (shortfall <= 0 || rules.deferralNum <= 0) return d;
  const std::int64_t threshold = std::int64_t{averageEarlierNetPay} * rules.deferralNum;
  const bool belowShare = std::int64_t{settlingMonthNetPay} * rules.deferralDen < threshold;
  const Yen excess = CheckedSub(shortfall, std::max(settlingMonthTax, 0));
  if (!belowShare || excess <= 0) return d;
  d.offered = true;
  d.collectedNow = CheckedSub(shortfall, excess);
  d.february = excess / 2;
  d.january = CheckedSub(excess, d.february);
  return d;
}

}  // namespace paylark
