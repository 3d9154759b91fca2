// 年末調整一覧表 of the company, A4 landscape, and its CSV: one row per employee with the year's
// figures, where his adjustment stands and whether his 源泉徴収票 goes to the 税務署; the totals and
// the 法定調書合計表 (給与所得の源泉徴収票合計表) figures after the last row.
#include <algorithm>
#include <string>

#include "entry/display_format.h"
#include "print/ledger_rows.h"
#include "print/year_end_documents.h"
#include "store/format_text.h"

namespace paylark::print {

FilingFacts FilingFactsOf(const YearEndEmployee& e) {
  FilingFacts f;
  f.retired = e.adjustment.pay.retired;
  if (e.particulars) {
    f.officer = e.particulars->officer;
    f.retired = f.retired || e.particulars->retired.has_value();
  }
  return f;
}

std::string AdjustmentStatus(const YearEndEmployee& e) {
  if (e.adjustment.exclusion) return "対象外 (" + *e.adjustment.exclusion + ")";
  return e.settledPeriod > 0 ? "精算済" : "計算済";
}

namespace {

// The columns of the list and of the CSV.
struct ListRow {
  std::string key, name, status;
  SlipAmounts slip;
  Yen social = 0, deductions = 0, taxable = 0, annualTax = 0, withheld = 0, difference = 0;
  FilingDecision filing;
};

ListRow RowOf(const YearEndSource& source, const YearEndEmployee& e) {
  ListRow r;
  r.key = e.adjustment.pay.key;
  r.name = e.name;
  r.status = AdjustmentStatus(e);
  r.slip = SlipAmountsOf(e.adjustment);
  const YearEndResult& x = e.adjustment.result;
  if (e.adjustment.exclusion) {
    r.social = e.adjustment.pay.socialInsurance;
    r.withheld = e.adjustment.pay.withheld;
  } else {
    r.social = CheckedAdd(x.socialInsurance, x.smallBusinessMutualAid);
    r.deductions = x.deductionsTotal;
    r.taxable = x.taxableIncome;
    r.annualTax = x.annualTax;
    r.withheld = x.withheld;
    r.difference = x.difference;
  }
  r.filing = TaxOfficeFiling(source.rules->filing, e.adjustment, FilingFactsOf(e));
  return r;
}

StatutoryTotals TotalsOf(const YearEndSource& source) {
  std::vector<FiledEmployee> filed;
  for (const YearEndEmployee& e : source.employees) filed.push_back({&e.adjustment, FilingFactsOf(e)});
  return StatutoryTotalsOf(source.rules->filing, filed);
}

struct ListColumn {
  const char* heading;
  double x;      // left edge
  bool amount;   // right-aligned at the next column's edge
};
constexpr ListColumn kList[] = {
    {"受給者番号", 10, false}, {"氏名", 36, false},          {"状態", 70, false},
    {"支払金額", 112, true},   {"社会保険料等", 134, true},   {"所得控除合計", 154, true},
    {"課税給与所得", 174, true}, {"年調年税額", 194, true},    {"徴収済税額", 212, true},
    {"過不足額", 230, true},   {"税務署提出", 248, false},
};
constexpr double kListRight = 287;
constexpr double kListTop = 28;
constexpr double kListRow = 5.6;

void Amount(PageModel& page, Yen value, double right, double y) {
  const std::string text = FormatAmount(0, value);
  page.PutText(text, right - 1 - page.TextEnd(text, 0), y);
}

void DrawListRow(PageModel& page, const ListRow& r, double top) {
  const double y = top + 1.3;
  page.PutText(r.key, kList[0].x + 1, y);
  page.PutText(r.name, kList[1].x + 1, y);
  page.condensed = true;
  page.PutText(r.status, kList[2].x + 1, y);
  page.condensed = false;
  const Yen amounts[] = {r.slip.paid, r.social, r.deductions, r.taxable, r.annualTax, r.withheld, r.difference};
  for (int i = 0; i < 7; ++i) Amount(page, amounts[i], kList[4 + i].x, y);
  if (r.key.empty()) return;  // the totals' row
  page.condensed = true;
  page.PutText(std::string(r.filing.filed ? "○ " : "－ ") + r.filing.reason, kList[10].x + 1, y);
  page.condensed = false;
}

void DrawList(PageModel& page, const YearEndSource& source, int sheet, int sheets) {
  const std::vector<EraYear> eras = EraYearsOf(source.year);
  const std::string year = eras.empty() ? std::to_string(source.year) : eras.front().era + Format("%2d", eras.front().year);
  page.SetFont(kMincho, 14);
  page.PutText(year + "年分  年末調整一覧表", 100, 10);
  page.SetFont(kMincho, 9);
  page.PutText(source.companyName, 10, 20);
  page.PutText(ReportDateText(source.today), 220, 20);
  page.PutText(Format("%d / %d", sheet + 1, sheets), 270, 10);

  page.SetFont(kMincho, 8);
  page.SelectPen(page.thinPen);
  page.FillBox(10, kListTop, kListRight, kListTop + kListRow);
  for (const ListColumn& c : kList) page.PutText(c.heading, c.x + 1, kListTop + 1.3);
  const std::size_t from = static_cast<std::size_t>(sheet) * kYearEndListRows;
  const std::size_t to = std::min(source.employees.size(), from + kYearEndListRows);
  double top = kListTop + kListRow;
  for (std::size_t i = from; i < to; ++i) {
    DrawListRow(page, RowOf(source, source.employees[i]), top);
    top += kListRow;
    page.PutLine(10, top, kListRight, top);
  }
  const bool last = sheet + 1 == sheets;
  if (last) {
    // The totals of every employee.
    ListRow total;
    total.name = "合計 " + std::to_string(source.employees.size()) + "人";
    for (const YearEndEmployee& e : source.employees) {
      const ListRow r = RowOf(source, e);
      AddTo(total.slip.paid, r.slip.paid);
      AddTo(total.social, r.social);
      AddTo(total.deductions, r.deductions);
      AddTo(total.taxable, r.taxable);
      AddTo(total.annualTax, r.annualTax);
      AddTo(total.withheld, r.withheld);
      AddTo(total.difference, r.difference);
    }
    page.bold = true;
    DrawListRow(page, total, top);
    page.bold = false;
    top += kListRow;
  }
  page.SelectPen(page.thickPen);
  page.PutFrame(10, kListTop, kListRight, top);
  page.SelectPen(page.thinPen);
  for (const ListColumn& c : kList) page.PutLine(c.x, kListTop, c.x, top);
  if (!last) return;

  const StatutoryTotals t = TotalsOf(source);
  const double y = top + 6;
  page.SetFont(kMincho, 9);
  page.PutText("法定調書合計表 (給与所得の源泉徴収票合計表)", 10, y);
  page.SetFont(kMincho, 8);
  const double rows[] = {y + 5, y + 10.6, y + 16.2};
  page.PutFrame(10, rows[0], 150, rows[2] + kListRow);
  page.PutLine(10, rows[1], 150, rows[1]);
  page.PutLine(10, rows[2], 150, rows[2]);
  page.PutText("区分", 11, rows[0] + 1.3);
  page.PutText("人員", 72, rows[0] + 1.3);
  page.PutText("支払金額", 92, rows[0] + 1.3);
  page.PutText("源泉徴収税額", 124, rows[0] + 1.3);
  const std::pair<const char*, StatutoryRow> lines[] = {{"俸給・給与・賞与等の総額", t.all},
                                                        {"源泉徴収票を提出するもの", t.filed}};
  for (int i = 0; i < 2; ++i) {
    const double ly = rows[i + 1] + 1.3;
    page.PutText(lines[i].first, 11, ly);
    Amount(page, lines[i].second.people, 85, ly);
    Amount(page, lines[i].second.paid, 120, ly);
    Amount(page, lines[i].second.tax, 150, ly);
  }
  page.SetFont(kMincho, 7);
  page.PutText("前々年に提出すべき源泉徴収票が" + std::to_string(source.rules->filing.electronicCount) +
                   "枚以上の場合は電子提出 (e-Tax・eLTAX)",
               10, rows[2] + kListRow + 2);
}

std::string Quoted(const std::string& field) {
  std::string q = "\"";
  for (char c : field) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

}  // namespace

Document YearEndListDocument(const YearEndSource& source) {
  Document d;
  d.title = "年末調整一覧表";
  d.landscape = true;
  d.pageCount = std::max(1, static_cast<int>((source.employees.size() + kYearEndListRows - 1) / kYearEndListRows));
  d.drawPage = [&source, count = d.pageCount](PageModel& page, int sheet) { DrawList(page, source, sheet, count); };
  return d;
}

std::string YearEndListCsv(const YearEndSource& source) {
  std::string csv = "\xEF\xBB\xBF";
  auto line = [&csv](const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) csv += (i ? "," : "") + Quoted(fields[i]);
    csv += "\r\n";
  };
  line({"受給者番号", "氏名", "状態", "支払金額", "社会保険料等", "所得控除合計", "課税給与所得", "年調年税額",
        "徴収済税額", "過不足額", "税務署提出", "提出の判定"});
  auto n = [](Yen v) { return std::to_string(v); };
  for (const YearEndEmployee& e : source.employees) {
    const ListRow r = RowOf(source, e);
    line({r.key, r.name, r.status, n(r.slip.paid), n(r.social), n(r.deductions), n(r.taxable), n(r.annualTax),
          n(r.withheld), n(r.difference), r.filing.filed ? "提出" : "提出不要", r.filing.reason});
  }
  const StatutoryTotals t = TotalsOf(source);
  line({"法定調書合計表", "俸給・給与・賞与等の総額", n(t.all.people) + "人", n(t.all.paid), "", "", "", "", n(t.all.tax)});
  line({"法定調書合計表", "源泉徴収票を提出するもの", n(t.filed.people) + "人", n(t.filed.paid), "", "", "", "",
        n(t.filed.tax)});
  return csv;
}

}  // namespace paylark::print
