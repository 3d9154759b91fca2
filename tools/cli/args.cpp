#include <charconv>
#include <iostream>

#include "tools/cli/cli.h"

namespace paylark::cli {

int ParseIntArg(const std::string& text, const char* what) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) throw UsageError(std::string(what) + " is not a whole number: " + text);
  return value;
}

int ParseColumnArg(const std::string& text) {
  if (text == "kou") return 0;
  if (text == "otsu") return 1;
  throw UsageError("tax column must be kou or otsu: " + text);
}

std::filesystem::path SettingsPath(const std::filesystem::path& programDir) { return programDir / "Saldesk.ini"; }

RateTableEditions LoadEditions(const std::filesystem::path& programDir) {
  RateTableEditions editions;
  std::vector<std::string> errors;
  editions.LoadFromProgramFolder(programDir, &errors);
  for (const auto& e : errors) std::cerr << "saldesk-cli: " << e << "\n";
  return editions;
}

}  // namespace paylark::cli
