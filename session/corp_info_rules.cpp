#include "session/corp_info_rules.h"

#include <cstdio>

#include "store/sjis.h"

namespace paylark::screens {
namespace {

constexpr std::size_t kNameBytes = 44;


}  // namespace

std::optional<CompanyProblem> CheckCompanyInput(const CompanyInput& input) {
  const std::string name = Trim(input.name);
  if (name.empty()) return CompanyProblem{CompanyField::Name, "会社名が入力されていません。"};
  // A character outside Shift-JIS could not be written to the yearly file.
  if (!HasSjisForm(name)) {
    return CompanyProblem{CompanyField::Name, "会社名に使用できない文字が含まれています。"};
  }
  if (input.payDay < 1 || input.payDay > 31) {
    return CompanyProblem{CompanyField::PayDay, "給与支給日の入力に誤りがあります。"};
  }
  if (input.wageClosingDay < 0 || input.wageClosingDay > 31) {
    return CompanyProblem{CompanyField::WageClosingDay, "給与締日の入力に誤りがあります。"};
  }
  if (input.monthDays == 0 || input.monthHours == 0 || input.dayHours == 0) {
    return CompanyProblem{CompanyField::DayHours, "所定労働条件が入力されていません。"};
  }
  if (input.employmentRate == 0 || input.healthRate == 0 || input.nursingRate == 0 || input.pensionRate == 0) {
    return CompanyProblem{CompanyField::EmploymentRate, "保険料負担率が入力されていません。"};
  }
  return std::nullopt;
}

void StoreCompanyInput(const CompanyInput& input, CompanyRecord& company) {
  company.SetName(CutUtf8ToSjisLength(Trim(input.name), kNameBytes));
  company.SetPayDay(input.payDay);
  company.SetMonthDays(input.monthDays);
  company.SetMonthHours(input.monthHours);
  company.SetDayHours(input.dayHours);
  company.SetEmploymentRate(input.employmentRate);
  company.SetHealthRate(input.healthRate);
  company.SetNursingRate(input.nursingRate);
  company.SetPensionRate(input.pensionRate);
  company.SetPensionFundRate(input.pensionFundRate);
  company.SetGeneralBusiness(input.generalBusiness);
  company.SetUseEmploymentTable(input.useEmploymentTable);
  company.SetLevyRate(input.levyRate);
  company.SetPremiumCollection(input.premiumCollection == 1 ? 1 : 0);
  company.SetWageClosingDay(input.wageClosingDay);
  company.SetWageClosingMonth(input.wageClosingMonth == 1 ? 1 : 0);
}

void ApplyLevyDefault(CompanyRecord& company, const std::optional<YearMonth>& premiumMonth,
                      const paylark::PremiumRates& rates) {
  if (company.LevyRate() != 0 || !premiumMonth) return;
  const auto levy = rates.Find(PremiumRateItem::Levy, 0, CivilDate{premiumMonth->year, premiumMonth->month, 1});
  if (levy && *levy != 0) company.SetLevyRate(HalfPercentOf(*levy));
}

std::string EmploymentRateInForceText(const RateTables& tables, bool generalBusiness,
                                      const std::optional<CivilDate>& closingDate) {
  if (!closingDate) return {};
  const auto rate = tables.EmploymentRateOn(tables.Presence(), *closingDate, generalBusiness);
  if (!rate) return {};
  // Millionths of the wage as per mille, without trailing zeros: 5,500 → "5.5".
  char text[32];
  std::snprintf(text, sizeof text, "%d.%03d", *rate / 1000, *rate % 1000);
  std::string perMille = text;
  while (perMille.back() == '0') perMille.pop_back();
  if (perMille.back() == '.') perMille.pop_back();
  return "被保険者負担 " + perMille + "/1000";
}

PremiumRates PremiumRatesOf(const CompanyRecord& company) {
  return {company.HealthRate(), company.NursingRate(), company.PensionRate(), company.PensionFundRate(),
          company.LevyRate()};
}

bool PremiumRatesChanged(const PremiumRates& remembered, const CompanyInput& input) {
  return remembered.health != input.healthRate || remembered.nursing != input.nursingRate ||
         remembered.pension != input.pensionRate || remembered.pensionFund != input.pensionFundRate ||
         remembered.levy != input.levyRate;
}

}  // namespace paylark::screens
