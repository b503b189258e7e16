#!/usr/bin/env bash
# Runs its arguments as a command, with address randomisation off when the
# kernel randomises with more than 28 bits (newer kernels may use 32): clang
# 14's AddressSanitizer cannot place its shadow memory there.
#
#   scripts/sanitizer-launch.sh COMMAND [ARG...]
bits=$(cat /proc/sys/vm/mmap_rnd_bits 2>/dev/null || echo 0)
if [ "$bits" -gt 28 ] && command -v setarch >/dev/null 2>&1; then
  exec setarch "$(uname -m)" -R "$@"
fi
exec "$@"
