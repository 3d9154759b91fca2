#include "store/rate_table_extension.h"

#include <array>
#include <cstring>
#include <stdexcept>

#include "store/bytes.h"

namespace paylark {
namespace {

// Field sizes of the payloads (version 1).
constexpr std::size_t kMonthlyRowSize = 44;  // lower, upper, 甲 0..7, 乙: int32
constexpr std::size_t kKouBracketSize = 44;  // lower, base 0..7: int32; rate: double
constexpr std::size_t kOtsuBracketSize = 16; // lower, base: int32; rate: double
constexpr std::size_t kBonusKouRowSize = 72; // rate: double; (lower, upper) × 8: int32
constexpr std::size_t kBonusOtsuRowSize = 12; // rate: double; upper: int32
constexpr std::size_t kEmploymentRateRowSize = 16; // date yyyymmdd, rates general, agri/sake, construction: int32

class Writer {
 public:
  void I32(std::int32_t v) { Put(&v, sizeof v); }
  void U32(std::uint32_t v) { Put(&v, sizeof v); }
  void U16(std::uint16_t v) { Put(&v, sizeof v); }
  void F64(double v) { Put(&v, sizeof v); }
  void Kou(const KouColumns& c) {
    for (Yen v : c) I32(v);
  }
  std::string bytes;

 private:
  void Put(const void* p, std::size_t n) { bytes.append(static_cast<const char*>(p), n); }
};

// Reads fields in order; a read past the end sets `short_` and yields zeros.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  std::int32_t I32() { return Get<std::int32_t>(); }
  double F64() { return Get<double>(); }
  KouColumns Kou() {
    KouColumns c{};
    for (Yen& v : c) v = I32();
    return c;
  }
  // A count field of at most `max` items of `itemSize` bytes that fit in what is left.
  bool Count(int max, std::size_t itemSize, int* count) {
    *count = I32();
    return !short_ && *count >= 0 && *count <= max &&
           static_cast<std::size_t>(*count) * itemSize <= bytes_.size() - at_;
  }
  bool Short() const { return short_; }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  template <class T>
  T Get() {
    T v{};
    if (bytes_.size() - at_ < sizeof v) {
      short_ = true;
      at_ = bytes_.size();
      return v;
    }
    std::memcpy(&v, bytes_.data() + at_, sizeof v);
    at_ += sizeof v;
    return v;
  }
  std::string_view bytes_;
  std::size_t at_ = 0;
  bool short_ = false;
};

std::string MonthlyPayload(const FullMonthlyTaxTable& t) {
  Writer w;
  w.I32(static_cast<std::int32_t>(t.rows.size()));
  for (const MonthlyTaxRow& r : t.rows) {
    w.I32(r.lower);
    w.I32(r.upper);
    w.Kou(r.kou);
    w.I32(r.otsu);
  }
  w.F64(t.otsuRateBelowFirst);
  w.I32(t.kouReductionBeyondSeven);
  w.I32(t.otsuReductionPerDependant);
  w.I32(static_cast<std::int32_t>(t.kouBrackets.size()));
  for (const KouBracket& b : t.kouBrackets) {
    w.I32(b.lower);
    w.Kou(b.base);
    w.F64(b.rate);
  }
  w.I32(static_cast<std::int32_t>(t.otsuBrackets.size()));
  for (const OtsuBracket& b : t.otsuBrackets) {
    w.I32(b.lower);
    w.I32(b.base);
    w.F64(b.rate);
  }
  return w.bytes;
}

std::string BonusPayload(const FullBonusTaxTable& t) {
  Writer w;
  w.I32(static_cast<std::int32_t>(t.kou.size()));
  for (const BonusKouRow& r : t.kou) {
    w.F64(r.rate);
    for (int d = 0; d < kDependantColumns; ++d) {
      w.I32(r.lower[d]);
      w.I32(r.upper[d]);
    }
  }
  w.I32(static_cast<std::int32_t>(t.otsu.size()));
  for (const BonusOtsuRow& r : t.otsu) {
    w.F64(r.rate);
    w.I32(r.upper);
  }
  return w.bytes;
}

std::optional<FullMonthlyTaxTable> ReadMonthly(std::string_view payload, std::string* problem) {
  Reader r(payload);
  FullMonthlyTaxTable t;
  int n = 0;
  if (!r.Count(kMaxFullMonthlyRows, kMonthlyRowSize, &n)) {
    *problem = "monthly row count";
    return std::nullopt;
  }
  t.rows.resize(static_cast<std::size_t>(n));
  for (MonthlyTaxRow& row : t.rows) {
    row.lower = r.I32();
    row.upper = r.I32();
    row.kou = r.Kou();
    row.otsu = r.I32();
  }
  t.otsuRateBelowFirst = r.F64();
  t.kouReductionBeyondSeven = r.I32();
  t.otsuReductionPerDependant = r.I32();
  if (!r.Count(kMaxFullBrackets, kKouBracketSize, &n)) {
    *problem = "甲 bracket count";
    return std::nullopt;
  }
  t.kouBrackets.resize(static_cast<std::size_t>(n));
  for (KouBracket& b : t.kouBrackets) {
    b.lower = r.I32();
    b.base = r.Kou();
    b.rate = r.F64();
  }
  if (!r.Count(kMaxFullBrackets, kOtsuBracketSize, &n)) {
    *problem = "乙 bracket count";
    return std::nullopt;
  }
  t.otsuBrackets.resize(static_cast<std::size_t>(n));
  for (OtsuBracket& b : t.otsuBrackets) {
    b.lower = r.I32();
    b.base = r.I32();
    b.rate = r.F64();
  }
  if (r.Short() || !r.AtEnd()) {
    *problem = "the monthly table does not fill its payload";
    return std::nullopt;
  }
  *problem = t.Problem();
  if (!problem->empty()) return std::nullopt;
  return t;
}

std::optional<FullBonusTaxTable> ReadBonus(std::string_view payload, std::string* problem) {
  Reader r(payload);
  FullBonusTaxTable t;
  int n = 0;
  if (!r.Count(kMaxFullBonusRows, kBonusKouRowSize, &n)) {
    *problem = "bonus 甲 row count";
    return std::nullopt;
  }
  t.kou.resize(static_cast<std::size_t>(n));
  for (BonusKouRow& row : t.kou) {
    row.rate = r.F64();
    for (int d = 0; d < kDependantColumns; ++d) {
      row.lower[d] = r.I32();
      row.upper[d] = r.I32();
    }
  }
  if (!r.Count(kMaxFullBonusRows, kBonusOtsuRowSize, &n)) {
    *problem = "bonus 乙 row count";
    return std::nullopt;
  }
  t.otsu.resize(static_cast<std::size_t>(n));
  for (BonusOtsuRow& row : t.otsu) {
    row.rate = r.F64();
    row.upper = r.I32();
  }
  if (r.Short() || !r.AtEnd()) {
    *problem = "the bonus table does not fill its payload";
    return std::nullopt;
  }
  *problem = t.Problem();
  if (!problem->empty()) return std::nullopt;
  return t;
}

std::string EmploymentRatesPayload(const EmploymentRateTable& t) {
  Writer w;
  w.I32(static_cast<std::int32_t>(t.rows.size()));
  for (const EmploymentRateRow& r : t.rows) {
    w.I32(r.from.year * 10'000 + r.from.month * 100 + r.from.day);
    w.I32(r.general);
    w.I32(r.agricultureSake);
    w.I32(r.construction);
  }
  return w.bytes;
}

std::optional<EmploymentRateTable> ReadEmploymentRates(std::string_view payload, std::string* problem) {
  Reader r(payload);
  EmploymentRateTable t;
  int n = 0;
  if (!r.Count(kMaxEmploymentRateRows, kEmploymentRateRowSize, &n)) {
    *problem = "employment rate row count";
    return std::nullopt;
  }
  t.rows.resize(static_cast<std::size_t>(n));
  for (EmploymentRateRow& row : t.rows) {
    const std::int32_t date = r.I32();
    row.from = {date / 10'000, date / 100 % 100, date % 100};
    row.general = r.I32();
    row.agricultureSake = r.I32();
    row.construction = r.I32();
  }
  if (r.Short() || !r.AtEnd()) {
    *problem = "the employment rates do not fill their payload";
    return std::nullopt;
  }
  *problem = t.Problem();
  if (!problem->empty()) return std::nullopt;
  return t;
}

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  return table;
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
  const auto& table = CrcTable();
  crc = ~crc;
  for (char ch : bytes) crc = table[(crc ^ static_cast<std::uint8_t>(ch)) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}

std::int32_t DateNumber(const CivilDate& date) { return date.year * 10'000 + date.month * 100 + date.day; }

std::optional<CivilDate> DateFromNumber(std::int32_t yyyymmdd) {
  const CivilDate date{yyyymmdd / 10'000, yyyymmdd / 100 % 100, yyyymmdd % 100};
  if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 ||
      date.day > DaysInMonth(date.year, date.month)) {
    return std::nullopt;
  }
  return date;
}

std::string EncodeTableExtension(const TableExtension& e) {
  if (DateFromNumber(DateNumber(e.effective)) != e.effective) {
    throw std::invalid_argument("the effective date is not a day of the calendar");
  }
  if ((e.monthly && e.table != TableId::MonthlyTax) || (e.bonus && e.table != TableId::BonusTax) ||
      (e.employmentRates && e.table != TableId::Employment)) {
    throw std::invalid_argument("a full table in the extension of another table file");
  }
  std::string payload;
  if (e.monthly) {
    if (std::string p = e.monthly->Problem(); !p.empty()) throw std::invalid_argument(p);
    payload = MonthlyPayload(*e.monthly);
  } else if (e.bonus) {
    if (std::string p = e.bonus->Problem(); !p.empty()) throw std::invalid_argument(p);
    payload = BonusPayload(*e.bonus);
  } else if (e.employmentRates) {
    if (std::string p = e.employmentRates->Problem(); !p.empty()) throw std::invalid_argument(p);
    payload = EmploymentRatesPayload(*e.employmentRates);
  }
  Writer header;
  header.bytes.append(kTableExtensionMagic, sizeof kTableExtensionMagic);
  header.U16(kTableExtensionVersion);
  header.U16(static_cast<std::uint16_t>(e.table));
  header.I32(DateNumber(e.effective));
  header.U32(static_cast<std::uint32_t>(payload.size()));
  const std::uint32_t crc = Crc32(payload, Crc32(header.bytes));
  header.U32(crc);
  return header.bytes + payload;
}

std::optional<TableExtension> DecodeTableExtension(std::string_view bytes, TableId expected,
                                                   std::string* problem) {
  std::string ignored;
  std::string& why = problem != nullptr ? *problem : ignored;
  if (bytes.size() < kTableExtensionHeaderSize) {
    why = "shorter than its header";
    return std::nullopt;
  }
  const auto* base = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (std::memcmp(base, kTableExtensionMagic, sizeof kTableExtensionMagic) != 0) {
    why = "no extension mark";
    return std::nullopt;
  }
  const std::uint16_t version = bytes::GetU16(base, 4);
  if (version != kTableExtensionVersion) {
    why = "format version " + std::to_string(version) + " is not known";
    return std::nullopt;
  }
  if (bytes::GetU16(base, 6) != static_cast<std::uint16_t>(expected)) {
    why = "written for another table";
    return std::nullopt;
  }
  const std::optional<CivilDate> date = DateFromNumber(bytes::GetI32(base, 8));
  if (!date) {
    why = "the effective date is not a date";
    return std::nullopt;
  }
  std::uint32_t length = 0;
  std::memcpy(&length, base + 12, sizeof length);
  if (length != bytes.size() - kTableExtensionHeaderSize) {
    why = "its length does not match the file";
    return std::nullopt;
  }
  std::uint32_t crc = 0;
  std::memcpy(&crc, base + 16, sizeof crc);
  const std::string_view payload = bytes.substr(kTableExtensionHeaderSize);
  if (Crc32(payload, Crc32(bytes.substr(0, 16))) != crc) {
    why = "checksum mismatch";
    return std::nullopt;
  }

  TableExtension e;
  e.table = expected;
  e.effective = *date;
  if (payload.empty()) return e;  // the date only
  std::string tableProblem;
  if (expected == TableId::MonthlyTax) {
    e.monthly = ReadMonthly(payload, &tableProblem);
  } else if (expected == TableId::BonusTax) {
    e.bonus = ReadBonus(payload, &tableProblem);
  } else if (expected == TableId::Employment) {
    e.employmentRates = ReadEmploymentRates(payload, &tableProblem);
  } else {
    tableProblem = "a payload where only the date is expected";
  }
  if (!tableProblem.empty()) {
    why = tableProblem;
    return std::nullopt;
  }
  return e;
}

}  // namespace paylark
