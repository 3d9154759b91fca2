#include "tables/rate_table_sources.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <limits>
#include <string_view>
#include <vector>

#include "store/atomic_file.h"
#include "store/rate_table_extension.h"
#include "store/rate_table_editions.h"

namespace paylark::tables {
namespace fs = std::filesystem;

namespace {

// What an empty upper bound (no upper bound) becomes in a table file.
constexpr Yen kOpenUpper = std::numeric_limits<Yen>::max();

Yen UpperOrOpen(const TsvFile& file, std::size_t row, const std::string& column) {
  return file.OptionalInt(row, column).value_or(kOpenUpper);
}

KouColumns KouBases(const TsvFile& file, std::size_t row, const std::string& prefix) {
  KouColumns values{};
  for (int d = 0; d < kDependantColumns; ++d) values[d] = file.Int(row, prefix + std::to_string(d));
  return values;
}

struct Bracket {
  std::size_t row;  // in the brackets file
  Yen lower;
};

std::vector<Bracket> BracketsOf(const TsvFile& brackets, std::string_view column) {
  std::vector<Bracket> found;
  for (std::size_t row = 0; row < brackets.RowCount(); ++row) {
    if (brackets.Text(row, "column") == column) found.push_back({row, brackets.Int(row, "lower")});
  }
  std::sort(found.begin(), found.end(), [](const Bracket& a, const Bracket& b) { return a.lower < b.lower; });
  return found;
}

const Bracket& BracketFrom(const TsvFile& brackets, const std::vector<Bracket>& list, Yen lower,
                           std::string_view column) {
  for (const Bracket& b : list) {
    if (b.lower == lower) return b;
  }
  throw SourceError(brackets.Path().string() + ": no " + std::string(column) + " bracket from " +
                    std::to_string(lower));
}

Yen Reduction(const TsvFile& reductions, std::string_view column) {
  for (std::size_t row = 0; row < reductions.RowCount(); ++row) {
    if (reductions.Text(row, "column") == column) return reductions.Int(row, "per_dependant");
  }
  throw SourceError(reductions.Path().string() + ": no " + std::string(column) + " row");
}

std::time_t NoonOf(const CivilDate& date) {
  std::tm local{};
  local.tm_year = date.year - 1900;
  local.tm_mon = date.month - 1;
  local.tm_mday = date.day;
  local.tm_hour = 12;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

template <class Image>
void WriteTableFile(const fs::path& folder, const Image& image, const TableExtension& extension) {
  const fs::path path = folder / TableFileName(extension.table);
  std::string contents(reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size());
  contents += EncodeTableExtension(extension);
  ReplaceFileContents(path, contents);
  const auto written = std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(NoonOf(extension.effective)));
  fs::last_write_time(path, std::chrono::time_point_cast<fs::file_time_type::duration>(written));
}

}  // namespace

fs::path TableSources::MonthlyTable() const { return folder / ("withholding-monthly-" + withholdingEdition + ".tsv"); }
fs::path TableSources::MonthlyBrackets() const {
  return folder / ("withholding-monthly-" + withholdingEdition + "-brackets.tsv");
}
fs::path TableSources::MonthlyReductions() const {
  return folder / ("withholding-monthly-" + withholdingEdition + "-reductions.tsv");
}
fs::path TableSources::BonusKou() const { return folder / ("withholding-bonus-" + withholdingEdition + ".tsv"); }
fs::path TableSources::BonusOtsu() const { return folder / ("withholding-bonus-otsu-" + withholdingEdition + ".tsv"); }
fs::path TableSources::HealthGrades() const { return folder / ("health-grades-" + gradesEdition + ".tsv"); }
fs::path TableSources::EmploymentRates() const { return folder / "employment-insurance-rates.tsv"; }

MonthlyTaxImage BuildMonthlyTaxImage(const TableSources& sources) {
  const TsvFile table = TsvFile::Read(sources.MonthlyTable());
  const TsvFile brackets = TsvFile::Read(sources.MonthlyBrackets());
  const TsvFile reductions = TsvFile::Read(sources.MonthlyReductions());

  // The first source row is the range below the table, where 乙 is a rate and not an amount.
  if (table.RowCount() < 2 || table.Int(0, "lower") != 0 || !table.Text(0, "otsu").empty()) {
    throw SourceError(table.Where(0) + ": the first row must run from 0 with an empty otsu");
  }
  const std::size_t tableRows = table.RowCount() - 1;
  const int n = static_cast<int>(tableRows) + 2;
  if (n > MonthlyTaxImage::kMaxRows) {
    throw SourceError(table.Path().string() + ": " + std::to_string(tableRows) + " rows do not fit the table file");
  }

  MonthlyTaxImage image;
  image.SetRowCount(n);
  Yen previousUpper = table.Int(0, "upper");
  for (std::size_t row = 1; row <= tableRows; ++row) {
    const Yen lower = table.Int(row, "lower");
    const Yen upper = table.Int(row, "upper");
    if (lower != previousUpper || upper <= lower) throw SourceError(table.Where(row) + ": rows are not contiguous");
    image.SetRow(static_cast<int>(row), lower, upper, KouBases(table, row, "kou"), table.Int(row, "otsu"));
    previousUpper = upper;
  }
  const Yen tableEnd = previousUpper;

  const std::vector<Bracket> kou = BracketsOf(brackets, "kou");
  const std::vector<Bracket> otsu = BracketsOf(brackets, "otsu");
  if (kou.size() < 2) throw SourceError(brackets.Path().string() + ": fewer than two kou brackets");
  const Bracket& first = BracketFrom(brackets, kou, tableEnd, "kou");
  const Yen secondLower = brackets.Int(first.row, "upper");
  const Bracket& second = BracketFrom(brackets, kou, secondLower, "kou");
  const Bracket& otsuBelow = BracketFrom(brackets, otsu, 0, "otsu");
  if (brackets.Int(otsuBelow.row, "upper") != table.Int(1, "lower")) {
    throw SourceError(brackets.Where(otsuBelow.row) + ": does not end where the table begins");
  }
  const Bracket& otsuAbove = BracketFrom(brackets, otsu, tableEnd, "otsu");
  const Yen otsuBase = brackets.Int(otsuAbove.row, "base");

  image.SetRow(n - 1, first.lower, secondLower, KouBases(brackets, first.row, "base"), otsuBase);
  image.SetRow(n, second.lower, kOpenUpper, KouBases(brackets, second.row, "base"), otsuBase);
  image.SetKouRateSecondToLast(brackets.Rate(first.row, "rate"));
  image.SetKouRateAboveLast(brackets.Rate(second.row, "rate"));
  image.SetOtsuRateBelowFirst(brackets.Rate(otsuBelow.row, "rate"));
  image.SetOtsuRateFromSecondToLast(brackets.Rate(otsuAbove.row, "rate"));
  image.SetKouReductionBeyondSeven(Reduction(reductions, "kou"));
  image.SetOtsuReductionPerDependant(Reduction(reductions, "otsu"));
  return image;
}

BonusTaxImage BuildBonusTaxImage(const TableSources& sources) {
  const TsvFile kou = TsvFile::Read(sources.BonusKou());
  const TsvFile otsu = TsvFile::Read(sources.BonusOtsu());

  std::vector<std::size_t> kept;
  for (std::size_t row = 0; row < kou.RowCount(); ++row) {
    const bool dropped = kou.RowCount() > BonusTaxImage::kMaxKouRows &&
                         row >= static_cast<std::size_t>(kBonusKouRowsSearched) && row + 1 < kou.RowCount();
    if (!dropped) kept.push_back(row);
  }
  if (kept.empty()) throw SourceError(kou.Path().string() + ": no rows");

  BonusTaxImage image;
  image.SetKouRowCount(static_cast<int>(kept.size()));
  for (std::size_t i = 0; i < kept.size(); ++i) {
    KouColumns lower{}, upper{};
    for (int d = 0; d < kDependantColumns; ++d) {
      lower[d] = kou.OptionalInt(kept[i], "lower_" + std::to_string(d)).value_or(0);
      upper[d] = UpperOrOpen(kou, kept[i], "upper_" + std::to_string(d));
    }
    image.SetKouRow(static_cast<int>(i) + 1, kou.Rate(kept[i], "rate"), lower, upper);
  }

  if (otsu.RowCount() < 1 || otsu.RowCount() > static_cast<std::size_t>(BonusTaxImage::kMaxOtsuRows)) {
    throw SourceError(otsu.Path().string() + ": " + std::to_string(otsu.RowCount()) + " rows do not fit the table file");
  }
  image.SetOtsuRowCount(static_cast<int>(otsu.RowCount()));
  for (std::size_t row = 0; row < otsu.RowCount(); ++row) {
    image.SetOtsuRow(static_cast<int>(row) + 1, otsu.Rate(row, "rate"), UpperOrOpen(otsu, row, "upper"));
  }
  return image;
}

EmploymentImage BuildEmploymentImage() { return EmploymentImage{}; }

namespace {

// "5.5" per mille as millionths (5,500), exactly; at most three decimals.
std::int32_t PerMilleAsMillionths(const TsvFile& file, std::size_t row, const std::string& column) {
  const std::string& text = file.Text(row, column);
  std::int64_t whole = 0;
  std::int64_t fraction = 0;
  int decimals = -1;
  for (char ch : text) {
    if (ch == '.' && decimals < 0) {
      decimals = 0;
    } else if (ch >= '0' && ch <= '9' && decimals < 3 && whole < 1000) {
      if (decimals < 0) {
        whole = whole * 10 + (ch - '0');
      } else {
        fraction = fraction * 10 + (ch - '0');
        ++decimals;
      }
    } else {
      throw SourceError(file.Where(row) + ": " + column + " is not a per-mille figure with at most three decimals");
    }
  }
  if (text.empty() || decimals == 0) throw SourceError(file.Where(row) + ": " + column + " is not a number");
  for (int d = decimals < 0 ? 0 : decimals; d < 3; ++d) fraction *= 10;
  return static_cast<std::int32_t>(whole * 1000 + fraction);
}

}  // namespace

EmploymentRateTable BuildEmploymentRates(const TableSources& sources) {
  const TsvFile file = TsvFile::Read(sources.EmploymentRates());
  EmploymentRateTable table;
  struct Seen {
    bool general = false, agricultureSake = false, construction = false;
  };
  std::vector<Seen> seen;
  for (std::size_t row = 0; row < file.RowCount(); ++row) {
    const std::optional<CivilDate> date = ParseIsoDate(file.Text(row, "from_wage_closing_date"));
    if (!date) throw SourceError(file.Where(row) + ": from_wage_closing_date is not a date yyyy-mm-dd");
    if (table.rows.empty() || table.rows.back().from != *date) {
      if (!table.rows.empty() && !(table.rows.back().from < *date)) {
        throw SourceError(file.Where(row) + ": the dates do not ascend");
      }
      table.rows.push_back({*date, 0, 0, 0});
      seen.emplace_back();
    }
    EmploymentRateRow& r = table.rows.back();
    Seen& s = seen.back();
    const std::string& kind = file.Text(row, "business_kind");
    const std::int32_t rate = PerMilleAsMillionths(file, row, "worker_per_mille");
    bool* mark = kind == "general" ? &s.general
                 : kind == "agriculture_sake" ? &s.agricultureSake
                 : kind == "construction" ? &s.construction
                                          : nullptr;
    if (mark == nullptr) throw SourceError(file.Where(row) + ": business_kind " + kind + " is not known");
    if (*mark) throw SourceError(file.Where(row) + ": a second row of " + kind + " for the date");
    *mark = true;
    (kind == "general" ? r.general : kind == "agriculture_sake" ? r.agricultureSake : r.construction) = rate;
  }
  for (std::size_t i = 0; i < seen.size(); ++i) {
    if (!seen[i].general || !seen[i].agricultureSake || !seen[i].construction) {
      throw SourceError(file.Path().string() + ": a date without a row of every business kind");
    }
  }
  if (std::string problem = table.Problem(); !problem.empty()) throw SourceError(file.Path().string() + ": " + problem);
  return table;
}

HealthGradeImage BuildHealthGradeImage(const TableSources& sources) {
  const TsvFile grades = TsvFile::Read(sources.HealthGrades());
  const int n = static_cast<int>(grades.RowCount());
  if (n < 1 || n > HealthGradeImage::kMaxGrades) {
    throw SourceError(grades.Path().string() + ": " + std::to_string(n) + " grades do not fit the table file");
  }
  if (sources.pensionLowestGrade < 1 || sources.pensionLowestGrade > sources.pensionHighestGrade ||
      sources.pensionHighestGrade > n) {
    throw SourceError("the pension grades " + std::to_string(sources.pensionLowestGrade) + ".." +
                      std::to_string(sources.pensionHighestGrade) + " are not within the grades 1.." +
                      std::to_string(n));
  }
  HealthGradeImage image;
  image.SetGradeCount(n);
  image.SetPensionLowest(sources.pensionLowestGrade);
  image.SetPensionHighest(sources.pensionHighestGrade);
  for (int g = 1; g <= n; ++g) {
    const std::size_t row = static_cast<std::size_t>(g - 1);
    if (grades.Int(row, "grade") != g) throw SourceError(grades.Where(row) + ": grades are not numbered 1, 2, ...");
    image.SetGrade(g, {grades.Int(row, "lower"), UpperOrOpen(grades, row, "upper"), grades.Int(row, "standard")});
  }
  return image;
}

CivilDate EditionDate(const std::string& edition) {
  const std::optional<CivilDate> date = ParseIsoDate(edition);
  if (!date) throw SourceError("edition is not a date yyyy-mm-dd: " + edition);
  return *date;
}

FullMonthlyTaxTable BuildFullMonthlyTaxTable(const TableSources& sources) {
  const TsvFile table = TsvFile::Read(sources.MonthlyTable());
  const TsvFile brackets = TsvFile::Read(sources.MonthlyBrackets());
  const TsvFile reductions = TsvFile::Read(sources.MonthlyReductions());
  if (table.RowCount() < 2 || table.Int(0, "lower") != 0 || !table.Text(0, "otsu").empty()) {
    throw SourceError(table.Where(0) + ": the first row must run from 0 with an empty otsu");
  }
  FullMonthlyTaxTable full;
  for (std::size_t row = 1; row < table.RowCount(); ++row) {
    full.rows.push_back(
        {table.Int(row, "lower"), table.Int(row, "upper"), KouBases(table, row, "kou"), table.Int(row, "otsu")});
  }
  const std::vector<Bracket> otsu = BracketsOf(brackets, "otsu");
  const Bracket otsuBelow = BracketFrom(brackets, otsu, 0, "otsu");
  if (brackets.Int(otsuBelow.row, "upper") != table.Int(1, "lower")) {
    throw SourceError(brackets.Where(otsuBelow.row) + ": does not end where the table begins");
  }
  full.otsuRateBelowFirst = brackets.Rate(otsuBelow.row, "rate");
  full.kouReductionBeyondSeven = Reduction(reductions, "kou");
  full.otsuReductionPerDependant = Reduction(reductions, "otsu");
  for (const Bracket& b : BracketsOf(brackets, "kou")) {
    full.kouBrackets.push_back({b.lower, KouBases(brackets, b.row, "base"), brackets.Rate(b.row, "rate")});
  }
  for (const Bracket& b : otsu) {
    if (b.lower == 0) continue;  // below the table: the rate of the whole amount
    full.otsuBrackets.push_back({b.lower, brackets.Int(b.row, "base"), brackets.Rate(b.row, "rate")});
  }
  // Each bracket runs up to the next one's lower bound; the sources say so in their upper column.
  auto checkUppers = [&](std::string_view column) {
    std::vector<Bracket> list = BracketsOf(brackets, column);
    std::erase_if(list, [](const Bracket& b) { return b.lower == 0; });  // 乙 below the table
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
      if (brackets.Int(list[i].row, "upper") != list[i + 1].lower) {
        throw SourceError(brackets.Where(list[i].row) + ": does not end where the next bracket begins");
      }
    }
    if (!list.empty() && brackets.OptionalInt(list.back().row, "upper")) {
      throw SourceError(brackets.Where(list.back().row) + ": the last bracket must be open-ended");
    }
  };
  checkUppers("kou");
  checkUppers("otsu");
  if (std::string problem = full.Problem(); !problem.empty()) {
    throw SourceError(table.Path().string() + ": " + problem);
  }
  return full;
}

FullBonusTaxTable BuildFullBonusTaxTable(const TableSources& sources) {
  const TsvFile kou = TsvFile::Read(sources.BonusKou());
  const TsvFile otsu = TsvFile::Read(sources.BonusOtsu());
  FullBonusTaxTable full;
  for (std::size_t row = 0; row < kou.RowCount(); ++row) {
    BonusKouRow r;
    r.rate = kou.Rate(row, "rate");
    for (int d = 0; d < kDependantColumns; ++d) {
      r.lower[d] = kou.OptionalInt(row, "lower_" + std::to_string(d)).value_or(0);
      r.upper[d] = UpperOrOpen(kou, row, "upper_" + std::to_string(d));
    }
    full.kou.push_back(r);
  }
  for (std::size_t row = 0; row < otsu.RowCount(); ++row) {
    full.otsu.push_back({otsu.Rate(row, "rate"), UpperOrOpen(otsu, row, "upper")});
  }
  if (std::string problem = full.Problem(); !problem.empty()) {
    throw SourceError(kou.Path().string() + ": " + problem);
  }
  return full;
}

void WriteRateTables(const TableSources& sources, const fs::path& folder) {
  const CivilDate withholding = EditionDate(sources.withholdingEdition);
  const CivilDate grades = EditionDate(sources.gradesEdition);
  const MonthlyTaxImage monthly = BuildMonthlyTaxImage(sources);
  const BonusTaxImage bonus = BuildBonusTaxImage(sources);
  const EmploymentImage employment = BuildEmploymentImage();
  const HealthGradeImage gradeImage = BuildHealthGradeImage(sources);
  TableExtension monthlyExtension{TableId::MonthlyTax, withholding, BuildFullMonthlyTaxTable(sources), std::nullopt};
  TableExtension bonusExtension{TableId::BonusTax, withholding, std::nullopt, BuildFullBonusTaxTable(sources)};
  TableExtension employmentExtension{TableId::Employment, withholding, std::nullopt, std::nullopt,
                                     BuildEmploymentRates(sources)};

  fs::create_directories(folder);
  WriteTableFile(folder, monthly, monthlyExtension);
  WriteTableFile(folder, bonus, bonusExtension);
  WriteTableFile(folder, employment, employmentExtension);
  WriteTableFile(folder, gradeImage, TableExtension{TableId::HealthGrade, grades, std::nullopt, std::nullopt});
}

}  // namespace paylark::tables
