#include "calc/year_end_figures.h"

#include <algorithm>
#include <string>

#include "calc/payment_date.h"

namespace paylark {

std::vector<EmployeeYearPay> GatherYearPay(const std::vector<YearFileContent>& files, int year) {
  struct Dated {
    CivilDate date;
    int period;
    const PeriodBlock* block;
  };
  std::vector<Dated> dated;
  for (const YearFileContent& file : files)
    for (const auto& [period, block] : file.periods) {
      const std::optional<CivilDate> date = PaymentDateOfPeriod(file.eraYear, period, block.company, file.header);
      if (date && date->year == year) dated.push_back({*date, period, &block});
    }
  std::stable_sort(dated.begin(), dated.end(), [](const Dated& a, const Dated& b) { return a.date < b.date; });

  std::vector<EmployeeYearPay> result;
  for (const Dated& d : dated) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      const EmployeeRecord& employee = d.block->Employee(slot);
      if (!employee.InUse()) continue;
      auto it = std::find_if(result.begin(), result.end(),
                             [&](const EmployeeYearPay& p) { return p.key == employee.Key(); });
      if (it == result.end()) {
        result.push_back({});
        it = result.end() - 1;
        it->key = employee.Key();
      }
      const PaymentRecord& payment = d.block->Payment(slot);
      const DeductionRecord& deduction = d.block->Deduction(slot);
      AddTo(IsBonusPeriod(d.period) ? it->bonus : it->salary, payment.Get(Sikyu::TaxableTotal));
      AddTo(it->socialInsurance, deduction.Get(Koujo::SocialTotal));
      AddTo(it->withheld, deduction.Get(Koujo::IncomeTax));
      // The master data as of the latest period he appears in.
      it->name = employee.Name();
      it->taxColumn = employee.TaxColumn();
      it->retired = employee.Retired();
      const bool paid = payment.Get(Sikyu::Total) != 0 || payment.Get(Sikyu::TaxableTotal) != 0;
      if (paid) {
        it->lastPayment = d.date;
        if (d.period == 12) it->paidDecemberSalary = true;
      }
    }
  }
  return result;
}

std::optional<std::string> YearEndExclusion(const EmployeeYearPay& pay, Yen totalPay, Yen payLimit,
                                            const AdjustmentEligibility& eligibility) {
  if (pay.taxColumn == 1) return "乙欄";
  if (!eligibility.hasDependantDeclaration) return "扶養控除等申告書の提出なし";
  if (eligibility.nonResident) return "非居住者";
  if (totalPay > payLimit) return "給与の総額が" + std::to_string(payLimit) + "円を超える";
  if (pay.retired && !pay.paidDecemberSalary && !eligibility.leavingCaseDeclared) return "年の中途で退職";
  return std::nullopt;
}

YearEndInput YearEndInputOf(const EmployeeYearPay& pay, const Declaration* d) {
  YearEndInput in;
  in.salary = pay.salary;
  in.bonus = pay.bonus;
  in.socialInsurance = pay.socialInsurance;
  in.withheld = pay.withheld;
  if (!d) return in;
  in.previousPaid = d->previousPaid;
  in.previousSocialInsurance = d->previousSocialInsurance;
  in.previousWithheld = d->previousWithheld;
  in.declaredSocialInsurance = d->declaredSocialInsurance;
  in.smallBusinessMutualAid = d->smallBusinessMutualAid;
  in.life = {d->lifeNewGeneral, d->lifeOldGeneral, d->lifeCareMedical, d->lifeNewPension, d->lifeOldPension};
  in.earthquake = d->earthquake;
  in.oldLongTerm = d->oldLongTerm;
  auto relative = [](const DeclaredPerson& p) { return DeclaredRelative{p.birth, p.income, p.cohabiting, p.disability}; };
  if (d->spouse) in.spouse = relative(*d->spouse);
  for (const DeclaredPerson& p : d->dependants) in.dependants.push_back(relative(p));
  in.employeeBirth = d->birth;
  in.employeeDisability = d->disability;
  in.widow = d->widow;
  in.singleParent = d->singleParent;
  in.workingStudent = d->workingStudent;
  in.otherIncome = d->otherIncome;
  in.housingLoanCredit = d->housingLoanCredit;
  in.incomeAdjustmentDeclared = d->incomeAdjustmentForm;
  return in;
}

AdjustmentEligibility EligibilityOf(const Declaration* d) {
  if (!d) return {};
  return {d->dependantForm, d->nonResident, d->leavingCase};
}

EmployeeYearEnd AdjustEmployee(const YearEndRules& rules, const EmployeeYearPay& pay, const Declaration* declaration) {
  EmployeeYearEnd e;
  e.pay = pay;
  const YearEndInput input = YearEndInputOf(pay, declaration);
  e.result = ComputeYearEnd(rules, input);
  e.exclusion = YearEndExclusion(pay, e.result.totalPay, rules.payLimit, EligibilityOf(declaration));
  if (e.exclusion) e.result = YearEndResult{};
  return e;
}

}  // namespace paylark
