// The program-wide state of one run: the program folder's paths, the settings file, the options
// and payslip item settings, the rate tables, the open yearly file and the period in memory, and
// the few things the screens remember for the run. Screens receive it; nothing keeps it in
// globals. It holds no Qt and can be built in a test around a temporary program folder.
#pragma once

#include <filesystem>
#include <memory>

#include "calc/bonus.h"
#include "calc/calc_inputs.h"
#include "calc/explanation.h"
#include "calc/item_enabled.h"
#include "store/item_settings.h"
#include "store/options.h"
#include "store/profile_file.h"
#include "store/premium_rates.h"
#include "store/rate_table_editions.h"
#include "store/rate_tables.h"
#include "store/year_file.h"

namespace paylark::ui {

struct ProgramPaths {
  // A program folder holding everything; or, installed, the user's folder and the tables' folder.
  explicit ProgramPaths(const std::filesystem::path& programFolder);
  ProgramPaths(const std::filesystem::path& userFolder, const std::filesystem::path& tablesFolder);
  std::filesystem::path programDir;    // Saldesk.ini, Data/, output files (the user's folder)
  std::filesystem::path tablesDir;     // the four table files and Tables/<date>/
  std::filesystem::path settingsFile;  // Saldesk.ini
  std::filesystem::path dataDir;       // Data/
  std::filesystem::path employeeTemplate;  // Data/社員情報.dat
};

class ProgramState {
 public:
  explicit ProgramState(const std::filesystem::path& programFolder);
  ProgramState(const std::filesystem::path& userFolder, const std::filesystem::path& tablesFolder);

  ProgramPaths paths;
  ProfileFile settings;
  Options options;
  ItemSettings salaryItems;
  ItemSettings bonusItems;
  DerivedItemLists salaryLists;
  DerivedItemLists bonusLists;
  RateTables tables;            // the current edition (grade table, the screens' look-ups)
  RateTableEditions editions;   // every edition; a calculation uses the one of its payment date
  bool editionsLoaded = false;  // false: `tables` answers for every date (tests set it directly)
  PremiumRates premiumRates;    // premium rates by date (保険料率表.dat and Rates/), loaded with the tables
  std::vector<std::string> premiumRateProblems;  // files that could not be read
  OpenPeriod open;  // CurrentDataFile, PeriodIndex, header, the period in memory, month cache

  // Remembered for the run.
  bool gradeQuestionAsked = false;  // SetPremiumsFromGrade asked and answered Yes
  int selectedGrade = 0;            // the grade viewer's selection (1-based, 0 = none)
  bool firstRun = false;            // the first-run sequence is in progress

  // Reads the options (section Option) from the settings file.
  void LoadOptions();
  // Reads one kind's payslip item settings and rebuilds its derived lists.
  void LoadItemSettings(ItemKind kind);
  void SetItemSettings(const ItemSettings& items);  // after the item settings dialog's OK
  // Reads the four table files of the program folder and the older editions beside them;
  // returns how many of the current edition loaded.
  int LoadRateTables(std::vector<std::string>* errors = nullptr);

  PeriodBlock& Period() { return open.period; }
  const PeriodBlock& Period() const { return open.period; }
  int PeriodIndex() const { return open.periodIndex; }
  bool BonusPeriod() const { return IsBonusPeriod(open.periodIndex); }
  ItemKind PeriodKind() const { return BonusPeriod() ? ItemKind::Bonus : ItemKind::Salary; }
  const ItemSettings& Items(ItemKind kind) const { return kind == ItemKind::Bonus ? bonusItems : salaryItems; }
  const DerivedItemLists& Lists(ItemKind kind) const { return kind == ItemKind::Bonus ? bonusLists : salaryLists; }

  // Calculates one slot of the open period (the employee editor, the detail entry screen); the
  // exception of the bonus tax rules in a bonus period. The tax tables it needed and could not
  // use are added to `tableProblems` when given (TableProblems).
  BonusTaxException RecalculateSlot(int slot, std::vector<std::string>* tableProblems = nullptr);
  // The explanation of every amount of one slot: the slot calculated as RecalculateSlot does, on
  // a copy of the period (the records in memory stay as they are), with the rate data naming the
  // rates' sources.
  Explanation ExplainSlot(int slot) const;
  // 有休残日数 of the employee in `slot` in the period before the open one (December of the
  // previous year's file for January); kPaidLeaveNotFound when there is none. Throws
  // YearFileError when a file cannot be read.
  double PreviousPaidLeave(int slot) const;

  // What a calculation of the open period reads; valid until the state changes. The look-up of
  // earlier periods reads the open yearly file and the previous year's.
  struct CalcContext {
    EnabledItemsByPayForm enabled;
    std::unique_ptr<YearFileLookup> lookup;
  };
  CalcContext MakeCalcContext() const;
  CalcInputs Inputs(const CalcContext& context) const;
  // The tables in force on the open period's payment date.
  const RateTables& TablesOfOpenPeriod() const;

 private:
  void RebuildLists(ItemKind kind);
};

}  // namespace paylark::ui
