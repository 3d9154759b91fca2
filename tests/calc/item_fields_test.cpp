#include "calc/item_fields.h"

#include <gtest/gtest.h>

namespace paylark {
namespace {

Options RenamedOptions() {
  Options o;
  o.itemNames[static_cast<int>(UserItem::FixedAllowance2)] = "資格手当";
  o.itemNames[static_cast<int>(UserItem::VariableDeduction1)] = "社宅費";
  o.itemNames[static_cast<int>(UserItem::Other3)] = "立替金";
  return o;
}

TEST(ItemFieldsTest, AttendanceNamesFindTheirFields) {
  EXPECT_EQ(KintaiFieldOfName("所定労働日数"), Kintai::ScheduledDays);
  EXPECT_EQ(KintaiFieldOfName("所定労働時間"), Kintai::ScheduledHours);
  EXPECT_EQ(KintaiFieldOfName("休日深夜残業"), Kintai::HolidayNightOvertime);
  EXPECT_EQ(KintaiFieldOfName("有休残日数"), Kintai::PaidLeaveBalance);
  EXPECT_EQ(KintaiFieldOfName("基本給"), std::nullopt);
  EXPECT_EQ(KintaiFieldOfName(""), std::nullopt);
}

TEST(ItemFieldsTest, PaymentNamesOfBothKindsAndUserNames) {
  const Options o = RenamedOptions();
  const struct {
    const char* name;
    std::optional<Sikyu> field;
  } cases[] = {
      {"基本給", Sikyu::BasePay},           {"賞与", Sikyu::Bonus},
      {"役職手当", Sikyu::PositionAllowance}, {"役員報酬", Sikyu::DirectorPay},
      {"資格手当", Sikyu::FixedAllowance2},  {"固定手当２", std::nullopt},  // renamed away
      {"休日普通残業", Sikyu::HolidayOvertime}, {"変動手当３", Sikyu::VariableAllowance3},
      {"遅刻早退控除", Sikyu::Lateness},      {"課税支給合計", Sikyu::TaxableTotal},
      {"その他１", std::nullopt},             {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SikyuFieldOfName(c.name, o), c.field) << c.name;
}

TEST(ItemFieldsTest, DeductionAndOtherNames) {
  const Options o = RenamedOptions();
  EXPECT_EQ(KoujoFieldOfName("健康保険料", o), Koujo::Health);
  EXPECT_EQ(KoujoFieldOfName("社会保険料計", o), Koujo::SocialTotal);
  EXPECT_EQ(KoujoFieldOfName("社保控除後計", o), Koujo::AfterSocial);
  EXPECT_EQ(KoujoFieldOfName("住民税", o), Koujo::ResidentTax);
  EXPECT_EQ(KoujoFieldOfName("社宅費", o), Koujo::VariableDeduction1);
  EXPECT_EQ(KoujoFieldOfName("控除合計", o), std::nullopt);
  EXPECT_EQ(OtherItemOfName("立替金", o), 3);
  EXPECT_EQ(OtherItemOfName("その他１", o), 1);
  EXPECT_EQ(OtherItemOfName("その他３", o), std::nullopt);
  EXPECT_EQ(SikyuOther(3), Sikyu::Other3);
  EXPECT_EQ(KoujoOther(1), Koujo::Other1);
}

TEST(ItemFieldsTest, ManualFlagsExistForCalculatedPositionsOnly) {
  for (Sikyu p : {Sikyu::BasePay, Sikyu::CommuteTaxable, Sikyu::Absence, Sikyu::Lateness}) {
    EXPECT_TRUE(HasManualFlag(p)) << static_cast<int>(p);
  }
  for (Sikyu p : {Sikyu::VariableAllowance1, Sikyu::VariableAllowance3, Sikyu::TaxableTotal, Sikyu::Other1}) {
    EXPECT_FALSE(HasManualFlag(p)) << static_cast<int>(p);
  }
  EXPECT_TRUE(HasManualFlag(Koujo::Health));
  EXPECT_TRUE(HasManualFlag(Koujo::FixedDeduction3));
  EXPECT_FALSE(HasManualFlag(Koujo::VariableDeduction1));
  EXPECT_FALSE(HasManualFlag(Koujo::Other2));
}

}  // namespace
}  // namespace paylark
