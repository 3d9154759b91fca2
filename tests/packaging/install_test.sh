#!/usr/bin/env bash
# cmake --install into a temporary prefix lays out what an installed program needs, and the
# installed program, started offscreen by a user whose data folder is empty, creates its data in
# that folder and nothing beside itself; a folder chosen once with --folder is kept. (That it finds its tables there and gets past the first
# start's notices is checked with a real display by packaging/check_in_chroot.sh.)
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/usr" >/dev/null
for f in bin/paylark share/applications/jp.paylark.Paylark.desktop share/metainfo/jp.paylark.Paylark.metainfo.xml \
         share/icons/hicolor/scalable/apps/jp.paylark.Paylark.svg share/man/man1/paylark.1.gz \
         share/doc/paylark/copyright "share/paylark/tables/税額表(給与).dat" \
         "share/paylark/tables/Tables/2020-01-01/税額表(賞与).dat" share/paylark/manual/index.html \
         share/paylark/tables/YearEnd/year-end-2026.txt \
         share/paylark/manual/style.css share/paylark/manual/images/main.png; do
  [ -e "$tmp/usr/$f" ] || { echo "not installed: $f"; exit 1; }
done
grep -q '^Exec=paylark$' "$tmp/usr/share/applications/jp.paylark.Paylark.desktop"

mkdir -p "$tmp/home"
HOME="$tmp/home" XDG_DATA_HOME= XDG_CONFIG_HOME= QT_QPA_PLATFORM=offscreen \
  timeout 8 "$tmp/usr/bin/paylark" >/dev/null 2>&1 && status=0 || status=$?
[ "$status" = 124 ] || { echo "the installed program ended by itself (status $status)"; exit 1; }
data="$tmp/home/.local/share/Paylark/Data"
ls "$data"/*年給与･賞与.dat >/dev/null || { echo "no yearly file in $data"; exit 1; }
[ ! -e "$tmp/usr/bin/Data" ] || { echo "data written beside the installed program"; exit 1; }

# A folder chosen once with --folder is used by the later starts too.
run() {
  HOME="$tmp/home2" XDG_DATA_HOME= XDG_CONFIG_HOME="$tmp/config" QT_QPA_PLATFORM=offscreen \
    timeout 6 "$tmp/usr/bin/paylark" "$@" >/dev/null 2>&1 || true
}
run --folder "$tmp/給与データ"
grep -qx "$tmp/給与データ" "$tmp/config/Paylark/folder" || { echo "the chosen folder was not remembered"; exit 1; }
ls "$tmp/給与データ/Data"/*年給与･賞与.dat >/dev/null || { echo "no yearly file in the chosen folder"; exit 1; }
rm -rf "$tmp/給与データ/Data"
run
ls "$tmp/給与データ/Data"/*年給与･賞与.dat >/dev/null || { echo "the later start left the chosen folder"; exit 1; }
[ ! -e "$tmp/home2/.local/share/Paylark" ] || { echo "the later start used the default folder"; exit 1; }
echo "install test: 1 passed, 0 failed"
