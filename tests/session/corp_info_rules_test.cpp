#include "session/corp_info_rules.h"

#include "calc/company_rates.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/rate_table_extension.h"
#include "support/payroll_fixture.h"

namespace paylark {
namespace {

using screens::CompanyField;
using screens::CompanyInput;
using screens::CompanyProblem;

CompanyInput Valid() {
  CompanyInput in;
  in.name = "テスト商事";
  in.payDay = 25;
  in.dayHours = 8;
  in.monthDays = 20;
  in.monthHours = 160;
  in.employmentRate = 0.6;
  in.healthRate = 5;
  in.nursingRate = 0.9;
  in.pensionRate = 9.15;
  in.pensionFundRate = 0;  // may be 0
  return in;
}

struct CheckCase {
  const char* name;
  void (*change)(CompanyInput&);
  std::optional<CompanyProblem> expected;
};

const CompanyProblem kNoName{CompanyField::Name, "会社名が入力されていません。"};
const CompanyProblem kBadPayDay{CompanyField::PayDay, "給与支給日の入力に誤りがあります。"};
const CompanyProblem kNoConditions{CompanyField::DayHours, "所定労働条件が入力されていません。"};
const CompanyProblem kNoRate{CompanyField::EmploymentRate, "保険料負担率が入力されていません。"};

class CompanyChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CompanyChecks, FirstFailingCheckInOrder) {
  CompanyInput in = Valid();
  GetParam().change(in);
  EXPECT_EQ(screens::CheckCompanyInput(in), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CorpInfo, CompanyChecks,
    ::testing::Values(
        CheckCase{"Valid", [](CompanyInput&) {}, std::nullopt},
        CheckCase{"PayDay31", [](CompanyInput& in) { in.payDay = 31; }, std::nullopt},
        CheckCase{"PayDay1", [](CompanyInput& in) { in.payDay = 1; }, std::nullopt},
        CheckCase{"BlankName", [](CompanyInput& in) { in.name = "  \t "; }, kNoName},
        CheckCase{"NameOutsideShiftJis", [](CompanyInput& in) { in.name = "商事😀"; },
                  CompanyProblem{CompanyField::Name, "会社名に使用できない文字が含まれています。"}},
        CheckCase{"PayDay0", [](CompanyInput& in) { in.payDay = 0; }, kBadPayDay},
        CheckCase{"PayDay32", [](CompanyInput& in) { in.payDay = 32; }, kBadPayDay},
        CheckCase{"NoMonthDays", [](CompanyInput& in) { in.monthDays = 0; }, kNoConditions},
        CheckCase{"NoMonthHours", [](CompanyInput& in) { in.monthHours = 0; }, kNoConditions},
        CheckCase{"NoDayHours", [](CompanyInput& in) { in.dayHours = 0; }, kNoConditions},
        CheckCase{"NoEmploymentRate", [](CompanyInput& in) { in.employmentRate = 0; }, kNoRate},
        CheckCase{"NoPensionRate", [](CompanyInput& in) { in.pensionRate = 0; }, kNoRate},
        CheckCase{"NameBeforePayDay", [](CompanyInput& in) { in.name.clear(); in.payDay = 0; }, kNoName},
        CheckCase{"PayDayBeforeConditions", [](CompanyInput& in) { in.payDay = 40; in.dayHours = 0; }, kBadPayDay},
        CheckCase{"WageClosingDayNotSet", [](CompanyInput& in) { in.wageClosingDay = 0; }, std::nullopt},
        CheckCase{"WageClosingDay31", [](CompanyInput& in) { in.wageClosingDay = 31; }, std::nullopt},
        CheckCase{"WageClosingDay32", [](CompanyInput& in) { in.wageClosingDay = 32; },
                  CompanyProblem{CompanyField::WageClosingDay, "給与締日の入力に誤りがあります。"}},
        CheckCase{"ConditionsBeforeRates", [](CompanyInput& in) { in.monthDays = 0; in.healthRate = 0; },
                  kNoConditions}),
    [](const ::testing::TestParamInfo<CheckCase>& param) { return std::string(param.param.name); });

TEST(CorpInfoRules, ZeroRatesTakeTheRatesInForceOfThePeriod) {
  paylark::PremiumRates rates;
  rates.Merge({{PremiumRateItem::Health, 13, {2026, 3, 1}, 98500},
               {PremiumRateItem::Nursing, 0, {2026, 3, 1}, 16200},
               {PremiumRateItem::Levy, 0, {2026, 4, 1}, 2300},
               {PremiumRateItem::Pension, 0, {2017, 9, 1}, 183000},
               {PremiumRateItem::EmploymentWorker, 0, {2026, 4, 1}, 5000},
               {PremiumRateItem::EmploymentWorker, 1, {2026, 4, 1}, 6000}});
  OpenPeriod open;
  open.eraYear = EraYear{"令和", 8};
  open.periodIndex = 5;  // 5月分, 翌月徴収: premium month April

  CompanyRecord zero;
  zero.SetGeneralBusiness(false);
  zero.SetPayDay(25);
  zero.SetHealthInsurer(13);
  ApplyRatesInForceToZeros(rates, open, zero);
  EXPECT_TRUE(zero.GeneralBusiness());
  EXPECT_EQ(zero.EmploymentRate(), 0.5);
  EXPECT_EQ(zero.HealthRate(), 4.925);
  EXPECT_EQ(zero.NursingRate(), 0.81);
  EXPECT_EQ(zero.LevyRate(), 0.115);
  EXPECT_EQ(zero.PensionRate(), 9.15);
  EXPECT_EQ(zero.PensionFundRate(), 0);

  // Rates already set stay; a 健康保険組合 types health and nursing, so they stay 0.
  CompanyRecord set = testing::TestCompany();
  set.SetGeneralBusiness(false);
  set.SetEmploymentRate(0.9);
  set.SetNursingRate(0);
  set.SetHealthInsurer(0);
  const CompanyRecord before = set;
  ApplyRatesInForceToZeros(rates, open, set);
  EXPECT_FALSE(set.GeneralBusiness());
  EXPECT_EQ(set.EmploymentRate(), 0.9);
  EXPECT_EQ(set.HealthRate(), before.HealthRate());
  EXPECT_EQ(set.NursingRate(), 0);
  EXPECT_EQ(set.LevyRate(), 0);
}

TEST(CorpInfoRules, TheLevyDefaultFromThePremiumMonthOfApril2026) {
  struct Case {
    const char* name;
    double stored;
    std::optional<YearMonth> premiumMonth;
    double expected;
  } cases[] = {
      {"premium month 2026-04", 0, YearMonth{2026, 4}, 0.115},
      {"later", 0, YearMonth{2027, 1}, 0.115},
      {"premium month 2026-03: no levy yet", 0, YearMonth{2026, 3}, 0},
      {"a rate of the user's stays", 0.2, YearMonth{2026, 5}, 0.2},
      {"no premium month known", 0, std::nullopt, 0},
  };
  // 子ども・子育て支援金率 0.23 % from the premium month 2026-04, as the rate data holds it.
  paylark::PremiumRates rates;
  rates.Merge({{PremiumRateItem::Levy, 0, CivilDate{2026, 4, 1}, 2300}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompanyRecord company;
    company.SetLevyRate(c.stored);
    screens::ApplyLevyDefault(company, c.premiumMonth, rates);
    EXPECT_EQ(company.LevyRate(), c.expected);
  }
}

TEST(CorpInfoRules, TheEmploymentRateInForceOnTheClosingDate) {
  RateTables tables;
  tables.SetEmployment(EmploymentImage{});
  EXPECT_EQ(screens::EmploymentRateInForceText(tables, true, CivilDate{2026, 4, 15}), "");  // no dated rates
  tables.SetExtension({TableId::Employment, {2026, 4, 1}, std::nullopt, std::nullopt,
                       EmploymentRateTable{{{{2025, 4, 1}, 5'500, 6'500, 6'500}, {{2026, 4, 1}, 5'000, 6'000, 6'000}}}});
  EXPECT_EQ(screens::EmploymentRateInForceText(tables, true, CivilDate{2026, 3, 31}), "被保険者負担 5.5/1000");
  EXPECT_EQ(screens::EmploymentRateInForceText(tables, true, CivilDate{2026, 4, 1}), "被保険者負担 5/1000");
  EXPECT_EQ(screens::EmploymentRateInForceText(tables, false, CivilDate{2026, 4, 1}), "被保険者負担 6/1000");
  EXPECT_EQ(screens::EmploymentRateInForceText(tables, true, CivilDate{2025, 3, 31}), "");
  EXPECT_EQ(screens::EmploymentRateInForceText(tables, true, std::nullopt), "");
}

TEST(CorpInfoRules, StoresTheTrimmedNameCutTo44Bytes) {
  CompanyInput in = Valid();
  in.name = "  " + std::string(20, 'A') + "株式会社テスト商事ホールディングス ";
  in.generalBusiness = false;
  in.useEmploymentTable = true;
  in.pensionFundRate = 3.5;
  CompanyRecord company;
  screens::StoreCompanyInput(in, company);
  EXPECT_EQ(company.Name(), std::string(20, 'A') + "株式会社テスト商事ホール");  // 20 + 24 bytes
  EXPECT_EQ(company.PayDay(), 25);
  EXPECT_EQ(company.DayHours(), 8);
  EXPECT_EQ(company.MonthDays(), 20);
  EXPECT_EQ(company.MonthHours(), 160);
  EXPECT_FALSE(company.GeneralBusiness());
  EXPECT_TRUE(company.UseEmploymentTable());
  EXPECT_EQ(company.EmploymentRate(), 0.6);
  EXPECT_EQ(company.PensionRate(), 9.15);
  EXPECT_EQ(company.PensionFundRate(), 3.5);

  in.levyRate = 0.115;
  in.premiumCollection = 1;
  in.wageClosingDay = 20;
  in.wageClosingMonth = 1;
  screens::StoreCompanyInput(in, company);
  EXPECT_EQ(company.LevyRate(), 0.115);
  EXPECT_EQ(company.PremiumCollection(), 1);
  EXPECT_EQ(company.WageClosingDay(), 20);
  EXPECT_EQ(company.WageClosingMonth(), 1);
}

TEST(CorpInfoRules, OnlyThePremiumRatesAskForNewPremiums) {
  const screens::PremiumRates remembered = screens::PremiumRatesOf(testing::TestCompany());
  CompanyInput in = Valid();
  in.employmentRate = 0.7;
  in.payDay = 10;
  in.dayHours = 7.5;
  EXPECT_FALSE(screens::PremiumRatesChanged(remembered, in));
  in.wageClosingDay = 15;
  in.premiumCollection = 1;
  EXPECT_FALSE(screens::PremiumRatesChanged(remembered, in));
  for (double CompanyInput::*rate : {&CompanyInput::healthRate, &CompanyInput::nursingRate,
                                     &CompanyInput::pensionRate, &CompanyInput::pensionFundRate,
                                     &CompanyInput::levyRate}) {
    CompanyInput changed = in;
    changed.*rate += 0.1;
    EXPECT_TRUE(screens::PremiumRatesChanged(remembered, changed));
  }
}

}  // namespace
}  // namespace paylark
