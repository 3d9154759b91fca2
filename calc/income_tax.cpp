#include "calc/income_tax.h"

#include <algorithm>
#include <cstdint>

#include "calc/explain_steps.h"
#include "calc/explanation.h"

namespace paylark {

#define PAYLARK_MANUAL_TAX_REASONS                                                       \
  "下記の何れかの例外に該当する為、所得税が自動計算されません。\r"                       \
  "ユーザーによる所得税の計算と入力が必要です。\r"                                       \
  "　１．前月中に給与の支払いが無い。\r"                                                 \
  "　２．今回支給の｢社保控除後計｣の金額が、前月中の給与等の金額\r"                       \
  "　　　(社会保険控除後)の10倍を超えている。\r\r"

const char* const kManualTaxQuestionAll = PAYLARK_MANUAL_TAX_REASONS "該当する社員の所得税を手入力モードに変更しますか？";
const char* const kManualTaxQuestionOne = PAYLARK_MANUAL_TAX_REASONS "この社員の所得税を手入力モードに変更しますか？";
const char* const kManualTaxSwitchedAll =
    "該当社員の所得税計算を手入力モードに変更しました。\r明細入力画面にて該当社員の確認と入力を行って下さい。";
const char* const kManualTaxSwitchedOne = "所得税計算を手入力モードに変更しました。\r所得税の計算と入力を行って下さい。";

#undef PAYLARK_MANUAL_TAX_REASONS

void TableProblems::Note(const RateTables& tables, TableId id) {
  const std::string file = tables.TablePath(id).empty() ? TableFileName(id) : tables.TablePath(id).string();
  std::string message = std::string("所得税を計算できません。表データファイル「") + TableFileName(id) +
                        "」がないか、正しくありません（" + file + "）。";
  for (const std::string& m : messages) {
    if (m == message) return;
  }
  messages.push_back(std::move(message));
}

namespace {

std::string ColumnText(int column, int dependants) {
  return std::string(column == 0 ? "甲欄" : "乙欄") + " 扶養親族等 " + std::to_string(std::max(dependants, 0)) + "人";
}

// The monthly tax's working from what the look-up used.
void ExplainMonthlyTax(const CalcInputs& in, const EmployeeRecord& employee, Yen afterSocial, Yen tax,
                       const MonthlyTaxStep& step) {
  ExplanationEntry& e = in.explanation->Add(DeductionField(Koujo::IncomeTax), FieldName(in, DeductionField(Koujo::IncomeTax)), tax);
  e.table = TaxTableName(in.tables, "月額表");
  e.inputs = {{"社保控除後計", static_cast<double>(afterSocial), InputOrigin::Calculated},
              {"扶養親族等の数", static_cast<double>(employee.TaxDependants()), InputOrigin::Master}};
  const std::string column = ColumnText(employee.TaxColumn(), employee.TaxDependants());
  std::string body = e.table + "、社保控除後 " + YenText(afterSocial) + " → ";
  std::optional<double> exact;
  switch (step.kind) {
    case MonthlyTaxStep::Kind::None:
      break;
    case MonthlyTaxStep::Kind::BelowFirst:
      e.row = YenText(step.upper) + "未満";
      body += e.row + "、" + column;
      if (step.otsu) {
        e.rate = PercentFigure(step.rate * 100) + " %";
        body += "：社保控除後 × " + e.rate;
        exact = step.excessExact;
      }
      break;
    case MonthlyTaxStep::Kind::Row:
      e.row = YenText(step.lower) + "以上" + YenText(step.upper) + "未満の行";
      body += e.row + "、" + column;
      if (step.reducedPeople > 0 && step.reductionPerPerson != 0) body += " " + YenText(step.base);
      break;
    case MonthlyTaxStep::Kind::Bracket:
      e.row = YenText(step.lower) + "以上" + (step.upper > 0 ? YenText(step.upper) + "未満" : std::string()) + "の欄";
      e.rate = PercentFigure(step.rate * 100) + " %";
      body += e.row + "、" + column + "：" + YenText(step.base) + " ＋ （" + YenText(afterSocial) + " − " +
              YenText(step.excessFrom) + "）× " + e.rate;
      exact = static_cast<double>(step.base) + step.excessExact;
      e.inputs.push_back({"税額", static_cast<double>(step.base), InputOrigin::Table});
      e.inputs.push_back({"超過額の率", step.rate, InputOrigin::Table});
      e.inputs.push_back({"超過額の起点", static_cast<double>(step.excessFrom), InputOrigin::Table});
      break;
  }
  if (step.reducedPeople > 0 && step.reductionPerPerson != 0) {
    body += " − 扶養親族等 " + std::to_string(step.reducedPeople) + "人 × " + YenText(step.reductionPerPerson);
    if (exact) *exact -= static_cast<double>(step.reducedPeople) * step.reductionPerPerson;
  }
  e.body = body;
  if (exact) {
    e.exact = exact;
    e.rounding = "控除項目の端数処理 " + RoundingModeText(in.options.deductionRounding);
  } else {
    e.lookup = true;
  }
}

}  // namespace

Yen SalaryTax(const CalcInputs& in, const EmployeeRecord& employee, Yen afterSocial) {
  if (!in.tables.MonthlyTaxUsable(in.presence)) {
    if (in.tableProblems != nullptr) in.tableProblems->Note(in.tables, TableId::MonthlyTax);
    if (in.explanation != nullptr) {
      in.explanation->Add(DeductionField(Koujo::IncomeTax), FieldName(in, DeductionField(Koujo::IncomeTax)), 0).body =
          "月額表がないか正しくないため、計算できない";
    }
    return 0;
  }
  if (in.explanation == nullptr) {
    const Yen tax = in.tables.MonthlyTax(in.presence, afterSocial, employee.TaxColumn(), employee.TaxDependants(),
                                         in.options.deductionRounding);
    return tax < 0 ? 0 : tax;
  }
  MonthlyTaxStep step;
  Yen tax = in.tables.MonthlyTax(in.presence, afterSocial, employee.TaxColumn(), employee.TaxDependants(),
                                 in.options.deductionRounding, &step);
  tax = tax < 0 ? 0 : tax;
  ExplainMonthlyTax(in, employee, afterSocial, tax, step);
  return tax;
}

BonusTaxResult BonusTaxWithRules(const CalcInputs& in, const EmployeeRecord& employee, Yen bonusAfterSocial) {
  Yen previous = 0;
  int previousMonth = 11;
  if (in.lookup != nullptr) {
    // A bonus whose month is not set is paid in December (its tables are those of 31 December),
    // so its previous month is November of the same file.
    const int payMonth = in.bonusMonth == 0 ? 12 : in.bonusMonth;
    previousMonth = payMonth - 1;
    previous = in.lookup->FindPreviousDeductionBase(payMonth - 1, employee.Key());
  }
  ExplanationEntry* e = nullptr;
  std::string previousText;
  if (in.explanation != nullptr) {
    const ExplainedField field = DeductionField(Koujo::IncomeTax);
    e = &in.explanation->Add(field, FieldName(in, field), 0);
    const bool lastYear = previousMonth == 0;
    previousText = std::string("前月（") + (lastYear ? "前年のファイルの12" : std::to_string(previousMonth)) +
                   "月）の社保控除後計 " + YenText(previous);
    e->inputs = {{"社保控除後計", static_cast<double>(bonusAfterSocial), InputOrigin::Calculated},
                 {"前月の社保控除後計", static_cast<double>(previous),
                  lastYear ? InputOrigin::PreviousYearFile : InputOrigin::EarlierPeriod}};
  }
  if (previous == 0) {
    if (e != nullptr) {
      e->body = previousText + " → 前月中に給与の支払いが無い：賞与の算出率の表は使えない（所得税は手入力）";
      e->lookup = true;
    }
    return {0, BonusTaxException::NoPreviousSalary};
  }
  if (static_cast<std::int64_t>(previous) * 10 < bonusAfterSocial) {
    if (e != nullptr) {
      e->body = "社保控除後計 " + YenText(bonusAfterSocial) + " が" + previousText + " の10倍 " +
                YenText(std::int64_t{previous} * 10) + " を超える：賞与の算出率の表は使えない（所得税は手入力）";
      e->lookup = true;
    }
    return {0, BonusTaxException::OverTenTimes};
  }
  if (!in.tables.BonusTaxUsable(in.presence, employee.TaxColumn())) {
    if (in.tableProblems != nullptr) in.tableProblems->Note(in.tables, TableId::BonusTax);
    if (e != nullptr) e->body = "賞与の算出率の表がないか正しくないため、計算できない";
    return {0, BonusTaxException::None};
  }
  BonusRateStep step;
  const Yen tax = in.tables.BonusTax(in.presence, previous, bonusAfterSocial, employee.TaxDependants(),
                                     employee.TaxColumn(), in.options.deductionRounding,
                                     e != nullptr ? &step : nullptr);
  if (e != nullptr) {
    e->amount = tax;
    e->table = TaxTableName(in.tables, "賞与に対する源泉徴収税額の算出率の表");
    if (step.openBelow && step.upper > 0) {
      e->row = YenText(step.upper) + "未満の行";
    } else if (step.openAbove) {
      e->row = YenText(step.lower) + "以上の行";
    } else {
      e->row = YenText(step.lower) + "以上" + YenText(step.upper) + "未満の行";
    }
    e->rate = PercentFigure(step.rate * 100) + " %";
    e->body = e->table + "、" + previousText + " → " + e->row + "、" +
              ColumnText(employee.TaxColumn(), employee.TaxDependants()) + " → 算出率 " + e->rate + "；社保控除後計 " +
              YenText(bonusAfterSocial) + " × " + e->rate;
    e->exact = step.rate * bonusAfterSocial;
    e->rounding = "控除項目の端数処理 " + RoundingModeText(in.options.deductionRounding);
    e->inputs.push_back({"算出率", step.rate, InputOrigin::Table});
  }
  return {tax, BonusTaxException::None};
}

void SwitchTaxToManual(PeriodBlock& period, const std::vector<int>& slots) {
  for (int slot : slots) period.Deduction(slot).SetManual(Koujo::IncomeTax, true);
}

}  // namespace paylark
