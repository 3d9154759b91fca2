#include "session/memb_edit_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "store/year_file.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

using screens::EmployeeEntry;
using screens::EntryField;
using screens::EntryProblem;

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

EmployeeEntry FullEntry() {
  EmployeeEntry e;
  e.name = "山田太郎";
  e.department = "営業部";
  e.categoryIndex = -1;
  e.categoryText = "嘱託";
  e.payForm = 2;
  e.taxColumn = 1;
  e.paidInCash = true;
  e.mail = "yamada@example.jp";
  e.retirement = {"5", "3", "1"};
  e.dependants = 2;
  e.taxDependants = 3;
  e.basePay = 9000;
  e.positionAllowance = 10000;
  e.familyAllowance = 5000;
  e.overtimePrice = {1100, 1200, 1300, 1400};
  e.commuteNonTaxable = 12000;
  e.commuteTaxable = 800;
  e.commuteUnit = 5;
  e.residentTaxJune = 4100;
  e.residentTaxOther = 4000;
  e.fixedAllowance = {1, 2, 3};
  e.fixedDeduction = {4, 5, 6};
  e.paidLeavePay = 8000;
  e.absenceDeduction = 9000;
  e.latenessDeduction = 1125;
  e.employmentSubject = true;
  e.healthSubject = true;
  e.healthPremium = 15000;
  e.nursingCollected = true;
  e.nursingPremium = 2700;
  e.pensionSubject = true;
  e.pensionPremium = 27450;
  e.fundMember = true;
  e.fundContribution = 300;
  e.grade = 7;
  e.sex = 2;
  return e;
}

TEST(MembEditRulesTest, EveryControlReachesItsFieldAndComesBack) {
  EmployeeRecord r;
  screens::WriteEntry(FullEntry(), r, [] { return std::string("240101_090000"); });
  EXPECT_EQ(r.Key(), "240101_090000");
  EXPECT_EQ(r.RetirementDate(), " 5 3 1");
  EXPECT_EQ(r.Grade(), 7);
  EXPECT_EQ(r.OvertimePrice(3), 1400);
  EXPECT_EQ(r.FixedDeduction(2), 6);
  EXPECT_EQ(r.Sex(), 2);  // 女, at offset 212
  EXPECT_EQ(r.bytes[212], 2);
  EXPECT_EQ(screens::EntryFromRecord(r), FullEntry());
}

TEST(MembEditRulesTest, WritingZeroesWhatNoControlHoldsAndKeepsTheKey) {
  EmployeeRecord r;
  r.bytes.fill(0x5A);
  r.SetKey("081208_201533");
  r.SetName("長い名前の社員さん");
  bool keyMade = false;
  screens::WriteEntry(FullEntry(), r, [&] {
    keyMade = true;
    return std::string("x");
  });
  EXPECT_FALSE(keyMade);
  EXPECT_EQ(r.Key(), "081208_201533");
  for (std::size_t offset : {59u, 164u, 171u, 173u, 181u, 204u, 243u, 320u, 499u}) {
    EXPECT_EQ(r.bytes[offset], 0) << "offset " << offset;
  }
  EmployeeRecord expected;
  screens::WriteEntry(FullEntry(), expected, [] { return std::string("081208_201533"); });
  EXPECT_EQ(r, expected);  // stale string tails are gone as well
}

TEST(MembEditRulesTest, ShownCategoryIsTheListTextOfItsIndex) {
  EmployeeRecord r;
  r.SetCategoryIndex(4);
  r.SetCategoryText("古い区分");
  EXPECT_EQ(screens::EntryFromRecord(r).categoryText, "パート");
  r.SetCategoryIndex(-1);
  EXPECT_EQ(screens::EntryFromRecord(r).categoryText, "古い区分");
}

TEST(MembEditRulesTest, RetirementDateFields) {
  struct Case {
    std::array<std::string, 3> fields;
    std::string stored;
  } cases[] = {
      {{"5", "3", "1"}, " 5 3 1"},
      {{" 5", "12", "31"}, " 51231"},
      {{"", "", ""}, ""},
      {{" ", "", " "}, ""},
      {{"20", "", "1"}, "20   1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(screens::RetirementDateFromFields(c.fields), c.stored);
  }
  EXPECT_EQ(screens::RetirementFieldsFromDate(" 5 3 1"), (std::array<std::string, 3>{"5", "3", "1"}));
  EXPECT_EQ(screens::RetirementFieldsFromDate(" 5"), (std::array<std::string, 3>{"5", "", ""}));
  EXPECT_EQ(screens::RetirementFieldsOf(CivilDate{2024, 3, 1}), (std::array<std::string, 3>{" 6", " 3", " 1"}));
}

TEST(MembEditRulesTest, OkChecksInOrder) {
  auto entry = [](std::string name, Yen basePay, std::string mail) {
    EmployeeEntry e;
    e.name = std::move(name);
    e.basePay = basePay;
    e.mail = std::move(mail);
    return e;
  };
  const EntryProblem noName{EntryField::Name, "氏名を入力して下さい。"};
  const EntryProblem noPay{EntryField::BasePay, "基本給が入力されていません。"};
  const EntryProblem badMail{EntryField::Mail, "メールアドレスの入力エラー"};
  struct Case {
    const char* label;
    EmployeeEntry in;
    std::optional<EntryProblem> problem;
  } cases[] = {
      {"everything wrong: the name first", entry("  ", 0, "@x"), noName},
      {"no base pay before the mail", entry("山田", 0, "@x"), noPay},
      {"mail beginning with its @", entry("山田", 1, "@example.jp"), badMail},
      {"mail without @", entry("山田", 1, "yamada"), badMail},
      {"@ in second place", entry("山田", 1, "y@"), std::nullopt},
      {"blank mail is none", entry("山田", 1, "   "), std::nullopt},
      {"negative base pay is entered", entry("山田", -1, ""), std::nullopt},
      {"name without Shift-JIS form", entry("山田😀", 1, ""), EntryProblem{EntryField::Name, "使用できない文字が含まれています。"}},
  };
  for (const Case& c : cases) EXPECT_EQ(screens::CheckEntry(c.in), c.problem) << c.label;

  EmployeeEntry dept = entry("山田", 1, "");
  dept.department = "営業😀";
  ASSERT_TRUE(screens::CheckEntry(dept));
  EXPECT_EQ(screens::CheckEntry(dept)->field, EntryField::Department);
}

TEST(MembEditRulesTest, EmployeeKeyIsTheCreationTime) {
  std::tm t{};
  t.tm_year = 108;
  t.tm_mon = 11;
  t.tm_mday = 8;
  t.tm_hour = 20;
  t.tm_min = 15;
  t.tm_sec = 33;
  EXPECT_EQ(screens::EmployeeKeyOf(t), "081208_201533");
}

TEST(MembEditRulesTest, KeyTakenInThePeriodMovesOnBySeconds) {
  const std::time_t now = LocalTime(2024, 12, 31, 23, 59, 59);
  PeriodBlock period;
  EXPECT_EQ(screens::UniqueEmployeeKey(period, now), "241231_235959");
  period.Employee(1) = testing::TestEmployee("甲", "241231_235959", PayForm::Monthly, 1);
  period.Employee(2) = testing::TestEmployee("乙", "250101_000000", PayForm::Monthly, 1);
  // The next second is the next year; both are taken, so the key is two seconds later.
  EXPECT_EQ(screens::UniqueEmployeeKey(period, now), "250101_000001");
}

TEST(MembEditRulesTest, TemplateFile) {
  testing::TempDir dir;
  const auto path = dir / "社員情報.dat";
  EXPECT_FALSE(ReadEmployeeTemplate(path));
  RemoveEmployeeTemplate(path);  // nothing to remove is no error

  EmployeeRecord base = testing::TestEmployee("山田", "240101_090000", PayForm::Daily, 1000);
  base.SetMailAddress("a@b");
  base.SetRetirementDate(" 5 3 1");
  base.SetGrade(4);
  base.SetCategoryIndex(4);
  base.SetSex(1);
  screens::ClearForTemplate(base);
  EXPECT_EQ(base.Sex(), 0);  // personal, as the name
  EXPECT_EQ(base.Name(), "");
  EXPECT_FALSE(base.InUse());
  EXPECT_EQ(base.MailAddress(), "");
  EXPECT_FALSE(base.Retired());
  EXPECT_EQ(base.Grade(), 0);
  WriteEmployeeTemplate(path, base);
  EXPECT_EQ(std::filesystem::file_size(path), 500u);
  EXPECT_EQ(ReadEmployeeTemplate(path), base);
  RemoveEmployeeTemplate(path);
  EXPECT_FALSE(std::filesystem::exists(path));

  std::ofstream(path, std::ios::binary) << "short";
  EXPECT_THROW(ReadEmployeeTemplate(path), YearFileError);
  EXPECT_THROW(WriteEmployeeTemplate(dir / "no-folder" / "社員情報.dat", base), YearFileError);
}

TEST(MembEditRulesTest, NewEmployeeDefaults) {
  const EmployeeRecord r = screens::NewEmployeeDefaults();
  EXPECT_EQ(r.CategoryIndex(), 2);
  EXPECT_EQ(r.CategoryText(), "一般社員");
  EXPECT_EQ(r.PayFormCode(), 1);
  EXPECT_EQ(r.CommuteUnit(), 2);
  EXPECT_FALSE(r.InUse());
}

TEST(MembEditRulesTest, NewEmployeeTakesTheFirstFreeSlot) {
  struct Case {
    const char* label;
    int period;
    PayForm form;
    bool preset;
  } cases[] = {
      {"monthly in May", 5, PayForm::Monthly, true},
      {"daily in May", 5, PayForm::Daily, false},
      {"monthly in a bonus period", 13, PayForm::Monthly, false},
  };
  for (const Case& c : cases) {
    PeriodBlock period;
    period.company = testing::TestCompany();  // 20 days, 160 hours
    period.Employee(1) = testing::TestEmployee("甲", "240101_090000", PayForm::Monthly, 1);
    period.Attendance(2).Set(Kintai::AbsenceDays, 3);  // left over in a free slot
    period.Payment(2).Set(Sikyu::BasePay, 99);
    const int slot = screens::StoreNewEmployee(period, c.period,
                                               testing::TestEmployee("乙", "240101_090001", c.form, 1));
    EXPECT_EQ(slot, 2) << c.label;
    EXPECT_EQ(period.Employee(2).Name(), "乙");
    EXPECT_EQ(period.Attendance(2).Get(Kintai::WorkDays), c.preset ? 20 : 0) << c.label;
    EXPECT_EQ(period.Attendance(2).Get(Kintai::WorkedHours), c.preset ? 160 : 0) << c.label;
    EXPECT_EQ(period.Attendance(2).Get(Kintai::AbsenceDays), 0) << c.label;
    EXPECT_EQ(period.Payment(2).Get(Sikyu::BasePay), 0) << c.label;
  }
  PeriodBlock full;
  for (int s = 1; s <= kSlotCount; ++s) full.Employee(s) = testing::TestEmployee("甲", std::to_string(s), PayForm::Monthly, 1);
  const PeriodBlock before = full;
  EXPECT_EQ(screens::StoreNewEmployee(full, 5, testing::TestEmployee("乙", "x", PayForm::Monthly, 1)), 0);
  EXPECT_EQ(full, before);
}

TEST(MembEditRulesTest, CalculatorValueIsTruncatedAndFormattedByTheFieldCode) {
  EXPECT_EQ(screens::CalculatorFieldText(1234.99L, 70), "  1,234");
  EXPECT_EQ(screens::CalculatorFieldText(-5.7L, 70), "     -5");
  EXPECT_EQ(screens::CalculatorFieldText(1234567.5L, 90), "1,234,567");
  EXPECT_EQ(screens::CalculatorFieldText(3.9L, 20), " 3");
}

}  // namespace
}  // namespace paylark
