// Builds the four rate table files from the TSV sources in this folder (see README.md).
//
// 月額表: the TSV's first row (0 up to the first bracket, where 甲 is 0 and 乙 a rate of the whole
// amount) becomes the "乙 rate below row 1"; the table rows follow; the first two 甲 brackets of the
// brackets file become the two open-ended rows N − 1 and N. The table file measures the 乙 excess
// above row N from row N − 1's lower bound and adds row N's 乙 tax, so row N carries the same 乙 tax
// as row N − 1 and 乙 follows the first 乙 bracket exactly. Beyond the second 甲 bracket and the
// first 乙 bracket above the table the image cannot follow the official brackets (the extension
// after it can, below).
//
// 賞与: the image holds 20 甲 rows and the last one is the default for every amount that no other
// row matches. The 21 official rates do not fit: the rows from the 20th to the second-to-last are
// dropped from the image, so their ranges fall to the top rate (over-withholding rather than
// under-withholding).
//
// 雇用保険: no rows in the image (a reader of the fixed layout computes the premium by the fixed
// rule of the program); the extension carries the worker's rates by wage closing date from
// employment-insurance-rates.tsv.
// 健康保険: every grade, with the welfare pension range of the sources.
//
// After each image the files carry the extension (store/rate_table_extension.h): the effective
// date (the withholding edition for the two tax tables and the employment table, the grades
// edition for the grade table) and, for the two tax tables, the complete table from the sources,
// which the program uses in place of the image.
#pragma once

#include <filesystem>
#include <string>

#include "store/era.h"
#include "store/full_tax_tables.h"
#include "store/rate_tables.h"
#include "tables/tsv.h"

namespace paylark::tables {

struct TableSources {
  std::filesystem::path folder;
  // The edition of the withholding tables (file names withholding-*-<edition>*.tsv). Its date is
  // also the modification date given to the written files, which the program shows as the edition.
  std::string withholdingEdition = "2026-01-01";
  std::string gradesEdition = "2016-04-01";  // health-grades-<edition>.tsv
  // The health grades that welfare pension uses (from 2020-09-01: 4 (88,000) to 35 (650,000)).
  int pensionLowestGrade = 4;
  int pensionHighestGrade = 35;

  std::filesystem::path MonthlyTable() const;       // withholding-monthly-<edition>.tsv
  std::filesystem::path MonthlyBrackets() const;    // withholding-monthly-<edition>-brackets.tsv
  std::filesystem::path MonthlyReductions() const;  // withholding-monthly-<edition>-reductions.tsv
  std::filesystem::path BonusKou() const;           // withholding-bonus-<edition>.tsv
  std::filesystem::path BonusOtsu() const;          // withholding-bonus-otsu-<edition>.tsv
  std::filesystem::path HealthGrades() const;       // health-grades-<gradesEdition>.tsv
  std::filesystem::path EmploymentRates() const;    // employment-insurance-rates.tsv
};

// The 甲 rows of the bonus source that are searched by the look-up: the first 19; the last source
// row becomes the default row 20. Source rows with a 0-based index from this up to the
// second-to-last are dropped.
constexpr int kBonusKouRowsSearched = BonusTaxImage::kMaxKouRows - 1;

// Each throws SourceError for a missing or malformed source or one that does not fit the layout.
MonthlyTaxImage BuildMonthlyTaxImage(const TableSources& sources);
BonusTaxImage BuildBonusTaxImage(const TableSources& sources);
EmploymentImage BuildEmploymentImage();
HealthGradeImage BuildHealthGradeImage(const TableSources& sources);

// The complete tables for the extensions: every row and every bracket of the sources.
FullMonthlyTaxTable BuildFullMonthlyTaxTable(const TableSources& sources);
FullBonusTaxTable BuildFullBonusTaxTable(const TableSources& sources);
// The worker's employment insurance rates: per date one row of each business kind (general,
// agriculture_sake, construction), the per-mille figures taken exactly (at most three decimals).
EmploymentRateTable BuildEmploymentRates(const TableSources& sources);

// "yyyy-mm-dd" of an edition; throws SourceError for anything else.
CivilDate EditionDate(const std::string& edition);

// Builds all four and writes them into `folder` (created if needed), each file replaced whole:
// the image followed by its extension, with the file's effective date (noon, local time) as
// modification date.
void WriteRateTables(const TableSources& sources, const std::filesystem::path& folder);

}  // namespace paylark::tables
