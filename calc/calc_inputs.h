// What a calculation of one employee reads besides the period's records: the options, the item
// lists of the period kind, the rate tables (with which table files exist now), the period, its
// payment date and, for bonuses, the pay month and the look-up of earlier figures.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/item_enabled.h"
#include "store/options.h"
#include "store/previous_period.h"
#include "store/rate_tables.h"

namespace paylark {

class Explanation;

// The tax tables a calculation needed and could not use (missing, damaged, or with counts the
// look-up cannot take): one message per table file, naming it. The tax of such a slot is 0, which
// is not a tax; whoever runs the calculation must tell the user and must not store it as one.
struct TableProblems {
  std::vector<std::string> messages;
  void Note(const RateTables& tables, TableId id);
  bool Empty() const { return messages.empty(); }
};

struct CalcInputs {
  const Options& options;
  const EnabledItemsByPayForm& enabled;  // resolved from the item lists of the period kind
  const RateTables& tables;
  TablePresence presence;                // which table files exist, checked once per pass
  int period = 1;                        // 1..12 salary months, 13..15 bonus periods
  int bonusMonth = 0;                    // pay month of a bonus period (header), 0 = not set
  PreviousPeriodLookup* lookup = nullptr;  // previous month's 社保控除後計 (bonus tax), earlier bonuses
  // The period's payment date (calc/payment_date.h): the wage closing date of the employment
  // premium and the fiscal year of a bonus. nullopt (an era the program does not know): the
  // employment premium by the table image and no earlier bonus of the fiscal year.
  std::optional<CivilDate> payDate{};
  TableProblems* tableProblems = nullptr;  // where a tax without its table is reported (may be null)
  // Where the calculation explains each amount it computes (calc/explanation.h); null: no
  // explanation is made.
  Explanation* explanation = nullptr;
};

// A calculation that cannot complete, such as an amount beyond the 32-bit range. The message
// names the employee.
class CalculationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace paylark
