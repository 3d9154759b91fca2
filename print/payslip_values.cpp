#include "print/payslip_values.h"

#include <array>
#include <utility>

#include "calc/item_fields.h"

namespace paylark::print {
namespace {

// A standard name, or (name empty) the name the user gave a user item, and the position it shows.
template <typename Position>
struct NameEntry {
  std::string_view name;
  UserItem user;
  Position position;
};

// The user item of an entry with a standard name (never consulted).
constexpr UserItem kNone = UserItem::FixedAllowance1;

constexpr std::array<NameEntry<Sikyu>, 20> kPaymentNames{{
    {"基本給", kNone, Sikyu::BasePay},
    {"賞与", kNone, Sikyu::Bonus},
    {"役員報酬", kNone, Sikyu::DirectorPay},
    {"役職手当", kNone, Sikyu::PositionAllowance},
    {"家族手当", kNone, Sikyu::FamilyAllowance},
    {"", UserItem::FixedAllowance1, Sikyu::FixedAllowance1},
    {"", UserItem::FixedAllowance2, Sikyu::FixedAllowance2},
    {"", UserItem::FixedAllowance3, Sikyu::FixedAllowance3},
    {"普通残業手当", kNone, Sikyu::Overtime},
    {"深夜残業手当", kNone, Sikyu::NightOvertime},
    {"休日普通残業", kNone, Sikyu::HolidayOvertime},
    {"休日深夜残業", kNone, Sikyu::HolidayNightOvertime},
    {"非課税通勤費", kNone, Sikyu::CommuteNonTaxable},
    {"課税通勤費", kNone, Sikyu::CommuteTaxable},
    {"", UserItem::VariableAllowance1, Sikyu::VariableAllowance1},
    {"", UserItem::VariableAllowance2, Sikyu::VariableAllowance2},
    {"", UserItem::VariableAllowance3, Sikyu::VariableAllowance3},
    {"欠勤控除", kNone, Sikyu::Absence},
    {"遅刻早退控除", kNone, Sikyu::Lateness},
    {"課税支給合計", kNone, Sikyu::TaxableTotal},
}};

constexpr std::array<NameEntry<Sikyu>, 3> kOtherNames{{
    {"", UserItem::Other1, Sikyu::Other1},
    {"", UserItem::Other2, Sikyu::Other2},
    {"", UserItem::Other3, Sikyu::Other3},
}};

constexpr std::array<NameEntry<Koujo>, 17> kDeductionNames{{
    {"健康保険料", kNone, Koujo::Health},
    {"厚生年金保険", kNone, Koujo::Pension},
    {"厚生年金基金", kNone, Koujo::PensionFund},
    {"雇用保険料", kNone, Koujo::Employment},
    {"介護保険料", kNone, Koujo::Nursing},
    {"子ども・子育て支援金", kNone, Koujo::ChildSupportLevy},
    {"社会保険料計", kNone, Koujo::SocialTotal},
    {"社保控除後計", kNone, Koujo::AfterSocial},
    {"所得税", kNone, Koujo::IncomeTax},
    {"住民税", kNone, Koujo::ResidentTax},
    {"", UserItem::FixedDeduction1, Koujo::FixedDeduction1},
    {"", UserItem::FixedDeduction2, Koujo::FixedDeduction2},
    {"", UserItem::FixedDeduction3, Koujo::FixedDeduction3},
    {"", UserItem::VariableDeduction1, Koujo::VariableDeduction1},
    {"", UserItem::VariableDeduction2, Koujo::VariableDeduction2},
    {"", UserItem::VariableDeduction3, Koujo::VariableDeduction3},
    {"年末調整", kNone, Koujo::YearEndAdjustment},
}};

template <typename Position>
bool Matches(const NameEntry<Position>& entry, std::string_view name, const Options& options) {
  return entry.name.empty() ? options.Name(entry.user) == name : entry.name == name;
}

// The value of the last entry whose name matches; 0 when none does.
template <typename Record, typename Entries>
Yen LastMatch(const Record& record, const Entries& entries, std::string_view name, const Options& options) {
  Yen value = 0;
  if (name.empty()) return value;
  for (const auto& entry : entries) {
    if (Matches(entry, name, options)) value = record.Get(entry.position);
  }
  return value;
}

}  // namespace

double AttendanceValue(const AttendanceRecord& attendance, std::string_view name) {
  const std::optional<Kintai> field = KintaiFieldOfName(name);
  return field ? attendance.Get(*field) : 0;
}

Yen PaymentValue(const PaymentRecord& payments, std::string_view name, const Options& options) {
  return LastMatch(payments, kPaymentNames, name, options);
}

Yen DeductionValue(const DeductionRecord& deductions, std::string_view name, const Options& options) {
  return LastMatch(deductions, kDeductionNames, name, options);
}

Yen OtherValue(const PaymentRecord& payments, std::string_view name, const Options& options) {
  return LastMatch(payments, kOtherNames, name, options);
}

}  // namespace paylark::print
