// render KIND YEARFILE PERIOD [SLOTS] --pdf OUT: a report of a stored period drawn into a PDF file
// with the settings of the program folder, as the print dialog would print it (A4, payslips
// portrait, the other reports landscape), without a display.
#include <QByteArray>
#include <QGuiApplication>
#include <iostream>
#include <memory>
#include <sstream>

#include "print/employee_groups.h"
#include "print/qt/pdf_report.h"
#include "session/print_rules.h"
#include "store/app_settings.h"
#include "store/item_settings.h"
#include "store/profile_file.h"
#include "store/year_file.h"
#include "tools/cli/cli.h"

namespace paylark::cli {
namespace {

// Qt's painting needs an application object; the offscreen platform needs no display.
void StartQt() {
  static int argc = 1;
  static char name[] = "saldesk-cli";
  static char* argv[] = {name, nullptr};
  if (QGuiApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

print::ReportKind ParseKind(const std::string& text) {
  if (text == "payslip") return print::rkPayslip;
  if (text == "ledger") return print::rkLedger;
  if (text == "list") return print::rkMonthlyList;
  if (text == "roster") return print::rkRoster;
  throw UsageError("KIND must be payslip, ledger, list or roster: " + text);
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
  if (inv.args.size() < 3 || inv.args.size() > 4) throw UsageError("render takes KIND YEARFILE PERIOD [SLOTS]");
  if (!inv.pdf) throw UsageError("render needs --pdf OUT");
  const print::ReportKind kind = ParseKind(inv.args[0]);
  const std::filesystem::path yearFile = inv.args[1];
  const int periodNumber = ParseIntArg(inv.args[2], "PERIOD");
  if (periodNumber < 1 || periodNumber > kPeriodCount) throw UsageError("PERIOD must be 1 to 15");
  const auto eraYear = ParseYearFileName(yearFile.filename().string());
  if (!eraYear) throw UsageError("not the name of a yearly file (<era><year>年給与･賞与.dat): " + yearFile.string());

  const ProfileFile settings(SettingsPath(inv.programDir));
  const Options options = LoadOptions(settings);
  const ItemSettings salaryItems = LoadItemSettings(settings, ItemKind::Salary);
  const ItemSettings bonusItems = LoadItemSettings(settings, ItemKind::Bonus);

  OpenPeriod open;
  open.currentDataFile = yearFile;
  open.eraYear = *eraYear;
  open.periodIndex = periodNumber;
  ReadHeader(yearFile, open.header);
  LoadPeriod(yearFile, periodNumber, open.period);

  print::ReportSource source;
  source.open = &open;
  source.options = &options;
  source.salaryItems = &salaryItems;
  source.bonusItems = &bonusItems;
  source.memo = LoadPrintMemo(settings);
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

  StartQt();
  const print::JobResult result = print::WritePdfReport(*inv.pdf, code, source);
  if (!result.printed) {
    std::cerr << "saldesk-cli: " << (result.error.empty() ? "nothing to print" : result.error) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace paylark::cli
