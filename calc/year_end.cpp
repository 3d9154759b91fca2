#include "calc/year_end.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "calc/explanation.h"

namespace paylark {
namespace {

// Narrows a product computed in 64 bits; a result outside the yen range is an overflow.
Yen ToYen(std::int64_t v) {
  if (v < INT32_MIN || v > INT32_MAX) throw MoneyOverflow("金額が範囲を超えました");
  return static_cast<Yen>(v);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

Yen AmountForIncome(const std::vector<AmountUpTo>& rows, Yen income) {
  for (const AmountUpTo& row : rows)
    if (income <= row.upTo) return row.amount;
  return 0;
}

// The column of the employee's own 合計所得 (≤ 900万, ≤ 950万, ≤ 1,000万); none above.
std::optional<int> EmployeeBand(const YearEndRules& rules, Yen income) {
  for (int i = 0; i < 3; ++i)
    if (income <= rules.employeeIncomeBands[i]) return i;
  return std::nullopt;
}

Yen PremiumDeduction(const PremiumFormula& formula, Yen premium) {
  if (premium <= 0) return 0;
  for (const PremiumBracket& b : formula.brackets)
    if (premium <= b.upTo)
      return CheckedAdd(ToYen(CeilDiv(std::int64_t{premium} * b.num, b.den)), b.add);
  return formula.cap;
}

// One kind with new and old contracts: the best of new only, old only and both up to the cap.
Yen NewAndOld(const PremiumFormula& newFormula, const PremiumFormula& oldFormula, Yen newPremium, Yen oldPremium,
              Yen combinedCap) {
  const Yen fromNew = PremiumDeduction(newFormula, newPremium);
  const Yen fromOld = PremiumDeduction(oldFormula, oldPremium);
  if (newPremium <= 0 || oldPremium <= 0) return std::max(fromNew, fromOld);
  return std::max({fromNew, fromOld, std::min(CheckedAdd(fromNew, fromOld), combinedCap)});
}

bool InRange(const CivilDate& d, const CivilDate& from, const CivilDate& until) { return from <= d && d <= until; }
bool IsSpecialDisability(DisabilityKind k) {
  return k == DisabilityKind::Special || k == DisabilityKind::SpecialCohabiting;
}

Yen RelativeDisability(const YearEndRules& rules, DisabilityKind k) {
  switch (k) {
    case DisabilityKind::None: return 0;
    case DisabilityKind::General: return rules.disabilityGeneral;
    case DisabilityKind::Special: return rules.disabilitySpecial;
    case DisabilityKind::SpecialCohabiting: return rules.disabilitySpecialCohabiting;
  }
  return 0;
}

}  // namespace

const std::vector<YearEndLine>& YearEndLines() {
  static const std::vector<YearEndLine> lines{
      {"給与所得控除後の金額", &YearEndResult::salaryIncome},
      {"所得金額調整控除額", &YearEndResult::incomeAdjustment},
      {"社会保険料控除", &YearEndResult::socialInsurance},
      {"小規模企業共済等掛金控除", &YearEndResult::smallBusinessMutualAid},
      {"生命保険料控除", &YearEndResult::lifeInsurance},
      {"地震保険料控除", &YearEndResult::earthquakeInsurance},
      {"配偶者控除", &YearEndResult::spouse},
      {"配偶者特別控除", &YearEndResult::spouseSpecial},
      {"扶養控除", &YearEndResult::dependants},
      {"障害者等の控除", &YearEndResult::disabilityEtc},
      {"基礎控除", &YearEndResult::basic},
      {"特定親族特別控除", &YearEndResult::specificRelative},
      {"所得控除の合計", &YearEndResult::deductionsTotal},
      {"課税給与所得金額", &YearEndResult::taxableIncome},
      {"算出所得税額", &YearEndResult::computedTax},
      {"住宅借入金等特別控除額", &YearEndResult::housingLoanCredit},
      {"年調所得税額", &YearEndResult::adjustedIncomeTax},
      {"年調年税額", &YearEndResult::annualTax},
      {"過不足額", &YearEndResult::difference},
  };
  return lines;
}

namespace {

// The band of 別表第五 a pay falls in; null for no pay or no bands.
const SalaryIncomeBand* SalaryIncomeBandOf(const YearEndRules& rules, Yen totalPay) {
  if (totalPay <= 0 || rules.salaryIncome.empty()) return nullptr;
  const SalaryIncomeBand* band = &rules.salaryIncome.front();
  for (const SalaryIncomeBand& b : rules.salaryIncome)
    if (b.from <= totalPay) band = &b;
  return band;
}

}  // namespace

Yen SalaryIncomeAfterDeduction(const YearEndRules& rules, Yen totalPay) {
  const SalaryIncomeBand* band = SalaryIncomeBandOf(rules, totalPay);
  if (band == nullptr) return 0;
  std::int64_t v = 0;
  switch (band->kind) {
    case SalaryIncomeBand::Kind::Zero: return 0;
    case SalaryIncomeBand::Kind::Less: v = std::int64_t{totalPay} - band->minus; break;
    case SalaryIncomeBand::Kind::Band: {
      const std::int64_t cut = std::int64_t{totalPay} / band->unit * band->unit;
      v = FloorDiv(cut * band->num, band->den) - band->minus;
      break;
    }
    case SalaryIncomeBand::Kind::Rate: v = FloorDiv(std::int64_t{totalPay} * band->num, band->den) - band->minus; break;
  }
  return ToYen(std::max<std::int64_t>(v, 0));
}

Yen LifeInsuranceDeduction(const YearEndRules& rules, const LifeInsurancePremiums& p, bool youngDependant) {
  const bool young = youngDependant && rules.lifeNewWithYoung.Present();
  const Yen general = NewAndOld(young ? rules.lifeNewWithYoung : rules.lifeNew, rules.lifeOld, p.newGeneral,
                                p.oldGeneral, young ? rules.lifeCombinedWithYoungCap : rules.lifeCombinedCap);
  const Yen care = PremiumDeduction(rules.lifeNew, p.careMedical);
  const Yen pension = NewAndOld(rules.lifeNew, rules.lifeOld, p.newPension, p.oldPension, rules.lifeCombinedCap);
  return std::min(CheckedAdd(CheckedAdd(general, care), pension), rules.lifeTotalCap);
}

namespace {

std::string Fraction(int num, int den) {
  return num == den ? std::string() : " × " + std::to_string(num) + "/" + std::to_string(den);
}

// The working of each line from the result and what the calculation decided on the way.
struct YearEndWorking {
  const SalaryIncomeBand* band = nullptr;
  bool adjustmentApplies = false;
  Yen ownIncome = 0;
  Yen salaryIncomeAdjusted = 0;
  Yen beforeCut = 0;
  const TaxRateRow* taxRow = nullptr;
  int spouseBand = -1;
  int dependantsCounted = 0;
  bool recording = false;  // an explanation was asked for: keep what each dependant counted for
  std::vector<std::pair<const char*, Yen>> dependantAmounts;
};

void ExplainYearEnd(const YearEndRules& rules, const YearEndInput& in, const YearEndResult& r,
                    const YearEndWorking& w, Explanation& x) {
  x.Begin(0);
  const std::vector<YearEndLine>& lines = YearEndLines();
  auto line = [&](int i) -> ExplanationEntry& {
    return x.Add(YearEndField(i), lines[static_cast<std::size_t>(i)].name, r.*(lines[static_cast<std::size_t>(i)].field));
  };
  const std::string year = std::to_string(rules.year) + "年分";
  {
    ExplanationEntry& e = line(0);
    e.table = year + " 給与所得控除後の給与等の金額の表";
    e.inputs = {{"給与の総額", static_cast<double>(r.totalPay), InputOrigin::Calculated}};
    std::string pay = "給与の総額 " + YenText(r.totalPay) + "（給与 " + YenText(in.salary) + " ＋ 賞与 " +
                      YenText(in.bonus) + " ＋ 前職分 " + YenText(in.previousPaid) + "）";
    if (w.band == nullptr || w.band->kind == SalaryIncomeBand::Kind::Zero) {
      e.body = pay + " → " + YenText(w.band ? w.band->from : 0) + "以上の欄：0";
      e.lookup = true;
    } else {
      e.row = YenText(w.band->from) + "以上の欄";
      switch (w.band->kind) {
        case SalaryIncomeBand::Kind::Less:
          e.body = pay + " → " + e.row + "：" + YenText(r.totalPay) + " − " + YenText(w.band->minus);
          break;
        case SalaryIncomeBand::Kind::Band:
          e.body = pay + " → " + e.row + "：" + YenText(w.band->unit) + "円未満切捨て " +
                   YenText(std::int64_t{r.totalPay} / w.band->unit * w.band->unit) + Fraction(w.band->num, w.band->den) +
                   " − " + YenText(w.band->minus);
          break;
        default:
          e.body = pay + " → " + e.row + "：" + YenText(r.totalPay) + Fraction(w.band->num, w.band->den) + " − " +
                   YenText(w.band->minus);
          break;
      }
      e.rounding = "円未満切捨て";
      e.lookup = true;
    }
  }
  {
    ExplanationEntry& e = line(1);
    if (w.adjustmentApplies) {
      e.body = "（min(給与の総額 " + YenText(r.totalPay) + ", " + YenText(rules.adjustmentCap) + ") − " +
               YenText(rules.adjustmentThreshold) + "）" + Fraction(rules.adjustmentNum, rules.adjustmentDen);
      e.exact = static_cast<double>(std::int64_t{std::min(r.totalPay, rules.adjustmentCap)} - rules.adjustmentThreshold) *
                rules.adjustmentNum / rules.adjustmentDen;
      e.rounding = "円未満切上げ";
    } else {
      e.body = "対象外（子ども・特別障害者等の要件、給与の総額 " + YenText(rules.adjustmentThreshold) +
               " 超、申告書の提出のいずれかを満たさない）";
    }
  }
  {
    ExplanationEntry& e = line(2);
    e.body = "給与から控除した社会保険料 " + YenText(in.socialInsurance) + " ＋ 前職分 " +
             YenText(in.previousSocialInsurance) + " ＋ 申告分 " + YenText(in.declaredSocialInsurance);
    e.inputs = {{"給与から控除", static_cast<double>(in.socialInsurance), InputOrigin::Calculated},
                {"前職分", static_cast<double>(in.previousSocialInsurance), InputOrigin::Declaration},
                {"申告分", static_cast<double>(in.declaredSocialInsurance), InputOrigin::Declaration}};
  }
  line(3).body = "申告の掛金 " + YenText(in.smallBusinessMutualAid);
  {
    ExplanationEntry& e = line(4);
    e.body = "申告の保険料（一般 新 " + YenText(in.life.newGeneral) + "・旧 " + YenText(in.life.oldGeneral) +
             "、介護医療 " + YenText(in.life.careMedical) + "、個人年金 新 " + YenText(in.life.newPension) + "・旧 " +
             YenText(in.life.oldPension) + "）を " + year + "の計算式で、合計の上限 " + YenText(rules.lifeTotalCap);
    e.lookup = true;
  }
  {
    ExplanationEntry& e = line(5);
    e.body = "地震保険料 " + YenText(in.earthquake) + "（上限 " + YenText(rules.earthquakeCap) + "）＋ 旧長期損害保険料 " +
             YenText(in.oldLongTerm) + " の控除額、合計の上限 " + YenText(rules.earthquakeTotalCap);
    e.lookup = true;
  }
  const std::string own = "本人の合計所得 " + YenText(w.ownIncome);
  for (int i : {6, 7}) {
    ExplanationEntry& e = line(i);
    if (!in.spouse) {
      e.body = "配偶者の申告なし";
    } else if (w.spouseBand < 0) {
      e.body = own + " が " + YenText(rules.employeeIncomeBands[2]) + " を超える：控除なし";
    } else {
      e.body = own + "（" + YenText(rules.employeeIncomeBands[w.spouseBand]) + "以下の列）、配偶者の所得 " +
               YenText(in.spouse->income);
      e.lookup = true;
    }
  }
  {
    ExplanationEntry& e = line(8);
    e.body = "控除対象扶養親族 " + std::to_string(w.dependantsCounted) + "人（12月31日の年齢と所得 " +
             YenText(rules.relativeIncomeLimit) + " 以下で区分）";
    for (std::size_t i = 0; i < w.dependantAmounts.size(); ++i)
      e.body += std::string(i == 0 ? "：" : " ＋ ") + w.dependantAmounts[i].first + " " +
                YenText(w.dependantAmounts[i].second);
    e.lookup = true;
  }
  line(9).body = "障害者・寡婦・ひとり親・勤労学生の控除の合計";
  {
    ExplanationEntry& e = line(10);
    e.body = own + " → " + year + "の基礎控除の表";
    e.lookup = true;
  }
  line(11).body = "19歳以上23歳未満の親族で所得が扶養の限度を超える者の控除の合計";
  {
    ExplanationEntry& e = line(12);
    e.body = "社会保険料 " + YenText(r.socialInsurance) + " ＋ 小規模企業共済等 " + YenText(r.smallBusinessMutualAid) +
             " ＋ 生命保険料 " + YenText(r.lifeInsurance) + " ＋ 地震保険料 " + YenText(r.earthquakeInsurance) +
             " ＋ 配偶者 " + YenText(r.spouse) + " ＋ 配偶者特別 " + YenText(r.spouseSpecial) + " ＋ 扶養 " +
             YenText(r.dependants) + " ＋ 障害者等 " + YenText(r.disabilityEtc) + " ＋ 基礎 " + YenText(r.basic) +
             " ＋ 特定親族特別 " + YenText(r.specificRelative);
  }
  {
    ExplanationEntry& e = line(13);
    e.body = "給与所得控除後の金額 " + YenText(r.salaryIncome) + " − 所得金額調整控除額 " +
             YenText(r.incomeAdjustment) + " − 所得控除の合計 " + YenText(r.deductionsTotal);
    e.exact = static_cast<double>(w.beforeCut);
    e.rounding = YenText(rules.taxableUnit) + "円未満切捨て";
    e.inputs = {{"給与所得控除後の金額", static_cast<double>(r.salaryIncome), InputOrigin::Calculated},
                {"所得金額調整控除額", static_cast<double>(r.incomeAdjustment), InputOrigin::Calculated},
                {"所得控除の合計", static_cast<double>(r.deductionsTotal), InputOrigin::Calculated}};
  }
  {
    ExplanationEntry& e = line(14);
    e.table = year + " 所得税の速算表";
    if (w.taxRow != nullptr) {
      e.row = w.taxRow->upTo ? YenText(*w.taxRow->upTo) + "以下の行" : std::string("最上位の行");
      e.rate = std::to_string(w.taxRow->percent) + " %";
      e.body = e.table + "、課税給与所得金額 " + YenText(r.taxableIncome) + " → " + e.row + "：" +
               YenText(r.taxableIncome) + " × " + e.rate + " − " + YenText(w.taxRow->subtract);
      e.exact = static_cast<double>(r.taxableIncome) * w.taxRow->percent / 100.0 - w.taxRow->subtract;
      e.rounding = "円未満切捨て";
      e.inputs = {{"課税給与所得金額", static_cast<double>(r.taxableIncome), InputOrigin::Calculated},
                  {"税率", static_cast<double>(w.taxRow->percent), InputOrigin::Table},
                  {"控除額", static_cast<double>(w.taxRow->subtract), InputOrigin::Table}};
    } else {
      e.body = "速算表に行がない";
    }
  }
  line(15).body = "税務署の証明書の控除額 " + YenText(in.housingLoanCredit) + "（算出所得税額 " +
                  YenText(r.computedTax) + " まで）";
  line(16).body = "算出所得税額 " + YenText(r.computedTax) + " − 住宅借入金等特別控除額 " + YenText(r.housingLoanCredit);
  {
    ExplanationEntry& e = line(17);
    e.body = "年調所得税額 " + YenText(r.adjustedIncomeTax) + Fraction(rules.reconstructionNum, rules.reconstructionDen) +
             "（復興特別所得税を含む）";
    e.exact = static_cast<double>(r.adjustedIncomeTax) * rules.reconstructionNum / rules.reconstructionDen;
    e.rounding = YenText(rules.annualTaxUnit) + "円未満切捨て";
    e.inputs = {{"年調所得税額", static_cast<double>(r.adjustedIncomeTax), InputOrigin::Calculated}};
  }
  {
    ExplanationEntry& e = line(18);
    e.body = "年調年税額 " + YenText(r.annualTax) + " − 徴収済税額 " + YenText(r.withheld) + "（給与・賞与 " +
             YenText(in.withheld) + " ＋ 前職分 " + YenText(in.previousWithheld) + "）";
    e.inputs = {{"年調年税額", static_cast<double>(r.annualTax), InputOrigin::Calculated},
                {"徴収済税額", static_cast<double>(r.withheld), InputOrigin::Calculated}};
  }
}

}  // namespace

YearEndResult ComputeYearEnd(const YearEndRules& rules, const YearEndInput& in, Explanation* explanation) {
  YearEndResult r;
  YearEndWorking w;
  w.recording = explanation != nullptr;
  r.totalPay = CheckedAdd(CheckedAdd(in.salary, in.bonus), in.previousPaid);
  r.withheld = CheckedAdd(in.withheld, in.previousWithheld);
  r.salaryIncome = SalaryIncomeAfterDeduction(rules, r.totalPay);

  // Relatives: who is a 扶養親族 (income within the limit), of which kind, who is under 23.
  const CivilDate noDate{};
  bool youngDependant = false;
  bool specialDisabledRelative = false;
  Yen disability = 0;
  for (const DeclaredRelative& d : in.dependants) {
    if (d.birth == noDate) continue;
    if (d.income <= rules.relativeIncomeLimit) {
      if (d.birth >= rules.youngBornFrom) youngDependant = true;
      if (IsSpecialDisability(d.disability)) specialDisabledRelative = true;
      AddTo(disability, RelativeDisability(rules, d.disability));
      if (d.birth >= rules.under16BornFrom) continue;  // 年少扶養親族: no 扶養控除
      Yen amount = rules.dependantGeneral;
      const char* kind = "一般の控除対象扶養親族";
      if (InRange(d.birth, rules.specificBornFrom, rules.specificBornUntil)) {
        amount = rules.dependantSpecific;
        kind = "特定扶養親族";
      } else if (d.birth <= rules.elderlyBornUntil) {
        amount = d.cohabiting ? rules.dependantElderlyCohabiting : rules.dependantElderly;
        kind = d.cohabiting ? "同居老親等" : "同居老親等以外の老人扶養親族";
      }
      AddTo(r.dependants, amount);
      ++w.dependantsCounted;
      if (w.recording) w.dependantAmounts.emplace_back(kind, amount);
    } else if (InRange(d.birth, rules.specificBornFrom, rules.specificBornUntil)) {
      AddTo(r.specificRelative, AmountForIncome(rules.specificRelative, d.income));  // 特定親族
    }
  }
  const bool sameHouseholdSpouse = in.spouse && in.spouse->income <= rules.relativeIncomeLimit;
  if (sameHouseholdSpouse) {
    if (IsSpecialDisability(in.spouse->disability)) specialDisabledRelative = true;
    AddTo(disability, RelativeDisability(rules, in.spouse->disability));
  }

  // 所得金額調整控除 (子ども・特別障害者等).
  if (in.incomeAdjustmentDeclared && r.totalPay > rules.adjustmentThreshold &&
      (IsSpecialDisability(in.employeeDisability) || youngDependant || specialDisabledRelative)) {
    const std::int64_t base = std::int64_t{std::min(r.totalPay, rules.adjustmentCap)} - rules.adjustmentThreshold;
    r.incomeAdjustment = ToYen(CeilDiv(base * rules.adjustmentNum, rules.adjustmentDen));
  }
  const Yen salaryIncomeAdjusted = CheckedSub(r.salaryIncome, r.incomeAdjustment);
  const Yen ownIncome = CheckedAdd(salaryIncomeAdjusted, in.otherIncome);  // 本人の合計所得
  w.adjustmentApplies = r.incomeAdjustment != 0;
  w.ownIncome = ownIncome;

  r.socialInsurance =
      CheckedAdd(CheckedAdd(in.socialInsurance, in.previousSocialInsurance), in.declaredSocialInsurance);
  r.smallBusinessMutualAid = in.smallBusinessMutualAid;
  r.lifeInsurance = LifeInsuranceDeduction(rules, in.life, youngDependant);
  r.earthquakeInsurance =
      std::min(CheckedAdd(std::min(std::max(in.earthquake, 0), rules.earthquakeCap),
                          PremiumDeduction(rules.oldLongTerm, in.oldLongTerm)),
               rules.earthquakeTotalCap);

  if (in.spouse) {
    if (const std::optional<int> band = EmployeeBand(rules, ownIncome)) {
      w.spouseBand = *band;
      if (sameHouseholdSpouse) {
        const bool elderly = in.spouse->birth != noDate && in.spouse->birth <= rules.elderlyBornUntil;
        r.spouse = (elderly ? rules.spouseElderly : rules.spouseGeneral)[*band];
      } else {
        for (const ColumnsUpTo& row : rules.spouseSpecial)
          if (in.spouse->income <= row.upTo) {
            r.spouseSpecial = row.amounts[*band];
            break;
          }
      }
    }
  }

  // 障害者等: the relatives' 障害者控除, the employee's own, 寡婦 or ひとり親, 勤労学生.
  if (in.employeeDisability == DisabilityKind::General) AddTo(disability, rules.disabilityGeneral);
  if (IsSpecialDisability(in.employeeDisability)) AddTo(disability, rules.disabilitySpecial);
  if (in.singleParent && ownIncome <= rules.singleParentIncomeLimit)
    AddTo(disability, rules.singleParent);
  else if (in.widow && ownIncome <= rules.widowIncomeLimit)
    AddTo(disability, rules.widow);
  if (in.workingStudent && ownIncome <= rules.workingStudentIncomeLimit &&
      in.otherIncome <= rules.workingStudentOtherIncomeLimit)
    AddTo(disability, rules.workingStudent);
  r.disabilityEtc = disability;

  r.basic = AmountForIncome(rules.basic, ownIncome);

  for (Yen part : {r.socialInsurance, r.smallBusinessMutualAid, r.lifeInsurance, r.earthquakeInsurance, r.spouse,
                   r.spouseSpecial, r.dependants, r.disabilityEtc, r.basic, r.specificRelative})
    AddTo(r.deductionsTotal, part);

  const Yen beforeCut = std::max(CheckedSub(salaryIncomeAdjusted, r.deductionsTotal), 0);
  r.taxableIncome = beforeCut / rules.taxableUnit * rules.taxableUnit;

  for (const TaxRateRow& row : rules.taxRates)
    if (!row.upTo || r.taxableIncome <= *row.upTo) {
      r.computedTax = ToYen(std::max<std::int64_t>(
          FloorDiv(std::int64_t{r.taxableIncome} * row.percent, 100) - row.subtract, 0));
      w.taxRow = &row;
      break;
    }

  r.housingLoanCredit = std::min(std::max(in.housingLoanCredit, 0), r.computedTax);
  r.adjustedIncomeTax = CheckedSub(r.computedTax, r.housingLoanCredit);
  const std::int64_t withReconstruction =
      FloorDiv(std::int64_t{r.adjustedIncomeTax} * rules.reconstructionNum, rules.reconstructionDen);
  r.annualTax = ToYen(withReconstruction / rules.annualTaxUnit * rules.annualTaxUnit);
  r.difference = CheckedSub(r.annualTax, r.withheld);
  if (explanation != nullptr) {
    w.band = SalaryIncomeBandOf(rules, r.totalPay);
    w.beforeCut = beforeCut;
    ExplainYearEnd(rules, in, r, w, *explanation);
  }
  return r;
}

ShortfallDeferral DeferralOfShortfall(const YearEndRules& rules, Yen shortfall, Yen settlingMonthNetPay,
                                      Yen averageEarlierNetPay, Yen settlingMonthTax) {
  ShortfallDeferral d;
  d.collectedNow = shortfall;
  if (shortfall <= 0 || rules.deferralNum <= 0) return d;
  const std::int64_t threshold = std::int64_t{averageEarlierNetPay} * rules.deferralNum;
  const bool belowShare = std::int64_t{settlingMonthNetPay} * rules.deferralDen < threshold;
  const Yen excess = CheckedSub(shortfall, std::max(settlingMonthTax, 0));
  if (!belowShare || excess <= 0) return d;
  d.offered = true;
  d.collectedNow = CheckedSub(shortfall, excess);
  d.february = excess / 2;
  d.january = CheckedSub(excess, d.february);
  return d;
}

}  // namespace paylark
