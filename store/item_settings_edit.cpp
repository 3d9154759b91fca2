#include "store/item_settings_edit.h"

#include <algorithm>

namespace paylark {

bool MoveItemRow(ItemSettings& items, ItemBlock block, int from, int to) {
  std::vector<ItemRow>& rows = items.Block(block);
  const int count = static_cast<int>(rows.size());
  if (from < 0 || to < 0 || from >= count || to >= count || from == to) return false;
  auto first = rows.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else {
    std::rotate(first + to, first + from, first + from + 1);
  }
  return true;
}

bool ToggleItemFlag(ItemSettings& items, ItemBlock block, int row, int payForm) {
  std::vector<ItemRow>& rows = items.Block(block);
  if (row < 0 || row >= static_cast<int>(rows.size()) || payForm < 1 || payForm > kPayFormCount) return false;
  bool& flag = rows[row].flags[payForm - 1];
  flag = !flag;
  return true;
}

std::string ItemDisplayName(const std::string& storedName, const Options& options) {
  const std::string resolved = ResolveItemKey(storedName, options);
  if (resolved.size() <= 1) return std::string();
  // A name written into the settings file by hand may lack its prefix letter: show it whole.
  if (static_cast<unsigned char>(resolved[0]) >= 0x80) return resolved;
  return resolved.substr(1);
}

}  // namespace paylark
