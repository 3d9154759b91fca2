#include "calc/explanation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calc/company_rates.h"
#include "store/premium_rates.h"
#include "store/year_file.h"

namespace paylark {

const char* InputOriginName(InputOrigin origin) {
  switch (origin) {
    case InputOrigin::Master: return "社員情報";
    case InputOrigin::Sheet: return "明細入力";
    case InputOrigin::Company: return "会社情報";
    case InputOrigin::EarlierPeriod: return "前月分";
    case InputOrigin::PreviousYearFile: return "前年のファイル";
    case InputOrigin::Table: return "表";
    case InputOrigin::Calculated: return "計算";
    case InputOrigin::Declaration: return "申告";
  }
  return "";
}

std::string YenText(std::int64_t amount) {
  const bool negative = amount < 0;
  std::string digits = std::to_string(negative ? -amount : amount);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), ",");
  return negative ? "−" + digits : digits;
}

std::string ExactText(double value) {
  char text[64];
  // A damaged rate can give a product far beyond any amount: shown as it is, not grouped.
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) {
    std::snprintf(text, sizeof text, "%g", value);
    return text;
  }
  std::snprintf(text, sizeof text, "%.2f", std::fabs(value));
  const std::string s = text;
  const std::size_t dot = s.find('.');
  std::string whole = s.substr(0, dot);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(static_cast<std::size_t>(i), ",");
  const bool negative = value < 0 && s != "0.00";
  return (negative ? "−" : "") + whole + s.substr(dot);
}

std::string PercentFigure(double percent) {
  char text[64];
  if (!std::isfinite(percent) || std::fabs(percent) >= 1e12) {
    std::snprintf(text, sizeof text, "%g", percent);
    return text;
  }
  std::snprintf(text, sizeof text, "%.6f", percent);
  std::string s = text;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

std::string RoundingModeText(RoundingMode mode) {
  switch (mode) {
    case RoundingMode::Truncate: return "切捨て";
    case RoundingMode::Up: return "切上げ";
    case RoundingMode::Half: return "四捨五入";
  }
  return "";
}

std::string EraYearText(const CivilDate& date) {
  const EraYear era = EraOf(date);
  return era.era + (era.year == 1 ? std::string("元") : std::to_string(era.year)) + "年";
}

std::string EraMonthText(const CivilDate& date) { return EraYearText(date) + std::to_string(date.month) + "月"; }

std::string ExplanationEntry::Text() const {
  std::string text = name + " " + YenText(amount) + " ＝ " + body;
  if (exact) text += (body.ends_with("）") ? "＝ " : " ＝ ") + ExactText(*exact);
  if (!rounding.empty()) text += " → " + rounding;
  if (exact || !rounding.empty() || lookup) text += " → " + YenText(amount);
  return text;
}

void Explanation::Begin(int slot) {
  slot_ = slot;
  std::erase_if(entries_, [&](const ExplanationEntry& e) { return e.slot == slot; });
}

std::string ExplanationEntry::DetailText() const {
  std::string text = Text();
  for (const ExplainedInput& i : inputs) {
    const bool whole = i.value == static_cast<double>(static_cast<std::int64_t>(i.value));
    text += "\n・" + i.name + " " + (whole ? YenText(static_cast<std::int64_t>(i.value)) : PercentFigure(i.value)) +
            "（" + InputOriginName(i.origin) + "）";
  }
  return text;
}

ExplanationEntry& Explanation::Add(ExplainedField field, std::string name, Yen amount) {
  Remove(field);
  ExplanationEntry& e = entries_.emplace_back();
  e.field = field;
  e.slot = slot_;
  e.name = std::move(name);
  e.amount = amount;
  return e;
}

const ExplanationEntry* Explanation::Find(int slot, ExplainedField field) const {
  for (const ExplanationEntry& e : entries_)
    if (e.slot == slot && e.field == field) return &e;
  return nullptr;
}

ExplanationEntry* Explanation::Find(ExplainedField field) {
  for (ExplanationEntry& e : entries_)
    if (e.slot == slot_ && e.field == field) return &e;
  return nullptr;
}

void Explanation::Remove(ExplainedField field) {
  std::erase_if(entries_, [&](const ExplanationEntry& e) { return e.slot == slot_ && e.field == field; });
}

std::vector<const ExplanationEntry*> Explanation::OfSlot(int slot) const {
  std::vector<const ExplanationEntry*> list;
  for (const ExplanationEntry& e : entries_)
    if (e.slot == slot) list.push_back(&e);
  std::stable_sort(list.begin(), list.end(), [](const ExplanationEntry* a, const ExplanationEntry* b) {
    if (a->field.record != b->field.record) return a->field.record < b->field.record;
    return a->field.position < b->field.position;
  });
  return list;
}

std::string Explanation::Text(int slot) const {
  std::string text;
  for (const ExplanationEntry* e : OfSlot(slot)) text += e->Text() + "\n\n";
  return text;
}

ExplanationSources SourcesOfPeriod(const PremiumRates& rates, const OpenPeriod& open) {
  ExplanationSources s;
  s.premiumRates = &rates;
  if (const auto dates = RateDatesOfPeriod(open.eraYear, open.periodIndex, open.period.company, open.header)) {
    s.premiumMonth = dates->rateMonth;
  }
  return s;
}

}  // namespace paylark
