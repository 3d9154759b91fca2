#include "calc/slot_totals.h"

#include "calc/premiums.h"

namespace paylark {
namespace {

Sikyu Nth(Sikyu first, int i) { return static_cast<Sikyu>(static_cast<int>(first) + i); }
Koujo Nth(Koujo first, int i) { return static_cast<Koujo>(static_cast<int>(first) + i); }
UserItem Nth(UserItem first, int i) { return static_cast<UserItem>(static_cast<int>(first) + i); }

}  // namespace

void AddFixedAllowances(const CalcInputs& in, const EnabledItems& enabled, const EmployeeRecord& employee,
                        PaymentRecord& payment, SlotTotals& t) {
  for (int i = 0; i < 3; ++i) {
    const Sikyu item = Nth(Sikyu::FixedAllowance1, i);
    const UserItem user = Nth(UserItem::FixedAllowance1, i);
    if (!enabled.Has(item)) {
      payment.Set(item, 0);
      continue;
    }
    if (!payment.Manual(item)) payment.Set(item, employee.FixedAllowance(i));
    const Yen amount = payment.Get(item);
    if (in.options.Taxable(user)) AddTo(t.taxable, amount);
    if (!in.options.SocialInsurance(user)) AddTo(t.nonSocial, amount);
    AddTo(t.total, amount);
  }
}

void AddVariableAllowances(const CalcInputs& in, const EnabledItems& enabled, const PaymentRecord& payment,
                           SlotTotals& t) {
  for (int i = 0; i < 3; ++i) {
    const Sikyu item = Nth(Sikyu::VariableAllowance1, i);
    const UserItem user = Nth(UserItem::VariableAllowance1, i);
    if (!enabled.Has(item)) continue;
    const Yen amount = payment.Get(item);
    if (in.options.Taxable(user)) AddTo(t.taxable, amount);
    if (!in.options.SocialInsurance(user)) AddTo(t.nonSocial, amount);
    AddTo(t.total, amount);
  }
}

void AddPremiums(const EnabledItems& enabled, const Premiums& premiums, DeductionRecord& deduction,
                 SlotTotals& t) {
  for (Koujo item : {Koujo::Health, Koujo::Pension, Koujo::PensionFund, Koujo::Employment, Koujo::Nursing,
                     Koujo::ChildSupportLevy}) {
    if (!enabled.Has(item)) {
      deduction.Set(item, 0);
      continue;
    }
    if (!deduction.Manual(item)) deduction.Set(item, premiums.Get(item));
    AddTo(t.socialPremiums, deduction.Get(item));
    AddTo(t.deductions, deduction.Get(item));
  }
}

void AddFixedAndVariableDeductions(const CalcInputs& in, const EnabledItems& enabled,
                                   const EmployeeRecord& employee, DeductionRecord& deduction, SlotTotals& t) {
  auto count = [&](Yen amount, UserItem user) {
    if (in.options.Taxable(user)) AddTo(t.socialPremiums, amount);
    if (in.options.SocialInsurance(user)) SubtractFrom(t.socialBase, amount);
    AddTo(t.deductions, amount);
  };
  for (int i = 0; i < 3; ++i) {
    const Koujo item = Nth(Koujo::FixedDeduction1, i);
    if (!enabled.Has(item)) {
      deduction.Set(item, 0);
      continue;
    }
    if (!deduction.Manual(item)) deduction.Set(item, employee.FixedDeduction(i));
    count(deduction.Get(item), Nth(UserItem::FixedDeduction1, i));
  }
  for (int i = 0; i < 3; ++i) {
    const Koujo item = Nth(Koujo::VariableDeduction1, i);
    if (enabled.Has(item)) count(deduction.Get(item), Nth(UserItem::VariableDeduction1, i));
  }
}

Yen StoreTotals(const SlotTotals& t, PaymentRecord& payment, DeductionRecord& deduction) {
  payment.Set(Sikyu::TaxableTotal, t.taxable);
  payment.Set(Sikyu::Total, t.total);
  deduction.Set(Koujo::SocialBase, t.socialBase);
  deduction.Set(Koujo::SocialTotal, t.socialPremiums);
  // A 年末調整過不足 settled into this pay (0 in every pay without one) is part of 控除合計.
  deduction.Set(Koujo::Total, CheckedAdd(t.deductions, deduction.Get(Koujo::YearEndAdjustment)));
  const Yen afterSocial = CheckedSub(t.taxable, t.socialPremiums);
  deduction.Set(Koujo::AfterSocial, afterSocial);
  return afterSocial;
}

void ThrowOverflow(const EmployeeRecord& employee) {
  throw CalculationError("金額が計算できる範囲を超えました。[" + employee.Name() + "]");
}

}  // namespace paylark
