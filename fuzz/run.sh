#!/usr/bin/env bash
# Builds the fuzz harnesses in their own folder (clang, libFuzzer, ASan and
# UBSan) and runs each for FUZZ_SECONDS (default 60), one after the other.
# Inputs that add coverage are kept in <build>/fuzz/corpus/<harness> and
# reused by the next run; a finding is saved in <build>/fuzz/findings/ and
# makes the script fail. Prints executions and coverage edges per harness.
#
#   fuzz/run.sh [BUILD_DIR] [HARNESS...]      (default build-fuzz, all)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
shift $(( $# > 0 ? 1 : 0 ))
seconds=${FUZZ_SECONDS:-60}
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  harnesses=(wave_reader_fuzz tim_file_fuzz number_parse_fuzz command_words_fuzz
             filter_file_fuzz response_reader_fuzz convolution_fuzz)
fi

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=()
  command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
  cmake -S . -B "$build" "${generator[@]}" -DBUILD_FUZZERS=ON \
    -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$flags" -DSTATIC_CXX_RUNTIME=OFF >/dev/null
fi
cmake --build "$build" --target fuzz_harnesses

out="$build/fuzz"
/usr/bin/python3 fuzz/make_corpus.py "$out/generated"
mkdir -p "$out/findings"
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Largest input per harness: whole WAVE headers with a few hundred frames,
# .TIM heads with up to 2048 samples, field-sized texts, long command lines,
# filter files with room for comments, response files of a few thousand
# samples (the analysis runs on each), signals of a few hundred samples
# (each output sample is checked against the direct sum).
declare -A max_len=([wave_reader_fuzz]=4096 [tim_file_fuzz]=8400
                    [number_parse_fuzz]=128 [command_words_fuzz]=1024
                    [filter_file_fuzz]=1024 [response_reader_fuzz]=12000
                    [convolution_fuzz]=2048)
external="testdata/wav-external/valid testdata/wav-external/invalid testdata/wav-external/unsupported"
declare -A extra=([wave_reader_fuzz]="$external")

status=0
printf '%-20s %12s %8s\n' harness executions edges
for h in "${harnesses[@]}"; do
  mkdir -p "$out/corpus/$h"
  log="$out/$h.log"
  # shellcheck disable=SC2086  # the extra folders are separate arguments
  if ! scripts/sanitizer-launch.sh "$out/$h" -max_total_time="$seconds" -max_len="${max_len[$h]}" -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$out/findings/$h-" \
      "$out/corpus/$h" "$out/generated/$h" ${extra[$h]:-} >"$log" 2>&1; then
    status=1
    echo "FINDING in $h: see $log and $out/findings/" >&2
    tail -n 30 "$log" >&2
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  printf '%-20s %12s %8s\n' "$h" "${execs:-?}" "${edges:-?}"
done
exit $status
