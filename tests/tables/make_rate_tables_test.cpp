// The shipped table files against their TSV sources: every row of every table, read back through
// the program's own look-ups. The sources are read here with a parser of their own, so a slip of
// the generator's reading shows as a difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "store/rate_tables.h"
#include "store/yen_rounding.h"
#include "support/temp_dir.h"
#include "tables/rate_table_sources.h"

namespace paylark::tables {
namespace {

namespace fs = std::filesystem;
using paylark::testing::TempDir;
using Row = std::map<std::string, std::string>;

// The per-dependant reductions of the 月額表 (both editions).
constexpr Yen kKouReductionBeyondSeven = 1'610;
constexpr Yen kOtsuReductionPerDependant = 1'610;

std::vector<Row> ReadRows(const fs::path& path) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << path;
  auto split = [](const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, '\t')) fields.push_back(field);
    if (!line.empty() && line.back() == '\t') fields.emplace_back();
    return fields;
  };
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> header = split(line);
  std::vector<Row> rows;
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = split(line);
    Row row;
    for (std::size_t i = 0; i < header.size(); ++i) row[header[i]] = i < fields.size() ? fields[i] : "";
    rows.push_back(row);
  }
  return rows;
}

Yen Int(const Row& row, const std::string& column) { return std::stoi(row.at(column)); }
double Rate(const Row& row, const std::string& column) { return std::stod(row.at(column)); }
std::string Dependants(int d) { return std::to_string(d); }

// Tax for a dependant count from the tax of 0..7 dependants, with the reductions.
Yen KouWithReduction(Yen taxForColumn, int dependants) {
  return std::max(0, taxForColumn - kKouReductionBeyondSeven * std::max(0, dependants - 7));
}
Yen OtsuWithReduction(Yen tax, int dependants) { return std::max(0, tax - kOtsuReductionPerDependant * dependants); }

class ShippedTables : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    sources.folder = PAYLARK_TABLES_SRC;
    sources.withholdingEdition = GetParam();
    WriteRateTables(sources, out.Path());
    std::vector<std::string> errors;
    ASSERT_EQ(tables.LoadFromFolder(out.Path(), &errors), 4);
    presence = tables.Presence();
  }
  Yen Tax(Yen amount, int column, int dependants, RoundingMode mode = RoundingMode::Truncate) const {
    return tables.MonthlyTax(presence, amount, column, dependants, mode);
  }
  double BonusRate(Yen previous, int dependants, int column) const {
    double rate = -1;
    EXPECT_TRUE(tables.BonusTaxRate(presence, previous, dependants, column, &rate));
    return rate;
  }

  TableSources sources;
  TempDir out;
  RateTables tables;
  TablePresence presence;
};

TEST_P(ShippedTables, MonthlyTableRowsAndReductions) {
  const std::vector<Row> rows = ReadRows(sources.MonthlyTable());
  ASSERT_GT(rows.size(), 2u);
  // The first source row: 甲 0, 乙 a rate of the whole amount (the 乙 bracket from 0).
  const Yen firstUpper = Int(rows[0], "upper");
  const std::vector<Row> brackets = ReadRows(sources.MonthlyBrackets());
  const double otsuBelow = Rate(brackets[std::size_t(std::find_if(brackets.begin(), brackets.end(), [](const Row& r) {
                                                return r.at("column") == "otsu" && r.at("lower") == "0";
                                              }) - brackets.begin())], "rate");
  for (Yen amount : {0, 1, firstUpper / 2, firstUpper - 1}) {
    for (int d = 0; d <= 9; ++d) EXPECT_EQ(Tax(amount, 0, d), 0) << amount;
    for (int d = 0; d <= 2; ++d) {
      EXPECT_EQ(Tax(amount, 1, d), OtsuWithReduction(RoundYen(RoundingMode::Truncate, otsuBelow * amount), d))
          << amount << " 乙 " << d;
    }
  }
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const Row& row = rows[i];
    for (Yen amount : {Int(row, "lower"), Int(row, "upper") - 1}) {
      SCOPED_TRACE(amount);
      for (int d = 0; d <= 9; ++d) {
        EXPECT_EQ(Tax(amount, 0, d), KouWithReduction(Int(row, "kou" + Dependants(std::min(d, 7))), d)) << "甲 " << d;
      }
      for (int d = 0; d <= 2; ++d) EXPECT_EQ(Tax(amount, 1, d), OtsuWithReduction(Int(row, "otsu"), d)) << "乙 " << d;
    }
  }
}

// Above the table the files hold two 甲 brackets and the first 乙 bracket above the table: 甲 is
// exact up to the third 甲 bracket's lower bound, 乙 up to that 乙 bracket's upper bound.
TEST_P(ShippedTables, MonthlyBracketsUpToWhereTheFileIsExact) {
  std::vector<Row> kou, otsu;
  for (const Row& r : ReadRows(sources.MonthlyBrackets())) (r.at("column") == "kou" ? kou : otsu).push_back(r);
  auto byLower = [](const Row& a, const Row& b) { return Int(a, "lower") < Int(b, "lower"); };
  std::sort(kou.begin(), kou.end(), byLower);
  std::sort(otsu.begin(), otsu.end(), byLower);
  ASSERT_GE(kou.size(), 3u);
  ASSERT_GE(otsu.size(), 2u);

  for (RoundingMode mode : {RoundingMode::Truncate, RoundingMode::Half}) {
    for (int b = 0; b < 2; ++b) {
      const Yen lower = Int(kou[b], "lower");
      const Yen upper = Int(kou[b], "upper");
      for (Yen amount : {lower, lower + 1, lower + 12'345, (lower + upper) / 2 + 7, upper - 1}) {
        SCOPED_TRACE(amount);
        for (int d = 0; d <= 9; ++d) {
          const Yen base = Int(kou[b], "base" + Dependants(std::min(d, 7)));
          const Yen expected = base + RoundYen(mode, Rate(kou[b], "rate") * (amount - lower));
          EXPECT_EQ(Tax(amount, 0, d, mode), KouWithReduction(expected, d)) << "甲 " << d;
        }
      }
    }
    const Row& above = otsu[1];
    const Yen lower = Int(above, "lower");
    const Yen upper = Int(above, "upper");
    ASSERT_EQ(lower, Int(kou[0], "lower"));
    for (Yen amount : {lower, lower + 1, Int(kou[1], "lower") - 1, Int(kou[1], "lower"), Int(kou[2], "lower"),
                       1'234'567, upper - 1}) {
      SCOPED_TRACE(amount);
      const Yen expected = Int(above, "base") + RoundYen(mode, Rate(above, "rate") * (amount - lower));
      for (int d = 0; d <= 2; ++d) EXPECT_EQ(Tax(amount, 1, d, mode), OtsuWithReduction(expected, d)) << "乙 " << d;
    }
  }
}

// 21 甲 rates in 20 rows: the second-highest is dropped and its ranges take the top rate.
TEST_P(ShippedTables, BonusRatesAtEveryBound) {
  const std::vector<Row> kou = ReadRows(sources.BonusKou());
  ASSERT_EQ(kou.size(), 21u);
  const double top = Rate(kou.back(), "rate");
  for (std::size_t i = 0; i < kou.size(); ++i) {
    const bool dropped = i == kou.size() - 2;
    const double expected = dropped ? top : Rate(kou[i], "rate");
    for (int d = 0; d <= 9; ++d) {
      const std::string column = Dependants(std::min(d, 7));
      const Yen lower = Int(kou[i], "lower_" + column);
      const std::string upperText = kou[i].at("upper_" + column);
      const Yen last = upperText.empty() ? std::numeric_limits<Yen>::max() : std::stoi(upperText) - 1;
      for (Yen previous : {lower, last}) {
        SCOPED_TRACE(::testing::Message() << "row " << i + 1 << ", " << d << " 人, " << previous);
        EXPECT_DOUBLE_EQ(BonusRate(previous, d, 0), expected);
      }
    }
  }
  EXPECT_DOUBLE_EQ(Rate(kou[kou.size() - 2], "rate"), 0.41861);

  const std::vector<Row> otsu = ReadRows(sources.BonusOtsu());
  for (const Row& row : otsu) {
    const std::string upperText = row.at("upper");
    const Yen last = upperText.empty() ? std::numeric_limits<Yen>::max() : std::stoi(upperText) - 1;
    for (Yen previous : {Int(row, "lower"), last}) {
      SCOPED_TRACE(previous);
      EXPECT_DOUBLE_EQ(BonusRate(previous, 0, 1), Rate(row, "rate"));
    }
  }
}

TEST_P(ShippedTables, GradesEmploymentAndDates) {
  const std::vector<Row> grades = ReadRows(sources.HealthGrades());
  ASSERT_EQ(tables.GradeCount(), static_cast<int>(grades.size()));
  for (const Row& row : grades) {
    const int g = Int(row, "grade");
    SCOPED_TRACE(g);
    const Yen upper = row.at("upper").empty() ? std::numeric_limits<Yen>::max() : Int(row, "upper");
    EXPECT_EQ(tables.HealthGrade(g), (Grade{Int(row, "lower"), upper, Int(row, "standard")}));
  }
  // Welfare pension: health grades 4 (88,000) to 35 (650,000).
  EXPECT_EQ(tables.HealthGrade(tables.PensionGrade(1)).standard, 88'000);
  EXPECT_EQ(tables.HealthGrade(tables.PensionGrade(35)).standard, 650'000);
  EXPECT_EQ(tables.HealthGrade(tables.PensionGrade(50)).standard, 650'000);

  // No employment insurance rows: the whole file is zero and the premium takes the fixed rule.
  EXPECT_EQ(tables.Employment(), EmploymentImage{});
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 300'000, true), 2'100);

  const std::string date = "  " + std::string(GetParam()).replace(4, 1, "/").replace(7, 1, "/");
  EXPECT_EQ(RateTableFileDates(out.Path()), "税額表(給与).dat　　" + date + "\r税額表(賞与).dat　　" + date +
                                                "\r雇用保険料額表.dat" + date + "\r健康保険料額表.dat" + date);
}

std::string EditionName(const ::testing::TestParamInfo<const char*>& edition) {
  return "Edition" + std::string(edition.param).substr(0, 4);
}

INSTANTIATE_TEST_SUITE_P(Editions, ShippedTables, ::testing::Values("2026-01-01", "2020-01-01"), EditionName);

// A source that does not fit is refused with the file and line, not written half.
TEST(TableSourcesErrors, GapsAndOversizedTablesAreRefused) {
  TempDir src;
  for (const auto& entry : fs::directory_iterator(PAYLARK_TABLES_SRC)) {
    if (entry.path().extension() == ".tsv") fs::copy_file(entry.path(), src / entry.path().filename());
  }
  TableSources sources;
  sources.folder = src.Path();
  TempDir out;

  std::vector<std::string> lines;
  {
    std::ifstream in(sources.MonthlyTable());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  {
    std::ofstream gap(sources.MonthlyTable(), std::ios::trunc);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i != 10) gap << lines[i] << '\n';
    }
  }
  try {
    WriteRateTables(sources, out.Path());
    ADD_FAILURE() << "a gap in the monthly rows was accepted";
  } catch (const SourceError& e) {
    EXPECT_NE(std::string(e.what()).find("withholding-monthly-2026-01-01.tsv:11"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(fs::is_empty(out.Path()));

  sources.withholdingEdition = "2020-01-01";
  sources.pensionHighestGrade = 51;
  EXPECT_THROW(BuildHealthGradeImage(sources), SourceError);
  sources.pensionHighestGrade = 35;
  {
    std::ofstream otsu(sources.BonusOtsu(), std::ios::app);
    for (int i = 0; i < 6; ++i) otsu << "0.45945\t1118000\t\n";
  }
  EXPECT_THROW(BuildBonusTaxImage(sources), SourceError);
  EXPECT_NO_THROW(BuildMonthlyTaxImage(sources));
}

}  // namespace
}  // namespace paylark::tables
