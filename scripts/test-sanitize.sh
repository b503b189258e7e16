#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UBSan in a folder of its
# own and runs the whole CTest suite in it, window tests included. Any report
# stops the program that made it (halt_on_error), so the test fails.
#
#   scripts/test-sanitize.sh [BUILD_DIR]        (default build-sanitize)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-sanitize}

# The converters link the C++ runtime statically in the release build; the
# sanitizers need the shared one, hence STATIC_CXX_RUNTIME=OFF.
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=()
  command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
  cmake -S . -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" \
    -DSTATIC_CXX_RUNTIME=OFF >/dev/null
fi

# Set for the build too: test discovery runs the test programs. Leak
# detection stays on for every program, the window tests included: Qt's
# offscreen platform and fontconfig keep what they allocate reachable. The
# tests that run sonabrix on a real X server load libdbus, whose one leak is
# suppressed, and the X keyboard library, whose strndup calls read past
# their strings only under strict_string_checks, which is therefore off.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake --build "$build"
# Address randomisation is turned off where clang 14's ASan needs it.
launch=$PWD/scripts/sanitizer-launch.sh
cd "$build" && "$launch" ctest --output-on-failure
