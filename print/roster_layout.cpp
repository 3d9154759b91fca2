// The employee roster (社員名簿一覧表): the master data of every employee in use, retired ones
// included, ten to a sheet in slot order, one column each.
#include <array>
#include <string>
#include <vector>

#include "entry/display_format.h"
#include "print/employee_groups.h"
#include "print/layouts.h"
#include "print/ledger_rows.h"
#include "store/format_text.h"
#include "store/sjis.h"

namespace paylark::print {

namespace {

constexpr double kTop = 27;
constexpr double kRowHeight = 5.5;
constexpr int kGridRows = 32;
constexpr double kBottom = kTop + kRowHeight * kGridRows;  // 203
constexpr double kRight = 288;
constexpr double kColumnStep = 25.5;
constexpr int kColumnsPerSheet = 10;
constexpr int kRows = 31;

constexpr int kFixedAllowanceRow = 18;  // 18..20, then 固定控除 21..23
constexpr int kMailRow = 30;
constexpr std::size_t kMailLineBytes = 16;
constexpr int kMailLines = 3;

std::array<std::string, kRows> RowLabels(const Options& options) {
  std::array<std::string, kRows> labels{
      "氏　　名",     "部　　署",       "社員区分",       "支給形態",       "税額表・性別",   "扶養人数",
      "基本給  ",     "残業手当(普通)", "残業手当(深夜)", "休日残業(普通)", "休日残業(深夜)", "交通費(非課税)",
      "交通費(課税)", "　支給単位  ",   "住民税(６月)",   "住民税(以外)",   "役職手当  ",     "家族手当  ",
      "",             "",               "",               "",               "",               "",
      "雇用保険対象", "健康保険料",     "介護保険料",     "厚生年金保険料", "厚生年金掛け金", "退職年月日",
      "メールアドレス"};
  for (int i = 0; i < 3; ++i) {
    labels[static_cast<std::size_t>(kFixedAllowanceRow + i)] = options.Name(static_cast<UserItem>(static_cast<int>(UserItem::FixedAllowance1) + i));
    labels[static_cast<std::size_t>(kFixedAllowanceRow + 3 + i)] =
        options.Name(static_cast<UserItem>(static_cast<int>(UserItem::FixedDeduction1) + i));
  }
  return labels;
}

std::string Amount(Yen value) { return FormatAmount(9, value); }

std::string PremiumText(bool subject, Yen amount) { return subject ? Amount(amount) : "     －"; }

std::string PayFormCell(const EmployeeRecord& e) {
  const int code = e.PayFormCode();
  std::string text = PayFormText(code);
  if (e.PaidInCash()) text += "(現金)";
  return text;
}

// "甲欄 / 男": the tax column and the employee's 性別 (nothing after the slash when not known).
std::string TaxColumnAndSex(const EmployeeRecord& e) {
  const char* sex = e.Sex() == 1 ? "男" : e.Sex() == 2 ? "女" : "";
  return std::string(e.TaxColumn() == 1 ? "乙欄" : "甲欄") + " / " + sex;
}

// "  yy/mm/dd" from the stored date's three 2-character parts; nothing when it is blank.
std::string RetirementText(const EmployeeRecord& e) {
  if (!e.Retired()) return "";
  const std::string date = e.RetirementDate();
  auto part = [&date](std::size_t at) { return at < date.size() ? date.substr(at, 2) : std::string(); };
  return Format("  %2s/%2s/%2s", part(0).c_str(), part(2).c_str(), part(4).c_str());
}

// Up to three lines of 16 bytes; a double-byte character is never split but moves to the next line.
std::vector<std::string> MailLines(const std::string& mail) {
  const std::string sjis = ToSjis(mail);
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < sjis.size() && static_cast<int>(lines.size()) < kMailLines) {
    const std::string line = CutToMaxLength(std::string_view(sjis).substr(at), kMailLineBytes);
    if (line.empty()) break;
    lines.push_back(FromSjis(line));
    at += line.size();
  }
  return lines;
}

std::array<std::string, kRows - 1> Values(const EmployeeRecord& e) {
  return {e.Name(),
          e.Department(),
          CategoryName(e),
          PayFormCell(e),
          TaxColumnAndSex(e),
          Format("%2d人 / %2d人", e.Dependants(), e.TaxDependants()),
          Amount(e.BasePay()),
          Amount(e.OvertimePrice(0)),
          Amount(e.OvertimePrice(1)),
          Amount(e.OvertimePrice(2)),
          Amount(e.OvertimePrice(3)),
          Amount(e.CommuteNonTaxable()),
          Amount(e.CommuteTaxable()),
          CommuteUnitText(e.CommuteUnit()),
          Amount(e.ResidentTaxJune()),
          Amount(e.ResidentTaxOther()),
          Amount(e.PositionAllowance()),
          Amount(e.FamilyAllowance()),
          Amount(e.FixedAllowance(0)),
          Amount(e.FixedAllowance(1)),
          Amount(e.FixedAllowance(2)),
          Amount(e.FixedDeduction(0)),
          Amount(e.FixedDeduction(1)),
          Amount(e.FixedDeduction(2)),
          e.EmploymentSubject() ? "     ○" : "     －",
          PremiumText(e.HealthSubject(), e.HealthPremium()),
          PremiumText(e.NursingCollected(), e.NursingPremium()),
          PremiumText(e.PensionSubject(), e.PensionPremium()),
          PremiumText(e.FundMember(), e.FundContribution()),
          RetirementText(e)};
}

}  // namespace

void DrawRoster(PageModel& page, const ReportSource& source, int pageNumber, int pageCount) {
  const PeriodBlock& period = source.Period();
  page.SetFont(kMincho, 16);
  page.PutText("社 員 名 簿 一 覧 表", 100, 18);
  page.SetFontSize(10);
  page.PutText(period.company.Name(), 12, 20);
  page.PutText(ReportDateText(source.today), 220, 20);
  page.PutText(Format("Page %d / %d", pageNumber, pageCount), 260, 20);

  for (int row = 0; row < kGridRows; ++row)
    if (row % 2 == 0 || row == kGridRows - 1) page.FillBox(10, kTop + kRowHeight * row, kRight, kTop + kRowHeight * (row + 1));
  page.SelectPen(page.thickPen);
  page.PutFrame(10, kTop, kRight, kBottom);
  page.PutLine(10, kTop + kRowHeight, kRight, kTop + kRowHeight);
  for (int j = 0; j < kColumnsPerSheet; ++j) page.PutLine(33 + kColumnStep * j, kTop, 33 + kColumnStep * j, kBottom);

  page.condensed = true;
  const std::array<std::string, kRows> labels = RowLabels(*source.options);
  for (int row = 0; row < kRows; ++row) page.PutText(labels[static_cast<std::size_t>(row)], 11, kTop + 1 + kRowHeight * row);

  if (pageNumber < 1) return;
  const std::vector<int> slots = UsedSlots(period);
  const std::size_t first = static_cast<std::size_t>(kColumnsPerSheet) * static_cast<std::size_t>(pageNumber - 1);
  for (int j = 0; j < kColumnsPerSheet && first + static_cast<std::size_t>(j) < slots.size(); ++j) {
    const EmployeeRecord& e = period.Employee(slots[first + static_cast<std::size_t>(j)]);
    const double x = 33.5 + kColumnStep * j;
    const std::array<std::string, kRows - 1> values = Values(e);
    for (int row = 0; row < kMailRow; ++row) page.PutText(values[static_cast<std::size_t>(row)], x, kTop + 1 + kRowHeight * row);
    const double mailY = kTop + 1 + kRowHeight * kMailRow;
    const std::vector<std::string> mail = MailLines(e.MailAddress());
    for (std::size_t line = 0; line < mail.size(); ++line) page.PutText(mail[line], x, mailY + 3.0 * static_cast<double>(line));
  }
}

}  // namespace paylark::print
