#include "session/kenho_hyo_rules.h"

#include <limits>

#include "entry/display_format.h"

namespace paylark::screens {

std::string GradeListLine(const Grade& grade) {
  constexpr int kWidth = 9;
  std::string line = FormatAmount(kWidth, grade.lower) + "円以上 ";
  if (grade.upper == std::numeric_limits<Yen>::max()) {
    line += std::string(kWidth + 6, ' ');  // "円未満" is six places wide
  } else {
    line += FormatAmount(kWidth, grade.upper) + "円未満";
  }
  line += "  " + FormatAmount(kWidth, grade.standard) + "円";
  return line;
}

}  // namespace paylark::screens
