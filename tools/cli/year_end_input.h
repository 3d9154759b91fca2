// The JSON document of `saldesk-cli year-end --input` and the company run over a yearly file.
#pragma once

#include <filesystem>
#include <optional>

#include "calc/year_end.h"
#include "store/declarations.h"
#include "tools/cli/json_value.h"

namespace paylark::cli {

// Reads the fields of one employee; an unknown field, a wrong type, a negative or too large
// amount or a date that is not yyyy-mm-dd is a JsonError naming the field.
YearEndInput YearEndInputFromJson(const JsonValue& document);

// A declaration for the store: the declaration fields of the same document (previous_employer,
// declared_social_insurance, small_business_mutual_aid, life_insurance, earthquake_insurance,
// spouse, dependants, employee, housing_loan_credit), relatives with optional `name`, `relation`
// and `non_resident`, the employee with optional `non_resident` and `leaving_case`, and the flags
// `dependant_form` and `income_adjustment_form` (both true when left out). Pay fields are refused.
Declaration DeclarationFromJson(const JsonValue& document, int year, const std::string& employeeKey);

// Every employee of the company of `yearFile` (and of the other era's file of the same calendar
// year in its folder): one line each. With a settling period the 過不足額 are placed into that
// period of `yearFile`, and written when `save` is set.
int RunYearEndOfCompany(const YearEndRules& rules, const std::filesystem::path& yearFile,
                        std::optional<int> settlingPeriod, bool save);

}  // namespace paylark::cli
