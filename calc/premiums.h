// The employee's share of the social and employment insurance premiums and of the 子ども・子育て
// 支援金 levied with the health premium.
//
// Salary months deduct the health, nursing, levy, pension and fund amounts stored in the employee
// master (set once from the standard monthly remuneration grade, rounded by the fifty-sen rule)
// and compute the employment premium from the month's 支給項目合計. Bonuses compute them from the
// standard bonus amount (課税支給合計 cut to thousands) with the deduction rounding mode. Health,
// nursing and the levy share one base, capped per fiscal year (April–March): the standard bonuses
// of the employee in that year may not exceed the annual cap together (5,730,000 since April
// 2016), so a bonus that reaches it has the rest as base and later ones 0. Before April 2007 the
// cap was 2,000,000 per bonus. Pension and fund are capped at 1,500,000 per month of payment.
//
// The employment premium with 雇用保険料額表を使用: the worker's rate in force on the period's wage
// closing date (calc/premium_month.h) from the dated rates of the employment table, rounded by the
// rule for premiums deducted from wages (store/employment_rates.h); a table file without dated
// rates, or a date before them, keeps the table image and its fixed 0.7 % / 0.8 % rule. Without
// the option, the company's rate with the deduction rounding.
#pragma once

#include <optional>

#include "calc/calc_inputs.h"
#include "store/period.h"

namespace paylark {

struct Premiums {
  Yen health = 0;       // 健康保険料
  Yen pension = 0;      // 厚生年金保険
  Yen pensionFund = 0;  // 厚生年金基金
  Yen employment = 0;   // 雇用保険料
  Yen nursing = 0;      // 介護保険料
  Yen levy = 0;         // 子ども・子育て支援金
  Yen Get(Koujo p) const;
};

// The employment premium on a base: the premium table when the company uses it (the dated rate
// of `closingDate` when the table has one), else the company's rate with the deduction rounding.
Yen EmploymentPremium(const CalcInputs& in, const CompanyRecord& company, Yen base,
                      const std::optional<CivilDate>& closingDate);

Premiums MonthlyPremiums(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                         Yen totalPayment);
// T = 課税支給合計, G = 支給項目合計, directorPay = the 役員報酬 that counted in G (not part of the
// employment premium's base). Earlier bonuses of the fiscal year come from in.lookup.
Premiums BonusPremiums(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                       Yen taxableTotal, Yen totalPayment, Yen directorPay);

// The health, nursing and levy base of a bonus: the standard bonus within what the annual cap
// leaves after the employee's earlier standard bonuses of the fiscal year of `paid` (nullopt:
// the latest cap, no earlier bonus). `earlierStandardBonuses` is their sum.
Yen HealthBonusBase(Yen standardBonus, const std::optional<CivilDate>& paid, std::int64_t earlierStandardBonuses);

// The premiums the employee editor's grade button stores: health, nursing and levy from grade g,
// pension and fund from g clamped into the pension range.
struct GradePremiums {
  Yen health = 0;
  Yen nursing = 0;
  Yen pension = 0;
  Yen pensionFund = 0;
  Yen levy = 0;
};
GradePremiums PremiumsFromGrade(const RateTables& tables, const CompanyRecord& company, int grade);

}  // namespace paylark
