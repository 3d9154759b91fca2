// Figures of an employee in an earlier period, looked up by employee key: the previous month's
// 社保控除後計 (for the bonus tax) and 有休残日数 (the paid-leave carry). The store reads them from
// the yearly files; tests supply their own.
#pragma once

#include <string>
#include <vector>

#include "store/money.h"

namespace paylark {

constexpr double kPaidLeaveNotFound = -999.0;

// A bonus the employee was paid in a bonus period (13..15) of the open file (previousYear false)
// or of the previous year's file: the header's pay month and day of the period, its 課税支給合計
// and whether the employee was a 健康保険対象者 then.
struct EarlierBonus {
  bool previousYear = false;
  int period = 0;
  int payMonth = 0;  // as the header holds it; 0 = not set
  int payDay = 0;
  Yen taxableTotal = 0;
  bool healthSubject = false;
};

class PreviousPeriodLookup {
 public:
  virtual ~PreviousPeriodLookup() = default;
  // Period p of the open file; p ≤ 0 means period 12 of the previous year's file.
  virtual Yen FindPreviousDeductionBase(int period, const std::string& key) = 0;
  virtual double FindPreviousPaidLeave(int period, const std::string& key) = 0;
  // The employee's bonuses in the bonus periods of the open file other than `exceptPeriod` and in
  // those of the previous year's file (the bonuses of a fiscal year reach across the two files).
  virtual std::vector<EarlierBonus> FindBonuses(int exceptPeriod, const std::string& key) {
    (void)exceptPeriod;
    (void)key;
    return {};
  }
};

}  // namespace paylark
