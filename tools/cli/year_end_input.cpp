#include "tools/cli/year_end_input.h"

#include <functional>
#include <map>

#include "store/rate_table_editions.h"

namespace paylark::cli {
namespace {

using Fields = std::map<std::string, std::function<void(const JsonValue&, const std::string&)>>;

void ReadObject(const JsonValue& v, const std::string& where, const Fields& fields) {
  if (v.kind != JsonValue::Kind::Object) throw JsonError(where + ": an object expected");
  for (const auto& [name, value] : v.members) {
    auto it = fields.find(name);
    const std::string path = where.empty() ? name : where + "." + name;
    if (it == fields.end()) throw JsonError(path + ": unknown field");
    it->second(value, path);
  }
}

Yen Amount(const JsonValue& v, const std::string& path) {
  if (v.kind != JsonValue::Kind::Integer || v.integer < 0 || v.integer > INT32_MAX)
    throw JsonError(path + ": an amount in yen (0 or more) expected");
  return static_cast<Yen>(v.integer);
}

bool Flag(const JsonValue& v, const std::string& path) {
  if (v.kind != JsonValue::Kind::Bool) throw JsonError(path + ": true or false expected");
  return v.boolean;
}

CivilDate Date(const JsonValue& v, const std::string& path) {
  std::optional<CivilDate> d;
  if (v.kind == JsonValue::Kind::String) d = ParseIsoDate(v.text);
  if (!d) throw JsonError(path + ": a date yyyy-mm-dd expected");
  return *d;
}

DisabilityKind Disability(const JsonValue& v, const std::string& path) {
  static const std::map<std::string, DisabilityKind> kinds{{"none", DisabilityKind::None},
                                                           {"general", DisabilityKind::General},
                                                           {"special", DisabilityKind::Special},
                                                           {"special_cohabiting", DisabilityKind::SpecialCohabiting}};
  if (v.kind == JsonValue::Kind::String)
    if (auto it = kinds.find(v.text); it != kinds.end()) return it->second;
  throw JsonError(path + ": none, general, special or special_cohabiting expected");
}

DeclaredRelative Relative(const JsonValue& v, const std::string& path, bool dependant) {
  DeclaredRelative r;
  bool birthGiven = false;
  Fields fields{
      {"birth", [&](const JsonValue& x, const std::string& p) { r.birth = Date(x, p); birthGiven = true; }},
      {"income", [&](const JsonValue& x, const std::string& p) { r.income = Amount(x, p); }},
      {"disability", [&](const JsonValue& x, const std::string& p) { r.disability = Disability(x, p); }},
  };
  if (dependant)
    fields.emplace("cohabiting", [&](const JsonValue& x, const std::string& p) { r.cohabiting = Flag(x, p); });
  ReadObject(v, path, fields);
  if (!birthGiven) throw JsonError(path + ".birth: missing");
  return r;
}

}  // namespace

YearEndInput YearEndInputFromJson(const JsonValue& document) {
  YearEndInput in;
  auto amount = [](Yen& target) {
    return [&target](const JsonValue& v, const std::string& p) { target = Amount(v, p); };
  };
  const Fields fields{
      {"salary", amount(in.salary)},
      {"bonus", amount(in.bonus)},
      {"social_insurance", amount(in.socialInsurance)},
      {"withheld", amount(in.withheld)},
      {"previous_employer",
       [&](const JsonValue& v, const std::string& p) {
         if (v.kind == JsonValue::Kind::Null) return;
         ReadObject(v, p,
                    {{"paid", amount(in.previousPaid)},
                     {"social_insurance", amount(in.previousSocialInsurance)},
                     {"withheld", amount(in.previousWithheld)}});
       }},
      {"declared_social_insurance", amount(in.declaredSocialInsurance)},
      {"small_business_mutual_aid", amount(in.smallBusinessMutualAid)},
      {"life_insurance",
       [&](const JsonValue& v, const std::string& p) {
         ReadObject(v, p,
                    {{"new_general", amount(in.life.newGeneral)},
                     {"old_general", amount(in.life.oldGeneral)},
                     {"care_medical", amount(in.life.careMedical)},
                     {"new_pension", amount(in.life.newPension)},
                     {"old_pension", amount(in.life.oldPension)}});
       }},
      {"earthquake_insurance",
       [&](const JsonValue& v, const std::string& p) {
         ReadObject(v, p, {{"earthquake", amount(in.earthquake)}, {"old_long_term", amount(in.oldLongTerm)}});
       }},
      {"spouse",
       [&](const JsonValue& v, const std::string& p) {
         if (v.kind != JsonValue::Kind::Null) in.spouse = Relative(v, p, false);
       }},
      {"dependants",
       [&](const JsonValue& v, const std::string& p) {
         if (v.kind != JsonValue::Kind::Array) throw JsonError(p + ": an array expected");
         for (std::size_t i = 0; i < v.items.size(); ++i)
           in.dependants.push_back(Relative(v.items[i], p + "[" + std::to_string(i) + "]", true));
       }},
      {"employee",
       [&](const JsonValue& v, const std::string& p) {
         ReadObject(v, p,
                    {{"birth", [&](const JsonValue& x, const std::string& q) { in.employeeBirth = Date(x, q); }},
                     {"disability",
                      [&](const JsonValue& x, const std::string& q) { in.employeeDisability = Disability(x, q); }},
                     {"widow", [&](const JsonValue& x, const std::string& q) { in.widow = Flag(x, q); }},
                     {"single_parent", [&](const JsonValue& x, const std::string& q) { in.singleParent = Flag(x, q); }},
                     {"working_student",
                      [&](const JsonValue& x, const std::string& q) { in.workingStudent = Flag(x, q); }},
                     {"other_income", amount(in.otherIncome)}});
       }},
      {"housing_loan_credit", amount(in.housingLoanCredit)},
  };
  ReadObject(document, "", fields);
  return in;
}

namespace {

std::string Text(const JsonValue& v, const std::string& path) {
  if (v.kind != JsonValue::Kind::String) throw JsonError(path + ": a text expected");
  return v.text;
}

DeclaredPerson Person(const JsonValue& v, const std::string& path) {
  DeclaredPerson p;
  bool birthGiven = false;
  ReadObject(v, path,
             {{"name", [&](const JsonValue& x, const std::string& q) { p.name = Text(x, q); }},
              {"relation", [&](const JsonValue& x, const std::string& q) { p.relation = Text(x, q); }},
              {"birth", [&](const JsonValue& x, const std::string& q) { p.birth = Date(x, q); birthGiven = true; }},
              {"income", [&](const JsonValue& x, const std::string& q) { p.income = Amount(x, q); }},
              {"cohabiting", [&](const JsonValue& x, const std::string& q) { p.cohabiting = Flag(x, q); }},
              {"disability", [&](const JsonValue& x, const std::string& q) { p.disability = Disability(x, q); }},
              {"non_resident", [&](const JsonValue& x, const std::string& q) { p.nonResident = Flag(x, q); }}});
  if (!birthGiven) throw JsonError(path + ".birth: missing");
  return p;
}

}  // namespace

Declaration DeclarationFromJson(const JsonValue& document, int year, const std::string& employeeKey) {
  Declaration d;
  d.year = year;
  d.employeeKey = employeeKey;
  d.dependantForm = true;
  d.incomeAdjustmentForm = true;
  auto amount = [](Yen& target) {
    return [&target](const JsonValue& v, const std::string& p) { target = Amount(v, p); };
  };
  auto flag = [](bool& target) {
    return [&target](const JsonValue& v, const std::string& p) { target = Flag(v, p); };
  };
  const Fields fields{
      {"dependant_form", flag(d.dependantForm)},
      {"income_adjustment_form", flag(d.incomeAdjustmentForm)},
      {"previous_employer",
       [&](const JsonValue& v, const std::string& p) {
         if (v.kind == JsonValue::Kind::Null) return;
         ReadObject(v, p,
                    {{"paid", amount(d.previousPaid)},
                     {"social_insurance", amount(d.previousSocialInsurance)},
                     {"withheld", amount(d.previousWithheld)}});
       }},
      {"declared_social_insurance", amount(d.declaredSocialInsurance)},
      {"small_business_mutual_aid", amount(d.smallBusinessMutualAid)},
      {"life_insurance",
       [&](const JsonValue& v, const std::string& p) {
         ReadObject(v, p,
                    {{"new_general", amount(d.lifeNewGeneral)},
                     {"old_general", amount(d.lifeOldGeneral)},
                     {"care_medical", amount(d.lifeCareMedical)},
                     {"new_pension", amount(d.lifeNewPension)},
                     {"old_pension", amount(d.lifeOldPension)}});
       }},
      {"earthquake_insurance",
       [&](const JsonValue& v, const std::string& p) {
         ReadObject(v, p, {{"earthquake", amount(d.earthquake)}, {"old_long_term", amount(d.oldLongTerm)}});
       }},
      {"spouse",
       [&](const JsonValue& v, const std::string& p) {
         if (v.kind != JsonValue::Kind::Null) d.spouse = Person(v, p);
       }},
      {"dependants",
       [&](const JsonValue& v, const std::string& p) {
         if (v.kind != JsonValue::Kind::Array) throw JsonError(p + ": an array expected");
         for (std::size_t i = 0; i < v.items.size(); ++i)
           d.dependants.push_back(Person(v.items[i], p + "[" + std::to_string(i) + "]"));
       }},
      {"employee",
       [&](const JsonValue& v, const std::string& p) {
         ReadObject(v, p,
                    {{"birth", [&](const JsonValue& x, const std::string& q) { d.birth = Date(x, q); }},
                     {"disability", [&](const JsonValue& x, const std::string& q) { d.disability = Disability(x, q); }},
                     {"widow", flag(d.widow)},
                     {"single_parent", flag(d.singleParent)},
                     {"working_student", flag(d.workingStudent)},
                     {"non_resident", flag(d.nonResident)},
                     {"leaving_case", flag(d.leavingCase)},
                     {"other_income", amount(d.otherIncome)}});
       }},
      {"housing_loan_credit", amount(d.housingLoanCredit)},
  };
  ReadObject(document, "", fields);
  return d;
}

}  // namespace paylark::cli
