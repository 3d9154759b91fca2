// render KIND YEARFILE PERIOD [SLOTS] --pdf OUT: a report of a stored period drawn into a PDF file
// with the settings of the program folder, as the print dialog would print it (A4, payslips
// portrait, the other reports landscape), without a display.
#include <iostream>
#include <memory>
#include <sstream>

#include "print/employee_groups.h"
#include "print/qt/pdf_report.h"
#include "session/print_rules.h"
#include "session/program_state.h"
#include "store/app_settings.h"
#include "tools/cli/cli.h"

namespace paylark::cli {
namespace {

print::ReportKind ParseKind(const std::string& text) {
  if (text == "payslip") return print::rkPayslip;
  if (text == "ledger") return print::rkLedger;
  if (text == "list") return print::rkMonthlyList;
  if (text == "roster") return print::rkRoster;
  throw UsageError("KIND must be payslip, ledger, list, roster, withholding-slip, withholding-book, year-end-list or salary-report: " + text);
}

std::vector<int> ParseSlots(const std::string& text, const PeriodBlock& period) {
  std::vector<int> chosen;
  std::stringstream list(text);
  std::string item;
  while (std::getline(list, item, ',')) {
    const int slot = ParseIntArg(item, "SLOT");
    if (slot < 1 || slot > kSlotCount || !period.Employee(slot).InUse()) {
      throw UsageError("no employee in slot " + item);
    }
    chosen.push_back(slot);
  }
  if (chosen.empty()) throw UsageError("SLOTS is empty");
  return chosen;
}

}  // namespace

int RunRender(const Invocation& inv) {
  if (!inv.args.empty() && (inv.args[0] == "withholding-slip" || inv.args[0] == "withholding-book" ||
                            inv.args[0] == "year-end-list" || inv.args[0] == "salary-report"))
    return RunRenderYearEnd(inv);
  if (inv.args.size() < 3 || inv.args.size() > 4) throw UsageError("render takes KIND YEARFILE PERIOD [SLOTS]");
  if (!inv.pdf) throw UsageError("render needs --pdf OUT");
  const print::ReportKind kind = ParseKind(inv.args[0]);
  const std::unique_ptr<ui::ProgramState> state = OpenStoredPeriod(inv, inv.args[1], inv.args[2]);
  const OpenPeriod& open = state->open;
  const int periodNumber = state->PeriodIndex();

  print::ReportSource source;
  source.open = &open;
  source.options = &state->options;
  source.salaryItems = &state->salaryItems;
  source.bonusItems = &state->bonusItems;
  source.memo = LoadPrintMemo(state->settings);
  const PayDateTexts payDate = print::DefaultPayDate(open);
  source.payDate = {payDate.year, payDate.month, payDate.day};
  source.today = Today();

  print::ReportCode code{kind, 0};
  if (kind == print::rkPayslip || kind == print::rkLedger) {
    code.target = print::kSelectedRows;
    source.selectedSlots = inv.args.size() == 4 ? ParseSlots(inv.args[3], open.period) : print::ActiveSlots(open.period);
    if (source.selectedSlots.empty()) throw UsageError("the period has no active employee");
  } else if (kind == print::rkMonthlyList) {
    code.target = periodNumber;
  }
  if (inv.args.size() == 4 && code.target != print::kSelectedRows) {
    throw UsageError("SLOTS only go with payslip and ledger");
  }

  print::StartOffscreenPainting("saldesk-cli");
  const print::JobResult result = print::WritePdfReport(*inv.pdf, code, source);
  if (!result.printed) {
    std::cerr << "saldesk-cli: " << (result.error.empty() ? "nothing to print" : result.error) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace paylark::cli
