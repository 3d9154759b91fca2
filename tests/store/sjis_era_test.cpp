#include <gtest/gtest.h>

#include "store/era.h"
#include "store/money.h"
#include "store/period.h"
#include "store/sjis.h"

namespace paylark {
namespace {

TEST(Sjis, RoundTripsJapaneseAndHalfWidthDot) {
  const std::string name = "令和8年給与･賞与.dat";
  std::string sjis = ToSjis(name);
  EXPECT_EQ(FromSjis(sjis), name);
  // The half-width middle dot is the single byte 0xA5.
  EXPECT_NE(sjis.find('\xA5'), std::string::npos);
  EXPECT_THROW(ToSjis("\xF0\x9F\x98\x80"), EncodingError);  // an emoji has no code page 932 form
}

TEST(Sjis, OnlyTextWithACodePage932FormCanBeStored) {
  for (const char* text : {"", "山田太郎", "ｱｲｳ", "①㈱", "～−"}) EXPECT_TRUE(HasSjisForm(text)) << text;
  for (const char* text : {"\xF0\x9F\x98\x80", "山田\xE2\x82\xA9", "Ǆ"}) EXPECT_FALSE(HasSjisForm(text)) << text;
}

TEST(Sjis, CutNeverSplitsADoubleByteCharacter) {
  std::string sjis = ToSjis("山田太郎");  // 8 bytes
  EXPECT_EQ(CutToMaxLength(sjis, 8), sjis);
  EXPECT_EQ(FromSjis(CutToMaxLength(sjis, 7)), "山田太");
  EXPECT_EQ(FromSjis(CutToMaxLength(ToSjis("A山田"), 4)), "A山");
  EXPECT_EQ(CutUtf8ToSjisLength("ABCあい", 4), "ABC");
  EXPECT_EQ(SjisWidth("ｱｲ山A"), 5u);
}

TEST(Sjis, RemoveSpacesDropsHalfAndFullWidthSpaces) {
  EXPECT_EQ(RemoveSpaces(" 山田　太郎 "), "山田太郎");
}

TEST(Era, DatesAndYears) {
  EXPECT_EQ(EraOf({2026, 12, 10}), (EraYear{"令和", 8}));
  EXPECT_EQ(EraOf({2019, 4, 30}), (EraYear{"平成", 31}));
  EXPECT_EQ(EraOf({2019, 5, 1}), (EraYear{"令和", 1}));
  EXPECT_EQ(EraOf({1989, 1, 7}), (EraYear{"昭和", 64}));
  EXPECT_EQ(EraOf({1912, 7, 30}), (EraYear{"大正", 1}));
  EXPECT_EQ(GregorianYear({"平成", 20}), 2008);
  EXPECT_EQ(GregorianYear({"令和", 8}), 2026);
  EXPECT_EQ(GregorianYear({"明治", 45}), 1912);
  EXPECT_FALSE(GregorianYear({"未知", 1}).has_value());
}

TEST(Era, AYearInWhichTheEraChangedHasBothNamesLaterFirst) {
  EXPECT_EQ(EraYearsOf(2019), (std::vector<EraYear>{{"令和", 1}, {"平成", 31}}));
  EXPECT_EQ(EraYearsOf(1989), (std::vector<EraYear>{{"平成", 1}, {"昭和", 64}}));
  EXPECT_EQ(EraYearsOf(2025), (std::vector<EraYear>{{"令和", 7}}));
  EXPECT_TRUE(IsLeapYear(2008));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

TEST(Money, AdditionOverflowIsAnError) {
  EXPECT_EQ(CheckedAdd(2'000'000'000, 147'483'647), 2'147'483'647);
  EXPECT_THROW((void)CheckedAdd(2'000'000'000, 147'483'648), MoneyOverflow);
  EXPECT_THROW((void)CheckedSub(-2'000'000'000, 147'483'649), MoneyOverflow);
}

TEST(Records, StringsAreClampedToTheirFieldAndFiguresSitAtTheirOffsets) {
  EmployeeRecord e;
  e.SetName("山田太郎");
  EXPECT_EQ(e.bytes[0], 8);
  e.bytes[0] = 200;  // a damaged length byte
  EXPECT_EQ(e.RawText(0, 20).size(), 20u);
  EXPECT_FALSE(e.InUse());
  e.SetKey("261210_093000");
  EXPECT_TRUE(e.Active());
  e.SetRetirementDate("  ");
  EXPECT_FALSE(e.Retired());
  e.SetRetirementDate("261231");
  EXPECT_TRUE(e.Retired());

  PaymentRecord p;
  p.Set(Sikyu::Total, 123);
  p.SetManual(Sikyu::Other3, true);
  EXPECT_EQ(bytes::GetI32(p.bytes.data(), 72), 123);
  EXPECT_EQ(p.bytes[115 + 22], 1);
  DeductionRecord d;
  d.Set(Koujo::AfterSocial, 456);
  d.SetManual(Koujo::IncomeTax, true);
  EXPECT_EQ(bytes::GetI32(d.bytes.data(), 24), 456);
  EXPECT_EQ(d.bytes[107 + 8], 1);
  AttendanceRecord a;
  a.Set(Kintai::PaidLeaveBalance, 3.5);
  EXPECT_EQ(bytes::GetF64(a.bytes.data(), 112), 3.5);
  EXPECT_EQ(BlockOffset(13), 370976);
  EXPECT_EQ(kYearFileSize, 463688);
}

}  // namespace
}  // namespace paylark
