#include "store/item_name_check.h"

#include <gtest/gtest.h>

#include <string>

namespace paylark {
namespace {

constexpr int Field(UserItem item) { return static_cast<int>(item); }

std::string BuiltIn(const std::string& name) {
  return "項目名｢" + name + "｣は既に用意されている項目です。\r同じ名前の項目を複数作成する事は出来ません。";
}

TEST(ItemNameCheckTest, DefaultNamesAreAccepted) { EXPECT_EQ(CheckItemNames(Options{}), std::nullopt); }

TEST(ItemNameCheckTest, EachRuleNamesItsFieldAndMessage) {
  using enum UserItem;
  struct Case {
    const char* what;
    std::vector<std::pair<UserItem, std::string>> names;
    std::string thirdBonus;
    std::optional<ItemNameProblem> expected;
  };
  const Case cases[] = {
      {"empty payment name", {{VariableAllowance2, ""}}, "特別賞与",
       ItemNameProblem{Field(VariableAllowance2), "項目名は必須入力です。"}},
      {"duplicate goes to the later field", {{FixedAllowance2, "皆勤手当"}, {VariableAllowance3, "皆勤手当"}}, "特別賞与",
       ItemNameProblem{Field(VariableAllowance3), "項目名が重複しています。"}},
      {"built-in payment name", {{FixedAllowance1, "基本給"}}, "特別賞与",
       ItemNameProblem{Field(FixedAllowance1), BuiltIn("基本給")}},
      {"attendance name is built in too", {{VariableDeduction3, "出勤日数"}}, "特別賞与",
       ItemNameProblem{Field(VariableDeduction3), BuiltIn("出勤日数")}},
      {"bonus names are built in", {{FixedDeduction2, "役員報酬"}}, "特別賞与",
       ItemNameProblem{Field(FixedDeduction2), BuiltIn("役員報酬")}},
      {"same name in payments and deductions", {{VariableAllowance1, "旅費"}, {FixedDeduction1, "旅費"}}, "特別賞与",
       std::nullopt},
      {"a placeholder name of another group is no built-in name", {{FixedAllowance1, "固定控除１"}}, "特別賞与",
       std::nullopt},
      {"その他 may take a built-in name", {{Other1, "基本給"}}, "特別賞与", std::nullopt},
      {"その他 duplicate", {{Other1, "調整"}, {Other3, "調整"}}, "特別賞与",
       ItemNameProblem{Field(Other3), "項目名が重複しています。"}},
      {"その他 empty", {{Other2, ""}}, "特別賞与", ItemNameProblem{Field(Other2), "項目名は必須入力です。"}},
      {"payments are checked before deductions", {{FixedDeduction1, ""}, {FixedAllowance3, "所得税"}}, "特別賞与",
       ItemNameProblem{Field(FixedAllowance3), BuiltIn("所得税")}},
      {"within a field, empty comes first", {{FixedAllowance1, ""}, {FixedAllowance2, ""}}, "特別賞与",
       ItemNameProblem{Field(FixedAllowance1), "項目名は必須入力です。"}},
      {"an empty third bonus name is not checked", {}, "", std::nullopt},
      {"a name without a Shift-JIS form", {{Other1, "手当😀"}}, "特別賞与",
       ItemNameProblem{Field(Other1), "項目名に使用できない文字が含まれています。"}},
      {"a third bonus name without a Shift-JIS form", {}, "賞与😀",
       ItemNameProblem{kThirdBonusNameField, "項目名に使用できない文字が含まれています。"}},
  };
  for (const Case& c : cases) {
    Options o;
    for (const auto& [item, name] : c.names) o.itemNames[static_cast<int>(item)] = name;
    o.thirdBonusName = c.thirdBonus;
    EXPECT_EQ(CheckItemNames(o), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace paylark
