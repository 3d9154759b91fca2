// What the year-end slips and books read: the year and its rules, the company's particulars, the
// municipalities' numbers, the calendar year's yearly files (the twelve months and the bonuses of
// the 源泉徴収簿) and, per employee, the adjustment with its declaration and particulars. The
// session fills it (session/year_end_session.h); the documents only read it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/year_end_figures.h"
#include "store/declarations.h"
#include "store/year_end_particulars.h"
#include "store/year_end_rules.h"
#include "store/year_file_content.h"

namespace paylark::print {

struct YearEndEmployee {
  EmployeeYearEnd adjustment;            // the year's pay, the exclusion or the result
  std::optional<Declaration> declaration;
  std::optional<EmployeeParticulars> particulars;
  std::string name;                      // 氏名 as in the employee record (UTF-8)
  std::optional<CivilDate> birth;        // the employee's own, from the record or the declaration
  int settledPeriod = 0;                 // 0 = not settled
};

struct YearEndSource {
  int year = 0;                           // 西暦 of the 年分
  const YearEndRules* rules = nullptr;
  std::string companyName;                // the company record's 社名 (UTF-8)
  CompanyParticulars company;
  std::vector<MunicipalityNumber> municipalityNumbers;
  const std::vector<YearFileContent>* files = nullptr;  // the files whose periods are paid in the year
  std::vector<YearEndEmployee> employees;  // in the order of GatherYearPay
  CivilDate today;
};

}  // namespace paylark::print
