// recalc YEARFILE PERIOD [--save]: a stored period recalculated slot by slot with the settings of
// the program folder and the table edition in force on the period's payment date, printed as
// tab-separated lines.
#include <cstdio>
#include <iostream>
#include <vector>

#include "calc/bonus.h"
#include "calc/item_enabled.h"
#include "calc/payment_date.h"
#include "calc/recalculate.h"
#include "calc/salary.h"
#include "store/app_settings.h"
#include "store/item_settings.h"
#include "store/profile_file.h"
#include "store/rate_table_editions.h"
#include "store/year_file.h"
#include "tools/cli/cli.h"

namespace paylark::cli {
namespace {

constexpr const char* kAttendanceNames[kKintaiFieldCount] = {
    "所定労働日数", "出勤日数", "有休日数", "欠勤日数", "休日出勤日数", "特別休暇日数", "所定労働時間", "実働時間",
    "普通残業時間", "深夜残業時間", "休日普通残業", "休日深夜残業", "遅刻早退回数", "遅刻早退時間", "有休残日数"};

// Payment and deduction columns: the position and its header for each kind.
struct Column {
  int position;
  const char* salary;
  const char* bonus;  // nullptr: not part of a bonus
};
constexpr Column kPaymentColumns[] = {
    {1, "基本給", "賞与"},           {2, "役職手当", "役員報酬"},      {3, "家族手当", nullptr},
    {4, "固定手当１", "固定手当１"}, {5, "固定手当２", "固定手当２"},  {6, "固定手当３", "固定手当３"},
    {7, "普通残業手当", nullptr},    {8, "深夜残業手当", nullptr},    {9, "休日普通残業手当", nullptr},
    {10, "休日深夜残業手当", nullptr}, {11, "非課税通勤費", nullptr}, {12, "課税通勤費", nullptr},
    {13, "変動手当１", "変動手当１"}, {14, "変動手当２", "変動手当２"}, {15, "変動手当３", "変動手当３"},
    {16, "欠勤控除", nullptr},        {17, "遅刻早退控除", nullptr},  {18, "課税支給合計", "課税支給合計"},
    {19, "支給合計", "支給合計"},     {20, "その他１", "その他１"},    {21, "その他２", "その他２"},
    {22, "その他３", "その他３"}};
constexpr Column kDeductionColumns[] = {
    {1, "健康保険料", "健康保険料"},   {2, "厚生年金保険", "厚生年金保険"}, {3, "厚生年金基金", "厚生年金基金"},
    {4, "雇用保険料", "雇用保険料"},   {5, "介護保険料", "介護保険料"},    {6, "社会保険料計", "社会保険料計"},
    {7, "社保控除後計", "社保控除後計"}, {8, "所得税", "所得税"},         {9, "住民税", nullptr},
    {10, "固定控除１", "固定控除１"},  {11, "固定控除２", "固定控除２"},   {12, "固定控除３", "固定控除３"},
    {13, "変動控除１", "変動控除１"},  {14, "変動控除２", "変動控除２"},   {15, "変動控除３", "変動控除３"},
    {16, "控除合計", "控除合計"},      {17, "社保算定合計", "社保算定合計"}};

std::string FormatFigure(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

// A column header as the sheet shows it: the user-named items (固定手当１ … その他３) by the names of
// the input item settings.
std::string ColumnName(const char* name, const Options& options) {
  static const Options placeholders;
  for (int i = 0; i < kUserItemCount; ++i) {
    if (placeholders.itemNames[static_cast<std::size_t>(i)] == name) return options.itemNames[static_cast<std::size_t>(i)];
  }
  return name;
}

const char* ExceptionText(BonusTaxException e) {
  return e == BonusTaxException::NoPreviousSalary ? "前月中に給与の支払いが無い。"
                                                  : "社保控除後計が前月の10倍を超えている。";
}

}  // namespace

int RunRecalc(const Invocation& inv) {
  if (inv.args.size() != 2) throw UsageError("recalc takes YEARFILE PERIOD");
  const std::filesystem::path yearFile = inv.args[0];
  const int periodNumber = ParseIntArg(inv.args[1], "PERIOD");
  if (periodNumber < 1 || periodNumber > kPeriodCount) throw UsageError("PERIOD must be 1 to 15");
  const auto eraYear = ParseYearFileName(yearFile.filename().string());
  if (!eraYear) throw UsageError("not the name of a yearly file (<era><year>年給与･賞与.dat): " + yearFile.string());

  const bool bonus = IsBonusPeriod(periodNumber);
  const ItemKind kind = bonus ? ItemKind::Bonus : ItemKind::Salary;
  const ProfileFile settings(SettingsPath(inv.programDir));
  const Options options = LoadOptions(settings);
  const EnabledItemsByPayForm enabled =
      ResolveEnabledItems(DeriveItemLists(LoadItemSettings(settings, kind)), options, kind);
  const RateTableEditions editions = LoadEditions(inv.programDir);

  OpenPeriod state;
  state.currentDataFile = yearFile;
  state.eraYear = *eraYear;
  state.periodIndex = periodNumber;
  ReadHeader(yearFile, state.header);
  LoadPeriod(yearFile, periodNumber, state.period);

  // The tables of the payment date; for an era the program does not know, the current ones.
  const std::optional<CivilDate> paid = PaymentDateOfPeriod(*eraYear, periodNumber, state.period.company, state.header);
  const RateTables& tables = paid ? editions.InForceOn(*paid) : editions.Current();

  YearFileLookup lookup(yearFile, yearFile.parent_path(), *eraYear);
  const CalcInputs in{options,
                      enabled,
                      tables,
                      tables.Presence(),
                      periodNumber,
                      bonus ? state.header.BonusMonth(periodNumber) : 0,
                      &lookup};

  std::vector<std::string> notes;
  PeriodBlock& period = state.period;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const EmployeeRecord& employee = period.Employee(slot);
    if (!employee.InUse()) continue;
    if (bonus) {
      const BonusTaxException e = CalculateBonus(period, slot, in);
      if (e != BonusTaxException::None) {
        notes.push_back("tax-exception\t" + std::to_string(slot) + "\t" + employee.Name() + "\t" + ExceptionText(e));
      }
    } else {
      CalculateSalary(period, slot, in);
      if (employee.Active() && employee.PayFormCode() == static_cast<int>(PayForm::Monthly) &&
          !WorkedHoursAgree(period.company, period.Attendance(slot))) {
        notes.push_back("warning\t" + std::to_string(slot) + "\t" + WorkedHoursWarning(employee.Name()));
      }
    }
  }

  std::cout << "slot\t氏名\t退職";
  if (!bonus) {
    for (const char* name : kAttendanceNames) std::cout << "\t" << name;
  }
  for (const auto& c : kPaymentColumns) {
    if (!bonus || c.bonus) std::cout << "\t" << ColumnName(bonus ? c.bonus : c.salary, options);
  }
  for (const auto& c : kDeductionColumns) {
    if (!bonus || c.bonus) std::cout << "\t" << ColumnName(bonus ? c.bonus : c.salary, options);
  }
  std::cout << "\t差引支給額\n";
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const EmployeeRecord& employee = period.Employee(slot);
    if (!employee.InUse()) continue;
    std::cout << slot << "\t" << employee.Name() << "\t" << (employee.Retired() ? "1" : "0");
    if (!bonus) {
      for (int f = 0; f < kKintaiFieldCount; ++f) {
        std::cout << "\t" << FormatFigure(period.Attendance(slot).Get(static_cast<Kintai>(f)));
      }
    }
    for (const auto& c : kPaymentColumns) {
      if (!bonus || c.bonus) std::cout << "\t" << period.Payment(slot).At(c.position);
    }
    for (const auto& c : kDeductionColumns) {
      if (!bonus || c.bonus) std::cout << "\t" << period.Deduction(slot).At(c.position);
    }
    std::cout << "\t" << NetPay(period.Payment(slot), period.Deduction(slot)) << "\n";
  }
  for (const auto& note : notes) std::cout << note << "\n";

  if (inv.save) {
    SavePeriod(yearFile, state);
    std::cerr << "saved period " << periodNumber << " to " << yearFile.string() << "\n";
  }
  return 0;
}

}  // namespace paylark::cli
