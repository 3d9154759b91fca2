// Payslip item settings (印刷項目の設定) of one kind, salary (Kyuyo) or bonus (Syoyo): for each of
// the four blocks an ordered list of item names, each with a one-character prefix ("F" fixed,
// "V" variable; "F" alone is an empty row), and a print flag per pay form. The derived per-pay-form
// lists decide which items are calculated, which rows the payroll sheet has and what the payslip
// prints.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store/options.h"

namespace paylark {

class ProfileFile;

enum class ItemKind { Salary, Bonus };  // Kyuyo, Syoyo
enum class ItemBlock { Kintai = 0, Sikyu = 1, Koujo = 2, Sonota = 3 };
constexpr std::array<int, 4> kBlockRows{16, 18, 18, 3};
constexpr int kPayFormCount = 3;
// The deduction row of the 年末調整過不足 (deduction position 22) in the payslip lists.
inline constexpr std::string_view kYearEndItemKey = "F年末調整";

struct ItemRow {
  std::string name;                   // with prefix, placeholders kept as placeholders
  std::array<bool, kPayFormCount> flags{};  // 月給, 日給, 時間給
  bool operator==(const ItemRow&) const = default;
};

struct ItemSettings {
  ItemKind kind = ItemKind::Salary;
  // Indexed by ItemBlock, sizes kBlockRows; the bonus kind has no attendance rows (empty block).
  std::array<std::vector<ItemRow>, 4> blocks;

  std::vector<ItemRow>& Block(ItemBlock b) { return blocks[static_cast<int>(b)]; }
  const std::vector<ItemRow>& Block(ItemBlock b) const { return blocks[static_cast<int>(b)]; }
  bool operator==(const ItemSettings&) const = default;
};

// For one pay form: per block the row's name when its flag is on, else "F"; always kBlockRows
// entries per block.
struct PayFormItems {
  std::array<std::vector<std::string>, 4> blocks;
  const std::vector<std::string>& Block(ItemBlock b) const { return blocks[static_cast<int>(b)]; }
};

struct DerivedItemLists {
  std::array<PayFormItems, kPayFormCount> forms;  // index payForm − 1
  // The lists of a pay form code; an out-of-range code has every item unused.
  const PayFormItems& ForPayForm(int payFormCode) const;
  PayFormItems unused;
};

// The default names, order and flags of a kind.
ItemSettings DefaultItemSettings(ItemKind kind);
// Reads names and flag strings from the settings file (defaults for missing keys).
ItemSettings LoadItemSettings(const ProfileFile& settings, ItemKind kind);
// Writes names (user-named items as their placeholders, each quoted) and flag strings with one
// file replacement. A row that holds a placeholder stays that placeholder; a row whose name after
// the prefix is the user's current name of a user item of its block is written as that item's
// placeholder; empty rows and built-in names are written as they are.
void SaveItemSettings(ProfileFile& settings, const ItemSettings& items, const Options& options);
// The per-pay-form lists; for the bonus kind every attendance entry is "F".
DerivedItemLists DeriveItemLists(const ItemSettings& items);

// The placeholder key of a user item ("F固定手当１", ..., "Vその他３").
const std::string& PlaceholderKey(UserItem item);
// "F固定手当１" -> "F" + the user's name; any other key unchanged.
std::string ResolveItemKey(const std::string& key, const Options& options);
// The built-in item names that user items may not take (default salary names without prefix),
// plus 賞与 and 役員報酬.
const std::vector<std::string>& BuiltInItemNames();

}  // namespace paylark
