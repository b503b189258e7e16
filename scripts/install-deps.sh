#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# A no-op when every package is already present.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  libgtest-dev
  qt6-base-dev libgl-dev fonts-liberation2
  # The analysis library (irinfo): audio files and spectra.
  pkg-config libsndfile1-dev libkissfft-dev
  # Auralisation (irconv): FFT, resampling, loudness; resampling in the
  # analysis's tests too.
  libfftw3-dev libsoxr-dev libebur128-dev
  # The viewer irview: Qt Charts (which CMake finds only with Qt's OpenGL
  # widgets) and Qt SVG for its SVG export.
  qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
  # Its Listen panel: sound through Qt Multimedia, and the playback test's
  # private sound server with a null sink (parec records its monitor).
  qt6-multimedia-dev pulseaudio pulseaudio-utils
  sox python3
  # make bench: CPU time and peak memory.
  time
  valgrind
  xvfb xauth xterm xdotool
  # The window tests under a window manager that draws frames, and the
  # desktop notifications' test on a private session bus.
  openbox dbus-daemon
  # The Debian package (make package) and its tests.
  dpkg-dev file lintian desktop-file-utils man-db shared-mime-info
  # The install into a minimal Debian root (make package-check).
  debootstrap
  # The Windows converters (make windows) and their tests under Wine.
  g++-mingw-w64-x86-64 wine wine64
  # The fuzz harnesses (make fuzz) and the sanitizer run (make test-sanitize).
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
