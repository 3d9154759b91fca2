#include "store/rate_tables.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <limits>
#include <system_error>

#include "store/yen_rounding.h"

namespace paylark {
namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, kTableCount> kFileNames = {
    "税額表(給与).dat", "税額表(賞与).dat", "雇用保険料額表.dat", "健康保険料額表.dat"};

constexpr int kMaxKouColumn = kDependantColumns - 1;  // 7人以上

int Index(TableId id) { return static_cast<int>(id); }

// Reads a whole image of exactly its size. Returns an empty string on success, else the message.
template <class Image>
std::string ReadImage(const fs::path& path, TableId id, Image& image) {
  const std::string name = TableFileName(id);
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return name + " はファイルではありません。";
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) return name + " の大きさを読めません（" + ec.message() + "）。";
  if (size != Image::kSize) {
    return name + " の大きさが " + std::to_string(size) + " バイトです（" + std::to_string(Image::kSize) +
           " バイトのはずです）。";
  }
  std::ifstream in(path, std::ios::binary);
  Image read;
  if (!in.read(reinterpret_cast<char*>(read.bytes.data()), static_cast<std::streamsize>(Image::kSize)) ||
      in.gcount() != static_cast<std::streamsize>(Image::kSize)) {
    return name + " を読めません。";
  }
  image = read;
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
    std::string message = ReadImage(path, id, image);
    if (message.empty()) {
      loaded_[Index(id)] = true;
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
  paths_[Index(TableId::MonthlyTax)] = std::move(path);
  loaded_[Index(TableId::MonthlyTax)] = true;
}

void RateTables::SetBonus(const BonusTaxImage& image, fs::path path) {
  bonus_ = image;
  paths_[Index(TableId::BonusTax)] = std::move(path);
  loaded_[Index(TableId::BonusTax)] = true;
}

void RateTables::SetEmployment(const EmploymentImage& image, fs::path path) {
  employment_ = image;
  paths_[Index(TableId::Employment)] = std::move(path);
  loaded_[Index(TableId::Employment)] = true;
}

void RateTables::SetHealthGrades(const HealthGradeImage& image, fs::path path) {
  health_ = image;
  paths_[Index(TableId::HealthGrade)] = std::move(path);
  loaded_[Index(TableId::HealthGrade)] = true;
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
                           RoundingMode deductionMode) const {
  if (!presence.Has(TableId::MonthlyTax)) return 0;
  const MonthlyTaxImage& t = monthly_;
  const int n = t.RowCount();
  if (n < MonthlyTaxImage::kMinRows || n > MonthlyTaxImage::kMaxRows) return 0;

  const int people = std::max(dependants, 0);
  const int d = std::min(people, kMaxKouColumn);
  const double e = t.Lower(n - 1);
  const double f = t.Lower(n);
  auto excessTax = [&](double rate, double from) {
    return static_cast<std::int64_t>(RoundYen(deductionMode, rate * (static_cast<double>(amount) - from)));
  };

  std::int64_t tax = 0;
  if (amount < t.Lower(1)) {
    tax = column == 1 ? RoundYen(deductionMode, t.OtsuRateBelowFirst() * amount) : 0;
  } else if (e <= amount && amount < f) {
    tax = column == 1 ? excessTax(t.OtsuRateFromSecondToLast(), e) + t.Otsu(n - 1)
                      : excessTax(t.KouRateSecondToLast(), e) + t.Kou(n - 1, d);
  } else if (amount >= f) {
    tax = column == 1 ? excessTax(t.OtsuRateFromSecondToLast(), e) + t.Otsu(n)
                      : excessTax(t.KouRateAboveLast(), f) + t.Kou(n, d);
  } else {
    for (int row = 1; row <= n - 2; ++row) {
      if (t.Lower(row) <= amount && amount < t.Upper(row)) {
        tax = column != 0 ? t.Otsu(row) : t.Kou(row, d);
        break;
      }
    }
  }

  if (column == 0) {
    if (people > kMaxKouColumn) tax -= static_cast<std::int64_t>(people - kMaxKouColumn) * t.KouReductionBeyondSeven();
  } else {
    tax -= static_cast<std::int64_t>(people) * t.OtsuReductionPerDependant();
  }
  return ToCheckedYen(std::max<std::int64_t>(tax, 0));
}

bool RateTables::BonusTaxRate(const TablePresence& presence, Yen previousMonthAmount, int dependants,
                              int column, double* rate) const {
  if (!presence.Has(TableId::BonusTax)) return false;
  const BonusTaxImage& t = bonus_;
  double found = 0;
  if (column == 0) {
    const int n = t.KouRowCount();
    if (n < 1 || n > BonusTaxImage::kMaxKouRows) return false;
    const int d = std::clamp(dependants, 0, kMaxKouColumn);
    found = t.KouRate(n);
    for (int row = 1; row <= n - 1; ++row) {
      if (t.KouLower(row, d) <= previousMonthAmount && previousMonthAmount < t.KouUpper(row, d)) {
        found = t.KouRate(row);
        break;
      }
    }
  } else {
    const int m = t.OtsuRowCount();
    if (m < 1 || m > BonusTaxImage::kMaxOtsuRows) return false;
    found = t.OtsuRate(m);
    for (int row = 1; row <= m - 1; ++row) {
      if (previousMonthAmount < t.OtsuUpper(row)) {
        found = t.OtsuRate(row);
        break;
      }
    }
  }
  if (rate != nullptr) *rate = found;
  return true;
}

Yen RateTables::BonusTax(const TablePresence& presence, Yen previousMonthAmount, Yen bonusAmount,
                         int dependants, int column, RoundingMode deductionMode) const {
  double rate = 0;
  if (!BonusTaxRate(presence, previousMonthAmount, dependants, column, &rate)) return 0;
  return RoundYen(deductionMode, rate * bonusAmount);
}

Yen RateTables::EmploymentPremiumFromTable(const TablePresence& presence, Yen totalPayment,
                                           bool generalBusiness) const {
  if (presence.Has(TableId::Employment)) {
    const EmploymentImage& t = employment_;
    const int n = t.RowCount();
    if (n >= 0 && n <= EmploymentImage::kMaxRows) {
      for (int row = 1; row <= n; ++row) {
        if (t.Lower(row) <= totalPayment && totalPayment < t.Upper(row)) {
          const Yen premium = generalBusiness ? t.GeneralPremium(row) : t.OtherPremium(row);
          if (premium != 0) return premium;
          break;
        }
      }
    }
  }
  // The fixed rule; the user's rounding setting does not apply to it.
  const double product = totalPayment * (generalBusiness ? 0.007 : 0.008);
  return static_cast<Yen>(std::trunc(product >= 0 ? product + 0.000001 : product - 0.000001));
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

std::string RateTableFileDates(const fs::path& folder) {
  std::string text;
  bool first = true;
  for (int i = 0; i < kTableCount; ++i) {
    const fs::path path = folder / kFileNames[i];
    std::error_code ec;
    if (!fs::exists(path, ec)) continue;
    const fs::file_time_type written = fs::last_write_time(path, ec);
    if (ec) continue;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            std::chrono::file_clock::to_sys(written)));
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[32];
    std::snprintf(date, sizeof date, "  %04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    if (!first) text += '\r';
    first = false;
    text += kFileNames[i];
    if (i < 2) text += "　　";
    text += date;
  }
  return text;
}

}  // namespace paylark
