// The records of the yearly payroll data file and the period held in memory.
//
// A yearly file (one era year) is a 128-byte header followed by 15 period blocks of 30904 bytes:
// salary months 1..12, then the bonus periods 13 夏期賞与, 14 冬期賞与, 15 the third bonus. Each block
// is the company information record, the employee table (30 slots) and, per slot, an attendance,
// a payment and a deduction record. Every record here is a byte image of its file layout with
// named accessors at the file offsets; strings are length-prefixed Shift-JIS, read clamped to
// their maximum.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "store/bytes.h"
#include "store/money.h"

namespace paylark {

constexpr int kSlotCount = 30;
constexpr int kPeriodCount = 15;
constexpr int kFirstBonusPeriod = 13;

inline bool IsBonusPeriod(int period) { return period >= kFirstBonusPeriod && period <= kPeriodCount; }
inline bool IsSalaryPeriod(int period) { return period >= 1 && period < kFirstBonusPeriod; }

// 支給形態
enum class PayForm : std::int32_t { Monthly = 1, Daily = 2, Hourly = 3 };  // 月給, 日給, 時間給

// ---------------------------------------------------------------------------------------------
// File header (128 bytes)
struct FileHeader : bytes::ByteImage<128> {
  // Saved flag of period k (1..16) at offset 7 + k.
  bool Saved(int period) const { return Bool(7 + period); }
  void SetSaved(int period, bool v) { SetBool(7 + period, v); }
  // Pay month and day of bonus period 13..15.
  std::int32_t BonusMonth(int period) const { return I32(24 + 4 * (period - kFirstBonusPeriod)); }
  void SetBonusMonth(int period, std::int32_t v) { SetI32(24 + 4 * (period - kFirstBonusPeriod), v); }
  std::int32_t BonusDay(int period) const { return I32(36 + 4 * (period - kFirstBonusPeriod)); }
  void SetBonusDay(int period, std::int32_t v) { SetI32(36 + 4 * (period - kFirstBonusPeriod), v); }
};

// ---------------------------------------------------------------------------------------------
// Company information record (1384 bytes)
struct CompanyRecord : bytes::ByteImage<1384> {
  std::string Name() const { return Text(0, 44); }  // 会社名称
  void SetName(std::string_view v) { SetText(0, 44, v); }
  bool GeneralBusiness() const { return Bool(60); }  // 一般事業所 (else それ以外)
  void SetGeneralBusiness(bool v) { SetBool(60, v); }
  bool UseEmploymentTable() const { return Bool(61); }  // 雇用保険料額表を使用
  void SetUseEmploymentTable(bool v) { SetBool(61, v); }
  std::int32_t PayDay() const { return I32(64); }  // 給与支給日 (31 = end of month)
  void SetPayDay(std::int32_t v) { SetI32(64, v); }
  std::int32_t PeriodDays() const { return I32(68); }  // 所定労働日数 of this period
  void SetPeriodDays(std::int32_t v) { SetI32(68, v); }
  double PeriodHours() const { return F64(72); }  // 所定労働時間 of this period
  void SetPeriodHours(double v) { SetF64(72, v); }
  double MonthDays() const { return F64(80); }  // 月労働日数
  void SetMonthDays(double v) { SetF64(80, v); }
  double MonthHours() const { return F64(88); }  // 月労働時間数
  void SetMonthHours(double v) { SetF64(88, v); }
  double DayHours() const { return F64(96); }  // 日労働時間数
  void SetDayHours(double v) { SetF64(96, v); }
  double EmploymentRate() const { return F64(104); }  // 雇用保険 保険料負担率 %
  void SetEmploymentRate(double v) { SetF64(104, v); }
  double HealthRate() const { return F64(112); }  // 健康保険 %
  void SetHealthRate(double v) { SetF64(112, v); }
  double NursingRate() const { return F64(120); }  // 介護保険 %
  void SetNursingRate(double v) { SetF64(120, v); }
  double PensionRate() const { return F64(128); }  // 厚生年金 %
  void SetPensionRate(double v) { SetF64(128, v); }
  double PensionFundRate() const { return F64(136); }  // 厚生年金基金率 %
  void SetPensionFundRate(double v) { SetF64(136, v); }
  double LevyRate() const { return F64(144); }  // 子ども・子育て支援金 employee share % (0 = no levy)
  void SetLevyRate(double v) { SetF64(144, v); }
  std::int32_t HealthInsurer() const { return I32(152); }  // 0 健康保険組合 (rates typed), 1..47 協会けんぽ JIS prefecture
  void SetHealthInsurer(std::int32_t v) { SetI32(152, v); }
  std::int32_t PremiumCollection() const { return I32(160); }  // 0 翌月徴収, 1 当月徴収
  void SetPremiumCollection(std::int32_t v) { SetI32(160, v); }
  std::int32_t WageClosingDay() const { return I32(164); }  // 給与締日 1..31 (31 = month end), 0 = not set
  void SetWageClosingDay(std::int32_t v) { SetI32(164, v); }
  std::int32_t WageClosingMonth() const { return I32(168); }  // 0 当月締め, 1 前月締め
  void SetWageClosingMonth(std::int32_t v) { SetI32(168, v); }

  // Zeroes the bytes behind the company name (before a byte comparison).
  void NormaliseStrings() { bytes::ZeroStringTail(bytes.data(), 0, 44); }
};

// ---------------------------------------------------------------------------------------------
// Employee record (500 bytes)
struct EmployeeRecord : bytes::ByteImage<500> {
  std::string Name() const { return Text(0, 20); }  // 氏名
  void SetName(std::string_view v) { SetText(0, 20, v); }
  std::string Department() const { return Text(21, 20); }  // 部署
  void SetDepartment(std::string_view v) { SetText(21, 20, v); }
  // Employee key "yymmdd_hhnnss"; a slot is in use exactly when it is non-empty. Compared as bytes.
  std::string Key() const { return RawText(42, 16); }
  void SetKey(std::string_view ascii) { bytes::PutSjisRaw(bytes.data(), 42, 16, ascii); }
  std::int32_t CategoryIndex() const { return I32(60); }  // 社員区分 list index, −1 = free text
  void SetCategoryIndex(std::int32_t v) { SetI32(60, v); }
  std::int32_t PayFormCode() const { return I32(64); }  // 支給形態 1..3
  void SetPayFormCode(std::int32_t v) { SetI32(64, v); }
  std::int32_t TaxColumn() const { return I32(68); }  // 0 甲欄, 1 乙欄
  void SetTaxColumn(std::int32_t v) { SetI32(68, v); }
  std::int32_t Dependants() const { return I32(72); }  // 扶養人数
  void SetDependants(std::int32_t v) { SetI32(72, v); }
  std::int32_t TaxDependants() const { return I32(76); }  // 扶養親族等の数
  void SetTaxDependants(std::int32_t v) { SetI32(76, v); }
  Yen BasePay() const { return I32(80); }  // 基本給 (monthly, daily or hourly by pay form)
  void SetBasePay(Yen v) { SetI32(80, v); }
  // Overtime unit prices per hour: 0 残業(普通), 1 残業(深夜), 2 休日残業(普通), 3 休日残業(深夜)
  Yen OvertimePrice(int i) const { return I32(84 + 4 * i); }
  void SetOvertimePrice(int i, Yen v) { SetI32(84 + 4 * i, v); }
  Yen CommuteNonTaxable() const { return I32(100); }  // 交通費(非課税)
  void SetCommuteNonTaxable(Yen v) { SetI32(100, v); }
  Yen CommuteTaxable() const { return I32(104); }  // 交通費(課税)
  void SetCommuteTaxable(Yen v) { SetI32(104, v); }
  std::int32_t CommuteUnit() const { return I32(108); }  // 支給単位 1..11
  void SetCommuteUnit(std::int32_t v) { SetI32(108, v); }
  Yen ResidentTaxJune() const { return I32(112); }  // 住民税(6月)
  void SetResidentTaxJune(Yen v) { SetI32(112, v); }
  Yen ResidentTaxOther() const { return I32(116); }  // 住民税(以外)
  void SetResidentTaxOther(Yen v) { SetI32(116, v); }
  Yen PositionAllowance() const { return I32(120); }  // 役職手当
  void SetPositionAllowance(Yen v) { SetI32(120, v); }
  Yen FamilyAllowance() const { return I32(124); }  // 家族手当
  void SetFamilyAllowance(Yen v) { SetI32(124, v); }
  Yen FixedAllowance(int i) const { return I32(128 + 4 * i); }  // 固定手当 1..3 as i = 0..2
  void SetFixedAllowance(int i, Yen v) { SetI32(128 + 4 * i, v); }
  Yen FixedDeduction(int i) const { return I32(140 + 4 * i); }  // 固定控除 1..3 as i = 0..2
  void SetFixedDeduction(int i, Yen v) { SetI32(140 + 4 * i, v); }
  Yen PaidLeavePay() const { return I32(152); }  // 有休時支給額
  void SetPaidLeavePay(Yen v) { SetI32(152, v); }
  Yen AbsenceDeduction() const { return I32(156); }  // 欠勤控除額 per day
  void SetAbsenceDeduction(Yen v) { SetI32(156, v); }
  Yen LatenessDeduction() const { return I32(160); }  // 遅早控除額 per hour
  void SetLatenessDeduction(Yen v) { SetI32(160, v); }
  bool EmploymentSubject() const { return Bool(172); }  // 雇用保険対象者
  void SetEmploymentSubject(bool v) { SetBool(172, v); }
  bool HealthSubject() const { return Bool(174); }  // 健康保険対象者
  void SetHealthSubject(bool v) { SetBool(174, v); }
  Yen HealthPremium() const { return I32(176); }
  void SetHealthPremium(Yen v) { SetI32(176, v); }
  bool NursingCollected() const { return Bool(180); }  // 介護保険料を徴収
  void SetNursingCollected(bool v) { SetBool(180, v); }
  Yen NursingPremium() const { return I32(184); }
  void SetNursingPremium(Yen v) { SetI32(184, v); }
  bool PensionSubject() const { return Bool(188); }  // 厚生年金対象者
  void SetPensionSubject(bool v) { SetBool(188, v); }
  Yen PensionPremium() const { return I32(192); }
  void SetPensionPremium(Yen v) { SetI32(192, v); }
  bool FundMember() const { return Bool(196); }  // 厚生年金基金加入
  void SetFundMember(bool v) { SetBool(196, v); }
  Yen FundContribution() const { return I32(200); }  // 掛け金
  void SetFundContribution(Yen v) { SetI32(200, v); }
  bool PaidInCash() const { return Bool(244); }  // 現金支給
  void SetPaidInCash(bool v) { SetBool(244, v); }
  std::string MailAddress() const { return Text(245, 50); }
  void SetMailAddress(std::string_view v) { SetText(245, 50, v); }
  std::string RetirementDate() const { return Text(296, 8); }  // "yymmdd"; empty = not retired
  void SetRetirementDate(std::string_view v) { SetText(296, 8, v); }
  std::string CategoryText() const { return Text(305, 12); }  // 社員区分 as shown
  void SetCategoryText(std::string_view v) { SetText(305, 12, v); }
  std::uint16_t Grade() const { return U16(318); }  // grade last chosen in the grade table
  void SetGrade(std::uint16_t v) { SetU16(318, v); }
  Yen LevyPremium() const { return I32(204); }  // 子ども・子育て支援金 (stored, set from the grade)
  void SetLevyPremium(Yen v) { SetI32(204, v); }
  std::int32_t BirthDate() const { return I32(208); }  // 生年月日 yyyymmdd, 0 = unknown
  void SetBirthDate(std::int32_t v) { SetI32(208, v); }
  std::int32_t Sex() const { return I32(212); }  // 性別 0 unknown, 1 男, 2 女
  void SetSex(std::int32_t v) { SetI32(212, v); }

  bool InUse() const { return bytes[42] != 0; }
  bool Retired() const;  // retirement date non-empty after trimming
  bool Active() const { return InUse() && !Retired(); }

  // Zeroes the bytes behind the name and the department (before a byte comparison).
  void NormaliseStrings() {
    bytes::ZeroStringTail(bytes.data(), 0, 20);
    bytes::ZeroStringTail(bytes.data(), 21, 20);
  }
};

// ---------------------------------------------------------------------------------------------
// Attendance record (200 bytes, doubles)
enum class Kintai : int {
  ScheduledDays = 0,   // 所定労働日数
  WorkDays,            // 出勤日数
  PaidLeaveDays,       // 有休日数
  AbsenceDays,         // 欠勤日数
  HolidayWorkDays,     // 休日出勤日数
  SpecialLeaveDays,    // 特別休暇日数
  ScheduledHours,      // 所定労働時間
  WorkedHours,         // 実働時間
  OvertimeHours,       // 普通残業時間
  NightOvertimeHours,  // 深夜残業時間
  HolidayOvertime,     // 休日普通残業
  HolidayNightOvertime,// 休日深夜残業
  LateCount,           // 遅刻早退回数
  LateHours,           // 遅刻早退時間
  PaidLeaveBalance,    // 有休残日数
};
constexpr int kKintaiFieldCount = 15;

struct AttendanceRecord : bytes::ByteImage<200> {
  double Get(Kintai f) const { return F64(8 * static_cast<int>(f)); }
  void Set(Kintai f, double v) { SetF64(8 * static_cast<int>(f), v); }
};

// ---------------------------------------------------------------------------------------------
// Payment record (148 bytes). Position p (1-based) is at offset 4 × (p − 1); its manual-entry
// flag at 115 + p. In a bonus period position 1 holds 賞与 and position 2 役員報酬.
enum class Sikyu : int {
  BasePay = 1,            // 基本給 / 賞与
  PositionAllowance,      // 役職手当 / 役員報酬
  FamilyAllowance,        // 家族手当
  FixedAllowance1,        // 固定手当１
  FixedAllowance2,
  FixedAllowance3,
  Overtime,               // 普通残業手当
  NightOvertime,          // 深夜残業手当
  HolidayOvertime,        // 休日普通残業
  HolidayNightOvertime,   // 休日深夜残業
  CommuteNonTaxable,      // 非課税通勤費
  CommuteTaxable,         // 課税通勤費
  VariableAllowance1,     // 変動手当１
  VariableAllowance2,
  VariableAllowance3,
  Absence,                // 欠勤控除 (negative)
  Lateness,               // 遅刻早退控除 (negative)
  TaxableTotal,           // 課税支給合計
  Total,                  // 支給合計
  Other1,                 // その他１
  Other2,
  Other3,
  Bonus = BasePay,                  // 賞与
  DirectorPay = PositionAllowance,  // 役員報酬
};
constexpr int kSikyuPositions = 30;

// Deduction record (136 bytes). Position p at offset 4 × (p − 1); manual flag at 107 + p.
enum class Koujo : int {
  Health = 1,          // 健康保険料
  Pension,             // 厚生年金保険
  PensionFund,         // 厚生年金基金
  Employment,          // 雇用保険料
  Nursing,             // 介護保険料
  SocialTotal,         // 社会保険料計
  AfterSocial,         // 社保控除後計
  IncomeTax,           // 所得税
  ResidentTax,         // 住民税
  FixedDeduction1,     // 固定控除１
  FixedDeduction2,
  FixedDeduction3,
  VariableDeduction1,  // 変動控除１
  VariableDeduction2,
  VariableDeduction3,
  Total,               // 控除合計
  SocialBase,          // 社保算定合計
  Other1,              // その他１
  Other2,
  Other3,
  ChildSupportLevy,    // 21 子ども・子育て支援金 (offset 80, manual flag 128)
  YearEndAdjustment,   // 22 年末調整過不足 (offset 84, manual flag 129)
};
constexpr int kKoujoPositions = 25;

template <typename Position, std::size_t N, std::size_t FlagBase, int MaxPosition>
struct FigureRecord : bytes::ByteImage<N> {
  Yen Get(Position p) const { return this->I32(4 * (static_cast<int>(p) - 1)); }
  void Set(Position p, Yen v) { this->SetI32(4 * (static_cast<int>(p) - 1), v); }
  Yen At(int position) const { return this->I32(4 * (position - 1)); }
  void SetAt(int position, Yen v) { this->SetI32(4 * (position - 1), v); }
  bool Manual(Position p) const { return this->Bool(FlagBase + static_cast<int>(p)); }
  void SetManual(Position p, bool v) { this->SetBool(FlagBase + static_cast<int>(p), v); }
  bool ManualAt(int position) const { return this->Bool(FlagBase + position); }
  void SetManualAt(int position, bool v) { this->SetBool(FlagBase + position, v); }
  static constexpr int kPositions = MaxPosition;
};

using PaymentRecord = FigureRecord<Sikyu, 148, 115, kSikyuPositions>;
using DeductionRecord = FigureRecord<Koujo, 136, 107, kKoujoPositions>;

// ---------------------------------------------------------------------------------------------
// One period: five contiguous parts in file order, each transferred with a single read or write.
struct PeriodBlock {
  static constexpr std::size_t kSize = 30904;
  static constexpr std::size_t kEmployeesOffset = 1384;
  static constexpr std::size_t kAttendanceOffset = 16384;
  static constexpr std::size_t kPaymentsOffset = 22384;
  static constexpr std::size_t kDeductionsOffset = 26824;

  CompanyRecord company;
  std::array<EmployeeRecord, kSlotCount> employees;
  std::array<AttendanceRecord, kSlotCount> attendance;
  std::array<PaymentRecord, kSlotCount> payments;
  std::array<DeductionRecord, kSlotCount> deductions;

  // Slots are numbered 1..30.
  EmployeeRecord& Employee(int slot) { return employees[slot - 1]; }
  const EmployeeRecord& Employee(int slot) const { return employees[slot - 1]; }
  AttendanceRecord& Attendance(int slot) { return attendance[slot - 1]; }
  const AttendanceRecord& Attendance(int slot) const { return attendance[slot - 1]; }
  PaymentRecord& Payment(int slot) { return payments[slot - 1]; }
  const PaymentRecord& Payment(int slot) const { return payments[slot - 1]; }
  DeductionRecord& Deduction(int slot) { return deductions[slot - 1]; }
  const DeductionRecord& Deduction(int slot) const { return deductions[slot - 1]; }

  void Clear();
  void ClearFigures();  // the three figure tables only (carry-over)
  // The 30904 bytes in file order, and back.
  void ToBytes(std::uint8_t* out) const;
  void FromBytes(const std::uint8_t* in);
  // Zeroes stale bytes behind the company name and every name and department.
  void NormaliseStrings();
  bool operator==(const PeriodBlock&) const = default;
};

// The image types hold nothing but their bytes, so an array of them is the file's byte layout.
static_assert(sizeof(CompanyRecord) == 1384);
static_assert(sizeof(EmployeeRecord) == 500);
static_assert(sizeof(AttendanceRecord) == 200);
static_assert(sizeof(PaymentRecord) == 148);
static_assert(sizeof(DeductionRecord) == 136);
static_assert(sizeof(FileHeader) == 128);

// Byte offset of period block k (1..15) in the yearly file.
constexpr std::int32_t BlockOffset(int period) { return 128 + 30904 * (period - 1); }
constexpr std::int64_t kYearFileSize = 128 + 15LL * 30904;  // 463688

}  // namespace paylark
