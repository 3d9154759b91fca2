// The monthly salary or bonus list (月別給与/賞与一覧): the active employees of the open period side
// by side, ten columns to a sheet, with the ledger's rows; after the employees one subtotal column
// per employee category (when category totals are printed) and the total column. The employees,
// subtotals and total form one sequence of columns cut into sheets of ten.
#include <vector>

#include "print/employee_groups.h"
#include "print/layouts.h"
#include "print/ledger_rows.h"
#include "store/format_text.h"
#include "store/sjis.h"

namespace paylark::print {

namespace {

constexpr double kRight = 290;
constexpr double kColumnStep = 25.5;
constexpr int kColumnsPerSheet = 10;
constexpr std::size_t kHeadingMaxBytes = 16;

struct ListColumn {
  std::string heading;
  double headingX = 35.5;  // offset of the heading within the column's 25.5 mm
  LedgerColumn values;
  bool summary = false;
};

LedgerColumn SumOf(const PeriodBlock& period, const std::vector<int>& slots) {
  LedgerColumn sum = ZeroLedgerColumn();
  for (int slot : slots) AddLedgerColumn(sum, LedgerValues(period.Payment(slot), period.Deduction(slot)));
  return sum;
}

std::vector<ListColumn> Columns(const ReportSource& source) {
  const PeriodBlock& period = source.Period();
  const std::vector<int> active = ActiveSlots(period);
  std::vector<ListColumn> columns;
  for (int slot : active)
    columns.push_back({period.Employee(slot).Name(), 35.5, LedgerValues(period.Payment(slot), period.Deduction(slot)), false});
  if (source.options->printClassTotals) {
    for (const CategoryGroup& group : CategoryGroups(period)) {
      const int count = static_cast<int>(group.slots.size());
      std::string heading = Format("%s計(%d名)", group.name.c_str(), count);
      if (SjisWidth(heading) > kHeadingMaxBytes) heading = Format("%s計(%d)", group.name.c_str(), count);
      columns.push_back({heading, 35.5, SumOf(period, group.slots), true});
    }
  }
  columns.push_back({Format("合 計(%d名)", static_cast<int>(active.size())), 40, SumOf(period, active), true});
  return columns;
}

// The third bonus's name spaced out: its first four characters, a blank after each but the last.
std::string SpacedName(const std::string& name) {
  const std::string sjis = ToSjis(name);
  std::string spaced;
  int characters = 0;
  for (std::size_t i = 0; i < sjis.size() && characters < 4; ++characters) {
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size() ? 2 : 1;
    if (characters > 0) spaced += ' ';
    spaced += sjis.substr(i, width);
    i += width;
  }
  return FromSjis(spaced);
}

std::string Title(const ReportSource& source) {
  const EraYear& year = source.open->eraYear;
  std::string title = Format("%s%d年  ", year.era.c_str(), year.year);
  const int period = source.PeriodIndex();
  if (IsSalaryPeriod(period))
    title = Format("%s%d 月 分 給 与", title.c_str(), period);
  else if (period == 13)
    title += "夏 期 賞 与";
  else if (period == 14)
    title += "冬 季 賞 与";
  else
    title += SpacedName(source.options->thirdBonusName);
  return title + " 一 覧";
}

}  // namespace

void DrawMonthlyList(PageModel& page, const ReportSource& source, int pageNumber, int pageCount) {
  page.SetFont(kMincho, 16);
  page.PutText(Title(source), 100, 20);
  page.SetFontSize(10);
  page.PutText(source.Period().company.Name(), 12, 22);
  page.PutText(ReportDateText(source.today), 220, 22);
  page.PutText(Format("Page %d / %d", pageNumber, pageCount), 260, 22);

  DrawLedgerGrid(page, kRight);
  for (int j = 0; j < kColumnsPerSheet; ++j) page.PutLine(35 + kColumnStep * j, kLedgerTop, 35 + kColumnStep * j, kLedgerBottom);
  DrawLedgerLabels(page, *source.options, kRight);

  if (pageNumber < 1) return;
  const std::vector<ListColumn> columns = Columns(source);
  const std::size_t first = static_cast<std::size_t>(kColumnsPerSheet) * static_cast<std::size_t>(pageNumber - 1);
  for (int j = 0; j < kColumnsPerSheet && first + static_cast<std::size_t>(j) < columns.size(); ++j) {
    const ListColumn& column = columns[first + static_cast<std::size_t>(j)];
    const double left = kColumnStep * j;
    page.PutText(column.heading, column.headingX + left, 29.5);
    DrawLedgerColumn(page, column.values, 40 + left, column.summary ? 10 : 9, column.summary);
  }
}

}  // namespace paylark::print
