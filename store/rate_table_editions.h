// The editions of the rate tables the program holds: the current edition (the four files beside
// the program) and older or coming editions, each in a folder of its own under "Tables" beside
// them, named by its effective date ("Tables/2020-01-01/") and holding the same four file names.
// A calculation uses the tables in force on the payment date of its period, so that a December
// salary recalculated in January keeps December's table.
//
// The edition date of a folder is the effective date in its withholding tables' extensions (the
// monthly table's, else the bonus table's); for an edition folder without one, the folder's name
// (yyyy-mm-dd). A withholding table missing from an edition folder, or one that cannot be loaded
// there, stays missing for that edition (its tax is refused, never taken from another edition); a
// premium table missing or unloadable there is taken from the current edition.
//
// When the current withholding tables carry no effective date (files of the fixed layouts alone)
// the current edition is used for every date, as when the program held one edition per run; the
// edition folders are consulted only beside dated current tables.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/era.h"
#include "store/rate_tables.h"

namespace paylark {

constexpr const char* kEditionsFolderName = "Tables";

struct RateTableEdition {
  std::filesystem::path folder;
  std::optional<CivilDate> effective;  // nullopt only for an undated current edition
  bool current = false;                // the files beside the program
  RateTables tables;
};

class RateTableEditions {
 public:
  // Loads the four files of `programFolder` as the current edition, then every folder under
  // programFolder/Tables. Problems (a table file that is missing or cannot be loaded, a
  // withholding table missing from an edition folder, an edition folder without a date) are
  // reported in `errors`, each naming its folder when it is not the current one.
  // Returns the number of tables of the current edition loaded (the start-up rule asks for 3).
  int LoadFromProgramFolder(const std::filesystem::path& programFolder, std::vector<std::string>* errors = nullptr);

  // Installs editions directly (tests). The first one added is the current edition.
  void Add(RateTableEdition edition);

  const RateTables& Current() const;
  // The tables in force on `date`: the newest edition whose effective date is not after it; for
  // a date before every edition the oldest; the current edition when it has no date. With two
  // editions of the same date the current one wins.
  const RateTables& InForceOn(const CivilDate& date) const;
  const RateTableEdition& EditionInForceOn(const CivilDate& date) const;

  // Oldest first; the current edition among them by its date (last when it has none).
  std::vector<const RateTableEdition*> ByDate() const;

 private:
  std::vector<RateTableEdition> editions_;  // [0] is the current edition
};

// The start-up notice on the tables: which withholding editions are installed, newest first, each
// by its era year and effective date ("令和8年分（2026-01-01から）"), and that every month is
// calculated with the edition of its pay date. An undated current edition serves every date.
std::string InstalledEditionsNotice(const RateTableEditions& editions);

// "yyyy-mm-dd" → date; nullopt for any other text or a day not in the calendar.
std::optional<CivilDate> ParseIsoDate(const std::string& text);
std::string IsoDate(const CivilDate& date);

}  // namespace paylark
