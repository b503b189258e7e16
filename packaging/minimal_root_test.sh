#!/usr/bin/env bash
# Installs the Debian package into a minimal Debian root, as a user would on
# a bare system (apt-get install --no-install-recommends ./sonabrix_*.deb),
# and starts the installed sonabrix there on a private X server until its
# main window has painted, then irview, which must say that there is no
# audio (the root has no sound server). What the package's dependencies leave out (the
# xcb display plugin, a font, ...) shows here as a program that cannot open
# its window, a root without fonts, or Qt's warnings.
#
#   minimal_root_test.sh DEB CACHE_DIR
#
# Needs root (debootstrap and chroot), debootstrap, Xvfb and a reachable
# Debian mirror (DEBIAN_MIRROR, default http://deb.debian.org/debian). The
# root made by debootstrap (--variant=minbase, which installs no
# recommended packages) and the packages downloaded into it are kept in
# CACHE_DIR, so that later runs only copy the root and install from there;
# each run installs into a fresh copy, never into the kept root.
set -euo pipefail
deb=$1
cache=$2
suite=bookworm
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
security=${DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "[$(date +%T)] $*"; }

[ -f "$deb" ] || fail "no package at $deb"
[ "$(id -u)" -eq 0 ] || fail "needs root (debootstrap, chroot)"
command -v debootstrap >/dev/null || fail "needs debootstrap"
command -v Xvfb >/dev/null || fail "needs Xvfb"
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
base=$cache/base
archives=$cache/archives
run=$cache/run

# The kept root: made once, complete only with its stamp file.
if [ ! -f "$base/.minimal-root-complete" ]; then
  step "debootstrap $suite (minbase) from $mirror into $base"
  rm -rf "$base" "$base.partial"
  debootstrap --variant=minbase "$suite" "$base.partial" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { tail -n 20 "$cache/debootstrap.log" >&2; fail "debootstrap failed (log: $cache/debootstrap.log)"; }
  cat >"$base.partial/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
EOF
  # No services start inside the root.
  printf '#!/bin/sh\nexit 101\n' >"$base.partial/usr/sbin/policy-rc.d"
  chmod 755 "$base.partial/usr/sbin/policy-rc.d"
  chroot "$base.partial" apt-get clean
  date -u +%FT%TZ >"$base.partial/.minimal-root-complete"
  mv "$base.partial" "$base"
fi

# A fresh copy of the kept root for this run, with the packages downloaded
# by earlier runs.
rm -rf "$run"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$run"
  step "done"
}
trap cleanup EXIT
step "copying the kept root"
cp -a "$base" "$run"
mkdir -p "$archives"
cp -a "$archives"/. "$run/var/cache/apt/archives/"
cp "$deb" "$run/tmp/"
# The copy is thrown away after the run: dpkg need not sync every file.
echo force-unsafe-io >"$run/etc/dpkg/dpkg.cfg.d/unsafe-io"
in_root() {
  chroot "$run" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}

step "apt-get update"
in_root apt-get update -qq >"$cache/apt.log" 2>&1 ||
  { tail -n 20 "$cache/apt.log" >&2; fail "apt-get update failed in the root"; }
step "apt-get install --no-install-recommends ./$(basename "$deb")"
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >>"$cache/apt.log" 2>&1 ||
  { tail -n 30 "$cache/apt.log" >&2; fail "the package does not install in a minimal root"; }
cp -a "$run/var/cache/apt/archives"/*.deb "$archives/" 2>/dev/null || true
in_root dpkg-query -W -f='${Package}\n' >"$cache/installed.txt"
echo "packages in the root: $(wc -l <"$cache/installed.txt")"
# Qt draws text only with a font that fontconfig knows; it does not warn
# when there is none.
fonts=$(in_root fc-list : family 2>/dev/null | sort -u | paste -sd ';' -)
[ -n "$fonts" ] || fail "no font in the root: the window would show no text"
echo "fonts in the root: $fonts"

# The private X server runs outside the root: the program inside reaches it
# through the abstract socket, which a chroot does not separate.
step "starting Xvfb"
rm -f "$cache/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$cache/display" >"$cache/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do
  grep -q . "$cache/display" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
display=$(head -n 1 "$cache/display" 2>/dev/null || true)
[ -n "$display" ] || fail "Xvfb did not start (log: $cache/xvfb.log)"

step "starting sonabrix on :$display"
status=0
probe=$(in_root DISPLAY=":$display" SONABRIX_STARTUP_PROBE=1 \
        sh -c 'cd /root && exec timeout 60 sonabrix IRGEN' 2>"$cache/sonabrix.err") || status=$?
echo "sonabrix wrote on standard error:"
sed 's/^/  /' "$cache/sonabrix.err"
[ "$status" -eq 0 ] || fail "sonabrix ended with status $status: $probe"
grep -q '^first-paint-ns [0-9]\+$' <<<"$probe" || fail "sonabrix painted no window: $probe"
grep -qx 'start-mode wavtim' <<<"$probe" || fail "sonabrix started in the wrong mode: $probe"
# A window that painted may still have lacked what Qt warns about.
if grep -Ei 'font|platform plugin|qt\.qpa' "$cache/sonabrix.err"; then
  fail "sonabrix warned about its fonts or display plugin"
fi

# irview there: its window paints, and with no sound server in the root its
# Listen panel says there is no audio (and the rest of the window works).
step "starting irview on :$display"
status=0
probe=$(in_root DISPLAY=":$display" IRVIEW_STARTUP_PROBE=1 \
        sh -c 'cd /root && exec timeout 60 irview' 2>"$cache/irview.err") || status=$?
echo "irview wrote on standard error:"
sed 's/^/  /' "$cache/irview.err"
[ "$status" -eq 0 ] || fail "irview ended with status $status: $probe"
grep -q '^first-paint-ns [0-9]\+$' <<<"$probe" || fail "irview painted no window: $probe"
grep -q '^audio none: No audio output' <<<"$probe" ||
  fail "irview did not say that there is no audio: $probe"
if grep -Ei 'font|platform plugin|qt\.qpa' "$cache/irview.err"; then
  fail "irview warned about its fonts or display plugin"
fi
step "minimal root ok: $(basename "$deb") installs and paints its windows"
