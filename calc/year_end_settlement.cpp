#include "calc/year_end_settlement.h"


namespace paylark {
namespace {

int SlotOf(const PeriodBlock& block, const std::string& key) {
  for (int slot = 1; slot <= kSlotCount; ++slot)
    if (block.Employee(slot).InUse() && block.Employee(slot).Key() == key) return slot;
  return 0;
}

}  // namespace

void PlaceYearEndSettlement(PeriodBlock& block, int slot, Yen amount) {
  DeductionRecord& deduction = block.Deduction(slot);
  const Yen total = CheckedAdd(CheckedSub(deduction.Get(Koujo::Total), deduction.Get(Koujo::YearEndAdjustment)), amount);
  deduction.Set(Koujo::Total, total);
  deduction.Set(Koujo::YearEndAdjustment, amount);
  deduction.SetManual(Koujo::YearEndAdjustment, amount != 0);
}

bool SettleYearEnd(std::vector<YearPeriod>& periods, int settlingPeriod, const std::string& employeeKey,
                   Yen amount) {
  PeriodBlock* target = nullptr;
  for (YearPeriod& p : periods)
    if (p.period == settlingPeriod) target = p.block;
  const int targetSlot = target ? SlotOf(*target, employeeKey) : 0;
  if (targetSlot == 0) return false;
  for (YearPeriod& p : periods) {
    if (p.block == target) continue;
    if (const int slot = SlotOf(*p.block, employeeKey);
        slot != 0 && p.block->Deduction(slot).Get(Koujo::YearEndAdjustment) != 0)
      PlaceYearEndSettlement(*p.block, slot, 0);
  }
  PlaceYearEndSettlement(*target, targetSlot, amount);
  return true;
}

ShortfallDeferral OfferDeferral(const YearEndRules& rules, const std::vector<YearPeriod>& periods,
                                int settlingPeriod, const std::string& employeeKey, Yen difference) {
  Yen settlingNet = 0;
  Yen settlingTax = 0;
  Yen earlierNet = 0;
  int earlierMonths = 0;
  for (const YearPeriod& p : periods) {
    const int slot = SlotOf(*p.block, employeeKey);
    if (slot == 0) continue;
    const PaymentRecord& payment = p.block->Payment(slot);
    const DeductionRecord& deduction = p.block->Deduction(slot);
    // 税引手取額: the taxable pay less its social insurance and its own withholding.
    const Yen net = CheckedSub(CheckedSub(payment.Get(Sikyu::TaxableTotal), deduction.Get(Koujo::SocialTotal)),
                               deduction.Get(Koujo::IncomeTax));
    if (p.period == settlingPeriod) {
      settlingNet = net;
      settlingTax = deduction.Get(Koujo::IncomeTax);
    } else if (IsSalaryPeriod(p.period) && (!IsSalaryPeriod(settlingPeriod) || p.period < settlingPeriod) &&
               payment.Get(Sikyu::Total) != 0) {
      AddTo(earlierNet, net);
      ++earlierMonths;
    }
  }
  if (earlierMonths == 0) return DeferralOfShortfall(rules, difference, settlingNet, 0, settlingTax);
  return DeferralOfShortfall(rules, difference, settlingNet, earlierNet / earlierMonths, settlingTax);
}

}  // namespace paylark
