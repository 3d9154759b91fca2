#include "session/memb_edit_fields.h"

#include <array>

#include "session/memb_edit_rules.h"
#include "store/employee_texts.h"
#include "store/sjis.h"

namespace paylark::screens {
namespace {

// Accessors made from member pointers: a member of the entry (or an element of one), a record's
// getter and setter (or those of an element).
template <auto Member>
auto& In(EmployeeEntry& e) {
  return e.*Member;
}
template <auto Member, int I>
auto& InAt(EmployeeEntry& e) {
  return (e.*Member)[I];
}
template <auto Get>
auto Out(const EmployeeRecord& r) {
  return (r.*Get)();
}
template <auto Get, int I>
auto OutAt(const EmployeeRecord& r) {
  return (r.*Get)(I);
}
template <auto Set, typename T>
void Put(EmployeeRecord& r, const T& v) {
  (r.*Set)(v);
}
template <auto Set, int I>
void PutAt(EmployeeRecord& r, const std::int32_t& v) {
  (r.*Set)(I, v);
}
// Texts are stored without their enclosing blanks.
template <auto Set>
void PutTrimmed(EmployeeRecord& r, const std::string& v) {
  (r.*Set)(Trim(v));
}

template <auto Member, auto Get, auto Set>
constexpr FieldAccess<std::int32_t> Int() {
  return {&In<Member>, &Out<Get>, &Put<Set, std::int32_t>};
}
template <auto Member, int I, auto Get, auto Set>
constexpr FieldAccess<std::int32_t> IntAt() {
  return {&InAt<Member, I>, &OutAt<Get, I>, &PutAt<Set, I>};
}
template <auto Member, auto Get, auto Set>
constexpr FieldAccess<bool> Flag() {
  return {&In<Member>, &Out<Get>, &Put<Set, bool>};
}
template <auto Member, auto Get, auto Set>
constexpr FieldAccess<std::string> Text() {
  return {&In<Member>, &Out<Get>, &PutTrimmed<Set>};
}

// 性別 as the editor shows it: a value other than 1 男 or 2 女 is unknown.
std::int32_t KnownSex(const EmployeeRecord& r) { return r.Sex() == 1 || r.Sex() == 2 ? r.Sex() : 0; }

using E = EmployeeEntry;
using R = EmployeeRecord;
using F = MembField;
using K = FieldKind;
using G = FieldGroup;

constexpr std::array<MembFieldRow, kMembFieldCount> kRows{{
    // 社員情報
    {.id = F::Name, .kind = K::Text, .name = "edSimei", .caption = "氏　名", .group = G::Identity, .row = 0,
     .column = 0, .span = 3, .width = kNameMaxBytes, .text = Text<&E::name, &R::Name, &R::SetName>()},
    {.id = F::Department, .kind = K::Text, .name = "edBusyo", .caption = "部　署", .group = G::Identity, .row = 1,
     .column = 0, .span = 3, .width = kDepartmentMaxBytes,
     .text = Text<&E::department, &R::Department, &R::SetDepartment>()},
    {.id = F::Category, .kind = K::Category, .name = "cbKubun", .caption = "社員区分", .group = G::Identity,
     .row = 2, .column = 0, .width = kCategoryMaxBytes,
     .number = Int<&E::categoryIndex, &R::CategoryIndex, &R::SetCategoryIndex>(),
     .text = {&In<&E::categoryText>, &CategoryName, &PutTrimmed<&R::SetCategoryText>}},
    {.id = F::PayForm, .kind = K::Choice, .name = "cbKeitai", .caption = "支給形態", .group = G::Identity, .row = 2,
     .column = 2, .flags = kDigitKeysOnly, .number = Int<&E::payForm, &R::PayFormCode, &R::SetPayFormCode>(),
     .choices = kPayFormTexts, .firstValue = 1},
    {.id = F::TaxColumnKou, .kind = K::Radio, .name = "rbZeigaku0", .caption = "甲欄", .group = G::TaxColumn,
     .number = Int<&E::taxColumn, &R::TaxColumn, &R::SetTaxColumn>(), .firstValue = 0},
    {.id = F::TaxColumnOtsu, .kind = K::Radio, .name = "rbZeigaku1", .caption = "乙欄", .group = G::TaxColumn,
     .number = Int<&E::taxColumn, &R::TaxColumn, &R::SetTaxColumn>(), .firstValue = 1},
    {.id = F::PaidInCash, .kind = K::Check, .name = "cbGenkin", .caption = "現金支給", .group = G::Identity,
     .row = 3, .column = 2, .span = 2, .flag = Flag<&E::paidInCash, &R::PaidInCash, &R::SetPaidInCash>()},
    {.id = F::Dependants, .kind = K::Number, .name = "edFuyou", .caption = "扶養人数", .suffix = "人",
     .group = G::Identity, .row = 4, .column = 0, .span = 3, .formatCode = 20, .width = 2,
     .number = Int<&E::dependants, &R::Dependants, &R::SetDependants>()},
    {.id = F::TaxDependants, .kind = K::Number, .name = "edSinzoku", .caption = "扶養親族等の数", .suffix = "人",
     .group = G::Identity, .row = 4, .column = -1, .indent = 16, .formatCode = 20, .width = 2,
     .number = Int<&E::taxDependants, &R::TaxDependants, &R::SetTaxDependants>()},
    {.id = F::Sex, .kind = K::Choice, .name = "cbSeibetu", .caption = "性　別", .group = G::Identity, .row = 5,
     .column = 0, .number = {&In<&E::sex>, &KnownSex, &Put<&R::SetSex, std::int32_t>}, .choices = kSexTexts,
     .firstValue = 0},
    {.id = F::Mail, .kind = K::Text, .name = "edMailAdrs", .caption = "ﾒｰﾙｱﾄﾞﾚｽ", .group = G::Identity, .row = 6,
     .column = 0, .span = 3, .width = kMailMaxBytes, .flags = kNoInputMethod,
     .text = Text<&E::mail, &R::MailAddress, &R::SetMailAddress>()},
    {.id = F::BirthDate, .kind = K::BirthDate, .name = "edBirthDate", .caption = "生年月日", .suffix = "",
     .suffixName = "lbAge", .group = G::Identity, .row = 7, .column = 0, .span = 3},
    // The retirement date: three fields of one record field, written by the rules themselves.
    {.id = F::Retired, .kind = K::Check, .name = "cbTaisyo", .caption = "退職者", .group = G::Identity, .row = 8,
     .column = 0, .span = 4},
    {.id = F::RetiredYear, .kind = K::RetirementPart, .name = "edTaiYY", .caption = "（退職日:",
     .captionName = "lbTaiDate", .group = G::Identity, .row = 8, .column = -1, .formatCode = 20, .width = 2,
     .enabledWhen = Enabling::Retired, .text = {&InAt<&E::retirement, 0>}},
    {.id = F::RetiredMonth, .kind = K::RetirementPart, .name = "edTaiMM", .caption = "年", .captionName = "lbTaiYY",
     .group = G::Identity, .row = 8, .column = -1, .formatCode = 20, .width = 2, .enabledWhen = Enabling::Retired,
     .text = {&InAt<&E::retirement, 1>}},
    {.id = F::RetiredDay, .kind = K::RetirementPart, .name = "edTaiDD", .caption = "月", .captionName = "lbTaiMM",
     .suffix = "日）", .suffixName = "lbTaiDD", .group = G::Identity, .row = 8, .column = -1, .formatCode = 20,
     .width = 2, .enabledWhen = Enabling::Retired, .text = {&InAt<&E::retirement, 2>}},

    // 社会保険・雇用保険
    {.id = F::EmploymentSubject, .kind = K::Check, .name = "cbKoyou", .caption = "雇用保険対象者",
     .group = G::Insurance, .row = 0, .column = 0,
     .flag = Flag<&E::employmentSubject, &R::EmploymentSubject, &R::SetEmploymentSubject>()},
    {.id = F::HealthSubject, .kind = K::Check, .name = "cbKenkou", .caption = "健康保険対象者", .group = G::Insurance,
     .row = 1, .column = 0, .flag = Flag<&E::healthSubject, &R::HealthSubject, &R::SetHealthSubject>()},
    {.id = F::HealthPremium, .kind = K::Number, .name = "edKenhoRyo", .caption = "保険料", .captionName = "lbKenhoRyo",
     .group = G::Insurance, .row = 1, .column = 1, .formatCode = 70, .width = 6, .enabledWhen = Enabling::Health,
     .number = Int<&E::healthPremium, &R::HealthPremium, &R::SetHealthPremium>()},
    {.id = F::LevyPremium, .kind = K::Number, .name = "edSienRyo", .caption = "子ども・子育て支援金",
     .captionName = "lbSienRyo", .group = G::Insurance, .row = 1, .column = 3, .formatCode = 70, .width = 6,
     .enabledWhen = Enabling::Health, .number = Int<&E::levyPremium, &R::LevyPremium, &R::SetLevyPremium>()},
    {.id = F::NursingCollected, .kind = K::Check, .name = "cbKaigo", .caption = "介護保険料を徴収",
     .group = G::Insurance, .row = 2, .column = 0, .indent = 20, .enabledWhen = Enabling::Health,
     .flag = Flag<&E::nursingCollected, &R::NursingCollected, &R::SetNursingCollected>()},
    {.id = F::NursingPremium, .kind = K::Number, .name = "edKaigoRyo", .caption = "保険料", .captionName = "lbKaigoRyo",
     .group = G::Insurance, .row = 2, .column = 1, .formatCode = 70, .width = 6, .enabledWhen = Enabling::Nursing,
     .number = Int<&E::nursingPremium, &R::NursingPremium, &R::SetNursingPremium>()},
    {.id = F::PensionSubject, .kind = K::Check, .name = "cbNenHoken", .caption = "厚生年金対象者",
     .group = G::Insurance, .row = 3, .column = 0,
     .flag = Flag<&E::pensionSubject, &R::PensionSubject, &R::SetPensionSubject>()},
    {.id = F::PensionPremium, .kind = K::Number, .name = "edKoseiRyo", .caption = "保険料", .captionName = "lbKoseiRyo",
     .group = G::Insurance, .row = 3, .column = 1, .formatCode = 70, .width = 6, .enabledWhen = Enabling::Pension,
     .number = Int<&E::pensionPremium, &R::PensionPremium, &R::SetPensionPremium>()},
    {.id = F::FundMember, .kind = K::Check, .name = "cbNenKikin", .caption = "厚生年金基金加入", .group = G::Insurance,
     .row = 4, .column = 0, .flag = Flag<&E::fundMember, &R::FundMember, &R::SetFundMember>()},
    {.id = F::FundContribution, .kind = K::Number, .name = "edKakekin", .caption = "掛け金", .captionName = "lbKakekin",
     .group = G::Insurance, .row = 4, .column = 1, .formatCode = 70, .width = 6, .enabledWhen = Enabling::Fund,
     .number = Int<&E::fundContribution, &R::FundContribution, &R::SetFundContribution>()},

    // 支給
    {.id = F::BasePay, .kind = K::Number, .name = "edChingin1", .caption = "基本給", .group = G::Payment, .row = 0,
     .column = 0, .formatCode = 90, .width = 7, .number = Int<&E::basePay, &R::BasePay, &R::SetBasePay>()},
    {.id = F::PositionAllowance, .kind = K::Number, .name = "edYakuin", .caption = "役職手当", .group = G::Payment,
     .row = 1, .column = 0, .formatCode = 90, .width = 7,
     .number = Int<&E::positionAllowance, &R::PositionAllowance, &R::SetPositionAllowance>()},
    {.id = F::FamilyAllowance, .kind = K::Number, .name = "edFamily", .caption = "家族手当", .group = G::Payment,
     .row = 2, .column = 0, .formatCode = 90, .width = 7,
     .number = Int<&E::familyAllowance, &R::FamilyAllowance, &R::SetFamilyAllowance>()},
    {.id = F::FixedAllowance1, .kind = K::Number, .name = "edTeate1", .caption = "", .captionName = "lbTeate1",
     .group = G::Payment, .row = 3, .column = 0, .formatCode = 70, .width = 6,
     .number = IntAt<&E::fixedAllowance, 0, &R::FixedAllowance, &R::SetFixedAllowance>()},
    {.id = F::FixedAllowance2, .kind = K::Number, .name = "edTeate2", .caption = "", .captionName = "lbTeate2",
     .group = G::Payment, .row = 4, .column = 0, .formatCode = 70, .width = 6,
     .number = IntAt<&E::fixedAllowance, 1, &R::FixedAllowance, &R::SetFixedAllowance>()},
    {.id = F::FixedAllowance3, .kind = K::Number, .name = "edTeate3", .caption = "", .captionName = "lbTeate3",
     .group = G::Payment, .row = 5, .column = 0, .formatCode = 70, .width = 6,
     .number = IntAt<&E::fixedAllowance, 2, &R::FixedAllowance, &R::SetFixedAllowance>()},
    {.id = F::PaidLeavePay, .kind = K::Number, .name = "edYukyu", .caption = "有休時支給額", .captionName = "lbYukyu",
     .group = G::Payment, .row = 6, .column = 0, .formatCode = 70, .width = 6,
     .enabledWhen = Enabling::PaidByDayOrHour,
     .number = Int<&E::paidLeavePay, &R::PaidLeavePay, &R::SetPaidLeavePay>()},
    {.id = F::OvertimeNormal, .kind = K::Number, .name = "edChingin2", .caption = "残業手当(普通)",
     .group = G::Payment, .row = 0, .column = 2, .formatCode = 90, .width = 7,
     .number = IntAt<&E::overtimePrice, 0, &R::OvertimePrice, &R::SetOvertimePrice>()},
    {.id = F::OvertimeNight, .kind = K::Number, .name = "edChingin3", .caption = "残業手当(深夜)", .group = G::Payment,
     .row = 1, .column = 2, .formatCode = 90, .width = 7,
     .number = IntAt<&E::overtimePrice, 1, &R::OvertimePrice, &R::SetOvertimePrice>()},
    {.id = F::HolidayOvertimeNormal, .kind = K::Number, .name = "edChingin4", .caption = "休日残業(普通)",
     .group = G::Payment, .row = 2, .column = 2, .formatCode = 90, .width = 7,
     .number = IntAt<&E::overtimePrice, 2, &R::OvertimePrice, &R::SetOvertimePrice>()},
    {.id = F::HolidayOvertimeNight, .kind = K::Number, .name = "edChingin5", .caption = "休日残業(深夜)",
     .group = G::Payment, .row = 3, .column = 2, .formatCode = 90, .width = 7,
     .number = IntAt<&E::overtimePrice, 3, &R::OvertimePrice, &R::SetOvertimePrice>()},
    {.id = F::CommuteNonTaxable, .kind = K::Number, .name = "edKoutuhi0", .caption = "交通費(非課税)",
     .group = G::Payment, .row = 4, .column = 2, .formatCode = 90, .width = 7,
     .number = Int<&E::commuteNonTaxable, &R::CommuteNonTaxable, &R::SetCommuteNonTaxable>()},
    {.id = F::CommuteTaxable, .kind = K::Number, .name = "edKoutuhi1", .caption = "交通費(課税)", .group = G::Payment,
     .row = 5, .column = 2, .formatCode = 90, .width = 7,
     .number = Int<&E::commuteTaxable, &R::CommuteTaxable, &R::SetCommuteTaxable>()},
    {.id = F::CommuteUnit, .kind = K::Choice, .name = "cbSikUnit", .caption = "支給単位", .group = G::Payment,
     .row = 6, .column = 2, .flags = kDigitKeysOnly,
     .number = Int<&E::commuteUnit, &R::CommuteUnit, &R::SetCommuteUnit>(), .choices = kCommuteUnitTexts,
     .firstValue = 1},

    // 控除
    {.id = F::ResidentTaxJune, .kind = K::Number, .name = "edJuumin6", .caption = "住民税(6月)",
     .group = G::Deduction, .row = 0, .column = 0, .formatCode = 70, .width = 6,
     .number = Int<&E::residentTaxJune, &R::ResidentTaxJune, &R::SetResidentTaxJune>()},
    {.id = F::ResidentTaxOther, .kind = K::Number, .name = "edJuumin", .caption = "住民税(以外)",
     .group = G::Deduction, .row = 1, .column = 0, .formatCode = 70, .width = 6,
     .number = Int<&E::residentTaxOther, &R::ResidentTaxOther, &R::SetResidentTaxOther>()},
    {.id = F::AbsenceDeduction, .kind = K::Number, .name = "edKekkin", .caption = "欠勤控除額", .group = G::Deduction,
     .row = 2, .column = 0, .formatCode = 70, .width = 6,
     .number = Int<&E::absenceDeduction, &R::AbsenceDeduction, &R::SetAbsenceDeduction>()},
    {.id = F::LatenessDeduction, .kind = K::Number, .name = "edChisou", .caption = "遅早控除額",
     .group = G::Deduction, .row = 3, .column = 0, .formatCode = 70, .width = 6,
     .number = Int<&E::latenessDeduction, &R::LatenessDeduction, &R::SetLatenessDeduction>()},
    {.id = F::FixedDeduction1, .kind = K::Number, .name = "edKoujo1", .caption = "", .captionName = "lbKoujo1",
     .group = G::Deduction, .row = 0, .column = 2, .formatCode = 70, .width = 6,
     .number = IntAt<&E::fixedDeduction, 0, &R::FixedDeduction, &R::SetFixedDeduction>()},
    {.id = F::FixedDeduction2, .kind = K::Number, .name = "edKoujo2", .caption = "", .captionName = "lbKoujo2",
     .group = G::Deduction, .row = 1, .column = 2, .formatCode = 70, .width = 6,
     .number = IntAt<&E::fixedDeduction, 1, &R::FixedDeduction, &R::SetFixedDeduction>()},
    {.id = F::FixedDeduction3, .kind = K::Number, .name = "edKoujo3", .caption = "", .captionName = "lbKoujo3",
     .group = G::Deduction, .row = 2, .column = 2, .formatCode = 70, .width = 6,
     .number = IntAt<&E::fixedDeduction, 2, &R::FixedDeduction, &R::SetFixedDeduction>()},
}};

constexpr bool RowsInIdOrder() {
  for (int i = 0; i < kMembFieldCount; ++i) {
    if (static_cast<int>(kRows[i].id) != i) return false;
  }
  return true;
}
static_assert(RowsInIdOrder(), "the rows of the employee editor's fields follow MembField");

}  // namespace

bool IsEnabled(Enabling when, const EnablingFacts& f) {
  switch (when) {
    case Enabling::Always: return true;
    case Enabling::Health: return f.health;
    case Enabling::Nursing: return f.nursing;
    case Enabling::Pension: return f.pension;
    case Enabling::Fund: return f.fund;
    case Enabling::PaidByDayOrHour: return f.byDayOrHour;
    case Enabling::Retired: return f.retired;
  }
  return true;
}

std::span<const MembFieldRow> MembFields() { return kRows; }

const MembFieldRow& MembFieldOf(MembField id) { return kRows[static_cast<std::size_t>(id)]; }

int ChoiceIndex(const MembFieldRow& row, std::int32_t value) {
  const std::int64_t index = static_cast<std::int64_t>(value) - row.firstValue;
  return index >= 0 && index < static_cast<std::int64_t>(row.choices.size()) ? static_cast<int>(index) : -1;
}

std::int32_t ChoiceValue(const MembFieldRow& row, int index) { return row.firstValue + index; }

const MembFieldRow& RadioFor(std::int32_t value) {
  const MembFieldRow* first = nullptr;
  for (const MembFieldRow& row : kRows) {
    if (row.kind != FieldKind::Radio) continue;
    if (row.firstValue == value) return row;
    if (!first) first = &row;
  }
  return *first;
}

}  // namespace paylark::screens
