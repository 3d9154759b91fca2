// The byte layouts of the four rate table files, with named accessors at the file offsets.
//
// Every integer is a little-endian int32 (yen, a count or a grade number), every rate a binary64
// fraction (0.05 is five per cent). Rows are numbered from 1; a count field says how many rows
// are in use and the rest of the row area is ignored. Lower bounds are inclusive, upper bounds
// exclusive. A row accessor throws std::out_of_range for a row number outside the fixed row area,
// so no access can leave the image; the look-ups check the counts before they read a row.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>

#include "store/bytes.h"
#include "store/money.h"

namespace paylark {

namespace table_layout {
inline std::size_t RowOffset(int row, int maxRows, std::size_t first, std::size_t rowSize) {
  if (row < 1 || row > maxRows) throw std::out_of_range("rate table row out of range");
  return first + rowSize * static_cast<std::size_t>(row - 1);
}
inline std::size_t DependantColumn(int dependants) {
  if (dependants < 0 || dependants > 7) throw std::out_of_range("dependant column out of range");
  return static_cast<std::size_t>(dependants);
}
}  // namespace table_layout

// 甲欄 columns of the monthly and the bonus table: 0 to 7 dependants (the last one is 7人以上).
constexpr int kDependantColumns = 8;
using KouColumns = std::array<Yen, kDependantColumns>;

// 税額表(給与).dat: the monthly withholding table (月額表). Rows N − 1 and N are the open-ended
// brackets above the table proper: tax = the row's tax + rate × excess.
struct MonthlyTaxImage : bytes::ByteImage<16764> {
  static constexpr int kMaxRows = 380;
  static constexpr int kMinRows = 2;

  int RowCount() const { return I32(0); }
  void SetRowCount(int n) { SetI32(0, n); }

  Yen Lower(int row) const { return I32(Row(row)); }
  Yen Upper(int row) const { return I32(Row(row) + 4); }
  Yen Kou(int row, int dependants) const { return I32(Row(row) + 8 + 4 * table_layout::DependantColumn(dependants)); }
  Yen Otsu(int row) const { return I32(Row(row) + 40); }
  void SetRow(int row, Yen lower, Yen upper, const KouColumns& kou, Yen otsu) {
    const std::size_t o = Row(row);
    SetI32(o, lower);
    SetI32(o + 4, upper);
    for (int d = 0; d < kDependantColumns; ++d) SetI32(o + 8 + 4 * static_cast<std::size_t>(d), kou[d]);
    SetI32(o + 40, otsu);
  }

  double KouRateSecondToLast() const { return F64(16724); }  // 甲: from row N − 1's lower bound
  void SetKouRateSecondToLast(double v) { SetF64(16724, v); }
  double KouRateAboveLast() const { return F64(16732); }  // 甲: from row N's lower bound
  void SetKouRateAboveLast(double v) { SetF64(16732, v); }
  double OtsuRateBelowFirst() const { return F64(16740); }  // 乙: of the whole amount below row 1
  void SetOtsuRateBelowFirst(double v) { SetF64(16740, v); }
  double OtsuRateFromSecondToLast() const { return F64(16748); }  // 乙: from row N − 1's lower bound
  void SetOtsuRateFromSecondToLast(double v) { SetF64(16748, v); }
  Yen KouReductionBeyondSeven() const { return I32(16756); }  // per dependant over seven
  void SetKouReductionBeyondSeven(Yen v) { SetI32(16756, v); }
  Yen OtsuReductionPerDependant() const { return I32(16760); }
  void SetOtsuReductionPerDependant(Yen v) { SetI32(16760, v); }

 private:
  static std::size_t Row(int row) { return table_layout::RowOffset(row, kMaxRows, 4, 44); }
};

// 税額表(賞与).dat: the bonus rates (賞与に対する源泉徴収税額の算出率の表). 甲 rows carry a range of the
// previous month's amount per dependant column; 乙 rows only an upper bound. The last row of
// each side is the default and is never tested.
struct BonusTaxImage : bytes::ByteImage<1568> {
  static constexpr int kMaxKouRows = 20;
  static constexpr int kMaxOtsuRows = 10;

  int KouRowCount() const { return I32(0); }
  void SetKouRowCount(int n) { SetI32(0, n); }
  double KouRate(int row) const { return F64(KouRow(row)); }
  Yen KouLower(int row, int dependants) const { return I32(KouRow(row) + 8 + 8 * table_layout::DependantColumn(dependants)); }
  Yen KouUpper(int row, int dependants) const { return I32(KouRow(row) + 12 + 8 * table_layout::DependantColumn(dependants)); }
  void SetKouRow(int row, double rate, const KouColumns& lower, const KouColumns& upper) {
    const std::size_t o = KouRow(row);
    SetF64(o, rate);
    for (int d = 0; d < kDependantColumns; ++d) {
      SetI32(o + 8 + 8 * static_cast<std::size_t>(d), lower[d]);
      SetI32(o + 12 + 8 * static_cast<std::size_t>(d), upper[d]);
    }
  }

  int OtsuRowCount() const { return I32(1444); }
  void SetOtsuRowCount(int n) { SetI32(1444, n); }
  double OtsuRate(int row) const { return F64(OtsuRow(row)); }
  Yen OtsuUpper(int row) const { return I32(OtsuRow(row) + 8); }
  void SetOtsuRow(int row, double rate, Yen upper) {
    SetF64(OtsuRow(row), rate);
    SetI32(OtsuRow(row) + 8, upper);
  }

 private:
  static std::size_t KouRow(int row) { return table_layout::RowOffset(row, kMaxKouRows, 4, 72); }
  static std::size_t OtsuRow(int row) { return table_layout::RowOffset(row, kMaxOtsuRows, 1448, 12); }
};

// 雇用保険料額表.dat: the employee's employment insurance premium by the month's total payment.
// The first 16 bytes are not read.
struct EmploymentImage : bytes::ByteImage<980> {
  static constexpr int kMaxRows = 60;

  int RowCount() const { return I32(16); }
  void SetRowCount(int n) { SetI32(16, n); }
  Yen Lower(int row) const { return I32(Row(row)); }
  Yen Upper(int row) const { return I32(Row(row) + 4); }
  Yen GeneralPremium(int row) const { return I32(Row(row) + 8); }  // 一般事業所
  Yen OtherPremium(int row) const { return I32(Row(row) + 12); }   // それ以外
  void SetRow(int row, Yen lower, Yen upper, Yen general, Yen other) {
    const std::size_t o = Row(row);
    SetI32(o, lower);
    SetI32(o + 4, upper);
    SetI32(o + 8, general);
    SetI32(o + 12, other);
  }

 private:
  static std::size_t Row(int row) { return table_layout::RowOffset(row, kMaxRows, 20, 16); }
};

struct Grade {
  Yen lower = 0;     // inclusive
  Yen upper = 0;     // exclusive
  Yen standard = 0;  // 標準報酬月額
  bool operator==(const Grade&) const = default;
};

// 健康保険料額表.dat: the standard monthly remuneration grades (標準報酬月額). Grade g is at
// offset 12 × g; welfare pension uses the same rows, clamped into [PensionLowest, PensionHighest].
struct HealthGradeImage : bytes::ByteImage<972> {
  static constexpr int kMaxGrades = 80;

  int GradeCount() const { return I32(0); }
  void SetGradeCount(int n) { SetI32(0, n); }
  int PensionLowest() const { return I32(4); }
  void SetPensionLowest(int g) { SetI32(4, g); }
  int PensionHighest() const { return I32(8); }
  void SetPensionHighest(int g) { SetI32(8, g); }
  Grade At(int grade) const { return {I32(Row(grade)), I32(Row(grade) + 4), I32(Row(grade) + 8)}; }
  void SetGrade(int grade, const Grade& g) {
    SetI32(Row(grade), g.lower);
    SetI32(Row(grade) + 4, g.upper);
    SetI32(Row(grade) + 8, g.standard);
  }

 private:
  static std::size_t Row(int grade) { return table_layout::RowOffset(grade, kMaxGrades, 12, 12); }
};

}  // namespace paylark
