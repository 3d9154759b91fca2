#include "tables/premium_rate_sources.h"

#include <charconv>
#include <stdexcept>

#include "store/atomic_file.h"
#include "store/prefectures.h"

namespace paylark::tables {
namespace {

// A decimal with at most `decimals` places as an integer scaled by 10^decimals.
std::int32_t ScaledDecimal(const std::string& text, int decimals, const std::string& where) {
  const std::size_t dot = text.find('.');
  const std::string whole = text.substr(0, dot);
  std::string fraction = dot == std::string::npos ? std::string() : text.substr(dot + 1);
  auto digits = [](const std::string& s) {
    return s.find_first_not_of("0123456789") == std::string::npos;
  };
  if (whole.empty() || !digits(whole) || !digits(fraction) || (dot != std::string::npos && fraction.empty()) ||
      whole.size() > 3) {
    throw SourceError(where + ": not a rate: " + text);
  }
  while (fraction.size() > static_cast<std::size_t>(decimals) && fraction.back() == '0') fraction.pop_back();
  if (fraction.size() > static_cast<std::size_t>(decimals)) throw SourceError(where + ": more decimals than kept: " + text);
  fraction.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
  return std::stoi(whole + fraction);
}

// "2026-03" → 2026-03-01.
CivilDate PremiumMonthOf(const std::string& text, const std::string& where) {
  int year = 0;
  int month = 0;
  if (text.size() == 7 && text[4] == '-') {
    const auto y = std::from_chars(text.data(), text.data() + 4, year);
    const auto m = std::from_chars(text.data() + 5, text.data() + 7, month);
    if (y.ec == std::errc() && y.ptr == text.data() + 4 && m.ec == std::errc() && m.ptr == text.data() + 7 &&
        year >= 1900 && month >= 1 && month <= 12) {
      return CivilDate{year, month, 1};
    }
  }
  throw SourceError(where + ": not a premium month yyyy-mm: " + text);
}

CivilDate DayOf(const std::string& text, const std::string& where) {
  int y = 0, m = 0, d = 0;
  if (text.size() == 10 && text[4] == '-' && text[7] == '-' &&
      std::from_chars(text.data(), text.data() + 4, y).ptr == text.data() + 4 &&
      std::from_chars(text.data() + 5, text.data() + 7, m).ptr == text.data() + 7 &&
      std::from_chars(text.data() + 8, text.data() + 10, d).ptr == text.data() + 10 && y >= 1900 && m >= 1 &&
      m <= 12 && d >= 1 && d <= DaysInMonth(y, m)) {
    return CivilDate{y, m, d};
  }
  throw SourceError(where + ": not a date yyyy-mm-dd: " + text);
}

EmploymentKind KindOf(const std::string& text, const std::string& where) {
  if (text == "general") return EmploymentKind::General;
  if (text == "agriculture_sake") return EmploymentKind::AgricultureSake;
  if (text == "construction") return EmploymentKind::Construction;
  throw SourceError(where + ": unknown business kind: " + text);
}

}  // namespace

std::int32_t PercentMillionths(const std::string& text, const std::string& where) {
  return ScaledDecimal(text, 4, where);
}

std::int32_t PerMilleMillionths(const std::string& text, const std::string& where) {
  return ScaledDecimal(text, 3, where);
}

std::vector<PremiumRateRow> BuildPremiumRateRows(const std::filesystem::path& folder) {
  std::vector<PremiumRateRow> rows;
  const TsvFile health = TsvFile::Read(folder / "kyokai-kenpo-rates.tsv");
  for (std::size_t i = 0; i < health.RowCount(); ++i) {
    const auto prefecture = PrefectureCode(health.Text(i, "prefecture"));
    if (!prefecture) throw SourceError(health.Where(i) + ": unknown prefecture: " + health.Text(i, "prefecture"));
    rows.push_back({PremiumRateItem::Health, static_cast<std::uint16_t>(*prefecture),
                    PremiumMonthOf(health.Text(i, "from_premium_month"), health.Where(i)),
                    PercentMillionths(health.Text(i, "health_rate_percent"), health.Where(i))});
  }
  const TsvFile nursing = TsvFile::Read(folder / "kaigo-rates.tsv");
  for (std::size_t i = 0; i < nursing.RowCount(); ++i) {
    rows.push_back({PremiumRateItem::Nursing, 0, PremiumMonthOf(nursing.Text(i, "from_premium_month"), nursing.Where(i)),
                    PercentMillionths(nursing.Text(i, "nursing_rate_percent"), nursing.Where(i))});
  }
  const TsvFile levy = TsvFile::Read(folder / "support-levy-rates.tsv");
  for (std::size_t i = 0; i < levy.RowCount(); ++i) {
    rows.push_back({PremiumRateItem::Levy, 0, PremiumMonthOf(levy.Text(i, "from_premium_month"), levy.Where(i)),
                    PercentMillionths(levy.Text(i, "levy_rate_percent"), levy.Where(i))});
  }
  // The pension file also lists the grades (checked against the grade table by the tests); the
  // row whose grade column reads "rate" carries the rate in its standard column.
  const TsvFile pension = TsvFile::Read(folder / "pension-rates.tsv");
  for (std::size_t i = 0; i < pension.RowCount(); ++i) {
    if (pension.Text(i, "grade") != "rate") continue;
    rows.push_back({PremiumRateItem::Pension, 0, PremiumMonthOf(pension.Text(i, "from_premium_month"), pension.Where(i)),
                    PercentMillionths(pension.Text(i, "standard"), pension.Where(i))});
  }
  const TsvFile employment = TsvFile::Read(folder / "employment-insurance-rates.tsv");
  for (std::size_t i = 0; i < employment.RowCount(); ++i) {
    const CivilDate from = DayOf(employment.Text(i, "from_wage_closing_date"), employment.Where(i));
    const auto kind = static_cast<std::uint16_t>(KindOf(employment.Text(i, "business_kind"), employment.Where(i)));
    const std::int32_t worker = PerMilleMillionths(employment.Text(i, "worker_per_mille"), employment.Where(i));
    const std::int32_t employer = PerMilleMillionths(employment.Text(i, "employer_per_mille"), employment.Where(i));
    const std::int32_t total = PerMilleMillionths(employment.Text(i, "total_per_mille"), employment.Where(i));
    if (worker + employer != total) throw SourceError(employment.Where(i) + ": worker + employer is not the total");
    rows.push_back({PremiumRateItem::EmploymentWorker, kind, from, worker});
    rows.push_back({PremiumRateItem::EmploymentEmployer, kind, from, employer});
  }
  for (const PremiumRateRow& r : rows) {
    if (std::string p = PremiumRateRowProblem(r); !p.empty()) throw SourceError(folder.string() + ": " + p);
  }
  return rows;
}

void WritePremiumRateFile(const std::filesystem::path& sourceFolder, const std::filesystem::path& folder) {
  const std::vector<PremiumRateRow> rows = BuildPremiumRateRows(sourceFolder);
  std::string bytes;
  try {
    bytes = EncodePremiumRateFile(rows);
  } catch (const std::invalid_argument& e) {
    throw SourceError(sourceFolder.string() + ": " + e.what());
  }
  std::filesystem::create_directories(folder);
  ReplaceFileContents(folder / kPremiumRateFileName, bytes);
}

}  // namespace paylark::tables
