// Yearly files for the period selection tests: a program folder with a data folder, and saved
// periods written through the store.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "store/period.h"
#include "store/year_file.h"
#include "support/payroll_fixture.h"

namespace paylark::testing {

// Creates `file` when missing and saves period `period` with the test company renamed to
// `company` and the given employees in slots 1, 2, ...; `adjust` may change the block first.
template <typename Adjust>
void SaveTestPeriod(const std::filesystem::path& file, int period, const std::string& company,
                    const std::vector<EmployeeRecord>& employees, Adjust adjust) {
  OpenPeriod s;
  CreateYearFile(file, s);
  ReadHeader(file, s.header);
  s.periodIndex = period;
  s.period.Clear();
  s.period.company = TestCompany();
  s.period.company.SetName(company);
  for (std::size_t i = 0; i < employees.size(); ++i) s.period.employees[i] = employees[i];
  adjust(s.period);
  SavePeriod(file, s);
}

inline void SaveTestPeriod(const std::filesystem::path& file, int period, const std::string& company,
                           const std::vector<EmployeeRecord>& employees = {}) {
  SaveTestPeriod(file, period, company, employees, [](PeriodBlock&) {});
}

inline void CreateEmptyYearFile(const std::filesystem::path& file) {
  OpenPeriod s;
  CreateYearFile(file, s);
}

}  // namespace paylark::testing
