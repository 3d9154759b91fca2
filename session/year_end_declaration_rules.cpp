#include "session/year_end_declaration_rules.h"

#include <cctype>

#include "calc/year_end_figures.h"

namespace paylark::screens {
namespace {

bool IsCalendarDate(const CivilDate& d) {
  return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= DaysInMonth(d.year, d.month);
}

// Empty when the birth date is a date from 1868-01-01 to the year's 31 December.
std::string BirthProblem(const CivilDate& d, int year, const std::string& whose) {
  if (d == CivilDate{}) return whose + "の生年月日を入力して下さい。";
  if (!IsCalendarDate(d) || d < CivilDate{1868, 1, 1}) return whose + "の生年月日が正しくありません。";
  if (d > CivilDate{year, 12, 31})
    return whose + "の生年月日が" + std::to_string(year) + "年12月31日より後になっています。";
  return {};
}

// Nothing but ASCII and full-width spaces.
bool Blank(std::string text) {
  for (std::size_t i; (i = text.find("\u3000")) != std::string::npos;) text.erase(i, 3);
  for (unsigned char c : text)
    if (!std::isspace(c)) return false;
  return true;
}

bool PostalCodeForm(const std::string& code) {
  if (code.size() != 8 || code[3] != '-') return false;
  for (std::size_t i = 0; i < code.size(); ++i)
    if (i != 3 && !std::isdigit(static_cast<unsigned char>(code[i]))) return false;
  return true;
}

}  // namespace

const char* DeclarationFieldName(DeclarationField field) {
  switch (field) {
    case DeclarationField::EmployeeBirth: return "employee.birth";
    case DeclarationField::Widow: return "employee.widow";
    case DeclarationField::SpouseName: return "spouse.name";
    case DeclarationField::SpouseBirth: return "spouse.birth";
    case DeclarationField::SpouseIncome: return "spouse.income";
    case DeclarationField::DependantName: return "dependants.name";
    case DeclarationField::DependantRelation: return "dependants.relation";
    case DeclarationField::DependantBirth: return "dependants.birth";
    case DeclarationField::DependantIncome: return "dependants.income";
    case DeclarationField::OtherIncome: return "other_income";
    case DeclarationField::PreviousPaid: return "previous_paid";
    case DeclarationField::PreviousSocialInsurance: return "previous_social_insurance";
    case DeclarationField::PreviousWithheld: return "previous_withheld";
    case DeclarationField::DeclaredSocialInsurance: return "declared_social_insurance";
    case DeclarationField::SmallBusinessMutualAid: return "small_business_mutual_aid";
    case DeclarationField::LifeNewGeneral: return "life_new_general";
    case DeclarationField::LifeOldGeneral: return "life_old_general";
    case DeclarationField::LifeCareMedical: return "life_care_medical";
    case DeclarationField::LifeNewPension: return "life_new_pension";
    case DeclarationField::LifeOldPension: return "life_old_pension";
    case DeclarationField::Earthquake: return "earthquake";
    case DeclarationField::OldLongTerm: return "old_long_term";
    case DeclarationField::HousingLoanCredit: return "housing_loan_credit";
    case DeclarationField::PostalCode: return "particulars.postal_code";
    case DeclarationField::Municipality: return "particulars.municipality";
    case DeclarationField::Hired: return "particulars.hired";
    case DeclarationField::Retired: return "particulars.retired";
  }
  return "";
}

std::optional<DeclarationProblem> CheckDeclaration(const Declaration& d, const EmployeeParticulars& p, int year) {
  using F = DeclarationField;
  auto fault = [](F field, std::string message, int row = -1) {
    return std::optional<DeclarationProblem>(DeclarationProblem{field, row, std::move(message)});
  };
  if (std::string m = BirthProblem(d.birth, year, "本人"); !m.empty()) return fault(F::EmployeeBirth, m);
  if (d.widow && d.singleParent) return fault(F::Widow, "寡婦とひとり親は同時に選べません。");

  if (d.spouse) {
    if (Blank(d.spouse->name)) return fault(F::SpouseName, "配偶者の氏名を入力して下さい。");
    if (std::string m = BirthProblem(d.spouse->birth, year, "配偶者"); !m.empty()) return fault(F::SpouseBirth, m);
    if (d.spouse->income < 0) return fault(F::SpouseIncome, "配偶者の合計所得金額にマイナスは入力できません。");
  }
  for (int i = 0; i < static_cast<int>(d.dependants.size()); ++i) {
    const DeclaredPerson& person = d.dependants[i];
    const std::string whose = "扶養親族（" + std::to_string(i + 1) + "行目）";
    if (Blank(person.name)) return fault(F::DependantName, whose + "の氏名を入力して下さい。", i);
    if (Blank(person.relation)) return fault(F::DependantRelation, whose + "の続柄を入力して下さい。", i);
    if (std::string m = BirthProblem(person.birth, year, whose); !m.empty()) return fault(F::DependantBirth, m, i);
    if (person.income < 0) return fault(F::DependantIncome, whose + "の合計所得金額にマイナスは入力できません。", i);
  }

  struct Amount {
    F field;
    Yen value;
    const char* label;
  };
  const Amount amounts[] = {
      {F::OtherIncome, d.otherIncome, "給与以外の所得"},
      {F::PreviousPaid, d.previousPaid, "前職分の支払金額"},
      {F::PreviousSocialInsurance, d.previousSocialInsurance, "前職分の社会保険料"},
      {F::PreviousWithheld, d.previousWithheld, "前職分の源泉徴収税額"},
      {F::DeclaredSocialInsurance, d.declaredSocialInsurance, "申告による社会保険料"},
      {F::SmallBusinessMutualAid, d.smallBusinessMutualAid, "小規模企業共済等掛金"},
      {F::LifeNewGeneral, d.lifeNewGeneral, "一般の生命保険料（新）"},
      {F::LifeOldGeneral, d.lifeOldGeneral, "一般の生命保険料（旧）"},
      {F::LifeCareMedical, d.lifeCareMedical, "介護医療保険料"},
      {F::LifeNewPension, d.lifeNewPension, "個人年金保険料（新）"},
      {F::LifeOldPension, d.lifeOldPension, "個人年金保険料（旧）"},
      {F::Earthquake, d.earthquake, "地震保険料"},
      {F::OldLongTerm, d.oldLongTerm, "旧長期損害保険料"},
      {F::HousingLoanCredit, d.housingLoanCredit, "住宅借入金等特別控除額"},
  };
  for (const Amount& a : amounts)
    if (a.value < 0) return fault(a.field, std::string(a.label) + "にマイナスは入力できません。");
  if (d.previousSocialInsurance > d.previousPaid)
    return fault(F::PreviousSocialInsurance, "前職分の社会保険料が前職分の支払金額を超えています。");
  if (d.previousWithheld > d.previousPaid)
    return fault(F::PreviousWithheld, "前職分の源泉徴収税額が前職分の支払金額を超えています。");

  if (!p.postalCode.empty() && !PostalCodeForm(p.postalCode))
    return fault(F::PostalCode, "郵便番号は123-4567の形で入力して下さい。");
  if (!Blank(p.address) && Blank(p.municipality))
    return fault(F::Municipality, "住所の市区町村（給与支払報告書の提出先）を入力して下さい。");
  const CivilDate first{year, 1, 1}, last{year, 12, 31};
  auto inYear = [&](const CivilDate& date) { return IsCalendarDate(date) && first <= date && date <= last; };
  if (p.hired && !inYear(*p.hired))
    return fault(F::Hired, "就職の日付は" + std::to_string(year) + "年中の日付を入力して下さい。");
  if (p.retired && !inYear(*p.retired))
    return fault(F::Retired, "退職の日付は" + std::to_string(year) + "年中の日付を入力して下さい。");
  if (p.hired && p.retired && *p.retired < *p.hired)
    return fault(F::Retired, "退職の日付が就職の日付より前になっています。");
  return std::nullopt;
}

Declaration CarryOverDeclaration(const Declaration& last, int year) {
  Declaration d;
  d.year = year;
  d.employeeKey = last.employeeKey;
  d.dependantForm = last.dependantForm;
  d.incomeAdjustmentForm = last.incomeAdjustmentForm;
  d.birth = last.birth;
  d.disability = last.disability;
  d.widow = last.widow;
  d.singleParent = last.singleParent;
  d.workingStudent = last.workingStudent;
  d.nonResident = last.nonResident;
  d.spouse = last.spouse;
  d.dependants = last.dependants;
  return d;
}

EmployeeParticulars CarryOverParticulars(const EmployeeParticulars& last, int year) {
  EmployeeParticulars p = last;
  p.year = year;
  p.hired.reset();
  p.retired.reset();
  return p;
}

DeclaredDeductions DeductionsOfDeclaration(const YearEndRules& rules, const Declaration& declaration) {
  YearEndInput in = YearEndInputOf(EmployeeYearPay{}, &declaration);
  // Only the premiums: the amounts that are not premiums cannot change these figures.
  in.previousPaid = in.previousSocialInsurance = in.previousWithheld = 0;
  const YearEndResult r = ComputeYearEnd(rules, in);
  return {declaration.declaredSocialInsurance, r.smallBusinessMutualAid, r.lifeInsurance, r.earthquakeInsurance};
}

}  // namespace paylark::screens
