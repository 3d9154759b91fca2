#include "session/memb_list_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/sjis.h"
#include "support/payroll_fixture.h"

namespace paylark {
namespace {

using screens::MembListMode;
using screens::MembListOrder;
using testing::TestEmployee;

EmployeeRecord Employee(const std::string& name, int slot, PayForm form = PayForm::Monthly) {
  EmployeeRecord e = TestEmployee(name, "2401" + std::to_string(10 + slot) + "_090000", form, 1000);
  e.SetCategoryIndex(2);
  return e;
}

// The Shift-JIS column (1-based) where `part` starts in a line.
std::size_t ColumnOf(const std::string& line, const std::string& part) {
  return SjisWidth(line.substr(0, line.find(part))) + 1;
}

TEST(MembListRulesTest, LineHasFixedShiftJisColumns) {
  EmployeeRecord e = Employee("Yamada", 3);
  e.SetMailAddress("yamada@example.jp");
  EXPECT_EQ(screens::MembListLine(3, e),
            " 03  Yamada            一般社員    月給                    yamada@example.jp");

  EmployeeRecord f = Employee("山田　太郎", 12, PayForm::Hourly);
  f.SetCategoryIndex(-1);
  f.SetCategoryText("嘱託");
  f.SetRetirementDate(" 5 3 1");
  f.SetMailAddress("taro@example.jp");
  const std::string line = screens::MembListLine(12, f);
  EXPECT_EQ(line.substr(0, 5), " 12  ");
  EXPECT_EQ(ColumnOf(line, "嘱託"), 24u);
  EXPECT_EQ(ColumnOf(line, "時間給"), 36u);
  EXPECT_EQ(ColumnOf(line, " 5/ 3/ 1    "), 48u);
  EXPECT_EQ(ColumnOf(line, "taro@"), static_cast<std::size_t>(screens::kMailColumn));
}

TEST(MembListRulesTest, AgeFillsTheGapAfterThePayFormWithoutMovingTheMail) {
  EmployeeRecord e = Employee("Yamada", 3);
  e.SetMailAddress("yamada@example.jp");
  e.SetBirthDate(19861215);
  EXPECT_EQ(screens::MembListLine(3, e, CivilDate{2026, 12, 13}),
            " 03  Yamada            一般社員    月給   39歳             yamada@example.jp");
  EXPECT_EQ(ColumnOf(screens::MembListLine(3, e, CivilDate{2026, 12, 14}), "yamada@"),
            static_cast<std::size_t>(screens::kMailColumn));
  EXPECT_NE(screens::MembListLine(3, e, CivilDate{2026, 12, 14}).find(" 40歳 "), std::string::npos);
  // Without a date, or an unknown birth date, the line is as before.
  EXPECT_EQ(screens::MembListLine(3, e), " 03  Yamada            一般社員    月給                    yamada@example.jp");
  e.SetBirthDate(0);
  EXPECT_EQ(screens::MembListLine(3, e, CivilDate{2026, 12, 14}),
            " 03  Yamada            一般社員    月給                    yamada@example.jp");
}

PeriodBlock Roster() {
  PeriodBlock p;
  p.Employee(1) = Employee("bob", 1, PayForm::Daily);
  p.Employee(2) = Employee("Alice", 2, PayForm::Hourly);
  p.Employee(3) = Employee("ALAN", 3, PayForm::Monthly);
  p.Employee(4) = Employee("bob", 4, PayForm::Daily);
  p.Employee(5) = Employee("Carl", 5, PayForm::Monthly);
  p.Employee(5).SetRetirementDate(" 5 3 1");
  p.Employee(2).SetCategoryIndex(-1);
  p.Employee(2).SetCategoryText("嘱託");
  p.Employee(3).SetCategoryIndex(4);
  p.Employee(3).SetCategoryText("パート");
  return p;
}

TEST(MembListRulesTest, OrdersAndRetirees) {
  const PeriodBlock p = Roster();
  struct Case {
    MembListOrder order;
    bool showRetired;
    std::vector<int> slots;
  } cases[] = {
      {MembListOrder::Slot, false, {1, 2, 3, 4}},
      {MembListOrder::Slot, true, {1, 2, 3, 4, 5}},
      // Case-insensitive; equal names in slot order.
      {MembListOrder::Name, true, {3, 2, 1, 4, 5}},
      // Index 2 before 4, a typed category (−1) last.
      {MembListOrder::Category, false, {1, 4, 3, 2}},
      {MembListOrder::PayForm, true, {3, 5, 1, 4, 2}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(screens::ListedSlots(p, c.order, c.showRetired), c.slots)
        << "order " << static_cast<int>(c.order) << (c.showRetired ? " with retirees" : "");
  }
}

TEST(MembListRulesTest, SelectAllAndDimming) {
  PeriodBlock p = Roster();
  p.Employee(1).SetMailAddress("bob@example.jp");
  p.Employee(5).SetMailAddress("carl@example.jp");  // retired, with mail
  const std::vector<int> slots = screens::ListedSlots(p, MembListOrder::Name, true);  // 3 2 1 4 5
  const std::vector<bool> none(slots.size(), false);
  EXPECT_EQ(screens::SelectAllLines(p, slots, MembListMode::Payslips, true, none), std::vector<bool>(5, true));
  // Mail: only lines with an address; the retired line keeps its state, whatever it is.
  EXPECT_EQ(screens::SelectAllLines(p, slots, MembListMode::Mail, true, none),
            (std::vector<bool>{false, false, true, false, false}));
  EXPECT_EQ(screens::SelectAllLines(p, slots, MembListMode::Mail, true, {true, true, false, true, true}),
            (std::vector<bool>{false, false, true, false, true}));
  EXPECT_EQ(screens::SelectAllLines(p, {1, 5}, MembListMode::Mail, false, {false, false}),
            (std::vector<bool>{true, true}));

  EXPECT_TRUE(screens::LineDimmed(MembListMode::Mail, p.Employee(2), false));
  EXPECT_FALSE(screens::LineDimmed(MembListMode::Payslips, p.Employee(2), false));
  EXPECT_TRUE(screens::LineDimmed(MembListMode::Payslips, p.Employee(5), true));
  EXPECT_FALSE(screens::LineDimmed(MembListMode::Edit, p.Employee(5), false));
}

TEST(MembListRulesTest, OkProblems) {
  EXPECT_EQ(screens::OkProblem(MembListMode::Payslips, 0, true), "印刷対象者が選択されていません。");
  EXPECT_EQ(screens::OkProblem(MembListMode::Ledger, 0, true), "印刷対象者が選択されていません。");
  EXPECT_EQ(screens::OkProblem(MembListMode::Mail, 0, true), "メール送信対象者が選択されていません。");
  EXPECT_EQ(screens::OkProblem(MembListMode::Mail, 2, false), "データが未選択です。");
  EXPECT_EQ(screens::OkProblem(MembListMode::Edit, 0, false), "データが未選択です。");
  EXPECT_EQ(screens::OkProblem(MembListMode::Edit, 0, true), std::nullopt);
  EXPECT_EQ(screens::OkProblem(MembListMode::Ledger, 1, true), std::nullopt);
}

TEST(MembListRulesTest, DeleteClosesUpWithAllFourRecords) {
  PeriodBlock p;
  for (int s = 1; s <= 5; ++s) {
    p.Employee(s) = Employee("社員" + std::to_string(s), s);
    p.Attendance(s).Set(Kintai::WorkDays, s);
    p.Payment(s).Set(Sikyu::BasePay, 1000 * s);
    p.Payment(s).SetManual(Sikyu::BasePay, s == 4);
    p.Deduction(s).Set(Koujo::IncomeTax, 10 * s);
  }
  const PeriodBlock before = p;
  screens::DeleteSlot(p, 3);
  EXPECT_EQ(screens::SlotsInUse(p), 4);
  for (int s : {3, 4}) {
    EXPECT_EQ(p.Employee(s), before.Employee(s + 1));
    EXPECT_EQ(p.Attendance(s), before.Attendance(s + 1));
    EXPECT_EQ(p.Payment(s), before.Payment(s + 1));
    EXPECT_EQ(p.Deduction(s), before.Deduction(s + 1));
  }
  EXPECT_TRUE(p.Payment(3).Manual(Sikyu::BasePay));
  EXPECT_FALSE(p.Employee(5).InUse());
  EXPECT_EQ(p.Attendance(5), AttendanceRecord{});
  EXPECT_EQ(p.Payment(5), PaymentRecord{});
  EXPECT_EQ(p.Deduction(5), DeductionRecord{});

  PeriodBlock full;
  for (int s = 1; s <= kSlotCount; ++s) {
    full.Employee(s) = Employee("社員", s);
    full.Payment(s).Set(Sikyu::BasePay, s);
  }
  screens::DeleteSlot(full, kSlotCount);
  EXPECT_EQ(screens::SlotsInUse(full), kSlotCount - 1);
  EXPECT_EQ(full.Payment(kSlotCount), PaymentRecord{});
  EXPECT_EQ(full.Payment(kSlotCount - 1).Get(Sikyu::BasePay), kSlotCount - 1);
}

}  // namespace
}  // namespace paylark
