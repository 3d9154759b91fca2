// The rules of the employee editor (社員情報の編集) that need no window: the pick-list texts, the
// record as the editor's controls see it and back, the checks of ＯＫ in their order, the
// employee key, the new-employee defaults and the template file 社員情報.dat, and where a new
// employee is stored in the period.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "store/employee_template.h"
#include "store/employee_texts.h"
#include "store/era.h"
#include "session/memb_edit_fields.h"
#include "store/period.h"

namespace paylark::screens {


// Widths of the editor's fields in Shift-JIS bytes.
inline constexpr int kNameMaxBytes = 16;
inline constexpr int kDepartmentMaxBytes = 16;
inline constexpr int kCategoryMaxBytes = 10;
inline constexpr int kMailMaxBytes = 48;

// One employee record as the editor's controls hold it: texts as typed, numbers already read.
struct EmployeeEntry {
  std::string name;
  std::string department;
  std::int32_t categoryIndex = 2;  // −1 for typed text
  std::string categoryText = "一般社員";
  std::int32_t payForm = 1;
  std::int32_t taxColumn = 0;
  bool paidInCash = false;
  std::string mail;
  // Retirement date fields (era year, month, day), as their texts.
  std::array<std::string, 3> retirement;
  std::int32_t dependants = 0;
  std::int32_t taxDependants = 0;
  Yen basePay = 0;
  Yen positionAllowance = 0;
  Yen familyAllowance = 0;
  std::array<Yen, 4> overtimePrice{};
  Yen commuteNonTaxable = 0;
  Yen commuteTaxable = 0;
  std::int32_t commuteUnit = 2;
  Yen residentTaxJune = 0;
  Yen residentTaxOther = 0;
  std::array<Yen, 3> fixedAllowance{};
  std::array<Yen, 3> fixedDeduction{};
  Yen paidLeavePay = 0;
  Yen absenceDeduction = 0;
  Yen latenessDeduction = 0;
  bool employmentSubject = false;
  bool healthSubject = false;
  Yen healthPremium = 0;
  bool nursingCollected = false;
  Yen nursingPremium = 0;
  Yen levyPremium = 0;  // 子ども・子育て支援金
  bool pensionSubject = false;
  Yen pensionPremium = 0;
  bool fundMember = false;
  Yen fundContribution = 0;
  std::uint16_t grade = 0;
  std::int32_t sex = 0;  // 性別: 0 unknown, 1 男, 2 女
  bool operator==(const EmployeeEntry&) const = default;
};

// The pick list of 性別, by its stored value 0 (unknown), 1 男, 2 女.
inline constexpr const char* kSexTexts[] = {"", "男", "女"};

// The record as the controls show it: a category index 1..5 shows its list text; the retirement
// date is split into characters 1-2, 3-4 and 5-6.
EmployeeEntry EntryFromRecord(const EmployeeRecord& record);

// Writes the controls into a record. A record without employee key is zero-filled first and gets
// the key `makeKey()` returns; strings are trimmed and cut to their field; the bytes that no
// control fills are zeroed.
void WriteEntry(const EmployeeEntry& entry, EmployeeRecord& record, const std::function<std::string()>& makeKey);

// The stored retirement date from the three fields: each right-aligned in two characters, or empty
// when all three are empty ("5", "3", "1" → " 5 3 1").
std::string RetirementDateFromFields(const std::array<std::string, 3>& fields);
// Characters 1-2, 3-4 and 5-6 of a stored date, each trimmed.
std::array<std::string, 3> RetirementFieldsFromDate(std::string_view date);
// The fields a newly checked 退職者 shows: today's era year, month and day, each "%2d".
std::array<std::string, 3> RetirementFieldsOf(const CivilDate& today);

// The checks of ＯＫ, in order: name, 基本給, mail address; then every text must have a Shift-JIS
// form, as the file keeps it. The first failure names its control and message.
using EntryField = MembField;
struct EntryProblem {
  EntryField field;
  std::string message;
  bool operator==(const EntryProblem&) const = default;
};
std::optional<EntryProblem> CheckEntry(const EmployeeEntry& entry);

// Employee key "yymmdd_hhnnss" of a local date and time.
std::string EmployeeKeyOf(const std::tm& local);
// The key for a new employee created at `now` (local time): when another slot of the period holds
// that key already, the time goes on one second at a time until the key is unique.
std::string UniqueEmployeeKey(const PeriodBlock& period, std::time_t now);

// The record a new employee starts from without template: 一般社員, 月給, 毎月.
EmployeeRecord NewEmployeeDefaults();
// The record as a template keeps it: name, key, mail address, retirement date and grade cleared.
void ClearForTemplate(EmployeeRecord& record);

// Stores a new employee in the first slot whose key is empty and returns the slot (0 when every
// slot is in use, nothing stored). The slot's attendance, payment and deduction records start
// empty; in a salary month a monthly-paid employee gets 出勤日数 and 実働時間 = the period's
// scheduled days and hours.
int StoreNewEmployee(PeriodBlock& period, int periodIndex, const EmployeeRecord& record);

// The calculator's value carried into a numeric field of the code: truncated towards zero and
// formatted with width code ÷ 10.
std::string CalculatorFieldText(long double value, int formatCode);

}  // namespace paylark::screens
