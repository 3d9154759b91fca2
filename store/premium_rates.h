// Premium rates by date, read from the premium rate file beside the program.
//
// Each row is one published rate and the first day it is in force: the 協会けんぽ health rate of a
// prefecture, the nursing-care rate, the 子ども・子育て支援金 rate and the welfare pension rate from a
// premium month (保険料の対象月; the row's date is the month's first day), the employment insurance
// rates of a business kind from a wage closing date (賃金締切日). Health, nursing, levy and pension
// are the published totals that employer and employee share half and half; employment insurance
// has the worker's and the employer's share as rows of their own.
//
// Rates are whole millionths of the base (9.85 % = 98,500; 5.5 ‰ = 5,500), so that the halves
// of the published two-decimal percentages are exact. The file layout (little-endian, versioned,
// CRC-checked) is documented in tables/README.md:
//
//   offset  size    field
//   0       4       mark "PRMR"
//   4       2       uint16 format version (1)
//   6       2       uint16 0
//   8       4       uint32 row count N
//   12      4       uint32 CRC-32 (IEEE, as zlib) of bytes 0..11 followed by the rows
//   16      16 × N  rows: uint16 item, uint16 key, int32 from yyyymmdd, int32 rate, int32 0
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/era.h"

namespace paylark {

enum class PremiumRateItem : std::uint16_t {
  Health = 1,              // 健康保険料率 (協会けんぽ, key = JIS prefecture code)
  Nursing = 2,             // 介護保険料率
  Levy = 3,                // 子ども・子育て支援金率
  Pension = 4,             // 厚生年金保険料率
  EmploymentWorker = 5,    // 雇用保険料率 労働者負担 (key = EmploymentKind)
  EmploymentEmployer = 6,  // 雇用保険料率 事業主負担 (key = EmploymentKind)
};

// 雇用保険の事業の種類
enum class EmploymentKind : std::uint16_t {
  General = 0,          // 一般の事業
  AgricultureSake = 1,  // 農林水産・清酒製造の事業
  Construction = 2,     // 建設の事業
};

struct PremiumRateRow {
  PremiumRateItem item = PremiumRateItem::Health;
  std::uint16_t key = 0;
  CivilDate from;                // premium month (day 1) or, for employment, wage closing date
  std::int32_t millionths = 0;   // the rate
  bool operator==(const PremiumRateRow&) const = default;
};

// The rates of one premium month, prefecture, business kind and wage closing date, in millionths.
// A rate that the data does not cover (a prefecture not chosen, a date before every row) is
// nullopt; the levy is 0 before its first row (it did not exist).
struct PremiumRatesInForce {
  std::optional<std::int32_t> health;            // total; the employee pays half
  std::optional<std::int32_t> nursing;           // total; the employee pays half
  std::int32_t levy = 0;                         // total; the employee pays half
  std::optional<std::int32_t> pension;           // total; the employee pays half
  std::optional<std::int32_t> employmentWorker;  // the worker's share
};

class PremiumRates {
 public:
  // Adds the rows of a later file: a row with the item, key and date of an existing one replaces it.
  void Merge(const std::vector<PremiumRateRow>& rows);
  const std::vector<PremiumRateRow>& Rows() const { return rows_; }
  bool Empty() const { return rows_.empty(); }

  // The newest row of item and key whose date is not after `on`.
  std::optional<std::int32_t> Find(PremiumRateItem item, std::uint16_t key, const CivilDate& on) const;
  // That row itself (its date is the first day the rate applies); null when there is none.
  const PremiumRateRow* FindRow(PremiumRateItem item, std::uint16_t key, const CivilDate& on) const;
  // prefecture 0 = none (no health rate).
  PremiumRatesInForce InForce(const CivilDate& premiumMonth, int prefecture, const CivilDate& wageClosing,
                              EmploymentKind kind) const;
  // The dates on which a rate changes, ascending, for the item (any key).
  std::vector<CivilDate> ChangeDates(PremiumRateItem item) const;

 private:
  std::vector<PremiumRateRow> rows_;  // sorted by item, key, date
};

// The problem of a row (item, key, date or rate out of range), empty when it is sound.
std::string PremiumRateRowProblem(const PremiumRateRow& row);

// File bytes of the rows; throws std::invalid_argument for a row that is not sound or a row whose
// item, key and date repeat.
std::string EncodePremiumRateFile(const std::vector<PremiumRateRow>& rows);
// Reads a file image; on any fault (mark, version, length, checksum, a row that is not sound,
// a repeated row) returns nullopt and says why in *problem.
std::optional<std::vector<PremiumRateRow>> DecodePremiumRateFile(std::string_view bytes, std::string* problem);

// The file beside the program, and the folder of files added later.
inline constexpr const char* kPremiumRateFileName = "保険料率表.dat";
inline constexpr const char* kPremiumRateFolderName = "Rates";

struct LoadedPremiumRates {
  PremiumRates rates;
  std::vector<std::filesystem::path> files;  // the files read, in order
  std::vector<std::string> problems;         // "file: reason" for each file that was not read
};

// Reads the program folder's premium rate file, then every *.dat of its Rates folder in name
// order; a later file's rows add to or replace the earlier ones.
LoadedPremiumRates LoadPremiumRates(const std::filesystem::path& programDir);

// Rate texts without trailing zeros: millionths 98,500 as percent "9.85", 49,250 as "4.925";
// 5,500 as per mille "5.5".
std::string PercentText(std::int32_t millionths);
std::string PerMilleText(std::int32_t millionths);
// The percent figure of a rate (98,500 → 9.85), and of the employee's half of a total (→ 4.925).
double PercentOf(std::int32_t millionths);
double HalfPercentOf(std::int32_t millionths);

}  // namespace paylark
