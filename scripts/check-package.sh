#!/usr/bin/env bash
# Tries the Debian package (make package) on a fresh Debian 12: installs it
# with apt into a minimal chroot, runs `orvo --version`, starts the desktop
# entry's command on an X server and checks it stays up and finds its data,
# then removes the package with --purge and checks none of its files is left.
# Needs root and the network (debootstrap, apt). Not part of make test.
#
#   scripts/check-package.sh [PACKAGE.deb]
#
# ORVO_DEBIAN_BASE: where the pristine minimal Debian 12 is kept between runs
#   (made with debootstrap when missing; default /var/tmp/orvo-debian12-base).
#   Every run works on a fresh copy of it.
# SHOT: a PNG path; the running program's screen is saved there.
# KEEP=1: leave the chroot in place for a look afterwards.
set -euo pipefail

deb=${1:-}
if [ -z "$deb" ]; then
    deb=$(ls -t build/run/orvo-browser_*.deb 2>/dev/null | head -1 || true)
fi
[ -f "$deb" ] || { echo "no package: run make package or name the .deb" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "needs root (chroot, mounts)" >&2; exit 2; }
for tool in debootstrap Xvfb; do
    command -v "$tool" >/dev/null || { echo "needs $tool (scripts/install-deps.sh)" >&2; exit 2; }
done

base=${ORVO_DEBIAN_BASE:-/var/tmp/orvo-debian12-base}
if [ ! -x "$base/usr/bin/apt-get" ]; then
    echo "== debootstrap bookworm into $base"
    debootstrap --variant=minbase bookworm "$base" http://deb.debian.org/debian
fi

work=$(mktemp -d /var/tmp/orvo-package-check.XXXXXX)
root=$work/root
display=
xvfb_pid=
cleanup() {
    set +e
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    for m in tmp/.X11-unix var/cache/apt/archives dev/pts dev proc; do
        mountpoint -q "$root/$m" && umount -l "$root/$m"
    done
    if [ "${KEEP:-0}" = 1 ]; then echo "chroot kept in $root"; else rm -rf "$work"; fi
}
trap cleanup EXIT

echo "== fresh copy of the base system"
cp -a "$base" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
# Downloaded packages are kept beside the base for the next run.
mkdir -p "$base.archives/partial"
mount --bind "$base.archives" "$root/var/cache/apt/archives"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

name=$(dpkg-deb -f "$deb" Package)
echo "== $name $(dpkg-deb -f "$deb" Version), installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
cp "$deb" "$root/tmp/"
in_root apt-get update -q >/dev/null
in_root apt-get install -y -q "/tmp/$(basename "$deb")" >"$work/install.log" 2>&1 ||
    { tail -30 "$work/install.log"; echo "FAIL apt-get install"; exit 1; }
echo "installed with $(grep -c '^Setting up' "$work/install.log") packages set up"
in_root dpkg -L "$name" >"$work/files"

fail=0
bad() { echo "FAIL $*"; fail=1; }

echo "== orvo --version"
if version=$(in_root orvo --version 2>&1); then echo "$version"; else
    head -3 <<<"$version"
    bad "orvo --version"
fi

echo "== the shared file-type database knows .orl"
grep -q ':\*\.orl$' "$root/usr/share/mime/globs2" || bad "*.orl not in the installed mime database"

desktop=$(grep '^/usr/share/applications/.*\.desktop$' "$work/files" | head -1)
[ -n "$desktop" ] || bad "no desktop entry installed"
exec_line=$(sed -n 's/^Exec=//p' "$root$desktop" | head -1)
# The field codes (%F and the like) stand for files the desktop adds; none here.
read -r -a command <<<"$(sed 's/ *%[fFuUik]//g' <<<"$exec_line")"
echo "== starting the desktop entry's command: ${command[*]}"
for n in $(seq 90 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mkdir -p "$root/tmp/user"
chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/tmp/user DISPLAY="$display" LANG=C.UTF-8 \
    sh -c 'cd / && exec "$@"' sh "${command[@]}" >"$work/gui.log" 2>&1 &
gui_pid=$!
sleep 8
if kill -0 "$gui_pid" 2>/dev/null; then
    echo "started and still running after 8 s"
    [ -f "$root/tmp/user/.config/orvo-browser/images/bkgnd.jpg" ] &&
        [ -d "$root/tmp/user/.config/orvo-browser/File types" ] ||
        bad "the data directory was not seeded from /usr/share/orvo-browser"
    if [ -n "${SHOT:-}" ] && command -v import >/dev/null; then
        DISPLAY=$display import -window root "$SHOT" && echo "screen saved to $SHOT"
    fi
    kill "$gui_pid"
    wait "$gui_pid" 2>/dev/null || true
else
    cat "$work/gui.log"
    bad "the program did not stay up"
fi

echo "== apt-get remove --purge"
in_root apt-get remove --purge -y -q "$name" >"$work/remove.log" 2>&1 ||
    { tail -20 "$work/remove.log"; bad "apt-get remove"; }
left=0
while IFS= read -r f; do
    [ "$f" = "/." ] && continue
    # Directories shared with other packages (/usr/bin, the icon folders) stay.
    if [ -e "$root$f" ] && [ ! -d "$root$f" ]; then echo "left: $f"; left=1; fi
done <"$work/files"
[ ! -e "$root/usr/share/orvo-browser" ] || { echo "left: /usr/share/orvo-browser"; left=1; }
grep -q ':\*\.orl$' "$root/usr/share/mime/globs2" && { echo "left: *.orl in the mime database"; left=1; }
[ $left -eq 0 ] || bad "files of the package were left"
in_root dpkg -s "$name" >/dev/null 2>&1 && bad "dpkg still knows $name"

if [ $fail -eq 0 ]; then echo "package check: all passed"; else echo "package check: FAILED"; fi
exit $fail
