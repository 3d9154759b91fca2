// What a look-up of the rate tables used, for the explanation of a computed amount: the row or
// bracket of the 月額表, the row of the bonus rate table, the row of the employment premium table.
// A look-up fills it only when asked (a null pointer costs nothing) and from the very values it
// computes with.
#pragma once

#include <cstdint>

#include "store/era.h"
#include "store/money.h"

namespace paylark {

struct MonthlyTaxStep {
  enum class Kind { None, BelowFirst, Row, Bracket };
  Kind kind = Kind::None;
  bool otsu = false;       // the column that applied (乙, else 甲)
  int kouColumn = 0;       // 甲: the dependants' column 0..7
  Yen lower = 0;           // the row's or the bracket's lower bound (inclusive)
  Yen upper = 0;           // the row's upper bound (exclusive); a bracket's, 0 when open-ended
  Yen base = 0;            // the row's tax, or the bracket's base tax
  double rate = 0;         // a bracket's rate on the excess, or 乙's rate below the first row
  Yen excessFrom = 0;      // the amount the excess is counted from
  double excessExact = 0;  // rate × (amount − excessFrom) before rounding
  Yen excessTax = 0;       // that product rounded
  int reducedPeople = 0;   // dependants with a reduction (甲 beyond seven, 乙 each)
  Yen reductionPerPerson = 0;
};

struct BonusRateStep {
  bool found = false;
  bool otsu = false;
  Yen lower = 0;         // the row's range of the previous month's amount; lower 0 and
  Yen upper = 0;         // upper 0 for the open ends
  bool openBelow = false;
  bool openAbove = false;
  double rate = 0;
};

struct EmploymentTableStep {
  bool fromRow = false;  // a row of the table image; else the fixed 0.7 % / 0.8 % rule
  int row = 0;
  Yen lower = 0;
  Yen upper = 0;
  double fixedRate = 0;  // the fixed rule's rate as a fraction
  double exact = 0;      // the fixed rule's product before truncation
};

}  // namespace paylark
