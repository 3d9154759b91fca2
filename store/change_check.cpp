#include "store/change_check.h"

#include <memory>

namespace paylark {

bool PeriodDiffers(const PeriodBlock& memory, const PeriodBlock& file) {
  auto a = std::make_unique<PeriodBlock>(memory);
  auto b = std::make_unique<PeriodBlock>(file);
  a->NormaliseStrings();
  b->NormaliseStrings();
  return !(*a == *b);
}

}  // namespace paylark
