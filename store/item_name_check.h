// The check of the user's item names (入力項目の設定) before they are stored: the six payment
// items (固定手当, 変動手当) and the six deduction items (固定控除, 変動控除) each need a name that
// is not empty, not used twice within the six and not a built-in item name; the three その他 items
// need a name that is not empty and not used twice among them. Every name, the third bonus's too,
// must have a Shift-JIS form, since the settings file holds nothing else.
#pragma once

#include <optional>
#include <string>

#include "store/options.h"

namespace paylark {

// The field of the third bonus name (TokuSyoyo); the others are numbered as UserItem.
inline constexpr int kThirdBonusNameField = kUserItemCount;

struct ItemNameProblem {
  int field;            // the field that gets the focus: a UserItem index or kThirdBonusNameField
  std::string message;  // the error box text
  bool operator==(const ItemNameProblem&) const = default;
};

// The first problem in the order the fields are checked, or nothing when every name may be
// stored. For a duplicate the focus goes to the later of the two fields.
std::optional<ItemNameProblem> CheckItemNames(const Options& options);

}  // namespace paylark
