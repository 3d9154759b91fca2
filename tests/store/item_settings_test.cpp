#include "store/item_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "store/atomic_file.h"
#include "store/profile_file.h"
#include "store/sjis.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

using testing::TempDir;

std::string FlagString(const ItemSettings& items, ItemBlock block, int payForm) {
  std::string s;
  for (const ItemRow& row : items.Block(block)) s += row.flags[payForm - 1] ? '1' : '0';
  return s;
}

std::vector<std::string> Names(const ItemSettings& items, ItemBlock block) {
  std::vector<std::string> names;
  for (const ItemRow& row : items.Block(block)) names.push_back(row.name);
  return names;
}

class ItemSettingsTest : public ::testing::Test {
 protected:
  TempDir dir_;
  ProfileFile file_{dir_ / "Saldesk.ini"};
};

TEST_F(ItemSettingsTest, WithoutKeysTheDefaultTableApplies) {
  using enum ItemBlock;
  ItemSettings salary = LoadItemSettings(file_, ItemKind::Salary);
  EXPECT_EQ(salary, DefaultItemSettings(ItemKind::Salary));
  EXPECT_EQ(Names(salary, Koujo),
            (std::vector<std::string>{"F健康保険料", "F介護保険料", "F子ども・子育て支援金", "F厚生年金保険",
                                      "F厚生年金基金", "F雇用保険料", "F社会保険料計", "F社保控除後計", "F所得税",
                                      "F住民税", "F固定控除１", "F固定控除２", "F固定控除３", "F",
                                      "V変動控除１", "V変動控除２", "V変動控除３", "F年末調整"}));
  EXPECT_EQ(salary.Block(Kintai)[14].name, "F");
  EXPECT_EQ(salary.Block(Kintai)[15].name, "V有休残日数");
  EXPECT_EQ(salary.Block(Sikyu)[3].name, "F固定手当１");
  EXPECT_EQ(salary.Block(Sonota)[2].name, "Vその他３");

  struct Flags {
    ItemBlock block;
    const char* monthly;
    const char* daily;
    const char* hourly;
  };
  const Flags salaryFlags[] = {
      {Kintai, "1111011111101111", "0110010100001111", "0110010100000011"},
      {Sikyu, "111000111011110001", "111000000011010001", "111000000011000001"},
      {Koujo, "111111111100010001", "111111111100010001", "111111111100010001"},
      {Sonota, "000", "000", "000"},
  };
  for (const Flags& f : salaryFlags) {
    EXPECT_EQ(FlagString(salary, f.block, 1), f.monthly);
    EXPECT_EQ(FlagString(salary, f.block, 2), f.daily);
    EXPECT_EQ(FlagString(salary, f.block, 3), f.hourly);
  }

  ItemSettings bonus = LoadItemSettings(file_, ItemKind::Bonus);
  EXPECT_EQ(bonus, DefaultItemSettings(ItemKind::Bonus));
  EXPECT_TRUE(bonus.Block(Kintai).empty());
  EXPECT_EQ(Names(bonus, Sikyu),
            (std::vector<std::string>{"V賞与", "V役員報酬", "F", "F固定手当１", "F固定手当２", "F固定手当３",
                                      "F", "V変動手当１", "V変動手当２", "V変動手当３", "F", "F課税支給合計",
                                      "F", "F", "F", "F", "F", "F"}));
  EXPECT_EQ(bonus.Block(Koujo)[9].name, "F");  // no 住民税 on a bonus
  for (int t = 1; t <= 3; ++t) {
    EXPECT_EQ(FlagString(bonus, Sikyu, t), "111000100011111111");
    EXPECT_EQ(FlagString(bonus, Koujo, t), "111111111100010001");
  }
}

TEST_F(ItemSettingsTest, FlagsAndNamesAreReadFromTheFile) {
  ReplaceFileContents(file_.Path(), ToSjis("[KyuyoItemName]\r\nLevyItem=1\r\nSikyu00=\"V基本給\"\r\nKoujo02=\r\n"
                                           "[KyuyoKeitai2]\r\nSikyu=1x1\r\n"
                                           "[SyoyoKeitai1]\r\nKintai=1111\r\n"));
  ItemSettings salary = LoadItemSettings(file_, ItemKind::Salary);
  EXPECT_EQ(salary.Block(ItemBlock::Sikyu)[0].name, "V基本給");
  EXPECT_EQ(salary.Block(ItemBlock::Koujo)[2].name, "F");  // an empty value is an empty row
  EXPECT_EQ(FlagString(salary, ItemBlock::Sikyu, 2), "101000000000000000");  // short: the rest off
  EXPECT_EQ(FlagString(salary, ItemBlock::Sikyu, 1), "111000111011110001");  // other forms keep theirs
  EXPECT_TRUE(LoadItemSettings(file_, ItemKind::Bonus).Block(ItemBlock::Kintai).empty());
}

// Deduction lists of a settings file written before the 子ども・子育て支援金 item: the item joins
// once, after 介護保険料, in the place of an empty row; everything the user set keeps its place.
TEST_F(ItemSettingsTest, AnOlderDeductionListGainsTheLevyItemOnce) {
  struct Case {
    const char* name;
    std::vector<std::string> stored;  // Koujo00.. as an older program wrote them
    const char* flags;                // KyuyoKeitai1 Koujo
    std::vector<std::string> expected;
    const char* expectedFlags;
  };
  const std::vector<std::string> olderDefaults{"F健康保険料", "F介護保険料", "F厚生年金保険", "F厚生年金基金",
                                               "F雇用保険料", "F社会保険料計", "F社保控除後計", "F", "F所得税",
                                               "F住民税", "F固定控除１", "F固定控除２", "F固定控除３", "F",
                                               "V変動控除１", "V変動控除２", "V変動控除３", "F"};
  std::vector<std::string> noRoom(18, "F固定控除１");
  noRoom[0] = "F健康保険料";
  noRoom[1] = "F介護保険料";
  const Case cases[] = {
      {"older defaults: the empty row after 社保控除後計 makes room", olderDefaults, "101111111100010001",
       {"F健康保険料", "F介護保険料", "F子ども・子育て支援金", "F厚生年金保険", "F厚生年金基金", "F雇用保険料",
        "F社会保険料計", "F社保控除後計", "F所得税", "F住民税", "F固定控除１", "F固定控除２", "F固定控除３", "F",
        "V変動控除１", "V変動控除２", "V変動控除３", "F"},
       "101111111100010001"},
      {"the only empty row is before 介護保険料",
       {"F", "F健康保険料", "F介護保険料", "F厚生年金保険", "F厚生年金基金", "F雇用保険料", "F社会保険料計",
        "F社保控除後計", "F所得税", "F住民税", "F固定控除１", "F固定控除２", "F固定控除３", "F皆勤",
        "V変動控除１", "V変動控除２", "V変動控除３", "F旅行"},
       "011111111100010001",
       {"F健康保険料", "F介護保険料", "F子ども・子育て支援金", "F厚生年金保険", "F厚生年金基金", "F雇用保険料",
        "F社会保険料計", "F社保控除後計", "F所得税", "F住民税", "F固定控除１", "F固定控除２", "F固定控除３",
        "F皆勤", "V変動控除１", "V変動控除２", "V変動控除３", "F旅行"},
       "111111111100010001"},
      {"no empty row: the list stays as it is", noRoom, "111111111111111111", noRoom, "111111111111111111"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string ini = "[KyuyoItemName]\r\n";
    for (std::size_t r = 0; r < c.stored.size(); ++r) {
      ini += "Koujo" + std::string(r < 10 ? "0" : "") + std::to_string(r) + "=\"" + c.stored[r] + "\"\r\n";
    }
    ini += "[KyuyoKeitai1]\r\nKoujo=" + std::string(c.flags) + "\r\n";
    ReplaceFileContents(file_.Path(), ToSjis(ini));
    const ItemSettings read = LoadItemSettings(file_, ItemKind::Salary);
    EXPECT_EQ(Names(read, ItemBlock::Koujo), c.expected);
    EXPECT_EQ(FlagString(read, ItemBlock::Koujo, 1), c.expectedFlags);
  }

  // Once the lists are saved the file knows the item: one the user took out stays out.
  ItemSettings items = LoadItemSettings(file_, ItemKind::Salary);
  ReplaceFileContents(file_.Path(), ToSjis("[KyuyoItemName]\r\nKoujo00=\"F健康保険料\"\r\n"));
  items = LoadItemSettings(file_, ItemKind::Salary);
  ASSERT_EQ(items.Block(ItemBlock::Koujo)[2].name, "F子ども・子育て支援金");
  items.Block(ItemBlock::Koujo)[2].name = "F";
  SaveItemSettings(file_, items, Options{});
  EXPECT_EQ(LoadItemSettings(file_, ItemKind::Salary).Block(ItemBlock::Koujo)[2].name, "F");
}

TEST_F(ItemSettingsTest, TogglingOnePayFormChangesOnlyThatFlag) {
  ItemSettings items = DefaultItemSettings(ItemKind::Salary);
  items.Block(ItemBlock::Sikyu)[3].flags[1] = true;  // 固定手当１ on the 日給 tab
  SaveItemSettings(file_, items, Options{});

  ItemSettings back = LoadItemSettings(file_, ItemKind::Salary);
  EXPECT_EQ(back, items);
  EXPECT_EQ(file_.ReadText("KyuyoKeitai1", "Sikyu", ""), "111000111011110001");
  EXPECT_EQ(file_.ReadText("KyuyoKeitai2", "Sikyu", ""), "111100000011010001");
  EXPECT_EQ(file_.ReadText("KyuyoKeitai3", "Sikyu", ""), "111000000011000001");
  EXPECT_EQ(file_.ReadText("KyuyoItemName", "Kintai14", "missing"), "F");
  EXPECT_NE(ReadWholeFile(file_.Path()).find(ToSjis("Sikyu03=\"F固定手当１\"\r\n")), std::string::npos);

  DerivedItemLists lists = DeriveItemLists(back);
  EXPECT_EQ(lists.ForPayForm(2).Block(ItemBlock::Sikyu)[3], "F固定手当１");
  EXPECT_EQ(lists.ForPayForm(1).Block(ItemBlock::Sikyu)[3], "F");
}

TEST_F(ItemSettingsTest, AMovedRowKeepsItsFlagsAndItsNewPlace) {
  ItemSettings items = DefaultItemSettings(ItemKind::Salary);
  auto& rows = items.Block(ItemBlock::Sikyu);
  std::rotate(rows.begin(), rows.end() - 1, rows.end());  // the last row (課税支給合計) to the top
  ASSERT_EQ(rows[0].name, "F課税支給合計");
  ASSERT_EQ(rows[1].name, "F基本給");
  SaveItemSettings(file_, items, Options{});

  ItemSettings back = LoadItemSettings(file_, ItemKind::Salary);
  EXPECT_EQ(back, items);
  EXPECT_EQ(file_.ReadText("KyuyoItemName", "Sikyu00", ""), "F課税支給合計");
  EXPECT_EQ(file_.ReadText("KyuyoKeitai1", "Sikyu", ""), "111100011101111000");
  DerivedItemLists lists = DeriveItemLists(back);
  EXPECT_EQ(lists.ForPayForm(1).Block(ItemBlock::Sikyu)[0], "F課税支給合計");
  EXPECT_EQ(lists.ForPayForm(1).Block(ItemBlock::Sikyu)[17], "F");  // V変動手当３, off for 月給
}

TEST_F(ItemSettingsTest, UserItemsAreStoredUnderTheirPlaceholders) {
  Options options;
  options.itemNames[static_cast<int>(UserItem::FixedAllowance1)] = "皆勤手当";
  options.itemNames[static_cast<int>(UserItem::FixedAllowance2)] = "基本給";        // a hand-edited file
  options.itemNames[static_cast<int>(UserItem::VariableAllowance1)] = "固定手当１";  // the name now free
  options.itemNames[static_cast<int>(UserItem::FixedDeduction1)] = "";             // a hand-edited file
  options.itemNames[static_cast<int>(UserItem::VariableDeduction1)] = "皆勤手当";   // allowed in another group

  ItemSettings items = DefaultItemSettings(ItemKind::Salary);
  auto& sikyu = items.Block(ItemBlock::Sikyu);
  auto& koujo = items.Block(ItemBlock::Koujo);
  ASSERT_EQ(sikyu[3].name, "F固定手当１");
  sikyu[14].name = "V固定手当１";  // 変動手当１ as a screen shows it
  koujo[14].name = "V皆勤手当";    // 変動控除１ as a screen shows it
  koujo[1].name = "F無関係な控除";
  SaveItemSettings(file_, items, options);

  struct Expect {
    const char* key;
    const char* stored;
  };
  const Expect expected[] = {
      {"Sikyu00", "F基本給"},      // a built-in name stays, whatever a user item is called
      {"Sikyu03", "F固定手当１"},  // a placeholder stays, although 変動手当１ now has that name
      {"Sikyu04", "F固定手当２"},
      {"Sikyu14", "V変動手当１"},
      {"Koujo01", "F無関係な控除"},
      {"Koujo13", "F"},            // an empty row stays empty even when a user name is empty
      {"Koujo14", "V変動控除１"},  // the deductions' own item, not 固定手当１ of the same name
  };
  for (const Expect& e : expected) {
    EXPECT_EQ(file_.ReadText("KyuyoItemName", e.key, ""), e.stored) << e.key;
  }

  ItemSettings back = LoadItemSettings(file_, ItemKind::Salary);
  EXPECT_EQ(ResolveItemKey(back.Block(ItemBlock::Sikyu)[3].name, options), "F皆勤手当");
  EXPECT_EQ(ResolveItemKey(back.Block(ItemBlock::Sikyu)[14].name, options), "V固定手当１");
  EXPECT_EQ(ResolveItemKey(back.Block(ItemBlock::Koujo)[14].name, options), "V皆勤手当");
  EXPECT_EQ(ResolveItemKey("F固定手当３", options), "F固定手当３");
  EXPECT_EQ(ResolveItemKey("F基本給", options), "F基本給");
  EXPECT_EQ(ResolveItemKey("V固定手当１", options), "V固定手当１");  // not a placeholder
}

TEST(ItemLists, EachPayFormGetsItsRowsAndABonusNoAttendance) {
  ItemSettings salary = DefaultItemSettings(ItemKind::Salary);
  DerivedItemLists lists = DeriveItemLists(salary);
  const PayFormItems& hourly = lists.ForPayForm(3);
  EXPECT_EQ(hourly.Block(ItemBlock::Kintai)[0], "F");          // 所定労働日数 off for 時間給
  EXPECT_EQ(hourly.Block(ItemBlock::Kintai)[7], "V実働時間");
  EXPECT_EQ(lists.ForPayForm(1).Block(ItemBlock::Kintai)[0], "F所定労働日数");
  for (int code : {0, 4, -1}) {
    const PayFormItems& none = lists.ForPayForm(code);
    for (int b = 0; b < 4; ++b) {
      EXPECT_EQ(none.blocks[b], std::vector<std::string>(kBlockRows[b], "F")) << "pay form " << code;
    }
  }

  DerivedItemLists bonus = DeriveItemLists(DefaultItemSettings(ItemKind::Bonus));
  for (int form = 1; form <= 3; ++form) {
    EXPECT_EQ(bonus.ForPayForm(form).Block(ItemBlock::Kintai), std::vector<std::string>(16, "F"));
    EXPECT_EQ(bonus.ForPayForm(form).Block(ItemBlock::Sikyu)[0], "V賞与");
    EXPECT_EQ(bonus.ForPayForm(form).Block(ItemBlock::Sikyu)[3], "F");  // 固定手当１ off by default
    EXPECT_EQ(bonus.ForPayForm(form).Block(ItemBlock::Sonota).size(), 3u);
  }
}

TEST(ItemLists, PlaceholdersAndBuiltInNames) {
  EXPECT_EQ(PlaceholderKey(UserItem::FixedAllowance1), "F固定手当１");
  EXPECT_EQ(PlaceholderKey(UserItem::VariableDeduction3), "V変動控除３");
  EXPECT_EQ(PlaceholderKey(UserItem::Other1), "Vその他１");

  const std::vector<std::string>& builtIn = BuiltInItemNames();
  auto has = [&](const char* name) { return std::find(builtIn.begin(), builtIn.end(), name) != builtIn.end(); };
  for (const char* name : {"所定労働日数", "有休残日数", "基本給", "休日普通残業", "課税支給合計", "社保控除後計",
                           "住民税", "賞与", "役員報酬", "年末調整"}) {
    EXPECT_TRUE(has(name)) << name;
  }
  for (const char* name : {"固定手当１", "変動控除３", "その他１", "", "F"}) EXPECT_FALSE(has(name)) << name;
  EXPECT_EQ(builtIn.size(), 38u);  // 15 attendance + 12 payment + 11 deduction names, two shared, + 2
}

}  // namespace
}  // namespace paylark
