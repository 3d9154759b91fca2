#include "store/period.h"

#include <cstring>

#include "store/sjis.h"

namespace paylark {

bool EmployeeRecord::Retired() const {
  std::string raw = RawText(296, 8);
  return !Trim(raw).empty();
}

void PeriodBlock::Clear() {
  company.Clear();
  for (auto& e : employees) e.Clear();
  ClearFigures();
}

void PeriodBlock::ClearFigures() {
  for (auto& a : attendance) a.Clear();
  for (auto& p : payments) p.Clear();
  for (auto& d : deductions) d.Clear();
}

void PeriodBlock::ToBytes(std::uint8_t* out) const {
  std::memcpy(out, company.bytes.data(), CompanyRecord::kSize);
  std::memcpy(out + kEmployeesOffset, employees.data(), sizeof employees);
  std::memcpy(out + kAttendanceOffset, attendance.data(), sizeof attendance);
  std::memcpy(out + kPaymentsOffset, payments.data(), sizeof payments);
  std::memcpy(out + kDeductionsOffset, deductions.data(), sizeof deductions);
}

void PeriodBlock::FromBytes(const std::uint8_t* in) {
  std::memcpy(company.bytes.data(), in, CompanyRecord::kSize);
  std::memcpy(employees.data(), in + kEmployeesOffset, sizeof employees);
  std::memcpy(attendance.data(), in + kAttendanceOffset, sizeof attendance);
  std::memcpy(payments.data(), in + kPaymentsOffset, sizeof payments);
  std::memcpy(deductions.data(), in + kDeductionsOffset, sizeof deductions);
}

void PeriodBlock::NormaliseStrings() {
  company.NormaliseStrings();
  for (auto& e : employees) e.NormaliseStrings();
}

}  // namespace paylark
