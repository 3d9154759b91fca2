// The 年末調整 of one calendar year without a window: every employee paid in the year with where his
// adjustment stands, the calculation of everyone, the settlement into a chosen period of the
// yearly file (and of the period in memory when it is that one), the entry of one employee's
// declaration with his particulars, and what the slips and books read (print/year_end_source.h).
//
// The year's pay is read from the saved periods of the yearly file(s) of the year
// (ReadCalendarYearFiles); the declarations, particulars and states from 年末調整.db beside them;
// the rules from the YearEnd folder beside the rate tables. An employee's status:
//   未入力  no declaration yet (甲欄);
//   入力済  declared, not calculated since (or the year's pay changed after the calculation);
//   計算済  calculated, the stored figures still those of the year's pay;
//   精算済  calculated and its 過不足額 found in the period it was settled into;
//   対象外  not adjusted, with the reason (乙欄, no 扶養控除等申告書, over the limit, left, ...).
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/relative_kind.h"
#include "calc/year_end_figures.h"
#include "calc/year_end_settlement.h"
#include "print/year_end_source.h"
#include "session/program_state.h"
#include "session/year_end_declaration_rules.h"
#include "store/declarations.h"
#include "store/year_end_rules.h"
#include "store/year_file_content.h"

namespace paylark::screens {

// A failure of the session the user can act on; what() is the Japanese message.
class YearEndError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class YearEndStatus { NotEntered, Entered, Calculated, Settled, Excluded };
// "未入力", "入力済", "計算済", "精算済", "対象外".
const char* YearEndStatusLabel(YearEndStatus status);

struct YearEndRow {
  std::string key;
  std::string name;
  EmployeeRecord record;  // as of his latest period of the year
  EmployeeYearEnd adjustment;  // the year's pay, the exclusion, the result (recomputed on every refresh)
  std::optional<Declaration> declaration;
  std::optional<EmployeeParticulars> particulars;
  YearEndStatus status = YearEndStatus::NotEntered;
  std::string exclusion;  // the reason when 対象外
  bool recalculationNeeded = false;  // a stored calculation no longer matches the year's pay
  // Shown in the list: 支払金額 (前職分 included when adjusted), and for the adjusted 年調年税額,
  // 徴収済税額 (前職分 included) and 過不足額; the others show their withheld tax only.
  Yen totalPay = 0;
  Yen annualTax = 0;
  Yen withheld = 0;
  Yen difference = 0;
  int settledPeriod = 0;  // the period of a valid settlement (精算済), else 0
  bool Adjusted() const { return status == YearEndStatus::Entered || status == YearEndStatus::Calculated ||
                                 status == YearEndStatus::Settled; }
};

struct YearEndTotals {
  Yen totalPay = 0;
  Yen annualTax = 0;
  Yen withheld = 0;
  Yen difference = 0;
  int employees = 0;
  int adjusted = 0;
  int excluded = 0;
};

// One employee settled by Settle.
struct SettledEmployee {
  std::string key;
  std::string name;
  Yen amount = 0;              // 過不足額 placed (positive collected, negative refunded)
  ShortfallDeferral deferral;  // offered when the settling pay is low (不足額の徴収繰延べ)
};

struct SettleResult {
  int period = 0;
  std::vector<SettledEmployee> settled;
  std::vector<std::string> withoutSlot;    // names of calculated employees not in the settling period
  std::vector<std::string> notCalculated;  // names of those 入力済 (calculate first)
  std::vector<std::string> cleared;        // names of excluded employees whose earlier settlement was removed
  std::vector<int> writtenPeriods;         // the periods of the yearly file written
  bool openPeriodChanged = false;          // the period in memory got the same change
};

// One employee's entry: the declaration with the particulars, and whether they came from the
// store, from last year or are new (filled from the employee record).
struct DeclarationEntry {
  Declaration declaration;
  EmployeeParticulars particulars;
  bool stored = false;
};

// The folder of the year-end rules: YearEnd beside the rate tables.
std::filesystem::path YearEndRulesFolder(const ui::ProgramPaths& paths);
// The yearly file of calendar year `year` in the data folder: of the era years naming it the
// later era's file that exists; nullopt when none does.
std::optional<std::filesystem::path> YearFileOfYear(const std::filesystem::path& dataFolder, int year);
// The calendar years with a yearly file in the data folder, the latest first.
std::vector<int> YearEndYears(const ui::ProgramPaths& paths);
// The year the window opens with: the open file's calendar year, else this year.
int DefaultYearEndYear(const ui::ProgramState& state);

class YearEndSession {
 public:
  // The year's adjustment over the data folder of `state` (throws YearEndError when the year has
  // no yearly file or no rules; YearFileError and DeclarationStoreError as the store throws them).
  YearEndSession(ui::ProgramState& state, int year);
  // The same over a given yearly file; the declarations are the ones beside it.
  YearEndSession(ui::ProgramState& state, int year, const std::filesystem::path& yearFile);
  YearEndSession(const YearEndSession&) = delete;
  YearEndSession& operator=(const YearEndSession&) = delete;

  int Year() const { return year_; }
  const YearEndRules& Rules() const { return rules_; }
  const std::filesystem::path& YearFile() const { return yearFile_; }
  const std::vector<YearFileContent>& Files() const { return files_; }
  DeclarationStore& Store() { return store_; }
  const DeclarationStore& Store() const { return store_; }

  // Reads the files and the store again and recomputes every row.
  void Refresh();
  const std::vector<YearEndRow>& Rows() const { return rows_; }
  const YearEndRow* Row(const std::string& key) const;
  YearEndTotals Totals() const;

  // Both commands below read the files and the store again first.
  // Calculates every declared, adjusted employee and stores his state (計算済; 精算済 kept where the
  // figures did not change); the states of the others go. Returns how many were calculated.
  int CalculateAll();

  // Settles every calculated employee into `period` (1..15, a saved period of the yearly file paid
  // in the year): each 過不足額 goes in as 年末調整過不足 and any earlier settlement of his in another
  // period is removed; an excluded employee's earlier settlement is removed. The changed periods
  // are written (the settling period first); when the settling period, or one that changed, is
  // the one open in memory, the period in memory gets the same change. Throws YearEndError for a
  // period that cannot be settled into, YearFileError when a write fails.
  SettleResult Settle(int period);

  // One employee's declaration with particulars: the stored ones, or new ones from his record.
  DeclarationEntry LoadEntry(const std::string& key) const;
  // Last year's declaration and particulars carried over (nullopt when last year has none).
  std::optional<DeclarationEntry> CarryOver(const std::string& key) const;
  // Checks, then stores both in one transaction (the employee is then 入力済) and refreshes; the
  // first fault is returned and nothing is stored.
  std::optional<DeclarationProblem> SaveEntry(const DeclarationEntry& entry);

 private:
  void Load();

  ui::ProgramState& state_;
  int year_;
  std::filesystem::path yearFile_;
  YearEndRules rules_;
  DeclarationStore store_;
  std::vector<YearFileContent> files_;
  std::vector<YearEndRow> rows_;
};

// The lines of the results view: 給与の総額, each intermediate figure (YearEndLines) and 徴収済税額,
// so the clerk can compare them with the worksheet line by line.
struct YearEndFigureLine {
  std::string name;
  Yen value = 0;
};
std::vector<YearEndFigureLine> YearEndFigureLines(const YearEndResult& result);

// What the year-end documents read, for the session's year; it points into the session (its
// rules and files), so it is valid while the session lives and is not refreshed.
print::YearEndSource BuildYearEndSource(const YearEndSession& session);

}  // namespace paylark::screens
