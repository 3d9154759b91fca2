// The pieces of explanation text the salary, bonus, premium and tax calculations share: the rate
// of a premium with its source, the name of a withholding table with its edition, the figures of
// one slot that the calculation takes as they are (master amounts, amounts typed in, totals).
#pragma once

#include <optional>
#include <string>

#include "calc/calc_inputs.h"
#include "calc/explanation.h"
#include "store/premium_rates.h"

namespace paylark {

// "4.925 %（協会けんぽ 東京都、令和8年3月分から、9.85 % の折半）" when the company's rate is the half
// of the rate data's row in force in the period's premium month; otherwise the company's own
// rate ("0.5 %（会社情報の料率）"). No item (厚生年金基金): the company's own rate.
std::string PremiumRateText(const Explanation& x, const CompanyRecord& company,
                            std::optional<PremiumRateItem> item, double companyPercent);

// "令和8年分 月額表": the table's name after the era year of the tables' edition.
std::string TaxTableName(const RateTables& tables, const char* table);

// A quantity of the attendance record: 20, 10.5.
std::string QuantityText(double value);

// The name of a payment or deduction position in the period's kind.
std::string FieldName(const CalcInputs& in, ExplainedField field);

// After a slot's calculation: the figures taken as they are (master amounts, amounts of the
// sheet, the totals) get their entries, an amount kept by its manual-entry flag replaces what was
// recorded, and an item not listed loses its entry.
void ExplainStoredFigures(const CalcInputs& in, const EnabledItems& enabled, const PaymentRecord& payment, const DeductionRecord& deduction);

}  // namespace paylark
