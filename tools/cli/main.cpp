#include <unistd.h>

#include <cstring>
#include <iostream>

#include "store/rate_table_editions.h"
#include "store/year_file.h"
#include "tools/cli/cli.h"

namespace {

constexpr const char* kUsage =
    "usage: saldesk-cli COMMAND [ARGS] [--program-dir DIR]\n"
    "  tax AMOUNT DEPENDANTS kou|otsu [--date D]               monthly withholding tax\n"
    "  bonus-tax PREVIOUS BONUS DEPENDANTS kou|otsu [--date D] bonus rate and tax\n"
    "  tables                                                  installed table editions and row counts\n"
    "  recalc YEARFILE PERIOD [--save]                         recalculate a stored period\n"
    "  explain YEARFILE PERIOD SLOT [FIELD] [--pdf OUT]       how each amount of one employee was computed\n"
    "  selfcheck                                               start-up checks of the program folder\n"
    "  year-end --year YYYY --input FILE.json                  年末調整 of one employee\n"
    "  year-end --year YYYY YEARFILE [--settle PERIOD [--save]] 年末調整 of every employee of a company\n"
    "  declare --year YYYY --key KEY --input FILE.json DATAFOLDER  store an employee's declarations\n"
    "  rates --date D [--prefecture N] [--kind K]              premium rates of premium month D\n"
    "    N the JIS prefecture code (協会けんぽ); K general|agriculture|construction; employment by closing date D\n"
#ifdef PAYLARK_WITH_RENDER
    "  render KIND YEARFILE PERIOD [SLOTS] --pdf OUT           a report drawn into a PDF file\n"
    "    KIND payslip|ledger|list|roster; SLOTS 1,2,... (default every active employee)\n"
    "  render DOCUMENT YEARFILE --year YYYY [SLOTS] --pdf OUT   a year-end document of the year\n"
    "    DOCUMENT withholding-slip|withholding-book|year-end-list|salary-report (SLOTS: the first two)\n"
#endif
    "  --date yyyy-mm-dd: the payment date whose table edition applies (default today)\n";

std::filesystem::path ExecutableFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace paylark::cli;
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::cerr << kUsage;
    return argc < 2 ? 2 : 0;
  }
  const std::string command = argv[1];
  Invocation inv;
  inv.programDir = ExecutableFolder();
  try {
    for (int i = 2; i < argc; ++i) {
      const std::string arg = argv[i];
      if (arg == "--program-dir") {
        if (i + 1 >= argc) throw UsageError("--program-dir needs a folder");
        inv.programDir = argv[++i];
      } else if (arg == "--date") {
        if (i + 1 >= argc) throw UsageError("--date needs a date yyyy-mm-dd");
        inv.date = paylark::ParseIsoDate(argv[++i]);
        if (!inv.date) throw UsageError(std::string("--date is not a date yyyy-mm-dd: ") + argv[i]);
      } else if (arg == "--pdf") {
        if (i + 1 >= argc) throw UsageError("--pdf needs a file");
        inv.pdf = argv[++i];
      } else if (arg == "--prefecture" || arg == "--kind") {
        if (i + 1 >= argc) throw UsageError(arg + " needs a value");
        (arg == "--kind" ? inv.kind : inv.prefecture) = argv[++i];
      } else if (arg == "--save") {
        inv.save = true;
      } else {
        inv.args.push_back(arg);
      }
    }
    if (command == "tax") return RunTax(inv);
    if (command == "bonus-tax") return RunBonusTax(inv);
    if (command == "tables") return RunTables(inv);
    if (command == "recalc") return RunRecalc(inv);
    if (command == "selfcheck") return RunSelfCheck(inv);
    if (command == "year-end") return RunYearEnd(inv);
    if (command == "declare") return RunDeclare(inv);
    if (command == "rates") return RunRates(inv);
    if (command == "explain") return RunExplain(inv);
#ifdef PAYLARK_WITH_RENDER
    if (command == "render") return RunRender(inv);
#endif
    throw UsageError("unknown command: " + command);
  } catch (const UsageError& e) {
    std::cerr << "saldesk-cli: " << e.what() << "\n" << kUsage;
    return 2;
  } catch (const paylark::YearFileError& e) {
    std::cerr << "saldesk-cli: " << e.UserText() << " (" << e.what() << ")\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "saldesk-cli: " << e.what() << "\n";
    return 1;
  }
}
