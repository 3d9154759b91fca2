// Figures of an employee in an earlier period, looked up by employee key: the previous month's
// 社保控除後計 (for the bonus tax) and 有休残日数 (the paid-leave carry). The store reads them from
// the yearly files; tests supply their own.
#pragma once

#include <string>

#include "store/money.h"

namespace paylark {

constexpr double kPaidLeaveNotFound = -999.0;

class PreviousPeriodLookup {
 public:
  virtual ~PreviousPeriodLookup() = default;
  // Period p of the open file; p ≤ 0 means period 12 of the previous year's file.
  virtual Yen FindPreviousDeductionBase(int period, const std::string& key) = 0;
  virtual double FindPreviousPaidLeave(int period, const std::string& key) = 0;
};

}  // namespace paylark
