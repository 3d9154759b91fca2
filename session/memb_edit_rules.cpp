#include "session/memb_edit_rules.h"

#include <cmath>
#include <cstdio>

#include "entry/display_format.h"
#include "store/sjis.h"
#include "store/year_file.h"

namespace paylark::screens {
namespace {

std::string RightAlignTwo(const std::string& field) {
  const std::string trimmed = Trim(field);
  return trimmed.size() >= 2 ? trimmed : std::string(2 - trimmed.size(), ' ') + trimmed;
}

}  // namespace

EmployeeEntry EntryFromRecord(const EmployeeRecord& r) {
  EmployeeEntry e;
  for (const MembFieldRow& row : MembFields()) {
    if (row.number.get) row.number.entry(e) = row.number.get(r);
    if (row.flag.get) row.flag.entry(e) = row.flag.get(r);
    if (row.text.get) row.text.entry(e) = row.text.get(r);
  }
  // The three fields of the retirement date share one record field; the grade has no control.
  e.retirement = r.Retired() ? RetirementFieldsFromDate(r.RetirementDate()) : std::array<std::string, 3>{};
  e.grade = r.Grade();
  return e;
}

void WriteEntry(const EmployeeEntry& entry, EmployeeRecord& r, const std::function<std::string()>& makeKey) {
  std::string key = r.Key();
  if (key.empty()) key = makeKey();
  // Every byte that no control fills is zero: start from a blank record that keeps only the key.
  r.Clear();
  r.SetKey(key);
  EmployeeEntry e = entry;  // the accessors reach the entry's members by reference
  for (const MembFieldRow& row : MembFields()) {
    if (row.number.set) row.number.set(r, row.number.entry(e));
    if (row.flag.set) row.flag.set(r, row.flag.entry(e));
    if (row.text.set) row.text.set(r, row.text.entry(e));
  }
  r.SetRetirementDate(RetirementDateFromFields(e.retirement));
  r.SetGrade(e.grade);
}

std::string RetirementDateFromFields(const std::array<std::string, 3>& fields) {
  if (Trim(fields[0]).empty() && Trim(fields[1]).empty() && Trim(fields[2]).empty()) return "";
  return RightAlignTwo(fields[0]) + RightAlignTwo(fields[1]) + RightAlignTwo(fields[2]);
}

std::array<std::string, 3> RetirementFieldsFromDate(std::string_view date) {
  std::array<std::string, 3> fields;
  for (std::size_t i = 0; i < 3; ++i) {
    if (2 * i < date.size()) fields[i] = Trim(date.substr(2 * i, 2));
  }
  return fields;
}

std::array<std::string, 3> RetirementFieldsOf(const CivilDate& today) {
  char year[16], month[16], day[16];
  std::snprintf(year, sizeof year, "%2d", EraOf(today).year);
  std::snprintf(month, sizeof month, "%2d", today.month);
  std::snprintf(day, sizeof day, "%2d", today.day);
  return {year, month, day};
}

std::optional<EntryProblem> CheckEntry(const EmployeeEntry& e) {
  if (Trim(e.name).empty()) return EntryProblem{EntryField::Name, "氏名を入力して下さい。"};
  if (e.basePay == 0) return EntryProblem{EntryField::BasePay, "基本給が入力されていません。"};
  const std::string mail = Trim(e.mail);
  if (!mail.empty()) {
    const std::size_t at = mail.find('@');
    if (at == std::string::npos || at == 0) return EntryProblem{EntryField::Mail, "メールアドレスの入力エラー"};
  }
  // The file keeps Shift-JIS: a character without that form could not be stored.
  EmployeeEntry texts = e;
  for (const MembFieldRow& row : MembFields()) {
    if (row.text.set && !HasSjisForm(row.text.entry(texts))) {
      return EntryProblem{row.id, "使用できない文字が含まれています。"};
    }
  }
  return std::nullopt;
}

std::string EmployeeKeyOf(const std::tm& t) {
  char key[32];
  std::snprintf(key, sizeof key, "%02d%02d%02d_%02d%02d%02d", (t.tm_year + 1900) % 100, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  return key;
}

std::string UniqueEmployeeKey(const PeriodBlock& period, std::time_t now) {
  // At most 30 keys can be taken, so 31 consecutive seconds always hold a free one.
  std::string key;
  for (int step = 0; step <= kSlotCount; ++step) {
    const std::time_t t = now + step;
    std::tm local{};
    localtime_r(&t, &local);
    key = EmployeeKeyOf(local);
    bool taken = false;
    for (const EmployeeRecord& e : period.employees) {
      if (e.InUse() && e.Key() == key) taken = true;
    }
    if (!taken) break;
  }
  return key;
}

EmployeeRecord NewEmployeeDefaults() {
  EmployeeRecord r;
  r.SetCategoryIndex(2);
  r.SetCategoryText(kCategoryTexts[2]);
  r.SetPayFormCode(static_cast<std::int32_t>(PayForm::Monthly));
  r.SetCommuteUnit(2);
  return r;
}

void ClearForTemplate(EmployeeRecord& r) {
  r.SetName("");
  r.SetKey("");
  r.SetMailAddress("");
  r.SetRetirementDate("");
  r.SetGrade(0);
  r.SetSex(0);
}

int StoreNewEmployee(PeriodBlock& period, int periodIndex, const EmployeeRecord& record) {
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (period.Employee(slot).InUse()) continue;
    period.Employee(slot) = record;
    // The figures of a free slot belong to nobody; the new employee starts without any.
    period.Attendance(slot).Clear();
    period.Payment(slot).Clear();
    period.Deduction(slot).Clear();
    if (IsSalaryPeriod(periodIndex) && record.PayFormCode() == static_cast<std::int32_t>(PayForm::Monthly)) {
      period.Attendance(slot).Set(Kintai::WorkDays, period.company.PeriodDays());
      period.Attendance(slot).Set(Kintai::WorkedHours, period.company.PeriodHours());
    }
    return slot;
  }
  return 0;
}

std::string CalculatorFieldText(long double value, int formatCode) {
  return FormatAmount(formatCode / 10, static_cast<double>(std::trunc(value)));
}

}  // namespace paylark::screens
