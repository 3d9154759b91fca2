#include "store/rate_tables.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <limits>
#include <string_view>
#include <system_error>

#include "store/rate_table_extension.h"
#include "store/yen_rounding.h"

namespace paylark {
namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, kTableCount> kFileNames = {
    "税額表(給与).dat", "税額表(賞与).dat", "雇用保険料額表.dat", "健康保険料額表.dat"};

constexpr int kMaxKouColumn = kDependantColumns - 1;  // 7人以上

int Index(TableId id) { return static_cast<int>(id); }

// Whatever follows the image is at most this long (a sound extension is a few kilobytes).
constexpr std::uintmax_t kMaxExtensionSize = 1u << 20;

// The images carry no checksum: a flipped byte would pass for a table. What a table of its layout
// must satisfy is checked instead: counts in range, bounds increasing, rates between 0 and 1.
// Returns what is wrong, or empty text.
bool RateInRange(double rate) { return rate >= 0.0 && rate <= 1.0; }  // false for NaN

std::string Count(const char* what, int n, int low, int high) {
  if (n >= low && n <= high) return {};
  return std::string(what) + "が " + std::to_string(n) + " です（" + std::to_string(low) + "〜" + std::to_string(high) +
         " のはずです）";
}

std::string RowProblem(int row, const char* what) { return std::to_string(row) + " 行目の" + what; }

std::string ImplausibleImage(const MonthlyTaxImage& t) {
  const int n = t.RowCount();
  if (std::string c = Count("行数", n, MonthlyTaxImage::kMinRows, MonthlyTaxImage::kMaxRows); !c.empty()) return c;
  for (int row = 1; row <= n; ++row) {
    if (row <= n - 2 && t.Lower(row) >= t.Upper(row)) return RowProblem(row, "下限が上限以上です");
    if (row > 1 && t.Lower(row) < t.Lower(row - 1)) return RowProblem(row, "下限が前の行より小さくなっています");
  }
  for (double rate : {t.KouRateSecondToLast(), t.KouRateAboveLast(), t.OtsuRateBelowFirst(),
                      t.OtsuRateFromSecondToLast()}) {
    if (!RateInRange(rate)) return "税率が 0〜1 の範囲にありません";
  }
  return {};
}

std::string ImplausibleImage(const BonusTaxImage& t) {
  const int n = t.KouRowCount();
  const int m = t.OtsuRowCount();
  if (std::string c = Count("甲欄の行数", n, 1, BonusTaxImage::kMaxKouRows); !c.empty()) return c;
  if (std::string c = Count("乙欄の行数", m, 1, BonusTaxImage::kMaxOtsuRows); !c.empty()) return c;
  for (int row = 1; row <= n; ++row) {
    if (!RateInRange(t.KouRate(row))) return RowProblem(row, "甲欄の算出率が 0〜1 の範囲にありません");
    for (int d = 0; row < n && d < kDependantColumns; ++d) {
      if (t.KouLower(row, d) > t.KouUpper(row, d)) return RowProblem(row, "甲欄の下限が上限を超えています");
    }
  }
  for (int row = 1; row <= m; ++row) {
    if (!RateInRange(t.OtsuRate(row))) return RowProblem(row, "乙欄の算出率が 0〜1 の範囲にありません");
    if (row > 1 && row < m && t.OtsuUpper(row) < t.OtsuUpper(row - 1)) {
      return RowProblem(row, "乙欄の上限が前の行より小さくなっています");
    }
  }
  return {};
}

std::string ImplausibleImage(const EmploymentImage& t) {
  const int n = t.RowCount();
  if (std::string c = Count("行数", n, 0, EmploymentImage::kMaxRows); !c.empty()) return c;
  for (int row = 1; row <= n; ++row) {
    if (t.Lower(row) > t.Upper(row)) return RowProblem(row, "下限が上限を超えています");
    if (row > 1 && t.Lower(row) < t.Lower(row - 1)) return RowProblem(row, "下限が前の行より小さくなっています");
  }
  return {};
}

std::string ImplausibleImage(const HealthGradeImage& t) {
  const int n = t.GradeCount();
  if (std::string c = Count("等級数", n, 1, HealthGradeImage::kMaxGrades); !c.empty()) return c;
  for (int g = 1; g <= n; ++g) {
    const Grade grade = t.At(g);
    if (grade.lower > grade.upper) return RowProblem(g, "下限が上限を超えています");
    if (g > 1 && grade.lower < t.At(g - 1).lower) return RowProblem(g, "下限が前の等級より小さくなっています");
    if (g > 1 && grade.standard < t.At(g - 1).standard) {
      return RowProblem(g, "標準報酬月額が前の等級より小さくなっています");
    }
  }
  return {};
}

// Reads a table file: its image and, when the file is longer, the extension after it. Returns an
// empty string on success, else the message for the user.
template <class Image>
std::string ReadTableFile(const fs::path& path, TableId id, Image& image, std::optional<TableExtension>& extension) {
  const std::string name = TableFileName(id);
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return name + " はファイルではありません。";
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) return name + " の大きさを読めません（" + ec.message() + "）。";
  const std::string wrongSize = name + " の大きさが " + std::to_string(size) + " バイトです（" +
                                std::to_string(Image::kSize) + " バイトのはずです）。";
  if (size < Image::kSize || size > Image::kSize + kMaxExtensionSize) return wrongSize;
  std::string contents(static_cast<std::size_t>(size), '\0');
  std::ifstream in(path, std::ios::binary);
  if (!in.read(contents.data(), static_cast<std::streamsize>(size)) ||
      in.gcount() != static_cast<std::streamsize>(size)) {
    return name + " を読めません。";
  }
  std::optional<TableExtension> read;
  if (size > Image::kSize) {
    const std::string_view rest = std::string_view(contents).substr(Image::kSize);
    // Bytes after the image that do not even start with the mark: a file of the wrong size.
    if (!rest.starts_with(std::string_view(kTableExtensionMagic, sizeof kTableExtensionMagic))) return wrongSize;
    std::string problem;
    read = DecodeTableExtension(rest, id, &problem);
    if (!read) return name + " の表の後ろの拡張部分が正しくありません（" + problem + "）。";
  }
  Image loaded;
  std::memcpy(loaded.bytes.data(), contents.data(), Image::kSize);
  // A complete table in the extension (checksummed) answers in place of the image; the image is
  // checked when it is what the look-ups read.
  const bool replaced = read && (read->monthly || read->bonus);
  if (const std::string problem = replaced ? std::string() : ImplausibleImage(loaded); !problem.empty()) {
    return name + " の内容が正しくありません（" + problem + "）。";
  }
  image = loaded;
  extension = std::move(read);
  return {};
}

Yen ToCheckedYen(std::int64_t value) {
  if (value > std::numeric_limits<Yen>::max() || value < std::numeric_limits<Yen>::min()) {
    throw MoneyOverflow("金額が範囲を超えました");
  }
  return static_cast<Yen>(value);
}

}  // namespace

const char* TableFileName(TableId id) { return kFileNames[Index(id)]; }

std::size_t TableFileSize(TableId id) {
  switch (id) {
    case TableId::MonthlyTax: return MonthlyTaxImage::kSize;
    case TableId::BonusTax: return BonusTaxImage::kSize;
    case TableId::Employment: return EmploymentImage::kSize;
    case TableId::HealthGrade: return HealthGradeImage::kSize;
  }
  return 0;
}

int RateTables::LoadFromFolder(const fs::path& folder, std::vector<std::string>* errors) {
  *this = RateTables();
  auto load = [&](TableId id, auto& image) {
    const fs::path path = folder / TableFileName(id);
    paths_[Index(id)] = path;
    std::error_code ec;
    if (!fs::exists(path, ec)) return;  // a missing table is skipped; its image stays zero
    std::optional<TableExtension> extension;
    std::string message = ReadTableFile(path, id, image, extension);
    if (message.empty()) {
      loaded_[Index(id)] = true;
      if (extension) SetExtension(*extension);
    } else if (errors != nullptr) {
      errors->push_back(std::move(message));
    }
  };
  load(TableId::MonthlyTax, monthly_);
  load(TableId::BonusTax, bonus_);
  load(TableId::Employment, employment_);
  load(TableId::HealthGrade, health_);
  return LoadedCount();
}

void RateTables::SetMonthly(const MonthlyTaxImage& image, fs::path path) {
  monthly_ = image;
  monthlyFull_.reset();
  effective_[Index(TableId::MonthlyTax)].reset();
  paths_[Index(TableId::MonthlyTax)] = std::move(path);
  loaded_[Index(TableId::MonthlyTax)] = true;
}

void RateTables::SetBonus(const BonusTaxImage& image, fs::path path) {
  bonus_ = image;
  bonusFull_.reset();
  effective_[Index(TableId::BonusTax)].reset();
  paths_[Index(TableId::BonusTax)] = std::move(path);
  loaded_[Index(TableId::BonusTax)] = true;
}

void RateTables::SetEmployment(const EmploymentImage& image, fs::path path) {
  employment_ = image;
  employmentRates_.reset();
  effective_[Index(TableId::Employment)].reset();
  paths_[Index(TableId::Employment)] = std::move(path);
  loaded_[Index(TableId::Employment)] = true;
}

void RateTables::SetHealthGrades(const HealthGradeImage& image, fs::path path) {
  health_ = image;
  effective_[Index(TableId::HealthGrade)].reset();
  paths_[Index(TableId::HealthGrade)] = std::move(path);
  loaded_[Index(TableId::HealthGrade)] = true;
}

void RateTables::SetExtension(const TableExtension& extension) {
  effective_[Index(extension.table)] = extension.effective;
  if (extension.table == TableId::MonthlyTax) monthlyFull_ = extension.monthly;
  if (extension.table == TableId::BonusTax) bonusFull_ = extension.bonus;
  if (extension.table == TableId::Employment) employmentRates_ = extension.employmentRates;
}

void RateTables::CopyTableFrom(const RateTables& other, TableId id) {
  const int i = Index(id);
  paths_[i] = other.paths_[i];
  loaded_[i] = other.loaded_[i];
  effective_[i] = other.effective_[i];
  switch (id) {
    case TableId::MonthlyTax:
      monthly_ = other.monthly_;
      monthlyFull_ = other.monthlyFull_;
      break;
    case TableId::BonusTax:
      bonus_ = other.bonus_;
      bonusFull_ = other.bonusFull_;
      break;
    case TableId::Employment:
      employment_ = other.employment_;
      employmentRates_ = other.employmentRates_;
      break;
    case TableId::HealthGrade: health_ = other.health_; break;
  }
}

std::optional<CivilDate> RateTables::EditionDate() const {
  if (effective_[Index(TableId::MonthlyTax)]) return effective_[Index(TableId::MonthlyTax)];
  return effective_[Index(TableId::BonusTax)];
}

int RateTables::LoadedCount() const {
  return static_cast<int>(std::count(loaded_.begin(), loaded_.end(), true));
}

TablePresence RateTables::Presence() const {
  TablePresence presence;
  for (int i = 0; i < kTableCount; ++i) {
    if (paths_[i].empty()) {
      presence.present[i] = loaded_[i];
    } else {
      std::error_code ec;
      presence.present[i] = fs::exists(paths_[i], ec);
    }
  }
  return presence;
}

// The withholding look-up of the monthly table. Rows 1 .. N − 2 are the table proper; rows N − 1
// and N are the two open-ended brackets (tax = the row's tax + rate × excess). Below row 1, 甲 is 0
// and 乙 a rate of the whole amount. The quirks are kept as the table files expect them: below row
// 1 and in the brackets only column 1 is 乙, and the 乙 excess above row N is still measured from
// row N − 1's lower bound (added to row N's 乙 tax).
Yen RateTables::MonthlyTax(const TablePresence& presence, Yen amount, int column, int dependants,
                           RoundingMode deductionMode, MonthlyTaxStep* step) const {
  if (!presence.Has(TableId::MonthlyTax)) return 0;
  if (monthlyFull_) return monthlyFull_->Tax(amount, column, dependants, deductionMode, step);
  const MonthlyTaxImage& t = monthly_;
  const int n = t.RowCount();
  if (n < MonthlyTaxImage::kMinRows || n > MonthlyTaxImage::kMaxRows) return 0;

  const int people = std::max(dependants, 0);
  const int d = std::min(people, kMaxKouColumn);
  const double e = t.Lower(n - 1);
  const double f = t.Lower(n);
  MonthlyTaxStep local;
  MonthlyTaxStep& s = step != nullptr ? *step : local;
  s.otsu = column == 1;
  s.kouColumn = d;
  auto excessTax = [&](double rate, double from) {
    const double exact = rate * (static_cast<double>(amount) - from);
    const Yen rounded = RoundYen(deductionMode, exact);
    if (step != nullptr) {
      s.rate = rate;
      s.excessFrom = static_cast<Yen>(from);
      s.excessExact = exact;
      s.excessTax = rounded;
    }
    return static_cast<std::int64_t>(rounded);
  };

  std::int64_t tax = 0;
  if (amount < t.Lower(1)) {
    s.kind = MonthlyTaxStep::Kind::BelowFirst;
    s.upper = t.Lower(1);
    if (column == 1) {
      s.rate = t.OtsuRateBelowFirst();
      s.excessExact = t.OtsuRateBelowFirst() * amount;
    }
    tax = column == 1 ? RoundYen(deductionMode, t.OtsuRateBelowFirst() * amount) : 0;
    s.excessTax = static_cast<Yen>(tax);
  } else if (e <= amount && amount < f) {
    s.kind = MonthlyTaxStep::Kind::Bracket;
    s.lower = t.Lower(n - 1);
    s.upper = t.Lower(n);
    s.base = column == 1 ? t.Otsu(n - 1) : t.Kou(n - 1, d);
    tax = column == 1 ? excessTax(t.OtsuRateFromSecondToLast(), e) + t.Otsu(n - 1)
                      : excessTax(t.KouRateSecondToLast(), e) + t.Kou(n - 1, d);
  } else if (amount >= f) {
    s.kind = MonthlyTaxStep::Kind::Bracket;
    s.lower = t.Lower(n);
    s.base = column == 1 ? t.Otsu(n) : t.Kou(n, d);
    tax = column == 1 ? excessTax(t.OtsuRateFromSecondToLast(), e) + t.Otsu(n)
                      : excessTax(t.KouRateAboveLast(), f) + t.Kou(n, d);
  } else {
    for (int row = 1; row <= n - 2; ++row) {
      if (t.Lower(row) <= amount && amount < t.Upper(row)) {
        tax = column != 0 ? t.Otsu(row) : t.Kou(row, d);
        s.kind = MonthlyTaxStep::Kind::Row;
        s.otsu = column != 0;
        s.lower = t.Lower(row);
        s.upper = t.Upper(row);
        s.base = static_cast<Yen>(tax);
        break;
      }
    }
  }

  if (column == 0) {
    if (people > kMaxKouColumn) {
      tax -= static_cast<std::int64_t>(people - kMaxKouColumn) * t.KouReductionBeyondSeven();
      s.reducedPeople = people - kMaxKouColumn;
      s.reductionPerPerson = t.KouReductionBeyondSeven();
    }
  } else {
    tax -= static_cast<std::int64_t>(people) * t.OtsuReductionPerDependant();
    s.reducedPeople = people;
    s.reductionPerPerson = t.OtsuReductionPerDependant();
  }
  return ToCheckedYen(std::max<std::int64_t>(tax, 0));
}

bool RateTables::BonusTaxRate(const TablePresence& presence, Yen previousMonthAmount, int dependants,
                              int column, double* rate, BonusRateStep* step) const {
  if (!presence.Has(TableId::BonusTax)) return false;
  if (bonusFull_) {
    const double found = bonusFull_->Rate(previousMonthAmount, dependants, column, step);
    if (rate != nullptr) *rate = found;
    return true;
  }
  const BonusTaxImage& t = bonus_;
  BonusRateStep s;
  s.otsu = column != 0;
  double found = 0;
  if (column == 0) {
    const int n = t.KouRowCount();
    if (n < 1 || n > BonusTaxImage::kMaxKouRows) return false;
    const int d = std::clamp(dependants, 0, kMaxKouColumn);
    found = t.KouRate(n);
    s.lower = n >= 2 ? t.KouUpper(n - 1, d) : 0;
    s.openAbove = true;
    s.openBelow = n == 1;
    for (int row = 1; row <= n - 1; ++row) {
      if (t.KouLower(row, d) <= previousMonthAmount && previousMonthAmount < t.KouUpper(row, d)) {
        found = t.KouRate(row);
        s.lower = t.KouLower(row, d);
        s.upper = t.KouUpper(row, d);
        s.openAbove = false;
        s.openBelow = false;
        break;
      }
    }
  } else {
    const int m = t.OtsuRowCount();
    if (m < 1 || m > BonusTaxImage::kMaxOtsuRows) return false;
    found = t.OtsuRate(m);
    s.lower = m >= 2 ? t.OtsuUpper(m - 1) : 0;
    s.openAbove = true;
    s.openBelow = m == 1;
    for (int row = 1; row <= m - 1; ++row) {
      if (previousMonthAmount < t.OtsuUpper(row)) {
        found = t.OtsuRate(row);
        s.lower = row == 1 ? 0 : t.OtsuUpper(row - 1);
        s.upper = t.OtsuUpper(row);
        s.openAbove = false;
        s.openBelow = row == 1;
        break;
      }
    }
  }
  if (rate != nullptr) *rate = found;
  if (step != nullptr) {
    s.found = true;
    s.rate = found;
    *step = s;
  }
  return true;
}

Yen RateTables::BonusTax(const TablePresence& presence, Yen previousMonthAmount, Yen bonusAmount,
                         int dependants, int column, RoundingMode deductionMode, BonusRateStep* step) const {
  double rate = 0;
  if (!BonusTaxRate(presence, previousMonthAmount, dependants, column, &rate, step)) return 0;
  return RoundYen(deductionMode, rate * bonusAmount);
}

bool RateTables::MonthlyTaxUsable(const TablePresence& presence) const {
  if (!presence.Has(TableId::MonthlyTax) || !Loaded(TableId::MonthlyTax)) return false;
  if (monthlyFull_) return true;
  const int n = monthly_.RowCount();
  return n >= MonthlyTaxImage::kMinRows && n <= MonthlyTaxImage::kMaxRows;
}

bool RateTables::BonusTaxUsable(const TablePresence& presence, int column) const {
  return Loaded(TableId::BonusTax) && BonusTaxRate(presence, 0, 0, column, nullptr);
}

Yen RateTables::EmploymentPremiumFromTable(const TablePresence& presence, Yen totalPayment,
                                           bool generalBusiness, EmploymentTableStep* step) const {
  if (presence.Has(TableId::Employment)) {
    const EmploymentImage& t = employment_;
    const int n = t.RowCount();
    if (n >= 0 && n <= EmploymentImage::kMaxRows) {
      for (int row = 1; row <= n; ++row) {
        if (t.Lower(row) <= totalPayment && totalPayment < t.Upper(row)) {
          const Yen premium = generalBusiness ? t.GeneralPremium(row) : t.OtherPremium(row);
          if (premium != 0) {
            if (step != nullptr) *step = {true, row, t.Lower(row), t.Upper(row), 0, 0};
            return premium;
          }
          break;
        }
      }
    }
  }
  // The fixed rule; the user's rounding setting does not apply to it.
  const double rate = generalBusiness ? 0.007 : 0.008;
  const double product = totalPayment * rate;
  if (step != nullptr) *step = {false, 0, 0, 0, rate, product};
  return static_cast<Yen>(std::trunc(product >= 0 ? product + 0.000001 : product - 0.000001));
}

std::optional<std::int32_t> RateTables::EmploymentRateOn(const TablePresence& presence, const CivilDate& closingDate,
                                                         bool generalBusiness, CivilDate* from) const {
  if (!presence.Has(TableId::Employment) || !employmentRates_) return std::nullopt;
  const EmploymentRateRow* row = employmentRates_->InForceOn(closingDate);
  if (row == nullptr) return std::nullopt;
  if (from != nullptr) *from = row->from;
  return WorkerRate(*row, generalBusiness);
}

int RateTables::GradeCount() const {
  const int n = health_.GradeCount();
  return n >= 1 && n <= HealthGradeImage::kMaxGrades ? n : 0;
}

Grade RateTables::HealthGrade(int grade) const {
  if (grade < 1 || grade > HealthGradeImage::kMaxGrades) return {};
  return health_.At(grade);
}

int RateTables::PensionGrade(int grade) const {
  if (grade < health_.PensionLowest()) grade = health_.PensionLowest();
  if (grade > health_.PensionHighest()) grade = health_.PensionHighest();
  return grade;
}

std::optional<CivilDate> TableFileEffectiveDate(const fs::path& path, TableId id) {
  std::optional<TableExtension> extension;
  auto read = [&](auto image) { return ReadTableFile(path, id, image, extension).empty(); };
  bool ok = false;
  switch (id) {
    case TableId::MonthlyTax: ok = read(MonthlyTaxImage{}); break;
    case TableId::BonusTax: ok = read(BonusTaxImage{}); break;
    case TableId::Employment: ok = read(EmploymentImage{}); break;
    case TableId::HealthGrade: ok = read(HealthGradeImage{}); break;
  }
  if (!ok || !extension) return std::nullopt;
  return extension->effective;
}

std::string RateTableFileDates(const fs::path& folder) {
  std::string text;
  bool first = true;
  for (int i = 0; i < kTableCount; ++i) {
    const fs::path path = folder / kFileNames[i];
    std::error_code ec;
    if (!fs::exists(path, ec)) continue;
    CivilDate shown;
    if (const std::optional<CivilDate> effective = TableFileEffectiveDate(path, static_cast<TableId>(i))) {
      shown = *effective;
    } else {
      const fs::file_time_type written = fs::last_write_time(path, ec);
      if (ec) continue;
      const std::time_t seconds = std::chrono::system_clock::to_time_t(
          std::chrono::time_point_cast<std::chrono::system_clock::duration>(
              std::chrono::file_clock::to_sys(written)));
      std::tm local{};
      localtime_r(&seconds, &local);
      shown = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    }
    char date[32];
    std::snprintf(date, sizeof date, "  %04d/%02d/%02d", shown.year, shown.month, shown.day);
    if (!first) text += '\r';
    first = false;
    text += kFileNames[i];
    if (i < 2) text += "　　";
    text += date;
  }
  return text;
}

}  // namespace paylark
