#include "calc/withholding_book.h"

#include <algorithm>

#include "calc/payment_date.h"
#include "store/period.h"

namespace paylark {
namespace {

void AddRow(WithholdingBookTotals& t, const WithholdingBookRow& r) {
  AddTo(t.gross, r.gross);
  AddTo(t.social, r.social);
  AddTo(t.afterSocial, r.afterSocial);
  AddTo(t.tax, r.tax);
  AddTo(t.adjustment, r.adjustment);
  AddTo(t.collected, r.collected);
}

}  // namespace

WithholdingBook GatherWithholdingBook(const std::vector<YearFileContent>& files, int year, const std::string& key) {
  WithholdingBook book;
  if (key.empty()) return book;  // an empty key would match every empty slot
  std::vector<WithholdingBookRow> rows;
  for (const YearFileContent& file : files)
    for (const auto& [period, block] : file.periods) {
      const std::optional<CivilDate> date = PaymentDateOfPeriod(file.eraYear, period, block.company, file.header);
      if (!date || date->year != year) continue;
      for (int slot = 1; slot <= kSlotCount; ++slot) {
        const EmployeeRecord& employee = block.Employee(slot);
        if (!employee.InUse() || employee.Key() != key) continue;
        const PaymentRecord& payment = block.Payment(slot);
        const DeductionRecord& deduction = block.Deduction(slot);
        WithholdingBookRow r;
        r.period = period;
        r.paid = *date;
        r.gross = payment.Get(Sikyu::TaxableTotal);
        r.social = deduction.Get(Koujo::SocialTotal);
        r.afterSocial = CheckedSub(r.gross, r.social);
        r.dependants = employee.TaxDependants();
        r.tax = deduction.Get(Koujo::IncomeTax);
        r.adjustment = deduction.Get(Koujo::YearEndAdjustment);
        r.collected = CheckedAdd(r.tax, r.adjustment);
        if (r.gross == 0 && r.social == 0 && r.tax == 0 && r.adjustment == 0) continue;
        rows.push_back(r);
      }
    }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const WithholdingBookRow& a, const WithholdingBookRow& b) { return a.paid < b.paid; });
  for (const WithholdingBookRow& r : rows) {
    const bool bonus = IsBonusPeriod(r.period);
    (bonus ? book.bonuses : book.salaries).push_back(r);
    AddRow(bonus ? book.bonusTotal : book.salaryTotal, r);
  }
  return book;
}

}  // namespace paylark
