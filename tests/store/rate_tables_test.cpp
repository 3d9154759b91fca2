#include "store/rate_tables.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>

#include "support/temp_dir.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr RoundingMode kTruncate = RoundingMode::Truncate;

KouColumns Kou(Yen zero, Yen step) {
  KouColumns c{};
  for (int d = 0; d < kDependantColumns; ++d) c[d] = zero - step * d;
  return c;
}

// Three table rows, then the brackets from 130,000 (row 4 = N − 1) and 150,000 (row 5 = N).
MonthlyTaxImage SmallMonthly() {
  MonthlyTaxImage t;
  t.SetRowCount(5);
  t.SetRow(1, 100'000, 110'000, Kou(1'000, 100), 5'000);   // 甲7 = 300
  t.SetRow(2, 110'000, 120'000, Kou(2'000, 100), 6'000);   // 甲7 = 1,300
  t.SetRow(3, 120'000, 130'000, Kou(3'000, 100), 7'000);   // 甲7 = 2,300
  t.SetRow(4, 130'000, 150'000, Kou(4'000, 100), 8'000);
  t.SetRow(5, 150'000, 999'999, Kou(6'000, 100), 12'000);
  t.SetKouRateSecondToLast(0.1);
  t.SetKouRateAboveLast(0.3);
  t.SetOtsuRateBelowFirst(0.03);
  t.SetOtsuRateFromSecondToLast(0.2);
  t.SetKouReductionBeyondSeven(1'000);
  t.SetOtsuReductionPerDependant(2'500);
  return t;
}

// 甲: 0 % below 100,000 + 10,000 × d, 10 % below 200,000 + 10,000 × d, else the default 20 % of
// row 3, whose bounds would match nothing. 乙: 10 % below 100,000, 20 % below 200,000, else 30 %.
BonusTaxImage SmallBonus() {
  BonusTaxImage t;
  t.SetKouRowCount(3);
  KouColumns low{}, mid{}, high{}, never{};
  for (int d = 0; d < kDependantColumns; ++d) {
    low[d] = 0;
    mid[d] = 100'000 + 10'000 * d;
    high[d] = 200'000 + 10'000 * d;
  }
  t.SetKouRow(1, 0.0, low, mid);
  t.SetKouRow(2, 0.1, mid, high);
  t.SetKouRow(3, 0.2, never, never);
  t.SetOtsuRowCount(3);
  t.SetOtsuRow(1, 0.1, 100'000);
  t.SetOtsuRow(2, 0.2, 200'000);
  t.SetOtsuRow(3, 0.3, 0);
  return t;
}

EmploymentImage SmallEmployment() {
  EmploymentImage t;
  t.SetRowCount(2);
  t.SetRow(1, 0, 100'000, 500, 600);
  t.SetRow(2, 100'000, 200'000, 0, 1'200);  // no premium for a general business: the fixed rule
  return t;
}

HealthGradeImage SmallGrades() {
  HealthGradeImage t;
  t.SetGradeCount(50);
  t.SetPensionLowest(4);
  t.SetPensionHighest(35);
  for (int g = 1; g <= HealthGradeImage::kMaxGrades; ++g) t.SetGrade(g, {g * 1'000, g * 1'000 + 1'000, g * 1'000 + 500});
  return t;
}

template <class Image>
void WriteImage(const fs::path& path, const Image& image) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(image.bytes.data()), static_cast<std::streamsize>(image.bytes.size()));
}

void WriteAll(const fs::path& folder) {
  WriteImage(folder / TableFileName(TableId::MonthlyTax), SmallMonthly());
  WriteImage(folder / TableFileName(TableId::BonusTax), SmallBonus());
  WriteImage(folder / TableFileName(TableId::Employment), SmallEmployment());
  WriteImage(folder / TableFileName(TableId::HealthGrade), SmallGrades());
}

void SetLocalDate(const fs::path& path, int year, int month, int day) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = 12;
  local.tm_isdst = -1;
  const auto sys = std::chrono::system_clock::from_time_t(std::mktime(&local));
  fs::last_write_time(path, std::chrono::time_point_cast<fs::file_time_type::duration>(
                                std::chrono::file_clock::from_sys(sys)));
}

class MonthlyTaxTest : public ::testing::Test {
 protected:
  MonthlyTaxTest() { tables.SetMonthly(SmallMonthly()); }
  Yen Tax(Yen amount, int column, int dependants, RoundingMode mode = kTruncate) const {
    return tables.MonthlyTax(tables.Presence(), amount, column, dependants, mode);
  }
  RateTables tables;
};

TEST_F(MonthlyTaxTest, RowsAreLowerInclusiveUpperExclusive) {
  struct Case { Yen amount; Yen kou0; Yen otsu; };
  const Case cases[] = {
      {100'000, 1'000, 5'000}, {109'999, 1'000, 5'000}, {110'000, 2'000, 6'000},
      {119'999, 2'000, 6'000}, {120'000, 3'000, 7'000}, {129'999, 3'000, 7'000},
      {130'000, 4'000, 8'000},  // the first bracket: its own tax + 0 excess
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.amount);
    EXPECT_EQ(Tax(c.amount, 0, 0), c.kou0);
    EXPECT_EQ(Tax(c.amount, 1, 0), c.otsu);
  }
  EXPECT_EQ(Tax(115'000, 0, 3), 1'700);  // 甲 column for 3 dependants
}

TEST_F(MonthlyTaxTest, DependantReductions) {
  EXPECT_EQ(Tax(125'000, 0, 7), 2'300);
  EXPECT_EQ(Tax(125'000, 0, 8), 1'300);  // 7-dependant tax − 1 × 1,000
  EXPECT_EQ(Tax(125'000, 0, 9), 300);    // − 2 × 1,000
  EXPECT_EQ(Tax(105'000, 0, 9), 0);      // 300 − 2,000: never negative
  EXPECT_EQ(Tax(160'000, 0, 9), 3'000 + 5'300 - 2'000);  // in the bracket too
  EXPECT_EQ(Tax(115'000, 1, 2), 1'000);  // 乙 6,000 − 2 × 2,500
  EXPECT_EQ(Tax(105'000, 1, 2), 0);      // 5,000 − 5,000
  EXPECT_EQ(Tax(105'000, 1, 3), 0);      // never negative
  EXPECT_EQ(Tax(115'000, 0, -3), 2'000); // negative dependants count as none
  EXPECT_EQ(Tax(115'000, 1, -3), 6'000);
}

TEST_F(MonthlyTaxTest, BelowTheFirstRowOnlyOtsuPaysARateOfTheWholeAmount) {
  EXPECT_EQ(Tax(50'000, 1, 0), 1'500);
  EXPECT_EQ(Tax(99'999, 1, 0), 2'999);  // 2,999.97 truncated
  EXPECT_EQ(Tax(99'999, 1, 0, RoundingMode::Half), 3'000);
  EXPECT_EQ(Tax(50'000, 0, 0), 0);
  EXPECT_EQ(Tax(50'000, 2, 0), 0);  // only column 1 is 乙 here
  EXPECT_EQ(Tax(50'000, 1, 1), 0);  // 1,500 − 2,500
}

TEST_F(MonthlyTaxTest, OpenEndedBrackets) {
  // Row N − 1: excess from 130,000 for both columns.
  EXPECT_EQ(Tax(140'000, 0, 0), 4'000 + 1'000);
  EXPECT_EQ(Tax(140'000, 1, 0), 8'000 + 2'000);
  EXPECT_EQ(Tax(149'999, 0, 1), 3'900 + 1'999);  // 1,999.9 truncated
  // Row N: 甲 measures the excess from 150,000, 乙 still from 130,000 (added to row N's 乙 tax).
  EXPECT_EQ(Tax(150'000, 0, 0), 6'000);
  EXPECT_EQ(Tax(150'000, 1, 0), 12'000 + 4'000);
  EXPECT_EQ(Tax(160'000, 0, 0), 6'000 + 3'000);
  EXPECT_EQ(Tax(160'000, 1, 0), 12'000 + 6'000);
  // In the brackets a column other than 0 and 1 is taxed as 甲, though its 乙 reduction applies.
  EXPECT_EQ(Tax(160'000, 2, 0), 9'000);
  EXPECT_EQ(Tax(160'000, 2, 1), 8'900 - 2'500);
  EXPECT_EQ(Tax(140'000, 2, 0), 5'000);
  EXPECT_EQ(Tax(115'000, 2, 0), 6'000);  // in the table rows it is 乙
  // The deduction rounding mode rounds the excess tax: 0.1 × 5 = 0.5.
  EXPECT_EQ(Tax(130'005, 0, 0, kTruncate), 4'000);
  EXPECT_EQ(Tax(130'005, 0, 0, RoundingMode::Up), 4'001);
  EXPECT_EQ(Tax(130'005, 0, 0, RoundingMode::Half), 4'001);
}

TEST_F(MonthlyTaxTest, MissingFileOrInvalidCountGivesZero) {
  EXPECT_EQ(tables.MonthlyTax(TablePresence{}, 115'000, 0, 0, kTruncate), 0);
  for (int count : {0, 1, 381, -5, 1'000'000}) {
    MonthlyTaxImage image = SmallMonthly();
    image.SetRowCount(count);
    tables.SetMonthly(image);
    SCOPED_TRACE(count);
    EXPECT_EQ(Tax(115'000, 0, 0), 0);
    EXPECT_EQ(Tax(5'000'000, 1, 0), 0);
  }
  // The largest count reads the last row of the image and nothing beyond it.
  MonthlyTaxImage full;
  full.SetRowCount(380);
  full.SetRow(380, 500'000, 0, Kou(700, 0), 0);
  tables.SetMonthly(full);
  EXPECT_EQ(Tax(600'000, 0, 0), 700);
}

TEST(BonusTax, KouRowsAndTheDefaultRow) {
  RateTables tables;
  tables.SetBonus(SmallBonus());
  const TablePresence presence = tables.Presence();
  struct Case { Yen previous; int dependants; double rate; };
  const Case cases[] = {
      {0, 0, 0.0},        {99'999, 0, 0.0},  {100'000, 0, 0.1}, {199'999, 0, 0.1},
      {200'000, 0, 0.2},  // beyond rows 1..N − 1: row N, whose own bounds are never tested
      {-5, 0, 0.2},       {169'999, 7, 0.0}, {170'000, 7, 0.1}, {170'000, 9, 0.1},  // 9 reads column 7
      {269'999, 9, 0.1},  {270'000, 9, 0.2}, {99'999, -1, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.previous << " / " << c.dependants);
    double rate = -1;
    ASSERT_TRUE(tables.BonusTaxRate(presence, c.previous, c.dependants, 0, &rate));
    EXPECT_DOUBLE_EQ(rate, c.rate);
  }
  EXPECT_EQ(tables.BonusTax(presence, 150'000, 123'456, 0, 0, kTruncate), 12'345);
  EXPECT_EQ(tables.BonusTax(presence, 150'000, 123'456, 0, 0, RoundingMode::Half), 12'346);
}

TEST(BonusTax, OtsuRowsHaveOnlyUpperBounds) {
  RateTables tables;
  tables.SetBonus(SmallBonus());
  const TablePresence presence = tables.Presence();
  struct Case { Yen previous; int column; double rate; };
  const Case cases[] = {{0, 1, 0.1},       {99'999, 1, 0.1},     {100'000, 1, 0.2},
                        {199'999, 2, 0.2}, {200'000, 1, 0.3},   {50'000'000, 1, 0.3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.previous);
    double rate = -1;
    ASSERT_TRUE(tables.BonusTaxRate(presence, c.previous, 5, c.column, &rate));
    EXPECT_DOUBLE_EQ(rate, c.rate);
  }
}

TEST(BonusTax, NoRateWithoutTheFileOrWithAnInvalidCount) {
  RateTables tables;
  tables.SetBonus(SmallBonus());
  double rate = -1;
  EXPECT_FALSE(tables.BonusTaxRate(TablePresence{}, 150'000, 0, 0, &rate));
  EXPECT_EQ(rate, -1);
  EXPECT_EQ(tables.BonusTax(TablePresence{}, 150'000, 100'000, 0, 0, kTruncate), 0);

  BonusTaxImage image = SmallBonus();
  image.SetKouRowCount(21);
  image.SetOtsuRowCount(0);
  tables.SetBonus(image);
  EXPECT_FALSE(tables.BonusTaxRate(tables.Presence(), 150'000, 0, 0, &rate));
  EXPECT_FALSE(tables.BonusTaxRate(tables.Presence(), 150'000, 0, 1, &rate));
  EXPECT_EQ(tables.BonusTax(tables.Presence(), 150'000, 100'000, 0, 1, kTruncate), 0);
  image.SetKouRowCount(1);  // a single row is the default for everything
  tables.SetBonus(image);
  EXPECT_TRUE(tables.BonusTaxRate(tables.Presence(), 150'000, 0, 0, &rate));
  EXPECT_DOUBLE_EQ(rate, 0.0);
}

TEST(EmploymentPremium, TableRowOrTheFixedRule) {
  RateTables tables;
  tables.SetEmployment(SmallEmployment());
  const TablePresence presence = tables.Presence();
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 50'000, true), 500);
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 50'000, false), 600);
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 150'000, true), 1'050);   // row premium 0: 0.7 %
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 150'000, false), 1'200);
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 250'001, true), 1'750);   // no row: 1,750.007
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 250'000, false), 2'000);  // 0.8 %
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, -1'000'000, true), -7'000);
  EXPECT_EQ(tables.EmploymentPremiumFromTable(TablePresence{}, 50'000, true), 350);  // file missing

  EmploymentImage invalid = SmallEmployment();
  invalid.SetRowCount(61);
  tables.SetEmployment(invalid);
  EXPECT_EQ(tables.EmploymentPremiumFromTable(tables.Presence(), 50'000, false), 400);
}

TEST(HealthGrades, GradeRowsAndPensionClamp) {
  RateTables tables;
  tables.SetHealthGrades(SmallGrades());
  EXPECT_EQ(tables.GradeCount(), 50);
  EXPECT_EQ(tables.HealthGrade(1), (Grade{1'000, 2'000, 1'500}));
  EXPECT_EQ(tables.HealthGrade(80), (Grade{80'000, 81'000, 80'500}));  // rows beyond the count read too
  EXPECT_EQ(tables.HealthGrade(0), Grade{});
  EXPECT_EQ(tables.HealthGrade(81), Grade{});
  EXPECT_EQ(tables.PensionGrade(1), 4);
  EXPECT_EQ(tables.PensionGrade(4), 4);
  EXPECT_EQ(tables.PensionGrade(20), 20);
  EXPECT_EQ(tables.PensionGrade(35), 35);
  EXPECT_EQ(tables.PensionGrade(50), 35);

  HealthGradeImage invalid = SmallGrades();
  invalid.SetGradeCount(81);
  tables.SetHealthGrades(invalid);
  EXPECT_EQ(tables.GradeCount(), 0);
}

TEST(LoadRateTables, LoadsEachFileAndChecksTheDiskAtLookUp) {
  TempDir dir;
  WriteAll(dir.Path());
  RateTables tables;
  std::vector<std::string> errors;
  EXPECT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 4);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(tables.Monthly(), SmallMonthly());
  EXPECT_EQ(tables.HealthGrades(), SmallGrades());

  TablePresence presence = tables.Presence();
  EXPECT_EQ(tables.MonthlyTax(presence, 115'000, 0, 0, kTruncate), 2'000);
  EXPECT_EQ(tables.BonusTax(presence, 150'000, 100'000, 0, 0, kTruncate), 10'000);
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 50'000, true), 500);

  // Files deleted while the program runs: the images stay, the look-ups fall back.
  fs::remove(dir / TableFileName(TableId::MonthlyTax));
  fs::remove(dir / TableFileName(TableId::BonusTax));
  fs::remove(dir / TableFileName(TableId::Employment));
  EXPECT_EQ(tables.MonthlyTax(presence, 115'000, 0, 0, kTruncate), 2'000);  // the pass's own check
  presence = tables.Presence();
  EXPECT_EQ(tables.MonthlyTax(presence, 115'000, 0, 0, kTruncate), 0);
  double rate = -1;
  EXPECT_FALSE(tables.BonusTaxRate(presence, 150'000, 0, 0, &rate));
  EXPECT_EQ(tables.BonusTax(presence, 150'000, 100'000, 0, 0, kTruncate), 0);
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 50'000, true), 350);
  EXPECT_EQ(tables.LoadedCount(), 4);
  EXPECT_EQ(tables.HealthGrade(1).standard, 1'500);
}

TEST(LoadRateTables, WrongSizeIsAnErrorForThatTableOnly) {
  TempDir dir;
  WriteAll(dir.Path());
  {
    std::ofstream shortFile(dir / TableFileName(TableId::BonusTax), std::ios::binary | std::ios::trunc);
    shortFile << std::string(1000, '\x01');
  }
  {
    std::ofstream longFile(dir / TableFileName(TableId::HealthGrade), std::ios::binary | std::ios::app);
    longFile << 'x';
  }
  fs::remove(dir / TableFileName(TableId::Employment));  // missing: skipped without a message
  RateTables tables;
  std::vector<std::string> errors;
  EXPECT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 1);
  EXPECT_TRUE(tables.Loaded(TableId::MonthlyTax));
  EXPECT_FALSE(tables.Loaded(TableId::BonusTax));
  EXPECT_FALSE(tables.Loaded(TableId::Employment));
  EXPECT_FALSE(tables.Loaded(TableId::HealthGrade));
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "税額表(賞与).dat の大きさが 1000 バイトです（1568 バイトのはずです）。");
  EXPECT_EQ(errors[1], "健康保険料額表.dat の大きさが 973 バイトです（972 バイトのはずです）。");
  // The short file is on disk but its table stays empty: no rate, no tax.
  EXPECT_EQ(tables.Bonus(), BonusTaxImage{});
  EXPECT_EQ(tables.BonusTax(tables.Presence(), 150'000, 100'000, 0, 0, kTruncate), 0);
  EXPECT_EQ(tables.GradeCount(), 0);

  // A folder in place of a file is an error too, never a crash.
  fs::remove(dir / TableFileName(TableId::MonthlyTax));
  fs::create_directory(dir / TableFileName(TableId::MonthlyTax));
  errors.clear();
  EXPECT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 0);
  EXPECT_EQ(errors.size(), 3u);
  EXPECT_EQ(tables.LoadFromFolder(dir / "no such folder", nullptr), 0);
}

// The images carry no checksum: a damaged byte must not pass for a table. Each damage is named
// and its table is not loaded (the others are).
TEST(LoadRateTables, ImplausibleImagesAreErrorsThatSayWhatIsWrong) {
  struct Case {
    const char* name;
    TableId table;
    std::function<void(std::string&)> damage;  // on the file's bytes
    const char* says;
  };
  auto setI32 = [](std::string& b, std::size_t at, std::int32_t v) { std::memcpy(b.data() + at, &v, 4); };
  auto setF64 = [](std::string& b, std::size_t at, double v) { std::memcpy(b.data() + at, &v, 8); };
  const Case cases[] = {
      {"grade count byte flipped", TableId::HealthGrade, [&](std::string& b) { setI32(b, 0, 50 ^ 0x80); },
       "等級数が 178 です（1〜80 のはずです）"},
      {"grade count zero", TableId::HealthGrade, [&](std::string& b) { setI32(b, 0, 0); }, "等級数が 0 です"},
      {"grade bounds fall", TableId::HealthGrade, [&](std::string& b) { setI32(b, 12 * 3, 1); },
       "3 行目の下限が前の等級より小さくなっています"},
      {"monthly count", TableId::MonthlyTax, [&](std::string& b) { setI32(b, 0, 381); }, "行数が 381 です"},
      {"monthly row upside down", TableId::MonthlyTax, [&](std::string& b) { setI32(b, 4 + 4, 0); },
       "1 行目の下限が上限以上です"},
      {"monthly rate", TableId::MonthlyTax, [&](std::string& b) { setF64(b, 16724, 1.5); }, "税率が 0〜1 の範囲にありません"},
      {"bonus rate absurd", TableId::BonusTax, [&](std::string& b) { setF64(b, 4, -5e197); },
       "1 行目の甲欄の算出率が 0〜1 の範囲にありません"},
      {"bonus rate not a number", TableId::BonusTax, [&](std::string& b) { setF64(b, 1448, std::nan("")); },
       "1 行目の乙欄の算出率が 0〜1 の範囲にありません"},
      {"bonus 乙 count", TableId::BonusTax, [&](std::string& b) { setI32(b, 1444, 11); }, "乙欄の行数が 11 です"},
      {"employment count", TableId::Employment, [&](std::string& b) { setI32(b, 16, -1); }, "行数が -1 です"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteAll(dir.Path());
    const fs::path file = dir / TableFileName(c.table);
    std::string bytes;
    {
      std::ifstream in(file, std::ios::binary);
      bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    c.damage(bytes);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

    RateTables tables;
    std::vector<std::string> errors;
    EXPECT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 3);
    EXPECT_FALSE(tables.Loaded(c.table));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind(std::string(TableFileName(c.table)) + " の内容が正しくありません（", 0), 0u) << errors[0];
    EXPECT_NE(errors[0].find(c.says), std::string::npos) << errors[0];
  }
}

TEST(RateTableFileDates, NamesAndDatesOfTheFilesThatExist) {
  TempDir dir;
  WriteAll(dir.Path());
  SetLocalDate(dir / TableFileName(TableId::MonthlyTax), 2026, 1, 5);
  SetLocalDate(dir / TableFileName(TableId::BonusTax), 2025, 12, 31);
  SetLocalDate(dir / TableFileName(TableId::Employment), 2024, 4, 1);
  SetLocalDate(dir / TableFileName(TableId::HealthGrade), 2016, 4, 1);
  EXPECT_EQ(RateTableFileDates(dir.Path()),
            "税額表(給与).dat　　  2026/01/05\r"
            "税額表(賞与).dat　　  2025/12/31\r"
            "雇用保険料額表.dat  2024/04/01\r"
            "健康保険料額表.dat  2016/04/01");

  fs::remove(dir / TableFileName(TableId::HealthGrade));  // no separator after the last entry
  EXPECT_EQ(RateTableFileDates(dir.Path()),
            "税額表(給与).dat　　  2026/01/05\r"
            "税額表(賞与).dat　　  2025/12/31\r"
            "雇用保険料額表.dat  2024/04/01");
  fs::remove(dir / TableFileName(TableId::MonthlyTax));
  fs::remove(dir / TableFileName(TableId::Employment));
  EXPECT_EQ(RateTableFileDates(dir.Path()), "税額表(賞与).dat　　  2025/12/31");
}

}  // namespace
}  // namespace paylark
