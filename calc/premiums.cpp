#include "calc/premiums.h"

#include <algorithm>

#include "calc/rounding.h"

namespace paylark {
namespace {

constexpr Yen kHealthBonusCap = 2'000'000;
constexpr Yen kPensionBonusCap = 1'500'000;

// Rate in per cent applied to a standard remuneration: the rate is divided by 100 in extended
// precision, the product rounded to a double, then the fifty-sen rule applies.
Yen FiftySenPremium(double ratePercent, Yen standard) {
  const double product = static_cast<double>(static_cast<long double>(ratePercent) / 100.0L * standard);
  return RoundYen(RoundingMode::Truncate, RoundFiftySen(product));
}

}  // namespace

Yen Premiums::Get(Koujo p) const {
  switch (p) {
    case Koujo::Health: return health;
    case Koujo::Pension: return pension;
    case Koujo::PensionFund: return pensionFund;
    case Koujo::Employment: return employment;
    case Koujo::Nursing: return nursing;
    default: return 0;
  }
}

Yen EmploymentPremium(const CalcInputs& in, const CompanyRecord& company, Yen base) {
  if (company.UseEmploymentTable()) {
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
  p.employment = employee.EmploymentSubject() ? EmploymentPremium(in, company, totalPayment) : 0;
  p.nursing = employee.NursingCollected() ? employee.NursingPremium() : 0;
  return p;
}

Premiums BonusPremiums(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                       Yen taxableTotal, Yen totalPayment, Yen directorPay) {
  const Yen standardBonus = taxableTotal / 1000 * 1000;  // 標準賞与額: thousands, towards zero
  const Yen healthBase = std::min(standardBonus, kHealthBonusCap);
  const Yen pensionBase = std::min(standardBonus, kPensionBonusCap);
  const Options& o = in.options;
  Premiums p;
  p.health = employee.HealthSubject() ? DeductYen(o, company.HealthRate() / 100.0, healthBase) : 0;
  p.pension = employee.PensionSubject() ? DeductYen(o, company.PensionRate() / 100.0, pensionBase) : 0;
  p.pensionFund = employee.FundMember() ? DeductYen(o, company.PensionFundRate() / 100.0, pensionBase) : 0;
  p.employment = employee.EmploymentSubject()
                     ? EmploymentPremium(in, company, CheckedSub(totalPayment, directorPay))
                     : 0;
  p.nursing = employee.NursingCollected() ? DeductYen(o, company.NursingRate() / 100.0, healthBase) : 0;
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
  return g;
}

}  // namespace paylark
