#include "calc/unit_prices.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "entry/display_format.h"

namespace paylark {
namespace {

__extension__ typedef __int128 Wide;

// 労働基準法37条 with 労働基準法第三十七条第一項の時間外及び休日の割増賃金に係る率の最低限度を
// 定める政令 (平成6年政令第5号, in force 1994-04-01): 時間外 2割5分, 休日 3割5分; 深夜 (22時〜5時)
// 2割5分 added. The higher rate above 60 overtime hours a month has no row on the sheet.
constexpr PremiumWageRule kPremiumWageRules[] = {
    {19940401, 125, 25, 135},
};

// Kinds of allowance left out of the base (労働基準法37条5項, 施行規則21条), by a word of the name.
constexpr const char* kExcludedWords[] = {"家族", "通勤", "交通", "別居", "子女教育", "住宅"};

std::int64_t Hundredths(double v) { return std::llround(v * 100.0); }

Wide CeilDiv(Wide a, Wide b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }
Wide FloorDiv(Wide a, Wide b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

bool FitsYen(Wide v) { return v >= 0 && v <= std::numeric_limits<Yen>::max(); }

std::string YenText(std::int64_t v) {
  std::string s = FormatAmount(0, static_cast<double>(v));
  return s;
}

std::string HoursText(std::int64_t hundredths) {
  char buf[32];
  if (hundredths % 100 == 0) {
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(hundredths / 100));
  } else {
    std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(hundredths) / 100.0);
  }
  return buf;
}

std::string PercentText(int percent) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d.%02d", percent / 100, percent % 100);
  return buf;
}

}  // namespace

const PremiumWageRule& PremiumWageRuleOn(std::int32_t date) {
  const PremiumWageRule* chosen = &kPremiumWageRules[0];
  for (const PremiumWageRule& rule : kPremiumWageRules) {
    if (rule.effectiveDate <= date) chosen = &rule;
  }
  return *chosen;
}

std::array<int, 4> OvertimePercents(const PremiumWageRule& r) {
  return {r.overtimePercent, r.overtimePercent + r.nightAddPercent, r.holidayPercent,
          r.holidayPercent + r.nightAddPercent};
}

bool ExcludedFromHourlyBase(const std::string& name) {
  for (const char* word : kExcludedWords) {
    if (name.find(word) != std::string::npos) return true;
  }
  return false;
}

std::string UnitPriceProblemText(UnitPriceProblem problem) {
  switch (problem) {
    case UnitPriceProblem::NoMonthHours: return "会社情報の月労働時間数が設定されていません。";
    case UnitPriceProblem::NoMonthDays: return "会社情報の月労働日数が設定されていません。";
    case UnitPriceProblem::NoDayHours: return "会社情報の日労働時間数が設定されていません。";
    case UnitPriceProblem::NoBasePay: return "基本給が入力されていません。";
    case UnitPriceProblem::TooLarge: return "単価が大きすぎて計算できません。";
  }
  return {};
}

UnitPriceResult SuggestUnitPrices(const EmployeeRecord& e, const CompanyRecord& company, const Options& options,
                                  std::int32_t date) {
  UnitPriceResult result;
  auto fail = [&](UnitPriceProblem p) {
    result.problem = p;
    return result;
  };
  if (e.BasePay() <= 0) return fail(UnitPriceProblem::NoBasePay);
  const std::int64_t monthHours = Hundredths(company.MonthHours());
  if (monthHours <= 0) return fail(UnitPriceProblem::NoMonthHours);
  const int payForm = e.PayFormCode();
  const bool monthly = payForm != static_cast<int>(PayForm::Daily) && payForm != static_cast<int>(PayForm::Hourly);
  const std::int64_t monthDays = Hundredths(company.MonthDays());
  if (monthly && monthDays <= 0) return fail(UnitPriceProblem::NoMonthDays);
  const std::int64_t dayHours = Hundredths(company.DayHours());
  if (payForm == static_cast<int>(PayForm::Daily) && dayHours <= 0) return fail(UnitPriceProblem::NoDayHours);

  SuggestedUnitPrices p;
  p.counted.push_back("基本給 " + YenText(e.BasePay()));
  Wide allowances = 0;
  auto allowance = [&](const std::string& name, Yen amount) {
    if (amount == 0) return;
    if (ExcludedFromHourlyBase(name)) {
      p.excluded.push_back(name);
      return;
    }
    allowances += amount;
    p.counted.push_back(name + " " + YenText(amount));
  };
  allowance("役職手当", e.PositionAllowance());
  if (e.FamilyAllowance() != 0) p.excluded.push_back("家族手当");
  for (int i = 0; i < 3; ++i) {
    allowance(options.Name(static_cast<UserItem>(static_cast<int>(UserItem::FixedAllowance1) + i)),
              e.FixedAllowance(i));
  }

  // The hourly base as numerator ÷ denominator.
  Wide num = 0, den = 1;
  const Wide base = e.BasePay();
  if (payForm == static_cast<int>(PayForm::Daily)) {
    num = base * 100 * monthHours + allowances * 100 * dayHours;
    den = static_cast<Wide>(dayHours) * monthHours;
    p.divisor = HoursText(dayHours) + "時間(日) / " + HoursText(monthHours) + "時間(月)";
  } else if (payForm == static_cast<int>(PayForm::Hourly)) {
    num = base * monthHours + allowances * 100;
    den = monthHours;
    p.divisor = HoursText(monthHours) + "時間(月)";
  } else {
    num = (base + allowances) * 100;
    den = monthHours;
    p.divisor = HoursText(monthHours) + "時間";
  }

  p.percents = OvertimePercents(PremiumWageRuleOn(date));
  for (int i = 0; i < 4; ++i) {
    const Wide price = CeilDiv(num * p.percents[i], den * 100);
    if (!FitsYen(price)) return fail(UnitPriceProblem::TooLarge);
    p.overtime[i] = static_cast<paylark::Yen>(price);
  }
  if (monthly) {
    const Wide perDay = FloorDiv(base * 100, monthDays);
    const Wide perHour = FloorDiv(num, den);
    if (!FitsYen(perDay) || !FitsYen(perHour)) return fail(UnitPriceProblem::TooLarge);
    p.absencePerDay = static_cast<paylark::Yen>(perDay);
    p.latenessPerHour = static_cast<paylark::Yen>(perHour);
  }
  // Keep the fraction small for the text; both fit 64 bits after reduction for any sound input.
  Wide a = num, b = den;
  while (b != 0) {
    const Wide t = a % b;
    a = b;
    b = t;
  }
  if (a > 1) {
    num /= a;
    den /= a;
  }
  if (num > std::numeric_limits<std::int64_t>::max() || den > std::numeric_limits<std::int64_t>::max()) {
    return fail(UnitPriceProblem::TooLarge);
  }
  p.hourlyNumerator = static_cast<std::int64_t>(num);
  p.hourlyDenominator = static_cast<std::int64_t>(den);
  result.prices = p;
  return result;
}

std::string HourlyBaseText(const SuggestedUnitPrices& p) {
  const std::int64_t whole = p.hourlyNumerator / p.hourlyDenominator;
  const std::int64_t rest = p.hourlyNumerator % p.hourlyDenominator;
  std::string text = YenText(whole);
  if (rest != 0) {
    const std::int64_t cents = static_cast<std::int64_t>(static_cast<Wide>(rest) * 100 / p.hourlyDenominator);
    char buf[8];
    std::snprintf(buf, sizeof buf, ".%02lld", static_cast<long long>(cents));
    text += buf;
  }
  return text;
}

std::string UnitPriceQuestion(const SuggestedUnitPrices& p) {
  static const char* const kNames[] = {"残業手当(普通)", "残業手当(深夜)", "休日残業(普通)", "休日残業(深夜)"};
  std::string text = "法定の割増率で単価を計算しました。入力しますか？\r\r";
  text += "時間単価 " + HourlyBaseText(p) + "円 = (";
  for (std::size_t i = 0; i < p.counted.size(); ++i) text += (i ? " + " : "") + p.counted[i];
  text += ") ÷ " + p.divisor + "\r";
  if (!p.excluded.empty()) {
    text += "算入しない手当: ";
    for (std::size_t i = 0; i < p.excluded.size(); ++i) text += (i ? "、" : "") + p.excluded[i];
    text += "\r";
  }
  for (int i = 0; i < 4; ++i) {
    text += std::string(kNames[i]) + " " + YenText(p.overtime[i]) + "円 (×" + PercentText(p.percents[i]) + ")\r";
  }
  if (p.absencePerDay) text += "欠勤控除額 " + YenText(*p.absencePerDay) + "円 (1日)\r";
  if (p.latenessPerHour) text += "遅早控除額 " + YenText(*p.latenessPerHour) + "円 (1時間)\r";
  return text;
}

std::vector<UnpricedRows> FindUnpricedRows(const PeriodBlock& period, const EnabledItemsByPayForm& enabled) {
  struct Row {
    Kintai hours;
    Sikyu item;
    const char* name;
    bool monthlyOnly;
  };
  static constexpr Row kRows[] = {
      {Kintai::OvertimeHours, Sikyu::Overtime, "普通残業時間", false},
      {Kintai::NightOvertimeHours, Sikyu::NightOvertime, "深夜残業時間", false},
      {Kintai::HolidayOvertime, Sikyu::HolidayOvertime, "休日普通残業", false},
      {Kintai::HolidayNightOvertime, Sikyu::HolidayNightOvertime, "休日深夜残業", false},
      {Kintai::AbsenceDays, Sikyu::Absence, "欠勤日数", true},
      {Kintai::LateHours, Sikyu::Lateness, "遅刻早退時間", true},
  };
  std::vector<UnpricedRows> found;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const EmployeeRecord& e = period.Employee(slot);
    if (!e.Active()) continue;
    const bool monthly = e.PayFormCode() == static_cast<int>(PayForm::Monthly);
    const EnabledItems& items = enabled.For(e.PayFormCode());
    UnpricedRows rows{e.Name(), {}};
    for (const Row& row : kRows) {
      if (row.monthlyOnly && !monthly) continue;
      if (!items.Has(row.item) || period.Payment(slot).Manual(row.item)) continue;
      if (period.Attendance(slot).Get(row.hours) == 0.0) continue;
      Yen price = 0;
      switch (row.item) {
        case Sikyu::Absence: price = e.AbsenceDeduction(); break;
        case Sikyu::Lateness: price = e.LatenessDeduction(); break;
        default: price = e.OvertimePrice(static_cast<int>(row.item) - static_cast<int>(Sikyu::Overtime)); break;
      }
      if (price == 0) rows.rows.emplace_back(row.name);
    }
    if (!rows.rows.empty()) found.push_back(std::move(rows));
  }
  return found;
}

std::string UnpricedRowsWarning(const std::vector<UnpricedRows>& found) {
  if (found.empty()) return {};
  std::string text = "単価が0円のため、次の時間・日数は0円で計算されています。\r社員情報の単価を確認して下さい。\r";
  for (const UnpricedRows& f : found) {
    text += "\r" + f.employee + "：";
    for (std::size_t i = 0; i < f.rows.size(); ++i) text += (i ? "、" : "") + f.rows[i];
  }
  return text;
}

}  // namespace paylark
