#include "calc/premiums.h"

#include <algorithm>

#include "calc/explain_steps.h"
#include "calc/explanation.h"
#include "calc/payment_date.h"
#include "calc/premium_month.h"
#include "calc/rounding.h"

namespace paylark {
namespace {

constexpr Yen kPensionBonusCap = 1'500'000;  // per month of payment

// The cap of the standard bonus of health insurance, by the payment date from which it applies.
struct HealthBonusCap {
  CivilDate from;
  Yen cap;
  bool perFiscalYear;  // cumulative over the fiscal year, else per bonus
};
constexpr HealthBonusCap kHealthBonusCaps[] = {
    {{1, 1, 1}, 2'000'000, false},
    {{2007, 4, 1}, 5'400'000, true},
    {{2016, 4, 1}, 5'730'000, true},
};

const HealthBonusCap& HealthCapOn(const std::optional<CivilDate>& paid) {
  const HealthBonusCap* found = &kHealthBonusCaps[std::size(kHealthBonusCaps) - 1];
  if (!paid) return *found;
  for (const HealthBonusCap& c : kHealthBonusCaps) {
    if (c.from <= *paid) found = &c;
  }
  return *found;
}

// Rate in per cent applied to a standard remuneration: the rate is divided by 100 in extended
// precision, the product rounded to a double, then the fifty-sen rule applies.
Yen FiftySenPremium(double ratePercent, Yen standard, double* exact = nullptr) {
  const double product = static_cast<double>(static_cast<long double>(ratePercent) / 100.0L * standard);
  if (exact != nullptr) *exact = product;
  return RoundYen(RoundingMode::Truncate, RoundFiftySen(product));
}

constexpr const char* kFiftySenRule = "50銭以下切捨て";

// A salary month's premium as the employee master holds it, explained by the grade it was set
// from: standard × rate by the fifty-sen rule when that gives the stored amount, else the master
// amount as typed.
void ExplainMasterPremium(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                          Koujo item, Yen amount, bool subject, std::optional<PremiumRateItem> rateItem,
                          double ratePercent, bool pensionSide) {
  Explanation& x = *in.explanation;
  const ExplainedField field = DeductionField(item);
  ExplanationEntry& e = x.Add(field, FieldName(in, field), amount);
  if (!subject) {
    e.body = "加入していない（社員情報）";
    return;
  }
  const int grade = employee.Grade();
  const int row = pensionSide ? in.tables.PensionGrade(grade) : grade;
  const Yen standard = grade >= 1 && grade <= in.tables.GradeCount() ? in.tables.HealthGrade(row).standard : 0;
  const std::string rate = PremiumRateText(x, company, rateItem, ratePercent);
  if (standard > 0) {
    double exact = 0;
    const Yen fromGrade = FiftySenPremium(ratePercent, standard, &exact);
    const std::string working = "標準報酬月額 " + YenText(standard) + "（" +
                                (pensionSide ? "健康保険 " : "") + std::to_string(grade) + "等級）× " + rate;
    if (fromGrade == amount) {
      e.body = working;
      e.rate = rate;
      e.row = std::to_string(grade) + "等級";
      e.table = "健康保険・厚生年金保険の保険料額表";
      e.exact = exact;
      e.rounding = kFiftySenRule;
      e.inputs = {{"標準報酬月額", static_cast<double>(standard), InputOrigin::Table},
                  {"料率", ratePercent, InputOrigin::Company}};
      return;
    }
    e.body = "社員情報の金額 " + YenText(amount) + "（" + working + " ＝ " + YenText(fromGrade) +
             " とは異なる、社員情報で入力された金額）";
  } else {
    e.body = "社員情報の金額 " + YenText(amount) + "（標準報酬月額の等級なし）";
  }
  e.inputs = {{e.name, static_cast<double>(amount), InputOrigin::Master}};
}

// A bonus's premium: the base × the company's rate by the deduction rounding.
void ExplainBonusPremium(const CalcInputs& in, const CompanyRecord& company, Koujo item, Yen amount, bool subject,
                         std::optional<PremiumRateItem> rateItem, double ratePercent, Yen base,
                         const std::string& baseText) {
  Explanation& x = *in.explanation;
  const ExplainedField field = DeductionField(item);
  ExplanationEntry& e = x.Add(field, FieldName(in, field), amount);
  if (!subject) {
    e.body = "加入していない（社員情報）";
    return;
  }
  e.rate = PremiumRateText(x, company, rateItem, ratePercent);
  e.body = baseText + (baseText.ends_with("）") ? "× " : " × ") + e.rate;
  e.exact = ratePercent / 100.0 * base;
  e.rounding = "控除項目の端数処理 " + RoundingModeText(in.options.deductionRounding);
  e.inputs = {{"標準賞与額", static_cast<double>(base), InputOrigin::Calculated},
              {"料率", ratePercent, InputOrigin::Company}};
}

Yen StandardBonus(Yen taxableTotal) { return taxableTotal / 1000 * 1000; }  // thousands, towards zero

// The sum of the employee's standard bonuses paid before this one in its fiscal year (health
// subject bonuses only): this file's other bonus periods paid earlier (the same day: a lower
// period number) and the previous year's file's bonuses of April–December.
std::int64_t EarlierStandardBonuses(const CalcInputs& in, const EmployeeRecord& employee) {
  if (in.lookup == nullptr || !in.payDate) return 0;
  const CivilDate paid = *in.payDate;
  const int fiscalYear = FiscalYearOf(paid);
  std::int64_t sum = 0;
  for (const EarlierBonus& b : in.lookup->FindBonuses(in.period, employee.Key())) {
    if (!b.healthSubject) continue;
    const CivilDate date = BonusPaymentDate(b.previousYear ? paid.year - 1 : paid.year, b.payMonth, b.payDay);
    if (FiscalYearOf(date) != fiscalYear) continue;
    const bool earlier = date < paid || (date == paid && !b.previousYear && b.period < in.period);
    if (!earlier) continue;
    const Yen standard = StandardBonus(b.taxableTotal);
    if (standard > 0) sum += standard;
  }
  return sum;
}

std::optional<CivilDate> SalaryClosingDate(const CalcInputs& in, const CompanyRecord& company) {
  if (!in.payDate) return std::nullopt;
  return WageClosingDate(company, *in.payDate);
}

}  // namespace

Yen Premiums::Get(Koujo p) const {
  switch (p) {
    case Koujo::Health: return health;
    case Koujo::Pension: return pension;
    case Koujo::PensionFund: return pensionFund;
    case Koujo::Employment: return employment;
    case Koujo::Nursing: return nursing;
    case Koujo::ChildSupportLevy: return levy;
    default: return 0;
  }
}

Yen EmploymentPremium(const CalcInputs& in, const CompanyRecord& company, Yen base,
                      const std::optional<CivilDate>& closingDate) {
  ExplanationEntry* e = nullptr;
  if (in.explanation != nullptr) {
    const ExplainedField field = DeductionField(Koujo::Employment);
    e = &in.explanation->Add(field, FieldName(in, field), 0);
    e->inputs = {{"支給額", static_cast<double>(base), InputOrigin::Calculated}};
  }
  // Texts only for an explanation: without one the premium costs no formatting.
  const std::string baseText =
      e == nullptr ? std::string()
                   : (IsBonusPeriod(in.period) ? "支給項目合計（役員報酬を除く） " : "支給項目合計 ") + YenText(base);
  const char* kind = company.GeneralBusiness() ? "一般の事業" : "一般の事業以外";
  Yen premium = 0;
  if (company.UseEmploymentTable()) {
    if (closingDate) {
      CivilDate from{};
      if (const auto rate = in.tables.EmploymentRateOn(in.presence, *closingDate, company.GeneralBusiness(), &from)) {
        premium = EmploymentPremiumAtRate(base, *rate);
        if (e != nullptr) {
          e->table = "雇用保険料額表";
          e->rate = PerMilleText(*rate) + " ‰（雇用保険料率 " + kind + "、" + EraYearText(from) +
                    std::to_string(from.month) + "月" + std::to_string(from.day) + "日締切分から、被保険者負担分）";
          e->body = baseText + " × " + e->rate;
          e->exact = static_cast<double>(std::int64_t{base} * *rate) / kRateMillionths;
          e->rounding = "50銭以下切捨て、50銭超切上げ";
          e->inputs.push_back({"料率（百万分率）", static_cast<double>(*rate), InputOrigin::Table});
          e->amount = premium;
        }
        return premium;
      }
    }
    EmploymentTableStep step;
    premium = in.tables.EmploymentPremiumFromTable(in.presence, base, company.GeneralBusiness(),
                                                   e != nullptr ? &step : nullptr);
    if (e != nullptr) {
      e->table = "雇用保険料額表";
      if (step.fromRow) {
        e->row = YenText(step.lower) + "以上" + YenText(step.upper) + "未満の行";
        e->body = "雇用保険料額表（" + std::string(kind) + "）、" + baseText + " → " + e->row;
        e->lookup = true;
      } else {
        e->rate = PercentFigure(step.fixedRate * 100) + " %（表に該当する行がないときの定率、" + kind + "）";
        e->body = baseText + " × " + e->rate;
        e->exact = step.exact;
        e->rounding = "円未満切捨て";
        e->inputs.push_back({"料率", step.fixedRate * 100, InputOrigin::Table});
      }
      e->amount = premium;
    }
    return premium;
  }
  premium = DeductYen(in.options, company.EmploymentRate() / 100.0, base);
  if (e != nullptr) {
    e->rate = PercentFigure(company.EmploymentRate()) + " %（会社情報の料率）";
    e->body = baseText + " × " + e->rate;
    e->exact = company.EmploymentRate() / 100.0 * base;
    e->rounding = "控除項目の端数処理 " + RoundingModeText(in.options.deductionRounding);
    e->inputs.push_back({"料率", company.EmploymentRate(), InputOrigin::Company});
    e->amount = premium;
  }
  return premium;
}

Premiums MonthlyPremiums(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                         Yen totalPayment) {
  Premiums p;
  p.health = employee.HealthSubject() ? employee.HealthPremium() : 0;
  p.pension = employee.PensionSubject() ? employee.PensionPremium() : 0;
  p.pensionFund = employee.FundMember() ? employee.FundContribution() : 0;
  p.employment =
      employee.EmploymentSubject() ? EmploymentPremium(in, company, totalPayment, SalaryClosingDate(in, company)) : 0;
  p.nursing = employee.NursingCollected() ? employee.NursingPremium() : 0;
  p.levy = employee.HealthSubject() && company.LevyRate() != 0 ? employee.LevyPremium() : 0;
  if (in.explanation != nullptr) {
    using I = PremiumRateItem;
    ExplainMasterPremium(in, company, employee, Koujo::Health, p.health, employee.HealthSubject(), I::Health,
                         company.HealthRate(), false);
    ExplainMasterPremium(in, company, employee, Koujo::Nursing, p.nursing, employee.NursingCollected(), I::Nursing,
                         company.NursingRate(), false);
    ExplainMasterPremium(in, company, employee, Koujo::ChildSupportLevy, p.levy,
                         employee.HealthSubject() && company.LevyRate() != 0, I::Levy, company.LevyRate(), false);
    ExplainMasterPremium(in, company, employee, Koujo::Pension, p.pension, employee.PensionSubject(), I::Pension,
                         company.PensionRate(), true);
    ExplainMasterPremium(in, company, employee, Koujo::PensionFund, p.pensionFund, employee.FundMember(),
                         std::nullopt, company.PensionFundRate(), true);
    if (!employee.EmploymentSubject()) {
      in.explanation->Add(DeductionField(Koujo::Employment), FieldName(in, DeductionField(Koujo::Employment)), 0)
          .body = "加入していない（社員情報）";
    }
  }
  return p;
}

Yen HealthBonusBase(Yen standardBonus, const std::optional<CivilDate>& paid, std::int64_t earlierStandardBonuses) {
  const HealthBonusCap& rule = HealthCapOn(paid);
  if (standardBonus <= 0) return standardBonus;
  if (!rule.perFiscalYear) return std::min(standardBonus, rule.cap);
  const std::int64_t left = std::max<std::int64_t>(0, rule.cap - earlierStandardBonuses);
  return static_cast<Yen>(std::min<std::int64_t>(standardBonus, left));
}

Premiums BonusPremiums(const CalcInputs& in, const CompanyRecord& company, const EmployeeRecord& employee,
                       Yen taxableTotal, Yen totalPayment, Yen directorPay) {
  const Yen standardBonus = StandardBonus(taxableTotal);
  const bool perFiscalYear = HealthCapOn(in.payDate).perFiscalYear;
  const Yen healthBase = HealthBonusBase(
      standardBonus, in.payDate, perFiscalYear && employee.HealthSubject() ? EarlierStandardBonuses(in, employee) : 0);
  const Yen pensionBase = std::min(standardBonus, kPensionBonusCap);
  const Options& o = in.options;
  Premiums p;
  p.health = employee.HealthSubject() ? DeductYen(o, company.HealthRate() / 100.0, healthBase) : 0;
  p.pension = employee.PensionSubject() ? DeductYen(o, company.PensionRate() / 100.0, pensionBase) : 0;
  p.pensionFund = employee.FundMember() ? DeductYen(o, company.PensionFundRate() / 100.0, pensionBase) : 0;
  p.employment = employee.EmploymentSubject()
                     ? EmploymentPremium(in, company, CheckedSub(totalPayment, directorPay), in.payDate)
                     : 0;
  p.nursing = employee.NursingCollected() ? DeductYen(o, company.NursingRate() / 100.0, healthBase) : 0;
  p.levy = employee.HealthSubject() && company.LevyRate() != 0 ? DeductYen(o, company.LevyRate() / 100.0, healthBase)
                                                               : 0;
  if (in.explanation != nullptr) {
    using I = PremiumRateItem;
    std::string health = "標準賞与額 " + YenText(healthBase);
    if (healthBase != standardBonus) {
      health += "（" + YenText(standardBonus) + " のうち年度の上限 " + YenText(HealthCapOn(in.payDate).cap) +
                " の残り）";
    } else {
      health += "（課税支給合計 " + YenText(taxableTotal) + " の千円未満切捨て）";
    }
    std::string pension = "標準賞与額 " + YenText(pensionBase);
    if (pensionBase != standardBonus) pension += "（" + YenText(standardBonus) + " のうち上限 " + YenText(kPensionBonusCap) + "）";
    ExplainBonusPremium(in, company, Koujo::Health, p.health, employee.HealthSubject(), I::Health,
                        company.HealthRate(), healthBase, health);
    ExplainBonusPremium(in, company, Koujo::Nursing, p.nursing, employee.NursingCollected(), I::Nursing,
                        company.NursingRate(), healthBase, health);
    ExplainBonusPremium(in, company, Koujo::ChildSupportLevy, p.levy,
                        employee.HealthSubject() && company.LevyRate() != 0, I::Levy, company.LevyRate(), healthBase,
                        health);
    ExplainBonusPremium(in, company, Koujo::Pension, p.pension, employee.PensionSubject(), I::Pension,
                        company.PensionRate(), pensionBase, pension);
    ExplainBonusPremium(in, company, Koujo::PensionFund, p.pensionFund, employee.FundMember(), std::nullopt,
                        company.PensionFundRate(), pensionBase, pension);
    if (!employee.EmploymentSubject()) {
      in.explanation->Add(DeductionField(Koujo::Employment), FieldName(in, DeductionField(Koujo::Employment)), 0)
          .body = "加入していない（社員情報）";
    }
  }
  return p;
}

GradePremiums PremiumsFromGrade(const RateTables& tables, const CompanyRecord& company, int grade) {
  const Yen standard = tables.HealthGrade(grade).standard;
  const Yen pensionStandard = tables.HealthGrade(tables.PensionGrade(grade)).standard;
  GradePremiums g;
  g.health = FiftySenPremium(company.HealthRate(), standard);
  g.nursing = FiftySenPremium(company.NursingRate(), standard);
  g.pension = FiftySenPremium(company.PensionRate(), pensionStandard);
  g.pensionFund = FiftySenPremium(company.PensionFundRate(), pensionStandard);
  g.levy = FiftySenPremium(company.LevyRate(), standard);
  return g;
}

}  // namespace paylark
