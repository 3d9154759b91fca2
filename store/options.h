// The program-wide options of the input item settings (入力項目の設定): the user's names of the
// fifteen placeholder items and of the third bonus, the 課税 and 社保 flags of the twelve user
// allowances and deductions, the yen rounding modes and the print and input switches. They live in
// section Option of the settings file; this is their in-memory form.
#pragma once

#include <array>
#include <string>

namespace paylark {

// Fractions below one yen: 0 切り捨て (truncate), 1 切り上げ (round up), 2 四捨五入 (half away from 0).
enum class RoundingMode : int { Truncate = 0, Up = 1, Half = 2 };

// Index of a user-named item in Options::itemNames and (for the first twelve) in the flag arrays.
enum class UserItem : int {
  FixedAllowance1 = 0, FixedAllowance2, FixedAllowance3,          // 固定手当１..３
  VariableAllowance1, VariableAllowance2, VariableAllowance3,     // 変動手当１..３
  FixedDeduction1, FixedDeduction2, FixedDeduction3,              // 固定控除１..３
  VariableDeduction1, VariableDeduction2, VariableDeduction3,     // 変動控除１..３
  Other1, Other2, Other3,                                         // その他１..３
};
constexpr int kUserItemCount = 15;
constexpr int kFlaggedUserItemCount = 12;

struct Options {
  // Names in UserItem order (FixTeate1..3, VarTeate1..3, FixKoujo1..3, VarKoujo1..3, Sonota1..3).
  std::array<std::string, kUserItemCount> itemNames{
      "固定手当１", "固定手当２", "固定手当３", "変動手当１", "変動手当２", "変動手当３",
      "固定控除１", "固定控除２", "固定控除３", "変動控除１", "変動控除２", "変動控除３",
      "その他１",   "その他２",   "その他３"};
  std::string thirdBonusName = "特別賞与";  // TokuSyoyo
  // 課税 (Kazei) and 社保 (Syaho) flags of the first twelve user items.
  std::array<bool, kFlaggedUserItemCount> taxable{true, true, true, true, true, true,
                                                  false, false, false, false, false, false};
  std::array<bool, kFlaggedUserItemCount> socialInsurance{true, true, true, true, true, true,
                                                          false, false, false, false, false, false};
  RoundingMode paymentRounding = RoundingMode::Up;          // HasuuSik 支給項目
  RoundingMode reductionRounding = RoundingMode::Truncate;  // HasuuGen 減額項目
  RoundingMode deductionRounding = RoundingMode::Truncate;  // HasuuKou 控除項目
  int formType = 1;         // 0 A4 1名/枚, 1 A4 2名/枚, 2 pre-printed form
  int timeStyle = 1;        // 0 decimal hours, 1 hours:minutes
  double printShiftH = 0;   // millimetres (stored in tenths)
  double printShiftV = 0;
  bool autoSelect = true;   // 数値項目を自動選択する
  bool inputOverwrite = true;  // 数値項目を上書き入力する
  bool printYearToDate = true; // 明細書の累計欄を印刷する
  bool printClassTotals = true;// 社員区分別の集計を印刷する

  const std::string& Name(UserItem item) const { return itemNames[static_cast<int>(item)]; }
  bool Taxable(UserItem item) const { return taxable[static_cast<int>(item)]; }
  bool SocialInsurance(UserItem item) const { return socialInsurance[static_cast<int>(item)]; }
};

}  // namespace paylark
