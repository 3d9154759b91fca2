// 計算明細: one employee's period with every computed amount and its explanation, on A4 portrait
// sheets: the company, the period and the employee at the head of each sheet, then each amount's
// explanation as a block of lines wrapped at the right margin.
#pragma once

#include <string>
#include <vector>

#include "calc/explanation.h"
#include "print/document.h"
#include "store/year_file.h"

namespace paylark::print {

// The lines of the sheets: each explanation wrapped to `bytesPerLine` Shift-JIS bytes (a
// character is never cut), an empty line after each block.
std::vector<std::string> CalcStatementLines(const std::vector<const ExplanationEntry*>& entries, int bytesPerLine);

// "令和6年 12月分給与", "令和6年 7月 賞与"
std::string CalcStatementPeriodText(const OpenPeriod& open);

Document CalcStatementDocument(const OpenPeriod& open, int slot, const std::vector<const ExplanationEntry*>& entries);

}  // namespace paylark::print
