#include "calc/explain_steps.h"

#include <cmath>
#include <cstdio>

#include "calc/company_rates.h"
#include "calc/item_enabled.h"
#include "calc/item_fields.h"
#include "store/prefectures.h"

namespace paylark {
namespace {

const char* RateItemName(PremiumRateItem item) {
  switch (item) {
    case PremiumRateItem::Nursing: return "介護保険";
    case PremiumRateItem::Levy: return "子ども・子育て支援金";
    case PremiumRateItem::Pension: return "厚生年金";
    default: return "";
  }
}

ItemKind KindOf(const CalcInputs& in) { return IsBonusPeriod(in.period) ? ItemKind::Bonus : ItemKind::Salary; }

}  // namespace

std::string QuantityText(double value) { return PercentFigure(value); }

std::string PremiumRateText(const Explanation& x, const CompanyRecord& company, std::optional<PremiumRateItem> item,
                            double companyPercent) {
  const std::string figure = PercentFigure(companyPercent) + " %";
  const int insurer = company.HealthInsurer();
  const bool healthSide = item && (*item == PremiumRateItem::Health || *item == PremiumRateItem::Nursing ||
                                   *item == PremiumRateItem::Levy);
  if (item && x.sources.premiumRates != nullptr && x.sources.premiumMonth && (!healthSide || insurer >= 1)) {
    const std::uint16_t key = *item == PremiumRateItem::Health ? static_cast<std::uint16_t>(insurer) : 0;
    const PremiumRateRow* row = x.sources.premiumRates->FindRow(*item, key, *x.sources.premiumMonth);
    if (row != nullptr && SameRate(HalfPercentOf(row->millionths), companyPercent)) {
      const std::string who = *item == PremiumRateItem::Health ? "協会けんぽ " + PrefectureName(insurer)
                              : healthSide ? std::string("協会けんぽ ") + RateItemName(*item)
                                           : std::string(RateItemName(*item));
      return figure + "（" + who + "、" + EraMonthText(row->from) + "分から、" + PercentText(row->millionths) +
             " % の折半）";
    }
  }
  if (healthSide && insurer == 0) return figure + "（健康保険組合の料率、会社情報）";
  return figure + "（会社情報の料率）";
}

std::string TaxTableName(const RateTables& tables, const char* table) {
  const std::optional<CivilDate> edition = tables.EditionDate();
  return edition ? EraYearText(*edition) + "分 " + table : std::string(table);
}

std::string FieldName(const CalcInputs& in, ExplainedField field) {
  if (field.record == ExplainedRecord::Payment) {
    return SikyuPositionName(static_cast<Sikyu>(field.position), in.options, KindOf(in));
  }
  const Koujo k = static_cast<Koujo>(field.position);
  if (k == Koujo::ChildSupportLevy) return "子ども・子育て支援金";
  if (k == Koujo::YearEndAdjustment) return "年末調整";
  return KoujoPositionName(k, in.options, KindOf(in));
}

void ExplainStoredFigures(const CalcInputs& in, const EnabledItems& enabled, const PaymentRecord& payment, const DeductionRecord& deduction) {
  Explanation& x = *in.explanation;
  const bool bonus = IsBonusPeriod(in.period);
  auto taken = [&](ExplainedField f, Yen amount, bool listed, bool manual, const std::string& asIs) {
    ExplanationEntry* e = x.Find(f);
    if (!listed) {
      if (e != nullptr) x.Remove(f);
      return;
    }
    if (e == nullptr) {
      if (!manual && asIs.empty()) return;
      e = &x.Add(f, FieldName(in, f), amount);
      e->body = asIs;
    }
    e->amount = amount;
    if (manual) {
      e = &x.Add(f, FieldName(in, f), amount);
      e->body = "手入力の金額 " + YenText(amount) + "（手入力モード）";
      e->manual = true;
      e->inputs = {{e->name, static_cast<double>(amount), InputOrigin::Sheet}};
    }
  };

  for (int p = 1; p <= static_cast<int>(Sikyu::Lateness); ++p) {
    const Sikyu s = static_cast<Sikyu>(p);
    const Yen amount = payment.Get(s);
    std::string asIs;
    const bool master = (!bonus && s == Sikyu::PositionAllowance) || s == Sikyu::FamilyAllowance ||
                        (s >= Sikyu::FixedAllowance1 && s <= Sikyu::FixedAllowance3);
    const bool sheet = (bonus && (s == Sikyu::Bonus || s == Sikyu::DirectorPay)) ||
                       (s >= Sikyu::VariableAllowance1 && s <= Sikyu::VariableAllowance3);
    const std::string name = FieldName(in, PaymentField(s));
    if (master) asIs = "社員情報の" + name + " " + YenText(amount);
    if (sheet) asIs = "明細入力の" + name + " " + YenText(amount);
    taken(PaymentField(s), amount, enabled.Has(s), HasManualFlag(s) && payment.Manual(s), asIs);
    if (ExplanationEntry* e = x.Find(PaymentField(s)); e != nullptr && e->inputs.empty() && (master || sheet)) {
      e->inputs = {{name, static_cast<double>(amount), master ? InputOrigin::Master : InputOrigin::Sheet}};
    }
  }
  for (int p = 1; p <= static_cast<int>(Koujo::VariableDeduction3); ++p) {
    const Koujo k = static_cast<Koujo>(p);
    if (k == Koujo::SocialTotal || k == Koujo::AfterSocial) continue;
    const Yen amount = deduction.Get(k);
    std::string asIs;
    const std::string name = FieldName(in, DeductionField(k));
    const bool master = k >= Koujo::FixedDeduction1 && k <= Koujo::FixedDeduction3;
    const bool sheet = k >= Koujo::VariableDeduction1 && k <= Koujo::VariableDeduction3;
    if (master) asIs = "社員情報の" + name + " " + YenText(amount);
    if (sheet) asIs = "明細入力の" + name + " " + YenText(amount);
    taken(DeductionField(k), amount, enabled.Has(k), HasManualFlag(k) && deduction.Manual(k), asIs);
    if (ExplanationEntry* e = x.Find(DeductionField(k)); e != nullptr && e->inputs.empty() && (master || sheet)) {
      e->inputs = {{name, static_cast<double>(amount), master ? InputOrigin::Master : InputOrigin::Sheet}};
    }
  }
  taken(DeductionField(Koujo::ChildSupportLevy), deduction.Get(Koujo::ChildSupportLevy),
        enabled.Has(Koujo::ChildSupportLevy), deduction.Manual(Koujo::ChildSupportLevy), "");

  // The totals.
  const Yen taxable = payment.Get(Sikyu::TaxableTotal);
  const Yen premiums = deduction.Get(Koujo::SocialTotal);
  auto total = [&](ExplainedField f, Yen amount, std::string body, std::vector<ExplainedInput> inputs = {}) {
    ExplanationEntry& e = x.Add(f, FieldName(in, f), amount);
    e.body = std::move(body);
    e.inputs = std::move(inputs);
  };
  total(PaymentField(Sikyu::TaxableTotal), taxable, "課税となる支給項目の合計 " + YenText(taxable));
  total(PaymentField(Sikyu::Total), payment.Get(Sikyu::Total),
        "支給項目の合計（非課税通勤費を含む） " + YenText(payment.Get(Sikyu::Total)));
  total(DeductionField(Koujo::SocialTotal), premiums,
        "社会保険料と課税対象から除く控除の合計 " + YenText(premiums));
  total(DeductionField(Koujo::AfterSocial), deduction.Get(Koujo::AfterSocial),
        "課税支給合計 " + YenText(taxable) + " − 社会保険料計 " + YenText(premiums),
        {{"課税支給合計", static_cast<double>(taxable), InputOrigin::Calculated},
         {"社会保険料計", static_cast<double>(premiums), InputOrigin::Calculated}});
  const Yen adjustment = deduction.Get(Koujo::YearEndAdjustment);
  total(DeductionField(Koujo::Total), deduction.Get(Koujo::Total),
        adjustment != 0 ? "控除項目の合計（年末調整の過不足 " + YenText(adjustment) + " を含む）"
                        : std::string("控除項目の合計"));
  total(DeductionField(Koujo::SocialBase), deduction.Get(Koujo::SocialBase),
        "支給合計から社会保険の対象外の手当と社保の控除を除いた額 " + YenText(deduction.Get(Koujo::SocialBase)));
  if (adjustment != 0) {
    total(DeductionField(Koujo::YearEndAdjustment), adjustment,
          "年末調整の過不足額（年末調整の精算で記録） " + YenText(adjustment));
  }
}

}  // namespace paylark
