#include "calc/premium_reset.h"

#include <cstdio>

#include "calc/rounding.h"

namespace paylark {
namespace {

Yen FiftySen(double ratePercent, Yen standard) {
  const double product = static_cast<double>(static_cast<long double>(ratePercent) / 100.0L * standard);
  return RoundYen(RoundingMode::Truncate, RoundFiftySen(product));
}

std::string Amount(Yen v) {
  char text[32];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(v));
  return text;
}

}  // namespace

StoredPremiums StoredPremiumsOf(const EmployeeRecord& e) {
  return StoredPremiums{e.HealthPremium(), e.NursingPremium(), e.LevyPremium(), e.PensionPremium(),
                        e.FundContribution()};
}

StoredPremiums GradeStoredPremiums(const RateTables& tables, const CompanyRecord& company, int grade) {
  const GradePremiums g = PremiumsFromGrade(tables, company, grade);
  StoredPremiums p{g.health, g.nursing, 0, g.pension, g.pensionFund};
  p.levy = FiftySen(company.LevyRate(), tables.HealthGrade(grade).standard);
  return p;
}

std::vector<PremiumResetLine> ResetPremiumsFromGrades(const RateTables& tables, PeriodBlock& period) {
  std::vector<PremiumResetLine> lines;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    EmployeeRecord& e = period.Employee(slot);
    if (!e.Active()) continue;
    PremiumResetLine line;
    line.slot = slot;
    line.name = e.Name();
    line.grade = e.Grade();
    line.before = StoredPremiumsOf(e);
    line.after = line.before;
    if (line.grade > 0 && line.grade <= tables.GradeCount()) {
      line.after = GradeStoredPremiums(tables, period.company, line.grade);
      e.SetHealthPremium(line.after.health);
      e.SetNursingPremium(line.after.nursing);
      e.SetLevyPremium(line.after.levy);
      e.SetPensionPremium(line.after.pension);
      e.SetFundContribution(line.after.fund);
    } else {
      line.grade = 0;
    }
    lines.push_back(line);
  }
  return lines;
}

std::string PremiumResetText(const std::vector<PremiumResetLine>& lines) {
  std::string text;
  for (const PremiumResetLine& l : lines) {
    text += l.name;
    if (l.grade == 0) {
      text += "　等級なし（変更しません）\r";
      continue;
    }
    text += "　" + Amount(l.grade) + "等級\r";
    auto item = [&](const char* caption, Yen before, Yen after) {
      text += std::string("　") + caption + " " + Amount(before) + " → " + Amount(after) + "\r";
    };
    item("健康保険", l.before.health, l.after.health);
    item("介護保険", l.before.nursing, l.after.nursing);
    item("子ども・子育て支援金", l.before.levy, l.after.levy);
    item("厚生年金", l.before.pension, l.after.pension);
    item("厚生年金基金", l.before.fund, l.after.fund);
  }
  return text;
}

}  // namespace paylark
