// The rules of the declaration entry screen (申告書の入力) that need no window: the screen's fields as
// typed, read into the employee's declaration and particulars (dates in 和暦 or 西暦, texts the file
// can hold, amounts in range; the first fault names the field to focus), the control each fault
// of the declaration's own checks (session/year_end_declaration_rules.h) is shown at, the dates as
// the screen shows them, and the 保険料控除 of each kind as the amounts are typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/declarations.h"
#include "store/era.h"
#include "store/money.h"
#include "store/year_end_particulars.h"
#include "store/year_end_rules.h"
#include "session/year_end_declaration_rules.h"

namespace paylark::screens {

// Rows of the 扶養控除等申告書 besides the spouse: 控除対象扶養親族 and 16歳未満 together.
inline constexpr int kDependantRows = 8;
inline constexpr int kPersonNameMaxBytes = 30;
inline constexpr int kRelationMaxBytes = 10;
inline constexpr int kAddressMaxBytes = 100;
inline constexpr int kFuriganaMaxBytes = 40;
inline constexpr int kMunicipalityMaxBytes = 30;
inline constexpr int kPositionMaxBytes = 20;

// One person's row as typed: texts as they stand, amounts as the numeric fields read them.
struct PersonEntry {
  std::string name;
  std::string relation;
  std::string birth;  // 和暦 ("S55.4.1", "昭和55年4月1日") or 西暦 ("1980/4/1")
  double income = 0;
  bool cohabiting = false;
  int disability = 0;  // DisabilityKind
  bool nonResident = false;
  // A row with nothing typed and nothing checked is no person.
  bool Empty() const;
};

// Every field of the screen. The object names of the fields are the `field` of a problem.
struct DeclarationForm {
  // 扶養控除等申告書 and the employee's own state
  bool dependantForm = true;
  std::string birth;
  int disability = 0;
  bool widow = false;
  bool singleParent = false;
  bool workingStudent = false;
  bool nonResident = false;
  bool leavingCase = false;
  PersonEntry spouse;
  std::vector<PersonEntry> dependants;  // up to kDependantRows, in row order
  // 基礎控除・配偶者控除等・特定親族・所得金額調整控除
  double otherIncome = 0;
  bool incomeAdjustmentForm = false;
  // 保険料控除
  double declaredSocialInsurance = 0;
  double smallBusinessMutualAid = 0;
  double lifeNewGeneral = 0;
  double lifeOldGeneral = 0;
  double lifeCareMedical = 0;
  double lifeNewPension = 0;
  double lifeOldPension = 0;
  double earthquake = 0;
  double oldLongTerm = 0;
  // 住宅借入金等特別控除, 前職分
  double housingLoanCredit = 0;
  double previousPaid = 0;
  double previousSocialInsurance = 0;
  double previousWithheld = 0;
  // The employee's particulars
  std::string furigana;
  std::string postalCode;
  std::string address;
  std::string municipality;
  std::string position;
  bool officer = false;
  std::string hired;
  std::string retired;
};

struct FormProblem {
  std::string field;  // the object name of the field to focus
  std::string message;
  bool operator==(const FormProblem&) const = default;
};

// The field names of a person's row: the spouse's ("edHaiName") for row 0, a dependant's
// ("edFuyoName3") for rows 1..kDependantRows.
std::string PersonFieldName(const char* part, int row);

// The screen's fields from a declaration and the particulars (dates shown in 和暦).
DeclarationForm FormOf(const Declaration& declaration, const EmployeeParticulars& particulars);

// A date of the screen: empty text is none; else as a birth date is typed (calc/birth_date.h),
// up to 31 December of `latestYear`.
std::optional<CivilDate> ParseEntryDate(std::string_view text, int latestYear);
// "昭和55年 4月 1日"; empty for no date.
std::string EntryDateText(const std::optional<CivilDate>& date);

struct ReadDeclaration {
  Declaration declaration;
  EmployeeParticulars particulars;
};
// Reads the fields in the order of the form into the declaration and particulars of `base`'s year
// and key (`base` keeps what the screen does not show): the first field whose text is no date, no
// amount or has a character the file cannot hold; else the records for the declaration's checks.
// Empty rows of persons are left out; `dependantRows` gives the screen row (1..) of each dependant.
struct DeclarationReading {
  std::optional<FormProblem> problem;
  ReadDeclaration read;
  std::vector<int> dependantRows;
};
DeclarationReading ReadDeclarationForm(const DeclarationForm& entry, const Declaration& base,
                                        const EmployeeParticulars& baseParticulars);

// The control a fault of the declaration's checks is shown at.
std::string FieldOfProblem(const DeclarationProblem& problem, const std::vector<int>& dependantRows);

// The 保険料控除 as the amounts stand: each kind of 生命保険料 on its own, their total after the caps,
// and the 地震保険料控除 (with 旧長期損害保険料).
struct InsuranceDeductions {
  Yen lifeGeneral = 0;
  Yen lifeCareMedical = 0;
  Yen lifePension = 0;
  Yen lifeTotal = 0;
  Yen earthquake = 0;
};
InsuranceDeductions InsuranceDeductionsOf(const YearEndRules& rules, const Declaration& declaration);

}  // namespace paylark::screens
