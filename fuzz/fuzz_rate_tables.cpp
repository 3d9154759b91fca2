// The four rate table files with their extensions: the input is one file, its first byte choosing
// which. Properties: a table that loads holds exactly the file's image bytes; one that does not is
// reported and not counted; every look-up takes any loaded table without undefined behaviour,
// never gives a negative tax and never a rate outside 0..1.
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "store/rate_tables.h"

using namespace paylark;

namespace {

template <class Image>
bool SameBytes(const Image& image, std::string_view file) {
  return file.size() >= Image::kSize && std::memcmp(image.bytes.data(), file.data(), Image::kSize) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::ScratchFolder folder;
  if (size < 1) return 0;
  const TableId id = static_cast<TableId>(data[0] % kTableCount);
  const std::string_view bytes = fuzz::AsText(data + 1, size - 1);
  for (int i = 0; i < kTableCount; ++i) {
    std::error_code ec;
    std::filesystem::remove(folder / TableFileName(static_cast<TableId>(i)), ec);
  }
  fuzz::WriteFile(folder / TableFileName(id), bytes);

  RateTables tables;
  std::vector<std::string> errors;
  const int loaded = tables.LoadFromFolder(folder.Path(), &errors);
  fuzz::Require(loaded == (tables.Loaded(id) ? 1 : 0), "a table was counted that is not loaded");
  fuzz::Require(tables.Loaded(id) != !errors.empty(), "a table neither loaded nor reported");
  if (!tables.Loaded(id)) return 0;
  switch (id) {
    case TableId::MonthlyTax: fuzz::Require(SameBytes(tables.Monthly(), bytes), "monthly image is not the file's"); break;
    case TableId::BonusTax: fuzz::Require(SameBytes(tables.Bonus(), bytes), "bonus image is not the file's"); break;
    case TableId::Employment: fuzz::Require(SameBytes(tables.Employment(), bytes), "employment image is not the file's"); break;
    case TableId::HealthGrade: fuzz::Require(SameBytes(tables.HealthGrades(), bytes), "grade image is not the file's"); break;
  }

  const TablePresence presence = tables.Presence();
  const Yen amounts[] = {0, 1, 87'999, 88'000, 105'000, 299'999, 740'000, 1'700'000, 10'000'000, -5, 2'000'000'000};
  for (Yen amount : amounts) {
    for (int dependants : {-1, 0, 3, 7, 8, 12}) {
      for (int column : {0, 1, 2}) {
        try {
          fuzz::Require(tables.MonthlyTax(presence, amount, column, dependants, RoundingMode::Truncate) >= 0,
                        "a negative monthly tax");
        } catch (const MoneyOverflow&) {
          // beyond 32-bit yen: an error, never a wrapped figure
        }
        double rate = 0;
        if (tables.BonusTaxRate(presence, amount, dependants, column, &rate)) {
          fuzz::Require(rate >= 0.0 && rate <= 1.0, "a bonus rate outside 0..1");
        }
      }
    }
    (void)tables.EmploymentPremiumFromTable(presence, amount, amount % 2 == 0);
  }
  for (int grade = -1; grade <= 82; ++grade) {
    (void)tables.HealthGrade(grade);
    (void)tables.PensionGrade(grade);
  }
  (void)tables.GradeCount();
  return 0;
}
