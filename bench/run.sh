#!/usr/bin/env bash
# The performance benchmarks, as one table of figures, their references and ratios:
#   convert  JPEG to 24-bit BMP file against decode-only and against `djpeg -bmp`, peak memory
#   preview  DCT-scaled preview decode against a full decode plus reduction
#   lists    list files of 100 000 entries on a real list box under Wine
#   program  the real program under Wine: start-up time, idle memory and wake-ups
#   screen   one change of a 24 and a 48 MP JPEG against a 2 MP one in each style, and the
#            bitmap it writes against the screen's own (BENCH_BASELINE=REV: also as of REV)
# Natively (optimised gcc build) and with the Windows build under Wine, in one run. A figure
# that could not be measured is printed as "failed", and the run then ends with status 1.
#
#   bench/run.sh                          every part, RUNS=5 rounds per figure
#   RUNS=9 bench/run.sh                   steadier figures on a busy machine
#   BENCH_PARTS="lists program" bench/run.sh   some parts only
#   BENCH_BUILD=DIR bench/run.sh          builds and Wine prefix in DIR instead of build/
#   BENCH_FAIL=startup bench/run.sh       one measurement made to fail: "failed", status 1
set -euo pipefail
source "$(dirname "$0")/lib.sh"
for part in ${BENCH_PARTS:-convert preview lists program screen}; do
  source "$root/bench/$part.sh"
done
printf "\nMachine load (1 min average) at the end: "
cut -d' ' -f1 /proc/loadavg
# shellcheck disable=SC2154  # failures: kept by lib.sh
if [ ${#failures[@]} -gt 0 ]; then
  log "not measured: ${failures[*]}"
  exit 1
fi
