#include "session/data_edit_rules.h"

#include "entry/display_format.h"
#include "entry/input_format.h"
#include "calc/item_fields.h"
#include "entry/number_parse.h"
#include "calc/rounding.h"
#include "store/item_settings.h"
#include "store/previous_period.h"
#include "store/yen_rounding.h"

namespace paylark::screens {
namespace {

constexpr std::array<std::string_view, 6> kDayCounts{"所定労働日数", "出勤日数", "有休日数",
                                                     "欠勤日数",     "休日出勤日数", "特別休暇日数"};
constexpr std::array<std::string_view, 3> kTotals{"課税支給合計", "社会保険料計", "社保控除後計"};

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

template <std::size_t N>
bool OneOf(std::string_view name, const std::array<std::string_view, N>& names) {
  for (std::string_view n : names) {
    if (name == n) return true;
  }
  return false;
}

// The entry without its prefix letter. Entries always begin with an ASCII "F" or "V"; a damaged
// entry that does not still loses one whole character, never part of one.
std::string WithoutPrefix(const std::string& entry) {
  if (entry.empty()) return {};
  std::size_t length = 1;
  const auto lead = static_cast<unsigned char>(entry[0]);
  if (lead >= 0xF0) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = 3;
  } else if (lead >= 0xC0) {
    length = 2;
  }
  return length < entry.size() ? entry.substr(length) : std::string();
}

bool Money(RowGroup group) { return group != RowGroup::Kintai; }

}  // namespace

RowView ViewOfRow(RowGroup group, const std::string& entry, const PeriodBlock& period, int slot,
                  const Options& options) {
  RowView view;
  const std::string resolved = group == RowGroup::Kintai ? entry : ResolveItemKey(entry, options);
  view.label = WithoutPrefix(resolved);
  const bool fixed = !resolved.empty() && resolved[0] == 'F';
  switch (group) {
    case RowGroup::Kintai:
      view.calculated = fixed;
      view.readOnly = fixed;
      if (const auto field = KintaiFieldOfName(view.label)) view.value = period.Attendance(slot).Get(*field);
      break;
    case RowGroup::Sikyu:
      view.calculated = fixed;
      if (const auto field = SikyuFieldOfName(view.label, options)) {
        const PaymentRecord& payment = period.Payment(slot);
        view.value = payment.Get(*field);
        view.manual = HasManualFlag(*field) && payment.Manual(*field);
      }
      view.readOnly = !view.manual && fixed;
      break;
    case RowGroup::Koujo:
      view.calculated = fixed;
      if (const auto field = KoujoFieldOfName(view.label, options)) {
        const DeductionRecord& deduction = period.Deduction(slot);
        view.value = deduction.Get(*field);
        view.manual = HasManualFlag(*field) && deduction.Manual(*field);
      }
      view.readOnly = !view.manual && fixed;
      break;
    case RowGroup::Sonota:
      if (const auto other = OtherItemOfName(view.label, options)) {
        view.value = period.Payment(slot).Get(SikyuOther(*other));
      }
      break;
  }
  view.text = FieldText(group, view.label, view.value, options.timeStyle);
  return view;
}

bool IsHourItem(std::string_view label) { return Contains(label, "時間") || Contains(label, "残業"); }

std::string AcceptedCharacters(RowGroup group, std::string_view label) {
  if (Money(group)) return "-0123456789";
  return IsHourItem(label) ? "-.:0123456789" : "-.0123456789";
}

int CheckFormatCode(RowGroup group, std::string_view label) {
  if (group == RowGroup::Kintai) return OneOf(label, kDayCounts) ? 52 : 62;
  return OneOf(label, kTotals) ? 100 : 90;
}

std::string FieldText(RowGroup group, std::string_view label, double value, int timeStyle) {
  if (Money(group)) return FormatAmount(kAmountWidth, value);
  return IsHourItem(label) ? FormatHours(value, timeStyle) : FormatDays(value);
}

std::string CommitFieldText(RowGroup group, std::string_view label, std::string_view typed, int timeStyle,
                            Reporter& reporter) {
  const int code = CheckFormatCode(group, label);
  std::string text = NormalizeNumericField(typed, code, reporter);
  SilentReporter silent;  // a normalised text always converts
  if (code == 52 && !text.empty() && ParseNumber(text, silent) > 31) {
    reporter.Error(kMsgDayLimit);
    text.clear();
  }
  if (group == RowGroup::Kintai) return FieldText(group, label, ParseNumber(text, silent), timeStyle);
  return FormatAmount(kAmountWidth, ParseInteger(text, reporter));
}

void WriteBackRow(RowGroup group, std::string_view label, std::string_view text, PeriodBlock& period, int slot,
                  const Options& options) {
  SilentReporter silent;  // the texts were normalised when their fields were left
  switch (group) {
    case RowGroup::Kintai:
      if (const auto field = KintaiFieldOfName(label)) period.Attendance(slot).Set(*field, ParseNumber(text, silent));
      break;
    case RowGroup::Sikyu:
      if (const auto field = SikyuFieldOfName(label, options)) {
        period.Payment(slot).Set(*field, ParseInteger(text, silent));
      }
      break;
    case RowGroup::Koujo:
      if (const auto field = KoujoFieldOfName(label, options)) {
        period.Deduction(slot).Set(*field, ParseInteger(text, silent));
      }
      break;
    case RowGroup::Sonota:
      if (const auto other = OtherItemOfName(label, options)) {
        const Yen amount = ParseInteger(text, silent);
        period.Payment(slot).Set(SikyuOther(*other), amount);
        period.Deduction(slot).Set(KoujoOther(*other), amount);
      }
      break;
  }
}

bool ManualSwitchAllowed(RowGroup group, std::string_view label, bool calculated) {
  return (group == RowGroup::Sikyu || group == RowGroup::Koujo) && calculated && !OneOf(label, kTotals);
}

std::optional<bool> ToggleManual(RowGroup group, std::string_view label, PeriodBlock& period, int slot,
                                 const Options& options) {
  if (group == RowGroup::Sikyu) {
    const auto field = SikyuFieldOfName(label, options);
    if (!field || !HasManualFlag(*field)) return std::nullopt;
    PaymentRecord& payment = period.Payment(slot);
    payment.SetManual(*field, !payment.Manual(*field));
    return payment.Manual(*field);
  }
  if (group == RowGroup::Koujo) {
    const auto field = KoujoFieldOfName(label, options);
    if (!field || !HasManualFlag(*field)) return std::nullopt;
    DeductionRecord& deduction = period.Deduction(slot);
    deduction.SetManual(*field, !deduction.Manual(*field));
    return deduction.Manual(*field);
  }
  return std::nullopt;
}

std::string CalculatorText(RowGroup group, std::string_view label, long double value, const Options& options,
                           int timeStyle) {
  const auto v = static_cast<double>(value);
  RoundingMode mode = RoundingMode::Truncate;
  switch (group) {
    case RowGroup::Kintai: return FieldText(group, label, v, timeStyle);
    case RowGroup::Koujo: mode = options.deductionRounding; break;
    case RowGroup::Sikyu:
      mode = label == "欠勤控除" || label == "遅刻早退控除" ? options.reductionRounding : options.paymentRounding;
      break;
    case RowGroup::Sonota: break;
  }
  return FormatAmount(kAmountWidth, RoundYen(mode, v));
}

std::optional<std::string> CarriedBalanceText(double storedBalance, double previousBalance, double taken) {
  if (storedBalance != 0 || previousBalance == kPaidLeaveNotFound) return std::nullopt;
  return FormatDays(previousBalance - taken);
}

std::optional<int> ActiveSlotBefore(const PeriodBlock& period, int slot) {
  for (int s = slot - 1; s >= 1; --s) {
    if (period.Employee(s).Active()) return s;
  }
  return std::nullopt;
}

std::optional<int> ActiveSlotAfter(const PeriodBlock& period, int slot) {
  for (int s = slot + 1; s <= kSlotCount; ++s) {
    if (period.Employee(s).Active()) return s;
  }
  return std::nullopt;
}

DetailTotals TotalsOf(const PaymentRecord& payment, const DeductionRecord& deduction,
                      const std::array<double, 3>& others) {
  DetailTotals t;
  t.payments = payment.Get(Sikyu::Total);
  t.deductions = deduction.Get(Koujo::Total);
  for (double other : others) AddTo(t.others, TruncateYen(other));
  t.net = CheckedSub(CheckedAdd(t.payments, t.others), t.deductions);
  return t;
}

std::string WindowTitle(std::string_view name) { return "明細入力画面 【" + std::string(name) + "】"; }

std::string SlipCaption(bool bonusPeriod) { return bonusPeriod ? "賞与明細書" : "給与明細書"; }

std::string RowExplanation(RowGroup group, std::string_view label, const Explanation& explanation, int slot,
                           const Options& options) {
  std::optional<ExplainedField> field;
  if (group == RowGroup::Sikyu) {
    if (const auto p = SikyuFieldOfName(label, options)) field = PaymentField(*p);
  } else if (group == RowGroup::Koujo) {
    if (const auto k = KoujoFieldOfName(label, options)) field = DeductionField(*k);
  }
  const ExplanationEntry* entry = field ? explanation.Find(slot, *field) : nullptr;
  return entry != nullptr ? entry->DetailText() : std::string(kNoExplanation);
}

}  // namespace paylark::screens
