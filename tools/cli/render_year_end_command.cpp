// render withholding-slip|withholding-book|year-end-list|salary-report YEARFILE --year YYYY [SLOTS]
// --pdf OUT: a year-end document of calendar year YYYY drawn into a PDF file without a display,
// from the yearly file(s) of the year and the declarations beside them, as the 年末調整 window
// prints it. SLOTS (slips and books) are the slot numbers the employees held in their latest
// period of the year.
#include <iostream>
#include <map>
#include <sstream>

#include "print/qt/pdf_report.h"
#include "print/withholding_slip.h"
#include "print/year_end_documents.h"
#include "session/year_end_session.h"
#include "tools/cli/cli.h"

namespace paylark::cli {
namespace {

// The slot each employee held in the last period of the year he appears in.
std::map<std::string, int> LatestSlots(const std::vector<YearFileContent>& files) {
  std::map<std::string, int> slots;
  for (const YearFileContent& file : files)
    for (const auto& [period, block] : file.periods)
      for (int slot = 1; slot <= kSlotCount; ++slot)
        if (block.Employee(slot).InUse()) slots[block.Employee(slot).Key()] = slot;
  return slots;
}

std::vector<std::size_t> ChosenEmployees(const std::string& text, const print::YearEndSource& source) {
  const std::map<std::string, int> latest = LatestSlots(*source.files);
  std::vector<std::size_t> chosen;
  std::stringstream list(text);
  std::string item;
  while (std::getline(list, item, ',')) {
    const int slot = ParseIntArg(item, "SLOT");
    bool found = false;
    for (std::size_t i = 0; i < source.employees.size(); ++i) {
      const auto it = latest.find(source.employees[i].adjustment.pay.key);
      if (it != latest.end() && it->second == slot) {
        chosen.push_back(i);
        found = true;
      }
    }
    if (!found) throw UsageError("no employee paid in the year in slot " + item);
  }
  if (chosen.empty()) throw UsageError("SLOTS is empty");
  return chosen;
}

}  // namespace

int RunRenderYearEnd(const Invocation& inv) {
  const std::string kind = inv.args.at(0);
  int year = 0;
  std::vector<std::string> rest;
  for (std::size_t i = 1; i < inv.args.size(); ++i) {
    if (inv.args[i] == "--year") {
      if (i + 1 >= inv.args.size()) throw UsageError("--year needs a year");
      year = ParseIntArg(inv.args[++i], "year");
    } else {
      rest.push_back(inv.args[i]);
    }
  }
  if (year <= 0) throw UsageError("render " + kind + " needs --year YYYY");
  if (rest.empty() || rest.size() > 2) throw UsageError("render " + kind + " takes YEARFILE --year YYYY [SLOTS]");
  if (!inv.pdf) throw UsageError("render needs --pdf OUT");
  const bool perEmployee = kind == "withholding-slip" || kind == "withholding-book";
  if (rest.size() == 2 && !perEmployee) throw UsageError("SLOTS only go with withholding-slip and withholding-book");

  ui::ProgramState state(inv.programDir);
  const std::filesystem::path yearFile = rest[0];
  state.paths.dataDir = yearFile.parent_path();
  const screens::YearEndSession session(state, year, yearFile);
  const print::YearEndSource source = screens::BuildYearEndSource(session);
  if (source.employees.empty()) throw UsageError("nobody was paid in " + std::to_string(year));
  const std::vector<std::size_t> chosen = rest.size() == 2 ? ChosenEmployees(rest[1], source) : std::vector<std::size_t>{};

  print::Document document;
  if (kind == "withholding-slip") document = print::WithholdingSlipDocument(source, chosen);
  else if (kind == "withholding-book") document = print::WithholdingBookDocument(source, chosen);
  else if (kind == "year-end-list") document = print::YearEndListDocument(source);
  else document = print::SalaryReportDocument(source);

  print::StartOffscreenPainting("saldesk-cli");
  const print::JobResult result = print::WritePdfDocument(*inv.pdf, document);
  if (!result.printed) {
    std::cerr << "saldesk-cli: " << (result.error.empty() ? "nothing to print" : result.error) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace paylark::cli
