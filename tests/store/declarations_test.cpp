// The declarations database: round trip, schema version, failing writes leave it as it was, and
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

TEST(DeclarationStore, RefusesANewerSchema) {
  TempDir dir;
  const fs::path path = dir / DeclarationStore::kFileName;
  { DeclarationStore store(path); }
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, "PRAGMA user_version = 2", nullptr, nullptr, nullptr);
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
  EXPECT_THROW(store.Save(changed), DeclarationStoreError);
  EXPECT_EQ(store.Load(2026, before.employeeKey), before);
  sqlite3_exec(store.Handle(), "DROP TRIGGER fail_second", nullptr, nullptr, nullptr);

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
