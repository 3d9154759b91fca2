#include "store/year_file.h"

#include <gtest/gtest.h>

#include <tuple>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <memory>

#include "support/temp_dir.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr std::size_t kFileSize = 463688;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A full-size file in which every byte differs from its neighbours, so a write in the wrong
// place cannot go unnoticed.
std::string PatternedFile() {
  std::string bytes(kFileSize, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251 + 1);
  return bytes;
}

std::string BlockBytes(const PeriodBlock& block) {
  std::string bytes(PeriodBlock::kSize, '\0');
  block.ToBytes(reinterpret_cast<std::uint8_t*>(bytes.data()));
  return bytes;
}

// A period with text in every string part, a key and figures in several slots.
std::unique_ptr<PeriodBlock> SamplePeriod() {
  auto block = std::make_unique<PeriodBlock>();
  block->company.SetName("株式会社ひばり商事");
  block->company.SetPayDay(25);
  block->company.SetPeriodDays(20);
  block->company.SetPeriodHours(160.5);
  block->company.SetHealthRate(4.985);
  EmployeeRecord& e = block->Employee(2);
  e.SetName("山田　太郎");
  e.SetDepartment("営業部");
  e.SetKey("260105_093015");
  e.SetPayFormCode(1);
  e.SetBasePay(310000);
  e.SetMailAddress("yamada@example.jp");
  e.SetCategoryText("一般社員");
  e.SetGrade(22);
  block->Attendance(2).Set(Kintai::WorkedHours, 161.75);
  block->Attendance(2).Set(Kintai::PaidLeaveBalance, 12.5);
  block->Payment(2).Set(Sikyu::BasePay, 310000);
  block->Payment(2).SetManual(Sikyu::Other3, true);
  block->Deduction(2).Set(Koujo::AfterSocial, 265432);
  block->Deduction(2).SetManual(Koujo::IncomeTax, true);
  block->Deduction(30).Set(Koujo::Total, -1);
  return block;
}

// One employee in slot `slot` of a block, with the two figures the look-ups return.
void PutEmployee(PeriodBlock& block, int slot, const std::string& key, Yen afterSocial, double paidLeave) {
  block.Employee(slot).SetName("社員" + std::to_string(slot));
  block.Employee(slot).SetKey(key);
  block.Deduction(slot).Set(Koujo::AfterSocial, afterSocial);
  block.Attendance(slot).Set(Kintai::PaidLeaveBalance, paidLeave);
}

// Creates a yearly file in `folder` and saves `block` as its period `period`.
fs::path WriteYearFile(const fs::path& folder, const EraYear& eraYear, int period, const PeriodBlock& block) {
  fs::path path = folder / YearFileName(eraYear);
  auto state = std::make_unique<OpenPeriod>();
  if (!fs::exists(path)) CreateYearFile(path, *state);
  ReadHeader(path, state->header);
  state->periodIndex = period;
  state->period = block;
  SavePeriod(path, *state);
  return path;
}

class YearFileTest : public ::testing::Test {
 protected:
  TempDir dir;
  fs::path file = dir / "令和8年給与･賞与.dat";
  std::unique_ptr<OpenPeriod> state = std::make_unique<OpenPeriod>();
};

TEST_F(YearFileTest, NewFileIsHeaderAndFifteenZeroBlocksAndAnExistingFileIsLeftAlone) {
  state->header.SetSaved(3, true);
  state->period.company.SetName("残り物");
  ASSERT_TRUE(CreateYearFile(file, *state));
  EXPECT_EQ(ReadBytes(file), std::string(kFileSize, '\0'));
  EXPECT_EQ(state->header, FileHeader{});
  EXPECT_EQ(state->period, PeriodBlock{});

  WriteBytes(file, PatternedFile());
  state->period.company.SetName("残り物");
  EXPECT_FALSE(CreateYearFile(file, *state));
  EXPECT_EQ(ReadBytes(file), PatternedFile());
  EXPECT_EQ(state->period.company.Name(), "残り物");
}

TEST_F(YearFileTest, SavingPeriod13ChangesOnlyHeaderByte20AndItsBlock) {
  const std::string before = PatternedFile();
  WriteBytes(file, before);
  ReadHeader(file, state->header);
  state->header.SetSaved(13, false);
  state->periodIndex = 13;
  state->period = *SamplePeriod();

  SavePeriod(file, *state);

  std::string expected = before;
  expected[20] = 1;
  expected.replace(370976, PeriodBlock::kSize, BlockBytes(state->period));
  const std::string after = ReadBytes(file);
  ASSERT_EQ(after.size(), kFileSize);
  EXPECT_TRUE(after == expected) << "bytes outside header byte 20 and block 13 changed";
  EXPECT_TRUE(state->header.Saved(13));
}

TEST_F(YearFileTest, SavedPeriodReadsBackWithItsStringsAndFigures) {
  ASSERT_TRUE(CreateYearFile(file, *state));
  state->periodIndex = 5;
  state->period = *SamplePeriod();
  SavePeriod(file, *state);

  auto loaded = std::make_unique<PeriodBlock>();
  LoadPeriod(file, 5, *loaded);
  EXPECT_EQ(*loaded, state->period);
  EXPECT_EQ(loaded->company.Name(), "株式会社ひばり商事");
  EXPECT_EQ(loaded->Employee(2).Name(), "山田　太郎");
  EXPECT_EQ(loaded->Employee(2).Key(), "260105_093015");
  EXPECT_EQ(loaded->Attendance(2).Get(Kintai::WorkedHours), 161.75);
  EXPECT_TRUE(loaded->Deduction(2).Manual(Koujo::IncomeTax));

  FileHeader header;
  ReadHeader(file, header);
  EXPECT_TRUE(header.Saved(5));
  EXPECT_FALSE(header.Saved(4));

  std::array<CompanyRecord, 12> cache;
  ReadMonthCache(file, cache);
  EXPECT_EQ(cache[4], state->period.company);
  EXPECT_EQ(cache[3], CompanyRecord{});

  // Carry-over reads only the company information and the employee table.
  auto carried = std::make_unique<PeriodBlock>();
  carried->Attendance(7).Set(Kintai::WorkDays, 3.0);
  ReadMasterData(file, 5, *carried);
  EXPECT_EQ(carried->company, state->period.company);
  EXPECT_EQ(carried->employees, state->period.employees);
  EXPECT_EQ(carried->Attendance(7).Get(Kintai::WorkDays), 3.0);
  EXPECT_EQ(carried->Deduction(2).Get(Koujo::AfterSocial), 0);
}

TEST_F(YearFileTest, ClearingPeriod14ClearsItsFlagBonusDateAndBlock) {
  ASSERT_TRUE(CreateYearFile(file, *state));
  state->header.SetBonusMonth(13, 7);
  state->header.SetBonusDay(13, 10);
  state->header.SetBonusMonth(14, 12);
  state->header.SetBonusDay(14, 20);
  for (int period : {13, 14}) {
    state->periodIndex = period;
    state->period = *SamplePeriod();
    SavePeriod(file, *state);
  }

  ClearPeriod(file, 14, *state);

  const std::string bytes = ReadBytes(file);
  ASSERT_EQ(bytes.size(), kFileSize);
  EXPECT_EQ(bytes[20], 1);  // 夏期賞与 still saved
  EXPECT_EQ(bytes[21], 0);
  EXPECT_EQ(bytes.substr(28, 4), std::string(4, '\0'));
  EXPECT_EQ(bytes.substr(40, 4), std::string(4, '\0'));
  EXPECT_EQ(bytes.substr(BlockOffset(14), PeriodBlock::kSize), std::string(PeriodBlock::kSize, '\0'));
  EXPECT_EQ(bytes.substr(BlockOffset(13), PeriodBlock::kSize), BlockBytes(*SamplePeriod()));
  FileHeader header;
  ReadHeader(file, header);
  EXPECT_EQ(header.BonusMonth(13), 7);
  EXPECT_EQ(header.BonusDay(13), 10);
  EXPECT_EQ(header, state->header);
  EXPECT_EQ(state->period, PeriodBlock{});
}

TEST_F(YearFileTest, ClearingASalaryMonthZeroesItsMonthCacheEntry) {
  ASSERT_TRUE(CreateYearFile(file, *state));
  state->periodIndex = 3;
  state->period = *SamplePeriod();
  SavePeriod(file, *state);
  ReadMonthCache(file, state->monthCache);
  ASSERT_EQ(state->monthCache[2].PeriodDays(), 20);

  ClearPeriod(file, 3, *state);
  EXPECT_EQ(state->monthCache[2], CompanyRecord{});
  EXPECT_FALSE(state->header.Saved(3));
  EXPECT_EQ(ReadBytes(file), std::string(kFileSize, '\0'));
}

TEST_F(YearFileTest, ReadingAShortFileIsAnErrorNamingFilePeriodAndRecord) {
  // The file ends 100 bytes into the employee table of period 5.
  const std::string shortFile = PatternedFile().substr(0, BlockOffset(5) + 1384 + 100);
  WriteBytes(file, shortFile);
  auto block = SamplePeriod();
  const PeriodBlock before = *block;
  try {
    LoadPeriod(file, 5, *block);
    FAIL() << "no error for a short file";
  } catch (const YearFileError& e) {
    EXPECT_EQ(e.UserText(), "ファイルの末尾以降を読み込みました");
    EXPECT_EQ(e.ErrorNumber(), kReadPastEndError);
    const std::string what = e.what();
    EXPECT_NE(what.find("令和8年給与･賞与.dat"), std::string::npos) << what;
    EXPECT_NE(what.find("period 5"), std::string::npos) << what;
    EXPECT_NE(what.find("employee table"), std::string::npos) << what;
  }
  EXPECT_EQ(*block, before);
  EXPECT_THROW(ReadMasterData(file, 6, *block), YearFileError);
  EXPECT_THROW(ReadMonthCache(file, state->monthCache), YearFileError);
  EXPECT_NO_THROW(ReadMasterData(file, 4, *block));
  WriteBytes(file, shortFile.substr(0, 100));
  EXPECT_THROW(ReadHeader(file, state->header), YearFileError);
  EXPECT_EQ(ReadBytes(file), shortFile.substr(0, 100));
}

// A short file has lost its end: filling it up with zeros would pass the loss off as data, and
// saving a block that fits would leave it short for good. Either way it is reported as damaged.
TEST_F(YearFileTest, SavingIntoAShortFileIsRefusedAsDamage) {
  for (std::size_t size : {std::size_t{300}, kFileSize - 1}) {
    SCOPED_TRACE(size);
    const std::string shortFile = PatternedFile().substr(0, size);
    WriteBytes(file, shortFile);
    state->periodIndex = 2;
    state->header.Clear();
    state->period = *SamplePeriod();
    try {
      SavePeriod(file, *state);
      ADD_FAILURE() << "a short file was saved into";
    } catch (const YearFileError& e) {
      EXPECT_EQ(e.ErrorNumber(), kDamagedFileError);
      EXPECT_NE(e.UserText().find("ファイルが壊れています"), std::string::npos) << e.UserText();
      EXPECT_NE(std::string(e.what()).find("period 2"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(ReadBytes(file) == shortFile);
    EXPECT_FALSE(state->header.Saved(2));
  }
}

TEST_F(YearFileTest, SavingKeepsTheFileModeAndWhatFollowsTheLastBlock) {
  const std::string before = PatternedFile() + "tail";
  WriteBytes(file, before);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  ReadHeader(file, state->header);
  state->periodIndex = 15;
  state->period = *SamplePeriod();
  SavePeriod(file, *state);

  std::string expected = before;
  expected[22] = 1;  // period 15 saved
  expected.replace(BlockOffset(15), PeriodBlock::kSize, BlockBytes(state->period));
  EXPECT_TRUE(ReadBytes(file) == expected);
  EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
}

TEST_F(YearFileTest, AFailedSaveLeavesFileAndMemoryAsTheyWere) {
  const std::string before = PatternedFile();
  WriteBytes(file, before);
  state->periodIndex = 7;
  state->period = *SamplePeriod();
  const FileHeader headerBefore = state->header;

  // The temporary file cannot grow to the full size: the write fails halfway (root included).
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  rlimit small = limit;
  small.rlim_cur = 200000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int saveError = 0;
  try {
    SavePeriod(file, *state);
  } catch (const YearFileError& e) {
    saveError = e.ErrorNumber();
  }
  EXPECT_THROW(ClearPeriod(file, 7, *state), YearFileError);
  setrlimit(RLIMIT_FSIZE, &limit);
  EXPECT_EQ(saveError, EFBIG);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_TRUE(ReadBytes(file) == before);
  EXPECT_EQ(state->header, headerBefore);
  EXPECT_EQ(state->period, *SamplePeriod());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1)
      << "a temporary file was left behind";
}

TEST_F(YearFileTest, WritingWhereNoFileCanBeIsReportedWithThePlatformText) {
  const fs::path missingFolder = dir / "Data" / "令和8年給与･賞与.dat";
  state->periodIndex = 1;
  state->period = *SamplePeriod();
  try {
    SavePeriod(missingFolder, *state);
    FAIL() << "no error for a missing folder";
  } catch (const YearFileError& e) {
    EXPECT_EQ(e.UserText(), "ファイルが見つかりません");
  }
  EXPECT_THROW(CreateYearFile(missingFolder, *state), YearFileError);
  EXPECT_EQ(state->period, *SamplePeriod());  // not zeroed by the failed creation
  EXPECT_FALSE(state->header.Saved(1));

  fs::create_directory(file);  // a folder where the file should be
  EXPECT_THROW(SavePeriod(file, *state), YearFileError);
  EXPECT_THROW(LoadPeriod(file, 1, state->period), YearFileError);
  EXPECT_TRUE(fs::is_directory(file));
}

TEST(IoErrorText, PlatformTexts) {
  EXPECT_EQ(IoErrorText(ENOENT), "ファイルが見つかりません");
  EXPECT_EQ(IoErrorText(EACCES), "ファイルへのアクセスが拒否されました");
  EXPECT_EQ(IoErrorText(EPERM), "ファイルへのアクセスが拒否されました");
  EXPECT_EQ(IoErrorText(ENOSPC), "ディスクがいっぱいです");
  // Each its own text, not a bare number and not "access denied" for a folder.
  EXPECT_EQ(IoErrorText(EROFS), "書き込みが禁止されたドライブ（読み取り専用のファイルシステム）です");
  EXPECT_EQ(IoErrorText(EFBIG), "ファイルが大きすぎます");
  EXPECT_EQ(IoErrorText(EISDIR), "ファイルの場所にフォルダーがあります");
  EXPECT_EQ(IoErrorText(kReadOnlyFileError), "読み取り専用のファイルのため保存できません");
  EXPECT_EQ(IoErrorText(kReadPastEndError), "ファイルの末尾以降を読み込みました");
  EXPECT_EQ(IoErrorText(EIO), "I/O エラー (5)");
}

TEST(YearFileName, FormsAndParsesNames) {
  EXPECT_EQ(YearFileName({"令和", 8}), "令和8年給与･賞与.dat");
  EXPECT_EQ(YearFileName({"平成", 19}), "平成19年給与･賞与.dat");

  struct Case {
    const char* name;
    std::optional<EraYear> expected;
  };
  const Case cases[] = {
      {"令和8年給与･賞与.dat", EraYear{"令和", 8}},
      {"平成19年給与･賞与.dat", EraYear{"平成", 19}},
      {"平成 9年給与･賞与.dat", EraYear{"平成", 9}},   // as the period selection lists it
      {"昭和09年給与･賞与.dat", EraYear{"昭和", 9}},
      {"未来8年給与･賞与.dat", std::nullopt},          // no such era
      {"令和年給与･賞与.dat", std::nullopt},
      {"令和0年給与･賞与.dat", std::nullopt},
      {"令和8a年給与･賞与.dat", std::nullopt},
      {"令和-1年給与･賞与.dat", std::nullopt},
      {"令和8年給与・賞与.dat", std::nullopt},          // full-width middle dot
      {"令和8年給与･賞与.dat.bak", std::nullopt},
      {"社員情報.dat", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseYearFileName(c.name), c.expected) << c.name;
}

TEST(PreviousYearFile, IsTheGregorianYearBeforeUnderTheNameThatExists) {
  TempDir dir;
  // Open 令和2 (2020): 2019 is 令和1 or 平成31; without either file the later era's name.
  EXPECT_EQ(PreviousYearFile(dir.Path(), {"令和", 2}), dir / "令和1年給与･賞与.dat");
  WriteBytes(dir / "平成31年給与･賞与.dat", "");
  EXPECT_EQ(PreviousYearFile(dir.Path(), {"令和", 2}), dir / "平成31年給与･賞与.dat");
  WriteBytes(dir / "令和1年給与･賞与.dat", "");
  EXPECT_EQ(PreviousYearFile(dir.Path(), {"令和", 2}), dir / "令和1年給与･賞与.dat");
  // Open 令和1 or 平成31 (2019): 2018 is 平成30 only.
  EXPECT_EQ(PreviousYearFile(dir.Path(), {"令和", 1}), dir / "平成30年給与･賞与.dat");
  EXPECT_EQ(PreviousYearFile(dir.Path(), {"平成", 31}), dir / "平成30年給与･賞与.dat");
  EXPECT_EQ(PreviousYearFile(dir.Path(), {"令和", 8}), dir / "令和7年給与･賞与.dat");
}

// The open file is 令和8; 令和7 is the previous year's file.
class LookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto march = std::make_unique<PeriodBlock>();
    // Slot 1 is free (empty key) though it still carries a name and figures.
    PutEmployee(*march, 1, "", 111111, 1.0);
    march->Employee(1).SetName("削除済み");
    PutEmployee(*march, 2, "260105_093015", 250000, 7.5);
    PutEmployee(*march, 3, "250401_080000", 180000, 0.0);
    PutEmployee(*march, 4, "260105_093015", 999999, 99.0);  // the same key again: first match wins
    current = WriteYearFile(dir.Path(), {"令和", 8}, 3, *march);

    auto december = std::make_unique<PeriodBlock>();
    PutEmployee(*december, 5, "260105_093015", 240000, 10.5);
    WriteYearFile(dir.Path(), {"令和", 7}, 12, *december);
  }

  TempDir dir;
  fs::path current;
};

TEST_F(LookupTest, FindsTheFirstSlotWithTheKeyInThePeriodOrDecemberOfThePreviousYear) {
  YearFileLookup lookup(current, dir.Path(), {"令和", 8});
  EXPECT_EQ(lookup.FindPreviousDeductionBase(3, "260105_093015"), 250000);
  EXPECT_EQ(lookup.FindPreviousPaidLeave(3, "260105_093015"), 7.5);
  EXPECT_EQ(lookup.FindPreviousPaidLeave(3, "250401_080000"), 0.0);
  // January and a bonus month never set look at December of 令和7.
  EXPECT_EQ(lookup.FindPreviousDeductionBase(0, "260105_093015"), 240000);
  EXPECT_EQ(lookup.FindPreviousPaidLeave(-1, "260105_093015"), 10.5);
}

TEST_F(LookupTest, NotFoundCases) {
  YearFileLookup lookup(current, dir.Path(), {"令和", 8});
  struct Case {
    const char* what;
    int period;
    std::string key;
  };
  const Case cases[] = {
      {"empty key, though slot 1 has an empty key", 3, ""},
      {"unknown key", 3, "991231_235959"},
      {"key is a prefix of a stored key", 3, "260105_09301"},
      {"key longer than a stored key", 3, "260105_093015 "},
      {"period never saved", 4, "260105_093015"},
      {"key only in another period", 0, "250401_080000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lookup.FindPreviousDeductionBase(c.period, c.key), 0) << c.what;
    EXPECT_EQ(lookup.FindPreviousPaidLeave(c.period, c.key), kPaidLeaveNotFound) << c.what;
  }

  // Without the previous year's file, and without the open file itself.
  fs::remove(dir / "令和7年給与･賞与.dat");
  EXPECT_EQ(lookup.FindPreviousDeductionBase(0, "260105_093015"), 0);
  EXPECT_EQ(lookup.FindPreviousPaidLeave(0, "260105_093015"), kPaidLeaveNotFound);
  YearFileLookup noFile(dir / "令和9年給与･賞与.dat", dir.Path(), {"令和", 9});
  EXPECT_EQ(noFile.FindPreviousPaidLeave(3, "260105_093015"), kPaidLeaveNotFound);
}

TEST_F(LookupTest, PreviousYearAcrossAnEraChange) {
  auto heisei = std::make_unique<PeriodBlock>();
  PutEmployee(*heisei, 1, "180401_120000", 200000, 3.0);
  WriteYearFile(dir.Path(), {"平成", 30}, 12, *heisei);
  auto h31 = std::make_unique<PeriodBlock>();
  PutEmployee(*h31, 1, "180401_120000", 210000, 4.0);
  WriteYearFile(dir.Path(), {"平成", 31}, 12, *h31);

  YearFileLookup fromReiwa2(current, dir.Path(), {"令和", 2});
  EXPECT_EQ(fromReiwa2.FindPreviousDeductionBase(0, "180401_120000"), 210000);  // 平成31
  auto r1 = std::make_unique<PeriodBlock>();
  PutEmployee(*r1, 1, "180401_120000", 220000, 5.0);
  WriteYearFile(dir.Path(), {"令和", 1}, 12, *r1);
  EXPECT_EQ(fromReiwa2.FindPreviousDeductionBase(0, "180401_120000"), 220000);  // 令和1 first

  YearFileLookup fromReiwa1(current, dir.Path(), {"令和", 1});
  EXPECT_EQ(fromReiwa1.FindPreviousPaidLeave(0, "180401_120000"), 3.0);  // 平成30
}

// The bonuses of an employee for the fiscal-year cap: the saved bonus periods of the open file
// other than the one calculated and those of the previous year's file, with their pay dates.
TEST_F(LookupTest, BonusesOfTheOpenAndThePreviousYearsFile) {
  auto saveBonus = [&](const EraYear& eraYear, int period, int month, Yen taxable, bool healthSubject) {
    const fs::path path = dir / YearFileName(eraYear);
    auto state = std::make_unique<OpenPeriod>();
    ReadHeader(path, state->header);
    state->header.SetBonusMonth(period, month);
    state->header.SetBonusDay(period, 10);
    state->periodIndex = period;
    PutEmployee(state->period, 2, "260105_093015", 0, 0);
    state->period.Payment(2).Set(Sikyu::TaxableTotal, taxable);
    state->period.Employee(2).SetHealthSubject(healthSubject);
    SavePeriod(path, *state);
  };
  saveBonus({"令和", 7}, 13, 7, 2'000'000, true);
  saveBonus({"令和", 7}, 14, 12, 3'000'000, false);
  saveBonus({"令和", 8}, 13, 3, 1'000'000, true);
  saveBonus({"令和", 8}, 14, 7, 500'000, true);

  YearFileLookup lookup(current, dir.Path(), {"令和", 8});
  const std::vector<EarlierBonus> found = lookup.FindBonuses(14, "260105_093015");
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ((std::tuple(found[0].previousYear, found[0].period, found[0].payMonth, found[0].payDay,
                        found[0].taxableTotal, found[0].healthSubject)),
            std::tuple(false, 13, 3, 10, 1'000'000, true));
  EXPECT_EQ((std::tuple(found[1].previousYear, found[1].period, found[1].payMonth, found[1].taxableTotal)),
            std::tuple(true, 13, 7, 2'000'000));
  EXPECT_EQ((std::tuple(found[2].previousYear, found[2].period, found[2].payMonth, found[2].healthSubject)),
            std::tuple(true, 14, 12, false));
  EXPECT_TRUE(lookup.FindBonuses(14, "999999_000000").empty());
  EXPECT_TRUE(lookup.FindBonuses(14, "").empty());
}

TEST_F(LookupTest, AShortPreviousYearFileIsAnErrorNotAMiss) {
  const fs::path previous = dir / "令和7年給与･賞与.dat";
  WriteBytes(previous, ReadBytes(previous).substr(0, BlockOffset(12) + 500));
  YearFileLookup lookup(current, dir.Path(), {"令和", 8});
  EXPECT_THROW(lookup.FindPreviousPaidLeave(0, "260105_093015"), YearFileError);
  EXPECT_THROW(lookup.FindPreviousDeductionBase(0, "260105_093015"), YearFileError);
}

}  // namespace
}  // namespace paylark
