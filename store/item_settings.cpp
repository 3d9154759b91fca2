#include "store/item_settings.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "store/profile_file.h"

namespace paylark {
namespace {

constexpr std::string_view kEmptyRow = "F";
// The deduction item added to the lists after 介護保険料, and the key of the name section that
// says a settings file's lists already know it (written with every save of the lists).
constexpr std::string_view kLevyItem = "F子ども・子育て支援金";
constexpr std::string_view kLevyItemKey = "LevyItem";
constexpr std::array<std::string_view, 4> kBlockKeys{"Kintai", "Sikyu", "Koujo", "Sonota"};

struct BlockDefaults {
  std::vector<std::string_view> names;
  std::array<std::string_view, kPayFormCount> flags;  // 月給, 日給, 時間給
};

const std::array<BlockDefaults, 4>& Defaults(ItemKind kind) {
  static const std::array<BlockDefaults, 4> salary{{
      {{"F所定労働日数", "V出勤日数", "V有休日数", "V欠勤日数", "V休日出勤日数", "V特別休暇日数",
        "F所定労働時間", "V実働時間", "V普通残業時間", "V深夜残業時間", "V休日普通残業",
        "V休日深夜残業", "V遅刻早退回数", "V遅刻早退時間", "F", "V有休残日数"},
       {"1111011111101111", "0110010100001111", "0110010100000011"}},
      {{"F基本給", "F役職手当", "F家族手当", "F固定手当１", "F固定手当２", "F固定手当３",
        "F普通残業手当", "F深夜残業手当", "F休日普通残業", "F休日深夜残業", "F非課税通勤費",
        "F課税通勤費", "F欠勤控除", "F遅刻早退控除", "V変動手当１", "V変動手当２", "V変動手当３",
        "F課税支給合計"},
       {"111000111011110001", "111000000011010001", "111000000011000001"}},
      {{"F健康保険料", "F介護保険料", "F子ども・子育て支援金", "F厚生年金保険", "F厚生年金基金", "F雇用保険料",
        "F社会保険料計", "F社保控除後計", "F所得税", "F住民税", "F固定控除１", "F固定控除２",
        "F固定控除３", "F", "V変動控除１", "V変動控除２", "V変動控除３", "F年末調整"},
       {"111111111100010001", "111111111100010001", "111111111100010001"}},
      {{"Vその他１", "Vその他２", "Vその他３"}, {"000", "000", "000"}},
  }};
  // A bonus has no attendance rows.
  static const std::array<BlockDefaults, 4> bonus{{
      {{}, {"", "", ""}},
      {{"V賞与", "V役員報酬", "F", "F固定手当１", "F固定手当２", "F固定手当３", "F", "V変動手当１",
        "V変動手当２", "V変動手当３", "F", "F課税支給合計", "F", "F", "F", "F", "F", "F"},
       {"111000100011111111", "111000100011111111", "111000100011111111"}},
      {{"F健康保険料", "F介護保険料", "F子ども・子育て支援金", "F厚生年金保険", "F厚生年金基金", "F雇用保険料",
        "F社会保険料計", "F社保控除後計", "F所得税", "F", "F固定控除１", "F固定控除２",
        "F固定控除３", "F", "V変動控除１", "V変動控除２", "V変動控除３", "F年末調整"},
       {"111111111100010001", "111111111100010001", "111111111100010001"}},
      {{"Vその他１", "Vその他２", "Vその他３"}, {"000", "000", "000"}},
  }};
  return kind == ItemKind::Salary ? salary : bonus;
}

const std::array<std::string, kUserItemCount>& Placeholders() {
  static const std::array<std::string, kUserItemCount> keys{
      "F固定手当１", "F固定手当２", "F固定手当３", "V変動手当１", "V変動手当２", "V変動手当３",
      "F固定控除１", "F固定控除２", "F固定控除３", "V変動控除１", "V変動控除２", "V変動控除３",
      "Vその他１",   "Vその他２",   "Vその他３"};
  return keys;
}

// The user items whose rows live in a block (rows move only within their block).
std::pair<int, int> UserItemsOfBlock(ItemBlock block) {
  switch (block) {
    case ItemBlock::Sikyu: return {0, 6};    // 固定手当, 変動手当
    case ItemBlock::Koujo: return {6, 12};   // 固定控除, 変動控除
    case ItemBlock::Sonota: return {12, 15}; // その他
    case ItemBlock::Kintai: break;
  }
  return {0, 0};
}

std::string NameSection(ItemKind kind) { return kind == ItemKind::Salary ? "KyuyoItemName" : "SyoyoItemName"; }

std::string FormSection(ItemKind kind, int payForm) {
  return (kind == ItemKind::Salary ? "KyuyoKeitai" : "SyoyoKeitai") + std::to_string(payForm);
}

std::string RowKey(ItemBlock block, int row) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%.2d", row);
  return std::string(kBlockKeys[static_cast<int>(block)]) + digits;
}

bool IsEmptyRow(std::string_view name) { return name.size() <= 1; }

// The name as stored: a user item under its placeholder, everything else as it is.
std::string StoredName(const std::string& name, ItemBlock block, const Options& options) {
  if (IsEmptyRow(name)) return name.empty() ? std::string(kEmptyRow) : name;
  const auto& keys = Placeholders();
  // A placeholder stays itself even when another user item now carries its default name.
  if (std::find(keys.begin(), keys.end(), name) != keys.end()) return name;
  if (static_cast<unsigned char>(name[0]) >= 0x80) return name;  // no one-letter prefix
  const std::string bare = name.substr(1);
  const auto& builtIn = BuiltInItemNames();
  if (std::find(builtIn.begin(), builtIn.end(), bare) != builtIn.end()) return name;
  auto [first, last] = UserItemsOfBlock(block);
  for (int i = first; i < last; ++i) {
    if (options.itemNames[i] == bare) return keys[i];
  }
  return name;
}

constexpr std::array<ItemBlock, 4> kBlocks{ItemBlock::Kintai, ItemBlock::Sikyu, ItemBlock::Koujo,
                                           ItemBlock::Sonota};

}  // namespace

ItemSettings DefaultItemSettings(ItemKind kind) {
  ItemSettings items;
  items.kind = kind;
  const auto& defaults = Defaults(kind);
  for (ItemBlock block : kBlocks) {
    const BlockDefaults& d = defaults[static_cast<int>(block)];
    std::vector<ItemRow>& rows = items.Block(block);
    for (std::size_t r = 0; r < d.names.size(); ++r) {
      ItemRow row;
      row.name = std::string(d.names[r]);
      for (int t = 0; t < kPayFormCount; ++t) row.flags[t] = d.flags[t][r] == '1';
      rows.push_back(std::move(row));
    }
  }
  return items;
}

// Adds 子ども・子育て支援金 to deduction lists written before the item existed: after 介護保険料
// (else after 健康保険料, else first), printed for every pay form, taking the place of the first
// empty row after it (else of the last empty row before it), so that the other rows keep their
// names, flags and order. A list without an empty row stays as it is.
void AddLevyItem(std::vector<ItemRow>& rows) {
  const auto named = [&](std::string_view bare) {
    return std::find_if(rows.begin(), rows.end(), [&](const ItemRow& r) { return r.name.size() > 1 && r.name.substr(1) == bare; });
  };
  if (named(kLevyItem.substr(1)) != rows.end()) return;
  std::size_t at = 0;
  if (auto it = named("介護保険料"); it != rows.end()) {
    at = static_cast<std::size_t>(it - rows.begin()) + 1;
  } else if (auto health = named("健康保険料"); health != rows.end()) {
    at = static_cast<std::size_t>(health - rows.begin()) + 1;
  }
  std::size_t empty = rows.size();
  for (std::size_t r = at; r < rows.size() && empty == rows.size(); ++r) {
    if (IsEmptyRow(rows[r].name)) empty = r;
  }
  if (empty == rows.size()) {
    for (std::size_t r = at; r-- > 0;) {
      if (IsEmptyRow(rows[r].name)) {
        empty = r;
        break;
      }
    }
  }
  if (empty == rows.size()) return;
  ItemRow levy;
  levy.name = std::string(kLevyItem);
  levy.flags.fill(true);
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(empty));
  if (empty < at) --at;
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(levy));
}

ItemSettings LoadItemSettings(const ProfileFile& settings, ItemKind kind) {
  ItemSettings items = DefaultItemSettings(kind);
  const auto& defaults = Defaults(kind);
  const ProfileSection names = settings.ReadSection(NameSection(kind));
  for (ItemBlock block : kBlocks) {
    std::vector<ItemRow>& rows = items.Block(block);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      std::optional<std::string> name = names.Find(RowKey(block, static_cast<int>(r)));
      // An empty value would be a row without even its prefix: it is an empty row.
      if (name) rows[r].name = name->empty() ? std::string(kEmptyRow) : *name;
    }
  }
  bool storedDeductionList = false;
  for (std::size_t r = 0; r < items.Block(ItemBlock::Koujo).size(); ++r) {
    if (names.Find(RowKey(ItemBlock::Koujo, static_cast<int>(r)))) storedDeductionList = true;
  }
  for (int t = 0; t < kPayFormCount; ++t) {
    const ProfileSection form = settings.ReadSection(FormSection(kind, t + 1));
    for (ItemBlock block : kBlocks) {
      std::vector<ItemRow>& rows = items.Block(block);
      if (rows.empty()) continue;
      std::optional<std::string> stored = form.Find(kBlockKeys[static_cast<int>(block)]);
      if (block == ItemBlock::Koujo && stored) storedDeductionList = true;
      const std::string flags = stored ? *stored : std::string(defaults[static_cast<int>(block)].flags[t]);
      for (std::size_t r = 0; r < rows.size(); ++r) rows[r].flags[t] = r < flags.size() && flags[r] == '1';
    }
  }
  // A list of a settings file written before the levy item: it gains the item as it is read, until
  // the lists are saved (which records that they know it).
  if (storedDeductionList && !names.Find(kLevyItemKey)) AddLevyItem(items.Block(ItemBlock::Koujo));
  return items;
}

void SaveItemSettings(ProfileFile& settings, const ItemSettings& items, const Options& options) {
  ProfileBatch batch;
  const std::string nameSection = NameSection(items.kind);
  for (ItemBlock block : kBlocks) {
    const std::vector<ItemRow>& rows = items.Block(block);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      batch.Quoted(nameSection, RowKey(block, static_cast<int>(r)), StoredName(rows[r].name, block, options));
    }
  }
  batch.Text(nameSection, kLevyItemKey, "1");
  for (int t = 0; t < kPayFormCount; ++t) {
    const std::string formSection = FormSection(items.kind, t + 1);
    for (ItemBlock block : kBlocks) {
      const std::vector<ItemRow>& rows = items.Block(block);
      if (rows.empty()) continue;
      std::string flags;
      for (const ItemRow& row : rows) flags += row.flags[t] ? '1' : '0';
      batch.Text(formSection, kBlockKeys[static_cast<int>(block)], flags);
    }
  }
  settings.Write(batch);
}

DerivedItemLists DeriveItemLists(const ItemSettings& items) {
  DerivedItemLists lists;
  for (ItemBlock block : kBlocks) {
    const int b = static_cast<int>(block);
    const std::vector<ItemRow>& rows = items.Block(block);
    const bool noAttendance = block == ItemBlock::Kintai && items.kind == ItemKind::Bonus;
    lists.unused.blocks[b].assign(kBlockRows[b], std::string(kEmptyRow));
    for (int t = 0; t < kPayFormCount; ++t) {
      std::vector<std::string>& out = lists.forms[t].blocks[b];
      out.assign(kBlockRows[b], std::string(kEmptyRow));
      if (noAttendance) continue;
      for (std::size_t r = 0; r < rows.size() && r < out.size(); ++r) {
        if (rows[r].flags[t] && !rows[r].name.empty()) out[r] = rows[r].name;
      }
    }
  }
  return lists;
}

const PayFormItems& DerivedItemLists::ForPayForm(int payFormCode) const {
  return payFormCode >= 1 && payFormCode <= kPayFormCount ? forms[payFormCode - 1] : unused;
}

const std::string& PlaceholderKey(UserItem item) { return Placeholders()[static_cast<int>(item)]; }

std::string ResolveItemKey(const std::string& key, const Options& options) {
  const auto& keys = Placeholders();
  for (int i = 0; i < kUserItemCount; ++i) {
    if (keys[i] == key) return key.substr(0, 1) + options.itemNames[i];
  }
  return key;
}

const std::vector<std::string>& BuiltInItemNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    const auto& placeholders = Placeholders();
    const auto& salary = Defaults(ItemKind::Salary);
    for (ItemBlock block : {ItemBlock::Kintai, ItemBlock::Sikyu, ItemBlock::Koujo}) {
      for (std::string_view name : salary[static_cast<int>(block)].names) {
        if (IsEmptyRow(name) || std::find(placeholders.begin(), placeholders.end(), name) != placeholders.end()) {
          continue;
        }
        std::string bare(name.substr(1));
        if (std::find(out.begin(), out.end(), bare) == out.end()) out.push_back(std::move(bare));
      }
    }
    out.emplace_back("賞与");
    out.emplace_back("役員報酬");
    return out;
  }();
  return names;
}

}  // namespace paylark
