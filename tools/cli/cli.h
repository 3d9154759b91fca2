// saldesk-cli: engine checks, recalculation of a stored period and table information from the
// command line. Every command works on a program folder (its table files and Saldesk.ini).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "session/program_state.h"
#include "store/era.h"
#include "store/rate_table_editions.h"

namespace paylark::cli {

// A usage or input error: printed to stderr, exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Invocation {
  std::filesystem::path programDir;
  std::vector<std::string> args;  // after the command name, options removed
  bool save = false;              // --save
  std::optional<CivilDate> date;  // --date yyyy-mm-dd: the payment date that picks the tables
  std::optional<std::filesystem::path> pdf;  // --pdf OUT: the file that render writes
  std::optional<std::string> prefecture;     // --prefecture N: JIS code (rates)
  std::optional<std::string> kind;           // --kind general|agriculture|construction (rates)
};

int RunTax(const Invocation& inv);
int RunBonusTax(const Invocation& inv);
int RunTables(const Invocation& inv);
int RunRecalc(const Invocation& inv);
int RunSelfCheck(const Invocation& inv);
int RunYearEnd(const Invocation& inv);
int RunDeclare(const Invocation& inv);
int RunRates(const Invocation& inv);
int RunExplain(const Invocation& inv);
#ifdef PAYLARK_WITH_RENDER
int RunRender(const Invocation& inv);  // only in the build with Qt
int RunRenderYearEnd(const Invocation& inv);
#endif

// Helpers shared by the commands.
int ParseIntArg(const std::string& text, const char* what);
int ParseColumnArg(const std::string& text);  // kou → 0, otsu → 1
std::filesystem::path SettingsPath(const std::filesystem::path& programDir);
// The editions of the program folder; load problems go to stderr.
RateTableEditions LoadEditions(const std::filesystem::path& programDir);
// The program state of the program folder (its settings, options, item settings and table
// editions) with period PERIOD of YEARFILE in memory, as the period selection leaves it; earlier
// periods are looked up beside the yearly file. Usage errors for a bad file name or period.
std::unique_ptr<ui::ProgramState> OpenStoredPeriod(const Invocation& inv, const std::string& yearFileArg,
                                                   const std::string& periodArg);

}  // namespace paylark::cli
