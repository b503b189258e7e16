#!/usr/bin/env bash
# Start-up time of sonabrix: from process start to the first paint of its main
# window, under a virtual X server (Xvfb), over several runs.
# The server never resets (-noreset), as a desktop's server with other
# clients does not: left without clients after each run, it would reset
# itself and the next run would wait for that.
#   bench/startup.sh BUILD_DIR [RUNS]
# The program reports its first paint when SONABRIX_STARTUP_PROBE=1 and then
# ends; the clock starts just before the program is started.
set -euo pipefail

build=${1:?usage: bench/startup.sh BUILD_DIR [RUNS]}
runs=${2:-20}
program=$(cd "$build" && pwd)/bin/sonabrix
[ -x "$program" ] || { echo "no program at $program (build the sonabrix target)" >&2; exit 1; }

# Without a display, run again inside a virtual X server.
if [ -z "${SONABRIX_BENCH_UNDER_XVFB:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is needed (Debian package xvfb)" >&2; exit 1; }
  SONABRIX_BENCH_UNDER_XVFB=1 exec xvfb-run -a -s '-screen 0 1280x1024x24 -noreset' "$0" "$build" "$runs"
fi

start_once() {
  # US English number settings, so that the start-up check lets the window open.
  LC_ALL=en_US.UTF-8 QT_QPA_PLATFORM=xcb SONABRIX_STARTUP_PROBE=1 "$program" 2>/dev/null |
    sed -n 's/^first-paint-ns //p'
}

start_once >/dev/null || true  # warms the file cache; not counted
times=()
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  painted=$(start_once)
  [ -n "$painted" ] || { echo "run $i: no first paint reported" >&2; exit 1; }
  times+=($(((painted - start) / 1000)))
done

printf '%s\n' "${times[@]}" | sort -n | awk -v runs="$runs" '
  { t[NR] = $1 / 1000 }
  END {
    median = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
    printf "sonabrix start to first paint under Xvfb, %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n",
           runs, t[1], median, t[NR]
  }'
