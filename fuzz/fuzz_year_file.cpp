// The yearly payroll data file: the input is the file. Properties:
// - a read returns exactly the file's bytes at the record's offset, or fails (short file) leaving
//   the destination as it was;
// - a calculation of any slot of the period read either completes or fails leaving the slot's
//   records as they were, and only with the errors the engine defines;
// - a save reads back equal and changes nothing but the header and its block; into a short file
//   it is refused and the file stays as it was.
#include <cstring>
#include <memory>

#include "calc/bonus.h"
#include "calc/item_enabled.h"
#include "calc/salary.h"
#include "fuzz/fuzz_support.h"
#include "store/item_settings.h"
#include "store/rate_table_editions.h"
#include "store/year_file.h"

using namespace paylark;

namespace {

struct Engine {
  Options options;
  EnabledItemsByPayForm salary;
  EnabledItemsByPayForm bonus;
  RateTableEditions editions;
  Engine()
      : salary(ResolveEnabledItems(DeriveItemLists(DefaultItemSettings(ItemKind::Salary)), options, ItemKind::Salary)),
        bonus(ResolveEnabledItems(DeriveItemLists(DefaultItemSettings(ItemKind::Bonus)), options, ItemKind::Bonus)) {
    editions.LoadFromProgramFolder(PAYLARK_PROGRAM_DIR);
  }
};

// Every slot calculated; an error must leave that slot's figures untouched.
void CalculateEverySlot(const Engine& engine, PeriodBlock& period, int periodIndex, int bonusMonth,
                        const std::filesystem::path& file) {
  const RateTables& tables = engine.editions.Current();
  YearFileLookup lookup(file, file.parent_path(), EraYear{"令和", 8});
  TableProblems problems;
  const bool bonus = IsBonusPeriod(periodIndex);
  const CalcInputs in{engine.options, bonus ? engine.bonus : engine.salary, tables, tables.Presence(), periodIndex,
                      bonus ? bonusMonth : 0, &lookup, std::nullopt, &problems};
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (!period.Employee(slot).InUse()) continue;
    const PaymentRecord payment = period.Payment(slot);
    const DeductionRecord deduction = period.Deduction(slot);
    const bool retired = period.Employee(slot).Retired();
    try {
      if (bonus) {
        CalculateBonus(period, slot, in);
      } else {
        CalculateSalary(period, slot, in);
      }
    } catch (const CalculationError&) {
      fuzz::Require(retired || (period.Payment(slot) == payment && period.Deduction(slot) == deduction),
                    "a failed calculation changed its slot");
    } catch (const YearFileError&) {
      fuzz::Require(period.Payment(slot) == payment && period.Deduction(slot) == deduction,
                    "a failed look-up changed its slot");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::ScratchFolder folder;
  static const Engine engine;
  const std::filesystem::path file = folder / "令和8年給与･賞与.dat";
  const std::string_view bytes = fuzz::AsText(data, size);
  fuzz::WriteFile(file, bytes);
  const int periodIndex = 1 + (size > 0 ? data[size - 1] : 0) % kPeriodCount;

  FileHeader header;
  header.bytes.fill(0xA5);
  const FileHeader headerBefore = header;
  bool headerRead = false;
  try {
    ReadHeader(file, header);
    headerRead = true;
    fuzz::Require(size >= FileHeader::kSize, "a header was read from a short file");
    fuzz::Require(std::memcmp(header.bytes.data(), data, FileHeader::kSize) == 0, "the header is not the file's bytes");
  } catch (const YearFileError&) {
    fuzz::Require(size < FileHeader::kSize, "a whole header failed to read");
    fuzz::Require(header == headerBefore, "a failed header read changed the header");
  }

  auto block = std::make_unique<PeriodBlock>();
  block->Employee(1).SetName("読み込み前");
  const auto blockBefore = std::make_unique<PeriodBlock>(*block);
  const std::size_t begin = static_cast<std::size_t>(BlockOffset(periodIndex));
  const std::size_t end = begin + PeriodBlock::kSize;
  try {
    LoadPeriod(file, periodIndex, *block);
    fuzz::Require(size >= end, "a block was read from a file too short for it");
    auto image = std::make_unique<std::uint8_t[]>(PeriodBlock::kSize);
    block->ToBytes(image.get());
    fuzz::Require(std::memcmp(image.get(), data + begin, PeriodBlock::kSize) == 0, "the block is not the file's bytes");
  } catch (const YearFileError&) {
    fuzz::Require(size < end, "a whole block failed to read");
    fuzz::Require(*block == *blockBefore, "a failed block read changed the block");
    return 0;
  }
  if (!headerRead) return 0;

  CalculateEverySlot(engine, *block, periodIndex, header.BonusMonth(IsBonusPeriod(periodIndex) ? periodIndex : 13),
                     file);

  OpenPeriod state;
  state.periodIndex = periodIndex;
  state.header = header;
  state.period = *block;
  try {
    SavePeriod(file, state);
  } catch (const YearFileError& e) {
    fuzz::Require(e.ErrorNumber() == kDamagedFileError && size < static_cast<std::size_t>(kYearFileSize),
                  "a save failed for a whole file");
    fuzz::Require(fuzz::ReadFile(file) == bytes, "a refused save changed the file");
    return 0;
  }
  fuzz::Require(size >= static_cast<std::size_t>(kYearFileSize), "a short file was saved into");
  std::string expected(bytes);
  std::memcpy(expected.data(), state.header.bytes.data(), FileHeader::kSize);
  state.period.ToBytes(reinterpret_cast<std::uint8_t*>(expected.data()) + begin);
  fuzz::Require(fuzz::ReadFile(file) == expected, "the saved file is not the header and block over the old file");
  auto readBack = std::make_unique<PeriodBlock>();
  LoadPeriod(file, periodIndex, *readBack);
  fuzz::Require(*readBack == state.period, "the saved period does not read back equal");
  return 0;
}
