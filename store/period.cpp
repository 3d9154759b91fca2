#include "store/period.h"

#include <algorithm>
#include <cstring>


namespace paylark {

bool EmployeeRecord::Retired() const {
  // Non-empty after trimming: some byte of the date is not a blank or control character.
  const std::size_t length = std::min<std::size_t>(bytes[296], 8);
  for (std::size_t i = 0; i < length; ++i) {
    if (bytes[297 + i] > 0x20) return true;
  }
  return false;
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
