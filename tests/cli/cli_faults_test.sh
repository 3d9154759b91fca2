#!/usr/bin/env bash
# saldesk-cli when something is wrong: no figure may be printed or saved as if it were right.
# Missing and damaged tax tables, an edition folder without its tables, damaged header values,
# a damaged yearly file and the way a save treats links, owners and modes.
#   cli_faults_test.sh SALDESK_CLI MAKE_SAMPLE_YEAR PROGRAM_DIR
set -u
cli=$1 sample=$2 tables_dir=$3
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $1: expected [$2] got [$3]"; fi
}
fresh() {  # fresh FOLDER: a program folder with both shipped editions
  rm -rf "$1"; mkdir -p "$1/Data"
  cp "$tables_dir"/*.dat "$1"/
  cp -r "$tables_dir"/Tables "$1"/
}
monthly='税額表(給与).dat' bonus='税額表(賞与).dat'

# The README's commands run with the program folder it names.
fresh "$work/ok"
check "README tax" 4700 "$("$cli" tax 300000 2 kou --program-dir "$work/ok" --date 2026-01-25 2>/dev/null)"
check "README tax 2025" 5130 "$("$cli" tax 300000 2 kou --program-dir "$work/ok" --date 2025-12-25 2>/dev/null)"

# A missing, truncated or unknown tax table: the command names it and fails, printing no figure.
for damage in missing truncated extension; do
  fresh "$work/p"
  case $damage in
    missing) rm "$work/p/$monthly" "$work/p/$bonus" ;;
    truncated) truncate -s 16000 "$work/p/$monthly"; truncate -s 1000 "$work/p/$bonus" ;;
    extension) printf 'TBLX\377\377' | dd of="$work/p/$monthly" bs=1 seek=16764 conv=notrunc 2>/dev/null
               printf 'TBLX\377\377' | dd of="$work/p/$bonus" bs=1 seek=1568 conv=notrunc 2>/dev/null ;;
  esac
  out=$("$cli" tax 300000 2 kou --program-dir "$work/p" --date 2026-01-25 2>"$work/err.txt"); code=$?
  check "$damage: tax exits 1" 1 $code
  check "$damage: tax prints nothing" "" "$out"
  check "$damage: tax names the table" 1 "$(grep -c -m1 "$monthly" "$work/err.txt")"
  out=$("$cli" bonus-tax 300000 500000 2 kou --program-dir "$work/p" --date 2026-06-10 2>"$work/err.txt"); code=$?
  check "$damage: bonus-tax exits 1" 1 $code
  check "$damage: bonus-tax names the table" 1 "$(grep -c -m1 "$bonus" "$work/err.txt")"

  year=$("$sample" "$work/p/Data" 令和 8)
  cp "$year" "$work/before.dat"
  out=$("$cli" recalc "$year" 12 --save --program-dir "$work/p" 2>"$work/err.txt"); code=$?
  check "$damage: recalc --save exits 1" 1 $code
  check "$damage: recalc prints no table" "" "$out"
  check "$damage: recalc names the table" 1 "$(grep -c -m1 "$monthly" "$work/err.txt")"
  check "$damage: nothing saved" same "$(cmp -s "$work/before.dat" "$year" && echo same)"
done

# An edition folder without its monthly table: the 2025 tax is refused, not taken from 2026.
fresh "$work/p"
rm "$work/p/Tables/2020-01-01/$monthly"
out=$("$cli" tax 300000 2 kou --program-dir "$work/p" --date 2025-12-25 2>"$work/err.txt"); code=$?
check "edition without table: exits 1" 1 $code
check "edition without table: no 2026 figure" "" "$out"
check "edition without table: names the folder" 1 "$(grep -c -m1 "Tables/2020-01-01/$monthly" "$work/err.txt")"
check "edition without table: 2026 still works" 4700 "$("$cli" tax 300000 2 kou --program-dir "$work/p" --date 2026-01-25 2>/dev/null)"
truncate -s 100 "$work/p/Tables/2020-01-01/$bonus"
"$cli" bonus-tax 300000 500000 2 kou --program-dir "$work/p" --date 2025-12-10 > /dev/null 2>&1
check "edition with a damaged bonus table: exits 1" 1 $?

# A damaged bonus pay month in the header: reported as damage with file and period, nothing saved.
fresh "$work/p"
year=$("$sample" "$work/p/Data" 令和 8)
printf '\143\0\0\0' | dd of="$year" bs=1 seek=28 conv=notrunc 2>/dev/null   # period 14: month 99
cp "$year" "$work/before.dat"
out=$("$cli" recalc "$year" 14 --save --program-dir "$work/p" 2>"$work/err.txt"); code=$?
check "bad bonus month exits 1" 1 $code
check "bad bonus month prints nothing" "" "$out"
check "bad bonus month names file and period" 1 "$(grep -c "令和8年給与･賞与.dat, period 14" "$work/err.txt")"
check "bad bonus month saves nothing" same "$(cmp -s "$work/before.dat" "$year" && echo same)"

# A yearly file one byte short is damaged: the save is refused, nothing is printed, it stays as it was.
fresh "$work/p"
year=$("$sample" "$work/p/Data" 令和 8)
truncate -s -1 "$year"
cp "$year" "$work/before.dat"
out=$("$cli" recalc "$year" 12 --save --program-dir "$work/p" 2>"$work/err.txt"); code=$?
check "short file exits 1" 1 $code
check "short file: no table printed before the failure" "" "$out"
check "short file reported as damaged" 1 "$(grep -c 'ファイルが壊れています' "$work/err.txt")"
check "short file left as it was" same "$(cmp -s "$work/before.dat" "$year" && echo same)"

# Saving keeps how the file is stored: through a link to its target, owner and mode kept, a
# read-only file refused; the leftovers of interrupted saves go at the next start.
fresh "$work/p"
mkdir -p "$work/elsewhere"
year=$("$sample" "$work/elsewhere" 令和 8)
ln -s "$year" "$work/p/Data/令和8年給与･賞与.dat"
chmod 640 "$year"
[ "$(id -u)" = 0 ] && chown 4321:4322 "$year"
"$cli" recalc "$work/p/Data/令和8年給与･賞与.dat" 12 --save --program-dir "$work/p" > /dev/null 2>&1
check "link save exits 0" 0 $?
check "the link stays a link" 1 "$([ -L "$work/p/Data/令和8年給与･賞与.dat" ] && echo 1)"
check "mode kept" 640 "$(stat -c %a "$year")"
[ "$(id -u)" = 0 ] && check "owner kept" 4321:4322 "$(stat -c %u:%g "$year")"
check "nothing left beside the target" 1 "$(ls -A "$work/elsewhere" | wc -l)"
chmod 444 "$year"
cp "$year" "$work/before.dat"
"$cli" recalc "$year" 11 --save --program-dir "$work/p" > /dev/null 2>"$work/err.txt"
check "read-only file exits 1" 1 $?
check "read-only file message" 1 "$(grep -c '読み取り専用のファイルのため保存できません' "$work/err.txt")"
check "read-only file unchanged" same "$(cmp -s "$work/before.dat" "$year" && echo same)"
chmod 644 "$year"

fresh "$work/p"
"$cli" selfcheck --program-dir "$work/p" > /dev/null 2>&1
printf 'partial' > "$work/p/Data/.令和8年給与･賞与.dat.tmp-Ab12Cd"
printf 'partial' > "$work/p/.Saldesk.ini.tmp-Zz99Yy"
"$cli" selfcheck --program-dir "$work/p" > /dev/null 2>&1
check "leftovers removed at the next start" 0 "$(ls -A "$work/p" "$work/p/Data" | grep -c '\.tmp-')"

# A folder where the settings file should be: the self-check fails.
fresh "$work/p"
mkdir "$work/p/Saldesk.ini"
"$cli" selfcheck --program-dir "$work/p" > /dev/null 2>"$work/err.txt"
check "settings folder: selfcheck exits 1" 1 $?
check "settings folder: message" 1 "$(grep -c '設定ファイルに書き込み出来ません。' "$work/err.txt")"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
