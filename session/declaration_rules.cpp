#include "session/declaration_rules.h"

#include <cmath>
#include <cstdio>

#include "calc/birth_date.h"
#include "calc/year_end.h"
#include "calc/year_end_figures.h"
#include "store/sjis.h"

namespace paylark::screens {
namespace {

constexpr double kAmountLimit = 999999999;  // nine digits: every sum of the year stays in Yen

std::string DateFormHint() { return "（例: S55.4.1、昭和55年4月1日、1980/4/1）"; }

// The reading of one form: the first problem met is kept, later checks are skipped.
class Reader {
 public:
  explicit Reader(int year) : year_(year) {}

  bool Failed() const { return problem_.has_value(); }
  const std::optional<FormProblem>& Problem() const { return problem_; }

  void Fail(std::string field, std::string message) {
    if (!problem_) problem_ = FormProblem{std::move(field), std::move(message)};
  }

  Yen Amount(double value, const std::string& field, const char* caption) {
    if (Failed()) return 0;
    if (!std::isfinite(value) || value < 0 || value > kAmountLimit || value != std::floor(value)) {
      Fail(field, std::string(caption) + "は0～999,999,999円の整数で入力して下さい。");
      return 0;
    }
    return static_cast<Yen>(value);
  }

  std::string Text(const std::string& typed, const std::string& field, const char* caption) {
    const std::string text = Trim(typed);
    if (!Failed() && !HasSjisForm(text)) Fail(field, std::string(caption) + "に使用できない文字が含まれています。");
    return text;
  }

  std::optional<CivilDate> Date(const std::string& typed, const std::string& field, const char* caption) {
    if (Failed() || RemoveSpaces(typed).empty()) return std::nullopt;
    const std::optional<CivilDate> date = ParseEntryDate(typed, year_);
    if (!date) Fail(field, std::string(caption) + "が正しくありません。" + DateFormHint());
    return date;
  }

 private:
  int year_;
  std::optional<FormProblem> problem_;
};

DisabilityKind DisabilityOf(int value) {
  return value >= 0 && value <= 3 ? static_cast<DisabilityKind>(value) : DisabilityKind::None;
}

std::optional<DeclaredPerson> ReadPerson(Reader& r, const PersonEntry& e, int row) {
  if (e.Empty()) return std::nullopt;
  DeclaredPerson p;
  p.name = r.Text(e.name, PersonFieldName("Name", row), "氏名");
  p.relation = r.Text(e.relation, PersonFieldName("Zoku", row), "続柄");
  if (row == 0 && RemoveSpaces(p.relation).empty()) p.relation = "配偶者";
  p.birth = r.Date(e.birth, PersonFieldName("Birth", row), "生年月日").value_or(CivilDate{});
  p.income = r.Amount(e.income, PersonFieldName("Income", row), "所得の見積額");
  p.cohabiting = e.cohabiting;
  p.disability = DisabilityOf(e.disability);
  p.nonResident = e.nonResident;
  return p;
}

std::string Digits(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c >= '0' && c <= '9') out += c;
  }
  return out;
}

}  // namespace

bool PersonEntry::Empty() const {
  return RemoveSpaces(name).empty() && RemoveSpaces(relation).empty() && RemoveSpaces(birth).empty() && income == 0 && !cohabiting &&
         disability == 0 && !nonResident;
}

std::string PersonFieldName(const char* part, int row) {
  return row == 0 ? std::string("edHai") + part : std::string("edFuyo") + part + std::to_string(row);
}

std::optional<CivilDate> ParseEntryDate(std::string_view text, int latestYear) {
  return ParseBirthDate(text, CivilDate{latestYear, 12, 31});
}

std::string EntryDateText(const std::optional<CivilDate>& date) {
  if (!date || *date == CivilDate{}) return {};
  return BirthDateText(date->year * 10000 + date->month * 100 + date->day);
}

DeclarationForm FormOf(const Declaration& d, const EmployeeParticulars& p) {
  DeclarationForm e;
  auto person = [](const DeclaredPerson& x) {
    PersonEntry pe;
    pe.name = x.name;
    pe.relation = x.relation;
    pe.birth = EntryDateText(x.birth);
    pe.income = x.income;
    pe.cohabiting = x.cohabiting;
    pe.disability = static_cast<int>(x.disability);
    pe.nonResident = x.nonResident;
    return pe;
  };
  e.dependantForm = d.dependantForm;
  e.birth = EntryDateText(d.birth);
  e.disability = static_cast<int>(d.disability);
  e.widow = d.widow;
  e.singleParent = d.singleParent;
  e.workingStudent = d.workingStudent;
  e.nonResident = d.nonResident;
  e.leavingCase = d.leavingCase;
  if (d.spouse) e.spouse = person(*d.spouse);
  for (const DeclaredPerson& x : d.dependants) e.dependants.push_back(person(x));
  e.otherIncome = d.otherIncome;
  e.incomeAdjustmentForm = d.incomeAdjustmentForm;
  e.declaredSocialInsurance = d.declaredSocialInsurance;
  e.smallBusinessMutualAid = d.smallBusinessMutualAid;
  e.lifeNewGeneral = d.lifeNewGeneral;
  e.lifeOldGeneral = d.lifeOldGeneral;
  e.lifeCareMedical = d.lifeCareMedical;
  e.lifeNewPension = d.lifeNewPension;
  e.lifeOldPension = d.lifeOldPension;
  e.earthquake = d.earthquake;
  e.oldLongTerm = d.oldLongTerm;
  e.housingLoanCredit = d.housingLoanCredit;
  e.previousPaid = d.previousPaid;
  e.previousSocialInsurance = d.previousSocialInsurance;
  e.previousWithheld = d.previousWithheld;
  e.furigana = p.furigana;
  e.postalCode = p.postalCode;
  e.address = p.address;
  e.municipality = p.municipality;
  e.position = p.position;
  e.officer = p.officer;
  e.hired = EntryDateText(p.hired);
  e.retired = EntryDateText(p.retired);
  return e;
}

DeclarationReading ReadDeclarationForm(const DeclarationForm& e, const Declaration& base,
                                        const EmployeeParticulars& baseParticulars) {
  Reader r(base.year);
  DeclarationReading out;
  Declaration& d = out.read.declaration;
  EmployeeParticulars& p = out.read.particulars;
  d = base;
  p = baseParticulars;
  p.year = base.year;
  p.employeeKey = base.employeeKey;

  // 扶養控除等申告書: the employee, the spouse, the dependants.
  d.dependantForm = e.dependantForm;
  const std::optional<CivilDate> birth = r.Date(e.birth, "edBirth", "本人の生年月日");
  d.birth = birth.value_or(CivilDate{});
  d.disability = DisabilityOf(e.disability);
  d.widow = e.widow;
  d.singleParent = e.singleParent;
  d.workingStudent = e.workingStudent;
  d.nonResident = e.nonResident;
  d.leavingCase = e.leavingCase;
  d.spouse = ReadPerson(r, e.spouse, 0);
  d.dependants.clear();
  for (std::size_t i = 0; i < e.dependants.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    if (auto person = ReadPerson(r, e.dependants[i], row)) {
      d.dependants.push_back(*person);
      out.dependantRows.push_back(row);
    }
  }

  d.otherIncome = r.Amount(e.otherIncome, "edSyotoku", "給与以外の所得");
  d.incomeAdjustmentForm = e.incomeAdjustmentForm;

  d.declaredSocialInsurance = r.Amount(e.declaredSocialInsurance, "edSyaho", "社会保険料");
  d.smallBusinessMutualAid = r.Amount(e.smallBusinessMutualAid, "edKyosai", "小規模企業共済等掛金");
  d.lifeNewGeneral = r.Amount(e.lifeNewGeneral, "edSeimeiNew", "一般の生命保険料（新）");
  d.lifeOldGeneral = r.Amount(e.lifeOldGeneral, "edSeimeiOld", "一般の生命保険料（旧）");
  d.lifeCareMedical = r.Amount(e.lifeCareMedical, "edKaigo", "介護医療保険料");
  d.lifeNewPension = r.Amount(e.lifeNewPension, "edNenkinNew", "個人年金保険料（新）");
  d.lifeOldPension = r.Amount(e.lifeOldPension, "edNenkinOld", "個人年金保険料（旧）");
  d.earthquake = r.Amount(e.earthquake, "edJisin", "地震保険料");
  d.oldLongTerm = r.Amount(e.oldLongTerm, "edKyuchoki", "旧長期損害保険料");

  d.housingLoanCredit = r.Amount(e.housingLoanCredit, "edJutaku", "住宅借入金等特別控除額");
  d.previousPaid = r.Amount(e.previousPaid, "edZenSiharai", "前職分の支払金額");
  d.previousSocialInsurance = r.Amount(e.previousSocialInsurance, "edZenSyaho", "前職分の社会保険料");
  d.previousWithheld = r.Amount(e.previousWithheld, "edZenZei", "前職分の源泉徴収税額");

  // The particulars of the slips.
  p.furigana = r.Text(e.furigana, "edFurigana", "フリガナ");
  // Seven digits typed without the hyphen get it; anything else is left for the checks.
  const std::string postal = Trim(e.postalCode);
  const std::string digits = Digits(postal);
  p.postalCode = digits.size() == 7 && digits == postal ? digits.substr(0, 3) + "-" + digits.substr(3) : postal;
  p.address = r.Text(e.address, "edJusyo", "住所");
  p.municipality = r.Text(e.municipality, "edSicyoson", "市区町村");
  p.position = r.Text(e.position, "edYakusyoku", "役職名");
  p.officer = e.officer;
  p.hired = r.Date(e.hired, "edNyusya", "入社日");
  p.retired = r.Date(e.retired, "edTaisyoku", "退職日");

  out.problem = r.Problem();
  return out;
}

std::string FieldOfProblem(const DeclarationProblem& problem, const std::vector<int>& dependantRows) {
  using F = DeclarationField;
  auto dependant = [&](const char* part) {
    const bool known = problem.row >= 0 && problem.row < static_cast<int>(dependantRows.size());
    return PersonFieldName(part, known ? dependantRows[static_cast<std::size_t>(problem.row)] : 1);
  };
  switch (problem.field) {
    case F::EmployeeBirth: return "edBirth";
    case F::Widow: return "cbKafu";
    case F::SpouseName: return PersonFieldName("Name", 0);
    case F::SpouseBirth: return PersonFieldName("Birth", 0);
    case F::SpouseIncome: return PersonFieldName("Income", 0);
    case F::DependantName: return dependant("Name");
    case F::DependantRelation: return dependant("Zoku");
    case F::DependantBirth: return dependant("Birth");
    case F::DependantIncome: return dependant("Income");
    case F::OtherIncome: return "edSyotoku";
    case F::PreviousPaid: return "edZenSiharai";
    case F::PreviousSocialInsurance: return "edZenSyaho";
    case F::PreviousWithheld: return "edZenZei";
    case F::DeclaredSocialInsurance: return "edSyaho";
    case F::SmallBusinessMutualAid: return "edKyosai";
    case F::LifeNewGeneral: return "edSeimeiNew";
    case F::LifeOldGeneral: return "edSeimeiOld";
    case F::LifeCareMedical: return "edKaigo";
    case F::LifeNewPension: return "edNenkinNew";
    case F::LifeOldPension: return "edNenkinOld";
    case F::Earthquake: return "edJisin";
    case F::OldLongTerm: return "edKyuchoki";
    case F::HousingLoanCredit: return "edJutaku";
    case F::PostalCode: return "edYubin";
    case F::Municipality: return "edSicyoson";
    case F::Hired: return "edNyusya";
    case F::Retired: return "edTaisyoku";
  }
  return {};
}

InsuranceDeductions InsuranceDeductionsOf(const YearEndRules& rules, const Declaration& declaration) {
  // Each kind alone through the year's calculation, so the young-dependant rule of the 一般 kind and
  // every cap are the calculation's own.
  auto life = [&](Yen Declaration::*a, Yen Declaration::*b) {
    Declaration only = declaration;
    for (Yen Declaration::*field : {&Declaration::lifeNewGeneral, &Declaration::lifeOldGeneral,
                                    &Declaration::lifeCareMedical, &Declaration::lifeNewPension,
                                    &Declaration::lifeOldPension}) {
      if (field != a && field != b) only.*field = 0;
    }
    return ComputeYearEnd(rules, YearEndInputOf(EmployeeYearPay{}, &only)).lifeInsurance;
  };
  InsuranceDeductions out;
  out.lifeGeneral = life(&Declaration::lifeNewGeneral, &Declaration::lifeOldGeneral);
  out.lifeCareMedical = life(&Declaration::lifeCareMedical, &Declaration::lifeCareMedical);
  out.lifePension = life(&Declaration::lifeNewPension, &Declaration::lifeOldPension);
  const YearEndResult all = ComputeYearEnd(rules, YearEndInputOf(EmployeeYearPay{}, &declaration));
  out.lifeTotal = all.lifeInsurance;
  out.earthquake = all.earthquakeInsurance;
  return out;
}

}  // namespace paylark::screens
