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
  e.name = r.Name();
  e.department = r.Department();
  e.categoryIndex = r.CategoryIndex();
  e.categoryText = CategoryName(r);
  e.payForm = r.PayFormCode();
  e.taxColumn = r.TaxColumn();
  e.paidInCash = r.PaidInCash();
  e.mail = r.MailAddress();
  e.retirement = r.Retired() ? RetirementFieldsFromDate(r.RetirementDate()) : std::array<std::string, 3>{};
  e.dependants = r.Dependants();
  e.taxDependants = r.TaxDependants();
  e.basePay = r.BasePay();
  e.positionAllowance = r.PositionAllowance();
  e.familyAllowance = r.FamilyAllowance();
  for (int i = 0; i < 4; ++i) e.overtimePrice[i] = r.OvertimePrice(i);
  e.commuteNonTaxable = r.CommuteNonTaxable();
  e.commuteTaxable = r.CommuteTaxable();
  e.commuteUnit = r.CommuteUnit();
  e.residentTaxJune = r.ResidentTaxJune();
  e.residentTaxOther = r.ResidentTaxOther();
  for (int i = 0; i < 3; ++i) {
    e.fixedAllowance[i] = r.FixedAllowance(i);
    e.fixedDeduction[i] = r.FixedDeduction(i);
  }
  e.paidLeavePay = r.PaidLeavePay();
  e.absenceDeduction = r.AbsenceDeduction();
  e.latenessDeduction = r.LatenessDeduction();
  e.employmentSubject = r.EmploymentSubject();
  e.healthSubject = r.HealthSubject();
  e.healthPremium = r.HealthPremium();
  e.nursingCollected = r.NursingCollected();
  e.nursingPremium = r.NursingPremium();
  e.pensionSubject = r.PensionSubject();
  e.pensionPremium = r.PensionPremium();
  e.fundMember = r.FundMember();
  e.fundContribution = r.FundContribution();
  e.grade = r.Grade();
  return e;
}

void WriteEntry(const EmployeeEntry& e, EmployeeRecord& r, const std::function<std::string()>& makeKey) {
  std::string key = r.Key();
  if (key.empty()) key = makeKey();
  // Every byte that no control fills is zero: start from a blank record that keeps only the key.
  r.Clear();
  r.SetKey(key);
  r.SetName(Trim(e.name));
  r.SetDepartment(Trim(e.department));
  r.SetCategoryIndex(e.categoryIndex);
  r.SetCategoryText(Trim(e.categoryText));
  r.SetPayFormCode(e.payForm);
  r.SetTaxColumn(e.taxColumn);
  r.SetPaidInCash(e.paidInCash);
  r.SetMailAddress(Trim(e.mail));
  r.SetRetirementDate(RetirementDateFromFields(e.retirement));
  r.SetDependants(e.dependants);
  r.SetTaxDependants(e.taxDependants);
  r.SetBasePay(e.basePay);
  r.SetPositionAllowance(e.positionAllowance);
  r.SetFamilyAllowance(e.familyAllowance);
  for (int i = 0; i < 4; ++i) r.SetOvertimePrice(i, e.overtimePrice[i]);
  r.SetCommuteNonTaxable(e.commuteNonTaxable);
  r.SetCommuteTaxable(e.commuteTaxable);
  r.SetCommuteUnit(e.commuteUnit);
  r.SetResidentTaxJune(e.residentTaxJune);
  r.SetResidentTaxOther(e.residentTaxOther);
  for (int i = 0; i < 3; ++i) {
    r.SetFixedAllowance(i, e.fixedAllowance[i]);
    r.SetFixedDeduction(i, e.fixedDeduction[i]);
  }
  r.SetPaidLeavePay(e.paidLeavePay);
  r.SetAbsenceDeduction(e.absenceDeduction);
  r.SetLatenessDeduction(e.latenessDeduction);
  r.SetEmploymentSubject(e.employmentSubject);
  r.SetHealthSubject(e.healthSubject);
  r.SetHealthPremium(e.healthPremium);
  r.SetNursingCollected(e.nursingCollected);
  r.SetNursingPremium(e.nursingPremium);
  r.SetPensionSubject(e.pensionSubject);
  r.SetPensionPremium(e.pensionPremium);
  r.SetFundMember(e.fundMember);
  r.SetFundContribution(e.fundContribution);
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
  constexpr const char* kNotEncodable = "使用できない文字が含まれています。";
  if (!HasSjisForm(e.name)) return EntryProblem{EntryField::Name, kNotEncodable};
  if (!HasSjisForm(e.department)) return EntryProblem{EntryField::Department, kNotEncodable};
  if (!HasSjisForm(e.categoryText)) return EntryProblem{EntryField::Category, kNotEncodable};
  if (!HasSjisForm(e.mail)) return EntryProblem{EntryField::Mail, kNotEncodable};
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
