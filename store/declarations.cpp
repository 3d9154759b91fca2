#include "store/declarations.h"

#include <sqlite3.h>

#include <cstdio>
#include <system_error>

#include "store/rate_table_editions.h"

namespace paylark {
namespace {

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
  throw DeclarationStoreError(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

void Exec(sqlite3* db, const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    throw DeclarationStoreError(std::string("年末調整.db: ") + text);
  }
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) Fail(db, "年末調整.db");
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int i, std::int64_t v) {
    sqlite3_bind_int64(stmt_, i, v);
    return *this;
  }
  Statement& Bind(int i, const std::string& v) {
    sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& BindDate(int i, const std::optional<CivilDate>& d) { return BindDate(i, d.value_or(CivilDate{})); }
  Statement& BindDate(int i, const CivilDate& d) {
    if (d == CivilDate{}) {
      sqlite3_bind_null(stmt_, i);
      return *this;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return Bind(i, std::string(text));
  }
  // True while there is a row.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_, "年末調整.db");
  }
  std::int64_t Int(int col) const { return sqlite3_column_int64(stmt_, col); }
  Yen Amount(int col) const {
    const std::int64_t v = Int(col);
    if (v < INT32_MIN || v > INT32_MAX) throw DeclarationStoreError("年末調整.db: amount out of range");
    return static_cast<Yen>(v);
  }
  bool Flag(int col) const { return Int(col) != 0; }
  std::string Text(int col) const {
    const unsigned char* t = sqlite3_column_text(stmt_, col);
    return t ? reinterpret_cast<const char*>(t) : "";
  }
  CivilDate Date(int col) const {
    if (sqlite3_column_type(stmt_, col) == SQLITE_NULL) return {};
    auto d = ParseIsoDate(Text(col));
    if (!d) throw DeclarationStoreError("年末調整.db: not a date: " + Text(col));
    return *d;
  }
  std::optional<CivilDate> OptionalDate(int col) const {
    if (sqlite3_column_type(stmt_, col) == SQLITE_NULL) return std::nullopt;
    return Date(col);
  }
  DisabilityKind Disability(int col) const {
    const std::int64_t v = Int(col);
    if (v < 0 || v > 3) throw DeclarationStoreError("年末調整.db: unknown disability kind");
    return static_cast<DisabilityKind>(v);
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

constexpr const char* kSchemaV1 = R"sql(
CREATE TABLE declaration (
  year INTEGER NOT NULL,
  employee_key TEXT NOT NULL,
  dependant_form INTEGER NOT NULL DEFAULT 0,
  income_adjustment_form INTEGER NOT NULL DEFAULT 0,
  birth TEXT,
  disability INTEGER NOT NULL DEFAULT 0 CHECK (disability BETWEEN 0 AND 3),
  widow INTEGER NOT NULL DEFAULT 0,
  single_parent INTEGER NOT NULL DEFAULT 0,
  working_student INTEGER NOT NULL DEFAULT 0,
  non_resident INTEGER NOT NULL DEFAULT 0,
  leaving_case INTEGER NOT NULL DEFAULT 0,
  other_income INTEGER NOT NULL DEFAULT 0,
  previous_paid INTEGER NOT NULL DEFAULT 0,
  previous_social_insurance INTEGER NOT NULL DEFAULT 0,
  previous_withheld INTEGER NOT NULL DEFAULT 0,
  declared_social_insurance INTEGER NOT NULL DEFAULT 0,
  small_business_mutual_aid INTEGER NOT NULL DEFAULT 0,
  life_new_general INTEGER NOT NULL DEFAULT 0,
  life_old_general INTEGER NOT NULL DEFAULT 0,
  life_care_medical INTEGER NOT NULL DEFAULT 0,
  life_new_pension INTEGER NOT NULL DEFAULT 0,
  life_old_pension INTEGER NOT NULL DEFAULT 0,
  earthquake INTEGER NOT NULL DEFAULT 0,
  old_long_term INTEGER NOT NULL DEFAULT 0,
  housing_loan_credit INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (year, employee_key)
);
CREATE TABLE relative (
  year INTEGER NOT NULL,
  employee_key TEXT NOT NULL,
  seq INTEGER NOT NULL,
  role TEXT NOT NULL CHECK (role IN ('spouse', 'dependant')),
  name TEXT NOT NULL DEFAULT '',
  relation TEXT NOT NULL DEFAULT '',
  birth TEXT,
  income INTEGER NOT NULL DEFAULT 0,
  cohabiting INTEGER NOT NULL DEFAULT 0,
  disability INTEGER NOT NULL DEFAULT 0 CHECK (disability BETWEEN 0 AND 3),
  non_resident INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (year, employee_key, seq),
  FOREIGN KEY (year, employee_key) REFERENCES declaration (year, employee_key) ON DELETE CASCADE
);
)sql";

// Version 2: what the year-end slips need beyond the declarations, and where each adjustment stands.
constexpr const char* kSchemaV2 = R"sql(
CREATE TABLE particulars (
  year INTEGER NOT NULL,
  employee_key TEXT NOT NULL,
  furigana TEXT NOT NULL DEFAULT '',
  postal_code TEXT NOT NULL DEFAULT '',
  address TEXT NOT NULL DEFAULT '',
  municipality TEXT NOT NULL DEFAULT '',
  position TEXT NOT NULL DEFAULT '',
  officer INTEGER NOT NULL DEFAULT 0,
  hired TEXT,
  retired TEXT,
  PRIMARY KEY (year, employee_key)
);
CREATE TABLE company (
  year INTEGER NOT NULL PRIMARY KEY,
  corporate_number TEXT NOT NULL DEFAULT '',
  postal_code TEXT NOT NULL DEFAULT '',
  address TEXT NOT NULL DEFAULT '',
  name TEXT NOT NULL DEFAULT '',
  representative TEXT NOT NULL DEFAULT '',
  telephone TEXT NOT NULL DEFAULT '',
  contact_name TEXT NOT NULL DEFAULT '',
  contact_section TEXT NOT NULL DEFAULT '',
  tax_office TEXT NOT NULL DEFAULT '',
  payment_method TEXT NOT NULL DEFAULT ''
);
CREATE TABLE municipality_number (
  municipality TEXT NOT NULL PRIMARY KEY,
  number TEXT NOT NULL DEFAULT ''
);
CREATE TABLE adjustment (
  year INTEGER NOT NULL,
  employee_key TEXT NOT NULL,
  annual_tax INTEGER NOT NULL DEFAULT 0,
  withheld INTEGER NOT NULL DEFAULT 0,
  difference INTEGER NOT NULL DEFAULT 0,
  settled_period INTEGER NOT NULL DEFAULT 0 CHECK (settled_period BETWEEN 0 AND 15),
  PRIMARY KEY (year, employee_key)
);
)sql";

constexpr const char* kSelectDeclaration =
    "SELECT year, employee_key, dependant_form, income_adjustment_form, birth, disability, widow, "
    "single_parent, working_student, non_resident, leaving_case, other_income, previous_paid, "
    "previous_social_insurance, previous_withheld, declared_social_insurance, small_business_mutual_aid, "
    "life_new_general, life_old_general, life_care_medical, life_new_pension, life_old_pension, earthquake, "
    "old_long_term, housing_loan_credit FROM declaration";

Declaration ReadDeclaration(const Statement& s) {
  Declaration d;
  int c = 0;
  d.year = static_cast<int>(s.Int(c++));
  d.employeeKey = s.Text(c++);
  d.dependantForm = s.Flag(c++);
  d.incomeAdjustmentForm = s.Flag(c++);
  d.birth = s.Date(c++);
  d.disability = s.Disability(c++);
  d.widow = s.Flag(c++);
  d.singleParent = s.Flag(c++);
  d.workingStudent = s.Flag(c++);
  d.nonResident = s.Flag(c++);
  d.leavingCase = s.Flag(c++);
  for (Yen* amount : {&d.otherIncome, &d.previousPaid, &d.previousSocialInsurance, &d.previousWithheld,
                      &d.declaredSocialInsurance, &d.smallBusinessMutualAid, &d.lifeNewGeneral, &d.lifeOldGeneral,
                      &d.lifeCareMedical, &d.lifeNewPension, &d.lifeOldPension, &d.earthquake, &d.oldLongTerm,
                      &d.housingLoanCredit})
    *amount = s.Amount(c++);
  return d;
}

void ReadRelatives(sqlite3* db, Declaration& d) {
  Statement s(db,
              "SELECT role, name, relation, birth, income, cohabiting, disability, non_resident FROM relative "
              "WHERE year = ? AND employee_key = ? ORDER BY seq");
  s.Bind(1, d.year).Bind(2, d.employeeKey);
  while (s.Step()) {
    DeclaredPerson p{s.Text(1), s.Text(2), s.Date(3), s.Amount(4), s.Flag(5), s.Disability(6), s.Flag(7)};
    if (s.Text(0) == "spouse")
      d.spouse = p;
    else
      d.dependants.push_back(p);
  }
}

// Runs `body` in one transaction; any failure rolls it back and is rethrown.
template <typename Body>
void InTransaction(sqlite3* db, Body body) {
  Exec(db, "BEGIN IMMEDIATE");
  try {
    body();
    Exec(db, "COMMIT");
  } catch (...) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void DeleteAdjustment(sqlite3* db, int year, const std::string& employeeKey) {
  Statement s(db, "DELETE FROM adjustment WHERE year = ? AND employee_key = ?");
  s.Bind(1, year).Bind(2, employeeKey).Step();
}

void WriteAdjustment(sqlite3* db, const AdjustmentState& a) {
  Statement s(db,
              "INSERT OR REPLACE INTO adjustment (year, employee_key, annual_tax, withheld, difference, "
              "settled_period) VALUES (?, ?, ?, ?, ?, ?)");
  s.Bind(1, a.year).Bind(2, a.employeeKey).Bind(3, a.annualTax).Bind(4, a.withheld).Bind(5, a.difference);
  s.Bind(6, a.settledPeriod).Step();
}

// Replaces the declaration of (year, key) with its relatives; a declaration entered again is no
// longer calculated, so its adjustment's state goes with the old one.
void WriteDeclaration(sqlite3* db, const Declaration& d) {
  DeleteAdjustment(db, d.year, d.employeeKey);
  {
    Statement del(db, "DELETE FROM declaration WHERE year = ? AND employee_key = ?");
    del.Bind(1, d.year).Bind(2, d.employeeKey).Step();
  }
  {
    Statement s(db,
                "INSERT INTO declaration (year, employee_key, dependant_form, income_adjustment_form, birth, "
                "disability, widow, single_parent, working_student, non_resident, leaving_case, other_income, "
                "previous_paid, previous_social_insurance, previous_withheld, declared_social_insurance, "
                "small_business_mutual_aid, life_new_general, life_old_general, life_care_medical, "
                "life_new_pension, life_old_pension, earthquake, old_long_term, housing_loan_credit) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    s.Bind(1, d.year).Bind(2, d.employeeKey).Bind(3, d.dependantForm).Bind(4, d.incomeAdjustmentForm);
    s.BindDate(5, d.birth).Bind(6, static_cast<int>(d.disability));
    int c = 7;
    for (bool f : {d.widow, d.singleParent, d.workingStudent, d.nonResident, d.leavingCase}) s.Bind(c++, f);
    for (Yen amount : {d.otherIncome, d.previousPaid, d.previousSocialInsurance, d.previousWithheld,
                       d.declaredSocialInsurance, d.smallBusinessMutualAid, d.lifeNewGeneral, d.lifeOldGeneral,
                       d.lifeCareMedical, d.lifeNewPension, d.lifeOldPension, d.earthquake, d.oldLongTerm,
                       d.housingLoanCredit})
      s.Bind(c++, amount);
    s.Step();
  }
  int seq = 0;
  auto insert = [&](const DeclaredPerson& p, const char* role) {
    Statement s(db,
                "INSERT INTO relative (year, employee_key, seq, role, name, relation, birth, income, cohabiting, "
                "disability, non_resident) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    s.Bind(1, d.year).Bind(2, d.employeeKey).Bind(3, seq++).Bind(4, std::string(role)).Bind(5, p.name);
    s.Bind(6, p.relation).BindDate(7, p.birth).Bind(8, p.income).Bind(9, p.cohabiting);
    s.Bind(10, static_cast<int>(p.disability)).Bind(11, p.nonResident);
    s.Step();
  };
  if (d.spouse) insert(*d.spouse, "spouse");
  for (const DeclaredPerson& p : d.dependants) insert(p, "dependant");
}

void WriteParticulars(sqlite3* db, const EmployeeParticulars& p) {
  Statement s(db,
              "INSERT OR REPLACE INTO particulars (year, employee_key, furigana, postal_code, address, municipality, "
              "position, officer, hired, retired) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  s.Bind(1, p.year).Bind(2, p.employeeKey).Bind(3, p.furigana).Bind(4, p.postalCode).Bind(5, p.address);
  s.Bind(6, p.municipality).Bind(7, p.position).Bind(8, p.officer).BindDate(9, p.hired).BindDate(10, p.retired);
  s.Step();
}

sqlite3* OpenDatabase(const std::filesystem::path& path, int flags) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw DeclarationStoreError(path.string() + ": " + message);
  }
  sqlite3_busy_timeout(db, 2000);
  return db;
}

void CopyDatabase(sqlite3* from, sqlite3* to, const std::string& what) {
  sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
  if (!backup) Fail(to, what);
  const int rc = sqlite3_backup_step(backup, -1);
  sqlite3_backup_finish(backup);
  if (rc != SQLITE_DONE) throw DeclarationStoreError(what + ": " + sqlite3_errstr(rc));
}

}  // namespace

DeclarationStore::DeclarationStore(const std::filesystem::path& path) {
  db_ = OpenDatabase(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  try {
    Exec(db_, "PRAGMA foreign_keys = ON");
    auto version = [&] {
      Statement s(db_, "PRAGMA user_version");
      s.Step();
      return s.Int(0);
    };
    const auto refuseNewer = [&](std::int64_t v) {
      if (v > kSchemaVersion)
        throw DeclarationStoreError(path.string() + ": schema version " + std::to_string(v) +
                                    " is newer than this program's");
    };
    refuseNewer(version());
    if (version() < kSchemaVersion) {
      // Brought up to date in one transaction: a failure leaves the older database as it was.
      // The version is read again inside it, in case another program did the same meanwhile.
      InTransaction(db_, [&] {
        const std::int64_t v = version();
        refuseNewer(v);
        if (v < 1) Exec(db_, kSchemaV1);
        if (v < 2) Exec(db_, kSchemaV2);
        Exec(db_, ("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
      });
    }
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

DeclarationStore::~DeclarationStore() { sqlite3_close(db_); }

std::optional<Declaration> DeclarationStore::Load(int year, const std::string& employeeKey) const {
  Statement s(db_, (std::string(kSelectDeclaration) + " WHERE year = ? AND employee_key = ?").c_str());
  s.Bind(1, year).Bind(2, employeeKey);
  if (!s.Step()) return std::nullopt;
  Declaration d = ReadDeclaration(s);
  ReadRelatives(db_, d);
  return d;
}

std::vector<Declaration> DeclarationStore::LoadYear(int year) const {
  std::vector<Declaration> all;
  {
    Statement s(db_, (std::string(kSelectDeclaration) + " WHERE year = ? ORDER BY employee_key").c_str());
    s.Bind(1, year);
    while (s.Step()) all.push_back(ReadDeclaration(s));
  }
  for (Declaration& d : all) ReadRelatives(db_, d);
  return all;
}

void DeclarationStore::Save(const Declaration& d) {
  InTransaction(db_, [&] { WriteDeclaration(db_, d); });
}

void DeclarationStore::Save(const Declaration& declaration, const EmployeeParticulars& particulars) {
  InTransaction(db_, [&] {
    WriteDeclaration(db_, declaration);
    WriteParticulars(db_, particulars);
  });
}

void DeclarationStore::Remove(int year, const std::string& employeeKey) {
  InTransaction(db_, [&] {
    DeleteAdjustment(db_, year, employeeKey);
    Statement s(db_, "DELETE FROM declaration WHERE year = ? AND employee_key = ?");
    s.Bind(1, year).Bind(2, employeeKey).Step();
  });
}

std::optional<EmployeeParticulars> DeclarationStore::LoadParticulars(int year, const std::string& employeeKey) const {
  Statement s(db_,
              "SELECT furigana, postal_code, address, municipality, position, officer, hired, retired "
              "FROM particulars WHERE year = ? AND employee_key = ?");
  s.Bind(1, year).Bind(2, employeeKey);
  if (!s.Step()) return std::nullopt;
  EmployeeParticulars p;
  p.year = year;
  p.employeeKey = employeeKey;
  p.furigana = s.Text(0);
  p.postalCode = s.Text(1);
  p.address = s.Text(2);
  p.municipality = s.Text(3);
  p.position = s.Text(4);
  p.officer = s.Flag(5);
  p.hired = s.OptionalDate(6);
  p.retired = s.OptionalDate(7);
  return p;
}

void DeclarationStore::SaveParticulars(const EmployeeParticulars& particulars) {
  InTransaction(db_, [&] { WriteParticulars(db_, particulars); });
}

std::optional<CompanyParticulars> DeclarationStore::LoadCompany(int year) const {
  Statement s(db_,
              "SELECT corporate_number, postal_code, address, name, representative, telephone, contact_name, "
              "contact_section, tax_office, payment_method FROM company WHERE year = ?");
  s.Bind(1, year);
  if (!s.Step()) return std::nullopt;
  CompanyParticulars c;
  c.year = year;
  int col = 0;
  for (std::string* text : {&c.corporateNumber, &c.postalCode, &c.address, &c.name, &c.representative, &c.telephone,
                            &c.contactName, &c.contactSection, &c.taxOffice, &c.paymentMethod})
    *text = s.Text(col++);
  return c;
}

void DeclarationStore::SaveCompany(const CompanyParticulars& c) {
  InTransaction(db_, [&] {
    Statement s(db_,
                "INSERT OR REPLACE INTO company (year, corporate_number, postal_code, address, name, representative, "
                "telephone, contact_name, contact_section, tax_office, payment_method) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    s.Bind(1, c.year);
    int col = 2;
    for (const std::string* text : {&c.corporateNumber, &c.postalCode, &c.address, &c.name, &c.representative,
                                    &c.telephone, &c.contactName, &c.contactSection, &c.taxOffice, &c.paymentMethod})
      s.Bind(col++, *text);
    s.Step();
  });
}

std::vector<MunicipalityNumber> DeclarationStore::LoadMunicipalityNumbers() const {
  std::vector<MunicipalityNumber> all;
  Statement s(db_, "SELECT municipality, number FROM municipality_number ORDER BY rowid");
  while (s.Step()) all.push_back({s.Text(0), s.Text(1)});
  return all;
}

void DeclarationStore::SaveMunicipalityNumbers(const std::vector<MunicipalityNumber>& numbers) {
  InTransaction(db_, [&] {
    Exec(db_, "DELETE FROM municipality_number");
    for (const MunicipalityNumber& n : numbers) {
      // The same municipality twice is refused by the key: the list stays as it was.
      Statement s(db_, "INSERT INTO municipality_number (municipality, number) VALUES (?, ?)");
      s.Bind(1, n.municipality).Bind(2, n.number).Step();
    }
  });
}

std::vector<AdjustmentState> DeclarationStore::LoadAdjustments(int year) const {
  std::vector<AdjustmentState> all;
  Statement s(db_,
              "SELECT employee_key, annual_tax, withheld, difference, settled_period FROM adjustment "
              "WHERE year = ? ORDER BY employee_key");
  s.Bind(1, year);
  while (s.Step()) {
    AdjustmentState a;
    a.year = year;
    a.employeeKey = s.Text(0);
    a.annualTax = s.Amount(1);
    a.withheld = s.Amount(2);
    a.difference = s.Amount(3);
    a.settledPeriod = static_cast<int>(s.Int(4));
    all.push_back(a);
  }
  return all;
}

void DeclarationStore::SaveAdjustment(const AdjustmentState& a) {
  InTransaction(db_, [&] { WriteAdjustment(db_, a); });
}

void DeclarationStore::SaveAdjustments(const std::vector<AdjustmentState>& states) {
  InTransaction(db_, [&] {
    for (const AdjustmentState& a : states) WriteAdjustment(db_, a);
  });
}

void DeclarationStore::ReplaceAdjustments(int year, const std::vector<AdjustmentState>& states) {
  InTransaction(db_, [&] {
    {
      Statement s(db_, "DELETE FROM adjustment WHERE year = ?");
      s.Bind(1, year).Step();
    }
    for (const AdjustmentState& a : states) {
      if (a.year != year) throw DeclarationStoreError("年末調整.db: an adjustment of another year");
      WriteAdjustment(db_, a);
    }
  });
}

void DeclarationStore::RemoveAdjustment(int year, const std::string& employeeKey) {
  InTransaction(db_, [&] { DeleteAdjustment(db_, year, employeeKey); });
}

void BackupDatabase(const std::filesystem::path& source, const std::filesystem::path& target) {
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  std::error_code ec;
  std::filesystem::remove(temporary, ec);
  sqlite3* from = OpenDatabase(source, SQLITE_OPEN_READONLY);
  sqlite3* to = nullptr;
  try {
    to = OpenDatabase(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    CopyDatabase(from, to, target.string());
  } catch (...) {
    sqlite3_close(to);
    sqlite3_close(from);
    std::filesystem::remove(temporary, ec);
    throw;
  }
  const bool closed = sqlite3_close(to) == SQLITE_OK;
  sqlite3_close(from);
  if (!closed) {
    std::filesystem::remove(temporary, ec);
    throw DeclarationStoreError(target.string() + ": cannot close the copy");
  }
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    throw DeclarationStoreError(target.string() + ": " + ec.message());
  }
}

void RestoreDatabase(const std::filesystem::path& source, const std::filesystem::path& target) {
  sqlite3* from = OpenDatabase(source, SQLITE_OPEN_READONLY);
  sqlite3* to = nullptr;
  try {
    to = OpenDatabase(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    CopyDatabase(from, to, target.string());
  } catch (...) {
    sqlite3_close(to);
    sqlite3_close(from);
    throw;
  }
  sqlite3_close(to);
  sqlite3_close(from);
}

}  // namespace paylark
