// Report codes: kind × 100 + target. The kind selects the report, the target its employees: a
// slot 1..30, 99 for the rows selected in the employee list, or the period of the monthly list.
#pragma once

#include <optional>

namespace paylark::print {

enum ReportKind { rkRoster = 1, rkPayslip = 2, rkLedger = 4, rkMonthlyList = 5 };
inline constexpr int kSelectedRows = 99;

struct ReportCode {
  ReportKind kind = rkPayslip;
  int target = 0;

  int Value() const { return static_cast<int>(kind) * 100 + target; }
  bool SelectedRows() const { return target == kSelectedRows; }
  // Payslips and ledgers print landscape except payslips, which are portrait.
  bool Landscape() const { return kind != rkPayslip; }
  bool operator==(const ReportCode&) const = default;
};

// nullopt for an unknown kind (3 is not used) or a target that does not fit the kind.
std::optional<ReportCode> ParseReportCode(int value);
// The code of a value that must be one; throws std::invalid_argument for any other value.
ReportCode RequireReportCode(int value);

}  // namespace paylark::print
