#include "session/corp_info_rules.h"

#include "store/sjis.h"

namespace paylark::screens {
namespace {

constexpr std::size_t kNameBytes = 44;

}  // namespace

void ApplyCompanyDefaults(CompanyRecord& company) {
  if (company.EmploymentRate() == 0) {
    company.SetGeneralBusiness(true);
    company.SetEmploymentRate(kGeneralBusinessEmploymentRate);
  }
  if (company.HealthRate() == 0) company.SetHealthRate(4.1);
  if (company.NursingRate() == 0) company.SetNursingRate(0.565);
  if (company.PensionRate() == 0) company.SetPensionRate(7.675);
}

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
}

PremiumRates PremiumRatesOf(const CompanyRecord& company) {
  return {company.HealthRate(), company.NursingRate(), company.PensionRate(), company.PensionFundRate()};
}

bool PremiumRatesChanged(const PremiumRates& remembered, const CompanyInput& input) {
  return remembered.health != input.healthRate || remembered.nursing != input.nursingRate ||
         remembered.pension != input.pensionRate || remembered.pensionFund != input.pensionFundRate;
}

}  // namespace paylark::screens
