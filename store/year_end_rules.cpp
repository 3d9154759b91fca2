#include "store/year_end_rules.h"

#include <charconv>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "store/rate_table_editions.h"

namespace paylark {
namespace {

constexpr std::string_view kFormatLine = "year-end";
constexpr int kFormatVersion = 1;

class LineReader {
 public:
  LineReader(const std::string& source, int line, std::vector<std::string> words)
      : source_(source), line_(line), words_(std::move(words)) {}

  [[noreturn]] void Fail(const std::string& why) const {
    throw YearEndRulesError(source_ + ":" + std::to_string(line_) + ": " + why);
  }
  const std::string& Key() const { return words_[0]; }
  void Expect(std::size_t values) const {
    if (words_.size() != values + 1)
      Fail(Key() + ": " + std::to_string(values) + " values expected, " + std::to_string(words_.size() - 1) +
           " found");
  }
  const std::string& Word(std::size_t i) const { return words_.at(i); }
  std::size_t Size() const { return words_.size(); }
  Yen Amount(std::size_t i) const {
    const std::string& w = words_.at(i);
    long long v = 0;
    auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    if (ec != std::errc() || end != w.data() + w.size() || v < 0 || v > 2'000'000'000LL)
      Fail(Key() + ": not an amount: " + w);
    return static_cast<Yen>(v);
  }
  int Positive(std::size_t i) const {
    const Yen v = Amount(i);
    if (v == 0) Fail(Key() + ": must not be 0: " + words_.at(i));
    return v;
  }
  CivilDate Date(std::size_t i) const {
    auto d = ParseIsoDate(words_.at(i));
    if (!d) Fail(Key() + ": not a date yyyy-mm-dd: " + words_.at(i));
    return *d;
  }

 private:
  const std::string& source_;
  int line_;
  std::vector<std::string> words_;
};

std::vector<std::string> SplitWords(const std::string& line) {
  std::istringstream in(line.substr(0, line.find('#')));
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::array<Yen, 3> ThreeAmounts(const LineReader& r, std::size_t first) {
  return {r.Amount(first), r.Amount(first + 1), r.Amount(first + 2)};
}

PremiumFormula* FormulaNamed(YearEndRules& rules, const LineReader& r, const std::string& name) {
  if (name == "new") return &rules.lifeNew;
  if (name == "old") return &rules.lifeOld;
  if (name == "new_with_young") return &rules.lifeNewWithYoung;
  r.Fail(r.Key() + ": unknown kind: " + name);
}

void AddBracket(PremiumFormula& formula, const LineReader& r, std::size_t first) {
  PremiumBracket b{r.Amount(first), r.Positive(first + 1), r.Positive(first + 2), r.Amount(first + 3)};
  if (!formula.brackets.empty() && b.upTo <= formula.brackets.back().upTo)
    r.Fail(r.Key() + ": brackets must ascend");
  formula.brackets.push_back(b);
}

template <typename Row>
void CheckAscending(const std::vector<Row>& rows, const LineReader& r) {
  if (rows.size() >= 2 && rows[rows.size() - 1].upTo <= rows[rows.size() - 2].upTo)
    r.Fail(r.Key() + ": rows must ascend");
}

}  // namespace

std::string YearEndRulesFileName(int year) { return "year-end-" + std::to_string(year) + ".txt"; }

YearEndRules ParseYearEndRules(std::string_view text, const std::string& source) {
  YearEndRules rules;
  std::set<std::string> seen;
  bool formatSeen = false;
  using Handler = std::function<void(const LineReader&)>;
  // Keys that may appear once; rows may repeat.
  const std::map<std::string, Handler> single{
      {"year", [&](const LineReader& r) { r.Expect(1); rules.year = r.Positive(1); }},
      {"pay_limit", [&](const LineReader& r) { r.Expect(1); rules.payLimit = r.Amount(1); }},
      {"income_adjustment",
       [&](const LineReader& r) {
         r.Expect(4);
         rules.adjustmentThreshold = r.Amount(1);
         rules.adjustmentCap = r.Amount(2);
         rules.adjustmentNum = r.Amount(3);
         rules.adjustmentDen = r.Positive(4);
       }},
      {"young_born_from", [&](const LineReader& r) { r.Expect(1); rules.youngBornFrom = r.Date(1); }},
      {"relative_income_limit", [&](const LineReader& r) { r.Expect(1); rules.relativeIncomeLimit = r.Amount(1); }},
      {"employee_income_bands",
       [&](const LineReader& r) {
         r.Expect(3);
         rules.employeeIncomeBands = ThreeAmounts(r, 1);
       }},
      {"spouse_general", [&](const LineReader& r) { r.Expect(3); rules.spouseGeneral = ThreeAmounts(r, 1); }},
      {"spouse_elderly", [&](const LineReader& r) { r.Expect(3); rules.spouseElderly = ThreeAmounts(r, 1); }},
      {"elderly_born_until", [&](const LineReader& r) { r.Expect(1); rules.elderlyBornUntil = r.Date(1); }},
      {"under16_born_from", [&](const LineReader& r) { r.Expect(1); rules.under16BornFrom = r.Date(1); }},
      {"specific_born",
       [&](const LineReader& r) {
         r.Expect(2);
         rules.specificBornFrom = r.Date(1);
         rules.specificBornUntil = r.Date(2);
       }},
      {"dependant",
       [&](const LineReader& r) {
         r.Expect(4);
         rules.dependantGeneral = r.Amount(1);
         rules.dependantSpecific = r.Amount(2);
         rules.dependantElderly = r.Amount(3);
         rules.dependantElderlyCohabiting = r.Amount(4);
       }},
      {"disability",
       [&](const LineReader& r) {
         r.Expect(3);
         rules.disabilityGeneral = r.Amount(1);
         rules.disabilitySpecial = r.Amount(2);
         rules.disabilitySpecialCohabiting = r.Amount(3);
       }},
      {"widow",
       [&](const LineReader& r) {
         r.Expect(2);
         rules.widow = r.Amount(1);
         rules.widowIncomeLimit = r.Amount(2);
       }},
      {"single_parent",
       [&](const LineReader& r) {
         r.Expect(2);
         rules.singleParent = r.Amount(1);
         rules.singleParentIncomeLimit = r.Amount(2);
       }},
      {"working_student",
       [&](const LineReader& r) {
         r.Expect(3);
         rules.workingStudent = r.Amount(1);
         rules.workingStudentIncomeLimit = r.Amount(2);
         rules.workingStudentOtherIncomeLimit = r.Amount(3);
       }},
      {"life_caps",
       [&](const LineReader& r) {
         r.Expect(3);
         rules.lifeCombinedCap = r.Amount(1);
         rules.lifeCombinedWithYoungCap = r.Amount(2);
         rules.lifeTotalCap = r.Amount(3);
       }},
      {"earthquake",
       [&](const LineReader& r) {
         r.Expect(2);
         rules.earthquakeCap = r.Amount(1);
         rules.earthquakeTotalCap = r.Amount(2);
       }},
      {"old_long_term_cap", [&](const LineReader& r) { r.Expect(1); rules.oldLongTerm.cap = r.Amount(1); }},
      {"taxable_unit", [&](const LineReader& r) { r.Expect(1); rules.taxableUnit = r.Positive(1); }},
      {"reconstruction",
       [&](const LineReader& r) {
         r.Expect(2);
         rules.reconstructionNum = r.Positive(1);
         rules.reconstructionDen = r.Positive(2);
       }},
      {"annual_tax_unit", [&](const LineReader& r) { r.Expect(1); rules.annualTaxUnit = r.Positive(1); }},
      {"deferral",
       [&](const LineReader& r) {
         r.Expect(2);
         rules.deferralNum = r.Amount(1);
         rules.deferralDen = r.Positive(2);
       }},
      {"filing_scope",
       [&](const LineReader& r) {
         r.Expect(1);
         if (r.Word(1) == "table") rules.filing.basis = FilingScope::Basis::Table;
         else if (r.Word(1) == "report") rules.filing.basis = FilingScope::Basis::Report;
         else r.Fail("filing_scope: table or report expected: " + r.Word(1));
       }},
      {"filing_adjusted",
       [&](const LineReader& r) {
         r.Expect(3);
         rules.filing.adjustedOfficer = r.Amount(1);
         rules.filing.adjustedProfessional = r.Amount(2);
         rules.filing.adjustedOther = r.Amount(3);
       }},
      {"filing_not_adjusted",
       [&](const LineReader& r) {
         r.Expect(3);
         rules.filing.notAdjustedOther = r.Amount(1);
         rules.filing.notAdjustedOfficer = r.Amount(2);
         rules.filing.notAdjustedAll = r.Amount(3);
       }},
      {"filing_without_declaration",
       [&](const LineReader& r) { r.Expect(1); rules.filing.withoutDeclaration = r.Amount(1); }},
      {"report_retired_omit", [&](const LineReader& r) { r.Expect(1); rules.filing.reportRetiredOmit = r.Amount(1); }},
      {"electronic_filing", [&](const LineReader& r) { r.Expect(1); rules.filing.electronicCount = r.Positive(1); }},
  };
  // The thresholds of the 税務署's own table, needed only while the table is the scope.
  const std::set<std::string> tableOnly{"filing_adjusted", "filing_not_adjusted", "filing_without_declaration"};
  const std::map<std::string, Handler> rows{
      {"salary_income",
       [&](const LineReader& r) {
         if (r.Size() < 3) r.Fail("salary_income: a start and a kind expected");
         if (r.Word(2) == "zero") {
           r.Expect(2);
           rules.salaryIncome.push_back({r.Amount(1), SalaryIncomeBand::Kind::Zero});
         } else if (r.Word(2) == "less") {
           r.Expect(3);
           SalaryIncomeBand b{r.Amount(1), SalaryIncomeBand::Kind::Less};
           b.minus = r.Amount(3);
           rules.salaryIncome.push_back(b);
         } else if (r.Word(2) == "band") {
           r.Expect(6);
           rules.salaryIncome.push_back({r.Amount(1), SalaryIncomeBand::Kind::Band, r.Positive(3), r.Amount(4),
                                         r.Positive(5), r.Amount(6)});
         } else if (r.Word(2) == "rate") {
           r.Expect(5);
           rules.salaryIncome.push_back(
               {r.Amount(1), SalaryIncomeBand::Kind::Rate, 1, r.Amount(3), r.Positive(4), r.Amount(5)});
         } else {
           r.Fail("salary_income: unknown kind: " + r.Word(2));
         }
         const auto& bands = rules.salaryIncome;
         if (bands.size() == 1 && bands[0].from != 0) r.Fail("salary_income: the first band must start at 0");
         if (bands.size() >= 2 && bands.back().from <= bands[bands.size() - 2].from)
           r.Fail("salary_income: bands must ascend");
       }},
      {"basic",
       [&](const LineReader& r) {
         r.Expect(2);
         rules.basic.push_back({r.Amount(1), r.Amount(2)});
         CheckAscending(rules.basic, r);
       }},
      {"spouse_special",
       [&](const LineReader& r) {
         r.Expect(4);
         rules.spouseSpecial.push_back({r.Amount(1), ThreeAmounts(r, 2)});
         CheckAscending(rules.spouseSpecial, r);
       }},
      {"specific_relative",
       [&](const LineReader& r) {
         r.Expect(2);
         rules.specificRelative.push_back({r.Amount(1), r.Amount(2)});
         CheckAscending(rules.specificRelative, r);
       }},
      {"life_bracket",
       [&](const LineReader& r) {
         r.Expect(5);
         AddBracket(*FormulaNamed(rules, r, r.Word(1)), r, 2);
       }},
      {"life_cap",
       [&](const LineReader& r) {
         r.Expect(2);
         FormulaNamed(rules, r, r.Word(1))->cap = r.Amount(2);
       }},
      {"old_long_term",
       [&](const LineReader& r) {
         r.Expect(4);
         AddBracket(rules.oldLongTerm, r, 1);
       }},
      {"tax_rate",
       [&](const LineReader& r) {
         r.Expect(3);
         if (!rules.taxRates.empty() && !rules.taxRates.back().upTo) r.Fail("tax_rate: a row follows the open row");
         TaxRateRow row;
         if (r.Word(1) != "-") row.upTo = r.Amount(1);
         row.percent = r.Amount(2);
         row.subtract = r.Amount(3);
         if (row.upTo && !rules.taxRates.empty() && *row.upTo <= *rules.taxRates.back().upTo)
           r.Fail("tax_rate: rows must ascend");
         rules.taxRates.push_back(row);
       }},
  };

  int lineNo = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string line(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) continue;
    LineReader r(source, lineNo, std::move(words));
    if (!formatSeen) {
      if (r.Size() != 3 || r.Key() != "format" || r.Word(1) != kFormatLine) r.Fail("the first line must be \"format year-end 1\"");
      if (r.Amount(2) != kFormatVersion) r.Fail("format version " + r.Word(2) + " is not read");
      formatSeen = true;
      continue;
    }
    if (r.Word(0).empty()) continue;
    if (auto it = single.find(r.Key()); it != single.end()) {
      if (!seen.insert(r.Key()).second) r.Fail(r.Key() + ": given twice");
      it->second(r);
    } else if (auto row = rows.find(r.Key()); row != rows.end()) {
      seen.insert(r.Key());
      row->second(r);
    } else {
      r.Fail("unknown key: " + r.Key());
    }
  }
  if (!formatSeen) throw YearEndRulesError(source + ": empty table");
  // Every key but the optional young-dependant life formula must be there.
  for (const auto& [key, handler] : single)
    if (!seen.count(key) && !tableOnly.count(key)) throw YearEndRulesError(source + ": missing: " + key);
  for (const std::string& key : tableOnly) {
    const bool table = rules.filing.basis == FilingScope::Basis::Table;
    if (table && !seen.count(key)) throw YearEndRulesError(source + ": missing: " + key + " (filing_scope table)");
    if (!table && seen.count(key)) throw YearEndRulesError(source + ": " + key + " goes only with filing_scope table");
  }
  for (const char* key : {"salary_income", "basic", "spouse_special", "specific_relative", "life_bracket",
                          "life_cap", "old_long_term", "tax_rate"})
    if (!seen.count(key)) throw YearEndRulesError(source + ": missing: " + key);
  if (!rules.lifeNew.Present() || !rules.lifeOld.Present() || !rules.oldLongTerm.Present())
    throw YearEndRulesError(source + ": missing: life_bracket new/old or old_long_term");
  if (rules.taxRates.empty() || rules.taxRates.back().upTo)
    throw YearEndRulesError(source + ": tax_rate: the last row must be open (-)");
  return rules;
}

YearEndRules LoadYearEndRules(const std::filesystem::path& folder, int year) {
  const std::filesystem::path path = folder / YearEndRulesFileName(year);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw YearEndRulesError(path.string() + ": no year-end table for " + std::to_string(year));
  std::ostringstream text;
  text << in.rdbuf();
  YearEndRules rules = ParseYearEndRules(text.str(), path.string());
  if (rules.year != year)
    throw YearEndRulesError(path.string() + ": the table is for " + std::to_string(rules.year));
  return rules;
}

}  // namespace paylark
