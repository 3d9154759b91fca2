// saldesk-cli year-end: the 年末調整 of one employee from a JSON document, or of every employee of a
// company from its yearly file and the declarations in its data folder.
#include <fstream>
#include <iostream>
#include <sstream>

#include "calc/year_end.h"
#include "store/rate_table_editions.h"
#include "store/year_end_rules.h"
#include "tools/cli/cli.h"
#include "tools/cli/json_value.h"
#include "tools/cli/year_end_input.h"

namespace paylark::cli {
namespace {

struct YearEndArgs {
  int year = 0;
  std::optional<std::filesystem::path> input;
  std::optional<std::filesystem::path> yearFile;
  std::optional<int> settle;  // --settle PERIOD
};

YearEndArgs ParseYearEndArgs(const std::vector<std::string>& args) {
  YearEndArgs a;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--year") {
      if (i + 1 >= args.size()) throw UsageError("--year needs a year");
      a.year = ParseIntArg(args[++i], "year");
    } else if (args[i] == "--input") {
      if (i + 1 >= args.size()) throw UsageError("--input needs a file");
      a.input = args[++i];
    } else if (args[i] == "--settle") {
      if (i + 1 >= args.size()) throw UsageError("--settle needs a period 1..15");
      a.settle = ParseIntArg(args[++i], "period");
      if (*a.settle < 1 || *a.settle > 15) throw UsageError("--settle needs a period 1..15");
    } else if (!a.yearFile && args[i].rfind("--", 0) != 0) {
      a.yearFile = args[i];
    } else {
      throw UsageError("year-end: unexpected argument: " + args[i]);
    }
  }
  if (a.year <= 0) throw UsageError("year-end needs --year YYYY");
  if (a.input.has_value() == a.yearFile.has_value()) throw UsageError("year-end needs --input FILE or YEARFILE");
  if (a.settle && !a.yearFile) throw UsageError("--settle needs a YEARFILE");
  return a;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw UsageError("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::filesystem::path YearEndRulesFolder(const std::filesystem::path& programDir) { return programDir / "YearEnd"; }

int RunYearEnd(const Invocation& inv) {
  const YearEndArgs args = ParseYearEndArgs(inv.args);
  const YearEndRules rules = LoadYearEndRules(YearEndRulesFolder(inv.programDir), args.year);
  if (args.yearFile) return RunYearEndOfCompany(rules, *args.yearFile, args.settle, inv.save);

  YearEndInput input;
  try {
    input = YearEndInputFromJson(ParseJson(ReadWholeFile(*args.input)));
  } catch (const JsonError& e) {
    throw UsageError(args.input->string() + ": " + e.what());
  }
  const YearEndResult result = ComputeYearEnd(rules, input);
  if (result.totalPay > rules.payLimit)
    std::cerr << "saldesk-cli: 給与の総額が" << rules.payLimit << "円を超えるため年末調整の対象外です\n";
  for (const YearEndLine& line : YearEndLines()) std::cout << line.name << '\t' << result.*line.field << '\n';
  return result.totalPay > rules.payLimit ? 1 : 0;
}

int RunDeclare(const Invocation& inv) {
  int year = 0;
  std::string key;
  std::optional<std::filesystem::path> input;
  std::optional<std::filesystem::path> dataFolder;
  const auto& args = inv.args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--year" && i + 1 < args.size()) {
      year = ParseIntArg(args[++i], "year");
    } else if (args[i] == "--key" && i + 1 < args.size()) {
      key = args[++i];
    } else if (args[i] == "--input" && i + 1 < args.size()) {
      input = args[++i];
    } else if (!dataFolder && args[i].rfind("--", 0) != 0) {
      dataFolder = args[i];
    } else {
      throw UsageError("declare: unexpected argument: " + args[i]);
    }
  }
  if (year <= 0 || key.empty() || !input || !dataFolder)
    throw UsageError("declare needs --year YYYY --key KEY --input FILE.json DATAFOLDER");
  Declaration declaration;
  try {
    declaration = DeclarationFromJson(ParseJson(ReadWholeFile(*input)), year, key);
  } catch (const JsonError& e) {
    throw UsageError(input->string() + ": " + e.what());
  }
  DeclarationStore store(*dataFolder / DeclarationStore::kFileName);
  store.Save(declaration);
  return 0;
}

}  // namespace paylark::cli
