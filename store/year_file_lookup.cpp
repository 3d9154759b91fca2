// Looking an employee up by key in an earlier period: the previous month's 社保控除後計 for the
// bonus tax and the 有休残日数 carried into the next month. Period p ≤ 0 is December of the
// Gregorian year before the open file's year, whatever today's date is.
#include <memory>
#include <system_error>

#include "store/year_file.h"

namespace paylark {
namespace {

// The block of `period` in `file`, or nothing when the file does not exist. A file that exists
// but cannot be read whole is an error.
std::unique_ptr<PeriodBlock> ReadBlockIfPresent(const std::filesystem::path& file, int period) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return nullptr;
  auto block = std::make_unique<PeriodBlock>();
  ReadBlock(file, period, *block);
  return block;
}

// Block p of the open file, or for p ≤ 0 block 12 of the previous year's file.
std::unique_ptr<PeriodBlock> EarlierBlock(const std::filesystem::path& currentFile,
                                          const std::filesystem::path& dataFolder, const EraYear& eraYear,
                                          int period) {
  if (period > 0) return ReadBlockIfPresent(currentFile, period);
  return ReadBlockIfPresent(PreviousYearFile(dataFolder, eraYear), 12);
}

// The first slot 1..30 whose employee key equals `key` byte for byte, or 0.
int FindSlot(const PeriodBlock& block, const std::string& key) {
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (block.Employee(slot).Key() == key) return slot;
  }
  return 0;
}

}  // namespace

YearFileLookup::YearFileLookup(std::filesystem::path currentFile, std::filesystem::path dataFolder,
                               EraYear eraYear)
    : currentFile_(std::move(currentFile)), dataFolder_(std::move(dataFolder)), eraYear_(std::move(eraYear)) {}

Yen YearFileLookup::FindPreviousDeductionBase(int period, const std::string& key) {
  if (key.empty()) return 0;
  std::unique_ptr<PeriodBlock> block = EarlierBlock(currentFile_, dataFolder_, eraYear_, period);
  if (!block) return 0;
  int slot = FindSlot(*block, key);
  return slot > 0 ? block->Deduction(slot).Get(Koujo::AfterSocial) : 0;
}

double YearFileLookup::FindPreviousPaidLeave(int period, const std::string& key) {
  if (key.empty()) return kPaidLeaveNotFound;
  std::unique_ptr<PeriodBlock> block = EarlierBlock(currentFile_, dataFolder_, eraYear_, period);
  if (!block) return kPaidLeaveNotFound;
  int slot = FindSlot(*block, key);
  return slot > 0 ? block->Attendance(slot).Get(Kintai::PaidLeaveBalance) : kPaidLeaveNotFound;
}

std::vector<EarlierBonus> YearFileLookup::FindBonuses(int exceptPeriod, const std::string& key) {
  std::vector<EarlierBonus> found;
  if (key.empty()) return found;
  auto collect = [&](const std::filesystem::path& file, bool previousYear) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return;
    FileHeader header;
    ReadHeader(file, header);
    for (int period = kFirstBonusPeriod; period <= kPeriodCount; ++period) {
      if ((!previousYear && period == exceptPeriod) || !header.Saved(period)) continue;
      PeriodBlock block;
      ReadBlock(file, period, block);
      const int slot = FindSlot(block, key);
      if (slot == 0) continue;
      found.push_back({previousYear, period, header.BonusMonth(period), header.BonusDay(period),
                       block.Payment(slot).Get(Sikyu::TaxableTotal), block.Employee(slot).HealthSubject()});
    }
  };
  collect(currentFile_, false);
  collect(PreviousYearFile(dataFolder_, eraYear_), true);
  return found;
}

}  // namespace paylark
