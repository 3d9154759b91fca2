#include "print/withholding_slip.h"

#include <algorithm>

#include "calc/withholding_scope.h"
#include "entry/display_format.h"
#include "print/ledger_rows.h"
#include "store/format_text.h"
#include "store/sjis.h"

namespace paylark::print {
namespace {

constexpr double kPointMm = 1 / 2.8;

std::optional<Yen> IfSet(Yen amount) { return amount != 0 ? std::optional<Yen>(amount) : std::nullopt; }

// A text cut into lines of at most `width` Shift-JIS bytes (a text without a Shift-JIS form stays
// whole; the page model draws what it cannot as "？").
std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
  std::vector<std::string> lines;
  std::string rest = text;
  while (!rest.empty()) {
    std::string line;
    try {
      line = CutUtf8ToSjisLength(rest, width);
    } catch (const std::exception&) {
      line = rest;
    }
    if (line.empty()) line = rest;
    lines.push_back(line);
    rest.erase(0, line.size());
  }
  return lines;
}

std::string Person(const DeclaredPerson& p, const char* kind) {
  return p.name + (p.relation.empty() ? "" : "(" + p.relation + ")") + "  " + kind;
}

std::string YenText(Yen amount) { return FormatAmount(0, amount) + "円"; }

}  // namespace

WithholdingSlip WithholdingSlipOf(const YearEndSource& source, std::size_t index, SlipForm form) {
  const YearEndEmployee& e = source.employees.at(index);
  const YearEndRules& rules = *source.rules;
  const EmployeeYearEnd& a = e.adjustment;
  const bool adjusted = !a.exclusion;
  const YearEndResult& r = a.result;
  WithholdingSlipLayoutOf(source.year);  // a year without a form fails here, before any drawing

  WithholdingSlip s;
  s.year = source.year;
  s.form = form;
  s.recipientNumber = a.pay.key;
  s.name = e.name;
  s.kind = a.pay.bonus != 0 ? "給料・賞与" : "給料";
  if (e.particulars) {
    const EmployeeParticulars& p = *e.particulars;
    s.furigana = p.furigana;
    s.position = p.position;
    std::string first = p.postalCode.empty() ? "" : "〒" + p.postalCode;
    if (!first.empty()) s.address.push_back(first);
    for (const std::string& line : Wrap(p.address, 56)) s.address.push_back(line);
    s.hired = p.hired.has_value();
    s.retired = p.retired.has_value() || a.pay.retired;
    if (p.retired) s.jobDate = ReportDateText(*p.retired);
    else if (p.hired) s.jobDate = ReportDateText(*p.hired);
  } else {
    s.retired = a.pay.retired;
  }
  if (e.birth) s.birth = ReportDateText(*e.birth);

  const SlipAmounts amounts = SlipAmountsOf(a);
  s.paid = amounts.paid;
  s.tax = amounts.tax;
  s.otsu = a.pay.taxColumn == 1;
  if (adjusted) {
    s.salaryIncome = CheckedSub(r.salaryIncome, r.incomeAdjustment);
    s.deductionsTotal = r.deductionsTotal;
    s.spouseDeduction = IfSet(CheckedAdd(r.spouse, r.spouseSpecial));
    s.socialInsurance = IfSet(CheckedAdd(r.socialInsurance, r.smallBusinessMutualAid));
    s.smallBusiness = IfSet(r.smallBusinessMutualAid);
    s.lifeInsurance = IfSet(r.lifeInsurance);
    s.earthquake = IfSet(r.earthquakeInsurance);
    s.housingLoan = IfSet(r.housingLoanCredit);
    s.basic = r.basic;
    s.incomeAdjustment = IfSet(r.incomeAdjustment);
    s.specificRelativeDeduction = IfSet(r.specificRelative);
  } else {
    s.socialInsurance = IfSet(a.pay.socialInsurance);
  }

  if (e.declaration) {
    const Declaration& d = *e.declaration;
    s.counts = CountRelatives(rules, d, adjusted ? &r : nullptr);
    if (adjusted) {
      s.lifeNew = IfSet(d.lifeNewGeneral);
      s.lifeOld = IfSet(d.lifeOldGeneral);
      s.careMedical = IfSet(d.lifeCareMedical);
      s.pensionNew = IfSet(d.lifeNewPension);
      s.pensionOld = IfSet(d.lifeOldPension);
      s.oldLongTerm = IfSet(d.oldLongTerm);
    }
    if (d.spouse && s.counts->spouse) {
      s.spouse = {d.spouse->name, SpouseKindLabel(KindOfSpouse(rules, *d.spouse))};
      if (adjusted) s.spouseIncome = d.spouse->income;
    }
    std::vector<std::string> later;
    for (const DeclaredPerson& p : d.dependants) {
      const RelativeKind kind = KindOfRelative(rules, p);
      if (kind == RelativeKind::NotCounted) continue;
      std::vector<std::string>& list = kind == RelativeKind::Under16 ? s.under16s : s.dependants;
      if (list.size() < 4) list.push_back(Person(p, RelativeKindLabel(kind)));
      else later.push_back(p.name + "(" + RelativeKindLabel(kind) + ")");
    }
    s.selfSpecialDisability = d.disability == DisabilityKind::Special || d.disability == DisabilityKind::SpecialCohabiting;
    s.selfOtherDisability = d.disability == DisabilityKind::General;
    s.widow = d.widow;
    s.singleParent = d.singleParent;
    s.workingStudent = d.workingStudent;
    if (adjusted && (d.previousPaid != 0 || d.previousWithheld != 0))
      s.remarks.push_back("前職分 支払金額" + YenText(d.previousPaid) + " 税額" + YenText(d.previousWithheld) +
                          " 社会保険料" + YenText(d.previousSocialInsurance));
    if (!later.empty()) {
      std::string text = "5人目以降の扶養親族:";
      for (const std::string& name : later) text += " " + name;
      s.remarks.push_back(text);
    }
  }
  if (!adjusted) s.remarks.push_back("年末調整なし (" + *a.exclusion + ")");

  const CompanyParticulars& c = source.company;
  if (form == SlipForm::Report) s.payerNumber = c.corporateNumber;
  s.payerAddress = (c.postalCode.empty() ? "" : "〒" + c.postalCode + " ") + c.address;
  s.payerName = c.name.empty() ? source.companyName : c.name;
  s.payerPhone = c.telephone;
  return s;
}

namespace {

void Heading(PageModel& page, const SlipBoxPlace& p, double top) {
  page.SetFont(kMincho, kSlipHeadingSize);
  std::string heading = p.heading;
  double y = p.y1 + 0.5;
  for (std::size_t from = 0; from <= heading.size();) {
    const std::size_t end = std::min(heading.find('\n', from), heading.size());
    page.PutText(heading.substr(from, end - from), p.x1 + 0.5, top + y);
    y += kSlipHeadingSize * kPointMm + 0.1;
    from = end + 1;
  }
}

void Amount(PageModel& page, const SlipBoxPlace& p, double top, const std::string& text) {
  page.SetFont(kMincho, kSlipAmountSize);
  const double width = page.TextEnd(text, 0);
  page.PutText(text, SlipAmountRight(p) - width, top + SlipValueTop(p));
}

void Mark(PageModel& page, const SlipBoxPlace& p, double top, const char* text) {
  page.SetFont(kMincho, kSlipTextSize);
  const double width = page.TextEnd(text, 0);
  page.PutText(text, (p.x1 + p.x2 - width) / 2, top + SlipValueTop(p));
}

void Lines(PageModel& page, const SlipBoxPlace& p, double top, const std::vector<std::string>& lines) {
  page.SetFont(kMincho, kSlipTextSize);
  for (std::size_t i = 0; i < lines.size(); ++i)
    page.PutText(lines[i], SlipTextLeft(p), top + SlipLineTop(p, static_cast<int>(i)));
}

std::string Title(const WithholdingSlip& s) {
  const std::vector<EraYear> eras = EraYearsOf(s.year);
  const std::string year = eras.empty() ? std::to_string(s.year) : eras.front().era + Format("%2d", eras.front().year);
  return year + "年分  " + (s.form == SlipForm::Report ? "給与支払報告書（個人別明細書）" : "給与所得の源泉徴収票");
}

}  // namespace

void DrawWithholdingSlip(PageModel& page, const WithholdingSlip& s, double top) {
  const WithholdingSlipLayout& layout = WithholdingSlipLayoutOf(s.year);
  page.SetFont(kMincho, 13);
  page.PutText(Title(s), 45, top + 6);
  page.SetFont(kMincho, 8);
  if (s.form == SlipForm::Recipient) page.PutText("(受給者交付用)", 165, top + 8);

  page.SelectPen(page.thinPen);
  for (const SlipBoxPlace& p : layout.boxes) {
    page.PutFrame(p.x1, top + p.y1, p.x2, top + p.y2);
    Heading(page, p, top);
  }
  page.SelectPen(page.thickPen);
  page.PutFrame(10, top + 15, 200, top + 146.5);
  page.SelectPen(page.thinPen);

  auto place = [&](SlipBox box) -> const SlipBoxPlace& { return layout.Place(box); };
  auto amount = [&](SlipBox box, const std::optional<Yen>& value) {
    if (value) Amount(page, place(box), top, FormatAmount(0, *value));
  };
  auto count = [&](SlipBox box, int n) {
    if (n > 0) Amount(page, place(box), top, std::to_string(n) + "人");
  };
  auto mark = [&](SlipBox box, bool on, const char* text = "○") {
    if (on) Mark(page, place(box), top, text);
  };
  auto lines = [&](SlipBox box, const std::vector<std::string>& texts) { Lines(page, place(box), top, texts); };
  auto line = [&](SlipBox box, const std::string& text) {
    if (!text.empty()) lines(box, {text});
  };

  lines(SlipBox::Address, s.address);
  line(SlipBox::RecipientNumber, s.recipientNumber);
  lines(SlipBox::Position, Wrap(s.position, 28));
  lines(SlipBox::Name, {s.furigana, s.name});
  line(SlipBox::Kind, s.kind);
  amount(SlipBox::Paid, s.paid);
  amount(SlipBox::SalaryIncome, s.salaryIncome);
  amount(SlipBox::DeductionsTotal, s.deductionsTotal);
  amount(SlipBox::Tax, s.tax);
  if (s.counts) {
    const SlipRelativeCounts& c = *s.counts;
    mark(SlipBox::SpouseMark, c.spouse, "有");
    mark(SlipBox::SpouseElderlyMark, c.spouseElderly);
    count(SlipBox::SpecificCount, c.specific);
    count(SlipBox::ElderlyCount, c.elderly);
    count(SlipBox::OtherCount, c.other);
    count(SlipBox::SpecificRelativeCount, c.specificRelative);
    count(SlipBox::Under16Count, c.under16);
    count(SlipBox::DisabledSpecialCount, c.disabledSpecial);
    count(SlipBox::DisabledOtherCount, c.disabledOther);
    count(SlipBox::NonResidentCount, c.nonResident);
    // 内: the 同居老親等 among the elderly, the 同居特別障害者 among the special.
    page.SetFont(kMincho, kSlipTextSize);
    if (c.elderlyCohabiting > 0)
      page.PutText("内" + std::to_string(c.elderlyCohabiting), place(SlipBox::ElderlyCount).x1 + 1, top + SlipValueTop(place(SlipBox::ElderlyCount)));
    if (c.disabledSpecialCohabiting > 0)
      page.PutText("内" + std::to_string(c.disabledSpecialCohabiting), place(SlipBox::DisabledSpecialCount).x1 + 1,
                   top + SlipValueTop(place(SlipBox::DisabledSpecialCount)));
  }
  amount(SlipBox::SpouseDeduction, s.spouseDeduction);
  amount(SlipBox::SocialInsurance, s.socialInsurance);
  amount(SlipBox::LifeInsurance, s.lifeInsurance);
  amount(SlipBox::Earthquake, s.earthquake);
  amount(SlipBox::HousingLoan, s.housingLoan);
  // 摘要: three lines of the box's width in the text size; more than that in the heading size,
  // which holds four longer lines.
  {
    const SlipBoxPlace& box = place(SlipBox::Remarks);
    auto wrapped = [&](int size) {
      page.SetFont(kMincho, size);
      const auto width = static_cast<std::size_t>((box.x2 - box.x1 - 3) / page.TextEnd("0", 0));
      std::vector<std::string> out;
      for (const std::string& remark : s.remarks)
        for (const std::string& l : Wrap(remark, width)) out.push_back(l);
      return out;
    };
    std::vector<std::string> out = wrapped(kSlipTextSize);
    if (out.size() <= 3) {
      lines(SlipBox::Remarks, out);
    } else {
      out = wrapped(kSlipHeadingSize);
      for (std::size_t i = 0; i < out.size(); ++i)
        page.PutText(out[i], SlipTextLeft(box), top + SlipLineTop(box, 0) + static_cast<double>(i) * 2.0);
    }
  }
  if (s.smallBusiness) {
    const SlipBoxPlace& box = place(SlipBox::SocialInsurance);
    page.SetFont(kMincho, kSlipTextSize);
    page.PutText("内 " + FormatAmount(0, *s.smallBusiness), box.x1 + 1.5, top + SlipLineTop(box, 0));
  }
  amount(SlipBox::LifeNew, s.lifeNew);
  amount(SlipBox::LifeOld, s.lifeOld);
  amount(SlipBox::CareMedical, s.careMedical);
  amount(SlipBox::PensionNew, s.pensionNew);
  amount(SlipBox::PensionOld, s.pensionOld);
  lines(SlipBox::Spouse, s.spouse);
  amount(SlipBox::SpouseIncome, s.spouseIncome);
  amount(SlipBox::OldLongTerm, s.oldLongTerm);
  amount(SlipBox::Basic, s.basic);
  amount(SlipBox::IncomeAdjustment, s.incomeAdjustment);
  amount(SlipBox::SpecificRelativeDeduction, s.specificRelativeDeduction);
  lines(SlipBox::Dependants, s.dependants);
  lines(SlipBox::Under16s, s.under16s);
  mark(SlipBox::Otsu, s.otsu);
  mark(SlipBox::SelfSpecialDisability, s.selfSpecialDisability);
  mark(SlipBox::SelfOtherDisability, s.selfOtherDisability);
  mark(SlipBox::Widow, s.widow);
  mark(SlipBox::SingleParent, s.singleParent);
  mark(SlipBox::WorkingStudent, s.workingStudent);
  mark(SlipBox::Hired, s.hired);
  mark(SlipBox::Retired, s.retired);
  line(SlipBox::JobDate, s.jobDate);
  line(SlipBox::Birth, s.birth);
  line(SlipBox::PayerNumber, s.payerNumber);
  line(SlipBox::PayerAddress, s.payerAddress);
  line(SlipBox::PayerName, s.payerName);
  line(SlipBox::PayerPhone, s.payerPhone);
}

void DrawCuttingLine(PageModel& page, double y) {
  for (double x = 5; x < 205; x += 4) page.PutLine(x, y, x + 2, y);
  page.SetFont(kMincho, kSlipHeadingSize);
  page.PutText("切り取り線", 95, y + 0.5);
}

Document WithholdingSlipDocument(const YearEndSource& source, std::vector<std::size_t> indexes) {
  if (indexes.empty())
    for (std::size_t i = 0; i < source.employees.size(); ++i) indexes.push_back(i);
  const WithholdingSlipLayout& layout = WithholdingSlipLayoutOf(source.year);
  Document d;
  d.title = "給与所得の源泉徴収票";
  d.pageCount = static_cast<int>((indexes.size() + 1) / 2);
  d.drawPage = [&source, indexes, height = layout.height](PageModel& page, int sheet) {
    for (std::size_t half = 0; half < 2; ++half) {
      const std::size_t at = static_cast<std::size_t>(sheet) * 2 + half;
      if (at >= indexes.size()) break;
      DrawWithholdingSlip(page, WithholdingSlipOf(source, indexes[at], SlipForm::Recipient), height * static_cast<double>(half));
    }
    DrawCuttingLine(page, height);
  };
  return d;
}

}  // namespace paylark::print
