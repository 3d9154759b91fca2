#include "session/sheet_model.h"

#include <cstdio>
#include <utility>

#include "entry/display_format.h"
#include "entry/input_format.h"
#include "entry/number_parse.h"
#include "calc/salary.h"
#include "calc/sheet_takeover.h"

namespace paylark::app {
namespace {

constexpr std::array<std::string_view, 5> kDayRows{"出勤日数", "有休日数", "欠勤日数", "休日出勤日数",
                                                   "特別休暇日数"};

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool IsVariableEntry(const std::string& entry) { return !entry.empty() && entry[0] != 'F'; }

}  // namespace

bool SheetRow::VariableFor(int payFormCode) const {
  if (payFormCode < 1 || payFormCode > kPayFormCount) return true;
  return variable[static_cast<std::size_t>(payFormCode - 1)];
}

RowKind AttendanceRowKind(std::string_view name) {
  if (Contains(name, "時間") || Contains(name, "残業")) return RowKind::Hours;
  for (std::string_view day : kDayRows) {
    if (name == day) return RowKind::Days;
  }
  return RowKind::OtherAttendance;
}

int FormatCodeOf(RowKind kind) {
  switch (kind) {
    case RowKind::Money: return 90;
    case RowKind::Days: return 52;
    case RowKind::Hours:
    case RowKind::OtherAttendance: return 62;
  }
  return 90;
}

std::vector<SheetRow> BuildSheetRows(const DerivedItemLists& lists, const Options& options, ItemKind kind) {
  std::vector<SheetRow> rows;
  for (ItemBlock block : {ItemBlock::Kintai, ItemBlock::Sikyu, ItemBlock::Koujo, ItemBlock::Sonota}) {
    if (block == ItemBlock::Kintai && kind == ItemKind::Bonus) continue;
    const std::size_t count = static_cast<std::size_t>(kBlockRows[static_cast<int>(block)]);
    for (std::size_t position = 0; position < count; ++position) {
      SheetRow row;
      std::string entry;  // of the highest pay form whose entry is variable
      for (int form = 0; form < kPayFormCount; ++form) {
        const auto& list = lists.forms[static_cast<std::size_t>(form)].Block(block);
        const std::string& e = position < list.size() ? list[position] : std::string();
        row.variable[static_cast<std::size_t>(form)] = IsVariableEntry(e);
        if (IsVariableEntry(e)) entry = e;
      }
      if (entry.empty()) continue;
      if (block != ItemBlock::Kintai) entry = ResolveItemKey(entry, options);
      row.name = entry.substr(1);
      row.kind = block == ItemBlock::Kintai ? AttendanceRowKind(row.name) : RowKind::Money;
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

std::vector<int> ActiveSlots(const PeriodBlock& period) {
  std::vector<int> slots;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (period.Employee(slot).Active()) slots.push_back(slot);
  }
  return slots;
}

double CellValue(const PeriodBlock& period, int slot, const SheetRow& row, const Options& options, ItemKind kind) {
  if (row.Attendance()) {
    const auto field = AttendanceFieldOfRow(row.name);
    return field ? period.Attendance(slot).Get(*field) : 0;
  }
  if (kind == ItemKind::Bonus) {
    if (row.name == "賞与") return period.Payment(slot).Get(Sikyu::Bonus);
    if (row.name == "役員報酬") return period.Payment(slot).Get(Sikyu::DirectorPay);
  }
  // その他 are read from the payment record (the deduction record holds the same amounts).
  for (const auto& [field, user] : kVariablePaymentRows) {
    if (row.name == options.Name(user)) return period.Payment(slot).Get(field);
  }
  for (const auto& [field, user] : kVariableDeductionRows) {
    if (row.name == options.Name(user)) return period.Deduction(slot).Get(field);
  }
  return 0;
}

std::string FormatCell(RowKind kind, double value, int timeStyle) {
  switch (kind) {
    case RowKind::Money: return FormatAmount(7, value);
    case RowKind::Hours: return FormatHours(value, timeStyle);
    case RowKind::Days:
    case RowKind::OtherAttendance: return FormatDays(value);
  }
  return FormatDays(value);
}

SheetColumns SheetOfRecords(const PeriodBlock& period, const std::vector<SheetRow>& rows, const Options& options,
                            ItemKind kind) {
  SheetColumns sheet;
  for (const SheetRow& row : rows) sheet.rowNames.push_back(row.name);
  for (int slot : ActiveSlots(period)) {
    auto& column = sheet.cells.emplace_back();
    for (const SheetRow& row : rows) {
      column.push_back(FormatCell(row.kind, CellValue(period, slot, row, options, kind), options.timeStyle));
    }
  }
  return sheet;
}

std::array<std::string, 3> ResultCells(const PeriodBlock& period, int slot) {
  const PaymentRecord& payment = period.Payment(slot);
  const DeductionRecord& deduction = period.Deduction(slot);
  std::string net;
  try {
    net = FormatCell(RowKind::Money, NetPay(payment, deduction), 0);
  } catch (const MoneyOverflow&) {
    net = std::string(7, '*');
  }
  return {FormatCell(RowKind::Money, payment.Get(Sikyu::Total), 0),
          FormatCell(RowKind::Money, deduction.Get(Koujo::Total), 0), net};
}

std::string CommitCellText(std::string_view typed, RowKind kind, int timeStyle, Reporter& reporter) {
  const int code = FormatCodeOf(kind);
  std::string text = NormalizeNumericField(typed, code, reporter);
  SilentReporter silent;  // normalised text always converts
  if (code == 52 && !text.empty() && ParseNumber(text, silent) > 31) {
    reporter.Error(kMsgDayLimit);
    text.clear();
  }
  return FormatCell(kind, ParseNumber(text, silent), timeStyle);
}

bool AcceptsCharacter(RowKind kind, char32_t ch) {
  if (ch == U'\b' || ch == U'\t') return true;
  if ((ch >= U'0' && ch <= U'9') || ch == U'-') return true;
  if (kind == RowKind::Money) return false;
  if (ch == U'.') return true;
  return kind == RowKind::Hours && ch == U':';
}

std::optional<int> NextEnterRow(const std::vector<SheetRow>& rows, int payFormCode, int currentRow) {
  const int count = static_cast<int>(rows.size());
  if (count == 0) return std::nullopt;
  int row = currentRow < 1 || currentRow > count ? count : currentRow;
  for (int step = 0; step < count; ++step) {
    row = row % count + 1;
    if (rows[static_cast<std::size_t>(row - 1)].VariableFor(payFormCode)) return row;
  }
  return std::nullopt;
}

std::optional<std::string> CarriedPaidLeave(double previousBalance, std::string_view takenText,
                                            std::string_view balanceText) {
  SilentReporter silent;
  if (ParseNumber(balanceText, silent) != 0) return std::nullopt;
  return FormatDays(previousBalance - ParseNumber(takenText, silent));
}

std::string PeriodTitle(const EraYear& eraYear, int period, const std::string& thirdBonusName) {
  std::string title = eraYear.era + std::to_string(eraYear.year) + "年";
  switch (period) {
    case 13: return title + "・夏期賞与";
    case 14: return title + "・冬季賞与";
    case 15: return title + "・" + thirdBonusName;
    default: return title + std::to_string(period) + "月分給与";
  }
}

std::string ScheduledHoursText(double hours) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%6.2f", hours);
  return std::string("所定労働時間： ") + buffer + "時間";
}

}  // namespace paylark::app
