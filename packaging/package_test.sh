#!/usr/bin/env bash
# Unpacks the Debian package into a scratch root and uses what it holds from
# there: the packaged irgen and irexpo convert the bundled sample and back
# and irinfo analyses the three files and irconv convolves the sample with the
# pair (byte for byte as the programs of the build do), the packaged sonabrix shows its window offscreen and so does
# irview with the converted pair, the MIME type of .TIM files compiles, every
# man page opens without warnings, the menu entries and sonabrix's actions
# are valid, and the package depends on the one that holds Qt's xcb display
# plugin (packaging/CMakeLists.txt says why).
#   package_test.sh DEB SAMPLE.wav BUILT_BIN_DIR XCB_PLUGIN_FILE
set -euo pipefail
deb=$1
sample=$2
built=$3
xcb_plugin=$4

fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$deb" ] || fail "no package at $deb"
[ -n "$xcb_plugin" ] || fail "the build found no xcb plugin of Qt (packaging/CMakeLists.txt)"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr

for f in bin/irgen bin/irexpo bin/irinfo bin/sonabrix lib/sonabrix/sonabrix lib/sonabrix/Manual/MSonabrix.mht \
         share/applications/sonabrix.desktop share/icons/hicolor/48x48/apps/sonabrix.png \
         share/icons/hicolor/scalable/apps/sonabrix.svg share/doc/sonabrix/copyright \
         share/man/man1/irgen.1.gz share/man/man1/irexpo.1.gz share/man/man1/irinfo.1.gz \
         share/man/man1/sonabrix.1.gz bin/irview share/applications/irview.desktop \
         share/icons/hicolor/48x48/apps/irview.png share/icons/hicolor/scalable/apps/irview.svg \
         share/man/man1/irview.1.gz share/mime/packages/irview.xml \
         bin/irconv share/man/man1/irconv.1.gz; do
  [ -f "$usr/$f" ] || fail "missing in the package: /usr/$f"
done
# sonabrix finds the converters and the viewer beside itself: the links lead
# to the packaged ones.
for c in irgen irexpo irview; do
  [ "$(readlink -f "$usr/lib/sonabrix/$c")" = "$(readlink -f "$usr/bin/$c")" ] ||
    fail "/usr/lib/sonabrix/$c does not lead to /usr/bin/$c"
done
if find "$root" -path '*testdata*' | grep -q .; then fail "test data in the package"; fi

# Converters: WAVE -> .TIM -> WAVE, the same bytes as the built programs give.
work=$scratch/work
mkdir -p "$work/packaged" "$work/built"
for side in packaged built; do
  if [ $side = packaged ]; then bin=$usr/bin; else bin=$built; fi
  cp "$sample" "$work/$side/in.wav"
  (cd "$work/$side" &&
   SOURCE_DATE_EPOCH=1796713509 TZ=UTC "$bin/irgen" in.wav left.tim right.tim 94.0 1 >irgen.out &&
   "$bin/irexpo" back.wav left.tim right.tim >irexpo.out &&
   "$bin/irinfo" --json in.wav left.tim right.tim >irinfo.out &&
   "$bin/irconv" --bits 16 -o conv.wav in.wav left.tim right.tim >irconv.out) ||
    fail "$side converters failed"
done
for f in left.tim right.tim back.wav irgen.out irexpo.out irinfo.out conv.wav irconv.out; do
  cmp "$work/packaged/$f" "$work/built/$f" || fail "packaged and built programs differ in $f"
done
[ "$(stat -c %s "$work/packaged/back.wav")" -gt 44 ] || fail "back.wav holds no samples"

# The front end as the menu starts it, offscreen, until its window is painted.
probe=$(cd "$work" && QT_QPA_PLATFORM=offscreen SONABRIX_STARTUP_PROBE=1 LC_ALL=en_US.UTF-8 \
        timeout 30 "$usr/bin/sonabrix" IRGEN) || fail "sonabrix did not start: $probe"
grep -q '^first-paint-ns [0-9]\+$' <<<"$probe" || fail "sonabrix painted no window: $probe"
grep -qx 'start-mode wavtim' <<<"$probe" || fail "sonabrix started in the wrong mode: $probe"

# The viewer as a file manager starts it, offscreen, on the converted pair:
# painted and analysed. Its settings (the recent list) go to the scratch home;
# it is given no sound server, and says so.
probe=$(cd "$work/packaged" && HOME=$scratch XDG_CONFIG_HOME=$scratch/config \
        PULSE_SERVER=unix:$scratch/no-sound-server \
        QT_QPA_PLATFORM=offscreen IRVIEW_STARTUP_PROBE=1 \
        timeout 60 "$usr/bin/irview" left.tim right.tim) || fail "irview did not start: $probe"
grep -q '^first-paint-ns [0-9]\+$' <<<"$probe" || fail "irview painted no window: $probe"
grep -q '^analysed-ns [0-9]\+$' <<<"$probe" || fail "irview analysed nothing: $probe"
grep -qx 'traces 2' <<<"$probe" || fail "irview showed the wrong traces: $probe"
grep -q '^audio none: No audio output' <<<"$probe" || fail "irview did not say there is no audio: $probe"

# The MIME type of .TIM files names *.tim and *.TIM (the database folds the
# two into one pattern of any case) and the first four bytes, and compiles.
mime=$usr/share/mime/packages/irview.xml
grep -q '<glob pattern="\*\.tim"/>' "$mime" && grep -q '<glob pattern="\*\.TIM"/>' "$mime" ||
  fail "the MIME type lacks a glob"
mkdir -p "$scratch/mime/packages"
cp "$mime" "$scratch/mime/packages/"
update-mime-database "$scratch/mime" >/dev/null 2>&1 || fail "the MIME type does not compile"
grep -qx '50:application/x-tim-impulse-response:\*\.tim' "$scratch/mime/globs2" ||
  fail "no glob for .TIM files in the compiled database"
# A match at offset 0 (">0="), 4 bytes long, of CD AB FF FF.
od -An -tx1 -v "$scratch/mime/magic" | tr -d ' \n' | grep -q '3e303d0004cdabffff' ||
  fail "no magic bytes for .TIM files in the compiled database"

# Man pages: each opens, has its NAME section and gives no warnings.
for page in "$usr"/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >"$scratch/page.txt") ||
    fail "man -l $(basename "$page") failed"
  [ -z "$warnings" ] || fail "man -l $(basename "$page"): $warnings"
  grep -q '^NAME' "$scratch/page.txt" || fail "$(basename "$page") has no NAME section"
done

entry=$usr/share/applications/sonabrix.desktop
desktop-file-validate "$entry" || fail "desktop entry not valid"
# The entry and its actions, each as Name=...|Exec=... in file order.
launchers=$(awk -F= '/^\[/ { group = $0 } $1 == "Name" { name = $2 } $1 == "Exec" { print group "|" name "|" $2 }' "$entry")
expected='[Desktop Entry]|Sonabrix|sonabrix
[Desktop Action wav-to-tim]|WAV to TIM|sonabrix IRGEN
[Desktop Action tim-to-wav]|TIM to WAV|sonabrix IREXPO'
[ "$launchers" = "$expected" ] || fail "desktop entry launchers: $launchers"
grep -qx 'Actions=wav-to-tim;tim-to-wav;' "$entry" || fail "desktop entry Actions"
# Each action starts the mode it names.
for action in IRGEN:wavtim IREXPO:timwav; do
  mode=$(cd "$work" && QT_QPA_PLATFORM=offscreen SONABRIX_STARTUP_PROBE=1 LC_ALL=en_US.UTF-8 \
         timeout 30 "$usr/bin/sonabrix" "${action%:*}" | sed -n 's/^start-mode //p')
  [ "$mode" = "${action#*:}" ] || fail "sonabrix ${action%:*} started in mode '$mode'"
done

desktop-file-validate "$usr/share/applications/irview.desktop" || fail "irview's desktop entry not valid"
grep -qx 'MimeType=application/x-tim-impulse-response;audio/x-wav;audio/vnd.wave;' \
  "$usr/share/applications/irview.desktop" || fail "irview's desktop entry MimeType"

# The window's display plugin: its package is a dependency, directly or as
# the package of a shared library.
plugin_package=$(dpkg-query -S "$(readlink -f "$xcb_plugin")" | sed 's/[:,].*//')
depends=$(dpkg-deb -f "$deb" Depends)
tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//' | grep -qx "$plugin_package" ||
  fail "the package does not depend on $plugin_package, which holds $xcb_plugin: $depends"
# irconv's libraries and irview's sound (Qt Multimedia), found by
# dpkg-shlibdeps.
for library in libfftw3-double3 libsoxr0 libebur128-1 libsndfile1 libqt6multimedia6; do
  tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//' | grep -qx "$library" ||
    fail "the package does not depend on $library: $depends"
done
echo "package ok: $(basename "$deb")"
