#include "store/premium_rates.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <tuple>

#include "store/atomic_file.h"
#include "store/bytes.h"
#include "store/prefectures.h"
#include "store/rate_table_extension.h"

namespace paylark {
namespace {

constexpr char kMark[4] = {'P', 'R', 'M', 'R'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kRowSize = 16;
constexpr std::uint32_t kMaxRows = 100'000;

auto SortKey(const PremiumRateRow& r) { return std::tuple(r.item, r.key, r.from); }
bool SameKey(const PremiumRateRow& a, const PremiumRateRow& b) {
  return a.item == b.item && a.key == b.key && a.from == b.from;
}

bool ByPremiumMonth(PremiumRateItem item) {
  return item != PremiumRateItem::EmploymentWorker && item != PremiumRateItem::EmploymentEmployer;
}

std::string DecimalText(std::int32_t value, int decimals) {
  const bool negative = value < 0;
  std::int64_t v = negative ? -static_cast<std::int64_t>(value) : value;
  std::int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  std::string text = std::to_string(v / scale);
  std::string fraction = std::to_string(v % scale + scale).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return negative ? "-" + text : text;
}

}  // namespace

std::string PremiumRateRowProblem(const PremiumRateRow& row) {
  const auto item = static_cast<std::uint16_t>(row.item);
  if (item < 1 || item > 6) return "unknown item " + std::to_string(item);
  if (row.item == PremiumRateItem::Health) {
    if (row.key < 1 || row.key > kPrefectureCount) return "health rate for prefecture " + std::to_string(row.key);
  } else if (!ByPremiumMonth(row.item)) {
    if (row.key > static_cast<std::uint16_t>(EmploymentKind::Construction)) {
      return "employment rate for business kind " + std::to_string(row.key);
    }
  } else if (row.key != 0) {
    return "a key on a rate that has none";
  }
  if (DateFromNumber(DateNumber(row.from)) != row.from) return "the date is not a day of the calendar";
  if (ByPremiumMonth(row.item) && row.from.day != 1) return "a premium month's rate that starts on another day than the 1st";
  if (row.millionths < 0 || row.millionths >= 1'000'000) return "a rate outside 0 to 100 %";
  return {};
}

void PremiumRates::Merge(const std::vector<PremiumRateRow>& rows) {
  for (const PremiumRateRow& r : rows) {
    auto same = std::find_if(rows_.begin(), rows_.end(), [&](const PremiumRateRow& o) { return SameKey(o, r); });
    if (same != rows_.end()) {
      *same = r;
    } else {
      rows_.push_back(r);
    }
  }
  std::sort(rows_.begin(), rows_.end(), [](const auto& a, const auto& b) { return SortKey(a) < SortKey(b); });
}

const PremiumRateRow* PremiumRates::FindRow(PremiumRateItem item, std::uint16_t key, const CivilDate& on) const {
  const PremiumRateRow* found = nullptr;
  for (const PremiumRateRow& r : rows_) {
    if (r.item == item && r.key == key && r.from <= on) found = &r;
  }
  return found;
}

std::optional<std::int32_t> PremiumRates::Find(PremiumRateItem item, std::uint16_t key, const CivilDate& on) const {
  const PremiumRateRow* row = FindRow(item, key, on);
  if (row == nullptr) return std::nullopt;
  return row->millionths;
}

PremiumRatesInForce PremiumRates::InForce(const CivilDate& premiumMonth, int prefecture, const CivilDate& wageClosing,
                                          EmploymentKind kind) const {
  const CivilDate month{premiumMonth.year, premiumMonth.month, 1};
  PremiumRatesInForce r;
  if (prefecture >= 1 && prefecture <= kPrefectureCount) {
    r.health = Find(PremiumRateItem::Health, static_cast<std::uint16_t>(prefecture), month);
  }
  r.nursing = Find(PremiumRateItem::Nursing, 0, month);
  r.levy = Find(PremiumRateItem::Levy, 0, month).value_or(0);
  r.pension = Find(PremiumRateItem::Pension, 0, month);
  r.employmentWorker = Find(PremiumRateItem::EmploymentWorker, static_cast<std::uint16_t>(kind), wageClosing);
  return r;
}

std::vector<CivilDate> PremiumRates::ChangeDates(PremiumRateItem item) const {
  std::vector<CivilDate> dates;
  for (const PremiumRateRow& r : rows_) {
    if (r.item == item) dates.push_back(r.from);
  }
  std::sort(dates.begin(), dates.end());
  dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
  return dates;
}

std::string EncodePremiumRateFile(const std::vector<PremiumRateRow>& rows) {
  std::vector<PremiumRateRow> sorted = rows;
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return SortKey(a) < SortKey(b); });
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (std::string p = PremiumRateRowProblem(sorted[i]); !p.empty()) throw std::invalid_argument(p);
    if (i > 0 && SameKey(sorted[i - 1], sorted[i])) throw std::invalid_argument("a rate given twice for the same date");
  }
  if (sorted.size() > kMaxRows) throw std::invalid_argument("too many rates");
  std::string out(kHeaderSize + kRowSize * sorted.size(), '\0');
  auto* base = reinterpret_cast<std::uint8_t*>(out.data());
  std::memcpy(base, kMark, sizeof kMark);
  bytes::PutU16(base, 4, kVersion);
  bytes::PutI32(base, 8, static_cast<std::int32_t>(sorted.size()));
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const std::size_t o = kHeaderSize + kRowSize * i;
    bytes::PutU16(base, o, static_cast<std::uint16_t>(sorted[i].item));
    bytes::PutU16(base, o + 2, sorted[i].key);
    bytes::PutI32(base, o + 4, DateNumber(sorted[i].from));
    bytes::PutI32(base, o + 8, sorted[i].millionths);
  }
  const std::string_view view(out);
  const std::uint32_t crc = Crc32(view.substr(kHeaderSize), Crc32(view.substr(0, 12)));
  bytes::PutI32(base, 12, static_cast<std::int32_t>(crc));
  return out;
}

std::optional<std::vector<PremiumRateRow>> DecodePremiumRateFile(std::string_view data, std::string* problem) {
  std::string ignored;
  std::string& why = problem != nullptr ? *problem : ignored;
  if (data.size() < kHeaderSize) {
    why = "shorter than its header";
    return std::nullopt;
  }
  const auto* base = reinterpret_cast<const std::uint8_t*>(data.data());
  if (std::memcmp(base, kMark, sizeof kMark) != 0) {
    why = "not a premium rate file";
    return std::nullopt;
  }
  if (const std::uint16_t v = bytes::GetU16(base, 4); v != kVersion) {
    why = "format version " + std::to_string(v) + " is not known";
    return std::nullopt;
  }
  const auto count = static_cast<std::uint32_t>(bytes::GetI32(base, 8));
  if (count > kMaxRows || data.size() != kHeaderSize + kRowSize * count) {
    why = "its length does not match its row count";
    return std::nullopt;
  }
  const auto crc = static_cast<std::uint32_t>(bytes::GetI32(base, 12));
  if (Crc32(data.substr(kHeaderSize), Crc32(data.substr(0, 12))) != crc) {
    why = "checksum mismatch";
    return std::nullopt;
  }
  std::vector<PremiumRateRow> rows;
  rows.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t o = kHeaderSize + kRowSize * i;
    PremiumRateRow r;
    r.item = static_cast<PremiumRateItem>(bytes::GetU16(base, o));
    r.key = bytes::GetU16(base, o + 2);
    const std::int32_t date = bytes::GetI32(base, o + 4);
    r.from = CivilDate{date / 10'000, date / 100 % 100, date % 100};
    r.millionths = bytes::GetI32(base, o + 8);
    std::string p = PremiumRateRowProblem(r);
    if (p.empty() && bytes::GetI32(base, o + 12) != 0) p = "reserved bytes are not zero";
    if (p.empty()) {
      for (const PremiumRateRow& earlier : rows) {
        if (SameKey(earlier, r)) p = "a rate given twice for the same date";
      }
    }
    if (!p.empty()) {
      why = "row " + std::to_string(i + 1) + ": " + p;
      return std::nullopt;
    }
    rows.push_back(r);
  }
  return rows;
}

LoadedPremiumRates LoadPremiumRates(const std::filesystem::path& programDir) {
  LoadedPremiumRates loaded;
  std::vector<std::filesystem::path> files{programDir / kPremiumRateFileName};
  std::error_code ec;
  const std::filesystem::path folder = programDir / kPremiumRateFolderName;
  if (std::filesystem::is_directory(folder, ec)) {
    std::vector<std::filesystem::path> added;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      if (entry.is_regular_file(ec) && entry.path().extension() == ".dat") added.push_back(entry.path());
    }
    std::sort(added.begin(), added.end());
    files.insert(files.end(), added.begin(), added.end());
  }
  for (const std::filesystem::path& file : files) {
    std::string data;
    try {
      data = ReadWholeFile(file);
    } catch (const std::system_error& e) {
      loaded.problems.push_back(file.filename().string() + ": " +
                                (e.code() == std::errc::no_such_file_or_directory ? "missing" : "cannot be read"));
      continue;
    }
    std::string why;
    const auto rows = DecodePremiumRateFile(data, &why);
    if (!rows) {
      loaded.problems.push_back(file.filename().string() + ": " + why);
      continue;
    }
    loaded.rates.Merge(*rows);
    loaded.files.push_back(file);
  }
  return loaded;
}

std::string PercentText(std::int32_t millionths) { return DecimalText(millionths, 4); }
std::string PerMilleText(std::int32_t millionths) { return DecimalText(millionths, 3); }
double PercentOf(std::int32_t millionths) { return millionths / 10'000.0; }
double HalfPercentOf(std::int32_t millionths) { return millionths / 20'000.0; }

}  // namespace paylark
