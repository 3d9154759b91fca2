#include "screens/premium_notices.h"

#include <cstdio>
#include <exception>

#include "calc/premium_reset.h"

namespace paylark::screens {
namespace {

std::string Rate(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

void ShowResetList(ui::DialogService& dialogs, const std::vector<PremiumResetLine>& lines) {
  dialogs.Information("社員の保険料を等級表から再設定しました。\r" + PremiumResetText(lines));
}

std::vector<PremiumResetLine> ResetAndRecalculate(ui::ProgramState& state) {
  std::vector<PremiumResetLine> lines = ResetPremiumsFromGrades(state.TablesOfOpenPeriod(), state.Period());
  for (const PremiumResetLine& l : lines) {
    if (l.grade > 0) state.RecalculateSlot(l.slot);
  }
  return lines;
}

}  // namespace

std::string RateChangeQuestion(const std::vector<RateChange>& changes) {
  std::string text = "この給与/賞与の保険料の対象月から保険料率が変わります。\r";
  for (const RateChange& c : changes) text += c.name + " " + Rate(c.before) + "％ → " + Rate(c.after) + "％\r";
  return text + "新しい保険料率にして、社員の保険料を等級表から再設定しますか？";
}

std::string AgeChangeQuestion(const std::vector<AgeChange>& changes) {
  std::string text = "年齢により保険料の徴収が変わる社員がいます。\r";
  for (const AgeChange& c : changes) {
    text += c.name + "（" + std::to_string(c.age) + "歳）";
    if (c.now.health != c.byAge.health) text += " 健康保険：徴収しない";
    if (c.now.nursing != c.byAge.nursing) text += c.byAge.nursing ? " 介護保険：徴収する" : " 介護保険：徴収しない";
    if (c.now.pension != c.byAge.pension) text += " 厚生年金：徴収しない";
    text += "\r";
  }
  return text + "社員情報をこのとおりに変更しますか？";
}

bool OfferRateChange(ui::ProgramState& state, ui::DialogService& dialogs) {
  CompanyRecord& company = state.Period().company;
  if (company.Name().empty() || state.premiumRates.Empty()) return false;
  const CompanyRateSet inForce = CompanyRatesOfPeriod(state.premiumRates, state.open, company);
  const std::vector<RateChange> changes = RateChangesFor(company, inForce);
  if (changes.empty() || !dialogs.Confirm(RateChangeQuestion(changes))) return false;
  ApplyRates(company, inForce);
  try {
    ShowResetList(dialogs, ResetAndRecalculate(state));
  } catch (const std::exception& e) {
    dialogs.Error(e.what());
  }
  return true;
}

bool OfferAgeChanges(ui::ProgramState& state, ui::DialogService& dialogs) {
  PeriodBlock& period = state.Period();
  const std::optional<RateDates> dates =
      RateDatesOfPeriod(state.open.eraYear, state.PeriodIndex(), period.company, state.open.header);
  if (!dates) return false;
  const std::vector<AgeChange> changes = AgeChangesFor(period, dates->rateMonth);
  if (changes.empty() || !dialogs.Confirm(AgeChangeQuestion(changes))) return false;
  const RateTables& tables = state.TablesOfOpenPeriod();
  for (const AgeChange& c : changes) {
    EmployeeRecord& e = period.Employee(c.slot);
    e.SetHealthSubject(c.byAge.health);
    e.SetPensionSubject(c.byAge.pension);
    e.SetNursingCollected(c.byAge.nursing);
    if (c.byAge.nursing && !c.now.nursing && e.Grade() > 0 && e.Grade() <= tables.GradeCount()) {
      e.SetNursingPremium(GradeStoredPremiums(tables, period.company, e.Grade()).nursing);
    }
    if (!c.byAge.health) e.SetLevyPremium(0);  // the levy goes with health insurance
    try {
      state.RecalculateSlot(c.slot);
    } catch (const std::exception& error) {
      dialogs.Error(error.what());
    }
  }
  return true;
}

void ResetAllPremiums(ui::ProgramState& state, ui::DialogService& dialogs) {
  try {
    ShowResetList(dialogs, ResetAndRecalculate(state));
  } catch (const std::exception& e) {
    dialogs.Error(e.what());
  }
}

}  // namespace paylark::screens
