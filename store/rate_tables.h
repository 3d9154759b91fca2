// The four official rate tables: monthly withholding tax (税額表(給与).dat), bonus withholding
// rates (税額表(賞与).dat), employment insurance premiums (雇用保険料額表.dat) and the standard
// monthly remuneration grades (健康保険料額表.dat). Each file is the raw fixed-size image of its
// table: no header, little-endian int32 yen and binary64 rates held as fractions; a count field
// says how many rows are in use. Lower bounds are inclusive, upper bounds exclusive.
//
// The images are read once at start-up. The lookups check at each call whether their file still
// exists on disk and fall back as the rules say when it does not (monthly and bonus tax 0, the
// employment premium by the fixed 0.7 % / 0.8 % rule).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/bytes.h"
#include "store/money.h"
#include "store/options.h"

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

struct MonthlyTaxImage : bytes::ByteImage<16764> {};
struct BonusTaxImage : bytes::ByteImage<1568> {};
struct EmploymentImage : bytes::ByteImage<980> {};
struct HealthGradeImage : bytes::ByteImage<972> {};

struct Grade {
  Yen lower = 0;     // inclusive
  Yen upper = 0;     // exclusive
  Yen standard = 0;  // 標準報酬月額
};

// Which table files exist on disk at the moment of a lookup. Taken once per calculation pass.
struct TablePresence {
  std::array<bool, kTableCount> present{};
  bool Has(TableId id) const { return present[static_cast<int>(id)]; }
};

class RateTables {
 public:
  RateTables() = default;

  // Reads every table file of the folder that exists, each whole at its fixed size. A missing
  // file is skipped (its table stays zero); a file of the wrong size is an error for that table,
  // reported in `errors` and not counted. Returns the number of tables loaded.
  int LoadFromFolder(const std::filesystem::path& folder, std::vector<std::string>* errors = nullptr);
  // Installs an image directly (tests, the table generator); `path` is what the presence check
  // looks at (empty = always present).
  void SetMonthly(const MonthlyTaxImage& image, std::filesystem::path path = {});
  void SetBonus(const BonusTaxImage& image, std::filesystem::path path = {});
  void SetEmployment(const EmploymentImage& image, std::filesystem::path path = {});
  void SetHealthGrades(const HealthGradeImage& image, std::filesystem::path path = {});

  int LoadedCount() const;
  bool Loaded(TableId id) const { return loaded_[static_cast<int>(id)]; }
  // Checks the disk now.
  TablePresence Presence() const;

  const MonthlyTaxImage& Monthly() const { return monthly_; }
  const BonusTaxImage& Bonus() const { return bonus_; }
  const EmploymentImage& Employment() const { return employment_; }
  const HealthGradeImage& HealthGrades() const { return health_; }

  // 月額表: column 0 甲, any other 乙 (steps 3..5 of the look-up treat only 1 as 乙).
  Yen MonthlyTax(const TablePresence& presence, Yen amount, int column, int dependants,
                 RoundingMode deductionMode) const;
  // 賞与の算出率: the rate for the previous month's amount after social insurance.
  // nullopt-like: returns false when the bonus table file is missing (no rate applies).
  bool BonusTaxRate(const TablePresence& presence, Yen previousMonthAmount, int dependants,
                    int column, double* rate) const;
  Yen BonusTax(const TablePresence& presence, Yen previousMonthAmount, Yen bonusAmount,
               int dependants, int column, RoundingMode deductionMode) const;
  Yen EmploymentPremiumFromTable(const TablePresence& presence, Yen totalPayment,
                                 bool generalBusiness) const;
  int GradeCount() const;
  Grade HealthGrade(int grade) const;  // 1..80
  int PensionGrade(int grade) const;   // clamped into the pension range

 private:
  std::array<std::filesystem::path, kTableCount> paths_;
  std::array<bool, kTableCount> loaded_{};
  MonthlyTaxImage monthly_;
  BonusTaxImage bonus_;
  EmploymentImage employment_;
  HealthGradeImage health_;
};

// The text of "表データファイル(&F)...": each existing table file's name and its date.
std::string RateTableFileDates(const std::filesystem::path& folder);

}  // namespace paylark
