#!/usr/bin/env bash
# saldesk-cli end to end: table look-ups of both editions against the source tables, the
# self-check, and stored periods recalculated (with the edition of their payment date) and saved.
#   cli_test.sh SALDESK_CLI MAKE_SAMPLE_YEAR PROGRAM_DIR TABLES_SRC
set -u
cli=$1 sample=$2 tables_dir=$3 src=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $1: expected [$2] got [$3]"; fi
}

prog=$work/Saldesk
mkdir -p "$prog"
cp "$tables_dir"/*.dat "$prog"/
cp -r "$tables_dir"/Tables "$prog"/
cp -r "$tables_dir"/YearEnd "$prog"/
run() { "$cli" "$@" --program-dir "$prog"; }

# Monthly table of each edition, picked by the payment date: the rows at their lower bounds and
# just below their upper bounds, 甲 0..7 and 乙 (a sample; the library tests check every amount).
for edition in 2026-01-01:2026-01-01 2020-01-01:2025-12-25; do
  date=${edition#*:}
  while IFS=$'\t' read -r lower upper k0 k1 k2 k3 k4 k5 k6 k7 otsu; do
    [ "$lower" = lower ] && continue
    [ -z "$otsu" ] && continue                  # the range below the first row
    [ $((lower % 20000)) -eq 0 ] || continue
    check "$date kou0 $lower" "$k0" "$(run tax "$lower" 0 kou --date "$date")"
    check "$date kou7 $((upper - 1))" "$k7" "$(run tax $((upper - 1)) 7 kou --date "$date")"
    check "$date kou9 $lower" "$(( k7 - 2 * 1610 > 0 ? k7 - 2 * 1610 : 0 ))" "$(run tax "$lower" 9 kou --date "$date")"
    check "$date otsu $lower" "$otsu" "$(run tax "$lower" 0 otsu --date "$date")"
  done < "$src/withholding-monthly-${edition%%:*}.tsv"
done
# Below the first row: 甲 0, 乙 3.063 % truncated.
check "kou below first row" 0 "$(run tax 104999 0 kou --date 2026-01-01)"
check "otsu below first row" 3216 "$(run tax 104999 0 otsu --date 2026-01-01)"
# Every bracket above 740,000 is exact: base + rate × excess, truncated.
check "kou 740000" 71680 "$(run tax 740000 0 kou --date 2026-01-01)"
check "kou 959999 2 dependants" "$(( 68960 + (959999 - 790000) * 23483 / 100000 ))" "$(run tax 959999 2 kou --date 2026-01-01)"
check "kou 960000" 121820 "$(run tax 960000 0 kou --date 2026-01-01)"
check "kou 2200000 9 dependants" "$(( 525950 + (2200000 - 2170000) * 4084 / 10000 - 2 * 1610 ))" \
  "$(run tax 2200000 9 kou --date 2026-01-01)"
check "kou 4000000" "$(( 1125270 + 500000 * 45945 / 100000 ))" "$(run tax 4000000 0 kou --date 2026-01-01)"
check "otsu 1710000" 655400 "$(run tax 1710000 0 otsu --date 2026-01-01)"
check "2025 kou 950000" 121480 "$(run tax 950000 0 kou --date 2025-12-25)"
check "2025 otsu 1700000" 651900 "$(run tax 1700000 0 otsu --date 2025-12-25)"

# Bonus rates at the bounds of the 2026 table (甲 0 and 7 dependants) and the 乙 rows.
b26() { run bonus-tax "$@" --date 2026-06-10; }
check "bonus kou0 below 82000" "$(printf 'rate\t0.00000\ntax\t0')" "$(b26 81999 100000 0 kou)"
check "bonus kou0 at 82000" "$(printf 'rate\t0.02042\ntax\t2042')" "$(b26 82000 100000 0 kou)"
check "bonus kou7 at 383000" "$(printf 'rate\t0.04084\ntax\t4084')" "$(b26 383000 100000 9 kou)"
check "bonus kou0 41.861 %" "$(printf 'rate\t0.41861\ntax\t41861')" "$(b26 2621000 100000 0 kou)"
check "bonus otsu below 224000" "$(printf 'rate\t0.10210\ntax\t10210')" "$(b26 223999 100000 0 otsu)"
check "bonus otsu from 1118000" "$(printf 'rate\t0.45945\ntax\t45945')" "$(b26 1118000 100000 3 otsu)"
# The 2020 edition for a bonus paid in 2025: 80,000 is below its first 甲 bound in 2026 only.
check "bonus 2025 kou0 at 80000" "$(printf 'rate\t0.04084\ntax\t4084')" "$(run bonus-tax 80000 100000 0 kou --date 2025-12-10)"
check "bad date exits 2" 2 "$(run tax 1 0 kou --date 2025-02-30 > /dev/null 2>&1; echo $?)"

# Self-check: creates the data folder and this year's file.
run selfcheck > "$work/selfcheck.txt" || failed=$((failed + 1))
check "yearly file created" 463688 "$(stat -c %s "$prog"/Data/*年給与･賞与.dat | head -1)"

# A stored period recalculated: period 12 of a sample file.
year=$("$sample" "$prog/Data" 令和 6)
field() {  # field FILE SLOT HEADER
  awk -F'\t' -v slot="$2" -v name="$3" 'NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i; next }
    $1 == slot { print $col[name] }' "$1"
}
run recalc "$year" 12 > "$work/p12.tsv" || failed=$((failed + 1))
check "基本給" 280000 "$(field "$work/p12.tsv" 1 基本給)"
check "普通残業手当" 23100 "$(field "$work/p12.tsv" 1 普通残業手当)"
check "支給合計" 335100 "$(field "$work/p12.tsv" 1 支給合計)"
check "雇用保険料" 1843 "$(field "$work/p12.tsv" 1 雇用保険料)"
check "社保控除後計" 278942 "$(field "$work/p12.tsv" 1 社保控除後計)"
# 令和6年12月 is paid under the 2020 edition (甲, 1 dependant).
kou1() { awk -F'\t' '$1 <= 278942 && 278942 < $2 { print $4 }' "$src/withholding-monthly-$1.tsv"; }
check "所得税" "$(kou1 2020-01-01)" "$(field "$work/p12.tsv" 1 所得税)"
check "住民税" 11000 "$(field "$work/p12.tsv" 1 住民税)"
check "日給 基本給" 171000 "$(field "$work/p12.tsv" 2 基本給)"
check "日給 通勤費 per day" 9000 "$(field "$work/p12.tsv" 2 非課税通勤費)"
check "retired slot has no pay" 0 "$(field "$work/p12.tsv" 3 支給合計)"
check "no warnings" 0 "$(grep -c '^warning' "$work/p12.tsv")"
# The user's item names head their columns, as on the sheet.
named=$work/Named
cp -r "$prog" "$named"
printf '[Option]\r\nFixTeate1="住宅手当"\r\nVarKoujo1="社宅費"\r\n' | iconv -f UTF-8 -t CP932 > "$named/Saldesk.ini"
"$cli" recalc "$year" 12 --program-dir "$named" > "$work/named.tsv" || failed=$((failed + 1))
headers=$(head -1 "$work/named.tsv" | tr '\t' '\n')
check "user's name of 固定手当１" 1 "$(grep -cx '住宅手当' <<< "$headers")"
check "user's name of 変動控除１" 1 "$(grep -cx '社宅費' <<< "$headers")"
check "no placeholder 固定手当１" 0 "$(grep -cx '固定手当１' <<< "$headers")"
check "other placeholders keep their names" 1 "$(grep -cx '固定手当２' <<< "$headers")"

# --save writes only block 12 (the header already had its flag).
cp "$year" "$work/before.dat"
run recalc "$year" 12 --save > /dev/null 2>&1 || failed=$((failed + 1))
outside=$(cmp -l "$work/before.dat" "$year" | awk '$1 - 1 < 128 + 30904 * 11 || $1 - 1 >= 128 + 30904 * 12' | wc -l)
check "save changes only block 12" 0 "$outside"
check "save changed block 12" 1 "$( [ "$(cmp -l "$work/before.dat" "$year" | wc -l)" -gt 0 ] && echo 1 || echo 0)"

# The winter bonus (paid in December) looks up November: without its saved figures, exception 1;
# after November is recalculated and saved, the tax is computed.
run recalc "$year" 14 > "$work/p14.tsv"
check "bonus exception without November" 2 "$(grep -c '^tax-exception' "$work/p14.tsv")"
run recalc "$year" 11 --save > /dev/null 2>&1
run recalc "$year" 14 > "$work/p14.tsv"
check "bonus 乙 without exception" 0 "$(grep -c '^tax-exception' "$work/p14.tsv")"
check "賞与" 600000 "$(field "$work/p14.tsv" 1 賞与)"

# December 2025 recalculated in 2026 keeps its 2025 tax; December 2026 takes the 2026 tax.
mkdir -p "$work/other"
check "the editions differ here" 1 "$( [ "$(kou1 2020-01-01)" != "$(kou1 2026-01-01)" ] && echo 1 || echo 0)"
for y in 7:2020-01-01 8:2026-01-01; do
  file=$("$sample" "$work/other" 令和 "${y%%:*}")
  run recalc "$file" 12 > "$work/r${y%%:*}.tsv" || failed=$((failed + 1))
  check "令和${y%%:*}年12月 所得税" "$(kou1 "${y#*:}")" "$(field "$work/r${y%%:*}.tsv" 1 所得税)"
  check "令和${y%%:*}年12月 社保控除後計" 278942 "$(field "$work/r${y%%:*}.tsv" 1 社保控除後計)"
done

# The 子ども・子育て支援金 of a company that collects it: the stored premium monthly, 0.115 % of the
# standard bonus on a bonus; it lowers 社保控除後計.
mkdir -p "$work/levy"
levy_year=$("$sample" "$work/levy" 令和 8 --levy)
run recalc "$levy_year" 12 > "$work/levy12.tsv" || failed=$((failed + 1))
check "levy monthly" 345 "$(field "$work/levy12.tsv" 1 子ども・子育て支援金)"
check "levy lowers 社保控除後計" $((278942 - 345)) "$(field "$work/levy12.tsv" 1 社保控除後計)"
check "no levy without health insurance" 0 "$(field "$work/levy12.tsv" 2 子ども・子育て支援金)"
check "no levy in a file without its rate" 0 "$(field "$work/r8.tsv" 1 子ども・子育て支援金)"
run recalc "$levy_year" 14 > "$work/levy14.tsv" || failed=$((failed + 1))
check "levy on the bonus" 690 "$(field "$work/levy14.tsv" 1 子ども・子育て支援金)"

# explain: the working of each amount of one employee, one block per amount, with the figures
# recalc shows; FIELD picks one amount.
run explain "$levy_year" 12 1 > "$work/explain.txt" || failed=$((failed + 1))
after=$(field "$work/levy12.tsv" 1 社保控除後計)
row=$(awk -F'\t' -v a="$after" '$1 <= a && a < $2 { printf "%d,%03d以上%d,%03d未満の行\t%d,%03d", $1 / 1000, $1 % 1000, $2 / 1000, $2 % 1000, $4 / 1000, $4 % 1000 }' \
  "$src/withholding-monthly-2026-01-01.tsv")
check "explain names the tax row" \
  "所得税 ${row#*$'\t'} ＝ 令和8年分 月額表、社保控除後 $(printf "%d,%03d" $((after / 1000)) $((after % 1000))) → ${row%$'\t'*}、甲欄 扶養親族等 1人 → ${row#*$'\t'}" \
  "$(grep '^所得税' "$work/explain.txt")"
check "explain names the pension rate's source" 1 "$(grep -c '^厚生年金保険 27,450 ＝ .*18.3 % の折半）＝ 27,450.00 → 50銭以下切捨て → 27,450$' "$work/explain.txt")"
check "explain the levy" 1 "$(grep -c '^子ども・子育て支援金 345 ＝ 標準報酬月額 ' "$work/explain.txt")"
check "explain one field" "雇用保険料 1,843" "$(run explain "$levy_year" 12 1 雇用保険料 | grep -v '^slot' | grep . | cut -d' ' -f1,2)"
run explain "$levy_year" 12 1 無い項目 > /dev/null 2>&1; check "explain an unknown field exits 2" 2 $?
run explain "$levy_year" 12 9 > /dev/null 2>&1; check "explain an empty slot exits 2" 2 $?

# render: reports of a stored period drawn into PDF files (only in the build with Qt).
if "$cli" --help 2>&1 | grep -q '^  render'; then
  run render payslip "$year" 12 1,2,3 --pdf "$work/slips.pdf"; check "render payslips" 0 $?
  check "payslips are a PDF" "%PDF" "$(head -c 4 "$work/slips.pdf")"
  if command -v pdfinfo > /dev/null; then
    check "three payslips on two sheets" 2 "$(pdfinfo "$work/slips.pdf" | awk '/^Pages:/ { print $2 }')"
    check "payslips portrait" 1 "$(pdfinfo "$work/slips.pdf" | grep -c 'Page size: *595 x 842')"
    run render ledger "$year" 12 --pdf "$work/ledger.pdf"; check "render ledger" 0 $?
    check "one ledger sheet per active employee" 2 "$(pdfinfo "$work/ledger.pdf" | awk '/^Pages:/ { print $2 }')"
    check "ledger landscape" 1 "$(pdfinfo "$work/ledger.pdf" | grep -c 'Page size: *842 x 595')"
  fi
  if command -v pdftotext > /dev/null; then
    check "payslip names the company" 1 "$(pdftotext "$work/slips.pdf" - | grep -c -m1 '株式会社ひばり商事')"
    run recalc "$levy_year" 12 --save > /dev/null 2>&1
    run render payslip "$levy_year" 12 1 --pdf "$work/levy.pdf"; check "render levy payslip" 0 $?
    check "payslip levy line" 1 "$(pdftotext -layout "$work/levy.pdf" - | grep -c -m1 '子ども・子育て支援金 *345')"
  fi
  for kind in list roster; do
    run render $kind "$year" 12 --pdf "$work/$kind.pdf"; check "render $kind" 0 $?
  done
  run render bogus "$year" 12 --pdf "$work/bogus.pdf" > /dev/null 2>&1; check "bad kind exits 2" 2 $?
  run explain "$levy_year" 12 1 --pdf "$work/statement.pdf"; check "explain --pdf" 0 $?
  if command -v pdftotext > /dev/null; then
    check "計算明細 of the employee" 1 "$(pdftotext "$work/statement.pdf" - | grep -c -m1 '計算明細')"
    check "計算明細 explains the tax" 1 "$(pdftotext "$work/statement.pdf" - | grep -c -m1 '^所得税 5,560 ＝ 令和8年分 月額表')"
  fi
  run render payslip "$year" 12 9 --pdf "$work/empty.pdf" > /dev/null 2>&1; check "empty slot exits 2" 2 $?
  run render payslip "$year" 12 > /dev/null 2>&1; check "no --pdf exits 2" 2 $?
  check "nothing written on errors" 0 "$(ls "$work"/bogus.pdf "$work"/empty.pdf 2>/dev/null | wc -l)"
fi

# year-end of one employee from JSON: every figure in its order (令和7年分: 所得金額調整控除, 生命保険
# 新旧, 地震保険 and 旧長期, 住宅借入金等特別控除).
cat > "$work/ye.json" <<'JSON'
{"salary": 9000000, "bonus": 1500000, "social_insurance": 1400000, "withheld": 700000,
 "previous_employer": {"paid": 0, "social_insurance": 0, "withheld": 0},
 "declared_social_insurance": 0, "small_business_mutual_aid": 0,
 "life_insurance": {"new_general": 60000, "old_general": 80000, "care_medical": 30000,
                    "new_pension": 100000, "old_pension": 0},
 "earthquake_insurance": {"earthquake": 30000, "old_long_term": 15000},
 "spouse": null,
 "dependants": [{"birth": "2010-05-05", "income": 0, "cohabiting": false, "disability": "none"}],
 "employee": {"birth": "1980-04-01", "disability": "none", "widow": false, "single_parent": false,
              "working_student": false, "other_income": 0},
 "housing_loan_credit": 200000}
JSON
expected=$(printf '%s\t%s\n' 給与所得控除後の金額 8550000 所得金額調整控除額 150000 社会保険料控除 1400000 \
  小規模企業共済等掛金控除 0 生命保険料控除 110000 地震保険料控除 42500 配偶者控除 0 配偶者特別控除 0 扶養控除 0 \
  障害者等の控除 0 基礎控除 580000 特定親族特別控除 0 所得控除の合計 2132500 課税給与所得金額 6267000 \
  算出所得税額 825900 住宅借入金等特別控除額 200000 年調所得税額 625900 年調年税額 639000 過不足額 -61000)
check "year-end JSON" "$expected" "$(run year-end --year 2025 --input "$work/ye.json")"
# 令和8年分 of the same document: 基礎控除 58万 (above 655万) → 620,000.
check "year-end 2026 基礎控除" "基礎控除	620000" "$(run year-end --year 2026 --input "$work/ye.json" | grep '^基礎控除')"
echo '{"salary": 100, "bonus": -1}' > "$work/bad.json"
run year-end --year 2026 --input "$work/bad.json" > /dev/null 2>"$work/err.txt"; check "negative amount exits 2" 2 $?
check "the field is named" 1 "$(grep -c 'bonus: an amount' "$work/err.txt")"
echo '{"salry": 100}' > "$work/bad.json"
run year-end --year 2026 --input "$work/bad.json" > /dev/null 2>&1; check "unknown field exits 2" 2 $?
run year-end --year 2024 --input "$work/ye.json" > /dev/null 2>&1; check "no table for the year exits 1" 1 $?

# year-end of a company: one line per employee; without declarations nobody is adjusted, the 乙欄
# employee says so first. With a declaration store the adjusted employee is settled in December.
r8=$work/other/令和8年給与･賞与.dat
run recalc "$r8" 12 --save > /dev/null 2>&1
run year-end --year 2026 "$r8" > "$work/ye.tsv"; check "year-end company exits 0" 0 $?
check "one line per employee" 3 "$(wc -l < "$work/ye.tsv")"
check "乙欄 excluded" "対象外: 乙欄" "$(awk -F'\t' '$1 == "240401_090100" { print $6 }' "$work/ye.tsv")"
check "no declaration" "対象外: 扶養控除等申告書の提出なし" "$(awk -F'\t' '$1 == "240401_090000" { print $6 }' "$work/ye.tsv")"
run year-end --year 2025 "$r8" > /dev/null 2>&1; check "file of another year exits 2" 2 $?
cat > "$work/decl.json" <<'JSON'
{"spouse": {"name": "山田花子", "relation": "妻", "birth": "1985-01-01", "income": 0},
 "employee": {"birth": "1980-01-01"}, "life_insurance": {"new_general": 100000}}
JSON
run declare --year 2026 --key 240401_090000 --input "$work/decl.json" "$work/other"; check "declare exits 0" 0 $?
run year-end --year 2026 "$r8" > "$work/ye.tsv"
difference=$(awk -F'\t' '$1 == "240401_090000" { print $7 }' "$work/ye.tsv")
check "declared employee adjusted" 1 "$( [[ "$difference" =~ ^-?[0-9]+$ ]] && echo 1 || echo 0)"
deductions() { run recalc "$r8" 12 | awk -F'\t' 'NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i; next }
  $1 == 1 { print $col["控除合計"] }'; }
before=$(deductions)
run year-end --year 2026 "$r8" --settle 12 --save > /dev/null; check "settle exits 0" 0 $?
check "控除合計 changes by the 過不足額" "$((before + difference))" "$(deductions)"
run year-end --year 2026 "$r8" --settle 12 --save > /dev/null
check "settling again replaces it" "$((before + difference))" "$(deductions)"
# The year-end documents of the year drawn headless (only in the build with Qt): the slips of the
# employees in slots 1 and 3, and the errors of the command line.
if "$cli" --help 2>&1 | grep -q '^  render DOCUMENT'; then
  run render withholding-slip "$r8" --year 2026 1,3 --pdf "$work/ws.pdf"; check "render withholding-slip" 0 $?
  if command -v pdftotext > /dev/null; then
    check "two slips on one sheet" 2 "$(pdftotext "$work/ws.pdf" - | grep -c '給与所得の源泉徴収票')"
    check "the declared employee's slip" 1 "$(pdftotext "$work/ws.pdf" - | grep -c '^240401_090000$')"
  fi
  for doc in withholding-book year-end-list salary-report; do
    run render $doc "$r8" --year 2026 --pdf "$work/$doc.pdf"; check "render $doc" 0 $?
  done
  run render withholding-slip "$r8" --pdf "$work/x.pdf" > /dev/null 2>&1; check "no --year exits 2" 2 $?
  run render withholding-slip "$r8" --year 2026 9 --pdf "$work/x.pdf" > /dev/null 2>&1; check "nobody in slot 9 exits 2" 2 $?
  run render year-end-list "$r8" --year 2026 1 --pdf "$work/x.pdf" > /dev/null 2>&1; check "SLOTS with a list exit 2" 2 $?
  run render withholding-slip "$r8" --year 2025 --pdf "$work/x.pdf" > /dev/null 2>&1; check "file of another year exits 1" 1 $?
  check "no PDF left after a failure" 0 "$( [ -e "$work/x.pdf" ] && echo 1 || echo 0)"
fi
# Premium rates: every 協会けんぽ row of the sources (47 prefectures in JIS order per year) on the
# first day of its premium month; the other rates around their change dates.
pref=0
while IFS=$'\t' read -r from name rate; do
  [ "$from" = from_premium_month ] && continue
  pref=$((pref % 47 + 1))
  rate=$(echo "$rate" | sed -E 's/(\.[0-9]*[1-9])0+$/\1/; s/\.0+$//')   # printed without trailing zeros
  check "health $from $name" "$rate" "$(run rates --date "$from-01" --prefecture $pref | awk -F'\t' '/^健康保険料率/ { split($2, v, " "); print v[1] }')"
done < "$src/kyokai-kenpo-rates.tsv"
rates() { run rates --date "$1" --prefecture 13 ${2:+--kind $2}; }
check "Tokyo 2026-03-31" "$(printf '健康保険料率\t9.85 (4.925)\n介護保険料率\t1.62 (0.81)\n子ども・子育て支援金率\t0 (0)\n厚生年金保険料率\t18.3 (9.15)\n雇用保険料率\t5.5')" "$(rates 2026-03-31)"
check "Tokyo 2026-02 health" "$(printf '健康保険料率\t9.91 (4.955)')" "$(rates 2026-02-28 | head -1)"
check "levy from 2026-04" "$(printf '子ども・子育て支援金率\t0.23 (0.115)')" "$(rates 2026-04-01 | grep 支援金)"
check "employment general 2026-04-01" "$(printf '雇用保険料率\t5')" "$(rates 2026-04-01 | tail -1)"
check "employment agriculture 2025-04-01" "$(printf '雇用保険料率\t6.5')" "$(rates 2025-04-01 agriculture | tail -1)"
check "employment construction 2024-04-01" "$(printf '雇用保険料率\t7')" "$(rates 2024-04-01 construction | tail -1)"
check "no prefecture: no health rate" "$(printf '健康保険料率\t-')" "$(run rates --date 2026-04-01 | head -1)"
run rates --date 2026-04-01 --prefecture 48 > /dev/null 2>&1; check "prefecture 48 exits 2" 2 $?
run rates --date 2026-04-01 --kind mining > /dev/null 2>&1; check "bad kind exits 2" 2 $?
run rates > /dev/null 2>&1; check "rates without a date exits 2" 2 $?

# Errors: a non-zero exit with a message on stderr.
run tax abc 0 kou > /dev/null 2>&1; check "bad amount exits 2" 2 $?
run recalc "$work/missing.dat" 3 > /dev/null 2>"$work/err.txt"; check "bad file name exits 2" 2 $?
run recalc "$prog/Data/令和5年給与･賞与.dat" 3 > /dev/null 2>"$work/err.txt"; check "missing file exits 1" 1 $?
check "missing file message" 1 "$(grep -c 'ファイルが見つかりません' "$work/err.txt")"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
