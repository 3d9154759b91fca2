// Editing the payslip item settings of one kind as the item settings dialog does: moving a row
// within its block, switching a row's print flag for one pay form, and the name a row shows.
#pragma once

#include <string>

#include "store/item_settings.h"
#include "store/options.h"

namespace paylark {

// Moves row `from` of the block to position `to` with its name and its three flags; the rows in
// between shift by one toward `from`. False (nothing changed) when either position is outside
// the block or both are the same.
bool MoveItemRow(ItemSettings& items, ItemBlock block, int from, int to);

// Switches the print flag of a row for pay form 1 月給, 2 日給 or 3 時間給; the other pay forms keep
// theirs. False when the row or the pay form does not exist.
bool ToggleItemFlag(ItemSettings& items, ItemBlock block, int row, int payForm);

// The name a row shows: a user item by the user's name, without the prefix letter; an empty row
// shows nothing.
std::string ItemDisplayName(const std::string& storedName, const Options& options);

}  // namespace paylark
