// Which payment and deduction items take part in the calculation of an employee: an item is
// enabled when the payslip item list of the period kind for the employee's pay form names it
// (after the kind prefix; the user-named items by the user's current names). The lists are
// resolved once per calculation pass into flags by record position.
#pragma once

#include <array>

#include "store/item_settings.h"
#include "store/options.h"
#include "store/period.h"

namespace paylark {

struct EnabledItems {
  std::array<bool, kSikyuPositions + 1> sikyu{};  // by payment position 1..30
  std::array<bool, kKoujoPositions + 1> koujo{};  // by deduction position 1..25
  bool Has(Sikyu p) const { return sikyu[static_cast<int>(p)]; }
  bool Has(Koujo p) const { return koujo[static_cast<int>(p)]; }
};

struct EnabledItemsByPayForm {
  std::array<EnabledItems, kPayFormCount> forms;
  EnabledItems none;
  const EnabledItems& For(int payFormCode) const {
    return payFormCode >= 1 && payFormCode <= kPayFormCount ? forms[payFormCode - 1] : none;
  }
};

// Resolves the derived lists of one kind (salary or bonus) against the items of that kind.
EnabledItemsByPayForm ResolveEnabledItems(const DerivedItemLists& lists, const Options& options, ItemKind kind);

// The name of a payment or deduction position for a period kind ("基本給", "賞与", the user's
// name of 固定手当１, ...); empty for positions that are totals or unused in that kind.
std::string SikyuItemName(Sikyu p, const Options& options, ItemKind kind);
std::string KoujoItemName(Koujo p, const Options& options, ItemKind kind);
// The same with the names of the totals a period kind keeps: 課税支給合計 and 支給合計; 社会保険料計,
// 社保控除後計, 控除合計 and 社保算定合計.
std::string SikyuPositionName(Sikyu p, const Options& options, ItemKind kind);
std::string KoujoPositionName(Koujo p, const Options& options, ItemKind kind);

}  // namespace paylark
