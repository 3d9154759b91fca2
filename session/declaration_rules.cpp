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
  const std::optional<DeclarationProblem>& Problem() const { return problem_; }

  void Fail(std::string field, std::string message) {
    if (!problem_) problem_ = DeclarationProblem{std::move(field), std::move(message)};
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

  int Year() const { return year_; }

 private:
  int year_;
  std::optional<DeclarationProblem> problem_;
};

DisabilityKind DisabilityOf(int value) {
  return value >= 0 && value <= 3 ? static_cast<DisabilityKind>(value) : DisabilityKind::None;
}

std::optional<DeclaredPerson> ReadPerson(Reader& r, const PersonEntry& e, int row) {
  if (e.Empty()) return std::nullopt;
  DeclaredPerson p;
  const bool spouse = row == 0;
  p.name = r.Text(e.name, PersonFieldName("Name", row), "氏名");
  if (!r.Failed() && RemoveSpaces(p.name).empty()) r.Fail(PersonFieldName("Name", row), "氏名を入力して下さい。");
  p.relation = r.Text(e.relation, PersonFieldName("Zoku", row), "続柄");
  if (!r.Failed() && RemoveSpaces(p.relation).empty() && !spouse) r.Fail(PersonFieldName("Zoku", row), "続柄を入力して下さい。");
  if (spouse && p.relation.empty()) p.relation = "配偶者";
  const std::string birthField = PersonFieldName("Birth", row);
  const std::optional<CivilDate> birth = r.Date(e.birth, birthField, "生年月日");
  if (!r.Failed() && !birth) r.Fail(birthField, "生年月日を入力して下さい。" + DateFormHint());
  if (birth) p.birth = *birth;
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

DeclarationEntry EntryOf(const Declaration& d, const EmployeeParticulars& p) {
  DeclarationEntry e;
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

DeclarationReading ReadDeclarationEntry(const DeclarationEntry& e, const Declaration& base,
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
  if (!r.Failed() && e.widow && e.singleParent) r.Fail("cbKafu", "寡婦とひとり親は同時に選択できません。");
  d.workingStudent = e.workingStudent;
  d.nonResident = e.nonResident;
  d.leavingCase = e.leavingCase;
  d.spouse = ReadPerson(r, e.spouse, 0);
  d.dependants.clear();
  for (std::size_t i = 0; i < e.dependants.size(); ++i) {
    if (auto person = ReadPerson(r, e.dependants[i], static_cast<int>(i) + 1)) d.dependants.push_back(*person);
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
  const std::string postal = Trim(e.postalCode);
  if (!r.Failed() && !postal.empty()) {
    const std::string digits = Digits(postal);
    if (digits.size() != 7 || (postal != digits && postal != digits.substr(0, 3) + "-" + digits.substr(3)))
      r.Fail("edYubin", "郵便番号は 123-4567 の形で入力して下さい。");
    p.postalCode = digits.substr(0, 3) + "-" + digits.substr(3);
  } else {
    p.postalCode.clear();
  }
  p.address = r.Text(e.address, "edJusyo", "住所");
  p.municipality = r.Text(e.municipality, "edSicyoson", "市区町村");
  if (!r.Failed() && !p.address.empty() && p.municipality.empty())
    r.Fail("edSicyoson", "給与支払報告書の提出先の市区町村を入力して下さい。");
  p.position = r.Text(e.position, "edYakusyoku", "役職名");
  p.officer = e.officer;
  p.hired = r.Date(e.hired, "edNyusya", "入社日");
  if (!r.Failed() && p.hired && p.hired->year != base.year)
    r.Fail("edNyusya", "入社日は年の中途で就職した場合に、対象年の日付で入力して下さい。");
  p.retired = r.Date(e.retired, "edTaisyoku", "退職日");
  if (!r.Failed() && p.retired && p.retired->year != base.year)
    r.Fail("edTaisyoku", "退職日は年の中途で退職した場合に、対象年の日付で入力して下さい。");
  if (!r.Failed() && p.hired && p.retired && *p.retired < *p.hired)
    r.Fail("edTaisyoku", "退職日が入社日より前です。");

  out.problem = r.Problem();
  return out;
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
