// 給与支払報告書 for the municipalities: per municipality of the employees' addresses on 1 January
// of the next year, its 総括表 (A4 portrait: the payer, the counts of the report) followed by the
// 個人別明細書 of its employees, which is the 源泉徴収票's form under its own title.
#include <algorithm>
#include <memory>
#include <string>

#include "print/ledger_rows.h"
#include "print/withholding_slip.h"
#include "print/year_end_documents.h"
#include "store/format_text.h"

namespace paylark::print {
namespace {

constexpr const char* kNoMunicipality = "(市区町村未設定)";

std::string YearText(int year) {
  const std::vector<EraYear> eras = EraYearsOf(year);
  return eras.empty() ? std::to_string(year) : eras.front().era + Format("%2d", eras.front().year);
}

void Field(PageModel& page, const char* label, const std::string& value, double y) {
  page.PutFrame(20, y, 190, y + 9);
  page.PutLine(70, y, 70, y + 9);
  page.PutText(label, 22, y + 2.8);
  page.PutText(value, 73, y + 2.8);
}

void DrawSummary(PageModel& page, const YearEndSource& source, const MunicipalReport& m) {
  const CompanyParticulars& c = source.company;
  page.SetFont(kMincho, 14);
  page.PutText(YearText(source.year) + "年分  給与支払報告書（総括表）", 45, 15);
  page.SetFont(kMincho, 10);
  page.PutText(m.municipality + "長  殿", 20, 28);
  page.PutText(ReportDateText(source.today) + " 提出", 140, 28);
  page.SelectPen(page.thinPen);
  const int total = static_cast<int>(m.employees.size());
  const struct {
    const char* label;
    std::string value;
  } fields[] = {
      {"指定番号", m.number},
      {"給与支払者の法人番号", c.corporateNumber},
      {"給与支払者の名称", c.name.empty() ? source.companyName : c.name},
      {"代表者の氏名", c.representative},
      {"所在地", (c.postalCode.empty() ? "" : "〒" + c.postalCode + " ") + c.address},
      {"電話", c.telephone},
      {"連絡者の氏名・所属", c.contactName + (c.contactSection.empty() ? "" : "  " + c.contactSection)},
      {"所轄税務署", c.taxOffice},
      {"給与の支払方法及び期日", c.paymentMethod},
      {"受給者総人員", std::to_string(total + m.leftOut) + "人"},
      {"報告人員", std::to_string(total) + "人"},
      {"  特別徴収対象者", std::to_string(total - m.retired) + "人"},
      {"  普通徴収対象者(退職者)", std::to_string(m.retired) + "人"},
  };
  double y = 36;
  for (const auto& f : fields) {
    Field(page, f.label, f.value, y);
    y += 9;
  }
  page.SetFont(kMincho, 8);
  page.PutText("普通徴収対象者(退職者を除く)・普通徴収切替理由書は手書きで記入してください。", 20, y + 4);
}

}  // namespace

std::vector<MunicipalReport> MunicipalReportsOf(const YearEndSource& source) {
  std::vector<MunicipalReport> reports;
  for (std::size_t i = 0; i < source.employees.size(); ++i) {
    const YearEndEmployee& e = source.employees[i];
    std::string name = e.particulars ? e.particulars->municipality : "";
    if (name.empty()) name = kNoMunicipality;
    auto it = std::find_if(reports.begin(), reports.end(), [&](const MunicipalReport& r) { return r.municipality == name; });
    if (it == reports.end()) {
      MunicipalReport r;
      r.municipality = name;
      for (const MunicipalityNumber& n : source.municipalityNumbers)
        if (n.municipality == name) r.number = n.number;
      reports.push_back(r);
      it = reports.end() - 1;
    }
    const FilingFacts facts = FilingFactsOf(e);
    if (!InMunicipalReport(source.rules->filing, e.adjustment, facts.retired)) {
      ++it->leftOut;
      continue;
    }
    it->employees.push_back(i);
    if (facts.retired) ++it->retired;
  }
  return reports;
}

Document SalaryReportDocument(const YearEndSource& source) {
  // Each sheet: a 総括表, or two 個人別明細書 of one municipality.
  struct Sheet {
    std::size_t report;
    bool summary;
    std::vector<std::size_t> slips;
  };
  auto reports = std::make_shared<const std::vector<MunicipalReport>>(MunicipalReportsOf(source));
  auto sheets = std::make_shared<std::vector<Sheet>>();
  for (std::size_t r = 0; r < reports->size(); ++r) {
    const MunicipalReport& m = (*reports)[r];
    if (m.employees.empty()) continue;
    sheets->push_back({r, true, {}});
    for (std::size_t i = 0; i < m.employees.size(); i += 2) {
      std::vector<std::size_t> two{m.employees[i]};
      if (i + 1 < m.employees.size()) two.push_back(m.employees[i + 1]);
      sheets->push_back({r, false, two});
    }
  }
  Document d;
  d.title = "給与支払報告書";
  d.pageCount = static_cast<int>(sheets->size());
  d.drawPage = [&source, reports, sheets](PageModel& page, int index) {
    const Sheet& s = sheets->at(static_cast<std::size_t>(index));
    if (s.summary) {
      DrawSummary(page, source, (*reports)[s.report]);
      return;
    }
    const double height = WithholdingSlipLayoutOf(source.year).height;
    for (std::size_t half = 0; half < s.slips.size(); ++half)
      DrawWithholdingSlip(page, WithholdingSlipOf(source, s.slips[half], SlipForm::Report), height * static_cast<double>(half));
    DrawCuttingLine(page, height);
  };
  return d;
}

}  // namespace paylark::print
