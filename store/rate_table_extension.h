// The extension that follows the fixed-size image in a rate table file: the edition's effective
// date and, for the two tax tables, the complete table. A reader of the fixed layouts reads the
// image at the start and never looks further; this program reads the extension when the file is
// longer than its image. The byte layout (little-endian, versioned) is documented in
// tables/README.md:
//
//   offset  size  field
//   0       4     magic "TBLX"
//   4       2     uint16 format version (1)
//   6       2     uint16 table (0 月額表, 1 賞与, 2 雇用保険, 3 健康保険)
//   8       4     int32 effective date as yyyymmdd (20260101)
//   12      4     uint32 payload length P in bytes
//   16      4     uint32 CRC-32 (IEEE, as zlib) of bytes 0..15 followed by the payload
//   20      P     payload: the complete table (月額表, 賞与), the dated worker's rates (雇用保険)
//                 or nothing (date only)
//
// The file is exactly image + 20 + P bytes long.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/employment_rates.h"
#include "store/era.h"
#include "store/full_tax_tables.h"
#include "store/rate_tables.h"

namespace paylark {

constexpr char kTableExtensionMagic[4] = {'T', 'B', 'L', 'X'};
constexpr std::uint16_t kTableExtensionVersion = 1;
constexpr std::size_t kTableExtensionHeaderSize = 20;

struct TableExtension {
  TableId table = TableId::MonthlyTax;
  CivilDate effective;                        // the first day the edition is in force
  std::optional<FullMonthlyTaxTable> monthly;  // 月額表 only; absent: the image is used
  std::optional<FullBonusTaxTable> bonus;      // 賞与 only; absent: the image is used
  // 雇用保険 only: the worker's rates by wage closing date; absent: the image and its fixed rule.
  std::optional<EmploymentRateTable> employmentRates{};
};

// The bytes to write after the image. Throws std::invalid_argument for a date that is not a day
// of the calendar, a full table of the wrong kind for the file, or one that is not sound.
std::string EncodeTableExtension(const TableExtension& extension);

// Reads the bytes that follow the image of table `expected`. On any fault (magic, version, table,
// date, length, checksum, a table that is not sound) returns nullopt and says why in *problem.
std::optional<TableExtension> DecodeTableExtension(std::string_view bytes, TableId expected,
                                                   std::string* problem);

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

// yyyymmdd and back; nullopt for a number that is not a day of the calendar.
std::int32_t DateNumber(const CivilDate& date);
std::optional<CivilDate> DateFromNumber(std::int32_t yyyymmdd);

}  // namespace paylark
