// What the year-end slips need beyond the legacy records and the declarations: the employee's
// particulars of the year (address on 1 January of the next year, which decides the municipality
// the 給与支払報告書 goes to; フリガナ; 役職; 中途就・退職 dates), the company's particulars of the
// 総括表 and the 法定調書合計表, the municipalities' 指定番号, and the state of each employee's
// adjustment (計算済, 精算済). They live in the declarations' database (store/declarations.h),
// keyed by year and employee key. Strings are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/era.h"
#include "store/money.h"

namespace paylark {

struct EmployeeParticulars {
  int year = 0;
  std::string employeeKey;
  std::string furigana;         // フリガナ of the name
  std::string postalCode;       // "123-4567"
  std::string address;          // 住所又は居所 (as of 1 January of the next year)
  std::string municipality;     // 提出先 市区町村 of that address ("東京都新宿区")
  std::string position;         // 役職名
  bool officer = false;         // 法人の役員 during the year (the 税務署's 1,500,000 scope)
  std::optional<CivilDate> hired;    // 中途就職: set when hired during the year
  std::optional<CivilDate> retired;  // 中途退職: set when left during the year
  bool operator==(const EmployeeParticulars&) const = default;
};

struct CompanyParticulars {
  int year = 0;
  std::string corporateNumber;  // 法人番号 (13 digits) or empty
  std::string postalCode;
  std::string address;          // 所在地
  std::string name;             // 名称 (from the company record when empty)
  std::string representative;   // 代表者
  std::string telephone;
  std::string contactName;      // 連絡者
  std::string contactSection;   // 連絡者の所属
  std::string taxOffice;        // 所轄税務署
  std::string paymentMethod;    // 給与の支払方法及び期日 ("毎月25日 振込")
  bool operator==(const CompanyParticulars&) const = default;
};

// The number each municipality gives the company as 特別徴収義務者 (指定番号).
struct MunicipalityNumber {
  std::string municipality;
  std::string number;
  bool operator==(const MunicipalityNumber&) const = default;
};

// Where an employee's adjustment stands beyond its declaration: calculated (with the figures of
// that calculation) and settled (into which period). Saving the declaration again clears it.
struct AdjustmentState {
  int year = 0;
  std::string employeeKey;
  Yen annualTax = 0;   // 年調年税額 when calculated
  Yen withheld = 0;    // 徴収済税額
  Yen difference = 0;  // 過不足額
  int settledPeriod = 0;  // 0 = not settled; 1..15 the period it went into
  bool operator==(const AdjustmentState&) const = default;
};

}  // namespace paylark
