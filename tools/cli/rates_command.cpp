// saldesk-cli rates: the premium rates in force for a premium month, from the premium rate file of
// the program folder, so that the shipped data can be checked against its sources.
#include <iostream>

#include "store/prefectures.h"
#include "store/premium_rates.h"
#include "tools/cli/cli.h"

namespace paylark::cli {
namespace {

EmploymentKind KindArg(const std::string& text) {
  if (text == "general") return EmploymentKind::General;
  if (text == "agriculture") return EmploymentKind::AgricultureSake;
  if (text == "construction") return EmploymentKind::Construction;
  throw UsageError("--kind must be general, agriculture or construction: " + text);
}

// "9.85 (4.925)": the published total and the employee's half; "-" when the data has no rate.
std::string TotalAndHalf(const std::optional<std::int32_t>& total) {
  if (!total) return "-";
  return PercentText(*total) + " (" + PercentText(*total / 2) + ")";
}

}  // namespace

int RunRates(const Invocation& inv) {
  if (!inv.args.empty()) throw UsageError("rates takes no arguments");
  if (!inv.date) throw UsageError("rates needs --date yyyy-mm-dd");
  int prefecture = 0;
  if (inv.prefecture) {
    prefecture = ParseIntArg(*inv.prefecture, "--prefecture");
    if (PrefectureName(prefecture).empty()) throw UsageError("--prefecture must be a JIS code 1 to 47");
  }
  const EmploymentKind kind = KindArg(inv.kind.value_or("general"));
  const LoadedPremiumRates loaded = LoadPremiumRates(inv.programDir);
  for (const std::string& p : loaded.problems) std::cerr << "saldesk-cli: " << p << "\n";
  if (loaded.rates.Empty()) throw std::runtime_error("no premium rates in " + inv.programDir.string());
  const PremiumRatesInForce r = loaded.rates.InForce(*inv.date, prefecture, *inv.date, kind);
  std::cout << "健康保険料率\t" << TotalAndHalf(r.health) << "\n"
            << "介護保険料率\t" << TotalAndHalf(r.nursing) << "\n"
            << "子ども・子育て支援金率\t" << TotalAndHalf(r.levy) << "\n"
            << "厚生年金保険料率\t" << TotalAndHalf(r.pension) << "\n"
            << "雇用保険料率\t" << (r.employmentWorker ? PerMilleText(*r.employmentWorker) : std::string("-")) << "\n";
  return 0;
}

}  // namespace paylark::cli
