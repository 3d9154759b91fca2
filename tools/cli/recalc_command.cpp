// recalc YEARFILE PERIOD [--save]: a stored period recalculated as the save of an untouched
// payroll sheet recalculates it, with the settings of the program folder and the table edition in
// force on the period's payment date, printed as tab-separated lines.
#include <cstdio>
#include <iostream>
#include <vector>

#include "calc/bonus.h"
#include "calc/item_enabled.h"
#include "calc/item_fields.h"
#include "calc/recalculate.h"
#include "calc/salary.h"
#include "session/program_state.h"
#include "session/sheet_model.h"
#include "store/atomic_file.h"
#include "store/year_file.h"
#include "tools/cli/cli.h"

namespace paylark::cli {
namespace {

// The payment and deduction positions printed (the totals included); a position whose name is
// empty in the period kind is left out.
constexpr int kLastPaymentColumn = static_cast<int>(Sikyu::Other3);
constexpr int kLastDeductionColumn = static_cast<int>(Koujo::SocialBase);
// Deduction positions after the totals: 子ども・子育て支援金 and 年末調整.
constexpr int kExtraDeductionColumns[] = {static_cast<int>(Koujo::ChildSupportLevy),
                                          static_cast<int>(Koujo::YearEndAdjustment)};

std::string FormatFigure(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

const char* ExceptionText(BonusTaxException e) {
  return e == BonusTaxException::NoPreviousSalary ? "前月中に給与の支払いが無い。"
                                                  : "社保控除後計が前月の10倍を超えている。";
}

// Prints a recalculation's message on stderr.
class StderrReporter : public Reporter {
 public:
  void Error(std::string_view text) override { std::cerr << "saldesk-cli: " << text << "\n"; }
};

}  // namespace

int RunRecalc(const Invocation& inv) {
  if (inv.args.size() != 2) throw UsageError("recalc takes YEARFILE PERIOD");
  const std::unique_ptr<ui::ProgramState> state = OpenStoredPeriod(inv, inv.args[0], inv.args[1]);
  const bool bonus = state->BonusPeriod();
  const ItemKind kind = state->PeriodKind();
  const Options& options = state->options;
  PeriodBlock& period = state->Period();

  // The sheet as the main window shows the stored figures, taken over and calculated.
  const SheetColumns sheet =
      app::SheetOfRecords(period, app::BuildSheetRows(state->Lists(kind), options, kind), options, kind);
  const ui::ProgramState::CalcContext context = state->MakeCalcContext();
  StderrReporter reporter;
  const RecalcResult result = RecalculateAll(period, sheet, state->Inputs(context), true, reporter);

  std::vector<std::string> paymentNames(kLastPaymentColumn + 1);
  std::vector<int> deductionColumns;
  for (int p = 1; p <= kLastDeductionColumn; ++p) deductionColumns.push_back(p);
  for (int p : kExtraDeductionColumns) deductionColumns.push_back(p);
  std::vector<std::string> deductionNames(kKoujoPositions + 1);
  for (int p = 1; p <= kLastPaymentColumn; ++p) paymentNames[p] = SikyuPositionName(static_cast<Sikyu>(p), options, kind);
  for (int p : deductionColumns) {
    deductionNames[p] = KoujoPositionName(static_cast<Koujo>(p), options, kind);
  }

  // A tax computed without its table is not printed, and never saved.
  if (!result.tableProblems.empty()) {
    for (const std::string& m : result.tableProblems) std::cerr << "saldesk-cli: " << m << "\n";
    std::cerr << "saldesk-cli: period " << state->PeriodIndex() << " not " << (inv.save ? "saved" : "shown") << "\n";
    return 1;
  }
  // Saved before anything is printed: a failed save prints no table.
  if (inv.save) {
    const std::filesystem::path& yearFile = state->open.currentDataFile;
    RemoveStaleTemporaryFiles(yearFile.parent_path().empty() ? "." : yearFile.parent_path());
    SavePeriod(yearFile, state->open);
    std::cerr << "saved period " << state->PeriodIndex() << " to " << yearFile.string() << "\n";
  }

  std::cout << "slot\t氏名\t退職";
  if (!bonus) {
    for (int f = 0; f < kKintaiFieldCount; ++f) std::cout << "\t" << KintaiItemName(static_cast<Kintai>(f));
  }
  for (int p = 1; p <= kLastPaymentColumn; ++p) {
    if (!paymentNames[p].empty()) std::cout << "\t" << paymentNames[p];
  }
  for (int p : deductionColumns) {
    if (!deductionNames[p].empty()) std::cout << "\t" << deductionNames[p];
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
    for (int p = 1; p <= kLastPaymentColumn; ++p) {
      if (!paymentNames[p].empty()) std::cout << "\t" << period.Payment(slot).At(p);
    }
    for (int p : deductionColumns) {
      if (!deductionNames[p].empty()) std::cout << "\t" << period.Deduction(slot).At(p);
    }
    std::cout << "\t" << NetPay(period.Payment(slot), period.Deduction(slot)) << "\n";
  }
  for (std::size_t i = 0; i < result.hourWarnings.size(); ++i) {
    std::cout << "warning\t" << result.hourWarningSlots[i] << "\t" << result.hourWarnings[i] << "\n";
  }
  for (std::size_t i = 0; i < result.taxExceptionSlots.size(); ++i) {
    const int slot = result.taxExceptionSlots[i];
    std::cout << "tax-exception\t" << slot << "\t" << period.Employee(slot).Name() << "\t"
              << ExceptionText(result.taxExceptions[i]) << "\n";
  }

  return 0;
}

}  // namespace paylark::cli
