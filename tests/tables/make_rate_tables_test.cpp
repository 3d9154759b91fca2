// The shipped table files against their TSV sources, read back through the program's own
// look-ups: every boundary and a dense sample of amounts for both editions, the images alone as
// the fixed layouts read them, and the edition picked by the payment date. The sources are read
// and the expected tax computed here with code of its own, so a slip of the generator's reading
// or of the program's look-up shows as a difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "store/rate_table_editions.h"
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
constexpr Yen kOpen = std::numeric_limits<Yen>::max();

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
Yen UpperOrOpen(const Row& row, const std::string& column) {
  return row.at(column).empty() ? kOpen : Int(row, column);
}
double Rate(const Row& row, const std::string& column) { return std::stod(row.at(column)); }
std::string Dependants(int d) { return std::to_string(d); }

// Tax for a dependant count from the tax of 0..7 dependants, with the reductions.
Yen KouWithReduction(Yen taxForColumn, int dependants) {
  return std::max(0, taxForColumn - kKouReductionBeyondSeven * std::max(0, dependants - 7));
}
Yen OtsuWithReduction(Yen tax, int dependants) { return std::max(0, tax - kOtsuReductionPerDependant * dependants); }

// The official 月額表 of one edition as the sources state it, computed straight from their rows:
// below the first row 甲 0 and 乙 the rate of the whole amount; in the rows the row's tax; above
// them the bracket's base + rate × (amount − lower), the product rounded by the deduction mode.
// A row or bracket of the sources; a bracket's base is in kou (甲) or otsu (乙).
struct Line {
  Yen lower;
  Yen upper;
  std::array<Yen, kDependantColumns> kou;
  Yen otsu;
  double rate;
};

class SourceMonthlyTable {
 public:
  explicit SourceMonthlyTable(const TableSources& sources) {
    const std::vector<Row> table = ReadRows(sources.MonthlyTable());
    firstUpper_ = Int(table.at(0), "upper");
    for (std::size_t i = 1; i < table.size(); ++i) {
      Line line{Int(table[i], "lower"), Int(table[i], "upper"), {}, Int(table[i], "otsu"), 0};
      for (int d = 0; d < kDependantColumns; ++d) line.kou[d] = Int(table[i], "kou" + Dependants(d));
      rows_.push_back(line);
    }
    for (const Row& b : ReadRows(sources.MonthlyBrackets())) {
      Line line{Int(b, "lower"), UpperOrOpen(b, "upper"), {}, 0, Rate(b, "rate")};
      if (b.at("column") == "kou") {
        for (int d = 0; d < kDependantColumns; ++d) line.kou[d] = Int(b, "base" + Dependants(d));
        kou_.push_back(line);
      } else if (line.lower == 0) {
        otsuBelowRate_ = line.rate;
      } else {
        line.otsu = Int(b, "base");
        otsu_.push_back(line);
      }
    }
    for (const Row& r : ReadRows(sources.MonthlyReductions())) {
      EXPECT_EQ(Int(r, "per_dependant"), r.at("column") == "kou" ? kKouReductionBeyondSeven : kOtsuReductionPerDependant);
    }
  }

  Yen Tax(Yen amount, bool otsu, int dependants, RoundingMode mode) const {
    const int d = std::min(dependants, 7);
    Yen tax = -1;
    if (amount < firstUpper_) {
      tax = otsu ? RoundYen(mode, otsuBelowRate_ * amount) : 0;
    }
    for (const Line& r : rows_) {
      if (r.lower <= amount && amount < r.upper) tax = otsu ? r.otsu : r.kou[d];
    }
    for (const Line& b : otsu ? otsu_ : kou_) {
      if (b.lower <= amount && amount < b.upper) {
        tax = (otsu ? b.otsu : b.kou[d]) + RoundYen(mode, b.rate * (static_cast<double>(amount) - b.lower));
      }
    }
    EXPECT_GE(tax, 0) << "the sources do not cover " << amount;
    return otsu ? OtsuWithReduction(tax, dependants) : KouWithReduction(tax, dependants);
  }

  // Every amount where the table changes, with the amount just below it and the last of the row.
  std::vector<Yen> Boundaries() const {
    std::vector<Yen> amounts = {0, 1, firstUpper_ - 1};
    auto add = [&](const Line& l) {
      amounts.insert(amounts.end(), {l.lower - 1, l.lower, l.lower + 1});
      if (l.upper != kOpen) amounts.push_back(l.upper - 1);
    };
    for (const auto* list : {&rows_, &kou_, &otsu_}) {
      for (const Line& l : *list) add(l);
    }
    return amounts;
  }
  const std::vector<Line>& KouBrackets() const { return kou_; }
  const std::vector<Line>& OtsuBrackets() const { return otsu_; }

 private:
  Yen firstUpper_ = 0;
  double otsuBelowRate_ = 0;
  std::vector<Line> rows_, kou_, otsu_;
};

// The bonus rate of the sources: the 甲 row whose range for min(d, 7) holds the previous month's
// amount, the 乙 row whose range holds it.
class SourceBonusTable {
 public:
  explicit SourceBonusTable(const TableSources& sources)
      : kou_(ReadRows(sources.BonusKou())), otsuRows_(ReadRows(sources.BonusOtsu())) {
    for (int d = 0; d < kDependantColumns; ++d) {
      for (const Row& row : kou_) {
        const std::string lower = row.at("lower_" + Dependants(d));
        kouRanges_[d].push_back(
            {lower.empty() ? 0 : std::stoi(lower), UpperOrOpen(row, "upper_" + Dependants(d)), Rate(row, "rate")});
      }
    }
    for (const Row& row : otsuRows_) otsu_.push_back({Int(row, "lower"), UpperOrOpen(row, "upper"), Rate(row, "rate")});
  }

  double Rate(Yen previous, int dependants, bool otsu) const {
    for (const Range& r : otsu ? otsu_ : kouRanges_[std::min(dependants, 7)]) {
      if (r.lower <= previous && previous < r.upper) return r.rate;
    }
    ADD_FAILURE() << "the sources do not cover " << previous;
    return -1;
  }
  std::vector<Yen> Boundaries() const {
    std::vector<Yen> amounts = {0, 1};
    for (const auto& column : kouRanges_) {
      for (const Range& r : column) amounts.insert(amounts.end(), {r.lower - 1, r.lower, r.upper - 1});
    }
    for (const Range& r : otsu_) amounts.insert(amounts.end(), {r.lower - 1, r.lower, r.upper - 1});
    std::erase_if(amounts, [](Yen a) { return a < 0; });
    return amounts;
  }
  const std::vector<Row>& Kou() const { return kou_; }

 private:
  static double Rate(const Row& row, const std::string& column) { return tables::Rate(row, column); }
  struct Range {
    Yen lower;
    Yen upper;
    double rate;
  };
  std::vector<Row> kou_, otsuRows_;
  std::array<std::vector<Range>, kDependantColumns> kouRanges_;
  std::vector<Range> otsu_;
};

// Every 997 yen from 0 to 10,000,000: a dense sample that lands on no round figure.
std::vector<Yen> DenseSample() {
  std::vector<Yen> amounts;
  for (Yen a = 0; a <= 10'000'000; a += 997) amounts.push_back(a);
  return amounts;
}

void CopyImagesOnly(const fs::path& from, const fs::path& to) {
  for (int i = 0; i < kTableCount; ++i) {
    const TableId id = static_cast<TableId>(i);
    fs::copy_file(from / TableFileName(id), to / TableFileName(id));
    fs::resize_file(to / TableFileName(id), TableFileSize(id));
  }
}

class ShippedTables : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    sources.folder = PAYLARK_TABLES_SRC;
    sources.withholdingEdition = GetParam();
    WriteRateTables(sources, out.Path());
    std::vector<std::string> errors;
    ASSERT_EQ(tables.LoadFromFolder(out.Path(), &errors), 4);
    ASSERT_TRUE(errors.empty()) << errors.front();
    presence = tables.Presence();
    // The same files cut to their images: what a reader of the fixed layouts sees.
    CopyImagesOnly(out.Path(), imagesOnly.Path());
    ASSERT_EQ(legacy.LoadFromFolder(imagesOnly.Path(), &errors), 4);
    legacyPresence = legacy.Presence();
  }
  Yen Tax(Yen amount, int column, int dependants, RoundingMode mode = RoundingMode::Truncate) const {
    return tables.MonthlyTax(presence, amount, column, dependants, mode);
  }
  Yen LegacyTax(Yen amount, int column, int dependants, RoundingMode mode = RoundingMode::Truncate) const {
    return legacy.MonthlyTax(legacyPresence, amount, column, dependants, mode);
  }
  double BonusRate(const RateTables& t, Yen previous, int dependants, int column) const {
    double rate = -1;
    EXPECT_TRUE(t.BonusTaxRate(&t == &legacy ? legacyPresence : presence, previous, dependants, column, &rate));
    return rate;
  }

  TableSources sources;
  TempDir out;
  TempDir imagesOnly;
  RateTables tables;
  RateTables legacy;
  TablePresence presence;
  TablePresence legacyPresence;
};

TEST_P(ShippedTables, TheImageAtTheStartIsTheLegacyTable) {
  EXPECT_EQ(tables.Monthly(), BuildMonthlyTaxImage(sources));
  EXPECT_EQ(tables.Bonus(), BuildBonusTaxImage(sources));
  EXPECT_EQ(tables.Monthly(), legacy.Monthly());
  EXPECT_EQ(tables.HealthGrades(), legacy.HealthGrades());
  ASSERT_NE(tables.MonthlyFull(), nullptr);
  ASSERT_NE(tables.BonusFull(), nullptr);
  EXPECT_EQ(legacy.MonthlyFull(), nullptr);
  EXPECT_EQ(legacy.BonusFull(), nullptr);
  const CivilDate edition = EditionDate(GetParam());
  EXPECT_EQ(tables.EditionDate(), edition);
  EXPECT_EQ(tables.EffectiveDate(TableId::Employment), edition);
  EXPECT_EQ(tables.EffectiveDate(TableId::HealthGrade), (CivilDate{2016, 4, 1}));
  EXPECT_EQ(legacy.EditionDate(), std::nullopt);
}

// The program's monthly tax against the sources on every boundary of every row and bracket
// (in the three rounding modes) and on a dense sample up to 10,000,000 yen: 甲 0..9 dependants,
// 乙 0..2.
TEST_P(ShippedTables, MonthlyTaxIsTheSourceTableForEveryAmount) {
  const SourceMonthlyTable source(sources);
  auto compare = [&](const std::vector<Yen>& amounts, RoundingMode mode) {
    int differences = 0;
    for (Yen amount : amounts) {
      for (int d = 0; d <= 9 && differences < 10; ++d) {
        const Yen expected = source.Tax(amount, false, d, mode);
        if (Tax(amount, 0, d, mode) != expected) {
          ++differences;
          ADD_FAILURE() << "甲 " << d << " at " << amount << ": " << Tax(amount, 0, d, mode) << " != " << expected;
        }
      }
      for (int d = 0; d <= 2 && differences < 10; ++d) {
        const Yen expected = source.Tax(amount, true, d, mode);
        if (Tax(amount, 1, d, mode) != expected) {
          ++differences;
          ADD_FAILURE() << "乙 " << d << " at " << amount << ": " << Tax(amount, 1, d, mode) << " != " << expected;
        }
      }
    }
  };
  for (RoundingMode mode : {RoundingMode::Truncate, RoundingMode::Up, RoundingMode::Half}) compare(source.Boundaries(), mode);
  compare(DenseSample(), RoundingMode::Truncate);
  // Any column other than 0 is 乙, in the brackets too.
  EXPECT_EQ(Tax(5'000'000, 2, 0), source.Tax(5'000'000, true, 0, RoundingMode::Truncate));
  EXPECT_EQ(Tax(50'000, 2, 0), source.Tax(50'000, true, 0, RoundingMode::Truncate));
}

TEST_P(ShippedTables, BonusRateIsTheSourceTableForEveryAmount) {
  const SourceBonusTable source(sources);
  std::vector<Yen> amounts = source.Boundaries();
  const std::vector<Yen> dense = DenseSample();
  amounts.insert(amounts.end(), dense.begin(), dense.end());
  int differences = 0;
  for (Yen previous : amounts) {
    for (int d = 0; d <= 9 && differences < 10; ++d) {
      const double expected = source.Rate(previous, d, false);
      if (BonusRate(tables, previous, d, 0) != expected) {
        ++differences;
        ADD_FAILURE() << "甲 " << d << " at " << previous << ": " << BonusRate(tables, previous, d, 0) << " != " << expected;
      }
    }
    const double expected = source.Rate(previous, 0, true);
    if (differences < 10 && BonusRate(tables, previous, 3, 1) != expected) {
      ++differences;
      ADD_FAILURE() << "乙 at " << previous << ": " << BonusRate(tables, previous, 3, 1) << " != " << expected;
    }
  }
  // The band the fixed layout cannot hold: 41.861 % from 2,621,000 (0 dependants).
  EXPECT_DOUBLE_EQ(BonusRate(tables, 2'621'000, 0, 0), 0.41861);
  EXPECT_EQ(tables.BonusTax(presence, 2'621'000, 1'000'000, 0, 0, RoundingMode::Truncate), 418'610);
}

// Files cut to their images behave as the fixed layouts always did: every table row exact, the
// two 甲 brackets and the first 乙 bracket above the table exact, beyond them the approximation.
TEST_P(ShippedTables, ImagesAloneKeepTheLegacyLookUp) {
  const std::vector<Row> rows = ReadRows(sources.MonthlyTable());
  ASSERT_GT(rows.size(), 2u);
  const SourceMonthlyTable source(sources);
  const Yen firstUpper = Int(rows[0], "upper");
  for (Yen amount : {0, 1, firstUpper / 2, firstUpper - 1}) {
    for (int d = 0; d <= 9; ++d) EXPECT_EQ(LegacyTax(amount, 0, d), 0) << amount;
    for (int d = 0; d <= 2; ++d) {
      EXPECT_EQ(LegacyTax(amount, 1, d), source.Tax(amount, true, d, RoundingMode::Truncate)) << amount << " 乙 " << d;
    }
  }
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const Row& row = rows[i];
    for (Yen amount : {Int(row, "lower"), Int(row, "upper") - 1}) {
      SCOPED_TRACE(amount);
      for (int d = 0; d <= 9; ++d) {
        EXPECT_EQ(LegacyTax(amount, 0, d), KouWithReduction(Int(row, "kou" + Dependants(std::min(d, 7))), d)) << "甲 " << d;
      }
      for (int d = 0; d <= 2; ++d) EXPECT_EQ(LegacyTax(amount, 1, d), OtsuWithReduction(Int(row, "otsu"), d)) << "乙 " << d;
    }
  }

  const auto& kou = source.KouBrackets();
  const auto& otsu = source.OtsuBrackets();
  ASSERT_GE(kou.size(), 3u);
  ASSERT_GE(otsu.size(), 2u);
  for (RoundingMode mode : {RoundingMode::Truncate, RoundingMode::Half}) {
    for (int b = 0; b < 2; ++b) {
      for (Yen amount : {kou[b].lower, kou[b].lower + 12'345, (kou[b].lower + kou[b].upper) / 2 + 7, kou[b].upper - 1}) {
        for (int d = 0; d <= 9; ++d) {
          EXPECT_EQ(LegacyTax(amount, 0, d, mode), source.Tax(amount, false, d, mode)) << amount << " 甲 " << d;
        }
      }
    }
    for (Yen amount : {otsu[0].lower, kou[1].lower, kou[2].lower, 1'234'567, otsu[0].upper - 1}) {
      for (int d = 0; d <= 2; ++d) {
        EXPECT_EQ(LegacyTax(amount, 1, d, mode), source.Tax(amount, true, d, mode)) << amount << " 乙 " << d;
      }
    }
  }
  // Beyond them the fixed layout keeps the second 甲 bracket's rate and the first 乙 bracket's.
  const Yen third = kou[2].lower;
  EXPECT_EQ(LegacyTax(third, 0, 0), kou[1].kou[0] + RoundYen(RoundingMode::Truncate, kou[1].rate * (third - kou[1].lower)));
  EXPECT_NE(LegacyTax(third, 0, 0), source.Tax(third, false, 0, RoundingMode::Truncate));
  EXPECT_EQ(LegacyTax(otsu[1].lower, 1, 0),
            otsu[0].otsu + RoundYen(RoundingMode::Truncate, otsu[0].rate * (otsu[1].lower - otsu[0].lower)));

  // Bonus: 21 甲 rates in 20 rows; the second-highest is dropped and its ranges take the top rate.
  const SourceBonusTable bonus(sources);
  const std::vector<Row>& bonusKou = bonus.Kou();
  ASSERT_EQ(bonusKou.size(), 21u);
  const double top = Rate(bonusKou.back(), "rate");
  EXPECT_DOUBLE_EQ(Rate(bonusKou[bonusKou.size() - 2], "rate"), 0.41861);
  for (std::size_t i = 0; i < bonusKou.size(); ++i) {
    const bool dropped = i == bonusKou.size() - 2;
    for (int d = 0; d <= 9; ++d) {
      const std::string column = Dependants(std::min(d, 7));
      const Yen lower = Int(bonusKou[i], "lower_" + column);
      const Yen upper = UpperOrOpen(bonusKou[i], "upper_" + column);
      for (Yen previous : {lower, upper == kOpen ? kOpen : upper - 1}) {
        SCOPED_TRACE(::testing::Message() << "row " << i + 1 << ", " << d << " 人, " << previous);
        EXPECT_DOUBLE_EQ(BonusRate(legacy, previous, d, 0), dropped ? top : Rate(bonusKou[i], "rate"));
      }
    }
  }
}

TEST_P(ShippedTables, GradesEmploymentAndDates) {
  const std::vector<Row> grades = ReadRows(sources.HealthGrades());
  ASSERT_EQ(tables.GradeCount(), static_cast<int>(grades.size()));
  for (const Row& row : grades) {
    const int g = Int(row, "grade");
    SCOPED_TRACE(g);
    EXPECT_EQ(tables.HealthGrade(g), (Grade{Int(row, "lower"), UpperOrOpen(row, "upper"), Int(row, "standard")}));
  }
  // Welfare pension: health grades 4 (88,000) to 35 (650,000).
  EXPECT_EQ(tables.HealthGrade(tables.PensionGrade(1)).standard, 88'000);
  EXPECT_EQ(tables.HealthGrade(tables.PensionGrade(35)).standard, 650'000);
  EXPECT_EQ(tables.HealthGrade(tables.PensionGrade(50)).standard, 650'000);

  // No employment insurance rows: the whole image is zero and the premium takes the fixed rule.
  EXPECT_EQ(tables.Employment(), EmploymentImage{});
  EXPECT_EQ(tables.EmploymentPremiumFromTable(presence, 300'000, true), 2'100);
  // The extension carries the worker's rates of the source by wage closing date.
  ASSERT_NE(tables.EmploymentRates(), nullptr);
  EXPECT_EQ(tables.EmploymentRates()->rows.size(), ReadRows(sources.EmploymentRates()).size() / 3);
  struct Rate {
    CivilDate closed;
    bool general;
    std::int32_t millionths;
  } rates[] = {
      {{2024, 3, 31}, true, 0},  {{2024, 4, 1}, true, 6'000},   {{2025, 3, 31}, false, 7'000},
      {{2025, 4, 1}, true, 5'500}, {{2026, 3, 31}, false, 6'500}, {{2026, 4, 1}, true, 5'000},
      {{2027, 1, 31}, false, 6'000},
  };
  for (const Rate& r : rates) {
    SCOPED_TRACE(::testing::Message() << r.closed.year << "-" << r.closed.month << "-" << r.closed.day);
    EXPECT_EQ(tables.EmploymentRateOn(presence, r.closed, r.general).value_or(0), r.millionths);
  }
  EXPECT_EQ(tables.EmploymentRates()->rows.back().construction, 6'000);

  // The edition dates come from the extensions; the grade table is of its own edition.
  const std::string date = "  " + std::string(GetParam()).replace(4, 1, "/").replace(7, 1, "/");
  EXPECT_EQ(RateTableFileDates(out.Path()), "税額表(給与).dat　　" + date + "\r税額表(賞与).dat　　" + date +
                                                "\r雇用保険料額表.dat" + date + "\r健康保険料額表.dat  2016/04/01");
}

std::string EditionName(const ::testing::TestParamInfo<const char*>& edition) {
  return "Edition" + std::string(edition.param).substr(0, 4);
}

INSTANTIATE_TEST_SUITE_P(Editions, ShippedTables, ::testing::Values("2026-01-01", "2020-01-01"), EditionName);

// The program folder as the build lays it out: 2026 beside the program, 2020 in its edition
// folder. Each payment date gets its edition's tax.
TEST(ShippedEditions, ThePaymentDatePicksTheEdition) {
  TempDir program;
  TableSources current, previous;
  current.folder = previous.folder = PAYLARK_TABLES_SRC;
  current.withholdingEdition = "2026-01-01";
  previous.withholdingEdition = "2020-01-01";
  WriteRateTables(current, program.Path());
  WriteRateTables(previous, program / kEditionsFolderName / "2020-01-01");
  RateTableEditions editions;
  std::vector<std::string> errors;
  ASSERT_EQ(editions.LoadFromProgramFolder(program.Path(), &errors), 4);
  EXPECT_TRUE(errors.empty());

  const SourceMonthlyTable tax2026(current), tax2020(previous);
  const SourceBonusTable bonus2026(current), bonus2020(previous);
  struct Case {
    CivilDate paid;
    const SourceMonthlyTable& monthly;
    const SourceBonusTable& bonus;
  };
  const Case cases[] = {{{2025, 12, 25}, tax2020, bonus2020}, {{2025, 12, 31}, tax2020, bonus2020},
                        {{2026, 1, 1}, tax2026, bonus2026},   {{2031, 7, 10}, tax2026, bonus2026},
                        {{2020, 1, 1}, tax2020, bonus2020},   {{2012, 6, 25}, tax2020, bonus2020}};  // before all: the oldest
  for (const Case& c : cases) {
    SCOPED_TRACE(IsoDate(c.paid));
    const RateTables& t = editions.InForceOn(c.paid);
    for (Yen amount : {100'000, 278'942, 1'000'000, 3'000'000}) {
      EXPECT_EQ(t.MonthlyTax(t.Presence(), amount, 0, 1, RoundingMode::Truncate),
                c.monthly.Tax(amount, false, 1, RoundingMode::Truncate)) << amount;
      EXPECT_EQ(t.MonthlyTax(t.Presence(), amount, 1, 0, RoundingMode::Truncate),
                c.monthly.Tax(amount, true, 0, RoundingMode::Truncate)) << amount;
    }
    double rate = -1;
    ASSERT_TRUE(t.BonusTaxRate(t.Presence(), 80'000, 0, 0, &rate));
    EXPECT_DOUBLE_EQ(rate, c.bonus.Rate(80'000, 0, false));
  }
  // The two editions differ where this checks.
  EXPECT_NE(tax2020.Tax(278'942, false, 1, RoundingMode::Truncate), tax2026.Tax(278'942, false, 1, RoundingMode::Truncate));
  EXPECT_NE(bonus2020.Rate(80'000, 0, false), bonus2026.Rate(80'000, 0, false));
  EXPECT_TRUE(editions.Current().EditionDate() == (CivilDate{2026, 1, 1}));
}

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

  // Employment rates: a figure that is not exact in millionths, and a business kind left out.
  const std::string header = "from_wage_closing_date\tbusiness_kind\tworker_per_mille\temployer_per_mille\ttotal_per_mille\n";
  struct Bad {
    const char* rows;
    const char* says;
  } bad[] = {
      {"2026-04-01\tgeneral\t5.0001\t8.5\t13.5\n", "employment-insurance-rates.tsv:2"},
      {"2026-04-01\tgeneral\t5\t8.5\t13.5\n2026-04-01\tconstruction\t6\t10.5\t16.5\n", "every business kind"},
      {"2026-04-01\tgeneral\t5\t8.5\t13.5\n2026-04-01\tgeneral\t5\t8.5\t13.5\n", "a second row of general"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.rows);
    std::ofstream(sources.EmploymentRates(), std::ios::trunc) << header << b.rows;
    try {
      BuildEmploymentRates(sources);
      ADD_FAILURE() << "accepted";
    } catch (const SourceError& e) {
      EXPECT_NE(std::string(e.what()).find(b.says), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace paylark::tables
