#include "session/year_end_company_rules.h"

#include <algorithm>
#include <set>

#include "store/sjis.h"

namespace paylark::screens {
namespace {

bool AllDigits(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<FormProblem> CheckCompanyParticulars(const CompanyParticulars& c,
                                                          const std::vector<MunicipalityNumber>& numbers) {
  if (!c.corporateNumber.empty() && (c.corporateNumber.size() != 13 || !AllDigits(c.corporateNumber)))
    return FormProblem{"edHojinNo", "法人番号は13桁の数字で入力して下さい。"};
  const struct {
    const std::string& text;
    const char* field;
    const char* caption;
  } texts[] = {
      {c.name, "edMeisyo", "名称"},           {c.postalCode, "edYubin", "郵便番号"},
      {c.address, "edSyozaichi", "所在地"},   {c.representative, "edDaihyo", "代表者"},
      {c.telephone, "edTel", "電話番号"},     {c.contactName, "edRenraku", "連絡者"},
      {c.contactSection, "edSyozoku", "連絡者の所属"}, {c.taxOffice, "edZeimusyo", "所轄税務署"},
      {c.paymentMethod, "edSiharai", "給与の支払方法及び期日"},
  };
  for (const auto& t : texts) {
    if (!HasSjisForm(t.text))
      return FormProblem{t.field, std::string(t.caption) + "に使用できない文字が含まれています。"};
  }
  std::set<std::string> seen;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const std::string field = "sgSiteiNo:" + std::to_string(i);
    const MunicipalityNumber& n = numbers[i];
    if (n.municipality.empty()) return FormProblem{field, "市区町村を入力して下さい。"};
    if (!HasSjisForm(n.municipality) || !HasSjisForm(n.number))
      return FormProblem{field, "市区町村または指定番号に使用できない文字が含まれています。"};
    if (!seen.insert(n.municipality).second)
      return FormProblem{field, n.municipality + "が二度入力されています。"};
  }
  return std::nullopt;
}

std::vector<MunicipalityNumber> MunicipalityRows(const std::vector<MunicipalityNumber>& typed) {
  std::vector<MunicipalityNumber> rows;
  for (const MunicipalityNumber& n : typed) {
    MunicipalityNumber row{Trim(n.municipality), Trim(n.number)};
    if (!row.municipality.empty() || !row.number.empty()) rows.push_back(row);
  }
  return rows;
}

}  // namespace paylark::screens
