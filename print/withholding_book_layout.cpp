// 源泉徴収簿 (給与所得に対する源泉徴収簿), A4 landscape. Left: the monthly part, the twelve salary
// rows and up to three bonus rows with their totals (月区分, 支給月日, 総支給金額, 社会保険料等の控除額,
// 社会保険料等控除後の給与等の金額, 扶養親族等の数, 算出税額, 年末調整による過不足税額, 差引徴収税額).
// Right: the 年末調整 in the order of the calculation, from the 給与の総額 to the 過不足額 and its
// settlement.
#include <string>

#include "calc/withholding_book.h"
#include "entry/display_format.h"
#include "print/ledger_rows.h"
#include "print/year_end_documents.h"
#include "store/format_text.h"

namespace paylark::print {
namespace {

constexpr double kTop = 30;
constexpr double kRow = 5.5;
constexpr int kFontSize = 8;

struct Column {
  const char* heading;
  double right;  // the column's right edge
};
constexpr Column kColumns[] = {
    {"月区分", 22},        {"支給月日", 38},      {"総支給金額", 60},      {"社会保険料等\nの控除額", 82},
    {"社会保険料等控除後\nの給与等の金額", 106}, {"扶養親族\n等の数", 118}, {"算出税額", 138},
    {"年末調整による\n過不足税額", 158},        {"差引徴収税額", 178},
};
constexpr double kLeft = 10;

void RightAligned(PageModel& page, const std::string& text, double right, double y) {
  page.PutText(text, right - 1 - page.TextEnd(text, 0), y);
}

void Amount(PageModel& page, Yen value, double right, double y) {
  RightAligned(page, FormatAmount(0, value), right, y);
}

void Headings(PageModel& page, double top) {
  page.SetFont(kMincho, 6);
  double left = kLeft;
  for (const Column& c : kColumns) {
    const std::string heading = c.heading;
    const std::size_t br = heading.find('\n');
    if (br == std::string::npos) {
      page.PutText(heading, left + 1, top + 3);
    } else {
      page.PutText(heading.substr(0, br), left + 1, top + 1);
      page.PutText(heading.substr(br + 1), left + 1, top + 4);
    }
    page.PutLine(c.right, top, c.right, top + 8);
    left = c.right;
  }
}

void Row(PageModel& page, const std::string& label, const WithholdingBookRow* r, const WithholdingBookTotals* t,
         double top) {
  page.SetFont(kMincho, kFontSize);
  const double y = top + 1.2;
  page.PutText(label, kLeft + 1, y);
  if (r) {
    page.PutText(Format("%2d月%2d日", r->paid.month, r->paid.day), kColumns[0].right + 1, y);
    Amount(page, r->gross, kColumns[2].right, y);
    Amount(page, r->social, kColumns[3].right, y);
    Amount(page, r->afterSocial, kColumns[4].right, y);
    RightAligned(page, std::to_string(r->dependants) + "人", kColumns[5].right, y);
    Amount(page, r->tax, kColumns[6].right, y);
    if (r->adjustment != 0) Amount(page, r->adjustment, kColumns[7].right, y);
    Amount(page, r->collected, kColumns[8].right, y);
  } else if (t) {
    Amount(page, t->gross, kColumns[2].right, y);
    Amount(page, t->social, kColumns[3].right, y);
    Amount(page, t->afterSocial, kColumns[4].right, y);
    Amount(page, t->tax, kColumns[6].right, y);
    if (t->adjustment != 0) Amount(page, t->adjustment, kColumns[7].right, y);
    Amount(page, t->collected, kColumns[8].right, y);
  }
  page.PutLine(kLeft, top + kRow, kColumns[8].right, top + kRow);
}

// The monthly part; returns the bottom.
double MonthlyPart(PageModel& page, const WithholdingBook& book) {
  page.PutFrame(kLeft, kTop, kColumns[8].right, kTop + 8);
  Headings(page, kTop);
  double y = kTop + 8;
  const double salaryTop = y;
  page.SetFont(kMincho, kFontSize);
  for (int month = 1; month <= 12; ++month) {
    const WithholdingBookRow* row = nullptr;
    for (const WithholdingBookRow& r : book.salaries)
      if (r.period == month) row = &r;
    Row(page, Format("給与%2d月", month), row, nullptr, y);
    y += kRow;
  }
  page.bold = true;
  Row(page, "計", nullptr, &book.salaryTotal, y);
  y += kRow;
  page.SelectPen(page.thickPen);
  page.PutFrame(kLeft, salaryTop, kColumns[8].right, y);
  page.SelectPen(page.thinPen);
  const double bonusTop = y;
  for (std::size_t i = 0; i < 3; ++i) {
    const WithholdingBookRow* r = i < book.bonuses.size() ? &book.bonuses[i] : nullptr;
    Row(page, "賞与", r, nullptr, y);
    y += kRow;
  }
  Row(page, "計", nullptr, &book.bonusTotal, y);
  y += kRow;
  page.SelectPen(page.thickPen);
  page.PutFrame(kLeft, bonusTop, kColumns[8].right, y);
  page.SelectPen(page.thinPen);
  for (const Column& c : kColumns) page.PutLine(c.right, salaryTop, c.right, y);
  // More than three bonuses in a year do not fit the form: they are in the totals and said so.
  if (book.bonuses.size() > 3) {
    page.SetFont(kMincho, 7);
    page.PutText("賞与は" + std::to_string(book.bonuses.size()) + "回 (4回目以降は計に含む)", kLeft, y + 1.5);
  }
  return y;
}

struct Line {
  std::string label;
  std::optional<Yen> amount;
};

std::vector<Line> AdjustmentLines(const YearEndEmployee& e, const WithholdingBook& book) {
  const YearEndResult& r = e.adjustment.result;
  const Declaration* d = e.declaration ? &*e.declaration : nullptr;
  const Yen declaredSocial = d ? d->declaredSocialInsurance : 0;
  const Yen previousPaid = d ? d->previousPaid : 0;
  std::vector<Line> lines = {
      {"給料・手当等  金額", book.salaryTotal.gross},
      {"              税額", book.salaryTotal.tax},
      {"賞与等        金額", book.bonusTotal.gross},
      {"              税額", book.bonusTotal.tax},
  };
  if (previousPaid != 0) {
    lines.push_back({"前職分        金額", previousPaid});
    lines.push_back({"              税額", d->previousWithheld});
  }
  const Yen adjusted = CheckedSub(r.salaryIncome, r.incomeAdjustment);
  const Yen fromPay = CheckedSub(r.socialInsurance, declaredSocial);
  const std::vector<Line> more = {
      {"給与の総額", r.totalPay},
      {"徴収税額の計", r.withheld},
      {"給与所得控除後の給与等の金額", r.salaryIncome},
      {"所得金額調整控除額", r.incomeAdjustment},
      {"給与所得控除後の給与等の金額(調整控除後)", adjusted},
      {"社会保険料等控除額 給与等からの控除分", fromPay},
      {"                   申告による社会保険料", declaredSocial},
      {"                   申告による小規模企業共済等掛金", r.smallBusinessMutualAid},
      {"生命保険料の控除額", r.lifeInsurance},
      {"地震保険料の控除額", r.earthquakeInsurance},
      {"配偶者(特別)控除額", CheckedAdd(r.spouse, r.spouseSpecial)},
      {"特定親族特別控除額", r.specificRelative},
      {"扶養控除額・基礎控除額及び障害者等の控除額の合計額", CheckedAdd(CheckedAdd(r.dependants, r.basic), r.disabilityEtc)},
      {"所得控除額の合計額", r.deductionsTotal},
      {"差引課税給与所得金額 (1,000円未満切捨て)", r.taxableIncome},
      {"算出所得税額", r.computedTax},
      {"(特定増改築等)住宅借入金等特別控除額", r.housingLoanCredit},
      {"年調所得税額", r.adjustedIncomeTax},
      {"年調年税額 (×102.1%, 100円未満切捨て)", r.annualTax},
  };
  lines.insert(lines.end(), more.begin(), more.end());
  if (r.difference > 0) lines.push_back({"差引不足額", r.difference});
  else lines.push_back({"差引超過額", -r.difference});
  return lines;
}

std::string PeriodName(int period) {
  if (period >= 1 && period <= 12) return std::to_string(period) + "月給与";
  return "賞与(" + std::to_string(period - 12) + ")";
}

void AdjustmentPart(PageModel& page, const YearEndEmployee& e, const WithholdingBook& book) {
  constexpr double left = 185, right = 287, amountRight = 285;
  page.SetFont(kMincho, 9);
  page.PutText("年 末 調 整", left + 35, kTop - 5);
  page.SetFont(kMincho, 7);
  double y = kTop;
  const double step = 4.6;
  if (e.adjustment.exclusion) {
    page.PutFrame(left, y, right, y + 10);
    page.PutText("年末調整の対象外: " + *e.adjustment.exclusion, left + 2, y + 3.5);
    return;
  }
  for (const Line& line : AdjustmentLines(e, book)) {
    page.PutFrame(left, y, right, y + step);
    page.PutText(line.label, left + 1.5, y + 1.2);
    if (line.amount) Amount(page, *line.amount, amountRight, y + 1.2);
    y += step;
  }
  const YearEndResult& r = e.adjustment.result;
  page.PutFrame(left, y, right, y + step);
  if (e.settledPeriod > 0 && r.difference != 0) {
    const std::string how = r.difference > 0 ? "本年最後の給与から徴収" : "本年最後の給与から還付";
    page.PutText("精算: " + how + " (" + PeriodName(e.settledPeriod) + ")", left + 1.5, y + 1.2);
  } else if (r.difference != 0) {
    page.PutText("精算: 未精算", left + 1.5, y + 1.2);
  }
}

void DrawBook(PageModel& page, const YearEndSource& source, const YearEndEmployee& e) {
  const WithholdingBook book = source.files ? GatherWithholdingBook(*source.files, source.year, e.adjustment.pay.key)
                                            : WithholdingBook{};
  const std::vector<EraYear> eras = EraYearsOf(source.year);
  const std::string year = eras.empty() ? std::to_string(source.year) : eras.front().era + Format("%2d", eras.front().year);
  page.SetFont(kMincho, 14);
  page.PutText(year + "年分  給与所得に対する源泉徴収簿", 60, 10);
  page.SetFont(kMincho, 9);
  page.PutText(source.companyName, 10, 20);
  page.PutText("受給者番号 " + e.adjustment.pay.key, 90, 20);
  page.PutText("氏名 " + e.name, 150, 20);
  const bool declared = e.declaration && e.declaration->dependantForm;
  page.PutText(std::string("扶養控除等申告書 ") + (declared ? "提出有" : "提出無") + "  " +
                   (e.adjustment.pay.taxColumn == 1 ? "乙欄" : "甲欄"),
               215, 20);
  page.SelectPen(page.thinPen);
  MonthlyPart(page, book);
  AdjustmentPart(page, e, book);
}

}  // namespace

Document WithholdingBookDocument(const YearEndSource& source, std::vector<std::size_t> indexes) {
  if (indexes.empty())
    for (std::size_t i = 0; i < source.employees.size(); ++i) indexes.push_back(i);
  Document d;
  d.title = "源泉徴収簿";
  d.landscape = true;
  d.pageCount = static_cast<int>(indexes.size());
  d.drawPage = [&source, indexes](PageModel& page, int sheet) {
    DrawBook(page, source, source.employees.at(indexes.at(static_cast<std::size_t>(sheet))));
  };
  return d;
}

}  // namespace paylark::print
