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

DeclarationEntry Valid() {
  DeclarationEntry e;
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
  const DeclarationReading r = ReadDeclarationEntry(Valid(), Base(), EmployeeParticulars{});
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
  const DeclarationReading again = ReadDeclarationEntry(EntryOf(d, p), Base(), EmployeeParticulars{});
  ASSERT_FALSE(again.problem) << again.problem->message;
  EXPECT_EQ(again.read.declaration, d);
  EXPECT_EQ(again.read.particulars, p);
}

TEST(DeclarationRulesTest, TheFirstFaultNamesItsField) {
  const struct {
    const char* what;
    void (*change)(DeclarationEntry&);
    const char* field;
    const char* message;
  } cases[] = {
      {"own birth date", [](DeclarationEntry& e) { e.birth = "S55.13.1"; }, "edBirth",
       "本人の生年月日が正しくありません。（例: S55.4.1、昭和55年4月1日、1980/4/1）"},
      {"widow and single parent", [](DeclarationEntry& e) { e.widow = e.singleParent = true; }, "cbKafu",
       "寡婦とひとり親は同時に選択できません。"},
      {"spouse without a name", [](DeclarationEntry& e) { e.spouse.name = "　"; }, "edHaiName", "氏名を入力して下さい。"},
      {"dependant without relation", [](DeclarationEntry& e) { e.dependants[2].relation.clear(); }, "edFuyoZoku3",
       "続柄を入力して下さい。"},
      {"a checked row alone is a person", [](DeclarationEntry& e) { e.dependants[1].cohabiting = true; },
       "edFuyoName2", "氏名を入力して下さい。"},
      {"dependant without birth date", [](DeclarationEntry& e) { e.dependants[0].birth.clear(); }, "edFuyoBirth1",
       "生年月日を入力して下さい。（例: S55.4.1、昭和55年4月1日、1980/4/1）"},
      {"born after the year", [](DeclarationEntry& e) { e.dependants[0].birth = "2027/1/1"; }, "edFuyoBirth1",
       "生年月日が正しくありません。（例: S55.4.1、昭和55年4月1日、1980/4/1）"},
      {"an era year beyond its era", [](DeclarationEntry& e) { e.spouse.birth = "昭和65年1月1日"; }, "edHaiBirth",
       "生年月日が正しくありません。（例: S55.4.1、昭和55年4月1日、1980/4/1）"},
      {"amount too large", [](DeclarationEntry& e) { e.earthquake = 1e10; }, "edJisin",
       "地震保険料は0～999,999,999円の整数で入力して下さい。"},
      {"postal code", [](DeclarationEntry& e) { e.postalCode = "160-002"; }, "edYubin",
       "郵便番号は 123-4567 の形で入力して下さい。"},
      {"address without municipality", [](DeclarationEntry& e) { e.municipality.clear(); }, "edSicyoson",
       "給与支払報告書の提出先の市区町村を入力して下さい。"},
      {"text the file cannot hold", [](DeclarationEntry& e) { e.address = "東京都😀区"; }, "edJusyo",
       "住所に使用できない文字が含まれています。"},
      {"retired in another year", [](DeclarationEntry& e) { e.retired = "2025/12/31"; }, "edTaisyoku",
       "退職日は年の中途で退職した場合に、対象年の日付で入力して下さい。"},
      {"retired before hired", [](DeclarationEntry& e) { e.hired = "2026/12/1"; }, "edTaisyoku",
       "退職日が入社日より前です。"},
      // Two faults: the earlier field of the form is named.
      {"first of two", [](DeclarationEntry& e) { e.postalCode = "x"; e.spouse.name.clear(); }, "edHaiName",
       "氏名を入力して下さい。"},
  };
  for (const auto& c : cases) {
    DeclarationEntry e = Valid();
    c.change(e);
    const DeclarationReading r = ReadDeclarationEntry(e, Base(), EmployeeParticulars{});
    ASSERT_TRUE(r.problem) << c.what;
    EXPECT_EQ(*r.problem, (DeclarationProblem{c.field, c.message})) << c.what;
  }
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
