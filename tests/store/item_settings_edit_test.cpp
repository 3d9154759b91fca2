#include "store/item_settings_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace paylark {
namespace {

std::vector<std::string> Names(const ItemSettings& items, ItemBlock block) {
  std::vector<std::string> names;
  for (const ItemRow& row : items.Block(block)) names.push_back(row.name);
  return names;
}

TEST(ItemSettingsEditTest, MovingARowShiftsTheRowsBetweenAndCarriesItsFlags) {
  using enum ItemBlock;
  const ItemSettings defaults = DefaultItemSettings(ItemKind::Salary);
  const auto& sikyu = defaults.Block(Sikyu);

  ItemSettings up = defaults;
  ASSERT_TRUE(MoveItemRow(up, Sikyu, 17, 0));  // 課税支給合計 to the top
  EXPECT_EQ(up.Block(Sikyu)[0], sikyu[17]);
  for (int r = 1; r < 18; ++r) EXPECT_EQ(up.Block(Sikyu)[r], sikyu[r - 1]) << r;

  ItemSettings down = defaults;
  ASSERT_TRUE(MoveItemRow(down, Sikyu, 1, 4));
  const std::vector<std::string> names = Names(down, Sikyu);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 6),
            (std::vector<std::string>{"F基本給", "F家族手当", "F固定手当１", "F固定手当２", "F役職手当",
                                      "F固定手当３"}));
  EXPECT_EQ(down.Block(Sikyu)[4].flags, sikyu[1].flags);

  // Other blocks are untouched.
  for (ItemBlock b : {Kintai, Koujo, Sonota}) {
    EXPECT_EQ(up.Block(b), defaults.Block(b));
    EXPECT_EQ(down.Block(b), defaults.Block(b));
  }
}

TEST(ItemSettingsEditTest, MovesOutsideTheBlockChangeNothing) {
  ItemSettings items = DefaultItemSettings(ItemKind::Bonus);
  const ItemSettings before = items;
  EXPECT_FALSE(MoveItemRow(items, ItemBlock::Sonota, 0, 3));
  EXPECT_FALSE(MoveItemRow(items, ItemBlock::Sonota, -1, 0));
  EXPECT_FALSE(MoveItemRow(items, ItemBlock::Koujo, 5, 5));
  EXPECT_FALSE(MoveItemRow(items, ItemBlock::Kintai, 0, 0));  // a bonus has no attendance rows
  EXPECT_EQ(items, before);
}

TEST(ItemSettingsEditTest, TogglingChangesOnlyThatPayForm) {
  ItemSettings items = DefaultItemSettings(ItemKind::Salary);
  const ItemRow before = items.Block(ItemBlock::Sikyu)[3];  // 固定手当１: 0 0 0
  ASSERT_TRUE(ToggleItemFlag(items, ItemBlock::Sikyu, 3, 2));
  EXPECT_EQ(items.Block(ItemBlock::Sikyu)[3].flags, (std::array<bool, 3>{false, true, false}));
  ASSERT_TRUE(ToggleItemFlag(items, ItemBlock::Sikyu, 3, 2));
  EXPECT_EQ(items.Block(ItemBlock::Sikyu)[3], before);
  EXPECT_FALSE(ToggleItemFlag(items, ItemBlock::Sikyu, 3, 4));
  EXPECT_FALSE(ToggleItemFlag(items, ItemBlock::Sonota, 3, 1));
}

TEST(ItemSettingsEditTest, DisplayNamesUseTheUsersNamesWithoutPrefix) {
  Options o;
  o.itemNames[static_cast<int>(UserItem::FixedAllowance1)] = "皆勤手当";
  o.itemNames[static_cast<int>(UserItem::Other2)] = " 調整";
  EXPECT_EQ(ItemDisplayName("F固定手当１", o), "皆勤手当");
  EXPECT_EQ(ItemDisplayName("Vその他２", o), " 調整");
  EXPECT_EQ(ItemDisplayName("V変動手当１", o), "変動手当１");
  EXPECT_EQ(ItemDisplayName("F基本給", o), "基本給");
  EXPECT_EQ(ItemDisplayName("F", o), "");
  EXPECT_EQ(ItemDisplayName("", o), "");
  EXPECT_EQ(ItemDisplayName("基本給", o), "基本給");  // no prefix letter in a hand-edited file
}

}  // namespace
}  // namespace paylark
