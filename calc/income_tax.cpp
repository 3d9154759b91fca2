#include "calc/income_tax.h"

#include <cstdint>

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

Yen SalaryTax(const CalcInputs& in, const EmployeeRecord& employee, Yen afterSocial) {
  if (!in.tables.MonthlyTaxUsable(in.presence)) {
    if (in.tableProblems != nullptr) in.tableProblems->Note(in.tables, TableId::MonthlyTax);
    return 0;
  }
  Yen tax = in.tables.MonthlyTax(in.presence, afterSocial, employee.TaxColumn(), employee.TaxDependants(),
                                 in.options.deductionRounding);
  return tax < 0 ? 0 : tax;
}

BonusTaxResult BonusTaxWithRules(const CalcInputs& in, const EmployeeRecord& employee, Yen bonusAfterSocial) {
  Yen previous = 0;
  if (in.lookup != nullptr) {
    // A bonus whose month is not set is paid in December (its tables are those of 31 December),
    // so its previous month is November of the same file.
    const int payMonth = in.bonusMonth == 0 ? 12 : in.bonusMonth;
    previous = in.lookup->FindPreviousDeductionBase(payMonth - 1, employee.Key());
  }
  if (previous == 0) return {0, BonusTaxException::NoPreviousSalary};
  if (static_cast<std::int64_t>(previous) * 10 < bonusAfterSocial) return {0, BonusTaxException::OverTenTimes};
  if (!in.tables.BonusTaxUsable(in.presence, employee.TaxColumn())) {
    if (in.tableProblems != nullptr) in.tableProblems->Note(in.tables, TableId::BonusTax);
    return {0, BonusTaxException::None};
  }
  return {in.tables.BonusTax(in.presence, previous, bonusAfterSocial, employee.TaxDependants(),
                             employee.TaxColumn(), in.options.deductionRounding),
          BonusTaxException::None};
}

void SwitchTaxToManual(PeriodBlock& period, const std::vector<int>& slots) {
  for (int slot : slots) period.Deduction(slot).SetManual(Koujo::IncomeTax, true);
}

}  // namespace paylark
