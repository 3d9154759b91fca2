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
  fi
  for kind in list roster; do
    run render $kind "$year" 12 --pdf "$work/$kind.pdf"; check "render $kind" 0 $?
  done
  run render bogus "$year" 12 --pdf "$work/bogus.pdf" > /dev/null 2>&1; check "bad kind exits 2" 2 $?
  run render payslip "$year" 12 9 --pdf "$work/empty.pdf" > /dev/null 2>&1; check "empty slot exits 2" 2 $?
  run render payslip "$year" 12 > /dev/null 2>&1; check "no --pdf exits 2" 2 $?
  check "nothing written on errors" 0 "$(ls "$work"/bogus.pdf "$work"/empty.pdf 2>/dev/null | wc -l)"
fi

# Errors: a non-zero exit with a message on stderr.
run tax abc 0 kou > /dev/null 2>&1; check "bad amount exits 2" 2 $?
run recalc "$work/missing.dat" 3 > /dev/null 2>"$work/err.txt"; check "bad file name exits 2" 2 $?
run recalc "$prog/Data/令和5年給与･賞与.dat" 3 > /dev/null 2>"$work/err.txt"; check "missing file exits 1" 1 $?
check "missing file message" 1 "$(grep -c 'ファイルが見つかりません' "$work/err.txt")"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
