// The explanation of computed amounts: for each figure the calculation stores, the steps that
// produced it — the inputs and where they came from, the rule, the table with its row or band and
// edition, the rate and its source, the exact value before rounding, the rounding and the result.
//
// The salary, bonus and year-end calculations fill an Explanation only when one is handed to them
// (CalcInputs::explanation, the last parameter of ComputeYearEnd); the figures come from the very
// values the calculation uses, so an explanation always recomputes to its amount. Without one the
// calculation pays a null check.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/era.h"
#include "store/money.h"
#include "store/options.h"
#include "store/period.h"

namespace paylark {

class PremiumRates;
struct OpenPeriod;

// Which stored figure an explanation is about: a payment or deduction position of the slot, or a
// line of the year-end result (the index in YearEndLines()).
enum class ExplainedRecord { Payment, Deduction, YearEnd };
struct ExplainedField {
  ExplainedRecord record = ExplainedRecord::Payment;
  int position = 0;
  bool operator==(const ExplainedField&) const = default;
};
inline ExplainedField PaymentField(Sikyu p) { return {ExplainedRecord::Payment, static_cast<int>(p)}; }
inline ExplainedField DeductionField(Koujo p) { return {ExplainedRecord::Deduction, static_cast<int>(p)}; }
inline ExplainedField YearEndField(int line) { return {ExplainedRecord::YearEnd, line}; }

// Where an input comes from.
enum class InputOrigin {
  Master,            // 社員情報
  Sheet,             // 明細入力 (the month's attendance or an amount typed into the sheet)
  Company,           // 会社情報
  EarlierPeriod,     // an earlier period of this year's file
  PreviousYearFile,  // the previous year's file
  Table,             // a rate table
  Calculated,        // another computed amount of this calculation
  Declaration,       // the year-end declarations
};
const char* InputOriginName(InputOrigin origin);

struct ExplainedInput {
  std::string name;
  double value = 0;
  InputOrigin origin = InputOrigin::Calculated;
};

struct ExplanationEntry {
  ExplainedField field;
  int slot = 0;        // the employee's slot (0 for a year-end result)
  std::string name;    // "健康保険料"
  Yen amount = 0;      // the stored figure
  std::vector<ExplainedInput> inputs;
  std::string body;    // the working: "標準報酬月額 320,000（23等級）× 4.925 %（…）"
  std::string table;   // the table with its edition: "令和8年分 月額表"; empty when none
  std::string row;     // the row or band: "278,000以上281,000未満の行"; empty when none
  std::string rate;    // the rate with its source; empty when none
  std::optional<double> exact;  // the value before rounding
  std::string rounding;         // the rounding: "50銭以下切捨て"; empty when none
  bool lookup = false;          // the body ends in a look-up whose result follows ("→ 3,950")
  bool manual = false;          // an amount typed in with the manual-entry flag

  // "健康保険料 15,760 ＝ 標準報酬月額 … ＝ 15,760.00 → 50銭以下切捨て → 15,760"
  std::string Text() const;
  // Text() followed by the inputs, one line each: "・社保控除後計 280,783（計算）".
  std::string DetailText() const;
};

// What the caller knows of the sources of the rates: the premium rate data and the premium month
// of the period (協会けんぽ's rates are named by prefecture and the month they apply from).
struct ExplanationSources {
  const PremiumRates* premiumRates = nullptr;
  std::optional<CivilDate> premiumMonth;  // 保険料の月 (day 1)
};

// The entries of one or more slots; a calculation of a slot first drops what an earlier one
// recorded for it (Begin), then adds to it.
class Explanation {
 public:
  ExplanationSources sources;

  void Begin(int slot);
  int Slot() const { return slot_; }
  // Adds (or replaces) the entry of a field of the current slot.
  ExplanationEntry& Add(ExplainedField field, std::string name, Yen amount);
  // The entry of a field of the current slot, or of `slot`; null when none was recorded.
  const ExplanationEntry* Find(ExplainedField field) const { return Find(slot_, field); }
  ExplanationEntry* Find(ExplainedField field);
  const ExplanationEntry* Find(int slot, ExplainedField field) const;
  void Remove(ExplainedField field);
  // The entries of a slot in record order (payments, deductions, year-end lines).
  std::vector<const ExplanationEntry*> OfSlot(int slot) const;
  const std::vector<ExplanationEntry>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }
  // Every entry's text of a slot, one block (a line and an empty line) each.
  std::string Text(int slot) const;

 private:
  std::vector<ExplanationEntry> entries_;
  int slot_ = 0;
};

// The sources of a stored period: the rate data and the premium month of `open`'s period.
ExplanationSources SourcesOfPeriod(const PremiumRates& rates, const OpenPeriod& open);

// Texts of the explanations.
std::string YenText(std::int64_t amount);         // 1,234,567; −1,234
std::string ExactText(double value);              // 15,760.00
std::string PercentFigure(double percent);        // 4.925 (no trailing zeros)
std::string RoundingModeText(RoundingMode mode);  // 切捨て, 切上げ, 四捨五入
std::string EraMonthText(const CivilDate& date);  // 令和8年3月
std::string EraYearText(const CivilDate& date);   // 令和8年

}  // namespace paylark
