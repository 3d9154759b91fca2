// The yearly payroll data file (<era><year>年給与･賞与.dat in the data folder): header and fifteen
// period blocks at fixed offsets (see store/period.h). Every operation opens the file, transfers
// exact byte counts at computed positions and closes it. Writes never patch the file in place:
// the new content goes to a temporary file in the same folder, is flushed to disk and renamed over
// the original, so a failure or a crash leaves the previous file whole.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "store/era.h"
#include "store/period.h"
#include "store/previous_period.h"

namespace paylark {

// An input/output failure of the yearly file, with the file, period and record it concerns.
// what() is the full message; UserText() the platform-like Japanese text for the error box.
class YearFileError : public std::runtime_error {
 public:
  YearFileError(const std::filesystem::path& file, int period, const std::string& record, int errnum,
                const std::string& userText);
  // An errno value, or kReadPastEndError.
  int ErrorNumber() const { return errnum_; }
  const std::string& UserText() const { return userText_; }

 private:
  int errnum_;
  std::string userText_;
};

// The error number of a read that ran past the end of a short file (no errno has that meaning).
inline constexpr int kReadPastEndError = -1;
// A save refused because the file is read-only (no write permission bit, ReadOnlyFileError).
inline constexpr int kReadOnlyFileError = -2;
// A save refused because the file is not a whole yearly file (shorter than 463688 bytes): it is
// damaged, and filling it up would hide what was lost.
inline constexpr int kDamagedFileError = -3;

// Japanese text of an error number as the error box shows it ("ファイルが見つかりません", ...).
std::string IoErrorText(int errnum);

// "令和8年給与･賞与.dat"
std::string YearFileName(const EraYear& eraYear);
// The era year of a yearly file name, or nullopt when the name is not one.
std::optional<EraYear> ParseYearFileName(const std::string& fileName);
// The file of the Gregorian year before the given era year: of the names that year carries (two in
// a year whose era changed) the first that exists, the later era first; when none exists, the
// later era's name.
std::filesystem::path PreviousYearFile(const std::filesystem::path& dataFolder, const EraYear& eraYear);

// The program's in-memory mirror of the open file.
struct OpenPeriod {
  std::filesystem::path currentDataFile;       // CurrentDataFile
  EraYear eraYear;                             // era year of the open file
  int periodIndex = 0;                         // PeriodIndex, 1..15
  FileHeader header;
  PeriodBlock period;
  std::array<CompanyRecord, 12> monthCache;    // company records of periods 1..12
};

// Creates the file (header and 15 zero blocks) when it does not exist, zeroing the in-memory
// header and period. Returns false when the file existed (it is then left untouched).
bool CreateYearFile(const std::filesystem::path& path, OpenPeriod& state);
void ReadHeader(const std::filesystem::path& path, FileHeader& header);
// The company records of periods 1..12.
void ReadMonthCache(const std::filesystem::path& path, std::array<CompanyRecord, 12>& cache);
void LoadPeriod(const std::filesystem::path& path, int period, PeriodBlock& block);
// Sets the saved flag of state.periodIndex and writes the header and the period block. The flag
// is set in memory only once the file has been replaced: on failure memory and file are as they were.
void SavePeriod(const std::filesystem::path& path, OpenPeriod& state);
// Deleting a period: flag (and bonus month and day) cleared, month cache entry zeroed, header
// written, the in-memory period zeroed and written as block k. On failure nothing changes.
void ClearPeriod(const std::filesystem::path& path, int period, OpenPeriod& state);
// Reads block k of any yearly file into a private buffer.
void ReadBlock(const std::filesystem::path& path, int period, PeriodBlock& block);
// Reads only the company information and the employee table of block k (carry-over, reference
// data); the figure tables of `block` are left as they are.
void ReadMasterData(const std::filesystem::path& path, int period, PeriodBlock& block);

// Look-ups of an employee by key in an earlier period: period p of the open file, or for p ≤ 0
// period 12 of the previous Gregorian year's file. A missing file or key is "not found".
class YearFileLookup : public PreviousPeriodLookup {
 public:
  YearFileLookup(std::filesystem::path currentFile, std::filesystem::path dataFolder, EraYear eraYear);
  Yen FindPreviousDeductionBase(int period, const std::string& key) override;  // 0 when not found
  double FindPreviousPaidLeave(int period, const std::string& key) override;   // −999.0 when not found
  // Bonus periods whose saved flag is set; a missing file gives none.
  std::vector<EarlierBonus> FindBonuses(int exceptPeriod, const std::string& key) override;

 private:
  std::filesystem::path currentFile_;
  std::filesystem::path dataFolder_;
  EraYear eraYear_;
};

}  // namespace paylark
