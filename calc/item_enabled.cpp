#include "calc/item_enabled.h"

#include <string_view>

namespace paylark {
namespace {

UserItem Nth(UserItem first, int i) { return static_cast<UserItem>(static_cast<int>(first) + i); }

// The list entry's name without its kind prefix, user-named items resolved.
std::string EntryName(const std::string& entry, const Options& options) {
  std::string resolved = ResolveItemKey(entry, options);
  return resolved.size() > 1 ? resolved.substr(1) : std::string();
}

bool Lists(const std::vector<std::string>& block, const std::string& name, const Options& options) {
  if (name.empty()) return false;
  for (const auto& entry : block) {
    if (EntryName(entry, options) == name) return true;
  }
  return false;
}

}  // namespace

std::string SikyuItemName(Sikyu p, const Options& options, ItemKind kind) {
  const int pos = static_cast<int>(p);
  if (pos >= 4 && pos <= 6) return options.Name(Nth(UserItem::FixedAllowance1, pos - 4));
  if (pos >= 13 && pos <= 15) return options.Name(Nth(UserItem::VariableAllowance1, pos - 13));
  if (pos >= 20 && pos <= 22) return options.Name(Nth(UserItem::Other1, pos - 20));
  if (kind == ItemKind::Bonus) {
    if (p == Sikyu::Bonus) return "賞与";
    if (p == Sikyu::DirectorPay) return "役員報酬";
    return {};
  }
  switch (p) {
    case Sikyu::BasePay: return "基本給";
    case Sikyu::PositionAllowance: return "役職手当";
    case Sikyu::FamilyAllowance: return "家族手当";
    case Sikyu::Overtime: return "普通残業手当";
    case Sikyu::NightOvertime: return "深夜残業手当";
    case Sikyu::HolidayOvertime: return "休日普通残業";
    case Sikyu::HolidayNightOvertime: return "休日深夜残業";
    case Sikyu::CommuteNonTaxable: return "非課税通勤費";
    case Sikyu::CommuteTaxable: return "課税通勤費";
    case Sikyu::Absence: return "欠勤控除";
    case Sikyu::Lateness: return "遅刻早退控除";
    default: return {};
  }
}

std::string KoujoItemName(Koujo p, const Options& options, ItemKind kind) {
  const int pos = static_cast<int>(p);
  if (pos >= 10 && pos <= 12) return options.Name(Nth(UserItem::FixedDeduction1, pos - 10));
  if (pos >= 13 && pos <= 15) return options.Name(Nth(UserItem::VariableDeduction1, pos - 13));
  if (pos >= 18 && pos <= 20) return options.Name(Nth(UserItem::Other1, pos - 18));
  switch (p) {
    case Koujo::Health: return "健康保険料";
    case Koujo::Pension: return "厚生年金保険";
    case Koujo::PensionFund: return "厚生年金基金";
    case Koujo::Employment: return "雇用保険料";
    case Koujo::Nursing: return "介護保険料";
    case Koujo::ChildSupportLevy: return "子ども・子育て支援金";
    case Koujo::IncomeTax: return "所得税";
    case Koujo::ResidentTax: return kind == ItemKind::Salary ? "住民税" : "";
    default: return {};
  }
}

std::string SikyuPositionName(Sikyu p, const Options& options, ItemKind kind) {
  switch (p) {
    case Sikyu::TaxableTotal: return "課税支給合計";
    case Sikyu::Total: return "支給合計";
    default: return SikyuItemName(p, options, kind);
  }
}

std::string KoujoPositionName(Koujo p, const Options& options, ItemKind kind) {
  switch (p) {
    case Koujo::SocialTotal: return "社会保険料計";
    case Koujo::AfterSocial: return "社保控除後計";
    case Koujo::Total: return "控除合計";
    case Koujo::SocialBase: return "社保算定合計";
    case Koujo::YearEndAdjustment: return "年末調整";
    default: return KoujoItemName(p, options, kind);
  }
}

EnabledItemsByPayForm ResolveEnabledItems(const DerivedItemLists& lists, const Options& options, ItemKind kind) {
  EnabledItemsByPayForm result;
  for (int form = 1; form <= kPayFormCount; ++form) {
    const PayFormItems& items = lists.ForPayForm(form);
    EnabledItems& enabled = result.forms[form - 1];
    for (int pos = 1; pos <= kSikyuPositions; ++pos) {
      // その他 are listed in their own block.
      const auto& block = items.Block(pos >= 20 && pos <= 22 ? ItemBlock::Sonota : ItemBlock::Sikyu);
      enabled.sikyu[pos] = Lists(block, SikyuItemName(static_cast<Sikyu>(pos), options, kind), options);
    }
    for (int pos = 1; pos <= kKoujoPositions; ++pos) {
      const auto& block = items.Block(pos >= 18 && pos <= 20 ? ItemBlock::Sonota : ItemBlock::Koujo);
      enabled.koujo[pos] = Lists(block, KoujoItemName(static_cast<Koujo>(pos), options, kind), options);
    }
  }
  return result;
}

}  // namespace paylark
