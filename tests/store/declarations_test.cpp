// The declarations database: round trips of the declarations, the slips' particulars and the
// adjustments' state, the schema version and its upgrade, failing writes leave it as it was, and
// the backup and restore of the data folder carry it.
#include "store/declarations.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "store/backup.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

Declaration Sample(const std::string& key) {
  Declaration d;
  d.year = 2026;
  d.employeeKey = key;
  d.dependantForm = true;
  d.incomeAdjustmentForm = true;
  d.birth = {1980, 4, 1};
  d.disability = DisabilityKind::General;
  d.singleParent = true;
  d.otherIncome = 120000;
  d.previousPaid = 1500000;
  d.previousSocialInsurance = 220000;
  d.previousWithheld = 31000;
  d.lifeNewGeneral = 80000;
  d.lifeOldPension = 100000;
  d.earthquake = 25000;
  d.housingLoanCredit = 150000;
  d.spouse = DeclaredPerson{"山田花子", "妻", {1982, 7, 7}, 600000, true, DisabilityKind::None, false};
  d.dependants = {{"山田太郎", "長男", {2006, 3, 3}, 0, true, DisabilityKind::SpecialCohabiting, false},
                  {"山田一", "父", {1950, 1, 1}, 0, false, DisabilityKind::None, true}};
  return d;
}

EmployeeParticulars SampleParticulars(const std::string& key) {
  EmployeeParticulars p;
  p.year = 2026;
  p.employeeKey = key;
  p.furigana = "ヤマダ タロウ";
  p.postalCode = "160-0022";
  p.address = "東京都新宿区新宿1-2-3";
  p.municipality = "東京都新宿区";
  p.position = "部長";
  p.officer = true;
  p.hired = CivilDate{2026, 4, 1};
  return p;
}

AdjustmentState SampleAdjustment(const std::string& key) { return {2026, key, 64300, 120000, -55700, 12}; }

std::int64_t Count(sqlite3* db, const char* table) {
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db, (std::string("SELECT count(*) FROM ") + table).c_str(), -1, &s, nullptr);
  sqlite3_step(s);
  const std::int64_t n = sqlite3_column_int64(s, 0);
  sqlite3_finalize(s);
  return n;
}

TEST(DeclarationStore, SavesReplacesAndRemovesWithTheRelatives) {
  TempDir dir;
  const fs::path path = dir / DeclarationStore::kFileName;
  Declaration d = Sample("260101_090000");
  {
    DeclarationStore store(path);
    store.Save(d);
    store.Save(Sample("260101_090001"));
  }
  DeclarationStore store(path);  // reopened: the schema is there, nothing is lost
  EXPECT_EQ(store.Load(2026, d.employeeKey), d);
  EXPECT_EQ(store.Load(2025, d.employeeKey), std::nullopt);
  EXPECT_EQ(store.LoadYear(2026).size(), 2u);

  d.spouse.reset();
  d.dependants.pop_back();
  d.lifeNewGeneral = 0;
  store.Save(d);
  EXPECT_EQ(store.Load(2026, d.employeeKey), d);
  store.Remove(2026, d.employeeKey);
  EXPECT_EQ(store.Load(2026, d.employeeKey), std::nullopt);
  EXPECT_EQ(Count(store.Handle(), "relative"), 3);  // only the other employee's
}

TEST(DeclarationStore, KeepsTheSlipsParticularsAndTheAdjustmentsState) {
  TempDir dir;
  const fs::path path = dir / DeclarationStore::kFileName;
  const Declaration d = Sample("260101_090000");
  const EmployeeParticulars p = SampleParticulars(d.employeeKey);
  EmployeeParticulars other = SampleParticulars("260101_090001");
  other.hired.reset();
  other.retired = CivilDate{2026, 9, 30};
  other.officer = false;
  CompanyParticulars company{2026, "1234567890123", "100-0001", "東京都千代田区1-1", "", "代表 一郎",
                             "03-1234-5678", "連絡 次郎", "総務部", "麹町", "毎月25日 振込"};
  const std::vector<MunicipalityNumber> numbers{{"東京都新宿区", "00012345"}, {"横浜市中区", "A-99"}};
  {
    DeclarationStore store(path);
    store.Save(d, p);
    store.SaveParticulars(other);
    store.SaveCompany(company);
    store.SaveMunicipalityNumbers(numbers);
    store.SaveAdjustments({SampleAdjustment(d.employeeKey), SampleAdjustment(other.employeeKey)});
  }
  DeclarationStore store(path);
  EXPECT_EQ(store.Load(2026, d.employeeKey), d);
  EXPECT_EQ(store.LoadParticulars(2026, d.employeeKey), p);
  EXPECT_EQ(store.LoadParticulars(2026, other.employeeKey), other);
  EXPECT_EQ(store.LoadParticulars(2025, d.employeeKey), std::nullopt);
  EXPECT_EQ(store.LoadCompany(2026), company);
  EXPECT_EQ(store.LoadCompany(2027), std::nullopt);
  EXPECT_EQ(store.LoadMunicipalityNumbers(), numbers);
  ASSERT_EQ(store.LoadAdjustments(2026).size(), 2u);
  EXPECT_EQ(store.LoadAdjustments(2026)[0], SampleAdjustment(d.employeeKey));

  // Replacing: the company of the year, the list of numbers as a whole, one adjustment.
  company.taxOffice = "新宿";
  store.SaveCompany(company);
  EXPECT_EQ(store.LoadCompany(2026), company);
  store.SaveMunicipalityNumbers({numbers[1]});
  EXPECT_EQ(store.LoadMunicipalityNumbers(), (std::vector<MunicipalityNumber>{numbers[1]}));
  AdjustmentState unsettled = SampleAdjustment(d.employeeKey);
  unsettled.settledPeriod = 0;
  store.SaveAdjustment(unsettled);
  EXPECT_EQ(store.LoadAdjustments(2026)[0], unsettled);

  // The declaration entered again is back to 入力済: its adjustment goes, the other stays; the
  // particulars are not the declaration's and stay. Removing the declaration takes its state.
  store.Save(d);
  ASSERT_EQ(store.LoadAdjustments(2026).size(), 1u);
  EXPECT_EQ(store.LoadAdjustments(2026)[0].employeeKey, other.employeeKey);
  EXPECT_EQ(store.LoadParticulars(2026, d.employeeKey), p);
  store.Save(Sample(other.employeeKey));
  store.SaveAdjustment(SampleAdjustment(other.employeeKey));
  store.Remove(2026, other.employeeKey);
  EXPECT_TRUE(store.LoadAdjustments(2026).empty());
  store.RemoveAdjustment(2026, "nobody");  // nothing to remove is no error

  // A calculation of everyone replaces the year's states and leaves other years alone.
  AdjustmentState lastYear = SampleAdjustment(d.employeeKey);
  lastYear.year = 2025;
  store.SaveAdjustments({lastYear, SampleAdjustment(d.employeeKey)});
  store.ReplaceAdjustments(2026, {SampleAdjustment(other.employeeKey)});
  ASSERT_EQ(store.LoadAdjustments(2026).size(), 1u);
  EXPECT_EQ(store.LoadAdjustments(2026)[0].employeeKey, other.employeeKey);
  EXPECT_EQ(store.LoadAdjustments(2025), (std::vector<AdjustmentState>{lastYear}));
}

// The database as the first version of the program wrote it.
constexpr const char* kVersion1 = R"sql(
CREATE TABLE declaration (
  year INTEGER NOT NULL, employee_key TEXT NOT NULL,
  dependant_form INTEGER NOT NULL DEFAULT 0, income_adjustment_form INTEGER NOT NULL DEFAULT 0, birth TEXT,
  disability INTEGER NOT NULL DEFAULT 0 CHECK (disability BETWEEN 0 AND 3),
  widow INTEGER NOT NULL DEFAULT 0, single_parent INTEGER NOT NULL DEFAULT 0,
  working_student INTEGER NOT NULL DEFAULT 0, non_resident INTEGER NOT NULL DEFAULT 0,
  leaving_case INTEGER NOT NULL DEFAULT 0, other_income INTEGER NOT NULL DEFAULT 0,
  previous_paid INTEGER NOT NULL DEFAULT 0, previous_social_insurance INTEGER NOT NULL DEFAULT 0,
  previous_withheld INTEGER NOT NULL DEFAULT 0, declared_social_insurance INTEGER NOT NULL DEFAULT 0,
  small_business_mutual_aid INTEGER NOT NULL DEFAULT 0, life_new_general INTEGER NOT NULL DEFAULT 0,
  life_old_general INTEGER NOT NULL DEFAULT 0, life_care_medical INTEGER NOT NULL DEFAULT 0,
  life_new_pension INTEGER NOT NULL DEFAULT 0, life_old_pension INTEGER NOT NULL DEFAULT 0,
  earthquake INTEGER NOT NULL DEFAULT 0, old_long_term INTEGER NOT NULL DEFAULT 0,
  housing_loan_credit INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (year, employee_key));
CREATE TABLE relative (
  year INTEGER NOT NULL, employee_key TEXT NOT NULL, seq INTEGER NOT NULL,
  role TEXT NOT NULL CHECK (role IN ('spouse', 'dependant')), name TEXT NOT NULL DEFAULT '',
  relation TEXT NOT NULL DEFAULT '', birth TEXT, income INTEGER NOT NULL DEFAULT 0,
  cohabiting INTEGER NOT NULL DEFAULT 0, disability INTEGER NOT NULL DEFAULT 0 CHECK (disability BETWEEN 0 AND 3),
  non_resident INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (year, employee_key, seq),
  FOREIGN KEY (year, employee_key) REFERENCES declaration (year, employee_key) ON DELETE CASCADE);
INSERT INTO declaration (year, employee_key, dependant_form, birth, previous_paid)
  VALUES (2025, '250101_000001', 1, '1970-05-06', 800000);
INSERT INTO relative (year, employee_key, seq, role, name, relation, birth, income)
  VALUES (2025, '250101_000001', 0, 'spouse', '妻子', '妻', '1972-02-29', 480000);
PRAGMA user_version = 1;
)sql";

void WriteVersion1(const fs::path& path, const char* extra = "") {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, kVersion1, nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, extra, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

std::int64_t UserVersion(sqlite3* db) {
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &s, nullptr);
  sqlite3_step(s);
  const std::int64_t v = sqlite3_column_int64(s, 0);
  sqlite3_finalize(s);
  return v;
}

TEST(DeclarationStore, AFirstVersionDatabaseIsBroughtUpToDateKeepingItsDeclarations) {
  TempDir dir;
  const fs::path path = dir / DeclarationStore::kFileName;
  WriteVersion1(path);
  {
    DeclarationStore store(path);
    EXPECT_EQ(UserVersion(store.Handle()), DeclarationStore::kSchemaVersion);
    const std::optional<Declaration> d = store.Load(2025, "250101_000001");
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->dependantForm);
    EXPECT_EQ(d->birth, (CivilDate{1970, 5, 6}));
    EXPECT_EQ(d->previousPaid, 800000);
    ASSERT_TRUE(d->spouse);
    EXPECT_EQ(d->spouse->birth, (CivilDate{1972, 2, 29}));
    EXPECT_EQ(d->spouse->income, 480000);
    store.SaveParticulars(SampleParticulars("250101_000001"));
    store.SaveAdjustment(SampleAdjustment("250101_000001"));
  }
  DeclarationStore again(path);  // a second opening changes nothing
  EXPECT_EQ(again.LoadParticulars(2026, "250101_000001"), SampleParticulars("250101_000001"));
  EXPECT_EQ(again.LoadAdjustments(2026).size(), 1u);
  EXPECT_TRUE(again.Load(2025, "250101_000001"));
}

TEST(DeclarationStore, AFailingUpgradeLeavesTheFirstVersionAsItWas) {
  TempDir dir;
  const fs::path path = dir / DeclarationStore::kFileName;
  // A table of the second version's name is already there: the upgrade fails half way through.
  WriteVersion1(path, "CREATE TABLE adjustment (x INTEGER);");
  EXPECT_THROW(DeclarationStore{path}, DeclarationStoreError);
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  EXPECT_EQ(UserVersion(db), 1);
  EXPECT_EQ(Count(db, "declaration"), 1);
  EXPECT_EQ(Count(db, "sqlite_master WHERE name IN ('particulars', 'company', 'municipality_number')"), 0);
  sqlite3_close(db);
}

TEST(DeclarationStore, RefusesANewerSchema) {
  TempDir dir;
  const fs::path path = dir / DeclarationStore::kFileName;
  { DeclarationStore store(path); }
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  const std::string newer = "PRAGMA user_version = " + std::to_string(DeclarationStore::kSchemaVersion + 1);
  sqlite3_exec(db, newer.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
  EXPECT_THROW(DeclarationStore{path}, DeclarationStoreError);
}

TEST(DeclarationStore, AFailingWriteLeavesTheDatabaseAsItWas) {
  TempDir dir;
  DeclarationStore store(dir / DeclarationStore::kFileName);
  const Declaration before = Sample("260101_090000");
  store.Save(before);

  // A failure in the middle: the declaration row is already replaced and two relatives written
  // when the third relative's insert fails.
  sqlite3_exec(store.Handle(),
               "CREATE TEMP TRIGGER fail_second AFTER INSERT ON relative WHEN NEW.seq = 2 "
               "BEGIN SELECT RAISE(ABORT, 'forced'); END",
               nullptr, nullptr, nullptr);
  Declaration changed = before;
  changed.previousPaid = 999;
  changed.dependants.push_back({"次男", "次男", {2015, 1, 1}, 0, true, DisabilityKind::None, false});
  store.SaveAdjustment(SampleAdjustment(before.employeeKey));
  EXPECT_THROW(store.Save(changed), DeclarationStoreError);
  EXPECT_EQ(store.Load(2026, before.employeeKey), before);
  EXPECT_EQ(store.LoadAdjustments(2026).size(), 1u);  // still 計算済
  // Together with the particulars: the declaration fails, the particulars are not written either.
  EXPECT_THROW(store.Save(changed, SampleParticulars(before.employeeKey)), DeclarationStoreError);
  EXPECT_EQ(store.LoadParticulars(2026, before.employeeKey), std::nullopt);
  sqlite3_exec(store.Handle(), "DROP TRIGGER fail_second", nullptr, nullptr, nullptr);

  // The particulars fail after the declaration is written: neither is kept.
  sqlite3_exec(store.Handle(),
               "CREATE TEMP TRIGGER fail_particulars AFTER INSERT ON particulars "
               "BEGIN SELECT RAISE(ABORT, 'forced'); END",
               nullptr, nullptr, nullptr);
  EXPECT_THROW(store.Save(changed, SampleParticulars(before.employeeKey)), DeclarationStoreError);
  EXPECT_EQ(store.Load(2026, before.employeeKey), before);
  EXPECT_EQ(store.LoadAdjustments(2026).size(), 1u);
  sqlite3_exec(store.Handle(), "DROP TRIGGER fail_particulars", nullptr, nullptr, nullptr);

  // A list of numbers with one municipality twice: the list saved before stays whole.
  const std::vector<MunicipalityNumber> numbers{{"東京都新宿区", "1"}, {"横浜市中区", "2"}};
  store.SaveMunicipalityNumbers(numbers);
  EXPECT_THROW(store.SaveMunicipalityNumbers({{"大阪市北区", "3"}, {"大阪市北区", "4"}}), DeclarationStoreError);
  EXPECT_EQ(store.LoadMunicipalityNumbers(), numbers);
  // A settled period outside 1..15 is refused, and the batch of states with it.
  AdjustmentState wrong = SampleAdjustment("260101_090001");
  wrong.settledPeriod = 16;
  EXPECT_THROW(store.SaveAdjustments({SampleAdjustment("260101_090002"), wrong}), DeclarationStoreError);
  EXPECT_EQ(store.LoadAdjustments(2026).size(), 1u);

  // A full disk: the file may not grow by a single page.
  sqlite3_exec(store.Handle(), "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr);  // clamps to the size
  Declaration big = before;
  big.employeeKey = "260101_090009";
  for (int i = 0; i < 200; ++i)
    big.dependants.push_back({std::string(200, 'x'), "子", {2015, 1, 1}, 0, true, DisabilityKind::None, false});
  EXPECT_THROW(store.Save(big), DeclarationStoreError);
  EXPECT_EQ(store.Load(2026, big.employeeKey), std::nullopt);
  EXPECT_EQ(store.Load(2026, before.employeeKey), before);
  EXPECT_EQ(Count(store.Handle(), "relative"), 3);
}

TEST(DeclarationStore, BackupAndRestoreOfTheDataFolderCarryIt) {
  TempDir data, target, restoreInto;
  std::ofstream(data / "令和8年給与･賞与.dat") << "year";
  const fs::path settings = data / "Saldesk.ini";
  std::ofstream(settings) << "[Option]\r\n";
  const Declaration d = Sample("260101_090000");
  DeclarationStore live(data / DeclarationStore::kFileName);  // open while it is copied
  live.Save(d);

  ASSERT_TRUE(BackupDataFiles(data.Path(), settings, target.Path()).ok);
  EXPECT_FALSE(fs::exists(target / (std::string(DeclarationStore::kFileName) + ".tmp")));
  EXPECT_EQ(DeclarationStore(target / DeclarationStore::kFileName).Load(2026, d.employeeKey), d);

  // Restore over a database that holds something else: the backup's content replaces it.
  DeclarationStore other(restoreInto / DeclarationStore::kFileName);
  other.Save(Sample("260101_090005"));
  ASSERT_TRUE(RestoreDataFiles(target.Path(), restoreInto.Path(), restoreInto / "Saldesk.ini").ok);
  EXPECT_EQ(other.Load(2026, d.employeeKey), d);
  EXPECT_EQ(other.Load(2026, "260101_090005"), std::nullopt);
}

}  // namespace
}  // namespace paylark
