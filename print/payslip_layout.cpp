// The payslip (給与明細書 / 賞与明細書) of one employee: the upper half of an A4 portrait sheet at
// the page model's origin. On plain paper the frame and its labels are drawn; on the pre-printed
// form only the values. Everything comes from the period in memory except the year-to-date
// totals, which also read the earlier periods of the yearly file.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "entry/display_format.h"
#include "entry/number_parse.h"
#include "print/employee_groups.h"
#include "print/layouts.h"
#include "print/payslip_values.h"
#include "print/year_to_date.h"
#include "store/format_text.h"
#include "store/sjis.h"

namespace paylark::print {
namespace {

constexpr int kPreprintedForm = 2;
constexpr int kAmountWidth = 10;
constexpr int kMemoLines = 5;
constexpr double kFirstRowY = 54;
constexpr double kRowPitch = 4.27;

double RowY(int row) { return kFirstRowY + kRowPitch * row; }

std::string Amount(Yen value) { return FormatAmount(kAmountWidth, value); }
// A deduction's amount; a 年末調整 refund (a negative 過不足額) reads "還付" and the amount refunded,
// in the same width.
std::string DeductionAmount(const std::string& name, Yen value) {
  if (value >= 0 || name != kYearEndItemKey.substr(1)) return Amount(value);
  return "還付" + FormatAmount(kAmountWidth - 2 * 2, CheckedSub(0, value));  // 還付: two double-width characters
}

// ---------------------------------------------------------------------------------------------
// Frame and labels of plain paper

void DrawHeaderFrame(PageModel& page) {
  page.SetFont(kGothic, 16);
  page.SelectPen(page.thinPen);
  page.PutFrame(17.5, 10, 108, 40);   // 氏名
  page.PutFrame(114, 13, 178, 35);    // メモ
  page.PutFrame(182, 17, 200, 35);    // 受領印
  page.PutText("明細書", 86, 13);
  page.SetFontSize(9);
  page.PutText("氏　名", 25, 26);
  page.PutText("所　属", 25, 30.5);
  page.PutLine(124, 40.5, 177, 40.5);
  page.PutText("支給日", 126, 37);
  page.PutText("年", 152, 37);
  page.PutText("月", 161, 37);
  page.PutText("日", 172.5, 37);
  page.PutText("受領印", 190, 37);
}

struct Box {
  double x1, y1, x2, y2;
};
struct Label {
  std::string_view text;
  double x, y;
};

// One block: thick pen, shadings, the thick outer frame, thin inner lines, labels in size 9.
void DrawBlock(PageModel& page, const Box& outer, std::initializer_list<Box> shadings,
               std::initializer_list<Box> lines, std::initializer_list<Label> labels) {
  page.SelectPen(page.thickPen);
  for (const Box& b : shadings) page.FillBox(b.x1, b.y1, b.x2, b.y2);
  page.PutFrame(outer.x1, outer.y1, outer.x2, outer.y2);
  for (const Box& l : lines) page.PutLine(l.x1, l.y1, l.x2, l.y2);
  page.SetFontSize(9);
  for (const Label& t : labels) page.PutText(t.text, t.x, t.y);
}

void DrawBlockFrames(PageModel& page, bool paidInCash) {
  DrawBlock(page, {17.5, 46.5, 55, 123.5}, {{17.5, 46.5, 55, 52}, {17.5, 46.5, 40.5, 123.5}},
            {{17.5, 52, 55, 52}, {40.5, 52, 40.5, 123.5}}, {{"勤　　　　怠", 27, 48}});
  DrawBlock(page, {17.5, 128.5, 55, 138}, {{17.5, 128.5, 40.5, 138}},
            {{17.5, 133.5, 55, 133.5}, {40.5, 128.5, 40.5, 138}},
            {{"税", 21, 129.5}, {"額", 28.1, 129.5}, {"表", 35.2, 129.5}, {"扶 養 人 数", 21, 134}});
  DrawBlock(page, {57, 46.5, 103.5, 138},
            {{57, 46.5, 103.5, 52}, {57, 46.5, 80, 138}, {57, 133.5, 103.5, 138}},
            {{57, 52, 103.5, 52}, {57, 133.5, 103.5, 133.5}, {80, 52, 80, 138}},
            {{"支　　　　　給", 70, 48}, {"合     計", 62, 134}});
  DrawBlock(page, {105.5, 46.5, 152, 138},
            {{105.5, 46.5, 152, 52}, {105.5, 46.5, 128.5, 138}, {105.5, 133.5, 152, 138}},
            {{105.5, 52, 152, 52}, {105.5, 133.5, 152, 133.5}, {128.5, 52, 128.5, 138}},
            {{"控　　　　　除", 118, 48}, {"合     計", 110, 134}});
  DrawBlock(page, {154, 46.5, 200.5, 74}, {{154, 46.5, 200.5, 52}, {154, 46.5, 177, 74}},
            {{154, 52, 200.5, 52}, {154, 69, 200.5, 69}, {177, 52, 177, 74}},
            {{"そ　　の　　他", 166, 48}, {"合　　　計", 158, 70}});
  DrawBlock(page, {154, 78, 200.5, 83}, {{154, 78, 177, 83}}, {{177, 78, 177, 83}}, {{"差引支給額", 157, 79}});
  DrawBlock(page, {154, 84, 200.5, 107.5},
            {{154, 84, 200.5, 89.5}, {154, 84, 177, 107.5}, {154, 102, 200.5, 107.5}},
            {{154, 89.5, 200.5, 89.5}, {154, 102, 200.5, 102}, {177, 89.5, 177, 107.5}},
            {{paidInCash ? "現 金 支 給 額" : "振 込 支 給 額", 166, 85.5}, {"合　　　計", 158, 103}});
  DrawBlock(page, {154, 123.8, 200.5, 138}, {{154, 123.8, 177, 138}},
            {{159, 128.5, 200.5, 128.5}, {159, 133, 200.5, 133}, {159, 123.8, 159, 138}, {177, 123.8, 177, 138}},
            {{"累", 155, 127.2}, {"計", 155, 131.4}, {"支　給　額", 160, 125}, {"社会保険料", 160, 129.5},
             {"所　得　税", 160, 134}});
}

// ---------------------------------------------------------------------------------------------
// Values

std::string Title(const ReportSource& source) {
  const EraYear& year = source.open->eraYear;
  const int period = source.PeriodIndex();
  if (IsSalaryPeriod(period)) return Format("%s%d年 %d月分給与", year.era.c_str(), year.year, period);
  if (period == kFirstBonusPeriod) return Format("%s%d年 夏期賞与", year.era.c_str(), year.year);
  if (period == kFirstBonusPeriod + 1) return Format("%s%d年 冬期賞与", year.era.c_str(), year.year);
  return Format("%s%d年 %s", year.era.c_str(), year.year, source.options->thirdBonusName.c_str());
}

// The department, then "・" and the category; the category alone without a department.
std::string DepartmentLine(const EmployeeRecord& employee) {
  const std::string department = Trim(employee.Department());
  const std::string category = CategoryName(employee);
  return department.empty() ? category : department + "・" + category;
}

// The printed name of an item list entry: the placeholder resolved, the prefix letter dropped.
std::string RowName(const std::string& entry, const Options& options) {
  const std::string resolved = ResolveItemKey(entry, options);
  if (resolved.empty()) return resolved;
  // The prefix is one character; a multi-byte UTF-8 first character is dropped whole.
  std::size_t length = 1;
  while (length < resolved.size() && (static_cast<unsigned char>(resolved[length]) & 0xC0) == 0x80) ++length;
  return resolved.substr(length);
}

bool IsHoursItem(std::string_view name) {
  return name.find("時間") != std::string_view::npos || name.find("残業") != std::string_view::npos;
}

// A name wider than this many bytes (子ども・子育て支援金, 20) is drawn condensed and, where that is
// still too wide, smaller, so that it ends within the 25 mm before the values of its column.
constexpr std::size_t kWidestPlainName = 14;
constexpr double kNameWidth = 25;

// The rows of one block for the employee's pay form: row r at 54 + 4.27 r whether or not the rows
// above it are printed. `drawValue` draws the value of a printed row and returns what it adds to
// the block's sum.
template <typename DrawValue>
Yen DrawRows(PageModel& page, const std::vector<std::string>& entries, const Options& options, double nameX,
             DrawValue drawValue) {
  Yen sum = 0;
  for (std::size_t r = 0; r < entries.size(); ++r) {
    const std::string name = RowName(entries[r], options);
    if (name.empty()) continue;
    const double y = RowY(static_cast<int>(r));
    const bool condensed = page.condensed;
    const float height = page.fontHeight;
    if (const std::size_t bytes = SjisWidth(name); bytes > kWidestPlainName) {
      page.condensed = true;
      const double fitting = kNameWidth / (static_cast<double>(bytes) * 3.0 / 7.0);  // condensed: 3/7 of the height
      if (fitting < page.fontHeight) page.fontHeight = static_cast<float>(fitting);
    }
    page.PutText(name, nameX, y);
    page.condensed = condensed;
    page.fontHeight = height;
    AddTo(sum, drawValue(name, y));
  }
  return sum;
}

}  // namespace

void DrawPayslip(PageModel& page, const ReportSource& source, int slot) {
  const Options& options = *source.options;
  const PeriodBlock& period = source.Period();
  const EmployeeRecord& employee = period.Employee(slot);
  const AttendanceRecord& attendance = period.Attendance(slot);
  const PaymentRecord& payments = period.Payment(slot);
  const DeductionRecord& deductions = period.Deduction(slot);
  const bool plainPaper = options.formType != kPreprintedForm;
  const bool paidInCash = employee.PaidInCash();

  // The yearly file is read before anything is drawn, so that a read error leaves no half page.
  YearToDate yearToDate;
  if (options.printYearToDate)
    yearToDate = YearToDateTotals(*source.open, slot, ParseIntegerOrZero(source.payDate.day));

  if (plainPaper) {
    DrawHeaderFrame(page);
    DrawBlockFrames(page, paidInCash);
  }

  page.SetFont(kMincho, 12);
  page.PutText(Title(source), 35, 14);

  page.SetFontSize(10);
  page.PutText(period.company.Name(), 25, 20.5);
  page.PutText(employee.Name() + "  様", 40, 26);
  page.PutText(DepartmentLine(employee), 40, 30.5);
  for (std::size_t k = 0; k < source.memo.size() && k < kMemoLines; ++k)
    page.PutText(source.memo[k], 115, 15 + 3.8 * static_cast<double>(k));
  page.PutText(page.dateEraYear, 138, 36.7);
  page.PutText(page.dateMonth, 156, 36.7);
  page.PutText(page.dateDay, 167, 36.7);

  const DerivedItemLists lists = DeriveItemLists(source.Items());
  const PayFormItems& items = lists.ForPayForm(employee.PayFormCode());

  DrawRows(page, items.Block(ItemBlock::Kintai), options, 18.5, [&](const std::string& name, double y) {
    const double value = AttendanceValue(attendance, name);
    page.PutText(IsHoursItem(name) ? FormatHours(value, options.timeStyle) : FormatDays(value), 43.5, y);
    return Yen{0};
  });

  page.PutText(employee.TaxColumn() != 0 ? "乙欄" : "甲欄", 47, 129.2);
  page.PutText(Format("%2d人", employee.Dependants()), 47, 134);

  DrawRows(page, items.Block(ItemBlock::Sikyu), options, 58, [&](const std::string& name, double y) {
    page.PutText(Amount(PaymentValue(payments, name, options)), 84.5, y);
    return Yen{0};
  });
  const Yen paymentTotal = payments.Get(Sikyu::Total);
  page.PutText(Amount(paymentTotal), 84.5, 134);

  DrawRows(page, items.Block(ItemBlock::Koujo), options, 106.5, [&](const std::string& name, double y) {
    page.PutText(DeductionAmount(name, DeductionValue(deductions, name, options)), 133, y);
    return Yen{0};
  });
  const Yen deductionTotal = deductions.Get(Koujo::Total);
  page.PutText(Amount(deductionTotal), 133, 134);

  // Other items that are not printed count neither here nor in the printed net pay.
  const Yen othersTotal =
      DrawRows(page, items.Block(ItemBlock::Sonota), options, 155, [&](const std::string& name, double y) {
        const Yen value = OtherValue(payments, name, options);
        page.PutText(Amount(value), 181.5, y);
        return value;
      });
  page.PutText(Amount(othersTotal), 181.5, 69.5);

  const Yen netPay = CheckedAdd(CheckedSub(paymentTotal, deductionTotal), othersTotal);
  page.PutText(Amount(netPay), 181.5, 79);

  if (plainPaper || !paidInCash) {
    page.PutText(paidInCash ? "現金支給" : "振込支給", 155, 90);
    page.PutText(Amount(netPay), 181.5, 90);
    page.PutText(Amount(netPay), 181.5, 103);
  } else {
    page.PutText(Amount(netPay), 181.5, 109.5);
  }

  if (options.printYearToDate) {
    page.PutText(Amount(yearToDate.taxable), 181.5, 124.5);
    page.PutText(Amount(yearToDate.social), 181.5, 129.2);
    page.PutText(Amount(yearToDate.incomeTax), 181.5, 134);
  }
}

}  // namespace paylark::print
