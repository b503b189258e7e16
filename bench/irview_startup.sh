#!/usr/bin/env bash
# Start-up time of irview on a 65535-point stereo .TIM pair (the room
# response of scripts/make_sample.py over a noise floor 70 dB down, turned
# into left.tim and right.tim by irgen, as bench/run.sh makes it for irinfo):
# from process start to the first paint of the waveform plot with both files
# read, and to the end of their analysis (every octave band of both), under
# a virtual X server (Xvfb), over several runs.
# The server never resets (-noreset), as a desktop's server with other
# clients does not: left without clients after each run, it would reset
# itself and the next run would wait for that.
#   bench/irview_startup.sh BUILD_DIR [RUNS]
# The program reports both times when IRVIEW_STARTUP_PROBE=1 and then ends;
# the clock starts just before the program is started. Target: the first
# paint within 300 ms.
set -euo pipefail

build=${1:?usage: bench/irview_startup.sh BUILD_DIR [RUNS]}
runs=${2:-20}
bin=$(cd "$build" && pwd)/bin
root=$(cd "$(dirname "$0")/.." && pwd)
for program in irview irgen; do
  [ -x "$bin/$program" ] || { echo "no program at $bin/$program (build it)" >&2; exit 1; }
done

# Without a display, run again inside a virtual X server.
if [ -z "${IRVIEW_BENCH_UNDER_XVFB:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is needed (Debian package xvfb)" >&2; exit 1; }
  IRVIEW_BENCH_UNDER_XVFB=1 exec xvfb-run -a -s '-screen 0 1280x1024x24 -noreset' "$0" "$build" "$runs"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" &&
 /usr/bin/python3 "$root/scripts/make_sample.py" in.wav 65535 70 &&
 "$bin/irgen" in.wav left.tim right.tim >/dev/null)

start_once() {
  # A home of its own: the runs do not touch the user's recent-files list.
  (cd "$work" && HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb \
   IRVIEW_STARTUP_PROBE=1 timeout 60 "$bin/irview" left.tim right.tim 2>/dev/null)
}

start_once >/dev/null || true  # warms the file cache; not counted
painted=()
analysed=()
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  out=$(start_once)
  paint=$(sed -n 's/^first-paint-ns //p' <<<"$out")
  done_at=$(sed -n 's/^analysed-ns //p' <<<"$out")
  [ -n "$paint" ] && [ -n "$done_at" ] || { echo "run $i: no probe output: $out" >&2; exit 1; }
  grep -qx 'traces 2' <<<"$out" || { echo "run $i: not both traces: $out" >&2; exit 1; }
  painted+=($(((paint - start) / 1000)))
  analysed+=($(((done_at - start) / 1000)))
done

summary() {
  sort -n | awk -v runs="$runs" -v what="$1" '
    { t[NR] = $1 / 1000 }
    END {
      median = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
      printf "irview %s under Xvfb, %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n",
             what, runs, t[1], median, t[NR]
    }'
}
printf '%s\n' "${painted[@]}" | summary "start to first paint of the pair"
printf '%s\n' "${analysed[@]}" | summary "start to the pair analysed"
