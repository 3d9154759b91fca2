// The checks of the declaration entry: the first fault with its field, in the order of the form.
#include "session/year_end_declaration_rules.h"

#include <gtest/gtest.h>

#include <functional>

#include "store/year_end_rules.h"

namespace paylark::screens {
namespace {

Declaration Sound() {
  Declaration d;
  d.year = 2026;
  d.employeeKey = "260101_000001";
  d.dependantForm = true;
  d.birth = {1980, 4, 1};
  d.spouse = DeclaredPerson{"山田花子", "妻", {1982, 7, 7}, 0};
  d.dependants = {{"山田太郎", "長男", {2010, 3, 3}, 0}, {"山田次郎", "次男", {2026, 12, 31}, 0}};
  d.previousPaid = 1000000;
  d.previousSocialInsurance = 150000;
  d.previousWithheld = 20000;
  return d;
}

EmployeeParticulars SoundParticulars() {
  EmployeeParticulars p;
  p.year = 2026;
  p.postalCode = "160-0022";
  p.address = "東京都新宿区新宿1-1";
  p.municipality = "東京都新宿区";
  p.hired = CivilDate{2026, 4, 1};
  p.retired = CivilDate{2026, 12, 31};
  return p;
}

TEST(CheckDeclaration, TheFirstFaultNamesItsFieldAndRow) {
  using F = DeclarationField;
  EXPECT_EQ(CheckDeclaration(Sound(), SoundParticulars(), 2026), std::nullopt);
  EXPECT_EQ(CheckDeclaration(Sound(), EmployeeParticulars{}, 2026), std::nullopt);  // particulars optional

  struct Case {
    const char* name;
    std::function<void(Declaration&, EmployeeParticulars&)> change;
    F field;
    int row;
    const char* message;
  };
  const Case cases[] = {
      {"no birth date", [](Declaration& d, EmployeeParticulars&) { d.birth = {}; }, F::EmployeeBirth, -1,
       "本人の生年月日を入力して下さい。"},
      {"30 February", [](Declaration& d, EmployeeParticulars&) { d.birth = {1980, 2, 30}; }, F::EmployeeBirth, -1,
       "本人の生年月日が正しくありません。"},
      {"before 明治", [](Declaration& d, EmployeeParticulars&) { d.birth = {1867, 12, 31}; }, F::EmployeeBirth, -1,
       "本人の生年月日が正しくありません。"},
      {"寡婦 and ひとり親",
       [](Declaration& d, EmployeeParticulars&) { d.widow = d.singleParent = true; }, F::Widow, -1,
       "寡婦とひとり親は同時に選べません。"},
      {"spouse without a name", [](Declaration& d, EmployeeParticulars&) { d.spouse->name = "\u3000 "; },
       F::SpouseName, -1, "配偶者の氏名を入力して下さい。"},
      {"spouse born after the year",
       [](Declaration& d, EmployeeParticulars&) { d.spouse->birth = {2027, 1, 1}; }, F::SpouseBirth, -1,
       "配偶者の生年月日が2026年12月31日より後になっています。"},
      {"spouse's income negative", [](Declaration& d, EmployeeParticulars&) { d.spouse->income = -1; },
       F::SpouseIncome, -1, "配偶者の合計所得金額にマイナスは入力できません。"},
      {"second dependant without a name", [](Declaration& d, EmployeeParticulars&) { d.dependants[1].name = ""; },
       F::DependantName, 1, "扶養親族（2行目）の氏名を入力して下さい。"},
      {"dependant without 続柄", [](Declaration& d, EmployeeParticulars&) { d.dependants[0].relation = ""; },
       F::DependantRelation, 0, "扶養親族（1行目）の続柄を入力して下さい。"},
      {"dependant without birth date", [](Declaration& d, EmployeeParticulars&) { d.dependants[1].birth = {}; },
       F::DependantBirth, 1, "扶養親族（2行目）の生年月日を入力して下さい。"},
      {"dependant's income negative", [](Declaration& d, EmployeeParticulars&) { d.dependants[0].income = -5; },
       F::DependantIncome, 0, "扶養親族（1行目）の合計所得金額にマイナスは入力できません。"},
      {"premium negative", [](Declaration& d, EmployeeParticulars&) { d.lifeCareMedical = -1; },
       F::LifeCareMedical, -1, "介護医療保険料にマイナスは入力できません。"},
      {"housing credit negative", [](Declaration& d, EmployeeParticulars&) { d.housingLoanCredit = -1; },
       F::HousingLoanCredit, -1, "住宅借入金等特別控除額にマイナスは入力できません。"},
      {"前職分 tax above its pay", [](Declaration& d, EmployeeParticulars&) { d.previousWithheld = 1000001; },
       F::PreviousWithheld, -1, "前職分の源泉徴収税額が前職分の支払金額を超えています。"},
      {"前職分 premiums without pay", [](Declaration& d, EmployeeParticulars&) { d.previousPaid = 0; },
       F::PreviousSocialInsurance, -1, "前職分の社会保険料が前職分の支払金額を超えています。"},
      {"postal code", [](Declaration&, EmployeeParticulars& p) { p.postalCode = "1600022"; }, F::PostalCode, -1,
       "郵便番号は123-4567の形で入力して下さい。"},
      {"address without municipality", [](Declaration&, EmployeeParticulars& p) { p.municipality = ""; },
       F::Municipality, -1, "住所の市区町村（給与支払報告書の提出先）を入力して下さい。"},
      {"hired last year", [](Declaration&, EmployeeParticulars& p) { p.hired = CivilDate{2025, 12, 31}; }, F::Hired,
       -1, "就職の日付は2026年中の日付を入力して下さい。"},
      {"retired before hired", [](Declaration&, EmployeeParticulars& p) { p.retired = CivilDate{2026, 3, 31}; },
       F::Retired, -1, "退職の日付が就職の日付より前になっています。"},
      // The first of two faults in the order of the form.
      {"two faults",
       [](Declaration& d, EmployeeParticulars&) {
         d.earthquake = -1;
         d.dependants[0].name = "";
       },
       F::DependantName, 0, "扶養親族（1行目）の氏名を入力して下さい。"},
  };
  for (const Case& c : cases) {
    Declaration d = Sound();
    EmployeeParticulars p = SoundParticulars();
    c.change(d, p);
    const std::optional<DeclarationProblem> problem = CheckDeclaration(d, p, 2026);
    ASSERT_TRUE(problem) << c.name;
    EXPECT_EQ(*problem, (DeclarationProblem{c.field, c.row, c.message})) << c.name;
  }
  EXPECT_STREQ(DeclarationFieldName(F::DependantBirth), "dependants.birth");
}

TEST(CarryOverDeclaration, KeepsThePersonsAndClearsTheYearsAmounts) {
  Declaration last = Sound();
  last.year = 2025;
  last.singleParent = true;
  last.leavingCase = true;
  last.lifeNewGeneral = 1;
  last.earthquake = 2;
  last.otherIncome = 3;
  last.housingLoanCredit = 4;
  last.smallBusinessMutualAid = 5;
  last.declaredSocialInsurance = 6;
  const Declaration d = CarryOverDeclaration(last, 2026);
  Declaration expected;
  expected.year = 2026;
  expected.employeeKey = last.employeeKey;
  expected.dependantForm = true;
  expected.birth = last.birth;
  expected.singleParent = true;
  expected.spouse = last.spouse;
  expected.dependants = last.dependants;
  EXPECT_EQ(d, expected);
  const EmployeeParticulars p = CarryOverParticulars(SoundParticulars(), 2027);
  EXPECT_EQ(p.year, 2027);
  EXPECT_EQ(p.address, SoundParticulars().address);
  EXPECT_FALSE(p.hired);
  EXPECT_FALSE(p.retired);
}

TEST(DeductionsOfDeclaration, TheCalculationsFiguresOfThePremiums) {
  const YearEndRules rules = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2026);
  Declaration d = Sound();  // two dependants under 23
  d.declaredSocialInsurance = 120000;
  d.smallBusinessMutualAid = 276000;
  d.lifeNewGeneral = 100000;  // 100,000 / 4 + 30,000 with a dependant under 23 (令和8年分), else the cap 40,000
  d.lifeCareMedical = 30000;  // 30,000 / 2 + 10,000
  d.earthquake = 30000;
  d.oldLongTerm = 30000;  // 15,000: together 45,000
  EXPECT_EQ(DeductionsOfDeclaration(rules, d), (DeclaredDeductions{120000, 276000, 80000, 45000}));
  d.dependants.clear();
  d.earthquake = 60000;  // capped at 50,000 with the old long-term premium
  EXPECT_EQ(DeductionsOfDeclaration(rules, d), (DeclaredDeductions{120000, 276000, 65000, 50000}));
}

}  // namespace
}  // namespace paylark::screens
