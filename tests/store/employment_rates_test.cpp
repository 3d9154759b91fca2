// The worker's employment insurance rates by wage closing date: the legal rounding of the premium,
// the rates in the extension of 雇用保険料額表.dat and what a file without them keeps.
#include "store/employment_rates.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "store/rate_table_extension.h"
#include "store/rate_tables.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

using testing::TempDir;

EmploymentRateTable ThreeYears() {
  return {{{{2024, 4, 1}, 6'000, 7'000, 7'000}, {{2025, 4, 1}, 5'500, 6'500, 6'500}, {{2026, 4, 1}, 5'000, 6'000, 6'000}}};
}

void WriteEmploymentFile(const std::filesystem::path& path, const std::string& extension) {
  const EmploymentImage image;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(image.bytes.data()), static_cast<std::streamsize>(image.bytes.size()));
  out << extension;
}

TEST(EmploymentPremiumAtRate, FiftySenOrLessIsDroppedMoreIsRaised) {
  struct Case {
    const char* name;
    Yen wage;
    std::int32_t rate;
    Yen expected;
  } cases[] = {
      {"1,506.17", 301'234, 5'000, 1'506},
      {"1,500.5: exactly fifty sen is dropped", 300'100, 5'000, 1'500},
      {"1,500.505: above fifty sen is raised", 300'101, 5'000, 1'501},
      {"1,650.55 at 5.5/1000", 300'100, 5'500, 1'651},
      {"a whole product", 200'000, 6'000, 1'200},
      {"a negative wage is rounded on its magnitude", -300'101, 5'000, -1'501},
      {"zero", 0, 5'000, 0},
      {"the largest wage", 2'147'483'647, 6'000, 12'884'902},  // 12,884,901.882
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EmploymentPremiumAtRate(c.wage, c.rate), c.expected);
  }
}

TEST(EmploymentRateTable, TheRateOfTheWageClosingDate) {
  const EmploymentRateTable t = ThreeYears();
  ASSERT_EQ(t.Problem(), "");
  EXPECT_EQ(t.InForceOn({2024, 3, 31}), nullptr);  // before every row
  EXPECT_EQ(t.InForceOn({2024, 4, 1})->general, 6'000);
  EXPECT_EQ(t.InForceOn({2026, 3, 31})->general, 5'500);
  EXPECT_EQ(t.InForceOn({2026, 4, 1})->general, 5'000);
  EXPECT_EQ(WorkerRate(*t.InForceOn({2030, 1, 1}), false), 6'000);  // それ以外: 農林水産・清酒製造 = 建設

  EmploymentRateTable backwards = t;
  std::swap(backwards.rows[0], backwards.rows[1]);
  EXPECT_EQ(backwards.Problem(), "employment rate row 2: dates do not ascend");
  EmploymentRateTable tooHigh = t;
  tooHigh.rows[2].construction = 1'000'001;
  EXPECT_EQ(tooHigh.Problem(), "employment rate row 3: a rate outside 0..1");
  EXPECT_EQ(EmploymentRateTable{}.Problem(), "employment rate row count");
}

// The rates travel in the extension of the employment table file; a file with the date only (or
// none) keeps the image and its fixed rule; unsound rates make the table an error.
TEST(EmploymentRateTable, InTheExtensionOfTheTableFile) {
  TableExtension withRates{TableId::Employment, {2026, 4, 1}, std::nullopt, std::nullopt, ThreeYears()};
  std::string problem;
  const auto decoded = DecodeTableExtension(EncodeTableExtension(withRates), TableId::Employment, &problem);
  ASSERT_TRUE(decoded) << problem;
  EXPECT_EQ(decoded->employmentRates, ThreeYears());
  EXPECT_THROW(EncodeTableExtension({TableId::BonusTax, {2026, 4, 1}, std::nullopt, std::nullopt, ThreeYears()}),
               std::invalid_argument);

  TempDir dir;
  const auto path = dir / TableFileName(TableId::Employment);
  WriteEmploymentFile(path, EncodeTableExtension(withRates));
  RateTables tables;
  std::vector<std::string> errors;
  ASSERT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 1);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(tables.EmploymentRateOn(tables.Presence(), {2026, 3, 31}, true), 5'500);
  EXPECT_EQ(tables.EmploymentRateOn(tables.Presence(), {2026, 4, 15}, false), 6'000);
  EXPECT_EQ(tables.EmploymentRateOn(tables.Presence(), {2023, 12, 31}, true), std::nullopt);

  WriteEmploymentFile(path, EncodeTableExtension({TableId::Employment, {2026, 4, 1}, std::nullopt, std::nullopt}));
  ASSERT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 1);
  EXPECT_EQ(tables.EmploymentRates(), nullptr);
  EXPECT_EQ(tables.EmploymentRateOn(tables.Presence(), {2026, 4, 15}, true), std::nullopt);

  std::string unsound = EncodeTableExtension(withRates);
  const std::int32_t swappedDate = 20200101;  // row 2 before row 1
  std::memcpy(unsound.data() + kTableExtensionHeaderSize + 4 + 16, &swappedDate, sizeof swappedDate);
  const std::uint32_t crc =
      Crc32(std::string_view(unsound).substr(kTableExtensionHeaderSize), Crc32(unsound.substr(0, 16)));
  std::memcpy(unsound.data() + 16, &crc, sizeof crc);
  WriteEmploymentFile(path, unsound);
  errors.clear();
  EXPECT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 0);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("employment rate row 2: dates do not ascend"), std::string::npos);

  WriteEmploymentFile(path, EncodeTableExtension(withRates));
  ASSERT_EQ(tables.LoadFromFolder(dir.Path(), &errors), 1);
  std::filesystem::remove(path);  // a file missing at the look-up: the fixed rule
  EXPECT_EQ(tables.EmploymentRateOn(tables.Presence(), {2026, 4, 15}, true), std::nullopt);
}

}  // namespace
}  // namespace paylark
