#include "support/payroll_fixture.h"

namespace paylark::testing {

CompanyRecord TestCompany() {
  CompanyRecord c;
  c.SetName("テスト商事株式会社");
  c.SetGeneralBusiness(true);
  c.SetPayDay(25);
  c.SetPeriodDays(20);
  c.SetPeriodHours(160);
  c.SetMonthDays(20);
  c.SetMonthHours(160);
  c.SetDayHours(8);
  c.SetEmploymentRate(0.6);
  c.SetHealthRate(5.0);
  c.SetNursingRate(0.9);
  c.SetPensionRate(9.15);
  c.SetPensionFundRate(0);
  return c;
}

EmployeeRecord TestEmployee(const std::string& name, const std::string& key, PayForm form, Yen basePay) {
  EmployeeRecord e;
  e.SetName(name);
  e.SetKey(key);
  e.SetPayFormCode(static_cast<int>(form));
  e.SetBasePay(basePay);
  return e;
}

MonthlyTaxImage TestMonthlyTable() {
  MonthlyTaxImage m;
  struct Row {
    Yen lower, upper, kou0, otsu;
  } rows[] = {{100000, 200000, 1000, 5000},
              {200000, 300000, 3000, 9000},
              {300000, 400000, 6000, 20000},
              {400000, 0, 16000, 60000}};
  m.SetI32(0, 4);
  for (int i = 0; i < 4; ++i) {
    const std::size_t o = 4 + 44 * i;
    m.SetI32(o, rows[i].lower);
    m.SetI32(o + 4, rows[i].upper);
    for (int d = 0; d < 8; ++d) m.SetI32(o + 8 + 4 * d, rows[i].kou0 - 100 * d);
    m.SetI32(o + 40, rows[i].otsu);
  }
  m.SetF64(16724, 0.10);
  m.SetF64(16732, 0.20);
  m.SetF64(16740, 0.03);
  m.SetF64(16748, 0.40);
  m.SetI32(16756, 500);
  m.SetI32(16760, 1000);
  return m;
}

BonusTaxImage TestBonusTable() {
  BonusTaxImage b;
  const double rates[] = {0.0, 0.10, 0.20};
  const Yen bounds[][2] = {{0, 100000}, {100000, 300000}, {300000, 0}};
  b.SetI32(0, 3);
  for (int r = 0; r < 3; ++r) {
    const std::size_t o = 4 + 72 * r;
    b.SetF64(o, rates[r]);
    for (int d = 0; d < 8; ++d) {
      b.SetI32(o + 8 + 8 * d, bounds[r][0]);
      b.SetI32(o + 12 + 8 * d, bounds[r][1]);
    }
  }
  b.SetI32(1444, 2);
  b.SetF64(1448, 0.30);
  b.SetI32(1456, 200000);
  b.SetF64(1460, 0.40);
  b.SetI32(1468, 0);
  return b;
}

HealthGradeImage TestGradeTable() {
  HealthGradeImage h;
  h.SetI32(0, 10);
  h.SetI32(4, 3);
  h.SetI32(8, 8);
  for (int g = 1; g <= 10; ++g) {
    h.SetI32(12 * g, g == 1 ? 0 : g * 100000 - 50000);
    h.SetI32(12 * g + 4, g * 100000 + 50000);
    h.SetI32(12 * g + 8, g * 100000);
  }
  return h;
}

Yen FakePreviousPeriods::FindPreviousDeductionBase(int period, const std::string& key) {
  periodsAsked.push_back(period);
  auto it = figures.find({period, key});
  return it == figures.end() ? 0 : it->second.first;
}

double FakePreviousPeriods::FindPreviousPaidLeave(int period, const std::string& key) {
  periodsAsked.push_back(period);
  auto it = figures.find({period, key});
  return it == figures.end() || key.empty() ? kPaidLeaveNotFound : it->second.second;
}

std::vector<EarlierBonus> FakePreviousPeriods::FindBonuses(int exceptPeriod, const std::string&) {
  std::vector<EarlierBonus> found;
  for (const EarlierBonus& b : bonuses) {
    if (b.previousYear || b.period != exceptPeriod) found.push_back(b);
  }
  return found;
}

CalcWorld::CalcWorld(int p, ItemKind k) : period(p), kind(k), items(DefaultItemSettings(k)) {
  tables.SetMonthly(TestMonthlyTable());
  tables.SetBonus(TestBonusTable());
  tables.SetHealthGrades(TestGradeTable());
  Refresh();
}

void CalcWorld::Refresh() { enabled = ResolveEnabledItems(DeriveItemLists(items), options, kind); }

CalcInputs CalcWorld::Inputs() {
  return CalcInputs{options, enabled, tables, tables.Presence(), period, bonusMonth, &previous, payDate};
}

}  // namespace paylark::testing
