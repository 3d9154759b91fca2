// explain YEARFILE PERIOD SLOT [FIELD] [--pdf OUT]: a stored period recalculated as recalc does,
// with the explanation of every amount of one employee printed one block per amount (FIELD: only
// the amount of that item name), or, with --pdf, the employee's 計算明細 written as a PDF file.
#include <iostream>

#include "calc/explanation.h"
#include "calc/recalculate.h"
#include "session/program_state.h"
#include "session/sheet_model.h"
#include "store/premium_rates.h"
#include "tools/cli/cli.h"
#ifdef PAYLARK_WITH_RENDER
#include "print/calc_statement_layout.h"
#include "print/qt/pdf_report.h"
#endif

namespace paylark::cli {
namespace {

class StderrReporter : public Reporter {
 public:
  void Error(std::string_view text) override { std::cerr << "saldesk-cli: " << text << "\n"; }
};

}  // namespace

int RunExplain(const Invocation& inv) {
  if (inv.args.size() != 3 && inv.args.size() != 4) throw UsageError("explain takes YEARFILE PERIOD SLOT [FIELD]");
  const std::unique_ptr<ui::ProgramState> state = OpenStoredPeriod(inv, inv.args[0], inv.args[1]);
  const int slot = ParseIntArg(inv.args[2], "SLOT");
  if (slot < 1 || slot > kSlotCount) throw UsageError("SLOT is 1.." + std::to_string(kSlotCount));
  PeriodBlock& period = state->Period();
  if (!period.Employee(slot).InUse()) throw UsageError("slot " + std::to_string(slot) + " holds no employee");

  const ItemKind kind = state->PeriodKind();
  const SheetColumns sheet = app::SheetOfRecords(
      period, app::BuildSheetRows(state->Lists(kind), state->options, kind), state->options, kind);
  const ui::ProgramState::CalcContext context = state->MakeCalcContext();
  Explanation explanation;
  // The rate data names the source of each premium rate (協会けんぽ's prefecture, the month).
  LoadedPremiumRates premium = LoadPremiumRates(inv.programDir);
  for (const std::string& p : premium.problems) std::cerr << "saldesk-cli: " << p << "\n";
  state->premiumRates = std::move(premium.rates);
  explanation.sources = SourcesOfPeriod(state->premiumRates, state->open);
  CalcInputs in = state->Inputs(context);
  in.explanation = &explanation;
  StderrReporter reporter;
  const RecalcResult result = RecalculateAll(period, sheet, in, false, reporter);
  for (const std::string& m : result.tableProblems) std::cerr << "saldesk-cli: " << m << "\n";

  std::vector<const ExplanationEntry*> entries = explanation.OfSlot(slot);
  if (inv.args.size() == 4) {
    std::erase_if(entries, [&](const ExplanationEntry* e) { return e->name != inv.args[3]; });
    if (entries.empty()) throw UsageError("no computed amount named " + inv.args[3]);
  }
#ifdef PAYLARK_WITH_RENDER
  if (inv.pdf) {
    print::StartOffscreenPainting("saldesk-cli");
    const print::JobResult written =
        print::WritePdfDocument(*inv.pdf, print::CalcStatementDocument(state->open, slot, entries));
    if (!written.printed) {
      std::cerr << "saldesk-cli: " << (written.error.empty() ? "nothing to print" : written.error) << "\n";
      return 1;
    }
    return 0;
  }
#else
  if (inv.pdf) throw UsageError("--pdf needs the build with Qt");
#endif
  std::cout << "slot " << slot << "\t" << period.Employee(slot).Name() << "\n\n";
  if (period.Employee(slot).Retired()) std::cout << "退職した社員の金額は計算されません（0）。\n";
  for (const ExplanationEntry* e : entries) std::cout << e->Text() << "\n\n";
  return 0;
}

}  // namespace paylark::cli
