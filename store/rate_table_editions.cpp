#include "store/rate_table_editions.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace paylark {
namespace fs = std::filesystem;

namespace {

constexpr TableId kAllTables[] = {TableId::MonthlyTax, TableId::BonusTax, TableId::Employment, TableId::HealthGrade};

const RateTableEdition& EmptyEdition() {
  static const RateTableEdition empty{};
  return empty;
}

}  // namespace

std::optional<CivilDate> ParseIsoDate(const std::string& text) {
  int year = 0, month = 0, day = 0;
  char rest = 0;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
      std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &rest) != 3) {
    return std::nullopt;
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  return CivilDate{year, month, day};
}

std::string IsoDate(const CivilDate& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

int RateTableEditions::LoadFromProgramFolder(const fs::path& programFolder, std::vector<std::string>* errors) {
  editions_.clear();
  RateTableEdition current;
  current.folder = programFolder;
  current.current = true;
  const int loaded = current.tables.LoadFromFolder(programFolder, errors);
  if (errors != nullptr) {
    for (TableId id : kAllTables) {
      std::error_code missingEc;
      if (!fs::exists(programFolder / TableFileName(id), missingEc)) {
        errors->push_back(std::string(TableFileName(id)) + " がありません。");
      }
    }
  }
  current.effective = current.tables.EditionDate();
  editions_.push_back(std::move(current));

  std::error_code ec;
  const fs::path root = programFolder / kEditionsFolderName;
  if (!fs::is_directory(root, ec)) return loaded;
  std::vector<fs::path> folders;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code dirEc;
    if (it->is_directory(dirEc)) folders.push_back(it->path());
  }
  std::sort(folders.begin(), folders.end());

  for (const fs::path& folder : folders) {
    const std::string where = std::string(kEditionsFolderName) + "/" + folder.filename().string();
    RateTableEdition edition;
    edition.folder = folder;
    std::vector<std::string> problems;
    edition.tables.LoadFromFolder(folder, &problems);
    if (errors != nullptr) {
      for (const std::string& p : problems) errors->push_back(where + ": " + p);
    }
    edition.effective = edition.tables.EditionDate();
    if (!edition.effective) edition.effective = ParseIsoDate(folder.filename().string());
    if (!edition.effective) {
      if (errors != nullptr) {
        errors->push_back(where + ": 表の版の日付がありません（フォルダ名は yyyy-mm-dd にします）。");
      }
      continue;
    }
    // The withholding tables of the edition are its own: one that is missing or damaged there is
    // not replaced by another edition's (a tax of that edition cannot then be computed, and says
    // so). The premium tables, of which there may be one edition only, come from the current one.
    for (TableId id : {TableId::MonthlyTax, TableId::BonusTax}) {
      std::error_code missingEc;
      if (errors != nullptr && !fs::exists(folder / TableFileName(id), missingEc)) {
        errors->push_back(where + ": " + TableFileName(id) + " がありません（この版の所得税は計算できません）。");
      }
    }
    for (TableId id : {TableId::Employment, TableId::HealthGrade}) {
      if (!edition.tables.Loaded(id)) edition.tables.CopyTableFrom(editions_.front().tables, id);
    }
    editions_.push_back(std::move(edition));
  }
  return loaded;
}

void RateTableEditions::Add(RateTableEdition edition) {
  edition.current = editions_.empty();
  editions_.push_back(std::move(edition));
}

const RateTables& RateTableEditions::Current() const {
  return editions_.empty() ? EmptyEdition().tables : editions_.front().tables;
}

std::vector<const RateTableEdition*> RateTableEditions::ByDate() const {
  std::vector<const RateTableEdition*> sorted;
  for (const RateTableEdition& e : editions_) sorted.push_back(&e);
  // An undated (current) edition last; of two editions of the same date the current one after
  // the edition folder, so that it is the one found for that date.
  std::stable_sort(sorted.begin(), sorted.end(), [](const RateTableEdition* a, const RateTableEdition* b) {
    if (a->effective.has_value() != b->effective.has_value()) return a->effective.has_value();
    if (a->effective && *a->effective != *b->effective) return *a->effective < *b->effective;
    return !a->current && b->current;
  });
  return sorted;
}

const RateTableEdition& RateTableEditions::EditionInForceOn(const CivilDate& date) const {
  if (editions_.empty()) return EmptyEdition();
  if (!editions_.front().effective) return editions_.front();
  const std::vector<const RateTableEdition*> sorted = ByDate();
  const RateTableEdition* found = sorted.front();
  for (const RateTableEdition* e : sorted) {
    if (e->effective && *e->effective <= date) found = e;
  }
  return *found;
}

const RateTables& RateTableEditions::InForceOn(const CivilDate& date) const { return EditionInForceOn(date).tables; }

std::string InstalledEditionsNotice(const RateTableEditions& editions) {
  std::string text = "源泉徴収税額表は次の版が組み込まれています。\r";
  const std::vector<const RateTableEdition*> sorted = editions.ByDate();
  bool undated = false;
  for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
    const RateTableEdition& e = **it;
    if (!e.effective) {
      undated = true;
      continue;
    }
    const EraYear era = EraOf(*e.effective);
    text += "　" + era.era + std::to_string(era.year) + "年分（" + IsoDate(*e.effective) + "から）\r";
  }
  if (undated) text += "　日付のない表データファイル（全ての支給日に使用）\r";
  text += "給与・賞与は、各月の支給日に適用される版で計算されます。";
  return text;
}

}  // namespace paylark
