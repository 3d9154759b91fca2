#include "calc/company_rates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calc/payment_date.h"
#include "store/prefectures.h"

namespace paylark {

std::optional<RateDates> RateDatesOfPeriod(const EraYear& eraYear, int period, const CompanyRecord& company,
                                           const FileHeader& header) {
  const std::optional<CivilDate> pay = PaymentDateOfPeriod(eraYear, period, company, header);
  if (!pay) return std::nullopt;
  if (IsBonusPeriod(period)) return RateDates{CivilDate{pay->year, pay->month, 1}, *pay};
  const YearMonth month = PremiumMonth(company, pay->year, period);
  return RateDates{CivilDate{month.year, month.month, 1}, WageClosingDate(company, *pay)};
}

EmploymentKind EmploymentKindOf(const CompanyRecord& company) {
  return company.GeneralBusiness() ? EmploymentKind::General : EmploymentKind::AgricultureSake;
}

CompanyRateSet CompanyRatesInForce(const PremiumRates& rates, const CompanyRecord& company,
                                   const CivilDate& rateMonth, const CivilDate& wageClosing) {
  const int prefecture = company.HealthInsurer();
  const PremiumRatesInForce r = rates.InForce(rateMonth, prefecture, wageClosing, EmploymentKindOf(company));
  CompanyRateSet set;
  if (prefecture >= 1 && r.health) {
    set.health = HalfPercentOf(*r.health);
    if (r.nursing) set.nursing = HalfPercentOf(*r.nursing);
    set.levy = HalfPercentOf(r.levy);
  }
  if (r.pension) set.pension = HalfPercentOf(*r.pension);
  if (r.employmentWorker) set.employment = PercentOf(*r.employmentWorker);
  return set;
}

CompanyRateSet CompanyRatesOfPeriod(const PremiumRates& rates, const OpenPeriod& open, const CompanyRecord& company) {
  const std::optional<RateDates> dates = RateDatesOfPeriod(open.eraYear, open.periodIndex, company, open.header);
  if (!dates) return {};
  return CompanyRatesInForce(rates, company, dates->rateMonth, dates->wageClosing);
}

void ApplyRatesInForceToZeros(const PremiumRates& rates, const OpenPeriod& open, CompanyRecord& company) {
  if (company.EmploymentRate() == 0) company.SetGeneralBusiness(true);
  const CompanyRateSet r = CompanyRatesOfPeriod(rates, open, company);
  if (company.EmploymentRate() == 0 && r.employment) company.SetEmploymentRate(*r.employment);
  if (company.HealthRate() == 0 && r.health) company.SetHealthRate(*r.health);
  if (company.NursingRate() == 0 && r.nursing) company.SetNursingRate(*r.nursing);
  if (company.LevyRate() == 0 && r.levy) company.SetLevyRate(*r.levy);
  if (company.PensionRate() == 0 && r.pension) company.SetPensionRate(*r.pension);
}

std::string RatesInForceText(const PremiumRates& rates, const OpenPeriod& open, const CompanyRecord& company) {
  const std::optional<RateDates> dates = RateDatesOfPeriod(open.eraYear, open.periodIndex, company, open.header);
  if (!dates) return {};
  const CompanyRateSet r = CompanyRatesInForce(rates, company, dates->rateMonth, dates->wageClosing);
  std::string text = company.HealthInsurer() >= 1 ? "協会けんぽ " + PrefectureName(company.HealthInsurer()) : "健康保険組合";
  const EraYear era = EraOf(dates->rateMonth);
  text += " " + era.era + std::to_string(era.year) + "年" + std::to_string(dates->rateMonth.month) + "月分";
  auto item = [&text](const char* name, const std::optional<double>& v) {
    if (!v) return;
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.4g", *v);
    text += std::string(" ") + name + " " + figure + "％";
  };
  item("健康保険", r.health);
  item("介護保険", r.nursing);
  item("支援金", r.levy);
  item("厚生年金", r.pension);
  item("雇用保険", r.employment);
  return text;
}

bool SameRate(double recordPercent, double dataPercent) { return std::fabs(recordPercent - dataPercent) < 0.00005; }

std::vector<RateChange> RateChangesFor(const CompanyRecord& company, const CompanyRateSet& inForce) {
  std::vector<RateChange> changes;
  auto check = [&](const char* name, double current, const std::optional<double>& next) {
    if (next && !SameRate(current, *next)) changes.push_back({name, current, *next});
  };
  check("健康保険", company.HealthRate(), inForce.health);
  check("介護保険", company.NursingRate(), inForce.nursing);
  check("子ども・子育て支援金", company.LevyRate(), inForce.levy);
  check("厚生年金", company.PensionRate(), inForce.pension);
  if (!company.UseEmploymentTable()) check("雇用保険", company.EmploymentRate(), inForce.employment);
  return changes;
}

void ApplyRates(CompanyRecord& company, const CompanyRateSet& inForce) {
  if (inForce.health) company.SetHealthRate(*inForce.health);
  if (inForce.nursing) company.SetNursingRate(*inForce.nursing);
  if (inForce.levy) company.SetLevyRate(*inForce.levy);
  if (inForce.pension) company.SetPensionRate(*inForce.pension);
  if (inForce.employment && !company.UseEmploymentTable()) company.SetEmploymentRate(*inForce.employment);
}

}  // namespace paylark
