#include "print/year_to_date.h"

#include <memory>

#include "calc/pay_date.h"
#include "entry/number_parse.h"

namespace paylark::print {
namespace {

constexpr int kMonths = 12;

// The salary day of a month for comparison with a bonus day: 31 stands for the month's last day.
int SalaryDayOf(int month, int payDay, const EraYear& eraYear) {
  if (month < 1 || month > kMonths) return payDay;
  return ParseIntegerOrZero(PayDateOfPeriod(eraYear, month, payDay).day);
}

void AddFigures(YearToDate& sum, const PaymentRecord& payments, const DeductionRecord& deductions) {
  AddTo(sum.taxable, payments.Get(Sikyu::TaxableTotal));
  AddTo(sum.social, deductions.Get(Koujo::SocialTotal));
  AddTo(sum.incomeTax, deductions.Get(Koujo::IncomeTax));
}

}  // namespace

std::vector<int> YearToDatePeriods(int period, const FileHeader& header, int printedDay, int payDay,
                                   const EraYear& eraYear) {
  std::vector<int> periods;
  if (IsSalaryPeriod(period)) {
    for (int m = 1; m < period; ++m) periods.push_back(m);
    for (int k = kFirstBonusPeriod; k <= kPeriodCount; ++k) {
      const int month = header.BonusMonth(k);
      if (month < period || (month == period && printedDay >= header.BonusDay(k))) periods.push_back(k);
    }
  } else if (IsBonusPeriod(period)) {
    const int bonusMonth = header.BonusMonth(period);
    const bool beforeSalaryDay = header.BonusDay(period) < SalaryDayOf(bonusMonth, payDay, eraYear);
    // A pay month beyond December (a damaged header) never reaches into the bonus blocks.
    for (int m = 1; m <= kMonths && m <= bonusMonth; ++m) {
      if (m == bonusMonth && beforeSalaryDay) break;
      periods.push_back(m);
    }
    for (int k = kFirstBonusPeriod; k <= kPeriodCount; ++k) {
      if (header.BonusMonth(k) < bonusMonth) periods.push_back(k);
    }
  }
  return periods;
}

YearToDate YearToDateTotals(const OpenPeriod& open, int slot, int printedDay) {
  const PeriodBlock& period = open.period;
  const std::string key = period.Employee(slot).Key();
  YearToDate sum;
  const std::vector<int> earlier =
      YearToDatePeriods(open.periodIndex, open.header, printedDay, period.company.PayDay(), open.eraYear);
  // An employee without a key has no records elsewhere (an empty key would match every free slot).
  if (!key.empty() && !earlier.empty()) {
    auto block = std::make_unique<PeriodBlock>();
    for (int p : earlier) {
      ReadBlock(open.currentDataFile, p, *block);
      for (int s = 1; s <= kSlotCount; ++s) {
        if (block->Employee(s).Key() == key) AddFigures(sum, block->Payment(s), block->Deduction(s));
      }
    }
  }
  AddFigures(sum, period.Payment(slot), period.Deduction(slot));
  return sum;
}

}  // namespace paylark::print
