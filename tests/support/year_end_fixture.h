// A small company's 令和7年分 year-end source for the slips and books: 山田 adjusted with a spouse
// and three dependants (特定, 16歳未満, 同居老親等) and 6,000,000 yen of pay; 佐藤 left in June
// (1,000,000 yen, not adjusted); 鈴木 on the 乙欄 (600,000 yen).
#pragma once

#include "print/year_end_source.h"

namespace paylark::testing {

struct YearEndFixture {
  YearEndFixture();
  YearEndRules rules;
  print::YearEndSource source;
};

}  // namespace paylark::testing
