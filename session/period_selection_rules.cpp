#include "session/period_selection_rules.h"

#include <array>
#include <cstdio>

#include "store/period.h"
#include "store/year_file.h"
#include "store/year_file_list.h"

namespace paylark::app {

std::string PeriodCaption(int period, const std::string& thirdBonusName) {
  static const std::array<const char*, 9> kWideDigits{"１", "２", "３", "４", "５", "６", "７", "８", "９"};
  if (period >= 1 && period <= 9) return std::string(kWideDigits[static_cast<std::size_t>(period - 1)]) + "月分給与";
  if (period >= 10 && period <= 12) return std::to_string(period) + "月分給与";
  if (period == 13) return "夏期賞与";
  if (period == 14) return "冬期賞与";
  return thirdBonusName;
}

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d", value);
  return text;
}

std::vector<ReferenceMonth> ListReferenceMonths(const std::filesystem::path& dataFolder) {
  std::vector<ReferenceMonth> months;
  for (const YearFileEntry& file : ListYearFiles(dataFolder)) {
    FileHeader header;
    ReadHeader(file.path, header);
    for (int month = 1; month <= 12; ++month) {
      if (!header.Saved(month)) continue;
      months.push_back({file.Label() + TwoDigits(month) + "月分給与", file.path, file.eraYear, month});
    }
  }
  return months;
}

std::size_t PreselectReferenceMonth(const std::vector<ReferenceMonth>& months, const EraYear& openYear, int period) {
  std::size_t selected = 0;
  for (std::size_t i = 0; i < months.size(); ++i) {
    if (months[i].eraYear != openYear) continue;
    selected = i;
    if (months[i].month > period) break;
  }
  return selected;
}

std::optional<std::string> QuitQuestion(bool returning, bool companySetUp, bool periodChosen) {
  if (returning) return std::nullopt;
  if (!companySetUp) return "初期設定を中止し、プログラムを終了して宜しいですか？";
  if (!periodChosen) return "処理をする給与対象月/賞与時期の選択を中止し、プログラムを終了して宜しいですか？";
  return std::nullopt;
}

}  // namespace paylark::app
