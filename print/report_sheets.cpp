#include "print/report_sheets.h"

#include "print/employee_groups.h"
#include "store/format_text.h"

namespace paylark::print {

namespace {

std::vector<int> TargetSlots(ReportCode code, const ReportSource& source) {
  if (code.SelectedRows()) return source.selectedSlots;
  return {code.target};
}

}  // namespace

std::string PeriodListName(int period, const Options& options) {
  if (IsSalaryPeriod(period)) return Format("%d月分･給与", period);
  if (period == 13) return "夏期賞与";
  if (period == 14) return "冬季賞与";
  return options.thirdBonusName;
}

SheetCount CountSheets(ReportCode code, const ReportSource& source) {
  const PeriodBlock& period = source.Period();
  SheetCount count;
  switch (code.kind) {
    case rkRoster:
      count.persons = static_cast<int>(UsedSlots(period).size());
      count.sheets = (count.persons - 1) / 10 + 1;
      count.text = Format(" %2d枚 [%d名]", count.sheets, count.persons);
      break;
    case rkPayslip:
    case rkLedger:
      if (!code.SelectedRows()) {
        count.persons = 1;
        count.sheets = 1;
        count.text = " 1枚 [" + period.Employee(code.target).Name() + "]";
      } else if (code.kind == rkPayslip) {
        count.persons = static_cast<int>(source.selectedSlots.size());
        count.sheets = source.options->formType == 0 ? count.persons : (count.persons - 1) / 2 + 1;
        count.text = Format(" %d枚 [%d名]", count.sheets, count.persons);
      } else {
        count.persons = static_cast<int>(source.selectedSlots.size());
        count.sheets = count.persons;
        count.text = Format(" %d枚", count.sheets);
      }
      break;
    case rkMonthlyList: {
      count.persons = static_cast<int>(ActiveSlots(period).size());
      const int groups = source.options->printClassTotals ? static_cast<int>(CategoryGroups(period).size()) : 0;
      count.sheets = (count.persons + groups) / 10 + 1;
      count.text = Format(" %2d枚 [%d名、%s]", count.sheets, count.persons,
                          PeriodListName(source.PeriodIndex(), *source.options).c_str());
      break;
    }
  }
  return count;
}

std::vector<PageRef> ReportPages(ReportCode code, const ReportSource& source) {
  std::vector<PageRef> pages;
  switch (code.kind) {
    case rkRoster:
    case rkMonthlyList: {
      const int sheets = CountSheets(code, source).sheets;
      for (int p = 1; p <= sheets; ++p) pages.push_back({p, 0});
      break;
    }
    case rkLedger:
      for (int slot : TargetSlots(code, source)) pages.push_back({slot, 0});
      break;
    case rkPayslip: {
      const std::vector<int> slots = TargetSlots(code, source);
      if (source.options->formType == 0 || !code.SelectedRows()) {
        for (int slot : slots) pages.push_back({slot, 0});
      } else {
        for (std::size_t i = 0; i < slots.size(); i += 2)
          pages.push_back({slots[i], i + 1 < slots.size() ? slots[i + 1] : 0});
      }
      break;
    }
  }
  return pages;
}

}  // namespace paylark::print
