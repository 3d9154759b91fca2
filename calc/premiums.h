// The employee's share of the social and employment insurance premiums.
//
// Salary months deduct the health, nursing, pension and fund amounts stored in the employee master
// (set once from the standard monthly remuneration grade, rounded by the fifty-sen rule) and
// compute the employment premium from the month's 支給項目合計. Bonuses compute all five from the
// standard bonus amount (課税支給合計 cut to thousands; health and nursing capped at 2,000,000,
// pension and fund at 1,500,000) with the deduction rounding mode.
#pragma once

#include "calc/calc_inputs.h"
#include "store/period.h"

namespace paylark {

struct Premiums {
  Yen health = 0;       // 健康保険料
  Yen pension = 0;      // 厚生年金保険
  Yen pensionFund = 0;  // 厚生年金基金
  Yen employment = 0;   // 雇用保険料
  Yen nursing = 0;      // 介護保険料
  Yen Get(Koujo p) const;
};

// The employment premium on a base: the premium table when the company uses it, else the
// company's rate with the deduction rounding.
Yen EmploymentPremium(const CalcInputs& in, const CompanyRecord& company, Yen base);

Premiums MonthlyPremiums(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                         Yen totalPayment);
// T = 課税支給合計, G = 支給項目合計, directorPay = the 役員報酬 that counted in G (not part of the
// employment premium's base).
Premiums BonusPremiums(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                       Yen taxableTotal, Yen totalPayment, Yen directorPay);

// The four premiums the employee editor's grade button stores: health and nursing from grade g,
// pension and fund from g clamped into the pension range.
struct GradePremiums {
  Yen health = 0;
  Yen nursing = 0;
  Yen pension = 0;
  Yen pensionFund = 0;
};
GradePremiums PremiumsFromGrade(const RateTables& tables, const CompanyRecord& company, int grade);

}  // namespace paylark
