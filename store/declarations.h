// The employees' declarations for the 年末調整 (扶養控除等申告書, 基礎控除申告書, 配偶者控除等申告書,
// 特定親族特別控除申告書, 所得金額調整控除申告書, 保険料控除申告書, the 住宅借入金等特別控除 amount) and the
// previous employer's figures, per year and employee key. The yearly file cannot hold them, so
// they live in one SQLite database in the data folder ("年末調整.db"):
//   - the schema version is PRAGMA user_version (2: the slips' particulars and the adjustments'
//     state beside the declarations); an older database is brought up to date on opening, in one
//     transaction, a newer one is refused;
//   - foreign keys are on: a relative belongs to its declaration and goes with it;
//   - every write is one transaction: a failure (a full disk, a crash) leaves the database as it
//     was before that write.
// Backups copy it with SQLite's backup mechanism, never as a raw file (BackupDatabase below).
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/era.h"
#include "store/money.h"
#include "store/year_end_particulars.h"

struct sqlite3;

namespace paylark {

enum class DisabilityKind { None = 0, General = 1, Special = 2, SpecialCohabiting = 3 };  // 同居特別障害者

class DeclarationStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A spouse or a dependant (扶養親族, a child under 16, a 特定親族).
struct DeclaredPerson {
  std::string name;      // UTF-8
  std::string relation;  // 続柄
  CivilDate birth;
  Yen income = 0;        // estimated 合計所得金額
  bool cohabiting = false;
  DisabilityKind disability = DisabilityKind::None;
  bool nonResident = false;
  bool operator==(const DeclaredPerson&) const = default;
};

struct Declaration {
  int year = 0;
  std::string employeeKey;
  bool dependantForm = false;          // 扶養控除等申告書 handed in (else 乙 for the year)
  bool incomeAdjustmentForm = false;   // 所得金額調整控除申告書
  CivilDate birth;                     // the employee's
  DisabilityKind disability = DisabilityKind::None;
  bool widow = false;
  bool singleParent = false;
  bool workingStudent = false;
  bool nonResident = false;
  bool leavingCase = false;            // left during the year in a case of 所基通190-1 (1)–(3)
  Yen otherIncome = 0;                 // 基礎控除申告書: income other than this salary
  Yen previousPaid = 0;                // 前職分
  Yen previousSocialInsurance = 0;
  Yen previousWithheld = 0;
  Yen declaredSocialInsurance = 0;     // 保険料控除申告書
  Yen smallBusinessMutualAid = 0;
  Yen lifeNewGeneral = 0;
  Yen lifeOldGeneral = 0;
  Yen lifeCareMedical = 0;
  Yen lifeNewPension = 0;
  Yen lifeOldPension = 0;
  Yen earthquake = 0;
  Yen oldLongTerm = 0;
  Yen housingLoanCredit = 0;           // from the 税務署's statement
  std::optional<DeclaredPerson> spouse;
  std::vector<DeclaredPerson> dependants;
  bool operator==(const Declaration&) const = default;
};

class DeclarationStore {
 public:
  static constexpr int kSchemaVersion = 2;
  static constexpr const char* kFileName = "年末調整.db";

  // Opens (creating if needed) the database; throws DeclarationStoreError.
  explicit DeclarationStore(const std::filesystem::path& path);
  ~DeclarationStore();
  DeclarationStore(const DeclarationStore&) = delete;
  DeclarationStore& operator=(const DeclarationStore&) = delete;

  std::optional<Declaration> Load(int year, const std::string& employeeKey) const;
  std::vector<Declaration> LoadYear(int year) const;
  // Replaces the declaration of (year, key) with its relatives, in one transaction; the
  // employee's AdjustmentState goes in the same transaction (entered again = 入力済).
  void Save(const Declaration& declaration);
  // The declaration and the employee's particulars of the year together, in one transaction.
  void Save(const Declaration& declaration, const EmployeeParticulars& particulars);
  // Removes the declaration with its relatives and its AdjustmentState.
  void Remove(int year, const std::string& employeeKey);

  // The slips' particulars (store/year_end_particulars.h), each write one transaction.
  std::optional<EmployeeParticulars> LoadParticulars(int year, const std::string& employeeKey) const;
  void SaveParticulars(const EmployeeParticulars& particulars);
  std::optional<CompanyParticulars> LoadCompany(int year) const;
  void SaveCompany(const CompanyParticulars& company);
  std::vector<MunicipalityNumber> LoadMunicipalityNumbers() const;  // in the order saved
  void SaveMunicipalityNumbers(const std::vector<MunicipalityNumber>& numbers);  // replaces all
  std::vector<AdjustmentState> LoadAdjustments(int year) const;
  void SaveAdjustment(const AdjustmentState& state);  // replaces that of (year, key)
  void SaveAdjustments(const std::vector<AdjustmentState>& states);  // all or none
  // The year's states become exactly `states` (a calculation of everyone), all or none.
  void ReplaceAdjustments(int year, const std::vector<AdjustmentState>& states);
  void RemoveAdjustment(int year, const std::string& employeeKey);

  // The connection, for the tests that make a write fail.
  sqlite3* Handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// Copies the database at `source` into `target` with SQLite's online backup: into a temporary file
// beside the target, renamed over it when complete. Throws DeclarationStoreError.
void BackupDatabase(const std::filesystem::path& source, const std::filesystem::path& target);
// Copies the backup `source` into the live database `target` in one step of the destination's
// transaction: a failure leaves `target` as it was.
void RestoreDatabase(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace paylark
