// The 年末調整 session over a 令和8年 program folder: the statuses from 未入力 to 精算済 and back, the
// settlement into the file and into the period in memory, the 不足額 deferral, the declaration
// entry with its particulars and last year's carried over, and what the documents read.
#include "session/year_end_session.h"

#include <gtest/gtest.h>

#include "calc/salary.h"
#include "store/year_file.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"

namespace paylark::screens {
namespace {

namespace fs = std::filesystem;
using paylark::testing::TempDir;
using paylark::testing::TestCompany;
using paylark::testing::TestEmployee;

constexpr const char* kKeyA = "260101_000001";
constexpr const char* kKeyB = "260101_000002";
constexpr const char* kKeyC = "260101_000003";

struct Pay {
  Yen taxable, social, tax;
};

void SetPay(PeriodBlock& block, int slot, Pay pay) {
  block.Payment(slot).Set(Sikyu::TaxableTotal, pay.taxable);
  block.Payment(slot).Set(Sikyu::Total, pay.taxable);
  block.Deduction(slot).Set(Koujo::SocialTotal, pay.social);
  block.Deduction(slot).Set(Koujo::IncomeTax, pay.tax);
  block.Deduction(slot).Set(Koujo::Total, CheckedAdd(pay.social, pay.tax));
}

Declaration WithSpouse(const std::string& key) {
  Declaration d;
  d.year = 2026;
  d.employeeKey = key;
  d.dependantForm = true;
  d.incomeAdjustmentForm = true;
  d.birth = {1980, 4, 1};
  d.spouse = DeclaredPerson{"甲野花子", "妻", {1985, 1, 1}, 0};
  return d;
}

// A (甲, salary and three bonuses: the year's figures of the company test of the calculation),
// B (甲, a low December: his 不足額 may be deferred), C (乙, an old settlement left in December).
// Periods 1..14 are saved; the third bonus (15) is not.
class YearEndSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(program_ / "Data");
    fs::create_directories(program_ / "YearEnd");
    fs::copy_file(PAYLARK_TABLES_SRC "/year-end/year-end-2026.txt", program_ / "YearEnd" / "year-end-2026.txt");
    file_ = program_ / "Data" / YearFileName({"令和", 8});
    OpenPeriod state;
    CreateYearFile(file_, state);
    state.header.SetBonusMonth(13, 7);
    state.header.SetBonusDay(13, 10);
    state.header.SetBonusMonth(14, 12);
    state.header.SetBonusDay(14, 10);
    for (int period = 1; period <= 14; ++period) {
      PeriodBlock& b = state.period;
      b.Clear();
      b.company = TestCompany();
      b.Employee(1) = TestEmployee("甲野", kKeyA, PayForm::Monthly, 300000);
      b.Employee(1).SetBirthDate(19800401);
      b.Employee(2) = TestEmployee("乙山", kKeyB, PayForm::Monthly, 250000);
      b.Employee(3) = TestEmployee("丙川", kKeyC, PayForm::Monthly, 100000);
      b.Employee(3).SetTaxColumn(1);
      if (IsSalaryPeriod(period)) {
        SetPay(b, 1, {300000, 45000, 6000});
        SetPay(b, 2, period == 12 ? Pay{100000, 15000, 1000} : Pay{250000, 37000, 1000});
        SetPay(b, 3, {100000, 0, 3063});
        if (period == 12) PlaceYearEndSettlement(b, 3, 5000);
      } else {
        const Yen bonus = period == 13 ? 500000 : 700000;  // the December bonus with the third's amount
        SetPay(b, 1, {bonus, bonus * 15 / 100, bonus / 25});
      }
      state.periodIndex = period;
      SavePeriod(file_, state);
    }
  }

  PeriodBlock Saved(int period) {
    PeriodBlock b;
    LoadPeriod(file_, period, b);
    return b;
  }

  TempDir program_;
  fs::path file_;
  ui::ProgramState state_{program_.Path()};
};

TEST_F(YearEndSessionTest, FromNotEnteredToSettledAndBackWhenThePayChanges) {
  EXPECT_EQ(YearFileOfYear(program_ / "Data", 2026), file_);
  EXPECT_EQ(YearEndYears(state_.paths), (std::vector<int>{2026}));
  EXPECT_THROW(YearEndSession(state_, 2025), YearEndError);  // no yearly file
  EXPECT_EQ(DefaultYearEndYear(state_), Today().year);
  state_.open.currentDataFile = file_;
  state_.open.eraYear = {"令和", 8};
  EXPECT_EQ(DefaultYearEndYear(state_), 2026);

  YearEndSession session(state_, 2026);
  ASSERT_EQ(session.Rows().size(), 3u);
  EXPECT_EQ(session.Rows()[0].status, YearEndStatus::NotEntered);
  EXPECT_EQ(session.Rows()[1].status, YearEndStatus::NotEntered);
  EXPECT_EQ(session.Rows()[2].status, YearEndStatus::Excluded);
  EXPECT_EQ(session.Rows()[2].exclusion, "乙欄");
  EXPECT_EQ(session.Rows()[2].withheld, 12 * 3063);

  DeclarationEntry a = session.LoadEntry(kKeyA);
  EXPECT_FALSE(a.stored);
  EXPECT_EQ(a.declaration.birth, (CivilDate{1980, 4, 1}));  // from the employee record
  a.declaration = WithSpouse(kKeyA);
  a.particulars.address = "東京都新宿区新宿1-1";
  a.particulars.municipality = "東京都新宿区";
  ASSERT_EQ(session.SaveEntry(a), std::nullopt);
  DeclarationEntry b = session.LoadEntry(kKeyB);
  b.declaration.birth = {1990, 1, 1};
  ASSERT_EQ(session.SaveEntry(b), std::nullopt);

  const YearEndRow* rowA = session.Row(kKeyA);
  ASSERT_TRUE(rowA);
  EXPECT_EQ(rowA->status, YearEndStatus::Entered);
  // 4,800,000: 課税 1,260,000 × 5 % = 63,000 → 64,323 → 64,300; withheld 120,000.
  EXPECT_EQ(rowA->totalPay, 4800000);
  EXPECT_EQ(rowA->annualTax, 64300);
  EXPECT_EQ(rowA->withheld, 120000);
  EXPECT_EQ(rowA->difference, -55700);

  EXPECT_EQ(session.CalculateAll(), 2);
  EXPECT_EQ(session.Row(kKeyA)->status, YearEndStatus::Calculated);
  EXPECT_EQ(session.Store().LoadAdjustments(2026).size(), 2u);
  const YearEndTotals totals = session.Totals();
  EXPECT_EQ(totals.employees, 3);
  EXPECT_EQ(totals.adjusted, 2);
  EXPECT_EQ(totals.excluded, 1);
  EXPECT_EQ(totals.annualTax, CheckedAdd(64300, session.Row(kKeyB)->annualTax));
  EXPECT_EQ(totals.withheld, 120000 + 12000 + 12 * 3063);

  // December saved from the sheet meanwhile: the settlement goes into that, not over it.
  {
    OpenPeriod sheet;
    ReadHeader(file_, sheet.header);
    sheet.periodIndex = 12;
    sheet.period = Saved(12);
    sheet.period.Attendance(1).bytes[4] = 9;
    SavePeriod(file_, sheet);
  }
  const SettleResult settled = session.Settle(12);
  EXPECT_EQ(settled.writtenPeriods, (std::vector<int>{12}));
  ASSERT_EQ(settled.settled.size(), 2u);
  EXPECT_EQ(settled.cleared, (std::vector<std::string>{"丙川"}));
  EXPECT_EQ(session.Row(kKeyA)->status, YearEndStatus::Settled);
  EXPECT_EQ(session.Row(kKeyA)->settledPeriod, 12);
  PeriodBlock december = Saved(12);
  EXPECT_EQ(december.Deduction(1).Get(Koujo::YearEndAdjustment), -55700);
  EXPECT_EQ(december.Deduction(3).Get(Koujo::YearEndAdjustment), 0);  // 乙欄 keeps no settlement
  EXPECT_EQ(december.Deduction(3).Get(Koujo::Total), 3063);
  EXPECT_EQ(december.Attendance(1).bytes[4], 9);

  // B's December net pay (84,000) is below 70 % of the months before (212,000): the part of the
  // 不足額 above December's own tax may be collected in January and February.
  const SettledEmployee& sb = settled.settled[1];
  EXPECT_EQ(sb.key, kKeyB);
  ASSERT_GT(sb.amount, 1000);
  EXPECT_TRUE(sb.deferral.offered);
  EXPECT_EQ(sb.deferral.collectedNow, 1000);
  EXPECT_EQ(sb.deferral.collectedNow + sb.deferral.january + sb.deferral.february, sb.amount);
  EXPECT_FALSE(settled.settled[0].deferral.offered);

  // A session opened later sees the same; the settlement removed by hand is no longer 精算済.
  EXPECT_EQ(YearEndSession(state_, 2026).Row(kKeyA)->status, YearEndStatus::Settled);
  OpenPeriod write;
  ReadHeader(file_, write.header);
  write.periodIndex = 12;
  write.period = december;
  PlaceYearEndSettlement(write.period, 1, 0);
  SavePeriod(file_, write);
  session.Refresh();
  EXPECT_EQ(session.Row(kKeyA)->status, YearEndStatus::Calculated);

  // The year's pay changes after the calculation: the stored figures are stale.
  write.period.Deduction(1).Set(Koujo::IncomeTax, 7000);
  SavePeriod(file_, write);
  session.Refresh();
  EXPECT_EQ(session.Row(kKeyA)->status, YearEndStatus::Entered);
  EXPECT_TRUE(session.Row(kKeyA)->recalculationNeeded);
  EXPECT_EQ(session.Row(kKeyA)->difference, -56700);  // 1,000 more withheld
  const SettleResult notYet = session.Settle(12);
  EXPECT_EQ(notYet.notCalculated, (std::vector<std::string>{"甲野"}));

  // Entering the declaration again takes a settled employee back to 入力済.
  EXPECT_EQ(session.Row(kKeyB)->status, YearEndStatus::Settled);
  ASSERT_EQ(session.SaveEntry(session.LoadEntry(kKeyB)), std::nullopt);
  EXPECT_EQ(session.Row(kKeyB)->status, YearEndStatus::Entered);
}

TEST_F(YearEndSessionTest, SettlingIntoTheOpenPeriodChangesTheSheetAsTheFile) {
  state_.open.currentDataFile = file_;
  ReadHeader(file_, state_.open.header);
  state_.open.periodIndex = 12;
  state_.open.period = Saved(12);
  // An unsaved edit in the sheet: kept in memory, not written behind the user's back.
  state_.open.period.Attendance(2).bytes[0] = 7;
  std::swap(state_.open.period.employees[0], state_.open.period.employees[1]);  // slots moved, not saved
  std::swap(state_.open.period.payments[0], state_.open.period.payments[1]);
  std::swap(state_.open.period.deductions[0], state_.open.period.deductions[1]);

  YearEndSession session(state_, 2026);
  DeclarationEntry a = session.LoadEntry(kKeyA);
  a.declaration = WithSpouse(kKeyA);
  ASSERT_EQ(session.SaveEntry(a), std::nullopt);
  session.CalculateAll();

  SettleResult r = session.Settle(12);
  EXPECT_TRUE(r.openPeriodChanged);
  const PeriodBlock& memory = state_.open.period;
  ASSERT_EQ(memory.Employee(2).Key(), kKeyA);
  EXPECT_EQ(memory.Deduction(2).Get(Koujo::YearEndAdjustment), -55700);
  EXPECT_EQ(memory.Deduction(2).Get(Koujo::Total), 45000 + 6000 - 55700);
  EXPECT_EQ(memory.Deduction(1).Get(Koujo::YearEndAdjustment), 0);  // B: not declared
  EXPECT_EQ(memory.Deduction(3).Get(Koujo::YearEndAdjustment), 0);  // C: cleared in both
  EXPECT_EQ(memory.Attendance(2).bytes[0], 7);
  EXPECT_EQ(Saved(12).Deduction(1).Get(Koujo::YearEndAdjustment), -55700);
  EXPECT_NE(Saved(12).Attendance(2).bytes[0], 7);

  // Settled again into the December bonus: December loses it in the file and in memory.
  r = session.Settle(14);
  EXPECT_EQ(r.writtenPeriods, (std::vector<int>{14, 12}));
  EXPECT_TRUE(r.openPeriodChanged);
  EXPECT_EQ(state_.open.period.Deduction(2).Get(Koujo::YearEndAdjustment), 0);
  EXPECT_EQ(state_.open.period.Deduction(2).Get(Koujo::Total), 45000 + 6000);
  EXPECT_FALSE(state_.open.period.Deduction(2).Manual(Koujo::YearEndAdjustment));
  EXPECT_EQ(Saved(12).Deduction(1).Get(Koujo::YearEndAdjustment), 0);
  EXPECT_EQ(Saved(14).Deduction(1).Get(Koujo::YearEndAdjustment), -55700);
  EXPECT_EQ(session.Row(kKeyA)->settledPeriod, 14);
  // Only A has a slot in the bonus period; a settling period that is not saved or not a period.
  EXPECT_THROW(session.Settle(15), YearEndError);
  EXPECT_THROW(session.Settle(0), YearEndError);
}

TEST_F(YearEndSessionTest, AFaultyEntryStoresNothingAndLastYearIsAStartingPoint) {
  YearEndSession session(state_, 2026);
  DeclarationEntry a = session.LoadEntry(kKeyA);
  a.declaration = WithSpouse(kKeyA);
  a.declaration.spouse->name = "";
  const std::optional<DeclarationProblem> problem = session.SaveEntry(a);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->field, DeclarationField::SpouseName);
  EXPECT_EQ(session.Store().Load(2026, kKeyA), std::nullopt);
  EXPECT_EQ(session.Row(kKeyA)->status, YearEndStatus::NotEntered);
  EXPECT_EQ(session.CarryOver(kKeyA), std::nullopt);  // nothing last year

  Declaration last = WithSpouse(kKeyA);
  last.year = 2025;
  last.dependants = {{"甲野一郎", "長男", {2010, 5, 5}, 0, true, DisabilityKind::General, false}};
  last.lifeNewGeneral = 80000;
  last.earthquake = 20000;
  last.previousPaid = 1000000;
  last.previousWithheld = 20000;
  last.otherIncome = 50000;
  last.housingLoanCredit = 100000;
  last.declaredSocialInsurance = 30000;
  EmployeeParticulars lastParticulars;
  lastParticulars.year = 2025;
  lastParticulars.employeeKey = kKeyA;
  lastParticulars.furigana = "コウノ";
  lastParticulars.address = "東京都新宿区新宿1-1";
  lastParticulars.municipality = "東京都新宿区";
  lastParticulars.hired = CivilDate{2025, 4, 1};
  session.Store().Save(last, lastParticulars);

  const std::optional<DeclarationEntry> carried = session.CarryOver(kKeyA);
  ASSERT_TRUE(carried);
  EXPECT_FALSE(carried->stored);
  Declaration expected = WithSpouse(kKeyA);
  expected.dependants = last.dependants;
  EXPECT_EQ(carried->declaration, expected);
  EXPECT_EQ(carried->particulars.year, 2026);
  EXPECT_EQ(carried->particulars.address, "東京都新宿区新宿1-1");
  EXPECT_EQ(carried->particulars.furigana, "コウノ");
  EXPECT_EQ(carried->particulars.hired, std::nullopt);
  EXPECT_EQ(session.Store().Load(2026, kKeyA), std::nullopt);  // nothing stored until saved
  ASSERT_EQ(session.SaveEntry(*carried), std::nullopt);
  EXPECT_EQ(session.Store().Load(2026, kKeyA), expected);
  EXPECT_EQ(session.Store().LoadParticulars(2026, kKeyA), carried->particulars);
}

TEST_F(YearEndSessionTest, TheDocumentsReadTheYearTheCompanyAndEachEmployee) {
  YearEndSession session(state_, 2026);
  DeclarationEntry a = session.LoadEntry(kKeyA);
  a.declaration = WithSpouse(kKeyA);
  a.declaration.birth = {1981, 2, 3};
  a.particulars.furigana = "コウノ";
  a.particulars.address = "東京都新宿区新宿1-1";
  a.particulars.municipality = "東京都新宿区";
  ASSERT_EQ(session.SaveEntry(a), std::nullopt);
  session.CalculateAll();
  session.Settle(12);
  CompanyParticulars company;
  company.year = 2026;
  company.address = "東京都千代田区1-1";
  session.Store().SaveCompany(company);
  session.Store().SaveMunicipalityNumbers({{"東京都新宿区", "123456"}});

  const print::YearEndSource source = BuildYearEndSource(session);
  EXPECT_EQ(source.year, 2026);
  ASSERT_TRUE(source.rules);
  EXPECT_EQ(source.rules->year, 2026);
  ASSERT_TRUE(source.files);
  ASSERT_EQ(source.files->size(), 1u);
  EXPECT_EQ(source.files->front().periods.size(), 14u);
  EXPECT_EQ(source.companyName, TestCompany().Name());
  EXPECT_EQ(source.company, company);
  EXPECT_EQ(source.municipalityNumbers.size(), 1u);
  ASSERT_EQ(source.employees.size(), 3u);
  const print::YearEndEmployee& ea = source.employees[0];
  EXPECT_EQ(ea.name, "甲野");
  EXPECT_EQ(ea.adjustment.result.annualTax, 64300);
  EXPECT_EQ(ea.settledPeriod, 12);
  EXPECT_EQ(ea.birth, (CivilDate{1980, 4, 1}));  // the record's, before the declaration's
  ASSERT_TRUE(ea.particulars);
  EXPECT_EQ(ea.particulars->furigana, "コウノ");
  ASSERT_TRUE(ea.declaration);
  EXPECT_TRUE(ea.declaration->spouse);
  EXPECT_EQ(source.employees[1].birth, std::nullopt);
  EXPECT_FALSE(source.employees[1].declaration);
  EXPECT_EQ(source.employees[2].adjustment.exclusion, "乙欄");
  EXPECT_EQ(source.employees[2].adjustment.pay.withheld, 12 * 3063);

  // The results view lists every figure, 給与の総額 first and 過不足額 last.
  const std::vector<YearEndFigureLine> lines = YearEndFigureLines(ea.adjustment.result);
  EXPECT_EQ(lines.front().name, "給与の総額");
  EXPECT_EQ(lines.front().value, 4800000);
  EXPECT_EQ(lines.back().name, "過不足額");
  EXPECT_EQ(lines.back().value, -55700);
  EXPECT_EQ(lines[lines.size() - 2].name, "徴収済税額");
}

}  // namespace
}  // namespace paylark::screens
