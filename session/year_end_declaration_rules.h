// The rules of the declaration entry of the 年末調整 that need no window: the checks of every field
// (the first fault, with the field to focus and its Japanese message) and last year's declaration
// as the starting point of this year's.
#pragma once

#include <optional>
#include <string>

#include "store/declarations.h"
#include "store/year_end_particulars.h"
#include "store/year_end_rules.h"

namespace paylark::screens {

// The fields of the entry a check can stop at.
enum class DeclarationField {
  EmployeeBirth,
  Widow,  // 寡婦 and ひとり親 together
  SpouseName,
  SpouseBirth,
  SpouseIncome,
  DependantName,  // with the row
  DependantRelation,
  DependantBirth,
  DependantIncome,
  OtherIncome,
  PreviousPaid,
  PreviousSocialInsurance,
  PreviousWithheld,
  DeclaredSocialInsurance,
  SmallBusinessMutualAid,
  LifeNewGeneral,
  LifeOldGeneral,
  LifeCareMedical,
  LifeNewPension,
  LifeOldPension,
  Earthquake,
  OldLongTerm,
  HousingLoanCredit,
  PostalCode,
  Municipality,
  Hired,
  Retired,
};

// "employee.birth", "spouse.name", "dependants.birth", "previous_paid", ... (stable names for the
// screen's look-up of its controls).
const char* DeclarationFieldName(DeclarationField field);

struct DeclarationProblem {
  DeclarationField field;
  int row = -1;  // the dependant's row (0-based) for the dependants' fields
  std::string message;
  bool operator==(const DeclarationProblem&) const = default;
};

// The first fault of a declaration of `year` with its particulars, in the order of the form: the
// employee's birth date, 寡婦/ひとり親, the spouse, each dependant (name, 続柄, birth date, income),
// the amounts (none negative; 前職分's tax and premiums within its pay), the particulars (postal
// code "123-4567", the municipality of an address, 中途就・退職 dates in the year and in order).
// A birth date must be a date of the calendar from 1 January 1868 to 31 December of the year.
std::optional<DeclarationProblem> CheckDeclaration(const Declaration& declaration,
                                                   const EmployeeParticulars& particulars, int year);

// Last year's declaration and particulars as the start of `year`'s: the persons, the forms handed
// in and the employee's own circumstances kept; the year's amounts (insurance premiums, 前職分,
// other income, the 住宅借入金等特別控除, the mid-year leaving case) cleared; the particulars kept
// but for the 中途就・退職 dates, which were last year's.
Declaration CarryOverDeclaration(const Declaration& lastYear, int year);
EmployeeParticulars CarryOverParticulars(const EmployeeParticulars& lastYear, int year);

// The deductions of the 保険料控除申告書 as the amounts stand, for the entry to show beside them: the
// calculation's own figures (the 生命保険料控除 of a year that raises it for a dependant under 23
// included), whatever the pay.
struct DeclaredDeductions {
  Yen socialInsurance = 0;         // 申告による社会保険料
  Yen smallBusinessMutualAid = 0;  // 小規模企業共済等掛金
  Yen lifeInsurance = 0;           // 生命保険料控除
  Yen earthquakeInsurance = 0;     // 地震保険料控除 (旧長期損害保険料 included)
  bool operator==(const DeclaredDeductions&) const = default;
};
DeclaredDeductions DeductionsOfDeclaration(const YearEndRules& rules, const Declaration& declaration);

}  // namespace paylark::screens
