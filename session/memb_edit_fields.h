// The controls of the employee editor (社員情報の編集) as one table: for every control its object
// name, caption, kind, place on the form, format code and width, when it is enabled, and where its
// value lives in the editor's entry and in the employee record. The screen makes its widgets, its
// labels, its layout and its focus order from this table and fills and reads them through it; the
// rules turn a record into an entry and back through it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "store/money.h"
#include "store/period.h"

namespace paylark::screens {

struct EmployeeEntry;

// Every control of the editor, in the order the keyboard walks them.
enum class MembField : int {
  Name,
  Department,
  Category,
  PayForm,
  TaxColumnKou,
  TaxColumnOtsu,
  PaidInCash,
  Dependants,
  TaxDependants,
  Sex,
  Mail,
  BirthDate,
  Retired,
  RetiredYear,
  RetiredMonth,
  RetiredDay,
  EmploymentSubject,
  HealthSubject,
  HealthPremium,
  LevyPremium,
  NursingCollected,
  NursingPremium,
  PensionSubject,
  PensionPremium,
  FundMember,
  FundContribution,
  BasePay,
  PositionAllowance,
  FamilyAllowance,
  FixedAllowance1,
  FixedAllowance2,
  FixedAllowance3,
  PaidLeavePay,
  OvertimeNormal,
  OvertimeNight,
  HolidayOvertimeNormal,
  HolidayOvertimeNight,
  CommuteNonTaxable,
  CommuteTaxable,
  CommuteUnit,
  ResidentTaxJune,
  ResidentTaxOther,
  AbsenceDeduction,
  LatenessDeduction,
  FixedDeduction1,
  FixedDeduction2,
  FixedDeduction3,
};
inline constexpr int kMembFieldCount = static_cast<int>(MembField::FixedDeduction3) + 1;

enum class FieldKind {
  Text,            // a text of at most `width` Shift-JIS bytes
  Number,          // a count or an amount typed as digits, shown in its format code
  Check,           // a check box; its caption is its own text
  Choice,          // a fixed pick list
  Radio,           // one of a group of radio buttons; its caption is its own text
  Category,        // 社員区分: a pick list that also takes typed text of at most `width` bytes
  BirthDate,       // 生年月日, typed in 和暦 or 西暦
  RetirementPart,  // era year, month or day of the retirement date
};

// The boxes of the form. The radio buttons of 税額表 sit in a box of their own inside 社員情報.
enum class FieldGroup { Identity, TaxColumn, Insurance, Payment, Deduction };

// What a control's being enabled follows; its caption and suffix labels follow the control.
enum class Enabling { Always, Health, Nursing, Pension, Fund, PaidByDayOrHour, Retired };

struct EnablingFacts {
  bool health = false;       // 健康保険対象者 checked
  bool nursing = false;      // 介護保険料を徴収 checked
  bool pension = false;      // 厚生年金対象者 checked
  bool fund = false;         // 厚生年金基金加入 checked
  bool byDayOrHour = false;  // 支給形態 日給 or 時間給
  bool retired = false;      // 退職者 checked
};
bool IsEnabled(Enabling when, const EnablingFacts& facts);

// Where a control's value is kept: its member of the entry, and the record's field it is read
// from and written to (null where the control and the record are not one to one).
template <typename T>
struct FieldAccess {
  T& (*entry)(EmployeeEntry&) = nullptr;
  T (*get)(const EmployeeRecord&) = nullptr;
  void (*set)(EmployeeRecord&, const T&) = nullptr;
};

// Flags of a control.
inline constexpr unsigned kNoInputMethod = 1;  // typed without the input method (a mail address)
inline constexpr unsigned kDigitKeysOnly = 2;  // a pick list that takes digits only; other characters beep

struct MembFieldRow {
  MembField id;
  FieldKind kind;
  const char* name;         // the control's object name
  const char* caption = nullptr;  // the label before it, or a check box's or radio button's text; nullptr
                            // for none, "" for a label the settings name (固定手当, 固定控除)
  const char* captionName = nullptr;  // the object name of that label, or nullptr
  const char* suffix = nullptr;       // a label after the control ("人"), or nullptr
  const char* suffixName = nullptr;   // the object name of that label, or nullptr
  FieldGroup group = FieldGroup::Identity;
  // Place in its box's grid: the caption in `column` and the control after it, spanning `span`
  // columns; `column` −1 continues the line of the control before, `indent` pixels from it.
  int row = 0;
  int column = 0;
  int span = 1;
  int indent = 0;
  int formatCode = 0;  // Number, RetirementPart: 20 a count of two digits, 70 and 90 amounts
  int width = 0;   // Number, RetirementPart: digits that may be typed; Text, Category: Shift-JIS bytes
  Enabling enabledWhen = Enabling::Always;
  unsigned flags = 0;
  FieldAccess<std::int32_t> number{};  // Number, Choice, Radio, Category (its list index)
  FieldAccess<bool> flag{};          // Check
  FieldAccess<std::string> text{};   // Text, Category (its text), RetirementPart (entry only)
  std::span<const char* const> choices{};  // Choice: the list
  std::int32_t firstValue = 0;             // Choice: the value of the first item; Radio: its value
};

// Every row, in MembField order.
std::span<const MembFieldRow> MembFields();
const MembFieldRow& MembFieldOf(MembField id);

// A pick list's index for a value (−1 when the value is not in the list) and back.
int ChoiceIndex(const MembFieldRow& row, std::int32_t value);
std::int32_t ChoiceValue(const MembFieldRow& row, int index);
// The radio button that shows a value: the one of that value, else the first of the group.
const MembFieldRow& RadioFor(std::int32_t value);

}  // namespace paylark::screens
