#include "calc/withholding_scope.h"

#include "entry/display_format.h"

namespace paylark {
namespace {

bool WithoutDeclaration(const EmployeeYearEnd& e) {
  return e.exclusion && (*e.exclusion == "乙欄" || *e.exclusion == "扶養控除等申告書の提出なし");
}

FilingDecision Above(const std::string& what, Yen paid, Yen threshold) {
  const bool over = paid > threshold;
  return {over, what + "・" + FormatAmount(0, threshold) + (over ? "円超" : "円以下")};
}

}  // namespace

SlipAmounts SlipAmountsOf(const EmployeeYearEnd& e) {
  if (!e.exclusion) return {e.result.totalPay, e.result.annualTax};
  return {CheckedAdd(e.pay.salary, e.pay.bonus), e.pay.withheld};
}

FilingDecision TaxOfficeFiling(const FilingScope& scope, const EmployeeYearEnd& e, const FilingFacts& facts) {
  const Yen paid = SlipAmountsOf(e).paid;
  if (scope.basis == FilingScope::Basis::Report) {
    if (!InMunicipalReport(scope, e, facts.retired)) return {false, "中途退職・" + FormatAmount(0, scope.reportRetiredOmit) + "円以下"};
    return {true, "給与支払報告書の提出範囲"};
  }
  if (WithoutDeclaration(e)) return Above("乙欄・丙欄", paid, scope.withoutDeclaration);
  if (e.exclusion) {
    if (paid > scope.notAdjustedAll) return Above("年末調整なし", paid, scope.notAdjustedAll);
    if (facts.officer) return Above("年末調整なし・役員", paid, scope.notAdjustedOfficer);
    return Above("年末調整なし", paid, scope.notAdjustedOther);
  }
  if (facts.officer) return Above("年末調整済・役員", paid, scope.adjustedOfficer);
  if (facts.professional) return Above("年末調整済・弁護士等", paid, scope.adjustedProfessional);
  return Above("年末調整済", paid, scope.adjustedOther);
}

bool InMunicipalReport(const FilingScope& scope, const EmployeeYearEnd& e, bool retired) {
  return !(retired && SlipAmountsOf(e).paid <= scope.reportRetiredOmit);
}

StatutoryTotals StatutoryTotalsOf(const FilingScope& scope, const std::vector<FiledEmployee>& employees) {
  StatutoryTotals t;
  auto add = [](StatutoryRow& row, const SlipAmounts& a) {
    ++row.people;
    AddTo(row.paid, a.paid);
    AddTo(row.tax, a.tax);
  };
  for (const FiledEmployee& f : employees) {
    const SlipAmounts amounts = SlipAmountsOf(*f.employee);
    add(t.all, amounts);
    if (TaxOfficeFiling(scope, *f.employee, f.facts).filed) add(t.filed, amounts);
  }
  return t;
}

}  // namespace paylark
