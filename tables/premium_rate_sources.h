// Builds the premium rate file (store/premium_rates.h) from the dated TSV sources in this folder:
// kyokai-kenpo-rates.tsv (health by prefecture), kaigo-rates.tsv, support-levy-rates.tsv,
// pension-rates.tsv (its `rate` row) and employment-insurance-rates.tsv. Rates are read as the
// sources print them (percent, or per mille for employment) and kept exact in millionths.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "store/premium_rates.h"
#include "tables/tsv.h"

namespace paylark::tables {

// "9.85" percent → 98,500 millionths; at most four decimals. Throws SourceError (with `where`).
std::int32_t PercentMillionths(const std::string& text, const std::string& where);
// "5.5" per mille → 5,500 millionths; at most three decimals.
std::int32_t PerMilleMillionths(const std::string& text, const std::string& where);

// Every row of the five sources; throws SourceError for a missing or malformed source.
std::vector<PremiumRateRow> BuildPremiumRateRows(const std::filesystem::path& folder);

// Writes kPremiumRateFileName into `folder` (created if needed), replaced whole.
void WritePremiumRateFile(const std::filesystem::path& sourceFolder, const std::filesystem::path& folder);

}  // namespace paylark::tables
