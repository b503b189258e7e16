#!/usr/bin/env bash
# Benchmark, not a test: the converters on full-length inputs beside sox doing
# the comparable job, in one run. For each command it prints the wall time of
# the whole process (best of several runs), the instructions it executes
# (valgrind's callgrind, total Ir) and its peak resident memory; a trivial C++
# program gives the memory baseline.
#
#   irgen   65535-frame stereo WAVE -> two .TIM files
#           beside  sox in.wav -t f32 out.f32
#   irexpo  two 65535-point .TIM files -> stereo WAVE
#           beside  sox -t f32 -r 44100 -c 2 in.f32 -b 16 out.wav
#
# Two inputs of 65535 stereo frames each: two tones, and pink noise (which
# uses the whole 16-bit range and gives no two neighbouring samples alike).
#
#   irinfo  a 65535-point stereo .TIM pair (a synthetic room response,
#           scripts/make_sample.py, over a noise floor 70 dB down that
#           fills all 65535 points), every octave band, the broadband
#           response and the mid values of both channels; and again with
#           the speech transmission index of each with a speech level and
#           background noise given, and the pair's interaural
#           cross-correlation (--binaural)
#   irinfo  many files: 24 copies of that pair, analysed one at a time
#           (--jobs 1) and on every core (--jobs 0 = the default)
#
#   irconv  60 s of stereo pink noise x a 6 s stereo response (make_sample.py)
#           at 44.1 kHz, the whole tail, beside ffmpeg's afir filter on the
#           same pair (when ffmpeg is installed; its output stops with the
#           input); and a 1-hour mono dry with the same response. CPU time
#           (user + system, best of 3) and peak memory by /usr/bin/time.
#           Then the FFT lengths the convolution uses, timed for FFTW3
#           (float, double) and KissFFT (bench/fft_sizes.cpp).
#
# Targets, for both inputs: irgen at most 0.20 of sox's instructions, irexpo
# at most 0.10, and peak memory within 1 MiB of the trivial program; irinfo
# at most 250 M instructions, also with every option (the decay parameters
# alone took 97 M before the speech index joined them), and on many files on
# 2 cores at least 1.8 times as fast as on one; irconv at most afir's CPU
# time (goal: half of it), and at most 200 MiB for the hour-long dry.
set -euo pipefail

build=${1:-build}
bin=$(cd "$build/bin" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
for tool in sox valgrind gcc g++ /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is needed" >&2; exit 1; }
done
for program in irgen irexpo irinfo irconv; do
  [ -x "$bin/$program" ] || { echo "bench: $bin/$program is not built" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

printf '#include <iostream>\nint main() { std::cout << "hello\\n"; }\n' >trivial.cpp
g++ -O2 -o trivial trivial.cpp

# Wall time (best of 5, ms) and peak resident set size (KiB) of a command,
# taken by a small static C program: the size of the measuring process before
# exec counts toward the child's peak, so it must be far smaller than the
# programs measured.
cat >measure.c <<'C'
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
int main(int argc, char **argv) {
  double best = -1.0;
  long peak = 0;
  if (argc < 2) return 2;
  for (int run = 0; run < 5; ++run) {
    struct timespec a, b;
    clock_gettime(CLOCK_MONOTONIC, &a);
    pid_t pid = fork();
    if (pid == 0) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      execvp(argv[1], argv + 1);
      _exit(127);
    }
    int status;
    struct rusage usage;
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0 || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      fprintf(stderr, "bench: %s failed\n", argv[1]);
      return 1;
    }
    clock_gettime(CLOCK_MONOTONIC, &b);
    double ms = (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6;
    if (best < 0 || ms < best) best = ms;
    if (usage.ru_maxrss > peak) peak = usage.ru_maxrss;
  }
  printf("%.2f %ld\n", best, peak);
  return 0;
}
C
gcc -O2 -static -o measure measure.c 2>/dev/null || gcc -O2 -o measure measure.c

# Total instructions of a command under callgrind. A run that valgrind cannot
# follow (it cannot read the DWARF 5 of a clang build, for one) stops the
# bench: an empty count would pass every target.
instructions() {
  rm -f cg.out
  if ! valgrind --tool=callgrind --callgrind-out-file=cg.out "$@" >/dev/null 2>cg.log; then
    echo "bench: callgrind failed on $1; its log:" >&2
    tail -5 cg.log >&2
    exit 1
  fi
  local total
  total=$(awk '/^(summary|totals):/ { print $2; exit }' cg.out)
  [ -n "$total" ] || { echo "bench: no instruction count for $1" >&2; exit 1; }
  echo "$total"
}

declare -A wall rss ir
measure() {
  local key=$1
  shift
  read -r wall[$key] rss[$key] < <("$work/measure" "$@")
  ir[$key]=$(instructions "$@")
  local shown="$*"
  printf '%-48s %10s %14s %10s\n' "${shown//$bin\//}" "${wall[$key]}" "${ir[$key]}" "${rss[$key]}"
}

# The inputs, each in its own folder: the WAVE file, the .TIM files irgen
# makes of it, and the same frames as raw 32-bit floats for sox.
make_input() {
  local name=$1
  shift
  mkdir "$name"
  (
    cd "$name"
    sox -r 44100 -c 2 -n -b 16 in.wav synth 65535s "$@"
    [ "$(soxi -s in.wav)" = 65535 ] || { echo "bench: $name is not 65535 frames" >&2; exit 1; }
    "$bin/irgen" in.wav left.tim right.tim >/dev/null
    sox in.wav -t f32 in.f32
  )
}
make_input sine sine 440 sine 660 vol 0.5
make_input pink pinknoise
mkdir room
(
  cd room
  /usr/bin/python3 "$root/scripts/make_sample.py" in.wav 65535 70
  "$bin/irgen" in.wav left.tim right.tim >/dev/null
)

printf '%-48s %10s %14s %10s\n' "command (in a temporary folder)" "wall ms" "instructions" "max KiB"
for input in sine pink; do
  echo "$input:"
  cd "$work/$input"
  measure "irgen_$input" "$bin/irgen" in.wav left.tim right.tim
  measure "sox_f32_$input" sox in.wav -t f32 out.f32
  measure "irexpo_$input" "$bin/irexpo" out.wav left.tim right.tim
  measure "sox_wav_$input" sox -t f32 -r 44100 -c 2 in.f32 -b 16 sox.wav
done
echo "room:"
cd "$work/room"
measure irinfo_room "$bin/irinfo" left.tim right.tim
measure irinfo_room_all "$bin/irinfo" --binaural --speech-level 60 \
  --noise-levels 45,40,35,30,25,20,15 left.tim right.tim
cd "$work"
measure trivial ./trivial
mkdir many
for i in $(seq 1 24); do
  cp room/left.tim "many/left$i.tim"
  cp room/right.tim "many/right$i.tim"
done
read -r many_one _ < <("$work/measure" "$bin/irinfo" --jobs 1 many/*.tim)
read -r many_all _ < <("$work/measure" "$bin/irinfo" many/*.tim)
printf '%-48s %10s\n' "irinfo --jobs 1 many/*.tim (48 files)" "$many_one" \
  "irinfo many/*.tim ($(nproc) cores)" "$many_all"
echo

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
verdict() { awk -v x="$1" -v limit="$2" 'BEGIN { print (x <= limit) ? "met" : "MISSED" }'; }
for input in sine pink; do
  for check in "irgen sox_f32 0.20" "irexpo sox_wav 0.10"; do
    set -- $check
    r=$(ratio "${ir[$1_$input]}" "${ir[$2_$input]}")
    printf '%-7s %-5s instructions / sox: %s (target at most %s: %s)\n' \
      "$1" "$input" "$r" "$3" "$(verdict "$r" "$3")"
  done
done
irinfo_m=$(awk -v x="${ir[irinfo_room]}" 'BEGIN { printf "%.1f", x / 1e6 }')
printf 'irinfo  room  instructions: %s M (target at most 250 M: %s), wall time %s ms\n' \
  "$irinfo_m" "$(verdict "$irinfo_m" 250)" "${wall[irinfo_room]}"
irinfo_all_m=$(awk -v x="${ir[irinfo_room_all]}" 'BEGIN { printf "%.1f", x / 1e6 }')
printf 'irinfo  room  with every option: %s M (target at most 250 M: %s), wall time %s ms\n' \
  "$irinfo_all_m" "$(verdict "$irinfo_all_m" 250)" "${wall[irinfo_room_all]}"
speedup=$(ratio "$many_one" "$many_all")
if [ "$(nproc)" -ge 2 ]; then
  printf 'irinfo  many  on %s cores: %sx as fast as on one (target at least 1.8: %s)\n' \
    "$(nproc)" "$speedup" "$(awk -v x="$speedup" 'BEGIN { print (x >= 1.8) ? "met" : "MISSED" }')"
fi
for input in sine pink; do
  for program in irgen irexpo; do
    extra=$(( ${rss[${program}_$input]} - ${rss[trivial]} ))
    printf '%-7s %-5s peak memory above the trivial program: %d KiB (target below 1024: %s)\n' \
      "$program" "$input" "$extra" "$(verdict "$extra" 1023)"
  done
done

# irconv: CPU seconds (best of 3) and peak KiB of a command.
cpu_and_memory() {
  local best="" peak=0 line
  for _ in 1 2 3; do
    line=$(/usr/bin/time -f '%U %S %M' "$@" 2>&1 >/dev/null | tail -n 1)
    read -r user system kib <<<"$line"
    local cpu
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
    if [ -z "$best" ] || awk -v a="$cpu" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$cpu; fi
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  echo "$best $peak"
}
echo
mkdir "$work/conv"
cd "$work/conv"
sox -r 44100 -c 2 -n -b 16 dry.wav synth 60 pinknoise vol 0.5
/usr/bin/python3 "$root/scripts/make_sample.py" room.wav 264600 70
printf '%-64s %8s %10s\n' "60 s stereo dry x 6 s stereo response" "CPU s" "max KiB"
read -r irconv_cpu irconv_kib < <(cpu_and_memory "$bin/irconv" -o out.wav dry.wav room.wav)
printf '%-64s %8s %10s\n' "irconv -o out.wav dry.wav room.wav" "$irconv_cpu" "$irconv_kib"
afir_cpu=""
if command -v ffmpeg >/dev/null; then
  read -r afir_cpu afir_kib < <(cpu_and_memory ffmpeg -v error -y -i dry.wav -i room.wav \
    -filter_complex '[0:a][1:a]afir' -c:a pcm_s24le afir.wav)
  printf '%-64s %8s %10s\n' "ffmpeg -i dry.wav -i room.wav -filter_complex afir afir.wav" "$afir_cpu" "$afir_kib"
fi
sox -r 44100 -c 1 -n -b 16 hour.wav synth 3600 pinknoise vol 0.5
read -r hour_cpu hour_kib < <(cpu_and_memory "$bin/irconv" -o hour-out.wav hour.wav room.wav)
printf '%-64s %8s %10s\n' "irconv -o hour-out.wav hour.wav room.wav (1 hour, mono)" "$hour_cpu" "$hour_kib"
rm -f hour.wav hour-out.wav
if [ -n "$afir_cpu" ]; then
  r=$(ratio "$irconv_cpu" "$afir_cpu")
  printf 'irconv  CPU time / afir: %s (target at most 1: %s; goal 0.5: %s)\n' \
    "$r" "$(verdict "$r" 1)" "$(verdict "$r" 0.5)"
else
  echo "irconv  no ffmpeg here: the comparison with afir is skipped"
fi
hour_mib=$(( hour_kib / 1024 ))
printf 'irconv  peak memory, 1-hour mono dry: %d MiB (target at most 200: %s)\n' \
  "$hour_mib" "$(verdict "$hour_mib" 200)"

echo
if g++ -O2 -std=c++20 -o fft_sizes "$root/bench/fft_sizes.cpp" -lfftw3f -lfftw3 -lkissfft-float 2>/dev/null; then
  ./fft_sizes
else
  echo "fft sizes: FFTW3 (libfftw3-dev) or KissFFT headers missing, skipped"
fi
