// The JSON document of `saldesk-cli year-end --input` and the company run over a yearly file.
#pragma once

#include <filesystem>

#include "calc/year_end.h"
#include "tools/cli/json_value.h"

namespace paylark::cli {

// Reads the fields of one employee; an unknown field, a wrong type, a negative or too large
// amount or a date that is not yyyy-mm-dd is a JsonError naming the field.
YearEndInput YearEndInputFromJson(const JsonValue& document);

// Every employee of the company of `yearFile` (and of the other era's file of the same calendar
// year in its folder): one line each.
int RunYearEndOfCompany(const YearEndRules& rules, const std::filesystem::path& yearFile);

}  // namespace paylark::cli
