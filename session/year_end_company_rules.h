// The rules of the company's particulars for the year-end slips (源泉徴収票・給与支払報告書の支払者,
// 総括表): the checks of ＯＫ in the order of the screen, and the municipalities' 指定番号 as rows
// of a table.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "session/declaration_rules.h"
#include "store/year_end_particulars.h"

namespace paylark::screens {

// The first fault of the company's particulars and the municipalities' numbers, naming the field
// ("edHojinNo", "sgSiteiNo:3" for row 3 of the numbers); nothing when all is sound. Texts are
// trimmed by the caller.
std::optional<FormProblem> CheckCompanyParticulars(const CompanyParticulars& company,
                                                          const std::vector<MunicipalityNumber>& numbers);

// The rows of the numbers' table as stored: rows with neither a municipality nor a number left out,
// texts trimmed.
std::vector<MunicipalityNumber> MunicipalityRows(const std::vector<MunicipalityNumber>& typed);

}  // namespace paylark::screens
