#include "session/memb_list_rules.h"

#include <algorithm>
#include <cstdio>

#include "calc/age_rules.h"
#include "session/memb_edit_rules.h"
#include "store/sjis.h"

namespace paylark::screens {
namespace {

// Pads UTF-8 text with spaces to a width in Shift-JIS places; a longer text is not cut.
std::string PadRight(const std::string& text, std::size_t width) {
  const std::size_t w = SjisWidth(text);
  return w >= width ? text : text + std::string(width - w, ' ');
}
std::string PadLeft(const std::string& text, std::size_t width) {
  const std::size_t w = SjisWidth(text);
  return w >= width ? text : std::string(width - w, ' ') + text;
}

// Shift-JIS bytes padded to a byte width ("%-*s" on the stored text).
std::string PadRightBytes(std::string sjis, std::size_t width) {
  if (sjis.size() < width) sjis.append(width - sjis.size(), ' ');
  return sjis;
}

// The slot as the line shows it ("%.2d") and as a sort key ends ("%3d").
std::string SlotOfLine(int slot) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2d", slot);
  return text;
}
std::string SlotOfKey(int slot) {
  char text[16];
  std::snprintf(text, sizeof text, "%3d", slot);
  return text;
}

// Compares two Shift-JIS keys ignoring the case of single-byte letters (a trail byte of a
// double-byte character is never folded).
std::string Folded(const std::string& sjis) {
  std::string folded = sjis;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto c = static_cast<unsigned char>(folded[i]);
    if (IsLeadByte(c)) {
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      folded[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return folded;
}

std::string SortKey(const EmployeeRecord& e, int slot, MembListOrder order) {
  if (order == MembListOrder::Name) {
    return PadRightBytes(e.RawText(0, 20), 19) + SlotOfKey(slot);
  }
  const int index = e.CategoryIndex() < 0 ? 9 : e.CategoryIndex();
  return std::to_string(index) + PadRightBytes(e.RawText(305, 12), 18) + SlotOfKey(slot);
}

bool Listed(const EmployeeRecord& e, bool showRetired) { return e.InUse() && (showRetired || !e.Retired()); }

}  // namespace

std::string MembListLine(int slot, const EmployeeRecord& e, std::optional<CivilDate> ageOn) {
  std::string line = " " + SlotOfLine(slot) + "  " + PadRight(e.Name(), 16) + "  ";
  line += PadRight(CategoryName(e), 10) + "  ";
  line += PadRight(PayFormText(e.PayFormCode()), 6);
  const std::optional<CivilDate> birth = BirthDateOf(e);
  if (ageOn && birth && *birth <= *ageOn) {
    line += PadLeft(std::to_string(AgeOn(*birth, *ageOn)), 3) + "歳 ";
  } else {
    line += std::string(6, ' ');
  }
  if (e.Retired()) {
    const std::string date = e.RetirementDate();
    auto part = [&date](std::size_t i) { return i < date.size() ? date.substr(i, 2) : std::string(); };
    line += PadLeft(part(0), 2) + "/" + PadLeft(part(2), 2) + "/" + PadLeft(part(4), 2) + std::string(4, ' ');
  } else {
    line += std::string(12, ' ');
  }
  return line + e.MailAddress();
}

bool HasMailAddress(const EmployeeRecord& e) { return !Trim(e.MailAddress()).empty(); }

std::vector<int> ListedSlots(const PeriodBlock& period, MembListOrder order, bool showRetired) {
  std::vector<int> slots;
  switch (order) {
    case MembListOrder::Name:
    case MembListOrder::Category: {
      std::vector<std::pair<std::string, int>> keyed;
      for (int slot = 1; slot <= kSlotCount; ++slot) {
        const EmployeeRecord& e = period.Employee(slot);
        if (Listed(e, showRetired)) keyed.emplace_back(Folded(SortKey(e, slot, order)), slot);
      }
      std::sort(keyed.begin(), keyed.end());
      for (const auto& k : keyed) slots.push_back(k.second);
      break;
    }
    case MembListOrder::PayForm: {
      // 月給, 日給, 時間給; a damaged pay form goes last rather than out of the list.
      for (int form = 1; form <= 4; ++form) {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
          const EmployeeRecord& e = period.Employee(slot);
          const int code = e.PayFormCode();
          const bool inGroup = form <= 3 ? code == form : (code < 1 || code > 3);
          if (inGroup && Listed(e, showRetired)) slots.push_back(slot);
        }
      }
      break;
    }
    case MembListOrder::Slot:
    default:
      for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (Listed(period.Employee(slot), showRetired)) slots.push_back(slot);
      }
      break;
  }
  return slots;
}

bool LineDimmed(MembListMode mode, const EmployeeRecord& e, bool showRetired) {
  return (mode == MembListMode::Mail && !HasMailAddress(e)) || (showRetired && e.Retired());
}

std::vector<bool> SelectAllLines(const PeriodBlock& period, const std::vector<int>& slots, MembListMode mode,
                                 bool showRetired, const std::vector<bool>& current) {
  std::vector<bool> selected(slots.size(), false);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const EmployeeRecord& e = period.Employee(slots[i]);
    if (mode == MembListMode::Payslips || mode == MembListMode::Ledger) {
      selected[i] = true;
    } else if (showRetired && e.Retired()) {
      selected[i] = i < current.size() && current[i];
    } else {
      selected[i] = HasMailAddress(e);
    }
  }
  return selected;
}

std::optional<std::string> OkProblem(MembListMode mode, int selectedCount, bool hasCurrentLine) {
  if ((mode == MembListMode::Payslips || mode == MembListMode::Ledger) && selectedCount == 0) {
    return "印刷対象者が選択されていません。";
  }
  if (mode == MembListMode::Mail && selectedCount == 0) return "メール送信対象者が選択されていません。";
  if (!hasCurrentLine) return "データが未選択です。";
  return std::nullopt;
}

void DeleteSlot(PeriodBlock& period, int slot) {
  if (slot < 1 || slot > kSlotCount) return;
  for (int i = slot; i < kSlotCount; ++i) {
    period.Employee(i) = period.Employee(i + 1);
    period.Attendance(i) = period.Attendance(i + 1);
    period.Payment(i) = period.Payment(i + 1);
    period.Deduction(i) = period.Deduction(i + 1);
  }
  period.Employee(kSlotCount).Clear();
  period.Attendance(kSlotCount).Clear();
  period.Payment(kSlotCount).Clear();
  period.Deduction(kSlotCount).Clear();
}

int SlotsInUse(const PeriodBlock& period) {
  return static_cast<int>(std::count_if(period.employees.begin(), period.employees.end(),
                                        [](const EmployeeRecord& e) { return e.InUse(); }));
}

}  // namespace paylark::screens
