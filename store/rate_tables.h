// The four official rate tables: monthly withholding tax (税額表(給与).dat), bonus withholding
// rates (税額表(賞与).dat), employment insurance premiums (雇用保険料額表.dat) and the standard
// monthly remuneration grades (健康保険料額表.dat). Each file is the raw fixed-size image of its
// table: no header, little-endian int32 yen and binary64 rates held as fractions; a count field
// says how many rows are in use. Lower bounds are inclusive, upper bounds exclusive.
//
// The images are read once at start-up. The lookups check at each call whether their file still
// exists on disk and fall back as the rules say when it does not (monthly and bonus tax 0, the
// employment premium by the fixed 0.7 % / 0.8 % rule).
//
// A table whose count lies outside the valid range (monthly 2..380 rows, bonus 甲 1..20 and 乙
// 1..10 rows, employment 0..60 rows, grades 1..80) is treated as empty: the monthly tax is 0, the
// bonus side gives no rate (so no bonus tax), the employment premium takes the fixed rule and
// GradeCount is 0. No look-up reads outside the image, whatever the file holds.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/money.h"
#include "store/options.h"
#include "store/rate_table_images.h"

namespace paylark {

enum class TableId : int { MonthlyTax = 0, BonusTax = 1, Employment = 2, HealthGrade = 3 };
constexpr int kTableCount = 4;

// "税額表(給与).dat", "税額表(賞与).dat", "雇用保険料額表.dat", "健康保険料額表.dat"
const char* TableFileName(TableId id);
std::size_t TableFileSize(TableId id);  // 16764, 1568, 980, 972

class TableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Which table files exist on disk at the moment of a lookup. Taken once per calculation pass
// (RateTables::Presence); a look-up whose table is absent falls back as described above.
struct TablePresence {
  std::array<bool, kTableCount> present{};
  bool Has(TableId id) const { return present[static_cast<int>(id)]; }
};

class RateTables {
 public:
  RateTables() = default;

  // Reads every table file of the folder that exists, each whole at its fixed size. A missing
  // file is skipped (its table stays zero); a file of the wrong size or one that cannot be read
  // is an error for that table, reported in `errors` (naming the file and the size found), left
  // zero and not counted. Never throws for the content of a file. Starts from empty tables.
  // Returns the number of tables loaded.
  int LoadFromFolder(const std::filesystem::path& folder, std::vector<std::string>* errors = nullptr);
  // Installs an image directly (tests, the table generator); `path` is what the presence check
  // looks at (empty = present while installed).
  void SetMonthly(const MonthlyTaxImage& image, std::filesystem::path path = {});
  void SetBonus(const BonusTaxImage& image, std::filesystem::path path = {});
  void SetEmployment(const EmploymentImage& image, std::filesystem::path path = {});
  void SetHealthGrades(const HealthGradeImage& image, std::filesystem::path path = {});

  int LoadedCount() const;
  bool Loaded(TableId id) const { return loaded_[static_cast<int>(id)]; }
  // Checks the disk now: a table is present when its file exists (a table installed without a
  // path is present; one neither loaded nor installed, with no path, is not).
  TablePresence Presence() const;

  const MonthlyTaxImage& Monthly() const { return monthly_; }
  const BonusTaxImage& Bonus() const { return bonus_; }
  const EmploymentImage& Employment() const { return employment_; }
  const HealthGradeImage& HealthGrades() const { return health_; }

  // 月額表: column 0 甲, any other 乙 — but below row 1 and in the two open-ended brackets only
  // column 1 counts as 乙 (a column 2 there is taxed as 甲). The tax of 0..7 dependants comes from
  // the table; beyond seven, 甲 subtracts the reduction per dependant over seven; 乙 subtracts the
  // 乙 reduction per dependant. Never negative; negative dependants count as 0.
  Yen MonthlyTax(const TablePresence& presence, Yen amount, int column, int dependants,
                 RoundingMode deductionMode) const;
  // 賞与の算出率: the rate for the previous month's amount after social insurance (前月の社保控除後計).
  // Returns false, leaving *rate alone, when the bonus table file is missing or the side's count
  // is not valid (no rate applies, the bonus tax is 0). `rate` may be null.
  bool BonusTaxRate(const TablePresence& presence, Yen previousMonthAmount, int dependants,
                    int column, double* rate) const;
  Yen BonusTax(const TablePresence& presence, Yen previousMonthAmount, Yen bonusAmount,
               int dependants, int column, RoundingMode deductionMode) const;
  // The first row with lower ≤ totalPayment < upper gives the premium; with no table file, no
  // matching row or a premium of 0 in that row: totalPayment × 0.7 % (一般事業所) or 0.8 %,
  // truncated towards zero with a tolerance of 0.000001.
  Yen EmploymentPremiumFromTable(const TablePresence& presence, Yen totalPayment,
                                 bool generalBusiness) const;
  int GradeCount() const;              // 0 when the count field is not 1..80
  Grade HealthGrade(int grade) const;  // row `grade` of the image for 1..80, zeros otherwise
  int PensionGrade(int grade) const;   // raised to the lowest, then lowered to the highest pension grade

 private:
  std::array<std::filesystem::path, kTableCount> paths_;
  std::array<bool, kTableCount> loaded_{};
  MonthlyTaxImage monthly_;
  BonusTaxImage bonus_;
  EmploymentImage employment_;
  HealthGradeImage health_;
};

// The text of "表データファイル(&F)...": for each existing table file in table order its name, two
// full-width spaces after the two tax tables' names, then "  yyyy/mm/dd" (its modification date,
// local time). Entries are separated by "\r"; there is none after the last one.
std::string RateTableFileDates(const std::filesystem::path& folder);

}  // namespace paylark
