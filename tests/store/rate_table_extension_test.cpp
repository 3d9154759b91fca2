// Table files with the extension after the image: the complete look-up, what makes an extension
// unacceptable, the dates shown, and the choice of the edition by the payment date.
#include "store/rate_table_extension.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <limits>

#include "store/bytes.h"
#include "store/rate_table_editions.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

KouColumns Kou(Yen zero, Yen step) {
  KouColumns c{};
  for (int d = 0; d < kDependantColumns; ++d) c[d] = zero - step * d;
  return c;
}

// Two rows from 100,000 to 120,000; 甲 brackets from 120,000 (10 %), 150,000 (30 %) and
// 200,000 (50 %); 乙 brackets from 120,000 (20 %) and 160,000 (40 %); 乙 3 % below 100,000.
FullMonthlyTaxTable SmallFullMonthly() {
  FullMonthlyTaxTable t;
  t.rows = {{100'000, 110'000, Kou(1'000, 100), 5'000}, {110'000, 120'000, Kou(2'000, 100), 6'000}};
  t.otsuRateBelowFirst = 0.03;
  t.kouReductionBeyondSeven = 1'000;
  t.otsuReductionPerDependant = 2'500;
  t.kouBrackets = {{120'000, Kou(3'000, 100), 0.1}, {150'000, Kou(6'000, 100), 0.3}, {200'000, Kou(25'000, 100), 0.5}};
  t.otsuBrackets = {{120'000, 8'000, 0.2}, {160'000, 16'000, 0.4}};
  return t;
}

// 甲: 0 % below 100,000 + 10,000 × d, 10 % below 200,000 + 10,000 × d, 20 % below 300,000, then 30 %.
// 乙: 10 % below 100,000, then 40 %.
FullBonusTaxTable SmallFullBonus() {
  FullBonusTaxTable t;
  KouColumns zero{}, b1{}, b2{}, b3{}, open{};
  for (int d = 0; d < kDependantColumns; ++d) {
    b1[d] = 100'000 + 10'000 * d;
    b2[d] = 200'000 + 10'000 * d;
    b3[d] = 300'000;
    open[d] = std::numeric_limits<Yen>::max();
  }
  t.kou = {{0.0, zero, b1}, {0.1, b1, b2}, {0.2, b2, b3}, {0.3, b3, open}};
  t.otsu = {{0.1, 100'000}, {0.4, std::numeric_limits<Yen>::max()}};
  return t;
}

template <class Image>
std::string ImageBytes(const Image& image) {
  return std::string(reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A monthly image that says something else than the complete table: 甲 and 乙 999 everywhere.
MonthlyTaxImage DecoyMonthlyImage() {
  MonthlyTaxImage image;
  image.SetRowCount(3);
  image.SetRow(1, 0, 1'000'000, Kou(999, 0), 999);
  image.SetRow(2, 1'000'000, 2'000'000, Kou(999, 0), 999);
  image.SetRow(3, 2'000'000, std::numeric_limits<Yen>::max(), Kou(999, 0), 999);
  return image;
}

// The four files of one edition with the given date: the complete tax tables, the other two
// date only. An empty `effective` writes the images alone.
void WriteEdition(const fs::path& folder, std::optional<CivilDate> effective, Yen otsuBase = 8'000) {
  fs::create_directories(folder);
  FullMonthlyTaxTable monthly = SmallFullMonthly();
  monthly.otsuBrackets[0].base = otsuBase;  // marks the edition in a 乙 tax from 120,000
  HealthGradeImage grades;
  grades.SetGradeCount(1);
  BonusTaxImage bonus;  // one row on each side, rate 0: a sound image that answers nothing
  bonus.SetKouRowCount(1);
  bonus.SetOtsuRowCount(1);
  const std::string images[] = {ImageBytes(DecoyMonthlyImage()), ImageBytes(bonus),
                                ImageBytes(EmploymentImage{}), ImageBytes(grades)};
  for (int i = 0; i < kTableCount; ++i) {
    const TableId id = static_cast<TableId>(i);
    std::string bytes = images[i];
    if (effective) {
      TableExtension e{id, *effective, std::nullopt, std::nullopt};
      if (id == TableId::MonthlyTax) e.monthly = monthly;
      if (id == TableId::BonusTax) e.bonus = SmallFullBonus();
      bytes += EncodeTableExtension(e);
    }
    WriteFile(folder / TableFileName(id), bytes);
  }
}

TEST(FullMonthlyTax, RowsBracketsReductionsAndRounding) {
  const FullMonthlyTaxTable t = SmallFullMonthly();
  ASSERT_EQ(t.Problem(), "");
  auto tax = [&](Yen amount, int column, int dependants, RoundingMode mode = RoundingMode::Truncate) {
    return t.Tax(amount, column, dependants, mode);
  };
  struct Case { Yen amount; int column; int dependants; Yen tax; };
  const Case cases[] = {
      {50'000, 0, 0, 0},          {50'000, 1, 0, 1'500},     {99'999, 1, 0, 2'999},   // 2,999.97 truncated
      {50'000, 2, 0, 1'500},      // any column but 0 is 乙, below the rows too
      {100'000, 0, 0, 1'000},     {109'999, 0, 3, 700},      {110'000, 1, 0, 6'000},
      {120'000, 0, 0, 3'000},     {149'999, 0, 0, 3'000 + 2'999},  // 2,999.9 truncated
      {150'000, 0, 0, 6'000},     {199'999, 0, 1, 5'900 + 14'999},
      {200'000, 0, 0, 25'000},    {1'000'000, 0, 0, 25'000 + 400'000},  // the third 甲 bracket, open-ended
      {159'999, 1, 0, 8'000 + 7'999},  {160'000, 1, 0, 16'000},  {1'000'000, 2, 0, 16'000 + 336'000},
      {1'000'000, 0, 9, 25'000 - 700 + 400'000 - 2'000},  // 7-dependant base, 2 × 1,000 beyond seven
      {1'000'000, 1, 2, 16'000 + 336'000 - 5'000},        // 乙 2 × 2,500
      {105'000, 0, 9, 0},         {105'000, 1, 3, 0},        // never negative
      {115'000, 0, -3, 2'000},    {-500, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.amount << " column " << c.column << " / " << c.dependants);
    EXPECT_EQ(tax(c.amount, c.column, c.dependants), c.tax);
  }
  // The deduction rounding mode rounds the product of the rate and the excess: 0.1 × 5 = 0.5.
  EXPECT_EQ(tax(120'005, 0, 0, RoundingMode::Truncate), 3'000);
  EXPECT_EQ(tax(120'005, 0, 0, RoundingMode::Up), 3'001);
  EXPECT_EQ(tax(120'005, 0, 0, RoundingMode::Half), 3'001);
  EXPECT_EQ(tax(std::numeric_limits<Yen>::max(), 0, 0), 25'000 + 1'073'641'823);  // 0.5 × 2,147,283,647 truncated
}

TEST(FullBonusTax, EveryRowIsSearched) {
  const FullBonusTaxTable t = SmallFullBonus();
  ASSERT_EQ(t.Problem(), "");
  struct Case { Yen previous; int dependants; int column; double rate; };
  const Case cases[] = {{0, 0, 0, 0.0},       {99'999, 0, 0, 0.0},     {100'000, 0, 0, 0.1},   {299'999, 0, 0, 0.2},
                        {300'000, 0, 0, 0.3},  {50'000'000, 0, 0, 0.3}, {169'999, 9, 0, 0.0},   {170'000, 7, 0, 0.1},
                        {-5, 0, 0, 0.0},       {99'999, 4, 1, 0.1},     {100'000, 0, 2, 0.4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.previous << " / " << c.dependants << " column " << c.column);
    EXPECT_DOUBLE_EQ(t.Rate(c.previous, c.dependants, c.column), c.rate);
  }
}

TEST(FullTables, UnsoundTablesAreNamed) {
  FullMonthlyTaxTable gap = SmallFullMonthly();
  gap.rows[1].lower = 110'001;
  EXPECT_EQ(gap.Problem(), "the monthly rows are not contiguous");
  FullMonthlyTaxTable late = SmallFullMonthly();
  late.kouBrackets[0].lower = 121'000;
  EXPECT_EQ(late.Problem(), "甲 brackets do not start where the rows end");
  FullMonthlyTaxTable unordered = SmallFullMonthly();
  std::swap(unordered.otsuBrackets[0].rate, unordered.otsuBrackets[1].rate);
  unordered.otsuBrackets[1].lower = 110'000;
  EXPECT_EQ(unordered.Problem(), "乙 brackets do not ascend");
  FullBonusTaxTable hole = SmallFullBonus();
  hole.kou[2].lower[5] += 1;
  EXPECT_EQ(hole.Problem(), "bonus 甲: the ranges are not contiguous");
  EXPECT_THROW(EncodeTableExtension({TableId::MonthlyTax, {2026, 1, 1}, gap, std::nullopt}), std::invalid_argument);
  EXPECT_THROW(EncodeTableExtension({TableId::BonusTax, {2026, 1, 1}, SmallFullMonthly(), std::nullopt}),
               std::invalid_argument);
  EXPECT_THROW(EncodeTableExtension({TableId::Employment, {2026, 2, 30}, std::nullopt, std::nullopt}),
               std::invalid_argument);
}

TEST(TableExtension, RoundTripAndTheHeaderFields) {
  const TableExtension monthly{TableId::MonthlyTax, {2026, 1, 1}, SmallFullMonthly(), std::nullopt};
  const std::string bytes = EncodeTableExtension(monthly);
  ASSERT_GE(bytes.size(), kTableExtensionHeaderSize);
  EXPECT_EQ(bytes.substr(0, 4), "TBLX");
  EXPECT_EQ(bytes::GetU16(reinterpret_cast<const std::uint8_t*>(bytes.data()), 4), 1);
  EXPECT_EQ(bytes::GetI32(reinterpret_cast<const std::uint8_t*>(bytes.data()), 8), 20260101);
  EXPECT_EQ(bytes::GetI32(reinterpret_cast<const std::uint8_t*>(bytes.data()), 12),
            static_cast<std::int32_t>(bytes.size() - kTableExtensionHeaderSize));
  std::string problem;
  const auto decoded = DecodeTableExtension(bytes, TableId::MonthlyTax, &problem);
  ASSERT_TRUE(decoded) << problem;
  EXPECT_EQ(decoded->effective, (CivilDate{2026, 1, 1}));
  EXPECT_EQ(decoded->monthly, SmallFullMonthly());
  EXPECT_FALSE(decoded->bonus);

  const auto bonus = DecodeTableExtension(
      EncodeTableExtension({TableId::BonusTax, {2020, 1, 1}, std::nullopt, SmallFullBonus()}), TableId::BonusTax, &problem);
  ASSERT_TRUE(bonus) << problem;
  EXPECT_EQ(bonus->bonus, SmallFullBonus());

  const std::string dateOnly = EncodeTableExtension({TableId::HealthGrade, {2016, 4, 1}, std::nullopt, std::nullopt});
  EXPECT_EQ(dateOnly.size(), kTableExtensionHeaderSize);
  const auto grades = DecodeTableExtension(dateOnly, TableId::HealthGrade, &problem);
  ASSERT_TRUE(grades);
  EXPECT_EQ(grades->effective, (CivilDate{2016, 4, 1}));
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);  // the standard check value
}

// Each fault of an extension makes that one table an error; the others load.
TEST(TableExtension, AFaultyExtensionIsAnErrorForItsTableOnly) {
  const std::string good = EncodeTableExtension({TableId::MonthlyTax, {2026, 1, 1}, SmallFullMonthly(), std::nullopt});
  auto withCrc = [](std::string e) {  // a changed extension with its checksum made right again
    const std::uint32_t crc = Crc32(std::string_view(e).substr(kTableExtensionHeaderSize), Crc32(e.substr(0, 16)));
    std::memcpy(e.data() + 16, &crc, sizeof crc);
    return e;
  };
  struct Case { const char* what; std::string extension; std::string reason; };
  std::vector<Case> cases;
  std::string flipped = good;
  flipped[40] ^= 0x01;
  cases.push_back({"payload byte", flipped, "checksum mismatch"});
  std::string version = good;
  version[4] = 2;
  cases.push_back({"version", withCrc(version), "format version 2 is not known"});
  std::string table = good;
  table[6] = 1;
  cases.push_back({"table", withCrc(table), "written for another table"});
  std::string date = good;
  date[8] = 0;  // 20260101 with its low byte cleared: no day of the calendar
  cases.push_back({"date", withCrc(date), "the effective date is not a date"});
  cases.push_back({"length", good + "x", "its length does not match the file"});
  cases.push_back({"header", good.substr(0, 10), "shorter than its header"});
  std::string gap = good;
  const Yen wrongLower = 100'001;
  std::memcpy(gap.data() + kTableExtensionHeaderSize + 4 + 44, &wrongLower, sizeof wrongLower);  // row 2's lower
  cases.push_back({"rows", withCrc(gap), "the monthly rows are not contiguous"});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    WriteEdition(dir.Path(), CivilDate{2026, 1, 1});
    WriteFile(dir / TableFileName(TableId::MonthlyTax), ImageBytes(DecoyMonthlyImage()) + c.extension);
    RateTables tables;
    std::vector<std::string> errors;
    EXPECT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 3);
    EXPECT_FALSE(tables.Loaded(TableId::MonthlyTax));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "税額表(給与).dat の表の後ろの拡張部分が正しくありません（" + c.reason + "）。");
    EXPECT_EQ(tables.Monthly(), MonthlyTaxImage{});
    EXPECT_EQ(tables.MonthlyTax(tables.Presence(), 115'000, 0, 0, RoundingMode::Truncate), 0);
    EXPECT_TRUE(tables.BonusFull() != nullptr);
  }
}

TEST(TableExtension, TheCompleteTableAnswersInPlaceOfTheImage) {
  TempDir dir;
  WriteEdition(dir.Path(), CivilDate{2026, 1, 1});
  RateTables tables;
  std::vector<std::string> errors;
  ASSERT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 4);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(tables.Monthly(), DecoyMonthlyImage());  // the image is kept as read
  const TablePresence presence = tables.Presence();
  EXPECT_EQ(tables.MonthlyTax(presence, 1'000'000, 0, 0, RoundingMode::Truncate), 425'000);
  EXPECT_EQ(tables.BonusTax(presence, 250'000, 100'000, 0, 0, RoundingMode::Truncate), 20'000);
  EXPECT_EQ(tables.EditionDate(), (CivilDate{2026, 1, 1}));
  EXPECT_EQ(tables.EffectiveDate(TableId::HealthGrade), (CivilDate{2026, 1, 1}));

  // Missing at the moment of the look-up: the fall-backs, as with the images alone.
  fs::remove(dir / TableFileName(TableId::MonthlyTax));
  fs::remove(dir / TableFileName(TableId::BonusTax));
  EXPECT_EQ(tables.MonthlyTax(tables.Presence(), 1'000'000, 0, 0, RoundingMode::Truncate), 0);
  EXPECT_FALSE(tables.BonusTaxRate(tables.Presence(), 250'000, 0, 0, nullptr));

  // Installing an image drops the complete table: the image answers again.
  tables.SetMonthly(DecoyMonthlyImage());
  EXPECT_EQ(tables.MonthlyFull(), nullptr);
  EXPECT_EQ(tables.MonthlyTax(tables.Presence(), 500'000, 0, 0, RoundingMode::Truncate), 999);
}

TEST(TableExtension, FileDatesComeFromTheExtension) {
  TempDir dir;
  WriteEdition(dir.Path(), CivilDate{2020, 1, 1});
  // A file without the extension shows its modification date (today here).
  WriteFile(dir / TableFileName(TableId::Employment), ImageBytes(EmploymentImage{}));
  char today[16];
  const CivilDate now = Today();
  std::snprintf(today, sizeof today, "%04d/%02d/%02d", now.year, now.month, now.day);
  EXPECT_EQ(RateTableFileDates(dir.Path()), std::string("税額表(給与).dat　　  2020/01/01\r税額表(賞与).dat　　  2020/01/01\r") +
                                                "雇用保険料額表.dat  " + today + "\r健康保険料額表.dat  2020/01/01");
  EXPECT_EQ(TableFileEffectiveDate(dir / TableFileName(TableId::BonusTax), TableId::BonusTax), (CivilDate{2020, 1, 1}));
  EXPECT_EQ(TableFileEffectiveDate(dir / TableFileName(TableId::Employment), TableId::Employment), std::nullopt);
}

Yen OtsuAt120000(const RateTables& t) { return t.MonthlyTax(t.Presence(), 120'000, 1, 0, RoundingMode::Truncate); }

TEST(RateTableEditions, TheNewestEditionInForceOnThePaymentDate) {
  TempDir program;
  WriteEdition(program.Path(), CivilDate{2026, 1, 1}, 8'026);
  WriteEdition(program / "Tables" / "2020-01-01", CivilDate{2020, 1, 1}, 8'020);
  WriteEdition(program / "Tables" / "2027-01-01", CivilDate{2027, 1, 1}, 8'027);  // installed ahead of time
  RateTableEditions editions;
  std::vector<std::string> errors;
  EXPECT_EQ(editions.LoadFromProgramFolder(program.Path(), &errors), 4);
  EXPECT_TRUE(errors.empty());
  struct Case { CivilDate paid; Yen tax; };
  const Case cases[] = {{{2019, 12, 31}, 8'020}, {{2020, 1, 1}, 8'020}, {{2025, 12, 25}, 8'020}, {{2025, 12, 31}, 8'020},
                        {{2026, 1, 1}, 8'026},   {{2026, 12, 31}, 8'026}, {{2027, 1, 1}, 8'027}, {{2040, 6, 1}, 8'027}};
  for (const Case& c : cases) {
    SCOPED_TRACE(IsoDate(c.paid));
    EXPECT_EQ(OtsuAt120000(editions.InForceOn(c.paid)), c.tax);
  }
  EXPECT_EQ(OtsuAt120000(editions.Current()), 8'026);
  const auto sorted = editions.ByDate();
  ASSERT_EQ(sorted.size(), 3u);
  EXPECT_TRUE(sorted[1]->current);
}

TEST(RateTableEditions, TheStartUpNoticeNamesTheInstalledEditions) {
  RateTableEditions editions;
  editions.Add({"", CivilDate{2026, 1, 1}, true, {}});
  editions.Add({"Tables/2020-01-01", CivilDate{2020, 1, 1}, false, {}});
  EXPECT_EQ(InstalledEditionsNotice(editions),
            "源泉徴収税額表は次の版が組み込まれています。\r"
            "　令和8年分（2026-01-01から）\r"
            "　令和2年分（2020-01-01から）\r"
            "給与・賞与は、各月の支給日に適用される版で計算されます。");
  RateTableEditions undated;
  undated.Add({"", std::nullopt, true, {}});
  EXPECT_EQ(InstalledEditionsNotice(undated),
            "源泉徴収税額表は次の版が組み込まれています。\r"
            "　日付のない表データファイル（全ての支給日に使用）\r"
            "給与・賞与は、各月の支給日に適用される版で計算されます。");
}

TEST(RateTableEditions, FoldersNamesMissingFilesAndUndatedTables) {
  TempDir program;
  WriteEdition(program.Path(), CivilDate{2026, 1, 1}, 8'026);
  // Images alone in a folder named by its date: the name gives the date; the grade table is
  // missing there and comes from the current edition.
  WriteEdition(program / "Tables" / "2020-01-01", std::nullopt);
  fs::remove(program / "Tables" / "2020-01-01" / TableFileName(TableId::HealthGrade));
  // Images alone in a folder with no date in its name: not an edition.
  WriteEdition(program / "Tables" / "old", std::nullopt);
  // The same date as the current edition: the current one wins.
  WriteEdition(program / "Tables" / "copy", CivilDate{2026, 1, 1}, 1);
  RateTableEditions editions;
  std::vector<std::string> errors;
  EXPECT_EQ(editions.LoadFromProgramFolder(program.Path(), &errors), 4);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Tables/old: 表の版の日付がありません（フォルダ名は yyyy-mm-dd にします）。");

  const RateTables& old = editions.InForceOn({2024, 5, 25});
  EXPECT_EQ(old.MonthlyFull(), nullptr);
  EXPECT_EQ(old.MonthlyTax(old.Presence(), 500'000, 0, 0, RoundingMode::Truncate), 999);  // the image's 甲
  EXPECT_EQ(old.GradeCount(), 1);  // from the current edition
  EXPECT_TRUE(old.Presence().Has(TableId::HealthGrade));
  EXPECT_EQ(OtsuAt120000(editions.InForceOn({2026, 3, 25})), 8'026);

  // Current tables without a date: they are used for every date.
  TempDir legacy;
  WriteEdition(legacy.Path(), std::nullopt);
  WriteEdition(legacy / "Tables" / "2020-01-01", CivilDate{2020, 1, 1}, 8'020);
  ASSERT_EQ(editions.LoadFromProgramFolder(legacy.Path(), &errors), 4);
  for (CivilDate paid : {CivilDate{2019, 1, 1}, CivilDate{2025, 12, 25}, CivilDate{2026, 6, 1}}) {
    const RateTables& t = editions.InForceOn(paid);
    EXPECT_EQ(t.MonthlyFull(), nullptr);
    EXPECT_EQ(t.MonthlyTax(t.Presence(), 500'000, 0, 0, RoundingMode::Truncate), 999);
  }
}

}  // namespace
}  // namespace paylark
