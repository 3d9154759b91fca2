// The questions about premiums that a period brings: new rates in force when a period is
// prepared, and employees whose age changes what is collected when a period is prepared or
// opened. Nothing changes without the user's Yes. The one-step re-set of every employee's
// premiums from their grades (the employee list's command) shows the same list as after new rates.
#pragma once

#include <string>
#include <vector>

#include "calc/age_rules.h"
#include "calc/company_rates.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

namespace paylark::screens {

// "保険料率が変わります。\r健康保険 4.955％ → 4.925％\r…" with the question at the end.
std::string RateChangeQuestion(const std::vector<RateChange>& changes);
// The employees and what their age changes, with the question at the end.
std::string AgeChangeQuestion(const std::vector<AgeChange>& changes);

// After a period was prepared: when the rates in force for its premium month differ from the
// carried company record's, shows old and new and asks; Yes stores the new rates and re-sets every
// active employee's premiums from the grade, then lists old and new premiums. True after Yes.
bool OfferRateChange(ui::ProgramState& state, ui::DialogService& dialogs);

// After a period was prepared or opened: names the employees whose health, nursing or pension
// flag disagrees with their age in the premium month and asks; Yes changes the flags (a nursing
// premium starting is set from the grade). True after Yes.
bool OfferAgeChanges(ui::ProgramState& state, ui::DialogService& dialogs);

// Re-sets every active employee's premiums from the grade at the period's rates and shows the list.
void ResetAllPremiums(ui::ProgramState& state, ui::DialogService& dialogs);

}  // namespace paylark::screens
