#include <gtest/gtest.h>

#include <cstring>

#include "store/atomic_file.h"
#include "store/premium_rates.h"
#include "store/rate_table_extension.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

using Item = PremiumRateItem;

std::vector<PremiumRateRow> SampleRows() {
  return {
      {Item::Health, 13, {2025, 3, 1}, 99100},
      {Item::Health, 13, {2026, 3, 1}, 98500},
      {Item::Health, 27, {2026, 3, 1}, 101300},
      {Item::Nursing, 0, {2026, 3, 1}, 16200},
      {Item::Levy, 0, {2026, 4, 1}, 2300},
      {Item::Pension, 0, {2017, 9, 1}, 183000},
      {Item::EmploymentWorker, 0, {2025, 4, 1}, 5500},
      {Item::EmploymentWorker, 0, {2026, 4, 1}, 5000},
      {Item::EmploymentWorker, 2, {2026, 4, 1}, 6000},
  };
}

TEST(PremiumRateFile, RoundTripsAndAnswersTheRowInForce) {
  const std::string bytes = EncodePremiumRateFile(SampleRows());
  EXPECT_EQ(bytes.size(), 16u + 16u * SampleRows().size());
  std::string why;
  const auto rows = DecodePremiumRateFile(bytes, &why);
  ASSERT_TRUE(rows) << why;
  PremiumRates rates;
  rates.Merge(*rows);
  EXPECT_EQ(rates.Rows().size(), SampleRows().size());

  struct Case {
    const char* name;
    CivilDate month;
    CivilDate closing;
    std::optional<std::int32_t> health;
    std::int32_t levy;
    std::optional<std::int32_t> employment;
  } cases[] = {
      {"before every health row", {2025, 2, 1}, {2025, 3, 31}, std::nullopt, 0, std::nullopt},
      {"the first day of a health edition", {2025, 3, 1}, {2025, 4, 1}, 99100, 0, 5500},
      {"the month before the change", {2026, 2, 1}, {2026, 3, 31}, 99100, 0, 5500},
      {"the change month, levy not yet", {2026, 3, 1}, {2026, 4, 15}, 98500, 0, 5000},
      {"the levy's first month", {2026, 4, 1}, {2026, 4, 30}, 98500, 2300, 5000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PremiumRatesInForce r = rates.InForce(c.month, 13, c.closing, EmploymentKind::General);
    EXPECT_EQ(r.health, c.health);
    EXPECT_EQ(r.levy, c.levy);
    EXPECT_EQ(r.employmentWorker, c.employment);
    EXPECT_EQ(r.pension, 183000);
  }
  EXPECT_EQ(rates.InForce({2026, 3, 1}, 0, {2026, 4, 1}, EmploymentKind::General).health, std::nullopt);
  EXPECT_EQ(rates.InForce({2026, 3, 1}, 27, {2026, 4, 1}, EmploymentKind::Construction).health, 101300);
  EXPECT_EQ(rates.InForce({2026, 3, 1}, 27, {2026, 4, 1}, EmploymentKind::Construction).employmentWorker, 6000);
}

TEST(PremiumRateFile, FaultsAreReportedNotRead) {
  const std::string good = EncodePremiumRateFile(SampleRows());
  auto withCrc = [](std::string bytes) {
    // Re-seals a changed image so that the row checks, not the checksum, decide.
    const std::uint32_t crc = Crc32(std::string_view(bytes).substr(16), Crc32(std::string_view(bytes).substr(0, 12)));
    std::memcpy(bytes.data() + 12, &crc, 4);
    return bytes;
  };
  auto patchRow = [&](int row, int offset, std::int32_t value, int width) {
    std::string b = good;
    std::memcpy(b.data() + 16 + 16 * row + offset, &value, width);
    return withCrc(b);
  };
  std::string badMark = good;
  badMark[0] = 'X';
  std::string badVersion = good;
  badVersion[4] = 2;
  std::string flipped = good;
  flipped[20] ^= 1;
  struct Case {
    const char* name;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"short", good.substr(0, 10), "shorter than its header"},
      {"mark", badMark, "not a premium rate file"},
      {"version", withCrc(badVersion), "format version 2 is not known"},
      {"cut short", good.substr(0, good.size() - 1), "its length does not match its row count"},
      {"checksum", flipped, "checksum mismatch"},
      {"prefecture 48", patchRow(0, 2, 48, 2), "row 1: health rate for prefecture 48"},
      {"premium month on the 2nd", patchRow(0, 4, 20250302, 4), "row 1: a premium month's rate that starts on another day than the 1st"},
      {"30 February", patchRow(6, 4, 20260230, 4), "row 7: the date is not a day of the calendar"},
      {"rate of 100 %", patchRow(0, 8, 1'000'000, 4), "row 1: a rate outside 0 to 100 %"},
      {"repeated row", patchRow(1, 4, 20250301, 4), "row 2: a rate given twice for the same date"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string why;
    EXPECT_FALSE(DecodePremiumRateFile(c.bytes, &why));
    EXPECT_EQ(why, c.reason);
  }
  std::vector<PremiumRateRow> twice = SampleRows();
  twice.push_back(twice.front());
  EXPECT_THROW(EncodePremiumRateFile(twice), std::invalid_argument);
}

TEST(PremiumRateFile, FilesDroppedIntoTheRatesFolderAddAndCorrectRows) {
  testing::TempDir dir;
  ReplaceFileContents(dir / kPremiumRateFileName, EncodePremiumRateFile(SampleRows()));
  std::filesystem::create_directories(dir / kPremiumRateFolderName);
  // A later year and a corrected value, and a damaged file that is reported and left out.
  ReplaceFileContents(dir / kPremiumRateFolderName / "2027.dat",
                      EncodePremiumRateFile({{Item::Health, 13, {2027, 3, 1}, 97000},
                                             {Item::Health, 27, {2026, 3, 1}, 101200}}));
  ReplaceFileContents(dir / kPremiumRateFolderName / "broken.dat", "PRMR");
  const LoadedPremiumRates loaded = LoadPremiumRates(dir.Path());
  EXPECT_EQ(loaded.files.size(), 2u);
  ASSERT_EQ(loaded.problems.size(), 1u);
  EXPECT_EQ(loaded.problems[0], "broken.dat: shorter than its header");
  const CivilDate closing{2027, 4, 1};
  EXPECT_EQ(loaded.rates.InForce({2027, 2, 1}, 13, closing, EmploymentKind::General).health, 98500);
  EXPECT_EQ(loaded.rates.InForce({2027, 3, 1}, 13, closing, EmploymentKind::General).health, 97000);
  EXPECT_EQ(loaded.rates.InForce({2026, 3, 1}, 27, closing, EmploymentKind::General).health, 101200);

  testing::TempDir empty;
  const LoadedPremiumRates none = LoadPremiumRates(empty.Path());
  EXPECT_TRUE(none.rates.Empty());
  ASSERT_EQ(none.problems.size(), 1u);
  EXPECT_EQ(none.problems[0], std::string(kPremiumRateFileName) + ": missing");
}

TEST(PremiumRateTexts, TrailingZerosAreDroppedAndHalvesStayExact) {
  EXPECT_EQ(PercentText(98500), "9.85");
  EXPECT_EQ(PercentText(98500 / 2), "4.925");
  EXPECT_EQ(PercentText(183000), "18.3");
  EXPECT_EQ(PercentText(0), "0");
  EXPECT_EQ(PerMilleText(5500), "5.5");
  EXPECT_EQ(PerMilleText(6000), "6");
  EXPECT_EQ(HalfPercentOf(98500), 4.925);
  EXPECT_EQ(HalfPercentOf(16200), 0.81);
  EXPECT_EQ(HalfPercentOf(2300), 0.115);
  EXPECT_EQ(PercentOf(5500), 0.55);
}

}  // namespace
}  // namespace paylark
