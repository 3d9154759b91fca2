// The rates in force for a company and a period, from the premium rate data.
//
// 健康保険・介護保険・子ども・子育て支援金 and 厚生年金 follow the premium month, 雇用保険 the wage
// closing date, both as calc/premium_month.h reckons them.
//
// The employee pays half of the published health, nursing, levy and pension totals and the
// published worker's share of employment insurance. A company with 協会けんぽ (a prefecture in
// the company record) takes health, nursing and levy from the data; one with a 健康保険組合 types
// them; pension and employment insurance are the same for every company.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/premium_month.h"
#include "store/era.h"
#include "store/period.h"
#include "store/premium_rates.h"
#include "store/year_file.h"

namespace paylark {

// The premium month and wage closing date of period `period` (1..15) of the era year's file: a
// salary month by the rules above (the payment date from the company's pay day), a bonus by its
// payment date. nullopt for an unknown era or period.
struct RateDates {
  CivilDate rateMonth;
  CivilDate wageClosing;
};
std::optional<RateDates> RateDatesOfPeriod(const EraYear& eraYear, int period, const CompanyRecord& company,
                                           const FileHeader& header);

// 雇用保険の事業の種類 of the company: 一般事業所, else the kind that 農林水産・清酒製造 and 建設 share
// for the worker (their worker's shares are the same in every published year).
EmploymentKind EmploymentKindOf(const CompanyRecord& company);

// The employee's shares in percent as the company record holds them; nullopt where the data has
// nothing for the company (健康保険組合, a date before every row).
struct CompanyRateSet {
  std::optional<double> health;
  std::optional<double> nursing;
  std::optional<double> levy;
  std::optional<double> pension;
  std::optional<double> employment;
};
CompanyRateSet CompanyRatesInForce(const PremiumRates& rates, const CompanyRecord& company,
                                   const CivilDate& rateMonth, const CivilDate& wageClosing);

// The rates in force for the open period with `company` (its insurer and business kind); empty
// for a period without dates.
CompanyRateSet CompanyRatesOfPeriod(const PremiumRates& rates, const OpenPeriod& open, const CompanyRecord& company);

// A company whose rates are 0 gets the rates in force (a zero employment rate also makes it a
// 一般事業所 and takes that kind's rate); with 健康保険組合 health and nursing stay to be typed.
void ApplyRatesInForceToZeros(const PremiumRates& rates, const OpenPeriod& open, CompanyRecord& company);

// "協会けんぽ 東京都 令和8年3月分 健康保険 4.925％ 介護保険 0.81％ …", the rates in force as the
// company screen shows them; empty when the data has nothing for the period.
std::string RatesInForceText(const PremiumRates& rates, const OpenPeriod& open, const CompanyRecord& company);

// One rate that differs between the company record and the data.
// Whether a rate of the company record (percent with three decimals, as typed or shown) is the
// rate of the data (halves with at most four decimals): they differ by less than half a
// ten-thousandth.
bool SameRate(double recordPercent, double dataPercent);

struct RateChange {
  std::string name;  // "健康保険", "介護保険", "子ども・子育て支援金", "厚生年金", "雇用保険"
  double before = 0;
  double after = 0;
};
// The rates of `inForce` that differ from the company record's (the employment rate only while
// the company does not use the employment table).
std::vector<RateChange> RateChangesFor(const CompanyRecord& company, const CompanyRateSet& inForce);
// Writes the rates of `inForce` into the company record (employment only while the company does
// not use the employment table: those are the rates RateChangesFor shows).
void ApplyRates(CompanyRecord& company, const CompanyRateSet& inForce);

}  // namespace paylark
