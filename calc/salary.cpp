#include "calc/salary.h"

#include "calc/explain_steps.h"
#include "calc/explanation.h"
#include "calc/income_tax.h"
#include "calc/item_fields.h"
#include "calc/premiums.h"
#include "calc/rounding.h"
#include "calc/slot_totals.h"

namespace paylark {
namespace {

// Months in which the commuting allowance is paid, by 支給単位 2..11 (1 is per day worked).
bool CommutePaidIn(int unit, int month) {
  switch (unit) {
    case 2: return true;                                         // 毎月
    case 3: return month % 3 == 1;                               // 1,4,7,10月
    case 4: return month % 3 == 2;                               // 2,5,8,11月
    case 5: return month % 3 == 0;                               // 3,6,9,12月
    case 6: case 7: case 8: case 9: case 10: case 11:
      return month == unit - 5 || month == unit + 1;             // 1,7 / 2,8 / ... / 6,12月
    default: return false;
  }
}

class SalarySlot {
 public:
  SalarySlot(PeriodBlock& period, int slot, const CalcInputs& in)
      : in_(in),
        company_(period.company),
        employee_(period.Employee(slot)),
        attendance_(period.Attendance(slot)),
        payment_(period.Payment(slot)),
        deduction_(period.Deduction(slot)),
        enabled_(in.enabled.For(employee_.PayFormCode())) {}

  void Run() {
    BasePay();
    MasterAmount(Sikyu::PositionAllowance, employee_.PositionAllowance());
    MasterAmount(Sikyu::FamilyAllowance, employee_.FamilyAllowance());
    AddFixedAllowances(in_, enabled_, employee_, payment_, t_);
    Overtime();
    Commuting();
    AddVariableAllowances(in_, enabled_, payment_, t_);
    Reduction(Sikyu::Absence, Hours(Kintai::AbsenceDays), employee_.AbsenceDeduction());
    Reduction(Sikyu::Lateness, Hours(Kintai::LateHours), employee_.LatenessDeduction());

    t_.socialBase = CheckedSub(t_.total, t_.nonSocial);
    AddPremiums(enabled_, MonthlyPremiums(in_, company_, employee_, t_.total), deduction_, t_);
    ResidentTax();
    AddFixedAndVariableDeductions(in_, enabled_, employee_, deduction_, t_);
    IncomeTax(CheckedSub(t_.taxable, t_.socialPremiums));
    StoreTotals(t_, payment_, deduction_);
    if (in_.explanation != nullptr) ExplainStoredFigures(in_, enabled_, payment_, deduction_);
  }

 private:
  double Hours(Kintai f) const { return attendance_.Get(f); }

  // A payment item that counts in T and G; `compute` gives the amount unless the item is manual.
  template <typename Compute>
  void TaxablePayment(Sikyu item, Compute compute) {
    if (!enabled_.Has(item)) {
      payment_.Set(item, 0);
      return;
    }
    if (!payment_.Manual(item)) payment_.Set(item, compute());
    AddTo(t_.taxable, payment_.Get(item));
    AddTo(t_.total, payment_.Get(item));
  }

  void MasterAmount(Sikyu item, Yen amount) {
    TaxablePayment(item, [amount] { return amount; });
  }

  // The entry of a computed payment (only with an explanation).
  ExplanationEntry* Entry(Sikyu item) {
    if (in_.explanation == nullptr) return nullptr;
    return &in_.explanation->Add(PaymentField(item), FieldName(in_, PaymentField(item)), 0);
  }

  // "出勤日数 20 × 日給 10,000", a product of the attendance and a unit price.
  static std::string ProductText(const char* quantity, double q, const char* price, Yen p) {
    return std::string(quantity) + " " + QuantityText(q) + " × " + price + " " + YenText(p);
  }

  void BasePay() {
    TaxablePayment(Sikyu::BasePay, [this] {
      const Yen rate = employee_.BasePay();
      ExplanationEntry* e = Entry(Sikyu::BasePay);
      switch (employee_.PayFormCode()) {
        case static_cast<int>(PayForm::Monthly):
          if (e != nullptr) {
            e->body = "社員情報の基本給（月給） " + YenText(rate);
            e->inputs = {{"基本給", static_cast<double>(rate), InputOrigin::Master}};
          }
          return rate;
        case static_cast<int>(PayForm::Daily): {
          const Yen worked = PayYen(in_.options, Hours(Kintai::WorkDays), rate);
          const Yen leave = PayYen(in_.options, Hours(Kintai::PaidLeaveDays), employee_.PaidLeavePay());
          if (e != nullptr) ExplainTwoProducts(*e, "出勤日数", Kintai::WorkDays, "日給", rate, worked, leave);
          return CheckedAdd(worked, leave);
        }
        default: {
          const Yen worked = PayYen(in_.options, Hours(Kintai::WorkedHours), rate);
          const Yen leave = PayYen(in_.options, Hours(Kintai::PaidLeaveDays), employee_.PaidLeavePay());
          if (e != nullptr) ExplainTwoProducts(*e, "実働時間", Kintai::WorkedHours, "時間給", rate, worked, leave);
          return CheckedAdd(worked, leave);
        }
      }
    });
  }

  void ExplainTwoProducts(ExplanationEntry& e, const char* quantity, Kintai field, const char* price, Yen rate,
                          Yen worked, Yen leave) {
    const std::string mode = "支給項目の端数処理 " + RoundingModeText(in_.options.paymentRounding);
    e.body = "（" + ProductText(quantity, Hours(field), price, rate) + " ＝ " +
             ExactText(Hours(field) * static_cast<double>(rate)) + " → " + mode + " → " + YenText(worked) + "）＋（" +
             ProductText("有休日数", Hours(Kintai::PaidLeaveDays), "有休時支給額", employee_.PaidLeavePay()) + " ＝ " +
             ExactText(Hours(Kintai::PaidLeaveDays) * static_cast<double>(employee_.PaidLeavePay())) + " → " +
             YenText(leave) + "）";
    e.lookup = true;
    e.inputs = {{quantity, Hours(field), InputOrigin::Sheet},
                {price, static_cast<double>(rate), InputOrigin::Master},
                {"有休日数", Hours(Kintai::PaidLeaveDays), InputOrigin::Sheet},
                {"有休時支給額", static_cast<double>(employee_.PaidLeavePay()), InputOrigin::Master}};
  }

  // quantity × price rounded by `mode`, explained.
  void ExplainProduct(Sikyu item, const char* quantity, double q, const char* price, double p, RoundingMode mode,
                      const char* modeClass) {
    ExplanationEntry* e = Entry(item);
    if (e == nullptr) return;
    e->body = std::string(quantity) + " " + QuantityText(q) + " × " + price + " " +
              YenText(static_cast<std::int64_t>(p));
    e->exact = q * p;
    e->rounding = std::string(modeClass) + "の端数処理 " + RoundingModeText(mode);
    e->inputs = {{quantity, q, InputOrigin::Sheet}, {price, p, InputOrigin::Master}};
  }

  void Overtime() {
    static constexpr struct {
      Sikyu item;
      Kintai hours;
    } kOvertime[] = {{Sikyu::Overtime, Kintai::OvertimeHours},
                     {Sikyu::NightOvertime, Kintai::NightOvertimeHours},
                     {Sikyu::HolidayOvertime, Kintai::HolidayOvertime},
                     {Sikyu::HolidayNightOvertime, Kintai::HolidayNightOvertime}};
    for (int i = 0; i < 4; ++i) {
      TaxablePayment(kOvertime[i].item, [&] {
        ExplainProduct(kOvertime[i].item, KintaiItemName(kOvertime[i].hours).data(), Hours(kOvertime[i].hours),
                       "単価", employee_.OvertimePrice(i), in_.options.paymentRounding, "支給項目");
        return PayYen(in_.options, Hours(kOvertime[i].hours), employee_.OvertimePrice(i));
      });
    }
  }

  void Commuting() {
    const int unit = employee_.CommuteUnit();
    const bool perDay = unit == 1;
    if (!perDay && !CommutePaidIn(unit, in_.period)) return;  // left as they are, in no total
    auto amount = [&](Sikyu item, Yen master) {
      if (perDay) {
        ExplainProduct(item, "出勤日数", Hours(Kintai::WorkDays), "日額", master, in_.options.paymentRounding,
                       "支給項目");
        return PayYen(in_.options, Hours(Kintai::WorkDays), master);
      }
      if (ExplanationEntry* e = Entry(item)) {
        e->body = "社員情報の" + e->name + " " + YenText(master) + "（支給単位 " + std::to_string(unit) +
                  "、今月は支給月）";
        e->inputs = {{e->name, static_cast<double>(master), InputOrigin::Master}};
      }
      return master;
    };

    if (!enabled_.Has(Sikyu::CommuteNonTaxable)) {
      payment_.Set(Sikyu::CommuteNonTaxable, 0);
    } else {
      if (!payment_.Manual(Sikyu::CommuteNonTaxable)) {
        payment_.Set(Sikyu::CommuteNonTaxable, amount(Sikyu::CommuteNonTaxable, employee_.CommuteNonTaxable()));
      }
      AddTo(t_.total, payment_.Get(Sikyu::CommuteNonTaxable));
    }
    TaxablePayment(Sikyu::CommuteTaxable, [&] { return amount(Sikyu::CommuteTaxable, employee_.CommuteTaxable()); });
  }

  // 欠勤控除 and 遅刻早退控除: a negative amount by the reduction rounding, counted in T and G.
  void Reduction(Sikyu item, double quantity, Yen perUnit) {
    TaxablePayment(item, [&] {
      ExplainProduct(item, item == Sikyu::Absence ? "欠勤日数" : "遅刻早退時間", quantity,
                     item == Sikyu::Absence ? "欠勤控除額" : "遅早控除額", -static_cast<double>(perUnit),
                     in_.options.reductionRounding, "減額項目");
      return ReduceYen(in_.options, quantity, -static_cast<double>(perUnit));
    });
  }

  void ResidentTax() {
    const Koujo item = Koujo::ResidentTax;
    if (!enabled_.Has(item)) {
      deduction_.Set(item, 0);
      return;
    }
    if (!deduction_.Manual(item)) {
      deduction_.Set(item, in_.period == 6 ? employee_.ResidentTaxJune() : employee_.ResidentTaxOther());
      if (in_.explanation != nullptr) {
        ExplanationEntry& e = in_.explanation->Add(DeductionField(item), FieldName(in_, DeductionField(item)),
                                                   deduction_.Get(item));
        e.body = std::string("社員情報の住民税（") + (in_.period == 6 ? "6月分" : "6月以外の月") + "） " +
                 YenText(deduction_.Get(item));
        e.inputs = {{"住民税", static_cast<double>(deduction_.Get(item)), InputOrigin::Master}};
      }
    }
    AddTo(t_.deductions, deduction_.Get(item));
  }

  void IncomeTax(Yen afterSocial) {
    const Koujo item = Koujo::IncomeTax;
    if (!enabled_.Has(item)) {
      deduction_.Set(item, 0);
      return;
    }
    if (!deduction_.Manual(item)) deduction_.Set(item, SalaryTax(in_, employee_, afterSocial));
    AddTo(t_.deductions, deduction_.Get(item));
  }

  const CalcInputs& in_;
  const CompanyRecord& company_;
  const EmployeeRecord& employee_;
  const AttendanceRecord& attendance_;
  PaymentRecord& payment_;
  DeductionRecord& deduction_;
  const EnabledItems& enabled_;
  SlotTotals t_;
};

}  // namespace

void CalculateSalary(PeriodBlock& period, int slot, const CalcInputs& in) {
  if (in.explanation != nullptr) in.explanation->Begin(slot);
  EmployeeRecord& employee = period.Employee(slot);
  if (employee.Retired()) {
    period.Payment(slot).Clear();
    period.Deduction(slot).Clear();
    return;
  }
  // Keep copies so that any error (an overflow, a look-up that fails) leaves the slot's figures
  // as they were.
  const PaymentRecord paymentBefore = period.Payment(slot);
  const DeductionRecord deductionBefore = period.Deduction(slot);
  try {
    SalarySlot(period, slot, in).Run();
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

Yen NetPay(const PaymentRecord& payment, const DeductionRecord& deduction) {
  Yen net = payment.Get(Sikyu::Total);
  AddTo(net, payment.Get(Sikyu::Other1));
  AddTo(net, payment.Get(Sikyu::Other2));
  AddTo(net, payment.Get(Sikyu::Other3));
  SubtractFrom(net, deduction.Get(Koujo::Total));
  return net;
}

}  // namespace paylark
