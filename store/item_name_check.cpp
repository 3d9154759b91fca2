#include "store/item_name_check.h"

#include <algorithm>

#include "store/item_settings.h"
#include "store/sjis.h"

namespace paylark {
namespace {

constexpr const char* kNameRequired = "項目名は必須入力です。";
constexpr const char* kNameDuplicated = "項目名が重複しています。";
constexpr const char* kNameNotEncodable = "項目名に使用できない文字が含まれています。";

std::string BuiltInMessage(const std::string& name) {
  return "項目名｢" + name + "｣は既に用意されている項目です。\r同じ名前の項目を複数作成する事は出来ません。";
}

// Checks the names [first, last) in order; the built-in check only where asked.
std::optional<ItemNameProblem> CheckGroup(const Options& options, int first, int last, bool builtInCheck) {
  const auto& names = options.itemNames;
  const auto& builtIn = BuiltInItemNames();
  for (int i = first; i < last; ++i) {
    if (names[i].empty()) return ItemNameProblem{i, kNameRequired};
    for (int j = first; j < last; ++j) {
      if (j != i && names[j] == names[i]) return ItemNameProblem{j, kNameDuplicated};
    }
    if (builtInCheck && std::find(builtIn.begin(), builtIn.end(), names[i]) != builtIn.end()) {
      return ItemNameProblem{i, BuiltInMessage(names[i])};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<ItemNameProblem> CheckItemNames(const Options& options) {
  constexpr int kPayments = static_cast<int>(UserItem::FixedAllowance1);
  constexpr int kDeductions = static_cast<int>(UserItem::FixedDeduction1);
  constexpr int kOthers = static_cast<int>(UserItem::Other1);
  if (auto p = CheckGroup(options, kPayments, kDeductions, true)) return p;
  if (auto p = CheckGroup(options, kDeductions, kOthers, true)) return p;
  if (auto p = CheckGroup(options, kOthers, kUserItemCount, false)) return p;
  for (int i = 0; i < kUserItemCount; ++i) {
    if (!HasSjisForm(options.itemNames[i])) return ItemNameProblem{i, kNameNotEncodable};
  }
  if (!HasSjisForm(options.thirdBonusName)) return ItemNameProblem{kThirdBonusNameField, kNameNotEncodable};
  return std::nullopt;
}

}  // namespace paylark
