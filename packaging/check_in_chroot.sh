#!/usr/bin/env bash
# Installs the package into a fresh Debian 12 root, starts the program from its installed path
# under Xvfb as an ordinary user, upgrades it, removes it, and checks that the user's data stays.
#
#   packaging/check_in_chroot.sh ROOT PACKAGE.deb [NEWER.deb]
#
# ROOT is made with `debootstrap --variant=minbase bookworm ROOT` when it does not exist yet.
# Needs root, debootstrap and Debian's archive.
set -euo pipefail
root=$1
deb=$2
newer=${3:-$2}
[ -d "$root/usr" ] || debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian

mounted=()
cleanup() { for m in "${mounted[@]}"; do umount -l "$m" || true; done; }
trap cleanup EXIT
for m in proc sys dev dev/pts; do
  mountpoint -q "$root/$m" || { mount --bind "/$m" "$root/$m"; mounted=("$root/$m" "${mounted[@]}"); }
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/paylark.deb"
cp "$newer" "$root/tmp/paylark-newer.deb"

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
as_user() { in_root runuser -u keiri -- env HOME=/home/keiri LANG=C.UTF-8 "$@"; }

in_root apt-get update -q
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/paylark.deb xvfb xauth xdotool x11-apps
id keiri >/dev/null 2>&1 || in_root useradd -m keiri 2>/dev/null || true

data=/home/keiri/.local/share/Paylark
start_program() {
  # The first start shows the tax table notice (Enter closes it) and then the period selection.
  # F1 there opens the help window; the list of windows shows it. (Xvfb has no window manager: the
  # period selection is given the keyboard focus by hand. On the first start a hint box stands
  # over it and takes no keys without a window manager, so the help window shows on later starts.)
  as_user xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    paylark & pid=$!
    for i in $(seq 1 40); do xdotool search --name "Paylark給与計算" >/dev/null 2>&1 && break; sleep 0.5; done
    sleep 2; xdotool key Return; sleep 2
    xdotool search --name "給与対象月/賞与時期の選択" windowfocus --sync key F1 || true
    sleep 2
    xwd -root -silent -out /tmp/paylark-screen.xwd || true
    windows=$(xdotool search --onlyvisible --name "." getwindowname %@ 2>/dev/null | sort -u | tr "\n" "|")
    echo "windows: $windows"
    kill -0 $pid && echo "running: $(readlink /proc/$pid/exe)"
    kill $pid; wait $pid || true'
}

echo "== first start"
start_program
in_root test -f /tmp/paylark-screen.xwd && cp "$root/tmp/paylark-screen.xwd" /tmp/paylark-screen.xwd || true
in_root test -f "$data/Saldesk.ini"
in_root ls "$data/Data"
in_root grep -a ProgVer "$data/Saldesk.ini"
echo "marker" | in_root tee "$data/Data/keep.txt" >/dev/null

echo "== upgrade"
rm -f "$root/tmp/paylark-screen.xwd"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --allow-downgrades /tmp/paylark-newer.deb
in_root dpkg-query -W paylark
in_root grep -q marker "$data/Data/keep.txt"
start_program
in_root test -f /tmp/paylark-screen.xwd && cp "$root/tmp/paylark-screen.xwd" /tmp/paylark-screen-later.xwd || true

echo "== remove and purge"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q paylark
in_root test ! -e /usr/bin/paylark
in_root test ! -e /usr/share/paylark
in_root ls -la "$data" "$data/Data"
in_root grep -q marker "$data/Data/keep.txt"
echo "check_in_chroot: all passed"
