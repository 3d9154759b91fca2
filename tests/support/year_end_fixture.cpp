#include "support/year_end_fixture.h"

namespace paylark::testing {

YearEndFixture::YearEndFixture() : rules(LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2025)) {
  source.year = 2025;
  source.rules = &rules;
  source.companyName = "株式会社テスト商会";
  source.company.year = 2025;
  source.company.corporateNumber = "1234567890123";
  source.company.postalCode = "100-0001";
  source.company.address = "東京都千代田区千代田1-1";
  source.company.telephone = "03-1234-5678";
  source.company.representative = "代表　一郎";
  source.today = {2026, 1, 20};

  auto person = [](const char* name, const char* relation, CivilDate birth, Yen income, bool cohabiting = false) {
    DeclaredPerson p;
    p.name = name;
    p.relation = relation;
    p.birth = birth;
    p.income = income;
    p.cohabiting = cohabiting;
    return p;
  };

  {
    EmployeeYearPay pay;
    pay.key = "250401_090000";
    pay.name = "山田　太郎";
    pay.salary = 4800000;
    pay.bonus = 1200000;
    pay.socialInsurance = 900000;
    pay.withheld = 150000;
    pay.paidDecemberSalary = true;
    pay.lastPayment = {2025, 12, 25};
    Declaration d;
    d.year = 2025;
    d.employeeKey = pay.key;
    d.dependantForm = true;
    d.birth = {1980, 5, 1};
    d.lifeNewGeneral = 100000;
    d.earthquake = 30000;
    d.spouse = person("山田　花子", "妻", {1982, 3, 3}, 0);
    d.dependants = {person("山田　一郎", "長男", {2005, 6, 1}, 0), person("山田　次郎", "次男", {2013, 8, 8}, 0),
                    person("山田　松", "母", {1950, 1, 1}, 0, true)};
    EmployeeParticulars p;
    p.year = 2025;
    p.employeeKey = pay.key;
    p.furigana = "ヤマダ　タロウ";
    p.postalCode = "163-8001";
    p.address = "東京都新宿区西新宿二丁目8番1号";
    p.municipality = "東京都新宿区";
    p.position = "課長";
    print::YearEndEmployee e{AdjustEmployee(rules, pay, &d), d, p, pay.name, d.birth, 12};
    source.employees.push_back(e);
  }
  {
    EmployeeYearPay pay;
    pay.key = "250401_090001";
    pay.name = "佐藤　花";
    pay.salary = 1000000;
    pay.socialInsurance = 150000;
    pay.withheld = 20000;
    pay.retired = true;
    pay.lastPayment = {2025, 6, 25};
    Declaration d;
    d.year = 2025;
    d.employeeKey = pay.key;
    d.dependantForm = true;
    d.birth = {1990, 10, 10};
    EmployeeParticulars p;
    p.year = 2025;
    p.employeeKey = pay.key;
    p.address = "神奈川県横浜市中区1-2-3";
    p.municipality = "横浜市";
    p.retired = CivilDate{2025, 6, 30};
    print::YearEndEmployee e{AdjustEmployee(rules, pay, &d), d, p, pay.name, d.birth, 0};
    source.employees.push_back(e);
  }
  {
    EmployeeYearPay pay;
    pay.key = "250401_090002";
    pay.name = "鈴木　次郎";
    pay.salary = 600000;
    pay.withheld = 18000;
    pay.taxColumn = 1;
    pay.paidDecemberSalary = true;
    pay.lastPayment = {2025, 12, 25};
    EmployeeParticulars p;
    p.year = 2025;
    p.employeeKey = pay.key;
    p.address = "東京都新宿区百人町1-1";
    p.municipality = "東京都新宿区";
    print::YearEndEmployee e{AdjustEmployee(rules, pay, nullptr), std::nullopt, p, pay.name, std::nullopt, 0};
    source.employees.push_back(e);
  }
}

}  // namespace paylark::testing
