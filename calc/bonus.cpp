#include "calc/bonus.h"

#include <string>

#include "calc/explain_steps.h"
#include "calc/explanation.h"
#include "calc/premiums.h"
#include "calc/slot_totals.h"

namespace paylark {
namespace {

BonusTaxException RunBonus(PeriodBlock& period, int slot, const CalcInputs& in) {
  const EmployeeRecord& employee = period.Employee(slot);
  PaymentRecord& payment = period.Payment(slot);
  DeductionRecord& deduction = period.Deduction(slot);
  const EnabledItems& enabled = in.enabled.For(employee.PayFormCode());
  SlotTotals t;

  // 賞与 and 役員報酬 are entered; when not listed they stay in the record and count in no total.
  Yen directorPay = 0;
  for (Sikyu item : {Sikyu::Bonus, Sikyu::DirectorPay}) {
    if (!enabled.Has(item)) continue;
    AddTo(t.taxable, payment.Get(item));
    AddTo(t.total, payment.Get(item));
    if (item == Sikyu::DirectorPay) directorPay = payment.Get(item);
  }
  AddFixedAllowances(in, enabled, employee, payment, t);
  AddVariableAllowances(in, enabled, payment, t);
  t.socialBase = CheckedSub(t.total, t.nonSocial);

  AddPremiums(enabled, BonusPremiums(in, period.company, employee, t.taxable, t.total, directorPay), deduction, t);
  AddFixedAndVariableDeductions(in, enabled, employee, deduction, t);

  BonusTaxException exception = BonusTaxException::None;
  const Yen afterSocial = CheckedSub(t.taxable, t.socialPremiums);
  if (!enabled.Has(Koujo::IncomeTax)) {
    deduction.Set(Koujo::IncomeTax, 0);
  } else {
    if (!deduction.Manual(Koujo::IncomeTax)) {
      const BonusTaxResult tax = BonusTaxWithRules(in, employee, afterSocial);
      deduction.Set(Koujo::IncomeTax, tax.tax);
      exception = tax.exception;
    }
    AddTo(t.deductions, deduction.Get(Koujo::IncomeTax));
  }
  StoreTotals(t, payment, deduction);
  if (in.explanation != nullptr) ExplainStoredFigures(in, enabled, payment, deduction);
  return exception;
}

}  // namespace

void CheckBonusMonth(const CalcInputs& in) {
  if (in.bonusMonth >= 0 && in.bonusMonth <= 12) return;
  throw CalculationError(BonusMonthDamageText(in.period, in.bonusMonth));
}

std::string BonusMonthDamageText(int period, int bonusMonth) {
  return "賞与の支給月が正しくありません（期間 " + std::to_string(period) + "、支給月 " + std::to_string(bonusMonth) +
         "）。期間の選択で支給月を入れ直して下さい。";
}

BonusTaxException CalculateBonus(PeriodBlock& period, int slot, const CalcInputs& in) {
  if (in.explanation != nullptr) in.explanation->Begin(slot);
  const EmployeeRecord& employee = period.Employee(slot);
  if (employee.Retired()) {
    period.Payment(slot).Clear();
    period.Deduction(slot).Clear();
    return BonusTaxException::None;
  }
  CheckBonusMonth(in);
  // Any error (an overflow, a look-up of the previous month that fails) leaves the slot as it was.
  const PaymentRecord paymentBefore = period.Payment(slot);
  const DeductionRecord deductionBefore = period.Deduction(slot);
  try {
    return RunBonus(period, slot, in);
  } catch (const MoneyOverflow&) {
    period.Payment(slot) = paymentBefore;
    period.Deduction(slot) = deductionBefore;
    if (in.explanation != nullptr) in.explanation->Begin(slot);  // nothing of a failed calculation
    ThrowOverflow(employee);
  } catch (...) {
    period.Payment(slot) = paymentBefore;
    period.Deduction(slot) = deductionBefore;
    if (in.explanation != nullptr) in.explanation->Begin(slot);
    throw;
  }
}

}  // namespace paylark
