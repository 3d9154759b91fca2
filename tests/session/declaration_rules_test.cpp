// The declaration entry without a window: reading the typed fields into the records, the first
// fault in the order of the form, and the insurance deductions shown while typing.
#include "session/declaration_rules.h"

#include <gtest/gtest.h>

#include "store/year_end_rules.h"

namespace paylark::screens {
namespace {

Declaration Base() {
  Declaration d;
  d.year = 2026;
  d.employeeKey = "260101_000001";
  return d;
}

PersonEntry Person(const char* name, const char* relation, const char* birth, double income = 0) {
  PersonEntry p;
  p.name = name;
  p.relation = relation;
  p.birth = birth;
  p.income = income;
  return p;
}

DeclarationForm Valid() {
  DeclarationForm e;
  e.birth = "S55.4.1";
  e.spouse = Person("山田　花子", "", "1982/6/15", 480000);
  e.dependants = {Person("山田　一郎", "長男", "H17.5.5"), PersonEntry{}, Person("山田　次郎", "次男", "令和2年1月2日")};
  e.lifeNewGeneral = 60000;
  e.postalCode = "1600022";
  e.address = "東京都新宿区新宿1-1-1";
  e.municipality = "東京都新宿区";
  e.retired = "2026/11/30";
  return e;
}

TEST(DeclarationRulesTest, ReadsTheFormsIntoTheRecordsSkippingEmptyRows) {
  const DeclarationReading r = ReadDeclarationForm(Valid(), Base(), EmployeeParticulars{});
  ASSERT_FALSE(r.problem) << r.problem->message;
  const Declaration& d = r.read.declaration;
  EXPECT_EQ(d.birth, (CivilDate{1980, 4, 1}));
  ASSERT_TRUE(d.spouse);
  EXPECT_EQ(d.spouse->relation, "配偶者");
  EXPECT_EQ(d.spouse->income, 480000);
  ASSERT_EQ(d.dependants.size(), 2u);  // the empty row between them is no person
  EXPECT_EQ(d.dependants[0].birth, (CivilDate{2005, 5, 5}));
  EXPECT_EQ(d.dependants[1].name, "山田　次郎");
  EXPECT_EQ(d.dependants[1].birth, (CivilDate{2020, 1, 2}));
  EXPECT_EQ(d.lifeNewGeneral, 60000);
  const EmployeeParticulars& p = r.read.particulars;
  EXPECT_EQ(p.year, 2026);
  EXPECT_EQ(p.employeeKey, "260101_000001");
  EXPECT_EQ(p.postalCode, "160-0022");
  EXPECT_EQ(p.retired, (CivilDate{2026, 11, 30}));
  EXPECT_FALSE(p.hired);

  // Shown again, the screen's texts read back to the same records.
  const DeclarationReading again = ReadDeclarationForm(FormOf(d, p), Base(), EmployeeParticulars{});
  ASSERT_FALSE(again.problem) << again.problem->message;
  EXPECT_EQ(again.read.declaration, d);
  EXPECT_EQ(again.read.particulars, p);
}

TEST(DeclarationRulesTest, TheFirstTextThatIsNoValueNamesItsField) {
  const struct {
    const char* what;
    void (*change)(DeclarationForm&);
    const char* field;
    const char* message;
  } cases[] = {
      {"own birth date", [](DeclarationForm& e) { e.birth = "S55.13.1"; }, "edBirth",
       "本人の生年月日が正しくありません。（例: S55.4.1、昭和55年4月1日、1980/4/1）"},
      {"born after the year", [](DeclarationForm& e) { e.dependants[0].birth = "2027/1/1"; }, "edFuyoBirth1",
       "生年月日が正しくありません。（例: S55.4.1、昭和55年4月1日、1980/4/1）"},
      {"an era year beyond its era", [](DeclarationForm& e) { e.spouse.birth = "昭和65年1月1日"; }, "edHaiBirth",
       "生年月日が正しくありません。（例: S55.4.1、昭和55年4月1日、1980/4/1）"},
      {"amount too large", [](DeclarationForm& e) { e.earthquake = 1e10; }, "edJisin",
       "地震保険料は0～999,999,999円の整数で入力して下さい。"},
      {"text the file cannot hold", [](DeclarationForm& e) { e.address = "東京都😀区"; }, "edJusyo",
       "住所に使用できない文字が含まれています。"},
      {"a date that is none", [](DeclarationForm& e) { e.retired = "11月末"; }, "edTaisyoku",
       "退職日が正しくありません。（例: S55.4.1、昭和55年4月1日、1980/4/1）"},
      // Two faults: the earlier field of the form is named.
      {"first of two", [](DeclarationForm& e) { e.address = "😀"; e.dependants[2].birth = "x"; }, "edFuyoBirth3",
       "生年月日が正しくありません。（例: S55.4.1、昭和55年4月1日、1980/4/1）"},
  };
  for (const auto& c : cases) {
    DeclarationForm e = Valid();
    c.change(e);
    const DeclarationReading r = ReadDeclarationForm(e, Base(), EmployeeParticulars{});
    ASSERT_TRUE(r.problem) << c.what;
    EXPECT_EQ(*r.problem, (FormProblem{c.field, c.message})) << c.what;
  }
}

// The declaration's own checks count the persons without the empty rows; the fault is shown at
// the row on the screen.
TEST(DeclarationRulesTest, FaultsOfTheDeclarationChecksAreShownAtTheirControls) {
  DeclarationForm e = Valid();
  e.dependants[2].relation.clear();  // screen row 3, the second person
  const DeclarationReading r = ReadDeclarationForm(e, Base(), EmployeeParticulars{});
  ASSERT_FALSE(r.problem);
  const std::optional<DeclarationProblem> p = CheckDeclaration(r.read.declaration, r.read.particulars, 2026);
  ASSERT_TRUE(p);
  EXPECT_EQ(FieldOfProblem(*p, r.dependantRows), "edFuyoZoku3");

  e = Valid();
  e.spouse.name = "　";
  const DeclarationReading spouse = ReadDeclarationForm(e, Base(), EmployeeParticulars{});
  const std::optional<DeclarationProblem> q =
      CheckDeclaration(spouse.read.declaration, spouse.read.particulars, 2026);
  ASSERT_TRUE(q);
  EXPECT_EQ(FieldOfProblem(*q, spouse.dependantRows), "edHaiName");
}

TEST(DeclarationRulesTest, InsuranceDeductionsOfEachKindAndTheirTotal) {
  const YearEndRules rules = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2025);
  Declaration d = Base();
  d.year = 2025;
  d.lifeNewGeneral = 60000;   // 60,000 / 4 + 20,000
  d.lifeCareMedical = 100000; // over 80,000: the cap
  d.lifeNewPension = 30000;   // 30,000 / 2 + 10,000
  d.earthquake = 70000;       // the cap
  InsuranceDeductions x = InsuranceDeductionsOf(rules, d);
  EXPECT_EQ(x.lifeGeneral, 35000);
  EXPECT_EQ(x.lifeCareMedical, 40000);
  EXPECT_EQ(x.lifePension, 25000);
  EXPECT_EQ(x.lifeTotal, 100000);
  EXPECT_EQ(x.earthquake, 50000);

  // The three kinds together stop at their common cap.
  d.lifeOldGeneral = 200000;
  d.lifeOldPension = 200000;
  x = InsuranceDeductionsOf(rules, d);
  EXPECT_EQ(x.lifeGeneral, 50000);  // 旧 alone is the larger
  EXPECT_EQ(x.lifePension, 50000);
  EXPECT_EQ(x.lifeTotal, 120000);
}

}  // namespace
}  // namespace paylark::screens
