#include "calc/premiums.h"

#include <algorithm>

#include "calc/payment_date.h"
#include "calc/premium_month.h"
#include "calc/rounding.h"

namespace paylark {
namespace {

constexpr Yen kPensionBonusCap = 1'500'000;  // per month of payment

// The cap of the standard bonus of health insurance, by the payment date from which it applies.
struct HealthBonusCap {
  CivilDate from;
  Yen cap;
  bool perFiscalYear;  // cumulative over the fiscal year, else per bonus
};
constexpr HealthBonusCap kHealthBonusCaps[] = {
    {{1, 1, 1}, 2'000'000, false},
    {{2007, 4, 1}, 5'400'000, true},
    {{2016, 4, 1}, 5'730'000, true},
};

const HealthBonusCap& HealthCapOn(const std::optional<CivilDate>& paid) {
  const HealthBonusCap* found = &kHealthBonusCaps[std::size(kHealthBonusCaps) - 1];
  if (!paid) return *found;
  for (const HealthBonusCap& c : kHealthBonusCaps) {
    if (c.from <= *paid) found = &c;
  }
  return *found;
}

// Rate in per cent applied to a standard remuneration: the rate is divided by 100 in extended
// precision, the product rounded to a double, then the fifty-sen rule applies.
Yen FiftySenPremium(double ratePercent, Yen standard) {
  const double product = static_cast<double>(static_cast<long double>(ratePercent) / 100.0L * standard);
  return RoundYen(RoundingMode::Truncate, RoundFiftySen(product));
}

Yen StandardBonus(Yen taxableTotal) { return taxableTotal / 1000 * 1000; }  // thousands, towards zero

// The sum of the employee's standard bonuses paid before this one in its fiscal year (health
// subject bonuses only): this file's other bonus periods paid earlier (the same day: a lower
// period number) and the previous year's file's bonuses of April–December.
std::int64_t EarlierStandardBonuses(const CalcInputs& in, const EmployeeRecord& employee) {
  if (in.lookup == nullptr || !in.payDate) return 0;
  const CivilDate paid = *in.payDate;
  const int fiscalYear = FiscalYearOf(paid);
  std::int64_t sum = 0;
  for (const EarlierBonus& b : in.lookup->FindBonuses(in.period, employee.Key())) {
    if (!b.healthSubject) continue;
    const CivilDate date = BonusPaymentDate(b.previousYear ? paid.year - 1 : paid.year, b.payMonth, b.payDay);
    if (FiscalYearOf(date) != fiscalYear) continue;
    const bool earlier = date < paid || (date == paid && !b.previousYear && b.period < in.period);
    if (!earlier) continue;
    const Yen standard = StandardBonus(b.taxableTotal);
    if (standard > 0) sum += standard;
  }
  return sum;
}

std::optional<CivilDate> SalaryClosingDate(const CalcInputs& in, const CompanyRecord& company) {
  if (!in.payDate) return std::nullopt;
  return WageClosingDate(company, *in.payDate);
}

}  // namespace

Yen Premiums::Get(Koujo p) const {
  switch (p) {
    case Koujo::Health: return health;
    case Koujo::Pension: return pension;
    case Koujo::PensionFund: return pensionFund;
    case Koujo::Employment: return employment;
    case Koujo::Nursing: return nursing;
    case Koujo::ChildSupportLevy: return levy;
    default: return 0;
  }
}

Yen EmploymentPremium(const CalcInputs& in, const CompanyRecord& company, Yen base,
                      const std::optional<CivilDate>& closingDate) {
  if (company.UseEmploymentTable()) {
    if (closingDate) {
      if (const auto rate = in.tables.EmploymentRateOn(in.presence, *closingDate, company.GeneralBusiness())) {
        return EmploymentPremiumAtRate(base, *rate);
      }
    }
    return in.tables.EmploymentPremiumFromTable(in.presence, base, company.GeneralBusiness());
  }
  return DeductYen(in.options, company.EmploymentRate() / 100.0, base);
}

Premiums MonthlyPremiums(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                         Yen totalPayment) {
  Premiums p;
  p.health = employee.HealthSubject() ? employee.HealthPremium() : 0;
  p.pension = employee.PensionSubject() ? employee.PensionPremium() : 0;
  p.pensionFund = employee.FundMember() ? employee.FundContribution() : 0;
  p.employment =
      employee.EmploymentSubject() ? EmploymentPremium(in, company, totalPayment, SalaryClosingDate(in, company)) : 0;
  p.nursing = employee.NursingCollected() ? employee.NursingPremium() : 0;
  p.levy = employee.HealthSubject() && company.LevyRate() != 0 ? employee.LevyPremium() : 0;
  return p;
}

Yen HealthBonusBase(Yen standardBonus, const std::optional<CivilDate>& paid, std::int64_t earlierStandardBonuses) {
  const HealthBonusCap& rule = HealthCapOn(paid);
  if (standardBonus <= 0) return standardBonus;
  if (!rule.perFiscalYear) return std::min(standardBonus, rule.cap);
  const std::int64_t left = std::max<std::int64_t>(0, rule.cap - earlierStandardBonuses);
  return static_cast<Yen>(std::min<std::int64_t>(standardBonus, left));
}

Premiums BonusPremiums(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                       Yen taxableTotal, Yen totalPayment, Yen directorPay) {
  const Yen standardBonus = StandardBonus(taxableTotal);
  const bool perFiscalYear = HealthCapOn(in.payDate).perFiscalYear;
  const Yen healthBase = HealthBonusBase(
      standardBonus, in.payDate, perFiscalYear && employee.HealthSubject() ? EarlierStandardBonuses(in, employee) : 0);
  const Yen pensionBase = std::min(standardBonus, kPensionBonusCap);
  const Options& o = in.options;
  Premiums p;
  p.health = employee.HealthSubject() ? DeductYen(o, company.HealthRate() / 100.0, healthBase) : 0;
  p.pension = employee.PensionSubject() ? DeductYen(o, company.PensionRate() / 100.0, pensionBase) : 0;
  p.pensionFund = employee.FundMember() ? DeductYen(o, company.PensionFundRate() / 100.0, pensionBase) : 0;
  p.employment = employee.EmploymentSubject()
                     ? EmploymentPremium(in, company, CheckedSub(totalPayment, directorPay), in.payDate)
                     : 0;
  p.nursing = employee.NursingCollected() ? DeductYen(o, company.NursingRate() / 100.0, healthBase) : 0;
  p.levy = employee.HealthSubject() && company.LevyRate() != 0 ? DeductYen(o, company.LevyRate() / 100.0, healthBase)
                                                               : 0;
  return p;
}

GradePremiums PremiumsFromGrade(const RateTables& tables, const CompanyRecord& company, int grade) {
  const Yen standard = tables.HealthGrade(grade).standard;
  const Yen pensionStandard = tables.HealthGrade(tables.PensionGrade(grade)).standard;
  GradePremiums g;
  g.health = FiftySenPremium(company.HealthRate(), standard);
  g.nursing = FiftySenPremium(company.NursingRate(), standard);
  g.pension = FiftySenPremium(company.PensionRate(), pensionStandard);
  g.pensionFund = FiftySenPremium(company.PensionFundRate(), pensionStandard);
  g.levy = FiftySenPremium(company.LevyRate(), standard);
  return g;
}

}  // namespace paylark
