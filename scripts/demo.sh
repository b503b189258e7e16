#!/usr/bin/env bash
# Runs the main job on the bundled sample: the stereo impulse response in
# samples/ becomes two .TIM files with irgen, and those go back to a WAVE
# file with irexpo. The converters' dialogue is shown as it is. Then irinfo
# shows the facts and room-acoustic parameters of the files; last, irconv
# convolves the dry signal in samples/ (scripts/make_dry.py) with the .TIM
# pair into auralised.wav.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$build/bin" && pwd)
out="$build/demo"
mkdir -p "$out"
cp "$root/samples/stereo_ir.wav" "$out/take1.wav"
cp "$root/samples/dry.wav" "$out/dry.wav"
cd "$out"

echo "== irgen take1.wav left.tim right.tim 94.0 1"
"$bin/irgen" take1.wav left.tim right.tim 94.0 1
echo
if [ -x "$bin/irexpo" ]; then
  echo "== irexpo roundtrip.wav left.tim right.tim"
  "$bin/irexpo" roundtrip.wav left.tim right.tim
  echo
fi
echo "== files in $out"
ls -l
if [ -x "$bin/irinfo" ]; then
  echo
  echo "== irinfo take1.wav left.tim right.tim"
  "$bin/irinfo" take1.wav left.tim right.tim
fi
if [ -x "$bin/irconv" ]; then
  echo
  echo "== irconv -o auralised.wav dry.wav left.tim right.tim"
  "$bin/irconv" -o auralised.wav dry.wav left.tim right.tim
fi
