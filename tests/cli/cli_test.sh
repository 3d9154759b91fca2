#!/usr/bin/env bash
# saldesk-cli end to end: table look-ups against the source tables, the self-check, and a stored
# period recalculated and saved.
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
run() { "$cli" "$@" --program-dir "$prog"; }

# Monthly table: the rows at their lower bounds and just below their upper bounds, 甲 0..7 and 乙.
monthly=$src/withholding-monthly-2026-01-01.tsv
while IFS=$'\t' read -r lower upper k0 k1 k2 k3 k4 k5 k6 k7 otsu; do
  [ "$lower" = lower ] && continue
  [ "$lower" -lt 105000 ] && continue
  [ $((lower % 20000)) -eq 0 ] || continue   # a sample of rows; the library tests check every row
  check "kou0 $lower" "$k0" "$(run tax "$lower" 0 kou)"
  check "kou7 $((upper - 1))" "$k7" "$(run tax $((upper - 1)) 7 kou)"
  check "kou9 $lower" "$(( k7 - 2 * 1610 > 0 ? k7 - 2 * 1610 : 0 ))" "$(run tax "$lower" 9 kou)"
  check "otsu $lower" "$otsu" "$(run tax "$lower" 0 otsu)"
done < "$monthly"
# Below the first row: 甲 0, 乙 3.063 % truncated; the two brackets the legacy image holds.
check "kou below first row" 0 "$(run tax 104999 0 kou)"
check "otsu below first row" 3216 "$(run tax 104999 0 otsu)"
check "kou bracket 740000" 71680 "$(run tax 740000 0 kou)"
check "kou bracket 789999" "$(( 71680 + (789999 - 740000) * 2042 / 10000 ))" "$(run tax 789999 0 kou)"
check "kou bracket 959999 2 dependants" "$(( 68960 + (959999 - 790000) * 23483 / 100000 ))" "$(run tax 959999 2 kou)"
check "otsu bracket 1709999" "$(( 259200 + (1709999 - 740000) * 4084 / 10000 ))" "$(run tax 1709999 0 otsu)"

# Bonus rates at the bounds of the 2026 table (甲 0 and 7 dependants) and the 乙 rows.
check "bonus kou0 below 82000" "$(printf 'rate\t0.00000\ntax\t0')" "$(run bonus-tax 81999 100000 0 kou)"
check "bonus kou0 at 82000" "$(printf 'rate\t0.02042\ntax\t2042')" "$(run bonus-tax 82000 100000 0 kou)"
check "bonus kou7 at 383000" "$(printf 'rate\t0.04084\ntax\t4084')" "$(run bonus-tax 383000 100000 9 kou)"
check "bonus otsu below 224000" "$(printf 'rate\t0.10210\ntax\t10210')" "$(run bonus-tax 223999 100000 0 otsu)"
check "bonus otsu from 1118000" "$(printf 'rate\t0.45945\ntax\t45945')" "$(run bonus-tax 1118000 100000 3 otsu)"

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
kou1=$(awk -F'\t' '$1 <= 278942 && 278942 < $2 { print $4 }' "$monthly")
check "所得税" "$kou1" "$(field "$work/p12.tsv" 1 所得税)"
check "住民税" 11000 "$(field "$work/p12.tsv" 1 住民税)"
check "日給 基本給" 171000 "$(field "$work/p12.tsv" 2 基本給)"
check "日給 通勤費 per day" 9000 "$(field "$work/p12.tsv" 2 非課税通勤費)"
check "retired slot has no pay" 0 "$(field "$work/p12.tsv" 3 支給合計)"
check "no warnings" 0 "$(grep -c '^warning' "$work/p12.tsv")"

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

# Errors: a non-zero exit with a message on stderr.
run tax abc 0 kou > /dev/null 2>&1; check "bad amount exits 2" 2 $?
run recalc "$work/missing.dat" 3 > /dev/null 2>"$work/err.txt"; check "bad file name exits 2" 2 $?
run recalc "$prog/Data/令和5年給与･賞与.dat" 3 > /dev/null 2>"$work/err.txt"; check "missing file exits 1" 1 $?
check "missing file message" 1 "$(grep -c 'ファイルが見つかりません' "$work/err.txt")"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
