// The four official rate tables: monthly withholding tax (税額表(給与).dat), bonus withholding
// rates (税額表(賞与).dat), employment insurance premiums (雇用保険料額表.dat) and the standard
// monthly remuneration grades (健康保険料額表.dat). Each file starts with the raw fixed-size image
// of its table: no header, little-endian int32 yen and binary64 rates held as fractions; a count
// field says how many rows are in use. Lower bounds are inclusive, upper bounds exclusive.
//
// A file may go on after the image with an extension (store/rate_table_extension.h): the
// edition's effective date and, for the two tax tables, the complete table; for the employment
// table, the worker's rates by wage closing date (store/employment_rates.h). When a tax table has
// its complete table, MonthlyTax and BonusTaxRate answer from it (the official table for every
// amount); a file that is exactly the image is used as the image says, with every quirk of the
// fixed layouts.
//
// The images are read once at start-up. The lookups check at each call whether their file still
// exists on disk and fall back as the rules say when it does not (monthly and bonus tax 0, the
// employment premium by the fixed 0.7 % / 0.8 % rule).
//
// The images carry no checksum, so a file's image is checked when it is loaded and refused (an
// error naming what is wrong) unless its counts are in range, its bounds increase and its rates lie
// between 0 and 1; an image that a complete table of the extension replaces is not checked.
//
// A table installed directly whose count lies outside the valid range (monthly 2..380 rows, bonus
// 甲 1..20 and 乙 1..10 rows, employment 0..60 rows, grades 1..80) is treated as empty: the
// monthly tax is 0, the bonus side gives no rate (so no bonus tax), the employment premium takes
// the fixed rule and GradeCount is 0. No look-up reads outside the image, whatever the file holds.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/employment_rates.h"
#include "store/era.h"
#include "store/full_tax_tables.h"
#include "store/money.h"
#include "store/options.h"
#include "store/rate_table_images.h"
#include "store/tax_lookup_step.h"

namespace paylark {

enum class TableId : int { MonthlyTax = 0, BonusTax = 1, Employment = 2, HealthGrade = 3 };
constexpr int kTableCount = 4;

// "税額表(給与).dat", "税額表(賞与).dat", "雇用保険料額表.dat", "健康保険料額表.dat"
const char* TableFileName(TableId id);
std::size_t TableFileSize(TableId id);  // 16764, 1568, 980, 972: the image; an extension may follow

struct TableExtension;

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

  // Reads every table file of the folder that exists, each whole: its image and, when the file
  // is longer, the extension after it. A missing file is skipped (its table stays zero); a file
  // shorter than its image, one longer without a sound extension (mark, version, table, date,
  // length, checksum, contents), an implausible image or one that cannot be read is an error for
  // that table, reported
  // in `errors` (naming the file and what is wrong), left zero and not counted. Never throws for
  // the content of a file. Starts from empty tables. Returns the number of tables loaded.
  int LoadFromFolder(const std::filesystem::path& folder, std::vector<std::string>* errors = nullptr);
  // Installs an image directly (tests, the table generator); `path` is what the presence check
  // looks at (empty = present while installed). The table's extension is dropped.
  void SetMonthly(const MonthlyTaxImage& image, std::filesystem::path path = {});
  void SetBonus(const BonusTaxImage& image, std::filesystem::path path = {});
  void SetEmployment(const EmploymentImage& image, std::filesystem::path path = {});
  void SetHealthGrades(const HealthGradeImage& image, std::filesystem::path path = {});
  // Installs an extension for its table (after the image): the date and any complete table.
  void SetExtension(const TableExtension& extension);
  // Takes one table (image, extension, path and whether it is loaded) from another set.
  void CopyTableFrom(const RateTables& other, TableId id);

  int LoadedCount() const;
  bool Loaded(TableId id) const { return loaded_[static_cast<int>(id)]; }
  // Checks the disk now: a table is present when its file exists (a table installed without a
  // path is present; one neither loaded nor installed, with no path, is not).
  TablePresence Presence() const;

  const MonthlyTaxImage& Monthly() const { return monthly_; }
  const BonusTaxImage& Bonus() const { return bonus_; }
  const EmploymentImage& Employment() const { return employment_; }
  const HealthGradeImage& HealthGrades() const { return health_; }
  // The complete tables of the extensions; null for a file without one.
  const FullMonthlyTaxTable* MonthlyFull() const { return monthlyFull_ ? &*monthlyFull_ : nullptr; }
  const FullBonusTaxTable* BonusFull() const { return bonusFull_ ? &*bonusFull_ : nullptr; }
  // The worker's employment insurance rates of the employment table's extension; null for a
  // file without them.
  const EmploymentRateTable* EmploymentRates() const { return employmentRates_ ? &*employmentRates_ : nullptr; }
  // The effective date of a table's extension; nullopt for a file without one.
  const std::optional<CivilDate>& EffectiveDate(TableId id) const { return effective_[static_cast<int>(id)]; }
  // The edition of the withholding tables: the monthly table's date, else the bonus table's.
  std::optional<CivilDate> EditionDate() const;

  // 月額表. With the complete table of the extension: FullMonthlyTaxTable::Tax (column 0 甲, any
  // other 乙, every bracket). From the image alone: column 0 甲, any other 乙 — but below row 1
  // and in the two open-ended brackets only column 1 counts as 乙 (a column 2 there is taxed as
  // 甲). The tax of 0..7 dependants comes from the table; beyond seven, 甲 subtracts the reduction
  // per dependant over seven; 乙 subtracts the 乙 reduction per dependant. Never negative;
  // negative dependants count as 0.
  // `step`, when given, receives the row or bracket used (store/tax_lookup_step.h).
  Yen MonthlyTax(const TablePresence& presence, Yen amount, int column, int dependants,
                 RoundingMode deductionMode, MonthlyTaxStep* step = nullptr) const;
  // 賞与の算出率: the rate for the previous month's amount after social insurance (前月の社保控除後計),
  // from the complete table of the extension when there is one (FullBonusTaxTable::Rate), else
  // from the image. Returns false, leaving *rate alone, when the bonus table file is missing or
  // (image only) the side's count is not valid (no rate applies, the bonus tax is 0). `rate` may
  // be null.
  bool BonusTaxRate(const TablePresence& presence, Yen previousMonthAmount, int dependants,
                    int column, double* rate, BonusRateStep* step = nullptr) const;
  Yen BonusTax(const TablePresence& presence, Yen previousMonthAmount, Yen bonusAmount,
               int dependants, int column, RoundingMode deductionMode, BonusRateStep* step = nullptr) const;
  // Whether MonthlyTax and BonusTaxRate answer from a table rather than falling back to "no tax":
  // the file was loaded, still exists and (image only) its counts are valid. A tax computed while
  // this is false is not a tax at all; the callers report it instead of passing the 0 on.
  bool MonthlyTaxUsable(const TablePresence& presence) const;
  bool BonusTaxUsable(const TablePresence& presence, int column) const;
  // The file a table was loaded from or looked for (empty for an image installed without one).
  const std::filesystem::path& TablePath(TableId id) const { return paths_[static_cast<int>(id)]; }
  // The first row with lower ≤ totalPayment < upper gives the premium; with no table file, no
  // matching row or a premium of 0 in that row: totalPayment × 0.7 % (一般事業所) or 0.8 %,
  // truncated towards zero with a tolerance of 0.000001.
  Yen EmploymentPremiumFromTable(const TablePresence& presence, Yen totalPayment,
                                 bool generalBusiness, EmploymentTableStep* step = nullptr) const;
  // The worker's rate (millionths) in force on a wage closing date for the business kind, from
  // the dated rates of the employment table's extension; nullopt when the file is missing, has no
  // rates or none applies on that date (the image and its fixed rule then answer).
  // `from`, when given, receives the date from which the rate applies.
  std::optional<std::int32_t> EmploymentRateOn(const TablePresence& presence, const CivilDate& closingDate,
                                               bool generalBusiness, CivilDate* from = nullptr) const;
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
  std::optional<FullMonthlyTaxTable> monthlyFull_;
  std::optional<FullBonusTaxTable> bonusFull_;
  std::optional<EmploymentRateTable> employmentRates_;
  std::array<std::optional<CivilDate>, kTableCount> effective_{};
};

// The text of "表データファイル(&F)...": for each existing table file in table order its name, two
// full-width spaces after the two tax tables' names, then "  yyyy/mm/dd" (the effective date of
// its extension; for a file without a sound extension its modification date, local time).
// Entries are separated by "\r"; there is none after the last one.
std::string RateTableFileDates(const std::filesystem::path& folder);

// The effective date in the extension of a table file; nullopt when the file is missing, has no
// extension or one that is not sound.
std::optional<CivilDate> TableFileEffectiveDate(const std::filesystem::path& path, TableId id);

}  // namespace paylark
