#include "calc/item_fields.h"

#include <array>
#include <utility>

#include "calc/item_enabled.h"

namespace paylark {
namespace {

constexpr std::array<std::pair<std::string_view, Kintai>, kKintaiFieldCount> kKintaiNames{{
    {"所定労働日数", Kintai::ScheduledDays},
    {"出勤日数", Kintai::WorkDays},
    {"有休日数", Kintai::PaidLeaveDays},
    {"欠勤日数", Kintai::AbsenceDays},
    {"休日出勤日数", Kintai::HolidayWorkDays},
    {"特別休暇日数", Kintai::SpecialLeaveDays},
    {"所定労働時間", Kintai::ScheduledHours},
    {"実働時間", Kintai::WorkedHours},
    {"普通残業時間", Kintai::OvertimeHours},
    {"深夜残業時間", Kintai::NightOvertimeHours},
    {"休日普通残業", Kintai::HolidayOvertime},
    {"休日深夜残業", Kintai::HolidayNightOvertime},
    {"遅刻早退回数", Kintai::LateCount},
    {"遅刻早退時間", Kintai::LateHours},
    {"有休残日数", Kintai::PaidLeaveBalance},
}};

}  // namespace

std::optional<Kintai> KintaiFieldOfName(std::string_view name) {
  for (const auto& [itemName, field] : kKintaiNames) {
    if (name == itemName) return field;
  }
  return std::nullopt;
}

std::string_view KintaiItemName(Kintai field) {
  for (const auto& [itemName, f] : kKintaiNames) {
    if (f == field) return itemName;
  }
  return {};
}

std::optional<Sikyu> SikyuFieldOfName(std::string_view name, const Options& options) {
  if (name.empty()) return std::nullopt;
  if (name == "賞与") return Sikyu::Bonus;
  if (name == "役員報酬") return Sikyu::DirectorPay;
  if (name == "課税支給合計") return Sikyu::TaxableTotal;
  for (int p = static_cast<int>(Sikyu::BasePay); p <= static_cast<int>(Sikyu::Lateness); ++p) {
    const auto position = static_cast<Sikyu>(p);
    if (SikyuItemName(position, options, ItemKind::Salary) == name) return position;
  }
  return std::nullopt;
}

std::optional<Koujo> KoujoFieldOfName(std::string_view name, const Options& options) {
  if (name.empty()) return std::nullopt;
  if (name == "社会保険料計") return Koujo::SocialTotal;
  if (name == "社保控除後計") return Koujo::AfterSocial;
  if (name == KoujoItemName(Koujo::ChildSupportLevy, options, ItemKind::Salary)) return Koujo::ChildSupportLevy;
  for (int p = static_cast<int>(Koujo::Health); p <= static_cast<int>(Koujo::VariableDeduction3); ++p) {
    const auto position = static_cast<Koujo>(p);
    if (KoujoItemName(position, options, ItemKind::Salary) == name) return position;
  }
  return std::nullopt;
}

std::optional<int> OtherItemOfName(std::string_view name, const Options& options) {
  if (name.empty()) return std::nullopt;
  for (int i = 1; i <= 3; ++i) {
    if (options.Name(static_cast<UserItem>(static_cast<int>(UserItem::Other1) + i - 1)) == name) return i;
  }
  return std::nullopt;
}

bool HasManualFlag(Sikyu position) {
  const int p = static_cast<int>(position);
  return (p >= 1 && p <= 12) || position == Sikyu::Absence || position == Sikyu::Lateness;
}

bool HasManualFlag(Koujo position) {
  const int p = static_cast<int>(position);
  return (p >= 1 && p <= 12) || position == Koujo::ChildSupportLevy;
}

}  // namespace paylark
